#pragma once
// The design window as the project document sees it: a frame whose panes are
// laid out from layout record 0 of its document. The desktop program's split
// frame implements it; the document finds it among its views' frames.

#include "fw/frame.h"

#include <cstdint>
#include <optional>

namespace fw {
class View;
}

namespace tarvo {

class DesignFrame : public fw::Frame {
public:
    // The pane a view occupies: rows 0 and 1 of the left column under the form
    // are panes 0 and 1, rows 0 to 2 of the right column panes 2 to 4. Nothing
    // for any other view (the form itself included).
    virtual std::optional<std::int32_t> PaneIndexOf(const fw::View& view) const = 0;
    // Lays the panes out again from the document's layout record 0 at the
    // frame's current size, replacing only the panes whose view class changes.
    virtual void LayoutPanes() = 0;
};

} // namespace tarvo
