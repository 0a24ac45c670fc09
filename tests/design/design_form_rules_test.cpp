// The design form's enable and label rules as a matrix, and the centre/width
// conversion of its box.

#include "design/design_form_rules.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(DesignFormRules, EnableAndLabelMatrix) {
    for (std::int32_t family = 0; family < 3; ++family) {
        for (std::int32_t response = 0; response < 4; ++response) {
            for (std::int32_t dataType = 0; dataType < 3; ++dataType) {
                for (std::int32_t centerWidth = 0; centerWidth < 2; ++centerWidth) {
                    IirDesignSpec form;
                    form.family = family;
                    form.response = response;
                    form.dataType = dataType;
                    form.centerWidth = centerWidth;
                    const DesignFormState s = DesignFormRules(form);
                    const bool band = response == kBandpass || response == kBandstop;
                    SCOPED_TRACE(testing::Message()
                                 << family << response << dataType << centerWidth);
                    EXPECT_EQ(s.rippleEnabled, family != kButterworth);
                    EXPECT_EQ(s.attenuationEnabled, family == kElliptic);
                    EXPECT_EQ(s.secondEdgeEnabled, band);
                    EXPECT_EQ(s.centerWidthEnabled, band);
                    EXPECT_EQ(s.fixedPointEnabled, dataType == kFixedPoint);
                    // Lowpass with the box still set keeps the cutoff labels.
                    const bool cw = band && centerWidth == 1;
                    EXPECT_EQ(s.firstLabel, cw ? "Center" : "Cutoff 1");
                    EXPECT_EQ(s.secondLabel, cw ? "Width" : "Cutoff 2");
                }
            }
        }
    }
}

TEST(DesignFormRules, ToggleTwiceGivesBackOrderedEdges) {
    struct Row {
        double first, second;
        double center, width;
        double backFirst, backSecond;
    };
    for (const Row& r : {Row{0.1, 0.3, 0.2, 0.2, 0.1, 0.3}, Row{0.3, 0.1, 0.2, 0.2, 0.1, 0.3},
                         Row{1000.1, 2000.7, 1500.4, 1000.6, 1000.1, 2000.7},
                         Row{0.07, 0.23, 0.15, 0.16, 0.07, 0.23}}) {
        IirDesignSpec form;
        form.edge1 = r.first;
        form.edge2 = r.second;
        ToggleCenterWidth(form, true);
        EXPECT_EQ(form.centerWidth, 1);
        EXPECT_EQ(form.edge1, r.center);
        EXPECT_EQ(form.edge2, r.width);
        ToggleCenterWidth(form, false);
        EXPECT_EQ(form.edge1, r.backFirst) << r.first;
        EXPECT_EQ(form.edge2, r.backSecond) << r.second;
    }
}

TEST(DesignFormRules, RoundsToFifteenSignificantDigits) {
    EXPECT_EQ(RoundSignificant15(0.1 + 0.2), 0.3);
    EXPECT_EQ(RoundSignificant15(-1234.5678901234567), -1234.56789012346);
    EXPECT_EQ(RoundSignificant15(0.0), 0.0);
}

} // namespace
} // namespace tarvo
