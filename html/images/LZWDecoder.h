#pragma once
// The variable-width LZW decompressor of GIF image data.
#include <cstddef>
#include <cstdint>

class TLZWDecoder {
public:
  // Size of the code tables: codes are at most 12 bits wide.
  static constexpr int MaxCodes = 4096;
  // Extra zero bytes the caller keeps after the data, so the bit reader can load whole words.
  static constexpr size_t Padding = 16;

  // Decodes the joined data sub-blocks (the code-size byte not included) into out[0..count).
  // Returns the number of pixels written; stops at the end code, at the end of the data or when
  // the buffer is full. A minimum code size outside 1..11 decodes nothing.
  size_t Decode(int minCodeSize, const uint8_t* data, size_t size, uint8_t* out, size_t count);

private:
  uint16_t FPrefix[MaxCodes];
  uint8_t FSuffix[MaxCodes];
  uint8_t FFirst[MaxCodes];
  uint16_t FLength[MaxCodes];
};
