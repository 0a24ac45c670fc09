#include "plot/plot_map.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const PlotFrame kFrame{50, 1020, 1600, 1000}; // top at 20

// Reading a pixel back as a value and mapping that value again must give the
// same pixel, or picks and zooms drift by one pixel per round.
TEST(PlotMap, EveryPixelRoundTrips) {
    struct Row {
        double first, last;
        bool log;
    };
    const Row rows[] = {{0, 1, false},     {-3, 7, false},   {1000, 1000.0005, false},
                        {0.1, 0.3, false}, {1, 10000, true}, {0.001, 1000, true},
                        {20, 24000, true}};
    for (const Row& row : rows) {
        const PlotMap map(kFrame, row.first, row.last, row.log, row.first, row.last, row.log);
        int xFailures = 0, yFailures = 0;
        for (int px = kFrame.left; px <= kFrame.left + kFrame.width; ++px)
            xFailures += map.XToPixel(map.PixelToX(px)) != px;
        for (int py = kFrame.bottom - kFrame.height; py <= kFrame.bottom; ++py)
            yFailures += map.YToPixel(map.PixelToY(py)) != py;
        EXPECT_EQ(xFailures, 0) << row.first << ".." << row.last;
        EXPECT_EQ(yFailures, 0) << row.first << ".." << row.last;
        EXPECT_EQ(map.XToPixel(row.first), kFrame.left);
        EXPECT_EQ(map.XToPixel(row.last), kFrame.left + kFrame.width);
        EXPECT_EQ(map.YToPixel(row.first), kFrame.bottom);
        EXPECT_EQ(map.YToPixel(row.last), kFrame.bottom - kFrame.height);
    }
}

TEST(PlotMap, XTruncatesAndYRoundsHalvesAwayFromZero) {
    struct Row {
        int bottom;
        double y;
        int expected;
    };
    // Height 16 over 0..16: one unit per pixel, exactly.
    const Row rows[] = {
        {100, 2.5, 98}, {5, 2.5, 3}, {2, 2.5, -1}, {2, 1.5, 1}, {0, 0.5, -1}, {0, 0.4, 0},
    };
    for (const Row& row : rows) {
        const PlotMap map(PlotFrame{0, row.bottom, 16, 16}, 0, 16, false, 0, 16, false);
        EXPECT_EQ(map.YToPixel(row.y), row.expected) << row.bottom << " - " << row.y;
    }
    const PlotMap map(PlotFrame{0, 0, 16, 16}, 0, 16, false, 0, 16, false);
    EXPECT_EQ(map.XToPixel(2.998), 2);
    EXPECT_EQ(map.XToPixel(2.9995), 3); // the 0.001 nudge
    EXPECT_EQ(map.XToPixel(-0.5), 0);   // trunc, not floor
    EXPECT_EQ(map.XToPixelF(2.5), 2.5);
    EXPECT_EQ(map.YToPixelF(2.5), -2.5);
}

TEST(PlotMap, LogAxes) {
    // A log axis from 0 starts two decades below its last value.
    const PlotMap map(kFrame, 0, 100, true, 1, 1000, true);
    EXPECT_EQ(map.XToPixel(1), kFrame.left);
    EXPECT_EQ(map.XToPixel(10), kFrame.left + 800);
    EXPECT_EQ(map.YToPixel(10), kFrame.bottom - 333); // 1/(log10 last - log10 first)
    EXPECT_DOUBLE_EQ(map.PixelToY(kFrame.bottom - 500), std::sqrt(1000.0));
    for (const double bad : {0.0, -1.0, -kInf}) {
        EXPECT_EQ(map.XToPixel(bad), kFrame.left) << bad;
        EXPECT_EQ(map.YToPixel(bad), kFrame.bottom) << bad;
        EXPECT_FALSE(map.XToPixelF(bad)) << bad;
        EXPECT_FALSE(map.YToPixelF(bad)) << bad;
    }
    EXPECT_TRUE(map.HasValidScale());
}

// Unstable filters produce inf, NaN and huge values; none may overflow an int
// (UBSan checks the conversions) or leave the guard band.
TEST(PlotMap, NonFiniteAndHugeValuesStayInTheGuardBand) {
    const double g = PlotMap::kGuardFactor;
    const double xLo = kFrame.left - g * kFrame.width;
    const double xHi = kFrame.left + (1 + g) * kFrame.width;
    const double yHi = kFrame.bottom + g * kFrame.height;
    const double yLo = kFrame.bottom - (1 + g) * kFrame.height;
    for (const bool log : {false, true}) {
        const PlotMap map(kFrame, 1, 10, log, 1, 10, log);
        EXPECT_EQ(map.XToPixel(kNaN), kFrame.left);
        EXPECT_EQ(map.YToPixel(kNaN), kFrame.bottom);
        for (const double v : {kNaN, kInf, -kInf}) {
            EXPECT_FALSE(map.XToPixelF(v)) << v;
            EXPECT_FALSE(map.YToPixelF(v)) << v;
        }
        for (const double v : {1e300, -1e300, kInf, -kInf, 1e-300}) {
            EXPECT_GE(map.XToPixel(v), xLo) << v;
            EXPECT_LE(map.XToPixel(v), xHi) << v;
            EXPECT_GE(map.YToPixel(v), yLo) << v;
            EXPECT_LE(map.YToPixel(v), yHi) << v;
        }
        EXPECT_EQ(map.XToPixel(1e300), xHi);
        EXPECT_EQ(map.YToPixel(1e300), yLo);
        EXPECT_EQ(map.XToPixelF(1e300), xHi);
        EXPECT_EQ(map.YToPixelF(1e300), yLo);
    }
    const PlotMap linear(kFrame, 1, 10, false, 1, 10, false);
    EXPECT_EQ(linear.XToPixel(-1e300), xLo);
    EXPECT_EQ(linear.YToPixelF(-1e300), yHi);
}

TEST(PlotMap, HasValidScale) {
    EXPECT_FALSE(PlotMap().HasValidScale());
    EXPECT_TRUE(PlotMap(kFrame, 0, 1, false, -1, 1, false).HasValidScale());
    EXPECT_FALSE(PlotMap(kFrame, 2, 2, false, -1, 1, false).HasValidScale());  // 1/0
    EXPECT_FALSE(PlotMap(kFrame, 0, 1, false, 1, -1, false).HasValidScale());  // reversed
    EXPECT_FALSE(PlotMap(kFrame, -5, 10, true, -1, 1, false).HasValidScale()); // log10 < 0
    EXPECT_FALSE(PlotMap(PlotFrame{0, 100, 0, 100}, 0, 1, false, 0, 1, false).HasValidScale());
    EXPECT_FALSE(PlotMap(PlotFrame{0, 100, 100, -1}, 0, 1, false, 0, 1, false).HasValidScale());
    // A broken scale still maps to the edges, not to undefined ints.
    const PlotMap broken(kFrame, 2, 2, false, 2, 2, false);
    EXPECT_EQ(broken.XToPixel(2), kFrame.left);
    EXPECT_EQ(broken.YToPixel(2), kFrame.bottom);
    EXPECT_FALSE(broken.XToPixelF(2));
}

TEST(PlotMap, ApplyEqualScales) {
    struct Row {
        int width, height;
        double dx, dy;
        int newWidth, newHeight;
    };
    const Row rows[] = {
        {800, 400, 2, 2, 400, 400}, // too wide: narrow the width
        {400, 800, 2, 2, 400, 400}, // too high: lower the height
        {800, 400, 4, 1, 800, 200}, // x range four times the y range
        {800, 400, 1, 3, 133, 400}, // trunc(133.33 + 0.5)
        {800, 400, 3, 1, 800, 267}, // trunc(266.67 + 0.5)
        {100, 199, 1, 2, 100, 199}, // rounds back to the same width: unchanged
        {500, 500, 1, 1, 500, 500}, // already equal
        {500, 500, 0, 1, 500, 500}, // no range: unchanged
        {500, 500, 1, kNaN, 500, 500},
    };
    for (const Row& row : rows) {
        int w = row.width, h = row.height;
        ApplyEqualScales(w, h, row.dx, row.dy);
        EXPECT_EQ(w, row.newWidth)
            << row.width << "x" << row.height << " " << row.dx << "/" << row.dy;
        EXPECT_EQ(h, row.newHeight)
            << row.width << "x" << row.height << " " << row.dx << "/" << row.dy;
    }
}

} // namespace
} // namespace tarvo
