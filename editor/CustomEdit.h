#pragma once
// The source editor without its window: the lines, the caret and selection, the command
// executor, undo and redo, bookmarks, the clipboard exchange and search and replace. The
// editor widget derives from it and answers the view hooks (repaint, scroll bars, caret); on its
// own it runs headless, which is how it is tested and scripted.
#include "editor/CustomHighLighter.h"
#include "editor/EditClipboard.h"
#include "editor/EditList.h"
#include "editor/EditSearch.h"
#include "editor/EditTypes.h"
#include "editor/EditorCommands.h"
#include "editor/KeyStrokes.h"
#include "editor/Marks.h"
#include "editor/UndoList.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Options of SearchAndReplace, one bit each.
using TSearchOptions = uint8_t;
constexpr TSearchOptions SearchMatchCase = 1 << 0;
constexpr TSearchOptions SearchWholeWords = 1 << 1;
constexpr TSearchOptions SearchBackwards = 1 << 2;
constexpr TSearchOptions SearchWholeRange = 1 << 3;
constexpr TSearchOptions SearchSelectionOnly = 1 << 4;
constexpr TSearchOptions SearchReplaceOne = 1 << 5;
constexpr TSearchOptions SearchReplaceAll = 1 << 6;

enum TtxReplaceAction : uint8_t { raCancel = 0, raSkip = 1, raReplace = 2, raReplaceAll = 3 };

class TtxCustomEdit : public THighLighterClient, public TMarkOwner {
public:
  static constexpr int ColumnLimit = 1024;

  TtxCustomEdit();
  ~TtxCustomEdit() override;
  TtxCustomEdit(const TtxCustomEdit&) = delete;
  TtxCustomEdit& operator=(const TtxCustomEdit&) = delete;

  // --- text
  TtxEditList& Lines() { return FLines; }
  const TtxEditList& Lines() const { return FLines; }
  int LineCount() const { return FLines.Count(); }
  // Line y (1-based); empty for a line that does not exist.
  std::string_view LineText(int y) const;
  // Replaces the whole text: caret to (1, 1), view to the top, undo history emptied.
  void SetText(std::string_view text);
  void LoadFromFile(const std::string& fileName);
  // A UTF-8 text: columns still count bytes, but the caret, the selection and deletion step
  // over whole characters, and the screen shows a cell per character (two for a wide one).
  bool Utf8() const { return FLines.Utf8(); }
  void SaveToFile(const std::string& fileName) const { FLines.SaveToFile(fileName); }

  // --- caret and selection (1-based)
  int CaretColumn() const { return FCaretX; }
  void SetCaretColumn(int value);
  int CaretLine() const { return FCaretY; }
  void SetCaretLine(int value);
  TPoint CaretXY() const { return {FCaretX, FCaretY}; }
  // The screen cell (1-based, before scrolling) of the caret, and of any point.
  int CaretCell() const { return CellOf({FCaretX, FCaretY}); }
  int CellOf(TPoint p) const;
  // The column of the character that covers screen cell `cell` of line y.
  int ColumnOfCell(int y, int cell) const;
  // Line first, then column, so a short line does not pull the column in.
  void SetCaretXY(TPoint p);
  TPoint SelAnchor() const { return FSelAnchor; }
  void SetSelAnchor(TPoint p);
  TPoint SelEnd() const { return FSelEnd; }
  void SetSelEnd(TPoint p);
  bool HasSelection() const { return !(FSelAnchor == FSelEnd); }
  // The selection's ends in text order.
  TPoint SelStart() const;
  TPoint SelStop() const;
  TSelectionMode SelectionMode() const { return FSelectionMode; }
  void SetSelectionMode(TSelectionMode mode) { FSelectionMode = mode; }
  std::string SelectedText() const;
  // Replaces the selection (or inserts at the caret), recorded for undo.
  void SetSelectedText(std::string_view text);

  // --- view
  int VisibleColumns() const { return FVisibleColumns; }
  int VisibleLines() const { return FVisibleLines; }
  // The text area in whole character cells, as the widget measures it.
  void SetVisibleCells(int columns, int lines);
  int LeftChar() const { return FLeftChar; }
  void SetLeftChar(int value);
  int TopLine() const { return FTopLine; }
  void SetTopLine(int value);
  void ScrollToCaret();

  bool HalfpageScroll = false;
  bool InsertMode = true;
  bool ReadOnly = false;
  bool ScrollPastEOL = true;
  bool Autoindent = true;
  bool WantTabs = false;
  int TabIndent = 4;
  int RightEdge = 80;
  TColor RightEdgeColor = clSilver;
  bool Modified = false;
  int PaintHold = 0;

  // --- highlighter
  TtxCustomHighLighter* HighLighter() const { return FHighLighter; }
  void SetHighLighter(TtxCustomHighLighter* value);
  // Lines scanned by the range upkeep since the counter was last reset.
  long long RescannedLines = 0;

  // --- commands and keys
  TtxKeyStrokes Keystrokes;
  // Executes a command: `ch` is the typed character for ecChar; `data` points to a TPoint for
  // ecGotoXY and ecSelGotoXY, to a std::string for ecImeStr.
  virtual void RunCommand(TtxEditorCommand command, char ch, const void* data);
  // A key press: runs the bound command and sets key to 0, or leaves it when none is bound.
  void KeyDown(uint16_t& key, TShiftState shift);
  // A typed character (swallowed while characters after input-method text are pending).
  void KeyPress(char ch);
  int SwallowChars = 0;

  // --- undo
  bool CanUndo() const { return FUndoList.Count() > 0; }
  bool CanRedo() const { return FRedoList.Count() > 0; }
  int MaxUndo() const { return FUndoList.MaxUndo(); }
  void SetMaxUndo(int value);
  const TUndoList& UndoList() const { return FUndoList; }
  const TUndoList& RedoList() const { return FRedoList; }
  void ClearUndoHistory();
  void Undo();
  void Redo();

  // --- clipboard
  // The editor exchanges text through this clipboard; an in-memory one until the widget
  // supplies the system's. Not owned.
  void SetClipboard(TtxEditClipboard* clipboard);
  TtxEditClipboard& Clipboard() { return *FClipboard; }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();

  // --- drag and drop inside the editor
  // Drops the selection at `at`: moves it, or copies it when `copy`. A drop inside the
  // selection, or in a read-only editor, does nothing and answers false.
  bool DropSelection(TPoint at, bool copy);

  // --- bookmarks
  TtxBookMarkOpt BookMarkOptions;
  TMarkList& Marks() { return FMarks; }
  // Bookmark n, or none.
  TMark* Bookmark(int n) const { return n >= 0 && n < 10 ? FBookmarks[n] : nullptr; }
  bool GetBookmark(int n, int& x, int& y) const;
  void PlaceBookmark(int n, int x, int y);
  void RemoveBookmark(int n);
  void JumpToBookmark(int n);
  // Set when the widget has bookmark images; new marks then draw those.
  bool HasBookmarkImages = false;

  // --- search
  TtxEditSearch& Search() { return FSearch; }
  int SearchAndReplace(const std::string& search, const std::string& replace,
                       TSearchOptions options);

  // --- events
  std::function<void()> OnChange;
  std::function<void()> OnSelectionChange;
  std::function<void()> OnCommandDone;
  std::function<void(TtxEditorCommand&, char&, const void*)> OnProcessCommand;
  std::function<void(TtxEditorCommand&, char&, const void*)> OnProcessUserCommand;
  std::function<void(TMark*&)> OnPlaceBookmark;
  std::function<void(const std::string&, const std::string&, int, int, TtxReplaceAction&)>
      OnReplaceText;

protected:
  // View hooks: the widget repaints, moves scroll bars and the caret. Lines are 1-based; -1
  // for both means everything.
  virtual void InvalidateLines(int, int) {}
  virtual void InvalidateGutterLines(int, int) {}
  virtual void UpdateScrollBars() {}
  virtual void PlaceCaret() {}
  // The top line moved by delta lines (positive: the text moved down). A window may scroll its
  // pixels instead of repainting everything.
  virtual void TopLineMoved(int) { InvalidateLines(-1, -1); }

  void HighLighterChanged() override { InvalidateLines(-1, -1); }
  void HighLighterDestroyed() override { FHighLighter = nullptr; }
  void MarkLinesChanged(int oldLine, int newLine) override;

  // Where word motion and word deletion go (virtual so a widget may refine them).
  virtual TPoint NextWordPos() const;
  virtual TPoint PrevWordPos() const;
  bool IsWordChar(unsigned char c) const;
  // Column x of line y moved back to the start of its character.
  int SnapX(int y, int x) const;
  // Bytes of the character at column x of line y, and of the one before it.
  int CharLengthAt(int y, int x) const;
  int CharLengthBefore(int y, int x) const;

private:
  // Range upkeep: rescans from line index a (0-based) as far as the change carries.
  void RescanFrom(int a);
  void ConnectLines();
  // After a caret setter: the view follows a moved caret, and the selection event fires.
  void CaretSet(bool changed);
  void TextReplaced();

  // Commands
  void MoveCaret(TtxEditorCommand command, const void* data);
  void DoMotion(TtxEditorCommand command, const void* data);
  void DoChar(char ch);
  void DoImeStr(const std::string& text);
  void DoDeleteLastChar();
  void DoDeleteChar();
  void DoDeleteWord(bool backwards);
  void DoDeleteBOL();
  void DoDeleteEOL();
  void DoDeleteLine();
  void DoClearAll();
  void DoLineBreak(TtxEditorCommand command);
  void DoBlockIndent(bool indent);
  void DoScroll(TtxEditorCommand command);
  void DoMarker(TtxEditorCommand command);
  void UnindentBack(int x, int y);
  void FollowTyping();

  // Text primitives; none of them records undo.
  std::string LineStr(int y) const { return std::string(LineText(y)); }
  // Up and down keep the screen cell rather than the byte column.
  void MoveLines(int delta);
  void KeepWholeCharacters();
  int LineLength(int y) const { return int(LineText(y).size()); }
  void PutLine(int y, std::string_view text);
  TPoint ClampNormal(TPoint p) const;
  std::string GetText(TPoint a, TPoint b, TSelectionMode mode, bool pad) const;
  void DeleteText(TPoint a, TPoint b, TSelectionMode mode);
  // Inserts in a mode; returns where the inserted text ends.
  TPoint InsertText(TPoint p, std::string_view text, TSelectionMode mode);
  TPoint InsertNormal(TPoint p, std::string_view text);
  TPoint InsertColumn(TPoint p, std::string_view text);
  TPoint InsertLineBlock(int y, std::string_view text);
  void InsertLinesAt(int y, const std::vector<std::string>& lines);
  void DeleteLinesAt(int y, int count);
  void ShiftMarks(int fromLine, int delta);

  // Inserts as typing does (padding past the line end, lines past the end) and records the
  // whole change, padding included, so undo restores the line exactly.
  TPoint InsertRecorded(TUndoReason reason, TPoint p, std::string_view text, TSelectionMode mode);
  void DeleteSelectionRecorded(TUndoReason reason);
  void RecordUndo(TUndoReason reason, TPoint start, TPoint end, std::string text,
                  TSelectionMode mode);
  void UndoOne(TUndoRecord record);
  void RedoOne(TUndoRecord record);
  void RedoLineBreak(const TUndoRecord& record);
  // Replaces the record's range with its text and files the opposite record in `into`;
  // returns where the new text ends.
  TPoint ReplaceRecorded(const TUndoRecord& record, TUndoList& into);
  void PasteBlock(TSelectionMode mode, const std::string& text);

  // Search and replace: one pass over the range in either direction.
  struct TSearchRun;
  int SearchForward(TSearchRun& run);
  int SearchBackward(TSearchRun& run);
  bool SkipLinesWithoutMatch(TSearchRun& run, int& y);
  // What to do with the match just selected: false ends the run.
  bool ActOnMatch(TSearchRun& run, int column, int line, bool& replaced);

  TtxEditList FLines;
  int FCaretX = 1;
  int FCaretY = 1;
  TPoint FSelAnchor;
  TPoint FSelEnd;
  TSelectionMode FSelectionMode = smNormal;
  int FVisibleColumns = 10;
  int FVisibleLines = 1;
  int FLeftChar = 1;
  int FTopLine = 1;
  TtxCustomHighLighter* FHighLighter = nullptr;
  TUndoList FUndoList;
  TUndoList FRedoList;
  bool FInUndoRedo = false;
  TtxMemoryClipboard FOwnClipboard;
  TtxEditClipboard* FClipboard = &FOwnClipboard;
  TMarkList FMarks;
  std::array<TMark*, 10> FBookmarks{};
  TtxEditSearch FSearch;
};
