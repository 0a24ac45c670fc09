#include "plot/plot_axes.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const XRangeSetter kOwnSetter; // empty: the axes' own SetXRange

// Stands in for the plot: its data spans the shown x range and y -1..1.
void Recompute(PlotAxes& axes) {
    axes.SetAxisRanges(axes.x.first, axes.x.last, -1.0, 1.0);
}

PlotAxes AxesOver(double xMin, double xMax, bool xLog = false) {
    PlotAxes axes;
    EXPECT_EQ(axes.x, (AxisView{0.0, 100.0, 50.0, 10.0, 0, 2, 0, false}));
    EXPECT_EQ(axes.y, (AxisView{-1.0, 1.0, 0.2, 0.1, 0, 2, 0, false}));
    axes.m_xAxis.m_bLog = xLog;
    axes.SetAxisRanges(xMin, xMax, -1.0, 1.0);
    return axes;
}

ZoomOutcome ZoomX(PlotAxes& axes, double x0, double x1, int maxLevels = 35) {
    return axes.Zoom(true, false, x0, x1, 0.0, 0.0, kOwnSetter, maxLevels);
}

TEST(PlotAxesRanges, AdoptionAndRescaleRequests) {
    PlotAxes fresh = AxesOver(0.0, 7.3);
    EXPECT_EQ(fresh.m_xAxis.m_dMax, 7.3);
    EXPECT_DOUBLE_EQ(fresh.x.last, 8.0); // autoscale is on at first

    struct Row {
        bool reset, autoX, autoY, xFollows, yFollows;
    };
    for (const Row& r :
         {Row{false, false, false, false, false}, Row{true, false, false, true, true},
          Row{false, true, false, true, false}, Row{false, false, true, false, true}}) {
        SCOPED_TRACE(testing::Message() << r.reset << r.autoX << r.autoY);
        PlotAxes axes = AxesOver(0.0, 1.0);
        for (AxisSettings* record : {&axes.m_xAxis, &axes.m_yAxis}) {
            record->m_bAutoscale = false; // typed 0..10
            record->m_dLast = 10.0;
        }
        axes.m_bResetScale = r.reset;
        axes.m_bAutoscaleX = r.autoX;
        axes.m_bAutoscaleY = r.autoY;
        axes.SetAxisRanges(0.5, 0.8, 0.5, 0.8); // inside the range adopted last
        EXPECT_EQ(axes.m_xAxis.m_bAutoscale, r.xFollows);
        EXPECT_EQ(axes.m_yAxis.m_bAutoscale, r.yFollows);
        EXPECT_EQ(axes.x.last, r.xFollows ? 0.8 : 10.0);
        EXPECT_EQ(axes.y.last, r.yFollows ? 0.8 : 10.0);
        EXPECT_FALSE(axes.m_bResetScale || axes.m_bAutoscaleX || axes.m_bAutoscaleY);
    }
}

TEST(PlotAxesRanges, LogAxisOfAPolarPlotIsSwitchedOff) {
    PlotAxes axes = AxesOver(1.0, 1000.0, true);
    axes.m_xAxis.m_bAutoscale = axes.m_yAxis.m_bAutoscale = false;
    axes.m_bPolar = true;
    EXPECT_EQ(axes.SetAxisRanges(-2.0, 2.0, -1.5, 1.5),
              std::vector<PlotNotice>{PlotNotice::kLogOffForPolar});
    EXPECT_FALSE(axes.m_xAxis.m_bLog || axes.m_yAxis.m_bLog || axes.x.log || axes.y.log);
    EXPECT_TRUE(axes.m_xAxis.m_bAutoscale && axes.m_yAxis.m_bAutoscale);
    EXPECT_LE(axes.x.first, -2.0);
    EXPECT_TRUE(axes.SetAxisRanges(-2.0, 2.0, -1.5, 1.5).empty());
    axes.m_bPolar = false;
    axes.m_yAxis.m_bLog = true;
    EXPECT_TRUE(axes.SetAxisRanges(1.0, 2.0, 1.0, 100.0).empty());
    EXPECT_TRUE(axes.y.log);
}

TEST(PlotAxesZoom, ZoomableRanges) {
    struct Row {
        double first, last;
        bool zoomable;
    };
    for (const Row& r :
         {Row{-1e-3, 1e-3, true}, Row{1000.0, 1000.02, true}, Row{1000.0, 1000.005, false},
          Row{-1000.005, -1000.0, false}, Row{0.0, 0.0, false}, Row{2.0, 1.0, false},
          Row{kNaN, 1.0, false}, Row{0.0, kInf, false}})
        EXPECT_EQ(PlotAxes::IsZoomableRange(r.first, r.last), r.zoomable)
            << r.first << ".." << r.last;
}

TEST(PlotAxesZoom, RubberBandRequestsRescales) {
    struct Row {
        bool zoomX, zoomY, autoY;
    };
    for (const Row& r : {Row{true, false, true}, Row{true, true, false}, Row{false, true, false}}) {
        PlotAxes axes = AxesOver(0.0, 100.0);
        const AxisSettings yBefore = axes.m_yAxis;
        ASSERT_EQ(axes.Zoom(r.zoomX, r.zoomY, 20.0, 140.0, -0.5, 0.25, kOwnSetter),
                  ZoomOutcome::kZoomed);
        EXPECT_EQ(axes.x.first, r.zoomX ? 20.0 : 0.0);
        EXPECT_EQ(axes.x.last, 100.0); // cut to the shown range
        EXPECT_EQ(axes.m_bAutoscaleX, r.zoomX);
        EXPECT_EQ(axes.m_bAutoscaleY, r.autoY);
        EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 1 of 1");
        EXPECT_EQ(axes.m_yAxis.m_dMin, r.zoomY ? -0.5 : yBefore.m_dMin);
        EXPECT_EQ(axes.m_yAxis.m_bAutoscale, !r.zoomY);
    }
}

TEST(PlotAxesZoom, FullDecadeZoomOnALogAxis) {
    struct Row {
        double x0, x1;
        bool fullDecade;
        double first, last;
    };
    for (const Row& r :
         {Row{35.0, 700.0, true, 10.0, 1000.0}, Row{100.0, 700.0, true, 100.0, 1000.0},
          Row{99.99999999, 700.0, true, 100.0, 1000.0}, Row{35.0, 100.00000001, true, 10.0, 100.0},
          Row{35.0, 5e6, true, 10.0, 10000.0}, Row{35.0, 700.0, false, 35.0, 700.0}}) {
        SCOPED_TRACE(testing::Message() << r.x0 << ".." << r.x1);
        PlotAxes axes = AxesOver(1.0, 10000.0, true);
        axes.m_bFullDecadeZoom = r.fullDecade;
        ASSERT_EQ(ZoomX(axes, r.x0, r.x1), ZoomOutcome::kZoomed);
        EXPECT_DOUBLE_EQ(axes.x.first, r.first);
        EXPECT_DOUBLE_EQ(axes.x.last, r.last);
        Recompute(axes);
        if (r.fullDecade) { // whole decades survive the next rescale
            EXPECT_DOUBLE_EQ(axes.x.first, r.first);
            EXPECT_DOUBLE_EQ(axes.x.last, r.last);
        }
    }
}

TEST(PlotAxesZoom, TooNarrowChangesNothing) {
    PlotAxes axes = AxesOver(0.0, 1000.0);
    ASSERT_EQ(ZoomX(axes, 0.0, 900.0), ZoomOutcome::kZoomed);
    Recompute(axes);
    const PlotAxes before = axes;
    for (double x1 : {500.0 * (1 + 5e-6), kNaN}) {
        EXPECT_EQ(axes.Zoom(true, true, 500.0, x1, -0.5, 0.5, kOwnSetter), ZoomOutcome::kTooNarrow);
        EXPECT_TRUE(axes.x == before.x && axes.m_xAxis == before.m_xAxis &&
                    axes.m_yAxis == before.m_yAxis);
        EXPECT_EQ(axes.m_zoomList.EntryCount(), 1u);
        EXPECT_FALSE(axes.m_bAutoscaleX || axes.m_bAutoscaleY);
    }
    EXPECT_EQ(axes.Zoom(true, false, 100.0, 800.0, 0, 0, [](double, double) { return false; }),
              ZoomOutcome::kTooNarrow);
    // A y range under the same floor leaves y alone while x zooms.
    EXPECT_EQ(axes.Zoom(true, true, 100.0, 800.0, 0.5, 0.5 * (1 + 5e-6), kOwnSetter),
              ZoomOutcome::kZoomed);
    EXPECT_EQ(axes.x.first, 100.0);
    EXPECT_EQ(axes.m_yAxis, before.m_yAxis);
}

TEST(PlotAxesZoom, PolarZoomGoesThroughTheXRecord) {
    PlotAxes axes = AxesOver(-2.0, 2.0);
    axes.m_bPolar = true;
    ASSERT_EQ(axes.Zoom(true, false, -0.5, 0.5, 0, 0, [](double, double) { return false; }),
              ZoomOutcome::kZoomed);
    EXPECT_FALSE(axes.m_xAxis.m_bAutoscale || axes.m_bAutoscaleX);
    EXPECT_EQ(axes.m_xAxis.m_dMin, -0.5);
    axes.SetAxisRanges(-3.0, 3.0, -1.0, 1.0); // inside the adopted range: kept
    EXPECT_DOUBLE_EQ(axes.x.first, -0.5);
    EXPECT_DOUBLE_EQ(axes.x.last, 0.5);
}

TEST(PlotAxesZoom, LevelLimitCountsTheEntriesKept) {
    PlotAxes axes = AxesOver(0.0, 100.0);
    auto zoomIn = [&axes] { return ZoomX(axes, 0.0, axes.x.last / 2); };
    for (int level = 1; level <= 35; ++level) {
        ASSERT_EQ(axes.m_zoomList.EntriesAfterPush(), static_cast<std::size_t>(level));
        ASSERT_EQ(zoomIn(), ZoomOutcome::kZoomed) << level;
    }
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 35 of 35");
    const double shownLast = axes.x.last;
    axes.m_bAutoscaleX = axes.m_bAutoscaleY = false; // as the next data range leaves them
    EXPECT_EQ(zoomIn(), ZoomOutcome::kFull);
    EXPECT_EQ(axes.x.last, shownLast);
    EXPECT_EQ(axes.m_zoomList.EntryCount(), 35u);
    EXPECT_FALSE(axes.m_bAutoscaleX || axes.m_bAutoscaleY);

    // One level out the live view is saved (36 entries); a zoom drops it and the
    // deeper level, keeps 34 and adds one.
    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kOut, kOwnSetter));
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 34 of 35");
    EXPECT_EQ(axes.m_zoomList.EntryCount(), 36u);
    EXPECT_EQ(axes.m_zoomList.EntriesAfterPush(), 35u);
    EXPECT_EQ(zoomIn(), ZoomOutcome::kZoomed);
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 35 of 35");
    EXPECT_EQ(zoomIn(), ZoomOutcome::kFull);

    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kTop, kOwnSetter));
    EXPECT_EQ(axes.ZoomStatus(), "Top Zoom Level of 35");
    EXPECT_EQ(ZoomX(axes, 10.0, 20.0, 0), ZoomOutcome::kFull);
    EXPECT_EQ(ZoomX(axes, 10.0, 20.0, 1), ZoomOutcome::kZoomed);
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 1 of 1");
    EXPECT_EQ(ZoomListFullText(), "Cannot zoom: the zoom list is full (35 levels).");
}

TEST(PlotAxesZoom, CommandsRestoreRangesAndRecords) {
    PlotAxes axes = AxesOver(0.0, 100.0);
    const PlotAxes top = axes;
    ASSERT_EQ(ZoomX(axes, 20.0, 40.0), ZoomOutcome::kZoomed);
    Recompute(axes);
    axes.m_yAxis.m_nDigits = 5; // an edit made on the zoomed view

    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kOut, kOwnSetter));
    EXPECT_TRUE(axes.x.first == 0.0 && axes.x.last == 100.0);
    EXPECT_TRUE(axes.m_xAxis == top.m_xAxis && axes.m_yAxis == top.m_yAxis);
    EXPECT_EQ(axes.ZoomStatus(), "Top Zoom Level of 1");

    axes.m_yAxis.m_nDigits = 7; // kept: the top level's range is still shown
    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kBottom, kOwnSetter));
    EXPECT_DOUBLE_EQ(axes.x.first, 20.0);
    EXPECT_EQ(axes.m_yAxis.m_nDigits, 5);
    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kTop, kOwnSetter));
    EXPECT_EQ(axes.m_yAxis.m_nDigits, 7);

    axes.x.last = 90.0; // another range shown: the edit is not kept
    axes.m_yAxis.m_nDigits = 9;
    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kBottom, kOwnSetter));
    ASSERT_TRUE(axes.ZoomCommand(ZoomCommandKind::kTop, kOwnSetter));
    EXPECT_EQ(axes.m_yAxis.m_nDigits, 7);
    EXPECT_EQ(axes.x.last, 100.0);

    EXPECT_FALSE(axes.ZoomCommand(ZoomCommandKind::kBottom, [](double, double) { return false; }));
    axes.ResetZoom();
    EXPECT_TRUE(axes.m_bResetScale);
    EXPECT_EQ(axes.ZoomStatus(), "Ready");
    EXPECT_FALSE(axes.ZoomCommand(ZoomCommandKind::kTop, kOwnSetter));
}

} // namespace
} // namespace tarvo
