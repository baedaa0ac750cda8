#pragma once
// Nearest-colour search in a palette, with a 64 KB inverse table so that every colour of a
// 5-bit-per-channel cell costs one search at most. A cell holds the first entry that falls in
// it, or the entry found for the first colour asked in it; all colours of a cell share that
// entry, except that a colour which is itself an entry of the palette always gets its own
// (so white stays white where a light grey shares its cell).
#include "html/images/Display.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

class TColorLookup {
public:
  virtual ~TColorLookup() = default;
  // Index of the chosen entry; its colour is returned in R, G, B.
  virtual int Lookup(int red, int green, int blue, int& R, int& G, int& B) = 0;

  int32_t Colors = 0;
};

struct TPaletteEntry {
  uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
};

class TFastColorLookup final : public TColorLookup {
public:
  explicit TFastColorLookup(const TPalette& palette);

  int Lookup(int red, int green, int blue, int& R, int& G, int& B) override
  {
    const int cell = CellOf(red, green, blue);
    int index = InverseTable[size_t(cell)];
    if (unsigned(index) >= 256u)
      index = index < 0 ? Search(cell, red, green, blue) : Exact(index, red, green, blue);
    const TPaletteEntry& e = PaletteEntries[size_t(index)];
    R = e.Red;
    G = e.Green;
    B = e.Blue;
    return index;
  }

  static int CellOf(int red, int green, int blue)
  {
    return ((blue >> 3) << 10) | ((green >> 3) << 5) | (red >> 3);
  }

  std::array<TPaletteEntry, 256> PaletteEntries{};
  std::vector<int16_t> InverseTable; // 32768 cells, -1 = not yet known

private:
  static constexpr int16_t SharedCell = 0x4000; // flag: more than one entry in the cell

  int Search(int cell, int red, int green, int blue);
  int Exact(int cellValue, int red, int green, int blue) const;

  std::vector<int> FCrowded; // entries that share their cell with another entry
};
