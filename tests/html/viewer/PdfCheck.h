#pragma once
// Reads a printed PDF back through poppler's pdfinfo and pdftotext.
#include <QProcess>
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

} // namespace pdfcheck
