#include "korin/poly/mpoly.h"
#include "korin/poly/rpoly.h"
#include "support/assert_capture.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace korin {
namespace {

constexpr double kEta = 2.22e-16;
constexpr mcplx j(0.0, 1.0);

mvect V(std::initializer_list<mcplx> values) {
    return mvect(values);
}

bool NonFinite(const mcplx& z) {
    return !std::isfinite(z.real()) || !std::isfinite(z.imag());
}

TEST(PolyVal, HornerValues) {
    const mvect p = V({1, 2, 1});
    EXPECT_EQ(PolyVal(p, -1.0), mcplx(0.0));
    EXPECT_EQ(PolyVal(p, 2.0), mcplx(9.0));
    // (x + 1)^2 at j is 2j.
    EXPECT_EQ(PolyVal(p, j), mcplx(0.0, 2.0));
    EXPECT_EQ(PolyVal(V({mcplx(3, -1)}), 100.0), mcplx(3, -1));
}

TEST(PolyVal, EmptyPolynomialIsReportedAndGivesZero) {
    tarvo::test::AssertCapture capture;
    EXPECT_EQ(PolyVal(mvect(), 2.0), mcplx(0.0));
    ASSERT_EQ(capture.Count(), 1u);
    EXPECT_TRUE(capture.Saw("false"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(PolyValAt, ReplacesTargetWithOneValuePerPoint) {
    mvect y = V({7, 7, 7, 7, 7});
    PolyValAt(V({1, 0, -1}), V({0, 1, 2, j}), y);
    EXPECT_EQ(y, V({-1, 0, 3, -2}));
    PolyValAt(V({1, 0, -1}), mvect(), y);
    EXPECT_TRUE(y.empty());
}

TEST(Poly, ExpandsRootsInOrder) {
    mvect p;
    Poly(V({-1, -1}), p);
    EXPECT_EQ(p, V({1, 2, 1}));
    Poly(V({1, 2, 3}), p);
    EXPECT_EQ(p, V({1, -6, 11, -6}));
}

TEST(Poly, ConjugateRootsGiveExactlyRealCoefficients) {
    mvect p;
    Poly(V({j, -j}), p);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p, V({1, 0, 1}));
    EXPECT_TRUE(p.IsReal());
    // Rounding leaves imaginary parts of about 1e-17 that must be dropped.
    const mcplx r(0.3, 0.7);
    Poly(V({r, Conj(r), mcplx(-0.1, 0.9), mcplx(-0.1, -0.9)}), p);
    EXPECT_TRUE(p.IsReal());
}

TEST(Poly, ConjugateSetsAreRealEvenWhereACoefficientCancels) {
    // A symmetric band-pass zero set: the middle coefficient cancels to about 0
    // and keeps an imaginary rounding residue larger than 1e-12 of its real part.
    const double a = 0.9;
    const mcplx u(std::cos(a), std::sin(a));
    const mcplx w(-std::cos(a), std::sin(a));
    mvect p;
    Poly(V({1, -1, u, Conj(u), w, Conj(w)}), p);
    EXPECT_TRUE(p.IsReal());
    EXPECT_NEAR(p[3].real(), 0.0, 1e-15);
    // Conjugates need not stand next to each other.
    mvect shuffled;
    Poly(V({u, w, 1, Conj(w), -1, Conj(u)}), shuffled);
    EXPECT_TRUE(shuffled.IsReal());
    // Without exact symmetry the residue is kept.
    mvect q;
    Poly(V({mcplx(0.5, 0.5), mcplx(0.5, -0.5), mcplx(0, 1e-3)}), q);
    EXPECT_FALSE(q.IsReal());
}

TEST(Poly, EmptyRootListLeavesTargetUnchanged) {
    mvect p = V({4, 5});
    Poly(mvect(), p);
    EXPECT_EQ(p, V({4, 5}));
}

TEST(Poly, SameObjectIsReportedAndLeftUnchanged) {
    tarvo::test::AssertCapture capture;
    mvect r = V({1, 2});
    Poly(r, r);
    EXPECT_EQ(r, V({1, 2}));
    EXPECT_TRUE(capture.Saw("&R != &P"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(QuadRoots, PlusSquareRootFirst) {
    mcplx r1;
    mcplx r2;
    QuadRoots(V({1, 2, 1}), r1, r2);
    EXPECT_EQ(r1, mcplx(-1.0));
    EXPECT_EQ(r2, mcplx(-1.0));
    QuadRoots(V({1, 0, 1}), r1, r2);
    EXPECT_EQ(r1, j);
    EXPECT_EQ(r2, -j);
    QuadRoots(V({2, -6, 4}), r1, r2);
    EXPECT_EQ(r1, mcplx(2.0));
    EXPECT_EQ(r2, mcplx(1.0));
    // Complex coefficients: (x - j)(x - 2) = x^2 - (2 + j)x + 2j.
    QuadRoots(V({1, mcplx(-2, -1), mcplx(0, 2)}), r1, r2);
    EXPECT_NEAR(r1.real(), 2.0, 4 * kEta);
    EXPECT_NEAR(r1.imag(), 0.0, 4 * kEta);
    EXPECT_NEAR(r2.real(), 0.0, 4 * kEta);
    EXPECT_NEAR(r2.imag(), 1.0, 4 * kEta);
}

TEST(QuadRoots, ZeroLeadingCoefficientGivesNonFiniteRoots) {
    mcplx r1;
    mcplx r2;
    QuadRoots(V({0, 1, 1}), r1, r2);
    EXPECT_TRUE(NonFinite(r1));
    EXPECT_TRUE(NonFinite(r2));
    QuadRoots(V({0, 0, 1}), r1, r2);
    EXPECT_TRUE(NonFinite(r1));
    EXPECT_TRUE(NonFinite(r2));
}

TEST(QuadRoots, OtherSizesAreReportedAndUseTheFirstThree) {
    tarvo::test::AssertCapture capture;
    mcplx r1;
    mcplx r2;
    QuadRoots(V({1, -3, 2, 99}), r1, r2);
    EXPECT_EQ(r1, mcplx(2.0));
    EXPECT_EQ(r2, mcplx(1.0));
    QuadRoots(V({1, -1}), r1, r2); // missing c counts as 0
    EXPECT_EQ(r1, mcplx(1.0));
    EXPECT_EQ(r2, mcplx(0.0));
    EXPECT_EQ(capture.Count(), 2u);
    EXPECT_TRUE(capture.Saw("P.size() == 3"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(Roots, LinearAndQuadratic) {
    mvect r = V({5, 5, 5});
    Roots(V({1, -3}), r);
    EXPECT_EQ(r, V({3}));
    Roots(V({1, 2, 1}), r);
    EXPECT_EQ(r, V({-1, -1}));
    Roots(V({1, 0, 1}), r);
    EXPECT_EQ(r, V({j, -j}));
    // A padded first-order section: the root 0 is not reported.
    Roots(V({1, 0.5, 0}), r);
    EXPECT_EQ(r, V({-0.5}));
    Roots(V({1, 0, 0}), r);
    EXPECT_TRUE(r.empty());
    Roots(V({1}), r);
    EXPECT_TRUE(r.empty());
}

TEST(Roots, EmptyPolynomialIsReportedAndLeavesRootsAlone) {
    tarvo::test::AssertCapture capture;
    mvect r = V({5});
    Roots(mvect(), r);
    EXPECT_EQ(r, V({5}));
    EXPECT_TRUE(capture.Saw("false"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(Roots, NonMonicIsReportedAndTheComputationContinues) {
    tarvo::test::AssertCapture capture;
    mvect r;
    Roots(V({2, -6}), r); // degree 1 takes -p1 as it stands
    EXPECT_EQ(r, V({6}));
    Roots(V({2, -6, 4}), r);
    EXPECT_EQ(r, V({2, 1}));
    Roots(V({2, -12, 22, -12}), r); // 2(x-1)(x-2)(x-3)
    EXPECT_EQ(r.size(), 3u);
    EXPECT_EQ(capture.Count(), 3u);
    EXPECT_TRUE(capture.Saw("P[0] == mreal(1.0)"));
    EXPECT_TRUE(capture.SawFrom("korin/poly/mpoly"));
}

TEST(Roots, CubicAndAboveUseTheRealPolynomialSolver) {
    const mvect p = V({1, -6, 11, -6});
    mvect r = V({9});
    Roots(p, r);
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots({1, -6, 11, -6}, re, im));
    ASSERT_EQ(r.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(r[i], mcplx(re[i], im[i])); // same order
    std::vector<double> sorted{r[0].real(), r[1].real(), r[2].real()};
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(sorted[k], k + 1.0, 16 * kEta * (k + 1));
}

TEST(Roots, ImaginaryPartsOfTheCoefficientsAreIgnored) {
    mvect a;
    mvect b;
    Roots(V({1, 0, 0, 1}), a);
    Roots(V({mcplx(1, 0), mcplx(0, 3), mcplx(0, -1), mcplx(1, 7)}), b);
    EXPECT_EQ(a, b);
    // x^3 + 1: -1 and the pair e^(+-j pi/3), exactly conjugate.
    ASSERT_EQ(a.size(), 3u);
    int pairs = 0;
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        if (a[i].imag() != 0.0 && a[i + 1] == Conj(a[i])) ++pairs;
    EXPECT_EQ(pairs, 1);
}

TEST(Roots, ZeroCoefficientsAtTheEndGiveRootsZeroFirst) {
    mvect r;
    Roots(V({1, 2, 0, 0}), r);
    EXPECT_EQ(r, V({0, 0, -2}));
}

TEST(Roots, FailureLeavesRootsEmpty) {
    mvect r = V({1, 2, 3});
    Roots(V({1, std::numeric_limits<double>::quiet_NaN(), 1, 1}), r);
    EXPECT_TRUE(r.empty());

    tarvo::test::AssertCapture capture;
    r = V({1, 2, 3});
    Roots(V({0, 1, 2, 3}), r); // no leading coefficient: the solver refuses
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(capture.Saw("P[0] == mreal(1.0)"));
}

} // namespace
} // namespace korin
