#include "doc/pane_kind.h"

#include "design/response_curves.h"

#include <array>

namespace tarvo {

namespace {

struct PaneKindInfo {
    std::string_view name;
    PaneView view;
    std::int32_t plotType;
};

constexpr std::array<PaneKindInfo, kPaneKindCount> kPaneKinds{{
    {"Coefficients", PaneView::kCoefficients, kPlotNone},
    {"Magnitude", PaneView::kFrequencyPlot, kPlotMagnitude},
    {"Unwrapped Phase", PaneView::kFrequencyPlot, kPlotUnwrappedPhase},
    {"Phase", PaneView::kFrequencyPlot, kPlotPhase},
    {"Group Delay", PaneView::kFrequencyPlot, kPlotGroupDelay},
    {"Phase Delay", PaneView::kFrequencyPlot, kPlotPhaseDelay},
    {"Poles and Zeros", PaneView::kPoleZeroPlot, kPlotPoleZero},
    {"Impulse", PaneView::kTimePlot, kPlotImpulse},
    {"Step", PaneView::kTimePlot, kPlotStep},
    {"Impulse and Step", PaneView::kTimePlot, kPlotImpulseAndStep},
}};

bool Known(std::int32_t kind) {
    return kind >= 0 && kind < kPaneKindCount;
}

} // namespace

PaneView PaneViewFor(std::int32_t kind) {
    return Known(kind) ? kPaneKinds[static_cast<std::size_t>(kind)].view : PaneView::kFrequencyPlot;
}

std::int32_t PanePlotType(std::int32_t kind) {
    return Known(kind) ? kPaneKinds[static_cast<std::size_t>(kind)].plotType : kPlotMagnitude;
}

std::string_view PaneKindName(std::int32_t kind) {
    return Known(kind) ? kPaneKinds[static_cast<std::size_t>(kind)].name : std::string_view();
}

std::string_view PlotTypeName(std::int32_t plotType) {
    // Every plot type has its pane kind, named alike.
    for (const PaneKindInfo& info : kPaneKinds) {
        if (info.plotType == plotType && plotType != kPlotNone) return info.name;
    }
    return {};
}

} // namespace tarvo
