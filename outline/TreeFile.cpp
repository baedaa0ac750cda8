#include "outline/TreeFile.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Calls f with each line's bytes: lines end at CR LF, CR or LF, and a break at the very end adds
// no empty line.
template <class F> void ForEachLine(QByteArrayView bytes, F&& f)
{
  qsizetype start = 0;
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n')
      continue;
    f(bytes.sliced(start, i - start));
    if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < size)
    f(bytes.sliced(start));
}

// Tabs and spaces are single bytes in UTF-8 and Latin-1 alike, so the indent is counted on bytes.
qsizetype IndentLength(QByteArrayView line)
{
  qsizetype depth = 0;
  while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' '))
    ++depth;
  return depth;
}

bool IsAscii(QByteArrayView text)
{
  return std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; });
}

int Depth(qsizetype indent)
{
  return int(std::min<qsizetype>(indent, INT32_MAX));
}

// Line breaks never fall inside a UTF-8 sequence, so each line is decoded on its own: no copy of
// the whole file as text. Only the file's start may hold a byte order mark to skip. False when the
// bytes are not valid UTF-8.
bool ReadUtf8Lines(QByteArrayView bytes, std::vector<TTreeLine>& lines)
{
  if (bytes.startsWith(Utf8Bom))
    bytes = bytes.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  bool valid = true;
  ForEachLine(bytes, [&](QByteArrayView line) {
    if (!valid)
      return;
    const qsizetype indent = IndentLength(line);
    const QByteArrayView text = line.sliced(indent);
    if (IsAscii(text)) { // the same characters either way, and far quicker
      lines.push_back({Depth(indent), QString::fromLatin1(text)});
      return;
    }
    lines.push_back({Depth(indent), utf8(text)});
    valid = !utf8.hasError();
  });
  return valid;
}

void ReadLatin1Lines(QByteArrayView bytes, std::vector<TTreeLine>& lines)
{
  ForEachLine(bytes, [&](QByteArrayView line) {
    const qsizetype indent = IndentLength(line);
    lines.push_back({Depth(indent), QString::fromLatin1(line.sliced(indent))});
  });
}

} // namespace

std::vector<TTreeLine> ReadTreeLines(const QByteArray& bytes, TTreeEncoding* encoding)
{
  std::vector<TTreeLine> lines;
  lines.reserve(size_t(bytes.count('\n')) + 1);
  TTreeEncoding found =
      bytes.startsWith(Utf8Bom) ? TTreeEncoding::Utf8WithMark : TTreeEncoding::Utf8;
  if (!ReadUtf8Lines(bytes, lines)) {
    lines.clear();
    ReadLatin1Lines(bytes, lines);
    found = TTreeEncoding::Latin1;
  }
  if (encoding)
    *encoding = found;
  return lines;
}

QString InvalidLevelMessage(int depth, const QString& text)
{
  return QString("Invalid level (%1) for item \"%2\"").arg(depth).arg(text);
}

TTreeShape ShapeTree(const std::vector<TTreeLine>& lines)
{
  TTreeShape shape;
  std::vector<int> level;
  shape.Parent.reserve(lines.size());
  level.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const int depth = lines[i].Depth;
    const int previous = int(i) - 1;
    int parent = -1;
    if (previous < 0) {
      parent = -1;
    } else if (level[previous] == depth) {
      parent = shape.Parent[previous];
    } else if (level[previous] == depth - 1) {
      parent = previous;
    } else if (level[previous] > depth) {
      int ancestor = shape.Parent[previous];
      while (level[ancestor] > depth)
        ancestor = shape.Parent[ancestor];
      parent = shape.Parent[ancestor];
    } else {
      shape.Error = InvalidLevelMessage(depth, lines[i].Text);
      break;
    }
    shape.Parent.push_back(parent);
    level.push_back(parent < 0 ? 0 : level[parent] + 1);
  }
  return shape;
}

bool AppendTreeLine(QByteArray& out, int level, const QString& text, bool latin1)
{
  if (latin1 && std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; }))
    return false;
  out.append(level, '\t');
  out.append(latin1 ? text.toLatin1() : text.toUtf8());
  out.append("\r\n", 2);
  return true;
}
