#include "TableTestSupport.h"

#include "base/Exceptions.h"

#include <vector>

namespace {

struct TableAttrCase {
  const char* Name;
  std::vector<TAttr> Attrs;
  int32_t Padding, Spacing;
  bool Border;
  int32_t HSpace, WidthSpec;
  bool WidthPercent;
  TParaAlign Align;
  bool Floating;
};

class TableAttributes : public TableTest, public ::testing::WithParamInterface<TableAttrCase> {};

TEST_P(TableAttributes, AreReadAndClamped)
{
  const TableAttrCase& c = GetParam();
  auto attrs = std::make_unique<TAttributeList>();
  for (const TAttr& a : c.Attrs) {
    auto one = Attrs({a});
    attrs->Add(one->Extract(0));
  }
  ThtmlTable t(&Doc, attrs.get(), paLeft, &List, 0);
  EXPECT_EQ(t.CellPadding, c.Padding);
  EXPECT_EQ(t.CellSpacing, c.Spacing);
  EXPECT_EQ(t.HasBorder, c.Border);
  EXPECT_EQ(t.HSpace, c.HSpace);
  EXPECT_EQ(t.TableWidthSpec, c.WidthSpec);
  EXPECT_EQ(t.TableWidthIsPercent, c.WidthPercent);
  EXPECT_EQ(t.HorzAlign, c.Align);
  EXPECT_EQ(t.Floating, c.Floating);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableAttributes,
    ::testing::Values(
        TableAttrCase{"Defaults", {}, 1, 2, false, 5, 0, false, paLeft, false},
        TableAttrCase{"BareBorder", {{attrBORDER, ""}}, 1, 4, true, 5, 0, false, paLeft, false},
        TableAttrCase{"BorderZero", {{attrBORDER, "0"}}, 1, 2, false, 5, 0, false, paLeft, false},
        TableAttrCase{
            "PaddingClamped", {{attrCELLPADDING, "80"}}, 50, 2, false, 5, 0, false, paLeft, false},
        TableAttrCase{"NegativePaddingIgnored",
                      {{attrCELLPADDING, "-3"}},
                      1,
                      2,
                      false,
                      5,
                      0,
                      false,
                      paLeft,
                      false},
        TableAttrCase{"SpacingClampedThenBorder",
                      {{attrCELLSPACING, "99"}, {attrBORDER, "2"}},
                      1,
                      42,
                      true,
                      5,
                      0,
                      false,
                      paLeft,
                      false},
        TableAttrCase{"HSpaceAbsoluteAndClamped",
                      {{attrHSPACE, "-60"}},
                      1,
                      2,
                      false,
                      20,
                      0,
                      false,
                      paLeft,
                      false},
        TableAttrCase{"HSpaceSmall", {{attrHSPACE, "-7"}}, 1, 2, false, 7, 0, false, paLeft, false},
        TableAttrCase{
            "PixelWidth", {{attrWIDTH, "300"}}, 1, 2, false, 5, 300, false, paLeft, false},
        TableAttrCase{
            "PercentWidth", {{attrWIDTH, "50%"}}, 1, 2, false, 5, 500, true, paLeft, false},
        TableAttrCase{
            "PercentOutOfRange", {{attrWIDTH, "150%"}}, 1, 2, false, 5, 0, true, paLeft, false},
        TableAttrCase{"Center", {{attrALIGN, "center"}}, 1, 2, false, 5, 0, false, paCenter, false},
        TableAttrCase{"LeftFloats", {{attrALIGN, "Left"}}, 1, 2, false, 5, 0, false, paLeft, true},
        TableAttrCase{
            "RightFloats", {{attrALIGN, "RIGHT"}}, 1, 2, false, 5, 0, false, paRight, true},
        TableAttrCase{
            "OtherAlignIgnored", {{attrALIGN, "middle"}}, 1, 2, false, 5, 0, false, paLeft, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TableTest, TableKeepsTheParagraphAlignmentUnlessAlignSaysOtherwise)
{
  ThtmlTable t(&Doc, nullptr, paRight, &List, 0);
  EXPECT_EQ(t.HorzAlign, paRight);
  EXPECT_FALSE(t.Floating);
  EXPECT_TRUE(t.CaptionOnTop);
  ASSERT_TRUE(t.CaptionCell);
  EXPECT_TRUE(t.CaptionCell->Content->Empty());
}

TEST_F(TableTest, ColoursAreParsedOrLeftUnset)
{
  auto good = Attrs({{attrBGCOLOR, "#FF0000"}, {attrBORDERCOLOR, "navy"}});
  ThtmlTable t(&Doc, good.get(), paLeft, &List, 0);
  EXPECT_TRUE(t.HasBgColor);
  EXPECT_EQ(t.BgColor, clRed);
  EXPECT_TRUE(t.HasBorderColor);
  EXPECT_EQ(t.BorderColor, clNavy);
  auto bad = Attrs({{attrBGCOLOR, "notacolour"}, {attrBORDERCOLOR, ""}});
  ThtmlTable u(&Doc, bad.get(), paLeft, &List, 0);
  EXPECT_FALSE(u.HasBgColor);
  EXPECT_FALSE(u.HasBorderColor);
}

struct CellAttrCase {
  const char* Name;
  std::vector<TAttr> Attrs;
  int32_t ColSpan, RowSpan, WidthSpec;
  bool Percent;
  int32_t Height;
};

class CellAttributes : public TableTest, public ::testing::WithParamInterface<CellAttrCase> {};

TEST_P(CellAttributes, AreReadAsTheBuilderHandsThem)
{
  const CellAttrCase& c = GetParam();
  auto attrs = std::make_unique<TAttributeList>();
  for (const TAttr& a : c.Attrs)
    attrs->Add(Attrs({a})->Extract(0));
  TCellObj cell(&Doc, attrs.get(), vaBottom);
  EXPECT_EQ(cell.ColSpan, c.ColSpan);
  EXPECT_EQ(cell.RowSpan, c.RowSpan);
  EXPECT_EQ(cell.WidthSpec, c.WidthSpec);
  EXPECT_EQ(cell.WidthIsPercent, c.Percent);
  EXPECT_EQ(cell.HeightAttr, c.Height);
  EXPECT_EQ(cell.VertAlign, vaBottom);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CellAttributes,
    ::testing::Values(
        CellAttrCase{"Defaults", {}, 1, 1, 0, false, 0},
        CellAttrCase{"Spans", {{attrCOLSPAN, "3"}, {attrROWSPAN, "2"}}, 3, 2, 0, false, 0},
        CellAttrCase{
            "SpansBelowTwoIgnored", {{attrCOLSPAN, "0"}, {attrROWSPAN, "-4"}}, 1, 1, 0, false, 0},
        CellAttrCase{"PixelWidth", {{attrWIDTH, "120"}}, 1, 1, 120, false, 0},
        CellAttrCase{"ZeroWidthIgnored", {{attrWIDTH, "0"}}, 1, 1, 0, false, 0},
        CellAttrCase{"PercentWidth", {{attrWIDTH, "25%"}}, 1, 1, 250, true, 0},
        CellAttrCase{"PercentOutOfRange", {{attrWIDTH, "101%"}}, 1, 1, 0, false, 0},
        CellAttrCase{"HeightPercentIsPixels", {{attrHEIGHT, "50%"}}, 1, 1, 0, false, 50}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TableTest, RowReadsBackgroundAndAlignments)
{
  auto a = Attrs({{attrBGCOLOR, "lime"}, {attrALIGN, "Right"}, {attrVALIGN, "baseline"}});
  TCellList row(a.get());
  EXPECT_TRUE(row.HasBgColor);
  EXPECT_EQ(row.BgColor, clLime);
  EXPECT_EQ(row.HorzAlign, paRight);
  EXPECT_EQ(row.VertAlign, vaTop);
  TCellList plain;
  EXPECT_EQ(plain.VertAlign, vaMiddle);
  EXPECT_EQ(plain.HorzAlign, paNone);
  EXPECT_EQ(ParseVertAlign("sideways", vaBottom), vaBottom);
}

// Entries of each row after expansion: 'C' a cell, '.' a place-holder.
std::vector<std::string> Shape(const ThtmlTable& t)
{
  std::vector<std::string> out;
  for (const auto& row : t.Rows) {
    std::string s;
    for (const auto& cell : *row)
      s += cell->IsPlaceholder() ? '.' : 'C';
    out.push_back(s);
  }
  return out;
}

TEST_F(TableTest, ColumnSpanAddsPlaceholdersAfterTheCell)
{
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "wide", {{attrCOLSPAN, "3"}});
  t->ExpandSpans();
  EXPECT_EQ(t->ColumnCount, 3);
  EXPECT_EQ(Shape(*t), (std::vector<std::string>{"C.."}));
  EXPECT_FALSE(t->Rows[0]->Items(1)->HasContent());
}

TEST_F(TableTest, SpanBothWaysReservesItsRectangle)
{
  ThtmlTable* t = AddTable();
  TCellList* r0 = AddRow(t);
  AddCell(r0, "big", {{attrCOLSPAN, "2"}, {attrROWSPAN, "2"}});
  AddCell(r0, "a");
  TCellObj* b = AddCell(AddRow(t), "b");
  t->ExpandSpans();
  EXPECT_EQ(Shape(*t), (std::vector<std::string>{"C.C", "..C"}));
  EXPECT_EQ(t->Rows[1]->IndexOf(b), 2);
  EXPECT_EQ(t->ColumnCount, 3);
}

TEST_F(TableTest, RowSpanIsCutToTheRowsThatExist)
{
  ThtmlTable* t = AddTable();
  TCellObj* tall = AddCell(AddRow(t), "tall", {{attrROWSPAN, "5"}});
  AddCell(t->Rows[0], "a");
  AddCell(AddRow(t), "b");
  AddCell(AddRow(t), "c");
  t->ExpandSpans();
  EXPECT_EQ(tall->RowSpan, 3);
  EXPECT_EQ(Shape(*t), (std::vector<std::string>{"CC", ".C", ".C"}));
}

TEST_F(TableTest, ShortRowsGetPlaceholdersBeforeASpanFromAbove)
{
  ThtmlTable* t = AddTable();
  TCellList* r0 = AddRow(t);
  AddCell(r0, "a");
  AddCell(r0, "b");
  AddCell(r0, "down", {{attrROWSPAN, "2"}});
  AddRow(t); // an empty row
  t->ExpandSpans();
  EXPECT_EQ(Shape(*t), (std::vector<std::string>{"CCC", "..."}));
}

TEST_F(TableTest, SpanPushedRightByAnotherSpanIsStillCut)
{
  // The cell pushed to column 2 by the span from above still reaches past the last row; its
  // span must be cut as well.
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "a", {{attrROWSPAN, "2"}});
  TCellList* r1 = AddRow(t);
  AddCell(r1, "b");
  TCellObj* c = AddCell(r1, "c", {{attrROWSPAN, "9"}});
  t->ExpandSpans();
  EXPECT_EQ(c->RowSpan, 1);
  LayoutAt(400); // sums heights over the spanned rows
  EXPECT_EQ(c->SpanHeight, t->Rows[1]->RowHeight);
}

TEST_F(TableTest, ExpandSpansRunsOnce)
{
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "wide", {{attrCOLSPAN, "2"}, {attrROWSPAN, "2"}});
  AddCell(AddRow(t), "x");
  t->ExpandSpans();
  auto first = Shape(*t);
  t->ExpandSpans();
  EXPECT_EQ(Shape(*t), first);
  EXPECT_TRUE(t->SpansExpanded);
}

TEST_F(TableTest, TwoHundredColumnsLayOutAndOneMoreFails)
{
  for (int cols : {200, 201}) {
    List.Clear();
    std::vector<std::string> errors;
    SetProcessErrorHandler([&](const std::string& m) { errors.push_back(m); });
    AddText("before");
    ThtmlTable* t = AddTable();
    TCellList* row = AddRow(t);
    AddCell(row, "a", {{attrCOLSPAN, std::to_string(cols - 1)}});
    AddCell(row, "b");
    TSection* after = AddText("after");
    LayoutAt(800);
    SetProcessErrorHandler(nullptr);
    if (cols == 200) {
      EXPECT_TRUE(errors.empty());
      EXPECT_EQ(List.Count(), 3);
      EXPECT_EQ(t->ColumnCount, 200);
    } else {
      EXPECT_EQ(errors, std::vector<std::string>{msg::TooManyColumns});
      ASSERT_EQ(List.Count(), 2);
      EXPECT_EQ(List.Items(1), after);
      EXPECT_GT(after->FlowHeight, 0);
    }
  }
}

TEST_F(TableTest, HugeColumnSpanFailsWithoutExpanding)
{
  ThtmlTable* t = AddTable();
  AddCell(AddRow(t), "a", {{attrCOLSPAN, "2000000000"}});
  EXPECT_THROW(t->ExpandSpans(), EProcessError);
  EXPECT_LE(t->Rows[0]->Count(), MaxTableColumns + 1);
  EXPECT_THROW(t->ExpandSpans(), EProcessError); // and again, without expanding twice
}

TEST_F(TableTest, TooWideNestedTableGoesAloneAfterOneMessage)
{
  std::vector<std::string> errors;
  SetProcessErrorHandler([&](const std::string& m) { errors.push_back(m); });
  ThtmlTable* outer = AddTable();
  TCellObj* cell = AddCell(AddRow(outer), "outer");
  ThtmlTable* inner = AddTable({}, cell->Content.get());
  for (int c = 0; c < 201; ++c)
    AddCell(c == 0 ? AddRow(inner) : inner->Rows[0], "i");
  LayoutAt(800);
  SetProcessErrorHandler(nullptr);
  EXPECT_EQ(errors, std::vector<std::string>{msg::TooManyColumns});
  ASSERT_EQ(List.Count(), 1);
  EXPECT_EQ(cell->Content->Count(), 1); // the text stays, the inner table is gone
  EXPECT_GT(outer->FlowHeight, 0);
}

TEST_F(TableTest, BackgroundsComeFromCellThenRowThenTableThenEnclosingCell)
{
  ThtmlTable* outer = AddTable();
  TCellObj* host = AddCell(AddRow(outer), "host", {{attrBGCOLOR, "yellow"}});
  ThtmlTable* t = AddTable({{attrBGCOLOR, "blue"}}, host->Content.get());
  TCellList* r0 = AddRow(t, {{attrBGCOLOR, "lime"}});
  TCellObj* own = AddCell(r0, "own", {{attrBGCOLOR, "red"}});
  TCellObj* fromRow = AddCell(r0, "row");
  TCellObj* fromTable = AddCell(AddRow(t), "table");
  ThtmlTable* nested = AddTable({}, fromTable->Content.get());
  TCellObj* deep = AddCell(AddRow(nested), "deep");
  LayoutAt(600);
  EXPECT_EQ(own->Content->BgColor, clRed);
  EXPECT_EQ(fromRow->Content->BgColor, clLime);
  EXPECT_EQ(fromTable->Content->BgColor, clBlue);
  EXPECT_TRUE(nested->HasBgColor);
  EXPECT_EQ(nested->BgColor, clBlue);
  EXPECT_EQ(deep->Content->BgColor, clBlue);
  EXPECT_FALSE(outer->HasBgColor);
}

TEST_F(TableTest, PrintingDoesNotInheritTheEnclosingColour)
{
  Doc.PrintMode = true;
  ThtmlTable* outer = AddTable();
  TCellObj* host = AddCell(AddRow(outer), "host", {{attrBGCOLOR, "yellow"}});
  ThtmlTable* t = AddTable({}, host->Content.get());
  AddCell(AddRow(t), "x");
  LayoutAt(600);
  EXPECT_FALSE(t->HasBgColor);
}

TEST_F(TableTest, CloneForPrintKeepsLayoutAndDropsBackgroundsUnlessAsked)
{
  ThtmlTable* t = AddTable({{attrBGCOLOR, "red"}, {attrBORDERCOLOR, "blue"}, {attrBORDER, ""}});
  AddCell(AddRow(t), "wide", {{attrCOLSPAN, "2"}});
  AddCell(AddRow(t), "a");
  AddTextTo(*t->CaptionCell->Content, "cap");
  LayoutAt(500);
  for (bool backgrounds : {false, true}) {
    TSectionList print;
    print.Document().PrintBackgrounds = backgrounds;
    auto copy = t->CloneForPrint(&print.Document());
    auto* c = dynamic_cast<ThtmlTable*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->SpansExpanded);
    EXPECT_EQ(c->EnclosingCell, nullptr);
    EXPECT_EQ(c->ColumnCount, t->ColumnCount);
    EXPECT_EQ(c->ColumnWidths, t->ColumnWidths);
    EXPECT_EQ(c->FlowHeight, t->FlowHeight);
    EXPECT_EQ(c->GridWidth, t->GridWidth);
    ASSERT_EQ(c->Rows.Count(), 2);
    EXPECT_EQ(c->Rows[0]->Count(), 2);
    EXPECT_EQ(c->Rows[0]->Items(0)->SpanWidth, t->Rows[0]->Items(0)->SpanWidth);
    EXPECT_EQ(c->CaptionCell->Content->Count(), 1);
    EXPECT_EQ(c->HasBgColor, backgrounds);
    EXPECT_EQ(c->HasBorderColor, backgrounds);
    EXPECT_EQ(c->Rows[0]->Items(0)->Content->HasBgColor, backgrounds);
    EXPECT_TRUE(c->HasBorder);
    // Laid out again for the printer, the spans stay as they are.
    int32_t maxWidth = 0, pos = 0;
    c->Layout(Canvas, 0, print.Margins, maxWidth, pos);
    EXPECT_EQ(c->Rows[0]->Count(), 2);
  }
}

} // namespace
