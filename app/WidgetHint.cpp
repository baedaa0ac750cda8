#include "app/WidgetHint.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QStyle>
#include <QToolTip>

namespace {

// What a tooltip without a duration of its own stays for.
constexpr int TooltipStay = 10000;
// The X pointer size when the environment names none.
constexpr int DefaultPointerSize = 24;

// Set bits of a bitmap (color1) read as black.
int LastVisibleRow(const QImage& mask)
{
  for (int y = mask.height() - 1; y >= 0; --y)
    for (int x = 0; x < mask.width(); ++x)
      if (qGray(mask.pixel(x, y)) < 128)
        return y;
  return -1;
}

} // namespace

THintTiming ApplicationHintTiming()
{
  return {QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), TooltipStay};
}

int PointerDepth(const QCursor& cursor)
{
  if (cursor.shape() == Qt::BitmapCursor && !cursor.mask().isNull()) {
    QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
    return LastVisibleRow(mask) + 1 - cursor.hotSpot().y();
  }
  int size = qEnvironmentVariableIntValue("XCURSOR_SIZE");
  return size > 0 ? size : DefaultPointerSize;
}

TWidgetHint::TWidgetHint(std::unique_ptr<TTicker> timer) : FTimer(std::move(timer))
{
  FTimer->OnTick = [this] { TimerFired(); };
}

TWidgetHint::~TWidgetHint() = default;

void TWidgetHint::Start(const QPoint& screenPoint, int pointerDepth)
{
  FPoint = screenPoint;
  FPointerDepth = pointerDepth;
  FTimer->Start(Timing.Pause);
  FPending = true;
  FShown = false;
}

void TWidgetHint::TimerFired()
{
  FTimer->Stop();
  if (FShown) {
    Hide();
    return;
  }
  if (!Text.isEmpty())
    Show();
  FTimer->Start(Timing.HidePause);
  FShown = true;
}

void TWidgetHint::Show()
{
  FWindow = std::make_unique<QLabel>(nullptr, Qt::ToolTip);
  FWindow->setPalette(QToolTip::palette());
  FWindow->setFont(QToolTip::font());
  FWindow->setAutoFillBackground(true);
  FWindow->setTextFormat(Qt::PlainText);
  FWindow->setAlignment(Qt::AlignCenter);
  FWindow->setText(Text);
  QSize size = QFontMetrics(FWindow->font()).size(0, Text) + QSize(6, 2);
  FWindow->setGeometry(QRect(FPoint + QPoint(0, FPointerDepth), size));
  FWindow->show();
}

void TWidgetHint::Hide()
{
  FTimer->Stop();
  FWindow.reset();
  FPending = false;
  FShown = false;
}
