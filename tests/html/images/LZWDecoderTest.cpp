// The LZW decompressor on hand-made code streams, including malformed ones.
#include "html/images/LZWDecoder.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Packs codes least-significant bit first, each with its width.
std::vector<uint8_t> Pack(const std::vector<std::pair<int, int>>& codes)
{
  std::vector<uint8_t> out;
  uint32_t acc = 0;
  int n = 0;
  for (auto [code, width] : codes) {
    acc |= uint32_t(code) << n;
    n += width;
    while (n >= 8) {
      out.push_back(uint8_t(acc));
      acc >>= 8;
      n -= 8;
    }
  }
  if (n)
    out.push_back(uint8_t(acc));
  out.resize(out.size() + TLZWDecoder::Padding, 0);
  return out;
}

std::vector<uint8_t> DecodeCodes(int minCodeSize, const std::vector<std::pair<int, int>>& codes,
                                 size_t count, size_t* written = nullptr)
{
  std::vector<uint8_t> data = Pack(codes);
  std::vector<uint8_t> out(count, 0xEE);
  TLZWDecoder decoder;
  size_t n = decoder.Decode(minCodeSize, data.data(), data.size() - TLZWDecoder::Padding,
                            out.data(), count);
  if (written)
    *written = n;
  out.resize(n);
  return out;
}

} // namespace

TEST(LZWDecoder, DecodesStringsAndCodesNotYetDefined)
{
  // Clear, 1, then 6 and 7 each name the entry being defined; the width grows to 4 after 7.
  std::vector<uint8_t> px = DecodeCodes(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}, 100);
  EXPECT_EQ(px, (std::vector<uint8_t>{1, 1, 1, 1, 1, 1}));
}

TEST(LZWDecoder, ClearCodesResetWidthAndTable)
{
  // 0 1 6(=0 1) ; clear ; 2 6 (now = 2 2) ; end
  std::vector<uint8_t> px =
      DecodeCodes(2, {{4, 3}, {0, 3}, {1, 3}, {6, 3}, {4, 4}, {2, 3}, {6, 3}, {5, 3}}, 100);
  EXPECT_EQ(px, (std::vector<uint8_t>{0, 1, 0, 1, 2, 2, 2}));
}

TEST(LZWDecoder, MalformedStreamsStayInsideTheirBuffers)
{
  struct Case {
    int minCodeSize;
    std::vector<std::pair<int, int>> codes;
    size_t count;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {2, {{4, 3}, {6, 3}, {1, 3}, {5, 3}}, 10, {0, 1}},    // a first code that is no root
      {2, {{4, 3}, {1, 3}, {2, 3}, {3, 3}}, 2, {1, 2}},     // more data than pixels
      {2, {{4, 3}, {1, 3}}, 10, {1}},                       // data end without end code
      {2, {{4, 3}, {3, 3}, {7, 3}, {5, 3}}, 10, {3, 3, 3}}, // a code beyond the next free one
      {2, {{5, 3}, {1, 3}}, 10, {}},                        // end code first
      {0, {{1, 1}}, 10, {}},                                // code sizes out of range
      {12, {{1, 13}}, 10, {}},
      {2, {{4, 3}, {3, 3}, {6, 3}, {7, 3}, {5, 4}}, 4, {3, 3, 3, 3}}, // a string cut short
  };
  for (const Case& c : cases) {
    size_t n = 0;
    std::vector<uint8_t> px = DecodeCodes(c.minCodeSize, c.codes, c.count, &n);
    EXPECT_LE(n, c.count);
    EXPECT_EQ(px, c.expected);
  }
}
