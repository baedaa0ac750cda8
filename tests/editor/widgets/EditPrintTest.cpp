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

TEST(EditPrint, Utf8TextPrintsItsCharacters)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  struct TCase {
    const char* Name;
    bool Highlighting, Selection;
    const char* Seen;
    const char* Unseen;
  } cases[] = {
      {"plain", false, false, "Caf\xc3\xa9 \xce\xb1\xce\xb2\xce\xb3", "Caf\xc3\x83"},
      {"highlighted", true, false, "\xd0\xb6\xd0\xb7", "\xc3\x90"},
      // The selection starts after the Greek letters (byte column 13) and ends after the e.
      {"selected", false, true, "end", "\xce\xb3"},
  };
  for (const auto& c : cases) {
    PrintFixture f;
    f.Box.Editor->SetText("<p>Caf\xc3\xa9 \xce\xb1\xce\xb2\xce\xb3 end</p>\r\n"
                          "\xd0\xb6\xd0\xb7");
    if (c.Selection) {
      f.Box.Editor->SetSelAnchor({17, 1});
      f.Box.Editor->SetSelEnd({20, 1});
    }
    TtxPrintOptions options = f.Box.PrintOptions();
    options.WithHighlighting = c.Highlighting;
    options.SelectionOnly = c.Selection;
    ASSERT_EQ(f.Print(options), 1) << c.Name;
    const std::string text = pdfcheck::PageTexts(f.Pdf)[0];
    EXPECT_NE(text.find(c.Seen), std::string::npos) << c.Name << ": " << text;
    EXPECT_EQ(text.find(c.Unseen), std::string::npos) << c.Name << ": " << text;
  }
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

namespace {

// Pages drawn into images at screen resolution, so their colours can be read back.
class TImageTarget : public TtxPrintTarget {
public:
  std::vector<QImage> Pages;
  void BeginDoc(const std::string&, int) override { NewImage(); }
  void NewPage() override
  {
    FPainter.end();
    NewImage();
  }
  void EndDoc() override { FPainter.end(); }
  void Abort() override { FPainter.end(); }
  QPainter& Painter() override { return FPainter; }
  int ResolutionX() override { return 96; }
  int ResolutionY() override { return 96; }
  int PageWidth() override { return 800; }
  int PageHeight() override { return 1100; }
  int PhysicalWidth() override { return 800; }
  int PhysicalHeight() override { return 1100; }
  int PhysicalOffsetX() override { return 0; }
  int PhysicalOffsetY() override { return 0; }

private:
  void NewImage()
  {
    Pages.emplace_back(800, 1100, QImage::Format_RGB32);
    Pages.back().fill(Qt::white);
    FPainter.begin(&Pages.back());
  }
  QPainter FPainter;
};

bool HasColour(const QImage& image, QColor colour)
{
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour)
        return true;
  return false;
}

TEST(EditPrint, TokenColoursOnlyWithHighlightingAndColours)
{
  TqvcHTMLEditor box;
  box.Editor->SetText("<font color=red>x</font>");
  box.syHTMLSyn1->ValueAttri->SetForeground(RGBColor(0, 160, 0));
  box.syHTMLSyn1->ValueAttri->SetStyle(fsBold);
  struct Case {
    bool highlight, noColors, green;
  } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
  for (const Case& c : cases) {
    TtxPrintOptions options = box.PrintOptions();
    options.WithHighlighting = c.highlight;
    options.NoColors = c.noColors;
    TImageTarget target;
    ASSERT_EQ(box.PrintTo(target, options), 1);
    ASSERT_EQ(target.Pages.size(), 1u);
    EXPECT_EQ(HasColour(target.Pages[0], QColor(0, 160, 0)), c.green) << c.highlight << c.noColors;
  }
}

TEST(EditPrint, MarginsPlaceTheHeaderAndTheLineRangeLimitsTheText)
{
  TqvcHTMLEditor box;
  box.Editor->SetText("aaaa\r\nbbbb\r\ncccc\r\ndddd");
  TtxPrintOptions options = box.PrintOptions();
  options.WithHighlighting = false;
  options.HeaderLines.clear();
  options.FooterLines.clear();
  options.LineRange = {2, 2, 3, 3}; // columns 2..3 of lines 2..3
  options.MarginUnit = 2;           // millimetres
  options.PageMargins = {20, 30, 20, 20};
  TImageTarget target;
  ASSERT_EQ(box.PrintTo(target, options), 1);
  const QImage& page = target.Pages[0];
  // Ink starts at the margins: 20 mm and 30 mm at 96 dots per inch.
  const int left = 20 * 10000 / 254 * 96 / 1000, top = 30 * 10000 / 254 * 96 / 1000;
  int inkLeft = page.width(), inkTop = page.height(), inkBottom = 0, inkRight = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (page.pixelColor(x, y) != Qt::white) {
        inkLeft = std::min(inkLeft, x);
        inkRight = std::max(inkRight, x);
        inkTop = std::min(inkTop, y);
        inkBottom = std::max(inkBottom, y);
      }
  EXPECT_GE(inkLeft, left);
  EXPECT_LT(inkLeft, left + 6);
  EXPECT_GE(inkTop, top);
  // Two lines of two characters each.
  QFont font = box.Editor->EditorFont();
  font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
  QFontMetrics metrics(font, &page);
  EXPECT_LT(inkRight, left + 2 * metrics.averageCharWidth() + 2);
  EXPECT_LT(inkBottom, top + 2 * (metrics.height() + metrics.leading()));
  EXPECT_GT(inkBottom, top + metrics.height());
}

} // namespace
