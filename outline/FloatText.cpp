#include "outline/FloatText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace floattext {

namespace {

// The process locale belongs to the user once Qt has started; numbers here are always read in
// the C locale, so the conversion gets a locale object of its own.
locale_t CLocale()
{
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return c;
}

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

// Length of the number at the start of text in the strict form TextToFloat accepts (with '.'
// as separator), or 0 when there is none.
size_t NumberLength(std::string_view text)
{
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i]))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i, ++digits;
  }
  if (digits == 0)
    return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
      ++j;
    size_t expDigits = 0;
    while (j < text.size() && IsDigit(text[j]))
      ++j, ++expDigits;
    if (expDigits == 0)
      return 0;
    i = j;
  }
  return i;
}

} // namespace

bool ScanExtended(const std::string& text, long double& value, size_t& failIndex)
{
  // Whole numbers of up to 18 digits are exact in extended precision: no need for the library's
  // general conversion, which costs far more.
  if (!text.empty() && text.size() <= 18 && std::all_of(text.begin(), text.end(), IsDigit)) {
    uint64_t n = 0;
    for (char c : text)
      n = n * 10 + uint64_t(c - '0');
    value = (long double)n;
    return true;
  }
  errno = 0;
  char* end = nullptr;
  long double v = strtold_l(text.c_str(), &end, CLocale());
  size_t used = size_t(end - text.c_str());
  if (used != text.size()) {
    failIndex = used;
    return false;
  }
  if (errno == ERANGE && std::isinf(v)) {
    failIndex = 0;
    return false;
  }
  value = v;
  return true;
}

std::string FormatGeneral(long double value, char decimalPoint)
{
  if (value == 0)
    value = 0; // no "-0"
  char buffer[64];
  locale_t previous = uselocale(CLocale());
  std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
  uselocale(previous);
  std::string text = buffer;
  if (decimalPoint != '.')
    for (char& c : text)
      if (c == '.')
        c = decimalPoint;
  return text;
}

bool TextToFloat(std::string_view text, long double& value, char decimalPoint)
{
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos)
    return false;
  size_t last = text.find_last_not_of(' ');
  std::string number(text.substr(first, last - first + 1));
  for (char& c : number) {
    if (c == '.' && decimalPoint != '.')
      return false;
    if (c == decimalPoint)
      c = '.';
  }
  if (NumberLength(number) != number.size())
    return false;
  size_t failIndex = 0;
  return ScanExtended(number, value, failIndex);
}

} // namespace floattext
