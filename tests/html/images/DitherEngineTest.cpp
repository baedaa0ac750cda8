// The shared palette, the colour lookup and the error-diffusion dither.
#include "html/images/DitherEngine.h"
#include "html/images/Display.h"
#include "html/images/FastColorLookup.h"

#include <gtest/gtest.h>
#include <map>

namespace {

// A straightforward reference: a whole-image error array, the same weights and rounding, and
// a nearest-colour cache keyed by 5-bit cell that remembers the first colour's answer.
QImage ReferenceDither(const QImage& src, const TPalette& pal)
{
  const int w = src.width(), h = src.height();
  std::vector<int> err(size_t((w + 2) * (h + 1) * 3), 0);
  auto at = [&](int x, int y, int c) -> int& {
    return err[size_t(((y * (w + 2)) + x + 1) * 3 + c)];
  };
  std::map<int, int> cells;
  auto nearest = [&](int r, int g, int b) {
    for (int i = 0; i < pal.size(); ++i)
      if (qRed(pal[i]) == r && qGreen(pal[i]) == g && qBlue(pal[i]) == b)
        return i;
    int cell = (b >> 3) * 1024 + (g >> 3) * 32 + (r >> 3);
    for (int i = 0; i < pal.size() && !cells.count(cell); ++i)
      if (((qBlue(pal[i]) >> 3) * 1024 + (qGreen(pal[i]) >> 3) * 32 + (qRed(pal[i]) >> 3)) == cell)
        cells[cell] = i;
    if (!cells.count(cell))
      cells[cell] = NearestPaletteIndex(pal, qRgb(r, g, b));
    return cells[cell];
  };
  QImage out(w, h, QImage::Format_Indexed8);
  out.setColorTable(pal);
  for (int y = 0; y < h; ++y) {
    const bool ltr = y % 2 == 0;
    for (int k = 0; k < w; ++k) {
      const int x = ltr ? k : w - 1 - k, dir = ltr ? 1 : -1;
      const QRgb p = src.pixel(x, y);
      int v[3] = {qRed(p), qGreen(p), qBlue(p)};
      for (int c = 0; c < 3; ++c)
        v[c] = std::clamp(v[c] + (at(x, y, c) + 8) / 16, 0, 255);
      const int index = nearest(v[0], v[1], v[2]);
      const int chosen[3] = {qRed(pal[index]), qGreen(pal[index]), qBlue(pal[index])};
      for (int c = 0; c < 3; ++c) {
        const int d = v[c] - chosen[c];
        if (k + 1 < w)
          at(x + dir, y, c) += 7 * d;
        at(x - dir, y + 1, c) += 3 * d;
        at(x, y + 1, c) += 5 * d;
        at(x + dir, y + 1, c) += d;
      }
      out.setPixel(x, y, uint(index));
    }
  }
  return out;
}

QImage Gradient(int w, int h)
{
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(
          x, y,
          qRgb(x * 255 / std::max(w - 1, 1), y * 255 / std::max(h - 1, 1), (x * 7 + y * 13) & 255));
  return img;
}

} // namespace

TEST(SharedPalette, HoldsStaticColoursCubeAndGreysInOrder)
{
  const TPalette& p = SharedPaletteEntries();
  ASSERT_EQ(p.size(), 256);
  EXPECT_EQ(p[0], qRgb(0, 0, 0));
  EXPECT_EQ(p[7], qRgb(192, 192, 192));
  EXPECT_EQ(p[255], qRgb(255, 255, 255));
  EXPECT_EQ(p[249], qRgb(255, 0, 0));
  const int levels[6] = {55, 115, 165, 205, 235, 255};
  int n = 10;
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r) {
        if (r == 5 && g == 5 && b == 5)
          continue;
        ASSERT_EQ(p[n], qRgb(levels[r], levels[g], levels[b])) << n;
        ++n;
      }
  EXPECT_EQ(n, 225);
  EXPECT_EQ(p[10], qRgb(55, 55, 55));
  EXPECT_EQ(p[11], qRgb(115, 55, 55)); // red varies fastest
  EXPECT_EQ(p[224], qRgb(235, 255, 255));
  const int greys[] = {135, 140, 145, 150, 155, 160, 170, 175, 180, 185, 190,
                       195, 200, 210, 215, 220, 225, 230, 240, 245, 250};
  for (int i = 0; i < 21; ++i)
    EXPECT_EQ(p[225 + i], qRgb(greys[i], greys[i], greys[i])) << i;
}

TEST(SharedPalette, ExistsOnlyOnEightBitDisplaysAndDisplayBitsCanBeForced)
{
  struct Case {
    int forced, bits;
    bool palette;
  };
  for (Case c : {Case{8, 8, true}, Case{24, 24, false}, Case{4, 4, false}, Case{1, 4, false},
                 Case{6, 8, true}, Case{16, 24, false}}) {
    SetDisplayBits(c.forced);
    EXPECT_EQ(DisplayBits(), c.bits) << c.forced;
    EXPECT_EQ(!SharedPalette().isEmpty(), c.palette) << c.forced;
    EXPECT_EQ(CopySharedPalette(), SharedPalette());
  }
  SetDisplayBits(0);
  EXPECT_EQ(DisplayBits(), 24); // the offscreen screen
  EXPECT_EQ(DefaultPalette().size(), 20);
  EXPECT_EQ(DefaultPalette()[10], qRgb(255, 251, 240));
}

TEST(FastColorLookup, SameCellSameIndexAndExactEntriesExact)
{
  TFastColorLookup lookup(SharedPaletteEntries());
  int r, g, b;
  // Two colours of one cell: the first asked decides for both.
  const int first = lookup.Lookup(100, 100, 30, r, g, b);
  EXPECT_EQ(lookup.Lookup(103, 97, 31, r, g, b), first);
  EXPECT_EQ(lookup.Lookup(255, 255, 255, r, g, b), 255);
  EXPECT_EQ(lookup.Lookup(250, 250, 250, r, g, b), 245);
  EXPECT_EQ(lookup.Lookup(252, 251, 250, r, g, b), 245);
  EXPECT_EQ(lookup.Lookup(0, 0, 0, r, g, b), 0);
  EXPECT_EQ(qRgb(r, g, b), qRgb(0, 0, 0));
  // (20,0,0) is 10 from both entries: the earlier one wins.
  TFastColorLookup small(TPalette{qRgb(10, 0, 0), qRgb(30, 0, 0), qRgb(200, 200, 200)});
  EXPECT_EQ(small.Lookup(20, 0, 0, r, g, b), 0);
  EXPECT_EQ(small.Lookup(150, 150, 150, r, g, b), 2);
  EXPECT_EQ(qRgb(r, g, b), qRgb(200, 200, 200));
  EXPECT_EQ(small.Colors, 3);
}

TEST(Dither, MatchesAnIndependentSerpentineErrorDiffusion)
{
  struct Case {
    int w, h;
    TPaletteChoice choice;
  };
  for (Case c : {Case{37, 23, TPaletteChoice::pcShared}, Case{1, 9, TPaletteChoice::pcShared},
                 Case{40, 3, TPaletteChoice::pcDefault}, Case{2, 2, TPaletteChoice::pcDefault}}) {
    QImage src = Gradient(c.w, c.h);
    QImage ours = ReduceColors(src, c.choice);
    const TPalette& pal =
        c.choice == TPaletteChoice::pcShared ? SharedPaletteEntries() : DefaultPalette();
    QImage ref = ReferenceDither(src, pal);
    ASSERT_EQ(ours.colorTable(), pal);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        ASSERT_EQ(ours.pixelIndex(x, y), ref.pixelIndex(x, y))
            << c.w << "x" << c.h << " " << x << "," << y;
  }
}

TEST(Dither, PaletteColoursMapExactlyWithoutSpreadingError)
{
  const TPalette& pal = SharedPaletteEntries();
  for (QRgb colour : {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(55, 165, 235), qRgb(205, 115, 55),
                      qRgb(200, 200, 200)}) {
    QImage img(9, 5, QImage::Format_RGB32);
    img.fill(colour);
    QImage out = ReduceColors(img, TPaletteChoice::pcShared);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 9; ++x)
        ASSERT_EQ(pal[out.pixelIndex(x, y)], colour) << x << "," << y;
  }
}

TEST(Dither, HandComputedRowsRunInBothDirections)
{
  // Black and white only: a 50% grey of 128 alternates, and the second row runs right to left.
  TPalette bw = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  TFastColorLookup lookup(bw);
  TFloydSteinbergEngine engine(3, lookup);
  int r, g, b;
  // Row 0, left to right: 128 -> white (d = -127); next 128 + (-889 + 8)/16 = 128 - 55 = 73 ->
  // black (d = 73); next 128 + (511 + 8)/16 = 160 -> white (d = -95).
  EXPECT_EQ(engine.Dither(128, 128, 128, r, g, b), 1);
  EXPECT_EQ(engine.Dither(128, 128, 128, r, g, b), 0);
  EXPECT_EQ(engine.Dither(128, 128, 128, r, g, b), 1);
  engine.NextLine();
  EXPECT_EQ(engine.Direction, -1);
  EXPECT_EQ(engine.Column, 2);
  // Row 1 starts at column 2, whose error from above is 5*(-95) + 1*73 = -402:
  // 128 + (-402 + 8)/16 = 128 - 24 = 104 -> black.
  EXPECT_EQ(engine.Dither(128, 128, 128, r, g, b), 0);
  EXPECT_EQ(engine.Column, 1);
}

TEST(Dither, ReduceForDisplayUsesTheDisplayPalette)
{
  QImage img = Gradient(16, 16);
  SetDisplayBits(4);
  QImage four = ReduceForDisplay(img);
  EXPECT_EQ(four.colorTable(), DefaultPalette());
  SetDisplayBits(8);
  QImage eight = ReduceForDisplay(img);
  EXPECT_EQ(eight.colorTable(), SharedPalette());
  SetDisplayBits(0);
  EXPECT_TRUE(ReduceForDisplay(QImage()).isNull());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_LT(four.pixelIndex(x, y), 20);
}
