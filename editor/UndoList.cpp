#include "editor/UndoList.h"

void TUndoList::Add(TUndoReason reason, TPoint start, TPoint end, std::string text,
                    TSelectionMode mode)
{
  if (locked || FMaxUndo <= 0)
    return;
  while (int(FRecords.size()) >= FMaxUndo)
    FRecords.pop_front();
  FRecords.push_back({std::move(text), reason, start, end, mode});
  if (OnAdded)
    OnAdded();
}

TUndoRecord TUndoList::Pop()
{
  if (FRecords.empty())
    return {};
  TUndoRecord record = std::move(FRecords.back());
  FRecords.pop_back();
  return record;
}

void TUndoList::SetMaxUndo(int n)
{
  FMaxUndo = n < 0 ? 0 : n;
  while (int(FRecords.size()) > FMaxUndo)
    FRecords.pop_front();
}
