// Mouse selection, scrolling while selecting outside the text, drag and drop of the selection
// inside the control, and input-method text.
#include "editor/widgets/EditWidget.h"

#include <QApplication>
#include <QDrag>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>

namespace {

// The in-control drag carries the address of its source, so a drop knows it is its own.
QByteArray DragToken(const void* source)
{
  return QByteArray::number(quintptr(source));
}

} // namespace

const char* TtxEditWidget::DragMimeType()
{
  return "application/x-lumora-editor-drag";
}

bool TtxEditWidget::InsideSelection(TPoint p) const
{
  if (!HasSelection())
    return false;
  int first = 0, last = 0;
  bool whole = false;
  SelectedColumns(p.Y, first, last, whole);
  return first < last && p.X >= first && p.X < last && p.X <= int(LineText(p.Y).size()) + 1;
}

void TtxEditWidget::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  const TPoint at = PixelsToPosition(pos.x(), pos.y());
  FMouseDown = true;
  FPressPos = FMousePos = pos;
  FDragPending = !ReadOnly && InsideSelection(at);
  if (FDragPending)
    return;
  if (event->modifiers() & Qt::ShiftModifier) {
    ExtendSelectionTo(at);
  } else {
    RunCommand(ecGotoXY, '\0', &at);
  }
}

void TtxEditWidget::ExtendSelectionTo(TPoint p)
{
  RunCommand(ecSelGotoXY, '\0', &p);
}

void TtxEditWidget::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint pos = event->position().toPoint();
  viewport()->setCursor(pos.x() < FGutterPixels ? Qt::ArrowCursor : Qt::IBeamCursor);
  if (!FMouseDown || !(event->buttons() & Qt::LeftButton))
    return;
  FMousePos = pos;
  if (FDragPending) {
    if ((pos - FPressPos).manhattanLength() >= QApplication::startDragDistance()) {
      FDragPending = false;
      FMouseDown = false;
      StartDrag();
    }
    return;
  }
  if (FDoubleClicked)
    return;
  const QRect area(FGutterPixels, 0, viewport()->width() - FGutterPixels, viewport()->height());
  if (area.contains(pos)) {
    FAutoScroll.stop();
    ExtendSelectionTo(PixelsToPosition(pos.x(), pos.y()));
  } else if (!FAutoScroll.isActive()) {
    AutoScrollStep();
  }
}

void TtxEditWidget::AutoScrollStep()
{
  if (!FMouseDown)
    return;
  const QPoint pos = FMousePos;
  const int left = FGutterPixels, right = viewport()->width(), bottom = viewport()->height();
  TPoint target =
      PixelsToPosition(std::clamp(pos.x(), left, right - 1), std::clamp(pos.y(), 0, bottom - 1));
  int outside = 0;
  if (pos.x() < left || pos.x() >= right) {
    const int by = pos.x() < left ? left - pos.x() : pos.x() - right + 1;
    const int step = by > 9 ? 8 : 1;
    outside = std::max(outside, by);
    if (pos.x() < left) {
      SetLeftChar(LeftChar() - step);
      target.X = LeftChar();
    } else {
      SetLeftChar(LeftChar() + step);
      target.X = LeftChar() + VisibleColumns();
    }
  }
  if (pos.y() < 0 || pos.y() >= bottom) {
    const int by = pos.y() < 0 ? -pos.y() : pos.y() - bottom + 1;
    const int step = by > 9 ? VisibleLines() : 1;
    outside = std::max(outside, by);
    if (pos.y() < 0) {
      SetTopLine(TopLine() - step);
      target.Y = TopLine();
    } else {
      SetTopLine(TopLine() + step);
      target.Y = std::min(TopLine() + VisibleLines() - 1, LineCount());
    }
  }
  if (outside == 0)
    return;
  ExtendSelectionTo(target);
  // Close to the edge the view creeps; far outside it runs.
  FAutoScroll.start(outside < 42 ? 100 : 10);
}

void TtxEditWidget::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  FAutoScroll.stop();
  if (FDragPending && !FDoubleClicked) {
    const QPoint pos = event->position().toPoint();
    const TPoint at = PixelsToPosition(pos.x(), pos.y());
    RunCommand(ecGotoXY, '\0', &at);
  }
  FDragPending = false;
  FMouseDown = false;
  FDoubleClicked = false;
}

void TtxEditWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  const QPoint pos = event->position().toPoint();
  FDoubleClicked = true;
  FMouseDown = true;
  FDragPending = false;
  SelectWordAt(PixelsToPosition(pos.x(), pos.y()));
}

void TtxEditWidget::SelectWordAt(TPoint p)
{
  std::string_view line = LineText(p.Y);
  const int length = int(line.size());
  if (p.X > length) {
    TPoint end{length + 1, p.Y};
    RunCommand(ecGotoXY, '\0', &end);
    return;
  }
  // The click's character decides: inside a word the word, else that character alone.
  int start = p.X, stop = p.X;
  if (IsWordChar((unsigned char)line[size_t(p.X - 1)])) {
    while (start > 1 && IsWordChar((unsigned char)line[size_t(start - 2)]))
      --start;
    while (stop <= length && IsWordChar((unsigned char)line[size_t(stop - 1)]))
      ++stop;
  } else if (p.X > 1 && IsWordChar((unsigned char)line[size_t(p.X - 2)])) {
    // The right half of the last letter rounds to the cell after the word.
    while (start > 1 && IsWordChar((unsigned char)line[size_t(start - 2)]))
      --start;
  } else {
    stop = p.X + CharLengthAt(p.Y, p.X);
  }
  TPoint from{start, p.Y}, to{stop, p.Y};
  RunCommand(ecGotoXY, '\0', &from);
  RunCommand(ecSelGotoXY, '\0', &to);
}

// ---------------------------------------------------------------- drag and drop

void TtxEditWidget::StartDrag()
{
  auto data = std::make_unique<QMimeData>();
  data->setText(EditorString(SelectedText()));
  data->setData(DragMimeType(), DragToken(this));
  auto* drag = new QDrag(this);
  drag->setMimeData(data.release());
  drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool TtxEditWidget::OwnDrag(const QMimeData* data) const
{
  return data && data->data(DragMimeType()) == DragToken(this);
}

void TtxEditWidget::dragEnterEvent(QDragEnterEvent* event)
{
  if (ReadOnly || !OwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
  event->accept();
}

void TtxEditWidget::dragMoveEvent(QDragMoveEvent* event)
{
  if (ReadOnly || !OwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  // The caret follows the mouse to show where the text goes; the selection stays.
  const QPoint pos = event->position().toPoint();
  SetCaretXY(PixelsToPosition(pos.x(), pos.y()));
  event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
  event->accept();
}

void TtxEditWidget::dropEvent(QDropEvent* event)
{
  if (ReadOnly || !OwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  const QPoint pos = event->position().toPoint();
  const bool copy = event->modifiers() & Qt::ControlModifier;
  if (DropSelection(PixelsToPosition(pos.x(), pos.y()), copy)) {
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

// ---------------------------------------------------------------- input method

void TtxEditWidget::inputMethodEvent(QInputMethodEvent* event)
{
  const QString commit = event->commitString().left(2048);
  if (!commit.isEmpty()) {
    // Qt delivers the composed text only here, never again as key presses, so nothing is
    // swallowed afterwards.
    const std::string text = EditorBytes(commit);
    RunCommand(ecImeStr, '\0', &text);
  }
  event->accept();
}

QVariant TtxEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
  switch (query) {
  case Qt::ImCursorRectangle:
    return QRect(CaretRect().topLeft() + viewport()->pos(), QSize(1, FLinePitch));
  case Qt::ImFont: return EditorFont();
  case Qt::ImEnabled: return !ReadOnly;
  default: return QAbstractScrollArea::inputMethodQuery(query);
  }
}
