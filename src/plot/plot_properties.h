#pragma once
// The values of a filter plot's Plot Properties dialog and which of its controls
// the plot lets the user change. The plot fills the record, the dialog edits a
// copy, and the plot reads it back after OK and interprets it.

#include <cstdint>

namespace tarvo {

// Bits of PlotProperties::enabledMask; a control whose bit is clear is shown
// disabled.
enum PlotPropertyBit : std::int32_t {
    kPropAutoTitles = 1 << 0,
    kPropFullDecadeZoom = 1 << 1,
    kPropOriginAtZero = 1 << 2,
    kPropLegend = 1 << 3,
    kPropSampleLength = 1 << 4, // the label and the edit
};
inline constexpr std::int32_t kPropAllEnabled = 31;

// Largest time-response length the dialog takes.
inline constexpr std::int64_t kMaxSampleLength = 1000000;

struct PlotProperties {
    bool autoTitles = false;
    bool legend = false;
    bool originAtZero = false;
    bool fullDecadeZoom = false;
    std::uint32_t sampleLength = 0;
    std::int32_t enabledMask = kPropAllEnabled;

    bool IsEnabled(PlotPropertyBit bit) const { return (enabledMask & bit) != 0; }

    friend bool operator==(const PlotProperties&, const PlotProperties&) = default;
};

} // namespace tarvo
