// Mouse selection, drag and drop of the selection inside the control, the wheel and
// input-method text.
#include "EditWidgetSupport.h"
#include "editor/widgets/EditKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
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

namespace {

TEST(EditMouse, SelectingPastTheBottomScrollsAndFollows)
{
  TtxEditWidget w;
  std::string text;
  for (int i = 1; i <= 100; ++i)
    text += "line " + std::to_string(i) + "\n";
  Prepare(w, text);
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, Cell(w, 1, 1));
  // Just below the window: one line at a time, the caret on the new bottom line.
  const QPoint below(w.TextLeft() + 5, w.viewport()->height() + 3);
  QMouseEvent move(QEvent::MouseMove, below, w.viewport()->mapToGlobal(below), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w.viewport(), &move);
  EXPECT_EQ(w.TopLine(), 2);
  EXPECT_EQ(w.CaretLine(), 1 + w.VisibleLines());
  EXPECT_EQ(w.SelAnchor(), (TPoint{1, 1}));
  // Far below: a page at a time.
  const QPoint far(w.TextLeft() + 5, w.viewport()->height() + 60);
  QMouseEvent farMove(QEvent::MouseMove, far, w.viewport()->mapToGlobal(far), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
  QTest::qWait(150); // the step timer of the first move runs out
  QCoreApplication::sendEvent(w.viewport(), &farMove);
  EXPECT_GE(w.TopLine(), 2 + w.VisibleLines());
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, Cell(w, 1, 2));
  const int top = w.TopLine();
  QTest::qWait(150);
  EXPECT_EQ(w.TopLine(), top) << "scrolling stops with the button";
}

TEST(EditMouse, CursorIsAnArrowOverTheGutter)
{
  Fixture f;
  auto hover = [&](QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, f.View()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(f.View(), &move);
    return f.View()->cursor().shape();
  };
  EXPECT_EQ(hover(QPoint(5, 5)), Qt::ArrowCursor);
  EXPECT_EQ(hover(Cell(f.W, 2, 1)), Qt::IBeamCursor);
}

TEST(EditMouse, ScrollHintShowsTheTopLineWhileTracking)
{
  Fixture f;
  std::string text;
  for (int i = 0; i < 300; ++i)
    text += "x\n";
  f.W.SetText(text);
  f.W.show();
  emit f.W.verticalScrollBar()->sliderMoved(42);
  QLabel* hint = f.View()->findChild<QLabel*>();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->isVisible());
  EXPECT_EQ(hint->text(), "TopLine: 42");
  EXPECT_EQ(hint->y(), 10);
  EXPECT_EQ(hint->geometry().right(), f.View()->width() - 5);
  emit f.W.verticalScrollBar()->sliderReleased();
  EXPECT_FALSE(hint->isVisible());
}

TEST(EditMouse, CaretShapesFollowTheMode)
{
  Fixture f;
  f.W.SetCaretXY({3, 2});
  const QPoint at = f.W.PositionToPixels({3, 2});
  const int cw = f.W.CellWidth(), high = f.W.LinePitch() - 2;
  struct Case {
    TCaretType type;
    QRect rect;
  } cases[] = {
      {ctVerticalLine, {at.x() - 1, at.y(), 2, high}},
      {ctHorizontalLine, {at.x(), at.y() + high, cw, 2}},
      {ctHalfBlock, {at.x(), at.y() + high / 2, cw, high / 2}},
      {ctBlock, {at.x(), at.y(), cw, high}},
  };
  for (const Case& c : cases) {
    f.W.InsertCaret = c.type;
    f.W.InsertMode = true;
    EXPECT_EQ(f.W.CaretRect(), c.rect) << int(c.type);
    f.W.InsertMode = false;
    f.W.OverwriteCaret = c.type;
    EXPECT_EQ(f.W.CaretRect(), c.rect) << int(c.type);
  }
}

TEST(EditMouse, FontStockNeedsAFont)
{
  TFontStock stock;
  try {
    stock.SetBaseFont(nullptr);
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
  }
}

} // namespace

namespace {

TEST(EditMouse, CopyAndPasteGoThroughTheSystemClipboard)
{
  Fixture f;
  f.W.SetSelAnchor({1, 1});
  f.W.SetSelEnd({6, 1});
  f.W.RunCommand(ecCopy, '\0', nullptr);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "alpha");
  // What another program leaves is pasted as plain text.
  QGuiApplication::clipboard()->setText(QString::fromLatin1("z\xe9"));
  const TPoint line3{1, 3};
  f.W.RunCommand(ecGotoXY, '\0', &line3);
  f.W.RunCommand(ecPaste, '\0', nullptr);
  EXPECT_EQ(f.W.LineText(3), "z\xe9third");
  // A column block comes back as a column block.
  f.W.SetSelectionMode(smColumn);
  f.W.SetSelAnchor({1, 1});
  f.W.SetSelEnd({3, 2});
  f.W.RunCommand(ecCopy, '\0', nullptr);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "al\r\nse");
  f.W.SetSelectionMode(smNormal);
  f.W.RunCommand(ecGotoXY, '\0', &line3);
  f.W.RunCommand(ecPaste, '\0', nullptr);
  EXPECT_EQ(f.W.LineText(3), "alz\xe9third");
  EXPECT_EQ(f.W.LineText(4), "se");
}

} // namespace
