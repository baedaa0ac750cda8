#include "ModelTestSupport.h"
#include "support/TestSupport.h"

#include "html/model/IndentManager.h"

#include <algorithm>
#include <utility>

namespace {

struct RunCase {
  const char* Name;
  std::vector<std::string> Tokens; // '~' stands for the NOBR space marker
  std::string Expected;            // '_' stands for a non-breaking space
};

class AppendRuns : public ModelTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(AppendRuns, MergeSpacesAndNoBreakMarkers)
{
  auto s = MakeSection();
  for (std::string t : GetParam().Tokens) {
    for (char& c : t)
      if (c == '~')
        c = placeholder::NoBreakMarker;
    Append(*s, t);
  }
  std::string got(s->Chars.begin(), s->Chars.end());
  for (char& c : got)
    if (c == placeholder::NoBreakSpace)
      c = '_';
  EXPECT_EQ(got, GetParam().Expected) << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendRuns,
    ::testing::Values(RunCase{"leading space of an empty buffer", {" a"}, "a"},
                      RunCase{"space after a space", {"a ", " b"}, "a b"},
                      RunCase{"space after text is kept", {"a", " b"}, "a b"},
                      RunCase{"token of one dropped space adds nothing", {"a ", " "}, "a "},
                      RunCase{"markers become non-breaking spaces", {"a~b~c"}, "a_b_c"},
                      RunCase{"marker at the start is dropped", {"~a"}, "a"},
                      RunCase{"marker after a space is dropped", {"a ", "~b"}, "a b"},
                      RunCase{"marker pairs reduce to one", {"a~~b"}, "a_b"},
                      RunCase{"marker then space reduce to one", {"a~ b"}, "a_b"},
                      RunCase{"marker after a non-breaking space", {"a~", "~b"}, "a_b"},
                      RunCase{"text after a marker token", {"a~", " b c"}, "a_ b c"},
                      RunCase{"marker after plain text", {"ab cd~e"}, "ab cd_e"}),
    testsupport::NamedAfterCase());

TEST_F(ModelTest, SpaceAfterOnlyFloatingImagesIsDropped)
{
  auto s = MakeSection();
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "f.gif");
  img->Placement = plRight;
  s->PlaceImage(std::move(img), 0);
  Append(*s, std::string(1, char(160)) + "x", 1);
  EXPECT_EQ(s->Chars, "\4x");
  auto t = MakeSection();
  t->PlaceImage(std::make_unique<TImageObj>(&Doc, &List, 0, "inline.gif"), 0);
  Append(*t, " x", 1);
  EXPECT_EQ(t->Chars, "\4 x"); // an inline image is content: the space stays
}

TEST_F(ModelTest, FontChangeAtTheSamePlaceReplacesTheLastOne)
{
  auto s = MakeSection();
  Append(*s, "ab");
  s->FontChange(Font(14));
  s->FontChange(Font(18), fsItalic);
  ASSERT_EQ(s->Fonts.Count(), 2);
  EXPECT_EQ(s->Fonts[1]->ObjPos, 2);
  EXPECT_EQ(s->Fonts[1]->FontCopy().NominalSize, 18);
  EXPECT_TRUE(s->Fonts[1]->FontCopy().italic());
  Append(*s, "c", 2);
  s->FontChange(Font(12), 0, ssSuperscript); // superscript: three quarters of the size
  EXPECT_EQ(s->Fonts.Count(), 3);
  EXPECT_EQ(s->Fonts[2]->FontCopy().pointSize(), 9);
  EXPECT_EQ(s->Fonts.RunLength(0, s->Length()), 2);
  EXPECT_EQ(s->Fonts.ObjAt(2), s->Fonts[1]);
}

TEST_F(ModelTest, LinksContinueAcrossFontChangesUntilEnded)
{
  TUrlTarget link;
  link.Assign("page.htm", "main");
  auto s = MakeSection();
  Append(*s, "see ");
  s->LinkMark(true, Font(), fsUnderline, link);
  Append(*s, "here", 4);
  s->FontChange(Font(12, true), fsUnderline);
  Append(*s, "now", 8);
  s->LinkMark(false, Font(), 0, TUrlTarget());
  Append(*s, " after", 11);
  EXPECT_FALSE(s->Fonts.ObjAt(0)->IsLink());
  EXPECT_EQ(s->Fonts.ObjAt(5)->Link(), link);
  EXPECT_EQ(s->Fonts.ObjAt(9)->Link(), link);
  EXPECT_FALSE(s->Fonts.ObjAt(12)->IsLink());
  // Link starts are listed when the section is done and its font objects stay where they are.
  EXPECT_TRUE(Doc.LinkStarts.empty());
  s->Finish();
  ASSERT_EQ(Doc.LinkStarts.size(), 1u);
  EXPECT_EQ(Doc.LinkStarts[0], s->Fonts.ObjAt(4));
}

TEST_F(ModelTest, SectionStartedInsideALinkContinuesIt)
{
  TUrlTarget link;
  link.Assign("x.htm", "");
  auto s = std::make_unique<TSection>(&Doc, paLeft, link, Font(), 0);
  EXPECT_EQ(s->Fonts[0]->Link(), link);
  s->Finish();
  s->Finish(); // a second finish lists nothing again
  EXPECT_EQ(Doc.LinkStarts.size(), 1u);
}

TEST_F(ModelTest, LinkMarkedAgainAtTheSamePlaceIsListedOnce)
{
  TUrlTarget link;
  link.Assign("x.htm", "");
  auto s = std::make_unique<TSection>(&Doc, paLeft, link, Font(), 0);
  s->LinkMark(true, Font(), 0, link); // reuses the section's first font object
  Append(*s, "a", 0);
  s->LinkMark(false, Font(), 0, TUrlTarget());
  s->LinkMark(true, Font(), 0, link);
  s->LinkMark(true, Font(), 0, link);
  Append(*s, "b", 1);
  s->Finish();
  ASSERT_EQ(Doc.LinkStarts.size(), 2u);
  EXPECT_EQ(Doc.LinkStarts[0], s->Fonts.ObjAt(0));
  EXPECT_EQ(Doc.LinkStarts[1], s->Fonts.ObjAt(1));
}

TEST_F(ModelTest, LinkColoursFollowVisitAndHover)
{
  Doc.LinkColor = clBlue;
  Doc.VisitedColor = clPurple;
  Doc.OverColor = clRed;
  TUrlTarget link;
  link.Assign("x.htm", "");
  auto s = std::make_unique<TSection>(&Doc, paLeft, link, Font(), 0);
  TFontObj* f = s->Fonts[0];
  f->Refresh();
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clBlue);
  f->MarkVisited(true);
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clPurple);
  f->MarkHover(true);
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clRed);
  f->MarkHover(false);
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clPurple);
}

TEST(IndentManager, ListLevelsOpenAndCloseIndents)
{
  IndentManager im;
  im.Reset(0, 500);
  im.SetLevel(10, 2);
  EXPECT_EQ(im.LeftMargin(10), 70);
  EXPECT_EQ(im.LeftMargin(5), 0); // above the list
  im.SetLevel(50, 1);
  EXPECT_EQ(im.LeftMargin(60), 35);
  EXPECT_EQ(im.LeftMargin(30), 70);
  im.SetLevel(80, 0);
  EXPECT_EQ(im.LeftMargin(90), 0);
  EXPECT_EQ(im.RightMargin(90), 500);
}

TEST(IndentManager, FloatsNarrowTheLinesTheyCover)
{
  IndentManager im;
  im.Reset(0, 400);
  TImageObj left(nullptr, nullptr, 0, "l");
  left.Placement = plLeft;
  left.BoxWidth = 50;
  left.BoxHeight = 30;
  TImageObj right(nullptr, nullptr, 0, "r");
  right.Placement = plRight;
  right.BoxWidth = 60;
  right.BoxHeight = 40;
  right.SideGap = 10;
  im.PlaceFloat(0, &left);
  im.PlaceFloat(0, &right);
  EXPECT_EQ(im.LeftMargin(29), 55);
  EXPECT_EQ(im.LeftMargin(30), 0);
  EXPECT_EQ(im.RightMargin(39), 400 - 70);
  EXPECT_EQ(right.FloatX, 400 - 60);
  EXPECT_EQ(im.FloatBottom(), 40);
  int32_t l = 0, r = 0;
  im.ClearBottoms(l, r);
  EXPECT_EQ(l, 31);
  EXPECT_EQ(r, 41);
  im.AddFloat(100, 80, plLeft, 20);
  EXPECT_EQ(im.LeftMargin(110), 80);
}

} // namespace

// Tokens hand their positions over as runs; the section keeps a run only where the source skips,
// also when it drops a leading space or turns NOBR markers into spaces.
TEST_F(ModelTest, TakesPositionRunsFromTokens)
{
  struct TToken {
    std::string text; // '~' stands for the NOBR space marker
    std::vector<int32_t> positions;
  };
  struct TCase {
    const char* name;
    std::vector<TToken> tokens;
    std::string chars; // '_' stands for a non-breaking space
    std::vector<std::pair<int32_t, int32_t>> runs;
  };
  const TCase cases[] = {
      {"a token continuing the run adds none",
       {{"ab", {0, 1}}, {" cd", {2, 3, 4}}},
       "ab cd",
       {{0, 0}}},
      {"a dropped leading space: the next character keeps its own position",
       {{"a ", {0, 1}}, {" bc", {5, 6, 7}}},
       "a bc",
       {{0, 0}, {2, 6}}},
      {"a run starting inside a token", {{"ab cd", {0, 1, 2, 9, 10}}}, "ab cd", {{0, 0}, {3, 9}}},
      {"characters without a position", {{"ab", {-1, -1}}, {"c", {4}}}, "abc", {{2, 4}}},
      {"a marker keeps its position as a space", {{"a~b", {0, 1, 2}}}, "a_b", {{0, 0}}},
      {"a dropped marker leaves a gap", {{"a ~b", {0, 1, 2, 3}}}, "a b", {{0, 0}, {2, 3}}},
      {"include text: a run per character", {{"xy", {9, 9}}, {"z", {10}}}, "xyz", {{0, 9}, {1, 9}}},
  };
  for (const auto& c : cases) {
    auto s = MakeSection();
    for (const TToken& t : c.tokens) {
      TokenObj token;
      for (size_t k = 0; k < t.text.size(); ++k)
        token.AppendChar(t.text[k] == '~' ? placeholder::NoBreakMarker : t.text[k], t.positions[k]);
      s->AppendRun(token);
    }
    std::string chars(s->Chars.begin(), s->Chars.end());
    std::replace(chars.begin(), chars.end(), placeholder::NoBreakSpace, '_');
    EXPECT_EQ(chars, c.chars) << c.name;
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (const IndexObj& r : s->SourceRuns)
      runs.emplace_back(r.BufIndex, r.SrcPos);
    EXPECT_EQ(runs, c.runs) << c.name;
  }
}
