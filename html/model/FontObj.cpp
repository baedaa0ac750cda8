#include "html/model/FontObj.h"

#include "html/model/Document.h"
#include "html/model/Section.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <iterator>

static_assert(sizeof(TFontObj) <= 48, "font objects are the bulk of a long page's model");

TFontObj::TFontObj(TSection* section, int32_t pos, TFontRef font)
    : Section(section), ObjPos(pos), FFont(std::move(font))
{
}

TFontObj::TFontObj(TSection* section, const TFontObj& source)
    : Section(section), ObjPos(source.ObjPos), ScriptShift(source.ScriptShift),
      WasVisited(source.WasVisited), FLink(source.FLink), FFont(source.FFont)
{
}

const TUrlTarget& TFontObj::Link() const
{
  static const TUrlTarget none;
  return FLink ? *FLink : none;
}

void TFontObj::SetLink(const TUrlTarget& link)
{
  if (link.Empty())
    FLink.reset();
  else if (!FLink || !(*FLink == link))
    FLink = Section && Section->Doc ? Section->Doc->SharedLink(link)
                                    : std::make_shared<const TUrlTarget>(link);
}

void TFontObj::SetFont(TFontRef font)
{
  FFont = std::move(font);
  Metrics = nullptr;
}

const TFontMetrics& TFontObj::UpdateMetrics(const TCanvas& canvas)
{
  // Relayouts on the same device keep the metrics found last time.
  if (Metrics && FMetricsDpi == canvas.LogPixelsY())
    return *Metrics;
  Metrics = &FFont.Metrics(canvas);
  FMetricsDpi = uint16_t(canvas.LogPixelsY());
  return *Metrics;
}

void TFontObj::UpdateLinkColor()
{
  const TDocument* doc = Section ? Section->Doc : nullptr;
  if (!doc)
    return;
  TColor c = UnderMouse ? doc->OverColor : WasVisited ? doc->VisitedColor : doc->LinkColor;
  TMyFont font = *FFont;
  font.Color = IsSystemColor(c) ? c : c | PaletteFlag;
  FFont = TFontRef(font); // the metrics do not depend on the colour
}

void TFontObj::MarkVisited(bool v)
{
  if (v == WasVisited)
    return;
  WasVisited = v;
  UpdateLinkColor();
}

void TFontObj::MarkHover(bool h)
{
  if (h == UnderMouse)
    return;
  UnderMouse = h;
  UpdateLinkColor();
}

void TFontObj::Refresh()
{
  const TDocument* doc = Section ? Section->Doc : nullptr;
  if (!doc)
    return;
  TMyFont font = *FFont;
  font.Reapply(doc, IsLink() ? doc->LinkColor : doc->TextColor);
  if (ScriptShift != ssNormal)
    font.setPointSize(std::max(1, font.pointSize() * 3 / 4));
  SetFont(font);
  if (IsLink())
    UpdateLinkColor();
}

int TFontList::IndexAt(int32_t pos) const
{
  // Font changes are in increasing ObjPos: find the last one at or before pos.
  auto it = std::upper_bound(FItems.begin(), FItems.end(), pos,
                             [](int32_t p, const TFontObj& f) { return p < f.ObjPos; });
  return it == FItems.begin() ? 0 : int(it - FItems.begin()) - 1;
}

const TFontObj* TFontList::ObjAt(int32_t pos) const
{
  return Empty() ? nullptr : Items(IndexAt(pos));
}

TFontObj* TFontList::ObjAt(int32_t pos)
{
  return Empty() ? nullptr : Items(IndexAt(pos));
}

int32_t TFontList::RunLength(int32_t pos, int32_t len) const
{
  for (const TFontObj& f : FItems)
    if (f.ObjPos > pos)
      return std::min(f.ObjPos, len) - pos;
  return len - pos;
}

TFontList::TItems TFontList::Trim(TArena* arena)
{
  TItems exact{TArenaAllocator<TFontObj>(arena)};
  exact.reserve(FItems.size());
  std::move(FItems.begin(), FItems.end(), std::back_inserter(exact));
  FItems.swap(exact);
  exact.clear();
  return exact;
}

void TFontList::RefreshAll()
{
  for (TFontObj& f : FItems)
    f.Refresh();
}
