#pragma once
// Finds every occurrence of a pattern in one line with a skip-table scan, optionally ignoring
// case (through a translation table, so the line is never converted) and optionally accepting
// whole words only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TtxEditSearch {
public:
  TtxEditSearch();

  const std::string& Pattern() const { return FPattern; }
  // Raises ELumoraError "Pattern is empty" for an empty pattern. Resets the match count.
  void SetPattern(const std::string& value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);
  // UTF-8 text: only ASCII letters are folded, and bytes above 127 are letters for whole words.
  void SetUtf8(bool value);
  bool WholeWords() const { return FWholeWords; }
  void SetWholeWords(bool value) { FWholeWords = value; }

  // Finds the non-overlapping matches from left to right; returns how many.
  int FindAllInLine(std::string_view line);
  // The 0-based offset of the first match in text, npos when there is none; the results and
  // the match count stay as they were.
  size_t FindFirst(std::string_view text);
  int ResultCount() const { return int(FResults.size()); }
  // The 1-based column of result i, 0 when there is none.
  int MatchColumn(int index) const;
  // Matches found since the pattern was set.
  int MatchCount() const { return FMatchCount; }
  // After a replacement changed the line's length: moves results right of `position`.
  void ShiftMatches(int position, int delta);

  // The delimiter test used for whole words: true for every character that is not a letter or
  // a digit.
  static bool IsDelimiter(unsigned char c);

private:
  void BuildShiftTable();
  void ChooseTranslation();
  template <class TTranslate> void Scan(std::string_view line, TTranslate translate);
  bool Delimited(std::string_view line, size_t start) const;

  std::string FPattern;
  bool FCaseSensitive = false;
  bool FWholeWords = false;
  bool FUtf8 = false;
  const uint8_t* FTranslate;
  std::array<int, 256> FShift{};
  int FLookAt = 1;
  std::vector<int> FResults;
  int FMatchCount = 0;
  bool FStopAtFirst = false;
};
