// Decode times of our GIF, JPEG and bitmap readers beside giflib and Qt's own readers, and the
// dither of a 4-megapixel picture beside a plain pass over the same pixels. Inputs are generated.
#include "html/images/BMPReader.h"
#include "html/images/Display.h"
#include "html/images/DitherEngine.h"
#include "html/images/GIFImage.h"
#include "html/images/JPEGReader.h"
#include "support/ImageGen.h"
#include "support/Timing.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <span>

#ifdef LUMORA_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

// Fastest of n runs in CPU milliseconds of this thread: the machine is shared, and wall time
// would count the time other processes hold the cores.
template <class F> double BestOf(int n, F&& f)
{
  double best = 1e300;
  for (int i = 0; i < n; ++i) {
    timespec a, b;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
    f();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
    best = std::min(best, (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6);
  }
  return best;
}

std::span<const uint8_t> Span(const std::string& s)
{
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

// Our decode as the cache runs it: scan, full decode, frame 1 composed.
size_t OursGif(const std::string& data)
{
  bool nonAnimated = false;
  auto gif = TGIFImage::CreateGifFromStream(nonAnimated, Span(data));
  return gif ? size_t(gif->FrameCount()) : 0;
}

size_t QtRead(const std::string& data, const char* format)
{
  QByteArray bytes = QByteArray::fromRawData(data.data(), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  size_t frames = 0;
  while (reader.canRead()) {
    QImage image = reader.read();
    if (image.isNull())
      break;
    ++frames;
  }
  return frames;
}

#ifdef LUMORA_HAVE_GIFLIB
struct TMemoryInput {
  const std::string* Data;
  size_t Pos;
};

int ReadMemory(GifFileType* gif, GifByteType* buf, int n)
{
  auto* in = static_cast<TMemoryInput*>(gif->UserData);
  size_t take = std::min(size_t(n), in->Data->size() - in->Pos);
  std::memcpy(buf, in->Data->data() + in->Pos, take);
  in->Pos += take;
  return int(take);
}

// giflib decodes every frame to indices; each is then expanded through its palette, as ours.
size_t GiflibGif(const std::string& data)
{
  TMemoryInput in{&data, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&in, ReadMemory, &error);
  if (!gif)
    return 0;
  size_t frames = 0;
  if (DGifSlurp(gif) == GIF_OK) {
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& img = gif->SavedImages[i];
      const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
      uint32_t table[256] = {};
      for (int c = 0; map && c < map->ColorCount && c < 256; ++c)
        table[c] = 0xFF000000u | uint32_t(map->Colors[c].Red) << 16 |
                   uint32_t(map->Colors[c].Green) << 8 | map->Colors[c].Blue;
      GraphicsControlBlock gcb;
      if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK && gcb.TransparentColor >= 0)
        table[gcb.TransparentColor] = 0;
      const size_t n = size_t(img.ImageDesc.Width) * size_t(img.ImageDesc.Height);
      std::vector<uint32_t> pixels(n);
      for (size_t p = 0; p < n; ++p)
        pixels[p] = table[img.RasterBits[p]];
      frames += pixels.empty() ? 0 : 1;
    }
  }
  DGifCloseFile(gif, &error);
  return frames;
}
#endif

struct TGifCase {
  const char* Name;
  std::string Data;
};

void CompareGifs(const std::vector<TGifCase>& cases, const char* only)
{
  std::printf("\nGIF decode (best of 5, CPU ms)\n");
  std::printf("  %-30s %9s %9s %9s %9s %10s %10s\n", "input", "KB", "ours", "giflib", "Qt",
              "Qt/ours", "giflib/ours");
  for (const TGifCase& c : cases) {
    if (only && !std::strstr(c.Name, only))
      continue;
    const double ours = BestOf(5, [&] { OursGif(c.Data); });
    const double qt = BestOf(5, [&] { QtRead(c.Data, "gif"); });
    double giflib = 0;
#ifdef LUMORA_HAVE_GIFLIB
    giflib = BestOf(5, [&] { GiflibGif(c.Data); });
#endif
    std::printf("  %-30s %9.1f %9.2f %9.2f %9.2f %9.2fx %9.2fx\n", c.Name, c.Data.size() / 1024.0,
                ours, giflib, qt, qt / ours, giflib / ours);
    std::fflush(stdout);
  }
}

void CompareJpegs()
{
  std::printf("\nJPEG decode (best of 5, CPU ms)\n");
  std::printf("  %-30s %9s %9s %9s %10s\n", "input", "KB", "ours", "Qt", "Qt/ours");
  const QImage photo = imagegen::Photo(2000, 1500, 3);
  struct Case {
    const char* Name;
    std::string Data;
  } cases[] = {
      {"photo 2000x1500 q85", imagegen::Jpeg(photo, 85)},
      {"photo 2000x1500 q95", imagegen::Jpeg(photo, 95)},
      {"grey 2000x1500 q85", imagegen::Jpeg(photo.convertToFormat(QImage::Format_Grayscale8), 85)},
      {"small 320x240 q85", imagegen::Jpeg(photo.scaled(320, 240), 85)},
  };
  for (const Case& c : cases) {
    const double ours = BestOf(5, [&] { TJPEGReader::Decode(Span(c.Data), 24, {}); });
    const double qt = BestOf(5, [&] { QtRead(c.Data, "jpeg"); });
    std::printf("  %-30s %9.1f %9.2f %9.2f %9.2fx\n", c.Name, c.Data.size() / 1024.0, ours, qt,
                qt / ours);
  }
}

void CompareBitmaps()
{
  std::printf("\nBitmap decode (best of 5, CPU ms)\n");
  std::printf("  %-30s %9s %9s %9s %10s\n", "input", "KB", "ours", "Qt", "Qt/ours");
  const QImage photo = imagegen::Photo(4000, 3000, 5);
  struct Case {
    const char* Name;
    std::string Data;
  } cases[] = {
      {"24-bit 4000x3000", imagegen::Bmp(photo)},
      {"8-bit 4000x3000", imagegen::Bmp(photo.convertToFormat(QImage::Format_Indexed8))},
      {"24-bit 640x480", imagegen::Bmp(photo.scaled(640, 480))},
  };
  for (const Case& c : cases) {
    const double ours = BestOf(5, [&] { TBMPReader::Decode(Span(c.Data)); });
    const double qt = BestOf(5, [&] { QtRead(c.Data, "bmp"); });
    // Both must give the same picture, or the times compare different work.
    const QImage a = TBMPReader::Decode(Span(c.Data)).convertToFormat(QImage::Format_RGB32);
    const QImage b =
        QImage::fromData(QByteArray::fromRawData(c.Data.data(), qsizetype(c.Data.size())), "bmp")
            .convertToFormat(QImage::Format_RGB32);
    std::printf("  %-30s %9.1f %9.2f %9.2f %9.2fx %s\n", c.Name, c.Data.size() / 1024.0, ours, qt,
                qt / ours, !a.isNull() && a == b ? "same pixels" : "PIXELS DIFFER");
  }
}

// The plain pass: every pixel read from the 32-bit rows and one byte written per pixel.
QImage PlainPass(const QImage& src)
{
  QImage out(src.size(), QImage::Format_Indexed8);
  out.setColorTable(SharedPaletteEntries());
  for (int y = 0; y < src.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* d = out.scanLine(y);
    for (int x = 0; x < src.width(); ++x)
      d[x] = uchar(s[x] >> 16);
  }
  return out;
}

QImage CopyPass(const QImage& src)
{
  QImage out(src.size(), QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < src.width(); ++x)
      d[x] = s[x];
  }
  return out;
}

void CompareDither()
{
  std::printf("\nDither of 2048x2048 (4 megapixels) to the shared palette (best of 5, CPU ms)\n");
  const QImage photo = imagegen::Photo(2048, 2048, 11);
  volatile int sink = 0;
  const double dither = BestOf(
      5, [&] { sink = sink + ReduceColors(photo, TPaletteChoice::pcShared).constBits()[0]; });
  const double plain = BestOf(5, [&] { sink = sink + PlainPass(photo).constBits()[0]; });
  const double copy = BestOf(5, [&] { sink = sink + CopyPass(photo).constBits()[0]; });
  benchutil::Report("error-diffusion dither", dither);
  benchutil::Report("plain pass, 32-bit pixels to bytes", plain);
  benchutil::Report("plain copy, 32-bit pixels to 32-bit", copy);
  benchutil::Ratio("dither / plain pass", dither, plain, "< 3x");
  benchutil::Ratio("dither / 32-bit copy", dither, copy);
}

} // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  SetDisplayBits(24);
  std::printf("Image decoding benchmark (generated inputs)\n");
#ifndef LUMORA_HAVE_GIFLIB
  std::printf("giflib not found: its column stays 0\n");
#endif
  std::vector<TGifCase> gifs = {
      {"large 2000x1500 8-bit", imagegen::EncodeGif(imagegen::PhotoGif(2000, 1500, 8, false, 1))},
      {"interlaced 1000x1000 8-bit",
       imagegen::EncodeGif(imagegen::PhotoGif(1000, 1000, 8, true, 2))},
      {"animated 50 frames 400x300", imagegen::EncodeGif(imagegen::AnimatedGif(400, 300, 50))},
  };
  static const char* const depthNames[] = {
      "800x600 1-bit table", "800x600 2-bit table", "800x600 3-bit table", "800x600 4-bit table",
      "800x600 5-bit table", "800x600 6-bit table", "800x600 7-bit table", "800x600 8-bit table"};
  for (int bits = 1; bits <= 8; ++bits)
    gifs.push_back({depthNames[bits - 1], imagegen::EncodeGif(imagegen::PhotoGif(
                                              800, 600, bits, false, uint32_t(bits)))});
  // An argument limits the GIF rows to inputs whose name contains it, and skips the rest;
  // "dither" and "bmp" run only those comparisons.
  const char* only = argc > 1 ? argv[1] : nullptr;
  if (only && std::strcmp(only, "dither") == 0) {
    CompareDither();
    return 0;
  }
  if (only && std::strcmp(only, "bmp") == 0) {
    CompareBitmaps();
    return 0;
  }
  CompareGifs(gifs, only);
  if (only)
    return 0;
  CompareJpegs();
  CompareBitmaps();
  CompareDither();
  return 0;
}
