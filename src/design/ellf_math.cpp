#include "design/ellf_math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tarvo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kPio2 = std::numbers::pi / 2.0;
constexpr double kLn4 = 1.3862943611198906;

// The series and iterations below converge long before these bounds for every
// argument in their domains; the bounds only keep bad arguments from hanging.
constexpr int kMaxLandenSteps = 64;
constexpr int kMaxNomeTerms = 100000;

MathErrorReporter g_reporter = nullptr;
thread_local unsigned long t_errorCount = 0;

// Rational-logarithmic approximation of K(1 - x) on (0, 1]: P(x) - ln(x) Q(x).
constexpr std::array<double, 11> kEllpkP = {
    1.3798286460627325e-4, 2.2802572400587558e-3, 7.9740401322041521e-3, 9.8582137902122596e-3,
    6.874896874499499e-3,  6.189010336376876e-3,  8.790782739527438e-3,  1.4938044891680526e-2,
    3.0885146524671201e-2, 9.6573590281169019e-2, 1.3862943611198906,
};
constexpr std::array<double, 11> kEllpkQ = {
    2.9407895504859849e-5,
    9.1418472386591725e-4,
    5.9405830375316776e-3,
    1.548505166497624e-2,
    2.3908960271592488e-2,
    3.0120471522760404e-2,
    3.7377431417382326e-2,
    4.8828034757099827e-2,
    7.0312499696395747e-2,
    1.2499999999987083e-1,
    0.5,
};

double Horner(const std::array<double, 11>& c, double x) {
    double y = c[0];
    for (std::size_t i = 1; i < c.size(); ++i) {
        y = y * x + c[i];
    }
    return y;
}

} // namespace

const char* MathErrorName(MathError kind) {
    switch (kind) {
    case MathError::Domain:
        return "domain";
    case MathError::Singularity:
        return "singularity";
    case MathError::Overflow:
        return "overflow";
    case MathError::Underflow:
        return "underflow";
    case MathError::TotalLoss:
        return "total loss of precision";
    case MathError::PartialLoss:
        return "partial loss of precision";
    }
    return "unknown";
}

MathErrorReporter SetMathErrorReporter(MathErrorReporter reporter) {
    const MathErrorReporter previous = g_reporter;
    g_reporter = reporter;
    return previous;
}

void ReportMathError(const char* routine, MathError kind) {
    ++t_errorCount;
    if (g_reporter != nullptr) {
        g_reporter(routine, MathErrorName(kind));
    }
}

unsigned long MathErrorCount() {
    return t_errorCount;
}

double ellpk(double x) {
    if (!(x >= 0.0 && x <= 1.0)) {
        ReportMathError("ellpk", MathError::Domain);
        return 0.0;
    }
    if (x > kMachEp) {
        return Horner(kEllpkP, x) - std::log(x) * Horner(kEllpkQ, x);
    }
    if (x == 0.0) {
        ReportMathError("ellpk", MathError::Singularity);
        return kDblMax;
    }
    return kLn4 - 0.5 * std::log(x);
}

double ellik(double phi, double m) {
    if (!(m >= 0.0 && m <= 1.0)) {
        ReportMathError("ellik", MathError::Domain);
        return std::nan("");
    }
    if (m == 0.0) {
        return phi;
    }
    double a = 1.0 - m;
    if (a == 0.0) {
        if (std::abs(phi) >= kPio2) {
            ReportMathError("ellik", MathError::Singularity);
            return kDblMax;
        }
        return std::log(std::tan((kPio2 + phi) / 2.0));
    }
    if (!std::isfinite(phi)) {
        ReportMathError("ellik", MathError::Domain);
        return std::nan("");
    }

    // Reduce phi by an even number of quarter periods; each adds K(m).
    double npio2 = std::floor(phi / kPio2);
    if (std::fmod(npio2, 2.0) != 0.0) {
        npio2 += 1.0;
    }
    double K = 0.0;
    if (npio2 != 0.0) {
        K = ellpk(a);
        phi = phi - npio2 * kPio2;
    }
    const bool negative = phi < 0.0;
    phi = std::abs(phi);

    double b = std::sqrt(a);
    double t = std::tan(phi);
    double result = 0.0;
    bool done = false;
    if (std::abs(t) > 10.0) {
        // Near a quarter period: F(phi) = K - F(e) with tan e = 1 / (b tan phi).
        double e = 1.0 / (b * t);
        if (std::abs(e) < 10.0) {
            e = std::atan(e);
            if (npio2 == 0.0) {
                K = ellpk(a);
            }
            result = K - ellik(e, m);
            done = true;
        }
    }
    if (!done) {
        // Descending Landen transformation (arithmetic-geometric mean).
        a = 1.0;
        double c = std::sqrt(m);
        double d = 1.0;
        double mod = 0.0;
        int steps = 0;
        while (std::abs(c / a) > kMachEp) {
            if (++steps > kMaxLandenSteps) {
                ReportMathError("ellik", MathError::TotalLoss);
                return std::nan("");
            }
            double s = b / a;
            phi = phi + std::atan(t * s) + mod * kPi;
            mod = std::trunc((phi + kPio2) / kPi);
            t = t * (1.0 + s) / (1.0 - s * t * t);
            c = (a - b) / 2.0;
            s = std::sqrt(a * b);
            a = (a + b) / 2.0;
            b = s;
            d += d;
        }
        result = (std::atan(t) + mod * kPi) / (d * a);
    }
    if (negative) {
        result = -result;
    }
    return result + npio2 * K;
}

JacobiElliptic ellpj(double u, double m) {
    JacobiElliptic r;
    if (!(m >= 0.0 && m <= 1.0)) {
        ReportMathError("ellpj", MathError::Domain);
        return r;
    }
    if (m < 1.0e-9) {
        // First-order expansion in m around the circular functions.
        const double t = std::sin(u);
        const double b = std::cos(u);
        const double a = 0.25 * m * (u - t * b);
        r.sn = t - a * b;
        r.cn = b + a * t;
        r.ph = u - a;
        r.dn = 1.0 - 0.5 * m * t * t;
        return r;
    }
    if (m >= 0.9999999999) {
        // First-order expansion in 1 - m around the hyperbolic functions.
        double a = 0.25 * (1.0 - m);
        const double b = std::cosh(u);
        const double t = std::tanh(u);
        const double p = 1.0 / b;
        const double w = b * std::sinh(u);
        r.sn = t + a * (w - u) / (b * b);
        r.ph = 2.0 * std::atan(std::exp(u)) - kPio2 + a * (w - u) / b;
        a = a * t * p;
        r.cn = p - a * (w - u);
        r.dn = p + a * (w + u);
        return r;
    }

    // Arithmetic-geometric mean scale, then the descending recurrence for the amplitude.
    std::array<double, 9> a{};
    std::array<double, 9> c{};
    a[0] = 1.0;
    double b = std::sqrt(1.0 - m);
    c[0] = std::sqrt(m);
    double twon = 1.0;
    std::size_t i = 0;
    while (std::abs(c[i] / a[i]) > kMachEp) {
        if (i > 7) {
            ReportMathError("ellpj", MathError::Overflow);
            break;
        }
        const double ai = a[i];
        ++i;
        c[i] = (ai - b) / 2.0;
        const double t = std::sqrt(ai * b);
        a[i] = (ai + b) / 2.0;
        b = t;
        twon *= 2.0;
    }
    double phi = twon * a[i] * u;
    for (; i > 0; --i) {
        const double t = c[i] * std::sin(phi) / a[i];
        b = phi;
        phi = (std::asin(t) + phi) / 2.0;
    }
    r.sn = std::sin(phi);
    r.cn = std::cos(phi);
    r.ph = phi;
    // cn / cos(phi - b) is 0/0 at u = K(m) and loses the digits cos(phi - b) loses
    // on the way there; dn^2 = 1 - m sn^2, written as (1 - m) + m cn^2 so that
    // nothing cancels, keeps full accuracy wherever that denominator is small.
    const double denom = std::cos(phi - b);
    if (std::abs(denom) < 0.5) {
        r.dn = std::sqrt((1.0 - m) + m * r.cn * r.cn);
    } else {
        r.dn = r.cn / denom;
    }
    return r;
}

std::optional<double> ModulusFromNome(double q) {
    if (!(q >= 0.0 && q < 1.0)) {
        ReportMathError("ModulusFromNome", MathError::Domain);
        return std::nullopt;
    }
    double A = 1.0;
    double B = 1.0;
    double r = 1.0;
    double p = q;
    for (int j = 0; j < kMaxNomeTerms; ++j) {
        r *= p;
        A += 2.0 * r;
        const double t1 = std::abs(r / A);
        r *= p;
        B += r;
        p *= q;
        const double t2 = std::abs(r / B);
        if (std::max(t1, t2) <= kMachEp) {
            const double ratio = B / A;
            return 4.0 * std::sqrt(q) * ratio * ratio;
        }
    }
    ReportMathError("ModulusFromNome", MathError::TotalLoss);
    return std::nullopt;
}

korin::mcplx cdiv(const korin::mcplx& a, const korin::mcplx& b) {
    const double D = a.real() * a.real() + a.imag() * a.imag();
    const double p = a.real() * b.real() + a.imag() * b.imag();
    const double q = a.real() * b.imag() - a.imag() * b.real();
    if (D < 1.0) {
        const double w = kDblMax * D;
        if (std::abs(p) > w || std::abs(q) > w || D == 0.0) {
            ReportMathError("cdiv", MathError::Overflow);
            return {kDblMax, kDblMax};
        }
    }
    return {p / D, q / D};
}

double cabs(const korin::mcplx& z) {
    double x = z.real();
    double y = z.imag();
    if (std::isinf(x) || std::isinf(y)) {
        return HUGE_VAL;
    }
    if (std::isnan(x) || std::isnan(y)) {
        return std::nan("");
    }
    if (y == 0.0) {
        return std::abs(x);
    }
    if (x == 0.0) {
        return std::abs(y);
    }
    int ex = 0;
    int ey = 0;
    (void)std::frexp(x, &ex);
    (void)std::frexp(y, &ey);
    const int diff = ex - ey;
    if (diff > 27) {
        return std::abs(x); // y is below the rounding unit of x
    }
    if (diff < -27) {
        return std::abs(y);
    }
    const int e = (ex + ey) >> 1;
    x = std::ldexp(x, -e);
    y = std::ldexp(y, -e);
    const double r = std::sqrt(x * x + y * y);
    int er = 0;
    (void)std::frexp(r, &er);
    er += e;
    if (er > 1024) {
        ReportMathError("cabs", MathError::Overflow);
        return HUGE_VAL;
    }
    if (er < -1077) {
        return 0.0;
    }
    return std::ldexp(r, e);
}

korin::mcplx csqrt(const korin::mcplx& z) {
    const double x = z.real();
    const double y = z.imag();
    if (y == 0.0) {
        if (x >= 0.0) {
            return {std::sqrt(x), 0.0};
        }
        return {0.0, std::sqrt(-x)};
    }
    if (x == 0.0) {
        const double r = std::sqrt(0.5 * std::abs(y));
        if (y > 0.0) {
            return {r, r};
        }
        return {-r, r};
    }
    // Imaginary part of the root first; for small |y / x| with x > 0 the
    // difference |z| - x would cancel, so it comes from the series instead.
    double t = 0.0;
    if (std::abs(y) < 2.0e-4 * std::abs(x) && x > 0.0) {
        t = 0.25 * y * (y / x);
    } else {
        t = 0.5 * (cabs(z) - x);
    }
    const double r = std::sqrt(t);
    const korin::mcplx q(y / (2.0 * r), r);
    const korin::mcplx s = q + cdiv(q, z);
    return {0.5 * s.real(), 0.5 * s.imag()};
}

} // namespace tarvo
