#pragma once
// JPEG decoding through libjpeg. A broken file gives a null image, never an exit or a throw.
#include "html/images/Display.h"

#include <QImage>
#include <cstdint>
#include <span>

class TJPEGReader {
public:
  static constexpr int MaxDimension = 16384;
  static inline int64_t MaxPixels = int64_t(1) << 26; // lowered by the fuzz targets

  // 24 bits per pixel (RGB32) when displayBits > 8. Otherwise 8 bits per pixel: greyscale
  // images keep a grey ramp, colour ones are quantized to palette (the shared palette).
  static QImage Decode(std::span<const uint8_t> data, int displayBits, const TPalette& palette);
  // Decode for the current display.
  static QImage Decode(std::span<const uint8_t> data);
};
