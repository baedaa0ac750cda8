#pragma once
// A headless editing session: loads a file into an editor of 80 by 25 cells with the HTML
// highlighter, runs a script of commands and prints the buffer and the editor's state.
#include <iosfwd>
#include <string>

// Script lines: a command name ("ecSelWordRight"), "ecChar x", "ecGotoXY 5 3",
// "ecImeStr some text", "find TEXT [case] [whole] [backward]",
// "replace FROM TO [all] [case] [whole]"; "#" at the start of a line begins a comment. TEXT
// may be quoted ("a b"), with \" \\ \t \r \n and \xNN inside. The output is one "| <line>" per
// line, then the state line. An unknown or malformed line prints "error: line <n>: <text>" on
// err and returns 1 without running the rest.
int RunEditScript(const std::string& fileName, const std::string& scriptFileName, std::ostream& out,
                  std::ostream& err);
// The same with the script given as text (for tests).
int RunEditScriptText(const std::string& fileName, const std::string& script, std::ostream& out,
                      std::ostream& err);
