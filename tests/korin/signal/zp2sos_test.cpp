#include "design_fixtures.h"
#include "korin/poly/mpoly.h"
#include "korin/signal/freqz.h"
#include "korin/signal/zp2sos.h"
#include "section_reference.h"
#include "support/assert_capture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

namespace korin {
namespace {

using tarvo::test::AssertCapture;
using tarvo::test::DesignFixture;
using tarvo::test::LoadDesignFixtures;
using tarvo::test::ReferencePairConjugates;
using tarvo::test::ReferenceZpToSos;

constexpr double kTol = 2.2204460492503102e-14;

mcplx Polar(double r, double theta) {
    return mcplx(std::polar(r, theta));
}

bool SameRows(const msos& a, const msos& b) {
    if (a.Rows() != b.Rows()) return false;
    for (std::size_t i = 0; i < a.Rows(); ++i) {
        if (!(a[i] == b[i])) return false;
    }
    return true;
}

// The roots of every row's numerator and denominator quadratics; the padding root 0
// of a first-order row (b2 = a2 = 0) is left out.
void SectionRoots(const msos& sos, mvect& zeros, mvect& poles) {
    zeros.clear();
    poles.clear();
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        const mvect& row = sos[i];
        const bool firstOrder = row[2] == mcplx() && row[5] == mcplx();
        for (int part = 0; part < 2; ++part) {
            mcplx r1;
            mcplx r2;
            QuadRoots(mvect{row[3 * part], row[3 * part + 1], row[3 * part + 2]}, r1, r2);
            mvect& out = part == 0 ? zeros : poles;
            if (firstOrder) {
                out.push_back(Abs(r1) >= Abs(r2) ? r1 : r2);
            } else {
                out.push_back(r1);
                out.push_back(r2);
            }
        }
    }
}

// Every expected root matched by its own actual root within tol * max(1, |root|).
::testing::AssertionResult SameMultiset(const mvect& expected, const mvect& actual, double tol) {
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure()
               << expected.size() << " roots expected, " << actual.size() << " found";
    }
    std::vector<bool> used(actual.size(), false);
    for (const mcplx& e : expected) {
        std::size_t best = actual.size();
        for (std::size_t j = 0; j < actual.size(); ++j) {
            if (!used[j] && (best == actual.size() || Abs(actual[j] - e) < Abs(actual[best] - e))) {
                best = j;
            }
        }
        if (Abs(actual[best] - e) > tol * std::max(1.0, Abs(e))) {
            return ::testing::AssertionFailure()
                   << "root (" << e.real() << ", " << e.imag() << ") not reproduced; nearest ("
                   << actual[best].real() << ", " << actual[best].imag() << ")";
        }
        used[best] = true;
    }
    return ::testing::AssertionSuccess();
}

// Real rows, monic quadratics, the given zeros and poles reproduced.
::testing::AssertionResult SoundSections(const msos& sos, const mvect& z, const mvect& p) {
    if (sos.Rows() != (z.size() + 1) / 2) {
        return ::testing::AssertionFailure() << sos.Rows() << " rows for " << z.size() << " roots";
    }
    if (!sos.IsReal()) return ::testing::AssertionFailure() << "complex rows";
    std::size_t firstOrder = 0;
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        if (sos[i].size() != 6 || !(sos[i][0] == mcplx(1.0)) || !(sos[i][3] == mcplx(1.0))) {
            return ::testing::AssertionFailure() << "row " << i << " is not two monic quadratics";
        }
        if (sos[i][2] == mcplx() && sos[i][5] == mcplx()) ++firstOrder;
    }
    if (firstOrder != z.size() % 2) {
        return ::testing::AssertionFailure() << firstOrder << " first-order rows";
    }
    mvect zeros;
    mvect poles;
    SectionRoots(sos, zeros, poles);
    if (auto r = SameMultiset(z, zeros, 1e-7); !r) return r << " (zeros)";
    if (auto r = SameMultiset(p, poles, 1e-7); !r) return r << " (poles)";
    return ::testing::AssertionSuccess();
}

// A conjugate-symmetric set of n roots with a random share of real roots, in random
// order. Zeros lean to the unit circle and to +-1 (often repeated), poles lie inside.
mvect RandomRoots(std::mt19937_64& rng, std::size_t n, bool zeros) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<std::size_t> pairsDist(0, n / 2);
    const std::size_t pairs = pairsDist(rng);
    mvect v;
    while (v.size() < 2 * pairs) {
        const double u = unit(rng);
        double r = zeros ? 1.0 : 0.1 + 0.899 * unit(rng);
        if (zeros && u < 0.3) r = 0.2 + 1.5 * unit(rng);
        const double theta = 0.01 + (std::numbers::pi - 0.02) * unit(rng);
        const mcplx c = Polar(r, theta);
        const int copies = (u > 0.85 && v.size() + 4 <= 2 * pairs) ? 2 : 1;
        for (int k = 0; k < copies; ++k) {
            v.push_back(c);
            v.push_back(Conj(c));
        }
    }
    while (v.size() < n) {
        const double u = unit(rng);
        if (zeros && u < 0.35) {
            v.push_back(mcplx(-1.0));
        } else if (zeros && u < 0.55) {
            v.push_back(mcplx(1.0));
        } else {
            v.push_back(mcplx(zeros ? 3.0 * unit(rng) - 1.5 : 1.96 * unit(rng) - 0.98));
        }
    }
    std::shuffle(v.begin(), v.end(), rng);
    return v;
}

TEST(ZpToSos, KeepsTheWrittenPairingWhereItGivesRealRows) {
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<std::size_t> sizes(1, 24);
    int identical = 0;
    int repaired = 0;
    for (int trial = 0; trial < 6000; ++trial) {
        const std::size_t n = sizes(rng);
        const mvect z = RandomRoots(rng, n, true);
        const mvect p = RandomRoots(rng, n, false);
        msos reference;
        ReferenceZpToSos(reference, z, p);
        msos sos;
        ZpToSos(sos, z, p);
        if (reference.IsReal()) {
            ASSERT_TRUE(SameRows(sos, reference)) << "trial " << trial;
            ++identical;
        } else {
            ASSERT_TRUE(SoundSections(sos, z, p)) << "trial " << trial;
            ++repaired;
        }
    }
    // Both kinds must be well represented for the comparison to mean anything.
    EXPECT_GT(identical, 1000);
    EXPECT_GT(repaired, 1000);
}

TEST(ZpToSos, SciPyDesignsGiveRealSectionsWithTheirResponse) {
    const auto& fixtures = LoadDesignFixtures();
    ASSERT_GT(fixtures.designs.size(), 250u);
    const mvect s = tarvo::test::GridPoints(fixtures.grid);
    int repaired = 0;
    for (const DesignFixture& d : fixtures.designs) {
        SCOPED_TRACE(d.name);
        msos sos;
        sos.gain = d.k;
        ZpToSos(sos, d.z, d.p);
        EXPECT_EQ(sos.gain, d.k);
        EXPECT_TRUE(SoundSections(sos, d.z, d.p));

        msos reference;
        ReferenceZpToSos(reference, d.z, d.p);
        if (reference.IsReal()) {
            EXPECT_TRUE(SameRows(sos, reference));
        } else {
            ++repaired;
        }

        mvect h;
        FreqzSos(sos, s, h);
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double expected = Abs(d.h[i]);
            if (expected <= 1e-6) continue;
            const double db = 20.0 * std::log10(Abs(h[i] * sos.gain));
            EXPECT_NEAR(db, 20.0 * std::log10(expected), 1e-9) << "w = " << fixtures.grid[i];
        }
    }
    // The odd-order Chebyshev bandstops and elliptic bandpasses need the repairs.
    EXPECT_GE(repaired, 20);
}

TEST(ZpToSos, ChebyshevBandstopAndEllipticBandpassNeedRepairs) {
    const auto& fixtures = LoadDesignFixtures();
    for (const char* name :
         {"cheby1 bandstop 7 0.05 0.1 1.0", "cheby1 bandstop 19 0.1 0.15 1.0",
          "ellip bandpass 3 0.1 0.2 0.1 80.0", "ellip bandpass 7 0.05 0.1 0.1 80.0"}) {
        SCOPED_TRACE(name);
        const auto it = std::find_if(fixtures.designs.begin(), fixtures.designs.end(),
                                     [&](const DesignFixture& d) { return d.name == name; });
        ASSERT_NE(it, fixtures.designs.end());
        msos reference;
        ReferenceZpToSos(reference, it->z, it->p);
        EXPECT_FALSE(reference.IsReal());
        msos sos;
        ZpToSos(sos, it->z, it->p);
        EXPECT_TRUE(SoundSections(sos, it->z, it->p));
    }
}

TEST(ZpToSos, ButterworthOrderThreePutsTheRealPoleFirst) {
    const auto& fixtures = LoadDesignFixtures();
    const auto it =
        std::find_if(fixtures.designs.begin(), fixtures.designs.end(), [](const DesignFixture& d) {
            return d.family == "butter" && d.type == "lowpass" && d.order == 3;
        });
    ASSERT_NE(it, fixtures.designs.end());
    mcplx real;
    mcplx pair;
    for (const mcplx& p : it->p)
        (p.imag() == 0.0 ? real : pair) = p;
    ASSERT_GT(std::fabs(Abs(real) - 1.0), std::fabs(Abs(pair) - 1.0));

    msos sos;
    ZpToSos(sos, it->z, it->p);
    ASSERT_EQ(sos.Rows(), 2u);
    // First the first-order section of the real pole, farther from the circle.
    EXPECT_EQ(sos[0], (mvect{mcplx(1), mcplx(1), mcplx(0), mcplx(1), -real, mcplx(0)}));
    EXPECT_FALSE(sos[0].column);
    EXPECT_EQ(sos[1][0], mcplx(1));
    EXPECT_EQ(sos[1][1], mcplx(2));
    EXPECT_EQ(sos[1][2], mcplx(1));
    EXPECT_NEAR(sos[1][4].real(), -2.0 * pair.real(), 1e-15);
    EXPECT_NEAR(sos[1][5].real(), Norm(pair), 1e-15);
}

TEST(ZpToSos, FourPolesAtOneRadiusKeepTheirPairs) {
    const double r = 0.9;
    const mvect p{Polar(r, 0.4), Polar(r, -1.3), Polar(r, -0.4), Polar(r, 1.3)};
    const mvect z{mcplx(-1), mcplx(1), mcplx(-1), mcplx(1)};
    msos sos;
    ZpToSos(sos, z, p);
    ASSERT_EQ(sos.Rows(), 2u);
    EXPECT_TRUE(sos.IsReal());
    std::vector<double> a1;
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(sos[i][5].real(), r * r, 1e-15);
        a1.push_back(sos[i][4].real());
    }
    std::sort(a1.begin(), a1.end());
    EXPECT_NEAR(a1[0], -2.0 * r * std::cos(0.4), 1e-15);
    EXPECT_NEAR(a1[1], -2.0 * r * std::cos(1.3), 1e-15);
    EXPECT_TRUE(SoundSections(sos, z, p));
}

TEST(ZpToSos, RealPolesAheadOfAPairArePairedWithEachOther) {
    // By distance from the circle: pair c1, real 0.9, pair c2, real 0.6, real 0.3.
    const mcplx c1 = Polar(0.97, 0.5);
    const mcplx c2 = Polar(0.8, 1.2);
    const mvect p{mcplx(0.3), c2, mcplx(0.9), Conj(c1), mcplx(0.6), c1, Conj(c2)};
    mvect z;
    z.Fill(7, mcplx(-1));
    msos reference;
    ReferenceZpToSos(reference, z, p);
    EXPECT_FALSE(reference.IsReal());

    msos sos;
    ZpToSos(sos, z, p);
    ASSERT_TRUE(SoundSections(sos, z, p));
    // By the distance of each section's nearest pole from the circle: the single
    // real pole 0.3 (0.7), the pair c2 (0.2), the real pair 0.6 and 0.9 (0.1), c1.
    EXPECT_EQ(sos[0][4], mcplx(-0.3));
    EXPECT_EQ(sos[0][5], mcplx(0.0));
    EXPECT_NEAR(sos[1][5].real(), Norm(c2), 1e-15);
    EXPECT_NEAR(sos[2][4].real(), -1.5, 1e-15);
    EXPECT_NEAR(sos[2][5].real(), 0.54, 1e-15);
    EXPECT_NEAR(sos[3][5].real(), Norm(c1), 1e-15);
}

TEST(ZpToSos, SingleZerosAtPlusAndMinusOneStayTogether) {
    // The pole nearest +1 takes +1; its conjugate would take a complex zero.
    const mcplx near = Polar(0.97, 0.05);
    const mcplx far = Polar(0.5, 2.0);
    const mcplx zc = Polar(1.0, 0.3);
    const mvect p{near, Conj(near), far, Conj(far)};
    const mvect z{mcplx(1), zc, mcplx(-1), Conj(zc)};
    msos reference;
    ReferenceZpToSos(reference, z, p);
    EXPECT_FALSE(reference.IsReal());

    msos sos;
    ZpToSos(sos, z, p);
    ASSERT_TRUE(SoundSections(sos, z, p));
    // The section of the poles near +1 (last: nearest the circle) has zeros +1 and -1.
    EXPECT_EQ(sos[1][1], mcplx(0.0));
    EXPECT_EQ(sos[1][2], mcplx(-1.0));
    EXPECT_NEAR(sos[0][1].real(), -2.0 * std::cos(0.3), 1e-15);
}

TEST(ZpToSos, LastRealZeroIsKeptForTheFirstOrderSection) {
    const mcplx near = Polar(0.97, 0.05);
    const mcplx far = Polar(0.5, 2.0);
    const mvect p{near, Conj(near), far, Conj(far), mcplx(0.1)};
    const mvect z{Polar(1.0, 0.3), mcplx(1), Polar(1.0, -0.3), Polar(1.0, 2.2), Polar(1.0, -2.2)};
    msos sos;
    ZpToSos(sos, z, p);
    ASSERT_TRUE(SoundSections(sos, z, p));
    // The first-order section (pole 0.1, farthest from the circle) has the zero +1.
    EXPECT_EQ(sos[0], (mvect{mcplx(1), mcplx(-1), mcplx(0), mcplx(1), mcplx(-0.1), mcplx(0)}));
}

TEST(ZpToSos, ContractViolationsLeaveNoRows) {
    msos sos;
    sos.AddRow() = mvect{mcplx(1), mcplx(0), mcplx(0), mcplx(1), mcplx(0), mcplx(0)};
    sos.gain = 2.5;
    {
        AssertCapture capture;
        ZpToSos(sos, mvect{}, mvect{mcplx(0.5)});
        EXPECT_TRUE(capture.Saw("z.size() > 0"));
        EXPECT_TRUE(capture.Saw("z.size() == p.size()"));
        EXPECT_TRUE(capture.SawFrom("korin/signal/zp2sos"));
    }
    EXPECT_EQ(sos.Rows(), 0u);
    EXPECT_EQ(sos.gain, 2.5);
    {
        AssertCapture capture;
        ZpToSos(sos, mvect{mcplx(1), mcplx(-1)}, mvect{mcplx(0.5)});
        EXPECT_EQ(capture.Count(), 1u);
        EXPECT_TRUE(capture.Saw("z.size() == p.size()"));
    }
    EXPECT_EQ(sos.Rows(), 0u);
}

TEST(ZpToSos, AsymmetricRootsGiveComplexRows) {
    const mvect z{mcplx(0.5, 0.5), mcplx(-1)};
    const mvect p{mcplx(0.2, 0.3), mcplx(0.4)};
    msos sos;
    ZpToSos(sos, z, p);
    ASSERT_EQ(sos.Rows(), 1u);
    EXPECT_FALSE(sos.IsReal());
    mvect zeros;
    mvect poles;
    SectionRoots(sos, zeros, poles);
    EXPECT_TRUE(SameMultiset(z, zeros, 1e-12));
    EXPECT_TRUE(SameMultiset(p, poles, 1e-12));
}

TEST(ZpToSos, AnyRootSetKeepsEveryRoot) {
    // Sets without conjugate symmetry, and non-finite roots: every root still ends
    // up in exactly one row.
    std::mt19937_64 rng(99);
    std::uniform_real_distribution<double> part(-1.5, 1.5);
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t n = 1 + static_cast<std::size_t>(trial % 17);
        mvect z;
        mvect p;
        for (std::size_t i = 0; i < n; ++i) {
            z.push_back(mcplx(part(rng), trial % 3 == 0 ? 0.0 : part(rng)));
            p.push_back(mcplx(part(rng), trial % 4 == 0 ? 0.0 : part(rng)));
        }
        msos sos;
        ZpToSos(sos, z, p);
        ASSERT_EQ(sos.Rows(), (n + 1) / 2);
        mvect zeros;
        mvect poles;
        SectionRoots(sos, zeros, poles);
        ASSERT_TRUE(SameMultiset(z, zeros, 1e-7)) << "trial " << trial;
        ASSERT_TRUE(SameMultiset(p, poles, 1e-7)) << "trial " << trial;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    msos sos;
    ZpToSos(sos, mvect{mcplx(nan), mcplx(1, inf), mcplx(-1), mcplx(0.5, 0.5), mcplx(0.5, -0.5)},
            mvect{mcplx(0.2), mcplx(nan, nan), mcplx(inf), mcplx(0.1, 0.3), mcplx(0.1, -0.3)});
    EXPECT_EQ(sos.Rows(), 3u);
}

TEST(PairConjugates, OrdersPairsThenReals) {
    mvect v{mcplx(3), mcplx(1, 2), mcplx(-1), mcplx(1, -2), mcplx(-2, 1), mcplx(-2, -1)};
    PairConjugates(v, kTol);
    EXPECT_EQ(v,
              (mvect{mcplx(-2, -1), mcplx(-2, 1), mcplx(1, -2), mcplx(1, 2), mcplx(-1), mcplx(3)}));
}

TEST(PairConjugates, MakesNearPairsExact) {
    mvect v{mcplx(0.5, 0.3 + 4e-15), mcplx(0.5 + 2e-15, -0.3)};
    PairConjugates(v, kTol);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[1], Conj(v[0]));
    EXPECT_DOUBLE_EQ(v[0].real(), 0.5 + 1e-15);
    EXPECT_LT(v[0].imag(), 0.0);
    // Farther apart than the tolerance: left alone.
    mvect w{mcplx(0.5, 0.3), mcplx(0.5, -0.3 + 1e-12)};
    PairConjugates(w, kTol);
    EXPECT_EQ(w[0], mcplx(0.5, -0.3 + 1e-12));
    EXPECT_EQ(w[1], mcplx(0.5, 0.3));
}

TEST(PairConjugates, AgreesWithThePairwiseRuleOnSeparatedValues) {
    std::mt19937_64 rng(7);
    for (int trial = 0; trial < 500; ++trial) {
        mvect v = RandomRoots(rng, 1 + static_cast<std::size_t>(trial % 23), trial % 2 == 0);
        mvect expected = v;
        ReferencePairConjugates(expected, kTol);
        PairConjugates(v, kTol);
        ASSERT_EQ(v, expected) << "trial " << trial;
    }
}

TEST(PairConjugates, OrderDoesNotDependOnTheInputOrder) {
    // Values on which a pairwise tolerance test is not transitive: real parts that
    // chain within the tolerance, values near the real/complex threshold, and zero
    // (whose tolerance is 0).
    const double e = 0.6 * kTol;
    const mvect values{mcplx(1.0, 0.5),
                       mcplx(1.0 + e, -0.25),
                       mcplx(1.0 + 2 * e, 0.125),
                       mcplx(1.0 + 3 * e, -0.75),
                       mcplx(0.0),
                       mcplx(0.7, 0.7 * 1.4 * kTol),
                       mcplx(0.7, -0.7 * 0.7 * kTol),
                       mcplx(-0.5),
                       mcplx(1.0, 0.0),
                       mcplx(0.25, 1e-300)};
    mvect first = values;
    PairConjugates(first, kTol);
    std::mt19937_64 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        mvect v = values;
        std::shuffle(v.begin(), v.end(), rng);
        PairConjugates(v, kTol);
        ASSERT_EQ(v, first);
    }
    // Five complex values, then the reals: zero and the values whose imaginary part
    // is below the tolerance count as real.
    EXPECT_NE(first[4].imag(), 0.0);
    EXPECT_EQ(first[5], mcplx(-0.5));
    EXPECT_EQ(first[6], mcplx(0.0));
    EXPECT_EQ(first[7].real(), 0.25);
    EXPECT_EQ(first[9], mcplx(1.0));
}

TEST(PairConjugates, NaNValuesGoLastInTheirOrder) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    mvect v{mcplx(nan, 1), mcplx(2), mcplx(0, nan), mcplx(1, 1), mcplx(1, -1)};
    PairConjugates(v, kTol);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[0], mcplx(1, -1));
    EXPECT_EQ(v[1], mcplx(1, 1));
    EXPECT_EQ(v[2], mcplx(2));
    EXPECT_EQ(v[3].imag(), 1.0);
    EXPECT_TRUE(std::isnan(v[4].imag()));
}

TEST(SortByUnitCircle, NearestFirstStableNaNLast) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    mvect v{mcplx(0.5), mcplx(nan), mcplx(0, 1.05), mcplx(1.5), mcplx(-0.9), mcplx(0, -1.05)};
    SortByUnitCircle(v);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[0], mcplx(0, 1.05));
    EXPECT_EQ(v[1], mcplx(0, -1.05));
    EXPECT_EQ(v[2], mcplx(-0.9));
    EXPECT_EQ(v[3], mcplx(0.5));
    EXPECT_EQ(v[4], mcplx(1.5));
    EXPECT_TRUE(std::isnan(v[5].real()));
}

TEST(SelectColumns, ReordersAndNegatesTheDenominatorTerms) {
    msos sos;
    sos.gain = 3.0;
    sos.AddRow() = mvect{mcplx(1), mcplx(2), mcplx(3), mcplx(4), mcplx(5), mcplx(6)};
    sos.AddRow() = mvect{mcplx(7), mcplx(8), mcplx(9), mcplx(10), mcplx(11, 1), mcplx(12)};
    const std::array<std::int32_t, 6> list{5, 2, 4, 1, 0, -1};
    const msos negated = SelectColumns(sos, list, true);
    EXPECT_EQ(negated.gain, 1.0);
    ASSERT_EQ(negated.Rows(), 2u);
    EXPECT_EQ(negated[0], (mvect{mcplx(-6), mcplx(3), mcplx(-5), mcplx(2), mcplx(1)}));
    EXPECT_EQ(negated[1], (mvect{mcplx(-12), mcplx(9), mcplx(-11, -1), mcplx(8), mcplx(7)}));
    EXPECT_TRUE(negated[0].column);

    const std::array<std::int32_t, 5> plain{0, 1, 2, 4, 5};
    const msos kept = SelectColumns(sos, plain, false);
    EXPECT_EQ(kept[0], (mvect{mcplx(1), mcplx(2), mcplx(3), mcplx(5), mcplx(6)}));

    const std::array<std::int32_t, 2> bad{0, 6};
    EXPECT_THROW(SelectColumns(sos, bad, false), std::out_of_range);
}

} // namespace
} // namespace korin
