#pragma once
// The saved zoom levels of a plot, the first entry the outermost. The live,
// innermost view is appended the first time the user navigates away from it,
// so that Zoom Bottom can return to it.

#include "plot/axis_scale.h"

#include <cstddef>
#include <vector>

namespace tarvo {

struct CZoomData {
    double m_dSavedXFirst = 0.0;
    double m_dSavedXLast = 0.0;
    AxisSettings m_xAxis;
    AxisSettings m_yAxis;
};

// The navigation commands, numbered as the Plot menu's zoom items.
enum class ZoomCommandKind : int {
    kNext = 0,
    kTop = 1,
    kIn = 2,
    kOut = 3,
    kBottom = 4,
    kOutOrBottom = 5, // Out, or Bottom when already at the first entry
};

class CZoomList {
public:
    void RemoveAll();
    bool IsEmpty() const { return entries_.empty(); }
    std::size_t EntryCount() const { return entries_.size(); }

    // Entries, less the saved live state.
    int GetLevelCount() const;
    // 0 for an empty list; else the index of the current entry, plus 1 while the
    // live state is not saved.
    int GetCurrentLevel() const;
    bool IsAtTop() const;
    bool IsAtBottom() const;
    bool CanZoom(ZoomCommandKind command) const;

    // Entries the list holds after PushLevel from where it stands now (deeper
    // levels and the saved live state are dropped first).
    std::size_t EntriesAfterPush() const;
    // Drops every entry after the current one (and the saved live state), then
    // appends state as the new current entry.
    void PushLevel(const CZoomData& state);
    // Moves to another level and restores its x range and axis records into the
    // arguments; false (arguments untouched) when the list is empty. A level
    // left whose saved x range equals the plot's takes the plot's records, so
    // axis changes made there survive.
    bool Navigate(ZoomCommandKind command, double& xFirst, double& xLast, AxisSettings& xAxis,
                  AxisSettings& yAxis);

private:
    std::vector<CZoomData> entries_;
    std::size_t current_ = 0; // meaningful only while entries_ is not empty
    bool liveSaved_ = false;
};

} // namespace tarvo
