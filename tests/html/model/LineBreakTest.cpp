#include "ModelTestSupport.h"
#include "support/TestSupport.h"

#include "html/model/FormControlObj.h"

#include <QWidget>

namespace {

struct BreakCase {
  const char* Name;
  std::string Text;
  std::string FitText; // the line width is the width of this text (+ Extra pixels)
  int Extra;
  std::vector<std::string> Expected;
};

class LineBreak : public ModelTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(LineBreak, BreaksOnlyWhereAllowed)
{
  const BreakCase& c = GetParam();
  TSection* s = AddText(c.Text);
  LayoutAt(Width(c.FitText) + c.Extra);
  EXPECT_EQ(Lines(*s), c.Expected) << c.Name;
}

const std::string nb(1, char(160));

INSTANTIATE_TEST_SUITE_P(
    Cases, LineBreak,
    ::testing::Values(
        BreakCase{"all fits", "one two", "one two", 0, {"one two"}},
        BreakCase{"break at space", "one two three", "one tw", 0, {"one ", "two ", "three"}},
        BreakCase{
            "word ending at the edge stays", "one two three", "one two", 1, {"one two ", "three"}},
        BreakCase{"spaces hang at the line end", "aaa    bbb", "aaa ", 0, {"aaa    ", "bbb"}},
        BreakCase{"no break at a non-breaking space",
                  "one" + nb + "two three",
                  "one" + nb + "tw",
                  0,
                  {"one" + nb + "two ", "three"}},
        BreakCase{"no break at a hyphen", "well-known fact", "well-kn", 0, {"well-known ", "fact"}},
        BreakCase{"very long word is kept whole",
                  "a verylongword b",
                  "a ver",
                  0,
                  {"a ", "verylongword ", "b"}},
        BreakCase{"single long word", "abcdefghij", "abc", 0, {"abcdefghij"}}),
    testsupport::NamedAfterCase());

TEST_F(ModelTest, LongWordWidensTheDocument)
{
  AddText("a verylongword b");
  int32_t scrollWidth = 0, pos = 0;
  List.Layout(Canvas, 0, Width("a ver"), scrollWidth, pos);
  EXPECT_EQ(scrollWidth, Width("verylongword"));
}

TEST_F(ModelTest, BreaksBeforeAnImageThatDoesNotFit)
{
  auto s = MakeSection();
  Append(*s, "abc");
  TImageObj* img = s->PlaceImage(std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif"), 3);
  Append(*s, "def", 4);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(10000); // learn the image size
  int32_t imgW = img->BoxWidth;
  ASSERT_GT(imgW, 0);
  LayoutAt(Width("abc") + imgW - 1);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"abc", std::string(1, '\4') + "def"}));
}

TEST_F(ModelTest, BreaksAfterAnImageBeforeText)
{
  auto s = MakeSection();
  Append(*s, "abc");
  TImageObj* img = s->PlaceImage(std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif"), 3);
  Append(*s, "defgh", 4);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(10000);
  LayoutAt(Width("abc") + img->BoxWidth + Width("de"));
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"abc\4", "defgh"}));
}

TEST_F(ModelTest, NoBreakImageKeepsItsWordTogether)
{
  auto s = MakeSection();
  Append(*s, "ab");
  TImageObj* img =
      s->PlaceImage(std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif"), 2, /*noBreak*/ true);
  Append(*s, "cd ef", 3);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(10000);
  LayoutAt(Width("ab") + img->BoxWidth + Width("c"));
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"ab\7cd ", "ef"}));
}

TEST_F(ModelTest, NoBreakControlKeepsItsWordTogether)
{
  TFormControlObj control(&Doc, 0);
  control.TheControl = std::make_unique<TFakeControl>(QRect(0, 0, 40, 20));
  auto s = MakeSection();
  Append(*s, "ab");
  s->PlaceControl(&control, 2, /*noBreak*/ true);
  Append(*s, "cd ef", 3);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(Width("ab") + 40 + Width("c"));
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"ab\6cd ", "ef"}));
}

struct AlignCase {
  TParaAlign Align;
  const char* Name;
};

class Alignment : public ModelTest, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(Alignment, StartsLinesByAlignment)
{
  const int width = 400;
  TSection* s = AddText("centre me  ", GetParam().Align);
  LayoutAt(width);
  int tw = Width("centre me"); // trailing spaces do not count
  int expected = GetParam().Align == paCenter  ? (width - tw) / 2
                 : GetParam().Align == paRight ? width - tw - 1
                                               : 0;
  ASSERT_EQ(s->LineList.size(), 1u);
  EXPECT_EQ(s->LineList[0].StartX, expected) << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Alignment,
                         ::testing::Values(AlignCase{paLeft, "left"}, AlignCase{paCenter, "center"},
                                           AlignCase{paRight, "right"}));

// A float image of known size (a placeholder with both dimensions given).
TImageObj* AddFloat(TSection& s, TSectionList& list, TPlacement placement, int w, int h,
                    int32_t pos)
{
  auto img = std::make_unique<TImageObj>(&list.Document(), &list, 0, "f.gif");
  img->Placement = placement;
  img->ReqWidth = w;
  img->ReqHeight = h;
  return s.PlaceImage(std::move(img), pos);
}

const std::string LongText = "lorem ipsum dolor sit amet consectetur adipiscing elit sed do "
                             "eiusmod tempor incididunt ut labore et dolore magna aliqua";

TEST_F(ModelTest, TextFlowsBesideALeftFloat)
{
  auto s = MakeSection();
  TImageObj* img = AddFloat(*s, List, plLeft, 60, 50, 0);
  Append(*s, " " + LongText, 1); // the leading space after a float is dropped
  TSection* p = s.get();
  List.Add(std::move(s));
  EXPECT_EQ(p->Chars[1], 'l');
  LayoutAt(300);
  ASSERT_GE(p->LineList.size(), 3u);
  EXPECT_EQ(img->FloatX, 0);
  for (size_t k = 0; k < p->LineList.size(); ++k) {
    int32_t top = LineTop(*p, k);
    int32_t expected = top < img->FloatY + img->BoxHeight ? 60 + img->SideGap : 0;
    EXPECT_EQ(p->LineList[k].StartX, expected) << "line " << k;
  }
  EXPECT_GE(p->PaintHeight, 50);
}

TEST_F(ModelTest, TextStaysLeftOfARightFloat)
{
  const int width = 300;
  auto s = MakeSection();
  TImageObj* img = AddFloat(*s, List, plRight, 60, 50, 0);
  Append(*s, LongText, 1);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(width);
  EXPECT_EQ(img->FloatX, width - 60);
  for (size_t k = 0; k < p->LineList.size(); ++k) {
    const LineRec& l = p->LineList[k];
    std::string text(p->Chars.data() + l.First, size_t(l.Count));
    while (!text.empty() && text.back() == ' ')
      text.pop_back();
    if (!text.empty() && text.front() == '\4')
      text.erase(0, 1);
    if (LineTop(*p, k) < img->BoxHeight) {
      EXPECT_LE(l.StartX + Width(text), width - 60 - img->SideGap) << "line " << k;
    }
  }
}

TEST_F(ModelTest, TwoLeftFloatsStackSideBySide)
{
  auto s = MakeSection();
  TImageObj* a = AddFloat(*s, List, plLeft, 40, 30, 0);
  TImageObj* b = AddFloat(*s, List, plLeft, 50, 30, 1);
  Append(*s, "text", 2);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  EXPECT_EQ(a->FloatX, 0);
  EXPECT_EQ(b->FloatX, 40 + a->SideGap);
  EXPECT_EQ(p->LineList[0].StartX, 40 + a->SideGap + 50 + b->SideGap);
}

TEST_F(ModelTest, ClearStartsBelowTheFloat)
{
  auto s = MakeSection();
  TImageObj* img = AddFloat(*s, List, plLeft, 60, 80, 0);
  Append(*s, "beside", 1);
  List.Add(std::move(s));
  auto after = MakeSection();
  after->ClearSide = clLeftSide;
  Append(*after, "below", 10);
  TSection* p = after.get();
  List.Add(std::move(after));
  LayoutAt(400);
  ASSERT_EQ(p->LineList.size(), 2u);
  EXPECT_EQ(p->LineList[0].Count, 0);
  EXPECT_EQ(LineTop(*p, 1), img->FloatY + img->BoxHeight);
  EXPECT_EQ(p->LineList[1].StartX, 0);
}

TEST_F(ModelTest, ClearOfTheOtherSideDoesNotMove)
{
  auto s = MakeSection();
  AddFloat(*s, List, plLeft, 60, 80, 0);
  Append(*s, "beside", 1);
  List.Add(std::move(s));
  auto after = MakeSection();
  after->ClearSide = clRightSide;
  Append(*after, "beside too", 10);
  TSection* p = after.get();
  List.Add(std::move(after));
  LayoutAt(400);
  EXPECT_EQ(Lines(*p).size(), p->LineList.size());
  EXPECT_GT(p->LineList[0].StartX, 0);
}

TEST_F(ModelTest, EmptySectionHasNoHeight)
{
  auto s = MakeSection();
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  EXPECT_EQ(p->FlowHeight, 0);
}

TEST_F(ModelTest, FinishLineKeepsAnEmptyLineHigh)
{
  auto s = MakeSection();
  s->FinishLine();
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  QFontMetrics fm([] {
    QFont f("Times New Roman");
    f.setPixelSize(16);
    return f;
  }());
  EXPECT_EQ(p->FlowHeight, fm.height() + std::max(0, fm.leading()));
}

TEST_F(ModelTest, BottomImageRaisesTheLine)
{
  auto s = MakeSection();
  Append(*s, "ab");
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
  img->ReqWidth = 30;
  img->ReqHeight = 60;
  s->PlaceImage(std::move(img), 2);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  const LineRec& l = p->LineList[0];
  EXPECT_EQ(l.ExtraAbove, 60 + l.MaxDescent - l.TextHeight);
  EXPECT_EQ(l.ExtraBelow, 0);
}

TEST_F(ModelTest, MiddleImageSplitsTheExtraHeight)
{
  auto s = MakeSection();
  Append(*s, "ab");
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
  img->ReqWidth = 30;
  img->ReqHeight = 61;
  img->Placement = plMiddle;
  s->PlaceImage(std::move(img), 2);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  const LineRec& l = p->LineList[0];
  int diff = 61 - l.TextHeight;
  EXPECT_EQ(l.ExtraBelow, diff / 2);
  EXPECT_EQ(l.ExtraAbove, diff - diff / 2);
}

// A piece of a paragraph: text in the body font, bold or not, or an image (Text empty) of the
// given width, floating left when Float is set.
struct WidthPiece {
  std::string Text;
  bool Bold = false;
  int ImageWidth = 0;
  bool Float = false;
};

struct LineWidthCase {
  const char* Name;
  std::vector<WidthPiece> Pieces;
  int Width;
};

class LineWidths : public ModelTest, public ::testing::WithParamInterface<LineWidthCase> {
protected:
  TSection* Build(const std::vector<WidthPiece>& pieces)
  {
    auto s = MakeSection(paRight);
    int32_t pos = 0;
    for (const WidthPiece& piece : pieces) {
      if (piece.Text.empty()) {
        auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
        img->ReqWidth = piece.ImageWidth;
        img->ReqHeight = 10;
        img->Placement = piece.Float ? plLeft : plBottom;
        s->PlaceImage(std::move(img), pos++);
        continue;
      }
      s->FontChange(TFontRef(Font()), piece.Bold ? fsBold : 0);
      Append(*s, piece.Text, pos);
      pos += int32_t(piece.Text.size());
    }
    TSection* p = s.get();
    List.Add(std::move(s));
    return p;
  }

  // The width of a line without its trailing spaces, measured a character at a time.
  int Expected(const TSection& s, const LineRec& line)
  {
    int32_t end = line.First + line.Count;
    while (end > line.First && s.Chars[size_t(end - 1)] == ' ')
      --end;
    int w = 0;
    for (int32_t i = line.First; i < end; ++i) {
      if (s.Chars[size_t(i)] == placeholder::Image) {
        const TFloatingObj* o = s.Images.ObjectAtPos(i);
        w += !o || o->IsFloating() ? 0 : o->BoxWidth; // a stray placeholder takes no room
        continue;
      }
      w += Width(std::string(1, s.Chars[size_t(i)]), 16, s.Fonts.ObjAt(i)->FontCopy().bold());
    }
    return w;
  }
};

// Right-aligned lines end at the right edge: their start tells the width the layout found.
TEST_P(LineWidths, RightAlignedLinesEndAtTheEdge)
{
  const LineWidthCase& c = GetParam();
  TSection* s = Build(c.Pieces);
  LayoutAt(c.Width);
  ASSERT_FALSE(s->LineList.empty()) << c.Name;
  for (size_t k = 0; k < s->LineList.size(); ++k) {
    const LineRec& line = s->LineList[k];
    EXPECT_EQ(line.StartX, c.Width - Expected(*s, line) - 1) << c.Name << ", line " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineWidths,
    ::testing::Values(
        LineWidthCase{"plain words", {{"one two three four five six seven"}}, 90},
        LineWidthCase{"trailing spaces", {{"aaa    bbb   ccc    "}}, 60},
        LineWidthCase{
            "bold inside a word", {{"one tw"}, {"o three fo", true}, {"ur five six"}}, 80},
        LineWidthCase{"word wider than the line", {{"a verylongword b c"}}, 40},
        LineWidthCase{"inline image", {{"one two"}, {"", false, 30}, {" three four"}}, 100},
        LineWidthCase{
            "float at the start", {{"", false, 40, true}, {"one two three four five six"}}, 120},
        LineWidthCase{"all on one line", {{"short"}, {" text", true}}, 400},
        LineWidthCase{"placeholder without an image", {{"ab\4cd ef\4 gh ij kl"}}, 40}),
    testsupport::NamedAfterCase());

} // namespace
