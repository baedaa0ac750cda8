#pragma once
// An animated (or still) GIF: its frames, the composite picture of the logical screen, and the
// animation that the section list's 50 ms timer drives.
//
// Use by the section list and inline images:
//   - the cache keeps one instance per source name; every inline image showing it takes its
//     own copy (copy constructor) so that two images of one GIF animate independently;
//   - after each layout: SetFrameIndex(1), SetAnimating(false), then SetAnimating(true) unless
//     printing; on every tick AnimationStep() for each image with Shown set, and the rectangle
//     it returns is drawn again;
//   - painting: Paint(painter, x, y, w, h) draws the current composite (with its transparency),
//     and the painter sets Shown and SetVisible(true).
#include "html/images/Graphic.h"

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QPainter;
class TGIFImage;

// One image of the file.
class TGIFFrame {
public:
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  int32_t LocalBits = 0; // bits of the local colour table, 0 when the global one is used
  int32_t Delay = 0;     // milliseconds
  uint8_t Disposal = 0;  // 0 none, 1 keep, 2 restore to background, 3 restore previous
  bool Interlaced = false;
  bool IsTransparent = false;
  uint8_t TransIndex = 0;
  uint8_t TransRed = 0, TransGreen = 0, TransBlue = 0;
  bool OwnsTable = false;
  std::array<uint8_t, 768> LocalTable{}; // valid when OwnsTable
  // The decoded pixels. Transparent frames are held premultiplied with their transparent
  // pixels all zero (black, no alpha); dithered frames are Indexed8 with the shared palette.
  QImage FrameBitmap;
  QImage FrameMask;  // monochrome, index 1 (white) where transparent; null when opaque
  QImage SavedImage; // for disposal 3: the composite under the frame before it was drawn
  TGIFImage* Owner = nullptr;
  std::string Comment;
  bool DitherIt = false;

  // The frame's colour table: its own, or the owner's global one (256 RGB triples).
  const uint8_t* ColorTable() const;
  QRect Rect() const { return QRect(Left, Top, Width, Height); }
};

// The millisecond clock of the animation; replaceable so tests can step time by hand.
using TMillisecondClock = std::function<uint32_t()>;
uint32_t SystemMilliseconds();

class TGIFImage : public TGraphic {
public:
  static constexpr int MaxFrames = 256;

  TGIFImage();
  // A copy for one inline image: own frames and composite, frame 1 composed, not animating.
  TGIFImage(const TGIFImage& source);
  TGIFImage& operator=(const TGIFImage&) = delete;
  ~TGIFImage() override;

  // Scan, then fully decode. Nothing (and no message) when the data are not a usable GIF.
  static std::unique_ptr<TGIFImage> CreateGifFromFile(const std::string& fileName,
                                                      bool& NonAnimated);
  static std::unique_ptr<TGIFImage> CreateGifFromStream(bool& NonAnimated,
                                                        std::span<const uint8_t> data);

  // The readers: take a copy of the data and read it, scan-only or in full. False (with every
  // frame released) when the data give no image.
  bool LoadFromStream(std::span<const uint8_t> data, bool scanOnly);
  bool LoadFromFile(const std::string& fileName, bool scanOnly);

  int Width() const override { return ScreenWidth; }
  int Height() const override { return ScreenHeight; }
  bool Empty() const override { return FEmpty; }

  int FrameCount() const { return int(FFrames.size()); }
  TGIFFrame* Frames(int index) const; // 1-based
  int FrameIndex() const { return FFrameIndex; }
  void SetFrameIndex(int index);
  bool Animating() const { return FAnimating; }
  void SetAnimating(bool on);
  bool Visible() const { return FVisible; }
  void SetVisible(bool on) { FVisible = on; }

  // Advances the animation when the current frame's delay has run out. Returns the rectangle
  // where the image was last drawn when the picture changed (to be drawn again), else empty.
  QRect AnimationStep();
  void Paint(QPainter& canvas, int X, int Y, int W, int H);

  // Frame 1 on the logical screen with its transparent colour shown where it is transparent
  // or leaves the screen uncovered (black for an opaque frame); null when there is nothing.
  QImage StillBitmap() const;
  // Frame 1 on the logical screen, transparent and uncovered pixels black, and its mask (white
  // there, null when frame 1 covers the screen opaquely); made once. A complete file without
  // frames gives a black screen under a white mask.
  QImage FirstFrameBitmap();
  QImage FirstFrameMask();
  // The logical screen as currently composed, premultiplied: transparent pixels are zero.
  // Made on first use, so that a still image that is flattened never pays for it.
  const QImage& CompositeImage();

  void Reset();
  void ReleaseAll();

  bool IsAnimated = false;
  int32_t ScreenWidth = 0, ScreenHeight = 0;
  int32_t LoopLimit = 1;
  int32_t SpeedPercent = 100;
  bool HasTransparency = false;
  int32_t GlobalBits = 0;
  std::array<uint8_t, 768> GlobalTable{};
  bool DitherFrames = false;
  int32_t DrawnY = 0, DrawnX = 0, DrawnHeight = 0, DrawnWidth = 0;
  int32_t LoopsDone = 1;
  bool SkipAdvance = true;
  bool ScanOnly = false;
  uint32_t ClockMark = 0;
  int32_t CurrentDelay = 0;
  bool Shown = false;
  bool IsCopy = false;
  TMillisecondClock Clock = SystemMilliseconds;

private:
  friend class TGIFReader;

  bool ReadGif(std::span<const uint8_t> data);
  bool EnsureComposite();
  QImage FirstOnScreen(QRgb under) const;
  QImage FirstMaskOnScreen() const;
  void Compose(int index);
  void Dispose(int index);
  void ArmDelay();

  bool FEmpty = true;
  bool FVisible = true;
  bool FAnimating = false;
  int FFrameIndex = 1;
  std::vector<std::unique_ptr<TGIFFrame>> FFrames;
  QImage FComposite;
  QImage FFirstBitmap, FFirstMask;
  bool FFirstMade = false;
};
