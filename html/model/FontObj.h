#pragma once
// Font changes inside a text section, each keyed to the text index where it starts.
#include "base/FreeList.h"
#include "base/UrlTarget.h"
#include "html/model/Alignment.h"
#include "html/model/MyFont.h"

#include <cstdint>
#include <memory>

class TSection;
class TDocument;

class TFontObj {
public:
  TFontObj(TSection* section, int32_t pos, const TMyFont& font);
  // Copy for printing: position, script shift, font and link.
  TFontObj(TSection* section, const TFontObj& source);

  TSection* Section;
  int32_t ObjPos;
  TScriptShift ScriptShift = ssNormal;
  bool WasVisited = false;
  bool UnderMouse = false;
  bool ListedAsLinkStart = false; // already in the section list's LinkStarts

  // The link the text from here on belongs to (empty when none). The font objects of one link
  // share it.
  const TUrlTarget& Link() const;
  void SetLink(const TUrlTarget& link);
  void ShareLink(const TFontObj& other) { FLink = other.FLink; }
  void ClearLink() { FLink.reset(); }

  const TMyFont& FontCopy() const { return *FFont; }
  // The metrics are looked up again at the next layout.
  void SetFont(const TMyFont& font);

  // Metrics on the canvas last laid out on (screen unless printing).
  int FullHeight = 0; // height plus external leading
  int BodyHeight = 0;
  int OverhangPx = 0;
  int DescentPx = 0;
  const TFontMetrics* Metrics = nullptr;
  // Selects the font's metrics for a canvas and updates the fields above.
  const TFontMetrics& UpdateMetrics(const TCanvas& canvas);

  void MarkVisited(bool v);
  void MarkHover(bool h);
  void Refresh();
  bool IsLink() const { return FLink && !FLink->Url.empty(); }

private:
  // Shared with every equal font of the process (see TFontTable).
  std::shared_ptr<const TMyFont> FFont;
  std::shared_ptr<const TUrlTarget> FLink;
  int FMetricsDpi = 0;
  void UpdateLinkColor();
};

class TFontList : public TFreeList<TFontObj> {
public:
  // The font in effect at pos (the last object with ObjPos <= pos).
  TFontObj* ObjAt(int32_t pos) const;
  TFontObj* FontAt(int32_t pos, int& overhang) const;
  // Characters from pos to the next font change, or to len.
  int32_t RunLength(int32_t pos, int32_t len) const;
  void RefreshAll();
  // Gives back the room the list grew into while the section was built.
  void Trim() { FItems.shrink_to_fit(); }
};
