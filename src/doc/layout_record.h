#pragma once
// A layout record: which view each pane of a design window holds. The design
// window is laid out from record 0 of its project: panes 0 and 1 are the left
// column under the design form, panes 2 to 4 the right column from the top.

#include <array>
#include <cstdint>

namespace fw {
class Archive;
}

namespace tarvo {

struct AppOptions;

class LayoutRecord {
public:
    static constexpr std::int32_t kMaxPanes = 8;
    // The panes a design window shows.
    static constexpr std::int32_t kDesignPanes = 5;

    std::int32_t PaneCount() const { return count_; }
    // Kind of pane index (0..7); panes beyond the count keep their last kind.
    std::int32_t PaneKind(std::int32_t index) const;
    // Sets pane index (0..7), extending the count to include it.
    void SetPaneKind(std::int32_t index, std::int32_t kind);

    // Rebuilding: Clear, then append the panes one by one. Appending to a
    // record that already has 8 panes does nothing.
    void Clear() { count_ = 0; }
    void AppendPane(std::int32_t kind);

    bool MinimizeBottomRow() const { return minimizeBottomRow_; }
    void SetMinimizeBottomRow(bool on) { minimizeBottomRow_ = on; }

    // Pane count, then the kinds of the panes in use. Loading refuses (ArchiveError)
    // a negative count or one above 8. The minimize flag is not stored.
    void Serialize(fw::Archive& ar);

    // The layout of a new project's design window from the user's settings.
    static LayoutRecord FromOptions(const AppOptions& options);

private:
    std::int32_t count_ = 0;
    std::array<std::int32_t, kMaxPanes> kinds_{};
    bool minimizeBottomRow_ = false;
};

} // namespace tarvo
