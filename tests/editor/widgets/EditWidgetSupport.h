#pragma once
// An editor window of a known size with plain colours, and its viewport drawn into an image.
#include "editor/widgets/EditWidget.h"

#include <QImage>
#include <string>

namespace editwidgettest {

constexpr TColor Paper = RGBColor(255, 255, 255);
constexpr TColor Ink = RGBColor(0, 0, 0);
constexpr TColor SelPaper = RGBColor(255, 0, 0);
constexpr TColor SelInk = RGBColor(255, 255, 0);
constexpr TColor GutterPaper = RGBColor(0, 128, 0);

inline void Prepare(TtxEditWidget& w, const std::string& text, int width = 400, int height = 240)
{
  w.SetColor(Paper);
  w.SetFontColor(Ink);
  w.SelectedColor.SetBackground(SelPaper);
  w.SelectedColor.SetForeground(SelInk);
  w.Gutter.SetColor(GutterPaper);
  w.RightEdge = 0;
  w.resize(width, height);
  w.SetText(text);
}

inline QImage Draw(TtxEditWidget& w)
{
  QImage image(w.viewport()->size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  w.viewport()->render(&image);
  return image;
}

// The colour one pixel inside the top left corner of a cell, where no glyph reaches.
inline QColor CellPaper(TtxEditWidget& w, const QImage& image, int column, int line)
{
  QPoint at = w.PositionToPixels({column, line});
  return image.pixelColor(at.x() + 1, at.y() + 1);
}

} // namespace editwidgettest
