#include "plot/plot_axes.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Values read back from pixels land a few ulps beside a power of ten.
constexpr double kDecadeTolerance = 1e-9;

// The decade v lies in, a value just below a power of ten counting as that power.
double SnappedDecadeFloor(double v) {
    return DecadeFloor(v * (1.0 + kDecadeTolerance));
}

// Widens a..b (both > 0) to whole decades; an end already on a decade stays there.
void WidenToDecades(double& a, double& b) {
    a = SnappedDecadeFloor(a);
    const double decade = SnappedDecadeFloor(b);
    b = b <= decade * (1.0 + kDecadeTolerance) ? decade : 10.0 * decade;
}

} // namespace

PlotAxes::PlotAxes() {
    x = AxisView{0.0, 100.0, 50.0, 10.0, 0, 2, 0, false};
    y = AxisView{-1.0, 1.0, 0.2, 0.1, 0, 2, 0, false};
}

std::vector<PlotNotice> PlotAxes::SetAxisRanges(double xMin, double xMax, double yMin,
                                                double yMax) {
    std::vector<PlotNotice> notices;
    if (m_bPolar && (m_xAxis.m_bLog || m_yAxis.m_bLog || x.log || y.log)) {
        notices.push_back(PlotNotice::kLogOffForPolar);
        m_xAxis.m_bLog = m_yAxis.m_bLog = false;
        x.log = y.log = false;
        m_bResetScale = true;
    }
    if (m_bResetScale || m_bAutoscaleX) m_xAxis.m_bAutoscale = true;
    if (m_bResetScale || m_bAutoscaleY) m_yAxis.m_bAutoscale = true;
    m_bResetScale = m_bAutoscaleX = m_bAutoscaleY = false;

    m_xAxis.SetDataRange(xMin, xMax);
    m_yAxis.SetDataRange(yMin, yMax);
    ApplyXAxis();
    ApplyYAxis();
    return notices;
}

void PlotAxes::ResetZoom() {
    m_zoomList.RemoveAll();
    m_bResetScale = true;
}

bool PlotAxes::IsZoomableRange(double first, double last) {
    if (!std::isfinite(first) || !std::isfinite(last) || !std::isfinite(last - first)) return false;
    // Below this width the axis scale would jump out to a round range around zero.
    return last - first > 1e-5 * std::max(std::fabs(first), std::fabs(last));
}

bool PlotAxes::SetXRange(double first, double last) {
    if (!IsZoomableRange(first, last)) return false;
    x.first = first;
    x.last = last;
    return true;
}

ZoomOutcome PlotAxes::Zoom(bool zoomX, bool zoomY, double x0, double x1, double y0, double y1,
                           const XRangeSetter& setXRange, int maxLevels) {
    // Deeper levels are dropped by the push, so only the entries kept count.
    if (maxLevels < 0 || m_zoomList.EntriesAfterPush() > static_cast<std::size_t>(maxLevels))
        return ZoomOutcome::kFull;

    const CZoomData kept{x.first, x.last, m_xAxis, m_yAxis};

    if (zoomX) {
        double a = std::max(x0, x.first);
        double b = std::min(x1, x.last);
        if (x.log && m_bFullDecadeZoom && a > 0.0 && b > 0.0 && std::isfinite(a) &&
            std::isfinite(b))
            WidenToDecades(a, b);
        if (m_bPolar) {
            // The polar plot keeps equal scales, so x is set through its record.
            if (IsZoomableRange(a, b)) {
                m_xAxis.m_bAutoscale = true;
                m_xAxis.SetDataRange(a, b);
                m_xAxis.m_bAutoscale = false;
            }
        } else {
            const bool accepted = setXRange ? setXRange(a, b) : SetXRange(a, b);
            if (!accepted) return ZoomOutcome::kTooNarrow;
            m_bAutoscaleX = true;
            // The y axis then fits the data of the new x range.
            if (!zoomY) m_bAutoscaleY = true;
        }
    }

    m_zoomList.PushLevel(kept);

    if (zoomY && IsZoomableRange(y0, y1)) {
        m_yAxis.m_bAutoscale = true;
        m_yAxis.SetDataRange(y0, y1);
        m_yAxis.m_bAutoscale = false;
    }
    return ZoomOutcome::kZoomed;
}

bool PlotAxes::ZoomCommand(ZoomCommandKind command, const XRangeSetter& setXRange) {
    double first = x.first;
    double last = x.last;
    if (!m_zoomList.Navigate(command, first, last, m_xAxis, m_yAxis)) return false;
    if (!m_bPolar) {
        const bool accepted = setXRange ? setXRange(first, last) : SetXRange(first, last);
        if (!accepted) return false;
    }
    return true;
}

std::string PlotAxes::ZoomStatus() const {
    if (m_zoomList.IsEmpty()) return "Ready";
    const std::string count = std::to_string(m_zoomList.GetLevelCount());
    const int level = m_zoomList.GetCurrentLevel();
    if (level == 0) return "Top Zoom Level of " + count;
    return "Zoom Level " + std::to_string(level) + " of " + count;
}

std::string ZoomListFullText() {
    return "Cannot zoom: the zoom list is full (" + std::to_string(PlotAxes::kMaxZoomLevels) +
           " levels).";
}

} // namespace tarvo
