#include "design/response_curves.h"

#include "design/iir_filter.h"
#include "korin/signal/unwrap.h"

#include <cmath>
#include <numbers>
#include <utility>
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
double QuadraticDelay(const mvect& row, std::size_t first, double cosW, double sinW) {
    CentredSum s{row[first + 1], mcplx()};
    AddPair(s, row[first], row[first + 2], -1.0, cosW, -sinW);
    return Delay(s, 1.0);
}

// Not finite for no coefficients.
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
double SamplesOfDelay(const CIirFilter& filter, double w) {
    // The filter evaluates its responses through the sections when it has them.
    if (filter.useSos && !filter.sos.Empty()) {
        const double cosW = std::cos(w);
        const double sinW = std::sin(w);
        double sum = 0.0;
        for (std::size_t r = 0; r < filter.sos.Rows(); ++r) {
            const mvect& row = filter.sos[r];
            if (row.size() != 6) continue; // left out of the response as well
            sum += QuadraticDelay(row, 0, cosW, sinW) - QuadraticDelay(row, 3, cosW, sinW);
        }
        return sum;
    }
    // An empty b is a response of 0, whose delay is not defined.
    if (filter.b.empty()) return std::nan("");
    const double fromB = PolynomialDelay(filter.b, w) - static_cast<double>(filter.b.size() - 1);
    if (filter.a.empty()) return fromB; // A = 1
    return fromB - PolynomialDelay(filter.a, w) + static_cast<double>(filter.a.size() - 1);
}

// Where a numerator vanishes (a zero on the unit circle at that very frequency)
// the delay is not defined: such a point takes the mean of the nearest finite
// values on either side, or the one there is.
void RepairUndefinedDelay(std::vector<double>& delay) {
    const std::size_t n = delay.size();
    if (n == 0) return;
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
    std::vector<double> delay(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        delay[i] = SamplesOfDelay(filter, s[i].imag());
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
