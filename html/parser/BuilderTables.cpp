#include "html/parser/Builder.h"

#include "base/StringUtil.h"
#include "html/model/CellList.h"
#include "html/model/CellObj.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/model/htmlTable.h"

// The table reader: TABLE with its rows, cells and caption. Cells are read by the body reader
// with the table's own end set.

namespace {
const TSymbolSet TableSet = TBuilder::SetOf(
    {symTABLEEnd, symTD, symTDEnd, symTR, symTREnd, symTH, symTHEnd, symCAPTION, symCAPTIONEnd});
} // namespace

// Open table, row and cell while one table is read, and the builder state to restore at
// each cell and at the end.
struct TBuilder::TTableState {
  std::unique_ptr<ThtmlTable> Table;
  std::unique_ptr<TCellList> Row;
  std::unique_ptr<TCellObj> Cell;
  TCell* Outer = nullptr;
  size_t FontDepth = 0;
  TParaAlign SavedAlign = paLeft;
  int SavedFlags = 0;
  bool SavedNoWrap = false;
};

void TBuilder::ReadTable(int level)
{
  if (FNesting >= MaxNesting) {
    Next();
    return;
  }
  if (LinkOpen)
    EndLink();
  TTableState st;
  st.FontDepth = FontLevels.size();
  st.SavedAlign = ParaAlign;
  st.SavedFlags = StyleFlags;
  st.SavedNoWrap = FTok.NoWrapMode;
  st.Outer = CurCell;
  CloseSection();
  CurCell = nullptr;
  st.Table = std::make_unique<ThtmlTable>(Doc, &Attrs(), ParaAlign, st.Outer, level);
  Next();
  ++FNesting;
  try {
    while (Sym() != symTABLEEnd && Sym() != symEof) {
      switch (Sym()) {
      case symText: TableText(st); break;
      case symTD:
      case symTH: TableCell(st); break;
      case symTDEnd:
      case symTHEnd:
        CloseCell(st);
        Next();
        break;
      case symTR: TableRow(st); break;
      case symTREnd: TableRowEnd(st); break;
      case symCAPTION: TableCaption(st); break;
      default: Next(); break;
      }
    }
  } catch (...) {
    // A parse cut short inside the table keeps what was read of it; the current cell must
    // not be left pointing into cells that are about to go away.
    --FNesting;
    FinishTable(st);
    throw;
  }
  --FNesting;
  FinishTable(st);
  Next();
}

void TBuilder::FinishTable(TTableState& st)
{
  if (LinkOpen)
    EndLink();
  PopTo(st.FontDepth);
  CloseCell(st);
  if (st.Row)
    st.Table->AddRow(std::move(st.Row));
  CurCell = st.Outer;
  if (CurCell)
    CurCell->Add(std::move(st.Table));
  else
    ForgetAnchors(*st.Table);
  StyleFlags = st.SavedFlags;
  FTok.NoWrapMode = st.SavedNoWrap;
  ParaAlign = st.SavedAlign;
}

// Content between the table's tags but outside any cell goes to the enclosing cell, above
// the table.
void TBuilder::TableText(TTableState& st)
{
  TCell* saved = CurCell;
  CurCell = st.Outer;
  ReadBody(0, TableSet);
  CloseSection();
  CurCell = saved;
}

void TBuilder::RestoreCellState(const TTableState& st)
{
  if (LinkOpen)
    EndLink();
  PopTo(st.FontDepth);
  StyleFlags = st.SavedFlags;
  FTok.NoWrapMode = false;
}

void TBuilder::TableCell(TTableState& st)
{
  bool header = Sym() == symTH;
  RestoreCellState(st);
  if (st.Cell)
    CloseCell(st);
  else if (!st.Row)
    st.Row = std::make_unique<TCellList>();
  TParaAlign align = st.Row->HorzAlign ? st.Row->HorzAlign : (header ? paCenter : paLeft);
  if (header)
    StyleFlags |= fsBold;
  if (TAttribute* a = Attrs().Find(attrALIGN))
    align = AlignOf(a->Text, align);
  uint8_t valign = st.Row->VertAlign;
  if (TAttribute* a = Attrs().Find(attrVALIGN))
    valign = ParseVertAlign(a->Text, valign);
  st.Cell = std::make_unique<TCellObj>(Doc, &Attrs(), valign);
  CurCell = st.Cell->Content.get();
  ParaAlign = align;
  FTok.SkipBlanks();
  // Set before the next token so that content clears it: a P right at the start of the
  // cell adds no space, one after some text does.
  FTok.ParaSpaceAdded = true;
  Next();
  ReadBody(0, TableSet);
}

void TBuilder::CloseCell(TTableState& st)
{
  CloseSection();
  if (st.Cell) {
    if (st.Row && CurCell == st.Cell->Content.get())
      st.Row->Add(std::move(st.Cell));
    else if (st.Cell->Content)
      ForgetAnchors(*st.Cell->Content);
    st.Cell.reset();
  }
  CurCell = nullptr;
}

void TBuilder::TableRow(TTableState& st)
{
  if (LinkOpen)
    EndLink();
  if (st.Row) {
    CloseCell(st);
    st.Table->AddRow(std::move(st.Row));
  }
  st.Row = std::make_unique<TCellList>(&Attrs());
  Next();
}

void TBuilder::TableRowEnd(TTableState& st)
{
  if (LinkOpen)
    EndLink();
  if (st.Row) {
    CloseCell(st);
    st.Table->AddRow(std::move(st.Row));
  }
  Next();
}

void TBuilder::TableCaption(TTableState& st)
{
  RestoreCellState(st);
  CloseCell(st);
  if (TAttribute* a = Attrs().Find(attrALIGN))
    st.Table->CaptionOnTop = strutil::LowerCase(strutil::Trim(a->Text)) != "bottom";
  CurCell = st.Table->CaptionCell->Content.get();
  ParaAlign = paCenter;
  Next();
  ReadBody(0, TableSet);
  CloseSection();
  CurCell = nullptr;
  if (Sym() == symCAPTIONEnd)
    Next();
}
