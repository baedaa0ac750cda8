// Detection, the loaders, masks and display conversion.
#include "html/images/ImageLoader.h"
#include "GifEncoder.h"
#include "ImageFiles.h"
#include "html/images/Display.h"
#include "html/images/JPEGReader.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QImageWriter>
#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::span<const uint8_t> Bytes(const std::string& s)
{
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

class ImageLoader : public ::testing::Test {
protected:
  void SetUp() override
  {
    SetDisplayBits(24);
    dir = TempDir();
  }
  void TearDown() override { SetDisplayBits(0); }
  std::string Write(const std::string& name, const std::string& bytes)
  {
    return WriteFile(dir, name, bytes);
  }
  QString dir;
};

const std::vector<QRgb> Four = {qRgb(10, 20, 30), qRgb(200, 0, 0), qRgb(0, 200, 0),
                                qRgb(0, 0, 200)};

} // namespace

TEST(ImageType, DetectedByFirstBytes)
{
  struct Case {
    std::string bytes;
    TImageType type;
  };
  const Case cases[] = {
      {"GIF89a...", itGif89},
      {"GIF87a", itGif87},
      {"GIF8", itGif87},
      {"GIF8x", itGif87},
      {"GIF7", itUnknown},
      {"BM\x36", itBitmap},
      {"BM", itBitmap},
      {"\x89PNG\r\n", itPng},
      {"\x89PN", itUnknown},
      {"\xFF\xD8\xFF", itJpeg},
      {"\xFF\xD9", itUnknown},
      {"", itUnknown},
      {"B", itUnknown},
      {"<html>", itUnknown},
      {std::string("RIFF\x10\0\0\0WEBPVP8L", 16), itWebp},
      {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), itUnknown},
      {"RIFF", itUnknown},
      {"<svg xmlns='http://www.w3.org/2000/svg'/>", itSvg},
      {"\xEF\xBB\xBF\n <?xml version='1.0'?><!-- made by hand -->\n"
       "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 1.1//EN' 'x.dtd' [<!ENTITY a 'b'>]>\r\n<svg>",
       itSvg},
      {"<svg:svg xmlns:svg='http://www.w3.org/2000/svg'>", itSvg},
      {"<svgx>", itUnknown},
      {"<?xml version='1.0'?><html><svg>", itUnknown},
      {"<!DOCTYPE html><html><body><svg>", itUnknown},
      {"<!-- <svg> in a comment that never ends", itUnknown},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectImageType(Bytes(c.bytes)), c.type) << c.bytes;
}

TEST_F(ImageLoader, ReadsBitmapsOfEveryDepthPixelForPixel)
{
  struct Case {
    int bits, width, height;
  };
  for (Case c : {Case{1, 13, 5}, Case{4, 7, 3}, Case{8, 9, 4}, Case{24, 5, 6}}) {
    SCOPED_TRACE(c.bits);
    std::vector<QRgb> table;
    for (int i = 0; c.bits <= 8 && i < (1 << c.bits); ++i)
      table.push_back(qRgb(i * 13 & 255, 255 - i, i * 7 & 255));
    std::vector<uint32_t> px;
    for (int i = 0; i < c.width * c.height; ++i)
      px.push_back(c.bits == 24 ? qRgb(i * 9 & 255, i * 31 & 255, 250 - i)
                                : uint32_t((i * 5 + i / 3) % (1 << c.bits)));
    std::string name = Write("b" + std::to_string(c.bits) + ".bmp",
                             imgfiles::Bitmap(c.bits, c.width, c.height, table, px));
    QImage img = ReadImageFile(name, false);
    ASSERT_EQ(img.size(), QSize(c.width, c.height));
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        uint32_t v = px[size_t(y * c.width + x)];
        QRgb want = c.bits == 24 ? v : table[v];
        ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y;
      }
    QImage shown = ReadImageFile(name, true);
    EXPECT_GT(shown.depth(), 8); // made true-colour for this display
  }
}

TEST_F(ImageLoader, JpegColourAndGreyOnTrueColourAndPaletteDisplays)
{
  QImage colour(16, 16, QImage::Format_RGB32);
  colour.fill(qRgb(40, 90, 200));
  QImage grey(16, 16, QImage::Format_Grayscale8);
  grey.fill(150);
  const std::string c = imgfiles::Jpeg(colour), g = imgfiles::Jpeg(grey);
  ASSERT_EQ(DetectImageType(Bytes(c)), itJpeg);

  QImage c24 = TJPEGReader::Decode(Bytes(c), 24, {});
  ASSERT_EQ(c24.format(), QImage::Format_RGB32);
  EXPECT_NEAR(qRed(c24.pixel(5, 5)), 40, 3);
  EXPECT_NEAR(qGreen(c24.pixel(5, 5)), 90, 3);
  EXPECT_NEAR(qBlue(c24.pixel(5, 5)), 200, 3);
  QImage g24 = TJPEGReader::Decode(Bytes(g), 24, {});
  ASSERT_EQ(g24.format(), QImage::Format_RGB32);
  EXPECT_NEAR(qRed(g24.pixel(3, 9)), 150, 2);
  EXPECT_EQ(qRed(g24.pixel(3, 9)), qBlue(g24.pixel(3, 9)));

  const TPalette& shared = SharedPaletteEntries();
  QImage c8 = TJPEGReader::Decode(Bytes(c), 8, shared);
  ASSERT_EQ(c8.format(), QImage::Format_Indexed8);
  EXPECT_EQ(c8.colorTable(), shared);
  QImage g8 = TJPEGReader::Decode(Bytes(g), 8, shared);
  ASSERT_EQ(g8.format(), QImage::Format_Indexed8);
  EXPECT_NEAR(qRed(g8.pixel(3, 9)), 150, 2); // a grey ramp, not the shared palette
  EXPECT_EQ(g8.colorTable().size(), 256);
}

TEST_F(ImageLoader, BrokenAndTruncatedFilesGiveNothing)
{
  QImage colour(32, 32, QImage::Format_RGB32);
  colour.fill(Qt::red);
  const std::string jpeg = imgfiles::Jpeg(colour);
  const std::string bmp = imgfiles::Bitmap(24, 4, 4, {}, std::vector<uint32_t>(16, 0xFF00FFu));
  const std::string cases[] = {
      "",
      "\xFF\xD8",
      "\xFF\xD8\xFF\xE0 garbage that is not a jpeg at all.........",
      jpeg.substr(0, 20),
      bmp.substr(0, 30),
      "BM" + std::string(60, '\xFF'),
      "\x89PNG\r\n\x1A\n" + std::string(40, '\0'),
      "GIF89a" + std::string(3, '\xFF'),
      "plain text",
  };
  for (const std::string& data : cases) {
    std::string name = Write("broken.img", data);
    EXPECT_TRUE(ReadImageFile(name, true).isNull()) << data.size();
    TTranspKind k = tkCorner;
    QImage mask;
    EXPECT_TRUE(ReadImageStream(Bytes(data), k, mask).isNull()) << data.size();
    EXPECT_TRUE(mask.isNull());
  }
  EXPECT_TRUE(ReadImageFile(dir.toStdString() + "/missing.bmp", true).isNull());
}

TEST_F(ImageLoader, PngDecodesAndItsTransparencyChunkNamesTheMaskColour)
{
  const std::vector<uint8_t> idx = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2};
  // The colour is that of the last index the chunk covers.
  const std::string png = imgfiles::PalettePng(4, 3, Four, idx, std::string("\xFF\x00", 2));
  TColor colour = 0;
  ASSERT_TRUE(PngTransparentColor(Bytes(png), colour));
  EXPECT_EQ(colour, RGBColor(200, 0, 0));
  std::string name = Write("pal.png", png);
  TTranspKind k = tkNone;
  QImage mask;
  QImage img = LoadImageAndMask(name, k, mask);
  ASSERT_EQ(img.size(), QSize(4, 3));
  EXPECT_EQ(k, tkPngColor);
  ASSERT_EQ(mask.size(), QSize(4, 3));
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(mask.pixelIndex(i % 4, i / 4), idx[size_t(i)] == 1 ? 1 : 0) << i;
    EXPECT_EQ(img.pixel(i % 4, i / 4) & 0xFFFFFF, Four[idx[size_t(i)]] & 0xFFFFFF) << i;
  }

  std::vector<QRgb> rgb = {qRgb(1, 2, 3), qRgb(9, 8, 7), qRgb(1, 2, 3), qRgb(50, 60, 70)};
  const std::string rgbPng =
      imgfiles::RgbPng(2, 2, rgb, std::string("\x00\x01\x00\x02\x00\x03", 6));
  ASSERT_TRUE(PngTransparentColor(Bytes(rgbPng), colour));
  EXPECT_EQ(colour, RGBColor(1, 2, 3));
  k = tkNone;
  QImage streamed = ReadImageStream(Bytes(rgbPng), k, mask);
  ASSERT_FALSE(streamed.isNull());
  EXPECT_EQ(k, tkPngColor);
  EXPECT_EQ(mask.pixelIndex(0, 0), 1);
  EXPECT_EQ(mask.pixelIndex(1, 0), 0);
  EXPECT_FALSE(PngTransparentColor(Bytes(imgfiles::RgbPng(2, 2, rgb, "")), colour));
  EXPECT_FALSE(PngTransparentColor(Bytes(png.substr(0, 40)), colour));
}

TEST_F(ImageLoader, MasksByCornerAndByColour)
{
  QImage img(3, 3, QImage::Format_RGB32);
  const QRgb a = qRgb(1, 2, 3), b = qRgb(250, 250, 250);
  const QRgb px[9] = {a, b, a, b, b, b, a, a, b};
  for (int i = 0; i < 9; ++i)
    img.setPixel(i % 3, i / 3, px[i]);
  QImage corner = CreateMask(img, false, 0); // lower-left pixel is a
  QImage byColour = CreateMask(img, true, RGBColor(250, 250, 250) | PaletteFlag);
  ASSERT_EQ(corner.format(), QImage::Format_Mono);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(corner.pixelIndex(i % 3, i / 3), px[i] == a ? 1 : 0) << i;
    EXPECT_EQ(byColour.pixelIndex(i % 3, i / 3), px[i] == b ? 1 : 0) << i;
  }
  QImage indexed = img.convertToFormat(QImage::Format_Indexed8, {a, b});
  QImage indexedMask = CreateMask(indexed, false, 0);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(indexedMask.pixelIndex(i % 3, i / 3), px[i] == a ? 1 : 0) << i;
  EXPECT_TRUE(CreateMask(QImage(), false, 0).isNull());
  QImage masked = ApplyMask(img, corner);
  EXPECT_EQ(masked.pixel(0, 0), 0u);
  EXPECT_EQ(masked.pixel(1, 0), b);

  // Stretched to twice the size over a green page: masked pixels show the page.
  QImage page(6, 6, QImage::Format_RGB32);
  page.fill(qRgb(0, 255, 0));
  QPainter painter(&page);
  DrawMaskedStretch(painter, img, corner, 0, 0, 6, 6);
  painter.end();
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(page.pixel(2 * (i % 3) + 1, 2 * (i / 3)), px[i] == a ? qRgb(0, 255, 0) : b) << i;
}

TEST_F(ImageLoader, GifTransparentColourOnlyFromTheFirstControlBlock)
{
  gifenc::Gif g;
  g.width = g.height = 2;
  g.globalTable = Four;
  gifenc::Frame f = gifenc::Solid(0, 0, 2, 2, 1);
  f.pixels = {1, 2, 2, 1};
  f.transIndex = 2;
  g.frames = {f};
  TColor colour = 0;
  const std::string data = gifenc::Encode(g);
  ASSERT_TRUE(GifTransparentColor(Bytes(data), colour));
  EXPECT_EQ(colour, RGBColor(0, 200, 0));
  g.loopCount = 0; // an application block first hides it
  EXPECT_FALSE(GifTransparentColor(Bytes(gifenc::Encode(g)), colour));
  g.loopCount = -1;
  g.gif89 = false;
  EXPECT_FALSE(GifTransparentColor(Bytes(gifenc::Encode(g)), colour));

  // Loaded as a file without being asked for transparency: mask and kind 2 all the same.
  std::string name = Write("t.gif", data);
  TTranspKind k = tkNone;
  QImage mask;
  QImage img = LoadImageAndMask(name, k, mask);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(k, tkGifColor);
  EXPECT_EQ(mask.pixelIndex(1, 0), 1);
  EXPECT_EQ(mask.pixelIndex(0, 0), 0);
  EXPECT_EQ(img.pixel(1, 0) & 0xFFFFFF, qRgb(0, 200, 0) & 0xFFFFFF); // the colour reappears
}

TEST_F(ImageLoader, CornerTransparencyOnRequest)
{
  std::vector<uint32_t> px = {2, 2, 1, 2};
  std::string name = Write("c.bmp", imgfiles::Bitmap(8, 2, 2, Four, px));
  TTranspKind k = tkCorner;
  QImage mask;
  QImage img = LoadImageAndMask(name, k, mask);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(k, tkCorner);
  EXPECT_EQ(mask.pixelIndex(0, 1), 1); // the lower-left colour, wherever it is
  EXPECT_EQ(mask.pixelIndex(0, 0), 0);
  EXPECT_EQ(mask.pixelIndex(1, 1), 0);
  k = tkNone;
  LoadImageAndMask(name, k, mask);
  EXPECT_TRUE(mask.isNull());
}

TEST_F(ImageLoader, ConvertForDisplayFollowsTheDisplayDepth)
{
  QImage indexed(4, 4, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  indexed.fill(1);
  QImage rgb(4, 4, QImage::Format_RGB32);
  rgb.fill(qRgb(255, 255, 255));

  EXPECT_EQ(ConvertForDisplay(indexed).format(), QImage::Format_RGB32);
  EXPECT_EQ(ConvertForDisplay(rgb).constBits(), rgb.constBits()); // unchanged

  SetDisplayBits(8);
  QImage reduced = ConvertForDisplay(rgb);
  ASSERT_EQ(reduced.format(), QImage::Format_Indexed8);
  EXPECT_EQ(reduced.colorTable(), SharedPalette());
  EXPECT_EQ(reduced.pixel(2, 2), qRgb(255, 255, 255));
  EXPECT_EQ(ConvertForDisplay(reduced).constBits(), reduced.constBits());

  SetDisplayBits(4);
  QImage sixteen = ConvertForDisplay(rgb);
  EXPECT_EQ(sixteen.colorTable(), DefaultPalette());
}

// Formats decoded through Qt's plugins: the pictures, their sizes, and nothing for broken data.
TEST_F(ImageLoader, WebpAndSvgAreDetectedByContentAndDecoded)
{
  // 3 x 2: red, green, blue over white, black, grey, written losslessly.
  QImage source(3, 2, QImage::Format_RGB32);
  const QRgb want[6] = {qRgb(255, 0, 0),     qRgb(0, 255, 0), qRgb(0, 0, 255),
                        qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(128, 128, 128)};
  for (int i = 0; i < 6; ++i)
    source.setPixel(i % 3, i / 3, want[i]);
  QByteArray webp;
  QBuffer buffer(&webp);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "webp");
  writer.setQuality(100); // lossless
  ASSERT_TRUE(writer.write(source)) << "the WebP plugin is missing (qt6-image-formats-plugins)";
  // Left half red, right half blue, on a 4 x 2 canvas.
  const std::string svg = "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg' "
                          "width='4' height='2'><rect width='2' height='2' fill='#ff0000'/>"
                          "<rect x='2' width='2' height='2' fill='#0000ff'/></svg>";
  struct Case {
    const char* name;
    std::string bytes;
    TImageType type;
    QSize size;
    std::vector<QRgb> pixels;
  };
  const Case cases[] = {
      {"webp.img", std::string(webp.constData(), size_t(webp.size())), itWebp, QSize(3, 2),
       std::vector<QRgb>(want, want + 6)},
      {"picture.svg",
       svg,
       itSvg,
       QSize(4, 2),
       {qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 255), qRgb(255, 0, 0),
        qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 255)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectImageType(Bytes(c.bytes)), c.type);
    const QImage image = ReadImageFile(Write(c.name, c.bytes), true);
    ASSERT_EQ(image.size(), c.size);
    for (int i = 0; i < c.size.width() * c.size.height(); ++i)
      EXPECT_EQ(image.pixel(i % c.size.width(), i / c.size.width()), c.pixels[size_t(i)]) << i;
    TTranspKind k = tkNone;
    QImage mask;
    EXPECT_EQ(ReadImageStream(Bytes(c.bytes), k, mask).size(), c.size);
    // Cut short, or declaring a size beyond what is accepted: nothing.
    EXPECT_TRUE(ReadImageStream(Bytes(c.bytes.substr(0, 24)), k, mask).isNull());
  }
  TTranspKind k = tkNone;
  QImage mask;
  const std::string huge = "<svg xmlns='http://www.w3.org/2000/svg' width='40000' height='2'/>";
  EXPECT_TRUE(ReadImageStream(Bytes(huge), k, mask).isNull());
}
