#pragma once
// Pane kinds: what one pane of the design window holds. They are stored in the
// layout records of a project and listed, in this order, in the Design Layout
// dialog.

#include <cstdint>
#include <string_view>

namespace tarvo {

enum PaneKind : std::int32_t {
    kPaneCoefficients = 0,
    kPaneMagnitude = 1,
    kPaneUnwrappedPhase = 2,
    kPanePhase = 3,
    kPaneGroupDelay = 4,
    kPanePhaseDelay = 5,
    kPanePoleZero = 6,
    kPaneImpulse = 7,
    kPaneStep = 8,
    kPaneImpulseAndStep = 9,
};
inline constexpr std::int32_t kPaneKindCount = 10;

// The class of view a pane of that kind holds.
enum class PaneView { kCoefficients, kFrequencyPlot, kPoleZeroPlot, kTimePlot };

// Kinds outside 0..9 are shown as a frequency plot of magnitude.
PaneView PaneViewFor(std::int32_t kind);
// The plot type of the pane's view (0 for the coefficient view).
std::int32_t PanePlotType(std::int32_t kind);
// The name the layout dialog lists it under ("" outside 0..9).
std::string_view PaneKindName(std::int32_t kind);
// The name of a plot type, as its pane kind is named ("" for none or an unknown type).
std::string_view PlotTypeName(std::int32_t plotType);

} // namespace tarvo
