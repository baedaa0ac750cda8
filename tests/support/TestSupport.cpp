#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cctype>
#include <memory>
#include <vector>

namespace testsupport {

std::string DataPath(const std::string& name)
{
  return std::string(LUMORA_TEST_DATA_DIR) + "/" + name;
}

QString TempDir()
{
  static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
  dirs.push_back(std::make_unique<QTemporaryDir>());
  return dirs.back()->path();
}

std::string WriteFile(const QString& dir, const std::string& name, const std::string& bytes)
{
  QString path = dir + "/" + QString::fromStdString(name);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly))
    f.write(bytes.data(), qint64(bytes.size()));
  return path.toStdString();
}

std::string ReadFile(const std::string& path)
{
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll().toStdString();
}

std::string CaseName(std::string_view text)
{
  std::string name(text);
  for (char& ch : name)
    if (!std::isalnum(uint8_t(ch)))
      ch = '_';
  return name;
}

} // namespace testsupport
