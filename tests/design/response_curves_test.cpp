#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "korin/signal/unwrap.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace tarvo {
namespace {

using korin::mcplx;
using korin::mvect;
constexpr double kPi = std::numbers::pi;

// A direct-form filter b/a at Fs in Hz.
CIirFilter DirectForm(mvect b, mvect a, double fsValue = 1.0) {
    CIirFilter f;
    f.b = std::move(b);
    f.a = std::move(a);
    f.useSos = false;
    f.fs = CFs(fsValue);
    return f;
}

TEST(ResponseCurves, MagnitudeInDb) {
    // (1 + z^-1)/2: 0 dB at DC, -3.01 dB at Fs/4, and at Fs/2 a zero that rounding
    // leaves at about 6e-17 (sin pi is not 0 in doubles).
    const CIirFilter f = DirectForm({mcplx(0.5), mcplx(0.5)}, {mcplx(1.0), mcplx(0.0)}, 8.0);
    mvect freq;
    mvect v;
    ComputeResponse(f, 0.0, 4.0, 3, kPlotMagnitude, freq, v);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0].real(), 0.0, 1e-12);
    EXPECT_NEAR(v[1].real(), 20 * std::log10(std::sqrt(0.5)), 1e-12);
    EXPECT_LT(v[2].real(), -300.0);
    EXPECT_DOUBLE_EQ(freq[1].real(), 2.0);
    // Plot types 0 and above 8 draw the magnitude too.
    mvect v0;
    ComputeResponse(f, 0.0, 4.0, 3, 0, freq, v0);
    EXPECT_EQ(v0, v);
    // An exact zero is floored by the 1e-20 added before the logarithm.
    const CIirFilter silent = DirectForm({mcplx(0.0), mcplx(0.0)}, {mcplx(1.0), mcplx(0.0)});
    ComputeResponse(silent, 0.0, 0.5, 2, kPlotMagnitude, freq, v);
    EXPECT_DOUBLE_EQ(v[0].real(), -400.0);
}

TEST(ResponseCurves, GroupDelayOfALinearPhaseSectionIsConstant) {
    // b = (1, 2, 1)/4: linear phase, delay one sample = 1/Fs; in ms for Fs in kHz.
    CIirFilter f = DirectForm({mcplx(0.25), mcplx(0.5), mcplx(0.25)},
                              {mcplx(1.0), mcplx(0.0), mcplx(0.0)}, 2.0);
    f.fs.SetUnit(1);
    mvect freq;
    mvect v;
    ComputeResponse(f, 0.0, 1.0, 257, kPlotGroupDelay, freq, v);
    ASSERT_EQ(v.size(), 257u);
    ASSERT_EQ(freq.size(), 257u);
    ASSERT_EQ(freq[256].real(), 1.0);
    // Including Fs/2, where the double zero at z = -1 leaves it undefined.
    for (const mcplx& d : v)
        EXPECT_NEAR(d.real(), 0.5, 1e-12);
}

TEST(ResponseCurves, PhaseDelayRepairsTheZeroFrequency) {
    const CIirFilter f = DirectForm({mcplx(0.25), mcplx(0.5), mcplx(0.25)},
                                    {mcplx(1.0), mcplx(0.0), mcplx(0.0)}, 1.0);
    mvect freq;
    mvect v;
    ComputeResponse(f, 0.0, 0.4, 50, kPlotPhaseDelay, freq, v);
    ASSERT_EQ(v.size(), 50u);
    for (const mcplx& d : v)
        EXPECT_NEAR(d.real(), 1.0, 1e-9); // one sample at Fs = 1 Hz
}

TEST(ResponseCurves, PhaseAndUnwrappedPhaseInDegrees) {
    // A pure delay of three samples: phase -3 w, wrapping twice below Fs/2.
    const CIirFilter f = DirectForm({mcplx(1.0), mcplx(0.0), mcplx(0.0), mcplx(0.0)},
                                    {mcplx(1.0), mcplx(0.0), mcplx(0.0), mcplx(0.0)}, 1.0);
    const CIirFilter delay = DirectForm({mcplx(0.0), mcplx(0.0), mcplx(0.0), mcplx(1.0)},
                                        {mcplx(1.0), mcplx(0.0), mcplx(0.0), mcplx(0.0)}, 1.0);
    mvect freq;
    mvect phase;
    mvect unwrapped;
    ComputeResponse(delay, 0.0, 0.5, 101, kPlotPhase, freq, phase);
    ComputeResponse(delay, 0.0, 0.5, 101, kPlotUnwrappedPhase, freq, unwrapped);
    for (std::size_t i = 0; i < freq.size(); ++i) {
        const double w = 2 * kPi * freq[i].real();
        EXPECT_NEAR(unwrapped[i].real(), -3 * w * 180 / kPi, 1e-9);
        EXPECT_LE(phase[i].real(), 180.0 + 1e-9);
        EXPECT_GT(phase[i].real(), -180.0 - 1e-9);
    }
    mvect flat;
    ComputeResponse(f, 0.0, 0.5, 11, kPlotPhase, freq, flat);
    for (const mcplx& x : flat)
        EXPECT_NEAR(x.real(), 0.0, 1e-12);
}

TEST(CleanPhase, ExtrapolatesAcrossAZeroOnTheUnitCircle) {
    // Phase ramps by 0.05 rad a point; points 30..32 vanish.
    mvect v;
    for (int i = 0; i < 60; ++i) {
        const double phase = -1.0 + 0.05 * i;
        const double m = (i >= 30 && i <= 32) ? 0.0 : 1.0;
        v.push_back(mcplx(m * std::cos(phase), m * std::sin(phase)));
    }
    CleanPhase(v);
    for (int i = 0; i < 60; ++i)
        EXPECT_NEAR(v[i].real(), -1.0 + 0.05 * i, 1e-12) << i;
    for (const mcplx& x : v)
        EXPECT_EQ(x.imag(), 0.0);
}

TEST(CleanPhase, ExtrapolatedPhaseStaysInRange) {
    // A steep ramp near pi, vanishing at the end: the forward extrapolation would
    // leave (-pi, pi] without the reduction.
    mvect v;
    for (int i = 0; i < 40; ++i) {
        const double phase = 2.0 + 0.03 * i;
        const double m = i >= 36 ? 0.0 : 1.0;
        v.push_back(mcplx(m * std::cos(phase), m * std::sin(phase)));
    }
    CleanPhase(v);
    for (const mcplx& x : v) {
        EXPECT_GT(x.real(), -kPi);
        EXPECT_LE(x.real(), kPi);
    }
    // 2 + 0.03*39 = 3.17 > pi comes back as 3.17 - 2 pi.
    EXPECT_NEAR(v[39].real(), 2.0 + 0.03 * 39 - 2 * kPi, 1e-12);
}

TEST(Unwrap, CorrectsJumpsJudgedBeforeCorrection) {
    mvect v{mcplx(3.0), mcplx(-3.0), mcplx(-2.9), mcplx(3.1), mcplx(3.0, 7.0)};
    korin::Unwrap(v);
    EXPECT_DOUBLE_EQ(v[1].real(), -3.0 + 2 * kPi);
    EXPECT_DOUBLE_EQ(v[2].real(), -2.9 + 2 * kPi);
    EXPECT_DOUBLE_EQ(v[3].real(), 3.1);
    EXPECT_DOUBLE_EQ(v[4].real(), 3.0);
    EXPECT_EQ(v[4].imag(), 7.0);
    mvect empty;
    korin::Unwrap(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(ResponseCurves, GroupDelayStaysNonNegativeAcrossAPhaseFlip) {
    // A zero exactly on the unit circle at Fs/4 flips the phase by pi, which must
    // not show as a negative delay: 1 + z^-2 delays by one sample everywhere.
    const CIirFilter f =
        DirectForm({mcplx(1.0), mcplx(0.0), mcplx(1.0)}, {mcplx(1.0), mcplx(0.0), mcplx(0.0)}, 1.0);
    mvect freq;
    mvect v;
    ComputeResponse(f, 0.0, 0.5, 101, kPlotGroupDelay, freq, v);
    ASSERT_EQ(v.size(), 101u);
    for (const mcplx& d : v) {
        EXPECT_GE(d.real(), 0.0);
        EXPECT_NEAR(d.real(), 1.0, 1e-12);
    }
}

TEST(TimeResponse, SamplesAndTimeAxis) {
    CIirFilter f = DirectForm({mcplx(1.0), mcplx(0.0)}, {mcplx(1.0), mcplx(-0.5)}, 8.0);
    f.fs.SetUnit(1);
    const TimeResponse r = ComputeTimeResponse(f, 128);
    ASSERT_EQ(r.impulse.size(), 128u);
    ASSERT_EQ(r.step.size(), 128u);
    EXPECT_DOUBLE_EQ(r.time[127], 127.0 / 8.0); // ms
    EXPECT_DOUBLE_EQ(r.impulse[2].real(), 0.25);
    EXPECT_DOUBLE_EQ(r.step[2].real(), 1.75);
    EXPECT_EQ(ComputeTimeResponse(f, 0).impulse.size(), 1024u);
}

} // namespace
} // namespace tarvo
