#include "ImageGen.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cmath>

namespace imagegen {

namespace {

void Put16(std::string& out, int v)
{
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

int Bits(size_t n)
{
  int bits = 1;
  while ((size_t(1) << bits) < n && bits < 8)
    ++bits;
  return bits;
}

void PutTable(std::string& out, const std::vector<QRgb>& table)
{
  for (size_t i = 0; i < (size_t(1) << Bits(table.size())); ++i) {
    QRgb c = i < table.size() ? table[i] : 0;
    out += char(qRed(c));
    out += char(qGreen(c));
    out += char(qBlue(c));
  }
}

// LZW with a dense dictionary: child code of (prefix, next index).
class LzwEncoder {
public:
  explicit LzwEncoder(int minCodeSize)
      : FMin(minCodeSize), FClear(1 << minCodeSize), FWidth(minCodeSize + 1),
        FDict(size_t(4096) * 256, -1)
  {
  }

  std::string Encode(const std::vector<uint8_t>& px)
  {
    Reset();
    int prefix = px.empty() ? -1 : px[0];
    for (size_t i = 1; i < px.size(); ++i) {
      int16_t& child = FDict[size_t(prefix) * 256 + px[i]];
      if (child >= 0) {
        prefix = child;
        continue;
      }
      Put(prefix);
      child = int16_t(FNext++);
      FUsed.push_back(size_t(prefix) * 256 + px[i]);
      if (FNext - 1 == (1 << FWidth) && FWidth < 12)
        ++FWidth;
      prefix = px[i];
      if (FNext >= 4095)
        Reset();
    }
    if (prefix >= 0)
      Put(prefix);
    Put(FClear + 1);
    if (FCount > 0)
      FBytes += char(FAcc & 0xFF);
    return FBytes;
  }

private:
  void Put(int code)
  {
    FAcc |= uint64_t(code) << FCount;
    FCount += FWidth;
    while (FCount >= 8) {
      FBytes += char(FAcc & 0xFF);
      FAcc >>= 8;
      FCount -= 8;
    }
  }
  void Reset()
  {
    Put(FClear);
    for (size_t at : FUsed)
      FDict[at] = -1;
    FUsed.clear();
    FWidth = FMin + 1;
    FNext = FClear + 2;
  }

  int FMin, FClear, FWidth = 0, FNext = 0;
  std::vector<int16_t> FDict;
  std::vector<size_t> FUsed;
  std::string FBytes;
  uint64_t FAcc = 0;
  int FCount = 0;
};

std::vector<uint8_t> Interlaced(const GifFrame& f)
{
  std::vector<uint8_t> out;
  out.reserve(f.indices.size());
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int p = 0; p < 4; ++p)
    for (int y = start[p]; y < f.height; y += step[p])
      out.insert(out.end(), f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
  return out;
}

void PutFrame(std::string& out, int minCodeSize, const GifFrame& f)
{
  out += "\x21\xF9\x04";
  out += char(((f.disposal & 7) << 2) | (f.transIndex >= 0 ? 1 : 0));
  Put16(out, f.delay);
  out += char(std::max(f.transIndex, 0));
  out += char(0);
  out += char(0x2C);
  Put16(out, f.left);
  Put16(out, f.top);
  Put16(out, f.width);
  Put16(out, f.height);
  out += char(f.interlaced ? 0x40 : 0);
  out += char(minCodeSize);
  const std::string data = LzwEncoder(minCodeSize).Encode(f.interlaced ? Interlaced(f) : f.indices);
  for (size_t i = 0; i < data.size(); i += 255) {
    size_t n = std::min<size_t>(255, data.size() - i);
    out += char(n);
    out.append(data, i, n);
  }
  out += char(0);
}

uint32_t Next(uint32_t& s)
{
  s = s * 1664525u + 1013904223u;
  return s >> 8;
}

} // namespace

std::string EncodeGif(const GifFile& gif)
{
  std::string out = "GIF89a";
  Put16(out, gif.width);
  Put16(out, gif.height);
  out += char(0x80 | (Bits(gif.table.size()) - 1));
  out += char(0);
  out += char(0);
  PutTable(out, gif.table);
  if (gif.loopCount >= 0) {
    out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
    Put16(out, gif.loopCount);
    out += char(0);
  }
  const int minCodeSize = std::max(2, Bits(gif.table.size()));
  for (const GifFrame& f : gif.frames)
    PutFrame(out, minCodeSize, f);
  out += char(0x3B);
  return out;
}

QImage Photo(int width, int height, uint32_t seed)
{
  QImage img(width, height, QImage::Format_RGB32);
  uint32_t s = seed;
  for (int y = 0; y < height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      double fx = double(x) / width, fy = double(y) / height;
      int noise = int(Next(s) % 13) - 6;
      int r = int(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + noise;
      int g = int(128 + 90 * std::sin(4.0 * fy - 3.0 * fx * fy)) + noise;
      int b = int(120 + 80 * std::cos(9.0 * fx * fx + 5.0 * fy)) + noise;
      row[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
    }
  }
  return img;
}

GifFile PhotoGif(int width, int height, int bits, bool interlaced, uint32_t seed)
{
  GifFile gif;
  gif.width = width;
  gif.height = height;
  const int colours = 1 << bits;
  if (bits == 8) {
    for (int i = 0; i < 216; ++i)
      gif.table.push_back(qRgb(i % 6 * 51, i / 6 % 6 * 51, i / 36 * 51));
    for (int i = 216; i < 256; ++i)
      gif.table.push_back(qRgb((i - 216) * 6, (i - 216) * 6, (i - 216) * 6));
  } else {
    for (int i = 0; i < colours; ++i)
      gif.table.push_back(qRgb(i * 255 / (colours - 1), i * 255 / (colours - 1), 128));
  }
  const QImage photo = Photo(width, height, seed);
  GifFrame f;
  f.width = width;
  f.height = height;
  f.interlaced = interlaced;
  f.indices.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      const QRgb p = row[x];
      f.indices[size_t(y) * width + x] =
          bits == 8
              ? uint8_t((qRed(p) + 25) / 51 + (qGreen(p) + 25) / 51 * 6 + (qBlue(p) + 25) / 51 * 36)
              : uint8_t(qGray(p) * colours / 256);
    }
  }
  gif.frames.push_back(std::move(f));
  return gif;
}

GifFile AnimatedGif(int width, int height, int frames)
{
  GifFile gif = PhotoGif(width, height, 8, false, 7);
  gif.loopCount = 0;
  gif.frames[0].delay = 5;
  for (int i = 1; i < frames; ++i) {
    GifFrame f;
    f.width = width / 3;
    f.height = height / 3;
    f.left = (i * 13) % (width - f.width);
    f.top = (i * 7) % (height - f.height);
    f.delay = 5;
    f.disposal = i % 3 == 0 ? 2 : 1;
    f.transIndex = 255;
    f.indices.resize(size_t(f.width) * f.height);
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        int dx = x - f.width / 2, dy = y - f.height / 2;
        bool inside = dx * dx + dy * dy < (f.width / 2) * (f.height / 2);
        f.indices[size_t(y) * f.width + x] = inside ? uint8_t((x / 4 + y / 4 + i) % 216) : 255;
      }
    gif.frames.push_back(std::move(f));
  }
  return gif;
}

std::string Write(const QImage& image, const char* format, int quality)
{
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  writer.write(image);
  return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string Jpeg(const QImage& image, int quality)
{
  return Write(image, "jpeg", quality);
}

std::string Bmp(const QImage& image)
{
  return Write(image, "bmp", -1);
}

} // namespace imagegen
