#include "editor/HTMLVocabulary.h"

#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace htmlvocab {
namespace {

const char* const TagNames[] = {
    "A",        "ABBR",     "ACRONYM", "ADDRESS", "APPLET",     "AREA",      "B",       "BASE",
    "BASEFONT", "BGSOUND",  "BIG",     "BLINK",   "BLOCKQUOTE", "BODY",      "BR",      "BUTTON",
    "CAPTION",  "CENTER",   "CITE",    "CODE",    "COL",        "COLGROUP",  "COMMENT", "DD",
    "DEL",      "DFN",      "DIR",     "DIV",     "DL",         "DT",        "EM",      "EMBED",
    "FIELDSET", "FONT",     "FORM",    "FRAME",   "FRAMESET",   "H1",        "H2",      "H3",
    "H4",       "H5",       "H6",      "HEAD",    "HR",         "HTML",      "I",       "IFRAME",
    "ILAYER",   "IMG",      "INPUT",   "INS",     "ISINDEX",    "KBD",       "KEYGEN",  "LABEL",
    "LAYER",    "LEGEND",   "LI",      "LINK",    "LISTING",    "MAP",       "MARQUEE", "MENU",
    "META",     "MULTICOL", "NEXTID",  "NOBR",    "NOEMBED",    "NOFRAMES",  "NOLAYER", "NOSCRIPT",
    "OBJECT",   "OL",       "OPTION",  "P",       "PARAM",      "PLAINTEXT", "PRE",     "Q",
    "S",        "SAMP",     "SCRIPT",  "SELECT",  "SERVER",     "SMALL",     "SPACER",  "SPAN",
    "STRIKE",   "STRONG",   "STYLE",   "SUB",     "SUP",        "TABLE",     "TBODY",   "TD",
    "TEXTAREA", "TFOOT",    "TH",      "THEAD",   "TITLE",      "TR",        "TT",      "U",
    "UL",       "VAR",      "WBR",     "XMP",
};

// Empty elements have no end tag of their own.
const char* const NoEndTag[] = {"AREA",    "BASE",      "BASEFONT", "BGSOUND", "BR",
                                "COL",     "FRAME",     "HR",       "IMG",     "INPUT",
                                "ISINDEX", "KEYGEN",    "LINK",     "META",    "NEXTID",
                                "PARAM",   "PLAINTEXT", "SPACER",   "WBR"};

constexpr std::array<uint8_t, 256> MakeHashTable()
{
  std::array<uint8_t, 256> table{};
  table['!'] = 123;
  table['/'] = 122;
  for (int c = 'A'; c <= 'Z'; ++c)
    table[c] = table[c + 32] = uint8_t(c - 'A' + 1);
  return table;
}

constexpr std::array<uint8_t, 256> HashTable = MakeHashTable();

struct TTables {
  std::array<std::vector<std::string>, KeywordHashSlots> Slots;
  int Count = 0;
  TTables()
  {
    for (const char* tag : TagNames)
      Add(tag);
    for (const char* tag : TagNames) {
      bool empty = false;
      for (const char* e : NoEndTag)
        empty = empty || std::strcmp(e, tag) == 0;
      if (!empty)
        Add(std::string("/") + tag);
    }
    Add("!DOCTYPE");
  }
  void Add(const std::string& word)
  {
    THashedName h = HashName(word.c_str());
    Slots[h.Hash].push_back(word);
    ++Count;
  }
};

const TTables& Tables()
{
  static const TTables tables;
  return tables;
}

std::vector<std::string> MakeEntities()
{
  std::vector<std::string> list = {"amp", "lt", "gt", "quot", "trade", "nbsp", "copy", "reg"};
  const char* const letters[] = {
      "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave",
      "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
      "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "Oslash", "Ugrave", "Uacute", "Ucirc",
      "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",
      "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute",
      "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",
      "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
  const char* const signs[] = {"iexcl", "cent",  "pound",  "curren", "yen",    "brvbar", "sect",
                               "uml",   "ordf",  "laquo",  "shy",    "macr",   "deg",    "plusmn",
                               "sup2",  "sup3",  "acute",  "micro",  "middot", "cedil",  "sup1",
                               "ordm",  "raquo", "frac14", "frac12", "frac34", "iquest", "times"};
  list.insert(list.end(), std::begin(letters), std::end(letters));
  list.insert(list.end(), std::begin(signs), std::end(signs));
  for (auto& name : list)
    name = "&" + name + ";";
  list.push_back("&divide"); // stands without its semicolon
  list.push_back("&euro;");
  auto numeric = [&](int from, int to) {
    for (int n = from; n <= to; ++n)
      list.push_back("&#" + std::to_string(n) + ";");
  };
  numeric(9, 9);
  numeric(127, 132);
  list.push_back("&ldots;");
  numeric(134, 144);
  numeric(152, 159);
  numeric(161, 168);
  numeric(170, 170);
  numeric(175, 178);
  numeric(180, 181);
  numeric(183, 186);
  numeric(188, 191);
  numeric(215, 215);
  return list;
}

unsigned char Lower(unsigned char c)
{
  return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

struct TEntities {
  std::vector<std::string> List = MakeEntities();
  // Entities grouped by the character after "&" (lower-cased), each group in table order, so
  // that the first match in table order is still the one found.
  std::array<std::vector<int>, 256> ByFirst;
  TEntities()
  {
    for (int i = 0; i < int(List.size()); ++i)
      ByFirst[Lower(List[i][1])].push_back(i);
  }
};

const TEntities& Entities()
{
  static const TEntities entities;
  return entities;
}

} // namespace

int HashValue(unsigned char c)
{
  return HashTable[c];
}

THashedName HashName(const char* text)
{
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  int sum = 0, length = 0;
  while (HashTable[p[length]]) {
    sum += HashTable[p[length]];
    ++length;
  }
  while (p[length] >= '0' && p[length] <= '9') {
    sum += p[length] - '0';
    ++length;
  }
  return {sum, length};
}

bool IsKeyword(const char* text, int length, int hash)
{
  if (hash < 0 || hash >= KeywordHashSlots)
    return false;
  const auto& tables = Tables();
  for (const auto& word : tables.Slots[hash]) {
    if (int(word.size()) != length)
      continue;
    int i = 0;
    while (i < length && HashTable[(unsigned char)text[i]] == HashTable[(unsigned char)word[i]])
      ++i;
    if (i == length)
      return true;
  }
  return false;
}

int KeywordCount()
{
  return Tables().Count;
}

int EntityCount()
{
  return int(Entities().List.size());
}

std::string_view Entity(int index)
{
  return Entities().List[index];
}

int MatchEntity(const char* text)
{
  const auto& entities = Entities();
  for (int index : entities.ByFirst[Lower((unsigned char)text[1])]) {
    const std::string& e = entities.List[index];
    size_t i = 1;
    while (i < e.size() && Lower((unsigned char)text[i]) == Lower((unsigned char)e[i]))
      ++i;
    if (i == e.size())
      return index;
  }
  return -1;
}

} // namespace htmlvocab
