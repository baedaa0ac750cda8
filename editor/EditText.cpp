#include "editor/EditText.h"

namespace edittext {

std::vector<std::string_view> SplitPieces(std::string_view text)
{
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n')
      continue;
    pieces.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::string_view Piece(std::string_view line, int start, int length)
{
  if (start < 0 || size_t(start) >= line.size() || length <= 0)
    return {};
  return line.substr(size_t(start), size_t(length));
}

int Indentation(std::string_view line)
{
  int n = 0;
  while (size_t(n) < line.size() && (unsigned char)line[n] <= 32)
    ++n;
  return n;
}

int TrimmedLength(std::string_view line)
{
  size_t n = line.size();
  while (n > 0 && line[n - 1] == ' ')
    --n;
  return int(n);
}

bool IsBlankLine(std::string_view line)
{
  return Indentation(line) == int(line.size());
}

} // namespace edittext
