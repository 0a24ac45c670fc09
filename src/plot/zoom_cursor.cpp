#include "plot/zoom_cursor.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Narrower drags than these count as a click (x) or as no selection (y).
constexpr int kMinDragWidth = 10;
constexpr int kMinDragHeight = 5;

bool ToggleLine(int value, int& slot1, int& slot2) {
    if (value == -1) return true;
    if (value == slot1)
        slot1 = -1;
    else if (value == slot2)
        slot2 = -1;
    else if (slot1 == -1)
        slot1 = value;
    else if (slot2 == -1)
        slot2 = value;
    else
        return false;
    return true;
}

} // namespace

PixelRect PixelRect::Normalized() const {
    return PixelRect{std::min(left, right), std::min(top, bottom), std::max(left, right),
                     std::max(top, bottom)};
}

void CZoomCursor::Reset() {
    *this = CZoomCursor();
}

void CZoomCursor::EraseAll() {
    vLine1_ = vLine2_ = hLine1_ = hLine2_ = -1;
    band_ = PixelRect();
}

bool CZoomCursor::ToggleVLine(int x) {
    return ToggleLine(x, vLine1_, vLine2_);
}

bool CZoomCursor::ToggleHLine(int y) {
    return ToggleLine(y, hLine1_, hLine2_);
}

void CZoomCursor::ToggleBand(const PixelRect& band) {
    if (band.left == -1) return;
    band_ = band == band_ ? PixelRect() : band;
}

PixelPoint CZoomCursor::Clamp(PixelPoint p) const {
    // max after min, so that inverted bounds cannot trip an assertion.
    p.x = std::max(bounds_.left, std::min(p.x, bounds_.right));
    p.y = std::max(bounds_.top, std::min(p.y, bounds_.bottom));
    return p;
}

DragMode CZoomCursor::HitZone(PixelPoint p) const {
    const bool inX = p.x >= bounds_.left && p.x <= bounds_.right;
    const bool inY = p.y >= bounds_.top && p.y <= bounds_.bottom;
    if (inX && inY && p.x < bounds_.right && p.y < bounds_.bottom) return DragMode::kRectangle;
    if (inY && (p.x <= bounds_.left || p.x >= bounds_.right)) return DragMode::kVertical;
    if (inX && (p.y <= bounds_.top || p.y >= bounds_.bottom)) return DragMode::kHorizontal;
    return DragMode::kRectangle;
}

void CZoomCursor::BeginDrag(const PixelRect& bounds, PixelPoint p) {
    EraseAll();
    bounds_ = bounds;
    mode_ = HitZone(p);
    result_ = static_cast<DragResult>(mode_);
    anchor_ = Clamp(p);
    switch (mode_) {
    case DragMode::kHorizontal:
        ToggleVLine(anchor_.x);
        break;
    case DragMode::kVertical:
        ToggleHLine(anchor_.y);
        break;
    case DragMode::kRectangle:
        ToggleBand(PixelRect{anchor_.x, anchor_.y, anchor_.x, anchor_.y});
        break;
    case DragMode::kNone:
        break;
    }
}

void CZoomCursor::Drag(PixelPoint p) {
    if (bounds_.left == -1) return;
    p = Clamp(p);
    switch (mode_) {
    case DragMode::kHorizontal:
        // The anchor line stays; the second line follows the pointer.
        if (p.x != vLine1_) {
            ToggleVLine(vLine2_);
            ToggleVLine(p.x);
        }
        break;
    case DragMode::kVertical:
        if (p.y != hLine1_) {
            ToggleHLine(hLine2_);
            ToggleHLine(p.y);
        }
        break;
    case DragMode::kRectangle:
        band_ = PixelRect{anchor_.x, anchor_.y, p.x, p.y};
        break;
    case DragMode::kNone:
        break;
    }
}

DragResult CZoomCursor::EndDrag(PixelPoint /*p: the last Drag point is the release point*/,
                                PixelRect& rect) {
    if (mode_ == DragMode::kNone) return DragResult::kNothing;

    DragResult result = result_;
    switch (mode_) {
    case DragMode::kHorizontal:
        rect = PixelRect{vLine1_, anchor_.y, vLine2_ == -1 ? vLine1_ : vLine2_, anchor_.y}
                   .Normalized();
        if (vLine2_ == -1 || rect.Width() < kMinDragWidth) result = DragResult::kClick;
        break;
    case DragMode::kVertical:
        rect = PixelRect{anchor_.x, hLine1_, anchor_.x, hLine2_ == -1 ? hLine1_ : hLine2_}
                   .Normalized();
        if (rect.Height() < kMinDragHeight) result = DragResult::kNothing;
        break;
    case DragMode::kRectangle:
        rect = band_.Normalized();
        if (rect.Width() < kMinDragWidth)
            result = DragResult::kClick;
        else if (rect.Height() < kMinDragHeight)
            result = DragResult::kXRange;
        break;
    case DragMode::kNone:
        break;
    }

    EraseAll();
    mode_ = DragMode::kNone;
    result_ = DragResult::kNothing;
    return result;
}

void CZoomCursor::ShowCrossHair(int x, int y) {
    vLine1_ = x;
    vLine2_ = -1;
    hLine1_ = y;
    hLine2_ = -1;
}

bool CZoomCursor::HasOverlay() const {
    return vLine1_ != -1 || vLine2_ != -1 || hLine1_ != -1 || hLine2_ != -1 || !band_.IsNull();
}

PixelRect WheelZoomRect(PixelPoint pointer, int width, int height) {
    const int dx = static_cast<int>(std::trunc(width * 0.25 + 0.5));
    const int dy = static_cast<int>(std::trunc(height * 0.25 + 0.5));
    PixelRect rect{pointer.x - dx, pointer.y - dy, pointer.x + dx, pointer.y + dy};
    if (rect.left < 0)
        rect.left = 0;
    else if (rect.right > width)
        rect.right = width;
    if (rect.top < 0)
        rect.top = 0;
    else if (rect.bottom > height)
        rect.bottom = height;
    return rect;
}

} // namespace tarvo
