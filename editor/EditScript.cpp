#include "editor/EditScript.h"

#include "base/StringUtil.h"
#include "editor/CustomEdit.h"
#include "editor/HTMLHighlighter.h"
#include "editor/HighlightDump.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

// Reads one backslash escape at text[i] (the backslash); false when it is malformed.
bool ReadEscape(std::string_view text, size_t& i, std::string& out)
{
  if (i + 1 >= text.size())
    return false;
  char c = text[++i];
  switch (c) {
  case 't': out += '\t'; return true;
  case 'r': out += '\r'; return true;
  case 'n': out += '\n'; return true;
  case '"':
  case '\\': out += c; return true;
  case 'x': {
    if (i + 2 >= text.size() || strutil::HexDigit(text[i + 1]) < 0 ||
        strutil::HexDigit(text[i + 2]) < 0)
      return false;
    out += char(strutil::HexDigit(text[i + 1]) * 16 + strutil::HexDigit(text[i + 2]));
    i += 2;
    return true;
  }
  default: return false;
  }
}

// Splits a script line into words: blanks separate them, a word in double quotes may hold
// blanks, and backslash escapes work in both.
std::optional<std::vector<std::string>> SplitWords(std::string_view line)
{
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    const bool quoted = line[i] == '"';
    if (quoted)
      ++i;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (quoted ? c == '"' : (c == ' ' || c == '\t'))
        break;
      if (c == '\\') {
        if (!ReadEscape(line, i, word))
          return std::nullopt;
      } else {
        word += c;
      }
    }
    if (quoted) {
      if (i >= line.size())
        return std::nullopt;
      ++i;
    }
    words.push_back(std::move(word));
  }
  return words;
}

// The argument of ecChar and ecImeStr: the rest of the line after one blank, quoted or not.
std::optional<std::string> RestArgument(std::string_view line, size_t nameLength)
{
  if (line.size() <= nameLength + 1 || line[nameLength] != ' ')
    return std::nullopt;
  std::string_view rest = line.substr(nameLength + 1);
  if (rest.size() >= 2 && rest.front() == '"') {
    auto words = SplitWords(rest);
    if (!words || words->size() != 1)
      return std::nullopt;
    return words->front();
  }
  std::string out;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != '\\')
      out += rest[i];
    else if (!ReadEscape(rest, i, out))
      return std::nullopt;
  }
  return out;
}

bool ReadInt(const std::string& text, int& value)
{
  if (text.empty() || text.size() > 9)
    return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// Reads the option words after the first `fixed` words; false on a word not in `allowed`.
bool ReadOptions(const std::vector<std::string>& words, size_t fixed,
                 const std::vector<std::pair<std::string, TSearchOptions>>& allowed,
                 TSearchOptions& options)
{
  for (size_t i = fixed; i < words.size(); ++i) {
    bool known = false;
    for (const auto& [name, bit] : allowed)
      if (words[i] == name) {
        options |= bit;
        known = true;
      }
    if (!known)
      return false;
  }
  return true;
}

// Runs one script line; false when the line is not understood.
bool RunLine(TtxCustomEdit& editor, const std::string& line)
{
  auto words = SplitWords(line);
  if (!words || words->empty())
    return false;
  const std::string& name = words->front();
  if (name == "ecChar" || name == "ecImeStr") {
    auto arg = RestArgument(line, name.size());
    if (!arg || (name == "ecChar" && arg->size() != 1))
      return false;
    if (name == "ecChar")
      editor.RunCommand(ecChar, (*arg)[0], nullptr);
    else
      editor.RunCommand(ecImeStr, '\0', &*arg);
    return true;
  }
  if (name == "ecGotoXY" || name == "ecSelGotoXY") {
    TPoint p;
    if (words->size() != 3 || !ReadInt((*words)[1], p.X) || !ReadInt((*words)[2], p.Y))
      return false;
    editor.RunCommand(name == "ecGotoXY" ? ecGotoXY : ecSelGotoXY, '\0', &p);
    return true;
  }
  if (name == "find" || name == "replace") {
    const bool find = name == "find";
    const size_t fixed = find ? 2 : 3;
    TSearchOptions options = find ? 0 : SearchReplaceOne;
    if (words->size() < fixed ||
        !ReadOptions(
            *words, fixed,
            find
                ? std::vector<std::pair<std::string, TSearchOptions>>{{"case", SearchMatchCase},
                                                                      {"whole", SearchWholeWords},
                                                                      {"backward", SearchBackwards}}
                : std::vector<std::pair<std::string, TSearchOptions>>{{"all", SearchReplaceAll},
                                                                      {"case", SearchMatchCase},
                                                                      {"whole", SearchWholeWords}},
            options))
      return false;
    if ((*words)[1].empty())
      return false;
    editor.SearchAndReplace((*words)[1], find ? std::string() : (*words)[2], options);
    return true;
  }
  auto command = IdentToCommand(name);
  if (!command || words->size() != 1)
    return false;
  editor.RunCommand(*command, '\0', nullptr);
  return true;
}

const char* ModeName(TSelectionMode mode)
{
  return mode == smColumn ? "column" : mode == smLine ? "line" : "normal";
}

void PrintState(const TtxCustomEdit& editor, std::ostream& out)
{
  std::string text;
  for (int y = 1; y <= editor.LineCount(); ++y) {
    text += "| ";
    AppendEscaped(text, editor.LineText(y));
    text += "\n";
  }
  auto point = [](TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); };
  text += "caret=" + point(editor.CaretXY()) + " anchor=" + point(editor.SelAnchor()) +
          " end=" + point(editor.SelEnd()) + " mode=" + ModeName(editor.SelectionMode()) +
          " modified=" + (editor.Modified ? "1" : "0") +
          " undo=" + std::to_string(editor.UndoList().Count()) +
          " redo=" + std::to_string(editor.RedoList().Count()) + "\n";
  out << text;
}

} // namespace

int RunEditScriptText(const std::string& fileName, const std::string& script, std::ostream& out,
                      std::ostream& err)
{
  TtxHTMLHighlighter highlighter;
  TtxCustomEdit editor;
  editor.SetHighLighter(&highlighter);
  editor.SetVisibleCells(80, 25);
  try {
    editor.LoadFromFile(fileName);
  } catch (const ELumoraError& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
  std::istringstream in(script);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#')
      continue;
    bool ok = false;
    try {
      ok = RunLine(editor, line.substr(first));
    } catch (const ELumoraError&) {
      ok = false;
    }
    if (!ok) {
      std::string message = "error: line " + std::to_string(n) + ": ";
      AppendEscaped(message, line);
      err << message << "\n";
      return 1;
    }
  }
  PrintState(editor, out);
  return 0;
}

int RunEditScript(const std::string& fileName, const std::string& scriptFileName, std::ostream& out,
                  std::ostream& err)
{
  std::ifstream in(scriptFileName, std::ios::binary);
  if (!in) {
    err << "error: Can't load: " << scriptFileName << "\n";
    return 1;
  }
  std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return RunEditScriptText(fileName, script, out, err);
}
