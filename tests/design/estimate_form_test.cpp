// The Estimate Order dialog's rules: the request it starts from must be one the
// estimate accepts, fields read in order, and the report keeps an estimate's
// stopband edges only while the design has the estimated shape.

#include "design/estimate_form.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

IirDesignSpec Form(std::int32_t response, double edge1, double edge2, bool centerWidth = false) {
    IirDesignSpec spec;
    spec.response = response;
    spec.edge1 = edge1;
    spec.edge2 = edge2;
    spec.centerWidth = centerWidth ? 1 : 0;
    spec.rippleDb = 0.5;
    spec.attenDb = 60.0;
    return spec;
}

TEST(EstimateForm, TheDefaultRequestOfAnyFormIsAccepted) {
    const struct {
        IirDesignSpec spec;
        double fs;
    } rows[] = {
        {Form(kLowpass, 0.2, 0.3), 1.0},         {Form(kLowpass, 20.0, 0.0), 48.0},
        {Form(kHighpass, 0.2, 0.3), 1.0},        {Form(kHighpass, 0.45, 0.0), 1.0},
        {Form(kBandpass, 0.2, 0.3), 1.0},        {Form(kBandpass, 8.0, 10.0), 48.0},
        {Form(kBandpass, 0.25, 0.1, true), 1.0}, {Form(kBandstop, 0.2, 0.3), 1.0},
        {Form(kBandstop, 0.3, 0.2), 1.0},        {Form(kBandstop, 12.0, 4.0, true), 48.0},
    };
    for (const auto& row : rows) {
        const OrderRequest r = DefaultOrderRequest(row.spec, row.fs);
        const OrderEstimate e = EstimateOrder(r);
        EXPECT_TRUE(e.Ok()) << ResponseText(row.spec.response) << " " << row.spec.edge1 << ": "
                            << e.error;
        EXPECT_EQ(r.response, row.spec.response);
        EXPECT_EQ(r.rippleDb, 0.5);
        EXPECT_EQ(r.attenDb, 60.0);
        // The form's band is the passband, whichever way it was typed.
        if (row.spec.response >= kBandpass) {
            const BandEdges band = row.spec.centerWidth != 0
                                       ? EdgesFromCenterWidth(row.spec.edge1, row.spec.edge2)
                                       : BandEdges{std::min(row.spec.edge1, row.spec.edge2),
                                                   std::max(row.spec.edge1, row.spec.edge2)};
            EXPECT_DOUBLE_EQ(r.pass1, band.lo);
            EXPECT_DOUBLE_EQ(r.pass2, band.hi);
        } else {
            EXPECT_EQ(r.pass1, row.spec.edge1);
        }
    }
}

TEST(EstimateForm, FieldsReadInOrderAndOnlyWhereTheyCount) {
    std::array<std::string, kEstimateFieldCount> texts{"0.1", "x", "0.15", "", "1", "40"};
    // The second edges do not count for a lowpass: what they hold is not read.
    EstimateInput in = ReadEstimateFields(kLowpass, 1.0, texts);
    ASSERT_TRUE(in.request.has_value()) << in.message;
    EXPECT_EQ(in.request->pass1, 0.1);
    EXPECT_EQ(in.request->stop1, 0.15);
    EXPECT_EQ(in.request->attenDb, 40.0);

    in = ReadEstimateFields(kBandpass, 1.0, texts);
    EXPECT_FALSE(in.request.has_value());
    EXPECT_EQ(in.message, "Passband edge 2: Please enter a number.");
    texts[kEstimatePass2] = "0.2";
    EXPECT_EQ(ReadEstimateFields(kBandpass, 1.0, texts).message,
              "Stopband edge 2: Please enter a number.");
    EXPECT_FALSE(EstimateFieldEnabled(kEstimateStop2, kHighpass));
    EXPECT_TRUE(EstimateFieldEnabled(kEstimateStop2, kBandstop));

    // What a request shows reads back to the same request.
    const OrderRequest r = DefaultOrderRequest(Form(kBandstop, 0.123456789, 0.3), 1.0);
    in = ReadEstimateFields(kBandstop, 1.0, EstimateFieldTexts(r));
    ASSERT_TRUE(in.request.has_value());
    EXPECT_EQ(in.request->pass1, r.pass1);
    EXPECT_EQ(in.request->stop2, r.stop2);
}

TEST(EstimateForm, RowTexts) {
    FamilyOrder f;
    f.order = 7;
    f.edge1 = 8.123456789;
    f.edge2 = 9.9;
    EXPECT_EQ(EstimateOrderText(f), "7");
    EXPECT_EQ(EstimateEdgesText(f, kLowpass, "kHz"), "8.12346 kHz");
    EXPECT_EQ(EstimateEdgesText(f, kBandstop, "kHz"), "8.12346 to 9.9 kHz");
    f.error = "The Butterworth filter needs order 2411, more than the maximum order of 1000.";
    EXPECT_EQ(EstimateOrderText(f), "-");
    EXPECT_EQ(EstimateEdgesText(f, kLowpass, "Hz"), f.error);
}

TEST(EstimateForm, TheReportKeepsTheStopEdgesWhileTheDesignHasTheEstimatedShape) {
    OrderRequest r;
    r.response = kBandpass;
    r.stop1 = 0.1;
    r.stop2 = 0.4;
    const IirDesignSpec form = Form(kBandpass, 0.2, 0.3);
    const EstimatedDesign estimated = MakeEstimatedDesign(form, r);

    IirDesignSpec designed = form;
    designed.gainDb = 6.0; // the gain and data type do not change the shape
    designed.dataType = kSingle;
    ReportBands bands = ReportBandsFor(designed, estimated);
    EXPECT_TRUE(bands.known);
    EXPECT_EQ(bands.stop1, 0.1);
    EXPECT_EQ(bands.stop2, 0.4);

    const auto changes = {+[](IirDesignSpec& s) { ++s.order; },
                          +[](IirDesignSpec& s) { s.edge1 = 0.21; },
                          +[](IirDesignSpec& s) { s.family = kElliptic; },
                          +[](IirDesignSpec& s) { s.centerWidth = 1; }};
    for (const auto change : changes) {
        IirDesignSpec other = designed;
        change(other);
        EXPECT_FALSE(ReportBandsFor(other, estimated).known);
    }
    EXPECT_FALSE(ReportBandsFor(designed, std::nullopt).known);

    r.response = kLowpass; // one stopband edge only
    EXPECT_EQ(MakeEstimatedDesign(Form(kLowpass, 0.2, 0.3), r).bands.stop2, 0.0);
}

} // namespace
} // namespace tarvo
