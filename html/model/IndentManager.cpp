#include "html/model/IndentManager.h"

#include "html/model/FloatingObj.h"

#include <algorithm>

namespace {
constexpr int32_t OpenBottom = 9999999;
constexpr int32_t LevelStep = 35;
} // namespace

void IndentList::RetireEndedBy(int32_t y, IndentList& retired)
{
  auto keep = FItems.begin();
  for (auto it = FItems.begin(); it != FItems.end(); ++it) {
    if ((*it)->LevelId == 0 && (*it)->YBottom <= y)
      retired.FItems.push_back(std::move(*it));
    else if (keep++ != it)
      *(keep - 1) = std::move(*it);
  }
  FItems.erase(keep, FItems.end());
}

void IndentManagerBasic::Clear()
{
  LeftList.Clear();
  RightList.Clear();
  RetiredLeft.Clear();
  RetiredRight.Clear();
  RetiredLeftBottom = RetiredRightBottom = INT32_MIN;
  RetiredLeftBottomByX.clear();
  Watermark = INT32_MIN;
}

void IndentManagerBasic::Retire(int32_t y)
{
  if (y <= Watermark)
    return;
  Watermark = y;
  size_t from = size_t(RetiredLeft.Count());
  LeftList.RetireEndedBy(y, RetiredLeft);
  for (size_t i = from; i < size_t(RetiredLeft.Count()); ++i) {
    const IndentRec& r = *RetiredLeft.Items(int(i));
    RetiredLeftBottom = std::max(RetiredLeftBottom, r.YBottom);
    auto [it, added] = RetiredLeftBottomByX.emplace(r.X, r.YBottom);
    if (!added)
      it->second = std::max(it->second, r.YBottom);
  }
  from = size_t(RetiredRight.Count());
  RightList.RetireEndedBy(y, RetiredRight);
  for (size_t i = from; i < size_t(RetiredRight.Count()); ++i)
    RetiredRightBottom = std::max(RetiredRightBottom, RetiredRight.Items(int(i))->YBottom);
}

void IndentManagerBasic::Reset(int32_t left, int32_t right)
{
  LeftEdge = left;
  RightEdge = right;
  CurrentLevel = 0;
}

void IndentManagerBasic::AddRec(IndentList& list, int32_t x, int32_t top, int32_t bottom,
                                int32_t id)
{
  auto r = std::make_unique<IndentRec>();
  r->X = x;
  r->YTop = top;
  r->YBottom = bottom;
  r->LevelId = id;
  list.Add(std::move(r));
}

int32_t IndentManagerBasic::LeftMargin(int32_t y) const
{
  int32_t x = 0;
  for (const auto& r : LeftList)
    if (r->YTop <= y && y < r->YBottom)
      x = std::max(x, r->X);
  if (y < Watermark)
    for (const auto& r : RetiredLeft)
      if (r->YTop <= y && y < r->YBottom)
        x = std::max(x, r->X);
  return LeftEdge + x;
}

int32_t IndentManagerBasic::RightMargin(int32_t y) const
{
  int32_t x = 0;
  for (const auto& r : RightList)
    if (r->YTop <= y && y < r->YBottom)
      x = std::min(x, r->X);
  if (y < Watermark)
    for (const auto& r : RetiredRight)
      if (r->YTop <= y && y < r->YBottom)
        x = std::min(x, r->X);
  return RightEdge + x;
}

int32_t IndentManagerBasic::FloatBottom() const
{
  int32_t b = std::max({0, RetiredLeftBottom, RetiredRightBottom});
  for (const auto* list : {&LeftList, &RightList})
    for (const auto& r : *list)
      if (r->LevelId == 0)
        b = std::max(b, r->YBottom);
  return b;
}

void IndentManagerBasic::ClearBottoms(int32_t& left, int32_t& right) const
{
  left = RetiredLeftBottom == INT32_MIN ? 0 : std::max(0, RetiredLeftBottom + 1);
  right = RetiredRightBottom == INT32_MIN ? 0 : std::max(0, RetiredRightBottom + 1);
  for (const auto& r : LeftList)
    if (r->LevelId == 0)
      left = std::max(left, r->YBottom + 1);
  for (const auto& r : RightList)
    if (r->LevelId == 0)
      right = std::max(right, r->YBottom + 1);
}

int32_t IndentManagerBasic::LevelBottom() const
{
  // The indent of the current level: the X of its own entry, if it is open.
  int32_t levelX = 0;
  for (const auto& r : LeftList)
    if (r->LevelId == CurrentLevel && CurrentLevel > 0)
      levelX = r->X;
  int32_t b = 0;
  for (const auto& r : LeftList)
    if (r->LevelId == 0 && r->X > levelX)
      b = std::max(b, r->YBottom + 1);
  for (auto it = RetiredLeftBottomByX.upper_bound(levelX); it != RetiredLeftBottomByX.end(); ++it)
    b = std::max(b, it->second + 1);
  return b;
}

void IndentManagerBasic::SetLevel(int32_t y, int32_t level)
{
  if (level > CurrentLevel) {
    for (int32_t n = CurrentLevel + 1; n <= level; ++n)
      AddRec(LeftList, LeftMargin(y) - LeftEdge + LevelStep, y, OpenBottom, n);
  } else if (level < CurrentLevel && CurrentLevel > 0) {
    for (const auto& r : LeftList)
      if (r->LevelId > level) {
        r->LevelId = 0;
        r->YBottom = y - 1;
      }
  }
  CurrentLevel = level;
  Retire(y);
}

void IndentManagerBasic::AddFloat(int32_t y, int32_t width, TPlacement side, int32_t height)
{
  if (side == plLeft)
    AddRec(LeftList, LeftMargin(y) + width - LeftEdge, y, y + height, 0);
  else if (side == plRight)
    AddRec(RightList, RightMargin(y) - RightEdge - width, y, y + height, 0);
}

void IndentManagerBasic::PlaceFloat(int32_t y, TFloatingObj* obj)
{
  if (!obj)
    return;
  if (obj->Placement == plLeft) {
    obj->FloatX = LeftMargin(y) - LeftEdge;
    AddRec(LeftList, obj->FloatX + obj->BoxWidth + obj->SideGap, y, y + obj->BoxHeight, 0);
  } else if (obj->Placement == plRight) {
    int32_t x = RightMargin(y) - RightEdge - (obj->BoxWidth + obj->SideGap);
    obj->FloatX = RightEdge + x + obj->SideGap;
    AddRec(RightList, x, y, y + obj->BoxHeight, 0);
  } else {
    return;
  }
  obj->FloatY = y;
}
