#include "plot/plot_axes.h"
#include "plot/zoom_list.h"

#include <gtest/gtest.h>
#include <vector>

namespace tarvo {
namespace {

using Cmd = ZoomCommandKind;

// A view is tagged by its x record's digits, so a restored view is told apart
// from one that merely has the same range.
struct View {
    double first = 0.0, last = 100.0;
    AxisSettings xAxis, yAxis;
};

View MakeView(int tag) {
    View v{tag * 10.0, 100.0 - tag * 10.0, {}, {}};
    v.xAxis.m_nDigits = tag;
    return v;
}

// The level list of a PlotAxes after two zooms from S0: entries S0, S1, live S2.
class ZoomWalk : public ::testing::Test {
protected:
    void SetUp() override {
        ZoomTo(MakeView(1));
        ZoomTo(MakeView(2));
    }
    void ZoomTo(const View& next) {
        list().PushLevel(CZoomData{view.first, view.last, view.xAxis, view.yAxis});
        view = next;
    }
    int Go(Cmd command) {
        EXPECT_TRUE(list().Navigate(command, view.first, view.last, view.xAxis, view.yAxis));
        EXPECT_EQ(view.first, MakeView(view.xAxis.m_nDigits).first);
        return view.xAxis.m_nDigits;
    }
    CZoomList& list() { return axes.m_zoomList; }

    PlotAxes axes;
    View view = MakeView(0);
};

TEST(ZoomList, EmptyListOffersNothing) {
    CZoomList list;
    View v = MakeView(4);
    for (int c = 0; c <= 5; ++c)
        EXPECT_FALSE(list.CanZoom(static_cast<Cmd>(c))) << c;
    EXPECT_FALSE(list.IsAtTop() || list.IsAtBottom());
    EXPECT_FALSE(list.Navigate(Cmd::kTop, v.first, v.last, v.xAxis, v.yAxis));
    EXPECT_EQ(v.xAxis.m_nDigits, 4);
    EXPECT_EQ(PlotAxes().ZoomStatus(), "Ready");
}

TEST_F(ZoomWalk, OutOutBottomTopIn) {
    struct Step {
        Cmd command;
        int shown;
        const char* status;
        bool atTop, atBottom;
    };
    const std::vector<Step> steps = {
        {Cmd::kOut, 1, "Zoom Level 1 of 2", false, false},
        {Cmd::kOut, 0, "Top Zoom Level of 2", true, false},
        {Cmd::kBottom, 2, "Zoom Level 2 of 2", false, true},
        {Cmd::kTop, 0, "Top Zoom Level of 2", true, false},
        {Cmd::kIn, 1, "Zoom Level 1 of 2", false, false},
    };
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 2 of 2");
    EXPECT_EQ(list().EntryCount(), 2u);
    EXPECT_TRUE(list().IsAtBottom());
    EXPECT_FALSE(list().IsAtTop());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.status);
        EXPECT_EQ(Go(s.command), s.shown);
        EXPECT_EQ(axes.ZoomStatus(), s.status);
        EXPECT_EQ(list().EntryCount(), 3u); // S2 saved on the first move
        EXPECT_EQ(list().IsAtTop(), s.atTop);
        EXPECT_EQ(list().IsAtBottom(), s.atBottom);
        EXPECT_EQ(list().CanZoom(Cmd::kTop) && list().CanZoom(Cmd::kOut), !s.atTop);
        EXPECT_EQ(list().CanZoom(Cmd::kBottom) && list().CanZoom(Cmd::kIn), !s.atBottom);
        EXPECT_TRUE(list().CanZoom(Cmd::kNext));
    }
}

TEST_F(ZoomWalk, NewZoomFromS1ReplacesS1AndS2) {
    ASSERT_EQ(Go(Cmd::kOut), 1);
    view.yAxis.m_nGrid = 3; // the view as shown now is what the new level keeps
    ZoomTo(MakeView(3));
    EXPECT_EQ(list().EntryCount(), 2u);
    EXPECT_EQ(axes.ZoomStatus(), "Zoom Level 2 of 2");
    EXPECT_EQ(Go(Cmd::kOut), 1);
    EXPECT_EQ(view.yAxis.m_nGrid, 3);
    EXPECT_EQ(Go(Cmd::kOut), 0);
    EXPECT_EQ(Go(Cmd::kBottom), 3);
}

TEST_F(ZoomWalk, NextAndOutOrBottomWrapAround) {
    for (int expected : {0, 1, 2, 0, 1}) // Top from the last entry, else In
        EXPECT_EQ(Go(Cmd::kNext), expected);
    for (int expected : {0, 2, 1, 0}) // Bottom from the first entry, else Out
        EXPECT_EQ(Go(Cmd::kOutOrBottom), expected);
}

} // namespace
} // namespace tarvo
