#pragma once
// The design report: figures measured on the response of the coefficients a
// filter actually uses (the rounded ones for single precision and fixed point),
// so that they show what quantization did rather than what was asked for.

#include "design/iir_spec.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

class CIirFilter;

// Stopband edges the caller knows (from an order estimate or typed in), in the
// unit of the sampling frequency. Lowpass and highpass use stop1 only (stop2 0);
// bandpass and bandstop use both, stop1 < stop2.
struct ReportBands {
    double stop1 = 0.0;
    double stop2 = 0.0;
    bool known = false;
};

// The message that refuses bands that do not fit the specification's response
// and edges (sampling frequency fsValue); "" when they fit or are not known.
std::string CheckReportBands(const IirDesignSpec& spec, double fsValue, const ReportBands& bands);

enum class StopEdgeSource { kNone, kDesign, kGiven };

// Frequencies are in the unit of the filter's sampling frequency, delays in the
// time unit paired with it. A figure without a value could not be measured: no
// passband or stopband, or a response that is not finite there.
struct DesignReport {
    bool designed = false; // false: an empty filter, nothing below is measured
    std::string frequencyUnit;
    std::string timeUnit;
    // Half-power frequencies: where the magnitude crosses 10 log10(2) dB
    // (3.0103 dB) below the passband maximum, in increasing order.
    std::vector<double> edges3dB;
    std::optional<double> passbandMaxDb;    // the largest magnitude in the passband
    std::optional<double> passbandRippleDb; // its largest minus its smallest magnitude
    std::optional<double> stopEdge1;
    std::optional<double> stopEdge2; // band shapes only
    StopEdgeSource stopEdgeSource = StopEdgeSource::kNone;
    // The passband maximum less the largest magnitude beyond the stopband edge(s).
    std::optional<double> attenuationDb;
    std::optional<double> peakGroupDelay; // largest group delay in the passband
    std::optional<double> peakGroupDelayFrequency;
    // Of the poles of the coefficients the responses use; no value when there
    // are none. Unstable when it reaches 1 or cannot be computed.
    std::optional<double> maxPoleRadius;
    bool unstable = false;
    // Largest |rounded - unrounded| over those coefficients; 0 for double
    // precision, no value when the unrounded ones cannot be rebuilt.
    std::optional<double> maxCoefficientChange;
};

// Measures the report of a filter. The extrema and the half-power crossings are
// refined on the exact response from a dense grid, to about 1e-9 dB and 1e-12
// relative in frequency. bands, when known, replace the stopband edges an
// elliptic design derives from its order, ripple and attenuation.
DesignReport MakeDesignReport(const CIirFilter& filter, const ReportBands& bands = {});

// The stopband edge(s) an elliptic design of this specification has: where its
// response first reaches the stopband attenuation beyond the passband (in the
// unit of fsValue; the second only for band shapes). No value for the other
// families or when the specification admits no design.
std::optional<ReportBands> EllipticStopEdges(const IirDesignSpec& spec, double fsValue);

// The report as the lines of text the "Design Report" window and the command
// line show, without line ends.
std::vector<std::string> DesignReportLines(const DesignReport& report);

// What the report is of, for its heading: "Elliptic Bandpass, order 4,
// Fs = 48 kHz, IEEE 8-byte".
std::string DesignReportTitle(const CIirFilter& filter);

// One short line for the status bar after a design: ripple and attenuation.
std::string DesignReportStatus(const DesignReport& report);

} // namespace tarvo
