#pragma once
// Reads a printed PDF back through poppler's pdfinfo and pdftotext.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <string>
#include <vector>

namespace pdfcheck {

inline bool Available()
{
  return !QStandardPaths::findExecutable("pdfinfo").isEmpty() &&
         !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

inline std::string Run(const QString& program, const QStringList& args)
{
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return p.readAllStandardOutput().toStdString();
}

// The value of one "Key: value" line of pdfinfo.
inline std::string Info(const std::string& pdf, const std::string& key)
{
  std::string out = Run("pdfinfo", {QString::fromStdString(pdf)});
  size_t at = out.find(key + ":");
  if (at == std::string::npos)
    return {};
  size_t start = out.find_first_not_of(' ', at + key.size() + 1);
  return out.substr(start, out.find('\n', start) - start);
}

inline int Pages(const std::string& pdf)
{
  std::string pages = Info(pdf, "Pages");
  return pages.empty() ? -1 : std::stoi(pages);
}

// The text of each page.
inline std::vector<std::string> PageTexts(const std::string& pdf)
{
  std::vector<std::string> texts;
  for (int page = 1, n = Pages(pdf); page <= n; ++page)
    texts.push_back(Run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page),
                                      QString::fromStdString(pdf), "-"}));
  return texts;
}

// How many glyphs the pages draw: the "<hex> Tj" operations of the compressed streams.
inline int GlyphsDrawn(const std::string& pdf)
{
  QFile file(QString::fromStdString(pdf));
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  const QByteArray data = file.readAll();
  static const QRegularExpression glyph("<[0-9A-Fa-f]+> Tj\n");
  int count = 0;
  for (qsizetype at = data.indexOf("stream\n"); at >= 0; at = data.indexOf("stream\n", at)) {
    at += 7;
    const qsizetype end = data.indexOf("endstream", at);
    if (end < 0)
      break;
    // qUncompress wants the expected size in front; it is only a first guess for the buffer.
    QByteArray packed = data.mid(at, end - at);
    const quint32 guess = quint32(packed.size()) * 20;
    packed.prepend(char(guess & 0xFF)).prepend(char((guess >> 8) & 0xFF));
    packed.prepend(char((guess >> 16) & 0xFF)).prepend(char(guess >> 24));
    const QString content = QString::fromLatin1(qUncompress(packed));
    for (auto it = glyph.globalMatch(content); it.hasNext(); it.next())
      ++count;
    at = end;
  }
  return count;
}

} // namespace pdfcheck
