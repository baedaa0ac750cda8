#include "html/viewer/PrintJob.h"

#include "base/CodePage.h"
#include "base/MulDiv.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/viewer/vwPrinter.h"
#include "platform/Canvas.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

// Centimetres to device pixels, halves to the even neighbour.
int32_t CentimetresToPixels(double cm, int dpi)
{
  return int32_t(std::nearbyint(cm / 2.54 * dpi));
}

} // namespace

std::unique_ptr<TSectionList> ClonePrintList(const TSectionList& source, bool backgrounds)
{
  auto copy = std::make_unique<TSectionList>();
  static_cast<TSectionListSettings&>(copy->Document()) = source.Document();
  copy->Document().PrintMode = true;
  copy->Document().PageColor = clWhite;
  copy->Document().PrintBackgrounds = backgrounds;
  copy->Document().ExpandName = source.Document().ExpandName;
  copy->Document().Requester = source.Document().Requester;
  for (const auto& item : source)
    copy->TFreeList<TSectionBase>::Add(item->CloneForPrint(&copy->Document()));
  return copy;
}

TPrintJob::TPrintJob(QObject* sender, const TSectionList& document)
    : FSender(sender), FDocument(document)
{
}

TPrintJob::~TPrintJob() = default;

void TPrintJob::Measure(TvwPrinter& printer)
{
  FS = TCanvas().LogPixelsY();
  FRx = printer.ResolutionX();
  FRy = printer.ResolutionY();
  int32_t pageW = printer.PageWidth(), pageH = printer.PageHeight();
  int32_t offX = printer.PhysicalOffsetX(), offY = printer.PhysicalOffsetY();
  int32_t rightBorder = std::max(0, printer.PhysicalWidth() - pageW - offX);
  int32_t bottomBorder = std::max(0, printer.PhysicalHeight() - pageH - offY);
  int32_t L = CentimetresToPixels(MarginLeft, FRx) - offX;
  int32_t T = CentimetresToPixels(MarginTop, FRy) - offY;
  int32_t R = CentimetresToPixels(MarginRight, FRx);
  int32_t B = CentimetresToPixels(MarginBottom, FRy) - bottomBorder;
  int32_t Wd = pageW + rightBorder - R - L;
  int32_t Hd = pageH - T - B;
  FLs = MulDiv(L, FS, FRx);
  FTs = MulDiv(T, FS, FRy);
  // Margins that leave no body still print, a pixel at a time, and always move on.
  FW = std::max(1, MulDiv(Wd, FS, FRx));
  FH = std::max(1, MulDiv(Hd, FS, FRy));
  FPW = MulDiv(pageW, FS, FRx);
  FPH = MulDiv(pageH, FS, FRy);
}

// Where the page that starts at top ends: the top of the first line or table row that does not
// fit, found by a paint that draws nothing.
int32_t TPrintJob::FindPageBottom(int32_t top)
{
  TCanvas measure;
  measure.Printing = true;
  TPaintContext ctx;
  ctx.ScrollY = top - FTs;
  ctx.Clip = QRect(FLs, FTs, FW, FH);
  ctx.PageBottom = top + FH;
  FCopy->Paint(measure, ctx, FW, FLs, 0);
  int32_t bottom = ctx.PageBottom;
  // A line taller than the page is cut across pages: the page always moves on.
  return bottom > top ? std::min(bottom, top + FH) : top + FH;
}

void TPrintJob::DrawPage(TvwPrinter& printer, TCanvas& canvas, int32_t top, int32_t bottom,
                         int32_t page, bool& done)
{
  QPainter& painter = printer.Painter();
  painter.save();
  painter.scale(double(FRx) / FS, double(FRy) / FS);
  // Only what belongs to this page is drawn: a line below the break is not even sent to the
  // printer, so it appears once, on the next page.
  QRect body(FLs, FTs, FW, bottom - top);
  painter.save();
  painter.setClipRect(QRect(0, FTs, FLs + FW + 2, bottom - top));
  TPaintContext ctx;
  ctx.ScrollY = top - FTs;
  ctx.Clip = body;
  ctx.PageBottom = bottom;
  {
    // Text of the page waits across blocks until something else is drawn, inside the clip.
    TTextBatch batch(canvas);
    FCopy->Paint(canvas, ctx, FW, FLs, 0);
  }
  painter.restore();
  if (OnPrintHeader)
    OnPrintHeader(FSender, canvas, page, FPW, FTs, done);
  if (OnPrintFooter) {
    painter.save();
    painter.translate(0, FTs + FH);
    OnPrintFooter(FSender, canvas, page, FPW, FPH - FTs - FH, done);
    painter.restore();
  }
  painter.restore();
}

void TPrintJob::RaiseProgress(int32_t page, bool& done)
{
  QCoreApplication::processEvents();
  if (OnPrintProgress)
    OnPrintProgress(FSender, page, done);
}

// Where the last block with something to print ends: spacing and page breaks after it would
// only make blank pages.
int32_t TPrintJob::ContentBottom() const
{
  for (int i = FCopy->Count() - 1; i >= 0; --i) {
    const TSectionBase* item = FCopy->Items(i);
    if (dynamic_cast<const TParagraphSpace*>(item) || dynamic_cast<const THeadingSpace*>(item) ||
        dynamic_cast<const TPage*>(item))
      continue;
    if (auto* s = dynamic_cast<const TSection*>(item);
        s && s->Chars.find_first_not_of(" \xA0") == std::string::npos)
      continue;
    return item->TopY + std::max(item->FlowHeight, item->PaintHeight);
  }
  return 0;
}

int32_t TPrintJob::Print(TvwPrinter& printer, int32_t fromPage, int32_t toPage)
{
  FPagesPrinted = 0;
  FCopy = ClonePrintList(FDocument, PrintBackgrounds);
  int32_t page = 1;
  bool done = false;
  if (!Title.empty())
    printer.Title = Title;
  printer.BeginDoc();
  try {
    Measure(printer);
    TCanvas measure;
    measure.Printing = true;
    int32_t scrollWidth = 0, pos = 0;
    FCopy->Layout(measure, 0, FW, scrollWidth, pos);
    const int32_t height = ContentBottom();
    RaiseProgress(1, done);
    int32_t top = 0;
    // One canvas draws every page: the buffers it keeps text in serve the whole job.
    std::unique_ptr<TCanvas> canvas;
    while (page <= toPage && !done) {
      int32_t bottom = FindPageBottom(top);
      if (page >= fromPage) {
        if (!canvas) {
          canvas = std::make_unique<TCanvas>(&printer.Painter());
          canvas->Printing = true;
        }
        DrawPage(printer, *canvas, top, bottom, page, done);
        ++FPagesPrinted;
      }
      top = bottom;
      RaiseProgress(page, done);
      // Nothing left below the break: no blank page after a break at the very end.
      if (height <= top)
        done = true;
      if (!done && fromPage <= page && page < toPage)
        printer.NewPage();
      ++page;
    }
  } catch (...) {
    if (printer.Printing())
      printer.Abort();
    throw;
  }
  if (page <= fromPage || FPagesPrinted == 0)
    printer.Abort(); // the range begins after the end of the document
  else
    printer.EndDoc();
  return page - 1;
}

void THTMLViewer::Print(int32_t FromPage, int32_t ToPage)
{
  bool done = false;
  if (OnPrintProgress)
    OnPrintProgress(this, 0, done);
  FPrintPage = 0;
  if (FProcessing || FSectionList->Count() == 0)
    return;
  TPrintJob job(this, *FSectionList);
  job.MarginLeft = PrintMarginLeft;
  job.MarginTop = PrintMarginTop;
  job.MarginRight = PrintMarginRight;
  job.MarginBottom = PrintMarginBottom;
  job.PrintBackgrounds = (FOptions & htPrintTableBackground) != 0;
  job.Title = codepage::Decode(FPageTitle.data(), int(FPageTitle.size()), Doc().TextCharset())
                  .toStdString();
  job.OnPrintHeader = OnPrintHeader;
  job.OnPrintFooter = OnPrintFooter;
  job.OnPrintProgress = OnPrintProgress;
  TvwPrinter printer(&SelectedPrinter());
  struct TPrinting {
    THTMLViewer* Viewer;
    ~TPrinting() { Viewer->SetProcessing(false); }
  } printing{this};
  SetProcessing(true);
  FPrintPage = job.Print(printer, FromPage, ToPage);
}
