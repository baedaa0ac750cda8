#include "outline/TreeFile.h"

#include <QStringDecoder>

namespace {

QString Decode(const QByteArray& bytes)
{
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (!utf8.hasError())
    return text;
  return QString::fromLatin1(bytes);
}

TTreeLine SplitIndent(QStringView line)
{
  qsizetype depth = 0;
  while (depth < line.size() && (line[depth] == u'\t' || line[depth] == u' '))
    ++depth;
  return {int(std::min<qsizetype>(depth, INT32_MAX)), line.mid(depth).toString()};
}

} // namespace

std::vector<TTreeLine> ReadTreeLines(const QByteArray& bytes)
{
  QString text = Decode(bytes);
  std::vector<TTreeLine> lines;
  qsizetype start = 0;
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    QChar c = text[i];
    if (c != u'\r' && c != u'\n')
      continue;
    lines.push_back(SplitIndent(QStringView(text).mid(start, i - start)));
    if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < size)
    lines.push_back(SplitIndent(QStringView(text).mid(start)));
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

void AppendTreeLine(QByteArray& out, int level, const QString& text)
{
  out.append(level, '\t');
  out.append(text.toUtf8());
  out.append("\r\n", 2);
}
