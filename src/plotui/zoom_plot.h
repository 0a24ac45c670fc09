#pragma once
// CZoomPlot: a plot the user zooms with a rubber band (an x range, a y range or
// a rectangle), the wheel and the zoom commands, and picks points on with a
// click, which shows a cross-hair. The band and cross-hair are drawn over the
// cached picture in exclusive-or, as the system's zoom cursor always looked.

#include "plot/zoom_cursor.h"
#include "plotui/axis_plot.h"

#include <functional>

class QMenu;
class QRegion;

namespace tarvo {

class CZoomPlot : public CAxisPlot {
    Q_OBJECT

public:
    // Makes the context menu with the given id for the plot; the plot shows it
    // and deletes it afterwards. Without one there is no context menu.
    using ContextMenuBuilder = std::function<QMenu*(int menuId, QWidget* parent)>;
    static void SetContextMenuBuilder(ContextMenuBuilder builder);

    explicit CZoomPlot(QWidget* parent = nullptr);

    // For derived plots.
    virtual void ResetZoom();
    virtual bool SetXRange(double first, double last, bool flag);
    virtual int GetMaxZoomLevels() const { return PlotAxes::kMaxZoomLevels; }
    virtual void ShowPointCursor(int curve, std::ptrdiff_t index);
    virtual std::ptrdiff_t HitTest(int x, int y, int& curve);
    virtual void OnPointPicked(std::ptrdiff_t /*index*/) {}

    void Zoom(bool zoomX, bool zoomY, bool showMessage, double x0, double x1, double y0, double y1);
    void ZoomToPixels(const PixelRect& rect, bool zoomX, bool zoomY, bool showMessage);
    void ZoomCommand(ZoomCommandKind command);
    // The zoom level in the status bar (through EndBusy).
    void ShowZoomStatus();

    bool HandleCommand(fw::CommandId id) override;
    bool UpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;
    void OnDrawDone() override;

    const CZoomCursor& Cursor() const { return m_cursor; }
    // Ends a drag without zooming and clears the band and cross-hair.
    void CancelDrag();

    int m_nContextMenu = 0; // 0: no context menu
    bool m_bJustFocused = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void DrawOverlay(QPainter& painter) override;

private:
    PixelRect PlotBounds() const;
    void WheelZoomAt(QPointF position);
    void UpdatePointerShape(PixelPoint p);
    // The pixels the band and cursor lines cover now.
    QRegion OverlayRegion() const;
    // Repaints what the overlay covered before a change and covers after it.
    void UpdateOverlay(const QRegion& before);

    CZoomCursor m_cursor;
    bool m_bRestoreCursor = false;
    double m_dWheelX = 0.0;
    double m_dWheelY = 0.0;
    int wheelAccumulator_ = 0;
};

} // namespace tarvo
