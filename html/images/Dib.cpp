#include "html/images/Dib.h"

#include "html/images/FastColorLookup.h"

#include <cstring>

namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
  for (int i = 0; i < 4; ++i)
    v[at + size_t(i)] = uint8_t(x >> (8 * i));
}

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x)
{
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
}

// The form the rows are taken from: 1-bit, 8-bit with a table, or 24-bit.
QImage Normalised(const QImage& bitmap, int& bits)
{
  if (bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_Indexed8) {
    bits = bitmap.depth();
    return bitmap;
  }
  if (bitmap.format() == QImage::Format_MonoLSB) {
    bits = 1;
    return bitmap.convertToFormat(QImage::Format_Mono);
  }
  bits = 24;
  return bitmap.convertToFormat(QImage::Format_RGB888);
}

} // namespace

TDib::TDib(const QImage& bitmap)
{
  const QImage source = Normalised(bitmap, FBits);
  FWidth = source.width();
  FHeight = source.height();
  BuildInfo(source);
  CaptureRows(source);
}

void TDib::BuildInfo(const QImage& source)
{
  const int colours = FBits <= 8 ? 1 << FBits : 0;
  InfoSize = 40 + 4 * colours;
  Info.assign(size_t(InfoSize), 0);
  Put32(Info, 0, 40);
  Put32(Info, 4, uint32_t(FWidth));
  Put32(Info, 8, uint32_t(FHeight));
  Put16(Info, 12, 1);
  Put16(Info, 14, uint16_t(FBits));
  const QList<QRgb> table = source.colorTable();
  for (int i = 0; i < colours && i < table.size(); ++i) {
    const size_t at = 40 + 4 * size_t(i);
    Info[at] = uint8_t(qBlue(table[i]));
    Info[at + 1] = uint8_t(qGreen(table[i]));
    Info[at + 2] = uint8_t(qRed(table[i]));
  }
}

void TDib::CaptureRows(const QImage& source)
{
  const int stride = Stride();
  ImageSize = stride * FHeight;
  Image.assign(size_t(ImageSize), 0);
  const size_t used = size_t((FBits * FWidth + 7) / 8);
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* row = Image.data() + size_t(FHeight - 1 - y) * size_t(stride);
    const uchar* src = source.constScanLine(y);
    if (FBits != 24) {
      std::memcpy(row, src, used);
      continue;
    }
    for (int x = 0; x < FWidth; ++x) { // file rows are blue, green, red
      row[3 * x] = src[3 * x + 2];
      row[3 * x + 1] = src[3 * x + 1];
      row[3 * x + 2] = src[3 * x];
    }
  }
}

QByteArray TDib::FileBytes() const
{
  const uint32_t offset = 14 + uint32_t(InfoSize);
  std::vector<uint8_t> header(14, 0);
  header[0] = 'B';
  header[1] = 'M';
  Put32(header, 2, offset + uint32_t(ImageSize));
  Put32(header, 10, offset);
  QByteArray bytes(reinterpret_cast<const char*>(header.data()), 14);
  bytes.append(reinterpret_cast<const char*>(Info.data()), InfoSize);
  bytes.append(reinterpret_cast<const char*>(Image.data()), ImageSize);
  return bytes;
}

QImage TDib::ToDeviceBitmap() const
{
  QImage image = QImage::fromData(FileBytes(), "BMP");
  const TPalette& shared = SharedPalette();
  if (image.isNull() || shared.isEmpty() || image.format() == QImage::Format_Indexed8)
    return image;
  // On palette displays every colour is shown through the shared palette.
  QImage mapped = image.convertToFormat(QImage::Format_RGB32);
  TFastColorLookup lookup(shared);
  int r, g, b;
  for (int y = 0; y < mapped.height(); ++y) {
    QRgb* p = reinterpret_cast<QRgb*>(mapped.scanLine(y));
    for (int x = 0; x < mapped.width(); ++x) {
      lookup.Lookup(qRed(p[x]), qGreen(p[x]), qBlue(p[x]), r, g, b);
      p[x] = qRgb(r, g, b);
    }
  }
  return mapped;
}

void TDib::StretchDraw(QPainter& canvas, int X, int Y, int W, int H,
                       QPainter::CompositionMode mode) const
{
  const QImage image = ToDeviceBitmap();
  canvas.save();
  canvas.setCompositionMode(mode);
  canvas.drawImage(QRect(X, Y, W, H), image);
  canvas.restore();
}
