// Long frame documents that show their starts first: where a start is cut, and that every frame
// ends with its whole document while links, history and printing go on working.
#include "FramesTestSupport.h"
#include "html/parser/Builder.h"
#include "html/viewer/DocSource.h"
#include "html/viewer/DocumentStart.h"

#include <QFile>

namespace {

TEST(DocumentStart, CutsBeforeATagOrAfterALineBreakInTheSecondHalf)
{
  struct Case {
    std::string Bytes;
    size_t Cut;
  };
  const Case cases[] = {
      {"<p>one two<p>three", 10},      // before the last tag
      {"<p>one<p>two three four", 23}, // its last tag is in the first half: kept whole
      {"ab\ncd<b>ef\nghij", 11},       // its last tag in the first half: the line break
      {"<p>abcdefgh\nij\r\nklm", 16},  // after the last line break
      {"abcdefgh", 8},                 // plain ASCII: nothing cut short
      {"abcd\xC3\xA9"
       "ef\xC3",
       8},                        // a character cut short goes
      {"abcdefg\xE2\x82\xAC", 7}, // even a whole one at the very end: it may be short
      {"", 0},
      {"<", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(docstart::CutPoint(c.Bytes), c.Cut) << c.Bytes;
}

TEST(DocumentStart, ReadsAStartOrTheWholeOfAShortFile)
{
  const QString dir = testsupport::TempDir();
  struct Case {
    std::string Bytes;
    int64_t Asked;
    bool Read;
    std::string Text;
  };
  const Case cases[] = {
      {"<p>one<p>two", 100, true, "<p>one<p>two"}, // the file ended: not cut
      {"<p>one<p>two<p>three", 14, true, "<p>one<p>two"},
      {std::string("\xFF\xFE<\0p\0", 6), 100, false, ""}, // UTF-16 cannot be cut bytewise
      {std::string("\xFE\xFF\0<\0p", 6), 100, false, ""},
      {"", 100, false, ""},
      {"<p>x", 0, false, ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name =
        testsupport::WriteFile(dir, "f" + std::to_string(n++) + ".htm", c.Bytes);
    std::string text;
    EXPECT_EQ(docstart::Read(name, c.Asked, text), c.Read) << c.Bytes;
    if (c.Read) {
      EXPECT_EQ(text, c.Text);
    }
  }
  std::string text;
  EXPECT_FALSE(docstart::Read((dir + "/none.htm").toStdString(), 100, text));
}

// Whether a file is a frameset is judged from its start where the start decides it, and from
// the whole file where it does not: the answer is always the one the whole file gives.
TEST(DocSource, FramesetVerdictOfAFileMatchesItsWholeText)
{
  const QString dir = testsupport::TempDir();
  const std::string filler(300 * 1024, 'x'); // longer than any start read
  struct Case {
    std::string Bytes;
    bool FrameSet;
  };
  const Case cases[] = {
      {"<TITLE>t</TITLE><FRAMESET COLS=*,*><FRAME SRC=a.htm></FRAMESET>", true},
      {"<TITLE>t</TITLE><P>text", false},
      {"<FRAMESET ROWS=*><FRAME SRC=a.htm></FRAMESET><!--" + filler + "-->", true},
      {"<BODY>" + filler + "<FRAMESET>", false},
      {"<HEAD><!-- " + filler + " --></HEAD><FRAMESET ROWS=*>", true},
      {"<HEAD><!-- " + filler + " --></HEAD><P>text", false},
      {"<SCRIPT>var s = '" + filler + "';</SCRIPT><FRAMESET ROWS=*>", true},
      {"<TITLE>" + filler + "</TITLE><FRAMESET ROWS=*>", true},
      {filler + "<FRAMESET ROWS=*>", true}, // text alone is no body content
      {filler + "<P><FRAMESET ROWS=*>", false},
      {std::string("\xFF\xFE<\0F\0R\0A\0M\0E\0S\0E\0T\0>\0", 22) + filler, true}, // UTF-16
      {"", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    TDocSource doc;
    doc.FileName = testsupport::WriteFile(dir, "v" + std::to_string(n++) + ".htm", c.Bytes);
    const std::string head = c.Bytes.substr(0, 40);
    EXPECT_EQ(doc.IsFrameSet(), c.FrameSet) << head;
    EXPECT_EQ(doc.IsFrameSet(), TBuilder().HasFrameSet(TParseSource::File(doc.FileName))) << head;
    // The same bytes handed over in memory are read whole.
    TDocSource buffer;
    buffer.Kind = TDocSource::dsBuffer;
    buffer.Buffer = c.Bytes.data();
    buffer.BuffSize = int32_t(c.Bytes.size());
    EXPECT_EQ(buffer.IsFrameSet(), c.FrameSet) << head;
  }
}

// A set of a short frame beside two long ones; the left frame links into the others.
struct LongFrames : FramesFixture {
  LongFrames()
  {
    File("a.htm", "<title>A</title><p><a href=\"c.htm\" target=\"top\">c on top</a>"
                  "<p><a href=\"c.htm\" target=\"bottom\">c below</a>");
    File("b1.htm", "<meta name=\"note\" content=\"b1\">" + LongPage("B1", Lines));
    File("b2.htm", LongPage("B2", Lines));
    File("c.htm", LongPage("C", 20));
    set = File("set.htm", "<frameset cols=\"200,*\"><frame name=left src=a.htm>"
                          "<frameset rows=\"*,*\"><frame name=top src=b1.htm>"
                          "<frame name=bottom src=b2.htm></frameset></frameset>");
    viewer.SetHistoryMaxCount(10);
    viewer.OnMeta = [this](QObject*, const std::string&, const std::string& name,
                           const std::string&) { metas += name == "note" ? 1 : 0; };
  }
  // Whether frame shows its document to the last line.
  bool Whole(const char* frame, const std::string& title) const
  {
    THTMLViewer* v = Named(frame)->Viewer();
    return v->SectionList()->SearchText(0, title + " line " + std::to_string(Lines - 1), true) >= 0;
  }
  void LetThemLoad()
  {
    for (int turns = 0; viewer.FramesWaiting() && turns < 1000; ++turns)
      QCoreApplication::processEvents();
    ASSERT_FALSE(viewer.FramesWaiting());
  }
  static constexpr int Lines = 20000; // well past the size read whole at once
  std::string set;
  int metas = 0;
};

TEST_F(LongFrames, EveryFrameEndsWithItsWholeDocument)
{
  ASSERT_GT(QFileInfo(QString::fromStdString(Path("b1.htm"))).size(), docstart::WholeUpTo);
  for (bool progressive : {false, true}) {
    metas = 0;
    viewer.ProgressiveLoad = progressive;
    viewer.LoadFromFile(Path("a.htm")); // the set is read anew
    viewer.LoadFromFile(set);
    EXPECT_EQ(viewer.FramesWaiting(), progressive);
    EXPECT_EQ(Whole("TOP", "B1"), !progressive);
    EXPECT_EQ(Whole("BOTTOM", "B2"), !progressive);
    for (const char* name : {"TOP", "BOTTOM"}) {
      THTMLViewer* v = Named(name)->Viewer();
      EXPECT_GE(v->DocumentHeight(), v->PaintPanel()->height()) << name; // a full first screen
    }
    LetThemLoad();
    EXPECT_TRUE(Whole("TOP", "B1"));
    EXPECT_TRUE(Whole("BOTTOM", "B2"));
    EXPECT_EQ(metas, 1) << "the start tells the host nothing, the whole document once";
  }
}

TEST_F(LongFrames, ALinkIntoAWaitingFrameIsNotUndoneByItsRestAndBackShowsItWhole)
{
  viewer.ProgressiveLoad = true;
  viewer.LoadFromFile(set);
  ASSERT_TRUE(viewer.FramesWaiting());
  Click(Named("LEFT"), "c below");
  EXPECT_EQ(Named("BOTTOM")->Source, Path("c.htm"));
  LetThemLoad();
  EXPECT_EQ(Named("BOTTOM")->Source, Path("c.htm"));
  EXPECT_GE(Named("BOTTOM")->Viewer()->SectionList()->SearchText(0, "C line 19", true), 0);
  EXPECT_TRUE(Whole("TOP", "B1"));
  viewer.StepBack();
  EXPECT_EQ(Named("BOTTOM")->Source, Path("b2.htm"));
  EXPECT_TRUE(Whole("BOTTOM", "B2"));
  viewer.StepForward();
  EXPECT_EQ(Named("BOTTOM")->Source, Path("c.htm"));
}

TEST_F(LongFrames, WaitingFramesAreReadWholeAtOnceWhenAsked)
{
  viewer.ProgressiveLoad = true;
  viewer.LoadFromFile(set);
  ASSERT_TRUE(viewer.FramesWaiting());
  viewer.LoadWaitingFrames(); // what printing does first
  EXPECT_FALSE(viewer.FramesWaiting());
  EXPECT_TRUE(Whole("TOP", "B1"));
  EXPECT_TRUE(Whole("BOTTOM", "B2"));
}

TEST_F(LongFrames, ASetLeftWhileItsFramesWaitIsReadWholeWhenShownAgain)
{
  viewer.ProgressiveLoad = true;
  viewer.LoadFromFile(set);
  viewer.LoadFromFile(Path("c.htm"));
  EXPECT_FALSE(viewer.FramesWaiting());
  LetThemLoad(); // nothing left to load, nothing loads into the set left behind
  viewer.StepBack();
  EXPECT_EQ(viewer.DocumentName(), set);
  EXPECT_TRUE(Whole("TOP", "B1"));
  EXPECT_TRUE(Whole("BOTTOM", "B2"));
}

TEST_F(LongFrames, APlainLongDocumentIsReadWholeAtOnce)
{
  viewer.ProgressiveLoad = true;
  viewer.LoadFromFile(Path("b2.htm"));
  EXPECT_FALSE(viewer.FramesWaiting());
  THTMLViewer* only = viewer.Viewers().front();
  EXPECT_GE(only->SectionList()->SearchText(0, "B2 line 19999", true), 0);
}

} // namespace
