#include "ImageFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

namespace imgfiles {

namespace {

void Le(std::string& s, uint32_t v, int bytes)
{
  for (int i = 0; i < bytes; ++i)
    s += char((v >> (8 * i)) & 0xFF);
}

void Be(std::string& s, uint32_t v)
{
  for (int i = 3; i >= 0; --i)
    s += char((v >> (8 * i)) & 0xFF);
}

uint32_t Crc(const std::string& bytes)
{
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k)
      c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

void Chunk(std::string& png, const char* type, const std::string& body)
{
  Be(png, uint32_t(body.size()));
  std::string typed = std::string(type, 4) + body;
  png += typed;
  Be(png, Crc(typed));
}

std::string Png(int width, int height, int colourType, const std::string& plte,
                const std::string& raw, const std::string& trns)
{
  std::string png = "\x89PNG\r\n\x1A\n";
  std::string ihdr;
  Be(ihdr, uint32_t(width));
  Be(ihdr, uint32_t(height));
  ihdr += char(8);
  ihdr += char(colourType);
  ihdr += std::string(3, '\0');
  Chunk(png, "IHDR", ihdr);
  if (!plte.empty())
    Chunk(png, "PLTE", plte);
  if (!trns.empty())
    Chunk(png, "tRNS", trns);
  QByteArray z = qCompress(QByteArray(raw.data(), qsizetype(raw.size())));
  Chunk(png, "IDAT", std::string(z.constData() + 4, size_t(z.size() - 4))); // zlib stream
  Chunk(png, "IEND", "");
  return png;
}

} // namespace

std::string Bitmap(int bits, int width, int height, const std::vector<QRgb>& table,
                   const std::vector<uint32_t>& pixels)
{
  const int stride = ((bits * width + 31) / 32) * 4;
  const int colours = bits <= 8 ? 1 << bits : 0;
  const uint32_t offset = 14 + 40 + 4 * uint32_t(colours);
  std::string s = "BM";
  Le(s, offset + uint32_t(stride * height), 4);
  Le(s, 0, 4);
  Le(s, offset, 4);
  Le(s, 40, 4);
  Le(s, uint32_t(width), 4);
  Le(s, uint32_t(height), 4);
  Le(s, 1, 2);
  Le(s, uint32_t(bits), 2);
  Le(s, 0, 4);
  Le(s, uint32_t(stride * height), 4);
  Le(s, 2835, 4);
  Le(s, 2835, 4);
  Le(s, uint32_t(colours), 4);
  Le(s, 0, 4);
  for (int i = 0; i < colours; ++i) {
    QRgb c = size_t(i) < table.size() ? table[size_t(i)] : 0;
    s += char(qBlue(c));
    s += char(qGreen(c));
    s += char(qRed(c));
    s += char(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < width; ++x) {
      uint32_t v = pixels[size_t(y * width + x)];
      if (bits == 24) {
        row[size_t(3 * x)] = char(qBlue(v));
        row[size_t(3 * x + 1)] = char(qGreen(v));
        row[size_t(3 * x + 2)] = char(qRed(v));
      } else {
        int bit = x * bits;
        row[size_t(bit / 8)] = char(uint8_t(row[size_t(bit / 8)]) | (v << (8 - bits - bit % 8)));
      }
    }
    s += row;
  }
  return s;
}

std::string PalettePng(int width, int height, const std::vector<QRgb>& palette,
                       const std::vector<uint8_t>& indices, const std::string& trns)
{
  std::string plte, raw;
  for (QRgb c : palette) {
    plte += char(qRed(c));
    plte += char(qGreen(c));
    plte += char(qBlue(c));
  }
  for (int y = 0; y < height; ++y) {
    raw += char(0); // no filter
    for (int x = 0; x < width; ++x)
      raw += char(indices[size_t(y * width + x)]);
  }
  return Png(width, height, 3, plte, raw, trns);
}

std::string RgbPng(int width, int height, const std::vector<QRgb>& pixels, const std::string& trns)
{
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += char(0);
    for (int x = 0; x < width; ++x) {
      QRgb c = pixels[size_t(y * width + x)];
      raw += char(qRed(c));
      raw += char(qGreen(c));
      raw += char(qBlue(c));
    }
  }
  return Png(width, height, 2, "", raw, trns);
}

std::string Jpeg(const QImage& image)
{
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(100);
  writer.write(image);
  return std::string(bytes.constData(), size_t(bytes.size()));
}

} // namespace imgfiles
