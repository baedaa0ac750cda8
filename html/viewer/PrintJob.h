#pragma once
// Puts one document on paper: a print copy of the section list laid out again for the
// printable width, cut into pages at line boundaries and between table rows, the chosen page
// range drawn, a header and a footer in the margins of every page.
//
//   TPrintJob job(viewer, *viewer->SectionList());
//   TvwPrinter printer(&SelectedPrinter());
//   int32_t last = job.Print(printer, 1, 999);
#include "html/viewer/HTMLViewer.h"

#include <cstdint>
#include <memory>
#include <string>

class TCanvas;
class TvwPrinter;

class TPrintJob {
public:
  // sender is what the events name; document is copied, never changed.
  TPrintJob(QObject* sender, const TSectionList& document);
  ~TPrintJob();

  // Margins in centimetres from the edges of the paper.
  double MarginLeft = 2.0;
  double MarginTop = 2.0;
  double MarginRight = 2.0;
  double MarginBottom = 2.0;
  bool PrintBackgrounds = false;
  std::string Title; // UTF-8
  THTMLViewer::TPagePrinted OnPrintHeader;
  THTMLViewer::TPagePrinted OnPrintFooter;
  THTMLViewer::TPrintProgressEvent OnPrintProgress;

  // Prints pages fromPage..toPage (from 1). Returns the number of the last page processed; a
  // range that starts after the last page prints nothing. Printer errors pass on after the job
  // is ended and a partly written file removed.
  int32_t Print(TvwPrinter& printer, int32_t fromPage, int32_t toPage);
  // Pages that came out of the last Print.
  int32_t PagesPrinted() const { return FPagesPrinted; }
  // The body of a page in screen pixels (the width the document is laid out for) after Print.
  int32_t BodyWidth() const { return FW; }
  int32_t BodyHeight() const { return FH; }

private:
  void Measure(TvwPrinter& printer);
  int32_t FindPageBottom(int32_t top);
  void DrawPage(TvwPrinter& printer, TCanvas& canvas, int32_t top, int32_t bottom, int32_t page,
                bool& done);
  void RaiseProgress(int32_t page, bool& done);
  int32_t ContentBottom() const;

  QObject* FSender;
  const TSectionList& FDocument;
  std::unique_ptr<TSectionList> FCopy;
  int32_t FPagesPrinted = 0;
  // Page geometry: screen pixels per inch and the device resolution.
  int FS = 96, FRx = 96, FRy = 96;
  int32_t FLs = 0, FTs = 0, FW = 0, FH = 0, FPW = 0, FPH = 0;
};

// The print copy of a document: every block cloned, marked as printing, on a white page.
std::unique_ptr<TSectionList> ClonePrintList(const TSectionList& source, bool backgrounds);
