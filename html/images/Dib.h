#pragma once
// A device-independent copy of a bitmap: a 40-byte header, a colour table for depths up to 8,
// and bottom-up rows padded to 4 bytes, as bitmap files store them. Used to send pictures
// through a fixed palette (printing) and to rebuild bitmaps from raw bits.
#include "html/images/Display.h"

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

class TDib {
public:
  // Captures bitmap. Palette images keep their own colour table; 16- and 32-bit ones become 24.
  explicit TDib(const QImage& bitmap);

  int BitCount() const { return FBits; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Stride() const { return Stride(FBits, FWidth); }
  static int Stride(int bits, int width) { return ((bits * width + 31) / 32) * 4; }

  // A bitmap rebuilt from the header and bits (mapped to the shared palette when there is one).
  QImage ToDeviceBitmap() const;
  // The complete bitmap file: file header, header and colour table, bits.
  QByteArray FileBytes() const;
  void StretchDraw(QPainter& canvas, int X, int Y, int W, int H,
                   QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver) const;

  std::vector<uint8_t> Info; // header plus colour table
  int32_t InfoSize = 0;
  int32_t ImageSize = 0;
  std::vector<uint8_t> Image;

private:
  void BuildInfo(const QImage& source);
  void CaptureRows(const QImage& source);

  int FBits = 0, FWidth = 0, FHeight = 0;
};
