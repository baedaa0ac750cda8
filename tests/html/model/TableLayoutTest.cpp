#include "TableTestSupport.h"

#include <sstream>

namespace {

TEST_F(TableTest, RowSpanDistributesItsShortfallOverItsRows)
{
  // Empty cells: only HEIGHT and the pad count, so the arithmetic is plain.
  ThtmlTable* t = AddTable({{attrCELLPADDING, "3"}});
  const int32_t pad = 2 * 3 + 2;
  TCellList* r0 = AddRow(t);
  TCellObj* tall = AddCell(r0, "", {{attrHEIGHT, "61"}, {attrROWSPAN, "2"}});
  AddCell(r0, "", {{attrHEIGHT, "10"}});
  AddCell(AddRow(t), "", {{attrHEIGHT, "12"}});
  LayoutAt(400);
  int32_t h0 = (10 - 6) + pad, h1 = (12 - 6) + pad;
  const int32_t value = (61 - 6) + pad, S = h0 + h1;
  h0 += (value - S) / 2;
  h1 += (value - S) / 2 + (value - S) % 2;
  EXPECT_EQ(t->Rows[0]->RowHeight, h0);
  EXPECT_EQ(t->Rows[1]->RowHeight, h1);
  EXPECT_EQ(tall->SpanHeight, h0 + h1);
  EXPECT_EQ(t->Rows[0]->TallestSpan, h0 + h1);
  EXPECT_EQ(t->GridHeight, h0 + h1 + 2);
  EXPECT_EQ(t->FlowHeight, t->GridHeight);
}

TEST_F(TableTest, EmptyRowStillGetsThePad)
{
  ThtmlTable* t = AddTable();
  AddRow(t);
  AddCell(AddRow(t), "");
  LayoutAt(400);
  EXPECT_EQ(t->Rows[0]->RowHeight, t->Pad());
  EXPECT_EQ(t->Rows[1]->RowHeight, t->Pad());
}

TEST_F(TableTest, VerticalAlignmentPlacesTheContent)
{
  ThtmlTable* t = AddTable();
  TCellList* row = AddRow(t);
  AddCell(row, "", {{attrHEIGHT, "100"}});
  TCellObj* cells[3] = {AddCell(row, "top", {}, vaTop), AddCell(row, "mid", {}, vaMiddle),
                        AddCell(row, "bot", {}, vaBottom)};
  LayoutAt(400);
  for (TCellObj* c : cells) {
    const int32_t room = c->SpanHeight - c->ContentHeight - t->Pad();
    ASSERT_GT(room, 0);
    const int32_t expected = c->VertAlign == vaTop ? 0 : c->VertAlign == vaMiddle ? room / 2 : room;
    EXPECT_EQ(c->ContentOffset, expected);
    EXPECT_EQ(c->Content->Items(0)->TopY,
              t->TopY + t->CellSpacing + t->CellPadding + c->ContentOffset);
  }
}

TEST_F(TableTest, CaptionOnTopComesFirstInPlaceAndPosition)
{
  AddText("lead");
  ThtmlTable* t = AddTable();
  TSection* cap = AddTextTo(*t->CaptionCell->Content, "caption");
  TSection* cell = AddTextTo(*AddCell(AddRow(t), "")->Content, "cell");
  LayoutAt(400);
  EXPECT_EQ(cap->TopY, t->TopY);
  EXPECT_EQ(cap->FirstCursor, t->FirstCursor);
  EXPECT_EQ(cell->FirstCursor, cap->FirstCursor + cap->CursorCount);
  EXPECT_EQ(t->CaptionHeight, cap->FlowHeight);
  EXPECT_EQ(t->FlowHeight, t->CaptionHeight + t->GridHeight);
  EXPECT_EQ(t->CursorCount, cap->CursorCount + cell->CursorCount);
}

TEST_F(TableTest, CaptionAtTheBottomComesAfterTheCells)
{
  ThtmlTable* t = AddTable();
  t->CaptionOnTop = false;
  TSection* cap = AddTextTo(*t->CaptionCell->Content, "caption");
  TSection* cell = AddTextTo(*AddCell(AddRow(t), "")->Content, "cell");
  LayoutAt(400);
  EXPECT_EQ(cell->FirstCursor, t->FirstCursor);
  EXPECT_EQ(cap->FirstCursor, cell->FirstCursor + cell->CursorCount);
  EXPECT_EQ(cap->TopY, t->TopY + t->GridHeight);
  EXPECT_EQ(t->FlowHeight, t->GridHeight + t->CaptionHeight);
}

TEST_F(TableTest, WideCaptionCentresTheRowsUnderIt)
{
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "x");
  AddTextTo(*t->CaptionCell->Content, "a_caption_word_much_wider_than_the_cell");
  LayoutAt(800);
  EXPECT_EQ(t->OverallWidth, t->CaptionMinWidth);
  EXPECT_EQ(t->RowsOffset, (t->OverallWidth - t->GridWidth) / 2 + t->CaptionOffset);
}

TEST_F(TableTest, AlignmentPlacesANonFloatingTable)
{
  for (TParaAlign align : {paLeft, paCenter, paRight}) {
    List.Clear();
    ThtmlTable* t = AddTable({}, nullptr, align);
    AddCell(AddRow(t), "x");
    LayoutAt(500);
    const int32_t room = 500 - t->OverallWidth;
    EXPECT_EQ(t->CaptionOffset, align == paLeft ? 0 : align == paCenter ? room / 2 : room);
    EXPECT_GT(t->FlowHeight, 0);
  }
}

TEST_F(TableTest, RightFloatingTableLetsTextFlowAtItsLeft)
{
  ThtmlTable* t = AddTable({{attrALIGN, "right"}, {attrHSPACE, "9"}});
  AddCell(AddRow(t), "floating");
  TSection* text = AddText("text beside");
  LayoutAt(600);
  EXPECT_EQ(t->FlowHeight, 0);
  EXPECT_GT(t->PaintHeight, 0);
  EXPECT_EQ(t->CaptionOffset, 600 - t->OverallWidth);
  EXPECT_EQ(text->TopY, t->TopY);
  EXPECT_EQ(List.Margins.RightMargin(t->TopY), 600 - (t->OverallWidth + 9 + 1));
  EXPECT_EQ(List.Margins.RightMargin(t->TopY + t->PaintHeight), 600);
}

TEST_F(TableTest, LeftFloatingTablePushesTextRight)
{
  ThtmlTable* t = AddTable({{attrALIGN, "left"}});
  AddCell(AddRow(t), "floating");
  TSection* text = AddText("text beside");
  LayoutAt(600);
  ASSERT_FALSE(text->LineList.empty());
  EXPECT_EQ(text->LineList[0].StartX, t->OverallWidth + t->HSpace + 1);
  std::ostringstream out;
  t->Dump(out, 0);
  EXPECT_NE(out.str().find(" float=left\n"), std::string::npos);
}

TEST_F(TableTest, HitTestsGoToTheCellUnderThePoint)
{
  ThtmlTable* t = AddTable({{attrCELLPADDING, "4"}});
  TCellList* row = AddRow(t);
  TSection* a = AddTextTo(*AddCell(row, "", {}, vaTop)->Content, "left");
  TSection* b = AddTextTo(*AddCell(row, "", {}, vaTop)->Content, "right");
  LayoutAt(400);
  PaintAll(400, 100);
  const int32_t y = t->TopY + t->CellSpacing + t->CellPadding + 2;
  struct Case {
    int32_t X;
    int32_t Expected;
  } cases[] = {
      {t->DrawnX + t->CellSpacing + t->CellPadding + 1, a->FirstCursor},
      {t->DrawnX + t->ColumnWidths[0] + t->CellSpacing + t->CellPadding + 1, b->FirstCursor},
      {t->DrawnX + t->GridWidth + 5, -1},
  };
  for (const Case& c : cases) {
    int32_t xr = 0, yr = 0, h = 0;
    TCell* cell = nullptr;
    bool inText = false;
    EXPECT_EQ(t->CursorAt(Canvas, c.X, y, xr, yr, h, cell, inText), c.Expected) << c.X;
  }
  int32_t xr = 0, yr = 0, h = 0;
  TCell* cell = nullptr;
  bool inText = false;
  EXPECT_EQ(
      t->CursorAt(Canvas, t->DrawnX + 10, t->TopY + t->FlowHeight + 1, xr, yr, h, cell, inText),
      -1);
}

TEST_F(TableTest, FloatingTableHasNoCursorsButItsLinksAreFound)
{
  ThtmlTable* t = AddTable({{attrALIGN, "left"}});
  AddCell(AddRow(t), "x");
  LayoutAt(400);
  PaintAll(400, 100);
  int32_t xr = 0, yr = 0, h = 0;
  TCell* cell = nullptr;
  bool inText = false;
  EXPECT_EQ(t->CursorAt(Canvas, t->DrawnX + 5, t->TopY + 5, xr, yr, h, cell, inText), -1);
  TFormControlObj* control = nullptr;
  TUrlTarget link;
  TLinkHover hover;
  EXPECT_FALSE(
      t->LinkAt(Canvas, t->DrawnX + 5, t->TopY + t->PaintHeight + 2, control, link, hover));
}

TEST_F(TableTest, QueriesFollowTheCaptionThenCellOrder)
{
  for (bool onTop : {true, false}) {
    List.Clear();
    ThtmlTable* t = AddTable();
    t->CaptionOnTop = onTop;
    TSection* cap = AddTextTo(*t->CaptionCell->Content, "word");
    TSection* cell = AddTextTo(*AddCell(AddRow(t), "")->Content, "word");
    LayoutAt(400);
    TSection* first = onTop ? cap : cell;
    TSection* second = onTop ? cell : cap;
    EXPECT_EQ(t->SearchText(0, "word", true), first->FirstCursor);
    EXPECT_EQ(t->SearchText(second->FirstCursor, "word", true), second->FirstCursor);
    char ch = 0;
    TCharObject obj;
    EXPECT_TRUE(t->CharAt(second->FirstCursor + 1, ch, obj));
    EXPECT_EQ(ch, 'o');
    EXPECT_FALSE(t->CharAt(t->FirstCursor + t->CursorCount + 1, ch, obj));
    int32_t x = 0, y = 0;
    EXPECT_FALSE(t->CursorPoint(Canvas, t->FirstCursor + t->CursorCount + 1, x, y));
    EXPECT_EQ(t->SourcePosOf(cell->FirstCursor), 0);
  }
}

TEST_F(TableTest, TablesWithoutPositionsAnswerNothing)
{
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "");
  LayoutAt(400);
  char ch = 0;
  TCharObject obj;
  int32_t x = 0, y = 0;
  EXPECT_EQ(t->CursorCount, 0);
  EXPECT_FALSE(t->CharAt(t->FirstCursor, ch, obj));
  EXPECT_FALSE(t->CursorPoint(Canvas, t->FirstCursor, x, y));
  EXPECT_EQ(t->SearchText(0, "x", false), -1);
}

TEST_F(TableTest, DocPosOfFindsCellsForwardAndBackward)
{
  ThtmlTable* t = AddTable();
  TCellList* row = AddRow(t);
  auto a = MakeSection();
  Append(*a, "aaa", 100);
  TSection* pa = a.get();
  AddCell(row, "")->Content->Add(std::move(a));
  auto b = MakeSection();
  Append(*b, "bbb", 200);
  TSection* pb = b.get();
  AddCell(row, "")->Content->Add(std::move(b));
  LayoutAt(400);
  EXPECT_EQ(t->DocPosOf(201, false), pb->FirstCursor + 1);
  EXPECT_EQ(t->DocPosOf(101, true), pa->FirstCursor + 1);
  EXPECT_EQ(t->DocPosOf(150, true), pa->FirstCursor + pa->CursorCount - 1);
}

TEST_F(TableTest, CopyTakesTheCaptionWhereItStandsAndCellsRowByRow)
{
  for (bool onTop : {true, false}) {
    List.Clear();
    ThtmlTable* t = AddTable();
    t->CaptionOnTop = onTop;
    AddTextTo(*t->CaptionCell->Content, "cap");
    TCellList* r0 = AddRow(t);
    AddCell(r0, "one");
    AddCell(r0, "two");
    AddCell(AddRow(t), "three");
    LayoutAt(400);
    Doc.SelStartPos = t->FirstCursor;
    Doc.SelEndPos = t->FirstCursor + t->CursorCount;
    const std::string text = List.CopySelection();
    const size_t one = text.find("one"), two = text.find("two"), three = text.find("three"),
                 cap = text.find("cap");
    ASSERT_NE(cap, std::string::npos) << text;
    ASSERT_NE(three, std::string::npos) << text;
    EXPECT_LT(one, two);
    EXPECT_LT(two, three);
    EXPECT_EQ(cap < one, onTop) << text;
  }
}

// ---- painting ----

TEST_F(TableTest, PaintFillsCellBackgroundsButNotEmptyCells)
{
  ThtmlTable* t = AddTable({{attrBGCOLOR, "lime"}, {attrBORDER, ""}, {attrCELLPADDING, "6"}});
  TCellList* row = AddRow(t);
  TCellObj* full = AddCell(row, "x");
  TCellObj* empty = AddCell(row, "", {{attrWIDTH, "40"}});
  LayoutAt(300);
  QImage img = PaintAll(300, 100);
  const int32_t s = t->CellSpacing;
  // Inside the padding of the first cell: its inherited background.
  EXPECT_EQ(Pixel(img, t->DrawnX + s + 1, t->TopY + s + 1), clLime);
  // The empty cell shows neither background nor bevel.
  const int32_t xe = t->DrawnX + t->ColumnWidths[0];
  EXPECT_EQ(Pixel(img, xe + s + 2, t->TopY + s + 2), clWhite);
  EXPECT_EQ(Pixel(img, xe + s - 1, t->TopY + s + 3), clWhite);
  // The first cell is sunken: shadow at its top left, silver (on a white page) at its right.
  EXPECT_EQ(Pixel(img, t->DrawnX + s - 1, t->TopY + s + 3), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(img, t->DrawnX + full->SpanWidth, t->TopY + s + 3), clSilver);
  // The table is raised: silver at its top left edge, shadow at its bottom edge.
  EXPECT_EQ(Pixel(img, t->DrawnX, t->TopY + 3), clSilver);
  EXPECT_EQ(Pixel(img, t->DrawnX + 3, t->TopY + t->GridHeight - 1), ColorToRGB(clBtnShadow));
  (void)empty;
}

TEST_F(TableTest, BorderColourFillsTheSpacingBetweenCells)
{
  ThtmlTable* t = AddTable({{attrBORDERCOLOR, "red"}, {attrCELLSPACING, "6"}});
  TCellList* row = AddRow(t);
  AddCell(row, "a", {{attrBGCOLOR, "blue"}});
  AddCell(row, "b", {{attrBGCOLOR, "blue"}});
  LayoutAt(300);
  QImage img = PaintAll(300, 100);
  const int32_t mid = t->TopY + t->GridHeight / 2;
  EXPECT_EQ(Pixel(img, t->DrawnX + 2, mid), clRed);                      // left spacing
  EXPECT_EQ(Pixel(img, t->DrawnX + t->ColumnWidths[0] + 2, mid), clRed); // between cells
  EXPECT_EQ(Pixel(img, t->DrawnX + 8, mid), clBlue);                     // inside a cell
  EXPECT_EQ(Pixel(img, t->DrawnX + t->GridWidth + 1, mid), clWhite);     // outside
}

TEST_F(TableTest, RaisedBevelOnADarkPageUsesTheHighlightColour)
{
  Doc.PageColor = clNavy;
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    TCanvas canvas(&p);
    DrawBorder3D(&Doc, canvas, 2, 2, 10, 10, true);
  }
  EXPECT_EQ(Pixel(img, 2, 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Pixel(img, 10, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(img, 5, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(img, 11, 5), clWhite);
}

TEST_F(TableTest, PrintingMovesALowTableThatFitsToTheNextPage)
{
  ThtmlTable* t = AddTable();
  for (int r = 0; r < 3; ++r)
    AddCell(AddRow(t), "", {{attrHEIGHT, "20"}});
  LayoutAt(300);
  Doc.PrintMode = true;
  const QRect page(0, 0, 300, 120);
  const int32_t Y = 70; // below the middle of the page
  ASSERT_LT(t->FlowHeight, page.height());
  QImage img(300, 200, QImage::Format_RGB32);
  QPainter p(&img);
  TCanvas canvas(&p);
  IndentManager indent;
  TPaintContext ctx = Pass(page, 0, Y + t->FlowHeight - 1);
  EXPECT_EQ(t->Paint(canvas, ctx, indent, 0, Y), Y + t->FlowHeight);
  EXPECT_EQ(ctx.PageBottom, Y);
}

TEST_F(TableTest, PrintingBreaksBetweenRowsBelowTheMiddle)
{
  ThtmlTable* t = AddTable();
  for (int r = 0; r < 6; ++r)
    AddCell(AddRow(t), "", {{attrHEIGHT, "30"}});
  LayoutAt(300);
  Doc.PrintMode = true;
  const QRect page(0, 0, 300, 120);
  const int32_t bottom = 100;
  // The first row that starts below the middle and does not fit ends the page just above.
  int32_t expected = bottom, y = 0;
  for (int k = 0; k < t->Rows.Count(); ++k) {
    const int32_t h = t->Rows[k]->RowHeight;
    if (y > 60 && y + h > expected) {
      expected = std::min(expected, y + (k > 0 ? t->CellSpacing / 2 : 0));
      break;
    }
    y += h;
  }
  ASSERT_LT(expected, bottom);
  QImage img(300, 300, QImage::Format_RGB32);
  QPainter p(&img);
  TCanvas canvas(&p);
  IndentManager indent;
  TPaintContext ctx = Pass(page, 0, bottom);
  t->Paint(canvas, ctx, indent, 0, 0);
  EXPECT_EQ(ctx.PageBottom, expected);
}

TEST_F(TableTest, DumpShowsGridRowsCellsAndPlaceholders)
{
  ThtmlTable* t = AddTable({{attrBGCOLOR, "#102030"}});
  AddCell(AddRow(t), "x", {{attrCOLSPAN, "2"}});
  LayoutAt(400);
  std::ostringstream out;
  t->Dump(out, 1);
  const TCellObj* c = t->Rows[0]->Items(0);
  std::ostringstream want;
  want << "  htmlTable y=" << t->TopY << " h=" << t->FlowHeight << " ph=" << t->PaintHeight
       << " pos=" << t->FirstCursor << '+' << t->CursorCount << " cols=2 widths=["
       << t->ColumnWidths[0] << ',' << t->ColumnWidths[1] << "] x=" << t->RowsOffset << '\n'
       << "    caption top h=0\n"
       << "    row h=" << t->Rows[0]->RowHeight << '\n'
       << "      cell col=0 span=2x1 w=" << c->SpanWidth << " h=" << c->SpanHeight
       << " bg=#102030\n";
  std::string got = out.str();
  ASSERT_GE(got.size(), want.str().size());
  EXPECT_EQ(got.substr(0, want.str().size()), want.str());
  EXPECT_NE(got.find("\n        Section "), std::string::npos); // the cell's text, nested
  EXPECT_NE(got.find("      placeholder col=1\n"), std::string::npos);
}

} // namespace
