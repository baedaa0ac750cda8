// The editor's state: text access, caret and selection, the view window, the highlighter's
// per-line ranges, and the text primitives the commands are made of.
#include "editor/CustomEdit.h"

#include "editor/EditChars.h"
#include "editor/EditText.h"

#include <algorithm>

using namespace edittext;

TtxCustomEdit::TtxCustomEdit()
{
  ConnectLines();
  Keystrokes.LoadDefaultKeys();
  FUndoList.OnAdded = [this] {
    Modified = true;
    if (OnChange)
      OnChange();
  };
  FRedoList.OnAdded = FUndoList.OnAdded;
  FMarks.OnChange = [this] { InvalidateGutterLines(-1, -1); };
}

TtxCustomEdit::~TtxCustomEdit()
{
  if (FHighLighter)
    FHighLighter->RemoveEditor(this);
  FLines.AfterAdd = nullptr;
  FLines.AfterDelete = nullptr;
  FLines.AfterInsert = nullptr;
  FLines.AfterReplace = nullptr;
  FLines.AfterSetText = nullptr;
}

void TtxCustomEdit::ConnectLines()
{
  FLines.AfterReplace = [this](int index) { RescanFrom(index); };
  FLines.AfterInsert = [this](int index) {
    RescanFrom(std::max(index - 1, 0));
    InvalidateLines(index + 1, FTopLine + FVisibleLines);
  };
  FLines.AfterDelete = [this](int index) {
    RescanFrom(std::max(index - 1, 0));
    InvalidateLines(index + 1, -1);
  };
  FLines.AfterAdd = [this](TtxEditList& list) { RescanFrom(std::max(list.Count() - 2, 0)); };
  FLines.AfterSetText = [this](TtxEditList&) { TextReplaced(); };
}

void TtxCustomEdit::TextReplaced()
{
  if (FLines.Count() == 0) {
    bool wasLoading = FLines.loading;
    FLines.loading = false;
    FLines.Add("");
    FLines.loading = wasLoading;
  }
  RescanFrom(0);
  FCaretX = FCaretY = 1;
  FSelAnchor = FSelEnd = {1, 1};
  FLeftChar = FTopLine = 1;
  ClearUndoHistory();
  Modified = false;
  UpdateScrollBars();
  InvalidateLines(-1, -1);
}

std::string_view TtxCustomEdit::LineText(int y) const
{
  if (y < 1 || y > FLines.Count())
    return {};
  return FLines.Strings(y - 1);
}

void TtxCustomEdit::SetText(std::string_view text)
{
  FLines.SetText(text);
}

void TtxCustomEdit::LoadFromFile(const std::string& fileName)
{
  FLines.LoadFromFile(fileName);
}

// ---------------------------------------------------------------- highlighter ranges

void TtxCustomEdit::SetHighLighter(TtxCustomHighLighter* value)
{
  if (value == FHighLighter)
    return;
  if (FHighLighter)
    FHighLighter->RemoveEditor(this);
  FHighLighter = value;
  if (FHighLighter) {
    FHighLighter->AddEditor(this);
    // Ranges kept for another highlighter mean nothing to this one.
    for (int i = 0; i < FLines.Count(); ++i)
      FLines.SetObjects(i, -1);
    RescanFrom(0);
  }
  InvalidateLines(-1, -1);
}

void TtxCustomEdit::RescanFrom(int a)
{
  const int count = FLines.Count();
  if (!FHighLighter || count == 0 || a >= count)
    return;
  if (a == 0) {
    FHighLighter->StartRange();
    FLines.SetObjects(0, FHighLighter->CurrentRange());
  }
  while (a > 0 && FLines.Objects(a) < 0)
    --a;
  int i = a;
  for (;;) {
    int range = FHighLighter->RangeAfterLine(FLines.Objects(i), FLines.Strings(i), i);
    ++RescannedLines;
    if (i + 1 >= count || FLines.Objects(i + 1) == range)
      break;
    FLines.SetObjects(i + 1, range);
    ++i;
  }
  InvalidateLines(a + 1, i + 1);
}

// ---------------------------------------------------------------- caret and selection

int TtxCustomEdit::SnapX(int y, int x) const
{
  return editchars::Snap(LineText(y), x, Utf8());
}

int TtxCustomEdit::CharLengthAt(int y, int x) const
{
  return editchars::LengthAt(LineText(y), size_t(std::max(x - 1, 0)), Utf8());
}

int TtxCustomEdit::CharLengthBefore(int y, int x) const
{
  return std::max(1, editchars::LengthBefore(LineText(y), size_t(std::max(x - 1, 0)), Utf8()));
}

int TtxCustomEdit::CellOf(TPoint p) const
{
  return editchars::CellOfColumn(LineText(p.Y), p.X, Utf8());
}

int TtxCustomEdit::ColumnOfCell(int y, int cell) const
{
  return editchars::ColumnOfCell(LineText(y), cell, Utf8());
}

void TtxCustomEdit::SetCaretColumn(int value)
{
  value = std::max(value, 1);
  if (ScrollPastEOL) {
    value = std::min(value, std::max(1, ColumnLimit - FVisibleColumns));
  } else {
    value = std::min({value, LineLength(FCaretY) + 1, ColumnLimit});
  }
  value = SnapX(FCaretY, value);
  if (!ScrollPastEOL) {
    const int cell = CellOf({value, FCaretY});
    if (cell >= FLeftChar + FVisibleColumns)
      SetLeftChar(cell - FVisibleColumns + 1);
    if (cell < FLeftChar)
      SetLeftChar(cell);
  }
  const bool changed = value != FCaretX;
  FCaretX = value;
  CaretSet(changed);
}

void TtxCustomEdit::CaretSet(bool changed)
{
  if (changed) {
    ScrollToCaret();
    PlaceCaret();
  }
  if (OnSelectionChange)
    OnSelectionChange();
}

void TtxCustomEdit::SetCaretLine(int value)
{
  value = std::clamp(value, 1, std::max(1, FLines.Count()));
  if (!ScrollPastEOL && LineLength(value) < FCaretX - 1) {
    FCaretX = LineLength(value) + 1;
    if (CellOf({FCaretX, value}) < FLeftChar)
      SetLeftChar(CellOf({FCaretX, value}));
  }
  FCaretX = SnapX(value, FCaretX);
  const bool changed = value != FCaretY;
  FCaretY = value;
  CaretSet(changed);
}

void TtxCustomEdit::MoveLines(int delta)
{
  const int cell = CaretCell();
  SetCaretLine(FCaretY + delta);
  if (Utf8())
    SetCaretColumn(ColumnOfCell(FCaretY, cell));
}

void TtxCustomEdit::SetCaretXY(TPoint p)
{
  SetCaretLine(p.Y);
  SetCaretColumn(p.X);
}

namespace {

TPoint ClampSelectionPoint(TPoint p, int lineCount, int limit)
{
  p.X = std::clamp(p.X, 1, limit);
  p.Y = std::clamp(p.Y, 1, std::max(1, lineCount));
  return p;
}

} // namespace

void TtxCustomEdit::SetSelAnchor(TPoint p)
{
  p = ClampSelectionPoint(p, FLines.Count(), ColumnLimit);
  if (FSelectionMode == smNormal)
    p.X = std::min(p.X, LineLength(p.Y) + 1);
  p.X = SnapX(p.Y, p.X);
  int first = std::min({FSelAnchor.Y, FSelEnd.Y, p.Y});
  int last = std::max({FSelAnchor.Y, FSelEnd.Y, p.Y});
  FSelAnchor = FSelEnd = p;
  InvalidateLines(first, last);
}

void TtxCustomEdit::SetSelEnd(TPoint p)
{
  p = ClampSelectionPoint(p, FLines.Count(), ColumnLimit);
  if (FSelectionMode == smNormal)
    p.X = std::min(p.X, LineLength(p.Y) + 1);
  p.X = SnapX(p.Y, p.X);
  if (FSelectionMode == smColumn && p.X != FSelEnd.X)
    InvalidateLines(std::min({FSelAnchor.Y, FSelEnd.Y, p.Y}),
                    std::max({FSelAnchor.Y, FSelEnd.Y, p.Y}));
  else
    InvalidateLines(std::min(FSelEnd.Y, p.Y), std::max(FSelEnd.Y, p.Y));
  FSelEnd = p;
}

TPoint TtxCustomEdit::SelStart() const
{
  return PointBefore(FSelEnd, FSelAnchor) ? FSelEnd : FSelAnchor;
}

TPoint TtxCustomEdit::SelStop() const
{
  return PointBefore(FSelEnd, FSelAnchor) ? FSelAnchor : FSelEnd;
}

std::string TtxCustomEdit::SelectedText() const
{
  if (!HasSelection())
    return {};
  return GetText(FSelAnchor, FSelEnd, FSelectionMode, true);
}

void TtxCustomEdit::SetSelectedText(std::string_view text)
{
  if (ReadOnly)
    return;
  if (HasSelection())
    DeleteSelectionRecorded(UndoDelete);
  TPoint end = InsertRecorded(UndoInsert, CaretXY(), text, FSelectionMode);
  SetCaretXY(end);
  SetSelAnchor(CaretXY());
}

// ---------------------------------------------------------------- view

void TtxCustomEdit::SetVisibleCells(int columns, int lines)
{
  FVisibleColumns = std::max(columns, 1);
  FVisibleLines = std::max(lines, 1);
  UpdateScrollBars();
}

void TtxCustomEdit::SetLeftChar(int value)
{
  value = std::clamp(value, 1, std::max(1, ColumnLimit - FVisibleColumns));
  if (value != FLeftChar) {
    FLeftChar = value;
    UpdateScrollBars();
    InvalidateLines(-1, -1);
  }
}

void TtxCustomEdit::SetTopLine(int value)
{
  value = std::clamp(value, 1, std::max(1, FLines.Count()));
  if (value != FTopLine) {
    const int delta = FTopLine - value;
    FTopLine = value;
    UpdateScrollBars();
    TopLineMoved(delta);
  }
}

void TtxCustomEdit::ScrollToCaret()
{
  const int cell = CaretCell();
  if (cell < FLeftChar)
    SetLeftChar(cell);
  else if (cell > FLeftChar + FVisibleColumns)
    SetLeftChar(cell - FVisibleColumns + 1);
  if (FCaretY < FTopLine)
    SetTopLine(FCaretY);
  else if (FCaretY > FTopLine + FVisibleLines - 1)
    SetTopLine(FCaretY - FVisibleLines + 1);
}

// ---------------------------------------------------------------- text primitives

void TtxCustomEdit::PutLine(int y, std::string_view text)
{
  if (y >= 1 && y <= FLines.Count() && FLines.Strings(y - 1) != text)
    FLines.Put(y - 1, text);
}

TPoint TtxCustomEdit::ClampNormal(TPoint p) const
{
  p.Y = std::clamp(p.Y, 1, std::max(1, FLines.Count()));
  // No snapping here: undo gives byte-exact ranges, which may end inside a character that a
  // broken byte has joined since.
  p.X = std::clamp(p.X, 1, LineLength(p.Y) + 1);
  return p;
}

std::string TtxCustomEdit::GetText(TPoint a, TPoint b, TSelectionMode mode, bool pad) const
{
  std::string result;
  const int count = FLines.Count();
  if (mode == smColumn) {
    int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
    int y1 = std::clamp(std::min(a.Y, b.Y), 1, count),
        y2 = std::clamp(std::max(a.Y, b.Y), 1, count);
    for (int y = y1; y <= y2; ++y) {
      std::string_view line = LineText(y);
      std::string piece(Piece(line, x1 - 1, x2 - x1));
      if (pad)
        piece.resize(size_t(x2 - x1), ' ');
      result += piece;
      if (y < y2)
        result += "\r\n";
    }
    return result;
  }
  if (mode == smLine) {
    int y1 = std::clamp(std::min(a.Y, b.Y), 1, count),
        y2 = std::clamp(std::max(a.Y, b.Y), 1, count);
    for (int y = y1; y <= y2; ++y) {
      result += LineText(y);
      if (y < count)
        result += "\r\n";
    }
    return result;
  }
  a = ClampNormal(a);
  b = ClampNormal(b);
  if (PointBefore(b, a))
    std::swap(a, b);
  if (a.Y == b.Y)
    return std::string(LineText(a.Y).substr(size_t(a.X - 1), size_t(b.X - a.X)));
  result = LineText(a.Y).substr(size_t(a.X - 1));
  for (int y = a.Y + 1; y < b.Y; ++y) {
    result += "\r\n";
    result += LineText(y);
  }
  result += "\r\n";
  result += LineText(b.Y).substr(0, size_t(b.X - 1));
  return result;
}

void TtxCustomEdit::DeleteText(TPoint a, TPoint b, TSelectionMode mode)
{
  const int count = FLines.Count();
  if (mode == smColumn) {
    int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
    int y1 = std::clamp(std::min(a.Y, b.Y), 1, count),
        y2 = std::clamp(std::max(a.Y, b.Y), 1, count);
    for (int y = y1; y <= y2; ++y) {
      std::string line = LineStr(y);
      if (int(line.size()) > x1 - 1) {
        line.erase(size_t(x1 - 1), size_t(x2 - x1));
        PutLine(y, line);
      }
    }
    return;
  }
  if (mode == smLine) {
    int y1 = std::clamp(std::min(a.Y, b.Y), 1, count),
        y2 = std::clamp(std::max(a.Y, b.Y), 1, count);
    DeleteLinesAt(y1, y2 - y1 + 1);
    return;
  }
  a = ClampNormal(a);
  b = ClampNormal(b);
  if (PointBefore(b, a))
    std::swap(a, b);
  if (a == b)
    return;
  std::string joined(LineText(a.Y).substr(0, size_t(a.X - 1)));
  joined += LineText(b.Y).substr(size_t(b.X - 1));
  if (b.Y > a.Y) {
    for (int i = 0; i < FMarks.Count(); ++i) {
      TMark* mark = FMarks.Items(i);
      if (mark->Line() > a.Y && mark->Line() <= b.Y)
        mark->SetLine(a.Y);
    }
    // The rest of the last line lands on the first, so its line end goes with it.
    DeleteLinesAt(a.Y + 1, b.Y - a.Y);
  }
  PutLine(a.Y, joined);
}

void TtxCustomEdit::DeleteLinesAt(int y, int count)
{
  if (count <= 0)
    return;
  FLines.DeleteLines(y - 1, count);
  ShiftMarks(y + count, -count);
  if (FLines.Count() == 0)
    FLines.Add("");
}

void TtxCustomEdit::InsertLinesAt(int y, const std::vector<std::string>& lines)
{
  FLines.InsertLines(y - 1, lines);
}

void TtxCustomEdit::ShiftMarks(int fromLine, int delta)
{
  if (delta == 0)
    return;
  for (int i = 0; i < FMarks.Count(); ++i) {
    TMark* mark = FMarks.Items(i);
    if (mark->Line() >= fromLine)
      mark->SetLine(mark->Line() + delta);
  }
}

TPoint TtxCustomEdit::InsertText(TPoint p, std::string_view text, TSelectionMode mode)
{
  switch (mode) {
  case smColumn: return InsertColumn(p, text);
  case smLine: return InsertLineBlock(p.Y, text);
  default: return InsertNormal(p, text);
  }
}

TPoint TtxCustomEdit::InsertNormal(TPoint p, std::string_view text)
{
  std::vector<std::string_view> pieces = SplitPieces(text);
  p.Y = std::clamp(p.Y, 1, FLines.Count());
  if (pieces.size() == 1 && pieces[0].empty())
    return p;
  std::string line = LineStr(p.Y);
  if (int(line.size()) < p.X - 1)
    line.resize(size_t(p.X - 1), ' ');
  std::string after = line.substr(size_t(p.X - 1));
  line.resize(size_t(p.X - 1));
  if (pieces.size() == 1) {
    PutLine(p.Y, line + std::string(pieces[0]) + after);
    return {p.X + int(pieces[0].size()), p.Y};
  }
  std::vector<std::string> added;
  for (size_t i = 1; i + 1 < pieces.size(); ++i)
    added.emplace_back(pieces[i]);
  added.push_back(std::string(pieces.back()) + after);
  // The break after the split line moves down with its rest.
  PutLine(p.Y, line + std::string(pieces[0]));
  InsertLinesAt(p.Y + 1, added);
  ShiftMarks(p.Y + 1, int(added.size()));
  return {int(pieces.back().size()) + 1, p.Y + int(added.size())};
}

TPoint TtxCustomEdit::InsertColumn(TPoint p, std::string_view text)
{
  std::vector<std::string_view> pieces = SplitPieces(text);
  int y = p.Y;
  for (size_t i = 0; i < pieces.size(); ++i, ++y) {
    if (y > FLines.Count())
      FLines.Add("");
    if (pieces[i].empty())
      continue;
    std::string line = LineStr(y);
    if (int(line.size()) < p.X - 1)
      line.resize(size_t(p.X - 1), ' ');
    line.insert(size_t(p.X - 1), pieces[i]);
    PutLine(y, line);
  }
  return {p.X + int(pieces.back().size()), y - 1};
}

TPoint TtxCustomEdit::InsertLineBlock(int y, std::string_view text)
{
  std::vector<std::string_view> pieces = SplitPieces(text);
  if (y > FLines.Count()) {
    // Past the end (lines taken from the end of the text coming back) every piece is a line.
    std::vector<std::string> added(pieces.begin(), pieces.end());
    y = FLines.Count() + 1;
    InsertLinesAt(y, added);
    return {int(added.back().size()) + 1, y + int(added.size()) - 1};
  }
  std::vector<std::string> added(pieces.begin(), pieces.end() - 1);
  ShiftMarks(y, int(added.size()));
  InsertLinesAt(y, added);
  int last = y + int(added.size());
  PutLine(last, std::string(pieces.back()) + std::string(LineText(last)));
  return {int(pieces.back().size()) + 1, last};
}
