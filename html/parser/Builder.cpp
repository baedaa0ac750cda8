#include "html/parser/Builder.h"

#include "base/CodePage.h"
#include "base/Exceptions.h"
#include "base/StringUtil.h"
#include "html/model/CellList.h"
#include "html/model/CellObj.h"
#include "html/model/HorzLine.h"
#include "html/model/ListItem.h"
#include "html/model/MapItem.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/PreFormated.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/model/htmlTable.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace {

constexpr int NormalSizes[7] = {8, 10, 12, 14, 18, 24, 36};
constexpr int PreSizes[7] = {7, 8, 10, 12, 15, 20, 30};
constexpr int HeadingSizes[7] = {12, 24, 18, 14, 12, 10, 8}; // index 0: H without a digit
constexpr int MonospaceSize = 10;
constexpr unsigned char CR = TTokenizer::CrChar;
constexpr unsigned char EofChar = TTokenizer::EofChar;

const TSymbolSet ListEndTags =
    TBuilder::SetOf({symOLEnd, symULEnd, symDIREnd, symMENUEnd, symDLEnd, symBLOCKQUOTEEnd});

bool IsListEnd(TSymbol s)
{
  return ListEndTags.test(s);
}

TColor DocumentColor(TColor c)
{
  return IsSystemColor(c) ? c : (c | PaletteFlag);
}

struct TCharsetKey {
  const char* Key;
  int Code;
};
constexpr TCharsetKey CharsetKeys[] = {
    {"1252", 0},
    {"8859-1", 0},
    {"1253", 161},
    {"8859-7", 161},
    {"1250", 238},
    {"8859-2", 238},
    {"1251", 204},
    {"8859-5", 204},
    {"koi8-r", 204},
    {"1254", 162},
    {"8859-3", 162},
    {"8859-9", 162},
    {"1257", 186},
    {"8859-4", 186},
    // After the code pages, so that no page naming one of them changes.
    {"utf-8", codepage::CharsetUtf8},
};

} // namespace

TBuilder::TBuilder() = default;
TBuilder::~TBuilder() = default;

int TBuilder::FontSizeFor(int htmlSize, bool inPre)
{
  htmlSize = std::clamp(htmlSize, 1, 7);
  return inPre ? PreSizes[htmlSize - 1] : NormalSizes[htmlSize - 1];
}

template <class T, class... A> std::unique_ptr<T> TBuilder::MakeItem(A&&... args)
{
  return TSectionBase::Make<T>(Doc ? &Doc->Arena : nullptr, Doc, std::forward<A>(args)...);
}

int TBuilder::CharsetFromContent(const std::string& content, int fallback)
{
  std::string lower = strutil::LowerCase(content);
  for (const TCharsetKey& k : CharsetKeys)
    if (lower.find(k.Key) != std::string::npos)
      return k.Code;
  return fallback;
}

TSymbolSet TBuilder::SetOf(std::initializer_list<TSymbol> symbols)
{
  TSymbolSet s;
  for (TSymbol sym : symbols)
    s.set(sym);
  return s;
}

TParaAlign TBuilder::AlignOf(const std::string& text, TParaAlign fallback)
{
  return ParseHorzAlign(text, fallback);
}

// ---- parse frame ------------------------------------------------------------------------------

void TBuilder::Start(const TParseSource& source, TSectionList* list, TAnchorList* anchors,
                     const TParseEvents& events)
{
  DocRoot = list;
  Doc = list ? &list->Document() : nullptr;
  AnchorList = anchors;
  CurCell = list;
  CurSection.reset();
  FEvents = events;
  FScriptHandler = Doc ? Doc->OnScript : nullptr;
  FForm = nullptr;
  StyleFlags = 0;
  ScriptShift = ssNormal;
  ParaAlign = paLeft;
  OpenLink.Clear();
  LinkOpen = false;
  FBaseSize = 3;
  FNesting = 0;
  PageTitle.clear();
  BaseURL.clear();
  BaseTarget.clear();

  switch (source.Kind) {
  case skFile: FTok.BeginFile(source.FileName, events.OnInclude, events.Sender); break;
  case skStrings:
    FTok.BeginStrings(source.Strings ? *source.Strings : std::vector<std::string>(),
                      events.OnInclude, events.Sender);
    break;
  case skStream:
    if (source.Stream)
      FTok.BeginStream(*source.Stream, events.OnInclude, events.Sender);
    else
      FTok.BeginBuffer(nullptr, 0);
    break;
  default:
    FTok.BeginBuffer(source.Buffer, source.Buffer ? source.Size : 0, events.OnInclude,
                     events.Sender);
    break;
  }
  // The text is read in the encoding its bytes show before the fonts take their charset.
  if (Doc) {
    Doc->Utf8 = FTok.Utf8();
    FTok.RefCharset = Doc->TextCharset();
  }
  FontLevels.clear();
  FFontMemo = {};
  FNextMemo = 0;
  if (Doc) {
    const std::string& name = Doc->BodyFontName;
    TMyFont base(QString::fromLatin1(name.data(), int(name.size())), 12, clBlack,
                 Doc->TextCharset());
    base.Reapply(Doc, Doc->TextColor);
    FontLevels.push_back({base, TFontRef()});
  } else {
    FontLevels.push_back({TMyFont(), TFontRef()});
  }
}

void TBuilder::Finish()
{
  FTok.PreMode = FTok.ScriptMode = FTok.NoWrapMode = false;
  CloseSection();
  FontLevels.clear();
  OpenLink.Clear();
  LinkOpen = false;
  CurCell = nullptr;
}

void TBuilder::ParseDocument(const TParseSource& source, TSectionList& list, TAnchorList& anchors,
                             const TParseEvents& events)
{
  try {
    Start(source, &list, &anchors, events);
    FApplyMetaCharset = true;
    FTok.RawScriptBody = bool(FScriptHandler);
    OpenSection(paLeft, 0);
    FTok.Prime();
    ReadBody(0, TSymbolSet());
  } catch (const EParseError&) {
    // An unterminated comment: the document read so far stays.
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
}

void TBuilder::ParsePlainText(const TParseSource& source, TSectionList& list, TAnchorList& anchors)
{
  TokenObj pending;
  try {
    Start(source, &list, &anchors, TParseEvents());
    PushMonospace();
    NewPreLine(0);
    FTok.PreMode = true;
    // Plain text knows no comments: read byte by byte without comment detection.
    FTok.StepChar();
    for (;;) {
      unsigned char c = FTok.CurCh();
      if (c == EofChar)
        break;
      if (c == CR) {
        FlushPre(pending);
        NewPreLine(0);
      } else if (c >= ' ') {
        pending.AppendChar(char(c), FTok.SrcIndex());
        if (pending.Leng() >= PreFlushSize)
          FlushPre(pending);
      }
      FTok.StepChar();
    }
    FlushPre(pending);
  } catch (const EParseError&) {
    FlushPre(pending);
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
}

// ---- fonts ------------------------------------------------------------------------------------

const TFontRef& TBuilder::SharedTop()
{
  TFontLevel& top = FontLevels.back();
  if (!top.Shared)
    top.Shared = TFontRef(top.Font);
  return top.Shared;
}

TFontRef TBuilder::StyledTop()
{
  return SharedTop().Styled(StyleFlags, ssNormal);
}

bool TBuilder::PushFont()
{
  if (int(FontLevels.size()) >= MaxFontLevels)
    return false;
  TFontLevel copy = FontLevels.back();
  FontLevels.push_back(std::move(copy));
  return true;
}

void TBuilder::PopFont()
{
  if (FontLevels.size() > 1)
    FontLevels.pop_back();
}

void TBuilder::PopTo(size_t depth)
{
  while (FontLevels.size() > std::max<size_t>(depth, 1))
    FontLevels.pop_back();
}

void TBuilder::PushMonospace()
{
  PushFont();
  TMyFont& f = Top();
  const std::string& name = Doc->FixedFontName;
  f.setFamily(QString::fromLatin1(name.data(), int(name.size())));
  f.setFixedPitch(true);
  f.Monospace = true;
  f.SetNominalSize(Doc, MonospaceSize);
}

void TBuilder::FontChange()
{
  if (CurSection)
    CurSection->FontChange(SharedTop(), StyleFlags, ScriptShift);
}

bool TBuilder::ApplyFontTag(TSymbol sym, bool inPre)
{
  bool base = sym == symBASEFONT;
  int size = 0;
  bool haveSize = false, haveColor = false;
  TColor color = 0;
  std::string face;
  for (const auto& a : Attrs()) {
    if (a->Sym == attrSIZE) {
      int n = a->Num;
      if (a->Text.size() > 1 && (a->Text[0] == '+' || a->Text[0] == '-'))
        n += FBaseSize;
      size = std::clamp(n, 1, 7);
      haveSize = true;
      if (base)
        FBaseSize = size;
    } else if (a->Sym == attrCOLOR && !base) {
      haveColor = ParseColor(a->Text, color) || haveColor;
    } else if (a->Sym == attrFACE && !base) {
      std::string f = a->Text.substr(0, 50);
      f = strutil::Trim(f.substr(0, f.find(',')));
      if (!f.empty())
        face = f;
    }
  }
  if (base && !(CurCell == DocRoot && DocRoot->Empty()))
    return false;
  PushFont();
  if (!haveSize && !haveColor && face.empty())
    return false;
  SetTop(
      TaggedFont(haveSize ? FontSizeFor(size, inPre) : 0, haveColor, DocumentColor(color), face));
  return true;
}

TFontRef TBuilder::TaggedFont(int size, bool haveColor, TColor color, const std::string& face)
{
  const TFontRef& base = SharedTop();
  const int64_t key = int64_t(size) << 33 | int64_t(haveColor) << 32 | int64_t(uint32_t(color));
  if (const TFontRef* known = Remembered(base, key, face))
    return *known;
  TMyFont f = *base;
  if (haveColor)
    f.Color = color;
  if (size > 0)
    f.SetNominalSize(Doc, size);
  if (!face.empty())
    f.setFamily(QString::fromLatin1(face.data(), int(face.size())));
  TFontRef made(f);
  Remember(base, key, face, made);
  return made;
}

TFontRef TBuilder::LinkFont()
{
  const TFontRef& base = SharedTop();
  const int64_t key = int64_t(1) << 62;
  if (const TFontRef* known = Remembered(base, key, std::string()))
    return *known;
  TFontRef made = base.Styled(Doc->LinkStyle, ssNormal).Recoloured(DocumentColor(Doc->LinkColor));
  Remember(base, key, std::string(), made);
  return made;
}

const TFontRef* TBuilder::Remembered(const TFontRef& base, int64_t key,
                                     const std::string& face) const
{
  for (const TFontMemo& m : FFontMemo)
    if (m.Key == key && m.Base == base && m.Face == face)
      return &m.Result;
  return nullptr;
}

void TBuilder::Remember(const TFontRef& base, int64_t key, const std::string& face, TFontRef result)
{
  FFontMemo[FNextMemo] = {base, key, face, std::move(result)};
  FNextMemo = (FNextMemo + 1) % FFontMemo.size();
}

// ---- sections ---------------------------------------------------------------------------------

void TBuilder::SetSection(std::unique_ptr<TSection> section)
{
  CloseSection();
  CurSection = std::move(section);
  ScriptShift = ssNormal; // a new section starts at normal script position
}

void TBuilder::OpenSection(TParaAlign align, int level)
{
  SetSection(MakeItem<TSection>(align, OpenLink, StyledTop(), level));
}

void TBuilder::EnsureSection(int level)
{
  if (!CurSection)
    OpenSection(ParaAlign, level);
}

void TBuilder::CloseSection()
{
  if (!CurSection)
    return;
  if (CurCell)
    CurCell->Add(std::move(CurSection));
  else
    DiscardSection();
}

void TBuilder::DiscardSection()
{
  if (!CurSection)
    return;
  ForgetAnchors(CurSection.get());
  CurSection.reset();
}

void TBuilder::AddItem(std::unique_ptr<TSectionBase> item)
{
  if (CurCell)
    CurCell->Add(std::move(item));
}

// Anchors and link starts must never point into a section that is freed before the document is
// shown.
void TBuilder::ForgetAnchors(const TSection* section)
{
  if (AnchorList)
    std::erase_if(*AnchorList, [section](const auto& e) { return e.second == section; });
  ForgetLinkStarts(*section);
}

// The dropped section's links are the latest link starts, so they are looked for from the end.
void TBuilder::ForgetLinkStarts(const TSection& section)
{
  if (!Doc)
    return;
  std::vector<TFontObj*>& starts = Doc->LinkStarts;
  for (int i = 0; i < section.Fonts.Count(); ++i) {
    const TFontObj* font = section.Fonts[i];
    if (!font->ListedAsLinkStart)
      continue;
    auto at = std::find(starts.rbegin(), starts.rend(), font);
    if (at != starts.rend())
      starts.erase(std::next(at).base());
  }
}

void TBuilder::ForgetAnchors(const TCell& cell)
{
  for (const auto& item : cell) {
    if (auto* s = dynamic_cast<const TSection*>(item.get()))
      ForgetAnchors(s);
    else if (auto* t = dynamic_cast<const ThtmlTable*>(item.get()))
      ForgetAnchors(*t);
  }
}

void TBuilder::ForgetAnchors(const ThtmlTable& table)
{
  if (table.CaptionCell && table.CaptionCell->Content)
    ForgetAnchors(*table.CaptionCell->Content);
  for (const auto& row : table.Rows)
    for (const auto& cell : *row)
      if (cell->Content)
        ForgetAnchors(*cell->Content);
}

std::string TBuilder::AttrText(TSymbol attr) const
{
  TAttribute* a = Attrs().Find(attr);
  return a ? a->Text : std::string();
}

// ---- body -------------------------------------------------------------------------------------

void TBuilder::ReadBody(int level, const TSymbolSet& endSet)
{
  for (;;) {
    TSymbol s = Sym();
    switch (s) {
    case symEof: Next(); return;
    case symTITLE: DoTitle(); continue;
    case symBODY: DoBody(level); break;
    case symHR: DoHorzLine(); break;
    case symBASE: DoBase(); break;
    case symOL:
    case symUL:
    case symDIR:
    case symMENU:
    case symDL:
    case symBLOCKQUOTE:
      if (FNesting >= MaxNesting)
        break;
      CloseSection();
      ReadList(1, s, endSet);
      // A list that stopped at a symbol of the caller's end set leaves it for the caller.
      if (IsListEnd(Sym()))
        Next();
      continue;
    case symCENTER:
    case symDIV: DoCenterDiv(level, endSet); continue;
    case symBGSOUND: DoSound(); break;
    case symMETA: DoMeta(); break;
    default:
      if (IsCommonSymbol(s)) {
        ReadCommon(level);
        continue;
      }
      if (endSet.test(s))
        return;
      break;
    }
    Next();
  }
}

void TBuilder::DoTitle()
{
  PageTitle.clear(); // a later TITLE replaces an earlier one
  Next();
  while (Sym() == symText) {
    PageTitle += FTok.CurToken().Chars();
    Next();
  }
}

void TBuilder::DoBody(int level)
{
  if (!CurCell || !CurCell->Empty())
    return;
  DiscardSection(); // text that stood before BODY is dropped
  TColor c = 0;
  for (const auto& a : Attrs()) {
    switch (a->Sym) {
    case attrTEXT:
      if (ParseColor(a->Text, c)) {
        Top().Color = DocumentColor(c);
        Doc->TextColor = DocumentColor(c);
      }
      break;
    case attrLINK:
      if (ParseColor(a->Text, c))
        Doc->LinkColor = DocumentColor(c);
      break;
    case attrBGCOLOR:
      if (ParseColor(a->Text, c)) {
        Doc->SetPageColor(DocumentColor(c));
        Doc->OwnPageColor = true;
      }
      break;
    case attrBACKGROUND: Doc->SetPageImage(a->Text); break;
    case attrVLINK:
      if (ParseColor(a->Text, c))
        Doc->VisitedColor = DocumentColor(c);
      break;
    case attrOLINK:
      if (ParseColor(a->Text, c)) {
        Doc->OverColor = DocumentColor(c);
        Doc->HoverColoring = true;
      }
      break;
    default: break;
    }
  }
  TMyFont base = FontLevels.front().Font;
  base.AddStyle(StyleFlags);
  SetSection(MakeItem<TSection>(ParaAlign, TUrlTarget(), base, level));
}

void TBuilder::DoHorzLine()
{
  CloseSection();
  AddItem(MakeItem<THorzLine>(Attrs()));
}

void TBuilder::DoBase()
{
  if (TAttribute* a = Attrs().Find(attrHREF))
    BaseURL = a->Text;
  if (TAttribute* a = Attrs().Find(attrTARGET))
    BaseTarget = a->Text;
}

void TBuilder::DoCenterDiv(int level, const TSymbolSet& endSet)
{
  if (FNesting >= MaxNesting) {
    Next();
    return;
  }
  CloseSection();
  TParaAlign saved = ParaAlign;
  if (Sym() == symCENTER)
    ParaAlign = paCenter;
  else if (TAttribute* a = Attrs().Find(attrALIGN))
    ParaAlign = AlignOf(a->Text, ParaAlign);
  OpenSection(ParaAlign, level);
  Next();
  ++FNesting;
  TSymbolSet inner = endSet;
  inner.set(symCENTEREnd);
  inner.set(symDIVEnd);
  ReadBody(level, inner);
  --FNesting;
  CloseSection();
  ParaAlign = saved;
  OpenSection(ParaAlign, level);
  if (Sym() == symCENTEREnd || Sym() == symDIVEnd)
    Next();
}

void TBuilder::DoSound()
{
  TAttribute* src = Attrs().Find(attrSRC);
  if (!FEvents.OnSoundRequest || !src)
    return;
  TAttribute* loop = Attrs().Find(attrLOOP);
  FEvents.OnSoundRequest(FEvents.Sender, src->Text, loop ? loop->Num : 1, false);
}

void TBuilder::DoMeta()
{
  std::string httpEq = AttrText(attrHTTP_EQUIV);
  std::string name = AttrText(attrNAME);
  std::string content = AttrText(attrCONTENT);
  // A document whose bytes or byte-order mark show UTF-8 stays UTF-8 whatever its META says.
  if (FApplyMetaCharset && !FontLevels.empty() && strutil::SameText(httpEq, "content-type") &&
      !FTok.Utf8()) {
    const int named = CharsetFromContent(content, -1);
    const int charset = named >= 0 ? named : Doc ? Doc->CharsetCode : 0;
    Top().Charset = charset;
    FTok.RefCharset = charset;
    if (Doc && charset == codepage::CharsetUtf8)
      Doc->Utf8 = true;
    else if (Doc && named >= 0)
      Doc->MetaCharset = named;
    FontChange(); // text still to come in the open section is in the new charset too
  }
  if (FEvents.OnMeta)
    FEvents.OnMeta(FEvents.Sender, httpEq, name, content);
}

// ---- common symbols ---------------------------------------------------------------------------

bool TBuilder::IsCommonSymbol(TSymbol s) const
{
  static const TSymbolSet common = SetOf({
      symP,       symPEnd,   symB,        symBEnd,        symSTRONG,     symSTRONGEnd, symI,
      symIEnd,    symEM,     symEMEnd,    symCITE,        symCITEEnd,    symVAR,       symVAREnd,
      symU,       symUEnd,   symS,        symSEnd,        symSTRIKE,     symSTRIKEEnd, symSUB,
      symSUBEnd,  symSUP,    symSUPEnd,   symBR,          symH,          symHEnd,      symTT,
      symTTEnd,   symCODE,   symCODEEnd,  symKBD,         symKBDEnd,     symSAMP,      symSAMPEnd,
      symFONTEnd, symBIGEnd, symSMALLEnd, symADDRESS,     symADDRESSEnd, symPRE,       symIMG,
      symPANEL,   symA,      symAEnd,     symText,        symTABLE,      symFORM,      symFORMEnd,
      symINPUT,   symSELECT, symTEXTAREA, symTEXTAREAEnd, symFONT,       symBASEFONT,  symBIG,
      symSMALL,   symMAP,    symPAGE,     symSCRIPT,      symNOBR,       symNOBREnd,   symWBR,
  });
  return common[s]; // a symbol is always inside the set's range
}

void TBuilder::ReadCommon(int level)
{
  switch (Sym()) {
  case symP:
  case symPEnd: DoParagraph(level); return;
  case symPRE: ReadPre(level); return;
  case symTABLE: ReadTable(level); return;
  case symMAP:
    if (ReadMap())
      Next();
    return;
  default:
    DoInline(level);
    Next();
    return;
  }
}

// The symbols handled the same in running text and in pre-formatted text. None of them moves
// past the current symbol (the MAP and SCRIPT readers leave their end tag current).
bool TBuilder::DoInline(int level)
{
  TSymbol s = Sym();
  switch (s) {
  case symB:
  case symBEnd:
  case symSTRONG:
  case symSTRONGEnd:
  case symI:
  case symIEnd:
  case symEM:
  case symEMEnd:
  case symCITE:
  case symCITEEnd:
  case symVAR:
  case symVAREnd:
  case symU:
  case symUEnd:
  case symS:
  case symSEnd:
  case symSTRIKE:
  case symSTRIKEEnd:
  case symSUB:
  case symSUBEnd:
  case symSUP:
  case symSUPEnd: DoStyle(s, level); return true;
  case symBR: DoLineBreak(level); return true;
  case symH: DoHeading(level); return true;
  case symHEnd: DoHeadingEnd(); return true;
  case symTT:
  case symCODE:
  case symKBD:
  case symSAMP:
    PushMonospace();
    FontChange();
    return true;
  case symTTEnd:
  case symCODEEnd:
  case symKBDEnd:
  case symSAMPEnd:
  case symFONTEnd:
  case symBIGEnd:
  case symSMALLEnd:
    PopFont();
    FontChange();
    return true;
  case symADDRESS:
    CloseSection();
    PushFont();
    Top().setItalic(true);
    OpenSection(ParaAlign, level);
    return true;
  case symADDRESSEnd:
    CloseSection();
    PopFont();
    return true;
  case symIMG:
    EnsureSection(level);
    CurSection->PlaceImage(Attrs(), CurCell, FTok.TagStart(), FTok.NoWrapMode);
    return true;
  case symPANEL:
    EnsureSection(level);
    CurSection->PlacePanel(Attrs(), FTok.TagStart(), FTok.NoWrapMode);
    return true;
  case symA: DoAnchor(level); return true;
  case symAEnd: EndLink(); return true;
  case symText:
    EnsureSection(level);
    CurSection->AppendRun(FTok.CurToken());
    return true;
  case symFORM:
  case symFORMEnd:
  case symINPUT:
  case symSELECT:
  case symTEXTAREA:
  case symTEXTAREAEnd: return DoFormSymbol(level);
  case symFONT:
  case symBASEFONT:
    if (ApplyFontTag(s, false))
      FontChange();
    return true;
  case symBIG: DoBigSmall(true); return true;
  case symSMALL: DoBigSmall(false); return true;
  case symPAGE:
    CloseSection();
    AddItem(MakeItem<TPage>());
    return true;
  case symSCRIPT: ReadScript(FScriptHandler); return true;
  case symNOBR: FTok.NoWrapMode = true; return true;
  case symNOBREnd: FTok.NoWrapMode = false; return true;
  case symWBR:
    if (CurSection && FTok.NoWrapMode)
      CurSection->AppendChar(' ', FTok.TagStart());
    return true;
  default: return false;
  }
}

void TBuilder::DoParagraph(int level)
{
  CloseSection();
  if (!FTok.ParaSpaceAdded)
    AddItem(MakeItem<TParagraphSpace>());
  FTok.SkipBlanks();
  // An end tag carries no attributes of its own: the list still holds the last tag's.
  auto alignOf = [this](TSymbol s) {
    TAttribute* a = s == symP ? Attrs().Find(attrALIGN) : nullptr;
    return a ? AlignOf(a->Text, ParaAlign) : ParaAlign;
  };
  TParaAlign align = alignOf(Sym());
  FTok.ParaSpaceAdded = true;
  Next();
  while (Sym() == symP || Sym() == symPEnd) {
    align = alignOf(Sym());
    FTok.SkipBlanks();
    Next();
  }
  OpenSection(align, level);
}

void TBuilder::DoStyle(TSymbol s, int level)
{
  switch (s) {
  case symB:
  case symSTRONG: StyleFlags |= fsBold; break;
  case symBEnd:
  case symSTRONGEnd: StyleFlags &= ~fsBold; break;
  case symI:
  case symEM:
  case symCITE:
  case symVAR: StyleFlags |= fsItalic; break;
  case symIEnd:
  case symEMEnd:
  case symCITEEnd:
  case symVAREnd: StyleFlags &= ~fsItalic; break;
  case symU: StyleFlags |= fsUnderline; break;
  case symUEnd: StyleFlags &= ~fsUnderline; break;
  case symS:
  case symSTRIKE: StyleFlags |= fsStrikeOut; break;
  case symSEnd:
  case symSTRIKEEnd: StyleFlags &= ~fsStrikeOut; break;
  case symSUB:
  case symSUP:
    EnsureSection(level);
    ScriptShift = s == symSUB ? ssSubscript : ssSuperscript;
    break;
  case symSUBEnd:
  case symSUPEnd: ScriptShift = ssNormal; break;
  default: break;
  }
  FontChange();
}

void TBuilder::DoLineBreak(int level)
{
  TParaAlign align = CurSection ? CurSection->FinishLine() : ParaAlign;
  CloseSection();
  OpenSection(align, level);
  if (TAttribute* a = Attrs().Find(attrCLEAR)) {
    std::string v = strutil::LowerCase(strutil::Trim(a->Text));
    CurSection->ClearSide = v == "left" ? clLeftSide : v == "right" ? clRightSide : clBothSides;
  }
}

void TBuilder::DoHeading(int level)
{
  if (int(FontLevels.size()) >= MaxFontLevels)
    return;
  int digit = std::clamp(FTok.HeadingDigit(), 0, 6);
  CloseSection();
  PushFont();
  Top().SetNominalSize(Doc, HeadingSizes[digit]);
  Top().setBold(digit != 0);
  AddItem(MakeItem<THeadingSpace>(digit));
  TAttribute* a = Attrs().Find(attrALIGN);
  OpenSection(a ? AlignOf(a->Text, ParaAlign) : ParaAlign, level);
}

void TBuilder::DoHeadingEnd()
{
  if (FontLevels.size() <= 1)
    return;
  CloseSection();
  AddItem(MakeItem<THeadingSpace>(std::clamp(FTok.HeadingDigit(), 0, 6)));
  PopFont();
}

void TBuilder::DoAnchor(int level)
{
  for (const auto& a : Attrs()) {
    if (a->Sym == attrHREF) {
      if (LinkOpen)
        EndLink();
      TAttribute* target = Attrs().Find(attrTARGET);
      OpenLink.Assign(a->Text, target ? target->Text : std::string());
      LinkOpen = true;
      PushFont();
      SetTop(LinkFont());
      if (CurSection)
        CurSection->LinkMark(true, SharedTop(), StyleFlags, OpenLink);
    } else if (a->Sym == attrNAME && AnchorList) {
      EnsureSection(level);
      std::string name = strutil::UpperCase(a->Text);
      if (!name.empty() && name[0] == '#')
        name.erase(0, 1);
      AnchorList->emplace_back(std::move(name), CurSection.get());
    }
  }
}

void TBuilder::EndLink()
{
  if (LinkOpen) {
    OpenLink.Clear();
    LinkOpen = false;
    PopFont();
  }
  if (CurSection)
    CurSection->LinkMark(false, SharedTop(), StyleFlags, TUrlTarget());
}

void TBuilder::DoBigSmall(bool bigger)
{
  PushFont();
  const int* end = NormalSizes + 7;
  // Read without Top(): an unchanged font keeps its shared copy.
  const int* at = std::find(NormalSizes, end, FontLevels.back().Font.NominalSize);
  if (at != end) {
    int i = int(at - NormalSizes) + (bigger ? 1 : -1);
    if (i >= 0 && i < 7)
      Top().SetNominalSize(Doc, NormalSizes[i]);
  }
  FontChange();
}

// After MAP. True when the map ended at its end tag (which is current).
bool TBuilder::ReadMap()
{
  auto map = std::make_unique<TMapItem>();
  map->Name = strutil::UpperCase(AttrText(attrNAME));
  Next();
  int stray = 0;
  while (Sym() != symMAPEnd && Sym() != symEof && stray < 3) {
    if (Sym() == symAREA)
      map->AddArea(Attrs());
    else if (Sym() != symText && ++stray == 3)
      return false; // a map with stray markup inside is dropped; the markup is read as usual
    Next();
  }
  if (Sym() != symMAPEnd)
    return false;
  Doc->Maps.Add(std::move(map));
  return true;
}

// After SCRIPT; leaves the end tag current (or consumed with it when a handler reads the body).
void TBuilder::ReadScript(const TScriptEvent& handler)
{
  if (!handler) {
    while (Sym() != symSCRIPTEnd && Sym() != symEof)
      Next();
    return;
  }
  std::string language = AttrText(attrLANGUAGE);
  std::string body = FTok.ReadScriptBody();
  handler(FEvents.Sender, language, body);
}

// ---- lists ------------------------------------------------------------------------------------

void TBuilder::ReadList(int level, TSymbol listSymbol, const TSymbolSet& endSet)
{
  char numberType = '1';
  int32_t number = 1;
  bool plain = false;
  if (listSymbol == symOL) {
    if (TAttribute* a = Attrs().Find(attrSTART); a && a->Num >= 0)
      number = a->Num;
    if (TAttribute* a = Attrs().Find(attrTYPE); a && !a->Text.empty())
      numberType = a->Text[0];
  } else if (listSymbol == symUL) {
    plain = Attrs().Find(attrPLAIN) != nullptr;
  }
  CloseSection();
  Next();
  if (IsListEnd(Sym()))
    return;
  ++FNesting;
  int lineLevel = level;
  while (!IsListEnd(Sym()) && Sym() != symEof) {
    TSymbol s = Sym();
    switch (s) {
    case symHR:
      DoHorzLine();
      Next();
      break;
    case symOL:
    case symUL:
    case symDIR:
    case symMENU:
    case symDL:
    case symBLOCKQUOTE:
      if (FNesting >= MaxNesting) {
        Next();
        break;
      }
      CloseSection();
      ReadList(level + 1, s, endSet);
      if (IsListEnd(Sym()))
        Next();
      break;
    case symLI:
      OpenListItem(listSymbol, level, numberType, number, plain);
      FTok.SkipBlanks();
      Next();
      if (Sym() == symP)
        Next();
      lineLevel = level;
      break;
    case symDD:
    case symDT:
      lineLevel = s == symDD ? level : level - 1;
      SetSection(MakeItem<TDListItem>(OpenLink, StyledTop(), lineLevel));
      Next();
      break;
    case symCENTER:
    case symDIV: {
      TSymbolSet inner = endSet | ListEndTags;
      inner.set(symLI);
      inner.set(symDD);
      inner.set(symDT);
      DoCenterDiv(lineLevel, inner);
      break;
    }
    case symTABLE:
      if (CurSection)
        CurSection->FinishLine();
      ReadTable(lineLevel);
      break;
    default:
      if (IsCommonSymbol(s))
        ReadCommon(lineLevel);
      else if (endSet.test(s)) {
        --FNesting;
        return;
      } else
        Next();
      break;
    }
  }
  --FNesting;
  CloseSection();
}

void TBuilder::OpenListItem(TSymbol listSymbol, int level, char numberType, int32_t& number,
                            bool plain)
{
  if (listSymbol == symOL) {
    SetSection(MakeItem<TOListItem>(OpenLink, StyledTop(), numberType, number, level));
    if (number < INT32_MAX)
      ++number;
  } else {
    auto item = MakeItem<TUListItem>(OpenLink, StyledTop(), level);
    item->Plain = plain && listSymbol == symUL;
    SetSection(std::move(item));
  }
}

// ---- pre-formatted text -----------------------------------------------------------------------

void TBuilder::NewPreLine(int level)
{
  SetSection(MakeItem<TPreFormated>(paLeft, OpenLink, StyledTop(), level));
}

void TBuilder::FlushPre(TokenObj& pending)
{
  if (pending.Empty())
    return;
  if (CurSection)
    CurSection->AppendRun(pending);
  pending.Clear();
}

void TBuilder::ReadPre(int level)
{
  CloseSection();
  size_t depth = FontLevels.size();
  PushMonospace();
  NewPreLine(level);
  FTok.PreMode = true;
  struct TPreGuard {
    bool& Flag;
    ~TPreGuard() { Flag = false; }
  } guard{FTok.PreMode};
  TokenObj pending;
  for (;;) {
    unsigned char c = FTok.CurCh();
    if (c == EofChar)
      break;
    if (c == CR) {
      FlushPre(pending);
      NewPreLine(level);
      FTok.AdvanceChar();
    } else if (c == '&' || c == '<') {
      FlushPre(pending);
      Next();
      if (Sym() == symText)
        CurSection->AppendRun(FTok.CurToken());
      else if (!PreTag(level, depth, pending))
        break;
    } else {
      // Control bytes would read as object placeholders in the section text.
      if (c >= ' ')
        pending.AppendChar(char(c), FTok.SrcIndex());
      if (pending.Leng() > PreFlushSize)
        FlushPre(pending);
      FTok.AdvanceChar();
    }
  }
  FlushPre(pending);
  CloseSection();
  FTok.PreMode = false;
  PopTo(depth);
  // The end of a table cell also ends PRE; the table reader still needs to see it. Anything
  // else (the end tag, or the end of the input) is passed.
  if (Sym() != symTDEnd && Sym() != symTHEnd)
    Next();
}

// A tag inside PRE; false when it ends the pre-formatted text.
bool TBuilder::PreTag(int level, size_t depth, TokenObj& pending)
{
  TSymbol s = Sym();
  switch (s) {
  case symP:
  case symBR:
    FlushPre(pending);
    NewPreLine(level);
    if (FTok.CurCh() == CR)
      FTok.AdvanceChar();
    return true;
  case symB:
  case symBEnd:
  case symI:
  case symIEnd:
  case symEM:
  case symEMEnd:
  case symSTRONG:
  case symSTRONGEnd:
  case symU:
  case symUEnd:
  case symCITE:
  case symCITEEnd:
  case symVAR:
  case symVAREnd:
  case symS:
  case symSEnd:
  case symSTRIKE:
  case symSTRIKEEnd:
  case symIMG:
  case symPANEL:
  case symA:
  case symAEnd:
  case symINPUT:
  case symSELECT:
  case symTEXTAREA:
  case symFORM:
  case symFORMEnd:
  case symSCRIPT: DoInline(level); return true;
  case symMAP: ReadMap(); return true;
  case symPAGE:
    CloseSection();
    AddItem(MakeItem<TPage>());
    NewPreLine(level);
    return true;
  case symFONT:
  case symBASEFONT:
    if (ApplyFontTag(s, true))
      FontChange();
    return true;
  case symFONTEnd:
    // Only fonts pushed inside this PRE (above its monospace font) are popped.
    if (FontLevels.size() > depth + 1) {
      PopFont();
      FontChange();
    }
    return true;
  case symPREEnd:
  case symTDEnd:
  case symTHEnd:
  case symEof: return false;
  default: return true;
  }
}
