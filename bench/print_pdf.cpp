// Printing to PDF: a 1 MB text document and the 10,000-row table, through the viewer's print
// (print copy, layout at the printable width, pagination, drawing) against
// QTextDocument::print of the same HTML to a PDF QPrinter of the same page size. Reports pages
// per second and the ratio. Times are the benchmark thread's CPU time: the machine is shared.
#include "bench/support/DocGen.h"
#include "bench/support/Timing.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/vwPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>
#include <string>

namespace {

void UsePdf(QPrinter& printer, const QString& file)
{
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(600);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(file);
}

int PdfPagesOf(QTextDocument& doc, QPrinter& printer)
{
  doc.setPageSize(printer.pageRect(QPrinter::Point).size());
  return doc.pageCount();
}

void Compare(const char* name, const std::string& html, const QString& dir)
{
  std::printf("%s (%zu bytes)\n", name, html.size());
  std::string file = (dir + "/doc.htm").toStdString();
  QFile out(QString::fromStdString(file));
  out.open(QIODevice::WriteOnly);
  out.write(html.data(), qint64(html.size()));
  out.close();

  THTMLViewer viewer;
  viewer.resize(800, 600);
  viewer.LoadFromFile(file);
  UsePdf(SelectedPrinter(), dir + "/ours.pdf");
  int ourPages = 0;
  double ours = benchutil::CpuBestOf(2, [&] {
    viewer.Print(1, 1000000);
    ourPages = viewer.PrintPage();
  });

  QTextDocument doc;
  doc.setHtml(QString::fromLatin1(html.data(), int(html.size())));
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, dir + "/peer.pdf");
  int peerPages = PdfPagesOf(doc, printer);
  double peer = benchutil::CpuBestOf(2, [&] { doc.print(&printer); });

  benchutil::Report("Lumora print to PDF", ours);
  std::printf("  %-44s %10d pages %8.1f pages/s\n", "", ourPages, ourPages / (ours / 1000));
  benchutil::Report("QTextDocument::print to PDF", peer);
  std::printf("  %-44s %10d pages %8.1f pages/s\n", "", peerPages, peerPages / (peer / 1000));
  benchutil::Ratio("speed-up (peer time / ours)", peer, ours, ">= 2x");
  std::printf("  %-44s %10.2fx\n", "speed-up in pages per second",
              (ourPages / ours) / (peerPages > 0 ? peerPages / peer : 1));
}

} // namespace

int main(int argc, char** argv)
{
  if (qgetenv("QT_QPA_PLATFORM").isEmpty())
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir temp;
  // An argument picks one document: "text" or "table"; a second names a folder that keeps the
  // PDFs written (ours.pdf, peer.pdf) for a look at what each sends the PDF engine.
  const QString only = app.arguments().value(1);
  const QString keep = app.arguments().value(2);
  const QString dir = keep.isEmpty() ? temp.path() : keep;
  QDir().mkpath(dir);
  if (only.isEmpty() || only == "all" || only == "text")
    Compare("1 MB text document", docgen::TextDocument(1 << 20), dir);
  if (only.isEmpty() || only == "all" || only == "table")
    Compare("10,000-row table", docgen::LongTable(10000, 4), dir);
  return 0;
}
