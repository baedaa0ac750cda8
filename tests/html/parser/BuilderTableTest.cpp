// Tables as the builder reads them: rows and cells (implied where tags are missing), text
// outside cells, header cells, captions and nesting.
#include "BuilderTestSupport.h"

#include "html/model/CellList.h"

#include <gtest/gtest.h>

using namespace buildertest;

namespace {

struct TTableCase {
  const char* Name;
  const char* Html;
  const char* Expected;
};

class BuilderTable : public ::testing::TestWithParam<TTableCase> {};

TEST_P(BuilderTable, BuildsRowsAndCells)
{
  auto p = Parse(GetParam().Html);
  EXPECT_EQ(Summary(*p->List), GetParam().Expected) << GetParam().Html;
}

// T{...} lists rows separated by '/', cells by '|'.
const TTableCase TableCases[] = {
    {"Simple", "x<TABLE><TR><TD>a</TD><TD>b</TD></TR></TABLE>y", "S(x) T{S(a)|S(b)} S(y)"},
    {"TextBeforeFirstRowGoesAbove", "<TABLE>before<TR><TD>a</TABLE>", "S(before) T{S(a)}"},
    {"ImpliedRowAndCells", "<TABLE><TD>a<TD>b<TR><TD>c</TABLE>", "T{S(a)|S(b)/S(c)}"},
    {"EndTagsOptional", "<TABLE><TR><TD>a<TR><TD>b</TABLE>", "T{S(a)/S(b)}"},
    {"RowEndThenText", "<TABLE><TR><TD>a</TR>between<TR><TD>b</TABLE>", "S(between) T{S(a)/S(b)}"},
    {"EmptyCellKept", "<TABLE><TR><TD></TD><TD>b</TABLE>", "T{|S(b)}"},
    {"ParagraphFirstInCellAddsNoSpace", "<TABLE><TR><TD><P>x</TABLE>", "T{S(x)}"},
    {"ParagraphAfterTextInCell", "<TABLE><TR><TD>a<P>b</TABLE>", "T{S(a) P S(b)}"},
    {"Nested", "<TABLE><TR><TD><TABLE><TR><TD>in</TABLE>out</TABLE>", "T{T{S(in)} S(out)}"},
    {"PreEndsAtCellEnd", "<TABLE><TR><TD><PRE>a</TD><TD>b</TABLE>", "T{Pre(a)|S(b)}"},
    {"ListEndsAtNextCell", "<TABLE><TR><TD><UL><LI>a<TD>b</TABLE>", "T{UL1(a)|S(b)}"},
    {"CenterEndsAtNextCell", "<TABLE><TR><TD><CENTER>a<TD>b</TABLE>", "T{S(a)|S(b)}"},
    {"UnclosedTable", "a<TABLE><TR><TD>b", "S(a) T{S(b)}"},
    {"TableInList", "<UL><LI>a<TABLE><TR><TD>b</TABLE>c</UL>", "UL1(a) T{S(b)} S1(c)"},
    {"StrayTagsOutsideCellsIgnored", "<TABLE><FORM><B><TR><TD>a</TABLE>", "T{S(a)}"},
    {"UnterminatedCommentInCell", "a<TABLE><TR><TD>b<BR><!-- open", "S(a) T{S(b)}"},
};

INSTANTIATE_TEST_SUITE_P(Builder, BuilderTable, ::testing::ValuesIn(TableCases),
                         [](const auto& info) { return std::string(info.param.Name); });

ThtmlTable* FirstTable(const TCell& cell)
{
  for (const auto& item : cell)
    if (auto* t = dynamic_cast<ThtmlTable*>(item.get()))
      return t;
  return nullptr;
}

TCell& CellContent(ThtmlTable& t, int row, int col)
{
  return *t.Rows[row]->Items(col)->Content;
}

TEST(BuilderTableCells, HeaderCellsAreBoldAndCentred)
{
  auto p = Parse("<TABLE><TR><TH>h<TD>d</TABLE>after");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->Rows[0]->Count(), 2);
  TSection* h = SectionWith(CellContent(*t, 0, 0), "h");
  TSection* d = SectionWith(CellContent(*t, 0, 1), "d");
  ASSERT_TRUE(h && d);
  EXPECT_EQ(h->ParaAlign, paCenter);
  EXPECT_TRUE(h->Fonts.ObjAt(0)->FontCopy().bold());
  EXPECT_EQ(d->ParaAlign, paLeft);
  EXPECT_FALSE(d->Fonts.ObjAt(0)->FontCopy().bold());
  // Nothing of the cells leaks out of the table.
  EXPECT_FALSE(FontOf(*p->List, "after")->FontCopy().bold());
  EXPECT_EQ(SectionWith(*p->List, "after")->ParaAlign, paLeft);
}

TEST(BuilderTableCells, AlignmentFromRowAndCell)
{
  auto p = Parse("<TABLE><TR ALIGN=right VALIGN=top><TD>a<TH>b<TD ALIGN=center VALIGN=bottom>c"
                 "<TR><TD VALIGN=baseline>d</TABLE>");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->Rows.Count(), 2);
  EXPECT_EQ(SectionWith(CellContent(*t, 0, 0), "a")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(CellContent(*t, 0, 1), "b")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(CellContent(*t, 0, 2), "c")->ParaAlign, paCenter);
  EXPECT_EQ(t->Rows[0]->Items(0)->VertAlign, vaTop);
  EXPECT_EQ(t->Rows[0]->Items(2)->VertAlign, vaBottom);
  EXPECT_EQ(t->Rows[1]->Items(0)->VertAlign, vaTop);
}

TEST(BuilderTableCells, CellsDefaultToMiddle)
{
  auto p = Parse("<TABLE><TD>a</TABLE>");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Rows[0]->Items(0)->VertAlign, vaMiddle);
}

TEST(BuilderTableCells, StylesAndFontsEndWithTheCell)
{
  auto p = Parse("<TABLE><TR><TD><B><FONT SIZE=7>a<TD>b</TABLE>c");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  const TMyFont& a = SectionWith(CellContent(*t, 0, 0), "a")->Fonts.ObjAt(0)->FontCopy();
  const TMyFont& b = SectionWith(CellContent(*t, 0, 1), "b")->Fonts.ObjAt(0)->FontCopy();
  EXPECT_TRUE(a.bold());
  EXPECT_EQ(a.NominalSize, TBuilder::FontSizeFor(7, false));
  EXPECT_FALSE(b.bold());
  EXPECT_EQ(b.NominalSize, 12);
}

TEST(BuilderTableCells, OpenLinkEndsAtTheTable)
{
  auto p = Parse("<A HREF=x>a<TABLE><TR><TD>b</TABLE>c");
  EXPECT_EQ(FontOf(*p->List, "a")->Link().Url, "x");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(SectionWith(CellContent(*t, 0, 0), "b")->Fonts.ObjAt(0)->Link().Url.empty());
  EXPECT_TRUE(FontOf(*p->List, "c")->Link().Url.empty());
}

TEST(BuilderTableCells, CaptionAboveOrBelow)
{
  auto p = Parse("<TABLE><CAPTION>top</CAPTION><TR><TD>a</TABLE>"
                 "<TABLE><CAPTION ALIGN=BOTTOM>low</CAPTION><TR><TD>b</TABLE>");
  std::vector<ThtmlTable*> tables;
  for (const auto& item : *p->List)
    if (auto* t = dynamic_cast<ThtmlTable*>(item.get()))
      tables.push_back(t);
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_TRUE(tables[0]->CaptionOnTop);
  EXPECT_FALSE(tables[1]->CaptionOnTop);
  TSection* top = SectionWith(*tables[0]->CaptionCell->Content, "top");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->ParaAlign, paCenter);
  EXPECT_EQ(Summary(*tables[1]->CaptionCell->Content), "S(low)");
  EXPECT_EQ(Summary(CellContent(*tables[1], 0, 0)), "S(b)");
}

TEST(BuilderTableCells, TableAttributesReachTheTable)
{
  auto p = Parse("<TABLE BORDER CELLPADDING=4 WIDTH=50%><TR><TD>a</TABLE>");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->HasBorder);
  EXPECT_EQ(t->CellPadding, 4);
  EXPECT_TRUE(t->TableWidthIsPercent);
  EXPECT_EQ(t->EnclosingCell, p->List.get());
}

TEST(BuilderTableCells, AnchorInsideACellPointsAtItsSection)
{
  auto p = Parse("<TABLE><TR><TD><A NAME=cell>x</A></TABLE>");
  ThtmlTable* t = FirstTable(*p->List);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(p->Anchors.size(), 1u);
  EXPECT_EQ(p->Anchors[0].second, SectionWith(CellContent(*t, 0, 0), "x"));
}

} // namespace
