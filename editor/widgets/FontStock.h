#pragma once
// One base font in its sixteen style variants (bold, italic, underline, strike-out), each made
// and measured on first use. Text is drawn as glyph runs placed cell by cell, so every variant
// keeps the same grid whatever its glyphs' own widths.
#include "editor/HighLightAttributes.h"

#include <QFont>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>

class TFontStock {
public:
  struct TSlot {
    QFont Font;
    QRawFont Raw;
    int CellWidth = 0;
    // Glyph of every byte of the single-byte text (Latin-1).
    std::array<quint32, 256> Glyphs{};
  };

  // Raises "SetBaseFont: 'Value' must be specified." without a font.
  void SetBaseFont(const QFont* value);
  const QFont& BaseFont() const { return FBaseFont; }
  // Makes the slot of the style current, creating it when first asked for.
  const TSlot& SelectStyle(TFontStyles style);
  const TSlot& Current() const { return *FSlots[FCurrent]; }
  int CellWidth() const { return Current().CellWidth; }
  int CellHeight() const { return FCellHeight; }
  int Ascent() const { return FAscent; }
  // Single-byte text has no double-byte cells.
  int WideCellWidth() const { return 0; }
  void FreeFontHandles();

private:
  QFont FBaseFont;
  std::array<std::unique_ptr<TSlot>, 16> FSlots;
  int FCurrent = 0;
  int FCellHeight = 0;
  int FAscent = 0;
};
