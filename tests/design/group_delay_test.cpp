// The group-delay curve of complete designs against the exact derivative of the
// phase of the same sections, evaluated in 80 digits by
// tools/gen_group_delay_fixtures.py.

#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "fixture_design.h"
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <locale>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using korin::mvect;

// Relative to max(1 sample, |delay|) [worst measured 2.5e-13,
// beside a zero at z = 1 of a first-order section].
constexpr double kDelayTol = 1e-12;
// Where a numerator vanishes on the unit circle the curve shows its neighbours'
// mean; the reference is the limit there [worst measured 1.8e-4].
constexpr double kUndefinedTol = 1e-3;

struct ExactDelay {
    std::string name;
    IirDesignSpec form;
    double fsValue = 1.0;
    int unit = 0;
    std::vector<std::vector<double>> rows;
    std::vector<double> delay; // samples
    std::vector<int> limits;   // points where the delay is a limit
};

// Tokens as tools/gen_group_delay_fixtures.py writes them.
std::vector<ExactDelay> Load() {
    std::istringstream in(test::ReadFixture("group_delay.txt"));
    in.imbue(std::locale::classic());
    std::string word;
    std::getline(in, word); // the comment line
    std::size_t points = 0;
    std::size_t count = 0;
    in >> word >> points;
    std::vector<ExactDelay> out;
    while (in >> word && word == "design") {
        ExactDelay d;
        IirDesignSpec& f = d.form;
        in >> d.name >> f.family >> f.response >> f.order >> f.edge1 >> f.edge2 >> f.rippleDb >>
            f.attenDb >> d.fsValue >> d.unit >> word >> count;
        d.rows = test::ReadSectionRows(in, count);
        d.delay.resize(points);
        in >> word;
        for (double& t : d.delay)
            in >> t;
        in >> word >> count;
        d.limits.resize(count);
        for (int& i : d.limits)
            in >> i;
        in >> word;
        EXPECT_EQ(word, "end") << d.name;
        out.push_back(d);
    }
    EXPECT_FALSE(in.fail() && !in.eof());
    return out;
}

TEST(GroupDelay, DesignsMatchTheExactDerivativeOfThePhase) {
    const std::vector<ExactDelay> designs = Load();
    ASSERT_EQ(designs.size(), 4u);
    double worst = 0.0;
    double worstUndefined = 0.0;
    for (const ExactDelay& d : designs) {
        SCOPED_TRACE(d.name);
        CIirFilter filter;
        ASSERT_NO_FATAL_FAILURE(test::DesignAsFixture(d.form, d.fsValue, d.unit, d.rows, filter));

        const std::size_t n = d.delay.size();
        mvect freq;
        mvect values;
        ComputeResponse(filter, 0.0, d.fsValue / 2.0, static_cast<std::int32_t>(n), kPlotGroupDelay,
                        freq, values);
        ASSERT_EQ(values.size(), n);
        ASSERT_EQ(freq.size(), n);
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_EQ(freq[i].real(),
                      static_cast<double>(i) / static_cast<double>(n - 1) * d.fsValue / 2.0);
            // In the time unit paired with Fs's unit: times Fs gives samples.
            const double got = values[i].real() * d.fsValue;
            const double ref = d.delay[i];
            const double dev = std::abs(got - ref) / std::max(1.0, std::abs(ref));
            ASSERT_TRUE(std::isfinite(got)) << i;
            if (std::count(d.limits.begin(), d.limits.end(), static_cast<int>(i)) > 0) {
                EXPECT_LE(dev, kUndefinedTol) << "point " << i << ": " << got << ", limit " << ref;
                worstUndefined = std::max(worstUndefined, dev);
            } else {
                EXPECT_LE(dev, kDelayTol) << "point " << i << ": " << got << ", exact " << ref;
                worst = std::max(worst, dev);
            }
        }
    }
    std::cout << "group delay against the exact derivative: worst " << worst
              << " relative; where undefined, neighbours' mean against the limit " << worstUndefined
              << "\n";
}

// Direct-form filters go through b and a, whose powers of z may differ; a silent
// filter has no phase and shows 0.
TEST(GroupDelay, DirectFormAgainstTheOnePoleClosedForm) {
    const double p = 0.8;
    struct Case {
        mvect b;
        mvect a;
        double pole;  // weight of (p cos w - p^2) / (1 - 2 p cos w + p^2), 1/(1 - p/z)'s delay
        double extra; // samples
    } const cases[] = {{{1.0, 0.0}, {1.0, -p}, 1.0, 0.0},
                       {{1.0}, {1.0, -p}, 1.0, 1.0},
                       {{0.0, 0.0}, {1.0, 0.0}, 0.0, 0.0}};
    for (const Case& c : cases) {
        CIirFilter f;
        f.b = c.b;
        f.a = c.a;
        f.useSos = false;
        f.fs = CFs(1.0);
        mvect freq;
        mvect v;
        ComputeResponse(f, 0.0, 0.5, 41, kPlotGroupDelay, freq, v);
        ASSERT_EQ(v.size(), 41u);
        for (std::size_t i = 0; i < v.size(); ++i) {
            const double cw = std::cos(2.0 * std::numbers::pi * freq[i].real());
            const double want = c.pole * (p * cw - p * p) / (1.0 - 2.0 * p * cw + p * p) + c.extra;
            EXPECT_NEAR(v[i].real(), want, 1e-12 * std::max(1.0, std::abs(want)))
                << c.b.size() << i;
        }
    }
}

} // namespace
} // namespace tarvo
