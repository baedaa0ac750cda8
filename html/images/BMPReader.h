#pragma once
// Reads bitmap files held in memory: the Windows and OS/2 headers, 1/2/4/8-bit palettes (short
// ones and 3-byte entries too), 16/24/32-bit pixels, bit fields of any width with or without
// alpha, RLE4 and RLE8, bottom-up and top-down rows.
//
// Every pixel of the result is defined. Pixels that an RLE delta or an early end skips, and rows
// that a truncated file lacks, are transparent (the page shows through), so the picture is
// ARGB32 then; complete opaque pictures are Indexed8 (palette files) or RGB32.
#include <QImage>
#include <cstdint>
#include <span>

class TBMPReader {
public:
  static constexpr int MaxDimension = 32768;
  // Pixels of one picture. Lowered by the fuzz targets.
  static inline int64_t MaxPixels = int64_t(1) << 26;

  // Null when the data are no bitmap or their header asks for what cannot be read (a size out
  // of bounds, an unknown depth or compression, pixel data outside the file).
  static QImage Decode(std::span<const uint8_t> data);
};
