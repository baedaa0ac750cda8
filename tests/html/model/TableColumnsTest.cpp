#include "html/model/TableColumns.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TColumnCell Cell(int32_t col, int32_t mn, int32_t mx, int32_t span = 1)
{
  TColumnCell c;
  c.Column = col;
  c.Span = span;
  c.Min = mn;
  c.Max = mx;
  return c;
}

TColumnCell Sized(TColumnCell c, int32_t spec, bool percent)
{
  c.WidthSpec = spec;
  c.WidthIsPercent = percent;
  return c;
}

std::vector<int32_t> Head(const TColumnArray& a, size_t n)
{
  return std::vector<int32_t>(a.begin(), a.begin() + long(n));
}

struct RangeCase {
  std::string Name;
  std::vector<TColumnCell> Cells;
  std::vector<int32_t> Min, Max;
};

TEST(TableColumns, PixelRangesTakeTheWidestCellAndSpreadSpansOverTheirColumns)
{
  const int32_t pad = 4;
  const std::vector<RangeCase> cases = {
      {"widest cell of each column",
       {Cell(0, 10, 30), Cell(1, 20, 50), Cell(0, 15, 25)},
       {15, 20},
       {30, 50}},
      // A pixel width raises the minimum and also caps the maximum at it.
      {"pixel width below content",
       {Sized(Cell(0, 10, 30), 40, false), Cell(1, 5, 5)},
       {44, 5},
       {44, 5}},
      {"pixel width above content",
       {Sized(Cell(0, 60, 80), 40, false), Cell(1, 5, 5)},
       {60, 5},
       {60, 5}},
      {"percent width is no pixel width",
       {Sized(Cell(0, 10, 30), 500, true), Cell(1, 5, 5)},
       {10, 5},
       {30, 5}},
      // The span comes first in the document but is taken after the single cells; the
      // shortfall is shared in proportion to what the columns hold.
      {"span grows its columns",
       {Cell(0, 40, 80, 2), Cell(0, 10, 30), Cell(1, 10, 10)},
       {20, 20},
       {60, 20}},
      {"span that fits changes nothing",
       {Cell(0, 10, 20, 2), Cell(0, 10, 30), Cell(1, 10, 10)},
       {10, 10},
       {30, 10}},
      {"span over empty columns splits evenly", {Cell(0, 41, 41, 2)}, {20, 21}, {20, 21}},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TColumnArray widths{}, percents{};
    TTableColumns columns(int32_t(c.Min.size()), pad, widths, percents);
    TColumnRange r = columns.PixelRange(c.Cells);
    EXPECT_EQ(Head(r.MinW, c.Min.size()), c.Min);
    EXPECT_EQ(Head(r.MaxW, c.Max.size()), c.Max);
    EXPECT_EQ(r.TotalMin, TTableColumns::Sum(r.MinW, 0, int32_t(c.Min.size())));
    EXPECT_EQ(r.TotalMax, TTableColumns::Sum(r.MaxW, 0, int32_t(c.Max.size())));
  }
}

TEST(TableColumns, PercentRangesRecordEachColumnsShare)
{
  struct Case {
    std::string Name;
    std::vector<TColumnCell> Cells;
    int32_t Denominator;
    std::vector<int32_t> Percents;
  };
  const std::vector<Case> cases = {
      {"percent cell", {Sized(Cell(0, 10, 30), 300, true), Cell(1, 5, 5)}, 800, {300, 0}},
      {"pixel cell as a share", {Sized(Cell(0, 10, 30), 200, false), Cell(1, 5, 5)}, 800, {250, 0}},
      {"pixel cell without a denominator", {Sized(Cell(0, 10, 30), 200, false)}, 0, {0}},
      {"share is at most the whole", {Sized(Cell(0, 10, 30), 900, false)}, 300, {1000}},
      {"largest share of a column",
       {Sized(Cell(0, 1, 1), 200, true), Sized(Cell(0, 1, 1), 400, true)},
       0,
       {400}},
      // A percentage span over columns without one hands the columns equal shares.
      {"span shares its percentage", {Sized(Cell(0, 10, 10, 2), 600, true)}, 0, {300, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TColumnArray widths{}, percents{};
    percents.fill(77); // stale values from an earlier pass are replaced
    TTableColumns columns(int32_t(c.Percents.size()), 4, widths, percents);
    columns.PercentRange(c.Cells, c.Denominator);
    EXPECT_EQ(Head(percents, c.Percents.size()), c.Percents);
  }
}

TEST(TableColumns, SolveFitsTheColumnsToTheWidth)
{
  struct Case {
    std::string Name;
    std::vector<TColumnCell> Cells;
    bool PixelCells;
    bool Specified;
    int32_t NewWidth;
    std::vector<int32_t> Widths;
    bool FillsWidth; // the columns add up to exactly the width
  };
  // Two columns of min/max 10/30 and 20/60: totals 30 and 90.
  const std::vector<TColumnCell> plain = {Cell(0, 10, 30), Cell(1, 20, 60)};
  const std::vector<TColumnCell> half = {Sized(Cell(0, 10, 30), 500, true), Cell(1, 20, 60)};
  const std::vector<Case> cases = {
      {"narrower than the minima", plain, false, false, 25, {10, 20}, false},
      {"wider than the maxima", plain, false, false, 200, {30, 60}, false},
      // Between: each column gets its minimum plus its share of the room, by max - min.
      {"between minimum and maximum", plain, false, false, 60, {20, 40}, true},
      {"pixel cells between", plain, true, false, 60, {20, 40}, true},
      {"pixel cells wider than the maxima", plain, true, false, 200, {30, 60}, false},
      // A table width of its own stretches the columns by their max - min.
      {"specified width stretches", plain, false, true, 120, {40, 80}, true},
      // 50% of the wanted width 120 (the other column needs 60 beside it).
      {"percent column takes its share", half, false, false, 400, {60, 60}, false},
      {"specified width honours the percentage", half, false, true, 200, {100, 100}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TColumnArray widths{}, percents{};
    TTableColumns(int32_t(c.Widths.size()), 4, widths, percents)
        .Solve(c.Cells, c.PixelCells, c.NewWidth, c.Specified);
    EXPECT_EQ(Head(widths, c.Widths.size()), c.Widths);
    if (c.FillsWidth) {
      EXPECT_EQ(TTableColumns::Sum(widths, 0, int32_t(c.Widths.size())), c.NewWidth);
    }
  }
}

TEST(TableColumns, ShrinkingNeverLeavesANegativeWidth)
{
  // Percentages that add up to more than the table shrink to fit; no column goes below zero.
  const std::vector<TColumnCell> cells = {Sized(Cell(0, 0, 0), 900, true),
                                          Sized(Cell(1, 0, 0), 900, true), Cell(2, 50, 50)};
  for (int32_t width : {51, 60, 100, 400}) {
    SCOPED_TRACE(width);
    TColumnArray widths{}, percents{};
    TTableColumns(3, 4, widths, percents).Solve(cells, false, width, true);
    for (int c = 0; c < 3; ++c)
      EXPECT_GE(widths[size_t(c)], 0);
    EXPECT_GE(widths[2], 50);
  }
}

} // namespace
