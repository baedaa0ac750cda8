// Decoding and animating GIFs written by the test encoder.
#include "html/images/GIFImage.h"
#include "GifEncoder.h"
#include "html/images/Display.h"

#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>
#include <map>

using gifenc::Frame;
using gifenc::Gif;

namespace {

std::span<const uint8_t> Bytes(const std::string& s)
{
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::unique_ptr<TGIFImage> Decode(const std::string& data)
{
  bool nonAnimated = false;
  return TGIFImage::CreateGifFromStream(nonAnimated, Bytes(data));
}

// Deterministic pixel noise limited to n colours, with runs so that LZW strings grow long.
std::vector<uint8_t> Noise(int count, int colours, uint32_t seed)
{
  std::vector<uint8_t> px(static_cast<size_t>(count));
  uint32_t s = seed;
  for (int i = 0; i < count; ++i) {
    s = s * 1103515245u + 12345u;
    px[size_t(i)] = uint8_t(((s >> 16) % 7 < 3 && i > 0) ? px[size_t(i - 1)] : (s >> 8) % colours);
  }
  return px;
}

std::vector<QRgb> Palette(int n)
{
  std::vector<QRgb> t;
  for (int i = 0; i < n; ++i)
    t.push_back(qRgb((i * 37) & 255, (i * 91 + 13) & 255, (255 - i * 53) & 255));
  return t;
}

QRgb FramePixel(const TGIFImage& gif, int frame, int x, int y)
{
  return gif.Frames(frame)->FrameBitmap.pixel(x, y);
}

// Expected colour of a frame pixel, as decoded from the indices the encoder was given.
void ExpectPixels(const TGIFImage& gif, int frameNo, const Frame& f, const std::vector<QRgb>& tab)
{
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      uint8_t index = f.pixels[size_t(y * f.width + x)];
      QRgb want = int(index) == f.transIndex ? qRgba(0, 0, 0, 0) : (tab[index] | 0xFF000000u);
      ASSERT_EQ(FramePixel(gif, frameNo, x, y), want) << "at " << x << "," << y;
    }
}

Gif TwoColourScreen(int w, int h)
{
  Gif g;
  g.width = w;
  g.height = h;
  g.globalTable = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 255, 255)};
  return g;
}

} // namespace

TEST(GIFImage, DecodesPixelsOfEveryTableSizeWithClearCodesAndGrowingCodes)
{
  struct Case {
    int bits, width, height, clearEvery;
    bool interlaced, gif89;
  };
  const Case cases[] = {
      {1, 9, 7, 0, false, true},    {2, 33, 17, 0, false, false},  {3, 64, 64, 0, true, true},
      {4, 100, 61, 0, false, true}, {5, 127, 93, 0, false, true},  {6, 150, 150, 0, true, true},
      {7, 211, 97, 0, false, true}, {8, 256, 256, 0, false, true}, {8, 200, 190, 50, false, true},
      {4, 120, 80, 7, true, false}, {8, 1, 1, 0, false, true},     {8, 300, 1, 0, true, true},
      {2, 1, 300, 0, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("bits " + std::to_string(c.bits) + " size " + std::to_string(c.width) + "x" +
                 std::to_string(c.height) + " clear " + std::to_string(c.clearEvery));
    Gif g;
    g.width = c.width;
    g.height = c.height;
    g.gif89 = c.gif89;
    g.globalTable = Palette(1 << c.bits);
    Frame f = gifenc::Solid(0, 0, c.width, c.height, 0);
    f.pixels = Noise(c.width * c.height, 1 << c.bits, uint32_t(c.bits * 977 + c.width));
    f.interlaced = c.interlaced;
    f.clearEvery = c.clearEvery;
    g.frames = {f};
    auto gif = Decode(gifenc::Encode(g));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount(), 1);
    EXPECT_FALSE(gif->IsAnimated);
    EXPECT_EQ(gif->GlobalBits, c.bits);
    EXPECT_EQ(gif->Frames(1)->Interlaced, c.interlaced);
    ExpectPixels(*gif, 1, f, g.globalTable);
  }
}

TEST(GIFImage, EncoderOutputIsReadTheSameByAnIndependentReader)
{
  Gif g;
  g.width = 90;
  g.height = 70;
  g.globalTable = Palette(256);
  Frame f = gifenc::Solid(0, 0, 90, 70, 0);
  f.pixels = Noise(90 * 70, 256, 5);
  f.interlaced = true;
  g.frames = {f};
  std::string data = gifenc::Encode(g);
  QByteArray bytes(data.data(), qsizetype(data.size()));
  QBuffer buf(&bytes);
  QImageReader reader(&buf, "gif");
  QImage theirs = reader.read();
  ASSERT_FALSE(theirs.isNull());
  auto gif = Decode(data);
  ASSERT_TRUE(gif);
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 90; ++x)
      ASSERT_EQ(theirs.pixel(x, y) & 0xFFFFFF, FramePixel(*gif, 1, x, y) & 0xFFFFFF);
}

TEST(GIFImage, LocalTableOverridesGlobalAndRaisesGlobalBits)
{
  Gif g = TwoColourScreen(4, 2);
  Frame a = gifenc::Solid(0, 0, 4, 2, 1);
  Frame b = gifenc::Solid(0, 0, 4, 2, 1);
  b.localTable = Palette(32);
  g.frames = {a, b};
  auto gif = Decode(gifenc::Encode(g));
  ASSERT_TRUE(gif);
  EXPECT_EQ(FramePixel(*gif, 1, 0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(FramePixel(*gif, 2, 3, 1), b.localTable[1] | 0xFF000000u);
  EXPECT_EQ(gif->Frames(2)->LocalBits, 5);
  EXPECT_EQ(gif->Frames(1)->LocalBits, 0);
  EXPECT_EQ(gif->GlobalBits, 5);
}

TEST(GIFImage, TransparentColourGivesMaskBlackPixelsAndStillColour)
{
  Gif g = TwoColourScreen(3, 2);
  Frame f = gifenc::Solid(0, 0, 3, 2, 0);
  f.pixels = {0, 2, 0, 2, 2, 0};
  f.transIndex = 2;
  g.frames = {f};
  auto gif = Decode(gifenc::Encode(g));
  ASSERT_TRUE(gif);
  const TGIFFrame* fr = gif->Frames(1);
  EXPECT_TRUE(fr->IsTransparent);
  EXPECT_TRUE(gif->HasTransparency);
  EXPECT_EQ(fr->TransIndex, 2);
  EXPECT_EQ(qRgb(fr->TransRed, fr->TransGreen, fr->TransBlue), qRgb(0, 255, 0));
  QImage bmp = gif->FirstFrameBitmap();
  QImage mask = gif->FirstFrameMask();
  QImage still = gif->StillBitmap();
  ASSERT_EQ(mask.size(), QSize(3, 2));
  for (int i = 0; i < 6; ++i) {
    int x = i % 3, y = i / 3;
    bool transparent = f.pixels[size_t(i)] == 2;
    EXPECT_EQ(mask.pixelIndex(x, y), transparent ? 1 : 0);
    EXPECT_EQ(bmp.pixel(x, y), transparent ? qRgb(0, 0, 0) : qRgb(255, 0, 0));
    EXPECT_EQ(still.pixel(x, y), transparent ? qRgb(0, 255, 0) : qRgb(255, 0, 0));
    EXPECT_EQ(gif->CompositeImage().pixel(x, y), transparent ? 0u : qRgb(255, 0, 0));
  }
}

TEST(GIFImage, DisposalMethodsClearRestoreOrKeepTheFrameArea)
{
  struct Case {
    int code;
    bool transparency;
    QRgb expected; // the composite at the second frame's area once frame 3 is shown
  };
  // Restoring to the background uncovers the page, in opaque GIFs too.
  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), clear = 0u;
  const Case cases[] = {{0, false, blue},  {1, false, blue},  {2, false, clear}, {3, false, red},
                        {4, false, clear}, {5, false, clear}, {6, false, clear}, {7, false, clear},
                        {2, true, clear},  {3, true, red},    {1, true, blue}};
  for (const Case& c : cases) {
    SCOPED_TRACE("disposal " + std::to_string(c.code) + (c.transparency ? " transparent" : ""));
    Gif g = TwoColourScreen(6, 6);
    Frame base = gifenc::Solid(0, 0, 6, 6, 0);
    Frame over = gifenc::Solid(1, 1, 2, 2, 1);
    over.control = true;
    over.disposal = c.code;
    Frame last = gifenc::Solid(5, 5, 1, 1, 2);
    if (c.transparency)
      last.transIndex = 3;
    g.frames = {base, over, last};
    auto gif = Decode(gifenc::Encode(g));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Frames(2)->Disposal, c.code == 0 || c.code == 1 || c.code == 3 ? c.code : 2);
    gif->SetFrameIndex(2);
    EXPECT_EQ(gif->CompositeImage().pixel(1, 1), blue);
    gif->SetFrameIndex(3);
    EXPECT_EQ(gif->CompositeImage().pixel(2, 2), c.expected);
    EXPECT_EQ(gif->CompositeImage().pixel(0, 0), red);
    EXPECT_EQ(gif->CompositeImage().pixel(5, 5), qRgb(0, 255, 0));
  }
}

TEST(GIFImage, TruncatedDataKeepsTheFramesCompletedSoFar)
{
  Gif g = TwoColourScreen(20, 20);
  for (int i = 0; i < 3; ++i) {
    Frame f = gifenc::Solid(0, 0, 20, 20, 0);
    f.pixels = Noise(400, 4, uint32_t(i + 1));
    g.frames.push_back(f);
  }
  const std::string full = gifenc::Encode(g);
  // Offsets where each frame's data end: find them by encoding fewer frames.
  std::vector<size_t> ends;
  for (int n = 1; n <= 3; ++n) {
    Gif part = g;
    part.frames.resize(size_t(n));
    part.trailer = false;
    ends.push_back(gifenc::Encode(part).size());
  }
  struct Case {
    size_t length;
    int frames; // 0: no image
  };
  const Case cases[] = {{0, 0},           {3, 0},           {13, 0},          {ends[0] - 5, 0},
                        {ends[0] - 1, 0}, {ends[0], 1},     {ends[0] + 7, 1}, {ends[1] - 1, 1},
                        {ends[1], 2},     {ends[2] - 2, 2}, {ends[2], 3},     {full.size(), 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE("length " + std::to_string(c.length));
    auto gif = Decode(full.substr(0, c.length));
    if (c.frames == 0) {
      EXPECT_FALSE(gif);
      continue;
    }
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount(), c.frames);
    ExpectPixels(*gif, c.frames, g.frames[size_t(c.frames - 1)], g.globalTable);
  }
}

TEST(GIFImage, ReadsLoopCountDelaysAndComments)
{
  struct Case {
    int loop;
    int expectedLimit;
  };
  for (Case c : {Case{-1, 1}, Case{0, 0}, Case{3, 3}, Case{65535, 65535}}) {
    Gif g = TwoColourScreen(2, 2);
    g.loopCount = c.loop;
    Frame a = gifenc::Solid(0, 0, 2, 2, 0);
    a.control = true;
    a.delay = 7;
    Frame b = gifenc::Solid(0, 0, 2, 2, 1);
    b.comment = "second";
    g.frames = {a, b};
    auto gif = Decode(gifenc::Encode(g));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->LoopLimit, c.expectedLimit);
    EXPECT_EQ(gif->Frames(1)->Delay, 70);
    EXPECT_EQ(gif->Frames(2)->Delay, 0); // a control block applies to the next image only
    EXPECT_EQ(gif->Frames(1)->Comment, "");
    EXPECT_EQ(gif->Frames(2)->Comment, "second");
  }
}

TEST(GIFImage, FramesBeyondTheScreenEnlargeItAndOnly256FramesAreKept)
{
  Gif g = TwoColourScreen(4, 4);
  g.frames = {gifenc::Solid(0, 0, 4, 4, 0), gifenc::Solid(3, 2, 5, 6, 1)};
  auto gif = Decode(gifenc::Encode(g));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->Width(), 8);
  EXPECT_EQ(gif->Height(), 8);

  Gif many = TwoColourScreen(2, 2);
  for (int i = 0; i < 300; ++i)
    many.frames.push_back(gifenc::Solid(0, 0, 2, 2, uint8_t(i & 1)));
  auto big = Decode(gifenc::Encode(many));
  ASSERT_TRUE(big);
  EXPECT_EQ(big->FrameCount(), 256);
}

TEST(GIFImage, RejectsWhatIsNotAGifOrEndsBeforeItsFirstImage)
{
  Gif g = TwoColourScreen(2, 2);
  g.frames = {gifenc::Solid(0, 0, 2, 2, 0)};
  std::string one = gifenc::Encode(g);
  EXPECT_FALSE(Decode("JFIF this is not a gif"));
  EXPECT_FALSE(Decode(""));
  EXPECT_FALSE(Decode(one.substr(0, 13 + 12))); // screen and table, cut before any block
  EXPECT_FALSE(Decode(one.substr(0, 13 + 12) + "\x21\xFE\x05"
                                               "ab")); // cut inside a comment
  EXPECT_FALSE(Decode(one.substr(0, 13 + 12) + "\x21\x42\x03"
                                               "abc")); // inside an unknown one
}

// Blocks around the images that earlier versions of the reader mishandled. Expected pixels of
// frame 1 on the screen: R red, B blue, G green, . transparent (black under a white mask).
TEST(GIFImage, CornerCasesShowFrameOneOnItsScreenWithThePageWhereNothingIsDrawn)
{
  struct Case {
    const char* name;
    int screen; // the screen is screen x screen
    std::vector<Frame> frames;
    int frameCount;     // frames kept
    const char* pixels; // frame 1 on the screen, row by row
    int delay1;         // frame 1's delay in ms
  };
  auto at = [](int left, int top, int size, uint8_t index, const std::string& before = "") {
    Frame f = gifenc::Solid(left, top, size, size, index);
    f.before = before;
    return f;
  };
  const std::string unknownExt = std::string("\x21\x42\x03"
                                             "xyz\x02"
                                             "ab\x00",
                                             10);
  const std::string plainText = std::string("\x21\x01\x0C", 3) + std::string(12, 'p') + '\0';
  const std::string emptyControl = std::string("\x21\xF9\x00", 3);
  const std::string shortControl = std::string("\x21\xF9\x02\x00\x05\x00", 6);
  const Case cases[] = {
      {"small block at (1,1) on a larger screen", 2, {at(1, 1, 1, 1)}, 1, "..\n.B", 0},
      {"block at the origin of a larger screen", 3, {at(0, 0, 2, 0)}, 1, "RR.\nRR.\n...", 0},
      {"unknown extension before the image", 2, {at(0, 0, 2, 1, unknownExt)}, 1, "BB\nBB", 0},
      {"unknown extension between images",
       2,
       {at(0, 0, 2, 0), at(0, 0, 2, 1, unknownExt)},
       2,
       "RR\nRR",
       0},
      {"plain text before the image", 2, {at(0, 0, 2, 2, plainText)}, 1, "GG\nGG", 0},
      {"control block without data", 2, {at(0, 0, 2, 2, emptyControl)}, 1, "GG\nGG", 0},
      {"control block cut to two bytes", 2, {at(0, 0, 2, 2, shortControl)}, 1, "GG\nGG", 50},
      {"images without pixels are skipped",
       2,
       {at(0, 0, 0, 1), at(1, 0, 1, 2), gifenc::Solid(0, 0, 2, 0, 1), at(0, 0, 2, 0)},
       2,
       ".G\n..",
       0},
      {"no image at all", 3, {}, 0, "...\n...\n...", 0},
      {"only images without pixels", 2, {at(0, 0, 0, 1)}, 0, "..\n..", 0},
  };
  const std::map<char, QRgb> colour = {
      {'R', qRgb(255, 0, 0)}, {'B', qRgb(0, 0, 255)}, {'G', qRgb(0, 255, 0)}, {'.', qRgb(0, 0, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Gif g = TwoColourScreen(c.screen, c.screen);
    g.frames = c.frames;
    auto gif = Decode(gifenc::Encode(g));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount(), c.frameCount);
    EXPECT_EQ(gif->Width(), c.screen);
    if (c.frameCount > 0) {
      EXPECT_EQ(gif->Frames(1)->Delay, c.delay1);
    }
    const QImage bitmap = gif->FirstFrameBitmap();
    const QImage mask = gif->FirstFrameMask();
    ASSERT_EQ(bitmap.size(), QSize(c.screen, c.screen));
    const bool anyClear = std::string(c.pixels).find('.') != std::string::npos;
    ASSERT_EQ(mask.isNull(), !anyClear);
    const QImage still = gif->StillBitmap();
    for (int y = 0; y < c.screen; ++y)
      for (int x = 0; x < c.screen; ++x) {
        const char want = c.pixels[y * (c.screen + 1) + x];
        EXPECT_EQ(bitmap.pixel(x, y), colour.at(want)) << x << "," << y;
        EXPECT_EQ(still.pixel(x, y), colour.at(want)) << x << "," << y;
        if (anyClear) {
          EXPECT_EQ(mask.pixelIndex(x, y), want == '.' ? 1 : 0) << x << "," << y;
        }
        // Animated or not, the composite shows the page where frame 1 draws nothing.
        if (c.frameCount > 0) {
          EXPECT_EQ(gif->CompositeImage().pixel(x, y), want == '.' ? 0u : colour.at(want));
        }
      }
  }
}

TEST(GIFImage, StillBitmapShowsTheTransparentColourWhereFrameOneIsClear)
{
  Gif g = TwoColourScreen(3, 1);
  Frame f = gifenc::Solid(1, 0, 2, 1, 0);
  f.pixels = {3, 0};
  f.transIndex = 3; // white
  g.frames = {f};
  auto gif = Decode(gifenc::Encode(g));
  ASSERT_TRUE(gif);
  const QImage still = gif->StillBitmap();
  ASSERT_EQ(still.size(), QSize(3, 1));
  EXPECT_EQ(still.pixel(0, 0), qRgb(255, 255, 255)); // uncovered
  EXPECT_EQ(still.pixel(1, 0), qRgb(255, 255, 255)); // transparent
  EXPECT_EQ(still.pixel(2, 0), qRgb(255, 0, 0));
}

TEST(GIFImage, HugeDeclaredSizesAreRefusedWithoutAllocating)
{
  Gif g = TwoColourScreen(2, 2);
  Frame ok = gifenc::Solid(0, 0, 2, 2, 0);
  Frame huge = gifenc::Solid(0, 0, 1, 1, 0);
  g.frames = {ok, huge};
  std::string data = gifenc::Encode(g);
  // Patch the second descriptor to declare 65535 x 65535 at the far corner.
  size_t second = data.rfind('\x2C');
  for (size_t i = 1; i <= 8; ++i)
    data[second + i] = '\xFF';
  auto gif = Decode(data);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->FrameCount(), 1);
  EXPECT_EQ(gif->Width(), 2);
}

class GIFAnimation : public ::testing::Test {
protected:
  std::unique_ptr<TGIFImage> Make(int frames, int delay, int loop)
  {
    Gif g = TwoColourScreen(2, 2);
    g.loopCount = loop;
    for (int i = 0; i < frames; ++i) {
      Frame f = gifenc::Solid(0, 0, 2, 2, uint8_t(i % 4));
      f.control = true;
      f.delay = delay;
      g.frames.push_back(f);
    }
    auto gif = Decode(gifenc::Encode(g));
    gif->Clock = [this] { return now; };
    return gif;
  }
  // Ticks every 50 ms, as the section list's timer does; returns the frames seen.
  std::vector<int> Run(TGIFImage& gif, int ticks)
  {
    std::vector<int> seen;
    for (int i = 0; i < ticks; ++i) {
      now += 50;
      gif.AnimationStep();
      seen.push_back(gif.FrameIndex());
    }
    return seen;
  }
  uint32_t now = 1000;
};

TEST_F(GIFAnimation, WithoutLoopExtensionPlaysOnceAndRestsOnLastFrame)
{
  auto gif = Make(3, 10, -1); // 100 ms a frame
  gif->SetAnimating(true);
  std::vector<int> seen = Run(*gif, 12);
  // The first step after reading only re-arms the delay.
  EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 2, 2, 3, 3, 3, 3, 3, 3, 3}));
  EXPECT_FALSE(gif->Animating());
  EXPECT_EQ(gif->CompositeImage().pixel(0, 0), qRgb(0, 255, 0));
}

TEST_F(GIFAnimation, LoopCountsAndEndlessLooping)
{
  auto twice = Make(2, 5, 2); // 50 ms frames
  twice->SetAnimating(true);
  EXPECT_EQ(Run(*twice, 7), (std::vector<int>{1, 2, 1, 2, 2, 2, 2}));
  EXPECT_FALSE(twice->Animating());

  auto endless = Make(2, 5, 0);
  endless->SetAnimating(true);
  std::vector<int> seen = Run(*endless, 41);
  EXPECT_TRUE(endless->Animating());
  EXPECT_EQ(seen.back(), 1);
}

TEST_F(GIFAnimation, ZeroDelayAdvancesOncePerTickAndSpeedScalesDelays)
{
  auto fast = Make(4, 0, 0);
  fast->SetAnimating(true);
  EXPECT_EQ(Run(*fast, 5), (std::vector<int>{1, 2, 3, 4, 1}));

  struct Case {
    int speed;
    int ticksPerFrame;
  };
  for (Case c : {Case{100, 4}, Case{200, 2}, Case{50, 8}}) {
    auto gif = Make(3, 20, 0); // 200 ms frames
    gif->SpeedPercent = c.speed;
    gif->SetAnimating(true);
    std::vector<int> seen = Run(*gif, 40);
    std::vector<size_t> changes;
    for (size_t i = 1; i < seen.size(); ++i)
      if (seen[i] != seen[i - 1])
        changes.push_back(i);
    ASSERT_GE(changes.size(), 3u) << c.speed;
    EXPECT_EQ(changes[1] - changes[0], size_t(c.ticksPerFrame)) << c.speed;
    EXPECT_EQ(changes[2] - changes[1], size_t(c.ticksPerFrame)) << c.speed;
  }
}

TEST_F(GIFAnimation, CopiesAnimateIndependently)
{
  auto gif = Make(3, 5, 0);
  TGIFImage a(*gif), b(*gif);
  EXPECT_TRUE(a.IsCopy);
  a.Clock = b.Clock = [this] { return now; };
  a.SetAnimating(true);
  Run(a, 3);
  EXPECT_EQ(a.FrameIndex(), 3);
  EXPECT_EQ(b.FrameIndex(), 1);
  EXPECT_EQ(a.CompositeImage().pixel(0, 0), qRgb(0, 255, 0));
  EXPECT_EQ(b.CompositeImage().pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(gif->CompositeImage().pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(GIFAnimation, SetFrameIndexWrapsOutOfRangeValues)
{
  auto gif = Make(3, 5, 0);
  gif->SetFrameIndex(7);
  EXPECT_EQ(gif->FrameIndex(), 1);
  gif->SetFrameIndex(0);
  EXPECT_EQ(gif->FrameIndex(), 3);
  EXPECT_EQ(gif->CompositeImage().pixel(1, 1), qRgb(0, 255, 0));
  gif->SetFrameIndex(2);
  EXPECT_EQ(gif->CompositeImage().pixel(1, 1), qRgb(0, 0, 255));
}

TEST(GIFImage, PaletteDisplayDithersStillsAndMapsAnimationsToSharedColours)
{
  SetDisplayBits(8);
  Gif g = TwoColourScreen(8, 8);
  g.globalTable = Palette(64);
  Frame f = gifenc::Solid(0, 0, 8, 8, 0);
  f.pixels = Noise(64, 64, 3);
  g.frames = {f};
  auto still = Decode(gifenc::Encode(g));
  g.frames.push_back(f);
  auto animated = Decode(gifenc::Encode(g));
  SetDisplayBits(0);
  ASSERT_TRUE(still != nullptr && animated != nullptr);
  const TPalette& shared = SharedPaletteEntries();
  EXPECT_TRUE(still->Frames(1)->DitherIt);
  EXPECT_EQ(still->Frames(1)->FrameBitmap.format(), QImage::Format_Indexed8);
  EXPECT_EQ(still->Frames(1)->FrameBitmap.colorTable(), shared);
  EXPECT_FALSE(animated->Frames(1)->DitherIt);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      QRgb original = g.globalTable[f.pixels[size_t(y * 8 + x)]];
      QRgb nearest = shared[NearestPaletteIndex(shared, original)];
      EXPECT_EQ(FramePixel(*animated, 1, x, y), nearest | 0xFF000000u);
    }
}
