#include "editor/HighlightDump.h"

#include "editor/CustomEdit.h"
#include "editor/HTMLHighlighter.h"

#include <ostream>

void AppendEscaped(std::string& out, std::string_view text)
{
  static const char hex[] = "0123456789abcdef";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 32 || c >= 127) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += char(c);
    }
  }
}

void AppendQuoted(std::string& out, std::string_view text)
{
  out += '"';
  AppendEscaped(out, text);
  out += '"';
}

int DumpHighlight(const std::string& fileName, std::ostream& out, std::ostream& err)
{
  TtxHTMLHighlighter highlighter;
  TtxCustomEdit editor;
  editor.SetHighLighter(&highlighter);
  try {
    editor.LoadFromFile(fileName);
  } catch (const ELumoraError& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
  const TtxEditList& lines = editor.Lines();
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) {
    text = "line " + std::to_string(i + 1) + " range=" + std::to_string(lines.Objects(i)) + "\n";
    highlighter.RestoreRange(lines.Objects(i));
    for (highlighter.StartLine(lines.Strings(i), i); !highlighter.AtLineEnd();
         highlighter.NextToken()) {
      text += "  " + TokenKindName(highlighter.TokenKindOf()) + " " +
              std::to_string(highlighter.TokenStart()) + " ";
      AppendQuoted(text, highlighter.CurrentTokenText());
      text += "\n";
    }
    out << text;
  }
  return 0;
}
