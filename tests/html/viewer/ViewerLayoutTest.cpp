// The viewer's frame: scroll bar arrangement, the width cap, the border, the background and the
// frame viewer that hosts a viewer for the main window.
#include "ViewerTestSupport.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/ScrollBar32.h"
#include "platform/widgets/WidgetControl.h"

#include "html/model/FormControlObj.h"
#include <QFrame>
#include <QLineEdit>
#include <vector>

namespace {

using ViewerLayoutTest = ViewerFixture;

std::string WidePre(int chars)
{
  return "<pre>" + std::string(size_t(chars), 'W') + "</pre>";
}

TEST_F(ViewerLayoutTest, ScrollBarsFollowTheStyleAndTheDocument)
{
  struct Case {
    TScrollStyle Style;
    std::string Page;
    bool Vertical;
    bool Horizontal;
  };
  const Case cases[] = {
      {ssBoth, "<p>short", false, false},
      {ssBoth, LongPage(100), true, false},
      {ssBoth, WidePre(200), false, true},
      {ssVertical, WidePre(200) + LongPage(100), true, false},
      {ssHorizontal, WidePre(200) + LongPage(100), false, true},
      {ssNone, WidePre(200) + LongPage(100), false, false},
  };
  for (const Case& c : cases) {
    viewer.SetScrollBars(c.Style);
    viewer.LoadFromFile(File("page.htm", c.Page));
    EXPECT_EQ(viewer.VScrollBar()->isVisible(), c.Vertical) << c.Style << " " << c.Page.size();
    EXPECT_EQ(viewer.HScrollBar()->isVisible(), c.Horizontal) << c.Style << " " << c.Page.size();
    int barWidth = viewer.VScrollBar()->width();
    EXPECT_EQ(Panel()->width(), viewer.width() - (c.Vertical ? barWidth : 0));
    EXPECT_EQ(Panel()->height(), viewer.height() - (c.Horizontal ? barWidth : 0));
  }
}

TEST_F(ViewerLayoutTest, HorizontalScrollingStopsAtTheWidthCap)
{
  viewer.LoadFromFile(File("wide.htm", WidePre(1000)));
  EXPECT_EQ(viewer.DocumentWidth(), 2000);
  EXPECT_EQ(viewer.HScrollBar()->Max(), 2 * viewer.MarginWidth() + 2000);
  QTest::keyClick(&viewer, Qt::Key_Right);
  EXPECT_EQ(viewer.HScrollPosition(), 15);
  QTest::keyClick(&viewer, Qt::Key_Left);
  QTest::keyClick(&viewer, Qt::Key_Left);
  EXPECT_EQ(viewer.HScrollPosition(), 0);
  viewer.HScrollBar()->setValue(100000);
  EXPECT_EQ(viewer.HScrollPosition(), viewer.HScrollBar()->Max() - Panel()->width());
}

TEST_F(ViewerLayoutTest, BorderStyleDecidesTheEdgeLine)
{
  struct Case {
    THTMLBorderStyle Style;
    bool Focused;
    bool Edge;
    bool Line;
  };
  const Case cases[] = {{htNone, false, false, false},
                        {htSingle, false, true, true},
                        {htFocused, false, true, false},
                        {htFocused, true, true, true}};
  for (const Case& c : cases) {
    viewer.SetBorderStyle(c.Style);
    if (c.Focused) {
      viewer.activateWindow();
      viewer.setFocus();
      QTRY_VERIFY(viewer.hasFocus());
    } else {
      viewer.clearFocus();
    }
    viewer.PaintPanel()->repaint();
    EXPECT_EQ(viewer.BorderPanel()->isVisible(), c.Edge) << c.Style;
    EXPECT_EQ(Panel()->pos(), c.Edge ? QPoint(1, 1) : QPoint(0, 0)) << c.Style;
    EXPECT_EQ(viewer.BorderPanel()->frameShape() == QFrame::Box, c.Line) << c.Style;
  }
}

TEST_F(ViewerLayoutTest, BackgroundImageTilesAndScrollsWithTheText)
{
  viewer.LoadFromFile(File("a.htm", LongPage(100)));
  // A 7 x 5 picture whose every pixel tells where in the tile it is.
  QImage tile(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      tile.setPixel(x, y, qRgb(x * 30, y * 50, 200));
  viewer.SectionList()->Document().BgImage = tile;
  viewer.SetViewImages(true);
  struct Case {
    int32_t Scroll;
    QPoint At;
  };
  const Case cases[] = {{0, QPoint(0, 0)}, {3, QPoint(2, 1)}, {16, QPoint(370, 290)}};
  for (const Case& c : cases) {
    viewer.SetVScrollPosition(c.Scroll);
    QImage shot = Panel()->grab().toImage();
    int tx = c.At.x() % 7, ty = (c.At.y() + c.Scroll) % 5;
    EXPECT_EQ(shot.pixel(c.At) & 0xFFFFFF, qRgb(tx * 30, ty * 50, 200) & 0xFFFFFF)
        << c.Scroll << " " << c.At.x() << "," << c.At.y();
  }
  viewer.SetViewImages(false); // images off: the page colour only
  QImage plain = Panel()->grab().toImage();
  EXPECT_EQ(plain.pixel(370, 290) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ViewerLayoutTest, MouseEventsReachTheHostFirst)
{
  viewer.LoadFromFile(File("a.htm", "<a href=\"#x\">link</a>"));
  std::vector<std::string> order;
  viewer.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    order.push_back("down");
  };
  viewer.OnMouseUp = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    order.push_back("up");
  };
  viewer.OnHotSpotClick = [&](QObject*, const std::string& url, bool&) {
    order.push_back("click " + url);
  };
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("link"));
  EXPECT_EQ(order, (std::vector<std::string>{"down", "up", "click #x"}));
}

TEST_F(ViewerLayoutTest, FocusedControlNearTheBottomIsBroughtIntoView)
{
  viewer.LoadFromFile(File("a.htm", LongPage(100)));
  viewer.activateWindow();
  TSectionList& list = *viewer.SectionList();
  auto* edit = new QLineEdit(Panel());
  auto* control =
      list.Document().AllFormControls.Add(std::make_unique<TFormControlObj>(&list.Document(), 0));
  control->TheControl = std::make_unique<TWidgetControl>(edit);
  struct Case {
    int Y;
    int32_t Scroll;
    int32_t Expected;
  };
  int h = Panel()->height();
  const Case cases[] = {
      {100, 50, 50}, {h - 10, 50, 50 + h - 10 - h / 2}, {-30, 400, 400 - 30 - h / 2}};
  for (const Case& c : cases) {
    viewer.SetVScrollPosition(c.Scroll);
    edit->move(0, c.Y);
    edit->show();
    viewer.setFocus();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    EXPECT_EQ(viewer.VScrollPosition(), c.Expected) << c.Y;
  }
}

struct FrameViewerHostTest : ::testing::Test {
  std::string File(const std::string& name, const std::string& text)
  {
    return testsupport::WriteFile(dir, name, text);
  }
  QString dir = testsupport::TempDir();
};

TEST_F(FrameViewerHostTest, ShowsPagesFollowsLinksAndGoesBack)
{
  TFrameViewer frame;
  ConfigureMainViewer(frame);
  frame.resize(500, 400);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  int changes = 0;
  frame.OnHistoryChange = [&](QObject* sender) {
    EXPECT_EQ(sender, &frame);
    ++changes;
  };
  std::vector<std::string> covered;
  frame.OnHotSpotTargetCovered = [&](QObject*, const std::string& target, const std::string& url) {
    covered.push_back(target + "|" + url);
  };
  std::string b = File("b.htm", "<title>B</title>page b");
  std::string a = File("a.htm", "<p>go to <a href=\"b.htm\" target=_self>page b</a>");
  std::string text = File("notes.txt", "<b>as written</b>");
  frame.LoadFromFile(a);
  ASSERT_EQ(frame.Viewers().size(), 1u);
  THTMLViewer& viewer = *frame.Viewers().front();
  EXPECT_EQ(viewer.DefBackground(), clWhite);
  EXPECT_EQ(viewer.DefOverLinkColor(), clRed);
  EXPECT_EQ(viewer.BorderStyle(), htFocused); // the set gives its frames a border
  EXPECT_EQ(viewer.htOptions(), htOverLinksActive | htNoLinkUnderline);
  viewer.PaintPanel()->repaint();
  TCanvas canvas;
  int32_t x = 0, y = 0;
  int32_t pos = viewer.SectionList()->SearchText(0, "page b", true);
  ASSERT_TRUE(viewer.SectionList()->CursorPoint(canvas, pos, x, y));
  QTest::mouseMove(viewer.PaintPanel(), QPoint(x + 3, y + 4));
  EXPECT_EQ(covered, (std::vector<std::string>{"_self|b.htm"}));
  QTest::mouseClick(viewer.PaintPanel(), Qt::LeftButton, {}, QPoint(x + 3, y + 4));
  EXPECT_EQ(frame.DocumentName(), b);
  EXPECT_TRUE(frame.BackButtonEnabled());
  frame.StepBack();
  EXPECT_EQ(frame.DocumentName(), a);
  EXPECT_TRUE(frame.FwdButtonEnabled());
  EXPECT_GE(changes, 2);
  frame.LoadFromFile(text);
  ASSERT_EQ(frame.Viewers().size(), 1u);
  EXPECT_EQ(frame.Viewers().front()->DocumentKind(), dkText);
  EXPECT_EQ(frame.DocumentText(), "<b>as written</b>");
  EXPECT_THROW(frame.LoadFromFile(dir.toStdString() + "/none.htm"), EViewerError);
  EXPECT_EQ(frame.DocumentName(), text);
}

} // namespace
