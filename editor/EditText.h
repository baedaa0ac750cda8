#pragma once
// String helpers of the editor's commands.
#include <string>
#include <string_view>
#include <vector>

namespace edittext {

// Splits at CR LF, CR or LF; a zero byte ends the text. Always at least one piece.
std::vector<std::string_view> SplitPieces(std::string_view text);
// line.substr that answers empty when start lies past the end.
std::string_view Piece(std::string_view line, int start, int length);
// Leading characters up to blank (32), tabs included.
int Indentation(std::string_view line);
// Length of the line without its trailing blanks.
int TrimmedLength(std::string_view line);
bool IsBlankLine(std::string_view line);

} // namespace edittext
