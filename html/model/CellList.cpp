#include "html/model/CellList.h"

#include "base/StringUtil.h"
#include "html/symbols/AttributeList.h"

TCellList::TCellList(const TAttributeList* attributes)
{
  if (!attributes)
    return;
  if (TAttribute* a = attributes->Find(attrBGCOLOR)) {
    TColor c = 0;
    if (ParseColor(a->Text, c)) {
      HasBgColor = true;
      BgColor = c;
    }
  }
  if (TAttribute* a = attributes->Find(attrALIGN))
    HorzAlign = ParseHorzAlign(a->Text, paNone);
  if (TAttribute* a = attributes->Find(attrVALIGN))
    VertAlign = ParseVertAlign(a->Text, vaMiddle);
}

TCellList::TCellList(TDocument* masterDoc, const TCellList& source)
    : RowHeight(source.RowHeight), TallestSpan(source.TallestSpan), HasBgColor(source.HasBgColor),
      BgColor(source.BgColor), HorzAlign(source.HorzAlign), VertAlign(source.VertAlign)
{
  for (const auto& cell : source)
    Add(std::make_unique<TCellObj>(masterDoc, *cell));
}

uint8_t ParseVertAlign(const std::string& text, uint8_t fallback)
{
  std::string s = strutil::LowerCase(strutil::Trim(text));
  if (s == "top" || s == "baseline")
    return vaTop;
  if (s == "middle")
    return vaMiddle;
  if (s == "bottom")
    return vaBottom;
  return fallback;
}

TParaAlign ParseHorzAlign(const std::string& text, TParaAlign fallback)
{
  std::string s = strutil::LowerCase(strutil::Trim(text));
  if (s == "left")
    return paLeft;
  if (s == "center")
    return paCenter;
  if (s == "right")
    return paRight;
  return fallback;
}
