// The viewer under the mouse: link hover and cursors, following links, selecting and copying,
// word selection, visited links, right clicks and the two automatic scrolling modes.
#include "ViewerTestSupport.h"
#include "html/images/ImageResources.h"
#include "html/viewer/ScrollBar32.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <vector>

namespace {

using ViewerInteractionTest = ViewerFixture;

TEST_F(ViewerInteractionTest, HoverReportsLinksAndShowsTheirCursors)
{
  viewer.LoadFromFile(File("a.htm", "<p>Plain words <a href=\"b.htm\" target=right>the link</a>"
                                    "<p>More plain text"));
  std::vector<std::string> covered;
  viewer.OnHotSpotCovered = [&](QObject* sender, const std::string& src) {
    EXPECT_EQ(sender, &viewer);
    covered.push_back(src);
  };
  QPoint link = PointOfText("the link"), text = PointOfText("More"), empty(390, 290);
  struct Case {
    QPoint Where;
    int Cursor;
    std::vector<std::string> Covered;
  };
  const Case cases[] = {
      {link, crLinkHand, {"b.htm"}},
      {link + QPoint(3, 0), crLinkHand, {"b.htm"}}, // same link: no new report
      {text, -1, {"b.htm", ""}},
      {empty, 0, {"b.htm", ""}},
      {link, crLinkHand, {"b.htm", "", "b.htm"}},
  };
  for (const Case& c : cases) {
    QTest::mouseMove(Panel(), c.Where);
    EXPECT_EQ(viewer.ShownCursor(), c.Cursor) << c.Where.x() << "," << c.Where.y();
    EXPECT_EQ(covered, c.Covered) << c.Where.x() << "," << c.Where.y();
  }
  EXPECT_EQ(viewer.LinkURL(), "b.htm");
  EXPECT_EQ(viewer.LinkTarget(), "right");
}

TEST_F(ViewerInteractionTest, ClickOnAnAnchorLinkScrollsAndRecordsHistory)
{
  viewer.SetHistoryMaxCount(10);
  std::string page = File("a.htm", "<p><a href=\"#far\">Jump down</a>" + LongPage(80) +
                                       "<p><a name=far>Far away</a>" + LongPage(40));
  viewer.LoadFromFile(page);
  QPoint link = PointOfText("Jump down");
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, link);
  EXPECT_GT(viewer.VScrollPosition(), 0);
  EXPECT_LT(PointOfText("Far away").y(), 10);
  ASSERT_EQ(viewer.History().Count(), 2);
  EXPECT_EQ(viewer.History().Items(1).Position.Pos, 0);
  EXPECT_TRUE(viewer.Visited().Contains(page + "#far"));
  viewer.StepBack();
  EXPECT_EQ(viewer.VScrollPosition(), 0);
  EXPECT_EQ(viewer.LoadedFileName(), page);
}

TEST_F(ViewerInteractionTest, ClickOnALinkToAnotherFileLoadsIt)
{
  viewer.SetHistoryMaxCount(10);
  std::string other =
      File("sub/other.htm", "<title>Other</title>" + LongPage(60, "", "<a name=end>End</a>"));
  std::string page = File("a.htm", "<p>See <a href=\"sub/other.htm#End\">the other page</a>");
  viewer.LoadFromFile(page);
  bool clicked = false;
  viewer.OnHotSpotClick = [&](QObject*, const std::string& src, bool& handled) {
    EXPECT_EQ(src, "sub/other.htm#End");
    EXPECT_FALSE(handled);
    clicked = true;
  };
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("other page"));
  EXPECT_TRUE(clicked);
  EXPECT_EQ(viewer.LoadedFileName(), other);
  EXPECT_EQ(viewer.PageTitle(), "Other");
  EXPECT_GT(viewer.VScrollPosition(), 0);
  EXPECT_TRUE(viewer.Visited().Contains(other + "#End"));
  EXPECT_TRUE(viewer.BackButtonEnabled());
  viewer.StepBack();
  EXPECT_EQ(viewer.LoadedFileName(), page);
  // The link just followed is now drawn as visited.
  ASSERT_EQ(viewer.LinkStarts().size(), 1u);
  EXPECT_TRUE(viewer.LinkStarts()[0]->WasVisited);
}

TEST_F(ViewerInteractionTest, HandledClickIsNotFollowed)
{
  std::string page = File("a.htm", "<a href=\"b.htm\">go</a>");
  File("b.htm", "b");
  viewer.LoadFromFile(page);
  viewer.OnHotSpotClick = [](QObject*, const std::string&, bool& handled) { handled = true; };
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("go"));
  EXPECT_EQ(viewer.LoadedFileName(), page);
}

TEST_F(ViewerInteractionTest, DragSelectsAndCopiesToTheClipboard)
{
  viewer.LoadFromFile(File("a.htm", "<p>First paragraph here<p>Second one <a href=b.htm>link</a>"));
  QPoint from = PointOfText("paragraph"), to = PointOfText("one");
  QTest::mousePress(Panel(), Qt::LeftButton, {}, from - QPoint(3, 0));
  QTest::mouseMove(Panel(), to - QPoint(3, 0));
  QTest::mouseRelease(Panel(), Qt::LeftButton, {}, to - QPoint(3, 0));
  EXPECT_EQ(viewer.SelStart(), PositionOf("one"));
  EXPECT_EQ(viewer.SelLength(), PositionOf("paragraph") - PositionOf("one"));
  QGuiApplication::clipboard()->clear();
  viewer.CopySelected();
  QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("paragraph here")) << copied.toStdString();
  EXPECT_TRUE(copied.endsWith("Second ")) << copied.toStdString();
}

TEST_F(ViewerInteractionTest, WesternPunctuationCopiesAsUnicode)
{
  // References and raw bytes of 0x80-0x9F both stand for the Western code page's characters.
  viewer.LoadFromFile(File("a.htm", "<p>&#147;Hi&#148; &#150; wait&#133; \x93ok\x94 \x80 5\x99"));
  viewer.SetSelStart(0);
  viewer.SetSelLength(viewer.SectionList()->SearchText(0, "5", true) + 2);
  QGuiApplication::clipboard()->clear();
  viewer.CopySelected();
  EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(),
            QString::fromUtf8("\u201cHi\u201d \u2013 wait\u2026 \u201cok\u201d \u20ac 5\u2122"));
}

TEST_F(ViewerInteractionTest, ClickEndingWithASelectionDoesNotFollowTheLink)
{
  std::string page = File("a.htm", "<p>Some text <a href=\"b.htm\">a long link text</a>");
  File("b.htm", "b");
  viewer.LoadFromFile(page);
  QPoint start = PointOfText("Some"), end = PointOfText("long link");
  QTest::mousePress(Panel(), Qt::LeftButton, {}, start);
  QTest::mouseMove(Panel(), end);
  QTest::mouseRelease(Panel(), Qt::LeftButton, {}, end);
  EXPECT_NE(viewer.SelLength(), 0);
  EXPECT_EQ(viewer.LoadedFileName(), page);
}

TEST_F(ViewerInteractionTest, NoSelectDropsAndPreventsSelections)
{
  viewer.LoadFromFile(File("a.htm", "<p>Some words to select"));
  viewer.SetSelStart(2);
  viewer.SetSelLength(6);
  viewer.SetNoSelect(true);
  EXPECT_EQ(viewer.SelLength(), 0);
  QPoint a = PointOfText("Some"), b = PointOfText("select");
  QTest::mousePress(Panel(), Qt::LeftButton, {}, a);
  QTest::mouseMove(Panel(), b);
  QTest::mouseRelease(Panel(), Qt::LeftButton, {}, b);
  EXPECT_EQ(viewer.SelLength(), 0);
  QTest::mouseDClick(Panel(), Qt::LeftButton, {}, PointOfText("words"));
  EXPECT_EQ(viewer.SelLength(), 0);
}

TEST_F(ViewerInteractionTest, SelLengthSelectsForwardOrBackwardFromTheCaret)
{
  viewer.LoadFromFile(File("a.htm", "<p>" + std::string(60, 'x')));
  struct Case {
    int32_t Caret;
    int32_t Length;
    int32_t Start;
    int32_t End;
  };
  const Case cases[] = {{20, -5, 15, 20}, {20, 7, 20, 27}, {3, -10, 0, 3}, {8, 0, 8, 8}};
  for (const Case& c : cases) {
    viewer.SetSelStart(c.Caret);
    viewer.SetSelLength(c.Length);
    EXPECT_EQ(viewer.SectionList()->Document().SelStartPos, c.Start) << c.Caret << " " << c.Length;
    EXPECT_EQ(viewer.SectionList()->Document().SelEndPos, c.End) << c.Caret << " " << c.Length;
    EXPECT_EQ(viewer.SelStart(), c.Caret);
    EXPECT_EQ(viewer.SelLength(),
              c.End - c.Start == 0 ? 0 : (c.Length < 0 ? -(c.End - c.Start) : c.End - c.Start));
  }
}

TEST_F(ViewerInteractionTest, DoubleClickSelectsTheWordUnderTheMouse)
{
  viewer.LoadFromFile(File("a.htm", "<p>alpha snake_case d\xe9j\xe0vu 42x end"));
  std::vector<QPoint> doubles;
  viewer.OnMouseDouble = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                             int y) {
    EXPECT_EQ(button, Qt::LeftButton);
    doubles.push_back(QPoint(x, y));
  };
  struct Case {
    std::string ClickOn;
    std::string Word;
  };
  const Case cases[] = {{"ke_", "snake"},
                        {"case", "case"},
                        {"j\xe0", "d\xe9j\xe0vu"},
                        {"2x", "42x"},
                        {"alpha", "alpha"}};
  for (const Case& c : cases) {
    QTest::mouseDClick(Panel(), Qt::LeftButton, {}, PointOfText(c.ClickOn));
    int32_t start = PositionOf(c.Word);
    EXPECT_EQ(viewer.SectionList()->Document().SelStartPos, start) << c.ClickOn;
    EXPECT_EQ(viewer.SectionList()->Document().SelEndPos, start + int32_t(c.Word.size()))
        << c.ClickOn;
    EXPECT_EQ(viewer.SelStart(), start) << c.ClickOn;
  }
  EXPECT_EQ(doubles.size(), std::size(cases));
}

TEST_F(ViewerInteractionTest, WordSelectionStopsAtTheEdgeOfItsItem)
{
  struct Case {
    std::string Html;
    std::string ClickOn;
    std::string Word;
  };
  const Case cases[] = {
      {"<table><tr><td>abc</td><td>def</td></tr></table>", "abc", "abc"},
      {"<table><tr><td>abc</td><td>def</td></tr></table>", "ef", "def"},
      {"<table><tr><td>abc</td></tr><tr><td>def</td></tr></table>", "bc", "abc"},
      {"<table><tr><td><p>ghi<p>jkl</td></tr></table>", "ghi", "ghi"},
      {"<table><tr><td><p>ghi<p>jkl</td></tr></table>", "kl", "jkl"},
      {"<p>one<table><tr><td>two</td></tr></table>three", "one", "one"},
      {"<p>one<table><tr><td>two</td></tr></table>three", "tw", "two"},
  };
  for (const Case& c : cases) {
    viewer.LoadFromFile(File("a.htm", c.Html));
    std::string rightClicked;
    viewer.OnRightClick = [&](QObject*, const TRightClickParameters& p) {
      rightClicked = p.ClickedWord;
    };
    QPoint where = PointOfText(c.ClickOn);
    QTest::mouseDClick(Panel(), Qt::LeftButton, {}, where);
    int32_t start = PositionOf(c.Word);
    EXPECT_EQ(viewer.SectionList()->Document().SelStartPos, start) << c.Html << " at " << c.ClickOn;
    EXPECT_EQ(viewer.SectionList()->Document().SelEndPos, start + int32_t(c.Word.size()))
        << c.Html << " at " << c.ClickOn;
    QTest::mouseClick(Panel(), Qt::RightButton, {}, where);
    EXPECT_EQ(rightClicked, c.Word) << c.Html << " at " << c.ClickOn;
  }
}

TEST_F(ViewerInteractionTest, RightClickReportsLinkAndWord)
{
  viewer.LoadFromFile(File("a.htm", "<p>Some <a href=\"x.htm\" target=t>linked word</a>"));
  std::vector<TRightClickParameters> clicks;
  viewer.OnRightClick = [&](QObject*, const TRightClickParameters& p) { clicks.push_back(p); };
  QTest::mouseClick(Panel(), Qt::RightButton, {}, PointOfText("word"));
  QTest::mouseClick(Panel(), Qt::RightButton, {}, PointOfText("Some"));
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].URL, "x.htm");
  EXPECT_EQ(clicks[0].Target, "t");
  EXPECT_EQ(clicks[0].ClickedWord, "word");
  EXPECT_EQ(clicks[0].ClickedImage, nullptr);
  EXPECT_EQ(clicks[1].URL, "");
  EXPECT_EQ(clicks[1].ClickedWord, "Some");
}

TEST_F(ViewerInteractionTest, VisitedLinksAreMarkedAndUnmarkedWithTheLimit)
{
  std::string b = File("b.htm", "<a href=\"a.htm\">back</a>");
  std::string a = File("a.htm", "<a href=\"b.htm\">one</a> <a href=\"c.htm\">two</a>");
  File("c.htm", "c");
  viewer.LoadFromFile(a);
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("one"));
  ASSERT_EQ(viewer.LoadedFileName(), b);
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("back"));
  ASSERT_EQ(viewer.LoadedFileName(), a);
  ASSERT_EQ(viewer.LinkStarts().size(), 2u);
  EXPECT_TRUE(viewer.LinkStarts()[0]->WasVisited);
  EXPECT_FALSE(viewer.LinkStarts()[1]->WasVisited);
  EXPECT_EQ(viewer.Visited().Items(0), a);
  viewer.SetVisitedMaxCount(1);
  EXPECT_EQ(viewer.Visited().Count(), 1);
  viewer.SetVisitedMaxCount(0);
  EXPECT_EQ(viewer.Visited().Count(), 0);
  EXPECT_FALSE(viewer.LinkStarts()[0]->WasVisited);
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("two")); // list off: nothing kept
  EXPECT_EQ(viewer.Visited().Count(), 0);
}

TEST_F(ViewerInteractionTest, VisitedLinkIsDrawnInTheVisitedColour)
{
  viewer.SetDefVisitedLinkColor(clRed);
  viewer.SetDefHotSpotColor(clBlue);
  std::string a = File("a.htm", "<font size=7><a href=\"#here\">XXXX</a></font><a name=here>");
  viewer.LoadFromFile(a);
  auto countColour = [&](QRgb colour) {
    QImage shot = viewer.grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        n += (shot.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
  };
  EXPECT_GT(countColour(qRgb(0, 0, 255)), 50);
  EXPECT_EQ(countColour(qRgb(255, 0, 0)), 0);
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, PointOfText("XXXX"));
  EXPECT_GT(countColour(qRgb(255, 0, 0)), 50);
  EXPECT_EQ(countColour(qRgb(0, 0, 255)), 0);
}

// Releases the button once auto-scrolling has run for a while, noting what it showed then.
struct TLoopWatch {
  int Cursor = 0;
  int32_t Position = 0;
  bool Done = false;
};

TEST_F(ViewerInteractionTest, MiddleButtonModeScrollsBySteps)
{
  viewer.LoadFromFile(File("a.htm", LongPage(400)));
  struct Case {
    int Offset;
    int Step;
    int Cursor;
  };
  const Case cases[] = {{30, 8, crDownOnly}, {70, 32, crDownOnly}};
  for (const Case& c : cases) {
    viewer.SetVScrollPosition(0);
    QPoint anchor(100, 100);
    QTest::mousePress(Panel(), Qt::MiddleButton, {}, anchor);
    QTest::mouseRelease(Panel(), Qt::MiddleButton, {}, anchor); // same place: mode stays on
    EXPECT_EQ(viewer.ShownCursor(), crUpDown);
    TLoopWatch watch;
    QTimer::singleShot(350, &viewer, [&] {
      watch.Cursor = viewer.ShownCursor();
      watch.Position = viewer.VScrollPosition();
      QTest::keyClick(&viewer, Qt::Key_Escape); // any key ends the mode
      watch.Done = true;
    });
    QTest::mouseMove(Panel(), anchor + QPoint(0, c.Offset));
    QTRY_VERIFY_WITH_TIMEOUT(watch.Done, 10000);
    EXPECT_EQ(watch.Cursor, c.Cursor) << c.Offset;
    EXPECT_GT(watch.Position, 0) << c.Offset;
    EXPECT_EQ(watch.Position % c.Step, 0) << c.Offset;
    EXPECT_EQ(viewer.VScrollPosition() % c.Step, 0) << c.Offset;
    EXPECT_EQ(viewer.ShownCursor(), -1) << c.Offset;
  }
}

TEST_F(ViewerInteractionTest, DraggingBelowTheWindowScrollsAndExtendsTheSelection)
{
  viewer.LoadFromFile(File("a.htm", LongPage(400)));
  QPoint start = PointOfText("Line 1 ");
  QPoint below(start.x(), Panel()->height() + 30);
  TLoopWatch watch;
  QTimer::singleShot(350, &viewer, [&] {
    watch.Position = viewer.VScrollPosition();
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, below);
    watch.Done = true;
  });
  QTest::mousePress(Panel(), Qt::LeftButton, {}, start);
  QTest::mouseMove(Panel(), below);
  QTRY_VERIFY_WITH_TIMEOUT(watch.Done, 10000);
  EXPECT_GT(watch.Position, 0);
  EXPECT_EQ(watch.Position % 128, 0);
  EXPECT_EQ(viewer.SectionList()->Document().SelStartPos, PositionOf("Line 1 "));
  EXPECT_LT(viewer.SelLength(), 0); // the caret is at the far end
  EXPECT_GT(viewer.SectionList()->Document().SelEndPos, PositionOf("Line 12 "));
}

} // namespace
