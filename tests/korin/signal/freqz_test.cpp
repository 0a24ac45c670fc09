#include "design_fixtures.h"
#include "korin/poly/mpoly.h"
#include "korin/signal/freqz.h"
#include "korin/signal/zp2sos.h"
#include "section_reference.h"
#include "support/assert_capture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace korin {
namespace {

using tarvo::test::AssertCapture;
using tarvo::test::DesignFixture;
using tarvo::test::LoadDesignFixtures;
using tarvo::test::ReferenceFreqzSos;

// |h - expected| <= tol * |expected| at every point; NaN where expected is NaN.
::testing::AssertionResult CloseRelative(const mvect& h, const mvect& expected, double tol) {
    if (h.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (std::size_t i = 0; i < h.size(); ++i) {
        const bool nan = std::isnan(expected[i].real()) || std::isnan(expected[i].imag());
        if (nan) {
            if (!std::isnan(h[i].real())) return ::testing::AssertionFailure() << "no NaN at " << i;
            continue;
        }
        if (!(Abs(h[i] - expected[i]) <= tol * Abs(expected[i]))) {
            return ::testing::AssertionFailure()
                   << "point " << i << ": (" << h[i].real() << ", " << h[i].imag() << ") against ("
                   << expected[i].real() << ", " << expected[i].imag() << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

mvect UnitCircle(std::int32_t n) {
    mvect s;
    for (std::int32_t i = 0; i < n; ++i)
        s.push_back(mcplx(0.0, std::numbers::pi * i / (n - 1)));
    return s;
}

TEST(FreqzSos, ReproducesSciPyResponses) {
    const auto& fixtures = LoadDesignFixtures();
    const mvect s = tarvo::test::GridPoints(fixtures.grid);
    for (const DesignFixture& d : fixtures.designs) {
        SCOPED_TRACE(d.name);
        mvect h;
        FreqzSos(d.sos, s, h);
        ASSERT_EQ(h.size(), d.h.size());
        for (std::size_t i = 0; i < h.size(); ++i) {
            const double expected = Abs(d.h[i]);
            if (expected <= 1e-6) continue;
            EXPECT_NEAR(20.0 * std::log10(Abs(h[i])), 20.0 * std::log10(expected), 1e-9);
            EXPECT_LE(Abs(h[i] - d.h[i]), 1e-9 * expected);
        }
    }
}

TEST(FreqzSos, EqualsTheRowByRowEvaluation) {
    const auto& fixtures = LoadDesignFixtures();
    mvect s = UnitCircle(385);
    // Points off the unit circle too: FreqzSos takes any s.
    for (int i = 0; i < 64; ++i)
        s.push_back(mcplx(-0.3 + 0.01 * i, 0.05 * i));
    for (const DesignFixture& d : fixtures.designs) {
        SCOPED_TRACE(d.name);
        msos ours;
        ZpToSos(ours, d.z, d.p);
        for (const msos* sos : {&d.sos, static_cast<const msos*>(&ours)}) {
            mvect h;
            mvect expected;
            FreqzSos(*sos, s, h);
            ReferenceFreqzSos(*sos, s, expected);
            ASSERT_TRUE(CloseRelative(h, expected, 1e-12));
        }
    }
}

TEST(FreqzSos, ComplexAndUnnormalisedRowsEqualTheRowByRowEvaluation) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> coeff(-2.0, 2.0);
    const mvect s = UnitCircle(777);
    for (int trial = 0; trial < 50; ++trial) {
        msos sos;
        const int rows = 1 + trial % 7;
        for (int r = 0; r < rows; ++r) {
            mvect& row = sos.AddRow();
            for (int c = 0; c < 6; ++c) {
                const bool complexRow = (trial + r) % 3 == 0;
                row.push_back(mcplx(coeff(rng), complexRow ? coeff(rng) : 0.0));
            }
        }
        mvect h;
        mvect expected;
        FreqzSos(sos, s, h);
        ReferenceFreqzSos(sos, s, expected);
        ASSERT_TRUE(CloseRelative(h, expected, 1e-12)) << "trial " << trial;
    }
}

TEST(FreqzSos, PolesAndZerosOnTheGridAndHugeCoefficients) {
    // A zero at +1 and a double pole at -1, both on grid points: an exact zero, and
    // a zero denominator that gives NaN.
    msos sos;
    sos.AddRow() = mvect{mcplx(1), mcplx(0), mcplx(-1), mcplx(1), mcplx(2), mcplx(1)};
    sos.AddRow() = mvect{mcplx(1), mcplx(0.5), mcplx(0.2), mcplx(1), mcplx(-0.4), mcplx(0.3)};
    const mvect s = UnitCircle(5);
    mvect h;
    mvect expected;
    FreqzSos(sos, s, h);
    ReferenceFreqzSos(sos, s, expected);
    EXPECT_EQ(h[0], mcplx(0.0));
    EXPECT_TRUE(std::isnan(h[4].real()) && std::isnan(h[4].imag()));
    EXPECT_TRUE(CloseRelative(h, expected, 1e-12));
}

// Rows scaled by 10^e: the response of each row is unchanged, its quadratics not.
mvect ScaledRow(double e, double b1, double b2, double a1, double a2) {
    const double c = std::pow(10.0, e);
    return mvect{mcplx(c), mcplx(c * b1), mcplx(c * b2), mcplx(c), mcplx(c * a1), mcplx(c * a2)};
}

TEST(FreqzSos, ProductsOutsideTheDoubleRangeFallBackToRowByRow) {
    const mvect grid = UnitCircle(101);
    mvect h;
    mvect expected;
    struct Case {
        const char* what;
        std::vector<double> exponents;
    };
    const Case cases[] = {
        {"products beyond 1e150: scaled division", {100, 100}},
        {"products that overflow", {100, 100, 100, 100}},
        {"products that underflow to zero", {-100, -100, -100, -100}},
        {"products through the subnormal range and back", {-105, -105, -105, 105, 105, 105}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        msos sos;
        for (const double e : c.exponents)
            sos.AddRow() = ScaledRow(e, 0.3, 0.2, -0.5, 0.1);
        sos[0][4] = sos[0][4] * 2.0; // keep the rows from cancelling exactly
        FreqzSos(sos, grid, h);
        ReferenceFreqzSos(sos, grid, expected);
        EXPECT_TRUE(CloseRelative(h, expected, 1e-12));
        for (const mcplx& v : h)
            ASSERT_TRUE(std::isfinite(v.real()) && std::isfinite(v.imag()));
    }
}

TEST(FreqzSos, GainTimesSectionsEqualsTheExpandedPolynomials) {
    const auto& fixtures = LoadDesignFixtures();
    const mvect s = UnitCircle(301);
    int checked = 0;
    for (const DesignFixture& d : fixtures.designs) {
        if (d.z.size() > 6) continue;
        SCOPED_TRACE(d.name);
        msos sos;
        sos.gain = d.k;
        ZpToSos(sos, d.z, d.p);
        mvect b;
        mvect a;
        Poly(d.z, b);
        Poly(d.p, a);
        b.Scale(mcplx(d.k));
        mvect hSos;
        mvect hBA;
        FreqzSos(sos, s, hSos);
        hSos.Scale(mcplx(sos.gain));
        FreqzBA(b, a, s, hBA);
        for (std::size_t i = 0; i < s.size(); ++i) {
            // The expanded form loses absolute accuracy near its multiple zeros.
            EXPECT_LE(Abs(hSos[i] - hBA[i]), 1e-9 * Abs(hBA[i]) + 1e-12);
        }
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST(FreqzBA, AveragerExample) {
    const mvect b{mcplx(0.5), mcplx(0.5)};
    const mvect a{mcplx(1), mcplx(0)};
    mvect h;
    FreqzBA(b, a, mvect{mcplx(0.0), mcplx(0.0, std::numbers::pi)}, h);
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0], mcplx(1.0));
    EXPECT_LT(Abs(h[1]), 1e-16);
}

TEST(FreqzBA, EmptyDenominatorAndEmptyNumerator) {
    const mvect s{mcplx(0.0), mcplx(0.0, 0.5)};
    mvect h;
    FreqzBA(mvect{mcplx(1), mcplx(1)}, mvect{}, s, h);
    EXPECT_EQ(h[0], mcplx(2.0));
    EXPECT_NEAR(h[1].real(), 1.0 + std::cos(0.5), 1e-15);

    AssertCapture capture;
    FreqzBA(mvect{}, mvect{mcplx(1)}, s, h);
    EXPECT_EQ(h, (mvect{mcplx(), mcplx()}));
    EXPECT_TRUE(capture.Saw("false"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(FreqzSos, NoRowsGiveOnesAndShortRowsAreLeftOut) {
    const mvect s{mcplx(0.0), mcplx(0.0, 1.0)};
    msos sos;
    mvect h;
    FreqzSos(sos, s, h);
    EXPECT_EQ(h, (mvect{mcplx(1.0), mcplx(1.0)}));

    sos.AddRow() = mvect{mcplx(1), mcplx(1), mcplx(0), mcplx(1), mcplx(0)};
    sos.AddRow() = mvect{mcplx(2), mcplx(0), mcplx(0), mcplx(1), mcplx(0), mcplx(0)};
    AssertCapture capture;
    FreqzSos(sos, s, h);
    EXPECT_TRUE(capture.Saw("sos[i].size() == 6"));
    EXPECT_TRUE(capture.SawFrom("korin/signal/freqz"));
    EXPECT_EQ(h, (mvect{mcplx(2.0), mcplx(2.0)}));
}

TEST(FreqzSos, OutputMayBeTheInput) {
    msos sos;
    sos.AddRow() = mvect{mcplx(1), mcplx(1), mcplx(0), mcplx(1), mcplx(-0.5), mcplx(0)};
    mvect s = UnitCircle(9);
    mvect expected;
    ReferenceFreqzSos(sos, s, expected);
    FreqzSos(sos, s, s);
    EXPECT_TRUE(CloseRelative(s, expected, 1e-12));
}

} // namespace
} // namespace korin
