#include "html/parser/Tokenizer.h"
#include "base/Exceptions.h"
#include "html/parser/TokenDump.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TModes {
  bool pre = false;
  bool noWrap = false;
  bool script = false;
};

std::vector<std::string> Lines(const std::string& text)
{
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The listing of every token of `html`, "EOF" (or the ERROR line) last.
std::vector<std::string> Tokens(const std::string& html, TModes modes = {},
                                TIncludeType include = nullptr)
{
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()), std::move(include));
  tok.PreMode = modes.pre;
  tok.NoWrapMode = modes.noWrap;
  tok.ScriptMode = modes.script;
  std::ostringstream out;
  DumpTokenStream(tok, out);
  return Lines(out.str());
}

std::string Joined(const std::vector<std::string>& lines)
{
  std::string s;
  for (const auto& l : lines)
    s += l + "\n";
  return s;
}

struct TCase {
  const char* name;
  std::string html;
  std::vector<std::string> expected;
};

void RunCases(const std::vector<TCase>& cases, TModes modes = {})
{
  for (const auto& c : cases)
    EXPECT_EQ(Joined(Tokens(c.html, modes)), Joined(c.expected)) << c.name;
}

} // namespace

TEST(Tokenizer, DecodesCharacterReferences)
{
  RunCases({
      {"named", "a&amp;b", {"TEXT @0 \"a\"", "TEXT @1 \"&\"", "TEXT @6 \"b\"", "EOF"}},
      {"names are case-sensitive", "&AMP;", {"TEXT @0 \"&AMP;\"", "EOF"}},
      {"no semicolon", "&amp x", {"TEXT @0 \"&\"", "TEXT @4 \" x\"", "EOF"}},
      {"Latin-1", "&copy;", {"TEXT @0 \"\\xA9\"", "EOF"}},
      {"nbsp", "&nbsp;", {"TEXT @0 \"\\xA0\"", "EOF"}},
      {"decimal", "&#65;", {"TEXT @0 \"A\"", "EOF"}},
      {"five digits", "&#00065;", {"TEXT @0 \"A\"", "EOF"}},
      {"six digits are literal", "&#065536;", {"TEXT @0 \"&#06553\"", "TEXT @7 \"6;\"", "EOF"}},
      {"control code is literal", "&#7;", {"TEXT @0 \"&#7;\"", "EOF"}},
      {"zero is literal", "&#0;", {"TEXT @0 \"&#0;\"", "EOF"}},
      {"above 255 is literal", "&#256;", {"TEXT @0 \"&#256;\"", "EOF"}},
      {"tab becomes a space", "&#9;", {"TEXT @0 \" \"", "EOF"}},
      {"line feed is kept", "&#10;", {"TEXT @0 \"\\x0A\"", "EOF"}},
      {"no digits", "&#;x", {"TEXT @0 \"&#;\"", "TEXT @3 \"x\"", "EOF"}},
      {"hellip", "&hellip;", {"TEXT @0 \"...\"", "EOF"}},
      {"seven letters are literal", "&abcdefg;", {"TEXT @0 \"&abcdef\"", "TEXT @7 \"g;\"", "EOF"}},
      {"unknown name is literal", "&foo;bar", {"TEXT @0 \"&foo;\"", "TEXT @5 \"bar\"", "EOF"}},
      {"bare ampersand stays text",
       "a & b",
       {"TEXT @0 \"a \"", "TEXT @2 \"&\"", "TEXT @3 \" b\"", "EOF"}},
      {"truncated numeric", "&#", {"TEXT @0 \"&#\"", "EOF"}},
      {"truncated named", "x&am", {"TEXT @0 \"x\"", "TEXT @1 \"&am\"", "EOF"}},
  });
}

TEST(Tokenizer, CollapsesBlanksOutsidePreformattedText)
{
  RunCases({
      {"spaces and CR LF", "x  \r\n  y", {"TEXT @0 \"x y\"", "EOF"}},
      {"tabs", "x\t\ty", {"TEXT @0 \"x y\"", "EOF"}},
      {"leading blank", "\n\nz", {"TEXT @0 \" z\"", "EOF"}},
      {"blank around a comment", "a <!-- c --> b", {"TEXT @0 \"a b\"", "EOF"}},
  });
  RunCases({{"NOBR marker", "x  \r\n  y", {"TEXT @0 \"x\\x05y\"", "EOF"}},
            {"NOBR single space before a word",
             "<b> cd" + std::string(20, 'e'),
             {"<B", "TEXT @3 \"\\x05cd" + std::string(20, 'e') + "\"", "EOF"}}},
           {.noWrap = true});
  RunCases({{"PRE keeps blanks and folds line ends",
             "x \t\r\ny\n",
             {"TEXT @0 \"x  \\x0Dy\\x0D\"", "EOF"}}},
           {.pre = true});
}

TEST(Tokenizer, FoldsLineEndsAndCountsEveryByte)
{
  const std::string src = "a\r\nb\n\rc\nd\re\r\rf\n\ng\th";
  struct Step {
    unsigned char ch;
    int32_t pos;
    int lineEndState;
  } expected[] = {
      {'a', 0, 0},  {13, 1, 1},   {'b', 3, 0},  {13, 4, 2},  {'c', 6, 0},  {13, 7, 2},  {'d', 8, 0},
      {13, 9, 1},   {'e', 10, 0}, {13, 11, 1},  {13, 12, 1}, {'f', 13, 0}, {13, 14, 2}, {13, 15, 2},
      {'g', 16, 0}, {' ', 17, 0}, {'h', 18, 0}, {26, 18, 0}, {26, 18, 0}, // the end is never passed
  };
  TTokenizer tok;
  tok.BeginBuffer(src.data(), int64_t(src.size()));
  for (const auto& e : expected) {
    tok.StepChar();
    EXPECT_EQ(tok.CurCh(), e.ch) << "at " << e.pos;
    EXPECT_EQ(tok.SrcIndex(), e.pos);
    EXPECT_EQ(tok.LineEndState(), e.lineEndState) << "at " << e.pos;
  }
  EXPECT_EQ(tok.UpCh(), 26);
}

TEST(Tokenizer, UpperCasesOnlyAsciiLetters)
{
  const std::string src = "a\xE9z";
  TTokenizer tok;
  tok.BeginBuffer(src.data(), int64_t(src.size()));
  tok.StepChar();
  EXPECT_EQ(tok.UpCh(), 'A');
  tok.StepChar();
  EXPECT_EQ(tok.UpCh(), 0xE9);
  tok.StepChar();
  EXPECT_EQ(tok.UpCh(), 'Z');
}

TEST(Tokenizer, ReadsTagsAndTheirSymbols)
{
  RunCases({
      {"heading with digit", "<h3 align=center>", {"<H3 ALIGN=0:\"center\"", "EOF"}},
      {"heading end", "</H2>", {"</H2", "EOF"}},
      {"heading without digit", "<H>", {"<H", "EOF"}},
      {"digit out of range", "<H7>x", {"<H", "TEXT @4 \"x\"", "EOF"}},
      {"blank before digit", "<H 1>", {"<H1", "EOF"}},
      {"end tags without symbol", "</LI></BR>", {"UNKNOWN", "UNKNOWN", "EOF"}},
      {"end tag of row 49", "</nobr>", {"</NOBR", "EOF"}},
      {"unknown word", "<blink>x", {"UNKNOWN", "TEXT @7 \"x\"", "EOF"}},
      {"lt before a digit is text", "<1>", {"TEXT @0 \"<\"", "TEXT @1 \"1>\"", "EOF"}},
      {"lt before a blank is text",
       "a < b",
       {"TEXT @0 \"a \"", "TEXT @2 \"<\"", "TEXT @3 \" b\"", "EOF"}},
      {"end tag attributes are dropped",
       "<p align=left></p align=right>",
       {"<P ALIGN=0:\"left\"", "</P", "EOF"}},
      {"tag without attribute column", "<b id=1>", {"<B", "EOF"}},
      {"case folded", "<TaBlE BoRdEr>", {"<TABLE BORDER=1:\"\"", "EOF"}},
      {"lt at end", "<", {"TEXT @0 \"<\"", "EOF"}},
      {"end-tag slash at end", "</", {"UNKNOWN", "EOF"}},
      {"tag cut by the end", "<p", {"<P", "EOF"}},
      {"word over 255 letters",
       "<" + std::string(100000, 'q') + " href=x>y",
       {"UNKNOWN", "TEXT @100009 \"y\"", "EOF"}},
      {"word of 255 letters then more",
       "<" + std::string(255, 'B') + "R>z",
       {"UNKNOWN", "TEXT @258 \"z\"", "EOF"}},
  });
}

TEST(Tokenizer, ReadsAttributeValuesByTheirRules)
{
  RunCases({
      {"percent", "<TD WIDTH=50%>", {"<TD WIDTH=50:\"50%\"", "EOF"}},
      {"percent after blank", "<TD WIDTH=50 %>", {"<TD WIDTH=50:\"50%\"", "EOF"}},
      {"quoted percent", "<TD WIDTH=\"50%\">", {"<TD WIDTH=50:\"50%\"", "EOF"}},
      {"bare border", "<TABLE BORDER>", {"<TABLE BORDER=1:\"\"", "EOF"}},
      {"border value",
       "<TABLE BORDER=3 CELLPADDING=0>",
       {"<TABLE BORDER=3:\"3\" CELLPADDING=0:\"0\"", "EOF"}},
      {"empty quoted border", "<TABLE BORDER=\"\">", {"<TABLE BORDER=0:\"\"", "EOF"}},
      {"letters after digits", "<IMG WIDTH=12px>", {"<IMG WIDTH=0:\"12px\"", "EOF"}},
      {"signs", "<FONT SIZE=+1 COLOR=-2>", {"<FONT SIZE=1:\"+1\" COLOR=-2:\"-2\"", "EOF"}},
      {"quoted gt", "<A HREF=\"x>y\">", {"<A HREF=0:\"x>y\"", "EOF"}},
      {"quoted references", "<A HREF=\"a&amp;b&amp;c\">", {"<A HREF=0:\"a&b&c\"", "EOF"}},
      {"single quotes, trimmed", "<A HREF=' x.htm '>", {"<A HREF=0:\"x.htm\"", "EOF"}},
      {"line ends dropped in quotes", "<A HREF=\"a\r\nb\">", {"<A HREF=0:\"ab\"", "EOF"}},
      {"quoted number", "<TD WIDTH=\" 20 \">", {"<TD WIDTH=20:\"20\"", "EOF"}},
      {"quoted non-number", "<TD WIDTH=\"20%x\">", {"<TD WIDTH=0:\"20%x\"", "EOF"}},
      {"plain value", "<P ALIGN=center>", {"<P ALIGN=0:\"center\"", "EOF"}},
      {"plain value keeps quotes inside", "<P ALIGN=a\"b>", {"<P ALIGN=0:\"a\"b\"", "EOF"}},
      {"blanks around =", "<P ALIGN = right >", {"<P ALIGN=0:\"right\"", "EOF"}},
      {"unknown and dashed names",
       "<META HTTP-EQUIV=x data-y=z ID=1>",
       {"<META HTTP-EQUIV=0:\"x\" ?DATA-Y=0:\"z\" ?ID=1:\"1\"", "EOF"}},
      {"repeated attribute kept twice",
       "<P ALIGN=left ALIGN=right>",
       {"<P ALIGN=0:\"left\" ALIGN=0:\"right\"", "EOF"}},
      {"stray characters ignored", "<P \"x\" ALIGN=left>", {"<P", "EOF"}},
      {"quoted value cut by the end", "<a href=\"", {"<A HREF=0:\"\"", "EOF"}},
      {"quoted value cut inside", "<a href=\"abc", {"<A HREF=0:\"abc\"", "EOF"}},
      {"value cut by the end", "<a href=", {"<A HREF=0:\"\"", "EOF"}},
  });
}

TEST(Tokenizer, KeepsTheAttributeListOfTheLastTagThatTakesAttributes)
{
  const std::string html = "<P ID=7 ALIGN=right><B></P><BR CLEAR=left>";
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.Prime();
  ASSERT_EQ(tok.CurSym(), symP);
  for (TSymbol expected : {symB, symPEnd}) {
    tok.NextToken();
    EXPECT_EQ(tok.CurSym(), expected);
    const TAttribute* a = tok.Attributes().Find(attrALIGN);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Text, "right");
  }
  tok.NextToken();
  EXPECT_EQ(tok.CurSym(), symBR);
  ASSERT_EQ(tok.Attributes().Count(), 1);
  EXPECT_EQ(tok.Attributes().Find(attrALIGN), nullptr);
  const TAttribute* clear = tok.Attributes().Find(attrCLEAR);
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(clear->Text, "left");
  EXPECT_EQ(clear->Name, ""); // nothing left over from the unknown ID before it
  EXPECT_EQ(tok.TagStart(), 27);
}

TEST(Tokenizer, SkipsCommentsAndDeclarations)
{
  RunCases({
      {"comment inside text", "a<!-- x -->b", {"TEXT @0 \"ab\"", "EOF"}},
      {"empty comment", "<!---->x", {"TEXT @7 \"x\"", "EOF"}},
      {"dashes inside", "<!-- a -- b -->c", {"TEXT @15 \"c\"", "EOF"}},
      {"extra dashes and blanks before >", "<!-- a ---  \r\n >c", {"TEXT @16 \"c\"", "EOF"}},
      {"single dash does not end", "<!-- a ->b -->c", {"TEXT @14 \"c\"", "EOF"}},
      {"declaration", "<!DOCTYPE html>z", {"TEXT @15 \"z\"", "EOF"}},
      {"consecutive", "<!-- a --><!-- b --><!x>y", {"TEXT @24 \"y\"", "EOF"}},
      {"comment between tags", "<b><!-- -->x", {"<B", "TEXT @11 \"x\"", "EOF"}},
      {"include comment without handler", "<!--#include FILE=\"a\"-->q", {"TEXT @24 \"q\"", "EOF"}},
      {"unterminated comment",
       "<b>x</b> <!-- open",
       {"<B", "TEXT @3 \"x\"", "</B", "ERROR Open Comment at End of HTML File"}},
      {"unterminated declaration", "x<!DOCTYPE", {"ERROR Open Comment at End of HTML File"}},
      {"opener at end", "<!--", {"ERROR Open Comment at End of HTML File"}},
      {"bang at end", "<!", {"ERROR Open Comment at End of HTML File"}},
      {"dashes then end", "<!-- a --", {"ERROR Open Comment at End of HTML File"}},
  });
  RunCases({{"no comments in script mode",
             "<!-- x -->",
             {"TEXT @0 \"<\"", "TEXT @1 \"!-- x -->\"", "EOF"}}},
           {.script = true});
}

TEST(Tokenizer, GivesEveryCharacterItsSourcePosition)
{
  const std::string html = "ab&hellip;c\r\n d&lt;<!--x-->e";
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.Prime();
  std::string text;
  std::vector<int32_t> positions;
  while (tok.CurSym() == symText) {
    for (int k = 0; k < tok.CurToken().Leng(); ++k)
      positions.push_back(tok.CurToken().Position(k));
    text += tok.CurToken().Chars();
    tok.NextToken();
  }
  EXPECT_EQ(tok.CurSym(), symEof);
  EXPECT_EQ(text, "ab...c d<e");
  EXPECT_EQ(positions, (std::vector<int32_t>{0, 1, 2, 3, 4, 10, 11, 14, 15, 27}));
}

// The text tokens of html (up to the first other symbol) with their characters' positions;
// every token's runs must rise and lie inside it.
std::vector<std::pair<std::string, std::vector<int32_t>>> TextPositions(const std::string& html,
                                                                        bool pre = false)
{
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.PreMode = pre;
  tok.Prime();
  std::vector<std::pair<std::string, std::vector<int32_t>>> tokens;
  for (; tok.CurSym() == symText || tok.CurSym() == symOtherChar; tok.NextToken()) {
    const TokenObj& t = tok.CurToken();
    std::vector<int32_t> positions;
    for (int k = 0; k < t.Leng(); ++k)
      positions.push_back(t.Position(k));
    int32_t lastIndex = -1;
    for (const TPositionRun& r : t.Runs()) {
      EXPECT_GT(r.Index, lastIndex) << html;
      EXPECT_LT(r.Index, t.Leng()) << html;
      lastIndex = r.Index;
    }
    tokens.emplace_back(std::string(t.Chars()), positions);
  }
  return tokens;
}

TEST(Tokenizer, KeepsPositionRunsAcrossLineEndsReferencesAndTheEnd)
{
  using TTokens = std::vector<std::pair<std::string, std::vector<int32_t>>>;
  struct TCase {
    const char* name;
    std::string html;
    bool pre;
    TTokens expected;
  };
  const TCase cases[] = {
      {"a single line end continues the run", "ab\ncd", false, {{"ab cd", {0, 1, 2, 3, 4}}}},
      {"a CR LF pair is one space at the CR", "ab\r\ncd", false, {{"ab cd", {0, 1, 2, 4, 5}}}},
      {"an LF CR pair too", "ab\n\rcd", false, {{"ab cd", {0, 1, 2, 4, 5}}}},
      {"CR LF pairs in a row", "a\r\n\r\nb", false, {{"a b", {0, 1, 5}}}},
      {"blanks and a comment fold to the first blank",
       "a \t<!--x--> b",
       false,
       {{"a b", {0, 1, 12}}}},
      {"a reference splits the text and keeps the '&'",
       "ab&amp;cd",
       false,
       {{"ab", {0, 1}}, {"&", {2}}, {"cd", {7, 8}}}},
      {"a reference of several characters counts up from the '&'",
       "a&hellip;b",
       false,
       {{"a", {0}}, {"...", {1, 2, 3}}, {"b", {9}}}},
      {"an unknown reference stays as written",
       "x&zz;y",
       false,
       {{"x", {0}}, {"&zz;", {1, 2, 3, 4}}, {"y", {5}}}},
      {"'&' as the last byte", "ab&", false, {{"ab", {0, 1}}, {"&", {2}}}},
      {"'<' as the last byte", "ab<", false, {{"ab", {0, 1}}, {"<", {2}}}},
      {"a reference cut by the end", "ab&am", false, {{"ab", {0, 1}}, {"&am", {2, 3, 4}}}},
      {"a numeric reference cut by the end", "a&#6", false, {{"a", {0}}, {"&#6", {1, 2, 3}}}},
      {"a blank as the last byte", "ab\r\n", false, {{"ab ", {0, 1, 2}}}},
      {"a single space before a word", " cd", false, {{" cd", {0, 1, 2}}}},
      {"two spaces before a word", "  cd", false, {{" cd", {0, 2, 3}}}},
      {"a space and a tab", " \tcd", false, {{" cd", {0, 2, 3}}}},
      {"a space and a line end", " \r\ncd", false, {{" cd", {0, 3, 4}}}},
      {"a space and a comment", " <!--x-->cd", false, {{" cd", {0, 9, 10}}}},
      {"a space and a reference", " &lt;", false, {{" ", {0}}, {"<", {1}}}},
      {"a space and a control character", " \x01", false, {{" ", {0}}, {"\x01", {1}}}},
      {"a space as the last byte", "x ", false, {{"x ", {0, 1}}}},
      {"pre-formatted text keeps blanks but folds the pair",
       "a  b\r\nc",
       true,
       {{"a  b\rc", {0, 1, 2, 3, 4, 6}}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextPositions(c.html, c.pre), c.expected) << c.name;
}

// A run longer than a token goes on in the next token at the byte where the first stopped,
// whatever breaks the run just before or after that place.
TEST(Tokenizer, ContinuesPositionRunsAcrossTokenEnds)
{
  for (const char* breaker : {"\r\n", "  ", "\n"}) {
    for (size_t at = 95; at < 105; ++at) {
      std::string html(220, 'w');
      html.replace(at, 0, breaker);
      std::vector<int32_t> all;
      std::string text;
      for (const auto& [chars, positions] : TextPositions(html)) {
        EXPECT_LE(chars.size(), size_t(TTokenizer::MaxTextToken));
        text += chars;
        all.insert(all.end(), positions.begin(), positions.end());
      }
      ASSERT_EQ(text.size(), all.size());
      // Every character at its own byte: the folded blank at the first blank byte.
      int32_t expected = 0;
      for (size_t k = 0; k < all.size(); ++k) {
        EXPECT_EQ(all[k], expected) << breaker << " at " << at << " char " << k;
        expected += (text[k] == ' ') ? int32_t(std::strlen(breaker)) : 1;
      }
    }
  }
}

TEST(Tokenizer, CutsTextIntoTokensOfAtMost100Characters)
{
  std::string html(250, 'w');
  html[120] = ' ';
  html[121] = ' ';
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.Prime();
  std::vector<int> lengths;
  int32_t expectedPos = 0;
  while (tok.CurSym() == symText) {
    lengths.push_back(tok.CurToken().Leng());
    for (int k = 0; k < tok.CurToken().Leng(); ++k) {
      EXPECT_EQ(tok.CurToken().Position(k), expectedPos);
      expectedPos += expectedPos == 120 ? 2 : 1; // the two blanks are one space
    }
    tok.NextToken();
  }
  EXPECT_EQ(lengths, (std::vector<int>{100, 100, 49}));
}

// Text runs are read many bytes at a time. Whatever the place of a blank pair, a stop byte or
// the end relative to those steps, the text must read as words joined by one space (code 5 in
// NOBR) with every character at its own byte, the kept blank at the first of a pair.
TEST(Tokenizer, ReadsLongTextRunsAsByteByByte)
{
  struct TRunCase {
    const char* name;
    std::string tail;         // what follows the head
    std::string expectedTail; // its text, up to a tag or a reference
    bool noWrap;
  };
  const TRunCase cases[] = {
      {"two spaces", "  more words here", " more words here", false},
      {"space and line end", " \r\nmore words here", " more words here", false},
      {"tab", "\tmore words here", " more words here", false},
      {"single spaces in NOBR", " more  words", "\x05more\x05words", true},
      {"tag after a space", " <b>more words here", " ", false},
      {"comment after a space", " <!-- c -->more words", " more words", false},
      {"reference", "&amp;more words here", "&", false},
      {"bytes above 127", "\xE9\xFF more  words", "\xE9\xFF more words", false},
  };
  for (const auto& c : cases) {
    for (size_t lead = 1; lead < 40; ++lead) {
      std::string head;
      while (head.size() < lead)
        head += head.size() % 6 == 5 ? ' ' : char('a' + head.size() % 26);
      if (head.back() == ' ')
        head.back() = 'z';
      const std::string html = head + c.tail;
      TTokenizer tok;
      tok.BeginBuffer(html.data(), int64_t(html.size()));
      tok.NoWrapMode = c.noWrap;
      tok.Prime();
      std::string text;
      std::vector<int32_t> positions;
      for (; tok.CurSym() == symText; tok.NextToken()) {
        for (int k = 0; k < tok.CurToken().Leng(); ++k)
          positions.push_back(tok.CurToken().Position(k));
        text += tok.CurToken().Chars();
        if (tok.CurToken().Chars() == "&")
          break;
      }
      std::string expected = head;
      if (c.noWrap)
        std::replace(expected.begin(), expected.end(), ' ', '\x05');
      EXPECT_EQ(text, expected + c.expectedTail) << c.name << " lead " << lead;
      ASSERT_GT(positions.size(), head.size()) << c.name << " lead " << lead;
      // Every character of the head at its own byte; the first of the tail (a kept blank, a
      // stop) at the byte right after the head.
      for (size_t k = 0; k <= head.size(); ++k)
        EXPECT_EQ(positions[k], int32_t(k)) << c.name << " lead " << lead << " char " << k;
    }
  }
}

TEST(Tokenizer, ReadsTagsWithoutBlanksLikeAnyOther)
{
  RunCases({
      {"start and end", "<b>x</B>", {"<B", "TEXT @3 \"x\"", "</B", "EOF"}},
      {"attributes of the last tag that took some stay",
       "<p align=left><b></b><p>",
       {"<P ALIGN=0:\"left\"", "<B", "</B", "<P", "EOF"}},
      {"heading digit", "<h4>", {"<H4", "EOF"}},
      {"seventeen letters", "<abcdefghijklmnopq>x", {"UNKNOWN", "TEXT @19 \"x\"", "EOF"}},
      {"no closing bracket", "<b", {"<B", "EOF"}},
      {"comment right after", "<b><!-- c -->x", {"<B", "TEXT @13 \"x\"", "EOF"}},
  });
}

TEST(Tokenizer, TreatsByte26AsTheEndAndNeverReadsPastIt)
{
  RunCases({
      {"end marker byte", std::string("ab\x1A<b>cd"), {"TEXT @0 \"ab\"", "EOF"}},
      {"control character",
       std::string("a\x01\x00z", 4),
       {"TEXT @0 \"a\"", "OTHER @1 \"\\x01\"", "OTHER @2 \"\\x00\"", "TEXT @3 \"z\"", "EOF"}},
      {"empty input", "", {"EOF"}},
  });
  TTokenizer tok;
  tok.BeginBuffer("x", 1);
  tok.Prime();
  for (int i = 0; i < 5; ++i)
    tok.NextToken();
  EXPECT_EQ(tok.CurSym(), symEof);
  EXPECT_EQ(tok.SrcIndex(), 0);
}

TEST(Tokenizer, ClearsParaSpaceAddedWhenContentArrives)
{
  struct Case {
    const char* html;
    bool stillSet;
  } cases[] = {
      {"x", false},        {"<BR>", false},    {"<H2>", false},    {"<HR>", false},
      {"<IMG>", false},    {"<TABLE>", false}, {"<INPUT>", false}, {"<TEXTAREA>", false},
      {"<SELECT>", false}, {"<PANEL>", false}, {"<P>", true},      {"</H2>", true},
      {"<B>", true},       {"</TABLE>", true}, {"\x01", true},     {"<TD>", true},
  };
  for (const auto& c : cases) {
    TTokenizer tok;
    tok.BeginBuffer(c.html, int64_t(std::strlen(c.html)));
    tok.AdvanceChar();
    tok.ParaSpaceAdded = true;
    tok.NextToken();
    EXPECT_EQ(tok.ParaSpaceAdded, c.stillSet) << c.html;
  }
}

TEST(Tokenizer, ResetsItsStateForEachSourceKind)
{
  TTokenizer tok;
  tok.BeginStrings({"<b>one", "two"});
  EXPECT_EQ(tok.Kind(), skStrings);
  tok.PreMode = tok.NoWrapMode = tok.ScriptMode = true;
  std::istringstream stream("<i>x");
  tok.BeginStream(stream);
  EXPECT_EQ(tok.Kind(), skStream);
  EXPECT_FALSE(tok.PreMode || tok.NoWrapMode || tok.ScriptMode);
  EXPECT_EQ(tok.SrcIndex(), -1);
  tok.Prime();
  EXPECT_EQ(tok.CurSym(), symI);

  tok.BeginStrings({"<b>one", "two"});
  std::ostringstream out;
  DumpTokenStream(tok, out);
  EXPECT_EQ(out.str(), "<B\nTEXT @3 \"one two \"\nEOF\n"); // lines joined with CR LF

  EXPECT_THROW(
      {
        try {
          tok.BeginFile("/nonexistent/dir/page.htm");
        } catch (const ELumoraError& e) {
          EXPECT_STREQ(e.what(), "Can't locate file: /nonexistent/dir/page.htm");
          throw;
        }
      },
      ELumoraError);
  EXPECT_THROW(tok.BeginFile("/"), ELumoraError);
}

// Tags whose bytes all stand as they are read straight from the block; a tab in place of a
// blank sends the same tag through the byte-by-byte reader, which must give the same tokens
// (a tab is one byte, so even the positions agree).
TEST(Tokenizer, ReadsATagAlikeWhateverBlanksItHolds)
{
  const std::vector<std::string> tags = {
      "<FONT SIZE=+1 COLOR=\"#3366cc\">",
      "<font size = -2 face='Arial, Helvetica'>",
      "<TD WIDTH=50 % ALIGN=center NOWRAP>",
      "<TABLE BORDER CELLPADDING=\"  4 \" WIDTH=\"80%\">",
      "<META HTTP-EQUIV=Refresh CONTENT=\"5; url=x.htm\" data-x=1>",
      "<P \"stray\" ALIGN=right junk>",
      "</A HREF=x>",
      "<H 3 ALIGN=center>",
      "<IMG SRC=a.gif ALT=\"a > b\" WIDTH=12px ISMAP>",
      "<BLOCKQUOTE CITE=x>",
      "<abcdefghijklmnopq ALIGN=left>",
      "<INPUT TYPE=text VALUE=''>",
  };
  for (const std::string& tag : tags) {
    std::string tabbed = tag;
    bool quoted = false;
    char quote = 0;
    for (char& c : tabbed) {
      if (quoted && c == quote)
        quoted = false;
      else if (!quoted && (c == '"' || c == '\''))
        quoted = true, quote = c;
      else if (!quoted && c == ' ')
        c = '\t';
    }
    ASSERT_NE(tabbed, tag);
    const std::string page = tag + "text" + tag;
    EXPECT_EQ(Joined(Tokens(page)), Joined(Tokens(tabbed + "text" + tabbed))) << tag;
  }
}

// Names and values are looked at sixteen bytes at a time when that many bytes are left, and
// byte by byte near the end: each tag must read the same with text after it as without, and
// with a tab for its first blank (the byte-by-byte reader). Lengths straddle the sixteen.
TEST(Tokenizer, ReadsTagsAlikeWhateverFollowsThem)
{
  struct TTagCase {
    std::string html;
    std::string expected;
  };
  const TTagCase cases[] = {
      {"<b>", "<B"},
      {"</font>", "</FONT"},
      {"<BlockQuote>", "<BLOCKQUOTE"},
      {"<h5 align=left>", "<H5 ALIGN=0:\"left\""},
      {"<abcdefghijklmno>", "UNKNOWN"},
      {"<abcdefghijklmnop>", "UNKNOWN"},
      {"<abcdefghijklmnopq>", "UNKNOWN"},
      {"<p align=center>", "<P ALIGN=0:\"center\""},
      {"<table cellpadding=4 cellspacing=\"2\">", "<TABLE CELLPADDING=4:\"4\" CELLSPACING=2:\"2\""},
      {"<meta http-equiv=x>", "<META HTTP-EQUIV=0:\"x\""},
      {"<p abcdefghijklmno=1>", "<P ?ABCDEFGHIJKLMNO=1:\"1\""},
      {"<p abcdefghijklmnop=1>", "<P ?ABCDEFGHIJKLMNOP=1:\"1\""},
      {"<p abcdefghijklmnopqr=1>", "<P ?ABCDEFGHIJKLMNOPQR=1:\"1\""},
      {"<p data-x-y=z>", "<P ?DATA-X-Y=0:\"z\""},
      {"<a href=\"0123456789abcdef0123.htm\">", "<A HREF=0:\"0123456789abcdef0123.htm\""},
      {"<a href='  x.htm  '>", "<A HREF=0:\"x.htm\""},
      {"<a href=\"a&amp;b\">", "<A HREF=0:\"a&b\""},
      {"<a href=\"x<y\">", "<A HREF=0:\"x<y\""},
      {"<a href=\"x<!--y-->z\">", "<A HREF=0:\"xz\""},
      {"<a href=0123456789abcdefghij>", "<A HREF=0:\"0123456789abcdefghij\""},
      {"<td width=\"50%\">", "<TD WIDTH=50:\"50%\""},
      {"<td width=50 %>", "<TD WIDTH=50:\"50%\""},
      {"<font size=123456789>", "<FONT SIZE=123456789:\"123456789\""},
      {"<font size=1234567890>", "<FONT SIZE=1234567890:\"1234567890\""},
      {"<font size=99999999999>", "<FONT SIZE=0:\"99999999999\""},
      {"<font size=\"+2\">", "<FONT SIZE=2:\"+2\""},
      {"<td width=\" 0x1F \">", "<TD WIDTH=31:\"0x1F\""},
      {"<td width='$10'>", "<TD WIDTH=16:\"$10\""},
      {"<td width=\"#12\">", "<TD WIDTH=0:\"#12\""},
      {"<td width=\"12a\">", "<TD WIDTH=0:\"12a\""},
  };
  for (const auto& c : cases) {
    for (const std::string& after : {std::string(), std::string(15, 'x'), std::string(40, 'y')}) {
      std::vector<std::string> expected = {c.expected};
      if (!after.empty())
        expected.push_back("TEXT @" + std::to_string(c.html.size()) + " \"" + after + "\"");
      expected.push_back("EOF");
      EXPECT_EQ(Joined(Tokens(c.html + after)), Joined(expected)) << c.html << " + " << after;
      std::string tabbed = c.html;
      const size_t blank = tabbed.find(' ');
      if (blank == std::string::npos)
        continue;
      tabbed[blank] = '\t';
      EXPECT_EQ(Joined(Tokens(tabbed + after)), Joined(expected)) << tabbed << " + " << after;
    }
  }
}

// The byte after a tag is read with the tag when it needs nothing done; anything else takes
// the general way, and a script body starts raw when asked.
TEST(Tokenizer, ReadsTheByteAfterATagByItsKind)
{
  const std::string pad(20, 'z');
  RunCases({
      {"a letter", "<b>x" + pad, {"<B", "TEXT @3 \"x" + pad + "\"", "EOF"}},
      {"a line end", "<b>\r\nx" + pad, {"<B", "TEXT @3 \" x" + pad + "\"", "EOF"}},
      {"a tab", "<b>\tx" + pad, {"<B", "TEXT @3 \" x" + pad + "\"", "EOF"}},
      {"a tag", "<b><i>" + pad, {"<B", "<I", "TEXT @6 \"" + pad + "\"", "EOF"}},
      {"a comment", "<b><!-- c -->" + pad, {"<B", "TEXT @13 \"" + pad + "\"", "EOF"}},
      {"the end marker", "<b>\x1A" + pad, {"<B", "EOF"}},
      {"a reference", "<b>&lt;" + pad, {"<B", "TEXT @3 \"<\"", "TEXT @7 \"" + pad + "\"", "EOF"}},
  });
  const std::string html = "<script><!-- x -->" + pad;
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.RawScriptBody = true;
  tok.Prime();
  ASSERT_EQ(tok.CurSym(), symSCRIPT);
  EXPECT_EQ(tok.CurCh(), '<');
  EXPECT_EQ(tok.ReadScriptBody(), "<!-- x -->" + pad);
}

// A tag that the block ends inside is read up to the end like any other.
TEST(Tokenizer, ReadsTagsCutByTheEndOfTheInput)
{
  RunCases({
      {"numeric value", "<font size=+1", {"<FONT SIZE=1:\"+1\"", "EOF"}},
      {"numeric value then blank", "<font size=+1 ", {"<FONT SIZE=1:\"+1\"", "EOF"}},
      {"percent", "<td width=5%", {"<TD WIDTH=5:\"5%\"", "EOF"}},
      {"name", "<p align", {"<P ALIGN=0:\"\"", "EOF"}},
      {"name then blank", "<p align ", {"<P ALIGN=0:\"\"", "EOF"}},
      {"after the value", "<p align=left ", {"<P ALIGN=0:\"left\"", "EOF"}},
      {"stray characters", "<p align=left x\"", {"<P ALIGN=0:\"left\" ?X=0:\"\"", "EOF"}},
      {"heading digit", "<h2", {"<H2", "EOF"}},
      {"end tag", "</b", {"</B", "EOF"}},
      {"less-than last", "x<", {"TEXT @0 \"x\"", "TEXT @1 \"<\"", "EOF"}},
      {"ampersand last", "x&", {"TEXT @0 \"x\"", "TEXT @1 \"&\"", "EOF"}},
  });
}

// Each token with where it starts: the first position of a text, the '<' of a tag.
std::vector<std::string> TokenStarts(const std::string& html, TModes modes = {},
                                     TIncludeType include = nullptr)
{
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()), std::move(include));
  tok.PreMode = modes.pre;
  tok.NoWrapMode = modes.noWrap;
  tok.Prime();
  std::vector<std::string> starts;
  for (; tok.CurSym() != symEof; tok.NextToken()) {
    const bool text = tok.CurSym() == symText;
    const int32_t at = text ? tok.CurToken().Position(0) : tok.TagStart();
    starts.push_back(DescribeToken(tok) + (text ? "" : " @" + std::to_string(at)));
  }
  return starts;
}

// A blank right before a tag is a token of one space, wherever the blank comes from; a blank
// that a line-end pair, a comment or the end of the input follows is read the general way.
TEST(Tokenizer, ReadsABlankBeforeATagAsOneSpace)
{
  struct TBlankCase {
    const char* name;
    std::string html;
    TModes modes;
    std::vector<std::string> expected;
  };
  const TBlankCase cases[] = {
      {"space", "<b> <i>", {}, {"<B @0", "TEXT @3 \" \"", "<I @4"}},
      {"line end", "<b>\n<i>", {}, {"<B @0", "TEXT @3 \" \"", "<I @4"}},
      {"tab", "<b>\t<i>", {}, {"<B @0", "TEXT @3 \" \"", "<I @4"}},
      {"CR LF pair", "<b>\r\n<i>", {}, {"<B @0", "TEXT @3 \" \"", "<I @5"}},
      {"comment after it", "<b> <!-- c --><i>", {}, {"<B @0", "TEXT @3 \" \"", "<I @14"}},
      {"'<' last", "<b> <", {}, {"<B @0", "TEXT @3 \" \"", "TEXT @4 \"<\""}},
      {"NOBR", "<b> <i>", {.noWrap = true}, {"<B @0", "TEXT @3 \"\\x05\"", "<I @4"}},
      {"PRE keeps the line end",
       "<b>\n<i>",
       {.pre = true},
       {"<B @0", "TEXT @3 \"\\x0D\"", "<I @4"}},
      {"after text", "ab <i>", {}, {"TEXT @0 \"ab \"", "<I @3"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Joined(TokenStarts(c.html, c.modes)), Joined(c.expected)) << c.name;

  // Include text keeps the position of the comment's '>' for every token read from it.
  auto include = [](QObject*, const std::string&, std::vector<std::string>, const char*& buffer,
                    int32_t& size) {
    static const char text[] = "<b> <i>";
    buffer = text;
    size = int32_t(sizeof text - 1);
  };
  EXPECT_EQ(Joined(TokenStarts("<!--#x--> <p>", {}, include)),
            Joined({"<B @8", "TEXT @8 \" \"", "<I @8", "TEXT @9 \" \"", "<P @10"}));
}

// A tag that is a word alone still empties the attribute list when it takes attributes, and
// leaves it when it takes none.
TEST(Tokenizer, ReadsATagThatIsAWordAlone)
{
  RunCases({
      {"start tag taking attributes",
       "<p align=right><p><b><font size=2></b>",
       {"<P ALIGN=0:\"right\"", "<P", "<B", "<FONT SIZE=2:\"2\"", "</B", "EOF"}},
      {"end tag", "</table></H3></nobr>", {"</TABLE", "</H3", "</NOBR", "EOF"}},
      {"heading digit", "<h3><H6 >", {"<H3", "<H6", "EOF"}},
      {"unknown word", "<blink></blink><li></li>", {"UNKNOWN", "UNKNOWN", "<LI", "UNKNOWN", "EOF"}},
      {"at the end", "<br>", {"<BR", "EOF"}},
  });
}

// Tag words up to eight letters are told from the bytes around them eight bytes at a time: the
// bytes next to the letters in the code table, and those above 127 whose low seven bits are a
// letter, end a word; a word that fills the eight bytes reads as a longer one does.
TEST(Tokenizer, ReadsTagWordsUpToTheFirstByteThatIsNoLetter)
{
  const std::string after = "0123456789";
  struct TWordCase {
    std::string tag;
    std::string expected;
  } cases[] = {
      {"<b@>", "<B"},
      {"<b[>", "<B"},
      {"<b`>", "<B"},
      {"<b{>", "<B"},
      {"<i\xC9>", "<I"},
      {"<i\xE9>", "<I"},
      {"<u/>", "<U"},
      {"<ADDRESS>", "<ADDRESS"},
      {"<BaseFont>", "<BASEFONT"},
      {"</NoFrames>", "</NOFRAMES"},
      {"<bLoCkQuOtE>", "<BLOCKQUOTE"},
      {"<ABCDEFGH>", "UNKNOWN"},
      {"<SELECTE>", "UNKNOWN"},
      {"<tt\x01>", "<TT"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Tokens(c.tag + after).front(), c.expected) << c.tag;
    EXPECT_EQ(Tokens(c.tag).front(), c.expected) << c.tag << " at the end";
  }
}
