#pragma once
// The pages of the user help, by topic. The help window shows a topic's page;
// F1 asks for the page of the view that has the focus.

#include <cstdint>
#include <string_view>

namespace tarvo {

enum class HelpTopic {
    // The kinds of view, one page each.
    kGettingStarted,
    kDesignForm,
    kCoefficients,
    kFrequencyPlot,
    kTimePlot,
    kPoleZero,
    kDesignReport,
    // Dialogs.
    kDesignLayout,
    kSamplingFrequency,
    kMinimumDb,
    kPreferences,
    kPlotProperties,
    kExport,
    kExportFormat,
    kCoefficientsFormat,
    kAxisSettings,
    kOrderEstimate,
    // Plot commands and the windows of a project.
    kPlotCommands,
    kZoom,
    kWindows,
    // Concepts.
    kFilterFamilies,
    kBandEdges,
    kRippleAttenuation,
    kQuantization,
    kExportFormats,
    kProjects,
    kUndoRedo,
    kKeyboard,
};
inline constexpr int kHelpTopicCount = static_cast<int>(HelpTopic::kKeyboard) + 1;

// The file name of the topic's page in the help collection ("pole-zero.html").
std::string_view HelpPageFor(HelpTopic topic);

// The page of the view a design-window pane of that kind holds; kinds outside
// 0..9 hold a magnitude plot.
HelpTopic HelpTopicForPaneKind(std::int32_t kind);

} // namespace tarvo
