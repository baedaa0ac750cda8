#pragma once
// The outline tree file: one node per line, depth by leading tabs (spaces count as well when
// reading), lines ending in CR LF. Reading and shaping work on plain data so that they can be
// checked and fuzzed without a tree control.
#include <QByteArray>
#include <QString>

#include <vector>

struct TTreeLine {
  int Depth = 0; // leading tab and space characters
  QString Text;  // the rest of the line
};

// The UTF-8 byte-order mark.
inline constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

// How a file's text was found: UTF-8 (with or without a byte-order mark) or single-byte.
enum class TTreeEncoding { Utf8, Utf8WithMark, Latin1 };

// Splits a file into lines at CR LF, CR or LF; a break at the very end adds no empty line.
// The bytes are read as UTF-8 when they are valid UTF-8, else as Latin-1, so that no byte of an
// older single-byte file is lost. `encoding`, when given, gets which it was.
std::vector<TTreeLine> ReadTreeLines(const QByteArray& bytes, TTreeEncoding* encoding = nullptr);

// Where each line goes in the tree.
struct TTreeShape {
  std::vector<int> Parent; // index of the parent line, -1 for a root; one per placed line
  QString Error;           // set when a line could not be placed; the lines before it are kept
};

// Places the lines: the first is a root; a line at the previous node's level is its sibling, one
// deeper its child, shallower a sibling of the nearest ancestor not deeper than the line; a line
// two or more levels deeper stops the shape with the invalid-level error.
TTreeShape ShapeTree(const std::vector<TTreeLine>& lines);

// The invalid-level message for a line.
QString InvalidLevelMessage(int depth, const QString& text);

// Appends one node in the file format: a tab per level, the text, CR LF. The text is written as
// UTF-8, or as Latin-1 when `latin1` is set; a text with a character Latin-1 lacks then
// appends nothing and answers false.
bool AppendTreeLine(QByteArray& out, int level, const QString& text, bool latin1 = false);
