#include "PdfCheck.h"
#include "ViewerTestSupport.h"
#include "base/MulDiv.h"
#include "html/model/ImageObj.h"
#include "html/viewer/PrintJob.h"
#include "html/viewer/vwPrinter.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace {

// "Line 0007 alpha beta gamma" for kind "Line" and i 7.
std::string Numbered(const char* kind, int i)
{
  char text[64];
  std::snprintf(text, sizeof text, "%s %04d alpha beta gamma", kind, i);
  return text;
}

std::string LineText(int i)
{
  return Numbered("Line", i);
}

std::string RowText(int i)
{
  return Numbered("Row", i);
}

std::string NumberedLines(int count)
{
  std::string html = "<title>Numbered</title>";
  for (int i = 1; i <= count; ++i)
    html += LineText(i) + "<br>\n";
  return html;
}

// The same lines with every word in another face or colour, a link among them: the spaces
// between the words must still come out of the PDF.
std::string StyledLines(int count)
{
  std::string html = "<title>Styled</title>";
  for (int i = 1; i <= count; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", i);
    html += std::string("<b>Line</b> ") + number +
            " <i>alpha</i> <a href=\"#x\">beta</a> <font color=red>gamma</font><br>\n";
  }
  return html;
}

// A long table whose rows are cut between pages; every tenth row has a cell spanning two rows.
std::string NumberedRows(int count)
{
  std::string html = "<title>Rows</title><table border=1>";
  for (int i = 1; i <= count; ++i) {
    html += "<tr><td>" + RowText(i);
    if (i % 10 == 1 && i < count)
      html += "<td rowspan=2>Span" + std::to_string(i);
    html += "\n";
  }
  return html + "</table>";
}

int PagesContaining(const std::vector<std::string>& pages, const std::string& text)
{
  int n = 0;
  for (const std::string& page : pages)
    n += page.find(text) != std::string::npos;
  return n;
}

struct PrintFixture : ViewerFixture {
  PrintFixture()
  {
    QPrinter& printer = SelectedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromStdString(pdf));
    viewer.OnPrintHeader = [this](QObject*, TCanvas& canvas, int page, int, int h, bool& stop) {
      Label(canvas, "Header " + std::to_string(page), h / 2);
      stop = page == stopAt;
    };
    viewer.OnPrintFooter = [this](QObject*, TCanvas& canvas, int page, int, int h, bool&) {
      Label(canvas, "Footer " + std::to_string(page), h / 2);
    };
  }
  static void Label(TCanvas& canvas, const std::string& text, int y)
  {
    const TFontMetrics& m = canvas.Metrics("Arial", 10, false, false, 0);
    canvas.TextOut(m, 80, y, text.data(), int(text.size()), clBlack);
  }
  void Load(const std::string& html) { viewer.LoadFromFile(File("doc.htm", html)); }
  bool PdfExists() const { return QFile::exists(QString::fromStdString(pdf)); }

  std::string pdf = (dir + "/out.pdf").toStdString();
  int stopAt = 0;
};

TEST_F(PrintFixture, EveryLineIsPrintedWholeOnExactlyOnePageWithHeadersAndFooters)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  struct Case {
    std::string Html;
    std::string (*Text)(int);
  };
  const Case cases[] = {
      {NumberedLines(250), LineText}, {NumberedRows(250), RowText}, {StyledLines(250), LineText}};
  for (const Case& c : cases) {
    Load(c.Html);
    viewer.Print(1, 999);
    ASSERT_TRUE(PdfExists());
    const int pages = pdfcheck::Pages(pdf);
    EXPECT_GT(pages, 2);
    EXPECT_EQ(viewer.PrintPage(), pages);
    EXPECT_EQ(pdfcheck::Info(pdf, "Page size").substr(0, 13), "595 x 842 pts"); // A4
    std::vector<std::string> texts = pdfcheck::PageTexts(pdf);
    for (int i = 1; i <= 250; ++i)
      EXPECT_EQ(PagesContaining(texts, c.Text(i)), 1) << c.Text(i);
    for (int i = 1; i < 250; i += 10) // the spanning cells as well
      EXPECT_EQ(PagesContaining(texts, "Span" + std::to_string(i) + "\n"), c.Text == RowText) << i;
    for (int page = 1; page <= pages; ++page) {
      const std::string& text = texts[size_t(page - 1)];
      EXPECT_NE(text.find("Header " + std::to_string(page)), std::string::npos) << page;
      EXPECT_NE(text.find("Footer " + std::to_string(page)), std::string::npos) << page;
    }
  }
}

// Text read back from a PDF finds words by their gaps as well, so the spaces are counted
// among the glyphs: words in other faces and colours around them must not take them away.
TEST_F(PrintFixture, EverySpaceBetweenWordsIsAGlyphOfThePage)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  viewer.OnPrintHeader = nullptr;
  viewer.OnPrintFooter = nullptr;
  Load(StyledLines(3));
  viewer.Print(1, 999);
  ASSERT_TRUE(PdfExists());
  std::string text;
  for (int i = 1; i <= 3; ++i)
    text += LineText(i);
  EXPECT_EQ(pdfcheck::GlyphsDrawn(pdf), int(text.size()));
  EXPECT_NE(pdfcheck::PageTexts(pdf)[0].find(LineText(3)), std::string::npos);
}

TEST_F(PrintFixture, TheTitleNamesTheJobInItsOwnCharacters)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  struct TCase {
    const char* Name;
    std::string Page;
    std::string Title;
  } cases[] = {
      {"UTF-8", "<title>Caf\xc3\xa9 \xe2\x82\xac</title>x", "Caf\xc3\xa9 \xe2\x82\xac"},
      {"Windows-1251",
       "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">"
       "<title>\xe6\xe7</title>x",
       "\xd0\xb6\xd0\xb7"},
      {"cut after 31 characters", "<title>" + std::string(30, 'a') + "\xc3\xa9\xc3\xa9</title>x",
       std::string(30, 'a') + "\xc3\xa9"},
  };
  for (const auto& c : cases) {
    Load(c.Page);
    viewer.Print(1, 1);
    EXPECT_EQ(pdfcheck::Info(pdf, "Title"), c.Title) << c.Name;
  }
  EXPECT_EQ(PrintJobName(std::string(30, 'x') + "\xf0\x9f\x98\x80!").size(), 32);
}

TEST_F(PrintFixture, PageRangesPrintTheSamePagesAsAFullPrint)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  Load(NumberedLines(250));
  viewer.Print(1, 999);
  std::vector<std::string> full = pdfcheck::PageTexts(pdf);
  ASSERT_GE(full.size(), 3u);
  struct Case {
    int From, To;
    size_t Expected;
  };
  const int last = int(full.size());
  const Case cases[] = {
      {2, 2, 1}, {2, 3, 2}, {1, 1, 1}, {last, 999, 1}, {2, last + 5, full.size() - 1}};
  for (const Case& c : cases) {
    viewer.Print(c.From, c.To);
    std::vector<std::string> part = pdfcheck::PageTexts(pdf);
    ASSERT_EQ(part.size(), c.Expected) << c.From << "-" << c.To;
    for (size_t k = 0; k < part.size(); ++k)
      EXPECT_EQ(part[k], full[size_t(c.From - 1) + k]) << c.From << "-" << c.To << " page " << k;
  }
}

TEST_F(PrintFixture, NothingComesOutOfRangesPastTheEndOrBreaksAtTheEnd)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  struct Case {
    const char* Name;
    std::string Html;
    int From, To;
    int Pages; // -1: no file
  };
  const Case cases[] = {
      {"range after the end", "<p>one page", 3, 5, -1},
      {"page break at the end", "<p>one page<page>", 1, 999, 1},
      {"page break in the middle", "<p>first<page><p>second", 1, 999, 2},
      {"break then trailing space", "<p>first<page><p>", 1, 999, 1},
  };
  for (const Case& c : cases) {
    QFile::remove(QString::fromStdString(pdf));
    Load(c.Html);
    viewer.Print(c.From, c.To);
    if (c.Pages < 0) {
      EXPECT_FALSE(PdfExists()) << c.Name;
    } else {
      EXPECT_EQ(pdfcheck::Pages(pdf), c.Pages) << c.Name;
    }
  }
}

TEST_F(PrintFixture, ALineTallerThanThePageIsPrintedAndPrintingMovesOn)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  Load("<p>before the tall image<p><img src=\"none.gif\" width=100 height=2500 alt=tall>"
       "<p>after the tall image");
  viewer.Print(1, 999);
  std::vector<std::string> texts = pdfcheck::PageTexts(pdf);
  // 2500 pixels at about 1000 per page: three or four pages, not hundreds.
  EXPECT_GE(texts.size(), 3u);
  EXPECT_LE(texts.size(), 5u);
  EXPECT_EQ(PagesContaining(texts, "before the tall image"), 1);
  EXPECT_EQ(PagesContaining(texts, "after the tall image"), 1);
}

TEST_F(PrintFixture, AHeaderCanStopTheJob)
{
  if (!pdfcheck::Available())
    GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  Load(NumberedLines(250));
  stopAt = 1;
  viewer.Print(1, 999);
  EXPECT_EQ(viewer.PrintPage(), 1);
  EXPECT_EQ(pdfcheck::Pages(pdf), 1);
}

TEST_F(PrintFixture, ProgressIsReportedForEveryPageAndCanStopThePrint)
{
  Load(NumberedLines(250));
  std::vector<int> reported;
  viewer.OnPrintProgress = [&](QObject*, int page, bool& done) {
    reported.push_back(page);
    done = page == 2 && reported.size() > 3;
  };
  viewer.Print(1, 999);
  // 0 before anything, 1 after the layout, then each page until the handler stops at page 2.
  EXPECT_EQ(reported, (std::vector<int>{0, 1, 1, 2}));
  EXPECT_EQ(viewer.PrintPage(), 2);
}

TEST_F(PrintFixture, MarginsInCentimetresGiveTheBodyWidth)
{
  Load("<p>x");
  struct Case {
    double Left, Right;
    int Dpi;
  };
  for (const Case& c : {Case{2.0, 2.0, 600}, Case{1.0, 3.5, 600}, Case{2.0, 2.0, 1200}}) {
    QPrinter& printer = SelectedPrinter();
    printer.setResolution(c.Dpi);
    TvwPrinter vw(&printer);
    TPrintJob job(&viewer, *viewer.SectionList());
    job.MarginLeft = c.Left;
    job.MarginRight = c.Right;
    job.Print(vw, 1, 1);
    // A4 is 210 mm wide; a PDF has no unprintable border. 2 cm at 600 dpi is 472 pixels.
    int32_t paper = int32_t(std::lround(210 / 25.4 * c.Dpi));
    int32_t left = int32_t(std::nearbyint(c.Left / 2.54 * c.Dpi));
    int32_t right = int32_t(std::nearbyint(c.Right / 2.54 * c.Dpi));
    EXPECT_EQ(job.BodyWidth(), MulDiv(paper - left - right, 96, c.Dpi)) << c.Left << " " << c.Dpi;
  }
  EXPECT_EQ(std::nearbyint(2.0 / 2.54 * 600), 472);
}

TEST_F(PrintFixture, PrinterErrorsUseTheirTextsAndLeaveNoFile)
{
  Load(NumberedLines(10));
  QPrinter& printer = SelectedPrinter();
  struct Case {
    const char* Name;
    QPrinter::OutputFormat Format;
    std::string File;
    const char* Message;
  };
  const Case cases[] = {
      {"no printer installed", QPrinter::NativeFormat, "", "Printer selected is not valid"},
      {"unwritable file", QPrinter::PdfFormat, dir.toStdString() + "/no/such/dir/x.pdf",
       "Printer selected is not valid"},
  };
  for (const Case& c : cases) {
    printer.setOutputFormat(c.Format);
    printer.setOutputFileName(QString::fromStdString(c.File));
    if (c.Format == QPrinter::NativeFormat)
      printer.setPrinterName(QString());
    try {
      viewer.Print(1, 999);
      ADD_FAILURE() << c.Name;
    } catch (const EPrinter& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Name;
    }
    EXPECT_FALSE(viewer.Processing()) << c.Name;
    if (!c.File.empty()) {
      EXPECT_FALSE(QFile::exists(QString::fromStdString(c.File))) << c.Name;
    }
  }
}

// A print copy shares its images with the screen document; they are drawn where the print pass
// puts them, whatever the screen is scrolled to.
TEST_F(ViewerFixture, PrintCopyImagesStandWhereThePrintPassPutsThem)
{
  viewer.LoadFromFile(
      File("img.htm", LongPage(60, "<img src=\"none.gif\" width=30 height=20 alt=\"\">")));
  viewer.SetVScrollPosition(150);
  ASSERT_EQ(viewer.SectionList()->ScrollY, 150);
  std::unique_ptr<TSectionList> copy = ClonePrintList(*viewer.SectionList(), false);
  TCanvas measure;
  measure.Printing = true;
  int32_t scrollWidth = 0, pos = 0;
  copy->Layout(measure, 0, 400, scrollWidth, pos);
  QImage page(400, 300, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  TCanvas canvas(&painter);
  canvas.Printing = true;
  TPaintContext ctx;
  ctx.ScrollY = -10; // a top margin of 10 pixels
  ctx.Clip = QRect(0, 10, 400, 290);
  ctx.PageBottom = 290;
  copy->Paint(canvas, ctx, 400, 0, 0);
  auto* s = dynamic_cast<TSection*>(copy->Items(0));
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->Images.Count(), 1);
  auto* img = dynamic_cast<TImageObj*>(s->Images[0]);
  ASSERT_NE(img, nullptr);
  // The grey frame of the placeholder, at the image's own place below the margin.
  EXPECT_EQ(page.pixelColor(img->PaintedX, img->PaintedY + 10), QColor(128, 128, 128));
}

TEST(vwPrinter, JobStateErrors)
{
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(testsupport::TempDir() + "/state.pdf");
  TvwPrinter vw(&printer);
  EXPECT_EQ(vw.PageNumber(), 0);
  EXPECT_THROW(vw.NewPage(), EPrinter);
  EXPECT_THROW(vw.EndDoc(), EPrinter);
  EXPECT_THROW(vw.Abort(), EPrinter);
  vw.BeginDoc();
  EXPECT_EQ(vw.PageNumber(), 1);
  try {
    vw.BeginDoc();
    ADD_FAILURE() << "second BeginDoc";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "Printing in progress");
  }
  vw.NewPage();
  EXPECT_EQ(vw.PageNumber(), 2);
  vw.EndDoc();
  EXPECT_FALSE(vw.Printing());
  try {
    vw.NewPage();
    ADD_FAILURE() << "NewPage after EndDoc";
  } catch (const EPrinter& e) {
    EXPECT_EQ(e.Message(), "Printer is not currently printing");
  }
}

} // namespace
