#pragma once
// A paragraph of text: one single-byte buffer with a placeholder character for every image,
// panel and form control, plus font changes and objects keyed to positions in it.
#include "html/model/Arena.h"
#include "html/model/FloatingObj.h"
#include "html/model/FontObj.h"
#include "html/model/SectionBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAttributeList;
class TImageObj;
class TPanelObj;
#include "html/symbols/TokenObj.h"

// Placeholder characters in section text.
namespace placeholder {
constexpr char Control = 2;
constexpr char Image = 4;
constexpr char NoBreakControl = 6;
constexpr char NoBreakImage = 7;
constexpr char NoBreakSpace = char(160);
constexpr char NoBreakMarker = 5; // in tokens: a space inside NOBR
inline bool IsObject(char c)
{
  return c == Control || c == Image || c == NoBreakControl || c == NoBreakImage;
}
} // namespace placeholder

enum TClearSide : uint8_t { clNoClear = 0, clLeftSide = 1, clRightSide = 2, clBothSides = 3 };
enum TItemKind : uint8_t { ikNone = 0, ikOrdered = 1, ikUnordered = 2, ikDefinition = 3 };

// A run of characters whose source positions follow each other.
class IndexObj {
public:
  int32_t BufIndex = 0;
  int32_t SrcPos = 0;
};

class LineRec {
public:
  int32_t Top = 0;   // relative to the section's top
  int32_t First = 0; // index of the first character in Chars
  int32_t Count = 0;
  int32_t TextHeight = 0;
  int32_t MaxDescent = 0;
  int32_t ExtraAbove = 0;
  int32_t ExtraBelow = 0;
  int32_t StartX = 0;
  int32_t PaintHeight = 0;
  int32_t Height() const { return ExtraAbove + TextHeight + ExtraBelow; }
};

// A finished section keeps its text and position runs in its page's arena (see Finish).
using TSectionText = std::basic_string<char, std::char_traits<char>, TArenaAllocator<char>>;
using TSourceRuns = std::vector<IndexObj, TArenaAllocator<IndexObj>>;

class TSection : public TSectionBase {
public:
  // font is the builder's current font with its style flags already added.
  TSection(TDocument* doc, TParaAlign align, const TUrlTarget& link, TFontRef font, int level);
  TSection(TDocument* masterDoc, const TSection& source); // copy for printing
  ~TSection() override;

  TSectionText Chars;
  TSourceRuns SourceRuns;
  TFontList Fonts;
  TImageObjList Images;
  std::vector<LineRec> LineList;
  // A long page has tens of thousands of sections: the small fields share words.
  int Level = 0;
  int32_t ItemNumber = 0;
  int32_t MarkerX = 0;
  TParaAlign ParaAlign = paLeft;
  // The font of the list marker: the section's font at its start, shared.
  TFontRef MarkerFont;
  TItemKind ItemKind = ikNone;
  TClearSide ClearSide = clNoClear;
  bool Finished = false;

  // Building
  void AppendRun(const TokenObj& token);
  // n characters with a source position each (negative: none).
  void AppendRun(const char* chars, const int32_t* positions, int32_t n);
  /* 16 */ virtual void AppendRun(const char* chars, int32_t n, TPositionRuns runs);
  /* 15 */ virtual void AppendChar(char ch, int32_t sourcePos);
  // Style flags are those of TFontStyleFlag.
  void FontChange(const TFontRef& font, int styleFlags = 0, TScriptShift scriptShift = ssNormal);
  // kind true starts the link given, false ends the open link.
  void LinkMark(bool start, const TFontRef& font, int styleFlags, const TUrlTarget& link);
  TImageObj* PlaceImage(const TAttributeList& attributes, TCell* cell, int32_t tagPos,
                        bool noBreak = false);
  TImageObj* PlaceImage(std::unique_ptr<TImageObj> image, int32_t tagPos, bool noBreak = false);
  TPanelObj* PlacePanel(const TAttributeList& attributes, int32_t tagPos, bool noBreak = false);
  TPanelObj* PlacePanel(std::unique_ptr<TPanelObj> panel, int32_t tagPos, bool noBreak = false);
  // A control with a place in the text (hidden controls have none).
  void PlaceControl(TFormControlObj* control, int32_t tagPos, bool noBreak = false);
  TParaAlign FinishLine();
  // Terminates the text and lists the section's link starts; done by TCell::Add. The text,
  // position runs and font objects move to the document's arena in exactly their size.
  void Finish() override;
  int32_t Length() const { return int32_t(Chars.size()); }
  // The indent of the section's list level.
  int32_t LevelIndent() const;

  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  void CopySelection(ClipBuffer& clip) override;
  int32_t Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                 int32_t& pos) override;
  int32_t Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                int32_t Y) override;
  bool LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
              TUrlTarget& urlTarget, TLinkHover& hover) override;
  bool ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY) override;
  int32_t CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                   int32_t& caretHeight, TCell*& cell, bool& inText) override;
  int32_t SearchText(int32_t from, const std::string& text, bool matchCase) override;
  int32_t SourcePosOf(int32_t docPos) override;
  int32_t DocPosOf(int32_t sourcePos, bool prev) override;
  bool CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y) override;
  bool CharAt(int32_t position, char& ch, TCharObject& obj) override;
  void RefreshFonts() override;
  void WidthRange(TCanvas& canvas, int32_t& min, int32_t& max) override;

  const char* KindName() const override { return "Section"; }
  void Dump(std::ostream& out, int indent) const override;
  // The marker text drawn before the first line ("" when none).
  virtual std::string MarkerText() const { return std::string(); }

protected:
  bool FNoWrap = false; // pre-formatted lines never wrap
  // A line paints below its own height (a float hangs from it): lines above the band may then
  // still reach into it, so paints walk every line.
  bool FTallLines = false;
  void AddSourcePos(int32_t bufIndex, int32_t srcPos);
  // Appends chars[from, n); runs index chars.
  void AppendRaw(const char* chars, int32_t from, int32_t n, TPositionRuns runs);
  void AppendRawChar(char c, int32_t sourcePos);
  void PaintMarker(TCanvas& canvas, int32_t x0, int32_t baseline, const LineRec& line);

private:
  struct TLayoutState;
  int32_t FitCount(TCanvas& canvas, TLayoutState& st, int32_t width, int32_t start, int32_t max);
  void EndLine(TCanvas& canvas, TLayoutState& st, int32_t start, int32_t count);
  int32_t BreakLine(TCanvas& canvas, TLayoutState& st, int32_t avail, int32_t start,
                    int32_t& maxWidth);
  TFormControlObj* ControlAt(int32_t index) const;
  // The placed form controls in text order (not owned); most sections have none.
  const std::vector<TFormControlObj*>& Controls() const;
  std::unique_ptr<std::vector<TFormControlObj*>> FControls;
  const LineRec* LineOfPosition(int32_t position, int32_t& lineTop) const;
  void PaintCaret(TCanvas& canvas, int32_t X, int32_t scroll);
  int32_t FPaintX = 0; // x offset of the last paint
  int32_t ObjectWidth(int32_t index) const;
  int32_t ClearSpace(const IndentManager& indent, int32_t Y) const;
  void SizeObjects(TCanvas& canvas, int32_t availableWidth, int32_t& maxWidth);
  int32_t LineWidth(const LineRec& line, bool trimTrailing) const;
  // The width of a line just broken, trailing spaces left out, from what its fitting measured.
  int32_t BrokenLineWidth(const TLayoutState& st, const LineRec& line) const;
  // Width of n characters from start, objects included (floats take no width).
  int32_t TextWidthRange(int32_t start, int32_t n) const;
  const LineRec* LineAtY(int32_t Y, int32_t& lineTop, int32_t& charsBefore) const;
  // The first line a screen paint of the band from bandTop (section coordinates) must draw.
  size_t FirstLineToPaint(int32_t bandTop) const;
  int32_t CharsFitting(const LineRec& line, int32_t width) const;
  // UTF-8 text: byte length of the character at index (1 in single-byte text), and whether a
  // line may break before index because an ideograph stands on either side.
  bool Utf8() const;
  int32_t UnitLength(int32_t index) const;
  bool IdeographBreakAt(int32_t index) const;
  // Draws at y - scroll, the view's coordinates.
  void PaintLine(TCanvas& canvas, const LineRec& line, int32_t X, int32_t lineTop, int32_t baseline,
                 int32_t posBase, int32_t scroll);
  void PaintRun(TCanvas& canvas, const TFontObj* font, int32_t x, int32_t baseline, int32_t start,
                int32_t n, bool selected, int32_t lineTop, const LineRec& line);
  static void DumpControl(std::ostream& out, const std::string& pad, const TFormControlObj& ctl,
                          int32_t x, int32_t bottom);
  void DumpLine(std::ostream& out, int indent, const LineRec& line, int32_t lineTop) const;
};
