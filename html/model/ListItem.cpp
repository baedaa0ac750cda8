#include "html/model/ListItem.h"

#include <algorithm>
#include <string>
#include <utility>

TUListItem::TUListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, int level)
    : TSection(doc, paLeft, link, std::move(font), level)
{
  ItemKind = ikUnordered;
}

TUListItem::TUListItem(TDocument* masterDoc, const TUListItem& source)
    : TSection(masterDoc, source), Plain(source.Plain)
{
}

std::unique_ptr<TSectionBase> TUListItem::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TUListItem>(masterDoc, *this);
}

std::string TUListItem::MarkerText() const
{
  if (Plain)
    return std::string();
  // The three bullet kinds follow the colour cycle of the levels.
  switch (Level % 3) {
  case 1: return "bullet";
  case 2: return "circle";
  default: return "square";
  }
}

TDListItem::TDListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, int level)
    : TUListItem(doc, link, std::move(font), level)
{
  ItemKind = ikDefinition;
}

TDListItem::TDListItem(TDocument* masterDoc, const TDListItem& source)
    : TUListItem(masterDoc, source)
{
}

std::unique_ptr<TSectionBase> TDListItem::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TDListItem>(masterDoc, *this);
}

TOListItem::TOListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, char numberType,
                       int32_t number, int level)
    : TUListItem(doc, link, std::move(font), level), NumberType(numberType)
{
  ItemKind = ikOrdered;
  ItemNumber = number;
}

TOListItem::TOListItem(TDocument* masterDoc, const TOListItem& source)
    : TUListItem(masterDoc, source), NumberType(source.NumberType)
{
}

std::unique_ptr<TSectionBase> TOListItem::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TOListItem>(masterDoc, *this);
}

std::string TOListItem::MarkerText() const
{
  return OrderedMarker(NumberType, ItemNumber);
}

std::string RomanNumeral(int32_t number, bool upper)
{
  static const struct {
    int32_t Value;
    const char* Upper;
    const char* Lower;
  } table[] = {{1000, "M", "m"}, {900, "CM", "cm"}, {500, "D", "d"}, {400, "CD", "cd"},
               {100, "C", "c"},  {90, "XC", "xc"},  {50, "L", "l"},  {40, "XL", "xl"},
               {10, "X", "x"},   {9, "IX", "ix"},   {5, "V", "v"},   {4, "IV", "iv"},
               {1, "I", "i"}};
  if (number < 1 || number > 3999)
    return std::to_string(number);
  std::string s;
  for (const auto& t : table)
    while (number >= t.Value) {
      s += upper ? t.Upper : t.Lower;
      number -= t.Value;
    }
  return s;
}

std::string OrderedMarker(char numberType, int32_t number)
{
  std::string s;
  switch (numberType) {
  case 'A':
  case 'a': {
    int32_t k = std::max(int32_t(0), std::min(number - 1, int32_t(25)));
    s = char(numberType + k);
    break;
  }
  case 'I': s = RomanNumeral(number, true); break;
  case 'i': s = RomanNumeral(number, false); break;
  default: s = std::to_string(number); break;
  }
  return s + '.';
}
