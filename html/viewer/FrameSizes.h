#pragma once
// ROWS and COLS of a FRAMESET: the raw entries read from the attribute, the pixel size each
// child gets for an extent, and the placement of the children so that they fill the extent.
//
// A raw entry is a pixel count (1..5000), a share "n*" stored as -n (-1..-99), or a percentage
// "p%" stored as -(p + 100) (-101..-1000).
#include <cstdint>
#include <string_view>
#include <vector>

namespace framesizes {

constexpr int MaxDimensions = 20;
constexpr int32_t MaxPixels = 5000;
constexpr int32_t MaxShare = 99;
constexpr int32_t MaxPercent = 900;

// The entries of a ROWS or COLS value; at most MaxDimensions, the rest ignored. Numbers of any
// length are read and clamped like every other out-of-range value.
std::vector<int32_t> Parse(std::string_view value);

inline bool IsPixels(int32_t d)
{
  return d > 0;
}
inline bool IsPercent(int32_t d)
{
  return d <= -100;
}
inline int32_t PercentOf(int32_t d)
{
  return -d - 100;
}
inline int32_t ShareOf(int32_t d)
{
  return -d;
}

// Pixel sizes of the entries for extent pixels. Pixel entries keep their value when they fit
// (else they are scaled down and the others get nothing); percentages share what the pixel
// entries leave; shares divide the rest.
std::vector<int32_t> Sizes(const std::vector<int32_t>& dims, int32_t extent);

// The end of each child when sizes are stretched over extent pixels: the last end is exactly
// extent, and every child starts where the one before it ends. Without any size to go by the
// extent is shared equally.
std::vector<int32_t> Ends(const std::vector<int32_t>& sizes, int32_t extent);

// Sizes that place the borders at ends (as Ends gives them for extent) while their total stays
// total: what a dragged border leaves behind.
std::vector<int32_t> SizesFromEnds(const std::vector<int32_t>& ends, int32_t extent, int32_t total);

} // namespace framesizes
