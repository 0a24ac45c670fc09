#include "korin/base/mround.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace korin {
namespace {

TEST(QuantizeValue, PublishedExamples) {
    EXPECT_EQ(QuantizeValue(0.1, 30), 107374182.0 / 1073741824.0);
    EXPECT_EQ(QuantizeValue(0.1, 30), 0.09999999962747097);
    EXPECT_EQ(QuantizeValue(-0.1, 30), -0.09999999962747097);
    EXPECT_EQ(QuantizeValue(0.25, 1), 0.5);
    EXPECT_EQ(QuantizeValue(-0.25, 1), -0.5);
    EXPECT_EQ(QuantizeValue(0.2, 1), 0.0);
    // No saturation to the integer bits: 3.7 keeps its integer part 3.
    EXPECT_LE(std::fabs(QuantizeValue(3.7, 30) - 3.7), std::ldexp(1.0, -31));
}

TEST(QuantizeValue, HalvesAwayFromZeroAndIntegersAtZeroBits) {
    EXPECT_EQ(QuantizeValue(2.5, 0), 3.0);
    EXPECT_EQ(QuantizeValue(-2.5, 0), -3.0);
    EXPECT_EQ(QuantizeValue(1.0, 0), 1.0);
    EXPECT_EQ(QuantizeValue(-1.49, 0), -1.0);
    // Negative fraction bits: multiples of 4.
    EXPECT_EQ(QuantizeValue(5.9, -2), 4.0);
    EXPECT_EQ(QuantizeValue(6.0, -2), 8.0);
}

TEST(QuantizeValue, IdempotentAndOnTheGrid) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> d(-4.0, 4.0);
    for (const int f : {0, 1, 7, 15, 23, 30, 31, 52, 60}) {
        for (int i = 0; i < 200; ++i) {
            const double q = QuantizeValue(d(rng), f);
            EXPECT_EQ(QuantizeValue(q, f), q);
            const double scaled = std::ldexp(q, f);
            EXPECT_EQ(scaled, std::trunc(scaled));
        }
    }
}

TEST(QuantizeValue, NoOverflowForHugeBitCountsOrValues) {
    EXPECT_EQ(QuantizeValue(0.1, 2000), 0.1);
    // The extreme bit counts a damaged project file can hold.
    EXPECT_EQ(QuantizeValue(0.1, std::numeric_limits<std::int32_t>::max()), 0.1);
    EXPECT_EQ(QuantizeValue(0.1, std::numeric_limits<std::int32_t>::min()), 0.0);
    EXPECT_EQ(QuantizeValue(-1e300, -3000), 0.0);
    EXPECT_EQ(QuantizeValue(1e300, 30), 1e300);
    EXPECT_EQ(QuantizeValue(std::numeric_limits<double>::infinity(), 4),
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(QuantizeValue(std::nan(""), 4)));
}

TEST(RoundToFloatValue, NearestSingle) {
    EXPECT_EQ(RoundToFloatValue(0.1), 0.100000001490116119384765625);
    EXPECT_EQ(RoundToFloatValue(1.0 + std::ldexp(1.0, -24)), 1.0); // tie to even
    EXPECT_EQ(RoundToFloatValue(1e300), std::numeric_limits<double>::infinity());
    EXPECT_EQ(RoundToFloatValue(-1e300), -std::numeric_limits<double>::infinity());
    const double fltMax = std::numeric_limits<float>::max();
    EXPECT_EQ(RoundToFloatValue(fltMax + std::ldexp(1.0, 100)), fltMax);
    EXPECT_EQ(RoundToFloatValue(1e-50), 0.0);
    EXPECT_EQ(RoundToFloatValue(RoundToFloatValue(0.3)), RoundToFloatValue(0.3));
}

} // namespace
} // namespace korin
