#include "html/symbols/TokenObj.h"

#include <algorithm>
#include <cstring>

TokenObj::TokenObj()
    : FChars(std::make_unique_for_overwrite<char[]>(InitialCapacity)),
      FPositions(std::make_unique_for_overwrite<int32_t[]>(InitialCapacity)),
      FCapacity(InitialCapacity)
{
}

TokenObj::TokenObj(const TokenObj& other)
    : FChars(std::make_unique_for_overwrite<char[]>(size_t(other.FCapacity))),
      FPositions(std::make_unique_for_overwrite<int32_t[]>(size_t(other.FCapacity))),
      FLeng(other.FLeng), FCapacity(other.FCapacity)
{
  std::copy_n(other.FChars.get(), size_t(FLeng), FChars.get());
  std::copy_n(other.FPositions.get(), size_t(FLeng), FPositions.get());
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
  auto positions = std::make_unique_for_overwrite<int32_t[]>(size_t(newCapacity));
  std::copy_n(FChars.get(), size_t(FLeng), chars.get());
  std::copy_n(FPositions.get(), size_t(FLeng), positions.get());
  FChars = std::move(chars);
  FPositions = std::move(positions);
  FCapacity = newCapacity;
}

void TokenObj::Grow(int needed)
{
  int capacity = FCapacity;
  while (needed > capacity)
    capacity += GrowBy;
  Reserve(needed, capacity);
}

void TokenObj::AppendChars(const char* chars, int n, int32_t firstPosition, int32_t step)
{
  if (n <= 0)
    return;
  // The same capacity as n single appends would reach.
  Grow(FLeng + n);
  int32_t* p = FPositions.get() + FLeng;
  for (int k = 0; k < n; ++k)
    p[k] = firstPosition + k * step;
  std::memcpy(FChars.get() + FLeng, chars, size_t(n));
  FLeng += n;
}

void TokenObj::AppendRun(const char* chars, const int32_t* positions, int n)
{
  if (n <= 0)
    return;
  Grow(FLeng + n);
  std::copy_n(positions, size_t(n), FPositions.get() + FLeng);
  std::memcpy(FChars.get() + FLeng, chars, size_t(n));
  FLeng += n;
}

void TokenObj::AppendToken(const TokenObj& other)
{
  const int n = other.FLeng;
  if (n == 0)
    return;
  Reserve(FLeng + n, FLeng + n + GrowBy);
  std::copy_n(other.FPositions.get(), size_t(n), FPositions.get() + FLeng);
  std::memcpy(FChars.get() + FLeng, other.FChars.get(), size_t(n));
  FLeng += n;
}
