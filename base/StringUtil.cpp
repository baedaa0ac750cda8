#include "base/StringUtil.h"

#include <climits>

namespace strutil {

char UpCase(char c)
{
  return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}

std::string UpperCase(std::string_view s)
{
  std::string r(s);
  for (char& c : r)
    c = UpCase(c);
  return r;
}

std::string LowerCase(std::string_view s)
{
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z')
      c = char(c + 32);
  return r;
}

std::string Trim(std::string_view s)
{
  size_t b = 0, e = s.size();
  while (b < e && uint8_t(s[b]) <= 32)
    ++b;
  while (e > b && uint8_t(s[e - 1]) <= 32)
    --e;
  return std::string(s.substr(b, e - b));
}

bool SameText(std::string_view a, std::string_view b)
{
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpCase(a[i]) != UpCase(b[i]))
      return false;
  return true;
}

int HexDigit(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  c = UpCase(c);
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

bool TryStrToInt(std::string_view s, int32_t& value)
{
  size_t i = 0;
  while (i < s.size() && s[i] == ' ')
    ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    neg = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size())
    return false;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    int d = base == 16 ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0)
      return false;
    v = v * base + d;
    if (v > int64_t(UINT32_MAX) + 1)
      return false;
  }
  if (neg)
    v = -v;
  if (base == 10 && (v > INT32_MAX || v < INT32_MIN))
    return false;
  value = int32_t(uint32_t(v));
  return true;
}

int32_t StrToIntDef(std::string_view s, int32_t def)
{
  int32_t v;
  return TryStrToInt(s, v) ? v : def;
}

static size_t LastSeparator(std::string_view path)
{
  size_t p = path.find_last_of("/\\:");
  return p;
}

std::string ExtractFileExt(std::string_view path)
{
  size_t sep = LastSeparator(path);
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep))
    return {};
  return std::string(path.substr(dot));
}

std::string ExtractFilePath(std::string_view path)
{
  size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string ExtractFileName(std::string_view path)
{
  size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? std::string(path) : std::string(path.substr(sep + 1));
}

} // namespace strutil
