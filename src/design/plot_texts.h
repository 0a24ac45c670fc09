#pragma once
// The texts of the filter plots apart from their widgets: automatic titles and
// the status-bar read-outs of a clicked point or a picked root.

#include "plot/fs.h"

#include <complex>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvo {

struct PlotTitleTexts {
    std::string main;
    std::string x;
    std::string y;
    int exponent = 0; // the axis exponent left for the " * 10^n" suffix
};

// Titles of a frequency plot. Types 4 to 8; anything else counts as Magnitude (4).
// Whole thousands of xExponent fold into the frequency unit of the x title; the
// delay titles name the sampling frequency's own time unit ("ms", "sec").
PlotTitleTexts FrequencyPlotTitles(std::string_view family, const CFs& fs, std::int32_t plotType,
                                   int xExponent);

// Titles of a time plot: types 13, 14 and 15, anything else counts as Impulse (13).
// Whole thousands of xExponent fold into the time unit of the x title.
PlotTitleTexts TimePlotTitles(std::string_view family, const CFs& fs, std::int32_t plotType,
                              int xExponent);

// Titles of a pole-zero plot; the exponent is left as given.
PlotTitleTexts PoleZeroPlotTitles(std::string_view family, int xExponent);

// Read-out of a frequency-plot point: "At 1.250000 kHz, gain is -3.010 dB". The
// frequency (in the sampling frequency's unit) is folded by its engineering exponent
// into the unit; delays (types 7 and 8, in the paired time unit) are folded so that
// they read between 1 and 1000 of a time unit where the units reach:
// "group delay is 395.833 us". Types outside 4 to 8 count as Magnitude.
std::string FrequencyReadout(const CFs& fs, std::int32_t plotType, double frequency, double value);

// Read-out of a time-plot sample: "At sample 3, Impulse Response is 0.125000000", the
// Step variant, or both for type 15 (curve1 the step). Type 0 counts as Impulse; any
// other type gives only "At sample 3, ".
std::string TimeReadout(std::int32_t plotType, std::int64_t index, double curve0, double curve1);

// Status text of a root: "Pole at 0.500000 + 0.300000j = 0.583095 @ 0.688 kHz", the
// frequency being that of the root's angle, in the sampling frequency's unit. Signed
// zeros print and count as +0, so a conjugated real root reads as the root itself.
std::string FormatRootStatus(bool isPole, std::complex<double> z, const CFs& fs);

} // namespace tarvo
