#include "html/parser/TokenDump.h"
#include "html/parser/Tokenizer.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A host that answers include commands from a script and records what it was asked.
struct TScriptedHost {
  std::vector<std::string> answers;
  size_t next = 0;
  std::vector<std::string> commands;
  std::vector<std::vector<std::string>> params;
  int nullBufferSize = 0; // answer a null buffer with this size instead

  TIncludeType Handler()
  {
    return [this](QObject*, const std::string& command, std::vector<std::string> p,
                  const char*& buffer, int32_t& size) {
      EXPECT_EQ(buffer, nullptr);
      EXPECT_EQ(size, 0);
      commands.push_back(command);
      params.push_back(std::move(p));
      if (nullBufferSize) {
        size = nullBufferSize;
      } else if (next < answers.size()) {
        buffer = answers[next].data();
        size = int32_t(answers[next].size());
        ++next;
      }
    };
  }
};

std::string Dump(const std::string& html, TScriptedHost& host)
{
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()), host.Handler());
  std::ostringstream out;
  DumpTokenStream(tok, out);
  return out.str();
}

} // namespace

TEST(Include, SplicesTheAnswerInPlaceOfTheComment)
{
  struct Case {
    const char* name;
    std::string html;
    std::vector<std::string> answers;
    std::string expected;
    std::vector<std::string> commands;
    std::vector<std::vector<std::string>> params;
  } cases[] = {
      {"text and tags at the comment's position",
       "A<!--#include FILE=\"a.htm\"-->B",
       {"<b>x</b>"},
       "TEXT @0 \"A\"\n<B\nTEXT @28 \"x\"\n</B\nTEXT @29 \"B\"\nEOF\n",
       {"include"},
       {{"FILE=\"a.htm\""}}},
      {"names upper-cased, values decoded and trimmed, command case kept",
       "<!--#Exec cmd=\" a&amp;b \" Size=3 -->",
       {},
       "EOF\n",
       {"Exec"},
       {{"CMD=\"a&b\"", "SIZE=\"3\""}}},
      {"include text is never scanned for commands",
       "<!--#include FILE=\"a\"-->",
       {"p<!--#include FILE=\"b\"-->q"},
       "TEXT @23 \"pq\"\nEOF\n",
       {"include"},
       {{"FILE=\"a\""}}},
      {"a tag continues from include text into the document",
       "<!--#x-->  align=center>z",
       {"<p"},
       "<P ALIGN=0:\"center\"\nTEXT @24 \"z\"\nEOF\n",
       {"x"},
       {{}}},
      {"no command inside the parameters",
       "<!--#a x=\"<!--#b-->\" -->y",
       {"n"},
       "TEXT @23 \"ny\"\nEOF\n",
       {"a"},
       {{"X=\"\""}}},
      {"an empty answer leaves nothing",
       "a<!--#date-->b",
       {""},
       "TEXT @0 \"ab\"\nEOF\n",
       {"date"},
       {{}}},
      {"two commands, each answered",
       "<!--#date--><!--#time-->",
       {"D ", "T"},
       "TEXT @11 \"D T\"\nEOF\n",
       {"date", "time"},
       {{}, {}}},
      {"unterminated command comment",
       "x <!--#include FILE=\"a\"",
       {"never"},
       "ERROR Open Comment at End of HTML File\n",
       {},
       {}},
  };
  for (auto& c : cases) {
    TScriptedHost host;
    host.answers = c.answers;
    EXPECT_EQ(Dump(c.html, host), c.expected) << c.name;
    EXPECT_EQ(host.commands, c.commands) << c.name;
    EXPECT_EQ(host.params, c.params) << c.name;
  }
}

TEST(Include, IgnoresANullBufferAndKeepsThePositionOfTheCommentEnd)
{
  TScriptedHost host;
  host.nullBufferSize = 10;
  EXPECT_EQ(Dump("a<!--#date-->b", host), "TEXT @0 \"ab\"\nEOF\n");

  TScriptedHost answered;
  answered.answers = {"x&hellip;y", "&hellip;"};
  const std::string html = "<!--#date--><!--#time-->";
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()), answered.Handler());
  tok.Prime();
  std::vector<int32_t> positions;
  for (; tok.CurSym() == symText; tok.NextToken())
    for (int k = 0; k < tok.CurToken().Leng(); ++k)
      positions.push_back(tok.CurToken().Position(k));
  // Nothing in include text points past the comment, not even the dots of "&hellip;".
  EXPECT_EQ(positions, (std::vector<int32_t>{11, 11, 11, 11, 11, 23, 23, 23}));
  EXPECT_EQ(tok.Kind(), skBuffer); // back in the document after the include text
}

// Include text keeps the position of the comment's '>' for every character; text that runs on
// from it into the document counts up from there again.
TEST(Include, PositionRunsCrossTheEndOfIncludeText)
{
  using TTokens = std::vector<std::pair<std::string, std::vector<int32_t>>>;
  struct TCase {
    const char* name;
    std::string html; // the comment's '>' is byte 9
    std::string answer;
    TTokens expected;
  };
  const TCase cases[] = {
      {"one token across the end", "a<!--#x-->cd", "xy", {{"axycd", {0, 9, 9, 10, 11}}}},
      {"a CR LF pair in include text",
       "a<!--#x-->cd",
       "x\r\ny",
       {{"ax ycd", {0, 9, 9, 9, 10, 11}}}},
      {"a blank at its end folds with the document's",
       "a<!--#x--> c",
       "x ",
       {{"ax c", {0, 9, 9, 11}}}},
      {"a reference begun in include text and ended in the document",
       "a<!--#x-->amp;b",
       "x&",
       {{"ax", {0, 9}}, {"&", {9}}, {"b", {14}}}},
      {"'&' as its last byte", "a<!--#x-->", "x&", {{"ax", {0, 9}}, {"&", {9}}}},
      {"'<' as its last byte", "a<!--#x-->", "x<", {{"ax", {0, 9}}, {"<", {9}}}},
  };
  for (const auto& c : cases) {
    TScriptedHost host;
    host.answers = {c.answer};
    TTokenizer tok;
    tok.BeginBuffer(c.html.data(), int64_t(c.html.size()), host.Handler());
    tok.Prime();
    TTokens tokens;
    for (; tok.CurSym() == symText; tok.NextToken()) {
      std::vector<int32_t> positions;
      for (int k = 0; k < tok.CurToken().Leng(); ++k)
        positions.push_back(tok.CurToken().Position(k));
      tokens.emplace_back(std::string(tok.CurToken().Chars()), positions);
    }
    EXPECT_EQ(tok.CurSym(), symEof) << c.name;
    EXPECT_EQ(tokens, c.expected) << c.name;
  }
}
