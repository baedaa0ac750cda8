#pragma once
// The editor's print operation on the program's printer.
#include "editor/EditPrint.h"

class TvwPrinter;

class TvwPrintTarget : public TtxPrintTarget {
public:
  explicit TvwPrintTarget(TvwPrinter& printer) : FPrinter(printer) {}

  void BeginDoc(const std::string& title, int copies) override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  QPainter& Painter() override;
  int ResolutionX() override;
  int ResolutionY() override;
  int PageWidth() override;
  int PageHeight() override;
  int PhysicalWidth() override;
  int PhysicalHeight() override;
  int PhysicalOffsetX() override;
  int PhysicalOffsetY() override;

private:
  TvwPrinter& FPrinter;
};
