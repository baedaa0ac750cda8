#include "html/model/htmlTable.h"

#include "base/Exceptions.h"
#include "base/MulDiv.h"
#include "base/StringUtil.h"
#include "html/model/Cell.h"
#include "html/model/FloatingObj.h"
#include "html/model/IndentManager.h"
#include "html/model/SectionList.h"
#include "html/parser/symbols/AttributeList.h"
#include "platform/Canvas.h"

#include <QRegion>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace {
constexpr int32_t MaxCellPadding = 50;
constexpr int32_t MaxCellSpacing = 40;
constexpr int32_t MaxHSpace = 20;
constexpr int32_t MinNewWidth = 20;
constexpr int32_t MaxPixelAttr = 32000; // keeps sums of widths inside 32 bits
constexpr int ShrinkPassLimit = 4;
} // namespace

// Per-column minimum and maximum widths of one measuring run, with their sums.
struct ThtmlTable::TColumnRange {
  TColumnArray MinW{};
  TColumnArray MaxW{};
  int32_t TotalMin = 0;
  int32_t TotalMax = 0;
};

ThtmlTable::ThtmlTable(TSectionList* list, const TAttributeList* attributes, int justification,
                       TCell* enclosingCell, int32_t level)
    : TSectionBase(list), CaptionCell(std::make_unique<TCellObj>(list, nullptr, vaMiddle)),
      HorzAlign(uint8_t(std::clamp(justification, 1, 3))), ListLevel(level),
      EnclosingCell(enclosingCell)
{
  if (attributes) {
    for (const auto& a : *attributes) {
      TColor c = 0;
      switch (a->Sym) {
      case attrALIGN: {
        std::string s = strutil::UpperCase(a->Text);
        if (s == "CENTER") {
          HorzAlign = 2;
        } else if (s == "LEFT") {
          HorzAlign = 1;
          Floating = true;
        } else if (s == "RIGHT") {
          HorzAlign = 3;
          Floating = true;
        }
        break;
      }
      case attrBGCOLOR:
        if (ParseColor(a->Text, c)) {
          HasBgColor = true;
          BgColor = c;
        }
        break;
      case attrBORDER: HasBorder = a->Num > 0; break;
      case attrCELLPADDING:
        if (a->Num >= 0)
          CellPadding = std::min(a->Num, MaxCellPadding);
        break;
      case attrCELLSPACING:
        if (a->Num >= 0)
          CellSpacing = std::min(a->Num, MaxCellSpacing);
        break;
      case attrWIDTH:
        if (a->Text.find('%') == std::string::npos) {
          TableWidthSpec = std::min(a->Num, MaxPixelAttr);
        } else {
          TableWidthIsPercent = true;
          if (a->Num >= 1 && a->Num <= 100)
            TableWidthSpec = a->Num * 10;
        }
        break;
      case attrBORDERCOLOR:
        if (ParseColor(a->Text, c)) {
          HasBorderColor = true;
          BorderColor = c;
        }
        break;
      case attrHSPACE:
        // The absolute value of the smallest int has no int: clamp before negating.
        HSpace = std::min(MaxHSpace, std::abs(std::max(a->Num, -MaxHSpace)));
        break;
      default: break;
      }
    }
  }
  if (HasBorder)
    CellSpacing += 2;
}

ThtmlTable::ThtmlTable(TSectionList* masterList, const ThtmlTable& source)
    : TSectionBase(masterList, source),
      CaptionCell(std::make_unique<TCellObj>(masterList, *source.CaptionCell)),
      SpansExpanded(source.SpansExpanded), HasBorder(source.HasBorder),
      CaptionOnTop(source.CaptionOnTop), RowsOffset(source.RowsOffset),
      CaptionOffset(source.CaptionOffset), HorzAlign(source.HorzAlign), Floating(source.Floating),
      ColumnCount(source.ColumnCount), GridWidth(source.GridWidth),
      OverallWidth(source.OverallWidth), TableWidthSpec(source.TableWidthSpec),
      TableWidthIsPercent(source.TableWidthIsPercent), HasPixelCellWidth(source.HasPixelCellWidth),
      CaptionHeight(source.CaptionHeight), GridHeight(source.GridHeight),
      CellPadding(source.CellPadding), CellSpacing(source.CellSpacing),
      CaptionMinWidth(source.CaptionMinWidth), ColumnWidths(source.ColumnWidths),
      ColumnPercents(source.ColumnPercents), HSpace(source.HSpace), ListLevel(source.ListLevel),
      DrawnX(source.DrawnX), DrawnY(source.DrawnY), EnclosingCell(nullptr),
      FTooManyColumns(source.FTooManyColumns)
{
  for (const auto& row : source.Rows)
    Rows.Add(std::make_unique<TCellList>(masterList, *row));
  if (masterList && masterList->PrintBackgrounds) {
    HasBgColor = source.HasBgColor;
    BgColor = source.BgColor;
    HasBorderColor = source.HasBorderColor;
    BorderColor = source.BorderColor;
  }
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::CloneForPrint(TSectionList* masterList) const
{
  return std::make_unique<ThtmlTable>(masterList, *this);
}

bool ThtmlTable::IsPrinting(const TCanvas* canvas) const
{
  return (ParentSectionList && ParentSectionList->PrintMode) || (canvas && canvas->Printing);
}

// ---------------------------------------------------------------------------------------------
// Span expansion

void ThtmlTable::InheritEnclosingColor()
{
  if (IsPrinting() || HasBgColor || !EnclosingCell || !EnclosingCell->HasBgColor)
    return;
  HasBgColor = true;
  BgColor = EnclosingCell->BgColor;
}

void ThtmlTable::CheckColumnCount(int32_t count)
{
  if (count > MaxTableColumns) {
    FTooManyColumns = true;
    throw EProcessError(msg::TooManyColumns);
  }
}

void ThtmlTable::ExpandColumnSpans()
{
  bool pixelWidth = false;
  ColumnCount = 0;
  for (const auto& row : Rows) {
    if (row->HasBgColor)
      for (const auto& cell : *row)
        if (cell->Content && !cell->Content->HasBgColor) {
          cell->Content->HasBgColor = true;
          cell->Content->BgColor = row->BgColor;
        }
    for (int i = row->Count() - 1; i >= 0; --i) {
      TCellObj* cell = row->Items(i);
      if (cell->WidthSpec > 0 && !cell->WidthIsPercent)
        pixelWidth = true;
      if (HasBgColor && cell->Content && !cell->Content->HasBgColor) {
        cell->Content->HasBgColor = true;
        cell->Content->BgColor = BgColor;
      }
      // A row that grows past the limit fails now, before its place-holders are allocated.
      CheckColumnCount(row->Count() + std::max(cell->ColSpan - 1, 0));
      for (int32_t k = 1; k < cell->ColSpan; ++k)
        row->Insert(i + 1, TCellObj::MakePlaceholder(cell->RowSpan));
    }
    ColumnCount = std::max(ColumnCount, int32_t(row->Count()));
  }
  HasPixelCellWidth = pixelWidth;
}

void ThtmlTable::ExpandRowSpans()
{
  const int32_t rowCount = Rows.Count();
  // Place-holders inserted here push entries to the right; the walk covers them too, so no
  // entry keeps a span reaching past the last row.
  for (int32_t c = 0; c < ColumnCount; ++c) {
    for (int32_t r = 0; r < rowCount; ++r) {
      TCellList* row = Rows.Items(r);
      if (c >= row->Count())
        continue;
      TCellObj* cell = row->Items(c);
      cell->RowSpan = std::min(cell->RowSpan, rowCount - r);
      for (int32_t n = 1; n < cell->RowSpan; ++n) {
        TCellList* next = Rows.Items(r + n);
        while (next->Count() < c)
          next->Add(TCellObj::MakePlaceholder(0));
        next->Insert(c, TCellObj::MakePlaceholder(0));
        CheckColumnCount(next->Count());
        ColumnCount = std::max(ColumnCount, int32_t(next->Count()));
      }
    }
  }
}

void ThtmlTable::ExpandSpans()
{
  InheritEnclosingColor();
  if (FTooManyColumns)
    throw EProcessError(msg::TooManyColumns);
  if (SpansExpanded)
    return;
  ExpandColumnSpans();
  ExpandRowSpans();
  ColumnCount = 0;
  for (const auto& row : Rows)
    ColumnCount = std::max(ColumnCount, int32_t(row->Count()));
  CheckColumnCount(ColumnCount);
  SpansExpanded = true;
}

// ---------------------------------------------------------------------------------------------
// Column minimum and maximum widths

void ThtmlTable::CellRange(TCanvas& canvas, TCellObj& cell, int32_t& mn, int32_t& mx)
{
  mn = mx = 0;
  if (cell.Content)
    cell.Content->WidthRange(canvas, mn, mx);
  mn += Pad();
  mx += Pad();
}

int32_t ThtmlTable::CellPercent(const TCellObj& cell, int32_t denominator) const
{
  if (cell.WidthIsPercent)
    return cell.WidthSpec;
  if (cell.WidthSpec > 0 && denominator > 0)
    return std::min(1000, MulDiv(cell.WidthSpec, 1000, denominator));
  return 0;
}

namespace {
// Visits every cell with the given span, row by row and left to right, with its column.
// Returns whether some cell has a larger span (another pass is needed).
template <class F> bool VisitSpan(const TFreeList<TCellList>& rows, int32_t span, F&& f)
{
  bool more = false;
  for (const auto& row : rows)
    for (int c = 0; c < row->Count(); ++c) {
      TCellObj* cell = row->Items(c);
      if (cell->ColSpan > span)
        more = true;
      else if (cell->ColSpan == span)
        f(*cell, c);
    }
  return more;
}

int32_t Sum(const ThtmlTable::TColumnArray& a, int32_t from, int32_t count)
{
  int32_t s = 0;
  for (int32_t c = from; c < from + count; ++c)
    s += a[size_t(c)];
  return s;
}

// Rescales the spanned columns of a to value in proportion to their share of sum; a span of
// zero width is split evenly (the last column takes the remainder).
void RescaleSpan(ThtmlTable::TColumnArray& a, int32_t col, int32_t span, int32_t value, int32_t sum)
{
  for (int32_t c = col; c < col + span; ++c)
    a[size_t(c)] = sum > 0 ? MulDiv(value, a[size_t(c)], sum) : value / span;
  if (sum <= 0)
    a[size_t(col + span - 1)] += value % span;
}
} // namespace

void ThtmlTable::PixelWidths(TCanvas& canvas, TColumnRange& r)
{
  r = TColumnRange();
  bool more = true;
  for (int32_t i = 1; more; ++i)
    more = VisitSpan(Rows, i, [&](TCellObj& cell, int32_t c) {
      int32_t mn = 0, mx = 0;
      CellRange(canvas, cell, mn, mx);
      if (i == 1) {
        if (cell.WidthSpec > 0 && !cell.WidthIsPercent) {
          mn = std::max(mn, cell.WidthSpec + Pad());
          mx = std::max(mn, cell.WidthSpec + Pad());
        }
        r.MinW[size_t(c)] = std::max(r.MinW[size_t(c)], mn);
        r.MaxW[size_t(c)] = std::max(r.MaxW[size_t(c)], mx);
        return;
      }
      for (auto* a : {&r.MinW, &r.MaxW}) {
        int32_t want = a == &r.MinW ? mn : mx;
        int32_t sum = Sum(*a, c, cell.ColSpan);
        if (sum >= want)
          continue;
        int32_t shortfall = want - sum;
        for (int32_t k = c; k < c + cell.ColSpan; ++k)
          (*a)[size_t(k)] += sum > 0 ? MulDiv((*a)[size_t(k)], shortfall, sum) : 0;
        if (sum <= 0) // nothing to scale: share the shortfall evenly
          RescaleSpan(*a, c, cell.ColSpan, shortfall, 0);
      }
    });
  r.TotalMin = Sum(r.MinW, 0, ColumnCount);
  r.TotalMax = Sum(r.MaxW, 0, ColumnCount);
}

void ThtmlTable::SpreadPlainSpan(TColumnRange& r, int32_t col, int32_t span, int32_t mn, int32_t mx)
{
  int32_t sMin = Sum(r.MinW, col, span);
  int32_t sMax = Sum(r.MaxW, col, span);
  if (mn > sMin)
    RescaleSpan(r.MinW, col, span, mn, sMin);
  if (mx > sMax)
    RescaleSpan(r.MaxW, col, span, mx, sMax);
}

void ThtmlTable::SpreadPercentSpan(TColumnRange& r, int32_t col, int32_t span, int32_t P,
                                   int32_t mn, int32_t mx)
{
  auto pct = [&](int32_t c) -> int32_t& { return ColumnPercents[size_t(c)]; };
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

void ThtmlTable::PercentWidths(TCanvas& canvas, int32_t denominator, TColumnRange& r)
{
  r = TColumnRange();
  ColumnPercents.fill(0);
  bool more = true;
  for (int32_t i = 1; more; ++i)
    more = VisitSpan(Rows, i, [&](TCellObj& cell, int32_t c) {
      int32_t P = CellPercent(cell, denominator);
      int32_t mn = 0, mx = 0;
      CellRange(canvas, cell, mn, mx);
      if (i > 1) {
        int32_t SP = 0;
        for (int32_t k = c; k < c + cell.ColSpan; ++k)
          SP += std::max(0, ColumnPercents[size_t(k)]);
        if (P > 0 || SP > 0)
          SpreadPercentSpan(r, c, cell.ColSpan, P, mn, mx);
        else
          SpreadPlainSpan(r, c, cell.ColSpan, mn, mx);
        return;
      }
      ColumnPercents[size_t(c)] = std::max(ColumnPercents[size_t(c)], P);
      r.MinW[size_t(c)] = std::max(r.MinW[size_t(c)], mn);
      r.MaxW[size_t(c)] = std::max(r.MaxW[size_t(c)], mx);
    });
  r.TotalMin = Sum(r.MinW, 0, ColumnCount);
  r.TotalMax = Sum(r.MaxW, 0, ColumnCount);
}

void ThtmlTable::WidthRange(TCanvas& canvas, int32_t& min, int32_t& max)
{
  min = max = 0;
  try {
    ExpandSpans();
  } catch (const EProcessError&) {
    // The table reports itself when its own layout runs and is dropped there; measured from
    // an enclosing table it just takes no room, so the enclosing table survives.
    return;
  }
  if (FNested && FCache.HasRange) {
    min = FCache.RangeMin;
    max = FCache.RangeMax;
    return;
  }
  TColumnRange r;
  if (!HasPixelCellWidth || TableWidthSpec != 0)
    PercentWidths(canvas, TableWidthIsPercent ? 0 : TableWidthSpec, r);
  else
    PixelWidths(canvas, r);
  min = r.TotalMin + CellSpacing;
  max = r.TotalMax + CellSpacing;
  if (!TableWidthIsPercent) {
    min = std::max(min, TableWidthSpec);
    max = std::max(max, TableWidthSpec);
  }
  int32_t captionMax = 0;
  CaptionCell->Content->WidthRange(canvas, CaptionMinWidth, captionMax);
  min = std::max(CaptionMinWidth, min);
  max = std::max(CaptionMinWidth, max);
  FCache.HasRange = true;
  FCache.RangeMin = min;
  FCache.RangeMax = max;
}

void ThtmlTable::ForgetMeasures()
{
  FCache = TMeasureCache();
  auto forget = [](TCell& cell) {
    for (const auto& item : cell)
      if (auto* t = dynamic_cast<ThtmlTable*>(item.get())) {
        t->FNested = true;
        t->ForgetMeasures();
      }
  };
  for (const auto& row : Rows)
    for (const auto& c : *row)
      if (c->Content)
        forget(*c->Content);
  forget(*CaptionCell->Content);
}

// ---------------------------------------------------------------------------------------------
// Column widths in layout

void ThtmlTable::Distribute(const TColumnRange& r, int32_t newWidth)
{
  for (int32_t c = 0; c < ColumnCount; ++c) {
    size_t i = size_t(c);
    ColumnWidths[i] =
        r.MinW[i] + MulDiv(r.MaxW[i] - r.MinW[i], newWidth - r.TotalMin, r.TotalMax - r.TotalMin);
  }
}

void ThtmlTable::ShrinkToFit(TColumnRange& r, int32_t newWidth)
{
  int32_t PT = Sum(ColumnPercents, 0, ColumnCount);
  if (PT >= 1 && PT <= 1000) {
    int32_t nonP = 0, need = 0;
    for (int32_t c = 0; c < ColumnCount; ++c) {
      size_t i = size_t(c);
      if (ColumnPercents[i] < 1)
        nonP += r.MaxW[i];
      else
        need = std::max(need, MulDiv(r.MaxW[i], 1000, ColumnPercents[i]));
    }
    int32_t needRest = PT > 999 ? (nonP < 1 ? 0 : 30000) : MulDiv(nonP, 1000, 1000 - PT);
    int32_t want = std::max(need, needRest);
    if (newWidth >= want) {
      int32_t rest = MulDiv(want, 1000 - PT, 1000);
      for (int32_t c = 0; c < ColumnCount; ++c) {
        size_t i = size_t(c);
        if (ColumnPercents[i] < 1)
          ColumnWidths[i] = nonP < 1 ? 0 : MulDiv(r.MaxW[i], rest, nonP);
        else
          ColumnWidths[i] = MulDiv(want, ColumnPercents[i], 1000);
      }
      return;
    }
    // Percentages that cannot be met shrink until the claimed columns fit beside the others.
    for (;;) {
      int32_t minSum = 0, claims = 0, claimed = 0;
      for (int32_t c = 0; c < ColumnCount; ++c) {
        size_t i = size_t(c);
        if (ColumnPercents[i] < 1) {
          minSum += r.MinW[i];
          continue;
        }
        int32_t claim = MulDiv(newWidth, ColumnPercents[i], 1000) - 1;
        if (claim < r.MinW[i]) {
          ColumnPercents[i] = 0;
          minSum += r.MinW[i];
        } else {
          claims += claim;
          ++claimed;
        }
      }
      if (claimed == 0)
        break;
      if (newWidth < minSum + claims) {
        for (int32_t c = 0; c < ColumnCount; ++c)
          if (ColumnPercents[size_t(c)] > 0)
            ColumnPercents[size_t(c)] = std::max(
                0, int32_t(int64_t(ColumnPercents[size_t(c)]) * (newWidth - minSum) / claims));
        continue;
      }
      for (int32_t c = 0; c < ColumnCount; ++c)
        if (ColumnPercents[size_t(c)] > 0)
          r.MinW[size_t(c)] = r.MaxW[size_t(c)] = MulDiv(newWidth, ColumnPercents[size_t(c)], 1000);
      r.TotalMin = Sum(r.MinW, 0, ColumnCount);
      r.TotalMax = Sum(r.MaxW, 0, ColumnCount);
      break;
    }
  }
  if (newWidth < r.TotalMax && r.TotalMax != r.TotalMin)
    Distribute(r, newWidth);
  else
    ColumnWidths = r.MaxW;
}

void ThtmlTable::FitSpecifiedWidth(const TColumnRange& r, int32_t newWidth)
{
  std::array<bool, MaxTableColumns + 1> fixed{};
  int32_t R = 0, PS = 0, stretchable = 0;
  for (int32_t c = 0; c < ColumnCount; ++c) {
    size_t i = size_t(c);
    if (ColumnPercents[i] <= 0) {
      ColumnWidths[i] = r.MinW[i];
      ++stretchable;
      R += r.MaxW[i] - r.MinW[i];
      continue;
    }
    int32_t w = MulDiv(newWidth, ColumnPercents[i], 1000);
    if (w > r.MinW[i]) {
      ColumnWidths[i] = w;
      PS += ColumnPercents[i];
    } else {
      ColumnWidths[i] = r.MinW[i];
      fixed[i] = true;
    }
  }
  auto unfixedPct = [&](int32_t c) { return ColumnPercents[size_t(c)] > 0 && !fixed[size_t(c)]; };
  int32_t E = Sum(ColumnWidths, 0, ColumnCount) - newWidth;
  if (E < 0) {
    if (stretchable == 0) {
      for (int32_t c = 0; c < ColumnCount; ++c)
        if (unfixedPct(c) && PS > 0)
          ColumnWidths[size_t(c)] += MulDiv(-E, ColumnPercents[size_t(c)], PS);
    } else if (R <= 0 || R < std::abs(E) / 2) {
      for (int32_t c = 0; c < ColumnCount; ++c)
        if (ColumnPercents[size_t(c)] <= 0)
          ColumnWidths[size_t(c)] += -E / stretchable;
    } else {
      for (int32_t c = 0; c < ColumnCount; ++c)
        if (ColumnPercents[size_t(c)] <= 0)
          ColumnWidths[size_t(c)] += MulDiv(-E, r.MaxW[size_t(c)] - r.MinW[size_t(c)], R);
    }
  } else if (E > 0) {
    for (int pass = 0; pass < ShrinkPassLimit; ++pass) {
      bool changed = false;
      for (int32_t c = 0; c < ColumnCount; ++c) {
        size_t i = size_t(c);
        if (!unfixedPct(c) || PS <= 0)
          continue;
        if (ColumnWidths[i] - MulDiv(E, ColumnPercents[i], PS) < r.MinW[i]) {
          E -= ColumnWidths[i] - r.MinW[i];
          PS -= ColumnPercents[i];
          ColumnWidths[i] = r.MinW[i];
          fixed[i] = true;
          changed = true;
        }
      }
      if (!changed)
        break;
    }
    for (int32_t c = 0; c < ColumnCount; ++c)
      if (unfixedPct(c) && PS > 0)
        ColumnWidths[size_t(c)] -= MulDiv(E, ColumnPercents[size_t(c)], PS);
  }
  int32_t D = Sum(ColumnWidths, 0, ColumnCount) - newWidth;
  if (D <= 0) {
    ColumnWidths[0] += -D;
  } else {
    for (int32_t c = 0; c < ColumnCount; ++c)
      if (!fixed[size_t(c)]) {
        ColumnWidths[size_t(c)] -= D;
        break;
      }
  }
  // Rounding and shrinking never leave a column with a negative width.
  for (int32_t c = 0; c < ColumnCount; ++c)
    ColumnWidths[size_t(c)] = std::max(0, ColumnWidths[size_t(c)]);
}

void ThtmlTable::ColumnWidthsFor(TCanvas& canvas, int32_t newWidth, bool specified)
{
  ColumnWidths.fill(0);
  TColumnRange r;
  if (HasPixelCellWidth && !specified) {
    ColumnPercents.fill(0);
    PixelWidths(canvas, r);
    if (r.TotalMin >= newWidth)
      ColumnWidths = r.MinW;
    else if (newWidth >= r.TotalMax)
      ColumnWidths = r.MaxW;
    else
      Distribute(r, newWidth);
    return;
  }
  PercentWidths(canvas, newWidth, r);
  if (r.TotalMin >= newWidth)
    ColumnWidths = r.MinW;
  else if (specified)
    FitSpecifiedWidth(r, newWidth);
  else
    ShrinkToFit(r, newWidth);
}

// ---------------------------------------------------------------------------------------------
// Row heights and layout

int32_t ThtmlTable::MeasureRow(TCanvas& canvas, TCellList& row, int32_t j, int32_t& nextSpan)
{
  int32_t tallest = 0;
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (cell->ColSpan <= 0)
      continue;
    cell->SpanWidth = Sum(ColumnWidths, c, std::min(cell->ColSpan, ColumnCount - c));
    if (cell->RowSpan > j) {
      nextSpan = std::min(nextSpan, cell->RowSpan);
    } else if (cell->RowSpan == j) {
      int32_t scratchPos = 0, scratchMax = 0;
      cell->ContentHeight =
          cell->HasContent()
              ? cell->Content->Layout(canvas, 0, cell->SpanWidth - Pad(), scratchMax, scratchPos)
              : 0;
      tallest = std::max({tallest, cell->ContentHeight, cell->HeightAttr - 2 * CellPadding});
    }
  }
  return tallest + Pad();
}

void ThtmlTable::RowHeights(TCanvas& canvas, std::vector<int32_t>& H)
{
  const int32_t rowCount = Rows.Count();
  H.assign(size_t(rowCount), 0);
  // A pass for a span that no cell has would change nothing (its rows already have at least
  // the pad each), so the passes go straight to the next span that occurs.
  for (int32_t j = 1; j <= rowCount;) {
    int32_t nextSpan = INT32_MAX;
    for (int32_t k = 0; k + j <= rowCount; ++k) {
      int32_t value = MeasureRow(canvas, *Rows.Items(k), j, nextSpan);
      if (j == 1) {
        H[size_t(k)] = value;
        continue;
      }
      int32_t S = 0;
      for (int32_t n = k; n < k + j; ++n)
        S += H[size_t(n)];
      if (S < value) {
        for (int32_t n = k; n < k + j; ++n)
          H[size_t(n)] += (value - S) / j;
        H[size_t(k + j - 1)] += (value - S) % j;
      }
    }
    j = nextSpan;
  }
}

void ThtmlTable::LayoutRows(TCanvas& canvas, const std::vector<int32_t>& H, int32_t& Y,
                            int32_t& pos)
{
  const int32_t rowCount = Rows.Count();
  for (int32_t k = 0; k < rowCount; ++k) {
    TCellList* row = Rows.Items(k);
    row->RowHeight = H[size_t(k)];
    row->TallestSpan = 0;
    FlowHeight += H[size_t(k)];
    for (const auto& cell : *row) {
      cell->SpanHeight = 0;
      for (int32_t n = k; n < std::min(k + cell->RowSpan, rowCount); ++n)
        cell->SpanHeight += H[size_t(n)];
      row->TallestSpan = std::max(row->TallestSpan, cell->SpanHeight);
    }
    for (const auto& cell : *row) {
      if (!cell->HasContent())
        continue;
      int32_t room = cell->SpanHeight - cell->ContentHeight - Pad();
      cell->ContentOffset = cell->VertAlign == vaMiddle   ? room / 2
                            : cell->VertAlign == vaBottom ? room
                                                          : 0;
      int32_t cellMax = 0;
      cell->Content->Layout(canvas, Y + CellSpacing + CellPadding + cell->ContentOffset,
                            cell->SpanWidth - Pad(), cellMax, pos);
    }
    Y += row->RowHeight;
  }
}

int32_t ThtmlTable::LayoutCaption(TCanvas& canvas, int32_t Y, int32_t& pos)
{
  int32_t captionMax = 0;
  return CaptionCell->Content->Layout(canvas, Y, OverallWidth, captionMax, pos);
}

int32_t ThtmlTable::Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                           int32_t& pos)
{
  TopY = Y;
  FirstCursor = pos;
  indent.SetLevel(Y, ListLevel);
  const int32_t avail = indent.RightMargin(Y) - indent.LeftMargin(Y);
  const bool specified = TableWidthSpec >= 1;
  int32_t W = avail;
  if (specified)
    W = TableWidthIsPercent ? MulDiv(avail, TableWidthSpec, 1000) : TableWidthSpec;
  const int32_t newWidth = std::max(W - CellSpacing, MinNewWidth);

  if (!FNested)
    ForgetMeasures();
  ExpandSpans();
  std::vector<int32_t> H;
  if (FCache.HasLayout && FCache.Avail == avail) {
    H = FCache.RowHeights;
  } else {
    ColumnWidthsFor(canvas, newWidth, specified);
    GridWidth = CellSpacing + Sum(ColumnWidths, 0, ColumnCount);
    int32_t captionMax = 0;
    CaptionCell->Content->WidthRange(canvas, CaptionMinWidth, captionMax);
    OverallWidth = std::max(GridWidth, CaptionMinWidth);
    RowHeights(canvas, H);
    FCache.HasLayout = true;
    FCache.Avail = avail;
    FCache.RowHeights = H;
  }

  FlowHeight = 0;
  CaptionHeight = 0;
  if (CaptionOnTop) {
    CaptionHeight = LayoutCaption(canvas, Y, pos);
    FlowHeight = CaptionHeight;
    Y += CaptionHeight;
  }
  const int32_t gridStart = FlowHeight;
  LayoutRows(canvas, H, Y, pos);
  FlowHeight += CellSpacing;
  GridHeight = FlowHeight - gridStart;
  if (!CaptionOnTop) {
    CaptionHeight = LayoutCaption(canvas, TopY + GridHeight, pos);
    FlowHeight += CaptionHeight;
  }

  CaptionOffset = 0;
  if (OverallWidth < avail) {
    if (HorzAlign == 2)
      CaptionOffset = (avail - OverallWidth) / 2;
    else if (HorzAlign == 3)
      CaptionOffset = avail - OverallWidth;
  }
  CaptionOffset += indent.LeftMargin(TopY) - indent.LeftEdge;
  RowsOffset = (OverallWidth - GridWidth) / 2 + CaptionOffset;
  DrawnX = indent.LeftEdge + RowsOffset;
  DrawnY = TopY;

  CursorCount = pos - FirstCursor;
  maxWidth = OverallWidth;
  PaintHeight = FlowHeight;
  if (Floating) {
    indent.AddFloat(TopY, OverallWidth + HSpace + 1, HorzAlign == 3 ? plRight : plLeft, FlowHeight);
    FlowHeight = 0;
  }
  return FlowHeight;
}

// ---------------------------------------------------------------------------------------------
// Painting

void DrawBorder3D(const TSectionList* list, TCanvas& canvas, int32_t X1, int32_t Y1, int32_t X2,
                  int32_t Y2, bool Raised)
{
  const bool printing = canvas.Printing || (list && list->PrintMode);
  const TColor page = list ? list->PageColor : clWindow;
  const bool light = printing || (!IsSystemColor(page) && (page & 0xFFFFFF) == clWhite) ||
                     (page == clWindow && ColorToRGB(clWindow) == clWhite);
  const bool mono = printing && canvas.NumColors <= 2;
  TColor first = Raised ? (light ? clSilver : clBtnHighlight) : clBtnShadow;
  TColor second = Raised ? clBtnShadow : (light ? clSilver : clBtnHighlight);
  if (mono)
    first = second = clBlack;
  auto span = [&](int32_t xa, int32_t ya, int32_t xb, int32_t yb, TColor c) {
    canvas.FillRect(QRect(QPoint(xa, ya), QPoint(xb, yb)).normalized(), c);
  };
  // Left and top edges in the first pen, right and bottom edges in the second; each corner
  // belongs to the edge that reaches it first, as when the frame is drawn as one line.
  span(X1, Y1, X1, Y2, first);
  if (X2 > X1)
    span(X1, Y1, X2 - 1, Y1, first);
  span(X2, Y1, X2, Y2, second);
  if (X2 - 1 > X1)
    span(X1 + 1, Y2, X2 - 1, Y2, second);
}

namespace {
// A rectangle given by its corners, right and bottom excluded.
QRect Corners(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
  return QRect(x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1));
}
} // namespace

void ThtmlTable::PaintCell(TCanvas& canvas, const QRect& clip, TCellObj& cell, int32_t Xc,
                           int32_t Y, QRegion* borderRegion)
{
  const int32_t yOff = ParentSectionList ? ParentSectionList->ScrollY : 0;
  const int32_t screenY = Y - yOff;
  QRect background = Corners(Xc + CellSpacing, screenY + CellSpacing, Xc + cell.SpanWidth,
                             screenY + cell.SpanHeight);
  if (cell.Content->HasBgColor)
    canvas.FillRect(background, cell.Content->BgColor | PaletteFlag);
  cell.Content->Paint(canvas, clip, cell.SpanWidth - Pad(), Xc + CellSpacing + CellPadding,
                      Y + CellSpacing + CellPadding + cell.ContentOffset);
  if (HasBorder)
    DrawBorder3D(ParentSectionList, canvas, Xc + CellSpacing - 1, screenY + CellSpacing - 1,
                 Xc + cell.SpanWidth, screenY + cell.SpanHeight, false);
  if (borderRegion) {
    if (HasBorder)
      *borderRegion -= Corners(Xc + CellSpacing - 1, screenY + CellSpacing - 1,
                               Xc + cell.SpanWidth + 1, screenY + cell.SpanHeight + 1);
    else
      *borderRegion -= background;
  }
}

int32_t ThtmlTable::PaintRow(TCanvas& canvas, const QRect& clip, TCellList& row, int32_t rowIndex,
                             int32_t Y, QRegion* borderRegion)
{
  TSectionList* list = ParentSectionList;
  const int32_t yOff = list ? list->ScrollY : 0;
  const int32_t screenY = Y - yOff;
  const int32_t result = Y + row.RowHeight;
  const int32_t clipBottom = clip.y() + clip.height();
  const bool printing = IsPrinting(&canvas);
  if (printing && list && Y > clip.top() + (clip.top() + clipBottom) / 2 &&
      Y + row.TallestSpan > list->PageBottom && row.TallestSpan < clipBottom - clip.top()) {
    list->PageBottom = std::min(list->PageBottom, Y + (rowIndex > 0 ? CellSpacing / 2 : 0));
    return result;
  }
  if (screenY + row.TallestSpan < clip.top() || clipBottom <= screenY ||
      (printing && list && list->PageBottom <= Y))
    return result;
  int32_t Xc = DrawnX;
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (cell->HasContent())
      PaintCell(canvas, clip, *cell, Xc, Y, borderRegion);
    Xc += ColumnWidths[size_t(std::min(c, MaxTableColumns))];
  }
  return result;
}

int32_t ThtmlTable::Paint(TCanvas& canvas, const QRect& clip, IndentManager& indent, int32_t X,
                          int32_t Y)
{
  (void)indent;
  TSectionList* list = ParentSectionList;
  const int32_t yOff = list ? list->ScrollY : 0;
  const int32_t clipBottom = clip.y() + clip.height();
  const bool printing = IsPrinting(&canvas);
  TopY = Y;
  // A table that starts low on a page and fits on the next one moves there whole.
  if (printing && list && Y > clip.top() + (clip.top() + clipBottom) / 2 &&
      Y + FlowHeight > list->PageBottom && FlowHeight < clipBottom - clip.top()) {
    list->PageBottom = std::min(list->PageBottom, Y);
    return Y + FlowHeight;
  }
  if (Y + PaintHeight - yOff < clip.top() || Y - yOff >= clipBottom ||
      (printing && list && Y >= list->PageBottom))
    return Y + FlowHeight;

  DrawnX = X + RowsOffset;
  DrawnY = Y;
  int32_t Y0 = Y;
  if (CaptionOnTop)
    Y0 = CaptionCell->Content->Paint(canvas, clip, OverallWidth, X + CaptionOffset, Y);
  // Painted cells are cut out of this region; what is left is the spacing between them.
  QRegion region;
  if (HasBorderColor)
    region = QRegion(Corners(DrawnX, std::max(clip.top() - 1, Y0 - yOff), DrawnX + GridWidth,
                             std::min(clipBottom, Y0 + GridHeight - yOff)));
  int32_t y = Y0;
  for (int32_t k = 0; k < Rows.Count(); ++k)
    y = PaintRow(canvas, clip, *Rows.Items(k), k, y, HasBorderColor ? &region : nullptr);
  if (HasBorderColor)
    for (const QRect& r : region)
      canvas.FillRect(r, BorderColor | PaletteFlag);
  if (HasBorder)
    DrawBorder3D(list, canvas, DrawnX, Y0 - yOff, DrawnX + GridWidth - 1,
                 y + CellSpacing - yOff - 1, true);
  if (!CaptionOnTop)
    CaptionCell->Content->Paint(canvas, clip, OverallWidth, X + CaptionOffset, Y0 + GridHeight);
  return Y + FlowHeight;
}

// ---------------------------------------------------------------------------------------------
// Hit tests and position queries

TCellObj* ThtmlTable::CellAtPoint(int32_t X, int32_t Y, int32_t& top, int32_t& left) const
{
  top = 0;
  for (const auto& row : Rows) {
    left = DrawnX;
    for (int c = 0; c < row->Count(); ++c) {
      TCellObj* cell = row->Items(c);
      if (left <= X && X < left + cell->SpanWidth && top <= Y && Y < top + cell->SpanHeight)
        return cell;
      left += ColumnWidths[size_t(std::min(c, MaxTableColumns))];
    }
    top += row->RowHeight;
  }
  return nullptr;
}

ThtmlTable::THitPart ThtmlTable::HitPart(int32_t X, int32_t Y, int32_t& localY) const
{
  const int32_t captionLeft = DrawnX - RowsOffset + CaptionOffset;
  const bool inTable = DrawnX <= X && X <= DrawnX + GridWidth;
  const bool inCaption = captionLeft <= X && X <= captionLeft + OverallWidth;
  if (CaptionOnTop) {
    if (Y < CaptionHeight)
      return inCaption ? THitPart::Caption : THitPart::None;
    localY = Y - CaptionHeight;
    return inTable ? THitPart::Cells : THitPart::None;
  }
  if (Y < GridHeight) {
    localY = Y;
    return inTable ? THitPart::Cells : THitPart::None;
  }
  return inCaption ? THitPart::Caption : THitPart::None;
}

// The contents keep document coordinates (they were laid out at their final place), so the
// table only picks the cell; X and Y go to it unchanged.
bool ThtmlTable::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                        TUrlTarget& urlTarget)
{
  const int32_t relY = Y - DrawnY;
  if (relY > PaintHeight)
    return false;
  int32_t localY = 0, top = 0, left = 0;
  switch (HitPart(X, relY, localY)) {
  case THitPart::Caption: return CaptionCell->Content->LinkAt(canvas, X, Y, formControl, urlTarget);
  case THitPart::Cells:
    if (TCellObj* cell = CellAtPoint(X, localY, top, left); cell && cell->Content)
      return cell->Content->LinkAt(canvas, X, Y, formControl, urlTarget);
    return false;
  default: return false;
  }
}

bool ThtmlTable::ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY)
{
  const int32_t relY = Y - DrawnY;
  if (relY > PaintHeight)
    return false;
  int32_t localY = 0, top = 0, left = 0;
  switch (HitPart(X, relY, localY)) {
  case THitPart::Caption: return CaptionCell->Content->ObjectAt(X, Y, obj, objX, objY);
  case THitPart::Cells:
    if (TCellObj* cell = CellAtPoint(X, localY, top, left); cell && cell->Content)
      return cell->Content->ObjectAt(X, Y, obj, objX, objY);
    return false;
  default: return false;
  }
}

int32_t ThtmlTable::CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                             int32_t& caretHeight, TCell*& cell, bool& inText)
{
  const int32_t relY = Y - DrawnY;
  if (relY > FlowHeight)
    return -1;
  int32_t localY = 0, top = 0, left = 0;
  switch (HitPart(X, relY, localY)) {
  case THitPart::Caption:
    return CaptionCell->Content->CursorAt(canvas, X, Y, xr, yr, caretHeight, cell, inText);
  case THitPart::Cells:
    if (TCellObj* hit = CellAtPoint(X, localY, top, left); hit && hit->Content)
      return hit->Content->CursorAt(canvas, X, Y, xr, yr, caretHeight, cell, inText);
    return -1;
  default: return -1;
  }
}

template <class F> bool ThtmlTable::ForEachContent(F&& f) const
{
  if (CaptionOnTop && f(*CaptionCell->Content))
    return true;
  for (const auto& row : Rows)
    for (const auto& cell : *row)
      if (cell->Content && f(*cell->Content))
        return true;
  return !CaptionOnTop && f(*CaptionCell->Content);
}

int32_t ThtmlTable::SearchText(int32_t from, const std::string& text, bool matchCase)
{
  int32_t result = -1;
  ForEachContent([&](TCell& c) { return (result = c.SearchText(from, text, matchCase)) >= 0; });
  return result;
}

int32_t ThtmlTable::SourcePosOf(int32_t docPos)
{
  int32_t result = -1;
  ForEachContent([&](TCell& c) { return (result = c.SourcePosOf(docPos)) >= 0; });
  return result;
}

bool ThtmlTable::CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y)
{
  if (CursorCount == 0 || position > FirstCursor + CursorCount)
    return false;
  return ForEachContent([&](TCell& c) { return c.CursorPoint(canvas, position, X, Y); });
}

int32_t ThtmlTable::DocPosOf(int32_t sourcePos, bool prev)
{
  int32_t r = -1;
  if (prev) {
    for (int k = Rows.Count() - 1; k >= 0; --k) {
      TCellList* row = Rows.Items(k);
      for (int c = row->Count() - 1; c >= 0; --c)
        if (TCell* content = row->Items(c)->Content.get())
          if ((r = content->DocPosOf(sourcePos, prev)) >= 0)
            return r;
    }
    return CaptionCell->Content->DocPosOf(sourcePos, prev);
  }
  if ((r = CaptionCell->Content->DocPosOf(sourcePos, prev)) >= 0)
    return r;
  for (const auto& row : Rows)
    for (const auto& cell : *row)
      if (cell->Content && (r = cell->Content->DocPosOf(sourcePos, prev)) >= 0)
        return r;
  return -1;
}

bool ThtmlTable::CharAt(int32_t position, char& ch, TCharObject& obj)
{
  if (CursorCount == 0 || position < FirstCursor || position > FirstCursor + CursorCount)
    return false;
  if (CaptionCell->Content->CharAt(position, ch, obj))
    return true;
  for (const auto& row : Rows)
    for (const auto& cell : *row)
      if (cell->Content && cell->Content->CharAt(position, ch, obj))
        return true;
  return false;
}

void ThtmlTable::CopySelection()
{
  ForEachContent([](TCell& c) {
    c.CopySelection();
    return false;
  });
}

void ThtmlTable::RefreshFonts()
{
  for (const auto& row : Rows)
    for (const auto& cell : *row)
      if (cell->Content)
        cell->Content->RefreshFonts();
  CaptionCell->Content->RefreshFonts();
}

// ---------------------------------------------------------------------------------------------
// Layout dump

namespace {
std::string Indent(int indent)
{
  return std::string(size_t(std::max(indent, 0)) * 2, ' ');
}

std::string HexColor(TColor c)
{
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}
} // namespace

void ThtmlTable::Dump(std::ostream& out, int indent) const
{
  DumpHead(out, indent);
  out << " cols=" << ColumnCount << " widths=[";
  for (int32_t c = 0; c < ColumnCount; ++c)
    out << (c ? "," : "") << ColumnWidths[size_t(c)];
  out << "] x=" << RowsOffset;
  if (Floating)
    out << " float=" << (HorzAlign == 3 ? "right" : "left");
  out << '\n';
  const std::string in1 = Indent(indent + 1), in2 = Indent(indent + 2);
  auto caption = [&] {
    out << in1 << "caption " << (CaptionOnTop ? "top" : "bottom") << " h=" << CaptionHeight << '\n';
    CaptionCell->Content->DumpItems(out, indent + 2);
  };
  if (CaptionOnTop)
    caption();
  for (const auto& row : Rows) {
    out << in1 << "row h=" << row->RowHeight << '\n';
    for (int c = 0; c < row->Count(); ++c) {
      const TCellObj* cell = row->Items(c);
      if (cell->IsPlaceholder()) {
        out << in2 << "placeholder col=" << c << '\n';
        continue;
      }
      out << in2 << "cell col=" << c << " span=" << cell->ColSpan << 'x' << cell->RowSpan
          << " w=" << cell->SpanWidth << " h=" << cell->SpanHeight;
      if (cell->HasBackground())
        out << " bg=" << HexColor(cell->Content->BgColor);
      out << '\n';
      if (cell->Content)
        cell->Content->DumpItems(out, indent + 3);
    }
  }
  if (!CaptionOnTop)
    caption();
}
