#pragma once
// One list of recorded changes (the editor keeps one for undo and one for redo).
#include "editor/EditTypes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

enum TUndoReason : uint8_t {
  UndoInsert = 0,
  UndoPaste = 1,
  UndoDragInsert = 2,
  UndoDeleteAfterCaret = 3,
  UndoDelete = 4,
  UndoSelectionReplaced = 5,
  UndoDragDelete = 6,
  UndoLineBreak = 7,
  UndoNone = 8,
};

struct TUndoRecord {
  std::string Text;
  TUndoReason Reason = UndoNone;
  TPoint Start;
  TPoint End;
  TSelectionMode Mode = smNormal;
};

class TUndoList {
public:
  // Records nothing while locked. When MaxUndo records are held the oldest is dropped first.
  void Add(TUndoReason reason, TPoint start, TPoint end, std::string text, TSelectionMode mode);
  // The newest record, removed; reason UndoNone when the list is empty.
  TUndoRecord Pop();
  TUndoReason PeekReason() const { return FRecords.empty() ? UndoNone : FRecords.back().Reason; }
  const TUndoRecord* Peek() const { return FRecords.empty() ? nullptr : &FRecords.back(); }
  int Count() const { return int(FRecords.size()); }
  void Clear() { FRecords.clear(); }

  int MaxUndo() const { return FMaxUndo; }
  // Drops the oldest records until at most n remain.
  void SetMaxUndo(int n);

  bool locked = false;
  // Fired after a record is added (the editor sets Modified and fires its change event).
  std::function<void()> OnAdded;

private:
  std::deque<TUndoRecord> FRecords;
  int FMaxUndo = 10;
};
