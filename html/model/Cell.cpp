#include "html/model/Cell.h"

#include "base/Exceptions.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"

#include <algorithm>
#include <climits>
#include <iostream>

namespace {
TProcessErrorHandler& ErrorHandler()
{
  static TProcessErrorHandler handler;
  return handler;
}
} // namespace

void SetProcessErrorHandler(TProcessErrorHandler handler)
{
  ErrorHandler() = std::move(handler);
}

void ReportProcessError(const std::string& message)
{
  if (ErrorHandler())
    ErrorHandler()(message);
  else
    std::cerr << message << '\n';
}

TCell::TCell(TDocument* doc) : Doc(doc)
{
}

TCell::TCell(TDocument* doc, const TCell& source)
    : Doc(doc), TopY(source.TopY), FirstCursor(source.FirstCursor), CursorCount(source.CursorCount),
      HasBgColor(source.HasBgColor), BgColor(source.BgColor)
{
  for (const auto& item : source)
    TFreeList::Add(item->CloneForPrint(doc));
}

void TCell::Add(std::unique_ptr<TSectionBase> item)
{
  if (!item)
    return;
  item->Finish();
  TSectionBase* p = TFreeList::Add(std::move(item));
  p->Attached();
}

int32_t TCell::Layout(TCanvas& canvas, int32_t Y, int32_t width, int32_t& maxWidth, int32_t& pos)
{
  Margins.Clear();
  Margins.Reset(0, width);
  Margins.Width = width;
  FSpans.clear();
  TopY = Y;
  FirstCursor = pos;
  int32_t total = 0;
  maxWidth = 0;
  for (int i = 0; i < Count();) {
    int32_t itemMax = 0;
    try {
      total += Items(i)->Layout(canvas, Y + total, Margins, itemMax, pos);
    } catch (const EProcessError& e) {
      ReportProcessError(e.Message());
      Delete(i);
      continue;
    }
    maxWidth = std::max(maxWidth, itemMax);
    ++i;
  }
  CursorCount = pos - FirstCursor;
  return std::max(total, Margins.FloatBottom() - Y);
}

void TCell::WidthRange(TCanvas& canvas, int32_t& min, int32_t& max)
{
  min = max = 0;
  for (const auto& item : *this) {
    int32_t mn = 0, mx = 0;
    item->WidthRange(canvas, mn, mx);
    min = std::max(min, mn);
    max = std::max(max, mx);
  }
}

int32_t TCell::Paint(TCanvas& canvas, TPaintContext& ctx, int32_t clipWidth, int32_t X, int32_t Y)
{
  Margins.LeftEdge = X;
  Margins.RightEdge = X + Margins.Width;
  Margins.PaintClip = clipWidth;
  if (!FSpans.empty() && FSpansY == Y && FSpans.size() == size_t(Count()))
    return PaintVisible(canvas, ctx, X, Y);
  return PaintAll(canvas, ctx, X, Y);
}

// Walks every block, setting each one's TopY, and records the spans for PaintVisible. The spans
// are kept only when block tops never go back up, which the binary search relies on.
int32_t TCell::PaintAll(TCanvas& canvas, TPaintContext& ctx, int32_t X, int32_t Y)
{
  const int32_t scroll = ctx.ScrollY;
  const QRect& clip = ctx.Clip;
  const int32_t startY = Y;
  FSpans.clear();
  FSpans.reserve(size_t(Count()));
  bool monotonic = true;
  int32_t reach = INT32_MIN;
  for (const auto& item : *this) {
    // Blocks wholly outside the band are skipped without painting.
    int32_t top = Y - scroll;
    int32_t extent = std::max(item->PaintHeight, item->FlowHeight);
    int32_t bottom = top + extent;
    reach = std::max(reach, Y - startY + extent);
    FSpans.push_back({Y - startY, reach});
    int32_t next = Y + item->FlowHeight;
    if (bottom < clip.top() || top > clip.bottom())
      item->TopY = Y;
    else
      next = item->Paint(canvas, ctx, Margins, X, Y);
    monotonic = monotonic && next == Y + item->FlowHeight && item->FlowHeight >= 0;
    Y = next;
  }
  FSpansY = startY;
  FSpansEnd = Y - startY;
  if (!monotonic)
    FSpans.clear();
  return Y;
}

// Paints only the blocks that meet the clip band. Every block's TopY is still where the last
// full pass put it, so the blocks skipped here need no visit.
int32_t TCell::PaintVisible(TCanvas& canvas, TPaintContext& ctx, int32_t X, int32_t Y)
{
  const int32_t scroll = ctx.ScrollY;
  const QRect& clip = ctx.Clip;
  const int32_t startY = Y;
  // The first block whose lowest painted row so far reaches the band; none before it does.
  const int32_t bandTop = clip.top() - (startY - scroll);
  auto first = std::partition_point(FSpans.begin(), FSpans.end(),
                                    [&](const TBlockSpan& s) { return s.Reach < bandTop; });
  bool moved = false;
  for (size_t i = size_t(first - FSpans.begin()); i < FSpans.size(); ++i) {
    TSectionBase* item = Items(int(i));
    Y = startY + FSpans[i].Top;
    int32_t top = Y - scroll;
    if (top > clip.bottom())
      break;
    if (top + std::max(item->PaintHeight, item->FlowHeight) < clip.top())
      continue;
    moved = moved || item->Paint(canvas, ctx, Margins, X, Y) != Y + item->FlowHeight;
  }
  const int32_t end = startY + FSpansEnd;
  if (moved)
    FSpans.clear(); // a block moved its successors: walk everything next time
  return end;
}

TSectionBase* TCell::ItemAtY(int32_t Y) const
{
  for (const auto& item : *this)
    if (Y >= item->TopY && Y < item->TopY + item->FlowHeight)
      return item.get();
  for (const auto& item : *this)
    if (Y >= item->TopY && Y < item->TopY + item->PaintHeight)
      return item.get();
  return nullptr;
}

bool TCell::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                   TUrlTarget& urlTarget, TLinkHover& hover)
{
  for (const auto& item : *this)
    if (Y >= item->TopY && Y < item->TopY + std::max(item->PaintHeight, item->FlowHeight) &&
        item->LinkAt(canvas, X, Y, formControl, urlTarget, hover))
      return true;
  return false;
}

bool TCell::ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY)
{
  for (const auto& item : *this)
    if (Y >= item->TopY && Y < item->TopY + std::max(item->PaintHeight, item->FlowHeight) &&
        item->ObjectAt(X, Y, obj, objX, objY))
      return true;
  return false;
}

int32_t TCell::CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                        int32_t& caretHeight, TCell*& cell, bool& inText)
{
  TSectionBase* item = ItemAtY(Y);
  if (!item)
    return -1;
  cell = this;
  return item->CursorAt(canvas, X, Y, xr, yr, caretHeight, cell, inText);
}

int32_t TCell::SearchText(int32_t from, const std::string& text, bool matchCase)
{
  for (const auto& item : *this) {
    if (item->CursorCount > 0 && item->FirstCursor + item->CursorCount <= from)
      continue;
    int32_t r = item->SearchText(from, text, matchCase);
    if (r >= 0)
      return r;
  }
  return -1;
}

int32_t TCell::SourcePosOf(int32_t docPos)
{
  for (const auto& item : *this) {
    int32_t r = item->SourcePosOf(docPos);
    if (r >= 0)
      return r;
  }
  return -1;
}

int32_t TCell::DocPosOf(int32_t sourcePos, bool prev)
{
  if (prev) {
    for (int i = Count() - 1; i >= 0; --i) {
      int32_t r = Items(i)->DocPosOf(sourcePos, prev);
      if (r >= 0)
        return r;
    }
    return -1;
  }
  for (const auto& item : *this) {
    int32_t r = item->DocPosOf(sourcePos, prev);
    if (r >= 0)
      return r;
  }
  return -1;
}

bool TCell::CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y)
{
  for (const auto& item : *this)
    if (item->CursorPoint(canvas, position, X, Y))
      return true;
  return false;
}

bool TCell::CharAt(int32_t position, char& ch, TCharObject& obj)
{
  if (position < FirstCursor || position > FirstCursor + CursorCount)
    return false;
  for (const auto& item : *this)
    if (item->CharAt(position, ch, obj))
      return true;
  return false;
}

void TCell::CopySelection(ClipBuffer& clip)
{
  if (!Doc)
    return;
  for (const auto& item : *this) {
    // An item without positions of its own (a space, a rule) is inside when the selection
    // runs across it.
    int32_t first = item->FirstCursor;
    bool meets = item->CursorCount > 0
                     ? first < Doc->SelEndPos && first + item->CursorCount > Doc->SelStartPos
                     : first > Doc->SelStartPos && first < Doc->SelEndPos;
    if (meets)
      item->CopySelection(clip);
  }
}

void TCell::RefreshFonts()
{
  for (const auto& item : *this)
    item->RefreshFonts();
}

void TCell::DumpItems(std::ostream& out, int indent) const
{
  for (const auto& item : *this)
    item->Dump(out, indent);
}
