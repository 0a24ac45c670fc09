#include "doc/help_topics.h"

#include "doc/pane_kind.h"

#include <array>

namespace tarvo {

namespace {

// Indexed by HelpTopic.
constexpr std::array<std::string_view, kHelpTopicCount> kPages{
    "index.html",
    "design-form.html",
    "coefficients.html",
    "frequency-plot.html",
    "time-plot.html",
    "pole-zero.html",
    "design-report.html",
    "design-layout.html",
    "sampling-frequency.html",
    "minimum-db.html",
    "preferences.html",
    "plot-properties.html",
    "export-files.html",
    "export-format.html",
    "coefficients-format.html",
    "axis-settings.html",
    "order-estimate.html",
    "plot-commands.html",
    "zoom.html",
    "windows.html",
    "filter-families.html",
    "band-edges.html",
    "ripple-attenuation.html",
    "quantization.html",
    "export-formats.html",
    "projects.html",
    "undo-redo.html",
    "keyboard.html",
};

} // namespace

std::string_view HelpPageFor(HelpTopic topic) {
    const auto index = static_cast<std::size_t>(topic);
    return index < kPages.size() ? kPages[index] : kPages[0];
}

HelpTopic HelpTopicForPaneKind(std::int32_t kind) {
    switch (PaneViewFor(kind)) {
    case PaneView::kCoefficients:
        return HelpTopic::kCoefficients;
    case PaneView::kPoleZeroPlot:
        return HelpTopic::kPoleZero;
    case PaneView::kTimePlot:
        return HelpTopic::kTimePlot;
    case PaneView::kFrequencyPlot:
        break;
    }
    return HelpTopic::kFrequencyPlot;
}

} // namespace tarvo
