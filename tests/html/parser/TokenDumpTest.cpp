#include "html/parser/TokenDump.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string WriteTemp(const std::string& name, const std::string& bytes)
{
  auto dir =
      std::filesystem::temp_directory_path() / ("lumora-tokdump-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto path = (dir / name).string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

} // namespace

TEST(DumpTokens, ListsOneTokenPerLine)
{
  const std::string html = "<HTML>\r\n<p align=right>Fish &amp; chips</P>\n"
                           "<a href='x.htm' id=top>go</a>\t<!-- note -->&#9;<br>\x07"
                           "end<TD width=50%>caf\xE9";
  const std::string expected = "<HTML\n"
                               "TEXT @6 \" \"\n"
                               "<P ALIGN=0:\"right\"\n"
                               "TEXT @23 \"Fish \"\n"
                               "TEXT @28 \"&\"\n"
                               "TEXT @33 \" chips\"\n"
                               "</P\n"
                               "TEXT @43 \" \"\n"
                               "<A HREF=0:\"x.htm\" ?ID=0:\"top\"\n"
                               "TEXT @67 \"go\"\n"
                               "</A\n"
                               "TEXT @73 \" \"\n"
                               "TEXT @87 \" \"\n"
                               "<BR\n"
                               "OTHER @95 \"\\x07\"\n"
                               "TEXT @96 \"end\"\n"
                               "<TD WIDTH=50:\"50%\"\n"
                               "TEXT @113 \"caf\\xE9\"\n"
                               "EOF\n";
  std::ostringstream out;
  EXPECT_EQ(DumpTokens(WriteTemp("golden.htm", html), out), 0);
  EXPECT_EQ(out.str(), expected);
}

TEST(DumpTokens, ReportsAnOpenCommentAfterTheTokensRead)
{
  std::ostringstream out;
  EXPECT_EQ(DumpTokens(WriteTemp("open.htm", "<h1>x</h1> <!-- open"), out), 0);
  EXPECT_EQ(out.str(), "<H1\nTEXT @4 \"x\"\n</H1\nERROR Open Comment at End of HTML File\n");
}

TEST(DumpTokens, FailsWithAMessageForAMissingFile)
{
  std::ostringstream out;
  testing::internal::CaptureStderr();
  EXPECT_EQ(DumpTokens("/nonexistent/missing.htm", out), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "error: Can't locate file: /nonexistent/missing.htm\n");
  EXPECT_EQ(out.str(), "");
}
