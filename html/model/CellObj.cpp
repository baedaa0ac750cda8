#include "html/model/CellObj.h"

#include "html/model/Document.h"
#include "html/symbols/AttributeList.h"

#include <algorithm>

namespace {
// Pixel sizes beyond this come only from broken pages; keeping them bounded keeps the sums of
// widths and heights inside 32 bits.
constexpr int32_t MaxPixelAttr = 32000;
// A span wider than this already makes the table fail, so there is no use in expanding more.
constexpr int32_t MaxColSpan = 201;
} // namespace

TCellObj::TCellObj(TDocument* doc, const TAttributeList* attributes, int vertAlign)
    : VertAlign(uint8_t(std::clamp(vertAlign, int(vaTop), int(vaBottom)))),
      Content(std::make_unique<TCell>(doc))
{
  if (!attributes)
    return;
  for (const auto& a : *attributes) {
    switch (a->Sym) {
    case attrBGCOLOR: {
      TColor c = 0;
      if (ParseColor(a->Text, c)) {
        Content->HasBgColor = true;
        Content->BgColor = c;
      }
      break;
    }
    case attrCOLSPAN:
      if (a->Num > 1)
        ColSpan = std::min(a->Num, MaxColSpan);
      break;
    case attrROWSPAN:
      if (a->Num > 1)
        RowSpan = a->Num;
      break;
    case attrWIDTH:
      if (a->Text.find('%') == std::string::npos) {
        if (a->Num > 0)
          WidthSpec = std::min(a->Num, MaxPixelAttr);
      } else if (a->Num >= 1 && a->Num <= 100) {
        WidthSpec = a->Num * 10;
        WidthIsPercent = true;
      }
      break;
    case attrHEIGHT: HeightAttr = std::clamp(a->Num, -MaxPixelAttr, MaxPixelAttr); break;
    default: break;
    }
  }
}

TCellObj::TCellObj(TDocument* masterDoc, const TCellObj& source)
    : ColSpan(source.ColSpan), RowSpan(source.RowSpan), SpanWidth(source.SpanWidth),
      SpanHeight(source.SpanHeight), ContentHeight(source.ContentHeight),
      HeightAttr(source.HeightAttr), ContentOffset(source.ContentOffset),
      VertAlign(source.VertAlign), WidthSpec(source.WidthSpec),
      WidthIsPercent(source.WidthIsPercent)
{
  if (!source.Content)
    return;
  Content = std::make_unique<TCell>(masterDoc, *source.Content);
  if (!masterDoc || !masterDoc->PrintBackgrounds) {
    Content->HasBgColor = false;
    Content->BgColor = 0;
  }
}

std::unique_ptr<TCellObj> TCellObj::MakePlaceholder(int32_t rowSpan)
{
  std::unique_ptr<TCellObj> p(new TCellObj());
  p->ColSpan = 0;
  p->RowSpan = rowSpan;
  return p;
}
