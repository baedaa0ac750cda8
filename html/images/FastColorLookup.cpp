#include "html/images/FastColorLookup.h"

TFastColorLookup::TFastColorLookup(const TPalette& palette) : InverseTable(32768, int16_t(-1))
{
  Colors = int32_t(std::min<qsizetype>(palette.size(), 256));
  for (int i = 0; i < Colors; ++i) {
    QRgb c = palette[i];
    PaletteEntries[size_t(i)] = {uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)), 0};
    int16_t& cell = InverseTable[size_t(CellOf(qRed(c), qGreen(c), qBlue(c)))];
    if (cell < 0) {
      cell = int16_t(i); // the first entry of a cell wins
      continue;
    }
    if (!(cell & SharedCell))
      FCrowded.push_back(cell);
    FCrowded.push_back(i);
    cell = int16_t(cell | SharedCell);
  }
}

int TFastColorLookup::Exact(int cellValue, int red, int green, int blue) const
{
  for (int i : FCrowded) {
    const TPaletteEntry& e = PaletteEntries[size_t(i)];
    if (e.Red == red && e.Green == green && e.Blue == blue)
      return i;
  }
  return cellValue & 0xFF;
}

// Smallest sum of channel differences; on a tie the earlier entry stays.
int TFastColorLookup::Search(int cell, int red, int green, int blue)
{
  int best = 0;
  int bestSum = 1 << 30;
  for (int i = 0; i < Colors; ++i) {
    const TPaletteEntry& e = PaletteEntries[size_t(i)];
    int sum = std::abs(e.Red - red) + std::abs(e.Green - green) + std::abs(e.Blue - blue);
    if (sum < bestSum) {
      bestSum = sum;
      best = i;
    }
  }
  InverseTable[size_t(cell)] = int16_t(best);
  return best;
}
