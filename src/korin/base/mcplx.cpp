#include "korin/base/mcplx.h"

#include <limits>
#include <numbers>

namespace korin {

mcplx& mcplx::operator/=(const mcplx& o) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    // Scale by the larger component of the divisor so that |divisor|^2 neither
    // overflows nor underflows for ordinary values.
    const double s = std::fmax(std::fabs(o.re_), std::fabs(o.im_));
    if (!(s > 0.0) || !std::isfinite(s)) {
        re_ = im_ = nan;
        return *this;
    }
    const double c = o.re_ / s;
    const double d = o.im_ / s;
    const double den = c * c + d * d;
    if (!(den > 0.0) || !std::isfinite(den)) {
        re_ = im_ = nan;
        return *this;
    }
    const double re = (re_ * c + im_ * d) / den / s;
    im_ = (im_ * c - re_ * d) / den / s;
    re_ = re;
    return *this;
}

double Abs(const mcplx& z) {
    const double x = std::fabs(z.real());
    const double y = std::fabs(z.imag());
    if (std::isinf(x) || std::isinf(y)) return std::numeric_limits<double>::infinity();
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<double>::quiet_NaN();
    const double big = std::fmax(x, y);
    if (big == 0.0) return 0.0;
    // Where neither square can overflow or lose bits to underflow, scaling by a
    // power of two changes no rounding: skip it.
    if (big < 0x1p500 && std::fmin(x, y) > 0x1p-450) return std::sqrt(x * x + y * y);
    if (big < 0x1p500 && big > 0x1p-450 && std::fmin(x, y) == 0.0) return big;
    // Scale the larger part into [0.5, 1) by a power of two (exact), so the
    // squares can neither overflow nor underflow to a loss of the smaller part.
    int e = 0;
    std::frexp(big, &e);
    const double xs = std::ldexp(x, -e);
    const double ys = std::ldexp(y, -e);
    return std::ldexp(std::sqrt(xs * xs + ys * ys), e);
}

double Arg(const mcplx& z) {
    const double a = std::atan2(z.imag(), z.real());
    // atan2 gives -pi for a negative zero imaginary part; the range is (-pi, pi].
    return a == -std::numbers::pi ? std::numbers::pi : a;
}

mcplx Exp(const mcplx& z) {
    const double m = std::exp(z.real());
    if (z.imag() == 0.0) return {m, 0.0};
    return {m * std::cos(z.imag()), m * std::sin(z.imag())};
}

mcplx Log(const mcplx& z) {
    return {std::log(Abs(z)), Arg(z)};
}

mcplx Sqrt(const mcplx& z) {
    return mcplx(std::sqrt(z.std()));
}

} // namespace korin
