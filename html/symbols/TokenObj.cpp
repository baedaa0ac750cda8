#include "html/symbols/TokenObj.h"

#include <algorithm>
#include <cstring>

int32_t PositionIn(TPositionRuns runs, int32_t k)
{
  auto after =
      std::upper_bound(runs.begin(), runs.end(), k,
                       [](int32_t index, const TPositionRun& r) { return index < r.Index; });
  if (after == runs.begin())
    return -1;
  const TPositionRun& run = *(after - 1);
  return run.Pos < 0 ? -1 : run.Pos + (k - run.Index);
}

TokenObj::TokenObj()
    : FChars(std::make_unique_for_overwrite<char[]>(InitialCapacity)), FCapacity(InitialCapacity)
{
}

TokenObj::TokenObj(const TokenObj& other)
    : FChars(std::make_unique_for_overwrite<char[]>(size_t(other.FCapacity))), FRuns(other.FRuns),
      FLeng(other.FLeng), FCapacity(other.FCapacity)
{
  std::copy_n(other.FChars.get(), size_t(FLeng), FChars.get());
}

TokenObj& TokenObj::operator=(const TokenObj& other)
{
  if (this != &other) {
    Clear();
    AppendToken(other);
  }
  return *this;
}

TokenObj::~TokenObj() = default;

// Grows to newCapacity when `needed` characters do not fit.
void TokenObj::Reserve(int needed, int newCapacity)
{
  if (needed <= FCapacity)
    return;
  auto chars = std::make_unique_for_overwrite<char[]>(size_t(newCapacity));
  std::copy_n(FChars.get(), size_t(FLeng), chars.get());
  FChars = std::move(chars);
  FCapacity = newCapacity;
}

void TokenObj::Grow(int needed)
{
  int capacity = FCapacity;
  while (needed > capacity)
    capacity += GrowBy;
  Reserve(needed, capacity);
}

void TokenObj::AddRun(int k, int32_t position)
{
  if (position < 0)
    position = -1; // all characters without a position share one run
  if (position != ContinuedPosition(k))
    FRuns.push_back(TPositionRun{k, position});
}

void TokenObj::SetPositions(int k, int n, int32_t first, int32_t step)
{
  if (n <= 0)
    return;
  if (step == 1) {
    SetPosition(k, first);
    return;
  }
  for (int i = 0; i < n; ++i)
    SetPosition(k + i, first + i * step);
}

void TokenObj::AppendChars(const char* chars, int n, int32_t firstPosition, int32_t step)
{
  if (n <= 0)
    return;
  // The same capacity as n single appends would reach.
  Grow(FLeng + n);
  SetPositions(FLeng, n, firstPosition, step);
  std::memcpy(FChars.get() + FLeng, chars, size_t(n));
  FLeng += n;
}

void TokenObj::AppendToken(const TokenObj& other)
{
  const int n = other.FLeng;
  if (n == 0)
    return;
  Reserve(FLeng + n, FLeng + n + GrowBy);
  if (other.FRuns.empty() || other.FRuns.front().Index > 0)
    SetPosition(FLeng, -1); // its first characters have no position
  for (const TPositionRun& r : other.FRuns)
    SetPosition(FLeng + r.Index, r.Pos);
  std::memcpy(FChars.get() + FLeng, other.FChars.get(), size_t(n));
  FLeng += n;
}
