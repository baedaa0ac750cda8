#include "editor/Marks.h"

#include <algorithm>

void TMark::Changed(int oldLine)
{
  if (FOwner)
    FOwner->MarkLinesChanged(oldLine, FLine);
}

void TMark::SetLine(int value)
{
  int old = FLine;
  FLine = value;
  Changed(old);
}

void TMark::SetImageIndex(int value)
{
  FImageIndex = value;
  Changed(FLine);
}

void TMark::SetVisible(bool value)
{
  FVisible = value;
  Changed(FLine);
}

void TMark::SetUseBuiltInGlyph(bool value)
{
  FUseBuiltInGlyph = value;
  Changed(FLine);
}

TMark* TMarkList::Add(std::unique_ptr<TMark> mark)
{
  FMarks.push_back(std::move(mark));
  if (OnChange)
    OnChange();
  return FMarks.back().get();
}

void TMarkList::Remove(TMark* mark)
{
  auto at =
      std::find_if(FMarks.begin(), FMarks.end(), [mark](const auto& m) { return m.get() == mark; });
  if (at == FMarks.end())
    return;
  FMarks.erase(at);
  if (OnChange)
    OnChange();
}

void TMarkList::Clear()
{
  FMarks.clear();
  if (OnChange)
    OnChange();
}
