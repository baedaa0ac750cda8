#include "app/Widget.h"

#include "base/Exceptions.h"

#include <QBitmap>
#include <QEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

constexpr const char* SymbolFont = "Marlett";

// The caption symbols of the symbol font, for systems that do not have it.
QString CaptionSymbol(QChar glyph)
{
  switch (glyph.unicode()) {
  case '0': return QStringLiteral("\u2581"); // minimise
  case '1': return QStringLiteral("\u25A1"); // maximise
  case '2': return QStringLiteral("\u2750"); // restore
  case '3': return QStringLiteral("\u25C0");
  case '4': return QStringLiteral("\u25B6");
  case '5': return QStringLiteral("\u25B2");
  case '6': return QStringLiteral("\u25BC");
  case 'a': return QStringLiteral("\u2713"); // check mark
  case 'r': return QStringLiteral("\u00D7"); // close
  case 's': return QStringLiteral("?");      // help
  default: return QString(glyph);
  }
}

QWidget* FormOf(QObject* owner)
{
  auto* form = qobject_cast<QWidget*>(owner);
  if (!form || !form->isWindow())
    throw ELumoraError(msg::WidgetNeedsForm);
  return form;
}

TFormBorderStyle BorderStyleOf(const QWidget& form)
{
  if (form.windowFlags() & Qt::FramelessWindowHint)
    return TFormBorderStyle::bsNone;
  bool fixed = form.minimumSize() == form.maximumSize();
  switch (form.windowType()) {
  case Qt::Tool: return fixed ? TFormBorderStyle::bsToolWindow : TFormBorderStyle::bsSizeToolWin;
  case Qt::Dialog: return TFormBorderStyle::bsDialog;
  default: return fixed ? TFormBorderStyle::bsSingle : TFormBorderStyle::bsSizeable;
  }
}

// The caption row is inside the client area, so there is no frame to step over; the buttons take
// the style's caption-button size.
TCaptionMetrics CaptionMetricsOf(const QWidget& form)
{
  const QStyle* style = form.style();
  int button = style->pixelMetric(QStyle::PM_TitleBarButtonSize, nullptr, &form);
  int small = style->pixelMetric(QStyle::PM_TitleBarButtonIconSize, nullptr, &form);
  TCaptionMetrics m;
  m.ButtonWidth = button + 2;
  m.ButtonHeight = button + 4;
  m.SmallButtonWidth = small + 2;
  m.SmallButtonHeight = small + 4;
  return m;
}

QPixmap Transparent(const QImage& image, const QColor& transparent)
{
  QPixmap pixmap = QPixmap::fromImage(image);
  QImage mask = image.convertToFormat(QImage::Format_RGB32)
                    .createMaskFromColor(transparent.rgb() | 0xFF000000u, Qt::MaskInColor);
  pixmap.setMask(QBitmap::fromImage(mask));
  return pixmap;
}

} // namespace

TWidget::TWidget(QObject* owner, std::unique_ptr<TTicker> hintTimer)
    : QObject(FormOf(owner)), FForm(static_cast<QWidget*>(parent())), FHint(std::move(hintTimer))
{
  std::vector<TWidget*> widgets = WidgetsOf(*FForm);
  FIndex = int(widgets.size()) - 1; // the widgets created before this one
  FFont = QFont(SymbolFont);
  FFontColor = FForm->palette().color(QPalette::WindowText);
  FFace = new QWidget(FForm);
  FFace->setObjectName(QStringLiteral("Widget%1").arg(FIndex + 1));
  FFace->setMouseTracking(true);
  FFace->setAttribute(Qt::WA_OpaquePaintEvent);
  FFace->installEventFilter(this);
  FForm->installEventFilter(this);
  Layout();
}

TWidget::~TWidget()
{
  FHint.Hide();
  FForm->removeEventFilter(this);
  delete FFace.data();
}

std::vector<TWidget*> TWidget::WidgetsOf(const QObject& form)
{
  std::vector<TWidget*> widgets;
  for (QObject* child : form.children())
    if (auto* widget = dynamic_cast<TWidget*>(child))
      widgets.push_back(widget);
  return widgets;
}

void TWidget::LayoutAll(QWidget& form)
{
  for (TWidget* widget : WidgetsOf(form))
    widget->Layout();
}

void TWidget::Layout()
{
  if (!FFace)
    return;
  TWidgetSlot slot{FIndex, 0, FGap};
  for (const TWidget* other : WidgetsOf(*FForm))
    if (other->FIndex < FIndex)
      slot.PrecedingGaps += other->FGap;
  // The caption's own buttons are the window manager's, outside the window: none of them
  // stands in the row, so the first widget takes its right end.
  FPlace = WidgetPlace(BorderStyleOf(*FForm), TBorderIcons{}, CaptionMetricsOf(*FForm), slot,
                       FForm->width());
  FFace->setGeometry(FPlace.Rect);
  FFace->setVisible(FVisible && FPlace.Rect.isValid());
  FFace->raise();
  FFace->update();
}

void TWidget::SetDown(bool value)
{
  FDown = value;
  Layout();
}

void TWidget::SetEnabled(bool value)
{
  FEnabled = value;
  Layout();
}

void TWidget::SetFont(const QFont& value)
{
  FFont = value;
  Layout();
}

void TWidget::SetFontColor(const QColor& value)
{
  FFontColor = value;
  Layout();
}

void TWidget::SetGap(int value)
{
  FGap = value;
  LayoutAll(*FForm);
}

void TWidget::SetGlyph(QChar value)
{
  FGlyph = value;
  Layout();
}

void TWidget::SetImage(const QImage& value, const QColor& transparentColor)
{
  FImage = value;
  FTransparentColor = transparentColor;
  if (!transparentColor.isValid() && !value.isNull())
    FTransparentColor = value.pixelColor(0, value.height() - 1);
  if (FFace)
    FFace->update();
}

void TWidget::SetOffsetLeft(int value)
{
  FOffsetLeft = value;
  Layout();
}

void TWidget::SetOffsetTop(int value)
{
  FOffsetTop = value;
  Layout();
}

void TWidget::SetVisible(bool value)
{
  FVisible = value;
  if (!value)
    FHint.Hide();
  Layout();
}

QString TWidget::ShownGlyph() const
{
  if (FFont.family() == SymbolFont && !QFontDatabase::hasFamily(SymbolFont))
    return CaptionSymbol(FGlyph);
  return QString(FGlyph);
}

void TWidget::Paint()
{
  if (!FEnabled)
    FPressed = false;
  bool pushed = FPressed || FDown;
  QPainter painter(FFace);
  QStyleOptionButton option;
  option.initFrom(FFace);
  option.rect = FFace->rect();
  option.state = pushed ? QStyle::State_Sunken : QStyle::State_Raised;
  if (FEnabled)
    option.state |= QStyle::State_Enabled;
  painter.fillRect(option.rect, FFace->palette().color(QPalette::Button));
  FFace->style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, FFace);
  QRect glyph = option.rect.adjusted(2, 2, -2, -2);
  if (pushed)
    glyph.translate(1, 1);
  glyph.translate(FOffsetLeft, FOffsetTop);
  if (!FImage.isNull()) {
    painter.drawPixmap(glyph, Transparent(FImage, FTransparentColor));
    return;
  }
  QFont font = FFont;
  font.setPixelSize(glyph.height() + 1);
  painter.setFont(font);
  painter.setPen(FEnabled ? FFontColor
                          : FFace->palette().color(QPalette::Disabled, QPalette::WindowText));
  painter.drawText(glyph, Qt::AlignCenter | Qt::TextDontClip, ShownGlyph());
}

bool TWidget::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == FForm)
    return FormEvent(event);
  if (watched == FFace)
    return FaceEvent(event);
  return false;
}

bool TWidget::FormEvent(QEvent* event)
{
  switch (event->type()) {
  case QEvent::Resize:
  case QEvent::Show:
  case QEvent::StyleChange:
  case QEvent::WindowStateChange:
  case QEvent::LayoutDirectionChange: Layout(); break;
  case QEvent::ActivationChange:
    if (FFace)
      FFace->update();
    break;
  default: break;
  }
  return false;
}

bool TWidget::FaceEvent(QEvent* event)
{
  auto* mouse = static_cast<QMouseEvent*>(event);
  switch (event->type()) {
  case QEvent::Paint: Paint(); return true;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick:
    if (mouse->button() == Qt::LeftButton)
      MouseDown();
    return true;
  case QEvent::MouseMove:
    MouseMove(mouse->position().toPoint(), mouse->globalPosition().toPoint());
    return true;
  case QEvent::MouseButtonRelease:
    if (mouse->button() == Qt::LeftButton)
      MouseUp(mouse->position().toPoint());
    return true;
  case QEvent::Leave:
  case QEvent::Hide: FHint.Hide(); return false;
  default: return false;
  }
}

bool TWidget::Inside(const QPoint& pos) const
{
  return FFace && FFace->rect().contains(pos);
}

void TWidget::MouseDown()
{
  FHint.Hide();
  if (!FEnabled || !FVisible)
    return; // a disabled button still swallows the press
  FPressed = true;
  FTracking = true;
  FFace->update();
}

void TWidget::MouseMove(const QPoint& pos, const QPoint& screenPos)
{
  if (FTracking) {
    bool inside = Inside(pos);
    if (inside != FPressed) {
      FPressed = inside;
      FFace->update();
    }
    return;
  }
  if (!Inside(pos)) {
    FHint.Hide();
    return;
  }
  if (!FHint.Pending() && !FHint.Shown() && ShowHint && FVisible && FEnabled) {
    FHint.Text = Hint;
    FHint.Start(screenPos, PointerDepth(FFace->cursor()));
  }
}

void TWidget::MouseUp(const QPoint& pos)
{
  FPressed = false;
  if (FTracking) {
    // Posted, so that the click runs once the mouse is released and the button drawn up.
    if (Inside(pos))
      QMetaObject::invokeMethod(
          this, [this] { ClickRequest(); }, Qt::QueuedConnection);
    FFace->update();
  }
  FTracking = false;
}

void TWidget::ClickRequest()
{
  if (!FEnabled)
    return;
  if (PopupMenu) {
    PopupMenu->popup(FFace->mapToGlobal(QPoint(0, FFace->height())));
    return;
  }
  if (OnClick)
    OnClick(this);
}
