#include "html/viewer/FrameSizes.h"

#include "base/MulDiv.h"

#include <algorithm>

namespace framesizes {

namespace {

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

// Reads a run of digits from i; runs longer than 20 digits count their first 20 only, and the
// value saturates instead of overflowing.
int64_t ReadNumber(std::string_view s, size_t& i)
{
  int64_t n = 0;
  int digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i)
    if (digits++ < 20)
      n = std::min<int64_t>(n * 10 + (s[i] - '0'), INT32_MAX);
  return n;
}

void SkipUntil(std::string_view s, size_t& i, std::string_view stops, bool digits)
{
  while (i < s.size() && stops.find(s[i]) == std::string_view::npos && !(digits && IsDigit(s[i])))
    ++i;
}

int32_t ReadEntry(std::string_view s, size_t& i)
{
  SkipUntil(s, i, "*,", true);
  if (i >= s.size() || !IsDigit(s[i]))
    return -1; // "*" alone or an empty entry: one share
  int64_t n = std::max<int64_t>(1, ReadNumber(s, i));
  SkipUntil(s, i, "%*,", false);
  if (i < s.size() && s[i] == '*')
    return -int32_t(std::min<int64_t>(MaxShare, n));
  if (i < s.size() && s[i] == '%')
    return -int32_t(std::min<int64_t>(MaxPercent, n) + 100);
  return int32_t(std::min<int64_t>(n, MaxPixels));
}

} // namespace

std::vector<int32_t> Parse(std::string_view value)
{
  std::vector<int32_t> dims;
  size_t i = 0;
  while (i < value.size() && int(dims.size()) < MaxDimensions) {
    dims.push_back(ReadEntry(value, i));
    SkipUntil(value, i, ",", false);
    if (i < value.size())
      ++i; // past the comma
  }
  return dims;
}

std::vector<int32_t> Sizes(const std::vector<int32_t>& dims, int32_t extent)
{
  int32_t pixels = 0, percents = 0, shares = 0;
  for (int32_t d : dims) {
    if (IsPixels(d))
      pixels += d;
    else if (IsPercent(d))
      percents += PercentOf(d);
    else
      shares += ShareOf(d);
  }
  std::vector<int32_t> sizes(dims.size(), 0);
  int32_t free = extent - pixels;
  if (free > 0) {
    int32_t space = std::min(MulDiv(extent, percents, 100), free);
    int32_t unit = shares > 0 ? (free - space) / shares : 0;
    for (size_t k = 0; k < dims.size(); ++k) {
      int32_t d = dims[k];
      if (IsPixels(d))
        sizes[k] = d;
      else if (IsPercent(d))
        sizes[k] = MulDiv(space, PercentOf(d), percents);
      else
        sizes[k] = ShareOf(d) * unit;
    }
  } else if (pixels > 0) {
    for (size_t k = 0; k < dims.size(); ++k)
      if (IsPixels(dims[k]))
        sizes[k] = MulDiv(dims[k], std::max(extent, 0), pixels);
  }
  return sizes;
}

std::vector<int32_t> Ends(const std::vector<int32_t>& sizes, int32_t extent)
{
  extent = std::max(extent, 0);
  std::vector<int32_t> ends(sizes.size());
  int64_t total = 0;
  for (int32_t s : sizes)
    total += std::max(s, 0);
  int64_t sum = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    sum += total > 0 ? std::max(sizes[k], 0) : 1;
    int64_t whole = total > 0 ? total : int64_t(sizes.size());
    ends[k] = int32_t((sum * extent + whole / 2) / whole);
  }
  return ends;
}

std::vector<int32_t> SizesFromEnds(const std::vector<int32_t>& ends, int32_t extent, int32_t total)
{
  std::vector<int32_t> sizes(ends.size());
  if (extent <= 0)
    return sizes;
  int32_t last = 0;
  for (size_t k = 0; k < ends.size(); ++k) {
    int32_t end = MulDiv(ends[k], total, extent);
    sizes[k] = end - last;
    last = end;
  }
  return sizes;
}

} // namespace framesizes
