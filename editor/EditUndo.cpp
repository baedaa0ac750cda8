// Undo and redo, the clipboard exchange and the bookmarks.
#include "editor/CustomEdit.h"
#include "editor/EditText.h"

#include <algorithm>

using namespace edittext;

namespace {

bool InsertsText(TUndoReason reason)
{
  return reason == UndoInsert || reason == UndoPaste || reason == UndoDragInsert;
}

} // namespace

void TtxCustomEdit::RecordUndo(TUndoReason reason, TPoint start, TPoint end, std::string text,
                               TSelectionMode mode)
{
  // A fresh change makes the redo records describe text that no longer exists.
  if (!FInUndoRedo)
    FRedoList.Clear();
  FUndoList.Add(reason, start, end, std::move(text), mode);
}

TPoint TtxCustomEdit::InsertRecorded(TUndoReason reason, TPoint p, std::string_view text,
                                     TSelectionMode mode)
{
  if (mode == smNormal) {
    std::string prefix;
    TPoint start = p;
    if (p.Y > LineCount()) {
      prefix.assign(size_t(p.Y - LineCount()) * 2, '\n');
      for (size_t i = 0; i < prefix.size(); i += 2)
        prefix[i] = '\r';
      prefix.append(size_t(p.X - 1), ' ');
      start = {LineLength(LineCount()) + 1, LineCount()};
    } else if (p.X - 1 > LineLength(p.Y) && !text.empty()) {
      start = {LineLength(p.Y) + 1, p.Y};
      prefix.assign(size_t(p.X - 1 - LineLength(p.Y)), ' ');
    }
    TPoint end = InsertNormal(start, prefix + std::string(text));
    RecordUndo(reason, start, end, {}, smNormal);
    return end;
  }
  // Column and line blocks may pad lines and add lines: the record holds the whole span of
  // lines as it was, so undo gives it back exactly.
  const int pieces = int(SplitPieces(text).size());
  const int y = p.Y;
  TPoint start{1, y};
  std::string old;
  if (y > LineCount()) {
    start = {LineLength(LineCount()) + 1, LineCount()};
  } else {
    int last = std::min(mode == smColumn ? y + pieces - 1 : y, LineCount());
    old = GetText(start, {LineLength(last) + 1, last}, smNormal, false);
  }
  TPoint end = InsertText(p, text, mode);
  int last = std::min(std::max(end.Y, y), LineCount());
  RecordUndo(reason, start, {LineLength(last) + 1, last}, old, smNormal);
  return end;
}

void TtxCustomEdit::DeleteSelectionRecorded(TUndoReason reason)
{
  TPoint start = SelStart(), stop = SelStop();
  if (FSelectionMode == smColumn) {
    start = {std::min(FSelAnchor.X, FSelEnd.X), start.Y};
    stop = {std::max(FSelAnchor.X, FSelEnd.X), stop.Y};
  } else if (FSelectionMode == smLine) {
    start = {1, start.Y};
    stop = {LineLength(stop.Y) + 1, stop.Y};
  } else {
    start = ClampNormal(start);
    stop = ClampNormal(stop);
  }
  std::string removed = GetText(start, stop, FSelectionMode, false);
  DeleteText(start, stop, FSelectionMode);
  RecordUndo(reason, start, stop, removed, FSelectionMode);
  SetCaretXY(start);
  SetSelAnchor(CaretXY());
}

TPoint TtxCustomEdit::ReplaceRecorded(const TUndoRecord& record, TUndoList& into)
{
  const TPoint start = record.Start, end = record.End;
  std::string removed = GetText(start, end, record.Mode, false);
  DeleteText(start, end, record.Mode);
  TPoint at = PointBefore(end, start) ? end : start;
  if (record.Mode == smColumn)
    at = {std::min(start.X, end.X), std::min(start.Y, end.Y)};
  else if (record.Mode == smNormal)
    at = ClampNormal(at);
  const TPoint newEnd = InsertText(at, record.Text, record.Mode);
  into.Add(record.Reason, start, newEnd, std::move(removed), record.Mode);
  return newEnd;
}

void TtxCustomEdit::SetMaxUndo(int value)
{
  FUndoList.SetMaxUndo(value);
  FRedoList.SetMaxUndo(value);
}

void TtxCustomEdit::ClearUndoHistory()
{
  FUndoList.Clear();
  FRedoList.Clear();
}

void TtxCustomEdit::Undo()
{
  if (ReadOnly || !CanUndo())
    return;
  FInUndoRedo = true;
  for (;;) {
    TUndoRecord record = FUndoList.Pop();
    const TUndoReason reason = record.Reason;
    UndoOne(std::move(record));
    const TUndoReason next = FUndoList.PeekReason();
    // A drag-move and an overwritten selection undo as one step.
    bool again = InsertsText(reason) && ((reason == UndoDragInsert && next == UndoDragDelete) ||
                                         next == UndoSelectionReplaced);
    if (!again)
      break;
  }
  FInUndoRedo = false;
}

void TtxCustomEdit::Redo()
{
  if (ReadOnly || !CanRedo())
    return;
  FInUndoRedo = true;
  for (;;) {
    TUndoRecord record = FRedoList.Pop();
    const TUndoReason reason = record.Reason;
    RedoOne(std::move(record));
    const TUndoReason next = FRedoList.PeekReason();
    bool again = (reason == UndoDragDelete && next == UndoDragInsert) ||
                 (reason == UndoSelectionReplaced && InsertsText(next));
    if (!again)
      break;
  }
  FInUndoRedo = false;
}

void TtxCustomEdit::UndoOne(TUndoRecord record)
{
  const TSelectionMode saved = FSelectionMode;
  FSelectionMode = record.Mode;
  switch (record.Reason) {
  case UndoInsert:
  case UndoPaste:
  case UndoDragInsert: {
    ReplaceRecorded(record, FRedoList);
    SetCaretXY(record.Start);
    SetSelAnchor(CaretXY());
    break;
  }
  case UndoDeleteAfterCaret:
  case UndoDelete:
  case UndoSelectionReplaced:
  case UndoDragDelete: {
    TPoint at = PointBefore(record.End, record.Start) ? record.End : record.Start;
    std::string text = record.Text;
    if (record.Mode == smColumn) {
      at = {std::min(record.Start.X, record.End.X), std::min(record.Start.Y, record.End.Y)};
    } else if (record.Mode == smLine) {
      at.X = 1;
    } else if (at.Y > LineCount() && !text.empty()) {
      // Text taken from past the last line goes back after it.
      text = "\r\n" + text;
      at = {LineLength(LineCount()) + 1, LineCount()};
    }
    InsertText(at, text, record.Mode);
    FRedoList.Add(record.Reason, record.Start, record.End, {}, record.Mode);
    SetSelAnchor(record.Start);
    SetSelEnd(record.End);
    SetCaretXY(PointBefore(record.End, record.Start) ? record.Start : record.End);
    break;
  }
  case UndoLineBreak: {
    SetCaretXY(record.Start);
    SetSelAnchor(CaretXY());
    const int y = std::clamp(record.Start.Y, 1, LineCount());
    // The redo record keeps the two lines the break made, so a redo makes exactly them
    // whatever the indentation settings are by then.
    FRedoList.Add(record.Reason, record.Start, record.End,
                  LineStr(y) + "\r\n" + std::string(LineText(record.End.Y)), record.Mode);
    if (record.End.Y > y && record.End.Y <= LineCount()) {
      ShiftMarks(record.End.Y, -1);
      FLines.Delete(record.End.Y - 1);
    }
    if (!record.Text.empty()) {
      std::string line = LineStr(y);
      if (!line.empty() && int(line.size()) < record.Start.X - 1)
        line.resize(size_t(record.Start.X - 1), ' ');
      PutLine(y, line + record.Text);
    }
    break;
  }
  default: break;
  }
  FSelectionMode = saved;
}

void TtxCustomEdit::RedoOne(TUndoRecord record)
{
  const TSelectionMode saved = FSelectionMode;
  FSelectionMode = record.Mode;
  switch (record.Reason) {
  case UndoInsert:
  case UndoPaste:
  case UndoDragInsert: {
    SetCaretXY(ReplaceRecorded(record, FUndoList));
    SetSelAnchor(CaretXY());
    break;
  }
  case UndoDeleteAfterCaret:
  case UndoDelete:
  case UndoSelectionReplaced:
  case UndoDragDelete: {
    std::string removed = GetText(record.Start, record.End, record.Mode, false);
    FUndoList.Add(record.Reason, record.Start, record.End, removed, record.Mode);
    DeleteText(record.Start, record.End, record.Mode);
    TPoint at = PointBefore(record.End, record.Start) ? record.End : record.Start;
    if (record.Mode == smColumn)
      at = {std::min(record.Start.X, record.End.X), std::min(record.Start.Y, record.End.Y)};
    SetCaretXY(at);
    SetSelAnchor(CaretXY());
    break;
  }
  case UndoLineBreak: RedoLineBreak(record); break;
  default: break;
  }
  FSelectionMode = saved;
}

void TtxCustomEdit::RedoLineBreak(const TUndoRecord& record)
{
  const std::vector<std::string_view> lines = SplitPieces(record.Text);
  const int y = std::clamp(record.Start.Y, 1, LineCount());
  const std::string before = LineStr(y);
  const std::string first(lines.front()), second(lines.back());
  ShiftMarks(y, 1);
  PutLine(y, first);
  InsertLinesAt(y + 1, {second});
  // What the undo record holds is what undo appends to the first line to make it whole again.
  const size_t kept = first.empty() ? 0 : std::max(first.size(), size_t(record.Start.X - 1));
  const std::string moved = before.substr(std::min(kept, before.size()));
  FUndoList.Add(UndoLineBreak, record.Start, record.End, moved, smNormal);
  SetCaretXY({int(second.size() - moved.size()) + 1, y + 1});
  SetSelAnchor(CaretXY());
}

// ---------------------------------------------------------------- clipboard

void TtxCustomEdit::SetClipboard(TtxEditClipboard* clipboard)
{
  FClipboard = clipboard ? clipboard : &FOwnClipboard;
}

void TtxCustomEdit::CopyToClipboard()
{
  if (!HasSelection())
    return;
  std::string text = SelectedText();
  FClipboard->Utf8 = Utf8();
  if (!FClipboard->SetTexts(text, EncodeClipBlock(FSelectionMode, text, Utf8())))
    throw EtxEditError("Clipboard copy operation failed");
}

void TtxCustomEdit::CutToClipboard()
{
  if (ReadOnly || !HasSelection())
    return;
  CopyToClipboard();
  DeleteSelectionRecorded(UndoDelete);
}

void TtxCustomEdit::PasteFromClipboard()
{
  if (ReadOnly)
    return;
  FClipboard->Utf8 = Utf8();
  TSelectionMode mode;
  std::string text;
  bool utf8 = false;
  auto block = FClipboard->Block();
  if (block && !DecodeClipBlock(*block, mode, text, &utf8))
    throw EtxEditError("Clipboard paste operation failed.");
  // A block from a text of the other encoding comes through the plain text, which the
  // clipboard converts.
  if (block && utf8 == Utf8()) {
    PasteBlock(mode, text);
  } else if (auto plain = FClipboard->PlainText()) {
    PasteBlock(block ? mode : FSelectionMode, *plain);
  }
}

void TtxCustomEdit::PasteBlock(TSelectionMode mode, const std::string& text)
{
  if (HasSelection())
    DeleteSelectionRecorded(UndoSelectionReplaced);
  TPoint p = CaretXY();
  if (mode == smLine)
    p.X = 1;
  TPoint end = InsertRecorded(UndoPaste, p, text, mode);
  if (mode == smColumn)
    end = {p.X, end.Y + 1};
  SetCaretXY(end);
  SetSelAnchor(CaretXY());
}

bool TtxCustomEdit::DropSelection(TPoint at, bool copy)
{
  if (ReadOnly || !HasSelection())
    return false;
  at.X = SnapX(at.Y, at.X); // a drop inside a character lands in front of it
  TPoint start = SelStart(), stop = SelStop();
  if (FSelectionMode == smLine) {
    start.X = at.X = 1;
    stop = {LineLength(stop.Y) + 1, stop.Y};
  }
  if (FSelectionMode == smColumn) {
    const int left = std::min(FSelAnchor.X, FSelEnd.X), right = std::max(FSelAnchor.X, FSelEnd.X);
    if (at.Y >= start.Y && at.Y <= stop.Y && at.X >= left && at.X <= right)
      return false;
    if (!copy && at.Y >= start.Y && at.Y <= stop.Y && at.X > right)
      at.X -= right - left;
  } else if (!PointBefore(at, start) && !PointBefore(stop, at)) {
    return false;
  } else if (!copy && PointBefore(stop, at)) {
    // The text before the drop point shrinks by what is moved away.
    if (at.Y == stop.Y)
      at.X = start.X + (at.X - stop.X);
    at.Y -= FSelectionMode == smLine ? stop.Y - start.Y + 1 : stop.Y - start.Y;
  }
  const std::string text = GetText(FSelAnchor, FSelEnd, FSelectionMode, false) +
                           (FSelectionMode == smLine && stop.Y == LineCount() ? "\r\n" : "");
  if (!copy)
    DeleteSelectionRecorded(UndoDragDelete);
  at.Y = std::clamp(at.Y, 1, LineCount());
  at.X = SnapX(at.Y, at.X); // again on the line a drop past the last one goes to
  TPoint end = InsertRecorded(UndoDragInsert, at, text, FSelectionMode);
  SetCaretXY(end);
  SetSelAnchor(at);
  SetSelEnd(end);
  return true;
}

void TtxCustomEdit::SelectAll()
{
  TPoint end{LineLength(LineCount()) + 1, LineCount()};
  SetSelAnchor({1, 1});
  SetSelEnd(end);
  SetCaretXY(end);
}

// ---------------------------------------------------------------- bookmarks

void TtxCustomEdit::MarkLinesChanged(int oldLine, int newLine)
{
  InvalidateGutterLines(oldLine, oldLine);
  if (newLine != oldLine)
    InvalidateGutterLines(newLine, newLine);
}

bool TtxCustomEdit::GetBookmark(int n, int& x, int& y) const
{
  TMark* mark = Bookmark(n);
  if (!mark)
    return false;
  x = mark->Column;
  y = mark->Line();
  return true;
}

void TtxCustomEdit::PlaceBookmark(int n, int x, int y)
{
  if (n < 0 || n > 9 || y < 1 || y > LineCount())
    return;
  auto mark = std::make_unique<TMark>(this);
  mark->SetLine(y);
  mark->Column = x;
  mark->SetImageIndex(n);
  mark->Number = n;
  mark->SetVisible(true);
  mark->SetUseBuiltInGlyph(!HasBookmarkImages);
  TMark* offered = mark.get();
  if (OnPlaceBookmark)
    OnPlaceBookmark(offered);
  if (!offered)
    return;
  // One bookmark per line.
  for (int i = 0; i < 10; ++i)
    if (FBookmarks[i] && FBookmarks[i]->Line() == y)
      RemoveBookmark(i);
  RemoveBookmark(n);
  FBookmarks[n] = FMarks.Add(std::move(mark));
}

void TtxCustomEdit::RemoveBookmark(int n)
{
  if (n < 0 || n > 9 || !FBookmarks[n])
    return;
  FMarks.Remove(FBookmarks[n]);
  FBookmarks[n] = nullptr;
}

void TtxCustomEdit::JumpToBookmark(int n)
{
  TMark* mark = Bookmark(n);
  if (!mark || mark->Line() > LineCount())
    return;
  SetCaretXY({mark->Column, mark->Line()});
  SetSelAnchor(CaretXY());
  ScrollToCaret();
}
