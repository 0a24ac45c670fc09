#pragma once
// Number text of the text writer: one printf conversion of a double, and
// fixed-point values as two's-complement hexadecimal. Nothing here depends on
// the process or stream locale: the decimal point is always ".".

#include <cstdint>
#include <string>
#include <string_view>

namespace korin {

// One printf conversion of a double, "%[flags][width][.precision]conv", with the
// flags '-', '+', ' ' and '0' and conv one of e E f F g G.
struct mnumformat {
    bool leftAlign = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool zeroPad = false;
    int width = 0;
    int precision = 6;
    char conversion = 'f';
};

// Largest width or precision a number format may ask for; every digit a double
// can have (1074 decimals of the smallest subnormal) stays within it.
inline constexpr int kMaxNumberFormatField = 4096;

// Parses a format such as "%0.16e". False, with out unchanged, for anything else:
// text around the conversion, '*', length modifiers, '#', other conversions, or a
// width or precision above kMaxNumberFormatField.
bool ParseNumberFormat(std::string_view text, mnumformat& out);

// x as printf prints it with that conversion in the "C" locale, in full however
// long ("%0.20f" of 1e300 is 322 characters). NaN and infinities print as "nan",
// "inf" (upper case for E, F, G), with their sign.
std::string FormatNumber(double x, const mnumformat& format);

// Decimal text of an integer, without grouping.
std::string FormatInteger(std::int64_t value);

// x * 2^fracBits rounded to an integer, halves away from zero, saturated to the
// totalBits-bit two's-complement range [-2^(totalBits-1), 2^(totalBits-1) - 1];
// NaN gives 0. Requires 1 <= totalBits <= 62 and 0 <= fracBits <= totalBits.
std::int64_t ToFixedPoint(double x, int fracBits, int totalBits);

// Hexadecimal digits needed for a totalBits-bit value: ceil(totalBits / 4), so
// the top digit carries the sign.
int HexDigitCount(int totalBits);

// The last `digits` (1 to 16) upper-case hexadecimal digits of value's 64-bit
// two's complement: -1 with 3 digits is "FFF".
std::string HexDigits(std::int64_t value, int digits);

} // namespace korin
