#pragma once
// The document builder: drives the tokenizer and turns its symbols into the document model. A
// recursive-descent reader without a tree: body, common inline and block symbols, lists,
// pre-formatted text and tables each read until a symbol that ends their scope, and leave that
// symbol current for their caller.
//
//   TBuilder builder;
//   builder.ParseDocument(TParseSource::File(name), list, anchors, events);
//   title = builder.PageTitle;
//
// A builder holds its own tokenizer, so handlers that start another parse on another builder
// do not disturb the running one. One builder parses one document at a time.
#include "base/UrlTarget.h"
#include "html/model/Alignment.h"
#include "html/model/FontTable.h"
#include "html/model/MyFont.h"
#include "html/parser/BuilderEvents.h"
#include "html/parser/FrameSetReader.h"
#include "html/parser/Tokenizer.h"

#include <array>
#include <bitset>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TCell;
class TDocument;
class TCellList;
class TCellObj;
class TSection;
class TSectionBase;
class TSectionList;
class ThtmlTable;
class ThtmlForm;
class TFormControlObj;

using TSymbolSet = std::bitset<symCount>;

class TBuilder {
public:
  static constexpr int MaxFontLevels = 25;
  // Tables, lists and CENTER/DIV blocks nested deeper than this are read as if the extra
  // opening tags were not there: the reader and the layout recurse once per level.
  static constexpr int MaxNesting = 60;
  // Pre-formatted text is handed to its section in pieces of about this size.
  static constexpr int PreFlushSize = 200;

  TBuilder();
  ~TBuilder();
  TBuilder(const TBuilder&) = delete;
  TBuilder& operator=(const TBuilder&) = delete;

  // Fills list (cleared by the caller) and anchors from an HTML document. An unterminated
  // comment ends the parse quietly with the model built so far; other errors (a file that
  // cannot be read) pass on after the open section has gone to its cell.
  void ParseDocument(const TParseSource& source, TSectionList& list, TAnchorList& anchors,
                     const TParseEvents& events = {});
  // Shows the source as pre-formatted text: nothing is markup or a reference.
  void ParsePlainText(const TParseSource& source, TSectionList& list, TAnchorList& anchors);
  // Reads the head of a document for the frame viewer: TITLE, BASE, BGSOUND, META and SCRIPT,
  // and a FRAMESET into frameset. Stops at body content. True when a FRAMESET was read.
  bool ReadFrameDocument(const TParseSource& source, TFrameSetReader& frameset,
                         const TParseEvents& events = {});
  // True when a FRAMESET comes before any body content.
  bool HasFrameSet(const TParseSource& source);
  // The same question for what may be only the start of a document: unknown when the source
  // ends (or a comment or script runs off its end) before a FRAMESET or body content is seen.
  enum TFrameSetVerdict { fvNo, fvYes, fvUnknown };
  TFrameSetVerdict FrameSetVerdict(const TParseSource& source);

  // From TITLE and BASE after the last parse.
  std::string PageTitle;
  std::string BaseURL;
  std::string BaseTarget;
  // BASEFONT size after the last parse (3 unless the document changed it).
  int BaseSize() const { return FBaseSize; }

  // Charset code for a META content-type value; fallback when no known charset is named.
  static int CharsetFromContent(const std::string& content, int fallback);
  // Point sizes of HTML font sizes 1-7, in normal and in pre-formatted text.
  static int FontSizeFor(int htmlSize, bool inPre);
  // "left", "center", "right" as paragraph alignments; anything else gives fallback.
  static TParaAlign AlignOf(const std::string& text, TParaAlign fallback);
  static TSymbolSet SetOf(std::initializer_list<TSymbol> symbols);

private:
  struct TTableState;

  // Parse frame
  void Start(const TParseSource& source, TSectionList* list, TAnchorList* anchors,
             const TParseEvents& events);
  void Finish();
  void Next() { FTok.NextToken(); }
  TSymbol Sym() const { return FTok.CurSym(); }
  const TAttributeList& Attrs() const { return FTok.Attributes(); }
  std::string AttrText(TSymbol attr) const;

  // Fonts
  // The top font to change: its shared copy is made again when next asked for.
  TMyFont& Top()
  {
    FontLevels.back().Shared = TFontRef();
    return FontLevels.back().Font;
  }
  const TFontRef& SharedTop();
  // Makes font the top font.
  void SetTop(const TFontRef& font) { FontLevels.back() = {*font, font}; }
  TFontRef StyledTop();
  bool PushFont();
  void PopFont();
  void PopTo(size_t depth);
  void PushMonospace();
  void FontChange();
  bool ApplyFontTag(TSymbol sym, bool inPre);
  // The font a FONT tag's size (0: none), colour and face make of the top font.
  TFontRef TaggedFont(int size, bool haveColor, TColor color, const std::string& face);
  TFontRef LinkFont();
  // Font changes a page repeats (every link, most FONT tags) are remembered here: the shared
  // table would compare whole fonts, and it lets go of a link's in-between font at once.
  struct TFontMemo {
    TFontRef Base;
    int64_t Key = -1;
    std::string Face;
    TFontRef Result;
  };
  static constexpr size_t FontMemoSize = 16;
  const TFontRef* Remembered(const TFontRef& base, int64_t key, const std::string& face) const;
  void Remember(const TFontRef& base, int64_t key, const std::string& face, TFontRef result);

  // Sections
  void OpenSection(TParaAlign align, int level);
  void EnsureSection(int level);
  void SetSection(std::unique_ptr<TSection> section);
  void CloseSection();
  void DiscardSection();
  void AddItem(std::unique_ptr<TSectionBase> item);
  // Content that is dropped takes its anchors and its link starts out of the document's lists.
  void ForgetAnchors(const TSection* section);
  void ForgetLinkStarts(const TSection& section);
  void ForgetAnchors(const TCell& cell);
  void ForgetAnchors(const ThtmlTable& table);

  // Readers
  void ReadBody(int level, const TSymbolSet& endSet);
  bool IsCommonSymbol(TSymbol s) const;
  void ReadCommon(int level);
  bool DoInline(int level); // false for symbols it does not handle
  void DoParagraph(int level);
  void DoTitle();
  void DoBody(int level);
  void DoHorzLine();
  void DoBase();
  void DoCenterDiv(int level, const TSymbolSet& endSet);
  void DoSound();
  void DoMeta();
  void DoStyle(TSymbol s, int level);
  void DoLineBreak(int level);
  void DoHeading(int level);
  void DoHeadingEnd();
  void DoAnchor(int level);
  void EndLink();
  void DoBigSmall(bool bigger);
  bool ReadMap();
  void ReadScript(const TScriptEvent& handler);
  void ReadList(int level, TSymbol listSymbol, const TSymbolSet& endSet);
  void OpenListItem(TSymbol listSymbol, int level, char numberType, int32_t& number, bool plain);
  void ReadPre(int level);
  bool PreTag(int level, size_t depth, TokenObj& pending);
  void NewPreLine(int level);
  void FlushPre(TokenObj& pending);
  // Tables (read in BuilderTables.cpp)
  void ReadTable(int level);
  void FinishTable(TTableState& st);
  void TableCell(TTableState& st);
  void TableRow(TTableState& st);
  void TableRowEnd(TTableState& st);
  void TableCaption(TTableState& st);
  void TableText(TTableState& st);
  void CloseCell(TTableState& st);
  void RestoreCellState(const TTableState& st);

  // Forms (read in BuilderForms.cpp)
  bool DoFormSymbol(int level); // false for symbols that are not forms
  ThtmlForm* CurrentForm();
  TFormControlObj* AddControl(std::unique_ptr<TFormControlObj> control, bool placed, int level);
  void DoInput(int level);
  void DoSelect(int level);
  void DoTextArea(int level);

  // Frames (read in BuilderFrames.cpp)
  void ReadFrameSet(TFrameSetReader& frameset, int depth);
  void SkipTo(TSymbol endSym);
  static bool ShowsBodyContent(TSymbol s);

  // A block item of the page, in its document's arena.
  template <class T, class... A> std::unique_ptr<T> MakeItem(A&&... args);

  TTokenizer FTok;
  TSectionList* DocRoot = nullptr;
  TDocument* Doc = nullptr; // the document of DocRoot
  TAnchorList* AnchorList = nullptr;
  TCell* CurCell = nullptr;
  std::unique_ptr<TSection> CurSection;
  // A level keeps its font's shared copy, so unchanged text runs are not charged a font lookup.
  struct TFontLevel {
    TMyFont Font;
    TFontRef Shared; // empty until asked for after a change
  };
  std::vector<TFontLevel> FontLevels;
  std::array<TFontMemo, FontMemoSize> FFontMemo;
  size_t FNextMemo = 0;
  int StyleFlags = 0;
  TScriptShift ScriptShift = ssNormal;
  TParaAlign ParaAlign = paLeft;
  TUrlTarget OpenLink;
  bool LinkOpen = false;
  int FBaseSize = 3;
  int FNesting = 0;
  bool FApplyMetaCharset = true;
  TParseEvents FEvents;
  TScriptEvent FScriptHandler;
  ThtmlForm* FForm = nullptr; // the open FORM, or the implicit form of stray controls
};
