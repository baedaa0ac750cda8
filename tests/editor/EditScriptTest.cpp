#include "editor/EditScript.h"
#include "editor/HighlightDump.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct TScriptCase {
  const char* Name;
  const char* File;
  const char* Script;
  const char* Out;
  const char* Err;
  int Exit;
};

TEST(EditScript, RunsScriptsAndPrintsTheBufferAndState)
{
  const TScriptCase cases[] = {
      {"typing", "abc\n", "ecLineEnd\necChar x\n",
       "| abcx\ncaret=5,1 anchor=5,1 end=5,1 mode=normal modified=1 undo=1 redo=0\n", "", 0},
      {"comments and blank lines", "abc", "# nothing\n\n   # still nothing\n",
       "| abc\ncaret=1,1 anchor=1,1 end=1,1 mode=normal modified=0 undo=0 redo=0\n", "", 0},
      {"selecting words", "<p>one two</p>", "ecGotoXY 4 1\necSelWordRight\necSelWordRight\n",
       "| <p>one two</p>\ncaret=13,1 anchor=4,1 end=13,1 mode=normal modified=0 undo=0 redo=0\n",
       "", 0},
      {"undo and redo", "ab", "ecChar x\necChar y\necUndo\n",
       "| xab\ncaret=2,1 anchor=2,1 end=2,1 mode=normal modified=1 undo=1 redo=1\n", "", 0},
      {"input method text", "ab", "ecGotoXY 2 1\necImeStr q r\n",
       "| aq rb\ncaret=5,1 anchor=5,1 end=5,1 mode=normal modified=1 undo=1 redo=0\n", "", 0},
      {"find", "ab AB ab", "find ab case\n",
       "| ab AB ab\ncaret=3,1 anchor=1,1 end=3,1 mode=normal modified=0 undo=0 redo=0\n", "", 0},
      {"find backward", "ab AB ab", "ecLineEnd\nfind AB backward\n",
       "| ab AB ab\ncaret=7,1 anchor=7,1 end=9,1 mode=normal modified=0 undo=0 redo=0\n", "", 0},
      {"replace all", "a cat\ncat", "replace cat \"big dog\" all\n",
       "| a big dog\n| big dog\ncaret=8,2 anchor=8,2 end=8,2 mode=normal modified=1 undo=4 "
       "redo=0\n",
       "", 0},
      {"column mode", "abc\ndef", "ecColumnSelect\necSelRight\necSelDown\n",
       "| abc\n| def\ncaret=2,2 anchor=1,1 end=2,2 mode=column modified=0 undo=0 redo=0\n", "", 0},
      {"escaped output", "a\tb\"\\\xe9", "",
       "| a\\x09b\\\"\\\\\\xe9\ncaret=1,1 anchor=1,1 end=1,1 mode=normal modified=0 undo=0 "
       "redo=0\n",
       "", 0},
      {"tab typed through an escape", "ab", "ecLineStart\necChar \\t\n",
       "|     ab\ncaret=5,1 anchor=5,1 end=5,1 mode=normal modified=1 undo=4 redo=0\n", "", 0},
      {"unknown command", "ab", "ecChar x\necFly\necChar y\n", "", "error: line 2: ecFly\n", 1},
      {"malformed goto", "ab", "ecGotoXY 1\n", "", "error: line 1: ecGotoXY 1\n", 1},
      {"a command with arguments it does not take", "ab", "ecUndo now\n", "",
       "error: line 1: ecUndo now\n", 1},
      {"ecChar needs one character", "ab", "ecChar xy\n", "", "error: line 1: ecChar xy\n", 1},
      {"unknown search option", "ab", "find a sideways\n", "", "error: line 1: find a sideways\n",
       1},
  };
  const QString dir = testsupport::TempDir();
  for (const auto& c : cases) {
    std::string file = testsupport::WriteFile(dir, "file.htm", c.File);
    std::ostringstream out, err;
    EXPECT_EQ(RunEditScriptText(file, c.Script, out, err), c.Exit) << c.Name;
    EXPECT_EQ(out.str(), c.Out) << c.Name;
    EXPECT_EQ(err.str(), c.Err) << c.Name;
  }
}

TEST(EditScript, MissingFilesAreErrors)
{
  std::ostringstream out, err;
  std::string script = testsupport::WriteFile(testsupport::TempDir(), "s.txt", "ecUndo\n");
  EXPECT_EQ(RunEditScript("/no/such/file.htm", script, out, err), 1);
  EXPECT_EQ(err.str(), "error: Can't load: /no/such/file.htm\n");
  std::string file = testsupport::WriteFile(testsupport::TempDir(), "f.htm", "x");
  std::ostringstream out2, err2;
  EXPECT_EQ(RunEditScript(file, "/no/such/script", out2, err2), 1);
  EXPECT_EQ(err2.str(), "error: Can't load: /no/such/script\n");
}

TEST(HighlightDump, PrintsRangesAndTokensPerLine)
{
  std::string file = testsupport::WriteFile(testsupport::TempDir(), "page.htm",
                                            "<p class=x>a &amp; b\r\n<!-- c\r\n-->\"");
  std::ostringstream out, err;
  EXPECT_EQ(DumpHighlight(file, out, err), 0);
  EXPECT_EQ(out.str(), "line 1 range=5\n"
                       "  TokenSymbol 0 \"<\"\n"
                       "  TokenKey 1 \"p\"\n"
                       "  TokenSpace 2 \" \"\n"
                       "  TokenIdentifier 3 \"class\"\n"
                       "  TokenSymbol 8 \"=\"\n"
                       "  TokenValue 9 \"x\"\n"
                       "  TokenSymbol 10 \">\"\n"
                       "  TokenText 11 \"a \"\n"
                       "  TokenEntity 13 \"&amp;\"\n"
                       "  TokenText 18 \" b\"\n"
                       "line 2 range=5\n"
                       "  TokenComment 0 \"<!--\"\n"
                       "  TokenComment 4 \" c\"\n"
                       "line 3 range=2\n"
                       "  TokenComment 0 \"-->\"\n"
                       "  TokenText 3 \"\\\"\"\n");
  EXPECT_EQ(err.str(), "");
  std::ostringstream out2, err2;
  EXPECT_EQ(DumpHighlight("/no/such/page.htm", out2, err2), 1);
  EXPECT_EQ(err2.str(), "error: Can't load: /no/such/page.htm\n");
}

} // namespace
