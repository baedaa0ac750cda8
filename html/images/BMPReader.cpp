#include "html/images/BMPReader.h"

#include <QList>
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12; // the first OS/2 header: 16-bit sizes, 3-byte colours
constexpr uint32_t biRGB = 0, biRLE8 = 1, biRLE4 = 2, biBitFields = 3, biAlphaBitFields = 6;
constexpr QRgb OpaqueBlack = 0xFF000000u;

uint32_t Le16(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t Le32(const uint8_t* p)
{
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One colour channel of a bit-field pixel, scaled by value to 0..255: a 5-bit 31 and a 10-bit
// 1023 both give 255.
class TField {
public:
  void Set(uint32_t mask)
  {
    FMask = mask;
    FShift = mask ? std::countr_zero(mask) : 0;
    FMax = mask >> FShift;
    FTable.clear();
    if (FMax && FMax <= 0xFFFF) {
      FTable.resize(size_t(FMax) + 1);
      for (uint32_t v = 0; v <= FMax; ++v)
        FTable[v] = Scaled(v);
    }
  }
  bool Present() const { return FMask != 0; }
  bool Is(uint32_t mask) const { return FMask == mask; }
  uint32_t Get(uint32_t pixel) const
  {
    const uint32_t v = (pixel & FMask) >> FShift;
    return FTable.empty() ? (FMax ? Scaled(v) : 0) : FTable[v];
  }

private:
  uint8_t Scaled(uint32_t v) const { return uint8_t((uint64_t(v) * 255 + FMax / 2) / FMax); }

  uint32_t FMask = 0;
  int FShift = 0;
  uint32_t FMax = 0;
  std::vector<uint8_t> FTable;
};

struct THeader {
  int32_t Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = biRGB;
  uint32_t Masks[4] = {}; // red, green, blue, alpha
  size_t PaletteAt = 0;
  size_t EntrySize = 4;
  uint32_t Colours = 0; // palette entries the file declares, capped at 2^Bits
  size_t BitsAt = 0;
  size_t Stride = 0;
};

bool IsWindowsHeaderSize(uint32_t size)
{
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124 || size > 124;
}

// Sizes, depth and compression from the info header of either family.
bool ReadInfo(std::span<const uint8_t> d, THeader& h, uint32_t& infoSize)
{
  infoSize = Le32(&d[14]);
  if (infoSize < CoreHeaderSize || (infoSize > CoreHeaderSize && infoSize < 16) ||
      infoSize > d.size() - FileHeaderSize)
    return false;
  const uint8_t* p = &d[FileHeaderSize];
  if (infoSize == CoreHeaderSize) {
    h.Width = int32_t(Le16(p + 4));
    h.Height = int32_t(Le16(p + 6));
    h.Bits = int(Le16(p + 10));
    h.EntrySize = 3;
    return true;
  }
  h.Width = int32_t(Le32(p + 4));
  h.Height = int32_t(Le32(p + 8));
  h.Bits = int(Le16(p + 14));
  h.Compression = infoSize >= 20 ? Le32(p + 16) : biRGB;
  h.Colours = infoSize >= 36 ? Le32(p + 32) : 0;
  // The second OS/2 header numbers its compressions differently: 3 is Huffman, 4 RLE24.
  if (!IsWindowsHeaderSize(infoSize) && h.Compression > biRLE4)
    return false;
  return true;
}

// Bit-field masks: inside the larger headers, or right after the 40-byte one.
bool ReadMasks(std::span<const uint8_t> d, THeader& h, uint32_t infoSize)
{
  const bool fields = h.Compression == biBitFields || h.Compression == biAlphaBitFields;
  if (!fields) {
    // Without fields: 5 bits a channel in 16-bit pixels, 8 in 32-bit ones, the top bits unused.
    static constexpr uint32_t Masks16[4] = {0x7C00u, 0x03E0u, 0x001Fu, 0u};
    static constexpr uint32_t Masks32[4] = {0xFF0000u, 0xFF00u, 0xFFu, 0u};
    if (h.Bits == 16 || h.Bits == 32)
      std::copy_n(h.Bits == 16 ? Masks16 : Masks32, 4, h.Masks);
    return true;
  }
  if (h.Bits != 16 && h.Bits != 32)
    return false;
  const size_t at = FileHeaderSize + 40;
  const int count = infoSize >= 56 || h.Compression == biAlphaBitFields ? 4 : 3;
  if (infoSize == 40)
    h.PaletteAt += size_t(4 * count);
  if (at + size_t(4 * count) > d.size())
    return false;
  for (int i = 0; i < count; ++i)
    h.Masks[i] = Le32(&d[at + size_t(4 * i)]);
  return true;
}

bool ValidDepth(const THeader& h)
{
  switch (h.Compression) {
  case biRGB:
    return h.Bits == 1 || h.Bits == 2 || h.Bits == 4 || h.Bits == 8 || h.Bits == 16 ||
           h.Bits == 24 || h.Bits == 32;
  case biRLE8: return h.Bits == 8;
  case biRLE4: return h.Bits == 4;
  case biBitFields:
  case biAlphaBitFields: return h.Bits == 16 || h.Bits == 32;
  default: return false; // embedded JPEG or PNG, and the OS/2 compressions: not met on pages
  }
}

bool ReadHeader(std::span<const uint8_t> d, THeader& h)
{
  uint32_t infoSize = 0;
  if (d.size() < FileHeaderSize + 4 || d[0] != 'B' || d[1] != 'M' || !ReadInfo(d, h, infoSize))
    return false;
  h.PaletteAt = FileHeaderSize + infoSize;
  if (!ValidDepth(h) || !ReadMasks(d, h, infoSize))
    return false;
  if (h.Width <= 0 || h.Height == 0 || h.Height == INT32_MIN)
    return false;
  h.TopDown = h.Height < 0;
  h.Height = std::abs(h.Height);
  if (h.Width > TBMPReader::MaxDimension || h.Height > TBMPReader::MaxDimension ||
      int64_t(h.Width) * h.Height > TBMPReader::MaxPixels)
    return false;
  if (h.Bits <= 8) {
    const uint32_t full = 1u << h.Bits;
    h.Colours = h.Colours == 0 || h.Colours > full ? full : h.Colours;
  } else {
    h.Colours = 0;
  }
  // An offset into the headers is a writer's slip: the pixels then follow the palette.
  h.BitsAt = Le32(&d[10]);
  if (h.BitsAt < h.PaletteAt)
    h.BitsAt = h.PaletteAt + h.Colours * h.EntrySize;
  h.Stride = (size_t(h.Bits) * size_t(h.Width) + 31) / 32 * 4;
  return h.BitsAt < d.size();
}

// 256 colours: the file's entries as far as it holds them, opaque black for the rest, so any
// index finds a colour.
QList<QRgb> ReadPalette(std::span<const uint8_t> d, const THeader& h)
{
  QList<QRgb> palette(256, OpaqueBlack);
  // Entries end where the pixels begin when these follow the palette, else with the file.
  const size_t end = h.BitsAt > h.PaletteAt ? std::min(h.BitsAt, d.size()) : d.size();
  const size_t room = h.PaletteAt < end ? (end - h.PaletteAt) / h.EntrySize : 0;
  const size_t count = std::min<size_t>(h.Colours, room);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &d[h.PaletteAt + i * h.EntrySize];
    palette[qsizetype(i)] = qRgb(e[2], e[1], e[0]);
  }
  return palette;
}

int DestRow(const THeader& h, int fileRow)
{
  return h.TopDown ? fileRow : h.Height - 1 - fileRow;
}

// Rows whose pixels the file holds completely (the last one may lack its padding).
int RowsPresent(std::span<const uint8_t> d, const THeader& h)
{
  const size_t rowBytes = (size_t(h.Bits) * size_t(h.Width) + 7) / 8;
  const size_t room = d.size() - h.BitsAt;
  if (room < rowBytes)
    return 0;
  return int(std::min<size_t>(size_t(h.Height), (room - rowBytes) / h.Stride + 1));
}

// Rows the file lacks become transparent.
QImage ClearMissingRows(QImage image, const THeader& h, int present)
{
  if (present == h.Height)
    return image;
  const auto clear = [&] {
    for (int r = present; r < h.Height; ++r)
      std::memset(image.scanLine(DestRow(h, r)), 0, size_t(image.bytesPerLine()));
  };
  clear(); // before the conversion reads them
  if (image.format() != QImage::Format_ARGB32) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    clear();
  }
  return image;
}

void UnpackIndices(const uint8_t* src, int bits, int width, uchar* dst)
{
  if (bits == 8) {
    std::memcpy(dst, src, size_t(width));
    return;
  }
  const int perByte = 8 / bits;
  const int mask = (1 << bits) - 1;
  for (int x = 0; x < width; ++x) {
    const int shift = 8 - bits * (x % perByte + 1);
    dst[x] = uchar((src[x / perByte] >> shift) & mask);
  }
}

QImage DecodeIndexed(std::span<const uint8_t> d, const THeader& h)
{
  QImage image(h.Width, h.Height, QImage::Format_Indexed8);
  if (image.isNull())
    return image;
  image.setColorTable(ReadPalette(d, h));
  const int present = RowsPresent(d, h);
  for (int r = 0; r < present; ++r)
    UnpackIndices(&d[h.BitsAt + size_t(r) * h.Stride], h.Bits, h.Width,
                  image.scanLine(DestRow(h, r)));
  return ClearMissingRows(image, h, present);
}

void Expand24(const uint8_t* s, int width, QRgb* out)
{
  for (int x = 0; x < width; ++x, s += 3)
    out[x] = OpaqueBlack | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0];
}

// Bit-field pixels of 16 or 32 bits; true when some pixel of the row has alpha above zero.
bool ExpandFields(const uint8_t* s, int bits, int width, const TField* f, QRgb* out)
{
  uint32_t alphaSeen = 0;
  for (int x = 0; x < width; ++x) {
    const uint32_t px = bits == 16 ? Le16(s + 2 * x) : Le32(s + 4 * x);
    const uint32_t a = f[3].Present() ? f[3].Get(px) : 255;
    alphaSeen |= a;
    out[x] = a << 24 | f[0].Get(px) << 16 | f[1].Get(px) << 8 | f[2].Get(px);
  }
  return alphaSeen != 0;
}

// Alpha that is zero everywhere is a writer that left the byte unused: the picture is opaque.
void MakeOpaque(QImage& image, const THeader& h, int present)
{
  for (int r = 0; r < present; ++r) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(DestRow(h, r)));
    for (int x = 0; x < h.Width; ++x)
      row[x] |= OpaqueBlack;
  }
}

QImage DecodeTrueColour(std::span<const uint8_t> d, const THeader& h)
{
  TField f[4];
  for (int i = 0; i < 4; ++i)
    f[i].Set(h.Masks[i]);
  const bool alpha = h.Bits != 24 && f[3].Present();
  QImage image(h.Width, h.Height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull())
    return image;
  const bool plain32 =
      h.Bits == 32 && !alpha && f[0].Is(0xFF0000) && f[1].Is(0xFF00) && f[2].Is(0xFF);
  const int present = RowsPresent(d, h);
  bool alphaSeen = false;
  for (int r = 0; r < present; ++r) {
    const uint8_t* s = &d[h.BitsAt + size_t(r) * h.Stride];
    QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(DestRow(h, r)));
    if (h.Bits == 24) {
      Expand24(s, h.Width, out);
    } else if (plain32) {
      std::memcpy(out, s, size_t(h.Width) * 4);
      for (int x = 0; x < h.Width; ++x)
        out[x] |= OpaqueBlack;
    } else {
      alphaSeen |= ExpandFields(s, h.Bits, h.Width, f, out);
    }
  }
  if (alpha && !alphaSeen) {
    MakeOpaque(image, h, present);
    if (present == h.Height)
      image.reinterpretAsFormat(QImage::Format_RGB32);
  }
  return ClearMissingRows(image, h, present);
}

// Run-length pixels: runs, absolute runs, end of line, deltas and the end of the bitmap. What
// the runs do not reach stays transparent.
class TRleDecoder {
public:
  TRleDecoder(std::span<const uint8_t> d, const THeader& h)
      : FData(d), FHeader(h), FPalette(ReadPalette(d, h)),
        FImage(h.Width, h.Height, QImage::Format_ARGB32)
  {
  }

  QImage Decode()
  {
    if (FImage.isNull())
      return FImage;
    FImage.fill(0u);
    size_t pos = FHeader.BitsAt;
    while (pos + 2 <= FData.size() && FRow < FHeader.Height) {
      const int count = FData[pos], value = FData[pos + 1];
      pos += 2;
      if (count > 0)
        Run(count, value);
      else if (value == 0)
        NextLine();
      else if (value == 1)
        break; // end of the bitmap
      else if (value == 2)
        pos = Delta(pos);
      else
        pos = Absolute(pos, value);
    }
    // A bitmap whose runs reached every pixel is opaque.
    if (FWritten == int64_t(FHeader.Width) * FHeader.Height)
      FImage.reinterpretAsFormat(QImage::Format_RGB32);
    return FImage;
  }

private:
  bool Rle4() const { return FHeader.Compression == biRLE4; }

  void Put(int index)
  {
    if (FColumn < FHeader.Width && FRow < FHeader.Height) {
      reinterpret_cast<QRgb*>(FImage.scanLine(DestRow(FHeader, FRow)))[FColumn] = FPalette[index];
      ++FWritten;
    }
    ++FColumn;
  }

  void Run(int count, int value)
  {
    const int room = std::max(0, FHeader.Width - FColumn);
    const int shown = std::min(count, room);
    for (int i = 0; i < shown; ++i)
      Put(Rle4() ? (i & 1 ? value & 15 : value >> 4) : value);
    FColumn += count - shown;
  }

  void NextLine()
  {
    FColumn = 0;
    ++FRow;
  }

  size_t Delta(size_t pos)
  {
    if (pos + 2 > FData.size()) {
      FRow = FHeader.Height; // the data end inside the delta
      return pos;
    }
    FColumn += FData[pos];
    FRow += FData[pos + 1];
    return pos + 2;
  }

  // count pixels given one by one, padded to an even number of bytes.
  size_t Absolute(size_t pos, int count)
  {
    const size_t bytes = Rle4() ? size_t(count + 1) / 2 : size_t(count);
    const size_t have = std::min(bytes, FData.size() - pos);
    for (int i = 0; i < count; ++i) {
      const size_t at = Rle4() ? size_t(i / 2) : size_t(i);
      if (at >= have)
        break;
      const int b = FData[pos + at];
      Put(Rle4() ? (i & 1 ? b & 15 : b >> 4) : b);
    }
    if (have < bytes)
      FRow = FHeader.Height; // cut short: nothing follows
    return pos + std::min(FData.size() - pos, bytes + (bytes & 1));
  }

  std::span<const uint8_t> FData;
  const THeader& FHeader;
  QList<QRgb> FPalette;
  QImage FImage;
  int FColumn = 0, FRow = 0;
  int64_t FWritten = 0;
};

} // namespace

QImage TBMPReader::Decode(std::span<const uint8_t> data)
{
  THeader h;
  if (!ReadHeader(data, h))
    return QImage();
  if (h.Compression == biRLE8 || h.Compression == biRLE4)
    return TRleDecoder(data, h).Decode();
  if (h.Bits <= 8)
    return DecodeIndexed(data, h);
  return DecodeTrueColour(data, h);
}
