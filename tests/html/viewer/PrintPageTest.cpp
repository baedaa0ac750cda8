#include "html/viewer/PrintPage.h"
#include "PdfCheck.h"
#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct PrintPageTest : ::testing::Test {
  PrintPageTest()
  {
    std::string html;
    for (int i = 0; i < 150; ++i)
      html += "<p>Paragraph " + std::to_string(i) + " of the printed page\n";
    options.Page = testsupport::WriteFile(dir, "doc.htm", html);
    options.Out = (dir + "/out.pdf").toStdString();
  }
  int Run()
  {
    out.str("");
    err.str("");
    return PrintPage(options, out, err);
  }
  bool OutExists() const { return QFile::exists(QString::fromStdString(options.Out)); }

  QString dir = testsupport::TempDir();
  TPrintPageOptions options;
  std::ostringstream out, err;
};

TEST_F(PrintPageTest, WritesThePagesItPrinted)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  ASSERT_EQ(Run(), 0) << err.str();
  const int all = pdfcheck::Pages(options.Out);
  ASSERT_GE(all, 3);
  EXPECT_EQ(out.str(), "pages=" + std::to_string(all) + "\n");
  EXPECT_EQ(err.str(), "");
  struct Case {
    int From, To;
    bool Letter;
    int Pages;
    const char* Size;
  };
  const Case cases[] = {{2, 3, false, 2, "595 x 842 pts"},
                        {1, 1, true, 1, "612 x 792 pts"},
                        {all, all + 10, false, 1, "595 x 842 pts"}};
  for (const Case& c : cases) {
    options.From = c.From;
    options.To = c.To;
    options.Letter = c.Letter;
    ASSERT_EQ(Run(), 0) << err.str();
    EXPECT_EQ(out.str(), "pages=" + std::to_string(c.Pages) + "\n");
    EXPECT_EQ(pdfcheck::Pages(options.Out), c.Pages);
    EXPECT_EQ(pdfcheck::Info(options.Out, "Page size").substr(0, std::string(c.Size).size()),
              c.Size);
  }
}

TEST_F(PrintPageTest, WiderMarginsGiveMorePages)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  ASSERT_EQ(Run(), 0);
  int normal = pdfcheck::Pages(options.Out);
  ASSERT_TRUE(ParseMargins("2,8,2,8", options.Margins));
  ASSERT_EQ(Run(), 0);
  EXPECT_GT(pdfcheck::Pages(options.Out), normal);
}

TEST_F(PrintPageTest, ErrorsLeaveNoFile)
{
  struct Case {
    const char* Name;
    std::string Page;
    std::string Out;
    int From, To;
    std::string Error;
  };
  const std::string missing = (dir + "/none.htm").toStdString();
  const std::string badDir = (dir + "/no/such/dir/x.pdf").toStdString();
  const Case cases[] = {
      {"missing page", missing, options.Out, 1, 999999, "error: Can't locate file: " + missing},
      {"unwritable output", options.Page, badDir, 1, 999999, "error: Can't write " + badDir},
      {"range backwards", options.Page, options.Out, 5, 2, "error: bad page range 5-2"},
      {"range from zero", options.Page, options.Out, 0, 2, "error: bad page range 0-2"},
  };
  for (const Case& c : cases) {
    options.Page = c.Page;
    options.Out = c.Out;
    options.From = c.From;
    options.To = c.To;
    EXPECT_NE(Run(), 0) << c.Name;
    EXPECT_EQ(err.str(), c.Error + "\n") << c.Name;
    EXPECT_EQ(out.str(), "") << c.Name;
    EXPECT_FALSE(OutExists()) << c.Name;
  }
}

TEST_F(PrintPageTest, ARangeAfterTheEndPrintsNothing)
{
  options.From = 500;
  ASSERT_EQ(Run(), 0) << err.str();
  EXPECT_EQ(out.str(), "pages=0\n");
  EXPECT_FALSE(OutExists());
}

// Form controls print as pictures of their state: the words a control shows reach the PDF,
// what it does not show (options past the list's rows, lines past the text area's rows, a
// drop-down list's other options, hidden fields) does not.
TEST_F(PrintPageTest, FormControlsPrintWhatTheyShow)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  options.Page = testsupport::WriteFile(
      dir, "form.htm",
      "<form><input name=e value=Editvalue size=12> <input type=submit value=Pressme>"
      "<input type=hidden name=h value=Hiddenvalue><p>"
      "<select name=d><option>Firstchoice<option selected>Secondchoice</select>"
      "<select name=l size=2><option>Listone<option>Listtwo<option>Listthree</select>"
      "<textarea name=t rows=2>Arealine1\nArealine2\nArealine3</textarea>"
      "<input type=checkbox name=c checked> Boxlabel</form>");
  ASSERT_EQ(Run(), 0) << err.str();
  std::vector<std::string> pages = pdfcheck::PageTexts(options.Out);
  ASSERT_EQ(pages.size(), 1u);
  const std::string& text = pages[0];
  for (const char* shown : {"Editvalue", "Pressme", "Secondchoice", "Listone", "Listtwo",
                            "Arealine1", "Arealine2", "Boxlabel"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " missing from:\n" << text;
  for (const char* unseen : {"Hiddenvalue", "Firstchoice", "Listthree", "Arealine3"})
    EXPECT_EQ(text.find(unseen), std::string::npos) << unseen << " printed:\n" << text;
}

TEST(PrintMargins, Parse)
{
  struct Case {
    const char* Text;
    bool Ok;
    double Left, Top, Right, Bottom;
  };
  const Case cases[] = {
      {"1,2,3,4", true, 1, 2, 3, 4},   {"0.5, 1.5 ,2,2.54", true, 0.5, 1.5, 2, 2.54},
      {"1,2,3", false, 0, 0, 0, 0},    {"1,2,3,4,5", false, 0, 0, 0, 0},
      {"1,-2,3,4", false, 0, 0, 0, 0}, {"a,b,c,d", false, 0, 0, 0, 0},
      {"", false, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    double m[4] = {};
    EXPECT_EQ(ParseMargins(c.Text, m), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_DOUBLE_EQ(m[0], c.Left) << c.Text;
      EXPECT_DOUBLE_EQ(m[1], c.Top) << c.Text;
      EXPECT_DOUBLE_EQ(m[2], c.Right) << c.Text;
      EXPECT_DOUBLE_EQ(m[3], c.Bottom) << c.Text;
    }
  }
}

} // namespace
