#include "html/viewer/SourceName.h"

#include "base/StringUtil.h"

#include <QDir>
#include <QFileInfo>

namespace sourcename {

namespace {

std::string DecodeEscapes(std::string s)
{
  size_t i = s.find('%');
  while (i != std::string::npos && i > 0) {
    int hi = i + 2 < s.size() ? strutil::HexDigit(s[i + 1]) : -1;
    int lo = i + 2 < s.size() ? strutil::HexDigit(s[i + 2]) : -1;
    if (hi < 0 || lo < 0)
      break;
    s.replace(i, 3, 1, char(hi * 16 + lo));
    i = s.find('%', i + 1);
  }
  return s;
}

void EraseSchemeNoCase(std::string& s)
{
  std::string lower = strutil::LowerCase(s);
  // "file:///C|/x" names a drive after the third slash; on this system the third slash is
  // the root of the path, so only the scheme and the host part go.
  size_t p = lower.find("file://");
  if (p != std::string::npos)
    s.erase(p, 7);
}

bool IsRooted(const std::string& s)
{
  return !s.empty() && s[0] == '/';
}

std::string FullPath(const std::string& s)
{
  return QDir::cleanPath(QFileInfo(QString::fromStdString(s)).absoluteFilePath()).toStdString();
}

std::string DirectoryOf(const std::string& path)
{
  if (!path.empty() && path.back() != '/' && QFileInfo(QString::fromStdString(path)).isDir())
    return path + '/';
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

std::string UrlToPath(const std::string& name)
{
  std::string s = DecodeEscapes(name);
  if (s.find('/') != std::string::npos || s.find('\\') != std::string::npos) {
    EraseSchemeNoCase(s);
    for (char& c : s) {
      if (c == '|')
        c = ':';
      else if (c == '\\')
        c = '/';
    }
  }
  return s;
}

std::string Resolve(const std::string& name, const TResolveContext& context)
{
  std::string s = UrlToPath(strutil::Trim(name));
  if (s.empty())
    return s;
  if (IsRooted(s) && !context.ServerRoot.empty())
    s = context.ServerRoot + s;
  if (IsRooted(s))
    return FullPath(s);
  if (s.size() >= 2 && s[1] == ':')
    return s; // a drive-qualified name from another system is left alone
  if (strutil::SameText(context.BaseURL, "DosPath"))
    return FullPath(s);
  if (!context.BaseURL.empty())
    s = DirectoryOf(UrlToPath(context.BaseURL)) + s;
  else if (!context.LoadedFileName.empty())
    s = DirectoryOf(context.LoadedFileName) + s;
  return FullPath(s);
}

void SplitAnchor(const std::string& name, std::string& file, std::string& anchor)
{
  size_t hash = name.find('#');
  file = name.substr(0, hash);
  anchor = hash == std::string::npos ? std::string() : name.substr(hash + 1);
}

} // namespace sourcename
