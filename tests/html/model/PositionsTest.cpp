#include "ModelTestSupport.h"

#include "html/model/ParagraphSpace.h"

namespace {

TEST_F(ModelTest, CursorPointAndCursorAtRoundTrip)
{
  AddText("first paragraph");
  List.Add(std::make_unique<TParagraphSpace>(&Doc));
  TSection* s = AddText("the quick brown fox jumps over the lazy dog");
  LayoutAt(Width("the quick brown"));
  ASSERT_GT(s->LineList.size(), 1u);
  for (int32_t p = s->FirstCursor; p < s->FirstCursor + s->CursorCount; ++p) {
    int32_t x = 0, y = 0;
    ASSERT_TRUE(List.CursorPoint(Canvas, p, x, y)) << p;
    int32_t xr = 0, yr = 0, h = 0;
    TCell* cell = nullptr;
    bool inText = false;
    EXPECT_EQ(List.CursorAt(Canvas, x, y + 1, xr, yr, h, cell, inText), p);
    EXPECT_EQ(xr, x);
    EXPECT_EQ(yr, y);
    EXPECT_TRUE(inText);
  }
}

TEST_F(ModelTest, CursorPointMeasuresFromTheLineStart)
{
  TSection* s = AddText("hello world");
  LayoutAt(400);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(List.CursorPoint(Canvas, s->FirstCursor + 6, x, y));
  EXPECT_EQ(x, Width("hello "));
  EXPECT_EQ(y, s->TopY);
}

TEST_F(ModelTest, CursorAtTakesTheNearerSideOfACharacter)
{
  AddText("mmm");
  LayoutAt(400);
  int m = Width("m");
  int32_t xr = 0, yr = 0, h = 0;
  TCell* cell = nullptr;
  bool inText = false;
  EXPECT_EQ(List.CursorAt(Canvas, m + m / 2 - 1, 2, xr, yr, h, cell, inText), 1);
  EXPECT_EQ(List.CursorAt(Canvas, m + m / 2 + 1, 2, xr, yr, h, cell, inText), 2);
}

TEST_F(ModelTest, CursorAtLeftOfIndentIsNotInText)
{
  AddText("item", paLeft, 1);
  LayoutAt(400);
  int32_t xr = 0, yr = 0, h = 0;
  TCell* cell = nullptr;
  bool inText = true;
  EXPECT_EQ(List.CursorAt(Canvas, 5, 2, xr, yr, h, cell, inText), 0);
  EXPECT_FALSE(inText);
}

TEST_F(ModelTest, CharAtReportsCharactersAndObjects)
{
  auto s = MakeSection();
  Append(*s, "ab");
  TImageObj* img = s->PlaceImage(std::make_unique<TImageObj>(&Doc, &List, 0, "i.gif"), 2);
  List.Add(std::move(s));
  AddText("cd");
  LayoutAt(400);
  char ch = 0;
  TCharObject obj;
  ASSERT_TRUE(List.CharAt(1, ch, obj));
  EXPECT_EQ(ch, 'b');
  EXPECT_EQ(obj.Floating, nullptr);
  ASSERT_TRUE(List.CharAt(2, ch, obj));
  EXPECT_EQ(ch, '\4');
  EXPECT_EQ(obj.Floating, img);
  ASSERT_TRUE(List.CharAt(4, ch, obj));
  EXPECT_EQ(ch, 'd');
  EXPECT_FALSE(List.CharAt(5, ch, obj));
  EXPECT_FALSE(List.CharAt(-1, ch, obj));
}

struct SearchCase {
  std::string Text;
  int32_t From;
  bool MatchCase;
  int32_t Expected;
};

class Search : public ModelTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(Search, FindsTextAcrossSections)
{
  AddText("Hello World");
  AddText("say hello \xC9t\xE9");
  LayoutAt(400);
  const SearchCase& c = GetParam();
  EXPECT_EQ(List.SearchText(c.From, c.Text, c.MatchCase), c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Search,
    ::testing::Values(SearchCase{"hello", 0, true, 15}, SearchCase{"hello", 0, false, 0},
                      SearchCase{"HELLO", 1, false, 15}, SearchCase{"World", 0, true, 6},
                      SearchCase{"world", 0, true, -1}, SearchCase{"\xE9t\xE9", 0, false, 21},
                      SearchCase{"\xE9t\xE9", 0, true, -1}, SearchCase{"hello", 16, false, -1},
                      SearchCase{"", 0, false, -1}));

class SourcePositions : public ModelTest {
protected:
  TSection* S = nullptr;
  void SetUp() override
  {
    AddText("xyz"); // positions 0..2, source 0..2
    auto s = MakeSection();
    Append(*s, "abcde", 100); // document 3..7
    Append(*s, " fghi", 200); // document 8..12 (the leading space is kept)
    S = s.get();
    List.Add(std::move(s));
    LayoutAt(400);
  }
};

TEST_F(SourcePositions, SourcePosOfFollowsTheRuns)
{
  EXPECT_EQ(List.SourcePosOf(4), 101);
  EXPECT_EQ(List.SourcePosOf(9), 201);
  EXPECT_EQ(List.SourcePosOf(1), 1);
  EXPECT_EQ(List.SourcePosOf(99), -1);
  EXPECT_EQ(S->SourceRuns.size(), 2u);
}

TEST_F(SourcePositions, DocPosOfMapsBackAndAcrossGaps)
{
  EXPECT_EQ(List.DocPosOf(101, false), 4);
  EXPECT_EQ(List.DocPosOf(203, false), 11);
  EXPECT_EQ(S->DocPosOf(150, false), 8);  // first character after the gap
  EXPECT_EQ(S->DocPosOf(150, true), 7);   // last character before it
  EXPECT_EQ(S->DocPosOf(50, false), -1);  // before the section
  EXPECT_EQ(S->DocPosOf(300, true), 12);  // after it, with prev
  EXPECT_EQ(S->DocPosOf(300, false), -1); // after it, without
}

TEST_F(SourcePositions, EveryPositionRoundTrips)
{
  for (int32_t p = 0; p < List.CursorCount; ++p)
    EXPECT_EQ(List.DocPosOf(List.SourcePosOf(p), false), p);
}

} // namespace

namespace {

TEST_F(ModelTest, LinkUnderTheMouseIsFoundAndColoured)
{
  Doc.HoverColoring = true;
  Doc.LinkColor = clBlue;
  Doc.OverColor = clRed;
  TUrlTarget link;
  link.Assign("next.htm", "_top");
  auto s = MakeSection();
  Append(*s, "go ");
  s->LinkMark(true, Font(), fsUnderline, link);
  Append(*s, "there", 3);
  s->LinkMark(false, Font(), 0, TUrlTarget());
  Append(*s, " now", 8);
  TSection* p = s.get();
  List.Add(std::move(s));
  p->Fonts.RefreshAll();
  LayoutAt(400);
  TFormControlObj* control = nullptr;
  TUrlTarget found;
  int32_t overLink = Width("go th"), y = p->TopY + 2;
  ASSERT_TRUE(List.LinkAt(Canvas, overLink, y, control, found));
  EXPECT_EQ(found, link);
  TFontObj* f = p->Fonts.ObjAt(3);
  EXPECT_EQ(Doc.HoverLink, f);
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clRed);
  EXPECT_FALSE(List.LinkAt(Canvas, Width("g"), y, control, found));
  EXPECT_EQ(Doc.HoverLink, nullptr);
  EXPECT_EQ(ColorToRGB(f->FontCopy().Color), clBlue);
  EXPECT_FALSE(List.LinkAt(Canvas, Width("go there now") + 5, y, control, found));
}

} // namespace
