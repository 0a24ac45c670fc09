#pragma once
// Rounding of one coefficient part to a coefficient data type.

#include <cstdint>

namespace korin {

// x rounded to the nearest multiple of 2^-fracBits, halves away from zero
// (2.5 -> 3, -2.5 -> -3 in units of the step). Exact: the result is the grid value
// itself. A value already on the grid (including every |x| >= 2^(52 - fracBits),
// infinities and NaN) is returned unchanged, so no fraction-bit count overflows.
double QuantizeValue(double x, std::int32_t fracBits);

// x rounded to the nearest single-precision value (ties to even) and widened back;
// beyond the single range it becomes +-inf, tiny values become subnormal or 0.
double RoundToFloatValue(double x);

} // namespace korin
