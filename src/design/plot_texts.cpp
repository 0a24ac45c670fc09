#include "design/plot_texts.h"

#include "design/response_curves.h"
#include "korin/io/mnumfmt.h"
#include "plot/axis_scale.h"

#include <cmath>
#include <numbers>

namespace tarvo {

namespace {

std::string Fixed(double x, int decimals) {
    korin::mnumformat format;
    format.precision = decimals;
    format.conversion = 'f';
    return korin::FormatNumber(x, format);
}

// x divided by 10^power, multiplying by the exact 10^-power for negative powers so
// that 0.05 kHz reads 50.000000 and not 50.000000000000007.
double ScaleDown(double x, int power) {
    return power >= 0 ? x / std::pow(10.0, power) : x * std::pow(10.0, -power);
}

std::int32_t FrequencyType(std::int32_t plotType) {
    return plotType >= kPlotPhase && plotType <= kPlotGroupDelay ? plotType : kPlotMagnitude;
}

std::int32_t TimeType(std::int32_t plotType) {
    return plotType == kPlotStep || plotType == kPlotImpulseAndStep ? plotType : kPlotImpulse;
}

// The power of ten, a multiple of 3, that leaves 1 <= |x| < 1000. Unlike the axis
// label exponent this never leaves 0.396 ms with its three decimals: a delay keeps
// six significant digits as 395.833 us. The small nudge keeps 999.9999 in the upper
// unit, where it rounds to 1.000 rather than to 1000.000.
int DelayExponent(double x) {
    if (x == 0.0 || !std::isfinite(x)) return 0;
    return 3 * static_cast<int>(std::floor(std::log10(std::abs(x) * 1.00001) / 3.0));
}

// -0.0 becomes +0.0; every other value stays.
double NoSignedZero(double x) {
    return x == 0.0 ? 0.0 : x;
}

} // namespace

PlotTitleTexts FrequencyPlotTitles(std::string_view family, const CFs& fs, std::int32_t plotType,
                                   int xExponent) {
    PlotTitleTexts t;
    t.main = std::string(family) + " Frequency Response";
    t.exponent = xExponent;
    t.x = "Frequency in " + fs.GetFreqUnitName(t.exponent);
    switch (FrequencyType(plotType)) {
    case kPlotPhase:
        t.y = "Phase in Degrees";
        break;
    case kPlotUnwrappedPhase:
        t.y = "Unwrapped Phase in Degrees";
        break;
    case kPlotPhaseDelay:
        t.y = "Phase Delay in " + fs.GetTimeUnitName();
        break;
    case kPlotGroupDelay:
        t.y = "Group Delay in " + fs.GetTimeUnitName();
        break;
    default:
        t.y = "Magnitude in dB";
        break;
    }
    return t;
}

PlotTitleTexts TimePlotTitles(std::string_view family, const CFs& fs, std::int32_t plotType,
                              int xExponent) {
    PlotTitleTexts t;
    t.exponent = xExponent;
    t.x = "Time in " + fs.GetTimeUnitName(t.exponent);
    switch (TimeType(plotType)) {
    case kPlotStep:
        t.y = "Step Response";
        break;
    case kPlotImpulseAndStep:
        t.y = "Impulse and Step Responses";
        break;
    default:
        t.y = "Impulse Response";
        break;
    }
    t.main = std::string(family) + " " + t.y;
    return t;
}

PlotTitleTexts PoleZeroPlotTitles(std::string_view family, int xExponent) {
    PlotTitleTexts t;
    t.main = std::string(family) + " Pole-Zero Plot";
    t.x = "Re(Z)";
    t.y = "Im(Z)";
    t.exponent = xExponent;
    return t;
}

std::string FrequencyReadout(const CFs& fs, std::int32_t plotType, double frequency, double value) {
    const int e = EngineeringExponent(frequency);
    int left = e;
    const std::string freqUnit = fs.GetFreqUnitName(left);
    std::string text = "At " + Fixed(ScaleDown(frequency, e - left), 6);
    if (!freqUnit.empty()) text += " " + freqUnit;
    text += ",";

    const std::int32_t type = FrequencyType(plotType);
    std::string name;
    std::string unit;
    switch (type) {
    case kPlotPhase:
        name = "phase";
        unit = "degrees";
        break;
    case kPlotUnwrappedPhase:
        name = "unwrapped phase";
        unit = "degrees";
        break;
    case kPlotPhaseDelay:
    case kPlotGroupDelay: {
        name = type == kPlotPhaseDelay ? "phase delay" : "group delay";
        const int d = DelayExponent(value);
        int dLeft = d;
        unit = fs.GetTimeUnitName(dLeft);
        value = ScaleDown(value, d - dLeft);
        break;
    }
    default:
        name = "gain";
        unit = "dB";
        break;
    }
    return text + " " + name + " is " + Fixed(value, 3) + " " + unit;
}

std::string TimeReadout(std::int32_t plotType, std::int64_t index, double curve0, double curve1) {
    std::string text = "At sample " + korin::FormatInteger(index) + ", ";
    switch (plotType) {
    case kPlotNone:
    case kPlotImpulse:
        return text + "Impulse Response is " + Fixed(curve0, 9);
    case kPlotStep:
        return text + "Step Response is " + Fixed(curve0, 9);
    case kPlotImpulseAndStep:
        return text + "Impulse Response is " + Fixed(curve0, 9) + " and Step Response is " +
               Fixed(curve1, 9);
    default:
        return text;
    }
}

std::string FormatRootStatus(bool isPole, std::complex<double> z, const CFs& fs) {
    const double re = NoSignedZero(z.real());
    const double im = NoSignedZero(z.imag());
    const double f = fs.GetValue() * std::atan2(im, re) / (2.0 * std::numbers::pi);
    return std::string(isPole ? "Pole" : "Zero") + " at " + Fixed(re, 6) +
           (im >= 0.0 ? " + " : " - ") + Fixed(std::abs(im), 6) + "j = " + Fixed(std::abs(z), 6) +
           " @ " + Fixed(f, 3) + " " + fs.GetFreqUnitName();
}

} // namespace tarvo
