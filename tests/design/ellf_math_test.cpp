// The engine's special functions against mpmath values (tools/gen_ellf_fixtures.py),
// their error diagnostics and the complex helpers' edge cases.

#include "design/ellf_math.h"
#include "support/fixtures.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using korin::mcplx;

// Collects "routine: kind" for every diagnostic while alive.
class MathErrorLog {
public:
    MathErrorLog() : previous_(SetMathErrorReporter(&Record)) { Entries().clear(); }
    ~MathErrorLog() { SetMathErrorReporter(previous_); }
    MathErrorLog(const MathErrorLog&) = delete;
    MathErrorLog& operator=(const MathErrorLog&) = delete;

    static std::vector<std::string>& Entries() {
        static std::vector<std::string> entries;
        return entries;
    }

private:
    static void Record(const char* routine, const char* kind) {
        Entries().push_back(std::string(routine) + ": " + kind);
    }
    MathErrorReporter previous_;
};

using Strings = std::vector<std::string>;

// Rows of math.txt whose first word is tag, as numbers.
std::vector<std::vector<double>> Rows(const std::string& tag) {
    std::istringstream in(test::ReadFixture("ellf/math.txt"));
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first != tag) {
            continue;
        }
        std::vector<double> row;
        std::string word;
        while (words >> word) {
            row.push_back(std::strtod(word.c_str(), nullptr));
        }
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << tag;
    return rows;
}

double RelErr(double got, double want) {
    return std::abs(got - want) / std::abs(want);
}

TEST(EllfMath, EllpkMatchesHighPrecisionValues) {
    for (const auto& row : Rows("ellpk")) {
        EXPECT_LE(RelErr(ellpk(row[0]), row[1]), 4e-16) << "x = " << row[0];
    }
}

TEST(EllfMath, EllpkReportsSingularityAndDomain) {
    const MathErrorLog log;
    EXPECT_EQ(ellpk(0.0), DBL_MAX);
    EXPECT_EQ(ellpk(-0.5), 0.0);
    EXPECT_EQ(ellpk(1.5), 0.0);
    EXPECT_EQ(ellpk(std::nan("")), 0.0);
    EXPECT_EQ(MathErrorLog::Entries(),
              (Strings{"ellpk: singularity", "ellpk: domain", "ellpk: domain", "ellpk: domain"}));
}

TEST(EllfMath, EllikMatchesHighPrecisionValues) {
    const MathErrorLog log;
    for (const auto& row : Rows("ellik")) {
        EXPECT_LE(RelErr(ellik(row[0], row[1]), row[2]), 2e-15)
            << "phi = " << row[0] << ", m = " << row[1];
    }
    EXPECT_TRUE(MathErrorLog::Entries().empty());
}

TEST(EllfMath, EllikIsOddInPhi) {
    for (const double phi : {0.3, 1.4, 2.9, 8.0}) {
        EXPECT_EQ(ellik(-phi, 0.6), -ellik(phi, 0.6)) << phi;
    }
}

TEST(EllfMath, EllikReportsItsFailures) {
    const MathErrorLog log;
    EXPECT_EQ(ellik(std::numbers::pi / 2, 1.0), DBL_MAX);
    EXPECT_TRUE(std::isnan(ellik(0.5, -0.1)));
    EXPECT_TRUE(std::isnan(ellik(0.5, 1.1)));
    EXPECT_TRUE(std::isnan(ellik(std::numeric_limits<double>::infinity(), 0.5)));
    EXPECT_EQ(MathErrorLog::Entries(),
              (Strings{"ellik: singularity", "ellik: domain", "ellik: domain", "ellik: domain"}));
}

TEST(EllfMath, EllpjMatchesHighPrecisionValues) {
    const MathErrorLog log;
    for (const auto& row : Rows("ellpj")) {
        const JacobiElliptic j = ellpj(row[0], row[1]);
        const double tol = 4e-15 * std::max(1.0, std::abs(row[0]));
        EXPECT_NEAR(j.sn, row[2], tol) << "u = " << row[0] << ", m = " << row[1];
        EXPECT_NEAR(j.cn, row[3], tol) << "u = " << row[0] << ", m = " << row[1];
        EXPECT_NEAR(j.dn, row[4], tol) << "u = " << row[0] << ", m = " << row[1];
        EXPECT_NEAR(j.ph, row[5], tol) << "u = " << row[0] << ", m = " << row[1];
    }
    EXPECT_TRUE(MathErrorLog::Entries().empty());
}

TEST(EllfMath, EllpjAtTheQuarterPeriod) {
    // dn is cn / cos(phi - b) = 0/0 here; it must come out as sqrt(1 - m).
    const JacobiElliptic j = ellpj(ellpk(0.5), 0.5);
    EXPECT_NEAR(j.sn, 1.0, 1e-15);
    EXPECT_NEAR(j.cn, 0.0, 1e-15);
    EXPECT_NEAR(j.dn, std::sqrt(0.5), 1e-15);
}

TEST(EllfMath, EllpjOutsideItsDomain) {
    const MathErrorLog log;
    for (const double m : {-0.1, 1.5, std::nan("")}) {
        const JacobiElliptic j = ellpj(0.7, m);
        EXPECT_EQ(j.sn, 0.0);
        EXPECT_EQ(j.cn, 0.0);
        EXPECT_EQ(j.dn, 0.0);
        EXPECT_EQ(j.ph, 0.0);
    }
    EXPECT_EQ(MathErrorLog::Entries(),
              (Strings{"ellpj: domain", "ellpj: domain", "ellpj: domain"}));
}

TEST(EllfMath, ModulusFromNomeMatchesThetaFunctions) {
    for (const auto& row : Rows("nome")) {
        const std::optional<double> k = ModulusFromNome(row[0]);
        ASSERT_TRUE(k.has_value()) << row[0];
        EXPECT_NEAR(*k, row[1], 2e-15 * row[1]) << "q = " << row[0];
    }
}

TEST(EllfMath, ModulusFromNomeFailsInsteadOfLooping) {
    const MathErrorLog log;
    EXPECT_FALSE(ModulusFromNome(1.0).has_value());
    EXPECT_FALSE(ModulusFromNome(1.5).has_value());
    EXPECT_FALSE(ModulusFromNome(-0.1).has_value());
    EXPECT_FALSE(ModulusFromNome(std::nan("")).has_value());
    // Converges, but only after millions of terms.
    EXPECT_FALSE(ModulusFromNome(1.0 - 1e-12).has_value());
    EXPECT_EQ(
        MathErrorLog::Entries(),
        (Strings{"ModulusFromNome: domain", "ModulusFromNome: domain", "ModulusFromNome: domain",
                 "ModulusFromNome: domain", "ModulusFromNome: total loss of precision"}));
}

TEST(EllfMath, CdivDividesItsSecondArgumentByItsFirst) {
    const mcplx q = cdiv(mcplx(3.0, 4.0), mcplx(1.0, 2.0)); // (1 + 2j) / (3 + 4j)
    EXPECT_NEAR(q.real(), 0.44, 1e-16);
    EXPECT_NEAR(q.imag(), 0.08, 1e-16);
    const mcplx small = cdiv(mcplx(1e-100, 1e-100), mcplx(2e-100, 0.0));
    EXPECT_NEAR(small.real(), 1.0, 1e-15);
    EXPECT_NEAR(small.imag(), -1.0, 1e-15);
}

TEST(EllfMath, CdivReportsOverflow) {
    const MathErrorLog log;
    EXPECT_EQ(cdiv(mcplx(0.0, 0.0), mcplx(1.0, 0.0)), mcplx(DBL_MAX, DBL_MAX));
    EXPECT_EQ(cdiv(mcplx(1e-160, 0.0), mcplx(1e160, 0.0)), mcplx(DBL_MAX, DBL_MAX));
    EXPECT_EQ(MathErrorLog::Entries(), (Strings{"cdiv: overflow", "cdiv: overflow"}));
}

TEST(EllfMath, CabsScalesAwayOverflowAndUnderflow) {
    const MathErrorLog log;
    EXPECT_EQ(cabs(mcplx(3.0, 4.0)), 5.0);
    EXPECT_EQ(cabs(mcplx(-3.0, 0.0)), 3.0);
    EXPECT_EQ(cabs(mcplx(0.0, -2.0)), 2.0);
    EXPECT_NEAR(cabs(mcplx(3e300, 4e300)), 5e300, 5e300 * 4e-16);
    EXPECT_NEAR(cabs(mcplx(3e-300, -4e-300)), 5e-300, 5e-300 * 4e-16);
    EXPECT_EQ(cabs(mcplx(1.0, 1e-20)), 1.0);
    EXPECT_EQ(cabs(mcplx(1e-20, -1.0)), 1.0);
    EXPECT_EQ(cabs(mcplx(std::numeric_limits<double>::infinity(), 1.0)), HUGE_VAL);
    EXPECT_TRUE(std::isnan(cabs(mcplx(std::nan(""), 1.0))));
    EXPECT_TRUE(MathErrorLog::Entries().empty());
    EXPECT_EQ(cabs(mcplx(DBL_MAX, DBL_MAX)), HUGE_VAL);
    EXPECT_EQ(MathErrorLog::Entries(), (Strings{"cabs: overflow"}));
}

TEST(EllfMath, CsqrtReturnsTheRootInTheUpperHalfPlane) {
    const std::vector<mcplx> points = {
        {4.0, 0.0},   {-4.0, 0.0},   {0.0, 2.0},       {0.0, -2.0},     {3.0, 4.0},
        {3.0, -4.0},  {-3.0, 4.0},   {-3.0, -4.0},     {1.0, 1e-7},     {1.0, -1e-7},
        {-1.0, 1e-7}, {-1.0, -1e-7}, {1e-100, 1e-100}, {1e100, -1e100}, {0.0, 0.0}};
    for (const mcplx& z : points) {
        const mcplx r = csqrt(z);
        std::complex<double> want = std::sqrt(z.std());
        if (want.imag() < 0.0 || (want.imag() == 0.0 && want.real() < 0.0)) {
            want = -want;
        }
        const double tol = 4e-16 * std::abs(want);
        EXPECT_GE(r.imag(), 0.0) << z.real() << " " << z.imag();
        EXPECT_NEAR(r.real(), want.real(), tol) << z.real() << " " << z.imag();
        EXPECT_NEAR(r.imag(), want.imag(), tol) << z.real() << " " << z.imag();
    }
}

TEST(EllfMath, DiagnosticsAreSilentByDefaultButCounted) {
    const MathErrorReporter installed = SetMathErrorReporter(nullptr);
    const unsigned long before = MathErrorCount();
    EXPECT_EQ(ellpk(-1.0), 0.0);
    EXPECT_EQ(MathErrorCount(), before + 1);
    SetMathErrorReporter(installed);
}

TEST(EllfMath, ErrorKindNames) {
    EXPECT_STREQ(MathErrorName(MathError::Underflow), "underflow");
    EXPECT_STREQ(MathErrorName(MathError::TotalLoss), "total loss of precision");
    EXPECT_STREQ(MathErrorName(MathError::PartialLoss), "partial loss of precision");
    EXPECT_STREQ(MathErrorName(static_cast<MathError>(42)), "unknown");
}

} // namespace
} // namespace tarvo
