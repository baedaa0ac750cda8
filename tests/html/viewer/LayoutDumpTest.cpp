// The layout dump: missing pages, the head line, plain text files and errors of the layout
// that the viewer would show in its error box.
#include "html/viewer/LayoutDump.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct TDumped {
  int Result = 0;
  std::string Out;
  std::string Err;
};

TDumped DumpOf(const std::string& file, int width = 800)
{
  std::ostringstream out, err;
  TDumped d;
  d.Result = DumpLayout(file, width, out, err);
  d.Out = out.str();
  d.Err = err.str();
  return d;
}

std::string FirstLine(const std::string& s)
{
  return s.substr(0, s.find('\n'));
}

TEST(LayoutDump, MissingPageIsAnError)
{
  TDumped d = DumpOf("/nonexistent/page.htm");
  EXPECT_EQ(d.Result, 1);
  EXPECT_EQ(d.Err, "error: Can't locate file: /nonexistent/page.htm\n");
  EXPECT_TRUE(d.Out.empty());
}

TEST(LayoutDump, HeadLineCarriesHeightAndTitle)
{
  QString dir = testsupport::TempDir();
  // A rule alone is 20 pixels high at the default size of 12 points and has no positions.
  std::string page = testsupport::WriteFile(dir, "rule.htm", "<TITLE>Rule page</TITLE><HR>");
  TDumped d = DumpOf(page);
  EXPECT_EQ(d.Result, 0);
  EXPECT_TRUE(d.Err.empty()) << d.Err;
  std::string head = FirstLine(d.Out);
  EXPECT_EQ(head.rfind("SectionList h=20 w=", 0), 0u) << head;
  EXPECT_NE(head.find(" pos=0 title=\"Rule page\""), std::string::npos) << head;
  EXPECT_NE(d.Out.find("HorzLine"), std::string::npos);
}

TEST(LayoutDump, TextFilesArePreformatted)
{
  QString dir = testsupport::TempDir();
  std::string page = testsupport::WriteFile(dir, "notes.txt", "<B>not bold</B>\nline two\n");
  TDumped d = DumpOf(page);
  EXPECT_EQ(d.Result, 0);
  EXPECT_NE(d.Out.find("PreFormated"), std::string::npos);
  EXPECT_EQ(d.Out.find("\n  Section"), std::string::npos) << d.Out;
}

TEST(LayoutDump, LayoutErrorsGoToErrAndTheDumpGoesOn)
{
  QString dir = testsupport::TempDir();
  std::string html = "<P>before<TABLE><TR>";
  for (int i = 0; i < 201; ++i)
    html += "<TD>c";
  html += "</TABLE><P>after";
  std::string page = testsupport::WriteFile(dir, "wide.htm", html);
  TDumped d = DumpOf(page);
  EXPECT_EQ(d.Result, 0);
  EXPECT_EQ(d.Err, "error: Table has too many Columns\n");
  EXPECT_EQ(d.Out.find("htmlTable"), std::string::npos) << d.Out;
  EXPECT_EQ(FirstLine(d.Out).rfind("SectionList h=", 0), 0u);
}

TEST(LayoutDump, NarrowerWidthMakesTextTaller)
{
  QString dir = testsupport::TempDir();
  std::string text;
  for (int i = 0; i < 200; ++i)
    text += "word ";
  std::string page = testsupport::WriteFile(dir, "words.htm", text);
  auto height = [](const std::string& out) {
    return std::stoi(out.substr(std::string("SectionList h=").size()));
  };
  int wide = height(DumpOf(page, 800).Out);
  int narrow = height(DumpOf(page, 200).Out);
  EXPECT_GT(wide, 0);
  EXPECT_GT(narrow, wide);
}

} // namespace
