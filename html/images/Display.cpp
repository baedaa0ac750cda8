#include "html/images/Display.h"

#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cstdlib>

namespace {

int ForcedBits = 0;

// The static colours of a palette display: ten at the start and ten at the end.
constexpr std::array<QRgb, 10> LowStatics = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),    qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),  qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(192, 220, 192), qRgb(166, 202, 240)};
constexpr std::array<QRgb, 10> HighStatics = {
    qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128), qRgb(255, 0, 0),
    qRgb(0, 255, 0),     qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 255),
    qRgb(0, 255, 255),   qRgb(255, 255, 255)};

int ScreenBits()
{
  QScreen* screen = QGuiApplication::primaryScreen();
  return DisplayClass(screen ? screen->depth() : 24);
}

// System entries first, then the colour cube and the greys over entries 10..245.
TPalette BuildSharedPalette()
{
  TPalette pal(256, qRgb(0, 0, 0));
  for (int i = 0; i < 10; ++i) {
    pal[i] = LowStatics[size_t(i)];
    pal[246 + i] = HighStatics[size_t(i)];
  }
  static constexpr int Levels[6] = {55, 115, 165, 205, 235, 255};
  int n = 10;
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r)
        if (r < 5 || g < 5 || b < 5)
          pal[n++] = qRgb(Levels[r], Levels[g], Levels[b]);
  for (int i = 1; i <= 24; ++i)
    if (i != 7 && i != 15 && i != 21) {
      int v = 130 + 5 * i;
      pal[n++] = qRgb(v, v, v);
    }
  return pal;
}

} // namespace

int DisplayClass(int bitsPerPixel)
{
  if (bitsPerPixel <= 4)
    return 4;
  return bitsPerPixel <= 8 ? 8 : 24;
}

int DisplayBits()
{
  if (ForcedBits)
    return ForcedBits;
  static const int bits = ScreenBits();
  return bits;
}

void SetDisplayBits(int bits)
{
  ForcedBits = bits > 0 ? DisplayClass(bits) : 0;
}

const TPalette& SharedPaletteEntries()
{
  static const TPalette palette = BuildSharedPalette();
  return palette;
}

const TPalette& SharedPalette()
{
  static const TPalette none;
  return DisplayBits() == 8 ? SharedPaletteEntries() : none;
}

TPalette CopySharedPalette()
{
  return TPalette(SharedPalette());
}

const TPalette& DefaultPalette()
{
  static const TPalette palette = [] {
    TPalette pal(LowStatics.begin(), LowStatics.end());
    pal.append(TPalette(HighStatics.begin(), HighStatics.end()));
    return pal;
  }();
  return palette;
}

int NearestPaletteIndex(const TPalette& palette, QRgb rgb)
{
  int best = -1;
  int bestSum = 1 << 30;
  for (int i = 0; i < palette.size(); ++i) {
    QRgb e = palette[i];
    int sum = std::abs(qRed(e) - qRed(rgb)) + std::abs(qGreen(e) - qGreen(rgb)) +
              std::abs(qBlue(e) - qBlue(rgb));
    if (sum < bestSum) {
      bestSum = sum;
      best = i;
    }
  }
  return best;
}
