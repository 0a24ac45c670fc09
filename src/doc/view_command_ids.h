#pragma once
// Commands of the views: the coefficient view's format and font, the Type
// items that choose what a view shows, the pole-zero plot's edit modes, and
// saving a plot's picture as a file.

#include "fw/command_target.h"

namespace tarvo {

// Coefficient view.
inline constexpr fw::CommandId kIdDataViewFormat = 32884;
inline constexpr fw::CommandId kIdDataViewFont = 32770;

// Type items: a frequency plot switches its own curve for the five frequency
// responses, a time plot its own for the three time responses; otherwise the
// design window's pane gets a view of that kind.
inline constexpr fw::CommandId kIdTypeMagnitude = 32838;
inline constexpr fw::CommandId kIdTypeUnwrappedPhase = 32848;
inline constexpr fw::CommandId kIdTypePhase = 32840;
inline constexpr fw::CommandId kIdTypeGroupDelay = 32834;
inline constexpr fw::CommandId kIdTypePhaseDelay = 32842;
inline constexpr fw::CommandId kIdTypeImpulse = 32908;
inline constexpr fw::CommandId kIdTypeStep = 32912;
inline constexpr fw::CommandId kIdTypeImpulseAndStep = 32910;
inline constexpr fw::CommandId kIdTypePolesAndZeros = 35076;
inline constexpr fw::CommandId kIdTypeData = 35077;

// Pole-zero plot.
inline constexpr fw::CommandId kIdPoleZeroPolarMode = 35078;
inline constexpr fw::CommandId kIdPoleZeroConstrainPoles = 35065;
inline constexpr fw::CommandId kIdPoleZeroConstrainZeros = 35066;

// Every plot: Save Image As... (PNG, SVG or PDF); enabled, like Copy Image,
// while the plot is ready.
inline constexpr fw::CommandId kIdPlotSaveImage = 35090;

} // namespace tarvo
