#include "html/symbols/TokenObj.h"

#include <algorithm>
#include <cstring>

TokenObj::TokenObj()
    : FPositions(std::make_unique<int32_t[]>(InitialCapacity)), FCapacity(InitialCapacity)
{
}

TokenObj::TokenObj(const TokenObj& other)
    : FChars(other.FChars), FPositions(std::make_unique<int32_t[]>(size_t(other.FCapacity))),
      FCapacity(other.FCapacity)
{
  std::copy_n(other.FPositions.get(), other.FChars.size(), FPositions.get());
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

// Grows to newCapacity when `needed` positions do not fit.
void TokenObj::Reserve(int needed, int newCapacity)
{
  if (needed <= FCapacity)
    return;
  auto grown = std::make_unique<int32_t[]>(size_t(newCapacity));
  std::copy_n(FPositions.get(), FChars.size(), grown.get());
  FPositions = std::move(grown);
  FCapacity = newCapacity;
}

void TokenObj::Grow(int needed)
{
  int capacity = FCapacity;
  while (needed > capacity)
    capacity += GrowBy;
  Reserve(needed, capacity);
}

void TokenObj::AppendCharsGrowing(const char* chars, int n, int32_t firstPosition, int32_t step)
{
  if (n <= 0)
    return;
  // The same capacity as n single appends would reach.
  Grow(Leng() + n);
  AppendChars(chars, n, firstPosition, step);
}

void TokenObj::AppendRun(const char* chars, const int32_t* positions, int n)
{
  if (n <= 0)
    return;
  int leng = Leng();
  Grow(leng + n);
  std::copy_n(positions, size_t(n), FPositions.get() + leng);
  FChars.append(chars, size_t(n));
}

void TokenObj::AppendToken(const TokenObj& other)
{
  int leng = Leng(), n = other.Leng();
  if (n == 0)
    return;
  Reserve(leng + n, leng + n + GrowBy);
  std::copy_n(other.FPositions.get(), size_t(n), FPositions.get() + leng);
  FChars.append(other.FChars);
}
