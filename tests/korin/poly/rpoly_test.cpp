#include "korin/poly/rpoly.h"
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace korin {
namespace {

constexpr double kEta = 2.22e-16;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- Residuals evaluated in double-double arithmetic ---------------------------
// The value of p at a computed root is pure rounding noise in double; evaluated
// with about 106 bits it is the true residual of the double coefficients.

struct DD {
    double hi = 0.0;
    double lo = 0.0;
};

DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

DD Normalize(double hi, double lo) {
    const double s = hi + lo;
    return {s, lo - (s - hi)};
}

DD Add(DD a, DD b) {
    const DD s = TwoSum(a.hi, b.hi);
    return Normalize(s.hi, s.lo + a.lo + b.lo);
}

DD Mul(DD a, double b) {
    const double p = a.hi * b;
    return Normalize(p, std::fma(a.hi, b, -p) + a.lo * b);
}

DD Neg(DD a) {
    return {-a.hi, -a.lo};
}

// |p(z)| / sum_k |p_k| |z|^(n-k): the componentwise backward error of z as a root,
// in units of 1. Evaluated from the low end at 1/z when |z| > 1 (the ratio is the
// same), so that no power of z overflows.
double RelativeResidual(const std::vector<double>& p, double x, double y) {
    const std::size_t n = p.size() - 1;
    const bool reversed = std::hypot(x, y) > 1.0;
    if (reversed) {
        const double m = x * x + y * y;
        x = x / m;
        y = -y / m;
    }
    DD re{reversed ? p[n] : p[0], 0.0};
    DD im{};
    double bound = std::abs(re.hi);
    const double az = std::hypot(x, y);
    for (std::size_t k = 1; k <= n; ++k) {
        const double c = reversed ? p[n - k] : p[k];
        const DD nre = Add(Add(Mul(re, x), Neg(Mul(im, y))), DD{c, 0.0});
        const DD nim = Add(Mul(re, y), Mul(im, x));
        re = nre;
        im = nim;
        bound = bound * az + std::abs(c);
    }
    const double value = std::hypot(re.hi, im.hi);
    return value == 0.0 ? 0.0 : value / bound;
}

// The bound every root normally meets: the stopping test of the iteration, 20 eta
// of the running rounding-error sum, which is at most (n + 1) times the plain sum.
double ResidualBound(std::size_t degree) {
    return 20.0 * static_cast<double>(degree + 1) * kEta;
}

// ---- Properties every result has ------------------------------------------------

// Complex roots come as exact conjugates, (re, +im) directly followed by (re, -im).
void ExpectConjugatePairs(const std::vector<double>& re, const std::vector<double>& im) {
    for (std::size_t i = 0; i < re.size(); ++i) {
        ASSERT_TRUE(std::isfinite(re[i]) && std::isfinite(im[i])) << "root " << i;
        if (im[i] == 0.0) continue;
        ASSERT_GT(im[i], 0.0) << "root " << i << " starts a pair";
        ASSERT_LT(i + 1, re.size());
        EXPECT_EQ(re[i + 1], re[i]) << "root " << i;
        EXPECT_EQ(im[i + 1], -im[i]) << "root " << i;
        ++i;
    }
}

void ExpectResiduals(const std::vector<double>& p, const std::vector<double>& re,
                     const std::vector<double>& im, double bound) {
    for (std::size_t i = 0; i < re.size(); ++i)
        EXPECT_LE(RelativeResidual(p, re[i], im[i]), bound)
            << "root " << i << " = " << re[i] << " + " << im[i] << "j";
}

// ---- Reference polynomials --------------------------------------------------------

struct ExactRoot {
    double re = 0.0;
    double im = 0.0;
    double sensitivity = 0.0; // |shift| per unit relative coefficient perturbation
    double separation = 0.0;  // distance to the nearest other root
};

struct Reference {
    std::string name;
    std::vector<double> coeffs;
    std::vector<ExactRoot> roots;
};

std::vector<double> ParseNumbers(std::istringstream& in) {
    std::vector<double> out;
    std::string token;
    while (in >> token)
        out.push_back(std::strtod(token.c_str(), nullptr)); // hex floats too
    return out;
}

std::vector<Reference> LoadReferences() {
    std::vector<Reference> refs;
    std::ifstream file(tarvo::test::FixturePath("rpoly_roots.txt"));
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "poly") {
            refs.emplace_back();
            in >> refs.back().name;
        } else if (tag == "c" && !refs.empty()) {
            refs.back().coeffs = ParseNumbers(in);
        } else if (tag == "r" && !refs.empty()) {
            const std::vector<double> v = ParseNumbers(in);
            if (v.size() == 4) refs.back().roots.push_back({v[0], v[1], v[2], v[3]});
        }
    }
    return refs;
}

const std::vector<Reference>& References() {
    static const std::vector<Reference> refs = LoadReferences();
    return refs;
}

// How far a computed root may lie from the exact one: the first-order shift for the
// promised backward error, twice over, plus the rounding of the root itself.
double Tolerance(const ExactRoot& e, std::size_t degree) {
    return 2.0 * ResidualBound(degree) * e.sensitivity + 4.0 * kEta * std::hypot(e.re, e.im);
}

// Compared where that is far below the distance to the next root (the first-order
// bound holds and the match is unambiguous), and always for the exact zeros.
bool Comparable(const ExactRoot& e, std::size_t degree) {
    return e.sensitivity == 0.0 || Tolerance(e, degree) < 0.01 * e.separation;
}

TEST(RealPolyRootsReference, FixtureIsComplete) {
    const auto& refs = References();
    ASSERT_GE(refs.size(), 40u) << tarvo::test::FixturePath("rpoly_roots.txt");
    for (const auto& r : refs) {
        EXPECT_EQ(r.roots.size() + 1, r.coeffs.size()) << r.name;
        EXPECT_GE(r.roots.size(), 3u) << r.name;
        EXPECT_LE(r.roots.size(), 50u) << r.name;
    }
    // Most roots are conditioned well enough to be compared with the exact ones.
    std::size_t comparable = 0;
    for (const auto& r : refs)
        for (const auto& e : r.roots)
            comparable += Comparable(e, r.roots.size()) ? 1 : 0;
    EXPECT_GE(comparable, 600u);
}

class RealPolyRootsReferenceTest : public ::testing::TestWithParam<std::string> {
protected:
    const Reference& Ref() const {
        for (const auto& r : References())
            if (r.name == GetParam()) return r;
        static const Reference missing;
        ADD_FAILURE() << "no reference " << GetParam();
        return missing;
    }
};

// Each computed root against the exact ones: where the first-order error bound for
// the promised backward error is far below the distance to the next root, the
// computed root must lie within it, and each exact root is matched once.
TEST_P(RealPolyRootsReferenceTest, RootsMeetTheResidualBoundAndMatchTheExactRoots) {
    const Reference& ref = Ref();
    if (ref.coeffs.empty()) return;
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots(ref.coeffs, re, im));
    const std::size_t n = ref.roots.size();
    ASSERT_EQ(re.size(), n);
    ASSERT_EQ(im.size(), n);
    ExpectConjugatePairs(re, im);
    ExpectResiduals(ref.coeffs, re, im, ResidualBound(n));

    // Exact zero coefficients at the end are reported first, as exact zeros.
    std::size_t zeros = 0;
    while (ref.coeffs[ref.coeffs.size() - 1 - zeros] == 0.0)
        ++zeros;
    for (std::size_t i = 0; i < zeros; ++i) {
        EXPECT_EQ(re[i], 0.0);
        EXPECT_EQ(im[i], 0.0);
    }

    std::vector<bool> used(n, false);
    std::size_t compared = 0;
    for (const ExactRoot& e : ref.roots) {
        if (!Comparable(e, n)) continue;
        const double tol = Tolerance(e, n);
        ++compared;
        std::size_t best = n;
        double bestDist = kInf;
        for (std::size_t i = 0; i < n; ++i) {
            const double d = std::hypot(re[i] - e.re, im[i] - e.im);
            if (!used[i] && d < bestDist) {
                bestDist = d;
                best = i;
            }
        }
        ASSERT_LT(best, n);
        EXPECT_LE(bestDist, tol) << "exact root " << e.re << " + " << e.im << "j";
        used[best] = true;
    }
    RecordProperty("compared", static_cast<int>(compared));
}

std::vector<std::string> ReferenceNames() {
    std::vector<std::string> names;
    for (const auto& r : References())
        names.push_back(r.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Fixture, RealPolyRootsReferenceTest, ::testing::ValuesIn(ReferenceNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string s = info.param;
                             std::replace(s.begin(), s.end(), '-', '_');
                             return s;
                         });

// ---- Edge cases -------------------------------------------------------------------

TEST(RealPolyRoots, FailsWithoutLeadingCoefficientOrRoots) {
    const std::vector<std::vector<double>> bad = {
        {}, {3.0}, {0.0}, {0.0, 0.0, 0.0}, {0.0, 1.0, 2.0, 3.0}, {0.0, 1.0, 0.0},
    };
    for (const auto& p : bad) {
        std::vector<double> re{9.0};
        std::vector<double> im{9.0};
        EXPECT_FALSE(RealPolyRoots(p, re, im)) << "size " << p.size();
        EXPECT_TRUE(re.empty());
        EXPECT_TRUE(im.empty());
    }
}

TEST(RealPolyRoots, FailsOnNonFiniteCoefficients) {
    for (const double bad : {kNaN, kInf, -kInf}) {
        for (std::size_t at = 0; at < 4; ++at) {
            std::vector<double> p{1.0, -6.0, 11.0, -6.0};
            p[at] = bad;
            std::vector<double> re;
            std::vector<double> im;
            EXPECT_FALSE(RealPolyRoots(p, re, im)) << "at " << at;
            EXPECT_TRUE(re.empty());
        }
    }
}

TEST(RealPolyRoots, TrailingZerosAreRootsZeroReportedFirst) {
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots({4.0, 0.0, 0.0, 0.0}, re, im));
    EXPECT_EQ(re, std::vector<double>(3, 0.0));
    EXPECT_EQ(im, std::vector<double>(3, 0.0));

    ASSERT_TRUE(RealPolyRoots({1.0, -2.5, 0.0, 0.0}, re, im));
    EXPECT_EQ(re, (std::vector<double>{0.0, 0.0, 2.5}));
    EXPECT_EQ(im, (std::vector<double>{0.0, 0.0, 0.0}));

    // Inner zeros are coefficients like any other.
    ASSERT_TRUE(RealPolyRoots({1.0, 0.0, -4.0, 0.0}, re, im));
    ASSERT_EQ(re.size(), 3u);
    EXPECT_EQ(re[0], 0.0);
    EXPECT_NEAR(std::min(re[1], re[2]), -2.0, 4 * kEta);
    EXPECT_NEAR(std::max(re[1], re[2]), 2.0, 4 * kEta);
}

TEST(RealPolyRoots, LinearAndQuadraticAreSolvedDirectly) {
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots({2.0, -4.0}, re, im));
    EXPECT_EQ(re, std::vector<double>{2.0});
    EXPECT_EQ(im, std::vector<double>{0.0});
    // The smaller real root first; a pair with the positive imaginary part first.
    ASSERT_TRUE(RealPolyRoots({1.0, 99.0, -100.0}, re, im));
    EXPECT_EQ(re, (std::vector<double>{1.0, -100.0}));
    ASSERT_TRUE(RealPolyRoots({1.0, 0.0, 1.0}, re, im));
    EXPECT_EQ(re, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(im, (std::vector<double>{1.0, -1.0}));
    // No cancellation for a tiny root next to a large one.
    ASSERT_TRUE(RealPolyRoots({1.0, -1e10, 1.0}, re, im));
    EXPECT_NEAR(re[0], 1e-10, 1e-10 * 2 * kEta);
    EXPECT_NEAR(re[1], 1e10, 1e10 * 2 * kEta);
}

TEST(RealPolyRoots, SmallIntegerRootsAreFoundToRounding) {
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots({1.0, -10.0, 35.0, -50.0, 24.0}, re, im)); // 1, 2, 3, 4
    std::sort(re.begin(), re.end());
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(re[k], k + 1.0, 64 * kEta * (k + 1.0));
    EXPECT_EQ(im, std::vector<double>(4, 0.0));
}

// Each root of (re, im) within tol of a different root of (re0, im0).
void ExpectSameRoots(const std::vector<double>& re, const std::vector<double>& im,
                     const std::vector<double>& re0, const std::vector<double>& im0, double tol) {
    ASSERT_EQ(re.size(), re0.size());
    std::vector<bool> used(re0.size(), false);
    for (std::size_t i = 0; i < re.size(); ++i) {
        std::size_t best = re0.size();
        double bestDist = kInf;
        for (std::size_t j = 0; j < re0.size(); ++j) {
            const double d = std::hypot(re[i] - re0[j], im[i] - im0[j]);
            if (!used[j] && d < bestDist) {
                bestDist = d;
                best = j;
            }
        }
        ASSERT_LT(best, re0.size());
        EXPECT_LE(bestDist, tol) << "root " << re[i] << " + " << im[i] << "j";
        used[best] = true;
    }
}

// Multiplying the coefficients by a constant, or the variable by one, changes the
// roots exactly as it should, far beyond the range where powers would overflow.
TEST(RealPolyRoots, ScalingOfCoefficientsAndVariable) {
    const std::vector<double> base{1.0, -1.5, 2.25, -0.5, 0.75, -1.0, 0.2}; // degree 6
    std::vector<double> re0;
    std::vector<double> im0;
    ASSERT_TRUE(RealPolyRoots(base, re0, im0));
    for (const double c : {1e-300, 1e-200, 3.0, 1e200, 1e300}) {
        std::vector<double> p = base;
        for (double& x : p)
            x *= c;
        std::vector<double> re;
        std::vector<double> im;
        ASSERT_TRUE(RealPolyRoots(p, re, im)) << c;
        ExpectResiduals(p, re, im, ResidualBound(6));
        ExpectSameRoots(re, im, re0, im0, 1e-12);
    }
    for (const double s : {1e-40, 1e40}) {
        // p(z/s) * s^6 has the roots s * r.
        std::vector<double> p = base;
        for (std::size_t k = 0; k < p.size(); ++k)
            p[k] *= std::pow(s, static_cast<double>(k));
        std::vector<double> re;
        std::vector<double> im;
        ASSERT_TRUE(RealPolyRoots(p, re, im)) << s;
        ExpectResiduals(p, re, im, ResidualBound(6));
        for (std::size_t i = 0; i < re.size(); ++i) {
            re[i] /= s;
            im[i] /= s;
        }
        ExpectSameRoots(re, im, re0, im0, 1e-12);
    }
}

// ---- Random polynomials --------------------------------------------------------------
// Uniform values from raw generator bits, so the inputs are the same on every
// standard library.

class Random {
public:
    explicit Random(std::uint64_t seed) : rng_(seed) {}
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(rng_() >> 11) * 0x1.0p-53;
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }

private:
    std::mt19937_64 rng_;
};

// Expands prod (z - r) for real roots and conjugate pairs in double.
std::vector<double> FromRoots(const std::vector<double>& real,
                              const std::vector<std::pair<double, double>>& pairs) {
    std::vector<double> p{1.0};
    const auto multiply = [&p](const std::vector<double>& f) {
        std::vector<double> out(p.size() + f.size() - 1, 0.0);
        for (std::size_t i = 0; i < p.size(); ++i)
            for (std::size_t j = 0; j < f.size(); ++j)
                out[i + j] += p[i] * f[j];
        p = out;
    };
    for (const double r : real)
        multiply({1.0, -r});
    for (const auto& [x, y] : pairs)
        multiply({1.0, -2.0 * x, x * x + y * y});
    return p;
}

// Random real roots, conjugate pairs and both, degrees 3 to 50: every root meets the
// residual bound, and the count and the conjugate pairs are right.
TEST(RealPolyRoots, RandomRootSetsMeetTheResidualBound) {
    Random rnd(0x5eed);
    for (int trial = 0; trial < 240; ++trial) {
        const std::size_t n = 3 + rnd.Below(48);
        const int kind = trial % 4;
        std::vector<double> real;
        std::vector<std::pair<double, double>> pairs;
        while (real.size() + 2 * pairs.size() < n) {
            const std::size_t left = n - real.size() - 2 * pairs.size();
            if (kind == 0 || left == 1 || (kind == 2 && rnd.Below(3) == 0)) {
                real.push_back(rnd.Uniform(-2.0, 2.0));
            } else {
                // kind 3 spreads the moduli over six decades.
                const double m = kind == 3 ? std::pow(10.0, rnd.Uniform(-3.0, 3.0)) : 1.0;
                pairs.emplace_back(m * rnd.Uniform(-1.0, 1.0), m * rnd.Uniform(0.01, 1.0));
            }
        }
        const std::vector<double> p = FromRoots(real, pairs);
        SCOPED_TRACE("trial " + std::to_string(trial) + ", degree " + std::to_string(n));
        std::vector<double> re;
        std::vector<double> im;
        ASSERT_TRUE(RealPolyRoots(p, re, im));
        ASSERT_EQ(re.size(), n);
        ExpectConjugatePairs(re, im);
        ExpectResiduals(p, re, im, ResidualBound(n));
    }
}

// Roots of moduli 0.5 to 2 found in an order that divides out larger roots before
// smaller ones: division from the top alone loses so much that the final check
// rejects the roots, the split division keeps them exact.
TEST(RealPolyRoots, DeflationOutOfSizeOrderStaysAccurate) {
    const std::vector<double> p{0x1p+0,
                                -0x1.5687dbb10934ap+3,
                                0x1.3d4503baf431p+5,
                                -0x1.fd6aa356fce94p+3,
                                -0x1.4303bdf5322c5p+8,
                                0x1.d690f2c57b138p+9,
                                -0x1.85c7332fb717cp+7,
                                -0x1.0a7259426d14ap+12,
                                0x1.12170a7023602p+13,
                                0x1.de0b58461ae9p+7,
                                -0x1.bb675e968bbd6p+14,
                                0x1.5b25781962cc6p+15,
                                0x1.002a1f263e0f8p+11,
                                -0x1.86dec301549b8p+16,
                                0x1.118f614016c57p+17,
                                -0x1.7951fee2e6bc7p+14,
                                -0x1.6577c6f406f8ap+17,
                                0x1.14292ca209d29p+18,
                                -0x1.27b665eb8f412p+17,
                                -0x1.df0565ab0cd13p+16,
                                0x1.41009d28e9d3fp+18,
                                -0x1.3ef6863f4ce75p+18,
                                0x1.15a3af63f5276p+17,
                                0x1.50b8f616023b1p+16,
                                -0x1.b9aea8da891cap+17,
                                0x1.c5ebe4f910a7p+17,
                                -0x1.1bf73587ad621p+17,
                                0x1.221f479ef40d4p+15,
                                0x1.31ac3527b3a1ap+15,
                                -0x1.06037f02e9c6fp+16,
                                0x1.c99a49168caa2p+15,
                                -0x1.13c3b33974602p+15,
                                0x1.b7d7d7729ea7ap+13,
                                -0x1.92572160af6bap+10,
                                -0x1.75fad7340f94fp+11,
                                0x1.99563abb3c6dp+11,
                                -0x1.0df42996b6d51p+11,
                                0x1.0f9720ce99046p+10,
                                -0x1.b589f253b6b37p+8,
                                0x1.19a732cb089fdp+7,
                                -0x1.18ff154dfa944p+5,
                                0x1.9836b5be83e7ap+2,
                                -0x1.7edd4ed8dc062p-1,
                                0x1.5a06cca733bf6p-5};
    std::vector<double> re;
    std::vector<double> im;
    ASSERT_TRUE(RealPolyRoots(p, re, im));
    ASSERT_EQ(re.size(), 43u);
    ExpectConjugatePairs(re, im);
    ExpectResiduals(p, re, im, ResidualBound(43));
}

// Hostile inputs: coefficients over hundreds of decades, random zero coefficients,
// degrees up to 100. The result is a failure or roots that pass the final check
// (never NaN, infinity or a root that is not one), and the call always returns.
TEST(RealPolyRoots, HostileInputsFailCleanlyOrGiveRealRoots) {
    Random rnd(0xbad);
    int solved = 0;
    for (int trial = 0; trial < 160; ++trial) {
        const std::size_t n = 3 + rnd.Below(98);
        const double decades = (trial % 4 == 0) ? 300.0 : (trial % 4 == 1) ? 30.0 : 5.0;
        std::vector<double> p(n + 1);
        for (double& c : p) {
            c = rnd.Uniform(-1.0, 1.0) * std::pow(10.0, rnd.Uniform(-decades, decades));
            if (trial % 3 == 0 && rnd.Below(3) == 0) c = 0.0;
        }
        if (p[0] == 0.0) p[0] = 1.0;
        SCOPED_TRACE("trial " + std::to_string(trial) + ", degree " + std::to_string(n));
        std::vector<double> re;
        std::vector<double> im;
        const bool ok = RealPolyRoots(p, re, im);
        ASSERT_EQ(re.size(), im.size());
        EXPECT_TRUE(ok ? re.size() == n : re.size() < n);
        ExpectConjugatePairs(re, im);
        // What the final check lets through at most.
        ExpectResiduals(p, re, im, 3.0e4 * static_cast<double>(n + 1) * kEta);
        solved += ok ? 1 : 0;
    }
    EXPECT_GE(solved, 80); // the moderate classes are solved
}

} // namespace
} // namespace korin
