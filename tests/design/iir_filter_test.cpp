#include "design/design_action.h"
#include "design/iir_filter.h"
#include "korin/base/mround.h"
#include "korin/poly/mpoly.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <sstream>

namespace tarvo {
namespace {

using korin::mcplx;
using korin::mvect;

IirDesignRequest Request(std::int32_t family, std::int32_t response, std::int32_t order, double e1,
                         double e2 = 0.0) {
    IirDesignRequest r;
    r.family = family;
    r.response = response;
    r.order = order;
    r.edge1n = e1;
    r.edge2n = e2;
    r.rippleDb = 1.0;
    r.stopband = -60.0;
    return r;
}

TEST(IirFilter, DefaultDesign) {
    CIirFilter f;
    EXPECT_TRUE(f.IsEmpty());
    ASSERT_TRUE(f.Design(Request(kButterworth, kLowpass, 4, 0.4)));
    ASSERT_EQ(f.z.size(), 4u);
    ASSERT_EQ(f.p.size(), 4u);
    for (const mcplx& zero : f.z)
        EXPECT_EQ(zero, mcplx(-1.0));
    EXPECT_EQ(f.b.size(), 5u);
    EXPECT_EQ(f.a.size(), 5u);
    EXPECT_EQ(f.sos.Rows(), 2u);
    EXPECT_EQ(f.sos.gain, f.k);
    EXPECT_EQ(f.normFreq, 0.0);
    EXPECT_NEAR(f.normMag, 1.0, 1e-12);
    EXPECT_TRUE(f.qz.empty());
    EXPECT_TRUE(f.qp.empty());
    EXPECT_FALSE(f.IsEmpty());
}

TEST(IirFilter, ReferenceFrequencyByResponse) {
    CIirFilter f;
    ASSERT_TRUE(f.Design(Request(kButterworth, kHighpass, 3, 0.4)));
    EXPECT_EQ(f.normFreq, 0.5);
    EXPECT_NEAR(f.MagnitudeAt(0.5), 1.0, 1e-12);
    ASSERT_TRUE(f.Design(Request(kButterworth, kBandpass, 2, 0.2, 0.4)));
    EXPECT_DOUBLE_EQ(f.normFreq, 0.15);
    ASSERT_TRUE(f.Design(Request(kButterworth, kBandstop, 2, 0.2, 0.4)));
    EXPECT_EQ(f.normFreq, 0.5);
    ASSERT_TRUE(f.Design(Request(kButterworth, kBandstop, 2, 0.7, 0.9)));
    EXPECT_EQ(f.normFreq, 0.0);
}

TEST(IirFilter, ScaleGain) {
    CIirFilter f;
    ASSERT_TRUE(f.Design(Request(kChebyshev, kLowpass, 5, 0.3)));
    const CIirFilter before = f;
    f.ScaleGain(2.0);
    EXPECT_EQ(f.k, 2.0 * before.k);
    EXPECT_EQ(f.sos.gain, 2.0 * before.sos.gain);
    for (std::size_t i = 0; i < f.b.size(); ++i)
        EXPECT_EQ(f.b[i], before.b[i] * 2.0);
    EXPECT_EQ(f.a, before.a);
    EXPECT_EQ(f.z, before.z);
    EXPECT_EQ(f.p, before.p);
    EXPECT_EQ(f.sos[0], before.sos[0]);
}

TEST(IirFilter, RebuildReproducesTheDesign) {
    CIirFilter f;
    ASSERT_TRUE(f.Design(Request(kElliptic, kBandpass, 4, 0.3, 0.5)));
    CIirFilter rebuilt = f;
    rebuilt.RebuildFromRoots();
    EXPECT_NEAR(rebuilt.b[0].real(), rebuilt.k, 1e-15);
    EXPECT_EQ(rebuilt.a[0], mcplx(1.0));
    for (double freq : {0.0, 0.1, 0.2, 0.2, 0.35, 0.49}) {
        EXPECT_NEAR(rebuilt.MagnitudeAt(freq), f.MagnitudeAt(freq), 1e-9 * f.MagnitudeAt(freq));
    }
    // Both forms describe the same H.
    rebuilt.useSos = false;
    for (double freq : {0.05, 0.15, 0.2, 0.3}) {
        EXPECT_NEAR(rebuilt.MagnitudeAt(freq), f.MagnitudeAt(freq), 1e-8 * f.MagnitudeAt(freq));
    }
}

TEST(IirFilter, MovingAPoleKeepsTheReferenceMagnitude) {
    CIirFilter f;
    IirDesignSpec form;
    form.family = kChebyshev;
    form.gainDb = 6.0;
    ASSERT_TRUE(RunDesign(f, form, -130).Designed());
    ASSERT_TRUE(f.FindNearest(f.p[0], 1e-9));
    mcplx* pick = f.Pick();
    mcplx* partner = f.Partner();
    ASSERT_NE(pick, nullptr);
    ASSERT_NE(partner, nullptr);
    *pick = *pick * 0.97;
    *partner = korin::Conj(*pick);
    f.RebuildFromRoots();
    f.Renormalize();
    EXPECT_NEAR(f.MagnitudeAt(f.normFreq), f.normMag, 1e-12 * f.normMag);
    // The form's +6 dB is kept through an edit (the even order's -1 dB ripple at DC too).
    EXPECT_NEAR(20 * std::log10(f.MagnitudeAt(f.normFreq)), 5.0, 1e-9);
}

TEST(IirFilter, FindNearest) {
    CIirFilter f;
    f.p = mvect{mcplx(0.5, 0.5), mcplx(0.5, -0.5), mcplx(0.2)};
    f.z = mvect{mcplx(0.5, 0.5), mcplx(-1.0), mcplx(-1.0)};
    EXPECT_FALSE(f.FindNearest(mcplx(0.0, 0.9), 0.1));
    EXPECT_EQ(f.Pick(), nullptr);
    EXPECT_EQ(f.Partner(), nullptr);
    // A pole and a zero at the same place: the pole wins; its partner is the conjugate.
    ASSERT_TRUE(f.FindNearest(mcplx(0.51, 0.5), 0.1));
    EXPECT_EQ(f.pickIsPole, 1);
    EXPECT_EQ(f.PickIndex(), 0);
    EXPECT_EQ(f.PartnerIndex(), 1);
    // A real pole has no partner.
    ASSERT_TRUE(f.FindNearest(mcplx(0.21), 0.1));
    EXPECT_EQ(f.PickIndex(), 2);
    EXPECT_EQ(f.Partner(), nullptr);
    // The double real zero finds its twin.
    ASSERT_TRUE(f.FindNearest(mcplx(-0.95), 0.1));
    EXPECT_EQ(f.pickIsPole, 0);
    EXPECT_EQ(f.PickIndex(), 1);
    EXPECT_EQ(f.PartnerIndex(), 2);
    // Refilling the vectors never leaves the pick pointing at freed memory.
    f.z.clear();
    EXPECT_EQ(f.Pick(), nullptr);
}

TEST(IirFilter, SinglePrecisionQuantizedRoots) {
    CIirFilter f;
    f.spec.dataType = kSingle;
    ASSERT_TRUE(f.Design(Request(kButterworth, kLowpass, 5, 0.2)));
    // Odd order: the first-order section adds one zero and one pole.
    ASSERT_EQ(f.qz.size(), 5u);
    ASSERT_EQ(f.qp.size(), 5u);
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        for (const mcplx& c : f.sos[i]) {
            EXPECT_EQ(c.real(), static_cast<double>(static_cast<float>(c.real())));
        }
    }
    for (const mcplx& c : f.a)
        EXPECT_EQ(c.real(), korin::RoundToFloatValue(c.real()));
    // Each quantized pole is within float rounding of a designed one.
    for (const mcplx& q : f.qp) {
        double best = 1.0;
        for (const mcplx& p : f.p)
            best = std::min(best, korin::Abs(q - p));
        EXPECT_LT(best, 1e-3);
    }
}

TEST(IirFilter, FixedPointQuantizedRootsAreRootsOfTheRoundedSections) {
    CIirFilter f;
    f.spec.dataType = kFixedPoint;
    f.spec.fracBits = 8;
    ASSERT_TRUE(f.Design(Request(kElliptic, kLowpass, 4, 0.3)));
    ASSERT_EQ(f.sos.Rows(), 2u);
    ASSERT_EQ(f.qp.size(), 4u);
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        for (const mcplx& c : f.sos[i]) {
            EXPECT_EQ(korin::QuantizeValue(c.real(), 8), c.real());
        }
        const mvect den{f.sos[i][3], f.sos[i][4], f.sos[i][5]};
        for (std::size_t j = 2 * i; j < 2 * i + 2; ++j) {
            EXPECT_LT(korin::Abs(korin::PolyVal(den, f.qp[j])), 1e-12);
        }
    }
    // Rounding twice changes nothing.
    CIirFilter again = f;
    again.ApplyDataType();
    EXPECT_EQ(again.sos[1], f.sos[1]);
    EXPECT_EQ(again.qp, f.qp);
}

// The Design button's single step gives exactly what its three steps give.
TEST(IirFilter, DesignWithGainEqualsDesignScaleAndRebuild) {
    for (std::int32_t family : {kButterworth, kChebyshev, kElliptic}) {
        for (std::int32_t response : {kLowpass, kHighpass, kBandpass, kBandstop}) {
            for (std::int32_t type : {kDouble, kSingle, kFixedPoint}) {
                for (std::int32_t order : {1, 4, 7}) {
                    const IirDesignRequest r = Request(family, response, order, 0.3, 0.55);
                    CIirFilter steps;
                    steps.spec.dataType = type;
                    steps.spec.fracBits = 12;
                    CIirFilter one = steps;
                    ASSERT_TRUE(steps.Design(r));
                    steps.ScaleGain(1.7);
                    steps.RebuildFromRoots();
                    ASSERT_TRUE(one.DesignWithGain(r, 1.7));
                    EXPECT_EQ(one.b, steps.b);
                    EXPECT_EQ(one.a, steps.a);
                    EXPECT_EQ(one.z, steps.z);
                    EXPECT_EQ(one.p, steps.p);
                    EXPECT_EQ(one.k, steps.k);
                    EXPECT_EQ(one.qz, steps.qz);
                    EXPECT_EQ(one.qp, steps.qp);
                    EXPECT_EQ(one.normFreq, steps.normFreq);
                    // The single step's reference includes the gain; the plain
                    // design's is that of unit gain.
                    EXPECT_NEAR(one.normMag, 1.7 * steps.normMag, 1e-12 * one.normMag);
                    ASSERT_EQ(one.sos.Rows(), steps.sos.Rows());
                    EXPECT_EQ(one.sos.gain, steps.sos.gain);
                    for (std::size_t i = 0; i < one.sos.Rows(); ++i) {
                        EXPECT_EQ(one.sos[i], steps.sos[i]);
                    }
                }
            }
        }
    }
}

TEST(IirFilter, DesignWithGainRefusesPolynomialsThatOverflow) {
    // A bandstop of order 1000 has 2000 zeros; its numerator reaches about
    // 4e210 at unit gain, and 2400 dB more takes it past the largest double.
    CIirFilter f;
    const IirDesignRequest r = Request(kButterworth, kBandstop, 1000, 0.4, 0.6);
    EXPECT_FALSE(f.DesignWithGain(r, 1e120));
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_EQ(f.k, 0.0);
    EXPECT_TRUE(f.DesignWithGain(r, 1.0));
}

TEST(IirFilter, RebuildFollowsTheDataTypeAndTheRoots) {
    // A rebuild from unchanged roots must still round to the current data type.
    CIirFilter fixed;
    fixed.spec.dataType = kFixedPoint;
    fixed.spec.fracBits = 6;
    ASSERT_TRUE(fixed.Design(Request(kChebyshev, kBandpass, 3, 0.2, 0.5)));
    CIirFilter exact;
    ASSERT_TRUE(exact.Design(Request(kChebyshev, kBandpass, 3, 0.2, 0.5)));
    exact.RebuildFromRoots();
    fixed.spec.dataType = kDouble;
    fixed.RebuildFromRoots();
    ASSERT_EQ(fixed.sos.Rows(), exact.sos.Rows());
    for (std::size_t i = 0; i < exact.sos.Rows(); ++i)
        EXPECT_EQ(fixed.sos[i], exact.sos[i]);
    EXPECT_TRUE(fixed.qp.empty());

    // Moving a root pairs again.
    fixed.p[0] = fixed.p[0] * 0.9;
    fixed.p[1] = korin::Conj(fixed.p[0]);
    fixed.RebuildFromRoots();
    bool found = false;
    for (std::size_t i = 0; i < fixed.sos.Rows(); ++i) {
        const mvect d{fixed.sos[i][3], fixed.sos[i][4], fixed.sos[i][5]};
        found = found || korin::Abs(korin::PolyVal(d, fixed.p[0])) < 1e-12;
    }
    EXPECT_TRUE(found);
}

TEST(IirFilter, ClearKeepsSpecificationAndSampleRate) {
    CIirFilter f;
    f.spec.order = 6;
    f.fs = CFs(44.1);
    ASSERT_TRUE(f.Design(Request(kButterworth, kLowpass, 6, 0.4)));
    const double k = f.k;
    f.Clear();
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_EQ(f.spec.order, 6);
    EXPECT_EQ(f.fs.GetValue(), 44.1);
    EXPECT_EQ(f.k, k);
    EXPECT_EQ(f.sos.gain, k);
}

TEST(IirFilter, MeasureReferenceAfterLoading) {
    CIirFilter designed;
    IirDesignSpec form;
    form.response = kBandpass;
    form.centerWidth = 1;
    form.edge1 = 0.25;
    form.edge2 = 0.1;
    form.gainDb = -3.0;
    ASSERT_TRUE(RunDesign(designed, form, -130).Designed());
    CIirFilter loaded = designed;
    loaded.normFreq = -1;
    loaded.normMag = -1;
    loaded.MeasureReference();
    EXPECT_DOUBLE_EQ(loaded.normFreq, designed.normFreq);
    EXPECT_NEAR(loaded.normMag, loaded.MagnitudeAt(loaded.normFreq), 1e-15);
    // Design and loading agree on the reference, gain included.
    EXPECT_NEAR(loaded.normMag, designed.normMag, 1e-12 * designed.normMag);
    EXPECT_NEAR(20 * std::log10(designed.normMag), -3.0, 1e-9);
}

TEST(IirFilter, WriteSummary) {
    IirDesignSpec spec;
    spec.family = kElliptic;
    spec.response = kBandstop;
    spec.centerWidth = 1;
    spec.edge1 = 1000;
    spec.edge2 = 200;
    spec.order = 6;
    spec.dataType = kFixedPoint;
    std::ostringstream out;
    CIirFilter::WriteSummary(spec, out, "//", "kHz", 48);
    EXPECT_EQ(out.str(), "// Fs = 48 kHz\n"
                         "// Order = 6\n"
                         "// Gain = 0 dB\n"
                         "// Filter Type = Elliptic\n"
                         "// Response = Bandstop\n"
                         "// Data Type =Fixed Point\n"
                         "// Stopband lower frequency = 900 kHz\n"
                         "// Stopband upper frequency = 1100 kHz\n"
                         "// Passband ripple = 1 dB\n"
                         "// Stopband ripple = 80 dB\n"
                         "\n");
    std::ostringstream bare;
    spec.family = kButterworth;
    spec.response = kLowpass;
    CIirFilter::WriteSummary(spec, bare, "", "Hz", 1);
    EXPECT_EQ(bare.str(),
              "Fs = 1 Hz\nOrder = 6\nGain = 0 dB\nFilter Type = Butterworth\n"
              "Response = Lowpass\nData Type =Fixed Point\nCutoff frequency = 1000 Hz\n\n");
}

} // namespace
} // namespace tarvo
