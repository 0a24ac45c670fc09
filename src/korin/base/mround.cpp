#include "korin/base/mround.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korin {

double QuantizeValue(double x, std::int32_t fracBits) {
    // Beyond +-4096 bits every double scales to 0 or infinity alike, so the
    // clamp changes no result and keeps the negation below defined.
    constexpr std::int32_t kBitsLimit = 4096;
    fracBits = std::clamp(fracBits, -kBitsLimit, kBitsLimit);
    // Scaling by a power of two is exact, so v is x in units of the step.
    const double v = std::ldexp(x, fracBits);
    // From 2^52 on every double is an integer: x is already a multiple of the
    // step. This also covers inf, NaN and steps whose 2^f overflows a double.
    if (!(std::fabs(v) < 4503599627370496.0)) return x;
    const double n = std::trunc(v >= 0.0 ? v + 0.5 : v - 0.5);
    return std::ldexp(n, -fracBits);
}

double RoundToFloatValue(double x) {
    // A double beyond the single range is converted by hand: the cast would be
    // undefined there. Ties at the top go to infinity (FLT_MAX has an odd mantissa).
    constexpr double fltMax = std::numeric_limits<float>::max();
    constexpr double halfUlpOfMax = 0x1p103;
    if (std::isfinite(x) && std::fabs(x) > fltMax) {
        const double r = std::fabs(x) >= fltMax + halfUlpOfMax
                             ? std::numeric_limits<double>::infinity()
                             : fltMax;
        return std::copysign(r, x);
    }
    return static_cast<double>(static_cast<float>(x));
}

} // namespace korin
