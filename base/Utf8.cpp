#include "base/Utf8.h"

namespace utf8 {

namespace {

// The allowed range of the second byte after a lead byte (the first row of the well-formed
// table): it rules out overlong forms, surrogates and values beyond U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char b)
{
  switch (lead) {
  case 0xE0: return b >= 0xA0 && b <= 0xBF;
  case 0xED: return b >= 0x80 && b <= 0x9F;
  case 0xF0: return b >= 0x90 && b <= 0xBF;
  case 0xF4: return b >= 0x80 && b <= 0x8F;
  default: return IsContinuation(b);
  }
}

int SequenceLength(unsigned char lead)
{
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0; // ASCII is handled by the caller; 0x80-0xC1 and 0xF5-0xFF never start one
}

} // namespace

int Unit(const char* s, int n, char32_t& cp)
{
  const auto* u = reinterpret_cast<const unsigned char*>(s);
  if (u[0] < 0x80) {
    cp = u[0];
    return 1;
  }
  cp = Replacement;
  int len = SequenceLength(u[0]);
  if (len == 0)
    return 1;
  if (n < 2 || !SecondByteFits(u[0], u[1]))
    return 1;
  char32_t value = u[0] & (0xFF >> (len + 1));
  value = (value << 6) | (u[1] & 0x3F);
  for (int i = 2; i < len; ++i) {
    if (i >= n || !IsContinuation(u[i]))
      return i;
    value = (value << 6) | (u[i] & 0x3F);
  }
  cp = value;
  return len;
}

size_t WholeLength(const char* s, size_t n)
{
  size_t start = n;
  while (start > 0 && n - start < 3 && IsContinuation(static_cast<unsigned char>(s[start - 1])))
    --start;
  if (start == 0)
    return n;
  --start; // the byte that may lead the last unit
  const size_t tail = n - start;
  const int expected = SequenceLength(static_cast<unsigned char>(s[start]));
  char32_t cp = 0;
  if (expected > int(tail) && size_t(Unit(s + start, int(tail), cp)) == tail)
    return start;
  return n;
}

bool LooksLikeUtf8(const char* s, size_t n)
{
  bool high = false;
  size_t i = 0;
  while (i < n) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    high = true;
    char32_t cp = 0;
    size_t room = n - i;
    int len = Unit(s + i, room > 4 ? 4 : int(room), cp);
    // A broken unit is at most three bytes long and starts with EF only when it is shorter
    // than three, so this tells it from a U+FFFD that is written out in the text.
    if (cp == Replacement && !(static_cast<unsigned char>(s[i]) == 0xEF && len == 3))
      return false;
    i += size_t(len);
  }
  return high;
}

void Append(std::string& out, char32_t cp)
{
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
    cp = Replacement;
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

std::string FromUtf16(const char* s, size_t n, bool bigEndian)
{
  const auto* u = reinterpret_cast<const unsigned char*>(s);
  auto unitAt = [&](size_t i) -> char32_t {
    return bigEndian ? char32_t(u[i] << 8 | u[i + 1]) : char32_t(u[i + 1] << 8 | u[i]);
  };
  std::string out;
  out.reserve(n);
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    char32_t c = unitAt(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n) {
      char32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        Append(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    Append(out, c); // a lone surrogate becomes U+FFFD there
  }
  if (i < n)
    Append(out, Replacement);
  return out;
}

bool IsIdeograph(char32_t cp)
{
  return (cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0xFF00 && cp <= 0xFFEF) || (cp >= 0x20000 && cp <= 0x3FFFF);
}

} // namespace utf8
