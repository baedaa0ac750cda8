#pragma once
// The document root: the body cell, beside the document (settings, lists, host events) it
// lays out and paints.
#include "html/model/Cell.h"
#include "html/model/Document.h"

#include <cstdint>
#include <iosfwd>
#include <string>

class QObject;

class TSectionList : public TCell {
public:
  // viewer raises the panel and script events; host makes the panels and repaints (none for
  // a document that is not shown).
  explicit TSectionList(QObject* viewer = nullptr, TControlHost* host = nullptr);
  ~TSectionList() override;

  TDocument& Document() { return FDocument; }
  const TDocument& Document() const { return FDocument; }

  // Where the view is scrolled to (document y at its top); SetScroll changes it.
  int32_t ScrollY = 0;

  // Results of the last Layout, for the viewer and the layout dump.
  int32_t DocumentHeight = 0;
  int32_t ScrollWidth = 0;
  int32_t PositionCount = 0;

  void Clear() override;
  void ApplyDefaults(const std::string& bodyFont, const std::string& fixedFont, int bodySize,
                     TColor textColor, TColor linkColor, TColor visitedColor, TColor overColor,
                     TColor pageColor, bool hoverColoring);
  // A change of scroll leaves every control and panel to be placed again by the next paint.
  void SetScroll(int32_t y);

  int32_t Layout(TCanvas& canvas, int32_t Y, int32_t width, int32_t& scrollWidth, int32_t& pos);
  // Paints the blocks that meet ctx.Clip, seen from ctx.ScrollY; ctx.DrawBottom comes back set
  // and, when printing, ctx.PageBottom moved up to where the page ends.
  void Paint(TCanvas& canvas, TPaintContext& ctx, int32_t clipWidth, int32_t X, int32_t Y);
  // The screen's paint: the band clip seen from ScrollY.
  void Paint(TCanvas& canvas, const QRect& clip, int32_t clipWidth, int32_t X, int32_t Y);
  bool LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
              TUrlTarget& urlTarget);
  // The selected text as the clipboard takes it (bytes of TextCharset()), at most
  // ClipBuffer::DefaultSize - 1 bytes.
  std::string CopySelection();

  // "SectionList h= w= pos= title=" and the items below it.
  void Dump(std::ostream& out, const std::string& title) const;

private:
  TDocument FDocument;
};
