// The command executor: every editor command, and the keys that lead to them.
#include "editor/CustomEdit.h"
#include "editor/EditChars.h"
#include "editor/EditText.h"

#include <algorithm>

using namespace edittext;

namespace {

bool IsMotion(TtxEditorCommand c)
{
  return (c >= ecLeft && c <= ecGotoXY) || (c >= ecSelLeft && c <= ecSelGotoXY);
}

bool ChangesText(TtxEditorCommand c)
{
  return (c >= ecDeleteLastChar && c <= ecChar) || c == ecImeStr || c == ecUndo || c == ecRedo ||
         c == ecCut || c == ecPaste || c == ecBlockIndent || c == ecBlockUnindent;
}

} // namespace

void TtxCustomEdit::KeyDown(uint16_t& key, TShiftState shift)
{
  int index = Keystrokes.IndexOfKey(key, shift);
  if (index < 0)
    return;
  key = 0;
  RunCommand(Keystrokes.Items(index).Command(), '\0', nullptr);
}

void TtxCustomEdit::KeyPress(char ch)
{
  if (SwallowChars > 0) {
    --SwallowChars;
    return;
  }
  RunCommand(ecChar, ch, nullptr);
}

void TtxCustomEdit::RunCommand(TtxEditorCommand command, char ch, const void* data)
{
  if (command > 1000) {
    if (OnProcessUserCommand)
      OnProcessUserCommand(command, ch, data);
  } else if (OnProcessCommand) {
    OnProcessCommand(command, ch, data);
  }
  if (command == ecNone || command > 1000)
    return;
  if (ReadOnly && ChangesText(command)) {
    if (OnCommandDone)
      OnCommandDone();
    return;
  }
  // After a clear the caret may stand below the last line; an edit starts on a real line.
  if (ChangesText(command) && FCaretY > LineCount())
    SetCaretLine(LineCount());
  if (IsMotion(command)) {
    DoMotion(command, data);
  } else if (command >= ecGotoMarker0 && command <= ecSetMarker9) {
    DoMarker(command);
  } else {
    switch (command) {
    case ecSelectAll: SelectAll(); break;
    case ecDeleteLastChar: DoDeleteLastChar(); break;
    case ecDeleteChar: DoDeleteChar(); break;
    case ecDeleteWord: DoDeleteWord(false); break;
    case ecDeleteLastWord: DoDeleteWord(true); break;
    case ecDeleteBOL: DoDeleteBOL(); break;
    case ecDeleteEOL: DoDeleteEOL(); break;
    case ecDeleteLine: DoDeleteLine(); break;
    case ecClearAll: DoClearAll(); break;
    case ecLineBreak:
    case ecInsertLine: DoLineBreak(command); break;
    case ecChar: DoChar(ch); break;
    case ecImeStr:
      if (data)
        DoImeStr(*static_cast<const std::string*>(data));
      break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecCut: CutToClipboard(); break;
    case ecCopy: CopyToClipboard(); break;
    case ecPaste: PasteFromClipboard(); break;
    case ecScrollUp:
    case ecScrollDown:
    case ecScrollLeft:
    case ecScrollRight: DoScroll(command); break;
    case ecInsertMode: InsertMode = true; break;
    case ecOverwriteMode: InsertMode = false; break;
    case ecToggleMode: InsertMode = !InsertMode; break;
    case ecBlockIndent: DoBlockIndent(true); break;
    case ecBlockUnindent: DoBlockIndent(false); break;
    case ecNormalSelect: FSelectionMode = smNormal; break;
    case ecColumnSelect: FSelectionMode = smColumn; break;
    case ecLineSelect: FSelectionMode = smLine; break;
    default: break;
    }
  }
  if (Utf8())
    KeepWholeCharacters();
  if (OnCommandDone)
    OnCommandDone();
}

// Removing a broken byte can join the bytes around it into one character with a point inside;
// the points go back to its start.
void TtxCustomEdit::KeepWholeCharacters()
{
  const int x = SnapX(FCaretY, FCaretX);
  if (x != FCaretX) {
    FCaretX = x;
    PlaceCaret();
  }
  FSelAnchor.X = SnapX(FSelAnchor.Y, FSelAnchor.X);
  FSelEnd.X = SnapX(FSelEnd.Y, FSelEnd.X);
}

// ---------------------------------------------------------------- motion

void TtxCustomEdit::DoMotion(TtxEditorCommand command, const void* data)
{
  const bool selecting = command >= ecSelLeft;
  const TtxEditorCommand base = selecting ? TtxEditorCommand(command - ecSelection) : command;
  if (base == ecGotoXY && !data)
    return;
  if (selecting && !HasSelection())
    SetSelAnchor(CaretXY());
  MoveCaret(base, data);
  if (selecting)
    SetSelEnd(CaretXY());
  else
    SetSelAnchor(CaretXY());
}

void TtxCustomEdit::MoveCaret(TtxEditorCommand command, const void* data)
{
  const int page = HalfpageScroll ? FVisibleLines / 2 : FVisibleLines;
  switch (command) {
  case ecLeft:
    if (!ScrollPastEOL && FCaretX == 1 && FCaretY > 1)
      SetCaretXY({LineLength(FCaretY - 1) + 1, FCaretY - 1});
    else
      SetCaretColumn(FCaretX - CharLengthBefore(FCaretY, FCaretX));
    break;
  case ecRight:
    if (!ScrollPastEOL && FCaretX + 1 > LineLength(FCaretY) + 1) {
      if (FCaretY < LineCount())
        SetCaretXY({1, FCaretY + 1});
    } else {
      SetCaretColumn(FCaretX + CharLengthAt(FCaretY, FCaretX));
    }
    break;
  case ecUp: MoveLines(-1); break;
  case ecDown: MoveLines(1); break;
  case ecWordLeft: SetCaretXY(PrevWordPos()); break;
  case ecWordRight: SetCaretXY(NextWordPos()); break;
  case ecLineStart: SetCaretColumn(1); break;
  case ecLineEnd: SetCaretColumn(LineLength(FCaretY) + 1); break;
  case ecPageUp:
  case ecPageDown: {
    int delta = command == ecPageUp ? -page : page;
    SetTopLine(FTopLine + delta);
    MoveLines(delta);
    break;
  }
  case ecPageLeft:
  case ecPageRight: {
    int delta = command == ecPageLeft ? -FVisibleColumns : FVisibleColumns;
    SetLeftChar(FLeftChar + delta);
    SetCaretColumn(ColumnOfCell(FCaretY, CaretCell() + delta));
    break;
  }
  case ecPageTop: SetCaretLine(FTopLine); break;
  case ecPageBottom: SetCaretLine(FTopLine + FVisibleLines - 1); break;
  case ecEditorTop: SetCaretXY({1, 1}); break;
  case ecEditorBottom:
    SetCaretLine(LineCount());
    SetTopLine(LineCount() - FVisibleLines + 1);
    SetCaretColumn(LineLength(LineCount()) + 1);
    SetLeftChar(1);
    break;
  case ecGotoXY: SetCaretXY(*static_cast<const TPoint*>(data)); break;
  default: break;
  }
}

bool TtxCustomEdit::IsWordChar(unsigned char c) const
{
  // Letters beyond ASCII are part of words, and a character's bytes are never parted.
  if (c >= 0x80 && Utf8())
    return true;
  if (FHighLighter)
    return FHighLighter->IdentifierChars()[c];
  return c >= 33;
}

TPoint TtxCustomEdit::NextWordPos() const
{
  int x = FCaretX, y = FCaretY;
  std::string_view line = LineText(y);
  if (x >= int(line.size())) {
    if (y >= LineCount())
      return {x, y};
    ++y;
    line = LineText(y);
    if (IsBlankLine(line))
      return {1, y};
    x = 1;
  } else if (IsWordChar(line[x - 1])) {
    while (x <= int(line.size()) && IsWordChar(line[x - 1]))
      ++x;
  }
  while (x <= int(line.size()) && !IsWordChar(line[x - 1]))
    ++x;
  return {x, y};
}

TPoint TtxCustomEdit::PrevWordPos() const
{
  int y = FCaretY;
  std::string_view line = LineText(y);
  int x = std::min(FCaretX, int(line.size()) + 1);
  auto previousLineEnd = [&]() -> TPoint {
    if (y <= 1)
      return {1, 1};
    return {LineLength(y - 1) + 1, y - 1};
  };
  if (x == 1)
    return previousLineEnd();
  int i = x - 2; // the character before the caret
  while (i >= 0 && !IsWordChar(line[i]))
    --i;
  if (i < 0)
    return previousLineEnd();
  while (i >= 0 && IsWordChar(line[i]))
    --i;
  return {i + 2, y};
}

void TtxCustomEdit::DoScroll(TtxEditorCommand command)
{
  if (command == ecScrollUp || command == ecScrollDown) {
    SetTopLine(FTopLine + (command == ecScrollUp ? -1 : 1));
    if (FCaretY > FTopLine + FVisibleLines - 1)
      SetCaretLine(FTopLine + FVisibleLines - 1);
    else if (FCaretY < FTopLine)
      SetCaretLine(FTopLine);
  } else {
    SetLeftChar(FLeftChar + (command == ecScrollLeft ? -1 : 1));
    if (CaretCell() > FLeftChar + FVisibleColumns)
      SetCaretColumn(ColumnOfCell(FCaretY, FLeftChar + FVisibleColumns));
    else if (CaretCell() < FLeftChar)
      SetCaretColumn(ColumnOfCell(FCaretY, FLeftChar));
  }
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoMarker(TtxEditorCommand command)
{
  if (!BookMarkOptions.EnableKeys)
    return;
  if (command <= ecGotoMarker9) {
    JumpToBookmark(command - ecGotoMarker0);
    return;
  }
  int n = command - ecSetMarker0;
  TMark* mark = Bookmark(n);
  if (mark && mark->Line() == FCaretY)
    RemoveBookmark(n);
  else
    PlaceBookmark(n, FCaretX, FCaretY);
}

// ---------------------------------------------------------------- typing

void TtxCustomEdit::FollowTyping()
{
  if (CaretCell() >= FLeftChar + FVisibleColumns)
    SetLeftChar(FLeftChar + std::min(25, FVisibleColumns - 1));
}

void TtxCustomEdit::DoChar(char ch)
{
  const unsigned char c = (unsigned char)ch;
  if (c == 9) {
    if (TabIndent >= 1) {
      int blanks = TabIndent - ((CaretCell() - 1) % TabIndent);
      for (int i = 0; i < blanks; ++i)
        DoChar(' ');
    }
    return;
  }
  if (c < 32 || c == 127)
    return;
  const std::string typed = editchars::Typed(ch, Utf8());
  const int width = int(typed.size());
  if (HasSelection()) {
    DeleteSelectionRecorded(UndoSelectionReplaced);
    SetCaretXY(InsertRecorded(UndoInsert, CaretXY(), typed, smNormal));
    SetSelAnchor(CaretXY());
    FollowTyping();
    return;
  }
  const int x = FCaretX, y = FCaretY;
  std::string line = LineStr(y);
  if (InsertMode || x - 1 >= int(line.size())) {
    if (ch == ' ' && x - 1 >= int(line.size()))
      // A blank at or past the line end would be trimmed away again: the line stays.
      RecordUndo(UndoInsert, {x, y}, {x + 1, y}, {}, smNormal);
    else
      InsertRecorded(UndoInsert, {x, y}, typed, smNormal);
  } else {
    // The character under the caret goes whole, whatever its length.
    std::string old = line.substr(size_t(x - 1), size_t(CharLengthAt(y, x)));
    line.replace(size_t(x - 1), old.size(), typed);
    PutLine(y, line);
    RecordUndo(UndoInsert, {x, y}, {x + width, y}, old, smNormal);
  }
  SetCaretColumn(x + width);
  SetSelAnchor(CaretXY());
  FollowTyping();
}

void TtxCustomEdit::DoImeStr(const std::string& input)
{
  std::string text = input.substr(0, input.find_first_of(std::string("\r\n\0", 3)));
  if (text.empty())
    return;
  if (HasSelection())
    DeleteSelectionRecorded(UndoDelete);
  const int x = FCaretX, y = FCaretY;
  std::string line = LineStr(y);
  if (InsertMode || x - 1 >= int(line.size())) {
    InsertRecorded(UndoInsert, {x, y}, text, smNormal);
  } else {
    // As many characters as the text has are overwritten, each of them whole.
    std::string old = line.substr(
        size_t(x - 1), editchars::BytesOfChars(std::string_view(line).substr(size_t(x - 1)),
                                               editchars::CountChars(text, Utf8()), Utf8()));
    line.replace(size_t(x - 1), old.size(), text);
    PutLine(y, line);
    RecordUndo(UndoInsert, {x, y}, {x + int(text.size()), y}, old, smNormal);
  }
  SetCaretColumn(x + int(text.size()));
  SetSelAnchor(CaretXY());
  FollowTyping();
}

// ---------------------------------------------------------------- deleting

void TtxCustomEdit::DoDeleteLastChar()
{
  if (HasSelection()) {
    DeleteSelectionRecorded(UndoDelete);
    return;
  }
  const int x = FCaretX, y = FCaretY;
  std::string line = LineStr(y);
  const int length = int(line.size());
  if (x > length + 1) {
    RecordUndo(UndoDelete, {x - 1, y}, {x, y}, {}, smNormal);
    SetCaretColumn(x - 1);
  } else if (x == 1) {
    if (y == 1)
      return;
    TPoint join{LineLength(y - 1) + 1, y - 1};
    DeleteText(join, {1, y}, smNormal);
    RecordUndo(UndoDelete, join, {1, y}, "\r\n", smNormal);
    SetCaretXY(join);
  } else if (Autoindent && (unsigned char)line[size_t(x - 2)] <= 32 && x - 1 == Indentation(line)) {
    UnindentBack(x, y);
  } else {
    const int from = x - CharLengthBefore(y, x);
    std::string removed = line.substr(size_t(from - 1), size_t(x - from));
    DeleteText({from, y}, {x, y}, smNormal);
    RecordUndo(UndoDelete, {from, y}, {x, y}, removed, smNormal);
    SetCaretColumn(from);
  }
  SetSelAnchor(CaretXY());
}

// Backspace in the leading blanks goes back to the indentation of the nearest earlier line
// that is indented less (blank lines have no indentation to offer and are passed over).
void TtxCustomEdit::UnindentBack(int x, int y)
{
  int target = 0;
  for (int above = y - 1; above >= 1; --above) {
    std::string_view line = LineText(above);
    if (IsBlankLine(line))
      continue;
    int indent = Indentation(line);
    if (indent < x - 1) {
      target = indent;
      break;
    }
  }
  TPoint start{target + 1, y};
  std::string removed = GetText(start, {x, y}, smNormal, false);
  DeleteText(start, {x, y}, smNormal);
  RecordUndo(UndoDelete, start, {x, y}, removed, smNormal);
  SetCaretColumn(target + 1);
}

void TtxCustomEdit::DoDeleteChar()
{
  if (HasSelection()) {
    DeleteSelectionRecorded(UndoDelete);
    return;
  }
  const int x = FCaretX, y = FCaretY;
  const int length = LineLength(y);
  if (x - 1 >= length) {
    if (y >= LineCount())
      return;
    if (x - 1 > length) {
      // The next line lands at the caret: the blanks up to it are a change of their own.
      PutLine(y, LineStr(y) + std::string(size_t(x - 1 - length), ' '));
      RecordUndo(UndoInsert, {length + 1, y}, {x, y}, {}, smNormal);
    }
    DeleteText({x, y}, {1, y + 1}, smNormal);
    RecordUndo(UndoDeleteAfterCaret, {x, y}, {1, y + 1}, "\r\n", smNormal);
  } else {
    const TPoint to{x + CharLengthAt(y, x), y};
    std::string removed = GetText({x, y}, to, smNormal, false);
    DeleteText({x, y}, to, smNormal);
    RecordUndo(UndoDeleteAfterCaret, {x, y}, to, removed, smNormal);
  }
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoDeleteWord(bool backwards)
{
  TPoint caret = CaretXY();
  TPoint target = backwards ? PrevWordPos() : NextWordPos();
  if (target == caret)
    return;
  TPoint a = ClampNormal(backwards ? target : caret);
  TPoint b = ClampNormal(backwards ? caret : target);
  if (!PointBefore(a, b))
    return;
  std::string removed = GetText(a, b, smNormal, false);
  DeleteText(a, b, smNormal);
  RecordUndo(UndoDeleteAfterCaret, a, b, removed, smNormal);
  if (backwards)
    SetCaretXY(a);
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoDeleteBOL()
{
  TPoint b = ClampNormal(CaretXY());
  if (b.X > 1) {
    std::string removed = GetText({1, b.Y}, b, smNormal, false);
    DeleteText({1, b.Y}, b, smNormal);
    RecordUndo(UndoDelete, {1, b.Y}, b, removed, smNormal);
  }
  SetCaretColumn(1);
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoDeleteEOL()
{
  const int x = FCaretX, y = FCaretY, length = LineLength(y);
  if (x <= length) {
    std::string removed = GetText({x, y}, {length + 1, y}, smNormal, false);
    DeleteText({x, y}, {length + 1, y}, smNormal);
    RecordUndo(UndoDeleteAfterCaret, {x, y}, {length + 1, y}, removed, smNormal);
  }
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoDeleteLine()
{
  const int y = FCaretY, count = LineCount();
  std::string line = LineStr(y);
  if (count == 1) {
    if (line.empty())
      return;
    PutLine(1, "");
    RecordUndo(UndoDeleteAfterCaret, {1, 1}, {int(line.size()) + 1, 1}, line, smNormal);
  } else if (y < count) {
    DeleteLinesAt(y, 1);
    RecordUndo(UndoDeleteAfterCaret, {1, y}, {1, y + 1}, line + "\r\n", smNormal);
  } else {
    // The last line goes with the break before it, so undo puts it back after that line
    // rather than in front of it.
    TPoint start{LineLength(y - 1) + 1, y - 1};
    DeleteLinesAt(y, 1);
    RecordUndo(UndoDeleteAfterCaret, start, {int(line.size()) + 1, y}, "\r\n" + line, smNormal);
  }
  SetCaretXY({1, y});
  SetSelAnchor(CaretXY());
}

void TtxCustomEdit::DoClearAll()
{
  if (HasSelection())
    SetSelAnchor({1, 1});
  const int count = LineCount();
  TPoint end{LineLength(count) + 1, count};
  std::string all = GetText({1, 1}, end, smNormal, false);
  if (all.empty())
    return;
  FLines.Clear();
  // Recorded so that undo brings the text back; without it later undo records would act on
  // text that is gone.
  RecordUndo(UndoDelete, {1, 1}, end, all, smNormal);
}

// ---------------------------------------------------------------- line breaks

void TtxCustomEdit::DoLineBreak(TtxEditorCommand command)
{
  if (HasSelection())
    DeleteSelectionRecorded(UndoDelete);
  const bool lineBreak = command == ecLineBreak;
  const int x = FCaretX, y = FCaretY;
  const std::string line = LineStr(y);
  const int length = int(line.size());
  int h = 0;
  if (Autoindent)
    for (int above = y; above >= 1; --above)
      if (!LineText(above).empty()) {
        h = Indentation(LineText(above));
        break;
      }
  ShiftMarks(y, 1);
  if (length == 0) {
    RecordUndo(UndoLineBreak, {x, y}, {1, y + 1}, {}, smNormal);
    InsertLinesAt(y, {std::string()});
    if (lineBreak)
      SetCaretXY({h + 1, y + 1});
  } else if (x - 1 >= length) {
    RecordUndo(UndoLineBreak, {x, y}, {1, y + 1}, {}, smNormal);
    // Without room past the line end the new line holds the indentation itself.
    bool blanks = lineBreak && !ScrollPastEOL && Autoindent;
    InsertLinesAt(y + 1, {std::string(size_t(blanks ? h : 0), ' ')});
    if (lineBreak)
      SetCaretXY({h + 1, y + 1});
  } else if (Indentation(line) >= x - 1) {
    RecordUndo(UndoLineBreak, {x, y}, {1, y + 1}, line, smNormal);
    PutLine(y, "");
    InsertLinesAt(y + 1, {line});
    if (lineBreak)
      SetCaretLine(y + 1);
  } else {
    const int indent = Indentation(line);
    std::string moved = line.substr(size_t(x - 1));
    RecordUndo(UndoLineBreak, {x, y}, {1, y + 1}, moved, smNormal);
    std::string before = line.substr(0, size_t(x - 1));
    before.resize(size_t(TrimmedLength(before)));
    PutLine(y, before);
    InsertLinesAt(y + 1, {std::string(size_t(indent), ' ') + moved});
    if (lineBreak)
      SetCaretXY({indent + 1, y + 1});
  }
  SetSelAnchor(CaretXY());
}

// Indents (or unindents) the selected lines, or the caret line, by TabIndent blanks.
void TtxCustomEdit::DoBlockIndent(bool indent)
{
  int y1 = FCaretY, y2 = FCaretY;
  if (HasSelection()) {
    y1 = SelStart().Y;
    y2 = SelStop().Y;
    if (FSelectionMode == smNormal && SelStop().X == 1 && y2 > y1)
      --y2;
  }
  const int step = std::max(TabIndent, 1);
  TPoint start{1, y1};
  std::string old = GetText(start, {LineLength(y2) + 1, y2}, smNormal, false);
  bool changed = false;
  for (int y = y1; y <= y2; ++y) {
    std::string line = LineStr(y);
    if (indent && !line.empty())
      line.insert(0, size_t(step), ' ');
    else if (!indent)
      line.erase(0, std::min(size_t(step), std::min(line.find_first_not_of(' '), line.size())));
    changed = changed || line != LineText(y);
    PutLine(y, line);
  }
  if (!changed)
    return;
  RecordUndo(UndoInsert, start, {LineLength(y2) + 1, y2}, old, smNormal);
  if (HasSelection()) {
    SetSelAnchor(start);
    SetSelEnd({LineLength(y2) + 1, y2});
    SetCaretXY(FSelEnd);
  } else {
    SetCaretColumn(std::min(FCaretX, LineLength(FCaretY) + 1));
    SetSelAnchor(CaretXY());
  }
}
