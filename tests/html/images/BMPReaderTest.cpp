// Bitmap files built byte by byte, with the pixels each should give worked out by hand.
#include "html/images/BMPReader.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void Le(std::string& s, uint32_t v, int bytes)
{
  for (int i = 0; i < bytes; ++i)
    s += char((v >> (8 * i)) & 0xFF);
}

std::string Bytes(std::initializer_list<int> values)
{
  std::string s;
  for (int v : values)
    s += char(v);
  return s;
}

// A bitmap file: the headers as given, the palette, then the raw pixel bytes.
struct Bmp {
  uint32_t infoSize = 40;
  int32_t width = 1, height = 1;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t colours = 0;        // the colours-used field
  std::vector<QRgb> palette;   // 3 bytes an entry after the 12-byte header, else 4
  std::vector<uint32_t> masks; // inside headers of 52 bytes and more, else after the header
  std::string pixels;
  int64_t offset = -1; // the pixel offset field; -1: where the pixels start

  std::string Build() const
  {
    std::string info;
    Le(info, infoSize, 4);
    if (infoSize == 12) {
      Le(info, uint32_t(width), 2);
      Le(info, uint32_t(height), 2);
      Le(info, 1, 2);
      Le(info, uint32_t(bits), 2);
    } else {
      Le(info, uint32_t(width), 4);
      Le(info, uint32_t(height), 4);
      Le(info, 1, 2);
      Le(info, uint32_t(bits), 2);
      for (uint32_t v : {compression, uint32_t(pixels.size()), 2835u, 2835u, colours, 0u})
        Le(info, v, 4);
      const bool inside = infoSize >= 52;
      for (uint32_t m : masks)
        if (inside)
          Le(info, m, 4);
      info.resize(infoSize, '\0');
      if (!inside)
        for (uint32_t m : masks)
          Le(info, m, 4);
    }
    for (QRgb c : palette) {
      info += Bytes({qBlue(c), qGreen(c), qRed(c)});
      if (infoSize != 12)
        info += '\0';
    }
    std::string file = "BM";
    Le(file, uint32_t(14 + info.size() + pixels.size()), 4);
    Le(file, 0, 4);
    Le(file, offset >= 0 ? uint32_t(offset) : uint32_t(14 + info.size()), 4);
    return file + info + pixels;
  }
};

QImage Decode(const std::string& file)
{
  return TBMPReader::Decode(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
}

// Pixels row by row from the top; each a colour, with alpha.
void ExpectPixels(const QImage& image, int width, const std::vector<QRgb>& want)
{
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.width(), width);
  ASSERT_EQ(size_t(image.width() * image.height()), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    const int x = int(i) % width, y = int(i) / width;
    EXPECT_EQ(image.pixel(x, y), want[i]) << "at " << x << "," << y;
  }
}

const QRgb A = qRgb(10, 20, 30), B = qRgb(200, 100, 50), C = qRgb(0, 128, 255), D = qRgb(7, 7, 7),
           Black = qRgb(0, 0, 0), Clear = 0;

} // namespace

TEST(BMPReader, PaletteLayoutsOfEveryDepth)
{
  struct Case {
    const char* name;
    Bmp file;
    int width;
    std::vector<QRgb> pixels; // from the top row
  };
  const Case cases[] = {
      // 9 pixels of 1 bit: 1010 0000 1 -> B A B A A A A A B; rows padded to 4 bytes.
      {"1 bit",
       {40, 9, 1, 1, 0, 0, {A, B}, {}, Bytes({0xA0, 0x80, 0, 0})},
       9,
       {B, A, B, A, A, A, A, A, B}},
      // 2 bits: 00 01 10 11 | 01 -> A B C D B.
      {"2 bits",
       {40, 5, 1, 2, 0, 0, {A, B, C, D}, {}, Bytes({0x1B, 0x40, 0, 0})},
       5,
       {A, B, C, D, B}},
      // A short palette of 3: index 5 lies beyond it and is black.
      {"4 bits, short palette",
       {40, 3, 1, 4, 0, 3, {A, B, C}, {}, Bytes({0x25, 0x10, 0, 0})},
       3,
       {C, Black, B}},
      // Bottom-up: the first row in the file is the bottom one.
      {"8 bits",
       {40, 2, 2, 8, 0, 4, {A, B, C, D}, {}, Bytes({0, 1, 0, 0, 2, 3, 0, 0})},
       2,
       {C, D, A, B}},
      {"8 bits top-down",
       {40, 2, -2, 8, 0, 4, {A, B, C, D}, {}, Bytes({0, 1, 0, 0, 2, 3, 0, 0})},
       2,
       {A, B, C, D}},
      // The first OS/2 header: 16-bit sizes, 3-byte palette entries.
      {"OS/2 core header",
       {12, 2, 2, 8, 0, 0, {A, B, C, D}, {}, Bytes({3, 2, 0, 0, 1, 0, 0, 0})},
       2,
       {B, A, D, C}},
      {"OS/2 core header, 1 bit",
       {12, 3, 1, 1, 0, 0, {C, D}, {}, Bytes({0x60, 0, 0, 0})},
       3,
       {C, D, D}},
      // The second OS/2 header cut to 16 bytes: no compression or colour count fields.
      {"OS/2 short header",
       {16, 2, 1, 4, 0, 0, {A, B, C, D}, {}, Bytes({0x31, 0, 0, 0})},
       2,
       {D, B}},
      {"OS/2 full header", {64, 2, 1, 8, 0, 2, {A, B}, {}, Bytes({1, 0, 0, 0})}, 2, {B, A}},
      // A pixel offset of 0 (a writer's slip) means the pixels follow the palette.
      {"offset left zero", {40, 1, 1, 8, 0, 2, {A, B}, {}, Bytes({1, 0, 0, 0}), 0}, 1, {B}},
      // The last row may lack its padding.
      {"unpadded last row",
       {40, 2, 2, 8, 0, 2, {A, B}, {}, Bytes({1, 1, 0, 0, 0, 1})},
       2,
       {A, B, B, B}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = Decode(c.file.Build());
    ExpectPixels(image, c.width, c.pixels);
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  }
}

TEST(BMPReader, TrueColourAndBitFieldsScaleByValue)
{
  struct Case {
    const char* name;
    Bmp file;
    int width;
    std::vector<QRgb> pixels;
    bool alpha; // the picture keeps an alpha channel
  };
  // 5 bits: 16 -> (16 * 255 + 15) / 31 = 132. 6 bits: 32 -> (32 * 255 + 31) / 63 = 130.
  // 10 bits: 512 -> (512 * 255 + 511) / 1023 = 128. 1 bit: 1 -> 255.
  const std::vector<uint32_t> f565 = {0xF800, 0x07E0, 0x001F};
  const std::vector<uint32_t> f10 = {0x3FF00000, 0xFFC00, 0x3FF};
  const std::vector<uint32_t> argb = {0xFF0000, 0xFF00, 0xFF, 0xFF000000u};
  const Case cases[] = {
      {"24 bits, rows padded",
       {40, 2, 2, 24, 0, 0, {}, {}, Bytes({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0})},
       2,
       {qRgb(9, 8, 7), qRgb(12, 11, 10), qRgb(3, 2, 1), qRgb(6, 5, 4)},
       false},
      {"16 bits, 5 bits a channel",
       {40, 3, 1, 16, 0, 0, {}, {}, Bytes({0xFF, 0x7F, 0x1F, 0x00, 0x10, 0x42, 0, 0})},
       3,
       {qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(132, 132, 132)},
       false},
      {"16 bits, 5-6-5 fields",
       {40, 4, 1, 16, 3, 0, {}, f565, Bytes({0xFF, 0xFF, 0x00, 0xF8, 0x00, 0x04, 0x01, 0x00})},
       4,
       {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 130, 0), qRgb(0, 0, 8)},
       false},
      {"16 bits, 5-6-5 in a 52-byte header",
       {52, 1, 1, 16, 3, 0, {}, f565, Bytes({0x00, 0x04, 0, 0})},
       1,
       {qRgb(0, 130, 0)},
       false},
      {"32 bits, unused byte ignored",
       {40, 2, 1, 32, 0, 0, {}, {}, Bytes({1, 2, 3, 0x7F, 4, 5, 6, 0})},
       2,
       {qRgb(3, 2, 1), qRgb(6, 5, 4)},
       false},
      {"32 bits, 10-bit fields",
       {40, 2, 1, 32, 3, 0, {}, f10, Bytes({0xFF, 0xFF, 0xFF, 0x3F, 0x00, 0x02, 0x00, 0x20})},
       2,
       {qRgb(255, 255, 255), qRgb(128, 0, 128)},
       false},
      {"32 bits, alpha field",
       {40, 2, 1, 32, 6, 0, {}, argb, Bytes({1, 2, 3, 0x80, 4, 5, 6, 0})},
       2,
       {qRgba(3, 2, 1, 0x80), qRgba(6, 5, 4, 0)},
       true},
      {"32 bits, alpha mask in a 124-byte header",
       {124, 1, 1, 32, 3, 0, {}, argb, Bytes({9, 8, 7, 0xFF})},
       1,
       {qRgba(7, 8, 9, 0xFF)},
       true},
      // Alpha zero everywhere: the writer left the byte unused, the picture is opaque.
      {"32 bits, alpha all zero",
       {108, 2, 1, 32, 3, 0, {}, argb, Bytes({1, 2, 3, 0, 4, 5, 6, 0})},
       2,
       {qRgb(3, 2, 1), qRgb(6, 5, 4)},
       false},
      {"16 bits, 1-bit alpha",
       {56, 2, 1, 16, 3, 0, {}, {0x7C00, 0x03E0, 0x001F, 0x8000}, Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
       2,
       {qRgba(255, 255, 255, 255), qRgba(255, 255, 255, 0)},
       true},
      {"32 bits, no red field",
       {40, 1, 1, 32, 3, 0, {}, {0, 0xFF00, 0xFF}, Bytes({5, 6, 7, 8})},
       1,
       {qRgb(0, 6, 5)},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = Decode(c.file.Build());
    ExpectPixels(image, c.width, c.pixels);
    EXPECT_EQ(image.hasAlphaChannel(), c.alpha);
  }
}

TEST(BMPReader, RunLengthDeltasAndEarlyEndsLeaveSkippedPixelsTransparent)
{
  struct Case {
    const char* name;
    Bmp file;
    int width;
    std::vector<QRgb> pixels;
  };
  const Case cases[] = {
      // Bottom row: two of B, then a delta of (1, 1) to x = 3 on the middle row, one C there,
      // end of line; top row: three given one by one (A C A, padded), then the end.
      {"RLE8 with a delta",
       {40,
        4,
        3,
        8,
        1,
        3,
        {A, B, C},
        {},
        Bytes({2, 1, 0, 2, 1, 1, 1, 2, 0, 0, 0, 3, 0, 2, 0, 0, 0, 1})},
       4,
       {A, C, A, Clear, Clear, Clear, Clear, C, B, B, Clear, Clear}},
      // The end of the bitmap after the first run: the rest stays clear.
      {"RLE8 ending early",
       {40, 3, 2, 8, 1, 2, {A, B}, {}, Bytes({2, 1, 0, 1})},
       3,
       {Clear, Clear, Clear, B, B, Clear}},
      // Runs longer than the row are cut at its end; a delta past the top ends the picture.
      {"RLE8 run past the row end",
       {40, 2, 2, 8, 1, 2, {A, B}, {}, Bytes({5, 1, 0, 2, 0, 9})},
       2,
       {Clear, Clear, B, B}},
      // RLE4 runs alternate their two nibbles; the absolute run 0x31 0x20 gives D B C.
      {"RLE4 runs and an absolute run",
       {40, 5, 2, 4, 2, 4, {A, B, C, D}, {}, Bytes({5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1})},
       5,
       {D, B, C, Clear, Clear, B, C, B, C, B}},
      // Top-down: the first line is the top one.
      {"RLE8 top-down",
       {40, 2, -2, 8, 1, 2, {A, B}, {}, Bytes({1, 1, 0, 0, 2, 0, 0, 1})},
       2,
       {B, Clear, A, A}},
      // The data end inside an absolute run: the pixels given are kept.
      {"RLE8 cut in an absolute run",
       {40, 4, 1, 8, 1, 2, {A, B}, {}, Bytes({0, 4, 1, 0})},
       4,
       {B, A, Clear, Clear}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage image = Decode(c.file.Build());
    ExpectPixels(image, c.width, c.pixels);
    EXPECT_TRUE(image.hasAlphaChannel());
  }
  // A run-length file that reaches every pixel is opaque.
  const QImage full = Decode(Bmp{40, 2, 1, 8, 1, 2, {A, B}, {}, Bytes({2, 1, 0, 1})}.Build());
  ExpectPixels(full, 2, {B, B});
  EXPECT_FALSE(full.hasAlphaChannel());
}

TEST(BMPReader, HostileHeadersGiveNothing)
{
  const std::string good = Bmp{40, 2, 1, 24, 0, 0, {}, {}, std::string(8, '\x40')}.Build();
  ASSERT_FALSE(Decode(good).isNull());
  auto patched = [&](size_t at, std::initializer_list<int> bytes) {
    std::string s = good;
    for (int b : bytes)
      s[at++] = char(b);
    return s;
  };
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"empty", ""},
      {"signature only", "BM"},
      {"not a bitmap", "PK" + good.substr(2)},
      {"cut in the info header", good.substr(0, 30)},
      {"info size larger than the file", patched(14, {0xFF, 0xFF, 0, 0})},
      {"info size 13", patched(14, {13, 0, 0, 0})},
      {"zero width", patched(18, {0, 0, 0, 0})},
      {"negative width", patched(18, {0xFE, 0xFF, 0xFF, 0xFF})},
      {"huge width", patched(18, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"zero height", patched(22, {0, 0, 0, 0})},
      {"most negative height", patched(22, {0, 0, 0, 0x80})},
      {"too many pixels", patched(18, {0, 0x80, 0, 0, 0, 0x80, 0, 0})},
      {"7 bits", patched(28, {7, 0})},
      {"RLE8 on 24 bits", patched(30, {1, 0, 0, 0})},
      {"unknown compression", patched(30, {9, 0, 0, 0})},
      {"embedded JPEG", patched(30, {4, 0, 0, 0})},
      {"pixel offset past the end", patched(10, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"pixel offset at the end", patched(10, {uint8_t(good.size()), 0, 0, 0})},
      {"bit fields cut off", Bmp{40, 1, 1, 32, 3, 0, {}, {}, "", -1}.Build().substr(0, 60)},
      {"OS/2 Huffman", Bmp{64, 1, 1, 1, 3, 0, {A, B}, {}, std::string(4, '\0')}.Build()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Decode(c.file).isNull());
  }
}

TEST(BMPReader, TruncatedFilesKeepWhatTheyHoldAndTheRestIsClear)
{
  struct Case {
    const char* name;
    std::string file;
    int width;
    std::vector<QRgb> pixels;
  };
  // Three rows of two 24-bit pixels (8 bytes a row), the bottom row first.
  const std::string rows = Bytes({1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0, 5, 5, 5});
  const std::string full = Bmp{40, 2, 3, 24, 0, 0, {}, {}, rows}.Build();
  // A palette that claims 256 entries where the file holds two before its pixels.
  Bmp shortPalette{40, 2, 1, 8, 0, 256, {A, B}, {}, Bytes({1, 200, 0, 0})};
  const Case cases[] = {
      {"24 bits cut in the top row",
       full,
       2,
       {Clear, Clear, qRgb(3, 3, 3), qRgb(4, 4, 4), qRgb(1, 1, 1), qRgb(2, 2, 2)}},
      {"24 bits cut in the bottom row",
       full.substr(0, full.size() - 14),
       2,
       {Clear, Clear, Clear, Clear, Clear, Clear}},
      {"palette larger than the file", shortPalette.Build(), 2, {B, Black}},
      {"8 bits cut after one row",
       Bmp{40, 1, 2, 8, 0, 2, {A, B}, {}, Bytes({1, 0, 0, 0})}.Build(),
       1,
       {Clear, B}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPixels(Decode(c.file), c.width, c.pixels);
  }
}
