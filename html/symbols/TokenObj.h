#pragma once
// A text token with the source position of each of its characters.
#include <cstdint>
#include <memory>
#include <string_view>

class TokenObj {
public:
  static constexpr int InitialCapacity = 300;
  static constexpr int GrowBy = 50;

  TokenObj();
  TokenObj(const TokenObj& other);
  TokenObj& operator=(const TokenObj& other);
  ~TokenObj();

  // The token text; entry k of Positions() belongs to character k. Both stay valid until the
  // token changes.
  std::string_view Chars() const { return std::string_view(FChars.get(), size_t(FLeng)); }
  const int32_t* Positions() const { return FPositions.get(); }
  int32_t Position(int k) const { return FPositions[size_t(k)]; }
  int Leng() const { return FLeng; }
  bool Empty() const { return FLeng == 0; }
  // Room for characters and positions before the arrays grow again.
  int Capacity() const { return FCapacity; }

  void AppendChar(char ch, int32_t position)
  {
    if (FLeng >= FCapacity)
      Reserve(FLeng + 1, FCapacity + GrowBy);
    FPositions[size_t(FLeng)] = position;
    FChars[size_t(FLeng++)] = ch;
  }
  // Appends n characters; character k gets firstPosition + k * step (step 0 gives all the
  // same position, as text read from an include does).
  void AppendChars(const char* chars, int n, int32_t firstPosition, int32_t step);
  // Room for n more characters, to be written in place at the returned text and positions;
  // Commit then keeps the first `used` of them. Nothing is written in advance.
  char* Extend(int n, int32_t*& positions)
  {
    if (FLeng + n > FCapacity)
      Grow(FLeng + n);
    positions = FPositions.get() + FLeng;
    char* chars = FChars.get() + FLeng;
    FLeng += n;
    return chars;
  }
  void Commit(int extended, int used) { FLeng -= extended - used; }
  // Appends n characters with their own positions.
  void AppendRun(const char* chars, const int32_t* positions, int n);
  void AppendToken(const TokenObj& other);
  // Empties the text; the arrays are kept for reuse.
  void Clear() { FLeng = 0; }

private:
  void Reserve(int needed, int newCapacity);
  // Room for `needed` characters, in the same steps single appends would take.
  void Grow(int needed);

  std::unique_ptr<char[]> FChars;
  std::unique_ptr<int32_t[]> FPositions;
  int FLeng = 0;
  int FCapacity = 0;
};
