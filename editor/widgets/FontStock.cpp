#include "editor/widgets/FontStock.h"

#include "base/Exceptions.h"

#include <QFontMetrics>
#include <cmath>

void TFontStock::SetBaseFont(const QFont* value)
{
  if (!value)
    throw ELumoraError("SetBaseFont: 'Value' must be specified.");
  FBaseFont = *value;
  // Kerning would pull pairs of glyphs out of their cells.
  FBaseFont.setKerning(false);
  FreeFontHandles();
  QFontMetrics metrics(FBaseFont);
  FCellHeight = metrics.height();
  FAscent = metrics.ascent();
  SelectStyle(0);
}

const TFontStock::TSlot& TFontStock::SelectStyle(TFontStyles style)
{
  FCurrent = style & 15;
  std::unique_ptr<TSlot>& slot = FSlots[FCurrent];
  if (slot)
    return *slot;
  slot = std::make_unique<TSlot>();
  slot->Font = FBaseFont;
  slot->Font.setBold(style & fsBold);
  slot->Font.setItalic(style & fsItalic);
  slot->Font.setUnderline(style & fsUnderline);
  slot->Font.setStrikeOut(style & fsStrikeOut);
  slot->CellWidth = QFontMetrics(slot->Font).horizontalAdvance(QLatin1Char('M'));
  slot->Raw = QRawFont::fromFont(slot->Font);
  QString all(256, QChar(' '));
  for (int i = 0; i < 256; ++i)
    all[i] = QChar(i < 32 ? ' ' : i);
  int count = 256;
  slot->Raw.glyphIndexesForChars(all.constData(), 256, slot->Glyphs.data(), &count);
  return *slot;
}

void TFontStock::FreeFontHandles()
{
  for (auto& slot : FSlots)
    slot.reset();
  FCurrent = 0;
}
