#pragma once
// Column width arithmetic of a table: per-column minimum and maximum widths from the measured
// cells, and their distribution over the width the table gets. Pure integer work on measured
// numbers, so it can be checked without fonts.
#include <array>
#include <cstdint>
#include <vector>

constexpr int32_t MaxTableColumns = 200;

using TColumnArray = std::array<int32_t, MaxTableColumns + 1>;

// One cell as the column arithmetic sees it. Min and Max include the cell's padding.
struct TColumnCell {
  int32_t Column = 0;
  int32_t Span = 1;
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t WidthSpec = 0; // pixels, or tenths of a percent when WidthIsPercent
  bool WidthIsPercent = false;
};

// Per-column minimum and maximum widths of one measuring run, with their sums.
struct TColumnRange {
  TColumnArray MinW{};
  TColumnArray MaxW{};
  int32_t TotalMin = 0;
  int32_t TotalMax = 0;
};

class TTableColumns {
public:
  // widths and percents are the table's own arrays; they are written by the calls below.
  TTableColumns(int32_t columnCount, int32_t pad, TColumnArray& widths, TColumnArray& percents);

  // Ranges when only pixel widths count (percentages ignored).
  TColumnRange PixelRange(const std::vector<TColumnCell>& cells) const;
  // Ranges with percentages; sets the column percentages. A pixel width counts as a share of
  // denominator (none when it is 0).
  TColumnRange PercentRange(const std::vector<TColumnCell>& cells, int32_t denominator);
  // Sets the column widths for newWidth: pixelCells when some cell has a pixel width,
  // specified when the table has a width of its own.
  void Solve(const std::vector<TColumnCell>& cells, bool pixelCells, int32_t newWidth,
             bool specified);

  // Sum of count entries of a from from.
  static int32_t Sum(const TColumnArray& a, int32_t from, int32_t count);

private:
  int32_t FCount;
  int32_t FPad;
  TColumnArray& FWidths;
  TColumnArray& FPercents;

  int32_t CellPercent(const TColumnCell& cell, int32_t denominator) const;
  void SpreadPercentSpan(TColumnRange& r, int32_t col, int32_t span, int32_t P, int32_t mn,
                         int32_t mx);
  void SpreadPlainSpan(TColumnRange& r, int32_t col, int32_t span, int32_t mn, int32_t mx) const;
  void Totals(TColumnRange& r) const;
  void ShrinkToFit(TColumnRange& r, int32_t newWidth);
  // Percentages that cannot be met shrink until the claimed columns fit beside the others.
  void ShrinkPercents(TColumnRange& r, int32_t newWidth);
  void FitSpecifiedWidth(const TColumnRange& r, int32_t newWidth);
  void Distribute(const TColumnRange& r, int32_t newWidth);
};
