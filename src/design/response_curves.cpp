#include "design/response_curves.h"

#include "design/iir_filter.h"
#include "korin/signal/unwrap.h"

#include <cmath>
#include <numbers>

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

void GroupDelay(mvect& frequencies, mvect& values) {
    CleanPhase(values);
    korin::Unwrap(values);
    if (values.size() < 2) {
        values.clear();
        frequencies.clear();
        return;
    }
    const std::size_t n = values.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        values[i] = (values[i + 1] - values[i]) / (frequencies[i + 1] - frequencies[i]);
    }
    values.pop_back();
    frequencies.pop_back();
    values.Scale(mcplx(-1.0 / (2.0 * kPi)));
    // A negative group delay here is an artefact of a phase jump: replace it by
    // its neighbours' mean, then mend the two ends from their neighbours.
    const std::size_t m = values.size();
    for (std::size_t i = 1; i + 1 < m; ++i) {
        if (values[i].real() < 0.0) values[i] = (values[i - 1] + values[i + 1]) * 0.5;
    }
    if (m >= 2) {
        if (values[0].real() < 0.0) values[0] = values[1];
        if (values[m - 1].real() < 0.0) values[m - 1] = values[m - 2];
    }
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
    case kPlotGroupDelay:
        GroupDelay(frequencies, values);
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
