#include "design/design_action.h"
#include "design/iir_filter.h"
#include "design/pole_zero_edit.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using korin::mcplx;
using korin::mvect;
using C = std::complex<double>;

constexpr double kPi = std::numbers::pi;

CIirFilter Designed(std::int32_t family, std::int32_t response, std::int32_t order,
                    std::int32_t dataType = kDouble) {
    IirDesignSpec form;
    form.family = family;
    form.response = response;
    form.order = order;
    form.dataType = dataType;
    form.fracBits = 16;
    CIirFilter f;
    EXPECT_TRUE(RunDesign(f, form, -130).Designed());
    return f;
}

C Std(const mcplx& c) {
    return {c.real(), c.imag()};
}

// The root of roots with the largest imaginary part (the upper one of a pair),
// or the real root nearest to 0.
mcplx UpperRoot(const mvect& roots) {
    mcplx best = roots[0];
    for (const mcplx& r : roots) {
        if (r.imag() > best.imag()) best = r;
    }
    return best;
}

mcplx RealRoot(const mvect& roots) {
    for (const mcplx& r : roots) {
        if (r.imag() == 0.0) return r;
    }
    ADD_FAILURE() << "no real root";
    return {};
}

// Every coefficient finite, and real, as the roots come in exact mirror pairs.
void ExpectRealFiniteCoefficients(const CIirFilter& f) {
    EXPECT_TRUE(std::isfinite(f.k));
    EXPECT_TRUE(std::isfinite(f.sos.gain));
    for (const mvect* v : {&f.b, &f.a}) {
        EXPECT_TRUE(v->IsReal());
        for (const mcplx& c : *v)
            EXPECT_TRUE(std::isfinite(c.real()));
    }
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        EXPECT_TRUE(f.sos[i].IsReal());
        for (const mcplx& c : f.sos[i])
            EXPECT_TRUE(std::isfinite(c.real()));
    }
}

void ExpectKeepsReference(const CIirFilter& f) {
    EXPECT_NEAR(f.MagnitudeAt(f.normFreq), f.normMag, 1e-12 * f.normMag);
}

void ExpectSameResponse(const CIirFilter& f, const CIirFilter& original) {
    for (const double freq : {0.0, 0.05, 0.1, 0.2, 0.3, 0.45, 0.5}) {
        const double want = original.MagnitudeAt(freq);
        EXPECT_NEAR(f.MagnitudeAt(freq), want, 1e-9 * want + 1e-15) << freq;
    }
}

TEST(PoleZeroEdit, ConjugatePairMovesAsMirrorImagesAndKeepsTheReference) {
    struct Row {
        std::int32_t family, response, order, dataType;
        bool pole;
        C factor; // the pick moves to pick * factor
    };
    const std::vector<Row> rows{
        {kChebyshev, kLowpass, 4, kDouble, true, C(0.97, 0.0)},
        {kElliptic, kBandpass, 4, kDouble, true, std::polar(0.95, 0.2)},
        {kElliptic, kLowpass, 5, kDouble, false, std::polar(1.0, -0.1)},
        {kButterworth, kHighpass, 6, kSingle, true, C(0.9, 0.05)},
        {kChebyshev, kBandstop, 3, kFixedPoint, true, std::polar(1.01, 0.02)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.family) + "/" + std::to_string(row.response));
        CIirFilter f = Designed(row.family, row.response, row.order, row.dataType);
        const mvect& roots = row.pole ? f.p : f.z;
        const mvect other = row.pole ? f.z : f.p;
        ASSERT_TRUE(f.FindNearest(UpperRoot(roots), 1e-9));
        ASSERT_NE(f.Partner(), nullptr);
        const C q = Std(*f.Pick()) * row.factor;
        const MoveOutcome out = MovePickTo(f, q);
        EXPECT_EQ(out.result, MoveResult::kMoved);
        EXPECT_TRUE(out.renormalized);
        EXPECT_EQ(f.dragMoved, 1);
        EXPECT_EQ(*f.Pick(), mcplx(q));
        EXPECT_EQ(*f.Partner(), korin::Conj(mcplx(q)));
        EXPECT_EQ(row.pole ? f.z : f.p, other);
        ExpectRealFiniteCoefficients(f);
        ExpectKeepsReference(f);
        // The sections carry the moved root.
        CIirFilter check = f;
        check.useSos = false;
        if (row.dataType == kDouble) ExpectSameResponse(check, f);
    }
}

TEST(PoleZeroEdit, ARootWithoutPartnerStaysOnTheRealAxis) {
    CIirFilter f = Designed(kButterworth, kLowpass, 3);
    ASSERT_TRUE(f.FindNearest(RealRoot(f.p), 1e-9));
    ASSERT_EQ(f.Partner(), nullptr);
    const mcplx* pick = f.Pick();
    EXPECT_EQ(MovePickTo(f, C(0.3, 0.4)).result, MoveResult::kMoved);
    EXPECT_EQ(*pick, mcplx(0.3, 0.0));
    ExpectRealFiniteCoefficients(f);
    ExpectKeepsReference(f);
    // Only the imaginary part differs from the pick: nothing to do.
    f.dragMoved = 0;
    const mvect b = f.b;
    EXPECT_EQ(MovePickTo(f, C(0.3, -0.2)).result, MoveResult::kUnchanged);
    EXPECT_EQ(f.dragMoved, 0);
    EXPECT_EQ(f.b, b);
}

TEST(PoleZeroEdit, PartnerOfARealPointHasAPositiveZeroImaginaryPart) {
    CIirFilter f = Designed(kChebyshev, kLowpass, 4);
    ASSERT_TRUE(f.FindNearest(UpperRoot(f.p), 1e-9));
    EXPECT_EQ(MovePickTo(f, C(0.5, -0.0)).result, MoveResult::kMoved);
    EXPECT_FALSE(std::signbit(f.Pick()->imag()));
    EXPECT_FALSE(std::signbit(f.Partner()->imag()));
    ExpectRealFiniteCoefficients(f);
}

TEST(PoleZeroEdit, NoPickOrNoChangeLeavesTheFilterAlone) {
    CIirFilter f = Designed(kButterworth, kLowpass, 4);
    const CIirFilter before = f;
    EXPECT_EQ(MovePickTo(f, C(0.1, 0.1)).result, MoveResult::kUnchanged);
    ASSERT_TRUE(f.FindNearest(UpperRoot(f.p), 1e-9));
    EXPECT_EQ(MovePickTo(f, Std(*f.Pick())).result, MoveResult::kUnchanged);
    EXPECT_EQ(f.dragMoved, 0);
    EXPECT_EQ(f.k, before.k);
    EXPECT_EQ(f.p, before.p);
}

TEST(PoleZeroEdit, AMoveThatOverflowsIsRefusedAndUndoneExactly) {
    for (const C q : {C(1e200, 1e200), C(std::nan(""), 0.5)}) {
        CIirFilter f = Designed(kElliptic, kBandpass, 3, kSingle);
        ASSERT_TRUE(f.FindNearest(UpperRoot(f.z), 1e-9));
        const CIirFilter before = f;
        const MoveOutcome out = MovePickTo(f, q);
        EXPECT_EQ(out.result, MoveResult::kRefused);
        EXPECT_FALSE(out.renormalized);
        EXPECT_EQ(f.dragMoved, 0);
        EXPECT_EQ(f.z, before.z);
        EXPECT_EQ(f.p, before.p);
        EXPECT_EQ(f.b, before.b);
        EXPECT_EQ(f.a, before.a);
        EXPECT_EQ(f.k, before.k);
        EXPECT_EQ(f.qz, before.qz);
        EXPECT_EQ(f.qp, before.qp);
        EXPECT_EQ(f.sos.gain, before.sos.gain);
        ASSERT_EQ(f.sos.Rows(), before.sos.Rows());
        for (std::size_t i = 0; i < f.sos.Rows(); ++i)
            EXPECT_EQ(f.sos[i], before.sos[i]);
        EXPECT_EQ(f.PickIndex(), before.PickIndex());
    }
}

// A drag outside the circle with the constraint on or off, then back to where
// the root started: the design is alive all along and its response returns.
TEST(PoleZeroEdit, ConstraintTable) {
    struct Row {
        const char* name;
        std::int32_t family, response, order;
        bool pole, realRoot, constrained;
        C pointer;
        double maxRadius; // the moved root's radius is at most this
        double minRadius; // and at least this
        bool renormalized = true;
    };
    const double lim = kPoleRadiusLimit;
    const std::vector<Row> rows{
        {"LP3 real pole past +1", kButterworth, kLowpass, 3, true, true, true, C(1.5, 0.0), lim,
         lim},
        {"LP3 real pole, pointer above +1", kButterworth, kLowpass, 3, true, true, true,
         C(1.5, 0.5), lim, 0.9},
        {"HP3 real pole past -1", kButterworth, kHighpass, 3, true, true, true, C(-2.0, 0.0), lim,
         lim},
        {"LP4 pole pair outside", kChebyshev, kLowpass, 4, true, false, true, C(0.9, 0.9), lim,
         lim},
        {"LP5 zero pair outside", kElliptic, kLowpass, 5, false, false, true, C(-0.3, 1.4), 1.0,
         1.0},
        {"LP4 pole pair, unconstrained", kChebyshev, kLowpass, 4, true, false, false, C(0.9, 0.9),
         1.28, 1.27},
        // The magnitude at DC becomes infinite: the gain is kept, not made 0 or NaN.
        {"LP3 real pole onto +1, unconstrained", kButterworth, kLowpass, 3, true, true, false,
         C(1.0, 0.0), 1.0, 1.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CIirFilter f = Designed(row.family, row.response, row.order);
        const CIirFilter original = f;
        const mvect& roots = row.pole ? f.p : f.z;
        ASSERT_TRUE(f.FindNearest(row.realRoot ? RealRoot(roots) : UpperRoot(roots), 1e-9));
        EXPECT_EQ(f.Partner() == nullptr, row.realRoot);
        const mcplx start = *f.Pick();
        const C target = ConstrainPoint(row.pointer, row.pole, row.constrained);
        const MoveOutcome out = MovePickTo(f, target);
        EXPECT_EQ(out.result, MoveResult::kMoved);
        EXPECT_EQ(out.renormalized, row.renormalized);
        if (!row.renormalized) {
            EXPECT_EQ(f.k, original.k);
        }
        const double r = korin::Abs(*f.Pick());
        EXPECT_LE(r, row.maxRadius);
        EXPECT_GE(r, row.minRadius);
        if (!row.realRoot) {
            EXPECT_NEAR(korin::Arg(*f.Pick()), std::arg(row.pointer), 1e-12);
        }
        ExpectRealFiniteCoefficients(f);
        EXPECT_EQ(MovePickTo(f, Std(start)).result, MoveResult::kMoved);
        ExpectRealFiniteCoefficients(f);
        ExpectKeepsReference(f);
        ExpectSameResponse(f, original);
    }
}

TEST(PoleZeroEdit, AZeroPairOntoTheReferenceKeepsTheGain) {
    // A highpass's zeros sit at z = 1; a pair dragged to z = -1, where the gain
    // is measured, would otherwise scale the gain by about 1e20.
    CIirFilter f = Designed(kButterworth, kHighpass, 4);
    ASSERT_TRUE(f.FindNearest(mcplx(1.0), 1e-9));
    ASSERT_NE(f.Partner(), nullptr);
    const double k = f.k;
    const MoveOutcome out = MovePickTo(f, C(-1.0, 0.0));
    EXPECT_EQ(out.result, MoveResult::kMoved);
    EXPECT_FALSE(out.renormalized);
    EXPECT_EQ(f.k, k);
    ExpectRealFiniteCoefficients(f);
    // Near -1 the gain grows, but no more than the guard allows.
    EXPECT_EQ(MovePickTo(f, C(-0.99, 0.0)).result, MoveResult::kMoved);
    EXPECT_LE(f.k, k * 1e12);
    ExpectKeepsReference(f);
}

TEST(PoleZeroEdit, DoubleZeroSplitsIntoAConjugatePair) {
    CIirFilter f = Designed(kButterworth, kLowpass, 4);
    for (const mcplx& zero : f.z)
        ASSERT_EQ(zero, mcplx(-1.0));
    ASSERT_TRUE(f.FindNearest(mcplx(-1.0), 1e-9));
    ASSERT_EQ(f.pickIsPole, 0);
    ASSERT_NE(f.Partner(), nullptr);
    ASSERT_EQ(MovePickTo(f, C(-0.8, 0.3)).result, MoveResult::kMoved);
    std::int32_t atMinusOne = 0;
    for (const mcplx& zero : f.z)
        atMinusOne += zero == mcplx(-1.0) ? 1 : 0;
    EXPECT_EQ(atMinusOne, 2);
    EXPECT_EQ(*f.Pick(), mcplx(-0.8, 0.3));
    EXPECT_EQ(*f.Partner(), mcplx(-0.8, -0.3));
    ExpectRealFiniteCoefficients(f);
    ExpectKeepsReference(f);
}

TEST(PoleZeroEdit, ConstrainPoint) {
    const double lim = kPoleRadiusLimit;
    struct Row {
        C p;
        bool isPole, constrained;
        C want;
    };
    const std::vector<Row> rows{
        {C(0.3, 0.4), true, true, C(0.3, 0.4)},
        {C(3.0, 4.0), false, true, C(0.6, 0.8)},
        {C(3.0, 4.0), true, true, C(0.6 * lim, 0.8 * lim)},
        {C(0.6, 0.8), false, true, C(0.6, 0.8)}, // zeros may lie on the circle
        {C(0.6, 0.8), true, true, C(0.6 * lim, 0.8 * lim)},
        {C(-2.0, 0.0), true, true, C(-lim, 0.0)},
        {C(3.0, 4.0), true, false, C(3.0, 4.0)},
    };
    for (const Row& row : rows) {
        const C got = ConstrainPoint(row.p, row.isPole, row.constrained);
        EXPECT_NEAR(std::abs(got - row.want), 0.0, 1e-15) << row.p;
    }
    // Never an ulp outside, whatever the direction.
    for (int i = 0; i < 3600; ++i) {
        const C p = std::polar(1.0 + i * 1e-4, i * kPi / 1800.0);
        EXPECT_LE(std::abs(ConstrainPoint(p, true, true)), lim) << p;
        EXPECT_LE(std::abs(ConstrainPoint(p, false, true)), 1.0) << p;
    }
}

TEST(PoleZeroEdit, ArrowKeyTable) {
    using K = PoleZeroKey;
    // Mode and root flags of a row.
    constexpr unsigned kPolar = 1, kBelow = 2, kPair = 4, kPole = 8, kCon = 16;
    const double lim = kPoleRadiusLimit;
    const double h22 = 0.88 * kPi / 60.0; // spans 2.2 and 2.2
    const double h25 = kPi / 60.0;        // spans 2.5 and 2.5
    const C up = std::polar(0.6, 1.0);
    const C lo = std::conj(up);
    struct Row {
        const char* name;
        C p;
        K key;
        unsigned flags;
        double span;
        std::optional<C> want;
        std::string status = {};
    };
    const std::vector<Row> rows{
        // Polar: Left turns towards the negative real axis in both half-planes.
        {"left, upper", up, K::kLeft, kPolar | kPair | kPole | kCon, 2.2, std::polar(0.6, 1 + h22)},
        {"right, upper", up, K::kRight, kPolar | kPair | kCon, 2.2, std::polar(0.6, 1 - h22)},
        {"left, lower", lo, K::kLeft, kPolar | kBelow | kPair, 2.2, std::polar(0.6, -1 - h22)},
        {"right, lower", lo, K::kRight, kPolar | kBelow | kPair, 2.5, std::polar(0.6, -1 + h25)},
        {"left, upper, 2.5", up, K::kLeft, kPolar | kPair | kCon, 2.5, std::polar(0.6, 1 + h25)},
        {"up", up, K::kUp, kPolar | kPair | kPole | kCon, 2.2, up * 1.044},
        {"down", lo, K::kDown, kPolar | kBelow | kPair | kPole | kCon, 2.5, lo * 0.95},
        {"up from 0.99, pole", C(0.99), K::kUp, kPolar | kBelow | kPole | kCon, 2.2, C(lim)},
        {"up from 0.99, zero", C(0.99), K::kUp, kPolar | kBelow | kCon, 2.2, C(1.0)},
        {"up from 0.99, free", C(0.99), K::kUp, kPolar | kBelow | kPole, 2.2, C(0.99 * 1.044)},
        {"up from 0.99 at an angle", std::polar(0.99, 2.0), K::kUp, kPolar | kPair | kPole | kCon,
         2.5, std::polar(lim, 2.0)},
        // A lone real root does not turn; a root at the origin does not move at all.
        {"left, lone real root", C(0.5), K::kLeft, kPolar | kBelow | kPole | kCon, 2.2,
         std::nullopt, kRealRootPolarStatus},
        {"right, lone real root", C(-0.5), K::kRight, kPolar | kBelow, 2.2, std::nullopt,
         kRealRootPolarStatus},
        {"up at the origin", C(0.0), K::kUp, kPolar | kBelow | kPole, 2.2, std::nullopt,
         kOriginRootStatus},
        {"left at the origin, pair", C(0.0), K::kLeft, kPolar | kBelow | kPair, 2.2, std::nullopt,
         kOriginRootStatus},
        // Cartesian: shift by d, snapping back onto the circle.
        {"cartesian left", up, K::kLeft, kPair | kPole | kCon, 2.2, up - 0.044},
        {"cartesian down, free", C(0.5, -0.9), K::kDown, kBelow | kPair, 2.5, C(0.5, -0.95)},
        {"cartesian left at the origin", C(0.0), K::kLeft, kBelow | kPole | kCon, 2.5, C(-0.05)},
        {"cartesian right, real pole", C(0.98), K::kRight, kBelow | kPole | kCon, 2.2, C(lim)},
        {"cartesian right, real zero", C(0.98), K::kRight, kBelow | kCon, 2.2, C(1.0)},
        {"cartesian left, zero", C(-0.5, 0.85), K::kLeft, kPair | kCon, 2.5,
         C(-std::sqrt(1.0 - 0.85 * 0.85), 0.85)},
        {"cartesian up, pole", C(0.6, 0.78), K::kUp, kPair | kPole | kCon, 2.2,
         C(0.6, std::sqrt(lim * lim - 0.36))},
        {"cartesian down, zero", C(0.6, -0.78), K::kDown, kBelow | kPair | kCon, 2.2, C(0.6, -0.8)},
        // Already outside, the root snaps on the side it is on.
        {"cartesian left, outside on the right", C(1.2, 0.1), K::kLeft, kPair | kCon, 2.2,
         C(std::sqrt(1.0 - 0.01), 0.1)},
        // The other coordinate alone reaches the circle: radial projection.
        {"cartesian left, Im beyond 1", C(0.2, 1.3), K::kLeft, kPair | kCon, 2.2,
         C(0.156, 1.3) / std::abs(C(0.156, 1.3))},
        {"cartesian up, pole with Re at the limit", C(lim, 0.01), K::kUp, kPair | kPole | kCon, 2.2,
         C(lim, 0.054) * (lim / std::abs(C(lim, 0.054)))},
        {"cartesian up, lone real root", C(0.5), K::kUp, kBelow | kPole | kCon, 2.2, std::nullopt,
         kRealRootCartesianStatus},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool pole = (row.flags & kPole) != 0;
        const bool constrained = (row.flags & kCon) != 0;
        const KeyStep step =
            ArrowKeyStep(row.p, row.key, (row.flags & kPolar) != 0, (row.flags & kBelow) != 0,
                         (row.flags & kPair) != 0, pole, constrained, row.span, row.span);
        EXPECT_EQ(step.status, row.status);
        ASSERT_EQ(step.target.has_value(), row.want.has_value());
        if (!row.want) continue;
        EXPECT_NEAR(std::abs(*step.target - *row.want), 0.0, 1e-12) << *step.target;
        if (constrained) {
            EXPECT_LE(std::abs(*step.target), pole ? lim : 1.0);
        }
    }
}

// Keys that keep pushing a pole against the circle never kill the design:
// sixty presses past z = 1 and back, in both modes.
TEST(PoleZeroEdit, RepeatedKeysAgainstTheCircleKeepTheDesignAlive) {
    struct Row {
        bool polar;
        PoleZeroKey out, back;
    };
    for (const Row& row : {Row{false, PoleZeroKey::kRight, PoleZeroKey::kLeft},
                           Row{true, PoleZeroKey::kUp, PoleZeroKey::kDown}}) {
        SCOPED_TRACE(row.polar ? "polar" : "cartesian");
        CIirFilter f = Designed(kButterworth, kLowpass, 3);
        ASSERT_TRUE(f.FindNearest(RealRoot(f.p), 1e-9));
        for (const PoleZeroKey key : {row.out, row.back}) {
            for (int i = 0; i < 60; ++i) {
                const KeyStep step =
                    ArrowKeyStep(Std(*f.Pick()), key, row.polar, true, false, true, true, 2.5, 2.5);
                ASSERT_TRUE(step.target.has_value());
                const MoveOutcome out = MovePickTo(f, *step.target);
                EXPECT_NE(out.result, MoveResult::kRefused);
                EXPECT_LE(korin::Abs(*f.Pick()), kPoleRadiusLimit);
                ExpectRealFiniteCoefficients(f);
                ExpectKeepsReference(f);
            }
        }
    }
}

} // namespace
} // namespace tarvo
