#include "editor/EditChars.h"

#include "base/Utf8.h"

#include <algorithm>

namespace editchars {

namespace {

// What stands for a cell of a character beyond ASCII in the cell line: a byte above 127, so
// the highlighter sees it as the plain text the real bytes are.
constexpr char StandIn = char(0xBF);

struct TRange {
  char32_t First, Last;
};

// East Asian wide and full-width blocks.
constexpr TRange WideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

int UnitAt(std::string_view line, size_t i, char32_t& cp)
{
  return utf8::Unit(line.data() + i, int(std::min<size_t>(line.size() - i, 4)), cp);
}

} // namespace

int CellsOf(char32_t cp)
{
  for (const TRange& r : WideRanges)
    if (cp >= r.First && cp <= r.Last)
      return 2;
  return 1;
}

int LengthAt(std::string_view line, size_t i, bool utf8)
{
  if (!utf8 || i >= line.size())
    return 1;
  char32_t cp;
  return UnitAt(line, i, cp);
}

// Units are found from the line's start: a broken sequence read backwards could split
// differently. Columns stop at the column limit, so the walk stays short.
size_t StartOf(std::string_view line, size_t i, bool utf8)
{
  if (!utf8 || i >= line.size())
    return i;
  size_t at = 0;
  for (;;) {
    size_t next = at + size_t(LengthAt(line, at, true));
    if (next > i)
      return at;
    at = next;
  }
}

int LengthBefore(std::string_view line, size_t i, bool utf8)
{
  if (i == 0)
    return 0;
  if (i > line.size())
    return 1;
  return int(i - StartOf(line, i - 1, utf8));
}

int Snap(std::string_view line, int x, bool utf8)
{
  if (x < 1)
    return x;
  return int(StartOf(line, size_t(x - 1), utf8)) + 1;
}

int CellOfColumn(std::string_view line, int x, bool utf8)
{
  if (!utf8 || x < 1)
    return x;
  int cell = 1;
  size_t i = 0;
  const size_t target = size_t(x - 1);
  while (i < target && i < line.size()) {
    char32_t cp;
    int length = UnitAt(line, i, cp);
    if (i + size_t(length) > target)
      break;
    i += size_t(length);
    cell += CellsOf(cp);
  }
  return cell + int(target > line.size() ? target - line.size() : 0);
}

int ColumnOfCell(std::string_view line, int c, bool utf8)
{
  if (!utf8 || c < 1)
    return c;
  int cell = 1;
  size_t i = 0;
  while (i < line.size()) {
    char32_t cp;
    int length = UnitAt(line, i, cp);
    int cells = CellsOf(cp);
    if (cell + cells > c)
      return int(i) + 1;
    cell += cells;
    i += size_t(length);
  }
  return int(line.size()) + 1 + (c - cell);
}

int CountChars(std::string_view text, bool utf8)
{
  if (!utf8)
    return int(text.size());
  int n = 0;
  for (size_t i = 0; i < text.size(); i += size_t(LengthAt(text, i, true)))
    ++n;
  return n;
}

size_t BytesOfChars(std::string_view text, int n, bool utf8)
{
  size_t i = 0;
  for (; n > 0 && i < text.size(); --n)
    i += size_t(LengthAt(text, i, utf8));
  return i;
}

std::string Typed(char ch, bool utf8)
{
  std::string out;
  if (utf8)
    utf8::Append(out, char32_t((unsigned char)ch));
  else
    out += ch;
  return out;
}

TCellLine CellLine(std::string_view line)
{
  TCellLine result;
  result.Cells.reserve(line.size());
  result.Chars.reserve(line.size());
  for (size_t i = 0; i < line.size();) {
    char32_t cp;
    int length = UnitAt(line, i, cp);
    i += size_t(length);
    if (cp < 0x80) {
      result.Cells += char(cp);
      result.Chars += char32_t(0);
      continue;
    }
    result.Cells += StandIn;
    result.Chars += cp;
    if (CellsOf(cp) == 2) {
      result.Cells += StandIn;
      result.Chars += char32_t(0);
    }
  }
  return result;
}

} // namespace editchars
