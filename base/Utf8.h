#pragma once
// UTF-8 as documents hold it. A "unit" is what one drawn character stands for: a well-formed
// sequence, or the longest start of one that breaks off (a stray byte, a truncated sequence,
// an overlong form or a surrogate), which shows as a single U+FFFD.
#include <cstddef>
#include <cstdint>
#include <string>

namespace utf8 {

constexpr char32_t Replacement = 0xFFFD;

inline bool IsContinuation(unsigned char b)
{
  return (b & 0xC0) == 0x80;
}

// Byte length (at least 1, at most n) of the unit at s; cp is its character or U+FFFD. n > 0.
int Unit(const char* s, int n, char32_t& cp);

// Length of the text without a last character that was cut short (the start of a well-formed
// sequence that the text ends inside); n when the text ends on a whole unit.
size_t WholeLength(const char* s, size_t n);

// True when the text has bytes above 127 and all of them form well-formed UTF-8.
bool LooksLikeUtf8(const char* s, size_t n);

// Appends the UTF-8 bytes of cp (U+FFFD for surrogates and values beyond U+10FFFF).
void Append(std::string& out, char32_t cp);

// UTF-16 text (without its byte-order mark) as UTF-8; unpaired surrogates and an odd last
// byte become U+FFFD.
std::string FromUtf16(const char* s, size_t n, bool bigEndian);

// Characters between which a line may break without a space: the CJK ideographs, kana and
// full-width forms.
bool IsIdeograph(char32_t cp);

} // namespace utf8
