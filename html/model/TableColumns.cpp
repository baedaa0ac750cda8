#include "html/model/TableColumns.h"

#include "base/MulDiv.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int ShrinkPassLimit = 4;

// Narrow spans go first so that a wide span sees what its columns already hold; cells of one
// span keep document order.
std::vector<TColumnCell> BySpan(const std::vector<TColumnCell>& cells)
{
  std::vector<TColumnCell> out;
  for (const TColumnCell& c : cells)
    if (c.Span >= 1)
      out.push_back(c);
  std::stable_sort(out.begin(), out.end(),
                   [](const TColumnCell& a, const TColumnCell& b) { return a.Span < b.Span; });
  return out;
}

// Rescales the spanned columns of a to value in proportion to their share of sum; a span of
// zero width is split evenly (the last column takes the remainder).
void RescaleSpan(TColumnArray& a, int32_t col, int32_t span, int32_t value, int32_t sum)
{
  for (int32_t c = col; c < col + span; ++c)
    a[size_t(c)] = sum > 0 ? MulDiv(value, a[size_t(c)], sum) : value / span;
  if (sum <= 0)
    a[size_t(col + span - 1)] += value % span;
}

// Grows the spanned columns of a by their share so that they hold want together.
void GrowSpan(TColumnArray& a, int32_t col, int32_t span, int32_t want)
{
  int32_t sum = TTableColumns::Sum(a, col, span);
  if (sum >= want)
    return;
  int32_t shortfall = want - sum;
  for (int32_t k = col; k < col + span; ++k)
    a[size_t(k)] += sum > 0 ? MulDiv(a[size_t(k)], shortfall, sum) : 0;
  if (sum <= 0) // nothing to scale: share the shortfall evenly
    RescaleSpan(a, col, span, shortfall, 0);
}

void Widen(TColumnRange& r, int32_t col, int32_t mn, int32_t mx)
{
  r.MinW[size_t(col)] = std::max(r.MinW[size_t(col)], mn);
  r.MaxW[size_t(col)] = std::max(r.MaxW[size_t(col)], mx);
}
} // namespace

TTableColumns::TTableColumns(int32_t columnCount, int32_t pad, TColumnArray& widths,
                             TColumnArray& percents)
    : FCount(std::clamp(columnCount, 0, MaxTableColumns)), FPad(pad), FWidths(widths),
      FPercents(percents)
{
}

int32_t TTableColumns::Sum(const TColumnArray& a, int32_t from, int32_t count)
{
  int32_t s = 0;
  for (int32_t c = from; c < from + count; ++c)
    s += a[size_t(c)];
  return s;
}

void TTableColumns::Totals(TColumnRange& r) const
{
  r.TotalMin = Sum(r.MinW, 0, FCount);
  r.TotalMax = Sum(r.MaxW, 0, FCount);
}

int32_t TTableColumns::CellPercent(const TColumnCell& cell, int32_t denominator) const
{
  if (cell.WidthIsPercent)
    return cell.WidthSpec;
  if (cell.WidthSpec > 0 && denominator > 0)
    return std::min(1000, MulDiv(cell.WidthSpec, 1000, denominator));
  return 0;
}

TColumnRange TTableColumns::PixelRange(const std::vector<TColumnCell>& cells) const
{
  TColumnRange r;
  for (const TColumnCell& cell : BySpan(cells)) {
    int32_t mn = cell.Min, mx = cell.Max;
    if (cell.Span > 1) {
      GrowSpan(r.MinW, cell.Column, cell.Span, mn);
      GrowSpan(r.MaxW, cell.Column, cell.Span, mx);
      continue;
    }
    if (cell.WidthSpec > 0 && !cell.WidthIsPercent) {
      mn = std::max(mn, cell.WidthSpec + FPad);
      mx = std::max(mn, cell.WidthSpec + FPad);
    }
    Widen(r, cell.Column, mn, mx);
  }
  Totals(r);
  return r;
}

void TTableColumns::SpreadPlainSpan(TColumnRange& r, int32_t col, int32_t span, int32_t mn,
                                    int32_t mx) const
{
  int32_t sMin = Sum(r.MinW, col, span);
  int32_t sMax = Sum(r.MaxW, col, span);
  if (mn > sMin)
    RescaleSpan(r.MinW, col, span, mn, sMin);
  if (mx > sMax)
    RescaleSpan(r.MaxW, col, span, mx, sMax);
}

void TTableColumns::SpreadPercentSpan(TColumnRange& r, int32_t col, int32_t span, int32_t P,
                                      int32_t mn, int32_t mx)
{
  auto pct = [&](int32_t c) -> int32_t& { return FPercents[size_t(c)]; };
  const int32_t sMin = Sum(r.MinW, col, span);
  const int32_t sMax = Sum(r.MaxW, col, span);
  int32_t SP = 0, Z = 0;
  for (int32_t c = col; c < col + span; ++c)
    if (pct(c) > 0)
      SP += pct(c);
    else
      ++Z;
  const int32_t exMin = mn - sMin;
  const int32_t exMax = mx - sMax;

  const int32_t share = Z > 0 ? std::max(0, (P - SP) / Z) : 0;
  if (Z == 0 && SP < P) {
    for (int32_t c = col; c < col + span; ++c)
      pct(c) = MulDiv(pct(c), P, SP);
  } else if (share > 0) {
    for (int32_t c = col; c < col + span; ++c)
      if (pct(c) == 0)
        pct(c) = share;
  }
  const int32_t T = std::max(SP, P);
  int32_t unclaimed = 0, M = 0;
  for (int32_t c = col; c < col + span; ++c)
    if (pct(c) == 0) {
      ++unclaimed;
      M += r.MaxW[size_t(c)];
    }
  // When every spanned column now has a percentage there is no unclaimed column left to take
  // the excess; the columns then share it by their percentages, as when all had one.
  const bool byPercent = Z == 0 || unclaimed == 0;
  if (exMin > 0) {
    for (int32_t c = col; c < col + span; ++c) {
      if (byPercent)
        r.MinW[size_t(c)] = std::max(T > 0 ? MulDiv(mn, pct(c), T) : 0, r.MinW[size_t(c)]);
      else if (pct(c) == 0)
        r.MinW[size_t(c)] += M > 0 ? MulDiv(exMin, r.MaxW[size_t(c)], M) : exMin / unclaimed;
    }
  }
  if (exMax > 0) {
    for (int32_t c = col; c < col + span; ++c) {
      if (byPercent)
        r.MaxW[size_t(c)] = std::max(T > 0 ? MulDiv(mx, pct(c), T) : 0, r.MaxW[size_t(c)]);
      else if (pct(c) == 0)
        r.MaxW[size_t(c)] += exMax / Z;
    }
  }
}

TColumnRange TTableColumns::PercentRange(const std::vector<TColumnCell>& cells, int32_t denominator)
{
  TColumnRange r;
  FPercents.fill(0);
  for (const TColumnCell& cell : BySpan(cells)) {
    const int32_t c = cell.Column;
    int32_t P = CellPercent(cell, denominator);
    if (cell.Span > 1) {
      int32_t SP = 0;
      for (int32_t k = c; k < c + cell.Span; ++k)
        SP += std::max(0, FPercents[size_t(k)]);
      if (P > 0 || SP > 0)
        SpreadPercentSpan(r, c, cell.Span, P, cell.Min, cell.Max);
      else
        SpreadPlainSpan(r, c, cell.Span, cell.Min, cell.Max);
      continue;
    }
    FPercents[size_t(c)] = std::max(FPercents[size_t(c)], P);
    Widen(r, c, cell.Min, cell.Max);
  }
  Totals(r);
  return r;
}

void TTableColumns::Distribute(const TColumnRange& r, int32_t newWidth)
{
  for (int32_t c = 0; c < FCount; ++c) {
    size_t i = size_t(c);
    FWidths[i] =
        r.MinW[i] + MulDiv(r.MaxW[i] - r.MinW[i], newWidth - r.TotalMin, r.TotalMax - r.TotalMin);
  }
}

void TTableColumns::ShrinkPercents(TColumnRange& r, int32_t newWidth)
{
  for (;;) {
    int32_t minSum = 0, claims = 0, claimed = 0;
    for (int32_t c = 0; c < FCount; ++c) {
      size_t i = size_t(c);
      if (FPercents[i] < 1) {
        minSum += r.MinW[i];
        continue;
      }
      int32_t claim = MulDiv(newWidth, FPercents[i], 1000) - 1;
      if (claim < r.MinW[i]) {
        FPercents[i] = 0;
        minSum += r.MinW[i];
      } else {
        claims += claim;
        ++claimed;
      }
    }
    if (claimed == 0)
      return;
    if (newWidth < minSum + claims) {
      for (int32_t c = 0; c < FCount; ++c)
        if (FPercents[size_t(c)] > 0)
          FPercents[size_t(c)] =
              std::max(0, int32_t(int64_t(FPercents[size_t(c)]) * (newWidth - minSum) / claims));
      continue;
    }
    for (int32_t c = 0; c < FCount; ++c)
      if (FPercents[size_t(c)] > 0)
        r.MinW[size_t(c)] = r.MaxW[size_t(c)] = MulDiv(newWidth, FPercents[size_t(c)], 1000);
    Totals(r);
    return;
  }
}

void TTableColumns::ShrinkToFit(TColumnRange& r, int32_t newWidth)
{
  int32_t PT = Sum(FPercents, 0, FCount);
  if (PT >= 1 && PT <= 1000) {
    int32_t nonP = 0, need = 0;
    for (int32_t c = 0; c < FCount; ++c) {
      size_t i = size_t(c);
      if (FPercents[i] < 1)
        nonP += r.MaxW[i];
      else
        need = std::max(need, MulDiv(r.MaxW[i], 1000, FPercents[i]));
    }
    int32_t needRest = PT > 999 ? (nonP < 1 ? 0 : 30000) : MulDiv(nonP, 1000, 1000 - PT);
    int32_t want = std::max(need, needRest);
    if (newWidth >= want) {
      int32_t rest = MulDiv(want, 1000 - PT, 1000);
      for (int32_t c = 0; c < FCount; ++c) {
        size_t i = size_t(c);
        if (FPercents[i] < 1)
          FWidths[i] = nonP < 1 ? 0 : MulDiv(r.MaxW[i], rest, nonP);
        else
          FWidths[i] = MulDiv(want, FPercents[i], 1000);
      }
      return;
    }
    ShrinkPercents(r, newWidth);
  }
  if (newWidth < r.TotalMax && r.TotalMax != r.TotalMin)
    Distribute(r, newWidth);
  else
    FWidths = r.MaxW;
}

void TTableColumns::FitSpecifiedWidth(const TColumnRange& r, int32_t newWidth)
{
  std::array<bool, MaxTableColumns + 1> fixed{};
  int32_t R = 0, PS = 0, stretchable = 0;
  for (int32_t c = 0; c < FCount; ++c) {
    size_t i = size_t(c);
    if (FPercents[i] <= 0) {
      FWidths[i] = r.MinW[i];
      ++stretchable;
      R += r.MaxW[i] - r.MinW[i];
      continue;
    }
    int32_t w = MulDiv(newWidth, FPercents[i], 1000);
    if (w > r.MinW[i]) {
      FWidths[i] = w;
      PS += FPercents[i];
    } else {
      FWidths[i] = r.MinW[i];
      fixed[i] = true;
    }
  }
  auto unfixedPct = [&](int32_t c) { return FPercents[size_t(c)] > 0 && !fixed[size_t(c)]; };
  int32_t E = Sum(FWidths, 0, FCount) - newWidth;
  if (E < 0) {
    if (stretchable == 0) {
      for (int32_t c = 0; c < FCount; ++c)
        if (unfixedPct(c) && PS > 0)
          FWidths[size_t(c)] += MulDiv(-E, FPercents[size_t(c)], PS);
    } else if (R <= 0 || R < std::abs(E) / 2) {
      for (int32_t c = 0; c < FCount; ++c)
        if (FPercents[size_t(c)] <= 0)
          FWidths[size_t(c)] += -E / stretchable;
    } else {
      for (int32_t c = 0; c < FCount; ++c)
        if (FPercents[size_t(c)] <= 0)
          FWidths[size_t(c)] += MulDiv(-E, r.MaxW[size_t(c)] - r.MinW[size_t(c)], R);
    }
  } else if (E > 0) {
    for (int pass = 0; pass < ShrinkPassLimit; ++pass) {
      bool changed = false;
      for (int32_t c = 0; c < FCount; ++c) {
        size_t i = size_t(c);
        if (!unfixedPct(c) || PS <= 0)
          continue;
        if (FWidths[i] - MulDiv(E, FPercents[i], PS) < r.MinW[i]) {
          E -= FWidths[i] - r.MinW[i];
          PS -= FPercents[i];
          FWidths[i] = r.MinW[i];
          fixed[i] = true;
          changed = true;
        }
      }
      if (!changed)
        break;
    }
    for (int32_t c = 0; c < FCount; ++c)
      if (unfixedPct(c) && PS > 0)
        FWidths[size_t(c)] -= MulDiv(E, FPercents[size_t(c)], PS);
  }
  int32_t D = Sum(FWidths, 0, FCount) - newWidth;
  if (D <= 0) {
    FWidths[0] += -D;
  } else {
    for (int32_t c = 0; c < FCount; ++c)
      if (!fixed[size_t(c)]) {
        FWidths[size_t(c)] -= D;
        break;
      }
  }
  // Rounding and shrinking never leave a column with a negative width.
  for (int32_t c = 0; c < FCount; ++c)
    FWidths[size_t(c)] = std::max(0, FWidths[size_t(c)]);
}

void TTableColumns::Solve(const std::vector<TColumnCell>& cells, bool pixelCells, int32_t newWidth,
                          bool specified)
{
  FWidths.fill(0);
  if (pixelCells && !specified) {
    FPercents.fill(0);
    TColumnRange r = PixelRange(cells);
    if (r.TotalMin >= newWidth)
      FWidths = r.MinW;
    else if (newWidth >= r.TotalMax)
      FWidths = r.MaxW;
    else
      Distribute(r, newWidth);
    return;
  }
  TColumnRange r = PercentRange(cells, newWidth);
  if (r.TotalMin >= newWidth)
    FWidths = r.MinW;
  else if (specified)
    FitSpecifiedWidth(r, newWidth);
  else
    ShrinkToFit(r, newWidth);
}
