#pragma once
#include <cstdint>

// a * b / c with a 64-bit intermediate, rounded to nearest (halves away from zero).
// A zero divisor gives -1, as the classic platform routine does.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
  if (c == 0)
    return -1;
  int64_t p = int64_t(a) * int64_t(b);
  bool negative = (p < 0) != (c < 0);
  uint64_t up = p < 0 ? uint64_t(-p) : uint64_t(p);
  uint64_t uc = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
  uint64_t q = (up + uc / 2) / uc;
  int64_t r = negative ? -int64_t(q) : int64_t(q);
  if (r > INT32_MAX || r < INT32_MIN)
    return -1;
  return int32_t(r);
}
