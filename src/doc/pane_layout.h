#pragma once
// The geometry of the design window: from the frame's client size and the
// design form's size, the widths of the two columns and the heights of the rows
// of each column. Rows behave as in a static splitter: one whose size falls
// below its minimum is collapsed to 0, and the last row takes what remains.

#include <array>
#include <span>
#include <vector>

namespace tarvo {

struct PaneLayoutSizes {
    std::array<int, 2> columns{};       // form column, right column
    std::array<int, 2> leftRows{};      // the form, the two panes under it
    std::array<int, 2> leftLowerRows{}; // panes 0 and 1
    std::array<int, 3> rightRows{};     // panes 2, 3, 4
};

inline constexpr int kMinColumnWidth = 25;
inline constexpr int kMinLeftPaneHeight = 50;
inline constexpr int kMinRightPaneHeight = 25;

// width, height: the frame's client area; formWidth, formHeight: the design
// form's natural size. Negative inputs count as 0.
PaneLayoutSizes ComputePaneLayout(int width, int height, int formWidth, int formHeight,
                                  bool minimizeBottomRow);

// Fits ideal sizes into extent: every row but the last gets its ideal size, or
// 0 when that is below minimum, never more than what is left; the last row
// takes the rest (0 when the rest is below minimum).
std::vector<int> FitSplitterRows(std::span<const int> ideal, int minimum, int extent);

} // namespace tarvo
