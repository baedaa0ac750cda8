// The editor's print operation: header and footer macros, the pages of a long text, printing
// only the selection, and printing with and without the highlighter's styles.
#include "editor/widgets/EditWidget.h"
#include "editor/widgets/qvcHTMLEditor.h"
#include "editor/widgets/vwPrintTarget.h"
#include "html/viewer/PdfCheck.h"
#include "html/viewer/vwPrinter.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

TEST(EditPrint, MacrosAreReplaced)
{
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$pagenum$", "3"},
      {"$foo$", "FOO"},
      {"$$", "$"},
      {"Title: $title$", "Title: page"},
      {"$ Date $|$time$", "D|T"},
      {"$datetime$ / $TIMEDATE$", "D T / T D"},
      {"cost $5", "cost $5"},
      {"a$$b$pagenum$", "a$b3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandPrintMacros(c.text, 3, "page", "D", "T"), c.expected) << c.text;
}

// The pages of a print of the box's text to a PDF.
struct PrintFixture {
  TqvcHTMLEditor Box;
  std::string Pdf = (testsupport::TempDir() + "/out.pdf").toStdString();
  int Print(const TtxPrintOptions& options)
  {
    QPrinter& printer = SelectedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromStdString(Pdf));
    TvwPrinter job(&printer);
    TvwPrintTarget target(job);
    return Box.PrintTo(target, options);
  }
};

std::string Numbered(int count)
{
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "<p>Line " + std::to_string(1000 + i) + " text</p>\r\n";
  return text;
}

TEST(EditPrint, LongTextsRunOverPagesWithFootersOnEach)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  PrintFixture f;
  f.Box.Editor->SetText(Numbered(150));
  TtxPrintOptions options = f.Box.PrintOptions();
  EXPECT_FALSE(options.SelectionOnly);
  EXPECT_TRUE(options.WithHighlighting);
  options.JobTitle = "numbers";
  const int pages = f.Print(options);
  ASSERT_GT(pages, 1);
  EXPECT_EQ(pdfcheck::Pages(f.Pdf), pages);
  std::vector<std::string> texts = pdfcheck::PageTexts(f.Pdf);
  int seen = 0;
  for (int page = 1; page <= pages; ++page) {
    const std::string& text = texts[size_t(page - 1)];
    EXPECT_NE(text.find("Title: numbers"), std::string::npos) << page;
    EXPECT_NE(text.find("Page Number: " + std::to_string(page)), std::string::npos) << page;
    for (int i = 1; i <= 150; ++i)
      seen += text.find("Line " + std::to_string(1000 + i)) != std::string::npos;
  }
  EXPECT_EQ(seen, 150) << "each line on exactly one page";
}

TEST(EditPrint, SelectionOnlyPrintsTheSelection)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  PrintFixture f;
  f.Box.Editor->SetText("first line\r\nsecond line\r\nthird line\r\nfourth");
  f.Box.Editor->SetSelAnchor({8, 2});
  f.Box.Editor->SetSelEnd({6, 3});
  TtxPrintOptions options = f.Box.PrintOptions();
  EXPECT_TRUE(options.SelectionOnly);
  EXPECT_EQ(f.Print(options), 1);
  const std::string text = pdfcheck::PageTexts(f.Pdf)[0];
  EXPECT_NE(text.find("line"), std::string::npos);
  EXPECT_NE(text.find("third"), std::string::npos);
  EXPECT_EQ(text.find("first"), std::string::npos);
  EXPECT_EQ(text.find("second"), std::string::npos);
  EXPECT_EQ(text.find("fourth"), std::string::npos);
  EXPECT_NE(text.find("Page Number: 1"), std::string::npos);
}

TEST(EditPrint, SelectionOnlyWithoutASelectionPrintsNothing)
{
  PrintFixture f;
  QFile::remove(QString::fromStdString(f.Pdf));
  TtxPrintOptions options = f.Box.PrintOptions();
  options.SelectionOnly = true;
  EXPECT_EQ(f.Print(options), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(f.Pdf)));
}

TEST(EditPrint, StatusEventsCanAbort)
{
  PrintFixture f;
  f.Box.Editor->SetText(Numbered(150));
  std::vector<std::pair<int, int>> events;
  QPrinter& printer = SelectedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(f.Pdf));
  TvwPrinter job(&printer);
  TvwPrintTarget target(job);
  int pages = PrintEditor(*f.Box.Editor, target, f.Box.PrintOptions(), f.Box.Editor->EditorFont(),
                          0, [&](TtxPrintStatus status, int page, bool& abort) {
                            events.emplace_back(int(status), page);
                            abort = page == 2;
                          });
  EXPECT_EQ(pages, 0);
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {1, 2}, {2, 2}}));
}

} // namespace
