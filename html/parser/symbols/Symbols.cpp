#include "html/parser/symbols/Symbols.h"

#include <array>
#include <cstring>
#include <string>

namespace {

struct TTagRow {
  const char* Word;
  bool Attr; // attributes are collected into the list
};

// In table order; row k has start symbol k.
constexpr TTagRow TagTable[TagCount] = {
    {"HTML", false},   {"TITLE", false},   {"BODY", true},      {"HEAD", false},
    {"B", false},      {"I", false},       {"H", true},         {"EM", false},
    {"STRONG", false}, {"U", false},       {"CITE", false},     {"VAR", false},
    {"TT", false},     {"CODE", false},    {"KBD", false},      {"SAMP", false},
    {"OL", true},      {"UL", true},       {"DIR", false},      {"MENU", false},
    {"DL", false},     {"A", true},        {"ADDRESS", false},  {"BLOCKQUOTE", false},
    {"PRE", false},    {"CENTER", false},  {"TABLE", true},     {"TD", true},
    {"TH", true},      {"CAPTION", true},  {"FORM", true},      {"TEXTAREA", true},
    {"SELECT", true},  {"OPTION", true},   {"FONT", true},      {"SUB", false},
    {"SUP", false},    {"BIG", false},     {"SMALL", false},    {"P", true},
    {"MAP", true},     {"FRAMESET", true}, {"NOFRAMES", false}, {"SCRIPT", true},
    {"DIV", true},     {"S", false},       {"STRIKE", false},   {"TR", true},
    {"NOBR", false},   {"LI", false},      {"BR", true},        {"HR", true},
    {"DD", false},     {"DT", false},      {"IMG", true},       {"BASE", true},
    {"BUTTON", false}, {"INPUT", true},    {"SELECTED", false}, {"BASEFONT", true},
    {"AREA", true},    {"FRAME", true},    {"PAGE", false},     {"BGSOUND", true},
    {"WRAP", true},    {"META", true},     {"PANEL", true},     {"WBR", false},
};

struct TAttrRow {
  const char* Word;
  TSymbol Sym;
};

constexpr TAttrRow AttrTable[AttributeWordCount] = {
    {"HREF", attrHREF},
    {"NAME", attrNAME},
    {"SRC", attrSRC},
    {"ALT", attrALT},
    {"ALIGN", attrALIGN},
    {"TEXT", attrTEXT},
    {"BGCOLOR", attrBGCOLOR},
    {"LINK", attrLINK},
    {"BACKGROUND", attrBACKGROUND},
    {"COLSPAN", attrCOLSPAN},
    {"ROWSPAN", attrROWSPAN},
    {"BORDER", attrBORDER},
    {"CELLPADDING", attrCELLPADDING},
    {"CELLSPACING", attrCELLSPACING},
    {"VALIGN", attrVALIGN},
    {"WIDTH", attrWIDTH},
    {"START", attrSTART},
    {"VALUE", attrVALUE},
    {"TYPE", attrTYPE},
    {"CHECKBOX", attrCHECKBOX},
    {"RADIO", attrRADIO},
    {"METHOD", attrMETHOD},
    {"ACTION", attrACTION},
    {"CHECKED", attrCHECKED},
    {"SIZE", attrSIZE},
    {"MAXLENGTH", attrMAXLENGTH},
    {"COLS", attrCOLS},
    {"ROWS", attrROWS},
    {"MULTIPLE", attrMULTIPLE},
    {"VALUE", attrVALUE},
    {"SELECTED", attrSELECTED},
    {"FACE", attrFACE},
    {"COLOR", attrCOLOR},
    {"TRANSP", attrTRANSP},
    {"CLEAR", attrCLEAR},
    {"ISMAP", attrISMAP},
    {"BORDERCOLOR", attrBORDERCOLOR},
    {"USEMAP", attrUSEMAP},
    {"SHAPE", attrSHAPE},
    {"COORDS", attrCOORDS},
    {"NOHREF", attrNOHREF},
    {"HEIGHT", attrHEIGHT},
    {"PLAIN", attrPLAIN},
    {"TARGET", attrTARGET},
    {"NORESIZE", attrNORESIZE},
    {"SCROLLING", attrSCROLLING},
    {"HSPACE", attrHSPACE},
    {"LANGUAGE", attrLANGUAGE},
    {"FRAMEBORDER", attrFRAMEBORDER},
    {"MARGINWIDTH", attrMARGINWIDTH},
    {"MARGINHEIGHT", attrMARGINHEIGHT},
    {"LOOP", attrLOOP},
    {"ONCLICK", attrONCLICK},
    {"WRAP", attrWRAP},
    {"NOSHADE", attrNOSHADE},
    {"HTTP-EQUIV", attrHTTP_EQUIV},
    {"CONTENT", attrCONTENT},
    {"ENCTYPE", attrENCTYPE},
    {"VLINK", attrVLINK},
    {"OLINK", attrOLINK},
    {"ACTIVE", attrACTIVE},
};

// The first seven names decode to fixed text; name n (from 1) of the rest is character n + 152.
constexpr const char* CharRefNames[CharRefCount] = {
    "amp",    "lt",     "gt",     "quot",   "rsquo",  "ndash",  "hellip", "nbsp",   "iexcl",
    "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14",
    "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",
    "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",
    "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave",
    "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute",
    "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve",
    "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute", "ucirc",
    "uuml",   "yacute", "thorn",  "yuml",
};
constexpr int FixedCharRefs = 7;
constexpr const char* FixedCharRefText[FixedCharRefs] = {"&", "<", ">", "\"", "'", "-", "..."};

struct TColorName {
  const char* Name;
  TColor Color;
};

constexpr TColorName ColorNames[ColorNameCount] = {
    {"BLACK", clBlack},   {"MAROON", clMaroon},   {"GREEN", clGreen}, {"OLIVE", clOlive},
    {"NAVY", clNavy},     {"PURPLE", clPurple},   {"TEAL", clTeal},   {"GRAY", clGray},
    {"SILVER", clSilver}, {"RED", clRed},         {"LIME", clLime},   {"YELLOW", clYellow},
    {"BLUE", clBlue},     {"FUCHSIA", clFuchsia}, {"AQUA", clAqua},   {"WHITE", clWhite},
};

// Decoded text of the Latin-1 references: one byte each, indexed by name number.
constexpr auto Latin1Text = [] {
  std::array<char, CharRefCount> bytes{};
  for (int n = 0; n < CharRefCount; ++n)
    bytes[size_t(n)] = char(uint8_t(n + 1 + 152));
  return bytes;
}();

// Tag rows grouped by first letter, in table order, so a lookup compares only a few words
// while keeping "first match in table order".
struct TTagIndex {
  std::array<std::array<int8_t, 12>, 26> Rows{};
  std::array<uint8_t, 26> Count{};
};
constexpr TTagIndex TagIndex = [] {
  TTagIndex index;
  for (int r = 0; r < TagCount; ++r) {
    int letter = TagTable[r].Word[0] - 'A';
    index.Rows[size_t(letter)][index.Count[size_t(letter)]++] = int8_t(r);
  }
  return index;
}();

bool SameWord(const char* word, std::string_view s)
{
  size_t n = std::strlen(word);
  return n == s.size() && std::memcmp(word, s.data(), n) == 0;
}

int HexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

bool TagTakesAttributes(TSymbol start)
{
  return IsStartTag(start) && TagTable[start].Attr;
}

const char* SymbolWord(TSymbol s)
{
  if (IsStartTag(s) || IsEndTag(s))
    return TagTable[StartSymbolOf(s)].Word;
  for (const auto& row : AttrTable)
    if (row.Sym == s)
      return row.Word;
  switch (s) {
  case symText: return "TEXT";
  case symEof: return "EOF";
  case symUnknownTag: return "UNKNOWN";
  case symOtherChar: return "OTHER";
  case symLineEnd: return "LINEEND";
  default: return "?";
  }
}

TSymbol LookupTag(std::string_view upperWord, bool endTag)
{
  if (upperWord.empty() || upperWord[0] < 'A' || upperWord[0] > 'Z')
    return symUnknownTag;
  int letter = upperWord[0] - 'A';
  for (int i = 0; i < TagIndex.Count[size_t(letter)]; ++i) {
    int row = TagIndex.Rows[size_t(letter)][size_t(i)];
    if (SameWord(TagTable[row].Word, upperWord))
      return endTag ? EndSymbolOf(TSymbol(row)) : TSymbol(row);
  }
  return symUnknownTag;
}

TSymbol LookupAttribute(std::string_view upperName)
{
  for (const auto& row : AttrTable)
    if (SameWord(row.Word, upperName))
      return row.Sym;
  return symUnknownAttr;
}

bool LookupCharRef(std::string_view name, std::string_view& text)
{
  for (int n = 0; n < CharRefCount; ++n) {
    if (!SameWord(CharRefNames[n], name))
      continue;
    if (n < FixedCharRefs)
      text = FixedCharRefText[n];
    else
      text = std::string_view(&Latin1Text[size_t(n)], 1);
    return true;
  }
  return false;
}

bool ParseColor(std::string_view text, TColor& color)
{
  if (text.empty())
    return false;
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z')
      c = char(c - 32);
  for (const auto& named : ColorNames)
    if (s == named.Name) {
      color = named.Color;
      return true;
    }
  size_t hash = s.find('#');
  if (hash != std::string::npos)
    s.erase(hash, 1);
  if (s.size() < 6)
    s.append(6 - s.size(), '0');
  if (s.size() > 8) // more than 32 bits
    return false;
  uint32_t v = 0;
  for (char c : s) {
    int d = HexValue(c);
    if (d < 0)
      return false;
    v = v * 16 + uint32_t(d);
  }
  color = RGBColor(int(v >> 16), int(v >> 8), int(v));
  return true;
}
