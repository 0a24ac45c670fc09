#pragma once
// The curves the filter plots draw and the command-line tool prints: magnitude,
// phase, unwrapped phase, group and phase delay over frequency, and the impulse
// and step responses over time.

#include "korin/base/mv_t.h"

#include <cstdint>
#include <vector>

namespace tarvo {

class CIirFilter;

enum PlotType : std::int32_t {
    kPlotNone = 0,
    kPlotPoleZero = 3,
    kPlotMagnitude = 4,
    kPlotPhase = 5,
    kPlotUnwrappedPhase = 6,
    kPlotPhaseDelay = 7,
    kPlotGroupDelay = 8,
    kPlotImpulse = 13,
    kPlotStep = 14,
    kPlotImpulseAndStep = 15,
};

// H at n frequencies spaced evenly from first to last inclusive (in the unit of
// the filter's sampling frequency), turned into the plot type's quantity:
// magnitude in dB (types 0 to 4 and above 8), phase or unwrapped phase in degrees,
// phase or group delay in the time unit paired with the frequency unit. The group
// delay is the exact derivative of the phase of the coefficients the responses
// use (the sections when there are any); where a numerator vanishes on the unit
// circle it is not defined there and takes its finite neighbours' mean. Every
// curve has n points. Only the real parts of values are meaningful.
void ComputeResponse(const CIirFilter& filter, double first, double last, std::int32_t n,
                     std::int32_t plotType, korin::mvect& frequencies, korin::mvect& values);

// Replaces each value by its phase (radians, real part) and extrapolates the phase
// linearly where |H| <= 1e-14 (zeros on the unit circle) from references more than
// ten points away; extrapolated phases are reduced into (-pi, pi].
void CleanPhase(korin::mvect& values);

// One curve over time: x[i] = i / Fs (the time unit paired with the unit of Fs).
struct TimeResponse {
    std::vector<double> time;
    korin::mvect impulse;
    korin::mvect step;
};

// Impulse response of `length` samples (0 means 1024) and the step response of
// as many samples.
TimeResponse ComputeTimeResponse(const CIirFilter& filter, std::int32_t length);

} // namespace tarvo
