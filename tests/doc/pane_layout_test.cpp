// The design window's geometry as a table over window sizes: the square first
// pane, the halves of a short window, the collapsed rows, the equal thirds and
// the clamps of a tiny window.

#include "doc/pane_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct LayoutRow {
    const char* name;
    int width, height, formWidth, formHeight;
    bool minimize;
    std::array<int, 2> columns;
    std::array<int, 2> leftLower;
    std::array<int, 3> right;
};

class PaneLayoutTable : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(PaneLayoutTable, SizesEveryRowAndColumn) {
    const LayoutRow& r = GetParam();
    const PaneLayoutSizes s =
        ComputePaneLayout(r.width, r.height, r.formWidth, r.formHeight, r.minimize);
    EXPECT_THAT(s.columns, ElementsAreArray(r.columns));
    EXPECT_THAT(s.leftLowerRows, ElementsAreArray(r.leftLower));
    EXPECT_THAT(s.rightRows, ElementsAreArray(r.right));
    EXPECT_EQ(s.leftRows[0] + s.leftRows[1], std::max(r.height, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PaneLayoutTable,
    ::testing::Values(
        // Tall: pane 0 is as tall as the form is wide, pane 1 takes the rest.
        LayoutRow{"tall", 1200, 900, 300, 400, false, {300, 900}, {300, 200}, {300, 300, 300}},
        // Short: below the form there is less than the form's width: halves.
        LayoutRow{"short", 1200, 600, 300, 400, false, {300, 900}, {100, 100}, {200, 200, 200}},
        // Pane 1 would be thinner than its minimum: it collapses, pane 0 keeps its size.
        LayoutRow{"thin", 1200, 730, 300, 400, false, {300, 900}, {300, 0}, {243, 243, 244}},
        LayoutRow{"minimized", 1200, 900, 300, 400, true, {300, 900}, {500, 0}, {450, 450, 0}},
        // Narrower than the form: the right column is squeezed out entirely.
        LayoutRow{"narrow", 200, 150, 300, 400, false, {200, 0}, {0, 0}, {50, 50, 50}},
        LayoutRow{"empty", 0, 0, 300, 400, false, {0, 0}, {0, 0}, {0, 0, 0}},
        LayoutRow{"negative", -5, -5, 300, 400, true, {0, 0}, {0, 0}, {0, 0, 0}}),
    [](const ::testing::TestParamInfo<LayoutRow>& info) { return std::string(info.param.name); });

TEST(FitSplitterRows, CollapsesRowsBelowTheirMinimumAndGivesTheLastTheRest) {
    EXPECT_THAT(FitSplitterRows(std::array{100, 100, 100}, 25, 400), ElementsAre(100, 100, 200));
    EXPECT_THAT(FitSplitterRows(std::array{10, 100, 100}, 25, 300), ElementsAre(0, 100, 200));
    EXPECT_THAT(FitSplitterRows(std::array{300, 100}, 50, 200), ElementsAre(200, 0));
    EXPECT_THAT(FitSplitterRows(std::array{30, 30}, 50, 40), ElementsAre(0, 0));
}

} // namespace
} // namespace tarvo
