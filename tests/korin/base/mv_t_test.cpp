#include "korin/base/mv_t.h"
#include "support/assert_capture.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

namespace korin {
namespace {

mvect Reals(std::initializer_list<double> values) {
    mvect v;
    for (double x : values)
        v.push_back(mcplx(x));
    return v;
}

TEST(Mvect, ConstructionAndFlag) {
    mvect empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty.column);
    mvect one(mcplx(1, 2));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], mcplx(1, 2));
    mvect two(mcplx(1), mcplx(2));
    ASSERT_EQ(two.size(), 2u);
    two.column = false;
    mvect copy(two);
    EXPECT_FALSE(copy.column);
    mvect assigned;
    assigned.Assign(two);
    EXPECT_FALSE(assigned.column);
    EXPECT_EQ(assigned, two);
}

TEST(Mvect, SubTakesRangeAndFlag) {
    mvect u = Reals({0, 1, 2, 3, 4, 5});
    mvect v;
    v.Sub(u, 3, 5);
    EXPECT_EQ(v, Reals({3, 4, 5}));
    u.column = false;
    v.Sub(u, 0, 2);
    EXPECT_EQ(v, Reals({0, 1, 2}));
    EXPECT_FALSE(v.column);
    v.Sub(v, 1, 1); // from itself
    EXPECT_EQ(v, Reals({1}));
}

TEST(Mvect, SubOutOfRangeIsReportedAndLeavesVector) {
    tarvo::test::AssertCapture capture;
    mvect u = Reals({0, 1, 2});
    mvect v = Reals({9});
    v.Sub(u, 1, 3);
    EXPECT_EQ(v, Reals({9}));
    v.Sub(u, 2, 1);
    EXPECT_EQ(capture.Count(), 2u);
    EXPECT_TRUE(capture.SawFrom("korin/base/mv_t"));
}

TEST(Mvect, SelectStopsAtNegativeAndChecksIndices) {
    const mvect u = Reals({10, 11, 12, 13, 14, 15});
    mvect v;
    const std::array<std::int32_t, 6> list{5, 2, 4, -1, 0, 0};
    v.Select(u, list);
    EXPECT_EQ(v, Reals({15, 12, 14}));
    const std::array<std::int32_t, 2> bad{1, 6};
    EXPECT_THROW(v.Select(u, bad), std::out_of_range);
}

TEST(Mvect, AppendFillAssign) {
    mvect v = Reals({1, 2});
    v.Append(Reals({3}));
    v.Append(v);
    EXPECT_EQ(v, Reals({1, 2, 3, 1, 2, 3}));
    v.Fill(3, mcplx(0, 1));
    EXPECT_EQ(v, (mvect{mcplx(0, 1), mcplx(0, 1), mcplx(0, 1)}));
    const std::array<double, 2> re{1, 2};
    const std::array<double, 2> im{3, 4};
    v.AssignReal(re);
    EXPECT_EQ(v, Reals({1, 2}));
    v.AssignReIm(re, im);
    EXPECT_EQ(v, (mvect{mcplx(1, 3), mcplx(2, 4)}));
}

TEST(Mvect, ElementwiseArithmeticRequiresEqualSizes) {
    mvect v = Reals({1, 2, 3});
    v.MulElems(Reals({2, 2, 2}));
    EXPECT_EQ(v, Reals({2, 4, 6}));
    v.DivElems(Reals({2, 4, 3}));
    EXPECT_EQ(v, Reals({1, 1, 2}));
    tarvo::test::AssertCapture capture;
    v.MulElems(Reals({1, 2, 3, 4}));
    v.DivElems(Reals({1}));
    EXPECT_EQ(v, Reals({1, 1, 2}));
    EXPECT_EQ(capture.Count(), 2u);
    v.Scale(mcplx(0, 1));
    EXPECT_EQ(v, (mvect{mcplx(0, 1), mcplx(0, 1), mcplx(0, 2)}));
}

TEST(Mvect, DiffAndDerivative) {
    mvect v = Reals({1, 4, 9});
    v.Diff();
    EXPECT_EQ(v, Reals({3, 5}));
    mvect one = Reals({7});
    one.Diff();
    EXPECT_TRUE(one.empty());
    mvect none;
    none.Diff();
    EXPECT_TRUE(none.empty());
    mvect y = Reals({0, 1, 4});
    const mvect x = Reals({0, 1, 2});
    y.Derivative(x);
    EXPECT_EQ(y, Reals({1, 3}));
    EXPECT_EQ(x, Reals({0, 1, 2}));
    tarvo::test::AssertCapture capture;
    y.Derivative(x);
    EXPECT_EQ(y, Reals({1, 3}));
    EXPECT_EQ(capture.Count(), 1u);
}

TEST(Mvect, ElementFunctions) {
    mvect v{mcplx(3, 4), mcplx(-1, 0)};
    mvect a = v;
    a.Abs();
    EXPECT_EQ(a, Reals({5, 1}));
    mvect g = v;
    g.Arg();
    EXPECT_DOUBLE_EQ(g[0].real(), std::atan2(4.0, 3.0));
    EXPECT_DOUBLE_EQ(g[1].real(), M_PI);
    mvect r = v;
    r.Real();
    EXPECT_EQ(r, Reals({3, -1}));
    mvect i = v;
    i.Imag();
    EXPECT_EQ(i, (mvect{mcplx(0, 4), mcplx(0, 0)}));
    EXPECT_FALSE(v.IsReal());
    EXPECT_TRUE(r.IsReal());
    EXPECT_TRUE(mvect().IsReal());
    mvect e{mcplx(0, M_PI)};
    e.Exp();
    EXPECT_DOUBLE_EQ(e[0].real(), -1.0);
}

TEST(Mvect, DropSmallImag) {
    mvect v{mcplx(1, 1e-13), mcplx(0, 1e-13), mcplx(1, 1e-11)};
    v.DropSmallImag(1e-12);
    EXPECT_EQ(v[0], mcplx(1, 0));
    EXPECT_EQ(v[1], mcplx(0, 1e-13));
    EXPECT_EQ(v[2], mcplx(1, 1e-11));
}

TEST(Mvect, Linspace) {
    mvect v;
    v.Linspace(3, mcplx(0), mcplx(0, 2));
    EXPECT_EQ(v, (mvect{mcplx(0), mcplx(0, 1), mcplx(0, 2)}));
    v.Linspace(1, mcplx(5), mcplx(7));
    EXPECT_EQ(v, Reals({5}));
    v.Linspace(0, mcplx(5), mcplx(7));
    EXPECT_TRUE(v.empty());
    // Accumulated steps: the last value carries the rounding of the additions.
    v.Linspace(11, mcplx(0), mcplx(1));
    double x = 0;
    for (int k = 0; k < 10; ++k)
        x += 0.1;
    EXPECT_EQ(v[10].real(), x);
    tarvo::test::AssertCapture capture;
    v.Linspace(-1, mcplx(0), mcplx(1));
    EXPECT_EQ(v.size(), 11u);
    EXPECT_EQ(capture.Count(), 1u);
}

TEST(Mvect, NearestWithin) {
    const mvect v = Reals({0, 1, 1});
    EXPECT_EQ(v.NearestWithin(mcplx(1), -1, 0.5), 1);
    EXPECT_EQ(v.NearestWithin(mcplx(1), 1, 0.5), 2);
    EXPECT_EQ(v.NearestWithin(mcplx(0.5), -1, 0.5), 0);
    EXPECT_EQ(v.NearestWithin(mcplx(5), -1, 0.5), -1);
    EXPECT_EQ(mvect().NearestWithin(mcplx(0), -1, 1.0), -1);
}

TEST(Mvect, QuantizeAndRoundToFloatAreIdempotent) {
    mvect v{mcplx(0.1, -0.1), mcplx(0.25, 3.7)};
    v.Quantize(1);
    EXPECT_EQ(v, (mvect{mcplx(0, 0), mcplx(0.5, 3.5)}));
    mvect f{mcplx(0.1, 0.3)};
    f.RoundToFloat();
    EXPECT_EQ(f[0].real(), 0.100000001490116119384765625);
    const mvect once = f;
    f.RoundToFloat();
    EXPECT_EQ(f, once);
}

TEST(ComplexLess, Ordering) {
    EXPECT_TRUE(ComplexLess(mcplx(-1), mcplx(2)));
    EXPECT_FALSE(ComplexLess(mcplx(2), mcplx(-1)));
    EXPECT_TRUE(ComplexLess(mcplx(0, -1), mcplx(0, 1)));
    EXPECT_FALSE(ComplexLess(mcplx(0, 1), mcplx(0, -1)));
    EXPECT_TRUE(ComplexLess(mcplx(0, 1), mcplx(2, 0))); // smaller modulus
    EXPECT_TRUE(ComplexLess(mcplx(0, 2), mcplx(-3)));   // mixed: by modulus
}

} // namespace
} // namespace korin
