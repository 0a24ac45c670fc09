// Titles and status read-outs of the filter plots, against worked examples.

#include "design/plot_texts.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <limits>

namespace tarvo {
namespace {

// Units: 0 Hz, 1 kHz, 2 MHz, 3 GHz.
CFs MakeFs(double value, int unit) {
    CFs fs(value);
    fs.SetUnit(unit);
    return fs;
}

struct TitleRow {
    int unit;
    std::int32_t type;
    int exponent;
    const char* x;
    const char* y;
    int left;
};

TEST(PlotTexts, Titles) {
    for (const TitleRow& r :
         {TitleRow{0, 4, 3, "Frequency in kHz", "Magnitude in dB", 0},
          TitleRow{0, 3, -3, "Frequency in Hz", "Magnitude in dB", -3},
          TitleRow{3, 5, 6, "Frequency in GHz", "Phase in Degrees", 6},
          TitleRow{1, 6, -3, "Frequency in Hz", "Unwrapped Phase in Degrees", 0},
          TitleRow{0, 7, 0, "Frequency in Hz", "Phase Delay in sec", 0},
          TitleRow{1, 8, 0, "Frequency in kHz", "Group Delay in ms", 0}}) {
        const PlotTitleTexts t =
            FrequencyPlotTitles("Butterworth", MakeFs(8, r.unit), r.type, r.exponent);
        EXPECT_EQ(t.main, "Butterworth Frequency Response");
        EXPECT_EQ(t.x + "|" + t.y + "|" + std::to_string(t.exponent),
                  std::string(r.x) + "|" + r.y + "|" + std::to_string(r.left));
    }
    for (const TitleRow& r : {TitleRow{1, 0, -3, "Time in us", "Impulse Response", 0},
                              TitleRow{1, 14, 3, "Time in sec", "Step Response", 0},
                              TitleRow{1, 15, 6, "Time in sec", "Impulse and Step Responses", 3}}) {
        const PlotTitleTexts t = TimePlotTitles("Chebyshev", MakeFs(8, r.unit), r.type, r.exponent);
        EXPECT_EQ(t.main, "Chebyshev " + std::string(r.y));
        EXPECT_EQ(t.x + "|" + t.y + "|" + std::to_string(t.exponent),
                  std::string(r.x) + "|" + r.y + "|" + std::to_string(r.left));
    }
    const PlotTitleTexts pz = PoleZeroPlotTitles("Butterworth", -3);
    EXPECT_EQ(pz.main + "|" + pz.x + "|" + pz.y, "Butterworth Pole-Zero Plot|Re(Z)|Im(Z)");
    EXPECT_EQ(pz.exponent, -3);
}

TEST(PlotTexts, FrequencyReadouts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        int unit;
        std::int32_t type;
        double frequency, value;
        const char* text;
    };
    for (const Row& r : {
             Row{1, 4, 1.25, -3.0103, "At 1.250000 kHz, gain is -3.010 dB"},
             Row{0, 4, 1250, -3.0103, "At 1.250000 kHz, gain is -3.010 dB"},
             Row{1, 3, 0.5, -1, "At 0.500000 kHz, gain is -1.000 dB"},
             Row{1, 4, 0.05, 0, "At 50.000000 Hz, gain is 0.000 dB"},
             // The units end at GHz: the number keeps what they cannot take.
             Row{3, 4, 2000, 0, "At 2000.000000 GHz, gain is 0.000 dB"},
             Row{1, 5, 1, -45, "At 1.000000 kHz, phase is -45.000 degrees"},
             Row{1, 6, 1, -400, "At 1.000000 kHz, unwrapped phase is -400.000 degrees"},
             // 19 samples at 48000 Hz.
             Row{0, 8, 1000, 19.0 / 48000, "At 1.000000 kHz, group delay is 395.833 us"},
             Row{1, 8, 1, 2500, "At 1.000000 kHz, group delay is 2.500 sec"},
             Row{0, 8, 1, 2500, "At 1.000000 Hz, group delay is 2500.000 sec"},
             Row{2, 7, 1, -0.02, "At 1.000000 MHz, phase delay is -20.000 ns"},
             Row{1, 8, 1, 0.9999999, "At 1.000000 kHz, group delay is 1.000 ms"},
             Row{1, 8, 1, nan, "At 1.000000 kHz, group delay is nan ms"},
         }) {
        EXPECT_EQ(FrequencyReadout(MakeFs(8, r.unit), r.type, r.frequency, r.value), r.text);
    }
}

TEST(PlotTexts, TimeReadoutsAndRootStatus) {
    EXPECT_EQ(TimeReadout(13, 3, 0.125, 9), "At sample 3, Impulse Response is 0.125000000");
    EXPECT_EQ(TimeReadout(0, 3, 0.125, 9), "At sample 3, Impulse Response is 0.125000000");
    EXPECT_EQ(TimeReadout(14, 3, 0.125, 9), "At sample 3, Step Response is 0.125000000");
    EXPECT_EQ(TimeReadout(15, 3, 0.125, -1.875),
              "At sample 3, Impulse Response is 0.125000000 and Step Response is -1.875000000");
    EXPECT_EQ(TimeReadout(4, 3, 0.125, 9), "At sample 3, ");

    const CFs fs = MakeFs(8, 1);
    EXPECT_EQ(FormatRootStatus(true, {0.5, 0.3}, fs),
              "Pole at 0.500000 + 0.300000j = 0.583095 @ 0.688 kHz");
    EXPECT_EQ(FormatRootStatus(true, {0.5, -0.3}, fs),
              "Pole at 0.500000 - 0.300000j = 0.583095 @ -0.688 kHz");
    // A real root's conjugate carries -0.0 and must not read as the negative angle.
    const std::complex<double> zero = std::conj(std::complex<double>(-1.0, 0.0));
    ASSERT_TRUE(std::signbit(zero.imag()));
    EXPECT_EQ(FormatRootStatus(false, zero, fs),
              "Zero at -1.000000 + 0.000000j = 1.000000 @ 4.000 kHz");
    EXPECT_EQ(FormatRootStatus(false, {-0.0, 0.5}, MakeFs(48000, 0)),
              "Zero at 0.000000 + 0.500000j = 0.500000 @ 12000.000 Hz");
}

} // namespace
} // namespace tarvo
