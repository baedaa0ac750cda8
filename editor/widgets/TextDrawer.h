#pragma once
// Draws single-byte text in fixed cells on a painter: every character occupies exactly one
// cell of the current style's width, opaque on its background and clipped to its rectangle.
#include "base/Color.h"
#include "editor/widgets/FontStock.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <string_view>
#include <vector>

class QPainter;

class TTextDrawer {
public:
  // Nesting: the painter's state is saved at the first begin and restored at the last end.
  // Beginning on another painter while drawing, or ending without a begin, stops the program.
  void BeginOutput(QPainter* painter);
  void EndOutput();
  void SetBaseFont(const QFont* font) { FStock.SetBaseFont(font); }
  TFontStock& Stock() { return FStock; }
  const TFontStock& Stock() const { return FStock; }
  void SelectStyle(TFontStyles style);
  void SetTextColor(TColor color);
  void SetBackgroundColor(TColor color);
  void SetCharSpacing(int extra) { FCharExtra = extra; }
  // What no text may leave (the text area or the gutter); null for no bound. Any clip of the
  // painter's own is replaced while text is drawn.
  void SetBounds(const QRect& bounds) { FBounds = bounds; }
  int CellWidth() const { return FStock.CellWidth() + FCharExtra; }
  int CellHeight() const { return FStock.CellHeight(); }

  void TextOut(int x, int y, std::string_view text);
  // With opaque the rectangle is filled with the background first; the text is clipped to it.
  void ExtTextOut(int x, int y, bool opaque, const QRect& rect, std::string_view text);
  // Cells whose entry in `chars` is not 0 show that character instead of their byte, through
  // the font's fallback when the font lacks it.
  void ExtTextOut(int x, int y, bool opaque, const QRect& rect, std::string_view text,
                  std::u32string_view chars);

private:
  void GrowAdvances(size_t count);

  TFontStock FStock;
  TFontStyles FStyle = 0;
  QColor FForeground = ToQColor(clWindowText);
  QColor FBackground = ToQColor(clWindow);
  int FCharExtra = 0;
  QRect FBounds;
  QPainter* FPainter = nullptr;
  int FNesting = 0;
  std::vector<quint32> FGlyphs;
  std::vector<QPointF> FAdvances;
  int FAdvanceWidth = -1;
};
