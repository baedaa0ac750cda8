#pragma once
// Helpers for the editor tests: an editor filled with lines, and its text read back.
#include "editor/CustomEdit.h"

#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const TPoint& p, std::ostream* os)
{
  *os << "(" << p.X << "," << p.Y << ")";
}

namespace edittest {

// Lines joined with LF (the tests write their buffers that way).
inline std::string Join(const std::vector<std::string>& lines)
{
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i)
      text += '\n';
    text += lines[i];
  }
  return text;
}

inline std::vector<std::string> LinesOf(const TtxCustomEdit& editor)
{
  std::vector<std::string> lines;
  for (int y = 1; y <= editor.LineCount(); ++y)
    lines.emplace_back(editor.LineText(y));
  return lines;
}

inline void Fill(TtxCustomEdit& editor, const std::vector<std::string>& lines)
{
  editor.SetText(Join(lines));
  editor.SetVisibleCells(80, 25);
}

inline void Goto(TtxCustomEdit& editor, int x, int y)
{
  TPoint p{x, y};
  editor.RunCommand(ecGotoXY, '\0', &p);
}

inline void Type(TtxCustomEdit& editor, const std::string& text)
{
  for (char c : text)
    editor.RunCommand(ecChar, c, nullptr);
}

} // namespace edittest
