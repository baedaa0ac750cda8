#include "editor/HTMLHighlighter.h"
#include "editor/HTMLVocabulary.h"
#include "platform/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The tokens of one line as "Kind@start'text'", blank-separated; the range after the line
// goes into `range`.
std::string Tokens(TtxHTMLHighlighter& h, const std::string& line, int& range)
{
  std::string out;
  h.RestoreRange(range);
  for (h.StartLine(line, 0); !h.AtLineEnd(); h.NextToken()) {
    if (!out.empty())
      out += ' ';
    out += TokenKindName(h.TokenKindOf()).substr(5) + "@" + std::to_string(h.TokenStart()) + "'" +
           std::string(h.CurrentTokenText()) + "'";
  }
  range = h.CurrentRange();
  return out;
}

TEST(HTMLHighlighter, TokensOfSingleLines)
{
  struct TCase {
    const char* Line;
    const char* Expected;
    int RangeAfter;
  } cases[] = {
      {"<TABLE border=1>",
       "Symbol@0'<' Key@1'TABLE' Space@6' ' Identifier@7'border' Symbol@13'=' Value@14'1' "
       "Symbol@15'>'",
       RangeText},
      {"<table>", "Symbol@0'<' Key@1'table' Symbol@6'>'", RangeText},
      {"<tabel>", "Symbol@0'<' UndefKey@1'tabel' Symbol@6'>'", RangeText},
      {"</br>", "Symbol@0'<' UndefKey@1'/br' Symbol@4'>'", RangeText},
      {"</plaintext>", "Symbol@0'<' UndefKey@1'/plaintext' Symbol@11'>'", RangeText},
      {"</Table>", "Symbol@0'<' Key@1'/Table' Symbol@7'>'", RangeText},
      {"<!DOCTYPE html>", "Symbol@0'<' Key@1'!DOCTYPE' Space@9' ' Identifier@10'html' Symbol@14'>'",
       RangeText},
      {"<h1>x</H1>",
       "Symbol@0'<' Key@1'h1' Symbol@3'>' Text@4'x' Symbol@5'<' Key@6'/H1' Symbol@9'>'", RangeText},
      // 26 * 10 is beyond the keyword table: an identifier, not an unknown word.
      {"<zzzzzzzzzz>", "Symbol@0'<' Identifier@1'zzzzzzzzzz' Symbol@11'>'", RangeText},
      {"a &AMP; b", "Text@0'a ' Entity@2'&AMP;' Text@7' b'", RangeText},
      {"a & b", "Text@0'a & b'", RangeText},
      {"&lt;p&gt;", "Text@0'' Entity@0'&lt;' Text@4'p' Entity@5'&gt;'", RangeText},
      {"x&divide y", "Text@0'x' Entity@1'&divide' Text@8' y'", RangeText},
      {"<%= x %>", "Asp@0'<%' Asp@2'= x %>'", RangeText},
      {"<% if", "Asp@0'<%' Asp@2' if'", RangeAsp},
      {"<!-- a", "Comment@0'<!--' Comment@4' a'", RangeComment},
      {"<!---->z", "Comment@0'<!--' Comment@4'-->' Text@7'z'", RangeText},
      {"<a href=\"x y\">",
       "Symbol@0'<' Key@1'a' Space@2' ' Identifier@3'href' Symbol@7'=' Value@8'\"x y\"' "
       "Symbol@13'>'",
       RangeText},
      {"<a href=\"x", "Symbol@0'<' Key@1'a' Space@2' ' Identifier@3'href' Symbol@7'=' Value@8'\"x'",
       RangeTagInside},
      {"<p", "Symbol@0'<' Key@1'p'", RangeTagInside},
      {"\"q\" text", "Text@0'\"q\" text'", RangeText},
      {"\ta\tb", "Space@0'\t' Text@1'a' Space@2'\t' Text@3'b'", RangeText},
      // An "&" inside a tag consumes nothing and ends the tag state.
      {"<a &amp;", "Symbol@0'<' Key@1'a' Space@2' ' Space@3'' Text@3'' Entity@3'&amp;'", RangeText},
      {"", "", RangeText},
  };
  TtxHTMLHighlighter h;
  for (const auto& c : cases) {
    int range = RangeText;
    EXPECT_EQ(Tokens(h, c.Line, range), c.Expected) << c.Line;
    EXPECT_EQ(range, c.RangeAfter) << c.Line;
  }
}

TEST(HTMLHighlighter, RangesCarryAcrossLines)
{
  struct TCase {
    std::vector<const char*> Lines;
    std::vector<const char*> Expected;
    std::vector<int> RangesAfter;
  } cases[] = {
      {{"<!-- a", "b --> c"},
       {"Comment@0'<!--' Comment@4' a'", "Comment@0'b -->' Text@5' c'"},
       {RangeComment, RangeText}},
      {{"<% a", "", "b %> c"},
       {"Asp@0'<%' Asp@2' a'", "", "Asp@0'b %>' Text@4' c'"},
       {RangeAsp, RangeAsp, RangeText}},
      {{"<img", "src=\"a.gif\" alt=x>"},
       {"Symbol@0'<' Key@1'img'",
        "Identifier@0'src' Symbol@3'=' Value@4'\"a.gif\"' Space@11' ' Identifier@12'alt' "
        "Symbol@15'=' Value@16'x' Symbol@17'>'"},
       {RangeTagInside, RangeText}},
      // An "&" that starts a line inside a tag must not end that line.
      {{"<a", "&x; b"},
       {"Symbol@0'<' Key@1'a'", "Text@0'' Text@0'&x; b'"},
       {RangeTagInside, RangeText}},
      {{"<a href=", "\"x\">"},
       {"Symbol@0'<' Key@1'a' Space@2' ' Identifier@3'href' Symbol@7'='",
        "Value@0'\"x\"' Symbol@3'>'"},
       {RangeAttrValue, RangeText}},
  };
  TtxHTMLHighlighter h;
  for (const auto& c : cases) {
    int range = RangeText;
    for (size_t i = 0; i < c.Lines.size(); ++i) {
      EXPECT_EQ(Tokens(h, c.Lines[i], range), c.Expected[i]) << c.Lines[i];
      EXPECT_EQ(range, c.RangesAfter[i]) << c.Lines[i];
    }
  }
}

TEST(HTMLHighlighter, TokenClassesAndDefaults)
{
  TtxHTMLHighlighter h;
  ASSERT_EQ(h.AttributeCount(), 10);
  // Kept in display-name order.
  const char* names[] = {"Asp",           "Comment", "Escape ampersand", "Identifier",
                         "Reserved word", "Space",   "Symbol",           "Text",
                         "Unknown word",  "Value"};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(h.AttributeAt(i)->Name(), names[i]);
  EXPECT_EQ(h.AttributeAt(10), nullptr);
  EXPECT_EQ(h.AndAttri->Foreground(), 65280);
  EXPECT_EQ(h.AndAttri->Style(), fsBold);
  EXPECT_EQ(h.ASPAttri->Background(), clYellow);
  EXPECT_EQ(h.ASPAttri->Foreground(), clBlack);
  EXPECT_EQ(h.KeyAttri->Foreground(), 16711808);
  EXPECT_EQ(h.UndefKeyAttri->Foreground(), 255);
  EXPECT_EQ(h.ValueAttri->Foreground(), 16744448);
  EXPECT_EQ(h.TextAttri->Style(), 0);
  EXPECT_EQ(h.CommentAttri->Background(), clWindow);
  EXPECT_EQ(h.LanguageName(), "HTML Document");
  EXPECT_EQ(h.GetDefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
  EXPECT_EQ(h.Capabilities(), 7u);
  EXPECT_TRUE(h.IdentifierChars()['z']);
  EXPECT_TRUE(h.IdentifierChars()['7']);
  EXPECT_FALSE(h.IdentifierChars()['_']);
  // Kinds map to classes; the end of the line has none.
  h.StartLine("<p>", 0);
  EXPECT_EQ(h.TokenAttributes(), h.SymbolAttri);
  h.NextToken();
  EXPECT_EQ(h.TokenAttributes(), h.KeyAttri);
  h.NextToken();
  h.NextToken();
  EXPECT_TRUE(h.AtLineEnd());
  EXPECT_EQ(h.TokenAttributes(), nullptr);
}

TEST(HTMLVocabulary, HashesKeywordsAndEntities)
{
  struct THash {
    const char* Name;
    int Hash;
    int Length;
  } hashes[] = {{"A", 1, 1},          {"H1", 9, 2},  {"I", 9, 1},     {"/A", 123, 2},
                {"!DOCTYPE", 211, 8}, {"a1b", 2, 2}, {"H12x", 11, 3}, {"_x", 0, 0}};
  for (const auto& h : hashes) {
    auto got = htmlvocab::HashName(h.Name);
    EXPECT_EQ(got.Hash, h.Hash) << h.Name;
    EXPECT_EQ(got.Length, h.Length) << h.Name;
  }
  EXPECT_EQ(htmlvocab::KeywordCount(), 198);
  ASSERT_EQ(htmlvocab::EntityCount(), 151);
  EXPECT_EQ(htmlvocab::Entity(0), "&amp;");
  EXPECT_EQ(htmlvocab::Entity(7), "&reg;");
  EXPECT_EQ(htmlvocab::Entity(8), "&Agrave;");
  EXPECT_EQ(htmlvocab::Entity(69), "&yuml;");
  EXPECT_EQ(htmlvocab::Entity(98), "&divide");
  EXPECT_EQ(htmlvocab::Entity(99), "&euro;");
  EXPECT_EQ(htmlvocab::Entity(100), "&#9;");
  EXPECT_EQ(htmlvocab::Entity(107), "&ldots;");
  EXPECT_EQ(htmlvocab::Entity(150), "&#215;");
  // The first match in table order wins, whatever the case.
  EXPECT_EQ(htmlvocab::MatchEntity("&eth; "), htmlvocab::MatchEntity("&ETH;"));
  EXPECT_EQ(htmlvocab::MatchEntity("&#133;"), -1);
  EXPECT_EQ(htmlvocab::MatchEntity("&"), -1);
}

TEST(HTMLHighlighter, SettingsRoundTripThroughTheIniStore)
{
  const std::string path = testsupport::TempDir().toStdString() + "/highlight.ini";
  TtxHTMLHighlighter saved;
  saved.KeyAttri->SetForeground(clGreen);
  saved.CommentAttri->SetIntegerStyle(fsItalic | fsUnderline);
  {
    TIniFile ini(path);
    EXPECT_FALSE(saved.LoadSettings(ini, "Editor"));
    saved.SaveSettings(ini, "Editor");
    ini.UpdateFile();
  }
  TIniFile ini(path);
  TtxHTMLHighlighter loaded;
  int changes = 0;
  struct TCounter : THighLighterClient {
    int& N;
    explicit TCounter(int& n) : N(n) {}
    void HighLighterChanged() override { ++N; }
    void HighLighterDestroyed() override {}
  } counter(changes);
  loaded.AddEditor(&counter);
  EXPECT_TRUE(loaded.LoadSettings(ini, "Editor"));
  EXPECT_EQ(loaded.KeyAttri->Foreground(), clGreen);
  EXPECT_EQ(loaded.CommentAttri->Style(), fsItalic | fsUnderline);
  EXPECT_EQ(loaded.ValueAttri->Foreground(), 16744448);
  EXPECT_EQ(changes, 2);
  loaded.RemoveEditor(&counter);
}

} // namespace
