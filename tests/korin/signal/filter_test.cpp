#include "design_fixtures.h"
#include "korin/poly/mpoly.h"
#include "korin/signal/filter.h"
#include "korin/signal/zp2sos.h"
#include "support/assert_capture.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace korin {
namespace {

using tarvo::test::AssertCapture;
using tarvo::test::DesignFixture;
using tarvo::test::LoadDesignFixtures;

mvect Reals(std::initializer_list<double> values) {
    mvect v;
    for (const double x : values)
        v.push_back(mcplx(x));
    return v;
}

const DesignFixture& Design(const std::string& family, const std::string& type, int order) {
    const auto& designs = LoadDesignFixtures().designs;
    const auto it = std::find_if(designs.begin(), designs.end(), [&](const DesignFixture& d) {
        return d.family == family && d.type == type && d.order == order;
    });
    EXPECT_NE(it, designs.end());
    return *it;
}

TEST(Filter, AveragerImpulseAndStep) {
    const mvect b = Reals({0.5, 0.5});
    const mvect a = Reals({1.0, 0.0});
    mvect y;
    ImpulseBA(6, b, a, y);
    EXPECT_EQ(y, Reals({0.5, 0.5, 0, 0, 0, 0}));
    StepBA(4, b, a, y);
    EXPECT_EQ(y, Reals({0.5, 1, 1, 1}));
}

TEST(Filter, FirstOrderRecursion) {
    mvect y;
    ImpulseBA(30, Reals({1, 0}), Reals({1, -0.5}), y);
    ASSERT_EQ(y.size(), 30u);
    for (std::size_t i = 0; i < y.size(); ++i)
        EXPECT_EQ(y[i], mcplx(std::ldexp(1.0, -int(i))));
}

TEST(Filter, ZeroLengthMeansTheDefaultAndNegativeGivesNothing) {
    mvect y;
    ImpulseBA(0, Reals({1, 0}), Reals({1, 0}), y);
    EXPECT_EQ(y.size(), 1024u);
    msos sos;
    sos.AddRow() = Reals({1, 0, 0, 1, 0, 0});
    StepSos(0, sos, y);
    EXPECT_EQ(y.size(), 1024u);

    AssertCapture capture;
    StepBA(-3, Reals({1, 0}), Reals({1, 0}), y);
    EXPECT_TRUE(y.empty());
    ImpulseSos(-1, sos, y);
    EXPECT_TRUE(y.empty());
    EXPECT_EQ(capture.Count(), 2u);
    EXPECT_TRUE(capture.Saw("n >= 0"));
}

TEST(Filter, SciPySectionsGiveSciPyImpulseAndStepResponses) {
    for (const DesignFixture& d : LoadDesignFixtures().designs) {
        SCOPED_TRACE(d.name);
        mvect impulse;
        mvect step;
        ImpulseSos(static_cast<std::int32_t>(d.impulse.size()), d.sos, impulse);
        StepSos(static_cast<std::int32_t>(d.step.size()), d.sos, step);
        ASSERT_EQ(impulse.size(), d.impulse.size());
        ASSERT_EQ(step.size(), d.step.size());
        double scale = 1.0;
        for (const double v : d.impulse)
            scale = std::max(scale, std::fabs(v));
        for (const double v : d.step)
            scale = std::max(scale, std::fabs(v));
        // Both recursions round differently; where poles crowd the unit circle the
        // rounding grows well beyond 1e-12, as SciPy's own distance from the exact
        // recursion shows, so allow a few times that.
        const double tol = 1e-12 * scale + 10.0 * d.rounding;
        for (std::size_t i = 0; i < impulse.size(); ++i) {
            EXPECT_NEAR(impulse[i].real(), d.impulse[i], tol) << i;
            EXPECT_NEAR(step[i].real(), d.step[i], tol) << i;
            EXPECT_EQ(impulse[i].imag(), 0.0);
        }
    }
}

TEST(Filter, SectionResponsesAreScaledByTheSectionGain) {
    const DesignFixture& d = Design("ellip", "bandpass", 3);
    msos sos;
    sos.gain = d.k;
    ZpToSos(sos, d.z, d.p);
    mvect y;
    ImpulseSos(48, sos, y);
    for (std::size_t i = 0; i < y.size(); ++i) {
        EXPECT_NEAR(y[i].real(), d.impulse[i], 1e-12) << i;
        EXPECT_EQ(y[i].imag(), 0.0);
    }
}

TEST(Filter, SectionsContinueSeamlesslyFromTheirState) {
    const DesignFixture& d = Design("cheby1", "lowpass", 6);
    ASSERT_EQ(d.sos.Rows(), 3u);
    std::mt19937_64 rng(5);
    std::normal_distribution<double> noise;
    mvect x;
    for (int i = 0; i < 100; ++i)
        x.push_back(mcplx(noise(rng)));

    mvect whole;
    mvect state;
    SosFilter(d.sos, x, state, whole);
    EXPECT_EQ(state.size(), 6u);

    mvect first;
    mvect second;
    mvect part1;
    mvect part2;
    part1.assign(x.begin(), x.begin() + 37);
    part2.assign(x.begin() + 37, x.end());
    state.clear();
    SosFilter(d.sos, part1, state, first);
    SosFilter(d.sos, part2, state, second);
    first.Append(second);
    EXPECT_EQ(first, whole);
}

TEST(Filter, CascadeEqualsTheDirectForm) {
    const DesignFixture& d = Design("butter", "bandpass", 2);
    msos sos;
    sos.gain = d.k;
    ZpToSos(sos, d.z, d.p);
    mvect b;
    mvect a;
    Poly(d.z, b);
    Poly(d.p, a);
    b.Scale(mcplx(d.k));
    mvect direct;
    mvect cascade;
    StepBA(200, b, a, direct);
    StepSos(200, sos, cascade);
    for (std::size_t i = 0; i < direct.size(); ++i) {
        EXPECT_NEAR(cascade[i].real(), direct[i].real(), 1e-12) << i;
    }
}

TEST(FilterState, StateCarriesOverBetweenCalls) {
    const mvect b = Reals({0.2, 0.3, 0.1});
    const mvect a = Reals({1.0, -0.6, 0.25});
    mvect state;
    mvect y1;
    mvect y2;
    FilterState(b, a, state, Reals({1, 2, 3}), y1);
    EXPECT_EQ(state.size(), 2u);
    FilterState(b, a, state, Reals({4, 5}), y2);
    mvect whole;
    FilterZero(b, a, Reals({1, 2, 3, 4, 5}), whole);
    y1.Append(y2);
    EXPECT_EQ(y1, whole);
    // y0 = 0.2; y1 = 0.2*2 + 0.3*1 + 0.6*0.2.
    EXPECT_DOUBLE_EQ(whole[0].real(), 0.2);
    EXPECT_DOUBLE_EQ(whole[1].real(), 0.4 + 0.3 + 0.12);
}

TEST(FilterState, ContractViolationsHaveFallbacks) {
    const mvect b = Reals({1, 0});
    const mvect a = Reals({1, -0.5});
    {
        AssertCapture capture;
        mvect xy = Reals({1, 0, 0});
        mvect state;
        FilterState(b, a, state, xy, xy);
        EXPECT_TRUE(capture.Saw("&x != &y"));
        EXPECT_EQ(xy, Reals({1, 0.5, 0.25}));
    }
    {
        AssertCapture capture;
        mvect y;
        mvect state;
        FilterState(mvect{}, a, state, Reals({1, 2}), y);
        EXPECT_TRUE(capture.Saw("b.size()"));
        EXPECT_EQ(y, Reals({0, 0}));
    }
    {
        AssertCapture capture;
        mvect y;
        mvect state;
        FilterState(Reals({1}), a, state, Reals({1, 0, 0}), y);
        EXPECT_TRUE(capture.Saw("b.size() == a.size()"));
        EXPECT_EQ(y, Reals({1, 0.5, 0.25}));
    }
    {
        AssertCapture capture;
        mvect y;
        mvect state = Reals({7, 7, 7});
        FilterState(b, a, state, Reals({1, 0}), y);
        EXPECT_EQ(capture.Count(), 1u);
        EXPECT_TRUE(capture.SawFrom("korin/signal/filter"));
        EXPECT_EQ(y, Reals({1, 0.5}));
        EXPECT_EQ(state.size(), 1u);
    }
}

TEST(FilterState, SingleCoefficientIsAGain) {
    mvect y;
    mvect state;
    FilterState(Reals({2.5}), Reals({1}), state, Reals({1, -2, 4}), y);
    EXPECT_EQ(y, Reals({2.5, -5, 10}));
    EXPECT_TRUE(state.empty());
}

TEST(SosFilter, ContractViolationsHaveFallbacks) {
    msos sos;
    sos.AddRow() = Reals({1, 0, 0, 1, -0.5, 0});
    sos.AddRow() = Reals({2, 0, 0, 1, 0});
    AssertCapture capture;
    mvect state = Reals({9});
    mvect y;
    SosFilter(sos, Reals({1, 0, 0}), state, y);
    EXPECT_TRUE(capture.Saw("z.size() == z_size"));
    EXPECT_TRUE(capture.Saw("sos[i].size() == 6"));
    EXPECT_EQ(y, Reals({1, 0.5, 0.25}));
    EXPECT_EQ(state.size(), 4u);

    msos none;
    mvect z;
    SosFilter(none, Reals({1, 2}), z, y);
    EXPECT_EQ(y, Reals({1, 2}));
    EXPECT_TRUE(z.empty());
}

} // namespace
} // namespace korin
