#include "FramesTestSupport.h"
#include "html/viewer/FrameDump.h"

#include <numeric>
#include <sstream>

namespace {

struct TwoFrames : FramesFixture {
  TwoFrames()
  {
    File("a.htm", "<title>A</title><p><a href=\"b.htm\">to b</a>"
                  "<p><a href=\"c.htm\" target=\"right\">c on the right</a>"
                  "<p><a href=\"d.htm\" target=\"_top\">d on top</a>"
                  "<p><a href=\"c.htm\" target=\"_blank\">c blank</a>"
                  "<p><a href=\"c.htm\" target=\"nowhere\">c nowhere</a>"
                  "<p><a href=\"c.htm\" target=\"_parent\">c parent</a>"
                  "<p><a href=\"c.htm\" target=\"_self\">c self</a>");
    File("b.htm", LongPage("B", 200) + "<p><a href=\"a.htm\">back to a</a>");
    File("c.htm", LongPage("C", 200));
    File("d.htm", "<title>D</title><p>plain d");
    set = File("set.htm", "<title>Two</title><frameset cols=\"200,*\">"
                          "<frame name=left src=a.htm><frame name=right src=b.htm></frameset>");
    viewer.SetHistoryMaxCount(10);
    viewer.LoadFromFile(set);
  }
  std::string set;
};

TEST_F(TwoFrames, LinkTargetsChooseTheFrame)
{
  struct Case {
    const char* Link;
    const char* Left; // source of the left frame after the click, "" when the set is gone
    const char* Right;
    const char* Document;
    const char* Blank; // target the blank window request got
  };
  const Case cases[] = {
      {"to b", "b.htm", "b.htm", "set.htm", ""},
      {"c on the right", "a.htm", "c.htm", "set.htm", ""},
      {"c self", "c.htm", "b.htm", "set.htm", ""},
      {"c parent", "", "", "c.htm", ""}, // the set is the top: the whole window
      {"d on top", "", "", "d.htm", ""},
      {"c blank", "a.htm", "b.htm", "set.htm", "_blank"},
      {"c nowhere", "a.htm", "b.htm", "set.htm", "nowhere"},
  };
  for (const Case& c : cases) {
    viewer.LoadFromFile(Path("d.htm"));
    viewer.LoadFromFile(set);
    std::string blank;
    viewer.OnBlankWindowRequest = [&](QObject*, const std::string& target, const std::string& url) {
      blank = target;
      EXPECT_EQ(url, "c.htm");
    };
    Click(Named("LEFT"), c.Link);
    EXPECT_EQ(viewer.DocumentName(), Path(c.Document)) << c.Link;
    if (*c.Left) {
      ASSERT_NE(Named("LEFT"), nullptr) << c.Link;
      EXPECT_EQ(Named("LEFT")->Source, Path(c.Left)) << c.Link;
      EXPECT_EQ(Named("RIGHT")->Source, Path(c.Right)) << c.Link;
    }
    EXPECT_EQ(blank, c.Blank) << c.Link;
  }
}

TEST_F(TwoFrames, UnknownTargetsDoNothingWithoutABlankWindowHandler)
{
  Click(Named("LEFT"), "c nowhere");
  EXPECT_EQ(Named("LEFT")->Source, Path("a.htm"));
  EXPECT_EQ(Named("RIGHT")->Source, Path("b.htm"));
  EXPECT_FALSE(viewer.FwdButtonEnabled());
}

TEST_F(TwoFrames, BackUndoesTheNewestFrameStepFirstAndRestoresPositions)
{
  THTMLViewer* right = Named("RIGHT")->Viewer();
  right->SetVScrollPosition(900);
  const int32_t shownPosition = right->ReadingPosition();
  ASSERT_GT(shownPosition, 0);
  Click(Named("LEFT"), "c on the right"); // the right frame: b -> c
  EXPECT_EQ(Named("RIGHT")->Source, Path("c.htm"));
  Click(Named("LEFT"), "to b"); // the left frame: a -> b
  EXPECT_EQ(Named("LEFT")->Source, Path("b.htm"));
  struct Step {
    bool Back;
    const char* Left;
    const char* Right;
  };
  const Step steps[] = {{true, "a.htm", "c.htm"},  {true, "a.htm", "b.htm"},
                        {false, "a.htm", "c.htm"}, {false, "b.htm", "c.htm"},
                        {true, "a.htm", "c.htm"},  {true, "a.htm", "b.htm"}};
  for (const Step& s : steps) {
    if (s.Back)
      viewer.StepBack();
    else
      viewer.StepForward();
    EXPECT_EQ(Named("LEFT")->Source, Path(s.Left));
    EXPECT_EQ(Named("RIGHT")->Source, Path(s.Right));
  }
  // Back at b in the right frame, where the reader had left it.
  EXPECT_EQ(Named("RIGHT")->Viewer()->ReadingPosition(), shownPosition);
  EXPECT_TRUE(viewer.FwdButtonEnabled());
}

TEST_F(TwoFrames, BackLeavesTheFramesetForThePreviousDocument)
{
  viewer.LoadFromFile(Path("d.htm"));
  viewer.LoadFromFile(set);
  Click(Named("LEFT"), "c on the right");
  viewer.StepBack(); // the frame step
  EXPECT_EQ(viewer.DocumentName(), set);
  viewer.StepBack(); // the previous document
  EXPECT_EQ(viewer.DocumentName(), Path("d.htm"));
  viewer.StepForward();
  EXPECT_EQ(viewer.DocumentName(), set);
  EXPECT_EQ(Named("RIGHT")->Source, Path("b.htm"));
}

TEST_F(TwoFrames, VisitedLinksAreSharedByAllFrames)
{
  Click(Named("LEFT"), "c on the right");
  EXPECT_TRUE(viewer.Visited().Contains(Path("c.htm")));
  // The same link in the left frame is now drawn as visited.
  bool marked = false;
  for (TFontObj* link : Named("LEFT")->Viewer()->LinkStarts())
    if (link->Link().Url == "c.htm")
      marked = marked || link->WasVisited;
  EXPECT_TRUE(marked);
}

TEST_F(FramesFixture, APlainDocumentIsASetOfOneFrameAndItsLinksReplaceIt)
{
  std::string a = File("a.htm", "<title>A</title><a href=\"b.htm\">go to b</a>");
  std::string b = File("b.htm", "<title>B</title>b text");
  viewer.SetHistoryMaxCount(10);
  viewer.LoadFromFile(a);
  ASSERT_EQ(viewer.CurFrameSet()->FrameList.size(), 1u);
  EXPECT_EQ(viewer.DocumentTitle(), "A");
  TFrame* only = viewer.CurFrameSet()->FrameList.front();
  Click(only, "go to b");
  EXPECT_EQ(viewer.DocumentName(), b);
  EXPECT_EQ(viewer.HistoryCount(), 2);
  viewer.StepBack();
  EXPECT_EQ(viewer.DocumentName(), a);
}

TEST_F(FramesFixture, FramesThatIncludeTheirOwnSetStopAtAFixedDepth)
{
  struct Case {
    const char* Name;
    std::string Html;
  };
  const Case cases[] = {
      {"self.htm", "<frameset rows=\"*,*\"><frame src=self.htm><frame src=leaf.htm></frameset>"},
      {"wide.htm", "<frameset cols=\"*,*,*,*,*,*,*,*,*,*,*,*,*,*,*,*,*,*,*,*\">" +
                       [] {
                         std::string f;
                         for (int i = 0; i < 20; ++i)
                           f += "<frame src=wide.htm>";
                         return f;
                       }() +
                       "</frameset>"},
      {"ping.htm", "<frameset cols=\"*,*\"><frame src=pong.htm><frame src=leaf.htm></frameset>"},
  };
  File("pong.htm", "<frameset rows=\"*,*\"><frame src=ping.htm><frame src=leaf.htm></frameset>");
  File("leaf.htm", "<title>leaf</title>leaf");
  for (const Case& c : cases) {
    viewer.LoadFromFile(File(c.Name, c.Html));
    int frames = 0, empty = 0;
    std::function<void(TSubFrameSet*, int)> walk = [&](TSubFrameSet* set, int depth) {
      EXPECT_LE(depth, TFrameSet::MaxLoadDepth) << c.Name;
      for (TFrameBase* child : set->List)
        if (auto* f = dynamic_cast<TFrame*>(child)) {
          ++frames;
          empty += !f->Viewer() && !f->FrameSet();
          if (f->FrameSet())
            walk(f->FrameSet(), depth + 1);
        }
    };
    walk(viewer.CurFrameSet(), 0);
    EXPECT_LE(frames, TFrameSet::MaxFrames) << c.Name;
    EXPECT_GT(empty, 0) << c.Name; // the innermost self-references stay empty
  }
}

TEST_F(FramesFixture, AMissingFrameShowsTheMessageAndTheOthersLoad)
{
  File("ok.htm", "<title>ok</title>fine text");
  viewer.LoadFromFile(File("set.htm", "<frameset cols=\"*,*\"><frame name=a src=missing.htm>"
                                      "<frame name=b src=ok.htm></frameset>"));
  ASSERT_NE(Named("A")->Viewer(), nullptr);
  std::string text = Named("A")->Viewer()->SectionList()->Count() > 0
                         ? viewer.DocumentText().toStdString()
                         : std::string();
  EXPECT_NE(text.find("Can't load " + Path("missing.htm")), std::string::npos);
  EXPECT_NE(text.find("fine text"), std::string::npos);
}

TEST_F(FramesFixture, FrameSizesFillTheWindowExactly)
{
  struct Case {
    const char* Html;
    int Count;
    bool Rows;
  };
  const Case cases[] = {
      {"<frameset cols=\"33%,33%,*\"><frame><frame><frame></frameset>", 3, false},
      {"<frameset rows=\"7,13,2*,5%\"><frame><frame><frame><frame></frameset>", 4, true},
      {"<frameset rows=\"3000,3000\"><frame><frame></frameset>", 2, true},
      {"<frameset cols=\"*\"><frame><frame><frame></frameset>", 3, false},
      {"<frameset rows=\"*\" cols=\"*,*\"><frame><frame></frameset>", 2, false},
      {"<frameset cols=\"99999999999999999999999999,*\"><frame><frame></frameset>", 2, false},
  };
  for (int width : {800, 801, 643}) {
    viewer.resize(width, 599);
    for (const Case& c : cases) {
      viewer.LoadFromFile(File("f.htm", c.Html));
      TFrameSet* set = viewer.CurFrameSet();
      ASSERT_EQ(int(set->List.size()), c.Count) << c.Html;
      EXPECT_EQ(set->Rows, c.Rows) << c.Html;
      int sum = 0, last = 0;
      for (TFrameBase* child : set->List) {
        QRect g = child->geometry();
        EXPECT_EQ(c.Rows ? g.top() : g.left(), last) << c.Html;
        last = c.Rows ? g.bottom() + 1 : g.right() + 1;
        sum += c.Rows ? g.height() : g.width();
      }
      EXPECT_EQ(sum, c.Rows ? set->height() : set->width()) << c.Html << " at " << width;
    }
  }
}

TEST_F(FramesFixture, MoreFramesThanEntriesNeverOverrunTheTable)
{
  std::string html = "<frameset cols=\"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22\">";
  for (int i = 0; i < 30; ++i)
    html += "<frame>";
  viewer.LoadFromFile(File("many.htm", html + "</frameset>"));
  TFrameSet* set = viewer.CurFrameSet();
  EXPECT_EQ(set->List.size(), 30u);
  EXPECT_EQ(set->Dim.size(), 30u); // 20 read, one share each for the rest
  EXPECT_EQ(set->Dim[19], 20);
  EXPECT_EQ(set->Dim[20], -1);
}

TEST_F(FramesFixture, BordersNextToANoResizeFrameCannotBeDragged)
{
  viewer.LoadFromFile(File("set.htm", "<frameset cols=\"200,200,*\"><frame name=a>"
                                      "<frame name=b noresize><frame name=c></frameset>"));
  TFrameSet* set = viewer.CurFrameSet();
  ASSERT_EQ(set->Ends.size(), 3u);
  EXPECT_EQ(set->BorderAt(QPoint(set->Ends[0], 10)), -1);
  EXPECT_EQ(set->BorderAt(QPoint(set->Ends[1], 10)), -1);
  viewer.LoadFromFile(File("set2.htm", "<frameset cols=\"200,*\"><frame><frame></frameset>"));
  set = viewer.CurFrameSet();
  EXPECT_EQ(set->BorderAt(QPoint(203, 10)), 0);
  EXPECT_EQ(set->BorderAt(QPoint(210, 10)), -1);
  // Dragged to 300 the first column takes 300 of 800, and keeps its share when resized.
  ASSERT_TRUE(set->FVMouseDown(QPoint(200, 10)));
  ASSERT_TRUE(set->FVMouseUp(QPoint(300, 10)));
  EXPECT_EQ(set->List[0]->width(), 300);
  viewer.resize(400, 600);
  EXPECT_EQ(set->List[0]->width(), 150);
}

TEST_F(FramesFixture, TheDragLineInvertsWhatItCovers)
{
  File("red.htm", "<body bgcolor=\"#ff0000\">");
  File("blue.htm", "<body bgcolor=\"#0000ff\">");
  viewer.LoadFromFile(File(
      "set.htm", "<frameset cols=\"400,*\"><frame src=red.htm><frame src=blue.htm></frameset>"));
  TFrameSet* set = viewer.CurFrameSet();
  ASSERT_EQ(set->InnerGap, 0);
  const QImage before = set->grab().toImage();
  auto inverted = [](QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); };
  ASSERT_TRUE(set->FVMouseDown(QPoint(400, 10)));
  struct TStep {
    int MouseX;
    int LineX; // the first of the line's two columns
  };
  // Over each frame, and clamped one pixel inside the set when moved past its edge.
  const TStep steps[] = {{100, 99}, {600, 599}, {-50, 0}};
  for (const TStep& step : steps) {
    set->FVMouseMove(QPoint(step.MouseX, 10), Qt::LeftButton);
    const QImage during = set->grab().toImage();
    for (int y : {5, 300, 590}) {
      EXPECT_EQ(during.pixel(step.LineX, y), inverted(before.pixel(step.LineX, y))) << step.MouseX;
      EXPECT_EQ(during.pixel(step.LineX + 1, y), inverted(before.pixel(step.LineX + 1, y)))
          << step.MouseX;
      EXPECT_EQ(during.pixel(step.LineX + 2, y), before.pixel(step.LineX + 2, y)) << step.MouseX;
    }
    // Where the line was before is shown as it was.
    EXPECT_EQ(during.pixel(400, 300), before.pixel(400, 300));
  }
  set->FVMouseUp(QPoint(300, 10));
  EXPECT_EQ(set->List[0]->width(), 300);
}

TEST_F(FramesFixture, FramesShowTheirDocumentsInTheCharsetOfTheirSet)
{
  // Charset codes: windows-1251 is 204, iso-8859-7 161; the frame viewer's own here is 238.
  const std::string cyrillic = "<meta http-equiv=content-type content=\"text/html; "
                               "charset=windows-1251\">";
  const std::string greek = "<meta http-equiv=content-type content=\"text/html; "
                            "charset=iso-8859-7\">";
  File("a.htm", "a");
  File("g.htm", greek + "g"); // its own charset applies inside the document, not to the frame
  File("inner.htm", "<frameset rows=\"*,*\"><frame name=ia src=a.htm><frame src=a.htm></frameset>");
  File("inner7.htm", greek + "<frameset rows=\"*,*\"><frame name=ja src=a.htm>"
                             "<frame src=a.htm></frameset>");
  const std::string frames = "<frameset cols=\"*,*,*,*\"><frame name=a src=a.htm>"
                             "<frame name=g src=g.htm><frameset rows=\"*,*\"><frame name=n "
                             "src=a.htm></frameset><frame name=in src=inner.htm>"
                             "<frame name=in7 src=inner7.htm></frameset>";
  viewer.SetCharSet(238);
  viewer.LoadFromFile(File("set.htm", cyrillic + frames));
  struct TCase {
    const char* Frame;
    int CharSet;
  };
  const TCase cases[] = {{"A", 204}, {"G", 204}, {"N", 204}, {"IA", 204}, {"JA", 161}};
  for (const TCase& c : cases) {
    ASSERT_NE(Named(c.Frame), nullptr) << c.Frame;
    ASSERT_NE(Named(c.Frame)->Viewer(), nullptr) << c.Frame;
    EXPECT_EQ(Named(c.Frame)->Viewer()->CharSet(), c.CharSet) << c.Frame;
  }
  // Without a charset of its own a set leaves the frame viewer's; a set's META is read only
  // with META refresh on.
  viewer.LoadFromFile(File("plain.htm", frames));
  EXPECT_EQ(Named("A")->Viewer()->CharSet(), 238);
  viewer.SetfvOptions(fvOverLinksActive);
  viewer.LoadFromFile(File("set2.htm", cyrillic + frames));
  EXPECT_EQ(Named("A")->Viewer()->CharSet(), 238);
}

TEST_F(FramesFixture, DumpShowsTheTreeWithSizesAndTitles)
{
  File("l.htm", "<title>Left</title>l");
  File("t.htm", "<title>Top</title>t");
  File("n.htm", "<title>Nested</title><frameset rows=\"100,*\"><frame name=t src=t.htm>"
                "<frame src=l.htm scrolling=no noresize></frameset>");
  viewer.resize(800, 600);
  viewer.LoadFromFile(File("s.htm", "<frameset cols=\"25%,*\"><frame name=l src=l.htm>"
                                    "<frame name=n src=n.htm scrolling=auto></frameset>"));
  std::ostringstream out;
  DumpFrameTree(viewer, out);
  const std::string expected = "FrameSet x=0 y=0 w=800 h=600 rows=[600] cols=[200,600]\n"
                               "  Frame name=\"l\" src=\"" +
                               Path("l.htm") +
                               "\" x=0 y=0 w=200 h=600 title=\"Left\"\n"
                               "  Frame name=\"n\" src=\"" +
                               Path("n.htm") +
                               "\" x=200 y=0 w=600 h=600 scrolling=auto "
                               "title=\"Nested\"\n"
                               "    FrameSet x=200 y=0 w=600 h=600 rows=[100,500] cols=[600]\n"
                               "      Frame name=\"t\" src=\"" +
                               Path("t.htm") +
                               "\" x=200 y=0 w=600 h=100 title=\"Top\"\n"
                               "      Frame name=\"\" src=\"" +
                               Path("l.htm") +
                               "\" x=200 y=100 w=600 h=500 scrolling=no "
                               "noresize title=\"Left\"\n";
  EXPECT_EQ(out.str(), expected);
  std::ostringstream plain;
  viewer.LoadFromFile(Path("l.htm"));
  DumpFrameTree(viewer, plain);
  const std::string one = plain.str();
  EXPECT_EQ(one.substr(0, 6), "Frame ");
  EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 1);
}

} // namespace

namespace {

TEST_F(FramesFixture, RequestEventsSupplyTheFramesDocuments)
{
  const std::vector<std::string> lines{"<title>Lines</title>", "from the host's lines"};
  const std::string buffer = "<title>Buffer</title>from the host's buffer";
  std::string redirected = File("real.htm", "<title>Real</title>read from the named file");
  std::vector<std::string> asked;
  viewer.OnStringsRequest = [&](QObject*, const std::string& src, std::vector<std::string>*& s) {
    asked.push_back(src);
    if (src == "lines.htm")
      s = const_cast<std::vector<std::string>*>(&lines);
  };
  viewer.OnBufferRequest = [&](QObject*, const std::string& src, const char*& b, int32_t& n) {
    if (src == "buffer.htm") {
      b = buffer.data();
      n = int32_t(buffer.size());
    }
  };
  viewer.OnFileRequest = [&](QObject*, const std::string& src, std::string& name) {
    if (src == "other.htm")
      name = redirected;
  };
  viewer.LoadFromFile(File("set.htm", "<frameset cols=\"*,*,*\"><frame name=a src=lines.htm>"
                                      "<frame name=b src=buffer.htm><frame name=c src=other.htm>"
                                      "</frameset>"));
  struct Case {
    const char* Frame;
    const char* Source; // as written: names are not expanded for the host
    const char* Title;
  };
  const Case cases[] = {
      {"A", "lines.htm", "Lines"}, {"B", "buffer.htm", "Buffer"}, {"C", "other.htm", "Real"}};
  for (const Case& c : cases) {
    TFrame* frame = Named(c.Frame);
    ASSERT_NE(frame, nullptr) << c.Frame;
    EXPECT_EQ(frame->Source, c.Source);
    ASSERT_NE(frame->Viewer(), nullptr) << c.Frame;
    EXPECT_EQ(frame->Viewer()->PageTitle(), c.Title);
  }
  EXPECT_NE(std::find(asked.begin(), asked.end(), "lines.htm"), asked.end());
}

} // namespace

namespace {

TEST_F(FramesFixture, ARefreshRequestInAFrameLoadsItsPageThere)
{
  File("next.htm", "<title>Next</title>after the refresh");
  File("wait.htm", "<meta http-equiv=refresh content=\"1; url=next.htm\"><title>Wait</title>wait");
  File("other.htm", "<title>Other</title>stays");
  viewer.LoadFromFile(File("set.htm", "<frameset cols=\"*,*\"><frame name=a src=wait.htm>"
                                      "<frame name=b src=other.htm></frameset>"));
  ASSERT_EQ(Named("A")->Source, Path("wait.htm"));
  // The timer fires on the event loop; wait for what it does, not for a time.
  for (int i = 0; i < 200 && Named("A")->Source != Path("next.htm"); ++i)
    QTest::qWait(50);
  EXPECT_EQ(Named("A")->Source, Path("next.htm"));
  EXPECT_EQ(Named("A")->Viewer()->PageTitle(), "Next");
  EXPECT_EQ(Named("B")->Source, Path("other.htm"));
  EXPECT_TRUE(viewer.BackButtonEnabled()); // the refresh made a history entry of the frame
}

} // namespace

namespace {

TEST_F(FramesFixture, CopyingMoreThanTheBufferHoldsRaises)
{
  viewer.LoadFromFile(File("long.htm", "<pre>" + std::string(40000, 'x') + "</pre>"));
  struct Case {
    int32_t Length;
    bool Raises;
  };
  for (const Case& c : {Case{31999, false}, Case{32000, true}, Case{-32000, true}}) {
    viewer.SetSelStart(c.Length < 0 ? 36000 : 0);
    viewer.SetSelLength(c.Length);
    ASSERT_EQ(viewer.SelLength(), c.Length);
    if (c.Raises) {
      EXPECT_THROW(viewer.CopySelected(), EBufferTooSmall) << c.Length;
    } else {
      EXPECT_NO_THROW(viewer.CopySelected()) << c.Length;
    }
  }
}

} // namespace
