// Arbitrary bytes through the bitmap reader, then through the mask and display conversion a
// shown bitmap goes through. Every pixel of the result is read, for the memory checkers.
#include "fuzz/FuzzSupport.h"
#include "html/images/BMPReader.h"
#include "html/images/Display.h"
#include "html/images/ImageLoader.h"

#include <cstdint>
#include <vector>

// Where the pixel sum goes, so that reading the pixels is not optimised away.
uint32_t BmpPixelSum = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (fuzzsupport::StartQt())
    TBMPReader::MaxPixels = int64_t(1) << 18; // keeps each run quick; the caps are what is tested
  // Most inputs start as bitmaps so the fuzzer need not find the signature first.
  std::vector<uint8_t> bytes(data, data + size);
  if (size >= 2 && !(data[size - 1] & 2)) {
    bytes[0] = 'B';
    bytes[1] = 'M';
  }
  const QImage image = TBMPReader::Decode(bytes);
  if (image.isNull())
    return 0;
  uint32_t sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      sum += image.pixel(x, y);
  SetDisplayBits(size > 0 && (data[size - 1] & 1) ? 8 : 24);
  (void)CreateMask(image, false, 0);
  (void)ConvertForDisplay(image);
  SetDisplayBits(0);
  BmpPixelSum += sum;
  return 0;
}
