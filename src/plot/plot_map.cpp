#include "plot/plot_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

struct AxisTransform {
    double origin;
    double scale;
};

// Origin and scale of one axis; on a log axis both are in decades.
AxisTransform MakeTransform(double first, double last, bool log) {
    if (!log) return {first, 1.0 / (last - first)};
    if (first == 0.0) first = last * 0.01;
    const double origin = std::log10(first);
    return {origin, 1.0 / (std::log10(last) - origin)};
}

// Holds a pixel offset from the plot's origin edge within the guard band, so that
// drawing code never sees coordinates beyond what the paint engine handles.
double Guarded(double offset, int size) {
    const double extent = std::max(size, 0);
    const double band = PlotMap::kGuardFactor * extent;
    return std::clamp(offset, -band, extent + band);
}

int ToInt(double v) {
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

// The axis value in transform units, or nothing where the axis cannot show it.
std::optional<double> AxisValue(double value, bool log) {
    if (!std::isfinite(value)) return std::nullopt;
    if (!log) return value;
    if (value <= 0.0) return std::nullopt;
    return std::log10(value);
}

} // namespace

PlotMap::PlotMap(const PlotFrame& frame, double xFirst, double xLast, bool xLog, double yFirst,
                 double yLast, bool yLog)
    : frame_(frame), xLog_(xLog), yLog_(yLog) {
    const AxisTransform x = MakeTransform(xFirst, xLast, xLog);
    const AxisTransform y = MakeTransform(yFirst, yLast, yLog);
    xOrigin_ = x.origin;
    xScale_ = x.scale;
    yOrigin_ = y.origin;
    yScale_ = y.scale;
}

int PlotMap::XToPixel(double x) const {
    // The 0.001 lets a value computed back from a pixel land on that pixel again.
    double offset = 0.0; // x <= 0 on a log axis sits on the left edge
    if (!xLog_) {
        offset = (x - xOrigin_) * xScale_ * frame_.width + 0.001;
    } else if (x > 0.0) {
        offset = (std::log10(x) - xOrigin_) * xScale_ * frame_.width + 0.001;
    }
    // So does NaN: a NaN x, inf times a zero scale, a broken scale.
    if (std::isnan(offset)) offset = 0.0;
    return ToInt(std::trunc(Guarded(offset, frame_.width)) + frame_.left);
}

int PlotMap::YToPixel(double y) const {
    double offset = 0.0; // y <= 0 on a log axis and NaN sit on the bottom edge
    if (!yLog_) {
        offset = (y - yOrigin_) * yScale_ * frame_.height;
    } else if (y > 0.0) {
        offset = (std::log10(y) - yOrigin_) * yScale_ * frame_.height;
    }
    if (std::isnan(offset)) offset = 0.0;
    // std::round takes halves away from zero.
    return ToInt(std::round(frame_.bottom - Guarded(offset, frame_.height)));
}

std::optional<double> PlotMap::XToPixelF(double x) const {
    const std::optional<double> v = AxisValue(x, xLog_);
    if (!v) return std::nullopt;
    const double offset = (*v - xOrigin_) * xScale_ * frame_.width;
    if (std::isnan(offset)) return std::nullopt;
    return frame_.left + Guarded(offset, frame_.width);
}

std::optional<double> PlotMap::YToPixelF(double y) const {
    const std::optional<double> v = AxisValue(y, yLog_);
    if (!v) return std::nullopt;
    const double offset = (*v - yOrigin_) * yScale_ * frame_.height;
    if (std::isnan(offset)) return std::nullopt;
    return frame_.bottom - Guarded(offset, frame_.height);
}

double PlotMap::PixelToX(double px) const {
    const double v = (px - frame_.left) / xScale_ / frame_.width + xOrigin_;
    return xLog_ ? std::pow(10.0, v) : v;
}

double PlotMap::PixelToY(double py) const {
    const double v = (frame_.bottom - py) / yScale_ / frame_.height + yOrigin_;
    return yLog_ ? std::pow(10.0, v) : v;
}

bool PlotMap::HasValidScale() const {
    return frame_.width > 0 && frame_.height > 0 && std::isfinite(xScale_) && xScale_ > 0.0 &&
           std::isfinite(yScale_) && yScale_ > 0.0;
}

void ApplyEqualScales(int& width, int& height, double dx, double dy, double ax, double ay) {
    if (width <= 0 || height <= 0) return;
    if (!(std::isfinite(dx) && dx > 0.0 && std::isfinite(dy) && dy > 0.0)) return;
    const double w = width;
    const double h = height;
    // Only ever narrows, so the new size fits in an int.
    if (w / dx * ax > h / dy * ay) {
        const double narrowed = std::trunc(dx * h / dy + 0.5);
        if (narrowed < w) width = static_cast<int>(narrowed);
    } else {
        const double narrowed = std::trunc(dy * w / dx + 0.5);
        if (narrowed < h) height = static_cast<int>(narrowed);
    }
}

} // namespace tarvo
