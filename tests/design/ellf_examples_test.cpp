// Worked examples of the design engine with known answers, the responses the
// families promise (band edges, ripple, attenuation), and its refusals.

#include "design/ellf.h"
#include "design/ellf_math.h"
#include "support/assert_capture.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using cplx = std::complex<double>;
constexpr double kPi = std::numbers::pi;

// H(z) from the roots and the gain.
cplx Response(const ellf& e, cplx z) {
    cplx h = e.Gain();
    for (int i = 0; i < e.ZOrder(); ++i) {
        h *= (z - e.Zero(i).std()) / (z - e.Pole(i).std());
    }
    return h;
}

// |H| at f (fraction of the Nyquist frequency).
double MagnitudeAt(const ellf& e, double f) {
    return std::abs(Response(e, std::polar(1.0, kPi * f)));
}

// Smallest and largest |H| on n + 1 points from fa to fb.
std::pair<double, double> MagnitudeRange(const ellf& e, double fa, double fb, int n = 4000) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = 0.0;
    for (int i = 0; i <= n; ++i) {
        const double h = MagnitudeAt(e, fa + (fb - fa) * i / n);
        lo = std::min(lo, h);
        hi = std::max(hi, h);
    }
    return {lo, hi};
}

double DbToLinear(double db) {
    return std::pow(10.0, db / 20.0);
}

void ExpectCoefficients(std::span<const double> got, const std::vector<double>& want, double tol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i], want[i], tol) << "coefficient " << i;
    }
}

TEST(EllfExamples, ButterworthLowpassOrder1) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kButterworth, 1, 2.0, 0.0, 0.5, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 1);
    EXPECT_NEAR(std::abs(e.Pole(0).std()), 0.0, 1e-15);
    EXPECT_EQ(e.Zero(0).std(), cplx(-1.0, 0.0));
    EXPECT_NEAR(e.Gain(), 0.5, 1e-15);
    ExpectCoefficients(e.Num(), {0.5, 0.5}, 1e-15);
    ExpectCoefficients(e.Den(), {1.0, 0.0}, 1e-15);
}

TEST(EllfExamples, ButterworthLowpassOrder2) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kButterworth, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 2);
    ExpectCoefficients(e.Num(), {0.292893, 0.585786, 0.292893}, 5e-7);
    ExpectCoefficients(e.Den(), {1.0, 0.0, 0.171573}, 5e-7);
    EXPECT_NEAR(e.Gain(), 0.292893, 5e-7);
    // The exact values: poles +-j(sqrt 2 - 1), gain 1 - 1/sqrt 2; the upper pole first.
    EXPECT_NEAR(e.Pole(0).real(), 0.0, 1e-15);
    EXPECT_NEAR(e.Pole(0).imag(), std::numbers::sqrt2 - 1.0, 1e-15);
    EXPECT_EQ(e.Pole(1).std(), std::conj(e.Pole(0).std()));
    EXPECT_NEAR(e.Gain(), 1.0 - 1.0 / std::numbers::sqrt2, 1e-15);
    EXPECT_NEAR(e.Den()[2], 3.0 - 2.0 * std::numbers::sqrt2, 1e-15);
}

TEST(EllfExamples, ChebyshevLowpassOrder2) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kChebyshev, 2, 2.0, 0.0, 0.5, 1.0, 0.0));
    ExpectCoefficients(e.Num(), {0.307043, 0.614086, 0.307043}, 5e-7);
    ExpectCoefficients(e.Den(), {1.0, 0.064064, 0.313968}, 5e-7);
    const auto num = e.Num();
    const auto den = e.Den();
    const double h1 = (num[0] + num[1] + num[2]) / (den[0] + den[1] + den[2]);
    EXPECT_NEAR(h1, DbToLinear(-1.0), 1e-14);
}

TEST(EllfExamples, LowpassGainAtDc) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kButterworth, 4, 2.0, 0.0, 0.2, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(e.Zero(i).std(), cplx(-1.0, 0.0));
    }
    EXPECT_NEAR(std::abs(Response(e, 1.0) - 1.0), 0.0, 1e-14);

    // Even Chebyshev orders start at the bottom of the ripple, odd ones at the top.
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kChebyshev, 4, 2.0, 0.0, 0.2, 1.0, 0.0));
    EXPECT_NEAR(std::abs(Response(e, 1.0) - DbToLinear(-1.0)), 0.0, 1e-13);
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kChebyshev, 3, 2.0, 0.0, 0.2, 1.0, 0.0));
    EXPECT_NEAR(std::abs(Response(e, 1.0) - 1.0), 0.0, 1e-13);
}

TEST(EllfExamples, ButterworthHighpass) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kHighpass, ellf::kButterworth, 3, 2.0, 0.0, 0.3, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(e.Zero(i).std(), cplx(1.0, 0.0));
    }
    EXPECT_NEAR(std::abs(Response(e, -1.0) - 1.0), 0.0, 1e-14);
}

TEST(EllfExamples, ButterworthBandpassZerosAlternate) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kBandpass, ellf::kButterworth, 2, 2.0, 0.2, 0.5, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 4);
    EXPECT_EQ(e.Zero(0).std(), cplx(-1.0, 0.0));
    EXPECT_EQ(e.Zero(1).std(), cplx(1.0, 0.0));
    EXPECT_EQ(e.Zero(2).std(), cplx(-1.0, 0.0));
    EXPECT_EQ(e.Zero(3).std(), cplx(1.0, 0.0));
    const double gamma = std::cos(kPi * 0.35) / std::cos(kPi * 0.15);
    EXPECT_NEAR(std::abs(Response(e, std::polar(1.0, std::acos(gamma))) - 1.0), 0.0, 1e-14);
}

TEST(EllfExamples, ButterworthBandstopDoubleZeros) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kBandstop, ellf::kButterworth, 2, 2.0, 0.3, 0.6, 0.0, 0.0));
    ASSERT_EQ(e.ZOrder(), 4);
    // Each s-plane zero at the origin becomes one pair at the band centre.
    const double gamma = std::cos(kPi * 0.45) / std::cos(kPi * 0.15);
    const cplx centre = std::polar(1.0, std::acos(gamma));
    EXPECT_NEAR(std::abs(e.Zero(0).std() - centre), 0.0, 1e-15);
    EXPECT_EQ(e.Zero(1).std(), std::conj(e.Zero(0).std()));
    EXPECT_EQ(e.Zero(2).std(), e.Zero(0).std());
    EXPECT_EQ(e.Zero(3).std(), e.Zero(1).std());
    EXPECT_NEAR(std::abs(Response(e, 1.0) - 1.0), 0.0, 1e-14);
}

TEST(EllfExamples, EllipticLowpassOrder3) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, -60.0));
    ASSERT_EQ(e.ZOrder(), 3);
    EXPECT_EQ(e.Zero(2).std(), cplx(-1.0, 0.0)); // the completion comes last
    EXPECT_NEAR(std::abs(e.Zero(0).std()), 1.0, 1e-15);
    EXPECT_GT(e.Zero(0).imag(), 0.0);
    EXPECT_GT(std::arg(e.Zero(0).std()), kPi * 0.5); // beyond the passband edge
    EXPECT_EQ(e.Zero(1).std(), std::conj(e.Zero(0).std()));
    for (int i = 0; i < 3; ++i) {
        EXPECT_LT(std::abs(e.Pole(i).std()), 1.0);
    }
    EXPECT_NEAR(std::abs(Response(e, 1.0) - 1.0), 0.0, 1e-14);
}

// What the user asks for: the edge at -3 dB (Butterworth) or at -R dB with an
// R dB equiripple passband (Chebyshev, elliptic), and an elliptic stopband
// whose peaks reach exactly the attenuation.
TEST(EllfResponse, PassbandEdgesAndRipple) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kButterworth, 5, 2.0, 0.0, 0.3, 0.0, 0.0));
    EXPECT_NEAR(MagnitudeAt(e, 0.3), std::sqrt(0.5), 1e-13);

    ASSERT_TRUE(e.Run(ellf::kBandpass, ellf::kChebyshev, 5, 2.0, 0.2, 0.4, 0.5, 0.0));
    EXPECT_NEAR(MagnitudeAt(e, 0.2), DbToLinear(-0.5), 1e-12);
    EXPECT_NEAR(MagnitudeAt(e, 0.4), DbToLinear(-0.5), 1e-12);
    const auto [lo, hi] = MagnitudeRange(e, 0.2, 0.4);
    EXPECT_NEAR(lo, DbToLinear(-0.5), 1e-12);
    EXPECT_NEAR(hi, 1.0, 1e-6);
    EXPECT_LE(hi, 1.0 + 1e-12);
}

TEST(EllfResponse, EllipticReachesTheAttenuation) {
    struct Case {
        int shape;
        int order;
        double f1, f2;
        double pass; // a frequency in the passband
    };
    for (const Case& c :
         {Case{ellf::kLowpass, 4, 0.0, 0.4, 0.1}, Case{ellf::kLowpass, 5, 0.0, 0.4, 0.1},
          Case{ellf::kHighpass, 5, 0.0, 0.6, 0.8}, Case{ellf::kBandpass, 3, 0.3, 0.6, 0.45},
          Case{ellf::kBandstop, 4, 0.3, 0.6, 0.1}}) {
        SCOPED_TRACE(c.shape * 10 + c.order);
        ellf e;
        ASSERT_TRUE(e.Run(c.shape, ellf::kElliptic, c.order, 2.0, c.f1, c.f2, 1.0, -50.0));
        // Between the outermost zeros of each stopband the response never rises
        // above the attenuation, and its maxima reach it.
        std::vector<double> fz;
        fz.reserve(static_cast<std::size_t>(e.ZOrder()));
        for (int i = 0; i < e.ZOrder(); ++i) {
            fz.push_back(std::abs(std::arg(e.Zero(i).std())) / kPi);
        }
        std::sort(fz.begin(), fz.end());
        double peak = 0.0;
        switch (c.shape) {
        case ellf::kLowpass:
            peak = MagnitudeRange(e, fz.front(), 1.0, 40000).second;
            break;
        case ellf::kHighpass:
            peak = MagnitudeRange(e, 0.0, fz.back(), 40000).second;
            break;
        case ellf::kBandstop:
            peak = MagnitudeRange(e, fz.front(), fz.back(), 40000).second;
            break;
        default: {
            const auto split = std::lower_bound(fz.begin(), fz.end(), c.pass);
            peak = std::max(MagnitudeRange(e, 0.0, *(split - 1), 40000).second,
                            MagnitudeRange(e, *split, 1.0, 40000).second);
        }
        }
        EXPECT_LE(peak, DbToLinear(-50.0) * (1.0 + 1e-9));
        EXPECT_GE(peak, DbToLinear(-50.0) * (1.0 - 1e-4));
        // Passband ripple between -1 dB and 0 dB.
        EXPECT_GE(MagnitudeAt(e, c.pass), DbToLinear(-1.0) * (1.0 - 1e-12));
        EXPECT_LE(MagnitudeAt(e, c.pass), 1.0 + 1e-12);
    }
}

TEST(EllfResponse, GivenStopbandEdgeIsWhereTheStopbandStarts) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kElliptic, 4, 2.0, 0.0, 0.4, 1.0, 0.5));
    // The stopband's equiripple maximum is reached at the edge itself.
    const double atEdge = MagnitudeAt(e, 0.5);
    const double beyond = MagnitudeRange(e, 0.5, 1.0, 20000).second;
    EXPECT_NEAR(beyond, atEdge, 1e-9 * atEdge);
    EXPECT_GT(MagnitudeRange(e, 0.4, 0.499).second, atEdge);
}

TEST(EllfFailures, StopbandEdgeOnTheWrongSide) {
    ellf e;
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.4));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.5));
    EXPECT_FALSE(e.Run(ellf::kHighpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.6));
    EXPECT_FALSE(e.Run(ellf::kBandpass, ellf::kElliptic, 3, 2.0, 0.3, 0.6, 1.0, 0.4));
    EXPECT_FALSE(e.Run(ellf::kBandstop, ellf::kElliptic, 3, 2.0, 0.3, 0.6, 1.0, 0.7));
    EXPECT_EQ(e.ZOrder(), 0);
    EXPECT_EQ(e.Gain(), 0.0);
    EXPECT_TRUE(e.Den().empty());
    EXPECT_TRUE(e.Num().empty());
    EXPECT_TRUE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.6));
    EXPECT_TRUE(e.Run(ellf::kHighpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.4));
    EXPECT_TRUE(e.Run(ellf::kBandpass, ellf::kElliptic, 3, 2.0, 0.3, 0.6, 1.0, 0.7));
    EXPECT_TRUE(e.Run(ellf::kBandstop, ellf::kElliptic, 3, 2.0, 0.3, 0.6, 1.0, 0.4));
}

TEST(EllfFailures, ArgumentsOutOfRange) {
    ellf e;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, 0, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, -3, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(
        e.Run(ellf::kLowpass, ellf::kButterworth, ellf::kMaxOrder + 1, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(0, ellf::kButterworth, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(5, ellf::kButterworth, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, 0, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, 4, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, 2, 0.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, 2, 2.0, 0.0, nan, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kChebyshev, 2, 2.0, 0.0, 0.5, nan, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 2, 2.0, 0.0, 0.5, 1.0, -HUGE_VAL));
}

TEST(EllfFailures, DegenerateSpecificationsAreRefused) {
    ellf e;
    // A zero-width band or an edge at 0 puts poles on the unit circle.
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, 3, 2.0, 0.0, 0.0, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kBandpass, ellf::kChebyshev, 3, 2.0, 0.4, 0.4, 1.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kBandstop, ellf::kButterworth, 3, 2.0, 0.4, 0.4, 0.0, 0.0));
    // Beyond the Nyquist frequency the prewarping turns the poles outside.
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kButterworth, 3, 2.0, 0.0, 1.5, 0.0, 0.0));
    // No ripple, or an attenuation below the ripple, has no Chebyshev or elliptic design.
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kChebyshev, 3, 2.0, 0.0, 0.5, 0.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kChebyshev, 3, 2.0, 0.0, 0.5, -1.0, 0.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 3.0, -1.0));
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 0.0, -40.0));
}

std::vector<std::string>& Diagnostics() {
    static std::vector<std::string> entries;
    return entries;
}

void RecordDiagnostic(const char* routine, const char* kind) {
    Diagnostics().push_back(std::string(routine) + ": " + kind);
}

TEST(EllfFailures, NomeReachingOneEndsTheDesign) {
    // At order 60 with the edge near the Nyquist frequency the prototype's
    // parameter m rounds to 1: K(m) is infinite and the nome 1, where its
    // series would never converge.
    Diagnostics().clear();
    const MathErrorReporter previous = SetMathErrorReporter(&RecordDiagnostic);
    ellf e;
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 60, 2.0, 0.0, 0.999, 1.0, -60.0));
    SetMathErrorReporter(previous);
    EXPECT_EQ(Diagnostics(),
              (std::vector<std::string>{"ellpk: singularity", "ModulusFromNome: domain"}));
    EXPECT_EQ(e.ZOrder(), 0);
}

TEST(EllfFailures, EllipticDesignLostToRoundingIsRefused) {
    // Order 46 still keeps its 1 dB ripple; at order 50 the poles nearest the
    // band edge are placed too coarsely and the edge would sink to -4.6 dB.
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kElliptic, 46, 2.0, 0.0, 0.2, 1.0, -60.0));
    EXPECT_NEAR(20.0 * std::log10(MagnitudeAt(e, 0.2)), -1.0, 0.001);
    EXPECT_FALSE(e.Run(ellf::kLowpass, ellf::kElliptic, 50, 2.0, 0.0, 0.2, 1.0, -60.0));
}

TEST(EllfRun, EdgesGivenInEitherOrder) {
    ellf a;
    ellf b;
    ASSERT_TRUE(a.Run(ellf::kBandpass, ellf::kElliptic, 3, 2.0, 0.2, 0.5, 1.0, -40.0));
    ASSERT_TRUE(b.Run(ellf::kBandpass, ellf::kElliptic, 3, 2.0, 0.5, 0.2, 1.0, -40.0));
    ASSERT_EQ(a.ZOrder(), b.ZOrder());
    for (int i = 0; i < a.ZOrder(); ++i) {
        EXPECT_EQ(a.Pole(i), b.Pole(i));
        EXPECT_EQ(a.Zero(i), b.Zero(i));
    }
    EXPECT_EQ(a.Gain(), b.Gain());
}

TEST(EllfRun, ReusedObjectGivesFreshResults) {
    ellf reused;
    ASSERT_TRUE(reused.Run(ellf::kBandstop, ellf::kChebyshev, 12, 2.0, 0.1, 0.7, 0.5, 0.0));
    EXPECT_FALSE(reused.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, 0.2));
    ASSERT_TRUE(reused.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, -60.0));
    ellf fresh;
    ASSERT_TRUE(fresh.Run(ellf::kLowpass, ellf::kElliptic, 3, 2.0, 0.0, 0.5, 1.0, -60.0));
    ASSERT_EQ(reused.ZOrder(), fresh.ZOrder());
    for (int i = 0; i < fresh.ZOrder(); ++i) {
        EXPECT_EQ(reused.Pole(i), fresh.Pole(i));
        EXPECT_EQ(reused.Zero(i), fresh.Zero(i));
    }
    EXPECT_TRUE(std::equal(fresh.Den().begin(), fresh.Den().end(), reused.Den().begin()));
    EXPECT_TRUE(std::equal(fresh.Num().begin(), fresh.Num().end(), reused.Num().begin()));
}

TEST(EllfRun, RootIndexOutOfRangeIsAContractViolation) {
    ellf e;
    ASSERT_TRUE(e.Run(ellf::kLowpass, ellf::kButterworth, 2, 2.0, 0.0, 0.5, 0.0, 0.0));
    const test::AssertCapture capture;
    EXPECT_EQ(e.Pole(2), korin::mcplx());
    EXPECT_EQ(e.Zero(-1), korin::mcplx());
    EXPECT_EQ(capture.Count(), 2U);
    EXPECT_TRUE(capture.SawFrom("design/ellf"));
}

} // namespace
} // namespace tarvo
