#pragma once
// One table cell: its span, its measured and laid-out sizes, its WIDTH/HEIGHT attributes and
// the cell (a stack of block items) that holds its content.
#include "html/model/Cell.h"

#include <cstdint>
#include <memory>

class TAttributeList;
class TDocument;

enum TVertAlign : uint8_t { vaTop = 0, vaMiddle = 1, vaBottom = 2 };

class TCellObj {
public:
  // A cell made from the attributes of TD or TH (or none, for the caption).
  TCellObj(TDocument* doc, const TAttributeList* attributes, int vertAlign);
  // Copy for printing: every layout field and the content; the background only when the
  // print document prints backgrounds.
  TCellObj(TDocument* masterDoc, const TCellObj& source);
  TCellObj(const TCellObj&) = delete;
  TCellObj& operator=(const TCellObj&) = delete;

  // A place-holder entry reserving the place of a spanning cell; it has no content.
  static std::unique_ptr<TCellObj> MakePlaceholder(int32_t rowSpan);

  int32_t ColSpan = 1; // 0 marks a place-holder
  int32_t RowSpan = 1;
  int32_t SpanWidth = 0;
  int32_t SpanHeight = 0;
  int32_t ContentHeight = 0;
  int32_t HeightAttr = 0;
  int32_t ContentOffset = 0;
  uint8_t VertAlign = vaMiddle;
  int32_t WidthSpec = 0; // pixels, or tenths of a percent when WidthIsPercent
  bool WidthIsPercent = false;
  // Null for place-holders, which are many in tables with wide spans and hold nothing.
  std::unique_ptr<TCell> Content;

  bool IsPlaceholder() const { return ColSpan == 0; }
  // True when the cell has content to lay out and draw (place-holders and empty TDs have none).
  bool HasContent() const { return Content && !Content->Empty(); }
  bool HasBackground() const { return Content && Content->HasBgColor; }

private:
  TCellObj() = default;
};
