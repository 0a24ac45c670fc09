#include "design/design_action.h"
#include "design/iir_filter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace tarvo {
namespace {

constexpr double kMinDb = -130.0;

std::string Check(const IirDesignSpec& form, double fsValue = 1.0, double minDb = kMinDb) {
    CIirFilter filter;
    filter.fs = CFs(fsValue);
    const DesignOutcome outcome = RunDesign(filter, form, minDb);
    return outcome.Designed() ? std::string("designed") : outcome.message;
}

TEST(DesignChecks, MessagesInOrder) {
    IirDesignSpec form;
    form.order = 0;
    form.gainDb = -200; // also wrong, but the order is checked first
    EXPECT_EQ(Check(form), "Order must be greater than zero.");
    form.order = -3;
    EXPECT_EQ(Check(form), "Order must be greater than zero.");

    form = {};
    form.order = kMaxOrder + 1;
    EXPECT_EQ(Check(form), "Order must not be greater than " + std::to_string(kMaxOrder) + ".");

    form = {};
    form.gainDb = kMinDb;
    form.edge1 = -1; // checked later
    EXPECT_EQ(Check(form), "Gain must be greater than the project's minimum dB value.");
    form.gainDb = kMinDb + 0.01;
    form.edge1 = 0.2;
    EXPECT_EQ(Check(form), "designed");

    // Every one of the four, whatever the family and response.
    for (int which = 0; which < 4; ++which) {
        form = {};
        double* fields[] = {&form.edge1, &form.edge2, &form.rippleDb, &form.attenDb};
        *fields[which] = 0.0;
        EXPECT_EQ(Check(form), "All parameters must be greater than zero.") << which;
        *fields[which] = std::nan("");
        EXPECT_EQ(Check(form), "All parameters must be greater than zero.") << which;
    }

    form = {};
    form.edge1 = 0.5;
    EXPECT_EQ(Check(form),
              "The first band edge frequency must be less than half the sampling frequency.");
    form.edge1 = 0.4999;
    EXPECT_EQ(Check(form), "designed");
    form.edge1 = 24.0;
    EXPECT_EQ(Check(form, 48.0),
              "The first band edge frequency must be less than half the sampling frequency.");
}

TEST(DesignChecks, CenterAndWidth) {
    IirDesignSpec form;
    form.response = kBandpass;
    form.centerWidth = 1;
    form.edge1 = 0.1; // centre
    form.edge2 = 0.2; // width
    EXPECT_EQ(Check(form), "The center frequency minus half the width must\nbe greater than zero "
                           "and less than Fs/2.");
    form.edge1 = 0.4;
    EXPECT_EQ(Check(form), "The center frequency plus half the\nwidth must be less than Fs/2.");
    form.edge1 = 0.3;
    form.edge2 = 0.5;
    EXPECT_EQ(Check(form), "The frequency width must be greater\nthan zero and less than Fs/2.");
    form.edge2 = 0.2;
    EXPECT_EQ(Check(form), "designed");
    // Center and width are ignored for lowpass filters.
    form.response = kLowpass;
    form.edge1 = 0.1;
    form.edge2 = 0.4;
    EXPECT_EQ(Check(form), "designed");
}

TEST(DesignChecks, BandEdgesStrictlyInside) {
    IirDesignSpec form;
    form.response = kBandstop;
    form.edge1 = 0.1;
    form.edge2 = 0.5;
    EXPECT_EQ(Check(form), "All frequencies must be greater than zero and less than Fs/2.");
    form.edge2 = 0.05; // nothing requires lo < hi
    EXPECT_EQ(Check(form), "designed");
    // A band of no width is refused as input, for both band responses.
    form.edge2 = 0.1;
    EXPECT_EQ(Check(form), "The two band edges must not be equal.");
    form.response = kBandpass;
    EXPECT_EQ(Check(form), "The two band edges must not be equal.");
}

TEST(DesignAction, AQuantizedPoleOnTheUnitCircleIsKeptWithAWarning) {
    // A very narrow lowpass: its poles crowd z = 1, and few fraction bits put
    // them on or outside the circle.
    for (const std::int32_t fracBits : {6, 8, 10}) {
        IirDesignSpec form;
        form.edge1 = 0.002;
        form.dataType = kFixedPoint;
        form.fracBits = fracBits;
        CIirFilter filter;
        const DesignOutcome outcome = RunDesign(filter, form, kMinDb);
        ASSERT_TRUE(outcome.Designed()) << fracBits;
        EXPECT_EQ(outcome.warning, kUnstableQuantizedWarning) << fracBits;
        EXPECT_TRUE(std::isfinite(filter.normMag)) << fracBits;
        // Editing afterwards never scales the gain by a non-finite factor.
        const double gain = filter.k;
        filter.Renormalize();
        EXPECT_TRUE(std::isfinite(filter.k)) << fracBits;
        if (filter.normMag == 0.0) {
            EXPECT_EQ(filter.k, gain);
        }
    }
    IirDesignSpec stable;
    stable.dataType = kFixedPoint;
    CIirFilter filter;
    const DesignOutcome outcome = RunDesign(filter, stable, kMinDb);
    EXPECT_TRUE(outcome.Designed());
    EXPECT_TRUE(outcome.warning.empty());
}

TEST(DesignAction, RefusalLeavesTheFilterUntouched) {
    CIirFilter filter;
    IirDesignSpec form;
    ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
    const CIirFilter before = filter;
    form.order = 0;
    form.family = kElliptic;
    EXPECT_FALSE(RunDesign(filter, form, kMinDb).Designed());
    EXPECT_EQ(filter.spec, before.spec);
    EXPECT_EQ(filter.p, before.p);
    EXPECT_EQ(filter.k, before.k);
}

TEST(DesignAction, EngineFailureIsReportedAndLeavesTheFilterUntouched) {
    CIirFilter filter;
    IirDesignSpec form;
    ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
    const CIirFilter before = filter;
    // An elliptic bandstop of high order next to the Nyquist frequency is beyond
    // double precision.
    form.family = kElliptic;
    form.response = kBandstop;
    form.order = 60;
    form.edge1 = 0.45;
    form.edge2 = 0.4999;
    const DesignOutcome outcome = RunDesign(filter, form, kMinDb);
    ASSERT_FALSE(outcome.Designed());
    EXPECT_EQ(outcome.status, DesignOutcome::Status::kFailed);
    EXPECT_EQ(outcome.message,
              "The filter cannot be designed with these parameters.\nTry a lower order or a "
              "wider band.");
    EXPECT_EQ(filter.spec, before.spec);
    EXPECT_EQ(filter.z, before.z);
    EXPECT_EQ(filter.sos.Rows(), before.sos.Rows());
}

TEST(DesignAction, GainAndBiquadChoiceAreApplied) {
    CIirFilter filter;
    IirDesignSpec form;
    form.family = kChebyshev;
    form.order = 4;
    form.rippleDb = 2.0;
    form.gainDb = 6.0;
    form.useBiquads = 2; // only exactly 1 selects the sections
    ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
    EXPECT_EQ(filter.spec, form);
    EXPECT_FALSE(filter.useSos);
    // normMag includes the form's gain (even order: -ripple at DC, then +6 dB).
    EXPECT_NEAR(20 * std::log10(filter.normMag), 4.0, 1e-9);
    EXPECT_NEAR(20 * std::log10(filter.MagnitudeAt(filter.normFreq)), 4.0, 1e-9);
    EXPECT_DOUBLE_EQ(filter.sos.gain, filter.k);

    form.adjustForRipple = 1;
    form.useBiquads = 1;
    ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
    EXPECT_TRUE(filter.useSos);
    EXPECT_NEAR(20 * std::log10(filter.MagnitudeAt(filter.normFreq)), 5.0, 1e-9);

    form.family = kButterworth; // no ripple to adjust for
    ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
    EXPECT_NEAR(20 * std::log10(filter.MagnitudeAt(0.0)), 6.0, 1e-9);
}

TEST(DesignAction, GainBelowMinus300DbGivesZeroGain) {
    CIirFilter filter;
    IirDesignSpec form;
    form.gainDb = -301;
    ASSERT_TRUE(RunDesign(filter, form, -400).Designed());
    EXPECT_EQ(filter.k, 0.0);
    EXPECT_EQ(filter.sos.gain, 0.0);
    for (const auto& c : filter.b)
        EXPECT_EQ(c, korin::mcplx(0.0));
    EXPECT_EQ(LinearGain(form), 0.0);
    form.gainDb = -300;
    EXPECT_GT(LinearGain(form), 0.0);
}

TEST(DesignAction, EdgesAreScaledBySamplingFrequencyInItsUnit) {
    // 1 kHz cutoff at 8 kHz is the same filter as 0.125 at 1 Hz.
    CIirFilter a;
    a.fs = CFs(8.0);
    a.fs.SetUnit(1);
    IirDesignSpec form;
    form.edge1 = 1.0;
    ASSERT_TRUE(RunDesign(a, form, kMinDb).Designed());
    CIirFilter b;
    form.edge1 = 0.125;
    ASSERT_TRUE(RunDesign(b, form, kMinDb).Designed());
    ASSERT_EQ(a.p.size(), b.p.size());
    for (std::size_t i = 0; i < a.p.size(); ++i)
        EXPECT_EQ(a.p[i], b.p[i]);
}

} // namespace
} // namespace tarvo
