#include "TableTestSupport.h"

#include <algorithm>

namespace {

// Content widths of one-word and several-word cells, as the text sections report them.
class TableWidths : public TableTest {
protected:
  static constexpr int32_t Pad = 2 * 1 + 2; // default padding and spacing
  static int32_t MinOf(const std::string& text)
  {
    int32_t w = 0;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = std::min(text.find(' ', start), text.size());
      w = std::max(w, int32_t(Width(text.substr(start, end - start))));
      start = end + 1;
    }
    return w + Pad;
  }
  static int32_t MaxOf(const std::string& text) { return Width(text) + Pad; }

  ThtmlTable* TwoColumns(const std::string& a, const std::string& b,
                         std::initializer_list<TAttr> tableAttrs = {},
                         std::initializer_list<TAttr> cellA = {})
  {
    ThtmlTable* t = AddTable(tableAttrs);
    TCellList* row = AddRow(t);
    AddCell(row, a, cellA);
    AddCell(row, b);
    return t;
  }
};

TEST_F(TableWidths, WithoutWidthsATableNeverGrowsPastItsMaxima)
{
  const std::string a = "alpha", b = "bravo charlie delta";
  for (int window : {800, 2000}) {
    List.Clear();
    ThtmlTable* t = TwoColumns(a, b);
    LayoutAt(window);
    EXPECT_EQ(t->ColumnWidths[0], MaxOf(a));
    EXPECT_EQ(t->ColumnWidths[1], MaxOf(b));
    EXPECT_EQ(t->GridWidth, MaxOf(a) + MaxOf(b) + 2);
    EXPECT_EQ(t->OverallWidth, t->GridWidth);
  }
}

TEST_F(TableWidths, BetweenMinimumAndMaximumColumnsShareTheRoom)
{
  const std::string a = "alpha", b = "bravo charlie delta echo";
  const int32_t minA = MinOf(a), maxA = MaxOf(a), minB = MinOf(b), maxB = MaxOf(b);
  const int32_t totalMin = minA + minB, totalMax = maxA + maxB;
  const int32_t window = (totalMin + totalMax) / 2 + 2;
  ThtmlTable* t = TwoColumns(a, b);
  LayoutAt(window);
  const int32_t newWidth = window - 2;
  EXPECT_EQ(t->ColumnWidths[0],
            minA + MulDiv(maxA - minA, newWidth - totalMin, totalMax - totalMin));
  EXPECT_EQ(t->ColumnWidths[1],
            minB + MulDiv(maxB - minB, newWidth - totalMin, totalMax - totalMin));
}

TEST_F(TableWidths, NarrowerThanTheMinimumTheTableOverflows)
{
  const std::string a = "alphabetical", b = "bravissimo";
  ThtmlTable* t = TwoColumns(a, b);
  LayoutAt(40);
  EXPECT_EQ(t->ColumnWidths[0], MinOf(a));
  EXPECT_EQ(t->ColumnWidths[1], MinOf(b));
  EXPECT_GT(t->GridWidth, 40);
}

TEST_F(TableWidths, FullWidthTableIsExactlyAsWideAsTheWindow)
{
  for (int window : {300, 555, 1024}) {
    List.Clear();
    ThtmlTable* t = TwoColumns("one", "two three", {{attrWIDTH, "100%"}});
    LayoutAt(window);
    EXPECT_EQ(t->GridWidth, window) << window;
  }
}

TEST_F(TableWidths, PixelTableWidthSharesTheRestEvenlyWithoutStretchRoom)
{
  // One-word cells have no room between minimum and maximum, so the excess is shared evenly
  // and the rounding remainder goes to the first column.
  const std::string a = "left", b = "right";
  ThtmlTable* t = TwoColumns(a, b, {{attrWIDTH, "401"}});
  LayoutAt(800);
  const int32_t newWidth = 401 - 2;
  const int32_t fill = newWidth - MinOf(a) - MinOf(b);
  EXPECT_EQ(t->ColumnWidths[1], MinOf(b) + fill / 2);
  EXPECT_EQ(t->ColumnWidths[0], newWidth - t->ColumnWidths[1]);
  EXPECT_EQ(t->GridWidth, 401);
}

TEST_F(TableWidths, HalfWidthCellMakesBothColumnsAsWideAsTheWiderMaximum)
{
  const std::string a = "short", b = "a much longer text";
  ThtmlTable* t = TwoColumns(a, b, {}, {{attrWIDTH, "50%"}});
  LayoutAt(1000);
  const int32_t want = std::max(MulDiv(MaxOf(a), 1000, 500), MulDiv(MaxOf(b), 1000, 500));
  EXPECT_EQ(t->ColumnPercents[0], 500);
  EXPECT_EQ(t->ColumnWidths[0], MulDiv(want, 500, 1000));
  EXPECT_EQ(t->ColumnWidths[1], MulDiv(MaxOf(b), MulDiv(want, 500, 1000), MaxOf(b)));
  EXPECT_EQ(t->ColumnWidths[0], t->ColumnWidths[1]);
  EXPECT_EQ(t->GridWidth - 2, 2 * std::max(MaxOf(a), MaxOf(b)));
}

TEST_F(TableWidths, PercentagesThatDoNotFitShrinkToTheWindow)
{
  // Two 50% columns whose maxima would need a wider window than there is: each gets its
  // share of what there is.
  ThtmlTable* t = AddTable();
  TCellList* row = AddRow(t);
  const std::string text = "some words that make the maximum wide";
  AddCell(row, text, {{attrWIDTH, "50%"}});
  AddCell(row, text, {{attrWIDTH, "50%"}});
  const int32_t window = MaxOf(text) + 2; // half of what the percentages ask for
  LayoutAt(window);
  const int32_t newWidth = window - 2;
  EXPECT_EQ(t->ColumnWidths[0], MulDiv(newWidth, 500, 1000));
  EXPECT_EQ(t->ColumnWidths[1], MulDiv(newWidth, 500, 1000));
}

TEST_F(TableWidths, PixelCellWidthFixesItsColumn)
{
  ThtmlTable* t = TwoColumns("tiny", "other text", {}, {{attrWIDTH, "100"}});
  LayoutAt(800);
  EXPECT_TRUE(t->HasPixelCellWidth);
  EXPECT_EQ(t->ColumnWidths[0], 100 + Pad);
  EXPECT_EQ(t->ColumnWidths[1], MaxOf("other text"));
}

TEST_F(TableWidths, PixelCellWidthGivesWayToWiderContent)
{
  const std::string wide = "Pneumonoultramicroscopicsilicovolcanoconiosis";
  ASSERT_GT(Width(wide), 100);
  ThtmlTable* t = TwoColumns(wide, "b", {}, {{attrWIDTH, "100"}});
  LayoutAt(1200);
  EXPECT_EQ(t->ColumnWidths[0], MinOf(wide));
}

TEST_F(TableWidths, PixelVariantInterpolatesBetweenMinimumAndMaximum)
{
  const std::string b = "one two three four five six seven";
  ThtmlTable* t = TwoColumns("a", b, {}, {{attrWIDTH, "200"}});
  const int32_t minA = 200 + Pad, maxA = 200 + Pad;
  const int32_t totalMin = minA + MinOf(b), totalMax = maxA + MaxOf(b);
  const int32_t window = (totalMin + totalMax) / 2;
  LayoutAt(window);
  const int32_t newWidth = window - 2;
  EXPECT_EQ(t->ColumnWidths[0], minA);
  EXPECT_EQ(t->ColumnWidths[1],
            MinOf(b) + MulDiv(MaxOf(b) - MinOf(b), newWidth - totalMin, totalMax - totalMin));
}

TEST_F(TableWidths, PercentOnASpanningCellIsSharedByItsColumns)
{
  ThtmlTable* t = TwoColumns("a", "b", {{attrWIDTH, "500"}});
  AddCell(AddRow(t), "s", {{attrCOLSPAN, "2"}, {attrWIDTH, "60%"}});
  LayoutAt(800);
  EXPECT_EQ(t->ColumnPercents[0], 300);
  EXPECT_EQ(t->ColumnPercents[1], 300);
  const int32_t newWidth = 500 - 2;
  const int32_t each = MulDiv(newWidth, 300, 1000);
  const int32_t gain = MulDiv(newWidth - 2 * each, 300, 600);
  EXPECT_EQ(t->ColumnWidths[1], each + gain);
  EXPECT_EQ(t->ColumnWidths[0], newWidth - t->ColumnWidths[1]);
}

TEST_F(TableWidths, SpanningCellWiderThanItsColumnsWidensThemInProportion)
{
  const std::string a = "ab", b = "abcd";
  const std::string wide = "abcdefghijklmnopqrstuvwxyzabcdefghij";
  ThtmlTable* t = TwoColumns(a, b);
  TCellObj* span = AddCell(AddRow(t), wide, {{attrCOLSPAN, "2"}});
  LayoutAt(1200);
  // No percentages: the columns are rescaled to the cell's maximum by their own maxima.
  const int32_t sum = MaxOf(a) + MaxOf(b);
  EXPECT_EQ(t->ColumnWidths[0], MulDiv(MaxOf(wide), MaxOf(a), sum));
  EXPECT_EQ(t->ColumnWidths[1], MulDiv(MaxOf(wide), MaxOf(b), sum));
  EXPECT_EQ(span->SpanWidth, t->ColumnWidths[0] + t->ColumnWidths[1]);
}

TEST_F(TableWidths, SpanOverEmptyColumnsSplitsEvenlyWithoutDividingByZero)
{
  ThtmlTable* t = AddTable({{attrCELLPADDING, "0"}, {attrCELLSPACING, "0"}});
  TCellList* r0 = AddRow(t);
  AddCell(r0, "");
  AddCell(r0, "");
  AddCell(r0, "");
  TCellObj* span = AddCell(AddRow(t), "abcdefgh", {{attrCOLSPAN, "3"}});
  LayoutAt(800);
  const int32_t w = Width("abcdefgh");
  EXPECT_EQ(t->ColumnWidths[0], w / 3);
  EXPECT_EQ(t->ColumnWidths[1], w / 3);
  EXPECT_EQ(t->ColumnWidths[2], w / 3 + w % 3);
  EXPECT_EQ(span->SpanWidth, w);
}

TEST_F(TableWidths, WidthRangeReportsSumsPlusSpacingAndTheCaption)
{
  const std::string a = "alpha beta", b = "gamma";
  ThtmlTable* t = TwoColumns(a, b);
  int32_t mn = 0, mx = 0;
  t->WidthRange(Canvas, mn, mx);
  EXPECT_EQ(mn, MinOf(a) + MinOf(b) + 2);
  EXPECT_EQ(mx, MaxOf(a) + MaxOf(b) + 2);
  const std::string caption = "a caption that is a good deal wider than both columns";
  AddTextTo(*t->CaptionCell->Content, caption);
  t->WidthRange(Canvas, mn, mx);
  EXPECT_EQ(t->CaptionMinWidth, MinOf(caption) - Pad);
  EXPECT_EQ(mx, std::max(MaxOf(a) + MaxOf(b) + 2, t->CaptionMinWidth));
}

TEST_F(TableWidths, PixelTableWidthIsAFloorForTheRange)
{
  ThtmlTable* t = TwoColumns("a", "b", {{attrWIDTH, "300"}});
  int32_t mn = 0, mx = 0;
  t->WidthRange(Canvas, mn, mx);
  EXPECT_EQ(mn, 300);
  EXPECT_EQ(mx, 300);
}

} // namespace
