#pragma once
// A text token with the source positions of its characters, kept as runs.
#include <climits>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

// From character Index on, characters take the source positions Pos, Pos + 1, ... up to the
// next run. Plain text is one run however long it is; a new run starts where the source skips
// (a folded line end, a character reference) or repeats a position. A negative Pos marks
// characters without a source position.
struct TPositionRun {
  int32_t Index = 0;
  int32_t Pos = 0;
};
using TPositionRuns = std::span<const TPositionRun>;

// The position of character k under runs sorted by Index (negative: none).
int32_t PositionIn(TPositionRuns runs, int32_t k);

class TokenObj {
public:
  static constexpr int InitialCapacity = 300;
  static constexpr int GrowBy = 50;

  TokenObj();
  TokenObj(const TokenObj& other);
  TokenObj& operator=(const TokenObj& other);
  ~TokenObj();

  // The token text and its position runs; both stay valid until the token changes.
  std::string_view Chars() const { return std::string_view(FChars.get(), size_t(FLeng)); }
  TPositionRuns Runs() const { return TPositionRuns(FRuns.data(), FRuns.size()); }
  int32_t Position(int k) const { return PositionIn(Runs(), k); }
  int Leng() const { return FLeng; }
  bool Empty() const { return FLeng == 0; }
  // Room for characters before the text grows again.
  int Capacity() const { return FCapacity; }

  void AppendChar(char ch, int32_t position)
  {
    if (FLeng >= FCapacity)
      Reserve(FLeng + 1, FCapacity + GrowBy);
    SetPosition(FLeng, position);
    FChars[size_t(FLeng++)] = ch;
  }
  // Appends n characters; character k gets firstPosition + k * step (step 0 gives all the
  // same position, as text read from an include does).
  void AppendChars(const char* chars, int n, int32_t firstPosition, int32_t step);
  // Room for n more characters, to be written in place at the returned text; Commit then
  // keeps the first `used` of them. Their positions are given with SetPosition(s).
  char* Extend(int n)
  {
    if (FLeng + n > FCapacity)
      Grow(FLeng + n);
    char* chars = FChars.get() + FLeng;
    FLeng += n;
    return chars;
  }
  void Commit(int extended, int used)
  {
    FLeng -= extended - used;
    while (!FRuns.empty() && FRuns.back().Index >= FLeng)
      FRuns.pop_back();
  }
  // Character k, at or after every character positioned so far, and the ones after it up to
  // the next call, get position, position + 1, ...
  void SetPosition(int k, int32_t position)
  {
    if (position != ContinuedPosition(k))
      AddRun(k, position);
  }
  // The same for character 0 of a token without characters.
  void SetFirstPosition(int32_t position)
  {
    FRuns.push_back(TPositionRun{0, position < 0 ? -1 : position});
  }
  // Characters k .. k + n - 1 get first, first + step, ...
  void SetPositions(int k, int n, int32_t first, int32_t step);
  // The position character k would take by continuing the last run; never equal to a valid
  // position when there is no run or the last one has no positions.
  int32_t ContinuedPosition(int k) const
  {
    if (FRuns.empty())
      return NoRun;
    const TPositionRun& last = FRuns.back();
    return last.Pos < 0 ? -1 : last.Pos + (k - last.Index);
  }
  void AppendToken(const TokenObj& other);
  // Empties the text; the buffers are kept for reuse.
  void Clear()
  {
    FLeng = 0;
    FRuns.clear();
  }

private:
  static constexpr int32_t NoRun = INT32_MIN;
  // The run of SetPosition, kept out of line: most characters continue the run before them.
  void AddRun(int k, int32_t position);
  void Reserve(int needed, int newCapacity);
  // Room for `needed` characters, in the same steps single appends would take.
  void Grow(int needed);

  std::unique_ptr<char[]> FChars;
  std::vector<TPositionRun> FRuns;
  int FLeng = 0;
  int FCapacity = 0;
};
