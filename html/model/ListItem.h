#pragma once
// List items: text sections that draw a marker before their first line.
#include "html/model/Section.h"

class TUListItem : public TSection {
public:
  TUListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, int level);
  TUListItem(TDocument* masterDoc, const TUListItem& source);
  bool Plain = false;
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  const char* KindName() const override { return "UListItem"; }
  // "bullet", "circle" or "square" by level, "" when plain.
  std::string MarkerText() const override;
};

class TDListItem : public TUListItem {
public:
  TDListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, int level);
  TDListItem(TDocument* masterDoc, const TDListItem& source);
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  const char* KindName() const override { return "DListItem"; }
  std::string MarkerText() const override { return std::string(); }
};

class TOListItem : public TUListItem {
public:
  TOListItem(TDocument* doc, const TUrlTarget& link, TFontRef font, char numberType, int32_t number,
             int level);
  TOListItem(TDocument* masterDoc, const TOListItem& source);
  char NumberType;
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  const char* KindName() const override { return "OListItem"; }
  std::string MarkerText() const override;
};

// The marker of an ordered item: "5.", "e.", "iv." ...
std::string OrderedMarker(char numberType, int32_t number);
// Roman numeral of 1-20 (20 and above stay "XX").
std::string RomanNumeral(int32_t number, bool upper);
