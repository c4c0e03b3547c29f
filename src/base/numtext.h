// Numbers as text: the ten-decimal form in which numbers travel through
// formulas and stores, the decimal reader, and the small trimming helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/strings.h"

namespace zrt {

// Ten-decimal text: fixed point, exactly ten decimals, rounded to nearest, no
// exponent, every integer digit printed ("+Infinity", "-Infinity", "NaN").
std::string FixText(double value);

// The leading decimal number of a text (blanks, sign, digits, point, exponent);
// the rest is ignored; a text that does not start with a number gives 0.
double DecValue(std::string_view text);

// Hexadecimal digits read as a 64-bit two's-complement integer, up to the
// first character that is not a hexadecimal digit.
std::int64_t HexValue(std::string_view digits);

// "!" followed by binary digits; any other character makes the value 0.
std::int64_t BinVal(std::string_view text);

// StrD0 / NumText: trims a ten-decimal text ("12.5000000000" -> "12.5").
std::string StrD0(std::string_view text);
inline std::string NumText(std::string_view text) { return StrD0(text); }

// The trimmed ten-decimal text of a value: NumText(FixText(value)).
std::string shortNumber(double value);

// TrimZeros: ten-decimal text of the value with leading zeros dropped and
// trailing zeros trimmed, keeping one decimal when keepOne is set.
std::string TrimZeros(std::string_view text, bool keepOne);

// Last result of StrD0 / NumText / TrimZeros.
const std::string& LastNumText();

// Removes every leading and then every trailing repetition of part.
std::string TrimStr(std::string_view text, std::string_view part, bool ignoreCase);

// Drops a leading "[" and a trailing "]".
std::string StripBrackets(std::string_view text);

// count copies of text; empty for count <= 0.
std::string StrRepeat(int count, std::string_view text);

void resetNumText();

}  // namespace zrt
