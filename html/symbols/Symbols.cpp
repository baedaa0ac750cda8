#include "html/symbols/Symbols.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

struct TTagRow {
  std::string_view Word;
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
  std::string_view Word;
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
constexpr std::string_view CharRefNames[CharRefCount] = {
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

constexpr char32_t FixedCharRefCode[FixedCharRefs] = {'&', '<', '>', '"', 0x2019, 0x2013, 0x2026};

struct TNamedCode {
  std::string_view Name;
  char32_t Code;
};

// The references beyond Latin-1, with their characters.
constexpr TNamedCode WideCharRefs[] = {
    {"fnof", 402},     {"Alpha", 913},   {"Beta", 914},     {"Gamma", 915},   {"Delta", 916},
    {"Epsilon", 917},  {"Zeta", 918},    {"Eta", 919},      {"Theta", 920},   {"Iota", 921},
    {"Kappa", 922},    {"Lambda", 923},  {"Mu", 924},       {"Nu", 925},      {"Xi", 926},
    {"Omicron", 927},  {"Pi", 928},      {"Rho", 929},      {"Sigma", 931},   {"Tau", 932},
    {"Upsilon", 933},  {"Phi", 934},     {"Chi", 935},      {"Psi", 936},     {"Omega", 937},
    {"alpha", 945},    {"beta", 946},    {"gamma", 947},    {"delta", 948},   {"epsilon", 949},
    {"zeta", 950},     {"eta", 951},     {"theta", 952},    {"iota", 953},    {"kappa", 954},
    {"lambda", 955},   {"mu", 956},      {"nu", 957},       {"xi", 958},      {"omicron", 959},
    {"pi", 960},       {"rho", 961},     {"sigmaf", 962},   {"sigma", 963},   {"tau", 964},
    {"upsilon", 965},  {"phi", 966},     {"chi", 967},      {"psi", 968},     {"omega", 969},
    {"thetasym", 977}, {"upsih", 978},   {"piv", 982},      {"bull", 8226},   {"prime", 8242},
    {"Prime", 8243},   {"oline", 8254},  {"frasl", 8260},   {"weierp", 8472}, {"image", 8465},
    {"real", 8476},    {"trade", 8482},  {"alefsym", 8501}, {"larr", 8592},   {"uarr", 8593},
    {"rarr", 8594},    {"darr", 8595},   {"harr", 8596},    {"crarr", 8629},  {"lArr", 8656},
    {"uArr", 8657},    {"rArr", 8658},   {"dArr", 8659},    {"hArr", 8660},   {"forall", 8704},
    {"part", 8706},    {"exist", 8707},  {"empty", 8709},   {"nabla", 8711},  {"isin", 8712},
    {"notin", 8713},   {"ni", 8715},     {"prod", 8719},    {"sum", 8721},    {"minus", 8722},
    {"lowast", 8727},  {"radic", 8730},  {"prop", 8733},    {"infin", 8734},  {"ang", 8736},
    {"and", 8743},     {"or", 8744},     {"cap", 8745},     {"cup", 8746},    {"int", 8747},
    {"there4", 8756},  {"sim", 8764},    {"cong", 8773},    {"asymp", 8776},  {"ne", 8800},
    {"equiv", 8801},   {"le", 8804},     {"ge", 8805},      {"sub", 8834},    {"sup", 8835},
    {"nsub", 8836},    {"sube", 8838},   {"supe", 8839},    {"oplus", 8853},  {"otimes", 8855},
    {"perp", 8869},    {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},  {"lfloor", 8970},
    {"rfloor", 8971},  {"lang", 9001},   {"rang", 9002},    {"loz", 9674},    {"spades", 9824},
    {"clubs", 9827},   {"hearts", 9829}, {"diams", 9830},   {"OElig", 338},   {"oelig", 339},
    {"Scaron", 352},   {"scaron", 353},  {"Yuml", 376},     {"circ", 710},    {"tilde", 732},
    {"ensp", 8194},    {"emsp", 8195},   {"thinsp", 8201},  {"zwnj", 8204},   {"zwj", 8205},
    {"lrm", 8206},     {"rlm", 8207},    {"mdash", 8212},   {"lsquo", 8216},  {"sbquo", 8218},
    {"ldquo", 8220},   {"rdquo", 8221},  {"bdquo", 8222},   {"dagger", 8224}, {"Dagger", 8225},
    {"permil", 8240},  {"lsaquo", 8249}, {"rsaquo", 8250},  {"euro", 8364},
};

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

// The slots of a table's words, with a multiplier searched for at compile time that gives
// every word a slot of its own. Rows keep the first of equal words, as a search in table order
// would find; row r gives the slot's symbols.
template <class Row, size_t N, class F>
constexpr TWordSlots MakeWordSlots(const Row (&table)[N], TSymbol unknown, F fill)
{
  TWordSlots slots;
  slots.Miss.Sym = slots.Miss.EndSym = unknown;
  // No multiplier could part two words that begin with the same eight letters.
  for (size_t r = 0; r < N; ++r)
    for (size_t k = 0; k < r; ++k)
      if (Pack(table[r].Word).Low == Pack(table[k].Word).Low && table[r].Word != table[k].Word)
        throw "two words of a table begin with the same eight letters";
  uint64_t candidate = 0x2545F4914F6CDD1Dull;
  for (;;) {
    candidate = candidate * 6364136223846793005ull + 1442695040888963407ull;
    slots.Multiplier = candidate | 1;
    slots.Slots.fill(slots.Miss);
    std::array<bool, size_t(1) << TWordSlots::Bits> used{};
    bool clash = false;
    for (size_t r = 0; r < N && !clash; ++r) {
      const TPackedWord word = Pack(table[r].Word);
      const size_t k = slots.SlotOf(word.Low);
      TWordSlot& slot = slots.Slots[k];
      if (!used[k]) {
        used[k] = true;
        slot.Low = word.Low;
        slot.High = uint32_t(word.High);
        fill(slot, r);
      } else {
        clash = slot.Low != word.Low || slot.High != word.High;
      }
    }
    if (!clash)
      return slots;
  }
}

constexpr size_t LongestWord(auto const& table)
{
  size_t n = 0;
  for (const auto& row : table)
    n = std::max(n, row.Word.size());
  return n;
}
// A slot keeps 12 letters.
static_assert(LongestWord(TagTable) <= 12 && LongestWord(AttrTable) <= 12);

// A word the packed tables cannot hold: longer than they compare, or with a byte that packs
// like the end of a shorter word.
bool Unpackable(std::string_view word)
{
  return word.size() > TPackedWord::MaxLength || word.find('\0') != std::string_view::npos;
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

constexpr TWordSlots TagSlots =
    MakeWordSlots(TagTable, symUnknownTag, [](TWordSlot& slot, size_t row) {
      slot.Sym = TSymbol(row);
      slot.EndSym = EndSymbolOf(TSymbol(row));
      slot.Attr = TagTable[row].Attr;
    });
constexpr TWordSlots AttrSlots = MakeWordSlots(
    AttrTable, symUnknownAttr, [](TWordSlot& slot, size_t row) { slot.Sym = AttrTable[row].Sym; });

bool TagTakesAttributes(TSymbol start)
{
  return IsStartTag(start) && TagTable[start].Attr;
}

const char* SymbolWord(TSymbol s)
{
  if (IsStartTag(s) || IsEndTag(s))
    return TagTable[StartSymbolOf(s)].Word.data();
  for (const auto& row : AttrTable)
    if (row.Sym == s)
      return row.Word.data();
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
  return Unpackable(upperWord) ? symUnknownTag : LookupTag(Pack(upperWord), endTag);
}

TSymbol LookupAttribute(std::string_view upperName)
{
  return Unpackable(upperName) ? symUnknownAttr : LookupAttribute(Pack(upperName));
}

bool LookupCharRef(std::string_view name, std::string_view& text)
{
  for (int n = 0; n < CharRefCount; ++n) {
    if (CharRefNames[n] != name)
      continue;
    if (n < FixedCharRefs)
      text = FixedCharRefText[n];
    else
      text = std::string_view(&Latin1Text[size_t(n)], 1);
    return true;
  }
  return false;
}

bool LookupCharRefCode(std::string_view name, char32_t& cp)
{
  for (int n = 0; n < CharRefCount; ++n)
    if (CharRefNames[n] == name) {
      cp = n < FixedCharRefs ? FixedCharRefCode[n] : char32_t(n + 1 + 152);
      return true;
    }
  for (const TNamedCode& r : WideCharRefs)
    if (r.Name == name) {
      cp = r.Code;
      return true;
    }
  return false;
}

bool IsLongCharRefPrefix(std::string_view prefix)
{
  for (const TNamedCode& r : WideCharRefs)
    if (r.Name.size() > prefix.size() && r.Name.substr(0, prefix.size()) == prefix)
      return true;
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
