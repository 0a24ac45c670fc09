#include "plot/plot_data.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

CDataColumn Column(const std::vector<double>& values) {
    CDataColumn column;
    for (const double v : values)
        column.Add(v);
    return column;
}

TEST(PlotData, FindNearest) {
    struct Row {
        std::vector<double> values;
        double x;
        std::ptrdiff_t expected;
    };
    const Row rows[] = {
        {{1, 3, 5}, 4, 1},            // 3 and 5 equally near: the lower index
        {{5, 1, 1}, 1, 1},            // equal values: the lower index
        {{}, 0, -1},                  // empty
        {{7}, -1e9, 0},               // one value, whatever x
        {{7}, 1e9, 0},                //
        {{kNaN, 3, 5}, 2, 1},         // a NaN first value is skipped
        {{1, kInf, 5}, 1e6, 2},       // so is inf, however near it looks
        {{kNaN, -kInf}, 0, -1},       // no finite value
        {{1, 3}, kNaN, -1},           // x not finite
        {{-1e308, 1e308}, -1e308, 0}, // a finite value infinitely far away
        {{1e308}, -1e308, 0},         //
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Column(row.values).FindNearest(row.x), row.expected)
            << "x " << row.x << ", " << row.values.size() << " values";
    }
}

TEST(PlotData, RowCountIsTheShortestColumn) {
    CDataSet set;
    EXPECT_EQ(set.GetRowCount(), 0u);
    EXPECT_TRUE(set.IsEmpty());
    for (const std::size_t n : {5u, 3u, 7u})
        set.AddColumn().SetSize(n);
    EXPECT_EQ(set.GetCount(), 3u);
    EXPECT_EQ(set.GetRowCount(), 3u);
    EXPECT_FALSE(set.IsEmpty());
    set.AddColumn();
    EXPECT_EQ(set.GetRowCount(), 0u);
    EXPECT_TRUE(set.IsEmpty());
    set.RemoveAll();
    EXPECT_EQ(set.GetCount(), 0u);
}

TEST(PlotData, SetSizeKeepsValuesAndZeroReleases) {
    CDataColumn column = Column({1.5, -2});
    column.SetSize(4);
    EXPECT_EQ(column.Values(), (std::vector<double>{1.5, -2, 0, 0}));
    column.SetSize(1);
    EXPECT_EQ(column.Values(), (std::vector<double>{1.5}));
    column.SetSize(0);
    EXPECT_TRUE(column.IsEmpty());
    EXPECT_EQ(column.Values().capacity(), 0u);
    column.Add(3);
    EXPECT_EQ(column[0], 3);
}

// A million samples (the longest time response) must not reallocate per block
// of values: count how often the storage moves.
TEST(PlotData, AddGrowsGeometrically) {
    CDataColumn column;
    int moves = 0;
    const double* storage = nullptr;
    for (int i = 0; i < 1000000; ++i) {
        column.Add(i);
        if (column.Values().data() != storage) {
            storage = column.Values().data();
            ++moves;
        }
    }
    ASSERT_EQ(column.GetSize(), 1000000u);
    EXPECT_EQ(column[999999], 999999.0);
    EXPECT_LT(moves, 64);
}

TEST(PlotData, FindNearestPoint) {
    struct Row {
        const char* name;
        std::vector<double> xs, ys;
        double x0, xSpan, y0, ySpan;
        std::ptrdiff_t index;
        double distance;
    };
    const Row rows[] = {
        {"first point exact", {1, 2, 3}, {1, 2, 3}, 1, 1, 1, 1, 0, 0},
        {"stops at the first hit", {0, 2, 5, 2}, {0, 2, 5, 2}, 2, 1, 2, 1, 1, 0},
        {"empty x", {}, {}, 0, 1, 0, 1, 42, 0},
        {"empty y", {1}, {}, 0, 1, 0, 1, 42, 0},
        {"spans weigh the axes", {0, 5}, {1, 0}, 0, 10, 0, 1, 1, 0.25},
        {"unit spans", {0, 5}, {1, 0}, 0, 1, 0, 1, 0, 1},
        {"bad spans count as 1", {0, 3}, {0, 4}, 3, 0, 0, kNaN, 0, 9},
        {"negative span", {0, 3}, {0, 4}, 3, -2, 0, kInf, 0, 9},
        {"NaN first point", {kNaN, 4, 2}, {0, 0, 0}, 1, 1, 0, 1, 2, 1},
        {"equal distances", {0, 2}, {0, 0}, 1, 1, 0, 1, 0, 1},
        {"rows of the shorter", {0, 1, 2}, {5}, 2, 1, 5, 1, 0, 4},
        {"nothing finite", {kNaN, kInf}, {0, 0}, 0, 1, 0, 1, 42, -1},
        {"NaN target", {1, 2}, {1, 2}, kNaN, 1, 0, 1, 42, -1},
    };
    for (const Row& row : rows) {
        std::ptrdiff_t index = 42;
        const double d = FindNearestPoint(Column(row.xs), Column(row.ys), &index, row.x0, row.xSpan,
                                          row.y0, row.ySpan);
        EXPECT_EQ(index, row.index) << row.name;
        EXPECT_EQ(d, row.distance) << row.name;
    }
}

TEST(PlotData, ScanRangeSharesOneRangeAndSkipsNonFinite) {
    double min = 0, max = 0;
    bool needInit = true;
    EXPECT_TRUE(ScanRange(Column({1, 5}), min, max, needInit));
    EXPECT_FALSE(ScanRange(Column({}), min, max, needInit));
    EXPECT_TRUE(ScanRange(Column({-2, 3}), min, max, needInit));
    EXPECT_EQ(min, -2);
    EXPECT_EQ(max, 5);
    EXPECT_FALSE(needInit);

    // NaN first must not become the range; infinities are not data either.
    min = max = 0;
    needInit = true;
    EXPECT_TRUE(ScanRange(Column({kNaN, 2, kInf, -1, -kInf}), min, max, needInit));
    EXPECT_EQ(min, -1);
    EXPECT_EQ(max, 2);

    // A column without a finite value leaves the previous range and the flag.
    min = 10;
    max = 20;
    needInit = true;
    EXPECT_FALSE(ScanRange(Column({kNaN, kInf}), min, max, needInit));
    EXPECT_FALSE(ScanRange(Column({}), min, max, needInit));
    EXPECT_EQ(min, 10);
    EXPECT_EQ(max, 20);
    EXPECT_TRUE(needInit);
}

} // namespace
} // namespace tarvo
