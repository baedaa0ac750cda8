#include "GifEncoder.h"

#include <map>
#include <utility>

namespace gifenc {

namespace {

void Put16(std::string& out, int v)
{
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void PutTable(std::string& out, const std::vector<QRgb>& table)
{
  size_t n = size_t(1) << TableBits(table.size());
  for (size_t i = 0; i < n; ++i) {
    QRgb c = i < table.size() ? table[i] : 0;
    out += char(qRed(c));
    out += char(qGreen(c));
    out += char(qBlue(c));
  }
}

void PutSubBlocks(std::string& out, const std::string& data)
{
  for (size_t i = 0; i < data.size(); i += 255) {
    size_t n = std::min<size_t>(255, data.size() - i);
    out += char(n);
    out.append(data, i, n);
  }
  out += char(0);
}

class BitWriter {
public:
  void Put(int code, int width)
  {
    acc |= uint64_t(code) << count;
    count += width;
    while (count >= 8) {
      bytes += char(acc & 0xFF);
      acc >>= 8;
      count -= 8;
    }
  }
  std::string Finish()
  {
    if (count > 0)
      bytes += char(acc & 0xFF);
    return bytes;
  }

private:
  std::string bytes;
  uint64_t acc = 0;
  int count = 0;
};

std::vector<uint8_t> InterlaceOrder(const Frame& f)
{
  std::vector<uint8_t> out;
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int p = 0; p < 4; ++p)
    for (int y = start[p]; y < f.height; y += step[p])
      out.insert(out.end(), f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
  return out;
}

void PutControl(std::string& out, const Frame& f)
{
  out += "\x21\xF9\x04";
  out += char(((f.disposal & 7) << 2) | (f.transIndex >= 0 ? 1 : 0));
  Put16(out, f.delay);
  out += char(f.transIndex >= 0 ? f.transIndex : 0);
  out += char(0);
}

void PutFrame(std::string& out, const Gif& gif, const Frame& f)
{
  out += f.before;
  if (!f.comment.empty()) {
    out += "\x21\xFE";
    PutSubBlocks(out, f.comment);
  }
  if (f.control || f.transIndex >= 0)
    PutControl(out, f);
  out += char(0x2C);
  Put16(out, f.left);
  Put16(out, f.top);
  Put16(out, f.width);
  Put16(out, f.height);
  int packed = f.interlaced ? 0x40 : 0;
  if (!f.localTable.empty())
    packed |= 0x80 | (TableBits(f.localTable.size()) - 1);
  out += char(packed);
  if (!f.localTable.empty())
    PutTable(out, f.localTable);
  size_t colours = f.localTable.empty() ? gif.globalTable.size() : f.localTable.size();
  int minCodeSize = f.minCodeSize ? f.minCodeSize : std::max(2, TableBits(colours));
  out += char(minCodeSize);
  PutSubBlocks(out,
               Compress(f.interlaced ? InterlaceOrder(f) : f.pixels, minCodeSize, f.clearEvery));
}

} // namespace

int TableBits(size_t n)
{
  int bits = 1;
  while ((size_t(1) << bits) < n && bits < 8)
    ++bits;
  return bits;
}

std::string Compress(const std::vector<uint8_t>& pixels, int minCodeSize, int clearEvery)
{
  const int clear = 1 << minCodeSize;
  BitWriter w;
  std::map<std::pair<int, int>, int> dict;
  int width = minCodeSize + 1, next = clear + 2, sinceClear = 0;
  auto reset = [&] {
    w.Put(clear, width);
    dict.clear();
    width = minCodeSize + 1;
    next = clear + 2;
    sinceClear = 0;
  };
  reset();
  if (pixels.empty()) {
    w.Put(clear + 1, width);
    return w.Finish();
  }
  int prefix = pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    auto it = dict.find({prefix, pixels[i]});
    if (it != dict.end()) {
      prefix = it->second;
      continue;
    }
    w.Put(prefix, width);
    ++sinceClear;
    dict[{prefix, pixels[i]}] = next++;
    // The decoder, one code behind, widens when its table reaches the limit.
    if (next - 1 == (1 << width) && width < 12)
      ++width;
    prefix = pixels[i];
    if (next >= 4095 || (clearEvery && sinceClear >= clearEvery))
      reset();
  }
  w.Put(prefix, width);
  w.Put(clear + 1, width);
  return w.Finish();
}

std::string Encode(const Gif& gif)
{
  std::string out = gif.gif89 ? "GIF89a" : "GIF87a";
  Put16(out, gif.width);
  Put16(out, gif.height);
  int packed = gif.globalTable.empty() ? 0 : 0x80 | (TableBits(gif.globalTable.size()) - 1);
  out += char(packed);
  out += char(0);
  out += char(0);
  if (!gif.globalTable.empty())
    PutTable(out, gif.globalTable);
  if (gif.loopCount >= 0) {
    out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
    Put16(out, gif.loopCount);
    out += char(0);
  }
  for (const Frame& f : gif.frames)
    PutFrame(out, gif, f);
  if (gif.trailer)
    out += char(0x3B);
  return out;
}

Frame Solid(int left, int top, int width, int height, uint8_t index)
{
  Frame f;
  f.left = left;
  f.top = top;
  f.width = width;
  f.height = height;
  f.pixels.assign(size_t(width) * size_t(height), index);
  return f;
}

} // namespace gifenc
