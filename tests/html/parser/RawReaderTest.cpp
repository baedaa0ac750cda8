#include "html/parser/Tokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Primes the tokenizer and steps to the first token with the given symbol.
void StartAt(TTokenizer& tok, const std::string& html, TSymbol sym)
{
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.Prime();
  while (tok.CurSym() != sym && tok.CurSym() != symEof)
    tok.NextToken();
  ASSERT_EQ(tok.CurSym(), sym);
}

std::string RestAsText(TTokenizer& tok)
{
  std::string text;
  for (tok.NextToken(); tok.CurSym() == symText; tok.NextToken())
    text += tok.CurToken().Chars();
  return text;
}

} // namespace

TEST(RawReaders, TextAreaLinesEndAtTheEndTagInAnyCase)
{
  struct Case {
    const char* name;
    std::string html;
    std::vector<std::string> lines;
    std::string after;
  } cases[] = {
      {"lines, references and tags kept as text",
       "<TEXTAREA>\nline one\r\nA&amp;B <b>bold</b>\n</TextArea >after",
       {"", "line one", "A&B <b>bold</b>"},
       "after"},
      {"last line without line end", "<textarea>a  b</textarea>x", {"a  b"}, "x"},
      {"other end tags are text", "<textarea></text></textareas>", {"</text></textareas>"}, ""},
      {"cut by the end", "<textarea>abc", {"abc"}, ""},
      {"empty", "<textarea></textarea>", {}, ""},
  };
  for (const auto& c : cases) {
    TTokenizer tok;
    StartAt(tok, c.html, symTEXTAREA);
    EXPECT_EQ(tok.ReadTextAreaLines(), c.lines) << c.name;
    EXPECT_EQ(RestAsText(tok), c.after) << c.name;
  }
}

TEST(RawReaders, ScriptBodyKeepsCommentsAndTagsAsText)
{
  struct Case {
    const char* name;
    std::string html;
    bool rawScriptBody;
    std::string body;
    std::string after;
  } cases[] = {
      {"comment and less-than inside",
       "<SCRIPT LANGUAGE=\"js\">\n<!-- if (a<b) x();\n// --></script><!-- c -->z", false,
       "\r\n<!-- if (a<b) x();\r\n// -->", "z"},
      {"comment right after the tag is kept in raw mode", "<SCRIPT><!-- x --></SCRIPT>y", true,
       "<!-- x -->", "y"},
      {"without raw mode the tag reader skips it", "<SCRIPT><!-- x --></SCRIPT>y", false, "", "y"},
      {"longer tag-like pieces", "<script></scripts><b></SCRIPT>", false,
       "</scrip"
       "ts><b>",
       ""},
      {"cut by the end", "<script>a = 1;", false, "a = 1;", ""},
  };
  for (const auto& c : cases) {
    TTokenizer tok;
    tok.BeginBuffer(c.html.data(), int64_t(c.html.size()));
    tok.RawScriptBody = c.rawScriptBody;
    tok.Prime();
    ASSERT_EQ(tok.CurSym(), symSCRIPT) << c.name;
    EXPECT_EQ(tok.ReadScriptBody(), c.body) << c.name;
    EXPECT_FALSE(tok.ScriptMode) << c.name;
    EXPECT_EQ(RestAsText(tok), c.after) << c.name;
  }
}

TEST(RawReaders, SelectOptionsKeepOnlyNonEmptyTexts)
{
  struct Case {
    const char* name;
    std::string html;
    std::vector<TOptionItem> options;
    TSymbol last;
  } cases[] = {
      {"blank option dropped",
       "<SELECT><OPTION>  <OPTION VALUE=2 SELECTED>Two</SELECT>",
       {{"Two", "2", true, true}},
       symSELECTEnd},
      {"end option and text outside options",
       "<select><option value=a> Alpha &amp; co </option>junk<option>Beta",
       {{"Alpha & co", "a", false, true}, {"Beta", "", false}},
       symEof},
      {"text capped at 255",
       "<select><option>" + std::string(300, 'x') + "</select>",
       {{std::string(255, 'x'), "", false}},
       symSELECTEnd},
  };
  for (const auto& c : cases) {
    TTokenizer tok;
    StartAt(tok, c.html, symSELECT);
    auto options = tok.ReadSelectOptions();
    ASSERT_EQ(options.size(), c.options.size()) << c.name;
    for (size_t i = 0; i < options.size(); ++i) {
      EXPECT_EQ(options[i].Text, c.options[i].Text) << c.name;
      EXPECT_EQ(options[i].Value, c.options[i].Value) << c.name;
      EXPECT_EQ(options[i].Selected, c.options[i].Selected) << c.name;
      EXPECT_EQ(options[i].HasValue, c.options[i].HasValue) << c.name;
    }
    EXPECT_EQ(tok.CurSym(), c.last) << c.name;
  }
}

TEST(RawReaders, ScriptAmongOptionsIsSkippedInRawMode)
{
  const std::string html = "<select><option>A<script><!-- x --></script>B</select><!-- c -->z";
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.RawScriptBody = true;
  tok.Prime();
  ASSERT_EQ(tok.CurSym(), symSELECT);
  auto options = tok.ReadSelectOptions();
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0].Text, "AB");
  EXPECT_FALSE(tok.ScriptMode);
  EXPECT_EQ(RestAsText(tok), "z");
}
