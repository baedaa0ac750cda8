#include "TableTestSupport.h"

#include "base/Exceptions.h"
#include "html/parser/Builder.h"

#include <fstream>
#include <sstream>

namespace {

// Tables read from HTML through the document builder.
class TableFromHtml : public TableTest {
protected:
  void Parse(const std::string& html)
  {
    FSource = html;
    TBuilder builder;
    TAnchorList anchors;
    builder.ParseDocument(TParseSource::FromString(FSource), List, anchors);
  }

  std::vector<ThtmlTable*> Tables() const
  {
    std::vector<ThtmlTable*> out;
    for (const auto& item : List)
      if (auto* t = dynamic_cast<ThtmlTable*>(item.get()))
        out.push_back(t);
    return out;
  }

  ThtmlTable* OnlyTable() const
  {
    auto t = Tables();
    return t.size() == 1 ? t[0] : nullptr;
  }

private:
  std::string FSource;
};

TEST_F(TableFromHtml, OneCellSpanningThreeColumnsMakesThreeColumns)
{
  Parse("<TABLE BORDER><TR><TD COLSPAN=3 BGCOLOR=red>wide</TD></TR></TABLE>");
  ThtmlTable* t = OnlyTable();
  ASSERT_NE(t, nullptr);
  LayoutAt(600);
  EXPECT_EQ(t->ColumnCount, 3);
  const TCellObj* c = t->Rows[0]->Items(0);
  EXPECT_EQ(c->SpanWidth, t->ColumnWidths[0] + t->ColumnWidths[1] + t->ColumnWidths[2]);
  QImage img = PaintAll(600, 100);
  // Place-holders draw nothing: only the real cell is red, up to the end of its span.
  EXPECT_EQ(Pixel(img, t->DrawnX + c->SpanWidth - 1, t->TopY + t->CellSpacing + 1), clRed);
  EXPECT_NE(Pixel(img, t->DrawnX + c->SpanWidth + 1, t->TopY + t->CellSpacing + 1), clRed);
}

TEST_F(TableFromHtml, HeaderCellsAreCentredAndDataCellsFollowTheRow)
{
  Parse("<TABLE><TR ALIGN=right VALIGN=top><TH>head</TH><TD>data</TD></TR>"
        "<TR><TH>h2</TH><TD VALIGN=bottom>d2</TD></TR></TABLE>");
  ThtmlTable* t = OnlyTable();
  ASSERT_NE(t, nullptr);
  auto align = [](const TCellObj* c) {
    return dynamic_cast<const TSection*>(c->Content->Items(0))->ParaAlign;
  };
  EXPECT_EQ(align(t->Rows[0]->Items(0)), paRight);
  EXPECT_EQ(align(t->Rows[0]->Items(1)), paRight);
  EXPECT_EQ(t->Rows[0]->Items(1)->VertAlign, vaTop);
  EXPECT_EQ(align(t->Rows[1]->Items(0)), paCenter);
  EXPECT_EQ(align(t->Rows[1]->Items(1)), paLeft);
  EXPECT_EQ(t->Rows[1]->Items(1)->VertAlign, vaBottom);
}

TEST_F(TableFromHtml, TooManyColumnsDropsTheTableAndKeepsThePage)
{
  for (int cols : {200, 201}) {
    List.Clear();
    std::string html = "<P>before<TABLE><TR>";
    for (int c = 0; c < cols; ++c)
      html += "<TD>x";
    html += "</TABLE><P>after";
    Parse(html);
    std::vector<std::string> errors;
    SetProcessErrorHandler([&](const std::string& m) { errors.push_back(m); });
    LayoutAt(800);
    SetProcessErrorHandler(nullptr);
    EXPECT_EQ(Tables().size(), cols == 200 ? 1u : 0u);
    EXPECT_EQ(errors.size(), cols == 200 ? 0u : 1u);
    EXPECT_NE(List.SearchText(0, "after", true), -1);
  }
}

TEST_F(TableFromHtml, BottomCaptionPositionsComeAfterTheCells)
{
  Parse("<TABLE><CAPTION ALIGN=Bottom>cap</CAPTION><TR><TD>cell</TD></TR></TABLE>");
  ThtmlTable* t = OnlyTable();
  ASSERT_NE(t, nullptr);
  EXPECT_FALSE(t->CaptionOnTop);
  LayoutAt(400);
  EXPECT_GT(t->SearchText(0, "cap", true), t->SearchText(0, "cell", true));
}

TEST_F(TableFromHtml, WildSpansAndNestingStayBounded)
{
  std::string html;
  for (int d = 0; d < 30; ++d)
    html += "<TABLE BORDER WIDTH=150%><TR><TD ROWSPAN=99999 COLSPAN=150 HEIGHT=99999999>";
  html += "deep";
  Parse(html);
  std::vector<std::string> errors;
  SetProcessErrorHandler([&](const std::string& m) { errors.push_back(m); });
  LayoutAt(500);
  SetProcessErrorHandler(nullptr);
  ASSERT_EQ(Tables().size(), 1u);
  EXPECT_LT(List.DocumentHeight, 32000 * 31);
  EXPECT_GT(List.DocumentHeight, 0);
}

// Renders the demo page of tables; the picture is left in the build folder for a look.
TEST_F(TableFromHtml, DemoPageRenders)
{
  std::ifstream in(std::string(LUMORA_TEST_DATA) + "/../../demo/tables.htm");
  ASSERT_TRUE(in.good());
  std::stringstream ss;
  ss << in.rdbuf();
  Parse(ss.str());
  const int width = 640;
  int32_t height = LayoutAt(width);
  auto tables = Tables();
  ASSERT_EQ(tables.size(), 5u);
  EXPECT_EQ(tables[3]->FlowHeight, 0); // the floating one
  EXPECT_TRUE(tables[3]->Floating);
  EXPECT_EQ(tables[4]->GridWidth, width);
  QImage img = PaintAll(width, height + 10);
  img.save(QString::fromLatin1(LUMORA_BUILD_DIR "/tables-demo.png"));
  // The border colour of the second table shows in its left spacing.
  ThtmlTable* bordered = tables[1];
  EXPECT_EQ(Pixel(img, bordered->DrawnX + 1, bordered->TopY + bordered->GridHeight / 2), clNavy);
}

} // namespace
