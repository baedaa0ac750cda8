// Placeholder pictures, viewer cursors and device-independent copies.
#include "html/images/ImageResources.h"
#include "html/images/Dib.h"

#include <QPixmap>
#include <gtest/gtest.h>

TEST(ImageResources, PlaceholdersAreSmallPicturesAndTheMissingOneIsSeeThroughAtItsEdge)
{
  for (const QImage* img : {&PendingBitmap(), &MissingBitmap()}) {
    ASSERT_FALSE(img->isNull());
    EXPECT_LE(img->width(), 24);
    EXPECT_GE(img->width(), 16);
  }
  EXPECT_NE(PendingBitmap(), MissingBitmap());
  const QImage& mask = MissingMask();
  ASSERT_EQ(mask.size(), MissingBitmap().size());
  EXPECT_EQ(mask.pixelIndex(0, mask.height() - 1), 1); // the corner is transparent
  EXPECT_EQ(mask.pixelIndex(mask.width() / 2, mask.height() / 2), 0);
}

TEST(ImageResources, ViewerCursorsAreDrawnWithTheirHotSpots)
{
  struct Case {
    int id;
    QPoint hot;
  };
  for (Case c : {Case{crLinkHand, {8, 1}}, Case{crTextBeam, {8, 9}}, Case{crUpDown, {16, 16}},
                 Case{crUpOnly, {16, 16}}, Case{crDownOnly, {16, 16}}}) {
    QCursor cursor = ViewerCursor(c.id);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << c.id;
    EXPECT_EQ(cursor.hotSpot(), c.hot) << c.id;
    EXPECT_FALSE(cursor.pixmap().isNull()) << c.id;
  }
  // Up only and down only differ in the half that shows an arrow.
  QImage up = ViewerCursor(crUpOnly).pixmap().toImage();
  QImage down = ViewerCursor(crDownOnly).pixmap().toImage();
  EXPECT_GT(qAlpha(up.pixel(16, 5)), 0);
  EXPECT_EQ(qAlpha(up.pixel(16, 27)), 0);
  EXPECT_EQ(qAlpha(down.pixel(16, 5)), 0);
  EXPECT_GT(qAlpha(down.pixel(16, 27)), 0);
  EXPECT_EQ(ViewerCursor(99).shape(), Qt::ArrowCursor);
}

TEST(Dib, HeaderStrideAndBottomUpRowsForEachDepth)
{
  QImage rgb(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      rgb.setPixel(x, y, qRgb(x * 40, y * 80, 7));
  QImage indexed(5, 3, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6)});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      indexed.setPixel(x, y, uint((x + y) & 1));
  QImage mono = indexed.convertToFormat(QImage::Format_Mono);
  struct Case {
    const QImage* image;
    int bits, stride, infoSize;
  };
  for (Case c : {Case{&rgb, 24, 16, 40}, Case{&indexed, 8, 8, 40 + 1024}, Case{&mono, 1, 4, 48}}) {
    TDib dib(*c.image);
    EXPECT_EQ(dib.BitCount(), c.bits);
    EXPECT_EQ(dib.Stride(), c.stride);
    EXPECT_EQ(dib.InfoSize, c.infoSize);
    EXPECT_EQ(dib.ImageSize, c.stride * 3);
    EXPECT_EQ(dib.Info[0], 40);
    EXPECT_EQ(dib.Info[4], 5);
    EXPECT_EQ(dib.Info[8], 3);
    EXPECT_EQ(dib.Info[14], c.bits);
    QImage back = dib.ToDeviceBitmap();
    ASSERT_EQ(back.size(), QSize(5, 3)) << c.bits;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        ASSERT_EQ(back.pixel(x, y), c.image->pixel(x, y)) << c.bits << " " << x << "," << y;
  }
  // The last row of the picture is the first row of the bits.
  TDib dib(rgb);
  EXPECT_EQ(dib.Image[0], 7);      // blue
  EXPECT_EQ(dib.Image[1], 2 * 80); // green of row 2
  EXPECT_EQ(dib.Image[3 + 2], 40); // red of column 1
}
