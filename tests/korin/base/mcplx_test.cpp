#include "korin/base/mcplx.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <random>

namespace korin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(McplxDivision, MatchesLongDivisionForOrdinaryValues) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> d(-10.0, 10.0);
    for (int i = 0; i < 1000; ++i) {
        const mcplx a(d(rng), d(rng));
        const mcplx b(d(rng), d(rng));
        const mcplx q = a / b;
        // (q * b) must give a back to a few ulps of |a|.
        const mcplx back = q * b;
        EXPECT_NEAR(back.real(), a.real(), 1e-14 * (Abs(a) + 1.0));
        EXPECT_NEAR(back.imag(), a.imag(), 1e-14 * (Abs(a) + 1.0));
    }
}

TEST(McplxDivision, ScalingAvoidsOverflowAndUnderflow) {
    // |b|^2 overflows a double, the quotient does not.
    const mcplx q = mcplx(1e300, 1e300) / mcplx(1e300, 1e300);
    EXPECT_DOUBLE_EQ(q.real(), 1.0);
    EXPECT_DOUBLE_EQ(q.imag(), 0.0);
    const mcplx r = mcplx(1e-300, 0) / mcplx(0, 1e-300);
    EXPECT_DOUBLE_EQ(r.real(), 0.0);
    EXPECT_DOUBLE_EQ(r.imag(), -1.0);
}

TEST(McplxDivision, ZeroOrNonFiniteDivisorGivesNaN) {
    for (const mcplx divisor : {mcplx(0, 0), mcplx(kInf, 0), mcplx(0, kNaN), mcplx(kInf, kInf)}) {
        const mcplx q = mcplx(1, 2) / divisor;
        EXPECT_TRUE(std::isnan(q.real()));
        EXPECT_TRUE(std::isnan(q.imag()));
    }
}

TEST(McplxModulus, NeitherOverflowsNorUnderflows) {
    EXPECT_DOUBLE_EQ(Abs(mcplx(3e300, 4e300)), 5e300);
    EXPECT_DOUBLE_EQ(Abs(mcplx(3e-310, 4e-310)), 5e-310);
    EXPECT_DOUBLE_EQ(Abs(mcplx(-3, 4)), 5.0);
    EXPECT_EQ(Abs(mcplx(0, 0)), 0.0);
    EXPECT_EQ(Abs(mcplx(1e-320, 0)), 1e-320);
}

TEST(McplxModulus, InfinityAndNaN) {
    EXPECT_EQ(Abs(mcplx(kInf, 1)), kInf);
    EXPECT_EQ(Abs(mcplx(1, -kInf)), kInf);
    EXPECT_TRUE(std::isnan(Abs(mcplx(kNaN, 1))));
    EXPECT_TRUE(std::isnan(Abs(mcplx(0, kNaN))));
}

TEST(McplxModulus, WithinTwoUlpsOfHypot) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> exponent(-300, 300);
    std::uniform_real_distribution<double> mant(-1, 1);
    for (int i = 0; i < 2000; ++i) {
        const double x = mant(rng) * std::pow(10.0, exponent(rng));
        const double y = mant(rng) * std::pow(10.0, exponent(rng));
        const double ref = std::hypot(x, y);
        EXPECT_LE(std::fabs(Abs(mcplx(x, y)) - ref),
                  2.0 * std::numeric_limits<double>::epsilon() * ref)
            << x << " " << y;
    }
}

TEST(McplxFunctions, ArgRange) {
    EXPECT_DOUBLE_EQ(Arg(mcplx(-1, 0)), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Arg(mcplx(-1, -0.0)), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Arg(mcplx(0, -1)), -std::numbers::pi / 2);
    EXPECT_EQ(Arg(mcplx(0, 0)), 0.0);
}

TEST(McplxFunctions, ExpLogSqrt) {
    const mcplx e = Exp(mcplx(0, std::numbers::pi / 2));
    EXPECT_NEAR(e.real(), 0.0, 1e-16);
    EXPECT_DOUBLE_EQ(e.imag(), 1.0);
    EXPECT_EQ(Log(mcplx(0, 0)).real(), -kInf);
    const mcplx l = Log(mcplx(0, -2));
    EXPECT_DOUBLE_EQ(l.real(), std::log(2.0));
    EXPECT_DOUBLE_EQ(l.imag(), -std::numbers::pi / 2);
    const mcplx s = Sqrt(mcplx(-4, 0));
    EXPECT_DOUBLE_EQ(s.real(), 0.0);
    EXPECT_DOUBLE_EQ(s.imag(), 2.0);
    const mcplx t = Sqrt(mcplx(0, 2));
    EXPECT_DOUBLE_EQ(t.real(), 1.0);
    EXPECT_DOUBLE_EQ(t.imag(), 1.0);
}

} // namespace
} // namespace korin
