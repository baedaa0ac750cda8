#include "html/model/FontObj.h"

#include "html/model/Document.h"
#include "html/model/FontTable.h"
#include "html/model/Section.h"
#include "platform/Canvas.h"

TFontObj::TFontObj(TSection* section, int32_t pos, const TMyFont& font)
    : Section(section), ObjPos(pos), FFont(TFontTable::Intern(font))
{
}

TFontObj::TFontObj(TSection* section, const TFontObj& source)
    : Section(section), ObjPos(source.ObjPos), ScriptShift(source.ScriptShift),
      WasVisited(source.WasVisited), FFont(source.FFont), FLink(source.FLink)
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
    FLink = std::make_shared<const TUrlTarget>(link);
}

void TFontObj::SetFont(const TMyFont& font)
{
  FFont = TFontTable::Intern(font);
  Metrics = nullptr;
}

const TFontMetrics& TFontObj::UpdateMetrics(const TCanvas& canvas)
{
  // Relayouts on the same device reuse the metrics found last time.
  if (Metrics && FMetricsDpi == canvas.LogPixelsY())
    return *Metrics;
  FMetricsDpi = canvas.LogPixelsY();
  const TFontMetrics& m = FFont->Metrics(canvas);
  Metrics = &m;
  FullHeight = m.Height + m.Leading;
  BodyHeight = m.Height;
  OverhangPx = m.Overhang;
  DescentPx = m.Descent;
  return m;
}

void TFontObj::UpdateLinkColor()
{
  const TDocument* doc = Section ? Section->Doc : nullptr;
  if (!doc)
    return;
  TColor c = UnderMouse ? doc->OverColor : WasVisited ? doc->VisitedColor : doc->LinkColor;
  TMyFont font = *FFont;
  font.Color = IsSystemColor(c) ? c : c | PaletteFlag;
  FFont = TFontTable::Intern(font); // the metrics do not depend on the colour
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

TFontObj* TFontList::ObjAt(int32_t pos) const
{
  // Font changes are in increasing ObjPos: find the last one at or before pos.
  int lo = 0, hi = Count() - 1, found = 0;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    if (Items(mid)->ObjPos <= pos) {
      found = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return Empty() ? nullptr : Items(found);
}

TFontObj* TFontList::FontAt(int32_t pos, int& overhang) const
{
  TFontObj* f = ObjAt(pos);
  overhang = f ? f->OverhangPx : 0;
  return f;
}

int32_t TFontList::RunLength(int32_t pos, int32_t len) const
{
  for (const auto& f : *this)
    if (f->ObjPos > pos)
      return std::min(f->ObjPos, len) - pos;
  return len - pos;
}

void TFontList::RefreshAll()
{
  for (const auto& f : *this)
    f->Refresh();
}
