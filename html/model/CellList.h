#pragma once
// One table row: it owns its cells, in column order once spans are expanded.
#include "base/Color.h"
#include "base/FreeList.h"
#include "html/model/Alignment.h"
#include "html/model/CellObj.h"

#include <cstdint>
#include <string>

class TAttributeList;
class TDocument;

class TCellList : public TFreeList<TCellObj> {
public:
  // A row made from the attributes of TR (or none, for a row opened by a bare TD).
  explicit TCellList(const TAttributeList* attributes = nullptr);
  // Copy for printing; the cells are copied with their layout fields.
  TCellList(TDocument* masterDoc, const TCellList& source);

  int32_t RowHeight = 0;
  int32_t TallestSpan = 0;
  bool HasBgColor = false;
  TColor BgColor = 0;
  // The row's ALIGN (0 none, 1 left, 2 center, 3 right) and VALIGN (default middle); the
  // builder hands them down to the cells of the row as their defaults.
  TParaAlign HorzAlign = paNone;
  uint8_t VertAlign = vaMiddle;
};

// VALIGN of a row or cell: "top" and "baseline" are top, "middle", "bottom"; anything else
// leaves fallback.
uint8_t ParseVertAlign(const std::string& text, uint8_t fallback);
// ALIGN of a row or cell: "left" 1, "center" 2, "right" 3; anything else leaves fallback.
TParaAlign ParseHorzAlign(const std::string& text, TParaAlign fallback);
