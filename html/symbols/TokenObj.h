#pragma once
// A text token with the source position of each of its characters.
#include <cstdint>
#include <memory>
#include <string>

class TokenObj {
public:
  static constexpr int InitialCapacity = 300;
  static constexpr int GrowBy = 50;

  TokenObj();
  TokenObj(const TokenObj& other);
  TokenObj& operator=(const TokenObj& other);
  ~TokenObj();

  // The token text; entry k of Positions() belongs to character k.
  const std::string& Chars() const { return FChars; }
  const int32_t* Positions() const { return FPositions.get(); }
  int32_t Position(int k) const { return FPositions[size_t(k)]; }
  int Leng() const { return int(FChars.size()); }
  bool Empty() const { return FChars.empty(); }
  // Room for positions before the array grows again.
  int Capacity() const { return FCapacity; }

  void AppendChar(char ch, int32_t position)
  {
    size_t n = FChars.size();
    if (int(n) >= FCapacity)
      Reserve(int(n) + 1, FCapacity + GrowBy);
    FPositions[n] = position;
    FChars.push_back(ch);
  }
  // Appends n characters; character k gets firstPosition + k * step (step 0 gives all the
  // same position, as text read from an include does).
  void AppendChars(const char* chars, int n, int32_t firstPosition, int32_t step)
  {
    size_t leng = FChars.size();
    if (n <= 0 || int(leng) + n > FCapacity) {
      AppendCharsGrowing(chars, n, firstPosition, step);
      return;
    }
    int32_t* p = FPositions.get() + leng;
    for (int k = 0; k < n; ++k)
      p[k] = firstPosition + k * step;
    FChars.append(chars, size_t(n));
  }
  // Room for n more characters, to be written in place at the returned text and positions;
  // Commit then keeps the first `used` of them.
  char* Extend(int n, int32_t*& positions)
  {
    size_t leng = FChars.size();
    if (int(leng) + n > FCapacity)
      Grow(int(leng) + n);
    FChars.resize(leng + size_t(n));
    positions = FPositions.get() + leng;
    return FChars.data() + leng;
  }
  void Commit(int extended, int used) { FChars.resize(FChars.size() - size_t(extended - used)); }
  // Appends n characters with their own positions.
  void AppendRun(const char* chars, const int32_t* positions, int n);
  void AppendToken(const TokenObj& other);
  // Empties the text; the position array is kept for reuse.
  void Clear() { FChars.clear(); }

private:
  void AppendCharsGrowing(const char* chars, int n, int32_t firstPosition, int32_t step);
  void Reserve(int needed, int newCapacity);
  // Room for `needed` positions, in the same steps single appends would take.
  void Grow(int needed);

  std::string FChars;
  std::unique_ptr<int32_t[]> FPositions;
  int FCapacity = 0;
};
