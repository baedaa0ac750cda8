// The viewer control: properties and their rules, loading, the busy flag, anchors, reading
// positions, its history and the refresh request of a page.
#include "ViewerTestSupport.h"
#include "html/images/BitmapList.h"
#include "html/viewer/ScrollBar32.h"

#include <QCoreApplication>
#include <QTimer>
#include <sstream>
#include <vector>

namespace {

using HTMLViewerTest = ViewerFixture;

TEST_F(HTMLViewerTest, MarginsAreAcceptedOnlyFrom0To50)
{
  struct Case {
    int Value;
    int ExpectedWidth;
    int ExpectedHeight;
  };
  const Case cases[] = {{-1, 10, 5}, {0, 0, 0}, {50, 50, 50}, {51, 50, 50}, {7, 7, 7}};
  for (const Case& c : cases) {
    viewer.SetMarginWidth(c.Value);
    viewer.SetMarginHeight(c.Value);
    EXPECT_EQ(viewer.MarginWidth(), c.ExpectedWidth) << c.Value;
    EXPECT_EQ(viewer.MarginHeight(), c.ExpectedHeight) << c.Value;
  }
}

TEST_F(HTMLViewerTest, NumericPropertiesKeepTheirLimits)
{
  struct Case {
    int Value;
    int FontSize;
    int CacheCount;
    int VisitedMax;
  };
  const Case cases[] = {{5, 6, 5, 5}, {-3, 6, 0, 0}, {25, 25, 20, 25}, {12, 12, 12, 12}};
  for (const Case& c : cases) {
    viewer.SetDefFontSize(c.Value);
    viewer.SetImageCacheCount(c.Value);
    viewer.SetVisitedMaxCount(c.Value);
    EXPECT_EQ(viewer.DefFontSize(), c.FontSize) << c.Value;
    EXPECT_EQ(viewer.ImageCacheCount(), c.CacheCount) << c.Value;
    EXPECT_EQ(viewer.VisitedMaxCount(), c.VisitedMax) << c.Value;
  }
  EXPECT_EQ(BitmapList().MaxIdle, 12); // the shared cache follows the last accepted value
  viewer.SetHistoryMaxCount(4);
  viewer.SetHistoryMaxCount(-1);
  EXPECT_EQ(viewer.HistoryMaxCount(), 4);
  viewer.SetImageCacheCount(5);
}

TEST_F(HTMLViewerTest, DefaultsAsCreated)
{
  THTMLViewer fresh;
  EXPECT_EQ(fresh.width(), 150);
  EXPECT_EQ(fresh.height(), 150);
  EXPECT_EQ(fresh.DefFontName(), "Times New Roman");
  EXPECT_EQ(fresh.DefPreFontName(), "Courier New");
  EXPECT_EQ(fresh.DefFontSize(), 12);
  EXPECT_EQ(fresh.MarginWidth(), 10);
  EXPECT_EQ(fresh.MarginHeight(), 5);
  EXPECT_EQ(fresh.VisitedMaxCount(), 50);
  EXPECT_EQ(fresh.ImageCacheCount(), 5);
  EXPECT_EQ(fresh.HistoryMaxCount(), 0);
  EXPECT_EQ(fresh.BorderStyle(), htFocused);
  EXPECT_EQ(fresh.ScrollBars(), ssBoth);
  EXPECT_FALSE(fresh.ViewImages());
  EXPECT_EQ(fresh.DefBackground(), clBtnFace);
  EXPECT_EQ(fresh.DefHotSpotColor(), clBlue);
  EXPECT_EQ(fresh.DefVisitedLinkColor(), clPurple);
  EXPECT_DOUBLE_EQ(fresh.PrintMarginLeft, 2.0);
  EXPECT_FALSE(fresh.VScrollBar()->isVisibleTo(&fresh));
}

TEST_F(HTMLViewerTest, DefBackgroundColoursOnlyPagesWithoutTheirOwn)
{
  struct Case {
    std::string Body;
    TColor First; // the default set after loading
    TColor Then;  // and changed once more
    TColor Shown;
  };
  const TColor red = clRed | PaletteFlag, silver = clSilver | PaletteFlag;
  const Case cases[] = {
      {"<body>plain", clSilver, clYellow, clYellow},
      {"<body bgcolor=red>own", clSilver, clYellow, red},
      {"<body bgcolor=silver>own", clSilver, clYellow, silver}, // its own equals the default
      {"<body bgcolor=silver>own", clYellow, clSilver, silver},
      {"<body>plain again", clAqua, clLime, clLime}, // the next page forgets the last one's
  };
  for (const Case& c : cases) {
    viewer.LoadFromFile(File("a.htm", c.Body));
    viewer.SetDefBackground(c.First);
    viewer.SetDefBackground(c.Then);
    EXPECT_EQ(viewer.SectionList()->Document().PageColor, c.Shown) << c.Body;
    QImage shot = Panel()->grab().toImage();
    EXPECT_EQ(FromQColor(shot.pixelColor(shot.width() - 5, shot.height() - 5)), ColorToRGB(c.Shown))
        << c.Body;
  }
}

TEST_F(HTMLViewerTest, ServerRootIsTrimmedWithoutTrailingSeparator)
{
  viewer.SetServerRoot("  /srv/www/ \t");
  EXPECT_EQ(viewer.ServerRoot(), "/srv/www");
  File("srv/pages/a.htm", "x");
  viewer.SetServerRoot(dir.toStdString() + "/srv");
  EXPECT_EQ(viewer.ResolveSourceName("/pages/a.htm"), dir.toStdString() + "/srv/pages/a.htm");
}

TEST_F(HTMLViewerTest, FontSizeChangeRelaysTheDocument)
{
  viewer.LoadFromFile(File("a.htm", LongPage(20)));
  int32_t before = viewer.DocumentHeight();
  viewer.SetDefFontSize(24);
  EXPECT_GT(viewer.DocumentHeight(), before);
  viewer.SetDefFontSize(2); // taken as 6
  EXPECT_EQ(viewer.DefFontSize(), 6);
  EXPECT_LT(viewer.DocumentHeight(), before);
}

TEST_F(HTMLViewerTest, MarginChangeRelaysAndMovesTheText)
{
  viewer.LoadFromFile(File("a.htm", "<p>Margins"));
  int32_t height = viewer.DocumentHeight();
  QPoint before = PointOfText("Margins");
  viewer.SetMarginWidth(40);
  viewer.SetMarginHeight(30);
  QPoint after = PointOfText("Margins");
  EXPECT_EQ(after.x() - before.x(), 30);
  EXPECT_EQ(after.y() - before.y(), 25);
  EXPECT_EQ(viewer.DocumentHeight(), height + 50);
}

TEST_F(HTMLViewerTest, MissingFileLeavesThePreviousDocument)
{
  std::string a = File("a.htm", "<title>First</title>Text");
  viewer.LoadFromFile(a);
  std::string missing = dir.toStdString() + "/none.htm";
  struct Case {
    std::string Name;
  };
  const Case cases[] = {{missing}, {missing + "#part"}, {dir.toStdString()}};
  for (const Case& c : cases) {
    try {
      viewer.LoadFromFile(c.Name);
      ADD_FAILURE() << "no error for " << c.Name;
    } catch (const EViewerError& e) {
      std::string file = c.Name.substr(0, c.Name.find('#'));
      EXPECT_EQ(e.Message(), "Can't locate file: " + file);
    }
    EXPECT_FALSE(viewer.Processing());
    EXPECT_EQ(viewer.LoadedFileName(), a);
    EXPECT_EQ(viewer.PageTitle(), "First");
  }
}

TEST_F(HTMLViewerTest, ProcessingIsReportedAndBlocksLoadsAndMargins)
{
  std::string a = File("a.htm", "first"), b = File("b.htm", "second");
  std::vector<bool> reports;
  viewer.OnProcessing = [&](QObject* sender, bool on) {
    EXPECT_EQ(sender, &viewer);
    reports.push_back(on);
    if (on) {
      EXPECT_TRUE(viewer.Processing());
      viewer.LoadFromFile(b); // returns at once
      viewer.SetMarginWidth(33);
      viewer.Clear();
    }
  };
  viewer.LoadFromFile(a);
  EXPECT_EQ(reports, (std::vector<bool>{true, false}));
  EXPECT_EQ(viewer.LoadedFileName(), a);
  EXPECT_EQ(viewer.MarginWidth(), 10);
  EXPECT_GT(viewer.SectionList()->Count(), 0);
}

TEST_F(HTMLViewerTest, EmptyNameIsIgnored)
{
  int reports = 0;
  viewer.OnProcessing = [&](QObject*, bool) { ++reports; };
  viewer.LoadFromFile("");
  viewer.LoadPlainFile("");
  viewer.LoadImageFile("");
  EXPECT_EQ(reports, 0);
}

TEST_F(HTMLViewerTest, LoadsFromEverySource)
{
  std::string html = "<title>T</title><p>Alpha beta";
  std::istringstream stream(html);
  std::string text = File("t.txt", "<b>not bold</b>");
  viewer.LoadFromFile(File("a.htm", html));
  struct Case {
    std::function<void()> Load;
    std::string Search;
    std::string FileName;
    TDocKind Kind;
  };
  const Case cases[] = {
      {[&] {
         viewer.LoadLines({"<title>T</title>", "<p>Alpha", "beta"});
       },
       "Alpha", "", dkHTML},
      {[&] { viewer.LoadFromChars(html.data(), int32_t(html.size())); }, "beta", "", dkHTML},
      {[&] { viewer.LoadFromStream(stream); }, "Alpha", "", dkHTML},
      {[&] { viewer.LoadPlainLines({"<i>raw</i>"}); }, "<i>raw", "", dkText},
      {[&] { viewer.LoadPlainFile(text); }, "<b>not", text, dkText},
  };
  for (const Case& c : cases) {
    c.Load();
    EXPECT_GE(viewer.SectionList()->SearchText(0, c.Search, true), 0) << c.Search;
    EXPECT_EQ(viewer.LoadedFileName(), c.FileName) << c.Search;
    EXPECT_EQ(viewer.DocumentKind(), c.Kind) << c.Search;
  }
  viewer.LoadFromChars(nullptr, 100); // nothing to read, nothing read
  EXPECT_EQ(viewer.SectionList()->SearchText(0, "Alpha", true), -1);
}

TEST_F(HTMLViewerTest, ClearResetsTheDocumentAndStopsSound)
{
  std::vector<std::string> sounds;
  viewer.OnSoundRequest = [&](QObject*, const std::string& src, int loop, bool terminate) {
    sounds.push_back(src + "/" + std::to_string(loop) + "/" + (terminate ? "stop" : "play"));
  };
  viewer.SetHostBase("/base/");
  viewer.LoadFromFile(File("a.htm", "<title>T</title><bgsound src=s.wav loop=2>" + LongPage(50)));
  EXPECT_EQ(sounds, (std::vector<std::string>{"/0/stop", "s.wav/2/play"}));
  viewer.SetVScrollPosition(100);
  viewer.Clear();
  EXPECT_EQ(sounds.back(), "/0/stop");
  EXPECT_EQ(viewer.SectionList()->Count(), 0);
  EXPECT_TRUE(viewer.PageTitle().empty());
  EXPECT_TRUE(viewer.LoadedFileName().empty());
  EXPECT_TRUE(viewer.BaseURL().empty());
  EXPECT_EQ(viewer.VScrollPosition(), 0);
  EXPECT_FALSE(viewer.VScrollBar()->isVisible());
}

TEST_F(HTMLViewerTest, TitleAndBaseComeFromTheDocumentOrTheHost)
{
  viewer.SetHostBase("/host/");
  viewer.LoadFromFile(File("a.htm", "<title>Page</title>x"));
  EXPECT_EQ(viewer.PageTitle(), "Page");
  EXPECT_EQ(viewer.BaseURL(), "/host/");
  viewer.LoadFromFile(File("b.htm", "<base href=\"/elsewhere/\" target=side>x"));
  EXPECT_EQ(viewer.BaseURL(), "/elsewhere/");
  EXPECT_EQ(viewer.BaseTarget(), "side");
}

TEST_F(HTMLViewerTest, AnchorInTheFileNameScrollsInAnyCase)
{
  std::string page = File("a.htm", LongPage(60, "", "<a name=Intro>Intro here</a>" + LongPage(60)));
  struct Case {
    std::string Suffix;
    bool AtAnchor;
  };
  const Case cases[] = {{"#intro", true}, {"#INTRO", true}, {"#nothere", false}, {"", false}};
  for (const Case& c : cases) {
    viewer.LoadFromFile(page + c.Suffix);
    if (c.AtAnchor) {
      EXPECT_GT(viewer.VScrollPosition(), 0) << c.Suffix;
      QPoint p = PointOfText("Intro here");
      EXPECT_LT(p.y(), 10) << c.Suffix; // the anchor line is at the window top
    } else {
      EXPECT_EQ(viewer.VScrollPosition(), 0) << c.Suffix;
    }
  }
  EXPECT_FALSE(viewer.ScrollToAnchor(""));
  EXPECT_FALSE(viewer.ScrollToAnchor("#"));
  EXPECT_TRUE(viewer.ScrollToAnchor("Intro"));
}

TEST_F(HTMLViewerTest, ShortDocumentHasNoBarAndResizeGoesToTheTop)
{
  viewer.LoadFromFile(File("short.htm", "<p>Only a line"));
  EXPECT_FALSE(viewer.VScrollBar()->isVisible());
  viewer.LoadFromFile(File("long.htm", LongPage(100)));
  EXPECT_TRUE(viewer.VScrollBar()->isVisible());
  viewer.SetVScrollPosition(200);
  EXPECT_EQ(viewer.VScrollPosition(), 200);
  viewer.resize(400, viewer.DocumentHeight() + 50);
  EXPECT_EQ(viewer.VScrollPosition(), 0);
  EXPECT_FALSE(viewer.VScrollBar()->isVisible());
}

TEST_F(HTMLViewerTest, WidthChangeKeepsTheTopSectionInPlace)
{
  std::string words;
  for (int i = 0; i < 40; ++i)
    words += "word" + std::to_string(i) + " ";
  std::string page = "<body>";
  for (int i = 0; i < 60; ++i)
    page += "<p>Para" + std::to_string(i) + " " + words;
  viewer.LoadFromFile(File("wide.htm", page));
  viewer.SetVScrollPosition(PointOfText("Para30").y() - 4 + 20);
  int32_t reading = viewer.ReadingPosition();
  int32_t height = viewer.DocumentHeight();
  viewer.resize(250, 300);
  EXPECT_GT(viewer.DocumentHeight(), height);
  EXPECT_EQ(viewer.ReadingPosition(), reading);
  TSectionBase* top = viewer.SectionList()->Items(reading >> 16);
  EXPECT_EQ(viewer.VScrollPosition(), top->TopY + (reading & 0xFFFF));
}

TEST_F(HTMLViewerTest, ReadingPositionEncodesSectionAndOffset)
{
  viewer.LoadFromFile(File("a.htm", LongPage(100)));
  TSectionList& list = *viewer.SectionList();
  TSectionBase* tenth = list.Items(10);
  viewer.SetVScrollPosition(tenth->TopY + 3);
  EXPECT_EQ(viewer.ReadingPosition(), 10 * 65536 + 3);
  viewer.SetReadingPosition(-5);
  EXPECT_EQ(viewer.VScrollPosition(), tenth->TopY + 3);
  viewer.SetReadingPosition(list.Count() * 65536);
  EXPECT_EQ(viewer.VScrollPosition(), tenth->TopY + 3);
  viewer.SetReadingPosition(12 * 65536 + 1);
  EXPECT_EQ(viewer.VScrollPosition(), list.Items(12)->TopY + 1);
  viewer.SetVScrollPosition(-40);
  EXPECT_EQ(viewer.VScrollPosition(), 0);
  viewer.SetVScrollPosition(1 << 30);
  EXPECT_EQ(viewer.VScrollPosition(), viewer.DocumentHeight() - Panel()->height());
}

TEST_F(HTMLViewerTest, HistoryKeepsTheLastEntriesAndEmptiesWhenMadeSmaller)
{
  int changes = 0;
  viewer.OnHistoryChange = [&](QObject*) { ++changes; };
  viewer.SetHistoryMaxCount(3);
  std::vector<std::string> files;
  for (int i = 0; i < 5; ++i) {
    files.push_back(File("p" + std::to_string(i) + ".htm", "page " + std::to_string(i)));
    viewer.LoadFromFile(files.back());
  }
  ASSERT_EQ(viewer.History().Count(), 3);
  EXPECT_EQ(viewer.History().Items(0).Name, files[4]);
  EXPECT_EQ(viewer.History().Items(2).Name, files[2]);
  int before = changes;
  viewer.SetHistoryMaxCount(2);
  EXPECT_EQ(viewer.History().Count(), 0);
  EXPECT_EQ(changes, before + 1);
}

TEST_F(HTMLViewerTest, SameFileRecordsNoHistoryButAnotherKindDoes)
{
  int changes = 0;
  viewer.OnHistoryChange = [&](QObject*) { ++changes; };
  viewer.SetHistoryMaxCount(10);
  std::string a = File("a.htm", "aaa");
  viewer.LoadFromFile(a);
  viewer.LoadFromFile(a);
  EXPECT_EQ(viewer.History().Count(), 1);
  viewer.LoadPlainFile(a);
  EXPECT_EQ(viewer.History().Count(), 2);
  EXPECT_EQ(viewer.History().Items(0).Position.FileType, dkText);
  EXPECT_EQ(changes, 2);
}

TEST_F(HTMLViewerTest, BackAndForwardRestoreFileAndPosition)
{
  viewer.SetHistoryMaxCount(10);
  std::string a = File("a.htm", LongPage(100)), b = File("b.htm", LongPage(80));
  viewer.LoadFromFile(a);
  viewer.SetVScrollPosition(300);
  int32_t positionA = viewer.ReadingPosition();
  viewer.LoadFromFile(b);
  viewer.SetVScrollPosition(120);
  int32_t positionB = viewer.ReadingPosition();
  EXPECT_TRUE(viewer.BackButtonEnabled());
  EXPECT_FALSE(viewer.FwdButtonEnabled());
  viewer.StepBack();
  EXPECT_EQ(viewer.LoadedFileName(), a);
  EXPECT_EQ(viewer.ReadingPosition(), positionA);
  EXPECT_FALSE(viewer.BackButtonEnabled());
  EXPECT_TRUE(viewer.FwdButtonEnabled());
  viewer.StepForward();
  EXPECT_EQ(viewer.LoadedFileName(), b);
  EXPECT_EQ(viewer.ReadingPosition(), positionB);
  viewer.StepBack();
  viewer.LoadFromFile(File("c.htm", "c")); // drops b, the forward entry
  EXPECT_FALSE(viewer.FwdButtonEnabled());
  ASSERT_EQ(viewer.History().Count(), 2);
  EXPECT_EQ(viewer.History().Items(1).Name, a);
}

TEST_F(HTMLViewerTest, ClearHistoryReportsOnlyWhenSomethingWasThere)
{
  int changes = 0;
  viewer.OnHistoryChange = [&](QObject*) { ++changes; };
  viewer.ClearHistory();
  EXPECT_EQ(changes, 0);
  viewer.SetHistoryMaxCount(5);
  viewer.LoadFromFile(File("a.htm", "a"));
  EXPECT_EQ(changes, 1);
  viewer.ClearHistory();
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(viewer.BackButtonEnabled());
}

TEST(HTMLViewerRefresh, ContentGivesDelayAndUrl)
{
  struct Case {
    std::string Content;
    bool Reported;
    int Delay;
    std::string Url;
  };
  const Case cases[] = {
      {"0;url=next.htm", true, 1, "next.htm"},
      {"0; URL=Next.htm", true, 1, "Next.htm"},
      {"5", true, 5, ""},
      {" 7 ; junk", true, 7, ""},
      {"soon; url=x.htm", false, 0, ""},
      {"-2; url=x.htm", false, 0, ""},
      {"", false, 0, ""},
  };
  for (const Case& c : cases) {
    int delay = 0;
    std::string url;
    EXPECT_EQ(THTMLViewer::ParseRefresh(c.Content, delay, url), c.Reported) << c.Content;
    if (c.Reported) {
      EXPECT_EQ(delay, c.Delay) << c.Content;
      EXPECT_EQ(url, c.Url) << c.Content;
    }
  }
}

TEST_F(HTMLViewerTest, MetaRefreshIsReportedAfterTheLoadAndCanBeFollowed)
{
  std::string next = File("next.htm", "<title>Next</title>arrived");
  std::string first = File("first.htm", "<meta http-equiv=\"Refresh\" content=\"0;url=next.htm\">"
                                        "<title>First</title>waiting");
  std::vector<std::string> metas;
  viewer.OnMeta = [&](QObject*, const std::string& httpEq, const std::string&,
                      const std::string& content) { metas.push_back(httpEq + "=" + content); };
  std::vector<std::string> order;
  viewer.OnMetaRefresh = [&](QObject* sender, int delay, const std::string& url) {
    EXPECT_EQ(sender, &viewer);
    EXPECT_EQ(delay, 1);
    EXPECT_FALSE(viewer.Processing());
    order.push_back("refresh " + url + " after " + viewer.PageTitle());
    // The host follows the request a little later, as a refresh timer would.
    QTimer::singleShot(delay * 20, &viewer,
                       [this, url] { viewer.LoadFromFile(viewer.ResolveSourceName(url)); });
  };
  viewer.LoadFromFile(first);
  EXPECT_EQ(metas, (std::vector<std::string>{"Refresh=0;url=next.htm"}));
  ASSERT_EQ(order, (std::vector<std::string>{"refresh next.htm after First"}));
  EXPECT_EQ(viewer.LoadedFileName(), first);
  QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(viewer.PageTitle()), QString("Next"), 10000);
  EXPECT_EQ(viewer.LoadedFileName(), next);
  EXPECT_EQ(viewer.MetaRefreshDelay(), 0);
}

TEST_F(HTMLViewerTest, FormSubmissionIsDeferredUntilTheEventIsOver)
{
  std::vector<std::string> order;
  viewer.OnFormSubmit = [&](QObject* sender, const std::string& action, const std::string& target,
                            const std::string& encType, const std::string& method,
                            std::vector<std::string> results) {
    EXPECT_EQ(sender, &viewer);
    order.push_back("submit " + action + " " + target + " " + encType + " " + method + " " +
                    results.at(0) + " " + results.at(1));
  };
  viewer.SubmitForm("save.txt", "_top", "text/plain", "post", {"a=1", "b=2"});
  order.push_back("click over");
  QCoreApplication::sendPostedEvents(&viewer, WM_FORMSUBMIT);
  EXPECT_EQ(order, (std::vector<std::string>{"click over",
                                             "submit save.txt _top text/plain post a=1 b=2"}));
  viewer.OnFormSubmit = nullptr;
  viewer.SubmitForm("x", "", "", "", {}); // nobody listens: nothing is posted
  QCoreApplication::sendPostedEvents(&viewer, WM_FORMSUBMIT);
  EXPECT_EQ(order.size(), 2u);
}

TEST_F(HTMLViewerTest, OneLineScrollPaintsOnlyTheUncoveredStrip)
{
  viewer.LoadFromFile(File("a.htm", LongPage(100)));
  Paint();
  QCoreApplication::processEvents();
  TPaintPanel* panel = viewer.PaintPanel();
  struct Case {
    int Key;
    int MaxRows;
  };
  const Case cases[] = {{Qt::Key_Down, 16}, {Qt::Key_Up, 16}, {Qt::Key_PageDown, 1000}};
  for (const Case& c : cases) {
    panel->PaintedRows = 0;
    int32_t before = viewer.VScrollPosition();
    QTest::keyClick(&viewer, Qt::Key(c.Key));
    QCoreApplication::processEvents();
    EXPECT_NE(viewer.VScrollPosition(), before) << c.Key;
    EXPECT_GT(panel->PaintedRows, 0) << c.Key;
    EXPECT_LE(panel->PaintedRows, c.MaxRows) << c.Key;
  }
}

TEST_F(HTMLViewerTest, KeysAndWheelScrollWithinTheDocument)
{
  viewer.LoadFromFile(File("a.htm", LongPage(100)));
  int32_t bottom = viewer.DocumentHeight() - Panel()->height();
  int32_t page = Panel()->height() - 16;
  struct Case {
    std::function<void()> Act;
    int32_t Expected;
  };
  const Case cases[] = {
      {[&] { QTest::keyClick(&viewer, Qt::Key_Down); }, 16},
      {[&] { QTest::keyClick(&viewer, Qt::Key_PageDown); }, 16 + page},
      {[&] { QTest::keyClick(&viewer, Qt::Key_Up); }, page},
      {[&] { QTest::keyClick(&viewer, Qt::Key_End); }, bottom},
      {[&] { QTest::keyClick(&viewer, Qt::Key_Home); }, 0},
      {[&] { QTest::keyClick(&viewer, Qt::Key_Up); }, 0},
      {[&] {
         QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240),
                           Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QCoreApplication::sendEvent(&viewer, &wheel);
       },
       120},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cases[i].Act();
    EXPECT_EQ(viewer.VScrollPosition(), cases[i].Expected) << i;
    EXPECT_EQ(viewer.VScrollBar()->value(), cases[i].Expected) << i;
  }
}

} // namespace
