#pragma once
// The editor's print operation: the text (or the selection, or a line range) in fixed cells
// on pages with header and footer lines, optionally in the highlighter's styles and colours.
// It draws on any page device through TtxPrintTarget, so the engine needs no printer
// toolkit; the window's side adapts the program's printer to it.
#include "editor/EditTypes.h"

#include <QFont>
#include <functional>
#include <string>
#include <vector>

class QPainter;
class TtxCustomEdit;

// Where the pages go: one job of pages in device pixels.
class TtxPrintTarget {
public:
  virtual ~TtxPrintTarget() = default;
  virtual void BeginDoc(const std::string& title, int copies) = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  virtual void Abort() = 0;
  // The page being drawn; coordinates from the corner of the printable area.
  virtual QPainter& Painter() = 0;
  virtual int ResolutionX() = 0;
  virtual int ResolutionY() = 0;
  // The printable area and the whole sheet, and where the printable area starts on it.
  virtual int PageWidth() = 0;
  virtual int PageHeight() = 0;
  virtual int PhysicalWidth() = 0;
  virtual int PhysicalHeight() = 0;
  virtual int PhysicalOffsetX() = 0;
  virtual int PhysicalOffsetY() = 0;
};

// A header or footer line and its alignment.
enum TtxPrintAlign : int { paLeft = 0, paRight = 1, paCenter = 2 };
struct TtxPrintLine {
  std::string Text;
  TtxPrintAlign Align = paLeft;
};

struct TtxPrintRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Empty() const { return Right <= Left && Bottom <= Top; }
};

struct TtxPrintOptions {
  bool SelectionOnly = false;
  bool WithHighlighting = false;
  bool Reserved = false;
  bool NoColors = false; // token styles without their colours
  int CopyCount = 1;
  uint8_t MarginUnit = 0; // 0 device pixels, 1 thousandths of an inch, 2 millimetres
  TtxPrintRect PageMargins;
  // First column, first line, last column, last line; empty for the whole text.
  TtxPrintRect LineRange;
  std::string JobTitle;
  std::vector<TtxPrintLine> HeaderLines;
  std::vector<TtxPrintLine> FooterLines;
};

enum TtxPrintStatus : int { psBegin = 0, psNewPage = 1, psEnd = 2 };
using TPrintStatusEvent = std::function<void(TtxPrintStatus status, int pageNumber, bool& abort)>;

// Replaces the $...$ macros of a header or footer line: PAGENUM, TITLE, DATE, TIME, DATETIME,
// TIMEDATE; "$$" gives "$"; any other word stands for itself in upper case.
std::string ExpandPrintMacros(const std::string& text, int page, const std::string& title,
                              const std::string& date, const std::string& time);

// Prints editor's text on target; returns the number of pages printed (0 when nothing was).
// extraLineSpacing is in screen pixels, as the editor keeps it.
int PrintEditor(const TtxCustomEdit& editor, TtxPrintTarget& target, const TtxPrintOptions& options,
                const QFont& font, int extraLineSpacing, const TPrintStatusEvent& onStatus);
