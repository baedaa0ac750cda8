#pragma once
// A vertical stack of block items with its own margins (the document body, a table cell).
#include "base/FreeList.h"
#include "html/model/IndentManager.h"
#include "html/model/SectionBase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCell : public TFreeList<TSectionBase> {
public:
  explicit TCell(TDocument* doc);
  TCell(TDocument* doc, const TCell& source); // copy for printing

  TDocument* Doc;
  int32_t TopY = 0;
  int32_t FirstCursor = 0;
  int32_t CursorCount = 0;
  IndentManager Margins;
  bool HasBgColor = false;
  int32_t BgColor = 0;

  // Takes the item (a text section is finished here) and runs its Attached hook.
  void Add(std::unique_ptr<TSectionBase> item);

  int32_t Layout(TCanvas& canvas, int32_t Y, int32_t width, int32_t& maxWidth, int32_t& pos);
  void WidthRange(TCanvas& canvas, int32_t& min, int32_t& max);
  int32_t Paint(TCanvas& canvas, TPaintContext& ctx, int32_t clipWidth, int32_t X, int32_t Y);

  bool LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
              TUrlTarget& urlTarget, TLinkHover& hover);
  bool ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY);
  int32_t CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                   int32_t& caretHeight, TCell*& cell, bool& inText);
  int32_t SearchText(int32_t from, const std::string& text, bool matchCase);
  int32_t SourcePosOf(int32_t docPos);
  int32_t DocPosOf(int32_t sourcePos, bool prev);
  bool CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y);
  bool CharAt(int32_t position, char& ch, TCharObject& obj);
  void CopySelection(ClipBuffer& clip);
  void RefreshFonts();

  void DumpItems(std::ostream& out, int indent) const;

private:
  TSectionBase* ItemAtY(int32_t Y) const;
  int32_t PaintAll(TCanvas& canvas, TPaintContext& ctx, int32_t X, int32_t Y);
  int32_t PaintVisible(TCanvas& canvas, TPaintContext& ctx, int32_t X, int32_t Y);

  // Block tops relative to the cell and the lowest painted bottom so far, one entry per block,
  // filled by a full paint pass so that later paints of an unchanged cell at the same place
  // can find the first visible block by binary search. Layout throws them away.
  struct TBlockSpan {
    int32_t Top;
    int32_t Reach;
  };
  std::vector<TBlockSpan> FSpans;
  int32_t FSpansY = 0;   // the Y every block's TopY was last set for
  int32_t FSpansEnd = 0; // the cell's flow height from the same pass
};

// Where the message of a block dropped for an EProcessError goes. The viewer points it at its
// error box; by default it is written to stderr.
using TProcessErrorHandler = std::function<void(const std::string&)>;
void SetProcessErrorHandler(TProcessErrorHandler handler);
void ReportProcessError(const std::string& message);
