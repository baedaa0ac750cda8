#include "editor/EditSearch.h"

#include "base/Exceptions.h"

namespace {

// Letters of the Western code page besides A-Z and a-z.
bool IsLatinLetter(unsigned c)
{
  if (c >= 0xC0)
    return c != 0xD7 && c != 0xF7;
  switch (c) {
  case 0x8A:
  case 0x8C:
  case 0x8E:
  case 0x9A:
  case 0x9C:
  case 0x9E:
  case 0x9F:
  case 0xAA:
  case 0xB5:
  case 0xBA: return true;
  default: return false;
  }
}

struct TTables {
  std::array<uint8_t, 256> Identity{};
  std::array<uint8_t, 256> Lower{};
  // UTF-8 text folds ASCII only: the Western table would turn one character's lead byte
  // into another's.
  std::array<uint8_t, 256> AsciiLower{};
  std::array<bool, 256> Delimiter{};
  TTables()
  {
    for (unsigned c = 0; c < 256; ++c) {
      Identity[c] = uint8_t(c);
      unsigned lower = c;
      if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        lower = c + 32;
      else if (c == 0x8A || c == 0x8C || c == 0x8E)
        lower = c + 16;
      else if (c == 0x9F)
        lower = 0xFF;
      Lower[c] = uint8_t(lower);
      AsciiLower[c] = uint8_t(c >= 'A' && c <= 'Z' ? c + 32 : c);
      bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                   IsLatinLetter(c);
      Delimiter[c] = !alnum;
    }
  }
};

const TTables& Tables()
{
  static const TTables tables;
  return tables;
}

} // namespace

TtxEditSearch::TtxEditSearch() : FTranslate(Tables().Lower.data())
{
}

bool TtxEditSearch::IsDelimiter(unsigned char c)
{
  return Tables().Delimiter[c];
}

void TtxEditSearch::SetPattern(const std::string& value)
{
  if (value.empty())
    throw ELumoraError("Pattern is empty");
  if (value != FPattern) {
    FPattern = value;
    BuildShiftTable();
  }
  FMatchCount = 0;
}

void TtxEditSearch::SetCaseSensitive(bool value)
{
  FCaseSensitive = value;
  ChooseTranslation();
}

void TtxEditSearch::SetUtf8(bool value)
{
  FUtf8 = value;
  ChooseTranslation();
}

void TtxEditSearch::ChooseTranslation()
{
  FTranslate = FCaseSensitive ? Tables().Identity.data()
               : FUtf8        ? Tables().AsciiLower.data()
                              : Tables().Lower.data();
  // The shift table is made of translated characters, so it follows the case flag.
  if (!FPattern.empty())
    BuildShiftTable();
}

void TtxEditSearch::BuildShiftTable()
{
  const int m = int(FPattern.size());
  FShift.fill(m + 1);
  for (int j = 1; j <= m; ++j)
    FShift[FTranslate[(unsigned char)FPattern[j - 1]]] = m + 1 - j;
  const uint8_t last = FTranslate[(unsigned char)FPattern[m - 1]];
  FLookAt = 1;
  while (FLookAt < m && FTranslate[(unsigned char)FPattern[m - 1 - FLookAt]] != last)
    ++FLookAt;
}

bool TtxEditSearch::Delimited(std::string_view line, size_t start) const
{
  size_t end = start + FPattern.size();
  // In UTF-8 text every byte above 127 belongs to a letter of some script.
  auto delimiter = [this](unsigned char c) { return !(FUtf8 && c >= 0x80) && IsDelimiter(c); };
  if (start > 0 && !delimiter((unsigned char)line[start - 1]))
    return false;
  return end >= line.size() || delimiter((unsigned char)line[end]);
}

int TtxEditSearch::FindAllInLine(std::string_view line)
{
  FResults.clear();
  if (FPattern.empty() || line.size() < FPattern.size())
    return 0;
  // Matching case needs no translation at all; the loop is made twice so that the common
  // case pays nothing for it.
  if (FCaseSensitive)
    Scan(line, [](unsigned char c) { return c; });
  else
    Scan(line, [tr = FTranslate](unsigned char c) { return tr[c]; });
  return int(FResults.size());
}

template <class TTranslate> void TtxEditSearch::Scan(std::string_view line, TTranslate tr)
{
  const size_t m = FPattern.size();
  const auto* text = reinterpret_cast<const unsigned char*>(line.data());
  const auto* pat = reinterpret_cast<const unsigned char*>(FPattern.data());
  const int* shift = FShift.data();
  const unsigned char last = tr(pat[m - 1]);
  const size_t n = line.size();
  size_t pos = m - 1; // the last character of the window
  const int longest = int(m) + 1;
  for (;;) {
    // Most characters of a text are not in the pattern and allow the longest skip. Stepping
    // by that constant, the next position never waits for a table load, so the processor runs
    // ahead; the general skip below takes over at the first character that is in the pattern.
    while (pos + size_t(longest) + 1 < n && tr(text[pos]) != last &&
           shift[tr(text[pos + 1])] == longest)
      pos += size_t(longest);
    // One skip by the table, then back to the fast steps.
    if (tr(text[pos]) != last) {
      if (pos + 1 >= n)
        return;
      pos += size_t(shift[tr(text[pos + 1])]);
      if (pos >= n)
        return;
      continue;
    }
    size_t start = pos + 1 - m, k = 0;
    while (k + 1 < m && tr(text[start + k]) == tr(pat[k]))
      ++k;
    if (k + 1 >= m && (!FWholeWords || Delimited(line, start))) {
      FResults.push_back(int(start) + 1);
      ++FMatchCount;
      if (FStopAtFirst)
        return;
      pos += m;
    } else {
      // The character after the window decides the skip, and no skip is shorter than the
      // distance to the previous occurrence of the last pattern character: either bound alone
      // is safe, so no match is ever stepped over.
      if (pos + 1 >= n)
        return;
      const int next = shift[tr(text[pos + 1])];
      pos += size_t(next > FLookAt ? next : FLookAt);
    }
    if (pos >= n)
      return;
  }
}

size_t TtxEditSearch::FindFirst(std::string_view text)
{
  std::vector<int> results;
  results.swap(FResults);
  const int count = FMatchCount;
  FStopAtFirst = true;
  FindAllInLine(text);
  FStopAtFirst = false;
  size_t found = FResults.empty() ? std::string_view::npos : size_t(FResults.front() - 1);
  FResults.swap(results);
  FMatchCount = count;
  return found;
}

int TtxEditSearch::MatchColumn(int index) const
{
  if (index < 0 || index >= int(FResults.size()))
    return 0;
  return FResults[index];
}

void TtxEditSearch::ShiftMatches(int position, int delta)
{
  for (int i = int(FResults.size()) - 1; i >= 0; --i)
    if (FResults[i] > position)
      FResults[i] -= delta;
}
