// The image cache and the request path: keys, counts, purges, handlers and files.
#include "html/images/ImageRequest.h"
#include "GifEncoder.h"
#include "ImageFiles.h"
#include "html/images/BitmapList.h"
#include "html/images/Display.h"
#include "html/images/GIFImage.h"
#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::unique_ptr<TBitmapItem> Item()
{
  return std::make_unique<TBitmapItem>(
      std::make_unique<TBitmap>(QImage(1, 1, QImage::Format_RGB32)), tkNone, QImage());
}

class ImageRequest : public ::testing::Test {
protected:
  void SetUp() override
  {
    SetDisplayBits(24);
    BitmapList().ClearCache();
    BitmapList().MaxIdle = 4;
    dir = TempDir();
  }
  void TearDown() override
  {
    BitmapList().ClearCache();
    SetDisplayBits(0);
  }
  TGraphic* Request(const std::string& name, TTranspKind& k)
  {
    return requester.RequestImage(name, k, fromCache, pending, mask);
  }
  std::string GifFile(const std::string& name, int frames, bool transparent)
  {
    gifenc::Gif g;
    g.width = g.height = 2;
    g.globalTable = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < frames; ++i) {
      gifenc::Frame f = gifenc::Solid(0, 0, 2, 2, 0);
      f.pixels = {0, 1, 1, uint8_t(i & 1)};
      if (transparent)
        f.transIndex = 1;
      g.frames.push_back(f);
    }
    return WriteFile(dir, name, gifenc::Encode(g));
  }

  TImageRequester requester;
  bool fromCache = false, pending = false;
  QImage mask;
  QString dir;
};

} // namespace

TEST(BitmapList, KeysIgnoreCaseAndSurroundingBlanks)
{
  EXPECT_EQ(ImageKey("  a/Pic.gif\t\n"), "A/PIC.GIF");
  EXPECT_EQ(ImageKey("\x01x\x20"), "X");
  EXPECT_EQ(ImageKey(""), "");
  EXPECT_EQ(ImageKey(" b c "), "B C");
}

TEST(BitmapList, PurgesDropUnusedEntriesIdleLongerThanTheCount)
{
  struct Case {
    int count;
    int loadsSurvived; // document loads an unused entry survives
  };
  for (Case c : {Case{0, 0}, Case{5, 5}, Case{4, 4}}) {
    TStringBitmapList list;
    list.SetCacheCount(c.count);
    ASSERT_TRUE(list.AddImage("A", Item()));
    list.DecUsage("A"); // nobody holds it now
    for (int load = 1; load <= c.loadsSurvived; ++load) {
      list.PurgeCache();
      ASSERT_EQ(list.Count(), 1) << c.count << " load " << load;
    }
    list.PurgeCache();
    EXPECT_EQ(list.Count(), 0) << c.count;
  }
}

TEST(BitmapList, EntriesInUseAreNeverDroppedAndReuseResetsIdleness)
{
  TStringBitmapList list;
  list.SetCacheCount(0);
  list.AddImage("USED", Item());
  list.AddImage("IDLE", Item());
  list.DecUsage("IDLE");
  EXPECT_EQ(list.Items(list.IndexOf("USED"))->UserCount, 1);
  for (int i = 0; i < 3; ++i)
    list.PurgeCache();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Keys(0), "USED");
  EXPECT_EQ(list.Items(0)->IdleCount, 3);
  list.GetImage(0);
  EXPECT_EQ(list.Items(0)->IdleCount, 0);
  EXPECT_EQ(list.Items(0)->UserCount, 2);
  list.IncUsage("USED");
  EXPECT_EQ(list.Items(0)->UserCount, 3);
  EXPECT_FALSE(list.AddImage("USED", Item())); // the key is taken
}

TEST(BitmapList, LoweringTheCountDropsLongIdleEntriesAtOnce)
{
  TStringBitmapList list;
  list.SetCacheCount(10);
  for (const char* key : {"A", "B", "C"}) {
    list.AddImage(key, Item());
    list.DecUsage(key);
  }
  list.PurgeCache();
  list.PurgeCache();
  list.AddImage("D", Item()); // new, idle 0
  list.DecUsage("D");
  list.SetCacheCount(1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Keys(0), "D");
  EXPECT_EQ(list.MaxIdle, 1);
  list.AddImage("E", Item());
  list.PurgeUnused();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Keys(0), "E");
}

TEST_F(ImageRequest, SameNameInAnotherCaseIsDecodedOnce)
{
  const std::string name = GifFile("pic.gif", 1, false);
  int calls = 0;
  requester.OnImageRequest = [&](QObject*, const std::string& src, const QByteArray*& stream) {
    ++calls;
    static QByteArray bytes;
    QFile f(QString::fromStdString(src));
    f.open(QIODevice::ReadOnly);
    bytes = f.readAll();
    stream = &bytes;
  };
  TTranspKind k = tkNone;
  TGraphic* first = Request(name, k);
  ASSERT_TRUE(first);
  EXPECT_FALSE(fromCache);
  std::string other = " " + ImageKey(name) + " ";
  // The key ignores case, so the upper-cased path names the same entry.
  TGraphic* second = Request(other, k);
  EXPECT_EQ(second, first);
  EXPECT_TRUE(fromCache);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(BitmapList().Items(0)->UserCount, 2);
}

TEST_F(ImageRequest, SingleFrameGifIsAPlainBitmapWithMaskAnimatedOneStaysAGif)
{
  TTranspKind k = tkNone;
  TGraphic* still = Request(GifFile("still.gif", 1, true), k);
  ASSERT_TRUE(dynamic_cast<TBitmap*>(still));
  EXPECT_EQ(k, tkGifColor);
  ASSERT_FALSE(mask.isNull());
  EXPECT_EQ(mask.pixelIndex(1, 0), 1);
  EXPECT_EQ(mask.pixelIndex(0, 0), 0);
  EXPECT_EQ(static_cast<TBitmap*>(still)->Image.pixel(1, 0), qRgb(0, 0, 0));

  k = tkCorner;
  TGraphic* animated = Request(GifFile("anim.gif", 3, true), k);
  auto* gif = dynamic_cast<TGIFImage*>(animated);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->FrameCount(), 3);
  EXPECT_TRUE(mask.isNull());
  EXPECT_EQ(
      BitmapList().Items(BitmapList().IndexOf(ImageKey(GifFile("anim.gif", 3, true))))->TranspKind,
      tkNone);
}

TEST_F(ImageRequest, JpegNamedGifIsStillShownAndPngDecodes)
{
  QImage colour(8, 8, QImage::Format_RGB32);
  colour.fill(qRgb(0, 128, 0));
  TTranspKind k = tkNone;
  TGraphic* g = Request(WriteFile(dir, "photo.gif", imgfiles::Jpeg(colour)), k);
  ASSERT_TRUE(dynamic_cast<TBitmap*>(g));
  EXPECT_EQ(g->Width(), 8);
  EXPECT_NEAR(qGreen(static_cast<TBitmap*>(g)->Image.pixel(4, 4)), 128, 3);

  const std::string png =
      imgfiles::PalettePng(2, 1, {qRgb(1, 1, 1), qRgb(9, 9, 9)}, {0, 1}, std::string());
  TGraphic* p = Request(WriteFile(dir, "x.png", png), k);
  ASSERT_TRUE(p);
  EXPECT_EQ(static_cast<TBitmap*>(p)->Image.pixel(1, 0), qRgb(9, 9, 9));
}

TEST_F(ImageRequest, MissingOrBrokenImagesGiveNothingAndAreNotCached)
{
  TTranspKind k = tkNone;
  EXPECT_FALSE(Request("", k));
  EXPECT_FALSE(Request(dir.toStdString() + "/none.bmp", k));
  EXPECT_FALSE(Request(WriteFile(dir, "bad.gif", "GIF89a\x01\x00"), k));
  gifenc::Gif empty;
  empty.width = empty.height = 0;
  empty.globalTable = {qRgb(1, 1, 1), qRgb(2, 2, 2)};
  empty.frames = {gifenc::Solid(0, 0, 0, 0, 0)}; // a frame of no pixels on a screen of none
  EXPECT_FALSE(Request(WriteFile(dir, "empty.gif", gifenc::Encode(empty)), k));
  EXPECT_FALSE(pending);
  EXPECT_EQ(BitmapList().Count(), 0);
}

TEST_F(ImageRequest, BitmapHandlerColourMasksThatColourOnly)
{
  QImage supplied(2, 2, QImage::Format_RGB32);
  supplied.fill(qRgb(9, 9, 9));
  supplied.setPixel(1, 1, qRgb(200, 100, 50));
  struct Case {
    TColor colour;
    TTranspKind asked, expected;
    int maskAt11, maskAt01; // -1: no mask
  };
  const Case cases[] = {{RGBColor(200, 100, 50), tkNone, tkGifColor, 1, 0},
                        {-1, tkNone, tkNone, -1, -1},
                        {-1, tkCorner, tkCorner, 0, 1}};
  int n = 0;
  for (const Case& c : cases) {
    requester.OnBitmapRequest = [&](QObject*, const std::string&, QImage& bitmap, TColor& colour) {
      EXPECT_EQ(colour, -1);
      EXPECT_TRUE(bitmap.isNull());
      bitmap = supplied;
      colour = c.colour;
    };
    TTranspKind k = c.asked;
    ASSERT_TRUE(Request("img" + std::to_string(n++), k));
    EXPECT_EQ(k, c.expected);
    EXPECT_EQ(mask.isNull(), c.maskAt11 < 0);
    if (!mask.isNull()) {
      EXPECT_EQ(mask.pixelIndex(1, 1), c.maskAt11);
      EXPECT_EQ(mask.pixelIndex(0, 1), c.maskAt01);
    }
  }
}

TEST_F(ImageRequest, PendingStreamMakesTheRequestPendingAndCachesNothing)
{
  requester.OnImageRequest = [](QObject*, const std::string&, const QByteArray*& stream) {
    stream = PendingStream();
  };
  TTranspKind k = tkNone;
  EXPECT_FALSE(Request("later.bmp", k));
  EXPECT_TRUE(pending);
  EXPECT_EQ(BitmapList().Count(), 0);
}

TEST_F(ImageRequest, CornerMaskIsAddedToACachedEntryWhenAskedLater)
{
  std::vector<uint32_t> px = {1, 0, 1, 1};
  const std::string name =
      WriteFile(dir, "c.bmp", imgfiles::Bitmap(8, 2, 2, {qRgb(0, 0, 0), qRgb(5, 5, 5)}, px));
  TTranspKind k = tkNone;
  ASSERT_TRUE(Request(name, k));
  EXPECT_TRUE(mask.isNull());
  k = tkCorner;
  ASSERT_TRUE(Request(name, k));
  EXPECT_TRUE(fromCache);
  ASSERT_FALSE(mask.isNull());
  EXPECT_EQ(mask.pixelIndex(1, 0), 0);
  EXPECT_EQ(mask.pixelIndex(0, 0), 1);
  EXPECT_EQ(BitmapList().Items(0)->TranspKind, tkCorner);
}

TEST_F(ImageRequest, ExpandNameUsesTheHostOnlyWhenItSuppliesImages)
{
  auto own = [](const std::string& s) { return "/docs/" + s; };
  EXPECT_EQ(requester.ExpandName("a.gif", own), "/docs/a.gif");
  requester.OnImageRequest = [](QObject*, const std::string&, const QByteArray*&) {};
  EXPECT_EQ(requester.ExpandName("a.gif", own), "a.gif");
  requester.OnExpandName = [](QObject*, const std::string& s, std::string& r) { r = "x:" + s; };
  EXPECT_EQ(requester.ExpandName("a.gif", own), "x:a.gif");
}

TEST_F(ImageRequest, StillGifsAreTheirScreenMaskedWhereNoPixelIsDrawn)
{
  struct Case {
    const char* name;
    int screen;
    std::vector<gifenc::Frame> frames;
    TTranspKind asked, expected;
    const char* mask; // row by row, 1 where the page shows through
  };
  const Case cases[] = {
      {"block at (1,1)", 2, {gifenc::Solid(1, 1, 1, 1, 1)}, tkNone, tkGifColor, "11\n10"},
      {"no image block", 2, {}, tkNone, tkGifColor, "11\n11"},
      {"covering block, corner asked",
       2,
       {gifenc::Solid(0, 0, 2, 2, 1)},
       tkCorner,
       tkCorner,
       "11\n11"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gifenc::Gif g;
    g.width = g.height = c.screen;
    g.globalTable = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    g.frames = c.frames;
    TTranspKind k = c.asked;
    auto* bitmap = dynamic_cast<TBitmap*>(
        Request(WriteFile(dir, "s" + std::to_string(n++) + ".gif", gifenc::Encode(g)), k));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(k, c.expected);
    ASSERT_EQ(bitmap->Image.size(), QSize(c.screen, c.screen));
    ASSERT_EQ(mask.size(), QSize(c.screen, c.screen));
    for (int y = 0; y < c.screen; ++y)
      for (int x = 0; x < c.screen; ++x)
        EXPECT_EQ(mask.pixelIndex(x, y), c.mask[y * (c.screen + 1) + x] - '0') << x << "," << y;
  }
  // The mask is swapped for the uncovered part. Here the block at (1,1) is blue, the rest black.
  TTranspKind k = tkNone;
  auto* first = dynamic_cast<TBitmap*>(Request(dir.toStdString() + "/s0.gif", k));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Image.pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(first->Image.pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(ImageRequest, SvgIsCachedLikeOtherPicturesAndBrokenOnesAreMissing)
{
  const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='5' height='3'>"
                          "<rect width='5' height='3' fill='#00ff00'/></svg>";
  const std::string good = WriteFile(dir, "pic.svg", svg);
  TTranspKind k = tkNone;
  auto* first = dynamic_cast<TBitmap*>(Request(good, k));
  ASSERT_TRUE(first);
  EXPECT_FALSE(fromCache);
  EXPECT_EQ(first->Image.size(), QSize(5, 3));
  EXPECT_EQ(first->Image.pixel(4, 2), qRgb(0, 255, 0));
  EXPECT_EQ(Request(" " + good + " ", k), first);
  EXPECT_TRUE(fromCache);
  EXPECT_EQ(BitmapList().Count(), 1);
  // An SVG that is not well formed gives the missing-image placeholder and no entry.
  EXPECT_FALSE(Request(WriteFile(dir, "bad.svg", "<svg><rect></svg"), k));
  EXPECT_FALSE(pending);
  EXPECT_EQ(BitmapList().Count(), 1);
}
