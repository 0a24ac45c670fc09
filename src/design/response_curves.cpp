#include "design/response_curves.h"

#include "design/iir_filter.h"
#include "korin/signal/unwrap.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tarvo {

using korin::mcplx;
using korin::mvect;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMarker = 1e10;     // "no reference yet"
constexpr double kVanishing = 1e-14; // |H| at or below this has no usable phase
constexpr int kReferenceSpacing = 10;

// Into (-pi, pi].
double ReducePhase(double x) {
    if (!std::isfinite(x)) return x;
    double r = std::remainder(x, 2.0 * kPi);
    if (r <= -kPi) r += 2.0 * kPi;
    return r;
}

bool IsNaN(const mcplx& v) {
    return std::isnan(v.real()) || std::isnan(v.imag());
}

void MagnitudeDb(mvect& values) {
    constexpr double inverseLn10 = 0.4342944819032518;
    for (mcplx& v : values) {
        const double m = korin::Abs(mcplx(v.real() + 1e-20, v.imag()));
        v = mcplx(std::log(m) * inverseLn10 * 20.0, 0.0);
    }
}

// A polynomial c_0 + c_1 x + ... + c_{n-1} x^{n-1} in x = e^{-jw}, written about its
// centre m = (n - 1) / 2 as the sum of c_k e^{-jw(k-m)} (value) and of
// (k - m) c_k e^{-jw(k-m)} (weighted). Its group delay in samples is
// m + Re(weighted / value).
struct CentredSum {
    mcplx value;
    mcplx weighted;
};

// -j z
mcplx MinusJ(const mcplx& z) {
    return {z.imag(), -z.real()};
}

// Adds c_k and its mirror c_{n-1-k}, which sit at distance d = k - m, given cos(dw)
// and sin(dw). Pairing them first makes a symmetric or antisymmetric part cancel
// exactly, so a zero on the unit circle costs no accuracy beside it.
void AddPair(CentredSum& s, const mcplx& ck, const mcplx& mirror, double d, double cosine,
             double sine) {
    const mcplx sum = ck + mirror;
    const mcplx difference = ck - mirror;
    s.value += sum * cosine + MinusJ(difference * sine);
    s.weighted += (difference * cosine + MinusJ(sum * sine)) * d;
}

// Not finite where the polynomial vanishes at this frequency (or is below 1e-154,
// where its square underflows: only right beside a zero on the unit circle).
double Delay(const CentredSum& s, double centre) {
    const double dot = s.weighted.real() * s.value.real() + s.weighted.imag() * s.value.imag();
    return centre + dot / korin::Norm(s.value);
}

// Three coefficients from row[first], given cos w and sin w.
// A section polynomial c0 + c1 x + c2 x^2 at x = e^{-jw}, kept as c1 and its outer
// coefficients' sum and difference: those are exact, so a symmetric or
// antisymmetric part (a zero on the unit circle) cancels exactly.
struct Quadratic {
    double c1 = 0.0;
    double sum = 0.0;        // c0 + c2
    double difference = 0.0; // c0 - c2
};

Quadratic QuadraticOf(const mvect& row, std::size_t first) {
    const double c0 = row[first].real();
    const double c2 = row[first + 2].real();
    return {row[first + 1].real(), c0 + c2, c0 - c2};
}

double PolynomialDelay(const mvect& c, double w) {
    const std::size_t n = c.size();
    if (n == 0) return std::nan("");
    const double centre = 0.5 * static_cast<double>(n - 1);
    CentredSum s;
    for (std::size_t k = 0; 2 * k + 1 < n; ++k) {
        const double d = static_cast<double>(k) - centre;
        AddPair(s, c[k], c[n - 1 - k], d, std::cos(d * w), std::sin(d * w));
    }
    if (n % 2 == 1) s.value += c[n / 2];
    return Delay(s, centre);
}

// Group delay in samples at w (radians per sample) of the coefficients that the
// filter's responses use: the sum over the sections of numerator minus
// denominator, or the direct form, whose polynomials are in z (highest power
// first) and so carry a further z^(nb - na).
// A section's group delay in samples, numerator's less denominator's. About its
// centre a quadratic is V = c1 + sum cos w + j difference sin w, and its delay
// 1 + Re(W / V) with W = -difference cos w - j sum sin w reduces, as
// cos^2 + sin^2 = 1, to 1 - difference (c1 cos w + sum) / |V|^2; the centres
// cancel and the two fractions are returned over one denominator, which is 0
// where the numerator vanishes (a zero on the unit circle at this frequency).
struct Fraction {
    double top = 0.0;
    double bottom = 1.0;
};

Fraction SectionDelay(Quadratic num, Quadratic den, double cosW, double sinW) {
    const double nRe = num.c1 + num.sum * cosW;
    const double nIm = num.difference * sinW;
    const double dRe = den.c1 + den.sum * cosW;
    const double dIm = den.difference * sinW;
    const double nNorm = nRe * nRe + nIm * nIm;
    const double dNorm = dRe * dRe + dIm * dIm;
    const double nTop = num.difference * (num.c1 * cosW + num.sum);
    const double dTop = den.difference * (den.c1 * cosW + den.sum);
    return {dTop * nNorm - nTop * dNorm, nNorm * dNorm};
}

// cos w and sin w at frequencies w spaced evenly (as ComputeResponse makes them):
// exact at the start of every block of 64, rotated by the step in between, which
// costs a few ulps and a fraction of the library calls.
void EvenlySpacedCosSin(const mvect& s, std::vector<double>& cosW, std::vector<double>& sinW) {
    constexpr std::size_t kBlock = 64;
    const std::size_t n = s.size();
    for (std::size_t a = 0; a < n; a += kBlock) {
        const std::size_t end = std::min(n, a + kBlock);
        double c = std::cos(s[a].imag());
        double sn = std::sin(s[a].imag());
        cosW[a] = c;
        sinW[a] = sn;
        if (end - a < 2) continue;
        const double step = (s[end - 1].imag() - s[a].imag()) / static_cast<double>(end - 1 - a);
        const double cd = std::cos(step);
        const double sd = std::sin(step);
        for (std::size_t i = a + 1; i < end; ++i) {
            const double next = c * cd - sn * sd;
            sn = sn * cd + c * sd;
            c = next;
            cosW[i] = c;
            sinW[i] = sn;
        }
    }
}

#if defined(__GNUC__) && !defined(__clang__)
// GCC's -O2 cost model leaves this loop scalar, at twice the time; clang
// vectorises it at -O2 anyway.
#define TARVO_VECTORIZE __attribute__((optimize("vect-cost-model=cheap")))
#else
#define TARVO_VECTORIZE
#endif

// out[i] += the section's delay at each of n frequencies.
TARVO_VECTORIZE void AddSectionDelay(Quadratic num, Quadratic den, const double* cw,
                                     const double* sw, double* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const Fraction f = SectionDelay(num, den, cw[i], sw[i]);
        out[i] += f.top / f.bottom;
    }
}

#undef TARVO_VECTORIZE

// Group delay in samples at each w of the direct form b / a.
double DirectFormDelay(const CIirFilter& filter, double w) {
    // An empty b is a response of 0, whose delay is not defined.
    if (filter.b.empty()) return std::nan("");
    const double fromB = PolynomialDelay(filter.b, w) - static_cast<double>(filter.b.size() - 1);
    if (filter.a.empty()) return fromB; // A = 1
    return fromB - PolynomialDelay(filter.a, w) + static_cast<double>(filter.a.size() - 1);
}

// Group delay in samples at each w of s (imaginary parts): through the sections
// when the responses use them, section by section over all frequencies.
std::vector<double> SamplesOfDelay(const CIirFilter& filter, const mvect& s) {
    std::vector<double> delay(s.size(), 0.0);
    if (!(filter.useSos && !filter.sos.Empty())) {
        for (std::size_t i = 0; i < s.size(); ++i)
            delay[i] = DirectFormDelay(filter, s[i].imag());
        return delay;
    }
    std::vector<double> cosW(s.size());
    std::vector<double> sinW(s.size());
    EvenlySpacedCosSin(s, cosW, sinW);
    // Plain arrays, so that the compiler sees the loop touches nothing else.
    const std::size_t n = s.size();
    double* out = delay.data();
    const double* cw = cosW.data();
    const double* sw = sinW.data();
    for (std::size_t r = 0; r < filter.sos.Rows(); ++r) {
        const mvect& row = filter.sos[r];
        if (row.size() != 6) continue; // left out of the response as well
        const Quadratic numerator = QuadraticOf(row, 0);
        const Quadratic denominator = QuadraticOf(row, 3);
        AddSectionDelay(numerator, denominator, cw, sw, out, n);
    }
    return delay;
}

void RepairUndefinedDelay(std::vector<double>& delay) {
    const std::size_t n = delay.size();
    if (std::all_of(delay.begin(), delay.end(), [](double d) { return std::isfinite(d); })) return;
    std::vector<double> left(n, std::nan(""));
    std::vector<double> right(n, std::nan(""));
    for (std::size_t i = 1; i < n; ++i)
        left[i] = std::isfinite(delay[i - 1]) ? delay[i - 1] : left[i - 1];
    for (std::size_t i = n - 1; i-- > 0;)
        right[i] = std::isfinite(delay[i + 1]) ? delay[i + 1] : right[i + 1];
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isfinite(delay[i])) continue;
        const bool l = std::isfinite(left[i]);
        const bool r = std::isfinite(right[i]);
        delay[i] = l && r ? 0.5 * (left[i] + right[i]) : l ? left[i] : r ? right[i] : 0.0;
    }
}

// The exact derivative of the phase, -d(phase)/df / (2 pi), in the reciprocal of
// the frequency unit: the time unit paired with it.
void GroupDelay(const CIirFilter& filter, const mvect& s, mvect& values) {
    std::vector<double> delay = SamplesOfDelay(filter, s);
    RepairUndefinedDelay(delay);
    const double fsValue = filter.fs.GetValue();
    mvect result;
    result.column = s.column;
    result.reserve(delay.size());
    for (const double d : delay)
        result.push_back(mcplx(d / fsValue));
    values = std::move(result);
}

void PhaseDelay(const mvect& frequencies, mvect& values) {
    CleanPhase(values);
    korin::Unwrap(values);
    values.Scale(mcplx(-1.0 / (2.0 * kPi)));
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = values[i] / frequencies[i];
    const std::size_t n = values.size();
    for (std::size_t i = 1; i + 1 < n; ++i) {
        if (IsNaN(values[i])) values[i] = (values[i - 1] + values[i + 1]) * 0.5;
    }
    if (n >= 2) {
        if (IsNaN(values[0])) values[0] = values[1];
        if (IsNaN(values[n - 1])) values[n - 1] = values[n - 2];
    }
}

} // namespace

void CleanPhase(mvect& values) {
    const std::size_t n = values.size();
    std::vector<double> modulus(n);
    for (std::size_t i = 0; i < n; ++i) {
        modulus[i] = korin::Abs(values[i]);
        values[i] = mcplx(std::atan2(values[i].imag(), values[i].real()), 0.0);
    }
    const auto good = [&](std::size_t i) { return modulus[i] > kVanishing; };

    double reference = kMarker;
    std::ptrdiff_t last = 0;
    double slope = 0.0;
    for (std::size_t u = 0; u < n; ++u) {
        const auto i = static_cast<std::ptrdiff_t>(u);
        if (good(u)) {
            if (i > last + kReferenceSpacing) {
                if (reference != kMarker) {
                    slope = (values[u].real() - reference) / static_cast<double>(i - last);
                }
                reference = values[u].real();
                last = i;
            }
        } else if (reference != kMarker) {
            values[u] = mcplx(ReducePhase(reference + static_cast<double>(i - last) * slope), 0.0);
        }
    }

    reference = kMarker;
    last = static_cast<std::ptrdiff_t>(n) - 1;
    slope = 0.0;
    for (std::size_t u = n; u-- > 0;) {
        const auto i = static_cast<std::ptrdiff_t>(u);
        if (good(u)) {
            if (i < last - kReferenceSpacing) {
                if (reference != kMarker) {
                    slope = (values[u].real() - reference) / static_cast<double>(i - last);
                }
                reference = values[u].real();
                last = i;
            }
        } else if (reference != kMarker) {
            values[u] = mcplx(ReducePhase(reference + static_cast<double>(i - last) * slope), 0.0);
        }
    }
}

void ComputeResponse(const CIirFilter& filter, double first, double last, std::int32_t n,
                     std::int32_t plotType, mvect& frequencies, mvect& values) {
    frequencies.Linspace(n < 0 ? 0 : n, mcplx(first), mcplx(last));
    const double fsValue = filter.fs.GetValue();
    mvect s = frequencies;
    s.Scale(mcplx(0.0, 2.0 * kPi / fsValue));
    if (plotType == kPlotGroupDelay) {
        GroupDelay(filter, s, values);
        return;
    }
    values = filter.ResponseAt(s);

    switch (plotType) {
    case kPlotPhase:
        CleanPhase(values);
        values.Scale(mcplx(180.0 / kPi));
        break;
    case kPlotUnwrappedPhase:
        CleanPhase(values);
        korin::Unwrap(values);
        values.Scale(mcplx(180.0 / kPi));
        break;
    case kPlotPhaseDelay:
        PhaseDelay(frequencies, values);
        break;
    default:
        MagnitudeDb(values);
        break;
    }
}

TimeResponse ComputeTimeResponse(const CIirFilter& filter, std::int32_t length) {
    TimeResponse r;
    r.impulse = filter.ImpulseResponse(length);
    r.step = filter.StepResponse(static_cast<std::int32_t>(r.impulse.size()));
    const double fsValue = filter.fs.GetValue();
    r.time.reserve(r.impulse.size());
    for (std::size_t i = 0; i < r.impulse.size(); ++i) {
        r.time.push_back(static_cast<double>(i) / fsValue);
    }
    return r;
}

} // namespace tarvo
