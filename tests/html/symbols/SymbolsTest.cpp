#include "html/symbols/Symbols.h"
#include "html/symbols/AttributeList.h"
#include "html/symbols/TokenObj.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

TEST(TagTable, LooksUpStartAndEndSymbolsByWord)
{
  struct Case {
    std::string word;
    bool end;
    TSymbol expected;
  } cases[] = {
      {"HTML", false, symHTML},
      {"HTML", true, symHTMLEnd},
      {"H", false, symH},
      {"H", true, symHEnd},
      {"P", true, symPEnd},
      {"TABLE", false, symTABLE},
      {"NOBR", true, symNOBREnd}, // row 49 is the last with an end symbol
      {"LI", false, symLI},
      {"LI", true, symUnknownTag}, // row 50 has none
      {"BR", true, symUnknownTag},
      {"WBR", false, symWBR},
      {"WBR", true, symUnknownTag},
      {"SELECTED", false, symSELECTED},
      {"SELECT", false, symSELECT},
      {"BLINK", false, symUnknownTag},
      {"", false, symUnknownTag},
      {"TABLES", false, symUnknownTag},
      {"TABL", false, symUnknownTag},
      // Words are compared sixteen letters at a time: longer ones and those with a NUL in
      // them never match a shorter table word.
      {"BLOCKQUOTES", false, symUnknownTag},
      {"BLOCKQUOTEBLOCKQ", false, symUnknownTag},
      {"BLOCKQUOTEBLOCKQUOTE", false, symUnknownTag},
      {std::string("P\0", 2), false, symUnknownTag},
      {std::string("B\0\0", 3), true, symUnknownTag},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LookupTag(c.word, c.end), c.expected) << c.word << (c.end ? " end" : "");
}

TEST(TagTable, EndSymbolsPairWithTheFirst49Rows)
{
  std::set<std::string> words;
  for (int s = 0; s < TagCount; ++s) {
    TSymbol sym = TSymbol(s);
    EXPECT_TRUE(words.insert(SymbolWord(sym)).second) << SymbolWord(sym);
    EXPECT_EQ(LookupTag(SymbolWord(sym), false), sym);
    if (s < EndTagCount) {
      EXPECT_TRUE(IsEndTag(EndSymbolOf(sym)));
      EXPECT_EQ(StartSymbolOf(EndSymbolOf(sym)), sym);
      EXPECT_STREQ(SymbolWord(EndSymbolOf(sym)), SymbolWord(sym));
    } else {
      EXPECT_EQ(EndSymbolOf(sym), symUnknownTag) << SymbolWord(sym);
    }
  }
  EXPECT_EQ(words.size(), size_t(TagCount));
}

TEST(TagTable, AttrColumnMarksTheTagsThatCollectAttributes)
{
  const TSymbol withAttrs[] = {
      symBODY,     symH,        symOL,       symUL,     symA,       symTABLE, symTD,   symTH,
      symCAPTION,  symFORM,     symTEXTAREA, symSELECT, symOPTION,  symFONT,  symP,    symMAP,
      symFRAMESET, symSCRIPT,   symDIV,      symTR,     symBR,      symHR,    symIMG,  symBASE,
      symINPUT,    symBASEFONT, symAREA,     symFRAME,  symBGSOUND, symWRAP,  symMETA, symPANEL};
  std::set<TSymbol> expected(std::begin(withAttrs), std::end(withAttrs));
  for (int s = 0; s < TagCount; ++s)
    EXPECT_EQ(TagTakesAttributes(TSymbol(s)), expected.count(TSymbol(s)) == 1)
        << SymbolWord(TSymbol(s));
  EXPECT_FALSE(TagTakesAttributes(symPEnd));
}

TEST(AttributeTable, LooksUpNamesAndGivesUnknownForOthers)
{
  struct Case {
    std::string name;
    TSymbol expected;
  } cases[] = {
      {"HREF", attrHREF},
      {"VALUE", attrVALUE},
      {"HTTP-EQUIV", attrHTTP_EQUIV},
      {"ACTIVE", attrACTIVE},
      {"SELECTED", attrSELECTED},
      {"WRAP", attrWRAP},
      {"VSPACE", symUnknownAttr},
      {"ID", symUnknownAttr},
      {"CLASS", symUnknownAttr},
      {"STYLE", symUnknownAttr},
      {"href", symUnknownAttr},
      {"", symUnknownAttr},
      {"MARGINHEIGHTS", symUnknownAttr},
      {"CELLPADDINGCELLPADDING", symUnknownAttr},
      {std::string("SRC\0", 4), symUnknownAttr},
      {"HTTP_EQUIV", symUnknownAttr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LookupAttribute(c.name), c.expected) << c.name;
  EXPECT_STREQ(SymbolWord(attrHTTP_EQUIV), "HTTP-EQUIV");
  EXPECT_STREQ(SymbolWord(attrVALUE), "VALUE");
  // Every attribute symbol round-trips through its word.
  for (int s = attrHREF; s <= attrACTIVE; ++s)
    EXPECT_EQ(LookupAttribute(SymbolWord(TSymbol(s))), TSymbol(s));
}

TEST(CharRefs, DecodeFixedAndLatin1NamesCaseSensitively)
{
  struct Case {
    const char* name;
    bool found;
    std::string text;
  } cases[] = {
      {"amp", true, "&"},       {"lt", true, "<"},        {"gt", true, ">"},
      {"quot", true, "\""},     {"rsquo", true, "'"},     {"ndash", true, "-"},
      {"hellip", true, "..."},  {"nbsp", true, "\xA0"},   {"copy", true, "\xA9"},
      {"Agrave", true, "\xC0"}, {"agrave", true, "\xE0"}, {"times", true, "\xD7"},
      {"yuml", true, "\xFF"},   {"AMP", false, ""},       {"Copy", false, ""},
      {"apos", false, ""},      {"", false, ""},
  };
  for (const auto& c : cases) {
    std::string_view text;
    ASSERT_EQ(LookupCharRef(c.name, text), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(std::string(text), c.text) << c.name;
    }
  }
}

TEST(ParseColor, AcceptsNamesAndPaddedHex)
{
  struct Case {
    const char* text;
    bool ok;
    TColor color;
  } cases[] = {
      {"#ff0000", true, RGBColor(255, 0, 0)},
      {"ff0000", true, RGBColor(255, 0, 0)},
      {"#f", true, RGBColor(0xF0, 0, 0)}, // padded to f00000
      {"Red", true, clRed},
      {"fuchsia", true, clFuchsia},
      {"SILVER", true, RGBColor(192, 192, 192)},
      {"#0080C0", true, RGBColor(0, 0x80, 0xC0)},
      {"12#3456", true, RGBColor(0x12, 0x34, 0x56)}, // the first '#' anywhere is dropped
      {"#xyz", false, 0},
      {"", false, 0},
      {"#ff 000", false, 0},
      {"-10000", false, 0},
      {"123456789", false, 0},
  };
  for (const auto& c : cases) {
    TColor color = -7;
    EXPECT_EQ(ParseColor(c.text, color), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(color, c.color) << c.text;
    }
  }
}

TEST(AttributeList, LookupReturnsTheFirstOfRepeatedAttributes)
{
  TAttributeList list;
  list.Add(std::make_unique<TAttribute>(attrALIGN, 0, "left"));
  list.Add(std::make_unique<TAttribute>(attrWIDTH, 50, "50%"));
  list.Add(std::make_unique<TAttribute>(attrALIGN, 0, "right"));
  TAttribute* a = nullptr;
  ASSERT_TRUE(list.Lookup(attrALIGN, a));
  EXPECT_EQ(a->Text, "left");
  ASSERT_TRUE(list.Lookup(attrWIDTH, a));
  EXPECT_EQ(a->Num, 50);
  EXPECT_FALSE(list.Lookup(attrHREF, a));
  EXPECT_EQ(a, nullptr);
  list.Clear();
  EXPECT_FALSE(list.Lookup(attrALIGN, a));
}

// Recycled attributes come back before new ones are made, whichever way the list kept them.
TEST(AttributeList, RecycledAttributesAreReusedBeforeNewOnes)
{
  TAttributeList list;
  std::set<TAttribute*> made;
  auto add = [&](int n) {
    for (int i = 0; i < n; ++i)
      made.insert(&list.AddReused());
  };
  struct Step {
    int recycleThenAdd;
    size_t madeSoFar;
  } steps[] = {
      {2, 2}, // nothing to reuse yet
      {3, 3}, // two kept ones and a new one
      {1, 3}, // one of three kept, two stay spare
      {3, 3}, // the one in the list joins the two spares
      {0, 3}, {3, 3},
  };
  for (const Step& step : steps) {
    list.Recycle();
    EXPECT_EQ(list.Count(), 0);
    add(step.recycleThenAdd);
    EXPECT_EQ(list.Count(), step.recycleThenAdd);
    EXPECT_EQ(made.size(), step.madeSoFar);
    std::set<TAttribute*> inList;
    for (const auto& a : list)
      inList.insert(a.get());
    EXPECT_EQ(inList.size(), size_t(step.recycleThenAdd)); // each at most once
  }
}

TEST(TokenObj, KeepsOnePositionPerCharacterAndGrowsInSteps)
{
  TokenObj t;
  EXPECT_EQ(t.Capacity(), 300);
  for (int i = 0; i < 300; ++i)
    t.AppendChar('x', i * 2);
  EXPECT_EQ(t.Capacity(), 300);
  t.AppendChar('y', 1000); // one past: grows by 50
  EXPECT_EQ(t.Capacity(), 350);
  EXPECT_EQ(t.Leng(), 301);
  EXPECT_EQ(t.Position(299), 598);
  EXPECT_EQ(t.Position(300), 1000);

  TokenObj other;
  other.AppendChars("abcdefghij", 10, 7, 1);
  EXPECT_EQ(other.Position(9), 16);
  TokenObj big;
  for (int i = 0; i < 345; ++i)
    big.AppendChar('z', i);
  big.AppendToken(other); // 355 > 350: grows to the new length plus 50
  EXPECT_EQ(big.Capacity(), 405);
  EXPECT_EQ(big.Chars().substr(345), "abcdefghij");
  EXPECT_EQ(big.Position(345), 7);
  EXPECT_EQ(big.Position(354), 16);

  big.Clear();
  EXPECT_EQ(big.Leng(), 0);
  EXPECT_EQ(big.Capacity(), 405); // the array is kept
  big.AppendChars("...", 3, 42, 0);
  EXPECT_EQ(big.Chars(), "...");
  EXPECT_EQ(big.Position(2), 42);
}

// Positions are kept as runs: a run starts only where the positions do not count up by one.
TEST(TokenObj, KeepsPositionsAsRunsThatBreakOnlyWhereTheSourceSkips)
{
  struct TRunCase {
    const char* name;
    std::function<void(TokenObj&)> build;
    std::vector<std::pair<int32_t, int32_t>> runs; // (first character, its position)
    std::vector<int32_t> positions;
  };
  const TRunCase cases[] = {
      {"characters that follow each other are one run",
       [](TokenObj& t) {
         t.AppendChar('a', 5);
         t.AppendChar('b', 6);
         t.AppendChars("cd", 2, 7, 1);
       },
       {{0, 5}},
       {5, 6, 7, 8}},
      {"a skipped byte starts a run (a folded CR LF pair)",
       [](TokenObj& t) {
         t.AppendChars("ab", 2, 0, 1);
         t.AppendChar(' ', 2);
         t.AppendChars("cd", 2, 4, 1);
       },
       {{0, 0}, {3, 4}},
       {0, 1, 2, 4, 5}},
      {"a repeated position starts a run for each character (include text)",
       [](TokenObj& t) { t.AppendChars("...", 3, 42, 0); },
       {{0, 42}, {1, 42}, {2, 42}},
       {42, 42, 42}},
      {"characters without a position share one run",
       [](TokenObj& t) {
         t.AppendChar('x', -1);
         t.AppendChar('y', -7);
         t.AppendChar('z', 0);
         t.AppendChar('w', 1);
       },
       {{0, -1}, {2, 0}},
       {-1, -1, 0, 1}},
      {"an appended token continues the run it follows",
       [](TokenObj& t) {
         t.AppendChars("ab", 2, 10, 1);
         TokenObj other;
         other.AppendChars("cd", 2, 12, 1);
         other.AppendChar('e', 20);
         t.AppendToken(other);
       },
       {{0, 10}, {4, 20}},
       {10, 11, 12, 13, 20}},
      {"an appended token without positions does not continue the run before it",
       [](TokenObj& t) {
         t.AppendChar('a', 3);
         TokenObj other;
         char* chars = other.Extend(2);
         chars[0] = chars[1] = 'b';
         other.Commit(2, 2);
         t.AppendToken(other);
       },
       {{0, 3}, {1, -1}},
       {3, -1, -1}},
      {"positions set in extended room; commit drops the runs of characters not kept",
       [](TokenObj& t) {
         char* chars = t.Extend(6);
         std::memcpy(chars, "abcdef", 6);
         t.SetPosition(0, 3);
         t.SetPosition(2, 9);
         t.SetPosition(3, 10); // continues: no new run
         t.SetPosition(4, 30);
         t.Commit(6, 4);
       },
       {{0, 3}, {2, 9}},
       {3, 4, 9, 10}},
      {"a clear forgets the runs",
       [](TokenObj& t) {
         t.AppendChars("abc", 3, 100, 1);
         t.Clear();
         t.AppendChar('z', 101);
       },
       {{0, 101}},
       {101}},
  };
  for (const auto& c : cases) {
    TokenObj t;
    c.build(t);
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (const TPositionRun& r : t.Runs())
      runs.emplace_back(r.Index, r.Pos);
    EXPECT_EQ(runs, c.runs) << c.name;
    std::vector<int32_t> positions;
    for (int k = 0; k < t.Leng(); ++k)
      positions.push_back(t.Position(k));
    EXPECT_EQ(positions, c.positions) << c.name;
    // A copy reads the same.
    TokenObj copy(t);
    for (int k = 0; k < t.Leng(); ++k)
      EXPECT_EQ(copy.Position(k), t.Position(k)) << c.name << " copy " << k;
  }
}
