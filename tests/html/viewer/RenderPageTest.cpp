// Rendering a page to a picture file, and the viewer's sturdiness with odd sizes and bytes.
#include "html/viewer/RenderPage.h"
#include "ViewerTestSupport.h"

#include <QImage>
#include <sstream>

namespace {

using RenderPageTest = ViewerFixture;

TEST_F(RenderPageTest, WritesThePictureAtTheAskedSize)
{
  std::string page = File("r.htm", LongPage(80, "<a name=mid>", ""));
  std::string out = (dir + "/out.png").toStdString();
  struct Case {
    std::string Page;
    int Width;
    int Height;
  };
  const Case cases[] = {{page, 800, 600}, {page + "#mid", 320, 200}, {page, 640, 0}};
  for (const Case& c : cases) {
    std::ostringstream err;
    ASSERT_EQ(RenderPage(c.Page, out, c.Width, c.Height, err), 0) << err.str();
    EXPECT_TRUE(err.str().empty());
    QImage picture(QString::fromStdString(out));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), c.Width);
    if (c.Height > 0) {
      EXPECT_EQ(picture.height(), c.Height);
    } else {
      // The whole document: taller than the window it was first laid out in.
      EXPECT_GT(picture.height(), 600);
    }
  }
}

TEST_F(RenderPageTest, FailuresGoToTheErrorStream)
{
  std::string out = (dir + "/never.png").toStdString();
  std::string missing = dir.toStdString() + "/missing.htm";
  struct Case {
    std::string Page;
    int Width;
    int Height;
    std::string Error;
  };
  const Case cases[] = {
      {missing, 800, 600, "error: Can't locate file: " + missing + "\n"},
      {missing + "#x", 800, 600, "error: Can't locate file: " + missing + "#x\n"}, // as given
      {File("ok.htm", "x"), 0, 600, "error: bad picture size 0 x 600\n"},
      {File("ok.htm", "x"), 800, -1, "error: bad picture size 800 x -1\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream err;
    EXPECT_EQ(RenderPage(c.Page, out, c.Width, c.Height, err), 1) << c.Page;
    EXPECT_EQ(err.str(), c.Error);
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

TEST_F(RenderPageTest, OddSizesAndBytesDoNotBreakTheViewer)
{
  std::string bytes;
  for (int i = 0; i < 4096; ++i)
    bytes += char((i * 7919) % 256);
  bytes += "<a href=\"#\"><a name=><table><tr><td>";
  viewer.LoadFromChars(bytes.data(), int32_t(bytes.size()));
  const QSize sizes[] = {{0, 0}, {1, 1}, {5, 400}, {400, 5}, {30, 30}, {400, 300}};
  for (const QSize& s : sizes) {
    viewer.resize(s);
    viewer.PaintPanel()->repaint();
    QTest::mouseMove(Panel(), QPoint(2, 2));
    QTest::mouseClick(Panel(), Qt::LeftButton, {}, QPoint(1, 1));
    QTest::keyClick(&viewer, Qt::Key_End);
    EXPECT_GE(viewer.VScrollPosition(), 0) << s.width() << "x" << s.height();
    EXPECT_GE(Panel()->width(), 0);
  }
  viewer.SetReadingPosition(0x7FFFFFFF);
  EXPECT_FALSE(viewer.ScrollToAnchor("#"));
}

} // namespace
