#include "html/model/htmlTable.h"

#include "base/Exceptions.h"
#include "base/MulDiv.h"
#include "base/StringUtil.h"
#include "html/model/Cell.h"
#include "html/model/Document.h"
#include "html/model/FloatingObj.h"
#include "html/model/IndentManager.h"
#include "html/symbols/AttributeList.h"
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
} // namespace

ThtmlTable::ThtmlTable(TDocument* doc, const TAttributeList* attributes, TParaAlign justification,
                       TCell* enclosingCell, int32_t level)
    : TSectionBase(doc), CaptionCell(std::make_unique<TCellObj>(doc, nullptr, vaMiddle)),
      HorzAlign(TParaAlign(std::clamp(int(justification), int(paLeft), int(paRight)))),
      ListLevel(level), EnclosingCell(enclosingCell)
{
  if (attributes) {
    for (const auto& a : *attributes) {
      TColor c = 0;
      switch (a->Sym) {
      case attrALIGN: {
        std::string s = strutil::UpperCase(a->Text);
        if (s == "CENTER") {
          HorzAlign = paCenter;
        } else if (s == "LEFT") {
          HorzAlign = paLeft;
          Floating = true;
        } else if (s == "RIGHT") {
          HorzAlign = paRight;
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

ThtmlTable::ThtmlTable(TDocument* masterDoc, const ThtmlTable& source)
    : TSectionBase(masterDoc, source),
      CaptionCell(std::make_unique<TCellObj>(masterDoc, *source.CaptionCell)),
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
    Rows.Add(std::make_unique<TCellList>(masterDoc, *row));
  if (masterDoc && masterDoc->PrintBackgrounds) {
    HasBgColor = source.HasBgColor;
    BgColor = source.BgColor;
    HasBorderColor = source.HasBorderColor;
    BorderColor = source.BorderColor;
  }
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<ThtmlTable>(masterDoc, *this);
}

bool ThtmlTable::IsPrinting(const TCanvas* canvas) const
{
  return (Doc && Doc->PrintMode) || (canvas && canvas->Printing);
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

std::vector<TColumnCell> ThtmlTable::MeasureCells(TCanvas& canvas)
{
  std::vector<TColumnCell> cells;
  for (const auto& row : Rows)
    for (int c = 0; c < row->Count(); ++c) {
      TCellObj* cell = row->Items(c);
      if (cell->ColSpan < 1) // place-holder
        continue;
      TColumnCell m;
      m.Column = c;
      m.Span = cell->ColSpan;
      if (cell->Content)
        cell->Content->WidthRange(canvas, m.Min, m.Max);
      m.Min += Pad();
      m.Max += Pad();
      m.WidthSpec = cell->WidthSpec;
      m.WidthIsPercent = cell->WidthIsPercent;
      cells.push_back(m);
    }
  return cells;
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
  TTableColumns columns(ColumnCount, Pad(), ColumnWidths, ColumnPercents);
  const std::vector<TColumnCell> cells = MeasureCells(canvas);
  const TColumnRange r = !HasPixelCellWidth || TableWidthSpec != 0
                             ? columns.PercentRange(cells, TableWidthIsPercent ? 0 : TableWidthSpec)
                             : columns.PixelRange(cells);
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
// Row heights and layout

int32_t ThtmlTable::MeasureRow(TCanvas& canvas, TCellList& row, int32_t j, int32_t& nextSpan)
{
  int32_t tallest = 0;
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (cell->ColSpan <= 0)
      continue;
    cell->SpanWidth = TTableColumns::Sum(ColumnWidths, c, std::min(cell->ColSpan, ColumnCount - c));
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
  FRowTops.assign(size_t(rowCount) + 1, 0);
  FRowReach.assign(size_t(rowCount), 0);
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
    const size_t i = size_t(k);
    FRowTops[i + 1] = FRowTops[i] + row->RowHeight;
    FRowReach[i] = std::max(FRowTops[i] + row->TallestSpan, k > 0 ? FRowReach[i - 1] : 0);
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
    TTableColumns(ColumnCount, Pad(), ColumnWidths, ColumnPercents)
        .Solve(MeasureCells(canvas), HasPixelCellWidth, newWidth, specified);
    GridWidth = CellSpacing + TTableColumns::Sum(ColumnWidths, 0, ColumnCount);
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
    if (HorzAlign == paCenter)
      CaptionOffset = (avail - OverallWidth) / 2;
    else if (HorzAlign == paRight)
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
    indent.AddFloat(TopY, OverallWidth + HSpace + 1, HorzAlign == paRight ? plRight : plLeft,
                    FlowHeight);
    FlowHeight = 0;
  }
  return FlowHeight;
}

// ---------------------------------------------------------------------------------------------
// Painting

void DrawBorder3D(const TDocument* doc, TCanvas& canvas, int32_t X1, int32_t Y1, int32_t X2,
                  int32_t Y2, bool Raised)
{
  const bool printing = canvas.Printing || (doc && doc->PrintMode);
  const TColor page = doc ? doc->PageColor : clWindow;
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

void ThtmlTable::PaintCell(TCanvas& canvas, TPaintContext& ctx, TCellObj& cell, int32_t Xc,
                           int32_t Y, QRegion* borderRegion)
{
  const int32_t screenY = Y - ctx.ScrollY;
  QRect background = Corners(Xc + CellSpacing, screenY + CellSpacing, Xc + cell.SpanWidth,
                             screenY + cell.SpanHeight);
  if (cell.Content->HasBgColor)
    canvas.FillRect(background, cell.Content->BgColor | PaletteFlag);
  cell.Content->Paint(canvas, ctx, cell.SpanWidth - Pad(), Xc + CellSpacing + CellPadding,
                      Y + CellSpacing + CellPadding + cell.ContentOffset);
  if (HasBorder)
    DrawBorder3D(Doc, canvas, Xc + CellSpacing - 1, screenY + CellSpacing - 1, Xc + cell.SpanWidth,
                 screenY + cell.SpanHeight, false);
  if (borderRegion) {
    if (HasBorder)
      *borderRegion -= Corners(Xc + CellSpacing - 1, screenY + CellSpacing - 1,
                               Xc + cell.SpanWidth + 1, screenY + cell.SpanHeight + 1);
    else
      *borderRegion -= background;
  }
}

int32_t ThtmlTable::PaintRow(TCanvas& canvas, TPaintContext& ctx, TCellList& row, int32_t rowIndex,
                             int32_t Y, QRegion* borderRegion)
{
  const QRect& clip = ctx.Clip;
  const int32_t screenY = Y - ctx.ScrollY;
  const int32_t result = Y + row.RowHeight;
  const int32_t clipBottom = clip.y() + clip.height();
  const bool printing = IsPrinting(&canvas);
  if (printing && Y > clip.top() + (clip.top() + clipBottom) / 2 &&
      Y + row.TallestSpan > ctx.PageBottom && row.TallestSpan < clipBottom - clip.top()) {
    ctx.PageBottom = std::min(ctx.PageBottom, Y + (rowIndex > 0 ? CellSpacing / 2 : 0));
    return result;
  }
  if (screenY + row.TallestSpan < clip.top() || clipBottom <= screenY ||
      (printing && ctx.PageBottom <= Y))
    return result;
  int32_t Xc = DrawnX;
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (cell->HasContent())
      PaintCell(canvas, ctx, *cell, Xc, Y, borderRegion);
    Xc += ColumnWidths[size_t(std::min(c, MaxTableColumns))];
  }
  return result;
}

// False when the rows changed since they were laid out: Paint then looks at every row.
bool ThtmlTable::RowsMeasured() const
{
  return FRowReach.size() == size_t(Rows.Count()) && FRowTops.size() == FRowReach.size() + 1;
}

// The first row whose cells reach localY (below the first row's top) or further down.
int32_t ThtmlTable::FirstRowReaching(int32_t localY) const
{
  return int32_t(std::lower_bound(FRowReach.begin(), FRowReach.end(), localY) - FRowReach.begin());
}

int32_t ThtmlTable::Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                          int32_t Y)
{
  (void)indent;
  const QRect& clip = ctx.Clip;
  const int32_t yOff = ctx.ScrollY;
  const int32_t clipBottom = clip.y() + clip.height();
  const bool printing = IsPrinting(&canvas);
  TopY = Y;
  // A table that starts low on a page and fits on the next one moves there whole.
  if (printing && Y > clip.top() + (clip.top() + clipBottom) / 2 &&
      Y + FlowHeight > ctx.PageBottom && FlowHeight < clipBottom - clip.top()) {
    ctx.PageBottom = std::min(ctx.PageBottom, Y);
    return Y + FlowHeight;
  }
  if (Y + PaintHeight - yOff < clip.top() || Y - yOff >= clipBottom ||
      (printing && Y >= ctx.PageBottom))
    return Y + FlowHeight;

  DrawnX = X + RowsOffset;
  DrawnY = Y;
  int32_t Y0 = Y;
  if (CaptionOnTop)
    Y0 = CaptionCell->Content->Paint(canvas, ctx, OverallWidth, X + CaptionOffset, Y);
  // Painted cells are cut out of this region; what is left is the spacing between them.
  QRegion region;
  if (HasBorderColor)
    region = QRegion(Corners(DrawnX, std::max(clip.top() - 1, Y0 - yOff), DrawnX + GridWidth,
                             std::min(clipBottom, Y0 + GridHeight - yOff)));
  // Rows that end above the clip draw nothing; neither do rows below it (and, on paper, below
  // the page end, which they can no longer move up).
  const bool measured = RowsMeasured();
  const int32_t first = measured ? FirstRowReaching(clip.top() + yOff - Y0) : 0;
  int32_t y = Y0 + (measured ? FRowTops[size_t(first)] : 0);
  for (int32_t k = first; k < Rows.Count(); ++k) {
    if (measured && y - yOff >= clipBottom && (!printing || y >= ctx.PageBottom)) {
      y = Y0 + FRowTops.back();
      break;
    }
    y = PaintRow(canvas, ctx, *Rows.Items(k), k, y, HasBorderColor ? &region : nullptr);
  }
  if (HasBorderColor)
    for (const QRect& r : region)
      canvas.FillRect(r, BorderColor | PaletteFlag);
  if (HasBorder)
    DrawBorder3D(Doc, canvas, DrawnX, Y0 - yOff, DrawnX + GridWidth - 1, y + CellSpacing - yOff - 1,
                 true);
  if (!CaptionOnTop)
    CaptionCell->Content->Paint(canvas, ctx, OverallWidth, X + CaptionOffset, Y0 + GridHeight);
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
                        TUrlTarget& urlTarget, TLinkHover& hover)
{
  const int32_t relY = Y - DrawnY;
  if (relY > PaintHeight)
    return false;
  int32_t localY = 0, top = 0, left = 0;
  switch (HitPart(X, relY, localY)) {
  case THitPart::Caption:
    return CaptionCell->Content->LinkAt(canvas, X, Y, formControl, urlTarget, hover);
  case THitPart::Cells:
    if (TCellObj* cell = CellAtPoint(X, localY, top, left); cell && cell->Content)
      return cell->Content->LinkAt(canvas, X, Y, formControl, urlTarget, hover);
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

void ThtmlTable::CopySelection(ClipBuffer& clip)
{
  ForEachContent([&clip](TCell& c) {
    c.CopySelection(clip);
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
    out << " float=" << (HorzAlign == paRight ? "right" : "left");
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
