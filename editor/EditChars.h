#pragma once
// Characters of an editor line. Columns always count bytes; in a UTF-8 text a character is one
// UTF-8 unit of up to four bytes (a broken sequence is a unit of its own) that the caret, the
// selection and deletion never split, and on screen every character takes one cell, an East
// Asian wide one two. In a single-byte text a byte is a character and a cell. Past a line's end
// every column is one blank cell.
#include <string>
#include <string_view>

namespace editchars {

// Cells a character takes on screen: 2 for East Asian wide and full-width forms, else 1.
int CellsOf(char32_t cp);
// Bytes of the character starting at byte index i (1 at or past the end).
int LengthAt(std::string_view line, size_t i, bool utf8);
// Byte index where the character holding byte i starts (i itself at or past the end).
size_t StartOf(std::string_view line, size_t i, bool utf8);
// Bytes of the character that ends just before byte index i (1 past the end, 0 at the start).
int LengthBefore(std::string_view line, size_t i, bool utf8);
// Column x (1-based) moved back to the start of its character.
int Snap(std::string_view line, int x, bool utf8);
// Screen cell (1-based) where column x starts.
int CellOfColumn(std::string_view line, int x, bool utf8);
// Column of the character that covers screen cell c (1-based).
int ColumnOfCell(std::string_view line, int c, bool utf8);
// Characters in the text.
int CountChars(std::string_view text, bool utf8);
// Byte length of the first n characters of the text (all of it when it has fewer).
size_t BytesOfChars(std::string_view text, int n, bool utf8);
// A typed single-byte character (Latin-1) as bytes of the text.
std::string Typed(char ch, bool utf8);

// One line laid out in cells: a byte per cell (a stand-in byte above 127 for the cells of a
// character beyond ASCII) plus the character each cell shows (0 for ASCII cells and for the
// second cell of a wide character).
struct TCellLine {
  std::string Cells;
  std::u32string Chars;
};
TCellLine CellLine(std::string_view line);

} // namespace editchars
