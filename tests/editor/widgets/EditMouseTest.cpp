// Mouse selection, drag and drop of the selection inside the control, the wheel and
// input-method text.
#include "EditWidgetSupport.h"
#include "editor/widgets/EditKeys.h"

#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace editwidgettest;

namespace {

// The middle of the left half of a cell: the position before its character.
QPoint Cell(TtxEditWidget& w, int column, int line)
{
  return w.PositionToPixels({column, line}) + QPoint(w.CellWidth() / 4, w.LinePitch() / 2);
}

struct Fixture {
  TtxEditWidget W;
  Fixture() { Prepare(W, "alpha beta gamma\nsecond line here\nthird"); }
  QWidget* View() { return W.viewport(); }
};

TEST(EditMouse, ClickShiftClickAndDragSelect)
{
  Fixture f;
  QTest::mouseClick(f.View(), Qt::LeftButton, {}, Cell(f.W, 7, 1));
  EXPECT_EQ(f.W.CaretXY(), (TPoint{7, 1}));
  EXPECT_FALSE(f.W.HasSelection());
  QTest::mouseClick(f.View(), Qt::LeftButton, Qt::ShiftModifier, Cell(f.W, 3, 2));
  EXPECT_EQ(f.W.SelectedText(), "beta gamma\r\nse");
  EXPECT_EQ(f.W.CaretXY(), (TPoint{3, 2}));
  // A plain click elsewhere collapses it.
  QTest::mouseClick(f.View(), Qt::LeftButton, {}, Cell(f.W, 2, 3));
  EXPECT_FALSE(f.W.HasSelection());
  // Dragging from column 1 to column 6 of line 1 selects "alpha".
  QTest::mousePress(f.View(), Qt::LeftButton, {}, Cell(f.W, 1, 1));
  QMouseEvent move(QEvent::MouseMove, Cell(f.W, 6, 1), f.View()->mapToGlobal(Cell(f.W, 6, 1)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(f.View(), &move);
  QTest::mouseRelease(f.View(), Qt::LeftButton, {}, Cell(f.W, 6, 1));
  EXPECT_EQ(f.W.SelectedText(), "alpha");
}

TEST(EditMouse, RightHalfOfACellPutsTheCaretAfterIt)
{
  Fixture f;
  QPoint p = f.W.PositionToPixels({3, 1}) + QPoint(3 * f.W.CellWidth() / 4, 2);
  QTest::mouseClick(f.View(), Qt::LeftButton, {}, p);
  EXPECT_EQ(f.W.CaretXY(), (TPoint{4, 1}));
}

TEST(EditMouse, DoubleClickSelectsTheWord)
{
  struct Case {
    int column, line;
    const char* word;
    TPoint caret;
  } cases[] = {
      {8, 1, "beta", {11, 1}},
      {1, 1, "alpha", {6, 1}},
      {3, 3, "third", {6, 3}},
      {30, 2, "", {17, 2}}, // past the end: the caret goes to the line end
  };
  for (const Case& c : cases) {
    Fixture f;
    QTest::mouseDClick(f.View(), Qt::LeftButton, {}, Cell(f.W, c.column, c.line));
    EXPECT_EQ(f.W.SelectedText(), c.word) << c.column;
    EXPECT_EQ(f.W.CaretXY(), c.caret) << c.column;
  }
}

TEST(EditMouse, ClickInsideTheSelectionWithoutDragCollapsesIt)
{
  Fixture f;
  f.W.SetCaretXY({1, 1});
  f.W.SetSelAnchor({1, 1});
  f.W.SetSelEnd({6, 1});
  QTest::mousePress(f.View(), Qt::LeftButton, {}, Cell(f.W, 3, 1));
  EXPECT_TRUE(f.W.HasSelection()); // it may still become a drag
  QTest::mouseRelease(f.View(), Qt::LeftButton, {}, Cell(f.W, 3, 1));
  EXPECT_FALSE(f.W.HasSelection());
  EXPECT_EQ(f.W.CaretXY(), (TPoint{3, 1}));
}

// A drop as the control's own drag delivers it.
bool Drop(TtxEditWidget& w, int column, int line, bool copy, const QByteArray& token)
{
  QMimeData data;
  data.setText("x");
  data.setData(TtxEditWidget::DragMimeType(), token);
  const QPointF at = Cell(w, column, line);
  const Qt::KeyboardModifiers mods = copy ? Qt::ControlModifier : Qt::NoModifier;
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, mods);
  QCoreApplication::sendEvent(w.viewport(), &enter);
  if (!enter.isAccepted())
    return false;
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, mods);
  QCoreApplication::sendEvent(w.viewport(), &drop);
  return drop.isAccepted();
}

QByteArray TokenOf(TtxEditWidget& w)
{
  return QByteArray::number(quintptr(&w));
}

TEST(EditMouse, DropMovesOrCopiesTheSelection)
{
  struct Case {
    bool copy;
    int column, line;
    bool accepted;
    const char* text;
  } cases[] = {
      {false, 1, 3, true, " beta gamma\nsecond line here\nalphathird"},
      {true, 1, 3, true, "alpha beta gamma\nsecond line here\nalphathird"},
      {false, 3, 1, false, "alpha beta gamma\nsecond line here\nthird"}, // inside the selection
  };
  for (const Case& c : cases) {
    Fixture f;
    f.W.SetSelAnchor({1, 1});
    f.W.SetSelEnd({6, 1});
    EXPECT_EQ(Drop(f.W, c.column, c.line, c.copy, TokenOf(f.W)), c.accepted);
    std::string text = f.W.Lines().Text();
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text, c.text) << c.copy << c.column;
  }
}

TEST(EditMouse, ForeignOrReadOnlyDropsAreRefused)
{
  Fixture f;
  f.W.SetSelAnchor({1, 1});
  f.W.SetSelEnd({6, 1});
  EXPECT_FALSE(Drop(f.W, 1, 3, false, "12345"));
  f.W.ReadOnly = true;
  EXPECT_FALSE(Drop(f.W, 1, 3, false, TokenOf(f.W)));
  EXPECT_EQ(f.W.LineText(3), "third");
}

TEST(EditMouse, WheelStepsAddUpToWholeNotches)
{
  Fixture f;
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "x\n";
  f.W.SetText(text);
  auto wheel = [&](int delta) {
    QWheelEvent event(QPointF(50, 50), f.View()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(f.View(), &event);
  };
  wheel(-60);
  EXPECT_EQ(f.W.TopLine(), 1);
  wheel(-60);
  EXPECT_EQ(f.W.TopLine(), 1 + QApplication::wheelScrollLines());
  wheel(120);
  EXPECT_EQ(f.W.TopLine(), 1);
}

TEST(EditMouse, InputMethodTextIsTypedOnce)
{
  Fixture f;
  f.W.SetCaretXY({6, 1});
  QInputMethodEvent event;
  event.setCommitString(QString::fromLatin1("XY\xe9"));
  QCoreApplication::sendEvent(&f.W, &event);
  EXPECT_EQ(f.W.LineText(1), "alphaXY\xe9 beta gamma");
  EXPECT_EQ(f.W.CaretXY(), (TPoint{9, 1}));
  // The next typed key is not swallowed.
  QTest::keyClick(&f.W, 'z');
  EXPECT_EQ(f.W.LineText(1), "alphaXY\xe9z beta gamma");
  EXPECT_EQ(f.W.inputMethodQuery(Qt::ImFont).value<QFont>().family(), f.W.EditorFont().family());
}

TEST(EditMouse, KeysReachTheKeyTable)
{
  Fixture f;
  QTest::keyClick(&f.W, Qt::Key_End);
  EXPECT_EQ(f.W.CaretXY(), (TPoint{17, 1}));
  QTest::keyClick(&f.W, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(f.W.SelectedText(), "alpha beta gamma");
  QTest::keyClick(&f.W, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F3), vk::F1 + 2);
  EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier), ssShift | ssCtrl);
}

} // namespace
