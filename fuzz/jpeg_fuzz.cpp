// Arbitrary bytes through the JPEG decoder, for true-colour and palette displays.
#include "html/images/Display.h"
#include "html/images/JPEGReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  TJPEGReader::MaxPixels = int64_t(1) << 18; // keeps each run quick; the caps are what is tested
  const bool palette = size > 0 && (data[size - 1] & 1);
  QImage image = TJPEGReader::Decode(std::span(data, size), palette ? 8 : 24,
                                     palette ? SharedPaletteEntries() : TPalette());
  if (!image.isNull() && image.width() > 0)
    (void)image.pixel(image.width() - 1, image.height() - 1);
  return 0;
}
