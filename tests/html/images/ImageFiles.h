#pragma once
// Small image files built byte by byte for the loader tests.
#include <QImage>
#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

namespace imgfiles {

// A bottom-up bitmap file of 1, 4, 8 or 24 bits; indices (or colours for 24 bits) row by row.
std::string Bitmap(int bits, int width, int height, const std::vector<QRgb>& table,
                   const std::vector<uint32_t>& pixels);
// A PNG of 8-bit palette indices (colour type 3) or RGB triples (colour type 2), with an
// optional transparency chunk body.
std::string PalettePng(int width, int height, const std::vector<QRgb>& palette,
                       const std::vector<uint8_t>& indices, const std::string& trns);
std::string RgbPng(int width, int height, const std::vector<QRgb>& pixels, const std::string& trns);
// JPEG written by Qt's writer at the best quality.
std::string Jpeg(const QImage& image);

} // namespace imgfiles
