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

// Which side runs: both for the figures, one alone for a profiler.
enum class TSides { Both, Ours, Peer };

void Compare(const char* name, const std::string& html, const QString& dir, TSides sides)
{
  std::printf("%s (%zu bytes)\n", name, html.size());
  std::string file = (dir + "/doc.htm").toStdString();
  QFile out(QString::fromStdString(file));
  out.open(QIODevice::WriteOnly);
  out.write(html.data(), qint64(html.size()));
  out.close();

  int ourPages = 0;
  double ours = 0;
  if (sides != TSides::Peer) {
    THTMLViewer viewer;
    viewer.resize(800, 600);
    viewer.LoadFromFile(file);
    UsePdf(SelectedPrinter(), dir + "/ours.pdf");
    ours = benchutil::CpuBestOf(2, [&] {
      viewer.Print(1, 1000000);
      ourPages = viewer.PrintPage();
    });
    benchutil::Report("Lumora print to PDF", ours);
    std::printf("  %-44s %10d pages %8.1f pages/s\n", "", ourPages, ourPages / (ours / 1000));
  }

  int peerPages = 0;
  double peer = 0;
  if (sides != TSides::Ours) {
    QTextDocument doc;
    doc.setHtml(QString::fromLatin1(html.data(), int(html.size())));
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(printer, dir + "/peer.pdf");
    peerPages = PdfPagesOf(doc, printer);
    peer = benchutil::CpuBestOf(2, [&] { doc.print(&printer); });
    benchutil::Report("QTextDocument::print to PDF", peer);
    std::printf("  %-44s %10d pages %8.1f pages/s\n", "", peerPages, peerPages / (peer / 1000));
  }
  if (sides != TSides::Both)
    return;
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
  // PDFs written (ours.pdf, peer.pdf) for a look at what each sends the PDF engine ("" for none);
  // a third, "ours" or "peer", runs that side alone for a profiler.
  const QString only = app.arguments().value(1);
  const QString keep = app.arguments().value(2);
  const QString side = app.arguments().value(3);
  const TSides sides = side == "ours" ? TSides::Ours : side == "peer" ? TSides::Peer : TSides::Both;
  const QString dir = keep.isEmpty() ? temp.path() : keep;
  QDir().mkpath(dir);
  if (only.isEmpty() || only == "all" || only == "text")
    Compare("1 MB text document", docgen::TextDocument(1 << 20), dir, sides);
  if (only.isEmpty() || only == "all" || only == "table")
    Compare("10,000-row table", docgen::LongTable(10000, 4), dir, sides);
  return 0;
}
