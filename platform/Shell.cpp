#include "platform/Shell.h"

#include <QDesktopServices>

namespace shell {

namespace {

TOpenFunction& Opener()
{
  static TOpenFunction opener;
  return opener;
}

} // namespace

bool ShellOpenUrl(const QUrl& url)
{
  if (Opener())
    return Opener()(url);
  return QDesktopServices::openUrl(url);
}

bool ShellOpen(const std::string& fileName)
{
  if (fileName.empty())
    return false;
  return ShellOpenUrl(QUrl::fromLocalFile(QString::fromStdString(fileName)));
}

TOpenFunction SetShellOpen(TOpenFunction open)
{
  std::swap(Opener(), open);
  return open;
}

} // namespace shell
