#include "editor/HTMLHighlighter.h"

#include "editor/HTMLVocabulary.h"

namespace {

const char* const KindNames[] = {
    "TokenEntity", "TokenAsp",    "TokenComment", "TokenIdentifier", "TokenKey",      "TokenNull",
    "TokenSpace",  "TokenString", "TokenSymbol",  "TokenText",       "TokenUndefKey", "TokenValue",
};

bool IsBlank(unsigned char c)
{
  return c != 0 && c != '\n' && c != '\r' && c <= 32;
}

bool IsLineEnd(unsigned char c)
{
  return c == 0 || c == '\n' || c == '\r';
}

} // namespace

std::string TokenKindName(int kind)
{
  if (kind >= 0 && kind <= TokenValue)
    return KindNames[kind];
  return std::to_string(kind);
}

TtxHTMLHighlighter::TtxHTMLHighlighter()
{
  auto make = [this](const char* name, TColor fg, TColor bg, TFontStyles style) {
    TtxHighLightAttributes* a = AddAttribute(name);
    a->SetForeground(fg);
    a->SetBackground(bg);
    a->SetStyle(style);
    return a;
  };
  AndAttri = make("Escape ampersand", clLime, clWindow, fsBold);
  ASPAttri = make("Asp", clBlack, clYellow, 0);
  CommentAttri = make("Comment", clWindowText, clWindow, 0);
  IdentifierAttri = make("Identifier", clWindowText, clWindow, fsBold);
  KeyAttri = make("Reserved word", 16711808, clWindow, fsBold);
  SpaceAttri = make("Space", clWindowText, clWindow, 0);
  SymbolAttri = make("Symbol", clWindowText, clWindow, fsBold);
  TextAttri = make("Text", clWindowText, clWindow, 0);
  UndefKeyAttri = make("Unknown word", clRed, clWindow, fsBold);
  ValueAttri = make("Value", 16744448, clWindow, 0);
  SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
  FLine.push_back('\0');
}

const TIdentChars& TtxHTMLHighlighter::IdentifierChars() const
{
  static const TIdentChars chars = [] {
    TIdentChars set;
    for (int c = '0'; c <= '9'; ++c)
      set.set(c);
    for (int c = 'A'; c <= 'Z'; ++c)
      set.set(c).set(c + 32);
    return set;
  }();
  return chars;
}

std::string_view TtxHTMLHighlighter::CurrentTokenText() const
{
  return std::string_view(FLine.data() + FTokenPos, size_t(FRun - FTokenPos));
}

TtxHighLightAttributes* TtxHTMLHighlighter::TokenAttributes() const
{
  switch (FTokenKind) {
  case TokenEntity: return AndAttri;
  case TokenAsp: return ASPAttri;
  case TokenComment: return CommentAttri;
  case TokenIdentifier: return IdentifierAttri;
  case TokenKey: return KeyAttri;
  case TokenSpace: return SpaceAttri;
  case TokenString: return ValueAttri;
  case TokenSymbol: return SymbolAttri;
  case TokenText: return TextAttri;
  case TokenUndefKey: return UndefKeyAttri;
  case TokenValue: return ValueAttri;
  default: return nullptr;
  }
}

void TtxHTMLHighlighter::StartLine(std::string_view text, int lineNumber)
{
  FLine.assign(text);
  FLine.push_back('\0');
  FLineNumber = lineNumber;
  FRun = 0;
  FEntityIndex = -1;
  // An "&" inside a tag keeps the kind before it; at the start of a line that must not be the
  // previous line's end, or the line would look finished before it is scanned.
  FTokenKind = TokenText;
  NextToken();
}

void TtxHTMLHighlighter::NextToken()
{
  FTokenPos = FRun;
  switch (FRange) {
  case RangeAsp: BlockScan(TokenAsp, '%', 1); break;
  case RangeComment: BlockScan(TokenComment, '-', 2); break;
  case RangeText: TextScan(); break;
  default: Dispatch(); break;
  }
}

void TtxHTMLHighlighter::Dispatch()
{
  unsigned char c = At(FRun);
  switch (c) {
  case 0: FTokenKind = TokenNull; break;
  case '\n':
    FTokenKind = TokenSpace;
    ++FRun;
    break;
  case '\r':
    FTokenKind = TokenSpace;
    ++FRun;
    if (At(FRun) == '\n')
      ++FRun;
    break;
  case '"': StringProc(); break;
  case '&': AndProc(); break;
  case '<': LowerProc(); break;
  case '=':
    FTokenKind = TokenSymbol;
    ++FRun;
    FRange = RangeAttrValue;
    break;
  case '>':
    FTokenKind = TokenSymbol;
    ++FRun;
    FRange = RangeText;
    break;
  default:
    if (c <= 32)
      BlanksProc();
    else
      NameProc();
  }
}

void TtxHTMLHighlighter::BlanksProc()
{
  FTokenKind = TokenSpace;
  while (IsBlank(At(FRun)))
    ++FRun;
}

void TtxHTMLHighlighter::TextScan()
{
  unsigned char c = At(FRun);
  if (c < 32 || c == '<') {
    Dispatch();
    return;
  }
  FTokenKind = TokenText;
  const char* line = FLine.data();
  for (;; ++FRun) {
    c = At(FRun);
    if (c < 32 || c == '<')
      return;
    if (c == '&') {
      int index = htmlvocab::MatchEntity(line + FRun);
      if (index >= 0) {
        FEntityIndex = index;
        FRange = RangeEntity;
        return;
      }
    }
  }
}

// Comments and script blocks: up to the closer (">" after "--" or "%"), or the line end.
void TtxHTMLHighlighter::BlockScan(int kind, char closer, int closerLength)
{
  if (IsLineEnd(At(FRun))) {
    Dispatch();
    return;
  }
  FTokenKind = kind;
  while (!IsLineEnd(At(FRun))) {
    bool closes = At(FRun) == '>' && FRun >= closerLength;
    for (int i = 1; closes && i <= closerLength; ++i)
      closes = FLine[FRun - i] == closer;
    ++FRun;
    if (closes) {
      FRange = RangeText;
      return;
    }
  }
}

void TtxHTMLHighlighter::AndProc()
{
  // Without a remembered entity (an "&" inside a tag) nothing is consumed and the kind stays.
  if (FEntityIndex >= 0) {
    FTokenKind = TokenEntity;
    FRun += int(htmlvocab::Entity(FEntityIndex).size());
  }
  FEntityIndex = -1;
  FRange = RangeText;
}

void TtxHTMLHighlighter::LowerProc()
{
  if (At(FRun + 1) == '!' && At(FRun + 2) == '-' && At(FRun + 3) == '-') {
    FTokenKind = TokenComment;
    FRun += 4;
    FRange = RangeComment;
  } else if (At(FRun + 1) == '%') {
    FTokenKind = TokenAsp;
    FRun += 2;
    FRange = RangeAsp;
  } else {
    FTokenKind = TokenSymbol;
    ++FRun;
    FRange = RangeTagName;
  }
}

void TtxHTMLHighlighter::NameProc()
{
  if (FRange == RangeTagName) {
    FRange = RangeTagInside;
    htmlvocab::THashedName name = htmlvocab::HashName(FLine.data() + FRun);
    if (name.Hash >= htmlvocab::KeywordHashSlots)
      FTokenKind = TokenIdentifier;
    else
      FTokenKind = htmlvocab::IsKeyword(FLine.data() + FRun, name.Length, name.Hash)
                       ? TokenKey
                       : TokenUndefKey;
    FRun += name.Length;
  } else if (FRange == RangeAttrValue) {
    FRange = RangeTagInside;
    FTokenKind = TokenValue;
    while (At(FRun) >= 33 && At(FRun) != '>')
      ++FRun;
  } else {
    FTokenKind = TokenIdentifier;
    for (unsigned char c = At(FRun); c >= 33 && c != '"' && c != '=' && c != '>'; c = At(FRun))
      ++FRun;
  }
}

void TtxHTMLHighlighter::StringProc()
{
  if (FRange == RangeAttrValue) {
    FTokenKind = TokenValue;
    FRange = RangeTagInside;
  } else {
    FTokenKind = TokenString;
  }
  ++FRun;
  while (At(FRun) != 0 && At(FRun) != '"')
    ++FRun;
  if (At(FRun) == '"')
    ++FRun;
}
