#pragma once
// Font changes inside a text section, each keyed to the text index where it starts.
#include "base/UrlTarget.h"
#include "html/model/Alignment.h"
#include "html/model/Arena.h"
#include "html/model/FontTable.h"
#include "html/model/MyFont.h"
#include "platform/FontMetricsCache.h"

#include <cstdint>
#include <memory>
#include <vector>

class TSection;
class TDocument;

// Held by value in its section's font list, with the font by reference into the table of shared
// fonts: a long page has hundreds of thousands of them.
class TFontObj {
public:
  TFontObj(TSection* section, int32_t pos, TFontRef font);
  // Copy for printing: position, script shift, font and link.
  TFontObj(TSection* section, const TFontObj& source);

  TSection* Section;
  // Metrics on the canvas last laid out on (screen unless printing).
  const TFontMetrics* Metrics = nullptr;
  int32_t ObjPos;
  TScriptShift ScriptShift = ssNormal;
  bool WasVisited = false;
  bool UnderMouse = false;
  bool ListedAsLinkStart = false; // in the section list's LinkStarts once the section is done

  // The link the text from here on belongs to (empty when none). The font objects of one link
  // share it.
  const TUrlTarget& Link() const;
  void SetLink(const TUrlTarget& link);
  void ShareLink(const TFontObj& other) { FLink = other.FLink; }
  void ClearLink() { FLink.reset(); }

  const TMyFont& FontCopy() const { return *FFont; }
  const TFontRef& Font() const { return FFont; }
  // The metrics are looked up again at the next layout.
  void SetFont(TFontRef font);

  int FullHeight() const { return Metrics ? Metrics->Height + Metrics->Leading : 0; }
  int BodyHeight() const { return Metrics ? Metrics->Height : 0; }
  int OverhangPx() const { return Metrics ? Metrics->Overhang : 0; }
  int DescentPx() const { return Metrics ? Metrics->Descent : 0; }
  // Selects the font's metrics for a canvas.
  const TFontMetrics& UpdateMetrics(const TCanvas& canvas);

  void MarkVisited(bool v);
  void MarkHover(bool h);
  void Refresh();
  bool IsLink() const { return FLink && !FLink->Url.empty(); }

private:
  std::shared_ptr<const TUrlTarget> FLink;
  TFontRef FFont;
  uint16_t FMetricsDpi = 0; // the resolution Metrics is for
  void UpdateLinkColor();
};

// Font changes by value, in increasing ObjPos. Pointers to them hold once the section is done
// (the list no longer grows).
class TFontList {
public:
  int Count() const { return int(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  TFontObj* Items(int i) { return &FItems[size_t(i)]; }
  const TFontObj* Items(int i) const { return &FItems[size_t(i)]; }
  TFontObj* operator[](int i) { return Items(i); }
  const TFontObj* operator[](int i) const { return Items(i); }
  TFontObj* First() { return Empty() ? nullptr : &FItems.front(); }
  const TFontObj* First() const { return Empty() ? nullptr : &FItems.front(); }
  TFontObj* Last() { return Empty() ? nullptr : &FItems.back(); }
  TFontObj* Add(TFontObj font)
  {
    FItems.push_back(std::move(font));
    return &FItems.back();
  }
  void Clear() { TItems().swap(FItems); }
  auto begin() { return FItems.begin(); }
  auto end() { return FItems.end(); }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

  // The font in effect at pos (the last object with ObjPos <= pos).
  TFontObj* ObjAt(int32_t pos);
  const TFontObj* ObjAt(int32_t pos) const;
  // Index of the font in effect at pos (0 when none).
  int IndexAt(int32_t pos) const;
  // Characters from pos to the next font change, or to len.
  int32_t RunLength(int32_t pos, int32_t len) const;
  void RefreshAll();
  using TItems = std::vector<TFontObj, TArenaAllocator<TFontObj>>;
  // Builds into buffer (empty, with room that an earlier section grew into).
  void BuildIn(TItems&& buffer)
  {
    FItems = std::move(buffer);
    FItems.clear();
  }
  // Moves the objects into a list of exactly their size, in arena when there is one; returns the
  // emptied buffer.
  TItems Trim(TArena* arena);

private:
  TItems FItems;
};
