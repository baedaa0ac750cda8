#pragma once
// The command-line views of the editor engine: the highlighter's tokens of a file, and a
// headless editing session driven by a script.
#include <iosfwd>
#include <string>
#include <string_view>

// Appends text in double quotes: printable ASCII as it is, '"' and '\' escaped, every other
// byte as \xNN.
void AppendQuoted(std::string& out, std::string_view text);
// The same without the quotes, for whole lines.
void AppendEscaped(std::string& out, std::string_view text);

// For each line: "line <n> range=<range at its start>", then one line per token:
// "  <TokenName> <TokenStart> \"<text>\"". Returns 0, or 1 with a message when the file
// cannot be read.
int DumpHighlight(const std::string& fileName, std::ostream& out, std::ostream& err);
