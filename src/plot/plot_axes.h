#pragma once
// The axis state of a zoomable plot: the two persistent axis records, their
// drawing copies, the requests that make the next data range rescale an axis,
// and the zoom levels. The plot widget owns one and forwards to it; nothing
// here draws or shows anything.

#include "plot/axis_scale.h"
#include "plot/zoom_list.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvo {

// Sets the plot's x drawing range, or refuses it (false). The zoom calls it
// with the range it would show.
using XRangeSetter = std::function<bool(double first, double last)>;

enum class ZoomOutcome {
    kZoomed,    // a level was saved and the plot must be rebuilt
    kFull,      // the level list is full; nothing changed
    kTooNarrow, // the x range was refused; nothing changed
};

class PlotAxes {
public:
    static constexpr int kMaxZoomLevels = 35;

    PlotAxes();

    AxisSettings m_xAxis;
    AxisSettings m_yAxis;
    AxisView x; // the drawing state, from ApplyXAxis / SetXRange
    AxisView y;

    bool m_bPolar = false;
    bool m_bResetScale = false; // both axes autoscale at the next data range
    bool m_bAutoscaleX = false;
    bool m_bAutoscaleY = false;
    bool m_bFullDecadeZoom = true;
    CZoomList m_zoomList;

    // The one way a plot reports its data range: honours the rescale requests,
    // adopts the range into both records and applies them. A log axis on a polar
    // plot is switched off and reported.
    std::vector<PlotNotice> SetAxisRanges(double xMin, double xMax, double yMin, double yMax);
    void ApplyXAxis() { x = ApplyAxis(m_xAxis); }
    void ApplyYAxis() { y = ApplyAxis(m_yAxis); }

    // Drops every zoom level and lets both axes autoscale at the next data range.
    void ResetZoom();

    // The x range a zoom may show: finite and wider than 1e-5 of its magnitude.
    static bool IsZoomableRange(double first, double last);
    // The default x-range setter: refuses ranges that are not zoomable,
    // otherwise sets x.first and x.last.
    bool SetXRange(double first, double last);

    // Zooms to x0..x1 and/or y0..y1 (values), saving the current state as a level.
    // maxLevels bounds the entries the list may hold after the push.
    ZoomOutcome Zoom(bool zoomX, bool zoomY, double x0, double x1, double y0, double y1,
                     const XRangeSetter& setXRange, int maxLevels = kMaxZoomLevels);
    // Moves between saved levels; true when it moved (the plot must be rebuilt).
    bool ZoomCommand(ZoomCommandKind command, const XRangeSetter& setXRange);

    // "Ready", "Top Zoom Level of N" or "Zoom Level n of N".
    std::string ZoomStatus() const;
};

// The status text when a zoom is refused because the level list is full.
std::string ZoomListFullText();
// The message of a rubber-band zoom whose x range is refused.
inline constexpr const char* kZoomTooNarrowText = "Cannot zoom: horizontal range is too narrow.";

} // namespace tarvo
