#pragma once
// The rubber band and cross-hair of a zoom plot as pure state: what lines and
// band are shown, in pixels, and what a drag amounts to when the button is
// released. The widget draws the state on top of its picture.

namespace tarvo {

struct PixelPoint {
    int x = -1;
    int y = -1;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;

    bool IsNull() const { return left == -1; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Left <= right and top <= bottom.
    PixelRect Normalized() const;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class DragMode : int { kNone = 0, kHorizontal = 3, kVertical = 4, kRectangle = 5 };
enum class DragResult : int { kNothing = 1, kClick = 2, kXRange = 3, kYRange = 4, kRectangle = 5 };

class CZoomCursor {
public:
    // Forgets the mode, bounds, band and lines.
    void Reset();
    // Hides every line and the band (the drag mode stays).
    void EraseAll();
    // Shows x as a vertical line, or hides it when already shown; false when two
    // lines are shown already. -1 does nothing.
    bool ToggleVLine(int x);
    bool ToggleHLine(int y);
    // Shows the band, or hides it when it is the one shown; left -1 does nothing.
    void ToggleBand(const PixelRect& band);

    PixelPoint Clamp(PixelPoint p) const;
    // 5 inside the bounds (right and bottom edges excluded) and beyond the corners,
    // 4 beside the plot (a y range), 3 above or below it (an x range).
    DragMode HitZone(PixelPoint p) const;

    void BeginDrag(const PixelRect& bounds, PixelPoint p);
    void Drag(PixelPoint p);
    // What the drag amounts to; rect gets the selected range, sorted.
    DragResult EndDrag(PixelPoint p, PixelRect& rect);
    bool IsDragging() const { return mode_ != DragMode::kNone; }
    DragMode Mode() const { return mode_; }

    // The cross-hair of a picked point: one vertical and one horizontal line
    // across the bounds (the plot area given to SetBounds or BeginDrag).
    void ShowCrossHair(int x, int y);
    void SetBounds(const PixelRect& bounds) { bounds_ = bounds; }

    const PixelRect& Bounds() const { return bounds_; }
    const PixelRect& Band() const { return band_; }
    int VLine1() const { return vLine1_; }
    int VLine2() const { return vLine2_; }
    int HLine1() const { return hLine1_; }
    int HLine2() const { return hLine2_; }
    bool HasOverlay() const;

private:
    DragMode mode_ = DragMode::kNone;
    DragResult result_ = DragResult::kNothing; // meaningful only while dragging
    PixelRect bounds_;
    PixelPoint anchor_;
    PixelRect band_;
    int vLine1_ = -1;
    int vLine2_ = -1;
    int hLine1_ = -1;
    int hLine2_ = -1;
};

// The area a Control-wheel step zooms to: a quarter of the window's size on
// each side of the pointer, pushed back inside 0..width and 0..height.
PixelRect WheelZoomRect(PixelPoint pointer, int width, int height);

} // namespace tarvo
