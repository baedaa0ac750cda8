#include "base/CodePage.h"

#include "base/Utf8.h"

#include <QList>
#include <iconv.h>
#include <unordered_map>

namespace codepage {

namespace {

// Windows code pages of the document charsets; Western (0) and any charset not listed is read
// as Western too, so the quotes, dashes and the euro sign of 0x80-0x9F come out right.
const char* CodePageOf(int charset)
{
  switch (charset) {
  case 161: return "CP1253";
  case 238: return "CP1250";
  case 204: return "CP1251";
  case 162: return "CP1254";
  case 186: return "CP1257";
  default: return "CP1252";
  }
}

// Bytes the code page leaves undefined (and all of them when the converter is missing) stay as
// their Latin-1 reading.
QString BuildTable(int charset)
{
  QString table(256, QChar(0));
  for (int i = 0; i < 256; ++i)
    table[i] = QChar(ushort(i));
  iconv_t cd = iconv_open("UTF-32LE", CodePageOf(charset));
  if (cd == iconv_t(-1))
    return table;
  for (int i = 128; i < 256; ++i) {
    char in = char(i);
    char* inp = &in;
    size_t inLeft = 1;
    uint32_t out = 0;
    char* outp = reinterpret_cast<char*>(&out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 0 && out < 0x10000)
      table[i] = QChar(ushort(out));
  }
  iconv_close(cd);
  return table;
}

} // namespace

const QString& Table(int charset)
{
  static std::unordered_map<int, QString> tables;
  if (charset == CharsetUtf8)
    charset = 0; // its bytes below 128 are the same; the others never index the table
  auto it = tables.find(charset);
  if (it == tables.end())
    it = tables.emplace(charset, BuildTable(charset)).first;
  return it->second;
}

int ByteOf(int charset, char32_t cp)
{
  if (charset == CharsetUtf8 || cp > 0xFFFF)
    return -1;
  const QString& table = Table(charset);
  for (int i = 0; i < 256; ++i)
    if (table[i].unicode() == cp)
      return i;
  return -1;
}

QString Decode(const char* s, int n, int charset)
{
  QString out;
  if (charset == CharsetUtf8) {
    out.reserve(n);
    for (int i = 0; i < n;) {
      char32_t cp = 0;
      i += utf8::Unit(s + i, n - i, cp);
      if (cp < 0x10000) {
        out += QChar(char16_t(cp));
      } else {
        out += QChar(QChar::highSurrogate(cp));
        out += QChar(QChar::lowSurrogate(cp));
      }
    }
    return out;
  }
  const QString& table = Table(charset);
  out.resize(n);
  for (int i = 0; i < n; ++i)
    out[i] = table[uint8_t(s[i])];
  return out;
}

std::string Encode(const QString& s, int charset)
{
  if (charset == CharsetUtf8)
    return s.toUtf8().toStdString();
  std::string out;
  out.reserve(size_t(s.size()));
  for (char32_t cp : s.toUcs4()) {
    const int byte = ByteOf(charset, cp);
    out += byte < 0 ? '?' : char(byte);
  }
  return out;
}

} // namespace codepage
