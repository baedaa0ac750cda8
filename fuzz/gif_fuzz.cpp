// Arbitrary bytes through the GIF reader, then through everything a shown GIF does.
#include "fuzz/FuzzSupport.h"
#include "html/images/Display.h"
#include "html/images/GIFImage.h"
#include "html/images/GIFReader.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdlib>
#include <memory>

namespace {

void StartQt()
{
  if (!fuzzsupport::StartQt())
    return;
  TGIFReader::MaxPixels = int64_t(1) << 18; // keeps each run quick; the caps are what is tested
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  StartQt();
  // The last byte picks the display, so the palette and dither paths run too.
  SetDisplayBits(size > 0 && (data[size - 1] & 1) ? 8 : 24);
  bool nonAnimated = false;
  auto gif = TGIFImage::CreateGifFromStream(nonAnimated, std::span(data, size));
  if (gif) {
    TGIFImage copy(*gif);
    uint32_t now = 0;
    copy.Clock = [&now] { return now; };
    copy.SetAnimating(true);
    for (int i = 0; i < 2 * copy.FrameCount() + 2; ++i) {
      now += 1000;
      copy.AnimationStep();
    }
    copy.SetFrameIndex(0);
    QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    copy.SetVisible(true);
    copy.Paint(painter, 0, 0, 16, 16);
    painter.end();
    (void)gif->StillBitmap();
    (void)gif->FirstFrameBitmap();
    (void)gif->FirstFrameMask();
  }
  SetDisplayBits(0);
  return 0;
}
