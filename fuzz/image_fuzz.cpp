// Arbitrary bytes handed to the image cache as a host-supplied stream: detection, every
// decoder, the transparent-colour readers, masks and display conversion.
#include "fuzz/FuzzSupport.h"
#include "html/images/BitmapList.h"
#include "html/images/Display.h"
#include "html/images/GIFReader.h"
#include "html/images/ImageLoader.h"
#include "html/images/ImageRequest.h"
#include "html/images/JPEGReader.h"

#include <QGuiApplication>
#include <QImageReader>
#include <cstdlib>
#include <memory>

namespace {

void StartQt()
{
  if (!fuzzsupport::StartQt())
    return;
  // Keeps each run quick; the caps are what is tested.
  TGIFReader::MaxPixels = TJPEGReader::MaxPixels = int64_t(1) << 18;
  QImageReader::setAllocationLimit(16);
}

} // namespace

// Text in an SVG loads fonts, which fontconfig keeps until the process ends: not a leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
  return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  StartQt();
  SetDisplayBits(size > 0 && (data[size - 1] & 1) ? 8 : 24);
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  TImageRequester requester;
  requester.OnImageRequest = [&](QObject*, const std::string&, const QByteArray*& stream) {
    stream = &bytes;
  };
  TTranspKind kind = size > 1 && (data[0] & 1) ? tkCorner : tkNone;
  bool fromCache = false, pending = false;
  QImage mask;
  requester.RequestImage("fuzz", kind, fromCache, pending, mask);
  kind = tkCorner;
  requester.RequestImage(" FUZZ ", kind, fromCache, pending, mask); // from the cache now
  BitmapList().ClearCache();

  TColor colour = 0;
  GifTransparentColor(std::span(data, size), colour);
  PngTransparentColor(std::span(data, size), colour);
  SetDisplayBits(0);
  return 0;
}
