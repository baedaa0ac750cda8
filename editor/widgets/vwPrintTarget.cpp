#include "editor/widgets/vwPrintTarget.h"

#include "html/viewer/vwPrinter.h"

#include <QPrinter>

void TvwPrintTarget::BeginDoc(const std::string& title, int copies)
{
  FPrinter.Title = title;
  FPrinter.BeginDoc();
  FPrinter.Device()->setCopyCount(std::max(copies, 1));
}

void TvwPrintTarget::NewPage()
{
  FPrinter.NewPage();
}

void TvwPrintTarget::EndDoc()
{
  FPrinter.EndDoc();
}

void TvwPrintTarget::Abort()
{
  FPrinter.Abort();
}

QPainter& TvwPrintTarget::Painter()
{
  return FPrinter.Painter();
}

int TvwPrintTarget::ResolutionX()
{
  return FPrinter.ResolutionX();
}

int TvwPrintTarget::ResolutionY()
{
  return FPrinter.ResolutionY();
}

int TvwPrintTarget::PageWidth()
{
  return FPrinter.PageWidth();
}

int TvwPrintTarget::PageHeight()
{
  return FPrinter.PageHeight();
}

int TvwPrintTarget::PhysicalWidth()
{
  return FPrinter.PhysicalWidth();
}

int TvwPrintTarget::PhysicalHeight()
{
  return FPrinter.PhysicalHeight();
}

int TvwPrintTarget::PhysicalOffsetX()
{
  return FPrinter.PhysicalOffsetX();
}

int TvwPrintTarget::PhysicalOffsetY()
{
  return FPrinter.PhysicalOffsetY();
}
