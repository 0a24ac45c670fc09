// Minimum-order estimates against SciPy's buttord, cheb1ord and ellipord
// (tools/gen_order_fixtures.py), and the filters designed from them measured
// against the requirements they were estimated for.

#include "design/design_action.h"
#include "design/iir_filter.h"
#include "design/order_estimate.h"
#include "support/fixtures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

// dB: the designs meet ripple and attenuation to rounding [worst measured in the
// summary line the tests print].
constexpr double kDbTol = 1e-6;
constexpr double kMinDb = -130.0;

struct ReferenceRow {
    int line = 0;
    OrderRequest request;
    std::array<std::int32_t, 3> orders{}; // buttord, cheb1ord, ellipord
};

std::vector<ReferenceRow> LoadRows() {
    std::istringstream in(test::ReadFixture("order_estimate.txt"));
    std::vector<ReferenceRow> rows;
    int line = 0;
    for (std::string text; std::getline(in, text);) {
        ++line;
        if (text.empty() || text[0] == '#') continue;
        std::istringstream fields(text);
        fields.imbue(std::locale::classic());
        ReferenceRow row;
        row.line = line;
        OrderRequest& r = row.request;
        fields >> r.response >> r.fs >> r.pass1 >> r.pass2 >> r.stop1 >> r.stop2 >> r.rippleDb >>
            r.attenDb >> row.orders[0] >> row.orders[1] >> row.orders[2];
        EXPECT_FALSE(fields.fail()) << "line " << line;
        rows.push_back(row);
    }
    return rows;
}

const std::vector<ReferenceRow>& Rows() {
    static const std::vector<ReferenceRow> rows = LoadRows();
    return rows;
}

double LossDb(double reference, double magnitude) {
    return 20.0 * std::log10(reference / magnitude);
}

// Frequencies evenly spread over [a, b] (unit of fs), both ends included.
std::vector<double> Spread(double a, double b, int count) {
    std::vector<double> f;
    f.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        f.push_back(a + (b - a) * i / (count - 1));
    return f;
}

struct Bands {
    std::vector<double> passEdges;
    std::vector<double> stopEdges;
    std::vector<double> passband; // points inside the passband(s)
    std::vector<double> stopband; // points beyond the stopband edges
};

Bands BandsOf(const OrderRequest& r) {
    // Just inside Fs/2 and 0, where a zero of some designs makes the loss infinite.
    const double top = r.fs / 2.0 * (1.0 - 1e-9);
    const double bottom = r.fs * 1e-12;
    Bands b;
    auto append = [](std::vector<double>& to, const std::vector<double>& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    switch (r.response) {
    case kLowpass:
        b.passEdges = {r.pass1};
        b.stopEdges = {r.stop1};
        b.passband = Spread(bottom, r.pass1, 24);
        b.stopband = Spread(r.stop1, top, 8);
        break;
    case kHighpass:
        b.passEdges = {r.pass1};
        b.stopEdges = {r.stop1};
        b.passband = Spread(r.pass1, top, 24);
        b.stopband = Spread(bottom, r.stop1, 8);
        break;
    case kBandpass:
        b.passEdges = {r.pass1, r.pass2};
        b.stopEdges = {r.stop1, r.stop2};
        b.passband = Spread(r.pass1, r.pass2, 24);
        b.stopband = Spread(bottom, r.stop1, 6);
        append(b.stopband, Spread(r.stop2, top, 6));
        break;
    default:
        b.passEdges = {r.pass1, r.pass2};
        b.stopEdges = {r.stop1, r.stop2};
        b.passband = Spread(bottom, r.pass1, 12);
        append(b.passband, Spread(r.pass2, top, 12));
        b.stopband = Spread(r.stop1, r.stop2, 8);
        break;
    }
    return b;
}

struct Measured {
    double worstPassLoss = 0.0; // the most loss at a passband edge, dB
    double leastStopLoss = 0.0; // the least loss at a stopband edge or beyond, dB
};

// The loss, relative to the passband maximum, of the design the form makes.
Measured Measure(const CIirFilter& filter, const IirDesignSpec& form, const OrderRequest& r) {
    const Bands bands = BandsOf(r);
    auto magnitude = [&](double f) { return filter.MagnitudeAt(f / r.fs); };
    // The designs peak at the form's gain; sampling would only approximate the peaks.
    double peak = LinearGain(form);
    for (double f : bands.passband)
        peak = std::max(peak, magnitude(f));
    Measured m;
    m.worstPassLoss = -std::numeric_limits<double>::infinity();
    for (double f : bands.passEdges)
        m.worstPassLoss = std::max(m.worstPassLoss, LossDb(peak, magnitude(f)));
    m.leastStopLoss = std::numeric_limits<double>::infinity();
    for (double f : bands.stopEdges)
        m.leastStopLoss = std::min(m.leastStopLoss, LossDb(peak, magnitude(f)));
    for (double f : bands.stopband)
        m.leastStopLoss = std::min(m.leastStopLoss, LossDb(peak, magnitude(f)));
    return m;
}

TEST(OrderEstimate, OrdersEqualScipys) {
    const std::vector<ReferenceRow>& rows = Rows();
    ASSERT_GE(rows.size(), 500u);
    std::array<int, 4> perResponse{};
    int compared = 0;
    for (const ReferenceRow& row : rows) {
        SCOPED_TRACE("fixture line " + std::to_string(row.line));
        const OrderEstimate e = EstimateOrder(row.request);
        ASSERT_TRUE(e.Ok()) << e.error;
        ++perResponse.at(static_cast<std::size_t>(row.request.response));
        for (std::size_t family = 0; family < 3; ++family) {
            const FamilyOrder& f = e.families[family];
            EXPECT_EQ(f.family, static_cast<std::int32_t>(family));
            EXPECT_EQ(f.order, row.orders[family]) << FamilyText(f.family);
            ++compared;
            // Above the engine's bound the order is still told, with the reason.
            if (row.orders[family] > kMaxOrder) {
                EXPECT_EQ(f.error, "The " + std::string(FamilyText(f.family)) +
                                       " filter needs order " + std::to_string(row.orders[family]) +
                                       ", more than the maximum order of 1000.");
                EXPECT_EQ(f.edge1, 0.0);
            } else {
                EXPECT_TRUE(f.Usable()) << f.error;
            }
        }
    }
    for (int count : perResponse)
        EXPECT_GE(count, 100);
    std::cout << "order estimates against SciPy: " << compared << " orders of " << rows.size()
              << " specifications compared\n";
}

// Every estimate, typed into the form and designed, keeps the passband loss at
// the ripple and attenuates the stopband by the attenuation. The loss at the
// worst passband edge equals the ripple: also for Butterworth, whose margin goes
// to the stopband.
TEST(OrderEstimate, DesignsMeetTheirRequirements) {
    double worstPass = 0.0;
    double worstStop = std::numeric_limits<double>::infinity();
    int designed = 0;
    for (const ReferenceRow& row : Rows()) {
        const OrderRequest& r = row.request;
        const OrderEstimate e = EstimateOrder(r);
        ASSERT_TRUE(e.Ok()) << "line " << row.line << ": " << e.error;
        for (const FamilyOrder& f : e.families) {
            if (!f.Usable()) continue;
            SCOPED_TRACE("fixture line " + std::to_string(row.line) + ", " +
                         std::string(FamilyText(f.family)));
            // Other form values must not matter: alternate centre and width, gain
            // and the ripple adjustment.
            IirDesignSpec form;
            form.centerWidth = row.line % 2;
            form.gainDb = row.line % 3 == 0 ? -6.0 : 0.0;
            form.adjustForRipple = row.line % 5 == 0 ? 1 : 0;
            form = ApplyEstimate(form, r, f);
            CIirFilter filter;
            filter.fs = CFs(r.fs);
            const DesignOutcome outcome = RunDesign(filter, form, kMinDb);
            ASSERT_TRUE(outcome.Designed()) << outcome.message;
            ASSERT_EQ(filter.spec.order, f.order);
            const Measured m = Measure(filter, form, r);
            EXPECT_NEAR(m.worstPassLoss, r.rippleDb, kDbTol);
            EXPECT_GE(m.leastStopLoss, r.attenDb - kDbTol);
            worstPass = std::max(worstPass, std::fabs(m.worstPassLoss - r.rippleDb));
            worstStop = std::min(worstStop, m.leastStopLoss - r.attenDb);
            ++designed;
        }
    }
    EXPECT_GE(designed, 1500);
    std::cout << "estimated designs: " << designed << ", passband edge loss within " << worstPass
              << " dB of the ripple, stopband margin at least " << worstStop << " dB\n";
}

// One order less, with the ripple edges in the same place, misses the
// attenuation: the Chebyshev and elliptic estimates are the least orders the
// design engine itself needs, not only SciPy's.
TEST(OrderEstimate, OneOrderLessFallsShort) {
    int checked = 0;
    for (const ReferenceRow& row : Rows()) {
        if (row.line % 5 != 0) continue;
        const OrderRequest& r = row.request;
        const OrderEstimate e = EstimateOrder(r);
        for (const FamilyOrder& f : e.families) {
            if (f.family == kButterworth || !f.Usable() || f.order < 2) continue;
            SCOPED_TRACE("fixture line " + std::to_string(row.line) + ", " +
                         std::string(FamilyText(f.family)));
            IirDesignSpec form = ApplyEstimate(IirDesignSpec{}, r, f);
            --form.order;
            CIirFilter filter;
            filter.fs = CFs(r.fs);
            ASSERT_TRUE(RunDesign(filter, form, kMinDb).Designed());
            const Measured m = Measure(filter, form, r);
            EXPECT_NEAR(m.worstPassLoss, r.rippleDb, kDbTol);
            EXPECT_LT(m.leastStopLoss, r.attenDb) << "order " << form.order << " would do";
            ++checked;
        }
    }
    EXPECT_GE(checked, 150);
}

// A valid request of each response, for the refusal table to spoil.
OrderRequest Valid(std::int32_t response) {
    OrderRequest r;
    r.response = response;
    r.fs = 8.0;
    r.rippleDb = 1.0;
    r.attenDb = 60.0;
    switch (response) {
    case kLowpass:
        r.pass1 = 1.0;
        r.stop1 = 1.5;
        break;
    case kHighpass:
        r.pass1 = 1.5;
        r.stop1 = 1.0;
        break;
    case kBandpass:
        r.stop1 = 1.0;
        r.pass1 = 1.5;
        r.pass2 = 2.0;
        r.stop2 = 2.5;
        break;
    default:
        r.pass1 = 1.0;
        r.stop1 = 1.5;
        r.stop2 = 2.0;
        r.pass2 = 2.5;
        break;
    }
    return r;
}

TEST(OrderEstimate, RefusesImpossibleRequests) {
    const std::string range = "All band edges must be greater than zero and less than Fs/2.";
    const std::string lowpass =
        "The stopband edge of a lowpass filter must lie above its passband edge.";
    const std::string highpass =
        "The stopband edge of a highpass filter must lie below its passband edge.";
    const std::string bandpass = "The passband of a bandpass filter must lie inside its stopband "
                                 "edges: stop 1 < pass 1 < pass 2 < stop 2.";
    const std::string bandstop = "The stopband of a bandstop filter must lie inside its passband "
                                 "edges: pass 1 < stop 1 < stop 2 < pass 2.";
    const std::string fsMessage =
        "The sampling frequency must be a finite number greater than zero.";
    const std::string ripple = "The passband ripple must be a finite number greater than zero.";
    const std::string atten = "The stopband attenuation must be a finite number greater than zero.";
    const std::string aboveRipple =
        "The stopband attenuation must be greater than the passband ripple.";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::int32_t response;
        std::function<void(OrderRequest&)> spoil;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"fs zero", kLowpass, [](OrderRequest& r) { r.fs = 0.0; }, fsMessage},
        {"fs negative", kBandpass, [](OrderRequest& r) { r.fs = -8.0; }, fsMessage},
        {"fs NaN", kLowpass, [nan](OrderRequest& r) { r.fs = nan; }, fsMessage},
        {"fs infinite", kLowpass, [inf](OrderRequest& r) { r.fs = inf; }, fsMessage},
        {"response", kLowpass, [](OrderRequest& r) { r.response = 4; },
         "The response must be Lowpass, Highpass, Bandpass or Bandstop."},
        {"edge zero", kLowpass, [](OrderRequest& r) { r.pass1 = 0.0; }, range},
        {"edge at Fs/2", kLowpass, [](OrderRequest& r) { r.stop1 = 4.0; }, range},
        {"edge above Fs/2", kHighpass, [](OrderRequest& r) { r.pass1 = 5.0; }, range},
        {"edge NaN", kHighpass, [nan](OrderRequest& r) { r.stop1 = nan; }, range},
        {"upper edge beyond Fs/2", kBandpass, [](OrderRequest& r) { r.stop2 = 4.5; }, range},
        {"upper edge negative", kBandstop, [](OrderRequest& r) { r.pass2 = -1.0; }, range},
        {"lowpass stopband in the passband", kLowpass, [](OrderRequest& r) { r.stop1 = 0.5; },
         lowpass},
        {"lowpass edges equal", kLowpass, [](OrderRequest& r) { r.stop1 = r.pass1; }, lowpass},
        {"highpass stopband in the passband", kHighpass, [](OrderRequest& r) { r.stop1 = 2.0; },
         highpass},
        {"bandpass stopband edge inside", kBandpass, [](OrderRequest& r) { r.stop1 = 1.7; },
         bandpass},
        {"bandpass upper stopband edge inside", kBandpass, [](OrderRequest& r) { r.stop2 = 1.9; },
         bandpass},
        {"bandpass passband reversed", kBandpass,
         [](OrderRequest& r) { std::swap(r.pass1, r.pass2); }, bandpass},
        {"bandpass given as a bandstop", kBandpass,
         [](OrderRequest& r) { r = Valid(kBandstop), r.response = kBandpass; }, bandpass},
        {"bandstop passband edge inside", kBandstop, [](OrderRequest& r) { r.pass1 = 1.7; },
         bandstop},
        {"bandstop stopband reversed", kBandstop,
         [](OrderRequest& r) { std::swap(r.stop1, r.stop2); }, bandstop},
        {"bandstop given as a bandpass", kBandstop,
         [](OrderRequest& r) { r = Valid(kBandpass), r.response = kBandstop; }, bandstop},
        {"ripple zero", kLowpass, [](OrderRequest& r) { r.rippleDb = 0.0; }, ripple},
        {"ripple infinite", kBandstop, [inf](OrderRequest& r) { r.rippleDb = inf; }, ripple},
        {"attenuation negative", kLowpass, [](OrderRequest& r) { r.attenDb = -60.0; }, atten},
        {"attenuation NaN", kHighpass, [nan](OrderRequest& r) { r.attenDb = nan; }, atten},
        {"attenuation equal to the ripple", kBandpass, [](OrderRequest& r) { r.attenDb = 1.0; },
         aboveRipple},
        {"attenuation below the ripple", kLowpass, [](OrderRequest& r) { r.attenDb = 0.5; },
         aboveRipple},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrderRequest r = Valid(c.response);
        ASSERT_TRUE(EstimateOrder(r).Ok());
        c.spoil(r);
        const OrderEstimate e = EstimateOrder(r);
        EXPECT_EQ(e.error, c.message);
        EXPECT_FALSE(e.Ok());
        for (const FamilyOrder& f : e.families)
            EXPECT_EQ(f.order, 0);
    }
}

// Lowpass and highpass edges leave the form's second edge alone; band edges go in
// as they are, or as centre and width when the form asks for them.
TEST(OrderEstimate, ApplyFillsTheFormsFields) {
    struct Case {
        std::int32_t response;
        std::int32_t centerWidth;
        double edge1;
        double edge2;
    };
    const Case cases[] = {
        {kLowpass, 0, 1.25, 0.3},  {kHighpass, 1, 1.25, 0.3},   {kBandpass, 0, 1.25, 2.5},
        {kBandstop, 0, 1.25, 2.5}, {kBandpass, 1, 1.875, 1.25}, {kBandstop, 1, 1.875, 1.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(ResponseText(c.response)) + " " + std::to_string(c.centerWidth));
        IirDesignSpec form;
        form.centerWidth = c.centerWidth;
        form.dataType = kFixedPoint;
        form.fracBits = 20;
        form.gainDb = -3.0;
        const OrderRequest r = Valid(c.response);
        FamilyOrder chosen;
        chosen.family = kElliptic;
        chosen.order = 7;
        chosen.edge1 = 1.25;
        chosen.edge2 = 2.5;
        const IirDesignSpec got = ApplyEstimate(form, r, chosen);
        IirDesignSpec expected = form;
        expected.family = kElliptic;
        expected.response = c.response;
        expected.order = 7;
        expected.rippleDb = r.rippleDb;
        expected.attenDb = r.attenDb;
        expected.edge1 = c.edge1;
        expected.edge2 = c.edge2;
        EXPECT_EQ(got, expected);
    }
}

// Orders beyond the engine's bound name the family and the order; families
// within it keep their answer. An order too large to count says so.
TEST(OrderEstimate, OrdersAboveTheMaximumAreTold) {
    constexpr std::int32_t kUnbounded = std::numeric_limits<std::int32_t>::max();
    struct Case {
        const char* what;
        double stopOverPass;
        double attenDb;
        std::array<bool, 3> usable;
    };
    const Case cases[] = {
        {"narrow transition", 1.0 + 1e-6, 60.0, {false, false, true}},
        {"attenuation beyond the double range", 1.5, 4000.0, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrderRequest r = Valid(kLowpass);
        r.stop1 = r.pass1 * c.stopOverPass;
        r.attenDb = c.attenDb;
        const OrderEstimate e = EstimateOrder(r);
        ASSERT_TRUE(e.Ok()) << e.error;
        for (const FamilyOrder& f : e.families) {
            const std::string name(FamilyText(f.family));
            EXPECT_EQ(f.Usable(), c.usable.at(static_cast<std::size_t>(f.family))) << name;
            if (f.Usable()) {
                EXPECT_LE(f.order, kMaxOrder);
                EXPECT_GT(f.edge1, 0.0);
            } else if (f.order == kUnbounded) {
                EXPECT_EQ(f.error, "The " + name +
                                       " filter needs an order beyond any bound; the maximum "
                                       "order is 1000.");
            } else {
                EXPECT_GT(f.order, kMaxOrder);
                EXPECT_EQ(f.error, "The " + name + " filter needs order " +
                                       std::to_string(f.order) +
                                       ", more than the maximum order of 1000.");
            }
        }
    }
}

} // namespace
} // namespace tarvo
