// The editor's picture: cell geometry, gutter numbers and glyphs, the selection in each mode,
// and the strip a one-line scroll repaints.
#include "EditWidgetSupport.h"
#include "editor/HTMLHighlighter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace editwidgettest;

namespace {

TEST(EditPaint, CellsComeFromTheFontAndLineSpacing)
{
  TtxEditWidget w;
  QFont font("Courier New");
  font.setPixelSize(15);
  w.SetEditorFont(font);
  w.SetExtraLineSpacing(3);
  QFontMetrics metrics(font);
  EXPECT_EQ(w.CellWidth(), metrics.horizontalAdvance(QLatin1Char('M')));
  EXPECT_EQ(w.LinePitch(), metrics.height() + 3);
  Prepare(w, "one\ntwo");
  EXPECT_EQ(w.VisibleColumns(), (w.viewport()->width() - w.GutterPixels() - 2) / w.CellWidth());
  EXPECT_EQ(w.VisibleLines(), w.viewport()->height() / w.LinePitch());
  EXPECT_EQ(w.TextLeft(), w.GutterPixels() + 2);
}

TEST(EditPaint, PixelsMapToPositionsRoundingToTheNearerCellEdge)
{
  TtxEditWidget w;
  Prepare(w, "abcdef\nghijkl\nmnopqr");
  const int cw = w.CellWidth(), left = w.TextLeft(), lp = w.LinePitch();
  struct Case {
    int x, y;
    TPoint expected;
  } cases[] = {
      {left + 1, 1, {1, 1}},      // left half of the first cell
      {left + cw - 1, 1, {2, 1}}, // right half: after the character
      {left + 2 * cw + cw / 4, lp + 1, {3, 2}},
      {left + 2 * cw + 3 * cw / 4, 2 * lp + 1, {4, 3}},
      {left + 1, 10 * lp, {1, 3}}, // below the text: the last line
  };
  for (const Case& c : cases) {
    TPoint p = w.PixelsToPosition(c.x, c.y);
    EXPECT_EQ(p.X, c.expected.X) << c.x << "," << c.y;
    EXPECT_EQ(p.Y, c.expected.Y) << c.x << "," << c.y;
  }
  w.SetLeftChar(3);
  EXPECT_EQ(w.PixelsToPosition(w.GutterPixels() + 3, 1).X, 3);
  EXPECT_EQ(w.PositionToPixels({3, 1}).x(), w.GutterPixels() + 2);
}

// The leftmost column of ink at or after x in a pixel row band.
int InkStart(const QImage& image, int fromX, int toX, int top, int bottom, QColor paper)
{
  for (int x = fromX; x < toX; ++x)
    for (int y = top; y < bottom; ++y)
      if (image.pixelColor(x, y) != paper)
        return x;
  return -1;
}

TEST(EditPaint, BoldTokensKeepTheColumnsAligned)
{
  TtxEditWidget w;
  TtxHTMLHighlighter hl;
  for (int i = 0; i < hl.AttributeCount(); ++i) {
    hl.AttributeAt(i)->SetBackground(Paper);
    hl.AttributeAt(i)->SetForeground(Ink);
  }
  w.SetHighLighter(&hl);
  // Line 1 starts with bold tag names, line 2 is plain text; the "|" stands in column 12 on both.
  Prepare(w, "<html><bod>|\nxxxxxxxxxxx|");
  w.SetHighLighter(&hl);
  QImage image = Draw(w);
  const int x = w.PositionToPixels({12, 1}).x();
  const int cw = w.CellWidth(), lp = w.LinePitch();
  int first = InkStart(image, x, x + cw, 0, lp, Qt::white);
  int second = InkStart(image, x, x + cw, lp, 2 * lp, Qt::white);
  ASSERT_GE(first, 0);
  EXPECT_EQ(first, second);
  // And nothing of the bold run spills into the bar's cell from the left.
  EXPECT_EQ(InkStart(image, x - cw, x, 0, lp, Qt::white) >= 0, true);
}

TEST(EditPaint, GutterFormatsLineNumbers)
{
  TtxGutter gutter;
  gutter.SetShowLineNumbers(true);
  struct Case {
    bool zeros, zeroStart;
    int digits, line;
    const char* text;
  } cases[] = {
      {true, false, 4, 7, "0007"}, {true, true, 4, 7, "0006"}, {false, false, 4, 7, "   7"},
      {false, true, 4, 1, "   0"}, {true, true, 4, 1, "0000"}, {false, false, 2, 12345, "12345"},
      {true, false, 1, 3, "3"},
  };
  for (const Case& c : cases) {
    gutter.SetLeadingZeros(c.zeros);
    gutter.SetZeroStart(c.zeroStart);
    gutter.SetDigitCount(c.digits);
    EXPECT_EQ(gutter.FormatLineNumber(c.line), c.text) << c.line;
  }
  EXPECT_EQ(gutter.RealGutterWidth(9), 16 + 2 + 1 * 9 + 2);
  gutter.SetShowLineNumbers(false);
  EXPECT_EQ(gutter.RealGutterWidth(9), 30);
}

TEST(EditPaint, GutterSettersFireOnlyOnChange)
{
  TtxGutter gutter;
  int fired = 0;
  gutter.OnChange = [&] { ++fired; };
  gutter.SetWidth(30);
  gutter.SetDigitCount(4);
  EXPECT_EQ(fired, 0);
  gutter.SetWidth(40);
  gutter.SetLeadingZeros(true);
  EXPECT_EQ(fired, 2);
  TtxGutter copy;
  copy.Assign(gutter);
  EXPECT_EQ(copy.Width(), 40);
  EXPECT_TRUE(copy.LeadingZeros());
}

TEST(EditPaint, GutterShowsNumbersInTheEditorsFontAndWidth)
{
  TtxEditWidget w;
  Prepare(w, "a\nb\nc");
  w.Gutter.SetShowLineNumbers(true);
  w.Gutter.SetLeadingZeros(true);
  EXPECT_EQ(w.GutterPixels(), 16 + 2 + 4 * w.CellWidth() + 2);
  QImage image = Draw(w);
  const int lp = w.LinePitch(), cw = w.CellWidth();
  // Gutter paper left of the digits, ink inside the digit cells of every line, separators.
  EXPECT_EQ(image.pixelColor(2, 2), ToQColor(GutterPaper));
  for (int line = 0; line < 3; ++line)
    EXPECT_GE(InkStart(image, 16, 16 + 4 * cw, line * lp, (line + 1) * lp, ToQColor(GutterPaper)),
              16);
  EXPECT_EQ(image.pixelColor(w.GutterPixels() - 2, 1), ToQColor(clBtnHighlight));
  EXPECT_EQ(image.pixelColor(w.GutterPixels() - 1, 1), ToQColor(clBtnShadow));
  // Below the last line the gutter has no number.
  EXPECT_EQ(InkStart(image, 16, 16 + 4 * cw, 3 * lp, 4 * lp, ToQColor(GutterPaper)), -1);
}

TEST(EditPaint, MarksOnOneLineStandSideBySide)
{
  TtxEditWidget w;
  Prepare(w, "a\nb\nc\nd");
  // A bookmark and a plain mark on line 2: the plain mark first, the bookmark 12 pixels on.
  w.PlaceBookmark(2, 1, 2);
  auto plain = std::make_unique<TMark>(&w);
  plain->SetLine(2);
  plain->SetImageIndex(5);
  plain->SetVisible(true);
  w.Marks().Add(std::move(plain));
  QImage image = Draw(w);
  const int top = w.LinePitch();
  const QImage& first = TtxEditWidget::BuiltInGlyph(5);
  const QImage& second = TtxEditWidget::BuiltInGlyph(2);
  for (int y = 0; y < first.height(); ++y) {
    for (int x = 0; x < first.width(); ++x) {
      if (qAlpha(first.pixel(x, y)) == 255) {
        ASSERT_EQ(image.pixel(2 + x, top + y), first.pixel(x, y)) << x << "," << y;
      }
      if (qAlpha(second.pixel(x, y)) == 255) {
        ASSERT_EQ(image.pixel(14 + x, top + y), second.pixel(x, y)) << x << "," << y;
      }
    }
  }
  // Line 1 has no mark; hidden glyphs are not drawn.
  EXPECT_EQ(image.pixelColor(3, 2), ToQColor(GutterPaper));
  w.BookMarkOptions.GlyphsVisible = false;
  EXPECT_EQ(Draw(w).pixelColor(3, top + 3), ToQColor(GutterPaper));
}

// Which cells of lines 1..3, columns 1..6, show the selection paper.
std::vector<std::string> SelectionMap(TtxEditWidget& w)
{
  QImage image = Draw(w);
  std::vector<std::string> rows;
  for (int line = 1; line <= 3; ++line) {
    std::string row;
    for (int col = 1; col <= 6; ++col) {
      QColor c = CellPaper(w, image, col, line);
      row += c == ToQColor(SelPaper) ? '#' : c == ToQColor(Paper) ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(EditPaint, SelectionShowsInEachMode)
{
  struct Case {
    TSelectionMode mode;
    TPoint anchor, end;
    std::vector<std::string> map;
  } cases[] = {
      {smNormal, {3, 1}, {2, 3}, {"..##..", "######", "#....."}},
      {smNormal, {2, 3}, {3, 1}, {"..##..", "######", "#....."}},
      {smColumn, {2, 1}, {4, 3}, {".##...", ".##...", ".##..."}},
      {smColumn, {5, 2}, {7, 2}, {"......", "....##", "......"}},
      {smLine, {3, 1}, {1, 2}, {"####..", "######", "......"}},
  };
  for (const Case& c : cases) {
    TtxEditWidget w;
    Prepare(w, "abcd\nefghij\nkl");
    w.SetSelectionMode(c.mode);
    w.SetSelAnchor(c.anchor);
    w.SetSelEnd(c.end);
    EXPECT_EQ(SelectionMap(w), c.map) << int(c.mode);
  }
}

TEST(EditPaint, HiddenSelectionWithoutFocusAndSpecialLines)
{
  TtxEditWidget w;
  Prepare(w, "abcd\nefghij\nkl");
  w.SetSelAnchor({1, 1});
  w.SetSelEnd({3, 1});
  w.HideSelection = true;
  EXPECT_EQ(SelectionMap(w)[0], "......");
  w.HideSelection = false;
  // A special line draws in its own colours and shows its selection inverted.
  const TColor green = RGBColor(0, 255, 0), blue = RGBColor(0, 0, 255);
  w.OnSpecialLineColors = [&](int line, bool& special, TColor& fg, TColor& bg) {
    if (line == 1) {
      special = true;
      fg = blue;
      bg = green;
    }
  };
  QImage image = Draw(w);
  EXPECT_EQ(CellPaper(w, image, 1, 1), ToQColor(blue));
  EXPECT_EQ(CellPaper(w, image, 3, 1), ToQColor(green));
  EXPECT_EQ(CellPaper(w, image, 8, 1), ToQColor(green));
  EXPECT_EQ(CellPaper(w, image, 8, 2), ToQColor(Paper));
}

TEST(EditPaint, RightEdgeIsDrawnAtItsColumn)
{
  TtxEditWidget w;
  Prepare(w, "abc");
  w.RightEdge = 10;
  w.RightEdgeColor = RGBColor(0, 0, 255);
  QImage image = Draw(w);
  const int x = 10 * w.CellWidth() + w.TextLeft();
  EXPECT_EQ(image.pixelColor(x, 2), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(x, w.viewport()->height() - 2), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(x + 1, 2), ToQColor(Paper));
}

TEST(EditPaint, TabsShowAsBlanksToTheNextStop)
{
  TtxEditWidget w;
  Prepare(w, "a\tb\n12345678b");
  QImage image = Draw(w);
  const int cw = w.CellWidth(), lp = w.LinePitch();
  const int x = w.PositionToPixels({9, 1}).x();
  EXPECT_EQ(InkStart(image, x, x + cw, 0, lp, Qt::white),
            InkStart(image, x, x + cw, lp, 2 * lp, Qt::white));
  EXPECT_EQ(InkStart(image, w.TextLeft() + cw, x, 0, lp, Qt::white), -1);
}

TEST(EditPaint, OneLineScrollRepaintsOneStrip)
{
  TtxEditWidget w;
  std::string text;
  for (int i = 1; i <= 200; ++i)
    text += "line " + std::to_string(i) + "\n";
  Prepare(w, text);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QCoreApplication::processEvents();
  w.PaintedRegion = QRegion();
  w.SetTopLine(2);
  QCoreApplication::processEvents();
  const QRect painted = w.PaintedRegion.boundingRect();
  const int height = w.viewport()->height();
  EXPECT_EQ(painted.bottom(), height - 1);
  EXPECT_LE(painted.height(), w.LinePitch() + height % w.LinePitch());
  EXPECT_EQ(painted.width(), w.viewport()->width());
  // Scrolling a page or more repaints everything.
  w.PaintedRegion = QRegion();
  w.SetTopLine(2 + w.VisibleLines());
  QCoreApplication::processEvents();
  EXPECT_EQ(w.PaintedRegion.boundingRect().height(), height);
}

TEST(EditPaint, ScrollBarsFollowTheirStyle)
{
  TtxEditWidget w;
  Prepare(w, "a");
  Draw(w);
  const int withBars = w.viewport()->height();
  w.SetScrollBars(ssVertical);
  EXPECT_EQ(w.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(w.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  w.SetScrollBars(ssNone);
  EXPECT_EQ(w.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  // Without a horizontal bar the text area gains its height.
  QCoreApplication::processEvents(); // the bars' layout
  Draw(w);                           // a hidden window's resize events come with drawing
  EXPECT_GT(w.viewport()->height(), withBars);
  EXPECT_EQ(w.VisibleLines(), w.viewport()->height() / w.LinePitch());
}

TEST(EditPaint, ThumbReachesTheEndOfALongText)
{
  TtxEditWidget w;
  std::string text;
  for (int i = 1; i <= 40000; ++i)
    text += "x\n";
  Prepare(w, text);
  QScrollBar* bar = w.verticalScrollBar();
  bar->setValue(bar->maximum());
  EXPECT_EQ(w.TopLine(), w.LineCount());
  bar->setValue(20000);
  EXPECT_EQ(w.TopLine(), 20000);
}

} // namespace

namespace {

TEST(EditPaint, HostileTextPaintsWithoutHarm)
{
  std::string bytes;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n')
      bytes += char(c);
  const std::string texts[] = {
      bytes,
      std::string(5000, 'w') + "<b>" + std::string(3000, '\t') + "</b>",
      "<!-- " + std::string(2000, '<') + "\n<%" + std::string(10, '\0') + "%>",
      std::string(1, '\0'),
  };
  for (const std::string& text : texts) {
    TtxEditWidget w;
    TtxHTMLHighlighter hl;
    w.SetHighLighter(&hl);
    Prepare(w, text);
    w.Gutter.SetShowLineNumbers(true);
    w.SetSelectionMode(smColumn);
    w.SetSelAnchor({1, 1});
    w.SetSelEnd({TtxCustomEdit::ColumnLimit, 2});
    EXPECT_FALSE(Draw(w).isNull());
    w.SetLeftChar(TtxCustomEdit::ColumnLimit);
    EXPECT_FALSE(Draw(w).isNull());
    w.resize(1, 1);
    EXPECT_FALSE(Draw(w).isNull());
  }
}

} // namespace

namespace {

TEST(EditPaint, TypingRepaintsOnlyItsLine)
{
  TtxEditWidget w;
  Prepare(w, "one\ntwo\nthree\nfour\nfive");
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.setFocus();
  QCoreApplication::processEvents();
  const TPoint at{3, 3};
  w.RunCommand(ecGotoXY, '\0', &at);
  QCoreApplication::processEvents();
  w.PaintedRegion = QRegion();
  w.RunCommand(ecChar, 'x', nullptr);
  QCoreApplication::processEvents();
  const QRect painted = w.PaintedRegion.boundingRect();
  ASSERT_FALSE(painted.isEmpty());
  EXPECT_GE(painted.top(), 2 * w.LinePitch());
  EXPECT_LE(painted.bottom(), 3 * w.LinePitch() - 1);
  EXPECT_EQ(w.LineText(3), "thxree");
}

} // namespace

namespace {

TEST(EditPaint, OnPaintDrawsOverTheTextWithTheEditorsFont)
{
  TtxEditWidget w;
  Prepare(w, "text");
  QString family;
  w.OnPaint = [&](QPainter& painter) {
    family = painter.font().family();
    painter.fillRect(0, 0, 4, 4, Qt::blue);
  };
  QImage image = Draw(w);
  EXPECT_EQ(family, w.EditorFont().family());
  EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::blue));
}

TEST(EditPaint, Utf8TextTakesACellPerCharacterAndTwoForAWideOne)
{
  TtxEditWidget w;
  // The bar stands in the fourth cell of every line: after a wide character and a letter,
  // after three letters, after an accented letter and two more.
  Prepare(w, "\xe4\xb8\xad"
             "a|\nabc|\n\xc3\xa9"
             "ab|");
  ASSERT_TRUE(w.Utf8());
  const int cw = w.CellWidth(), lp = w.LinePitch(), left = w.TextLeft();
  const TPoint bars[] = {{5, 1}, {4, 2}, {5, 3}};
  for (const TPoint& bar : bars)
    EXPECT_EQ(w.PositionToPixels(bar).x(), left + 3 * cw) << bar.Y;
  // Either half of the wide character's second cell is still that character or after it.
  EXPECT_EQ(w.PixelsToPosition(left + cw + cw / 4, 1).X, 1);
  EXPECT_EQ(w.PixelsToPosition(left + 2 * cw - 1, 1).X, 4);
  w.SetSelAnchor({2, 3});
  w.SetSelEnd({4, 3});
  w.setFocus();
  const QImage image = Draw(w);
  const int x = left + 3 * cw;
  for (int line = 0; line < 3; ++line)
    EXPECT_EQ(InkStart(image, x, x + cw, line * lp, (line + 1) * lp, Qt::white),
              InkStart(image, x, x + cw, 0, lp, Qt::white))
        << line;
  // The accented letter is drawn in its one cell, and selecting the next letter marks the
  // second cell.
  EXPECT_GE(InkStart(image, left, left + cw, 2 * lp, 3 * lp, Qt::white), left);
  EXPECT_EQ(CellPaper(w, image, 2, 3), ToQColor(SelPaper));
  EXPECT_EQ(CellPaper(w, image, 4, 3), ToQColor(Paper));
}

} // namespace
