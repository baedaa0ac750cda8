// The frameset test and the frameset reader, with a set that records what it is asked to do.
#include "BuilderTestSupport.h"

#include "html/parser/FrameSetReader.h"

#include <gtest/gtest.h>

using namespace buildertest;

namespace {

// Records every call as one line; nested sets write into the same log with their depth.
class TRecordingSet : public TFrameSetReader {
public:
  TRecordingSet(std::vector<std::string>& log, int depth) : FLog(log), FDepth(depth) {}

  void InitFromAttributes(const TAttributeList& attributes) override
  {
    std::string line = Prefix() + "init";
    for (const auto& a : attributes)
      line += " " + std::string(SymbolWord(a->Sym)) + "=" + a->Text;
    FLog.push_back(line);
  }
  TFrameSetReader* AddFrameSet() override
  {
    FLog.push_back(Prefix() + "set");
    Children.push_back(std::make_unique<TRecordingSet>(FLog, FDepth + 1));
    Children.back()->Script = Script;
    return Children.back().get();
  }
  void AddFrame(const TAttributeList& attributes) override
  {
    TAttribute* src = attributes.Find(attrSRC);
    FLog.push_back(Prefix() + "frame " + (src ? src->Text : std::string("?")));
  }
  void Complete() override { FLog.push_back(Prefix() + "complete"); }
  TScriptEvent ScriptHandler() const override { return Script; }

  TScriptEvent Script;
  std::vector<std::unique_ptr<TRecordingSet>> Children;

private:
  std::string Prefix() const { return std::string(size_t(FDepth), '>'); }
  std::vector<std::string>& FLog;
  int FDepth;
};

struct TFrameTestCase {
  const char* Html;
  TBuilder::TFrameSetVerdict Verdict;
};

class BuilderHasFrameSet : public ::testing::TestWithParam<TFrameTestCase> {};

// The verdict tells a source that ended undecided from one that showed body content first;
// HasFrameSet answers yes for a frameset only.
TEST_P(BuilderHasFrameSet, FramesetBeforeBodyContent)
{
  std::string html = GetParam().Html;
  EXPECT_EQ(TBuilder().FrameSetVerdict(TParseSource::FromString(html)), GetParam().Verdict) << html;
  EXPECT_EQ(TBuilder().HasFrameSet(TParseSource::FromString(html)),
            GetParam().Verdict == TBuilder::fvYes)
      << html;
}

const TFrameTestCase FrameTestCases[] = {
    {"<HTML><HEAD><TITLE>t</TITLE></HEAD><FRAMESET COLS=*,*></FRAMESET>", TBuilder::fvYes},
    {"<FRAMESET>", TBuilder::fvYes},
    {"some text first<FRAMESET>", TBuilder::fvYes}, // plain text is not body content
    {"<BODY><FRAMESET>", TBuilder::fvNo},
    {"<P><FRAMESET>", TBuilder::fvNo},
    {"<H2>x</H2><FRAMESET>", TBuilder::fvNo},
    {"<IMG SRC=a><FRAMESET>", TBuilder::fvNo},
    {"<TABLE><FRAMESET>", TBuilder::fvNo},
    {"<FORM><FRAMESET>", TBuilder::fvNo},
    {"<SCRIPT>document.write('<BODY>')</SCRIPT><FRAMESET>", TBuilder::fvYes},
    {"<!-- <FRAMESET> --><BODY>", TBuilder::fvNo},
    // Sources that end before either is seen, as a start cut from a longer page may.
    {"<!-- unterminated <FRAMESET>", TBuilder::fvUnknown},
    {"<SCRIPT>document.write('<FRAMESET>')", TBuilder::fvUnknown},
    {"<HTML><HEAD><TITLE>t</TITLE><META NAME=a CONTENT=b>", TBuilder::fvUnknown},
    {"only text, no tags", TBuilder::fvUnknown},
    {"", TBuilder::fvUnknown},
};

INSTANTIATE_TEST_SUITE_P(Builder, BuilderHasFrameSet, ::testing::ValuesIn(FrameTestCases));

TEST(BuilderFrameDocument, ReadsNestedFramesetsIntoTheSet)
{
  std::vector<std::string> log;
  TRecordingSet top(log, 0);
  TBuilder b;
  std::string html = "<HTML><HEAD><TITLE>Frames</TITLE><BASE HREF=base\\ TARGET=right></HEAD>"
                     "<FRAMESET ROWS=\"20%,*\"><FRAME SRC=top.htm>"
                     "<NOFRAMES><FRAME SRC=hidden.htm></NOFRAMES>"
                     "<FRAMESET COLS=100,*><FRAME SRC=left.htm NAME=l><FRAME SRC=right.htm>"
                     "</FRAMESET></FRAMESET><BODY>ignored";
  EXPECT_TRUE(b.ReadFrameDocument(TParseSource::FromString(html), top));
  std::vector<std::string> expected = {
      "init ROWS=20%,*", "frame top.htm",    "set",       ">init COLS=100,*",
      ">frame left.htm", ">frame right.htm", ">complete", "complete",
  };
  EXPECT_EQ(log, expected);
  EXPECT_EQ(b.PageTitle, "Frames");
  EXPECT_EQ(b.BaseURL, "base\\");
  EXPECT_EQ(b.BaseTarget, "right");
}

TEST(BuilderFrameDocument, UnclosedFramesetStillCompletes)
{
  std::vector<std::string> log;
  TRecordingSet top(log, 0);
  TBuilder b;
  std::string html = "<FRAMESET COLS=*,*><FRAME SRC=a.htm><FRAMESET ROWS=*><FRAME SRC=b.htm";
  EXPECT_TRUE(b.ReadFrameDocument(TParseSource::FromString(html), top));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], ">complete");
  EXPECT_EQ(log.back(), "complete");
}

TEST(BuilderFrameDocument, PlainDocumentIsNoFrameset)
{
  std::vector<std::string> log;
  TRecordingSet top(log, 0);
  TBuilder b;
  std::string html = "<TITLE>Plain</TITLE><P>text<FRAMESET><FRAME SRC=x></FRAMESET>";
  EXPECT_FALSE(b.ReadFrameDocument(TParseSource::FromString(html), top));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(b.PageTitle, "Plain");
}

TEST(BuilderFrameDocument, HeadElementsReachTheHandlers)
{
  std::vector<std::string> log, calls;
  TRecordingSet top(log, 0);
  top.Script = [&](QObject*, const std::string& language, const std::string& body) {
    calls.push_back("script " + language + ":" + body);
  };
  TParseEvents ev;
  ev.OnMeta = [&](QObject*, const std::string& h, const std::string&, const std::string& c) {
    calls.push_back("meta " + h + "=" + c);
  };
  ev.OnSoundRequest = [&](QObject*, const std::string& src, int loop, bool) {
    calls.push_back("sound " + src + " " + std::to_string(loop));
  };
  TBuilder b;
  std::string html = "<META HTTP-EQUIV=refresh CONTENT=\"2\"><BGSOUND SRC=s.wav LOOP=-1>"
                     "<SCRIPT LANGUAGE=vb><!-- x --></SCRIPT>"
                     "<FRAMESET><SCRIPT>y</SCRIPT><FRAME SRC=a></FRAMESET>";
  EXPECT_TRUE(b.ReadFrameDocument(TParseSource::FromString(html), top, ev));
  std::vector<std::string> expected = {"meta refresh=2", "sound s.wav -1", "script vb:<!-- x -->",
                                       "script :y"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(log.back(), "complete");
}

} // namespace
