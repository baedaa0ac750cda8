#include "ModelTestSupport.h"

#include "base/Exceptions.h"
#include "base/MulDiv.h"
#include "html/model/HorzLine.h"
#include "html/model/IndentManager.h"
#include "html/model/ListItem.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/PreFormated.h"
#include "html/symbols/AttributeList.h"

#include <QPainter>

namespace {

struct MarkerCase {
  char Type;
  int32_t Number;
  const char* Expected;
};

class OrderedMarkers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(OrderedMarkers, FormatsTheNumber)
{
  EXPECT_EQ(OrderedMarker(GetParam().Type, GetParam().Number), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrderedMarkers,
                         ::testing::Values(MarkerCase{'1', 5, "5."}, MarkerCase{'1', 123, "123."},
                                           MarkerCase{'a', 5, "e."}, MarkerCase{'A', 1, "A."},
                                           MarkerCase{'A', 26, "Z."}, MarkerCase{'A', 27, "Z."},
                                           MarkerCase{'a', 0, "a."}, MarkerCase{'i', 4, "iv."},
                                           MarkerCase{'i', 9, "ix."}, MarkerCase{'i', 14, "xiv."},
                                           MarkerCase{'i', 20, "xx."}, MarkerCase{'i', 21, "xxi."},
                                           MarkerCase{'I', 40, "XL."}, MarkerCase{'I', 90, "XC."},
                                           MarkerCase{'I', 400, "CD."},
                                           MarkerCase{'I', 1994, "MCMXCIV."},
                                           MarkerCase{'i', 0, "0."}, MarkerCase{'x', 7, "7."}));

TEST_F(ModelTest, BulletKindsFollowTheLevel)
{
  const char* expected[] = {"square", "bullet", "circle", "square", "bullet", "circle"};
  for (int level = 0; level < 6; ++level) {
    TUListItem item(&Doc, TUrlTarget(), Font(), level);
    EXPECT_EQ(item.MarkerText(), expected[level]) << level;
  }
  TUListItem plain(&Doc, TUrlTarget(), Font(), 1);
  plain.Plain = true;
  EXPECT_EQ(plain.MarkerText(), "");
  TDListItem def(&Doc, TUrlTarget(), Font(), 1);
  EXPECT_EQ(def.MarkerText(), "");
  EXPECT_EQ(def.ItemKind, ikDefinition);
}

struct BulletCase {
  int Level;
  TColor Page;
  TColor Fill; // the page colour for an outline circle
  TColor Ring;
};

class Bullets : public ModelTest, public ::testing::WithParamInterface<BulletCase> {};

// The box of the pixels that differ from the page colour left of the item's text.
QRect MarkedBox(const QImage& img, int right, TColor page)
{
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < right; ++x)
      if (FromQColor(img.pixelColor(x, y)) != page)
        box |= QRect(x, y, 1, 1);
  return box;
}

TEST_P(Bullets, AreDiscsFivePixelsAcrossLeftOfTheText)
{
  const BulletCase& c = GetParam();
  Doc.PageColor = c.Page;
  Doc.TextColor = clWhite;
  auto item = std::make_unique<TUListItem>(&Doc, TUrlTarget(), Font(), c.Level);
  Append(*item, "item");
  TUListItem* p = item.get();
  List.Add(std::move(item));
  int32_t height = LayoutAt(300);
  QImage img(300, height, QImage::Format_RGB32);
  img.fill(ToQColor(c.Page));
  {
    QPainter painter(&img);
    TCanvas canvas(&painter);
    List.Paint(canvas, img.rect(), 300, 0, 0);
  }
  const int x0 = p->MarkerX;
  QRect box = MarkedBox(img, x0, c.Page);
  EXPECT_EQ(box.size(), QSize(5, 5)) << "level " << c.Level;
  EXPECT_EQ(box.center().x(), x0 - 8);
  const LineRec& line = p->LineList.front();
  EXPECT_EQ(box.center().y(), p->TopY + line.ExtraAbove + line.TextHeight - line.TextHeight / 2);
  const QPoint mid = box.center();
  EXPECT_EQ(FromQColor(img.pixelColor(mid)), c.Fill);
  EXPECT_EQ(FromQColor(img.pixelColor(box.left(), mid.y())), c.Ring);
  EXPECT_EQ(FromQColor(img.pixelColor(mid.x(), box.top())), c.Ring);
  EXPECT_EQ(FromQColor(img.pixelColor(box.topLeft())), c.Page); // round, not square
}

INSTANTIATE_TEST_SUITE_P(Cases, Bullets,
                         ::testing::Values(BulletCase{1, clWhite, clNavy, clNavy},
                                           BulletCase{2, clWhite, clMaroon, clMaroon},
                                           BulletCase{3, clSilver, clRed, clRed},
                                           BulletCase{4, clWhite, clNavy, clNavy},
                                           BulletCase{1, clBlack, clBlack, clWhite}));

struct HeightCase {
  int BodySize;
};

class BlockHeights : public ModelTest, public ::testing::WithParamInterface<int> {};

TEST_P(BlockHeights, ScaleWithTheDefaultFontSize)
{
  const int size = GetParam();
  Doc.BodyFontSize = size;
  auto scaled = [size](int at12) { return MulDiv(at12, size, 12); };
  TParagraphSpace para(&Doc);
  para.Attached();
  EXPECT_EQ(para.FlowHeight, scaled(14));
  const int headings[7] = {8, 16, 12, 10, 8, 6, 4};
  for (int level = 0; level <= 6; ++level) {
    THeadingSpace h(&Doc, level);
    h.Attached();
    EXPECT_EQ(h.FlowHeight, scaled(headings[level])) << "level " << level;
  }
  THorzLine rule(&Doc);
  rule.SetSize(8);
  rule.Attached();
  EXPECT_EQ(rule.FlowHeight, scaled(20) + 6);
  TPage page(&Doc);
  page.Attached();
  EXPECT_EQ(page.FlowHeight, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlockHeights, ::testing::Values(12, 9, 16, 20));

TEST_F(ModelTest, FontsScaleWithTheDefaultFontSize)
{
  Doc.BodyFontSize = 16;
  TMyFont f = Font(12);
  EXPECT_EQ(f.pointSize(), 16);
  f.SetNominalSize(&Doc, 10);
  EXPECT_EQ(f.NominalSize, 10);
  EXPECT_EQ(f.pointSize(), MulDiv(10, 16, 12));
}

std::unique_ptr<TAttributeList>
Attributes(std::initializer_list<std::tuple<TSymbol, int32_t, std::string>> items)
{
  auto list = std::make_unique<TAttributeList>();
  for (const auto& [sym, num, text] : items)
    list->Add(std::make_unique<TAttribute>(sym, num, text));
  return list;
}

struct RuleCase {
  const char* Name;
  std::vector<std::tuple<TSymbol, int32_t, std::string>> Attrs;
  int32_t Size;
  int32_t X; // for margins 0..600
  int32_t Width;
};

class Rules : public ModelTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(Rules, ReadAttributesAndSpanTheColumn)
{
  const RuleCase& c = GetParam();
  auto attrs = std::make_unique<TAttributeList>();
  for (const auto& [sym, num, text] : c.Attrs)
    attrs->Add(std::make_unique<TAttribute>(sym, num, text));
  THorzLine rule(&Doc, *attrs);
  rule.Attached();
  EXPECT_EQ(rule.RuleSize, c.Size) << c.Name;
  EXPECT_EQ(rule.FlowHeight, 20 + c.Size - 2) << c.Name;
  int32_t x = 0, w = 0;
  rule.Extent(0, 600, x, w);
  EXPECT_EQ(x, c.X) << c.Name;
  EXPECT_EQ(w, c.Width) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Rules,
    ::testing::Values(
        RuleCase{"default", {}, 2, 10, 580}, RuleCase{"size 8", {{attrSIZE, 8, "8"}}, 8, 10, 580},
        RuleCase{"size 30 ignored", {{attrSIZE, 30, "30"}}, 2, 10, 580},
        RuleCase{"half right", {{attrWIDTH, 50, "50%"}, {attrALIGN, 0, "RIGHT"}}, 2, 300, 300},
        RuleCase{"200 percent", {{attrWIDTH, 200, "200%"}}, 2, 10, 580},
        RuleCase{"pixels left", {{attrWIDTH, 100, "100"}, {attrALIGN, 0, "left"}}, 2, 0, 100},
        RuleCase{"pixels centred", {{attrWIDTH, 100, "100"}}, 2, 250, 100}));

struct RuleMarginCase {
  const char* Name;
  int32_t EdgeShift; // the cell painted this far right of where it was laid out
  int32_t PaintY;    // the rule painted at this top (laid out at 40)
};

class RuleMargins : public ModelTest, public ::testing::WithParamInterface<RuleMarginCase> {};

// A rule beside floats and inside a list level spans the margins the indent records give at the
// top it is painted at, wherever the cell is painted.
TEST_P(RuleMargins, SpanTheIndentsAtThePaintedTop)
{
  const RuleMarginCase& c = GetParam();
  auto attrs = Attributes({{attrCOLOR, 0, "red"}, {attrWIDTH, 100, "100%"}});
  THorzLine rule(&Doc, *attrs);
  rule.Attached();
  IndentManager indent;
  indent.Reset(0, 400);
  indent.Width = 400;
  indent.AddFloat(0, 50, plLeft, 100);   // covers the laid-out top
  indent.AddFloat(30, 70, plRight, 200); // covers both tops
  indent.SetLevel(20, 1);
  indent.AddFloat(100, 30, plLeft, 300); // covers only the lower top
  int32_t maxWidth = 0, pos = 0;
  rule.Layout(Canvas, 40, indent, maxWidth, pos);
  indent.LeftEdge += c.EdgeShift;
  indent.RightEdge += c.EdgeShift;
  int32_t x = 0, w = 0;
  rule.Extent(indent.LeftMargin(c.PaintY), indent.RightMargin(c.PaintY), x, w);

  QImage img(600, 400, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TCanvas canvas(&painter);
  TPaintContext ctx = Pass(QRect(0, 0, 600, 400));
  rule.Paint(canvas, ctx, indent, c.EdgeShift, c.PaintY);
  canvas.Painter()->end();
  const int row = c.PaintY + (rule.FlowHeight - rule.RuleSize) / 2;
  int first = -1, last = -1;
  for (int px = 0; px < img.width(); ++px)
    if (img.pixel(px, row) == qRgb(255, 0, 0)) {
      first = first < 0 ? px : first;
      last = px;
    }
  EXPECT_EQ(first, x) << c.Name;
  EXPECT_EQ(last, x + w - 1) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleMargins,
                         ::testing::Values(RuleMarginCase{"where laid out", 0, 40},
                                           RuleMarginCase{"cell moved right", 75, 40},
                                           RuleMarginCase{"painted lower", 0, 150},
                                           RuleMarginCase{"moved and lower", 30, 150}));

struct PageBreakCase {
  const char* Name;
  int32_t Y;          // of the break, in the document
  int32_t PageBottom; // before painting
  bool Printing;
  int32_t Expected;
};

class PageBreaks : public ModelTest, public ::testing::WithParamInterface<PageBreakCase> {};

// The page being printed shows document lines 1000 to 1500.
TEST_P(PageBreaks, EndThePrintedPageAtTheirOwnY)
{
  const PageBreakCase& c = GetParam();
  TPage page(&Doc);
  QImage img(400, 500, QImage::Format_RGB32);
  QPainter painter(&img);
  TCanvas canvas(&painter);
  canvas.Printing = c.Printing;
  IndentManager indent;
  TPaintContext ctx = Pass(QRect(0, 0, 400, 500), 1000, c.PageBottom);
  EXPECT_EQ(page.Paint(canvas, ctx, indent, 0, c.Y), c.Y);
  EXPECT_EQ(ctx.PageBottom, c.Expected) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PageBreaks,
                         ::testing::Values(PageBreakCase{"at the page top", 1000, 1500, true, 1500},
                                           PageBreakCase{"5 below the top", 1005, 1500, true, 1500},
                                           PageBreakCase{"6 below the top", 1006, 1500, true, 1006},
                                           PageBreakCase{"inside", 1300, 1500, true, 1300},
                                           PageBreakCase{"at the bottom", 1500, 1500, true, 1500},
                                           PageBreakCase{"below the band", 1600, 2000, true, 2000},
                                           PageBreakCase{"above the band", 900, 1500, true, 1500},
                                           PageBreakCase{"below an earlier end", 1300, 1200, true,
                                                         1200},
                                           PageBreakCase{"on screen", 1300, 1500, false, 1500}));

TEST_F(ModelTest, RuleColourWinsOverTheOutline)
{
  auto attrs = Attributes({{attrCOLOR, 0, "red"}, {attrNOSHADE, 0, ""}});
  THorzLine rule(&Doc, *attrs);
  EXPECT_TRUE(rule.HasRuleColor);
  EXPECT_TRUE(rule.NoShade);
  EXPECT_EQ(ColorToRGB(rule.RuleColor), clRed);
}

TEST_F(ModelTest, EmptyPreformattedLineIsAsHighAsItsPointSize)
{
  TMyFont mono(QString::fromStdString(Doc.FixedFontName), 10, clBlack);
  mono.Monospace = true;
  mono.SetNominalSize(&Doc, 10);
  List.Add(std::make_unique<TPreFormated>(&Doc, paLeft, TUrlTarget(), mono, 0));
  EXPECT_EQ(LayoutAt(400), 10);
}

TEST_F(ModelTest, PreformattedTextNeverWraps)
{
  auto pre = std::make_unique<TPreFormated>(&Doc, paCenter, TUrlTarget(), Font(), 0);
  Append(*pre, "a  b   c d e f g h");
  TSection* p = pre.get();
  List.Add(std::move(pre));
  int32_t scrollWidth = 0, pos = 0;
  List.Layout(Canvas, 0, 20, scrollWidth, pos);
  ASSERT_EQ(p->LineList.size(), 1u);
  EXPECT_EQ(p->Chars, "a  b   c d e f g h"); // spaces are kept as written
  EXPECT_EQ(p->LineList[0].StartX, 0);
  EXPECT_EQ(scrollWidth, Width("a  b   c d e f g h"));
}

// A block whose layout fails, as an oversized table does.
class TFailingBlock : public TSectionBase {
public:
  using TSectionBase::TSectionBase;
  int32_t Layout(TCanvas&, int32_t, IndentManager&, int32_t&, int32_t&) override
  {
    throw EProcessError(msg::TooManyColumns);
  }
};

TEST_F(ModelTest, FailingBlockIsDroppedAfterOneReport)
{
  std::vector<std::string> reports;
  SetProcessErrorHandler([&reports](const std::string& m) { reports.push_back(m); });
  TSection* first = AddText("before");
  List.Add(std::make_unique<TFailingBlock>(&Doc));
  TSection* last = AddText("after");
  LayoutAt(400);
  SetProcessErrorHandler(nullptr);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], msg::TooManyColumns);
  ASSERT_EQ(List.Count(), 2);
  EXPECT_EQ(List.Items(1), last);
  EXPECT_EQ(last->TopY, first->FlowHeight);
  EXPECT_EQ(last->FirstCursor, 6);
  LayoutAt(400); // the block is gone: no second report
  EXPECT_EQ(reports.size(), 1u);
}

} // namespace
