// The editor window's set-up, geometry, scroll bars, caret and keys.
#include "editor/widgets/EditWidget.h"

#include "editor/widgets/EditKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

TtxEditWidget::TtxEditWidget(QWidget* parent) : QAbstractScrollArea(parent)
{
  // Painting fills every pixel, which also lets the viewport scroll its pixels.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  SetScrollBars(ssBoth);
  SetClipboard(&FSystemClipboard);
  Gutter.OnChange = [this] { FontChanged(); };
  SelectedColor.OnChange = [this] { viewport()->update(); };
  FCaretBlink.setInterval(std::max(QApplication::cursorFlashTime() / 2, 100));
  connect(&FCaretBlink, &QTimer::timeout, this, [this] {
    FCaretOn = !FCaretOn;
    viewport()->update(CaretRect());
  });
  FAutoScroll.setSingleShot(true);
  connect(&FAutoScroll, &QTimer::timeout, this, [this] { AutoScrollStep(); });
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this,
          [this](int value) { ShowScrollHintAt(value); });
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
    if (FScrollHint)
      FScrollHint->hide();
  });
  QFont font("Courier New");
  font.setPixelSize(17);
  SetEditorFont(font);
}

TtxEditWidget::~TtxEditWidget() = default;

// ---------------------------------------------------------------- appearance

void TtxEditWidget::SetEditorFont(const QFont& font)
{
  FDrawer.SetBaseFont(&font);
  QAbstractScrollArea::setFont(font);
  FontChanged();
}

void TtxEditWidget::SetColor(TColor value)
{
  FColor = value;
  viewport()->update();
}

void TtxEditWidget::SetFontColor(TColor value)
{
  FFontColor = value;
  viewport()->update();
}

void TtxEditWidget::SetScrollBars(TScrollStyle value)
{
  FScrollBars = value;
  const bool vertical = value == ssVertical || value == ssBoth;
  const bool horizontal = value == ssHorizontal || value == ssBoth;
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TtxEditWidget::SetExtraLineSpacing(int value)
{
  FExtraLineSpacing = value;
  FontChanged();
}

void TtxEditWidget::FontChanged()
{
  FDrawer.SelectStyle(0);
  FCellWidth = FDrawer.CellWidth();
  FLinePitch = FDrawer.CellHeight() + FExtraLineSpacing;
  FGutterPixels = Gutter.RealGutterWidth(FCellWidth);
  MeasureView();
  viewport()->update();
}

void TtxEditWidget::MeasureView()
{
  const QSize size = viewport()->size();
  SetVisibleCells((size.width() - FGutterPixels - 2) / std::max(FCellWidth, 1),
                  size.height() / std::max(FLinePitch, 1));
}

bool TtxEditWidget::viewportEvent(QEvent* event)
{
  // The text area changes with the window and with the scroll bars shown.
  if (event->type() == QEvent::Resize)
    MeasureView();
  return QAbstractScrollArea::viewportEvent(event);
}

// ---------------------------------------------------------------- geometry

TPoint TtxEditWidget::PixelsToPosition(int x, int y) const
{
  // Rounded half away from zero: the right half of a cell is the position after it.
  const double exact = double(x + LeftChar() * FCellWidth - FGutterPixels - 2) / FCellWidth;
  const int cell = int(exact < 0 ? exact - 0.5 : exact + 0.5);
  int line = TopLine() + (y >= 0 ? y / FLinePitch : (y - FLinePitch + 1) / FLinePitch);
  line = std::clamp(line, 1, std::max(LineCount(), 1));
  return {std::max(ColumnOfCell(line, cell), 1), line};
}

QPoint TtxEditWidget::PositionToPixels(TPoint p) const
{
  return {(CellOf(p) - 1) * FCellWidth + TextLeft(), (p.Y - TopLine()) * FLinePitch};
}

QString TtxEditWidget::EditorString(std::string_view bytes) const
{
  const qsizetype size = qsizetype(bytes.size());
  return Utf8() ? QString::fromUtf8(bytes.data(), size) : QString::fromLatin1(bytes.data(), size);
}

std::string TtxEditWidget::EditorBytes(const QString& text) const
{
  return (Utf8() ? text.toUtf8() : text.toLatin1()).toStdString();
}

QRect TtxEditWidget::CaretRect() const
{
  const QPoint at = PositionToPixels(CaretXY());
  const int high = FLinePitch - 2;
  switch (InsertMode ? InsertCaret : OverwriteCaret) {
  case ctHorizontalLine: return {at.x(), at.y() + high, FCellWidth, 2};
  case ctHalfBlock: return {at.x(), at.y() + high / 2, FCellWidth, high / 2};
  case ctBlock: return {at.x(), at.y(), FCellWidth, high};
  default: return {at.x() - 1, at.y(), 2, high};
  }
}

QRect TtxEditWidget::LinesRect(int first, int last, int left) const
{
  const int height = viewport()->height();
  int top = first < 0 ? 0 : (first - TopLine()) * FLinePitch;
  int bottom = last < 0 ? height : (last - TopLine() + 1) * FLinePitch;
  top = std::max(top, 0);
  bottom = std::min(bottom, height);
  if (bottom <= top)
    return {};
  return QRect(left, top, viewport()->width() - left, bottom - top);
}

// ---------------------------------------------------------------- view hooks

void TtxEditWidget::InvalidateLines(int first, int last)
{
  if (first < 0 && last < 0) {
    viewport()->update();
    return;
  }
  // The last line to the end of the view when open-ended; the gutter too, for its numbers.
  if (QRect rect = LinesRect(first, last, 0); !rect.isEmpty())
    viewport()->update(rect);
}

void TtxEditWidget::InvalidateGutterLines(int first, int last)
{
  QRect rect = LinesRect(first, last, 0);
  rect.setWidth(std::min(rect.width(), FGutterPixels));
  if (!rect.isEmpty())
    viewport()->update(rect);
}

void TtxEditWidget::RepaintLines(int first, int last)
{
  InvalidateLines(first, last);
}

void TtxEditWidget::RepaintGutterLines(int first, int last)
{
  if (first < 0 && last < 0)
    viewport()->update(0, 0, FGutterPixels, viewport()->height());
  else
    InvalidateGutterLines(first, last);
}

void TtxEditWidget::TopLineMoved(int delta)
{
  if (std::abs(delta) < VisibleLines() && PaintHold == 0) {
    viewport()->scroll(0, delta * FLinePitch);
    FCaretDrawn.translate(0, delta * FLinePitch);
  } else
    viewport()->update();
}

void TtxEditWidget::UpdateScrollBars()
{
  if (PaintHold > 0)
    return;
  // Qt's scroll bars take the whole int range, so long texts need no scaling of positions.
  FUpdatingScrollBars = true;
  QScrollBar* v = verticalScrollBar();
  // Qt's maximum is the last top position; the page step adds the rest of the window.
  v->setRange(1, std::max(1, LineCount()));
  v->setPageStep(VisibleLines());
  v->setValue(TopLine());
  QScrollBar* h = horizontalScrollBar();
  h->setRange(1, std::max(1, ColumnLimit - VisibleColumns()));
  h->setPageStep(VisibleColumns());
  h->setValue(LeftChar());
  FUpdatingScrollBars = false;
}

void TtxEditWidget::scrollContentsBy(int, int)
{
  if (FUpdatingScrollBars)
    return;
  SetTopLine(verticalScrollBar()->value());
  SetLeftChar(horizontalScrollBar()->value());
}

void TtxEditWidget::ShowScrollHintAt(int topLine)
{
  if (!ShowScrollHint)
    return;
  if (!FScrollHint) {
    FScrollHint = new QLabel(viewport());
    FScrollHint->setFrameShape(QFrame::Box);
    FScrollHint->setAutoFillBackground(true);
    FScrollHint->setPalette(QToolTip::palette());
  }
  FScrollHint->setText(QStringLiteral("TopLine: %1").arg(topLine));
  FScrollHint->adjustSize();
  FScrollHint->move(viewport()->width() - FScrollHint->width() - 4, 10);
  FScrollHint->show();
}

void TtxEditWidget::PlaceCaret()
{
  if (PaintHold > 0)
    return;
  // The caret shows at once after a move and then blinks from there.
  FCaretOn = true;
  if (FCaretBlink.isActive())
    FCaretBlink.start();
  // Only the cells under the old and the new caret change.
  viewport()->update(FCaretDrawn);
  viewport()->update(CaretRect());
  QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

// ---------------------------------------------------------------- keys and focus

void TtxEditWidget::keyPressEvent(QKeyEvent* event)
{
  uint16_t key = VirtualKeyOf(event->key());
  TShiftState shift = ShiftStateOf(event->modifiers());
  if (key) {
    KeyDown(key, shift);
    if (key == 0) {
      event->accept();
      return;
    }
  }
  const QString text = event->text();
  bool typed = false;
  for (char32_t c : text.toUcs4()) {
    if (c >= 32 && c < 256 && c != 127) {
      KeyPress(char(c));
      typed = true;
    } else if (c >= 256 && Utf8()) {
      // A character beyond Latin-1 has bytes only in a UTF-8 text; it goes in as one piece.
      const std::string bytes = EditorBytes(QString::fromUcs4(&c, 1));
      RunCommand(ecImeStr, '\0', &bytes);
      typed = true;
    }
  }
  if (typed)
    event->accept();
  else
    QAbstractScrollArea::keyPressEvent(event);
}

void TtxEditWidget::focusInEvent(QFocusEvent* event)
{
  QAbstractScrollArea::focusInEvent(event);
  FCaretOn = true;
  FCaretBlink.start();
  viewport()->update();
}

void TtxEditWidget::focusOutEvent(QFocusEvent* event)
{
  QAbstractScrollArea::focusOutEvent(event);
  FCaretBlink.stop();
  viewport()->update();
}

void TtxEditWidget::wheelEvent(QWheelEvent* event)
{
  FWheelRemainder += event->angleDelta().y();
  const int steps = FWheelRemainder / 120;
  FWheelRemainder -= steps * 120;
  if (steps == 0)
    return;
  int lines = QApplication::wheelScrollLines();
  if (event->modifiers() & Qt::ControlModifier)
    lines = HalfpageScroll ? VisibleLines() / 2 : VisibleLines();
  lines = std::min(lines, VisibleLines());
  SetTopLine(TopLine() - steps * lines);
  event->accept();
}
