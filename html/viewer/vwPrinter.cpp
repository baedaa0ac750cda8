#include "html/viewer/vwPrinter.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <algorithm>

namespace {

int32_t ToPixels(double millimetres, int dpi)
{
  return int32_t(millimetres / 25.4 * dpi + 0.5);
}

// Millimetres in one unit of a page layout.
double MillimetresPer(QPageLayout::Unit unit)
{
  switch (unit) {
  case QPageLayout::Millimeter: return 1.0;
  case QPageLayout::Point: return 25.4 / 72.0;
  case QPageLayout::Inch: return 25.4;
  case QPageLayout::Pica: return 25.4 / 6.0;
  case QPageLayout::Didot: return 0.376;
  case QPageLayout::Cicero: return 12 * 0.376;
  }
  return 1.0;
}

// The unprintable borders of the paper in millimetres.
QMarginsF UnprintableMillimetres(const QPrinter& printer)
{
  QPageLayout layout = printer.pageLayout();
  return layout.minimumMargins() * MillimetresPer(layout.units());
}

} // namespace

QPrinter& SelectedPrinter()
{
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

QString PrintJobName(const std::string& title)
{
  const QString name = QString::fromStdString(title);
  qsizetype end = 0;
  for (int count = 0; count < 31 && end < name.size(); ++count)
    end += name[end].isHighSurrogate() && end + 1 < name.size() ? 2 : 1;
  return name.left(end);
}

TvwPrinter::TvwPrinter(QPrinter* printer) : FSelected(printer)
{
}

// The job prints on a private copy of the selected printer's settings: a failed or aborted job
// leaves the selected printer as it was, ready for the next one.
void TvwPrinter::CopySettings()
{
  if (FPrinter || !FSelected)
    return;
  FCopy = std::make_unique<QPrinter>(QPrinter::HighResolution);
  FPrinter = FCopy.get();
  FPrinter->setOutputFormat(FSelected->outputFormat());
  if (FSelected->outputFormat() == QPrinter::NativeFormat)
    FPrinter->setPrinterName(FSelected->printerName());
  FPrinter->setOutputFileName(FSelected->outputFileName());
  FPrinter->setResolution(FSelected->resolution());
  FPrinter->setPageLayout(FSelected->pageLayout());
  FPrinter->setColorMode(FSelected->colorMode());
  FPrinter->setDuplex(FSelected->duplex());
  FPrinter->setCopyCount(FSelected->copyCount());
  FPrinter->setPageOrder(FSelected->pageOrder());
}

TvwPrinter::~TvwPrinter()
{
  try {
    if (FPrinting)
      EndDoc();
  } catch (...) {
    // A destructor reports nothing; the job is over either way.
  }
  FCanvas.reset();
}

void TvwPrinter::SetState(int state)
{
  if (state == 0) {
    if (FPrinting)
      throw EPrinter(msg::PrintingInProgress);
    FCanvas.reset();
    FState = 0;
    return;
  }
  CopySettings();
  if (!FPrinter || !FPrinter->isValid() ||
      (FPrinter->outputFormat() == QPrinter::NativeFormat && FPrinter->printerName().isEmpty()))
    throw EPrinter(msg::PrinterNotValid);
  FState = std::max(FState, state);
}

int TvwPrinter::ResolutionX()
{
  SetState(1);
  return FPrinter->resolution();
}

int TvwPrinter::ResolutionY()
{
  return ResolutionX();
}

int32_t TvwPrinter::PhysicalWidth()
{
  SetState(1);
  return ToPixels(FPrinter->pageLayout().fullRect(QPageLayout::Millimeter).width(),
                  FPrinter->resolution());
}

int32_t TvwPrinter::PhysicalHeight()
{
  SetState(1);
  return ToPixels(FPrinter->pageLayout().fullRect(QPageLayout::Millimeter).height(),
                  FPrinter->resolution());
}

int32_t TvwPrinter::PhysicalOffsetX()
{
  SetState(1);
  return ToPixels(UnprintableMillimetres(*FPrinter).left(), FPrinter->resolution());
}

int32_t TvwPrinter::PhysicalOffsetY()
{
  SetState(1);
  return ToPixels(UnprintableMillimetres(*FPrinter).top(), FPrinter->resolution());
}

int32_t TvwPrinter::PageWidth()
{
  SetState(1);
  QMarginsF m = UnprintableMillimetres(*FPrinter);
  return PhysicalWidth() - ToPixels(m.left() + m.right(), FPrinter->resolution());
}

int32_t TvwPrinter::PageHeight()
{
  SetState(1);
  QMarginsF m = UnprintableMillimetres(*FPrinter);
  return PhysicalHeight() - ToPixels(m.top() + m.bottom(), FPrinter->resolution());
}

void TvwPrinter::BeginDoc()
{
  if (FPrinting)
    throw EPrinter(msg::PrintingInProgress);
  SetState(2);
  FCanvas.reset();
  FPrinter->setDocName(PrintJobName(Title));
  FPrinter->setFullPage(true);
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
}

void TvwPrinter::RequirePrinting() const
{
  if (!FPrinting)
    throw EPrinter(msg::NotPrinting);
}

QPainter& TvwPrinter::Painter()
{
  RequirePrinting();
  if (!FPainter.isActive()) {
    if (!FPainter.begin(FPrinter))
      throw EPrinter(msg::PrinterNotValid);
    // The printable area's corner is the origin, as on a device with unprintable borders.
    FPainter.translate(PhysicalOffsetX(), PhysicalOffsetY());
  }
  return FPainter;
}

TPrinterCanvas& TvwPrinter::Canvas()
{
  QPainter& painter = Painter();
  if (!FCanvas)
    FCanvas = std::make_unique<TPrinterCanvas>(*this, &painter);
  return *FCanvas;
}

void TvwPrinter::NewPage()
{
  RequirePrinting();
  Painter(); // a page nothing was drawn on still comes out
  if (!FPrinter->newPage())
    throw EPrinter(msg::PrinterNotValid);
  ++FPageNumber;
  FCanvas.reset();
}

void TvwPrinter::EndDoc()
{
  RequirePrinting();
  FCanvas.reset();
  if (FPainter.isActive())
    FPainter.end();
  if (FAborted && FWroteFile)
    RemovePartialFile();
  FWroteFile = false;
  FPrinting = false;
  FAborted = false;
  FPageNumber = 0;
}

void TvwPrinter::Abort()
{
  RequirePrinting();
  // Only a file this job started writing is removed; one that was there before stays.
  FWroteFile = FPainter.isActive();
  if (FWroteFile)
    FPrinter->abort();
  FAborted = true;
  EndDoc();
}

void TvwPrinter::RemovePartialFile()
{
  QString file = FPrinter->outputFileName();
  if (!file.isEmpty() && FPrinter->outputFormat() == QPrinter::PdfFormat)
    QFile::remove(file);
}
