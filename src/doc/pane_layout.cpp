#include "doc/pane_layout.h"

#include <algorithm>

namespace tarvo {

std::vector<int> FitSplitterRows(std::span<const int> ideal, int minimum, int extent) {
    std::vector<int> sizes(ideal.size(), 0);
    int left = std::max(extent, 0);
    for (std::size_t i = 0; i < ideal.size(); ++i) {
        const bool last = i + 1 == ideal.size();
        int size = last ? left : std::min(std::max(ideal[i], 0), left);
        if (size < minimum) size = 0;
        sizes[i] = size;
        left -= size;
    }
    return sizes;
}

PaneLayoutSizes ComputePaneLayout(int width, int height, int formWidth, int formHeight,
                                  bool minimizeBottomRow) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    formWidth = std::max(formWidth, 0);
    formHeight = std::max(formHeight, 0);
    PaneLayoutSizes out;

    const int rightWidth = width - formWidth < 0 ? kMinColumnWidth : width - formWidth;
    const std::array<int, 2> columns{formWidth, rightWidth};
    const std::vector<int> c = FitSplitterRows(columns, kMinColumnWidth, width);
    out.columns = {c[0], c[1]};

    const int formRow = std::min(formHeight, height);
    const int below = height - formRow;
    out.leftRows = {formRow, below};

    std::array<int, 2> lower{};
    if (minimizeBottomRow) {
        lower = {below, 0};
    } else if (below - formWidth >= 0) {
        // The first pane is square: as tall as the form is wide.
        lower = {formWidth, below - formWidth};
    } else {
        lower = {below / 2, below / 2};
    }
    if (minimizeBottomRow) {
        out.leftLowerRows = {below, 0};
    } else {
        const std::vector<int> l = FitSplitterRows(lower, kMinLeftPaneHeight, below);
        out.leftLowerRows = {l[0], l[1]};
    }

    std::array<int, 3> right{};
    if (minimizeBottomRow) {
        right = {height / 2, height / 2, 0};
        const std::vector<int> r =
            FitSplitterRows(std::span<const int>(right.data(), 2), kMinRightPaneHeight, height);
        out.rightRows = {r[0], r[1], 0};
    } else {
        right = {height / 3, height / 3, height / 3};
        const std::vector<int> r = FitSplitterRows(right, kMinRightPaneHeight, height);
        out.rightRows = {r[0], r[1], r[2]};
    }
    return out;
}

} // namespace tarvo
