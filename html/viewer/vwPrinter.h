#pragma once
// The printer object printing draws through: one job on the selected QPrinter (a real printer
// through CUPS, or a PDF file), its pages, and the canvas the document is drawn on. The device
// is opened at the first drawing, so a job that ends before drawing anything leaves nothing
// behind: no sheet, no file.
#include "base/Exceptions.h"
#include "platform/Canvas.h"

#include <QPainter>
#include <cstdint>
#include <memory>
#include <string>

class QPrinter;
class TvwPrinter;

// A job name from a UTF-8 title: its first 31 characters, never half of one.
QString PrintJobName(const std::string& title);

class EPrinter : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

namespace msg {
inline const char* const PrinterNotValid = "Printer selected is not valid";
inline const char* const NotPrinting = "Printer is not currently printing";
inline const char* const PrintingInProgress = "Printing in progress";
} // namespace msg

// The canvas on the printer: a screen-pixel canvas whose painter the printer owns.
class TPrinterCanvas : public TCanvas {
public:
  TPrinterCanvas(TvwPrinter& printer, QPainter* painter) : TCanvas(painter), Printer(printer) {}
  TvwPrinter& Printer;
};

class TvwPrinter {
public:
  // Prints with the settings of printer (not owned), which the print dialog or the caller chose.
  explicit TvwPrinter(QPrinter* printer);
  ~TvwPrinter();
  TvwPrinter(const TvwPrinter&) = delete;
  TvwPrinter& operator=(const TvwPrinter&) = delete;

  std::string Title; // job name (UTF-8); at most 31 characters are passed on
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int32_t PageNumber() const { return FPageNumber; }
  // 0 nothing checked, 1 the printer is known to be usable, 2 a job is open.
  int State() const { return FState; }

  // Resolution in dots per inch, the printable area and the unprintable borders, in device
  // pixels. Each needs a usable printer.
  int ResolutionX();
  int ResolutionY();
  int32_t PageWidth();
  int32_t PageHeight();
  int32_t PhysicalWidth();
  int32_t PhysicalHeight();
  int32_t PhysicalOffsetX();
  int32_t PhysicalOffsetY();

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();

  // The page being printed; opens the device on first use. Coordinates are device pixels from
  // the corner of the printable area.
  QPainter& Painter();
  TPrinterCanvas& Canvas();
  // Whether anything was drawn in this job.
  bool Started() const { return FPainter.isActive(); }

  // The printer the job runs on: a copy of the chosen one's settings.
  QPrinter* Device() const { return FPrinter; }

private:
  void SetState(int state);
  void RequirePrinting() const;
  void RemovePartialFile();
  void CopySettings();

  QPrinter* FSelected;
  std::unique_ptr<QPrinter> FCopy;
  QPrinter* FPrinter = nullptr;
  QPainter FPainter;
  std::unique_ptr<TPrinterCanvas> FCanvas;
  bool FPrinting = false;
  bool FAborted = false;
  bool FWroteFile = false;
  int32_t FPageNumber = 0;
  int FState = 0;
};

// The printer a print uses: the one the print dialog (or the command line) chose last. Created
// on first use; tests and the command line point it at a PDF file.
QPrinter& SelectedPrinter();
