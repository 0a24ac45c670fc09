#include "plot/zoom_cursor.h"

#include <gtest/gtest.h>
#include <vector>

namespace tarvo {
namespace {

const PixelRect kBounds{100, 50, 500, 350};

TEST(ZoomCursor, HitZones) {
    struct Row {
        PixelPoint p;
        DragMode zone;
    };
    const std::vector<Row> rows = {
        {{100, 50}, DragMode::kRectangle},   {{499, 349}, DragMode::kRectangle},
        {{500, 200}, DragMode::kVertical},   {{40, 200}, DragMode::kVertical},
        {{620, 349}, DragMode::kVertical},   {{300, 350}, DragMode::kHorizontal},
        {{300, 420}, DragMode::kHorizontal}, {{300, 10}, DragMode::kHorizontal},
        {{40, 10}, DragMode::kRectangle},    {{620, 420}, DragMode::kRectangle},
    };
    CZoomCursor cursor;
    cursor.SetBounds(kBounds);
    for (const Row& r : rows)
        EXPECT_EQ(cursor.HitZone(r.p), r.zone) << r.p.x << "," << r.p.y;
}

TEST(ZoomCursor, EndDragResults) {
    struct Row {
        const char* name;
        PixelPoint start;
        std::vector<PixelPoint> moves;
        DragResult result;
        PixelRect rect; // checked for range and rectangle results
    };
    const std::vector<Row> rows = {
        {"x range from below",
         {200, 400},
         {{250, 500}, {305, 420}},
         DragResult::kXRange,
         {200, 350, 305, 350}},
        {"x range leftwards, clamped",
         {200, 400},
         {{20, 380}},
         DragResult::kXRange,
         {100, 350, 200, 350}},
        {"back on the anchor keeps the line",
         {200, 400},
         {{260, 0}, {200, 0}},
         DragResult::kXRange,
         {200, 350, 260, 350}},
        {"x range 9 px wide", {200, 400}, {{209, 400}}, DragResult::kClick, {}},
        {"x range, one line", {200, 400}, {}, DragResult::kClick, {}},
        {"y range, clamped", {40, 100}, {{20, 0}}, DragResult::kYRange, {100, 50, 100, 100}},
        {"y range 4 px high", {40, 100}, {{20, 104}}, DragResult::kNothing, {}},
        {"y range, one line", {40, 100}, {}, DragResult::kNothing, {}},
        {"rectangle up-left, clamped",
         {200, 100},
         {{300, 200}, {0, 0}},
         DragResult::kRectangle,
         {100, 50, 200, 100}},
        {"rectangle 100x3", {200, 100}, {{300, 103}}, DragResult::kXRange, {200, 100, 300, 103}},
        {"rectangle 9 px wide", {200, 100}, {{209, 300}}, DragResult::kClick, {}},
        {"click", {200, 100}, {}, DragResult::kClick, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CZoomCursor cursor;
        cursor.BeginDrag(kBounds, r.start);
        EXPECT_TRUE(cursor.IsDragging() && cursor.HasOverlay());
        for (PixelPoint p : r.moves)
            cursor.Drag(p);
        PixelRect rect;
        const DragResult result = cursor.EndDrag(r.moves.empty() ? r.start : r.moves.back(), rect);
        EXPECT_EQ(result, r.result);
        if (result != DragResult::kClick && result != DragResult::kNothing) {
            EXPECT_EQ(rect, r.rect);
        }
        EXPECT_EQ(cursor.Mode(), DragMode::kNone);
        EXPECT_FALSE(cursor.IsDragging() || cursor.HasOverlay());
        EXPECT_EQ(cursor.EndDrag(r.start, rect), DragResult::kNothing); // no drag now
    }
}

TEST(ZoomCursor, LinesBandAndCrossHair) {
    CZoomCursor cursor;
    cursor.BeginDrag(kBounds, {200, 420});
    cursor.Drag({700, 0});
    EXPECT_EQ(cursor.VLine1(), 200);
    EXPECT_EQ(cursor.VLine2(), 500);
    EXPECT_FALSE(cursor.ToggleVLine(300)); // both slots taken
    EXPECT_TRUE(cursor.ToggleVLine(200));  // hides the anchor line
    EXPECT_EQ(cursor.VLine1(), -1);

    cursor.BeginDrag(kBounds, {150, 60}); // forgets the previous lines
    EXPECT_EQ(cursor.VLine2(), -1);
    cursor.Drag({120, 400});
    EXPECT_EQ(cursor.Band(), (PixelRect{150, 60, 120, 350}));
    cursor.ToggleBand(cursor.Band());
    EXPECT_TRUE(cursor.Band().IsNull());

    cursor.ToggleHLine(60);
    cursor.ToggleHLine(70);
    cursor.ShowCrossHair(300, 200);
    EXPECT_EQ(
        (std::vector<int>{cursor.VLine1(), cursor.VLine2(), cursor.HLine1(), cursor.HLine2()}),
        (std::vector<int>{300, -1, 200, -1}));
    cursor.Reset();
    EXPECT_FALSE(cursor.HasOverlay() || cursor.IsDragging());
    EXPECT_TRUE(cursor.Bounds().IsNull());
}

TEST(ZoomCursor, WheelZoomRectIsKeptInsideTheWindow) {
    struct Row {
        PixelPoint pointer;
        int width, height;
        PixelRect rect;
    };
    const std::vector<Row> rows = {
        {{400, 300}, 800, 600, {200, 150, 600, 450}},
        {{100, 100}, 800, 600, {0, 0, 300, 250}},
        {{750, 580}, 800, 600, {550, 430, 800, 600}},
        {{50, 50}, 801, 603, {0, 0, 250, 201}}, // 200.25 and 150.75, rounded
    };
    for (const Row& r : rows)
        EXPECT_EQ(WheelZoomRect(r.pointer, r.width, r.height), r.rect) << r.pointer.x;
}

} // namespace
} // namespace tarvo
