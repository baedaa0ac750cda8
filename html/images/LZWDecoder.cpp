#include "html/images/LZWDecoder.h"

#include <cstring>

namespace {

// Least-significant-bit-first code reader over data padded with TLZWDecoder::Padding bytes.
class TBitReader {
public:
  TBitReader(const uint8_t* data, size_t size) : FPos(data), FBitsLeft(uint64_t(size) * 8) {}

  // The next code of the given width, or -1 when the data has run out.
  int Read(int width)
  {
    if (FBitsLeft < uint64_t(width))
      return -1;
    if (FCount < width) {
      uint64_t word;
      std::memcpy(&word, FPos, 8);
      FAcc |= word << FCount;
      FPos += (63 - FCount) >> 3;
      FCount |= 56;
    }
    int code = int(FAcc & ((1u << width) - 1));
    FAcc >>= width;
    FCount -= width;
    FBitsLeft -= uint64_t(width);
    return code;
  }

private:
  const uint8_t* FPos;
  uint64_t FBitsLeft;
  uint64_t FAcc = 0;
  int FCount = 0;
};

} // namespace

size_t TLZWDecoder::Decode(int minCodeSize, const uint8_t* data, size_t size, uint8_t* out,
                           size_t count)
{
  if (minCodeSize < 1 || minCodeSize > 11)
    return 0;
  const int clear = 1 << minCodeSize;
  const int endCode = clear + 1;
  for (int i = 0; i < clear; ++i) {
    FSuffix[i] = FFirst[i] = uint8_t(i);
    FLength[i] = 1;
    FPrefix[i] = 0;
  }
  TBitReader bits(data, size);
  int width = minCodeSize + 1;
  int limit = 1 << width;
  int next = clear + 2;
  int prev = -1;
  size_t pos = 0;
  while (pos < count) {
    int code = bits.Read(width);
    if (code < 0 || code == endCode)
      break;
    if (code == clear) {
      width = minCodeSize + 1;
      limit = 1 << width;
      next = clear + 2;
      prev = -1;
      continue;
    }
    if (prev < 0) {
      // The first code after a clear must be a root; anything else is taken as root 0.
      prev = code < clear ? code : 0;
      out[pos++] = FSuffix[prev];
      continue;
    }
    // An undefined code stands for the previous string plus its own first character.
    const bool defined = code < next;
    const int source = defined ? code : prev;
    const uint8_t first = FFirst[source];
    size_t len = FLength[source];
    size_t room = count - pos;
    size_t take = len < room ? len : room;
    int c = source;
    for (size_t k = len; k > take; --k)
      c = FPrefix[c];
    for (size_t k = take; k-- > 1;) {
      out[pos + k] = FSuffix[c];
      c = FPrefix[c];
    }
    out[pos] = uint8_t(c);
    pos += take;
    if (!defined && pos < count)
      out[pos++] = first;
    if (next < MaxCodes) {
      FPrefix[next] = uint16_t(prev);
      FSuffix[next] = defined ? first : FFirst[prev];
      FFirst[next] = FFirst[prev];
      FLength[next] = uint16_t(FLength[prev] + 1);
      ++next;
      if (next == limit && limit < MaxCodes) {
        limit <<= 1;
        ++width;
      }
    }
    prev = defined ? code : next - 1;
  }
  return pos;
}
