// Images of a document fetched through the image cache: sizes, transparency, placeholders,
// backgrounds, animation and image maps.
#include "../images/GifEncoder.cpp"
#include "ModelTestSupport.h"
#include "html/images/BitmapList.h"
#include "html/images/ImageResources.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>
#include <map>

using gifenc::Frame;
using gifenc::Gif;

namespace {

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF;

// A still GIF of one colour index per pixel; transIndex marks the transparent colour.
std::string StillGif(int w, int h, const std::vector<uint8_t>& pixels, int transIndex = -1)
{
  Gif g;
  g.width = w;
  g.height = h;
  g.globalTable = {Red, Green, Blue, White};
  Frame f = gifenc::Solid(0, 0, w, h, 0);
  f.pixels = pixels;
  f.control = transIndex >= 0;
  f.transIndex = transIndex;
  g.frames.push_back(f);
  return gifenc::Encode(g);
}

// An animated GIF of solid frames, one colour index each, 10 ms apart.
std::string AnimatedGif(int w, int h, const std::vector<uint8_t>& colours)
{
  Gif g;
  g.width = w;
  g.height = h;
  g.globalTable = {Red, Green, Blue, White};
  g.loopCount = 0;
  for (uint8_t c : colours) {
    Frame f = gifenc::Solid(0, 0, w, h, c);
    f.control = true;
    f.delay = 1;
    g.frames.push_back(f);
  }
  return gifenc::Encode(g);
}

std::string BmpOf(const QImage& image)
{
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes.toStdString();
}

class ImageWiringTest : public ModelTest {
protected:
  std::map<std::string, QByteArray> Files;
  std::vector<std::string> Asked;
  uint32_t Now = 1000;

  void SetUp() override
  {
    BitmapList().ClearCache();
    Doc.Requester.OnImageRequest = [this](QObject*, const std::string& src,
                                          const QByteArray*& stream) {
      Asked.push_back(src);
      if (src == "wait.gif") {
        stream = PendingStream();
        return;
      }
      auto it = Files.find(src);
      stream = it == Files.end() ? nullptr : &it->second;
    };
    Doc.AnimationClock = [this] { return Now; };
  }
  void TearDown() override
  {
    List.Clear();
    BitmapList().ClearCache();
  }

  void Put(const std::string& name, const std::string& bytes)
  {
    Files[name] = QByteArray::fromStdString(bytes);
  }

  TImageObj* AddImage(std::unique_ptr<TImageObj> image, TFontObj** font = nullptr)
  {
    auto s = MakeSection();
    Append(*s, "ab");
    TImageObj* img = s->PlaceImage(std::move(image), 2);
    if (font)
      *font = s->Fonts.ObjAt(img->ObjPos);
    List.Add(std::move(s));
    return img;
  }

  TImageObj* AddImage(const std::string& src, int w = -1, int h = -1, bool pct = false)
  {
    auto img = std::make_unique<TImageObj>(&Doc, &List, 0, src);
    img->ReqWidth = w;
    img->ReqHeight = h;
    img->WidthIsPct = pct;
    return AddImage(std::move(img));
  }

  QImage PaintAll(int w, int h, QRgb fill)
  {
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(fill);
    QPainter painter(&out);
    TCanvas canvas(&painter);
    List.Paint(canvas, QRect(0, 0, w, h), w, 0, 0);
    painter.end();
    return out;
  }
};

std::vector<uint8_t> Fill(int n, uint8_t v)
{
  return std::vector<uint8_t>(size_t(n), v);
}

struct SizeCase {
  int reqW, reqH;
  bool pct;
  int wantW, wantH;
};

class ImageSizeTest : public ImageWiringTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ImageSizeTest, SizeFollowsThePictureAndTheAttributes)
{
  Put("p.gif", StillGif(40, 20, Fill(800, 1)));
  const SizeCase c = GetParam();
  TImageObj* img = AddImage("p.gif", c.reqW, c.reqH, c.pct);
  LayoutAt(400);
  ASSERT_FALSE(img->IsPlaceholder);
  EXPECT_EQ(img->ImageWidth, c.wantW);
  EXPECT_EQ(img->ImageHeight, c.wantH);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ImageSizeTest,
    ::testing::Values(SizeCase{-1, -1, false, 40, 20}, SizeCase{80, -1, false, 80, 40},
                      SizeCase{-1, 10, false, 20, 10}, SizeCase{10, 30, false, 10, 30},
                      SizeCase{50, -1, true, 200, 20}, SizeCase{25, 7, true, 100, 7}));

TEST_F(ImageWiringTest, PercentWidthFollowsTheAvailableWidthAtEveryLayout)
{
  Put("p.gif", StillGif(40, 20, Fill(800, 1)));
  TImageObj* img = AddImage("p.gif", 50, -1, true);
  LayoutAt(400);
  int32_t wide = img->ImageWidth;
  LayoutAt(200);
  EXPECT_LT(img->ImageWidth, wide);
  EXPECT_EQ(Asked.size(), 1u); // the picture is kept, only the size changes
}

TEST_F(ImageWiringTest, MissingImageShowsTheMissingPictureAndPendingIsRecorded)
{
  TImageObj* missing = AddImage("none.gif");
  TImageObj* waiting = AddImage("wait.gif");
  TImageObj* second = AddImage("wait.gif");
  LayoutAt(400);
  EXPECT_TRUE(missing->IsPlaceholder);
  EXPECT_TRUE(missing->SeeThrough);
  EXPECT_EQ(missing->Picture, MissingBitmap());
  EXPECT_TRUE(waiting->IsPlaceholder);
  EXPECT_EQ(waiting->Picture, PendingBitmap());
  EXPECT_GE(waiting->ImageWidth, 24);
  EXPECT_GE(waiting->ImageHeight, 24);
  // The second wait for one name does not ask the host again.
  EXPECT_EQ(std::count(Asked.begin(), Asked.end(), "wait.gif"), 1);
  ASSERT_EQ(Doc.PendingImages.size(), 2u);
  EXPECT_EQ(Doc.PendingImages[0].Name, "WAIT.GIF");
  EXPECT_EQ(Doc.PendingImages[1].Obj, second);

  // The host has the bytes now; a retry fetches them.
  Files["wait.gif"] = QByteArray::fromStdString(StillGif(30, 30, Fill(900, 2)));
  Doc.Requester.OnImageRequest = [this](QObject*, const std::string& src,
                                        const QByteArray*& stream) {
    auto it = Files.find(src);
    stream = it == Files.end() ? nullptr : &it->second;
  };
  Doc.RetryPending("wait.gif");
  LayoutAt(400);
  EXPECT_TRUE(Doc.PendingImages.empty());
  EXPECT_FALSE(waiting->IsPlaceholder);
  EXPECT_EQ(waiting->ImageWidth, 30);
  EXPECT_FALSE(second->IsPlaceholder);
}

TEST_F(ImageWiringTest, ImagesOffShowPlaceholdersAndFetchNothing)
{
  Put("p.gif", StillGif(40, 20, Fill(800, 1)));
  Doc.ImagesOn = false;
  TImageObj* img = AddImage("p.gif");
  LayoutAt(400);
  EXPECT_TRUE(img->IsPlaceholder);
  EXPECT_TRUE(Asked.empty());
  Doc.ImagesOn = true;
  LayoutAt(400);
  EXPECT_FALSE(img->IsPlaceholder);
}

TEST_F(ImageWiringTest, GifTransparentColourLetsTheBackgroundShowThrough)
{
  // Left half colour 0 (transparent), right half colour 2 (blue).
  std::vector<uint8_t> px;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      px.push_back(x < 5 ? 0 : 2);
  Put("t.gif", StillGif(10, 10, px, 0));
  TImageObj* img = AddImage("t.gif");
  LayoutAt(400);
  ASSERT_FALSE(img->IsPlaceholder);
  EXPECT_TRUE(img->SeeThrough);
  QImage out = PaintAll(400, 60, White);
  int x = img->PaintedX, y = img->PaintedY;
  EXPECT_EQ(out.pixel(x + 1, y + 5), White);
  EXPECT_EQ(out.pixel(x + 8, y + 5), Blue);
}

TEST_F(ImageWiringTest, CornerTransparencyOnlyWhenAsked)
{
  QImage pic(8, 8, QImage::Format_RGB32);
  pic.fill(Green);
  pic.setPixel(3, 3, qRgb(0, 0, 255));
  Put("c.bmp", BmpOf(pic));
  auto seeThrough = std::make_unique<TImageObj>(&Doc, &List, 0, "c.bmp");
  seeThrough->SeeThrough = true;
  TImageObj* transp = AddImage(std::move(seeThrough));
  LayoutAt(400);
  QImage out = PaintAll(400, 60, White);
  EXPECT_EQ(out.pixel(transp->PaintedX + 1, transp->PaintedY + 1), White);
  EXPECT_EQ(out.pixel(transp->PaintedX + 3, transp->PaintedY + 3), Blue);

  List.Clear();
  BitmapList().ClearCache();
  TImageObj* plain = AddImage("c.bmp");
  LayoutAt(400);
  out = PaintAll(400, 60, White);
  EXPECT_EQ(out.pixel(plain->PaintedX + 1, plain->PaintedY + 1), Green);
}

TEST_F(ImageWiringTest, CacheUseIsReleasedWhenTheImageGoes)
{
  Put("p.gif", StillGif(4, 4, Fill(16, 1)));
  AddImage("p.gif");
  AddImage("p.gif");
  LayoutAt(400);
  int index = BitmapList().IndexOf(ImageKey("p.gif"));
  ASSERT_GE(index, 0);
  EXPECT_EQ(BitmapList().Items(index)->UserCount, 2);
  EXPECT_EQ(Asked.size(), 1u); // the second came from the cache
  List.Clear();
  EXPECT_EQ(BitmapList().Items(index)->UserCount, 0);
}

TEST_F(ImageWiringTest, BackgroundImageIsLoadedAtLayout)
{
  Put("back.gif", StillGif(6, 6, Fill(36, 2)));
  int changed = 0;
  Doc.BackgroundChanged = [&changed](TDocument*) { ++changed; };
  Doc.SetPageImage("back.gif");
  AddImage("none.gif");
  LayoutAt(400);
  ASSERT_FALSE(Doc.BgImage.isNull());
  EXPECT_EQ(Doc.BgImage.size(), QSize(6, 6));
  EXPECT_EQ(Doc.BgImage.pixel(2, 2), Blue);
  EXPECT_EQ(changed, 1);
  LayoutAt(400);
  EXPECT_EQ(std::count(Asked.begin(), Asked.end(), "back.gif"), 1);
}

TEST_F(ImageWiringTest, AnimatedImagesEachAnimateTheirOwnCopy)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1, 2}));
  TImageObj* first = AddImage("a.gif");
  TImageObj* second = AddImage("a.gif");
  LayoutAt(400);
  ASSERT_NE(first->Animation(), nullptr);
  ASSERT_NE(second->Animation(), nullptr);
  EXPECT_NE(first->Animation(), second->Animation());
  EXPECT_EQ(Doc.Animations.size(), 2u);
  EXPECT_TRUE(Doc.AnimationTimerActive());
  EXPECT_TRUE(first->Animation()->Animating());

  // Nothing steps until painted on screen.
  Now += 1000;
  Doc.AnimationTick();
  Doc.AnimationTick();
  EXPECT_EQ(first->Animation()->FrameIndex(), 1);

  PaintAll(400, 80, White);
  EXPECT_TRUE(first->Animation()->Shown);
  int before = first->Animation()->FrameIndex();
  TFakeHost host;
  Doc.Host = &host;
  int steps[2] = {0, 0};
  for (int i = 0; i < 3; ++i) {
    Now += 1000;
    int was[2] = {first->Animation()->FrameIndex(), second->Animation()->FrameIndex()};
    Doc.AnimationTick();
    steps[0] += first->Animation()->FrameIndex() != was[0];
    steps[1] += second->Animation()->FrameIndex() != was[1];
  }
  Doc.Host = nullptr;
  EXPECT_NE(first->Animation()->FrameIndex(), before);
  // Each step asks the window to draw that image's rectangle again, and nothing else.
  TImageObj* images[2] = {first, second};
  for (int k = 0; k < 2; ++k) {
    const TGIFImage* gif = images[k]->Animation();
    QRect drawn(gif->DrawnX, gif->DrawnY, gif->DrawnWidth, gif->DrawnHeight);
    EXPECT_FALSE(drawn.isEmpty());
    EXPECT_EQ(std::count(host.Invalidated.begin(), host.Invalidated.end(), drawn), steps[k]);
  }
  EXPECT_EQ(int(host.Invalidated.size()), steps[0] + steps[1]);

  // A new layout starts every animation at frame 1 again.
  LayoutAt(400);
  EXPECT_EQ(first->Animation()->FrameIndex(), 1);
}

TEST_F(ImageWiringTest, PrintingShowsTheFirstFrameAndRunsNoTimer)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1, 2}));
  TImageObj* img = AddImage("a.gif");
  Canvas.Printing = true;
  LayoutAt(400);
  EXPECT_FALSE(Doc.AnimationTimerActive());
  EXPECT_FALSE(img->Animation()->Animating());
  Doc.StepAnimations(2);
  QImage out(400, 60, QImage::Format_ARGB32);
  out.fill(White);
  {
    QPainter painter(&out);
    TCanvas canvas(&painter);
    canvas.Printing = true;
    List.Paint(canvas, QRect(0, 0, 400, 60), 400, 0, 0);
  }
  EXPECT_EQ(out.pixel(img->PaintedX + 4, img->PaintedY + 4), Red);
  EXPECT_FALSE(img->Animation()->Shown);
}

TEST_F(ImageWiringTest, ScrolledAwayImagesStopStepping)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1, 2}));
  TImageObj* img = AddImage("a.gif");
  LayoutAt(400);
  PaintAll(400, 60, White);
  ASSERT_TRUE(img->Animation()->Shown);
  // A repaint of another part of the window keeps it going.
  QImage out(400, 60, QImage::Format_ARGB32);
  {
    QPainter painter(&out);
    TCanvas canvas(&painter);
    List.Paint(canvas, QRect(300, 40, 50, 10), 400, 0, 0);
  }
  EXPECT_TRUE(img->Animation()->Shown);
  EXPECT_TRUE(Doc.AnimationTimerActive());
  // Scrolled out of the window: painted over, but no longer drawn.
  List.SetScroll(1000);
  PaintAll(400, 60, White);
  EXPECT_FALSE(img->Animation()->Shown);
  Now += 1000;
  Doc.AnimationTick();
  Doc.AnimationTick();
  EXPECT_EQ(img->Animation()->FrameIndex(), 1);
}

TEST_F(ImageWiringTest, NoAnimateImageIsNotListed)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1}));
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "a.gif");
  img->NoAnimate = true;
  TImageObj* still = AddImage(std::move(img));
  LayoutAt(400);
  ASSERT_NE(still->Animation(), nullptr);
  EXPECT_TRUE(Doc.Animations.empty());
  EXPECT_FALSE(Doc.AnimationTimerActive());
}

TEST_F(ImageWiringTest, StepAnimationsShowsTheChosenFrame)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1, 2}));
  TImageObj* img = AddImage("a.gif");
  LayoutAt(400);
  struct Case {
    int steps;
    int frame;
    QRgb colour;
  };
  for (Case c : {Case{0, 1, Red}, Case{1, 2, Green}, Case{2, 3, Blue}, Case{3, 1, Red}}) {
    LayoutAt(400);
    Doc.StepAnimations(c.steps);
    EXPECT_EQ(img->Animation()->FrameIndex(), c.frame) << c.steps;
    QImage out = PaintAll(400, 60, White);
    EXPECT_EQ(out.pixel(img->PaintedX + 4, img->PaintedY + 4), c.colour) << c.steps;
  }
}

TEST_F(ImageWiringTest, DestroyedImagesLeaveTheLists)
{
  Put("a.gif", AnimatedGif(8, 8, {0, 1}));
  AddImage("a.gif");
  AddImage("wait.gif");
  LayoutAt(400);
  EXPECT_EQ(Doc.Animations.size(), 1u);
  EXPECT_EQ(Doc.PendingImages.size(), 1u);
  List.TFreeList<TSectionBase>::Clear();
  EXPECT_TRUE(Doc.Animations.empty());
  EXPECT_TRUE(Doc.PendingImages.empty());
  Doc.AnimationTick(); // nothing left to step
}

TEST_F(ImageWiringTest, BrokenImageBytesGiveTheMissingPicture)
{
  for (std::string bytes : {std::string("GIF89a"), std::string("BM\x01\x02", 4),
                            std::string(100, '\xFF'), std::string()}) {
    List.Clear();
    BitmapList().ClearCache();
    Put("bad.gif", bytes);
    TImageObj* img = AddImage("bad.gif");
    LayoutAt(400);
    EXPECT_TRUE(img->IsPlaceholder);
    PaintAll(200, 60, White);
  }
}

TEST_F(ImageWiringTest, ClientMapGivesTheAreaUnderThePoint)
{
  Put("m.gif", StillGif(20, 10, Fill(200, 1)));
  auto map = std::make_unique<TMapItem>();
  map->Name = "NAV";
  map->AddArea("rect", "0,0,9,9", "left.htm", false, "");
  map->AddArea("rect", "10,0,19,9", "right.htm", false, "side");
  Doc.Maps.Add(std::move(map));
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "m.gif");
  img->ClientMap = true;
  img->ClientMapName = "NAV";
  TImageObj* image = AddImage(std::move(img));
  LayoutAt(400);
  PaintAll(400, 60, White);
  struct Case {
    int x;
    bool found;
    const char* url;
    const char* target;
  };
  for (Case c : {Case{2, true, "left.htm", ""}, Case{15, true, "right.htm", "side"},
                 Case{25, false, "", ""}}) {
    TFormControlObj* control = nullptr;
    TUrlTarget link;
    bool found = List.LinkAt(Canvas, image->PaintedX + c.x, image->PaintedY + 5, control, link);
    EXPECT_EQ(found, c.found) << c.x;
    EXPECT_EQ(link.Url, c.url) << c.x;
    EXPECT_EQ(link.Target, c.target) << c.x;
  }
}

TEST_F(ImageWiringTest, ServerMapAppendsTheClickedPoint)
{
  Put("m.gif", StillGif(20, 10, Fill(200, 1)));
  auto s = MakeSection();
  Append(*s, "ab");
  TUrlTarget target;
  target.Assign("/cgi/map", "");
  s->LinkMark(true, Font(), 0, target);
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "m.gif");
  img->ServerMap = true;
  TImageObj* image = s->PlaceImage(std::move(img), 2);
  s->LinkMark(false, Font(), 0, TUrlTarget());
  List.Add(std::move(s));
  LayoutAt(400);
  PaintAll(400, 60, White);
  EXPECT_TRUE(image->Bordered);
  TFormControlObj* control = nullptr;
  TUrlTarget link;
  ASSERT_TRUE(List.LinkAt(Canvas, image->PaintedX + 7, image->PaintedY + 3, control, link));
  EXPECT_EQ(link.Url, "/cgi/map?7,3");
}

} // namespace
