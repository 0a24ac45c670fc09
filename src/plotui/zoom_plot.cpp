#include "plotui/zoom_plot.h"

#include "plot/plot_command_ids.h"

#include <algorithm>
#include <cmath>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

namespace tarvo {
namespace {

// One notch of a classic wheel; finer wheels and touchpads add up to it.
constexpr int kWheelNotch = 120;
const QColor kCursorColor(209, 116, 168);

CZoomPlot::ContextMenuBuilder& ContextMenuHook() {
    static CZoomPlot::ContextMenuBuilder hook;
    return hook;
}

std::size_t ZoomIndex(fw::CommandId id) {
    const auto it = std::find(kIdPlotZooms.begin(), kIdPlotZooms.end(), id);
    return static_cast<std::size_t>(it - kIdPlotZooms.begin());
}

PixelPoint ToPixel(QPointF p) {
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

} // namespace

void CZoomPlot::SetContextMenuBuilder(ContextMenuBuilder builder) {
    ContextMenuHook() = std::move(builder);
}

CZoomPlot::CZoomPlot(QWidget* parent) : CAxisPlot(parent) {
    setMouseTracking(true);
}

void CZoomPlot::ResetZoom() {
    m_axes.ResetZoom();
}

bool CZoomPlot::SetXRange(double first, double last, bool /*flag*/) {
    return m_axes.SetXRange(first, last);
}

void CZoomPlot::ShowPointCursor(int curve, std::ptrdiff_t index) {
    if (index < 0 || m_curves.GetCount() == 0) return;
    const auto row = static_cast<std::size_t>(index);
    const bool polar = m_axes.m_bPolar;
    const auto c = static_cast<std::size_t>(std::max(curve, 0));
    double x = 0.0;
    double y = 0.0;
    if (polar) {
        if (m_curves.GetCount() < 2 || row >= m_curves.GetRowCount()) return;
        x = m_curves.GetAt(0)[row];
        y = m_curves.GetAt(1)[row];
    } else {
        if (c >= m_curves.GetCount() || row >= m_xData.GetSize() ||
            row >= m_curves.GetAt(c).GetSize()) {
            return;
        }
        x = m_xData[row];
        y = m_curves.GetAt(c)[row];
    }
    if (!Map().XToPixelF(x) || !Map().YToPixelF(y)) return;
    const QRegion before = OverlayRegion();
    m_cursor.SetBounds(PlotBounds());
    m_cursor.ShowCrossHair(XToPixel(x), YToPixel(y));
    UpdateOverlay(before);
}

std::ptrdiff_t CZoomPlot::HitTest(int /*x*/, int /*y*/, int& curve) {
    curve = 0;
    return 0;
}

PixelRect CZoomPlot::PlotBounds() const {
    return {XToPixel(m_axes.x.first), YToPixel(m_axes.y.last), XToPixel(m_axes.x.last),
            YToPixel(m_axes.y.first)};
}

void CZoomPlot::Zoom(bool zoomX, bool zoomY, bool showMessage, double x0, double x1, double y0,
                     double y1) {
    const XRangeSetter setter = [this](double a, double b) { return SetXRange(a, b, false); };
    switch (m_axes.Zoom(zoomX, zoomY, x0, x1, y0, y1, setter, GetMaxZoomLevels())) {
    case ZoomOutcome::kZoomed:
        Rebuild();
        break;
    case ZoomOutcome::kFull:
        m_bRestoreCursor = false;
        ShowStatus(ZoomListFullText());
        break;
    case ZoomOutcome::kTooNarrow:
        m_bRestoreCursor = false;
        if (showMessage) GetUi().Message(kZoomTooNarrowText, fw::Icon::Error);
        break;
    }
}

void CZoomPlot::ZoomToPixels(const PixelRect& rect, bool zoomX, bool zoomY, bool showMessage) {
    Zoom(zoomX, zoomY, showMessage, PixelToX(rect.left), PixelToX(rect.right),
         PixelToY(rect.bottom), PixelToY(rect.top));
}

void CZoomPlot::ZoomCommand(ZoomCommandKind command) {
    if (!IsPlotReady()) return;
    const XRangeSetter setter = [this](double a, double b) { return SetXRange(a, b, false); };
    if (m_axes.ZoomCommand(command, setter)) {
        Rebuild();
    } else {
        ShowStatus("Ready");
    }
}

void CZoomPlot::ShowZoomStatus() {
    EndBusy(m_axes.ZoomStatus());
}

void CZoomPlot::OnDrawDone() {
    // The new picture has none of the old lines.
    m_cursor.Reset();
    if (!m_bRestoreCursor) return;
    m_bRestoreCursor = false;
    QPoint target(XToPixel(m_dWheelX), YToPixel(m_dWheelY));
    if (!rect().contains(target)) target = rect().center();
    // Only while the pointer is still over the plot: it never jumps in from elsewhere.
    if (rect().contains(mapFromGlobal(QCursor::pos()))) QCursor::setPos(mapToGlobal(target));
}

void CZoomPlot::CancelDrag() {
    const QRegion before = OverlayRegion();
    m_cursor.Reset();
    UpdateOverlay(before);
}

QRegion CZoomPlot::OverlayRegion() const {
    QRegion region;
    const PixelRect& b = m_cursor.Bounds();
    for (int x : {m_cursor.VLine1(), m_cursor.VLine2()}) {
        if (x != -1) region += QRect(x, b.top, 1, b.bottom - b.top + 1);
    }
    for (int y : {m_cursor.HLine1(), m_cursor.HLine2()}) {
        if (y != -1) region += QRect(b.left, y, b.right - b.left + 1, 1);
    }
    if (const PixelRect& band = m_cursor.Band(); !band.IsNull()) {
        const PixelRect r = band.Normalized();
        const int w = r.right - r.left + 1;
        const int h = r.bottom - r.top + 1;
        region += QRect(r.left, r.top, w, 1);
        region += QRect(r.left, r.bottom, w, 1);
        region += QRect(r.left, r.top, 1, h);
        region += QRect(r.right, r.top, 1, h);
    }
    return region;
}

void CZoomPlot::UpdateOverlay(const QRegion& before) {
    // Only the pixels of the old and new lines change: the rest of the picture stays.
    update(before.united(OverlayRegion()));
}

void CZoomPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (IsPlotReady() && HasValidScale()) {
            const QRegion before = OverlayRegion();
            m_cursor.BeginDrag(PlotBounds(), ToPixel(event->position()));
            UpdateOverlay(before);
        }
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        const CZoomList& list = m_axes.m_zoomList;
        if (list.IsEmpty()) return;
        ZoomCommand(list.CanZoom(ZoomCommandKind::kTop) ? ZoomCommandKind::kTop
                                                        : ZoomCommandKind::kBottom);
        return;
    }
    CAxisPlot::mousePressEvent(event);
}

void CZoomPlot::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0 && m_cursor.IsDragging()) {
        const QRegion before = OverlayRegion();
        m_cursor.Drag(ToPixel(event->position()));
        UpdateOverlay(before);
        return;
    }
    if (event->buttons() == Qt::NoButton) UpdatePointerShape(ToPixel(event->position()));
}

void CZoomPlot::UpdatePointerShape(PixelPoint p) {
    // The pointer tells what a drag from here selects.
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (IsPlotReady() && HasValidScale()) {
        CZoomCursor probe;
        const PixelRect bounds = PlotBounds();
        probe.SetBounds(bounds);
        const bool inside =
            p.x >= bounds.left && p.x < bounds.right && p.y >= bounds.top && p.y < bounds.bottom;
        switch (probe.HitZone(p)) {
        case DragMode::kHorizontal:
            shape = Qt::SizeHorCursor;
            break;
        case DragMode::kVertical:
            shape = Qt::SizeVerCursor;
            break;
        default:
            if (inside) shape = Qt::CrossCursor;
            break;
        }
    }
    if (cursor().shape() != shape) setCursor(shape);
}

void CZoomPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool justFocused = m_bJustFocused;
    m_bJustFocused = false;
    if (!m_cursor.IsDragging()) return;
    PixelRect rect;
    const QRegion before = OverlayRegion();
    const DragResult result = m_cursor.EndDrag(ToPixel(event->position()), rect);
    UpdateOverlay(before);
    switch (result) {
    case DragResult::kClick: {
        // The click that gave the plot the focus picks nothing.
        if (justFocused) break;
        int curve = 0;
        const PixelPoint p = ToPixel(event->position());
        const std::ptrdiff_t index = HitTest(p.x, p.y, curve);
        ShowPointCursor(curve, index);
        OnPointPicked(index);
        break;
    }
    case DragResult::kXRange:
        ZoomToPixels(rect, true, false, true);
        break;
    case DragResult::kYRange:
        ZoomToPixels(rect, false, true, true);
        break;
    case DragResult::kRectangle:
        ZoomToPixels(rect, true, true, true);
        break;
    case DragResult::kNothing:
        break;
    }
}

void CZoomPlot::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheelAccumulator_ += event->angleDelta().y();
    while (std::abs(wheelAccumulator_) >= kWheelNotch) {
        const bool forward = wheelAccumulator_ > 0;
        wheelAccumulator_ += forward ? -kWheelNotch : kWheelNotch;
        const CZoomList& list = m_axes.m_zoomList;
        if (forward && (event->modifiers() & Qt::ControlModifier) != 0) {
            WheelZoomAt(event->position());
        } else if (forward) {
            if (list.CanZoom(ZoomCommandKind::kIn)) ZoomCommand(ZoomCommandKind::kIn);
        } else if (list.CanZoom(ZoomCommandKind::kOut)) {
            ZoomCommand(ZoomCommandKind::kOut);
        }
    }
}

void CZoomPlot::WheelZoomAt(QPointF position) {
    if (!IsPlotReady() || !HasValidScale()) return;
    if (m_axes.m_zoomList.GetCurrentLevel() >= GetMaxZoomLevels()) return;
    const PixelPoint p = ToPixel(position);
    const double x = PixelToX(p.x);
    const double y = PixelToY(p.y);
    const auto inside = [](double v, double a, double b) {
        return v >= std::min(a, b) && v <= std::max(a, b);
    };
    if (!inside(x, m_axes.x.first, m_axes.x.last) || !inside(y, m_axes.y.first, m_axes.y.last)) {
        return;
    }
    m_dWheelX = x;
    m_dWheelY = y;
    m_bRestoreCursor = true;
    ZoomToPixels(WheelZoomRect(p, width(), height()), true, true, false);
}

void CZoomPlot::contextMenuEvent(QContextMenuEvent* event) {
    if (m_nContextMenu == 0 || !IsPlotReady() || !ContextMenuHook()) return;
    CancelDrag();
    // The commands go to the view that has the focus: make it this one first.
    setFocus(Qt::PopupFocusReason);
    QMenu* menu = ContextMenuHook()(m_nContextMenu, this);
    if (menu == nullptr) return;
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(rect().center())
                                                                     : event->globalPos();
    menu->exec(at);
    delete menu;
}

void CZoomPlot::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::MouseFocusReason) m_bJustFocused = true;
    CAxisPlot::focusInEvent(event);
}

void CZoomPlot::focusOutEvent(QFocusEvent* event) {
    CancelDrag();
    CAxisPlot::focusOutEvent(event);
}

void CZoomPlot::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_cursor.IsDragging()) {
        CancelDrag();
        return;
    }
    CAxisPlot::keyPressEvent(event);
}

void CZoomPlot::DrawOverlay(QPainter& painter) {
    if (!m_cursor.HasOverlay()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(kCursorColor, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const PixelRect& b = m_cursor.Bounds();
    for (int x : {m_cursor.VLine1(), m_cursor.VLine2()}) {
        if (x != -1) painter.drawLine(x, b.top, x, b.bottom);
    }
    for (int y : {m_cursor.HLine1(), m_cursor.HLine2()}) {
        if (y != -1) painter.drawLine(b.left, y, b.right, y);
    }
    if (const PixelRect& band = m_cursor.Band(); !band.IsNull()) {
        const PixelRect r = band.Normalized();
        // Four separate sides, so that no corner pixel is toggled twice.
        painter.drawLine(r.left, r.top, r.right, r.top);
        if (r.bottom > r.top) painter.drawLine(r.left, r.bottom, r.right, r.bottom);
        if (r.bottom - r.top > 1) {
            painter.drawLine(r.left, r.top + 1, r.left, r.bottom - 1);
            if (r.right > r.left) painter.drawLine(r.right, r.top + 1, r.right, r.bottom - 1);
        }
    }
    painter.restore();
}

bool CZoomPlot::HandleCommand(fw::CommandId id) {
    if (const std::size_t zoom = ZoomIndex(id); zoom < kIdPlotZooms.size()) {
        const auto command = static_cast<ZoomCommandKind>(zoom);
        if (m_axes.m_zoomList.CanZoom(command)) ZoomCommand(command);
        return true;
    }
    return CAxisPlot::HandleCommand(id);
}

bool CZoomPlot::UpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (const std::size_t zoom = ZoomIndex(id); zoom < kIdPlotZooms.size()) {
        const CZoomList& list = m_axes.m_zoomList;
        const auto command = static_cast<ZoomCommandKind>(zoom);
        ui.Enable(list.CanZoom(command));
        if (command == ZoomCommandKind::kTop) ui.SetCheck(list.IsAtTop());
        if (command == ZoomCommandKind::kBottom) ui.SetCheck(list.IsAtBottom());
        return true;
    }
    return CAxisPlot::UpdateCommand(id, ui);
}

} // namespace tarvo
