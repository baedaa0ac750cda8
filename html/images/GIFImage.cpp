#include "html/images/GIFImage.h"

#include "base/MulDiv.h"
#include "html/images/BitmapList.h"
#include "html/images/Display.h"
#include "html/images/GIFReader.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

constexpr QRgb OpaqueBlack = 0xFF000000u;

// The frame as premultiplied pixels with its transparent ones zero, whatever it is held as.
QImage FramePixels(const TGIFFrame& frame)
{
  if (frame.FrameBitmap.format() != QImage::Format_Indexed8)
    return frame.FrameBitmap;
  QImage argb = frame.FrameBitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (frame.IsTransparent && !frame.FrameMask.isNull())
    for (int y = 0; y < argb.height(); ++y) {
      const uchar* m = frame.FrameMask.constScanLine(y);
      QRgb* p = reinterpret_cast<QRgb*>(argb.scanLine(y));
      for (int x = 0; x < argb.width(); ++x)
        if (m[x >> 3] & (0x80 >> (x & 7)))
          p[x] = 0;
    }
  return argb;
}

void CopyInto(QImage& dest, const QImage& src, QPoint at)
{
  QRect r = QRect(at, src.size()) & dest.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    std::memcpy(dest.scanLine(y) + r.left() * 4,
                src.constScanLine(y - at.y()) + (r.left() - at.x()) * 4, size_t(r.width()) * 4);
}

} // namespace

uint32_t SystemMilliseconds()
{
  using namespace std::chrono;
  return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

const uint8_t* TGIFFrame::ColorTable() const
{
  return OwnsTable || !Owner ? LocalTable.data() : Owner->GlobalTable.data();
}

TGIFImage::TGIFImage() = default;

TGIFImage::TGIFImage(const TGIFImage& source)
    : TGraphic(source), IsAnimated(source.IsAnimated), ScreenWidth(source.ScreenWidth),
      ScreenHeight(source.ScreenHeight), LoopLimit(source.LoopLimit),
      SpeedPercent(source.SpeedPercent), HasTransparency(source.HasTransparency),
      GlobalBits(source.GlobalBits), GlobalTable(source.GlobalTable), IsCopy(true),
      Clock(source.Clock), FEmpty(source.FEmpty), FVisible(source.FVisible)
{
  for (const auto& f : source.FFrames) {
    auto copy = std::make_unique<TGIFFrame>(*f);
    copy->Owner = this;
    FFrames.push_back(std::move(copy));
  }
}

TGIFImage::~TGIFImage() = default;

std::unique_ptr<TGIFImage> TGIFImage::CreateGifFromStream(bool& NonAnimated,
                                                          std::span<const uint8_t> data)
{
  auto gif = std::make_unique<TGIFImage>();
  gif->SetAnimating(false);
  gif->SetVisible(false);
  if (!gif->LoadFromStream(data, true))
    return nullptr;
  NonAnimated = !gif->IsAnimated;
  if (DisplayBits() == 8)
    gif->DitherFrames = NonAnimated;
  if (!gif->LoadFromStream(data, false)) {
    BitmapList().PurgeUnused();
    return nullptr;
  }
  return gif;
}

std::unique_ptr<TGIFImage> TGIFImage::CreateGifFromFile(const std::string& fileName,
                                                        bool& NonAnimated)
{
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly))
    return nullptr;
  const QByteArray data = file.readAll();
  return CreateGifFromStream(
      NonAnimated,
      std::span(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())));
}

bool TGIFImage::LoadFromStream(std::span<const uint8_t> data, bool scanOnly)
{
  ScanOnly = scanOnly;
  bool ok = false;
  try {
    ok = ReadGif(data);
  } catch (...) {
    ok = false;
  }
  if (!ok)
    ReleaseAll();
  return ok;
}

bool TGIFImage::LoadFromFile(const std::string& fileName, bool scanOnly)
{
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray data = file.readAll();
  return LoadFromStream(
      std::span(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())), scanOnly);
}

// The data are read in place: the reader keeps no pointer into them after it returns.
bool TGIFImage::ReadGif(std::span<const uint8_t> data)
{
  Reset();
  TGIFReader reader(*this, data);
  if (!reader.Read())
    return false;
  IsAnimated = FrameCount() > 1;
  FEmpty = false;
  return true;
}

// The composite starts black (or all transparent) with frame 1 composed; every change of the
// frame index passes through here first, so frame 1 is the current frame when it is made.
bool TGIFImage::EnsureComposite()
{
  if (!FComposite.isNull())
    return true;
  if (FEmpty || ScanOnly || FFrames.empty())
    return false;
  FComposite = QImage(ScreenWidth, ScreenHeight, QImage::Format_ARGB32_Premultiplied);
  if (FComposite.isNull())
    return false;
  FComposite.fill(0u); // what no frame covers shows what lies under the image
  FFrameIndex = 1;
  Compose(1);
  return true;
}

const QImage& TGIFImage::CompositeImage()
{
  EnsureComposite();
  return FComposite;
}

TGIFFrame* TGIFImage::Frames(int index) const
{
  if (index < 1 || index > FrameCount())
    return nullptr;
  return FFrames[size_t(index - 1)].get();
}

void TGIFImage::Compose(int index)
{
  TGIFFrame* f = Frames(index);
  if (!f || FComposite.isNull() || f->FrameBitmap.isNull())
    return;
  if (f->Disposal == 3)
    f->SavedImage = FComposite.copy(f->Rect());
  const QImage pixels = FramePixels(*f);
  const QRect r = f->Rect() & FComposite.rect();
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(pixels.constScanLine(y - f->Top)) - f->Left;
    QRgb* d = reinterpret_cast<QRgb*>(FComposite.scanLine(y));
    if (!f->IsTransparent) {
      std::memcpy(d + r.left(), s + r.left(), size_t(r.width()) * 4);
      continue;
    }
    for (int x = r.left(); x <= r.right(); ++x)
      if (s[x])
        d[x] = s[x];
  }
}

void TGIFImage::Dispose(int index)
{
  TGIFFrame* f = Frames(index);
  if (!f || FComposite.isNull())
    return;
  if (f->Disposal == 2) {
    // Restoring to the background uncovers what lies under the image.
    const QRect r = f->Rect() & FComposite.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::fill_n(reinterpret_cast<QRgb*>(FComposite.scanLine(y)) + r.left(), r.width(), 0u);
  } else if (f->Disposal == 3 && !f->SavedImage.isNull()) {
    CopyInto(FComposite, f->SavedImage, f->Rect().topLeft());
  }
}

void TGIFImage::SetFrameIndex(int index)
{
  if (index == FFrameIndex || !EnsureComposite())
    return;
  Dispose(FFrameIndex);
  if (index > FrameCount())
    FFrameIndex = 1;
  else if (index <= 0)
    FFrameIndex = std::max(FrameCount(), 1);
  else
    FFrameIndex = index;
  Compose(FFrameIndex);
}

void TGIFImage::ArmDelay()
{
  const TGIFFrame* f = Frames(FFrameIndex);
  CurrentDelay = std::max(MulDiv(f ? f->Delay : 0, 100, SpeedPercent), 1);
}

void TGIFImage::SetAnimating(bool on)
{
  if (on == FAnimating)
    return;
  FAnimating = on;
  LoopsDone = 1;
  if (on && FrameCount() > 1) {
    const TGIFFrame* f = Frames(FFrameIndex);
    CurrentDelay = std::max((f ? f->Delay : 0) * 100 / std::max(SpeedPercent, 1), 1);
    ClockMark = Clock();
  }
}

QRect TGIFImage::AnimationStep()
{
  if (!FAnimating || FEmpty || ScanOnly || FFrames.empty())
    return QRect();
  const uint32_t now = Clock();
  if (now - ClockMark < uint32_t(CurrentDelay))
    return QRect();
  ClockMark = now;
  if (LoopLimit > 0 && FFrameIndex == FrameCount()) {
    if (LoopsDone >= LoopLimit) {
      FAnimating = false;
      return QRect();
    }
    ++LoopsDone;
  }
  QRect changed;
  if (SkipAdvance) {
    SkipAdvance = false;
  } else if (EnsureComposite()) {
    Dispose(FFrameIndex);
    FFrameIndex = FFrameIndex % FrameCount() + 1;
    Compose(FFrameIndex);
    changed = QRect(DrawnX, DrawnY, DrawnWidth, DrawnHeight);
  }
  ArmDelay();
  return changed;
}

void TGIFImage::Paint(QPainter& canvas, int X, int Y, int W, int H)
{
  DrawnX = X;
  DrawnY = Y;
  DrawnWidth = W;
  DrawnHeight = H;
  if (!FVisible || !EnsureComposite())
    return;
  canvas.save();
  canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
  canvas.drawImage(QRect(X, Y, W, H), FComposite);
  canvas.restore();
}

// Frame 1 laid on a picture of the logical screen. What it leaves uncovered and its transparent
// pixels show under.
QImage TGIFImage::FirstOnScreen(QRgb under) const
{
  const TGIFFrame* f = Frames(1);
  if (FEmpty || ScanOnly || (f && f->FrameBitmap.isNull()))
    return QImage();
  const bool indexed = f && f->FrameBitmap.format() == QImage::Format_Indexed8;
  QImage screen(ScreenWidth, ScreenHeight,
                indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
  if (screen.isNull())
    return screen;
  uint fill = under | OpaqueBlack;
  if (indexed) {
    screen.setColorTable(f->FrameBitmap.colorTable());
    fill = uint(std::max(NearestPaletteIndex(screen.colorTable(), under), 0));
  }
  screen.fill(fill);
  if (!f)
    return screen;
  const QImage& bits = f->FrameBitmap;
  for (int y = 0; y < f->Height; ++y) {
    const uchar* m = f->FrameMask.isNull() ? nullptr : f->FrameMask.constScanLine(y);
    uchar* d = screen.scanLine(f->Top + y);
    const uchar* s = bits.constScanLine(y);
    for (int x = 0; x < f->Width; ++x) {
      if (indexed) {
        d[f->Left + x] = m && (m[x >> 3] & (0x80 >> (x & 7))) ? uchar(fill) : s[x];
        continue;
      }
      // Premultiplied frames hold their transparent pixels as zero, opaque ones as is.
      const QRgb c = reinterpret_cast<const QRgb*>(s)[x];
      reinterpret_cast<QRgb*>(d)[f->Left + x] = c ? c : fill;
    }
  }
  return screen;
}

QImage TGIFImage::StillBitmap() const
{
  const TGIFFrame* f = Frames(1);
  const bool transparent = f && f->IsTransparent;
  return FirstOnScreen(transparent ? qRgb(f->TransRed, f->TransGreen, f->TransBlue) : OpaqueBlack);
}

QImage TGIFImage::FirstFrameBitmap()
{
  if (!FFirstMade) {
    FFirstBitmap = FirstOnScreen(OpaqueBlack);
    FFirstMask = FirstMaskOnScreen();
    FFirstMade = true;
  }
  return FFirstBitmap;
}

// White wherever frame 1 leaves the screen uncovered or is transparent; null when it covers
// the whole screen with opaque pixels.
QImage TGIFImage::FirstMaskOnScreen() const
{
  const TGIFFrame* f = Frames(1);
  if (FEmpty || ScanOnly || (f && f->FrameBitmap.isNull()))
    return QImage();
  if (f && !f->IsTransparent && f->Rect() == QRect(0, 0, ScreenWidth, ScreenHeight))
    return QImage();
  QImage mask(ScreenWidth, ScreenHeight, QImage::Format_Mono);
  if (mask.isNull())
    return mask;
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(1);
  for (int y = 0; f && y < f->Height; ++y) {
    const uchar* m = f->FrameMask.isNull() ? nullptr : f->FrameMask.constScanLine(y);
    for (int x = 0; x < f->Width; ++x)
      if (!m || !(m[x >> 3] & (0x80 >> (x & 7))))
        mask.setPixel(f->Left + x, f->Top + y, 0);
  }
  return mask;
}

QImage TGIFImage::FirstFrameMask()
{
  FirstFrameBitmap();
  return FFirstMask;
}

void TGIFImage::Reset()
{
  FFrames.clear();
  FFrameIndex = 1;
  LoopLimit = 1;
  LoopsDone = 1;
  SkipAdvance = true;
  GlobalBits = 0;
  HasTransparency = false;
  FEmpty = true;
  ScreenWidth = ScreenHeight = 0;
  FComposite = QImage();
  FFirstBitmap = FFirstMask = QImage();
  FFirstMade = false;
}

void TGIFImage::ReleaseAll()
{
  Reset();
  IsAnimated = false;
}
