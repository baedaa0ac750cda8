#pragma once
// A small GIF writer for the tests: real LZW with growing code widths, optional extra clear
// codes, interlacing, local tables, control and comment extensions, loop counts.
#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

namespace gifenc {

struct Frame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> pixels; // row by row, top to bottom
  std::vector<QRgb> localTable;
  bool interlaced = false;
  bool control = false; // write a graphic control extension
  int delay = 0;        // hundredths of a second
  int disposal = 0;     // raw code 0..7
  int transIndex = -1;
  std::string comment;
  std::string before;  // raw blocks written ahead of the frame's own extensions
  int clearEvery = 0;  // emit a clear code after this many codes (0: only when the table fills)
  int minCodeSize = 0; // 0: from the table size
};

struct Gif {
  int width = 0, height = 0;
  std::vector<QRgb> globalTable;
  int loopCount = -1; // write the looping application extension when >= 0
  bool gif89 = true;
  bool trailer = true;
  std::vector<Frame> frames;
};

std::string Encode(const Gif& gif);
// LZW codes of the pixels as joined sub-block data (no code-size byte).
std::string Compress(const std::vector<uint8_t>& pixels, int minCodeSize, int clearEvery);
// Bits needed for a table of n colours (1..8).
int TableBits(size_t n);

// A solid frame of one colour index.
Frame Solid(int left, int top, int width, int height, uint8_t index);

} // namespace gifenc
