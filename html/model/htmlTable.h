#pragma once
// A table block: rows of cells, an optional caption, column widths from the cells' minimum
// and maximum widths, bevelled borders, and hit tests routed into the cells.
#include "base/Color.h"
#include "base/FreeList.h"
#include "html/model/Alignment.h"
#include "html/model/CellList.h"
#include "html/model/CellObj.h"
#include "html/model/SectionBase.h"
#include "html/model/TableColumns.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QRegion;
class TAttributeList;
class TCanvas;
class TCell;
class TDocument;

class ThtmlTable : public TSectionBase {
public:
  // justification is the paragraph alignment in force at the TABLE tag; enclosingCell is the cell
  // the table will be added to.
  ThtmlTable(TDocument* doc, const TAttributeList* attributes, TParaAlign justification,
             TCell* enclosingCell, int32_t level);
  // Copy for printing (see CloneForPrint).
  ThtmlTable(TDocument* masterDoc, const ThtmlTable& source);
  ~ThtmlTable() override;

  TFreeList<TCellList> Rows;
  std::unique_ptr<TCellObj> CaptionCell;
  bool SpansExpanded = false;
  bool HasBorder = false;
  bool CaptionOnTop = true;
  int32_t RowsOffset = 0;
  int32_t CaptionOffset = 0;
  TParaAlign HorzAlign = paLeft;
  bool Floating = false;
  int32_t ColumnCount = 0;
  int32_t GridWidth = 0;
  int32_t OverallWidth = 0;
  int32_t TableWidthSpec = 0;
  bool TableWidthIsPercent = false;
  bool HasPixelCellWidth = false;
  int32_t CaptionHeight = 0;
  int32_t GridHeight = 0;
  int32_t CellPadding = 1;
  int32_t CellSpacing = 2;
  int32_t CaptionMinWidth = 0;
  TColumnArray ColumnWidths{};
  TColumnArray ColumnPercents{};
  int32_t HSpace = 5;
  int32_t ListLevel = 0;
  int32_t DrawnX = 0;
  int32_t DrawnY = 0;
  bool HasBgColor = false;
  bool HasBorderColor = false;
  TColor BgColor = 0;
  TColor BorderColor = 0;
  TCell* EnclosingCell = nullptr; // not owned

  // Appends a finished row (the builder adds rows in document order).
  TCellList* AddRow(std::unique_ptr<TCellList> row) { return Rows.Add(std::move(row)); }

  // Inserts place-holders for column and row spans and pushes background colours down.
  // Raises EProcessError when the table has more than MaxTableColumns columns.
  void ExpandSpans();
  // 2 x CellPadding + CellSpacing: the part of every column width and row height that is not
  // content.
  int32_t Pad() const { return 2 * CellPadding + CellSpacing; }

  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  void CopySelection(ClipBuffer& clip) override;
  int32_t Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                 int32_t& pos) override;
  int32_t Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                int32_t Y) override;
  bool LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
              TUrlTarget& urlTarget, TLinkHover& hover) override;
  bool ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY) override;
  int32_t CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                   int32_t& caretHeight, TCell*& cell, bool& inText) override;
  int32_t SearchText(int32_t from, const std::string& text, bool matchCase) override;
  int32_t SourcePosOf(int32_t docPos) override;
  int32_t DocPosOf(int32_t sourcePos, bool prev) override;
  bool CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y) override;
  bool CharAt(int32_t position, char& ch, TCharObject& obj) override;
  void RefreshFonts() override;
  void WidthRange(TCanvas& canvas, int32_t& min, int32_t& max) override;

  const char* KindName() const override { return "htmlTable"; }
  void Dump(std::ostream& out, int indent) const override;

private:
  bool FTooManyColumns = false; // a failed expansion fails again instead of expanding twice

  // Every enclosing table lays its cells out twice (to measure, then in place), so without
  // this a table nested d deep would be laid out 2^d times. Measures taken for one width are
  // kept for the rest of the layout pass of the outermost table, which forgets them all when
  // it starts; between passes nothing is kept.
  struct TMeasureCache {
    bool HasRange = false;
    int32_t RangeMin = 0, RangeMax = 0;
    bool HasLayout = false;
    int32_t Avail = 0;
    std::vector<int32_t> RowHeights;
  };
  TMeasureCache FCache;
  // Set by LayoutRows: each row's top below the first row's (and the end of the last), and the
  // lowest point reached by any row up to each one, spans included. Paint starts at the first
  // row that reaches into its clip, found by bisection, so a page of a long table is drawn
  // without walking the rows of every page above it.
  std::vector<int32_t> FRowTops;
  std::vector<int32_t> FRowReach;
  bool RowsMeasured() const;
  int32_t FirstRowReaching(int32_t localY) const;
  bool FNested = false; // inside another table's cell: the outermost table owns the pass
  void ForgetMeasures();

  void InheritEnclosingColor();
  void ExpandColumnSpans();
  void ExpandRowSpans();
  void CheckColumnCount(int32_t count);
  bool IsPrinting(const TCanvas* canvas = nullptr) const;

  // Every cell but the place-holders with its measured range, for the column arithmetic.
  std::vector<TColumnCell> MeasureCells(TCanvas& canvas);

  // Layout steps.
  void RowHeights(TCanvas& canvas, std::vector<int32_t>& H);
  int32_t MeasureRow(TCanvas& canvas, TCellList& row, int32_t j, int32_t& nextSpan);
  void LayoutRows(TCanvas& canvas, const std::vector<int32_t>& H, int32_t& Y, int32_t& pos);
  int32_t LayoutCaption(TCanvas& canvas, int32_t Y, int32_t& pos);

  // Painting.
  int32_t PaintRow(TCanvas& canvas, TPaintContext& ctx, TCellList& row, int32_t rowIndex, int32_t Y,
                   QRegion* borderRegion);
  void PaintCell(TCanvas& canvas, TPaintContext& ctx, TCellObj& cell, int32_t Xc, int32_t Y,
                 QRegion* borderRegion);

  // Hit tests: the entry under (X, Y), Y relative to the top of the rows; its row top and
  // left edge.
  TCellObj* CellAtPoint(int32_t X, int32_t Y, int32_t& top, int32_t& left) const;
  enum class THitPart { None, Caption, Cells };
  THitPart HitPart(int32_t X, int32_t Y, int32_t& localY) const;
  // Every content cell in query order: caption first when on top, cells row by row, caption
  // last when at the bottom.
  template <class F> bool ForEachContent(F&& f) const;
};

// A one-pixel bevel from (X1, Y1) to (X2, Y2), lit from the top left when raised; used by
// table borders and inline images.
void DrawBorder3D(const TDocument* doc, TCanvas& canvas, int32_t X1, int32_t Y1, int32_t X2,
                  int32_t Y2, bool Raised);
