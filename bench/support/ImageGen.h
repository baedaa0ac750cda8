#pragma once
// Deterministic inputs for the image benchmarks: photo-like pictures, GIFs of every kind the
// decoder meets (large, interlaced, animated, 1- to 8-bit tables) and JPEGs.
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace imagegen {

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> indices;
  bool interlaced = false;
  int delay = 0; // hundredths of a second
  int disposal = 0;
  int transIndex = -1;
};

struct GifFile {
  int width = 0, height = 0;
  std::vector<QRgb> table; // 2, 4, ... 256 entries
  int loopCount = -1;
  std::vector<GifFrame> frames;
};

std::string EncodeGif(const GifFile& gif);

// A smooth picture with texture and noise, the same for the same arguments.
QImage Photo(int width, int height, uint32_t seed);
// The picture as indices into a table of 2^bits colours (greys for fewer than 8 bits).
GifFile PhotoGif(int width, int height, int bits, bool interlaced, uint32_t seed);
// frames frames moving over a background, with transparency and a loop count.
GifFile AnimatedGif(int width, int height, int frames);
std::string Jpeg(const QImage& image, int quality);
// A bitmap file as Qt writes it: 24 bits for true-colour pictures, 8 for Indexed8 ones.
std::string Bmp(const QImage& image);

} // namespace imagegen
