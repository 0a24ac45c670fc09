#include "plot/fs.h"
#include "support/assert_capture.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

CFs WithUnit(double value, int unit) {
    CFs fs(value);
    fs.SetUnit(unit);
    return fs;
}

TEST(CFs, ValueUnitAndHertz) {
    CFs fs(48.0);
    EXPECT_EQ(fs.GetUnit(), 0);
    EXPECT_EQ(fs.GetHz(), 48.0);
    fs.SetUnit(1);
    double multiplier = 0.0;
    EXPECT_EQ(fs.GetValue(&multiplier), 48.0);
    EXPECT_EQ(multiplier, 1000.0);
    EXPECT_EQ(fs.GetValue(), 48.0);
    EXPECT_EQ(fs.GetHz(), 48000.0);
    EXPECT_EQ(WithUnit(2.5, 2).GetHz(), 2.5e6);
    EXPECT_EQ(WithUnit(1.2, 3).GetHz(), 1.2e9);
    fs.SetValue(44.1);
    EXPECT_EQ(fs.GetValue(), 44.1);
}

TEST(CFs, UnitOutsideTheTableIsRefused) {
    CFs fs(1.0);
    fs.SetUnit(2);
    tarvo::test::AssertCapture capture;
    fs.SetUnit(4);
    fs.SetUnit(-1);
    EXPECT_EQ(capture.Count(), 2u);
    EXPECT_EQ(fs.GetUnit(), 2);
}

TEST(CFs, UnitTexts) {
    const char* freq[] = {"Hz", "kHz", "MHz", "GHz"};
    const char* time[] = {"sec", "ms", "us", "ns"};
    const char* pair[] = {"Hz,sec", "kHz,ms", "MHz,us", "GHz,ns"};
    for (int u = 0; u < 4; ++u) {
        const CFs fs = WithUnit(1.0, u);
        EXPECT_EQ(fs.GetFreqUnitName(), freq[u]);
        EXPECT_EQ(fs.GetTimeUnitName(), time[u]);
        EXPECT_EQ(fs.GetUnitPairText(), pair[u]);
    }
}

TEST(CFs, SetUnitFromText) {
    CFs fs(1.0);
    EXPECT_TRUE(fs.SetUnitFromText("MHz,us"));
    EXPECT_EQ(fs.GetUnit(), 2);
    fs.SetUnit(3);
    EXPECT_TRUE(fs.SetUnitFromText("mhz"));
    EXPECT_EQ(fs.GetUnit(), 2);
    EXPECT_TRUE(fs.SetUnitFromText("GHZ,anything"));
    EXPECT_EQ(fs.GetUnit(), 3);
    EXPECT_FALSE(fs.SetUnitFromText("Hertz"));
    EXPECT_EQ(fs.GetUnit(), 0);
    fs.SetUnit(1);
    EXPECT_FALSE(fs.SetUnitFromText(""));
    EXPECT_EQ(fs.GetUnit(), 0);
    EXPECT_FALSE(fs.SetUnitFromText(" kHz"));
    EXPECT_TRUE(fs.SetUnitFromText("khz,"));
    EXPECT_EQ(fs.GetUnit(), 1);
}

TEST(CFs, FrequencyUnitForAnExponent) {
    struct Row {
        int unit;
        int exponent;
        int expectedUnit;
        int expectedExponent;
    };
    const Row rows[] = {
        {0, 6, 2, 0},   // MHz
        {3, 6, 3, 6},   // nothing above GHz
        {0, -3, 0, -3}, // nothing below Hz
        {0, 5, 1, 0},   // 5 / 3 truncates to 1
        {1, -3, 0, 0},  {2, 12, 3, 9}, {3, -9, 0, 0}, {2, -1, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.unit << " " << r.exponent);
        const CFs fs = WithUnit(1.0, r.unit);
        int exponent = r.exponent;
        EXPECT_EQ(fs.FreqUnitFor(exponent), r.expectedUnit);
        EXPECT_EQ(exponent, r.expectedExponent);
    }
    int exponent = 6;
    EXPECT_EQ(WithUnit(1.0, 0).GetFreqUnitName(exponent), "MHz");
    EXPECT_EQ(exponent, 0);
}

TEST(CFs, TimeUnitForAnExponent) {
    struct Row {
        int unit;
        int exponent;
        int expectedUnit;
        int expectedExponent;
    };
    const Row rows[] = {
        {1, -3, 2, 0},  // ms and 1e-3: us
        {0, -9, 3, 0},  // sec and 1e-9: ns
        {3, -3, 3, -3}, // nothing below ns
        {0, 3, 0, 3},   // nothing above sec
        {2, 6, 0, 0},   {1, 5, 0, 0}, {3, -12, 3, -12},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.unit << " " << r.exponent);
        const CFs fs = WithUnit(1.0, r.unit);
        int exponent = r.exponent;
        EXPECT_EQ(fs.TimeUnitFor(exponent), r.expectedUnit);
        EXPECT_EQ(exponent, r.expectedExponent);
    }
    int exponent = -3;
    EXPECT_EQ(WithUnit(1.0, 1).GetTimeUnitName(exponent), "us");
    EXPECT_EQ(exponent, 0);
}

TEST(CFs, Format) {
    EXPECT_EQ(WithUnit(48, 1).Format(), "48 kHz");
    EXPECT_EQ(WithUnit(0.5, 2).Format(), "0.5 MHz");
    EXPECT_EQ(WithUnit(0, 0).Format(), "0 Hz");
    EXPECT_EQ(WithUnit(44.1, 1).Format(), "44.1 kHz");
    EXPECT_EQ(WithUnit(1.23456789, 3).Format(), "1.234568 GHz");
    EXPECT_EQ(WithUnit(100, 0).Format(), "100 Hz");
    EXPECT_EQ(WithUnit(0.0000004, 0).Format(), "0 Hz");
    EXPECT_EQ(WithUnit(-2.5, 0).Format(), "-2.5 Hz");
    EXPECT_EQ(WithUnit(1e20, 0).Format(), "100000000000000000000 Hz");
    EXPECT_EQ(WithUnit(1.7976931348623157e308, 0).Format().size(), 309u + 3u);
}

} // namespace
} // namespace tarvo
