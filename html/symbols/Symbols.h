#pragma once
// The HTML vocabulary: one symbol enumeration for tags, end tags, attribute names and token
// kinds, with the fixed tag, attribute, character-reference and colour-name tables.
#include "base/Color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Start tags come first, in tag-table order; the end symbols follow in the same order, so the
// end symbol of a tag row is its start symbol plus EndSymbolOffset. Attribute symbols and the
// token kinds come last. The whole set fits in one byte.
enum TSymbol : uint8_t {
  // Start tags, rows 1-68.
  symHTML,
  symTITLE,
  symBODY,
  symHEAD,
  symB,
  symI,
  symH,
  symEM,
  symSTRONG,
  symU,
  symCITE,
  symVAR,
  symTT,
  symCODE,
  symKBD,
  symSAMP,
  symOL,
  symUL,
  symDIR,
  symMENU,
  symDL,
  symA,
  symADDRESS,
  symBLOCKQUOTE,
  symPRE,
  symCENTER,
  symTABLE,
  symTD,
  symTH,
  symCAPTION,
  symFORM,
  symTEXTAREA,
  symSELECT,
  symOPTION,
  symFONT,
  symSUB,
  symSUP,
  symBIG,
  symSMALL,
  symP,
  symMAP,
  symFRAMESET,
  symNOFRAMES,
  symSCRIPT,
  symDIV,
  symS,
  symSTRIKE,
  symTR,
  symNOBR,
  // Tags without an end symbol of their own.
  symLI,
  symBR,
  symHR,
  symDD,
  symDT,
  symIMG,
  symBASE,
  symBUTTON,
  symINPUT,
  symSELECTED,
  symBASEFONT,
  symAREA,
  symFRAME,
  symPAGE,
  symBGSOUND,
  symWRAP,
  symMETA,
  symPANEL,
  symWBR,
  // End tags of rows 1-49.
  symHTMLEnd,
  symTITLEEnd,
  symBODYEnd,
  symHEADEnd,
  symBEnd,
  symIEnd,
  symHEnd,
  symEMEnd,
  symSTRONGEnd,
  symUEnd,
  symCITEEnd,
  symVAREnd,
  symTTEnd,
  symCODEEnd,
  symKBDEnd,
  symSAMPEnd,
  symOLEnd,
  symULEnd,
  symDIREnd,
  symMENUEnd,
  symDLEnd,
  symAEnd,
  symADDRESSEnd,
  symBLOCKQUOTEEnd,
  symPREEnd,
  symCENTEREnd,
  symTABLEEnd,
  symTDEnd,
  symTHEnd,
  symCAPTIONEnd,
  symFORMEnd,
  symTEXTAREAEnd,
  symSELECTEnd,
  symOPTIONEnd,
  symFONTEnd,
  symSUBEnd,
  symSUPEnd,
  symBIGEnd,
  symSMALLEnd,
  symPEnd,
  symMAPEnd,
  symFRAMESETEnd,
  symNOFRAMESEnd,
  symSCRIPTEnd,
  symDIVEnd,
  symSEnd,
  symSTRIKEEnd,
  symTREnd,
  symNOBREnd,
  // Attribute names (VALUE appears twice in the table and has one symbol).
  attrHREF,
  attrNAME,
  attrSRC,
  attrALT,
  attrALIGN,
  attrTEXT,
  attrBGCOLOR,
  attrLINK,
  attrBACKGROUND,
  attrCOLSPAN,
  attrROWSPAN,
  attrBORDER,
  attrCELLPADDING,
  attrCELLSPACING,
  attrVALIGN,
  attrWIDTH,
  attrSTART,
  attrVALUE,
  attrTYPE,
  attrCHECKBOX,
  attrRADIO,
  attrMETHOD,
  attrACTION,
  attrCHECKED,
  attrSIZE,
  attrMAXLENGTH,
  attrCOLS,
  attrROWS,
  attrMULTIPLE,
  attrSELECTED,
  attrFACE,
  attrCOLOR,
  attrTRANSP,
  attrCLEAR,
  attrISMAP,
  attrBORDERCOLOR,
  attrUSEMAP,
  attrSHAPE,
  attrCOORDS,
  attrNOHREF,
  attrHEIGHT,
  attrPLAIN,
  attrTARGET,
  attrNORESIZE,
  attrSCROLLING,
  attrHSPACE,
  attrLANGUAGE,
  attrFRAMEBORDER,
  attrMARGINWIDTH,
  attrMARGINHEIGHT,
  attrLOOP,
  attrONCLICK,
  attrWRAP,
  attrNOSHADE,
  attrHTTP_EQUIV,
  attrCONTENT,
  attrENCTYPE,
  attrVLINK,
  attrOLINK,
  attrACTIVE,
  // Token kinds.
  symText,       // a run of text or one decoded character reference
  symEof,        // end of the input
  symUnknownTag, // a tag word not in the table, or an end tag of a word without an end symbol
  symOtherChar,  // one character that no other rule took (a control character)
  symLineEnd,    // a line end inside raw TEXTAREA or SCRIPT text
  symUnknownAttr,
  symCount
};

constexpr int TagCount = 68;
constexpr int EndTagCount = 49;
constexpr int EndSymbolOffset = symHTMLEnd - symHTML;
constexpr int AttributeWordCount = 61;
constexpr int CharRefCount = 103;
constexpr int ColorNameCount = 16;

static_assert(EndSymbolOffset == TagCount);
static_assert(symNOBREnd - symHTMLEnd == EndTagCount - 1);
static_assert(attrACTIVE - attrHREF == AttributeWordCount - 2);

// Start tag of a row, as in the tag table.
constexpr bool IsStartTag(TSymbol s)
{
  return s < TagCount;
}
constexpr bool IsEndTag(TSymbol s)
{
  return s >= symHTMLEnd && s <= symNOBREnd;
}
constexpr bool IsAttributeSymbol(TSymbol s)
{
  return (s >= attrHREF && s <= attrACTIVE) || s == symUnknownAttr;
}
// The end symbol of a start tag, or symUnknownTag for rows without one.
constexpr TSymbol EndSymbolOf(TSymbol start)
{
  return start < EndTagCount ? TSymbol(start + EndSymbolOffset) : symUnknownTag;
}
// The start symbol of an end tag (the symbol itself for anything else).
constexpr TSymbol StartSymbolOf(TSymbol s)
{
  return IsEndTag(s) ? TSymbol(s - EndSymbolOffset) : s;
}

// True when the tag's attributes are collected into the attribute list.
bool TagTakesAttributes(TSymbol start);

// The printable word of a symbol: the tag word for start and end tags ("P", "H", "TABLE"), the
// attribute word ("HREF", "HTTP-EQUIV"), or the kind name for token kinds ("TEXT", "EOF",
// "UNKNOWN", "OTHER", "LINEEND", "?").
const char* SymbolWord(TSymbol s);

// A word of up to 16 letters packed into two integers, letter k in byte k, so that a lookup
// compares numbers. Length is that of the whole word, which may be longer.
struct TPackedWord {
  uint64_t Low = 0, High = 0;
  size_t Length = 0;
  constexpr bool operator==(const TPackedWord&) const = default;
  // Adds the next letter of the word.
  constexpr void Append(unsigned char letter)
  {
    if (Length < 8)
      Low |= uint64_t(letter) << (8 * Length);
    else if (Length < MaxLength)
      High |= uint64_t(letter) << (8 * (Length - 8));
    ++Length;
  }
  static constexpr size_t MaxLength = 16;
};

constexpr TPackedWord Pack(std::string_view word)
{
  TPackedWord packed;
  for (char c : word)
    packed.Append(uint8_t(c));
  return packed;
}

// A slot of a word table: the word it holds, packed (zero when the slot is empty), and what
// the word means. Table words have at most 12 letters, so their High half fits 32 bits.
struct TWordSlot {
  uint64_t Low = 0;
  uint32_t High = 0;
  TSymbol Sym = symUnknownTag;    // the start tag or the attribute; the unknown symbol if empty
  TSymbol EndSym = symUnknownTag; // the end symbol of a tag row that has one
  bool Attr = false;              // the tag collects its attributes
};

// A table's words placed by a multiplicative hash that gives every word a slot of its own, so
// that a lookup compares one slot. Miss is what a word not in the table gets.
struct TWordSlots {
  static constexpr size_t Bits = 9;
  uint64_t Multiplier = 0;
  std::array<TWordSlot, size_t(1) << Bits> Slots{};
  TWordSlot Miss;
  // The first eight letters of the words of a table differ, so they alone choose the slot.
  constexpr size_t SlotOf(uint64_t low) const { return size_t((low * Multiplier) >> (64 - Bits)); }
  // Kept inline: the tokenizer looks a word up for every tag and attribute it reads.
  const TWordSlot& Find(const TPackedWord& word) const
  {
    const TWordSlot& s = Slots[SlotOf(word.Low)];
    return s.Low == word.Low && s.High == word.High ? s : Miss;
  }
};
extern const TWordSlots TagSlots;
extern const TWordSlots AttrSlots;

// Looks an upper-case tag word up in the tag table (first exact match): the start symbol, or
// for an end tag the end symbol; symUnknownTag when there is none.
TSymbol LookupTag(std::string_view upperWord, bool endTag);
inline TSymbol LookupTag(const TPackedWord& upperWord, bool endTag)
{
  const TWordSlot& s = TagSlots.Find(upperWord);
  return endTag ? s.EndSym : s.Sym;
}

// Looks an upper-case attribute name up in the attribute table; symUnknownAttr if absent.
TSymbol LookupAttribute(std::string_view upperName);
inline TSymbol LookupAttribute(const TPackedWord& upperName)
{
  return AttrSlots.Find(upperName).Sym;
}

// Looks a character-reference name up (case matters). On success `text` is the decoded text:
// one character, or three full stops for "hellip".
bool LookupCharRef(std::string_view name, std::string_view& text);

// Looks a name of the full character-reference list up (case matters): the 103 names above and
// the symbols, Greek letters, arrows, typographic marks and mathematical signs, such as "euro",
// "mdash", "alpha" or "thetasym" (at most 8 letters). On success cp is the character.
bool LookupCharRefCode(std::string_view name, char32_t& cp);
constexpr int MaxCharRefName = 8;
// True when a name of 7 or 8 letters in that list starts with prefix: only then does a
// reference read past its sixth letter.
bool IsLongCharRefPrefix(std::string_view prefix);

// Parses a colour value: one of the 16 colour names (any case), or hexadecimal RRGGBB with an
// optional '#', padded on the right with zeros to six digits. Returns false for empty or
// malformed text. The result has red in the low byte and no palette flag.
bool ParseColor(std::string_view text, TColor& color);
