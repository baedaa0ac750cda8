#pragma once
// Number text for the formula tree: the general format the results are written in and the
// strict text-to-number conversion that reads them back. Both work in extended precision and
// take the decimal separator as a parameter, so the tree can follow the user's locale while the
// command line stays in the C locale.
#include <string>
#include <string_view>

namespace floattext {

// Converts exactly the text of a number as the formula lexer collects it ("12", "0.5", "1E+20")
// in the C locale. Returns false when the text is not a whole number or lies beyond the extended
// range; failIndex is then the index of the character where the conversion stopped (0 for a
// number that is too large). Values too small to represent become 0 or a denormal.
bool ScanExtended(const std::string& text, long double& value, size_t& failIndex);

// The general format: up to 15 significant digits, fixed notation unless the exponent is below
// -4 or at least 15, no negative zero; decimalPoint replaces the '.'.
std::string FormatGeneral(long double value, char decimalPoint = '.');

// Reads a number written by hand or by FormatGeneral: optional blanks around, an optional sign,
// digits with at most one decimal separator, an optional exponent. Nothing else is accepted
// ("inf", "0x10", "1,000" with a '.' separator are all refused).
bool TextToFloat(std::string_view text, long double& value, char decimalPoint = '.');

} // namespace floattext
