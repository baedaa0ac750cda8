#include "html/viewer/DocumentStart.h"

#include <QFile>

namespace docstart {

size_t CutPoint(std::string_view bytes)
{
  const size_t half = bytes.size() / 2;
  const size_t tag = bytes.rfind('<');
  if (tag != std::string_view::npos && tag >= half && tag > 0)
    return tag;
  const size_t lineEnd = bytes.find_last_of("\r\n");
  if (lineEnd != std::string_view::npos && lineEnd >= half)
    return lineEnd + 1;
  if (bytes.empty() || static_cast<unsigned char>(bytes.back()) < 0x80)
    return bytes.size();
  // The last character may be cut short: it goes, from the byte that starts it (a UTF-8
  // continuation byte never does).
  for (size_t i = bytes.size(); i > half; --i)
    if ((static_cast<unsigned char>(bytes[i - 1]) & 0xC0) != 0x80)
      return i - 1;
  return bytes.size();
}

bool Read(const std::string& fileName, int64_t bytes, std::string& text)
{
  QFile file(QString::fromStdString(fileName));
  if (bytes <= 0 || !file.open(QIODevice::ReadOnly))
    return false;
  text.resize(size_t(bytes));
  const qint64 got = file.read(text.data(), bytes);
  if (got <= 0)
    return false;
  text.resize(size_t(got));
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
    return false;
  if (got == bytes) // else the file ended: nothing was cut short
    text.resize(CutPoint(text));
  return true;
}

} // namespace docstart
