#pragma once
// Byte-string helpers: the parser and model keep single-byte text in std::string.
#include <cstdint>
#include <string>
#include <string_view>

namespace strutil {

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
char UpCase(char c);
// Removes leading and trailing characters with codes up to 32.
std::string Trim(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
// Value of one hexadecimal digit in either case, -1 for any other character.
int HexDigit(char c);
// Integer conversion as the classic StrToInt: optional sign, decimal digits, or "$"/"0x" hex;
// anything else fails and gives false.
bool TryStrToInt(std::string_view s, int32_t& value);
int32_t StrToIntDef(std::string_view s, int32_t def);
// Extension including the dot ("" when none); the part after the last separator is searched.
std::string ExtractFileExt(std::string_view path);
std::string ExtractFilePath(std::string_view path); // with trailing separator
std::string ExtractFileName(std::string_view path);

} // namespace strutil
