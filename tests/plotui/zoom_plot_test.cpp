// The zoom plot driven with real mouse and wheel events offscreen: drags zoom
// the axes they select, a click picks the nearest point and shows the
// cross-hair in exclusive-or, the activating click picks nothing, and fine
// wheels add up to one notch.

#include "plot/plot_command_ids.h"
#include "plot_fixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace tarvo::test {
namespace {

class ZoomPlotTest : public PlotUiTest {
protected:
    void SetUp() override {
        PlotUiTest::SetUp();
        ShowPlot(plot);
        frame = plot.Map().Frame();
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(at), plot.mapToGlobal(QPointF(at)), button, buttons, mods);
        QApplication::sendEvent(&plot, &event);
    }
    void Drag(QPoint from, QPoint to) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        plot.grab();
    }
    void Click(QPoint at) { Drag(at, at); }
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent event(QPointF(at), plot.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&plot, &event);
        plot.grab();
    }
    QPoint Inside(double fx, double fy) const {
        return {frame.left + static_cast<int>(fx * frame.width),
                frame.bottom - static_cast<int>(fy * frame.height)};
    }

    TestPlot plot;
    PlotFrame frame;
};

TEST_F(ZoomPlotTest, DragsZoomTheAxesTheySelect) {
    // A flat rectangle zooms x only; the y axis keeps fitting the data.
    Drag(Inside(0.2, 0.5), Inside(0.2, 0.5) + QPoint(100, 3));
    EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 1);
    EXPECT_GT(plot.m_axes.x.first, 1.0);
    EXPECT_LT(plot.m_axes.x.last, 5.0);
    EXPECT_DOUBLE_EQ(plot.m_axes.y.first, -1.0);
    EXPECT_DOUBLE_EQ(plot.m_axes.y.last, 1.0);

    // Starting over the x labels selects an x range whatever the vertical movement.
    frame = plot.Map().Frame();
    const double before = plot.m_axes.x.last - plot.m_axes.x.first;
    Drag(QPoint(frame.left + 50, frame.bottom + 10), QPoint(frame.left + 400, frame.bottom - 200));
    EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 2);
    EXPECT_LT(plot.m_axes.x.last - plot.m_axes.x.first, before);
    EXPECT_DOUBLE_EQ(plot.m_axes.y.last, 1.0);

    // A rectangle zooms both; the middle button jumps to the top and back.
    frame = plot.Map().Frame();
    Drag(Inside(0.1, 0.2), Inside(0.6, 0.6));
    EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 3);
    EXPECT_LT(plot.m_axes.y.last - plot.m_axes.y.first, 2.0);
    Send(QEvent::MouseButtonPress, Inside(0.5, 0.5), Qt::MiddleButton, Qt::MiddleButton);
    plot.grab();
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsAtTop());
    EXPECT_DOUBLE_EQ(plot.m_axes.x.first, 0.0);
    EXPECT_DOUBLE_EQ(plot.m_axes.x.last, 10.0);
    Send(QEvent::MouseButtonPress, Inside(0.5, 0.5), Qt::MiddleButton, Qt::MiddleButton);
    plot.grab();
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsAtBottom());
    fw::CmdUI bottom(kIdPlotZoomBottom);
    plot.UpdateCommand(kIdPlotZoomBottom, bottom);
    EXPECT_TRUE(bottom.IsChecked());
    EXPECT_FALSE(bottom.IsEnabled());
}

TEST_F(ZoomPlotTest, SmallDragsAndNarrowZooms) {
    // Beside the plot a vertical drag under 5 pixels does nothing.
    Drag(QPoint(frame.left - 10, frame.bottom - 100), QPoint(frame.left - 10, frame.bottom - 97));
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsEmpty());
    plot.Zoom(true, false, true, 5.0, 5.0 + 1e-9, 0.0, 0.0);
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsEmpty());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{kZoomTooNarrowText});
}

TEST_F(ZoomPlotTest, ClickPicksTheNearestPointAndShowsTheCrossHair) {
    const QPoint at = Inside(0.25, 0.95);
    Click(at);
    ASSERT_EQ(plot.picked.size(), 1U);
    const double x = plot.m_xData[static_cast<std::size_t>(plot.picked[0])];
    EXPECT_NEAR(x, plot.PixelToX(at.x()), 10.0 / frame.width);
    EXPECT_EQ(plot.Cursor().VLine1(), plot.XToPixel(x));
    // Exclusive-or of the cursor colour on white.
    const QImage image = plot.grab().toImage();
    const int top = plot.Map().Frame().bottom - plot.Map().Frame().height;
    EXPECT_EQ(image.pixel(plot.Cursor().VLine1(), top + 3), qRgb(46, 139, 87));

    // The click that gives the plot the focus picks nothing; the next one does.
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&plot, &focus);
    Click(at);
    EXPECT_EQ(plot.picked.size(), 1U);
    Click(at);
    EXPECT_EQ(plot.picked.size(), 2U);
    // Losing the focus clears the cross-hair.
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&plot, &out);
    EXPECT_FALSE(plot.Cursor().HasOverlay());
}

TEST_F(ZoomPlotTest, WheelStepsAddUpToANotch) {
    const QPoint at = Inside(0.5, 0.5);
    const double centre = plot.PixelToX(at.x());
    for (int i = 0; i < 14; ++i)
        Wheel(at, 8, Qt::ControlModifier);
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsEmpty());
    Wheel(at, 8, Qt::ControlModifier); // 15 x 8 = one notch
    EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 1);
    // Half the window's width around the pointer (before the axis rounds it).
    const AxisSettings& x = plot.m_axes.m_xAxis;
    EXPECT_NEAR(x.m_dMax - x.m_dMin, 400.0 / frame.width * 10.0, 0.05);
    EXPECT_NEAR((x.m_dMax + x.m_dMin) / 2, centre, 0.05);
    // Backward walks out again; outside the data area Control+wheel does nothing.
    Wheel(at, -120, Qt::NoModifier);
    EXPECT_TRUE(plot.m_axes.m_zoomList.IsAtTop());
    Wheel(QPoint(2, 2), 120, Qt::ControlModifier);
    EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 1);
}

} // namespace
} // namespace tarvo::test
