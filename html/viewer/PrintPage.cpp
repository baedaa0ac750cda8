#include "html/viewer/PrintPage.h"

#include "html/viewer/FrameViewer.h"
#include "html/viewer/vwPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <algorithm>
#include <exception>
#include <ostream>
#include <sstream>

bool ParseMargins(const std::string& text, double margins[4])
{
  std::istringstream in(text);
  for (int i = 0; i < 4; ++i) {
    double value = 0;
    char comma = ',';
    if (!(in >> value) || value < 0 || value > 100 || (i < 3 && (!(in >> comma) || comma != ',')))
      return false;
    margins[i] = value;
  }
  in >> std::ws;
  return in.eof();
}

namespace {

// Whether the output file can be written, without changing what is there.
bool CanWrite(const std::string& name)
{
  QFile file(QString::fromStdString(name));
  bool existed = file.exists();
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
    return false;
  file.close();
  if (!existed)
    file.remove();
  return true;
}

int Print(const TPrintPageOptions& options, std::ostream& out, std::ostream& err)
{
  if (options.From < 1 || options.To < options.From) {
    err << "error: bad page range " << options.From << "-" << options.To << "\n";
    return 1;
  }
  if (QFileInfo(QString::fromStdString(options.Out)).isDir() || !CanWrite(options.Out)) {
    err << "error: Can't write " << options.Out << "\n";
    return 1;
  }
  TFrameViewer viewer;
  ConfigureMainViewer(viewer);
  viewer.SetPrintMargins(options.Margins[0], options.Margins[1], options.Margins[2],
                         options.Margins[3]);
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.resize(800, 600);
  viewer.show();
  viewer.LoadFromFile(options.Page);
  THTMLViewer* shown = viewer.FocusViewer();
  if (!shown) {
    err << "error: the page has several frames and none is chosen to print\n";
    return 1;
  }
  QPrinter& printer = SelectedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(options.Out));
  printer.setPageSize(QPageSize(options.Letter ? QPageSize::Letter : QPageSize::A4));
  viewer.Print(options.From, options.To);
  out << "pages=" << std::max(0, shown->PrintPage() - options.From + 1) << "\n";
  return 0;
}

} // namespace

int PrintPage(const TPrintPageOptions& options, std::ostream& out, std::ostream& err)
{
  try {
    return Print(options, out, err);
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
}
