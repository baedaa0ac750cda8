#include "html/viewer/ViewerHistory.h"

bool TViewerHistory::Record(const THistoryItem& left, const THistoryItem& current)
{
  if (FMaxCount < 1 || current.Name.empty())
    return false;
  if (left.Name == current.Name && left.Position == current.Position)
    return false;
  if (!FItems.empty()) {
    if (!left.Name.empty())
      FItems[size_t(FIndex)] = left;
    // Going somewhere new drops the entries one could have gone forward to.
    FItems.erase(FItems.begin(), FItems.begin() + FIndex);
  }
  FIndex = 0;
  FItems.insert(FItems.begin(), current);
  if (Count() > FMaxCount)
    FItems.erase(FItems.begin() + FMaxCount);
  return true;
}

bool TViewerHistory::SetMaxCount(int value)
{
  if (value < 0)
    return false;
  bool smaller = value < FMaxCount;
  FMaxCount = value;
  return smaller && Clear();
}

bool TViewerHistory::Clear()
{
  bool had = !FItems.empty();
  FItems.clear();
  FIndex = 0;
  return had;
}
