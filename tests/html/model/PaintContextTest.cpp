// Painting from a paint context without a viewer, copying and hit testing through arguments,
// and documents that keep to themselves.
#include "TableTestSupport.h"
#include "html/model/HorzLine.h"
#include "html/model/ListItem.h"
#include "html/model/PanelObj.h"
#include "html/model/SelTextCount.h"

#include <QPainter>

namespace {

class PaintContextTest : public TableTest {
protected:
  // Text, a rule, a bordered table and an image: every kind of item that draws.
  void BuildPage()
  {
    AddText("A first paragraph long enough to wrap onto a few lines of the page");
    List.Add(std::make_unique<THorzLine>(&Doc));
    Grid(2, 2, {{attrBORDER, ""}});
    auto s = MakeSection();
    Append(*s, "ab");
    auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
    img->ReqWidth = 30;
    img->ReqHeight = 20;
    s->PlaceImage(std::move(img), 2);
    Append(*s, "cd", 3);
    List.Add(std::move(s));
  }

  QImage PaintPass(TPaintContext& ctx, int width)
  {
    QImage img(width, ctx.Clip.bottom() + 1, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TCanvas canvas(&p);
    List.Paint(canvas, ctx, width, 0, 0);
    return img;
  }
};

// The scroll of a pass travels in its context: each item lands where the unscrolled paint put
// it, moved up, and the root's own scroll position is neither read nor changed.
TEST_F(PaintContextTest, EveryItemTakesTheScrollFromTheContext)
{
  BuildPage();
  const int width = 200;
  const int32_t height = LayoutAt(width);
  TPaintContext whole = Pass(QRect(0, 0, width, height));
  const QImage full = PaintPass(whole, width);
  for (int32_t scroll : {1, 17, height / 3, height / 2}) {
    const int32_t band = height - scroll;
    TPaintContext ctx = Pass(QRect(0, 0, width, band), scroll);
    const QImage shifted = PaintPass(ctx, width);
    EXPECT_EQ(shifted, full.copy(0, scroll, width, band)) << "scroll " << scroll;
    EXPECT_EQ(ctx.DrawBottom, scroll + band - 1);
  }
  EXPECT_EQ(List.ScrollY, 0);
}

// A band that starts anywhere, even right at the bottom of a line, shows the same pixels as the
// whole page does there: descenders that reach below their line box are not lost at the band's
// top edge (a one-line scroll repaints just such a band).
TEST_F(PaintContextTest, BandsStartingAnywhereMatchTheWholePage)
{
  for (int i = 0; i < 6; ++i)
    AddText("gjpqy descending glyphs gjpqy on paragraph " + std::to_string(i));
  const int width = 220;
  const int32_t height = LayoutAt(width);
  TPaintContext whole = Pass(QRect(0, 0, width, height));
  const QImage full = PaintPass(whole, width);
  const int32_t band = 16;
  for (int32_t scroll = 0; scroll + band <= height; ++scroll) {
    TPaintContext ctx = Pass(QRect(0, 0, width, band), scroll);
    EXPECT_EQ(PaintPass(ctx, width), full.copy(0, scroll, width, band)) << "scroll " << scroll;
  }
}

// A hit test below the root reports the link and image under the point in its own result and
// leaves the document's hover state to the root; the root keeps it across moves.
TEST_F(PaintContextTest, HitTestReportsTheHoverInItsResult)
{
  auto s = MakeSection();
  Append(*s, "go ");
  s->LinkMark(true, Font(), fsUnderline, TUrlTarget{"next.htm", ""});
  Append(*s, "there", 3);
  TSection* p = s.get();
  List.Add(std::move(s));
  LayoutAt(400);
  PaintAll(400, 100);
  TFormControlObj* control = nullptr;
  TUrlTarget found;
  TLinkHover hover;
  const int32_t y = p->TopY + 2;
  ASSERT_TRUE(p->LinkAt(Canvas, Width("go th"), y, control, found, hover));
  EXPECT_EQ(hover.Link, p->Fonts.ObjAt(3));
  EXPECT_EQ(hover.Image, nullptr);
  EXPECT_EQ(Doc.HoverLink, nullptr);
  ASSERT_TRUE(List.LinkAt(Canvas, Width("go th"), y, control, found));
  EXPECT_EQ(Doc.HoverLink, p->Fonts.ObjAt(3));
}

// The selected text of one table cell is copied into the buffer handed to that cell alone.
TEST_F(PaintContextTest, CopySelectionWritesIntoTheBufferItIsGiven)
{
  ThtmlTable* t = AddTable();
  TCellList* row = AddRow(t);
  TCellObj* left = AddCell(row, "abc");
  AddCell(row, "def");
  LayoutAt(400);
  Doc.SelStartPos = 0;
  Doc.SelEndPos = List.CursorCount;
  ClipBuffer buffer;
  left->Content->CopySelection(buffer);
  buffer.Terminate();
  EXPECT_EQ(buffer.Text(), "abc\r\n");
  EXPECT_EQ(List.CopySelection(), "abc\r\ndef\r\n");
}

// Repeated paints of an unchanged page go straight to the blocks in the band. A left float
// hangs far below its own paragraph, so the blocks beside it are found through its painted
// extent, not its flow. Each band must match the same band painted right after a layout (which
// walks every block), blocks must keep the tops their layout gave them, and a relayout must not
// reuse the previous layout's places.
TEST_F(PaintContextTest, BandPaintsMatchTheWalkOfEveryBlock)
{
  auto s = MakeSection();
  Append(*s, "ab");
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
  img->Placement = plLeft;
  img->ReqWidth = 40;
  img->ReqHeight = 300;
  s->PlaceImage(std::move(img), 2);
  List.Add(std::move(s));
  for (int i = 0; i < 30; ++i)
    AddText("paragraph " + std::to_string(i) + " beside the float and below it");
  BuildPage();
  for (int i = 0; i < 10; ++i)
    AddText("tail " + std::to_string(i));

  const int32_t band = 90;
  for (const int width : {260, 180}) {
    const int32_t height = LayoutAt(width);
    std::vector<int32_t> scrolls;
    for (int32_t scroll = 0; scroll + band <= height; scroll += 37)
      scrolls.push_back(scroll);
    std::vector<QImage> walked;
    for (int32_t scroll : scrolls) {
      LayoutAt(width);
      TPaintContext ctx = Pass(QRect(0, 0, width, band), scroll);
      walked.push_back(PaintPass(ctx, width));
    }
    LayoutAt(width);
    std::vector<int32_t> tops;
    for (const auto& item : List)
      tops.push_back(item->TopY);
    for (size_t k : {scrolls.size() / 2, size_t(0)}) {
      TPaintContext first = Pass(QRect(0, 0, width, band), scrolls[k]);
      EXPECT_EQ(PaintPass(first, width), walked[k]) << width << " first pass " << scrolls[k];
    }
    for (size_t k = 0; k < scrolls.size(); ++k) {
      TPaintContext ctx = Pass(QRect(0, 0, width, band), scrolls[k]);
      EXPECT_EQ(PaintPass(ctx, width), walked[k]) << width << " scroll " << scrolls[k];
    }
    int k = 0;
    for (const auto& item : List)
      EXPECT_EQ(item->TopY, tops[size_t(k++)]) << width << " block " << k - 1;
  }
}

// A long paragraph is entered at the first of its lines that reaches the band. Every band shows
// the pixels of the whole page there: a list item's marker on its first line, the lines of a
// plain paragraph, and a paragraph whose float hangs below its first line (all its lines are
// walked then). The line tops the layout keeps are those the line heights add up to.
TEST_F(PaintContextTest, LongParagraphsPaintFromTheFirstLineInTheBand)
{
  std::string words;
  for (int i = 0; i < 40; ++i)
    words += "gjpqy word " + std::to_string(i) + " ";
  auto item = std::make_unique<TOListItem>(&Doc, TUrlTarget(), Font(), '1', 7, 1);
  Append(*item, words);
  List.Add(std::move(item));
  AddText(words);
  auto s = MakeSection();
  Append(*s, "ab");
  auto img = std::make_unique<TImageObj>(&Doc, &List, 0, "x.gif");
  img->Placement = plLeft;
  img->ReqWidth = 30;
  img->ReqHeight = 120;
  s->PlaceImage(std::move(img), 2);
  Append(*s, words, 3);
  List.Add(std::move(s));

  const int width = 220;
  const int32_t height = LayoutAt(width);
  for (const auto& block : List) {
    if (const auto* section = dynamic_cast<const TSection*>(block.get())) {
      for (size_t k = 0; k < section->LineList.size(); ++k)
        EXPECT_EQ(section->TopY + section->LineList[k].Top, LineTop(*section, k)) << k;
    }
  }
  TPaintContext whole = Pass(QRect(0, 0, width, height));
  const QImage full = PaintPass(whole, width);
  const int32_t band = 16;
  for (int32_t scroll = 0; scroll + band <= height; scroll += 3) {
    TPaintContext ctx = Pass(QRect(0, 0, width, band), scroll);
    EXPECT_EQ(PaintPass(ctx, width), full.copy(0, scroll, width, band)) << "scroll " << scroll;
  }
}

// Two documents side by side: what one page enters in its document (links, maps, panels,
// selection, settings) stays there, and clearing one leaves the other whole.
TEST(Documents, KeepTheirListsAndSettingsApart)
{
  TFakeHost hostA, hostB;
  TSectionList a(nullptr, &hostA), b(nullptr, &hostB);
  for (TSectionList* list : {&a, &b}) {
    auto s = std::make_unique<TSection>(&list->Document(), paLeft, TUrlTarget(), TMyFont(), 0);
    s->LinkMark(true, TMyFont(), 0, TUrlTarget{"u.htm", ""});
    s->AppendChar('x', 0);
    s->PlacePanel(std::make_unique<TPanelObj>(&list->Document(), 1, 40, 20, "p"), 1);
    list->Add(std::move(s));
  }
  a.Document().Maps.Add(std::make_unique<TMapItem>());
  a.Document().SelEndPos = 1;
  a.Document().LinkColor = clRed;
  EXPECT_EQ(a.Document().LinkStarts.size(), 1u);
  EXPECT_EQ(b.Document().LinkStarts.size(), 1u);
  EXPECT_EQ(b.Document().Maps.Count(), 0);
  EXPECT_EQ(b.Document().SelEndPos, 0);
  EXPECT_EQ(b.Document().LinkColor, clBlue);
  EXPECT_EQ(hostA.Panels.size(), 1u);
  EXPECT_EQ(hostB.Panels.size(), 1u);

  a.Clear();
  EXPECT_TRUE(a.Document().Panels.empty());
  EXPECT_TRUE(a.Document().LinkStarts.empty());
  ASSERT_EQ(b.Document().Panels.size(), 1u);
  EXPECT_EQ(b.Document().Panels[0]->Panel.get(), hostB.Panels[0]);
  EXPECT_EQ(b.Document().LinkStarts.size(), 1u);
  EXPECT_EQ(b.Count(), 1);
}

} // namespace
