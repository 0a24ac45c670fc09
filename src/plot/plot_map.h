#pragma once
// The value <-> pixel transform of a plot area. Pixels grow to the right and
// downwards. Conversions to int never overflow: non-finite and far-off values
// are held within a guard band around the plot area.

#include <optional>

namespace tarvo {

struct PlotFrame {
    int left = 0;
    int bottom = 0; // y pixel of the bottom edge; the top is bottom - height
    int width = 0;
    int height = 0;

    friend bool operator==(const PlotFrame&, const PlotFrame&) = default;
};

class PlotMap {
public:
    PlotMap() = default;
    // The transform for these drawing ranges; a log axis whose first is 0 starts
    // at last * 0.01.
    PlotMap(const PlotFrame& frame, double xFirst, double xLast, bool xLog, double yFirst,
            double yLast, bool yLog);

    const PlotFrame& Frame() const { return frame_; }
    bool XLog() const { return xLog_; }
    bool YLog() const { return yLog_; }

    // trunc((v - origin) * scale * width + 0.001) + left, v = log10 x on a log
    // axis, where x <= 0 maps to the left edge. NaN maps to the left edge too;
    // the result lies within the guard band.
    int XToPixel(double x) const;
    // bottom - (v - origin) * scale * height, rounded half away from zero; y <= 0
    // on a log axis maps to the bottom edge.
    int YToPixel(double y) const;
    // The same in double for drawing: nothing for a value that cannot be drawn
    // (not finite, or <= 0 on a log axis); finite values far outside are held
    // within the guard band.
    std::optional<double> XToPixelF(double x) const;
    std::optional<double> YToPixelF(double y) const;

    double PixelToX(double px) const;
    double PixelToY(double py) const;

    // Width, height and both scales positive (and the scales finite).
    bool HasValidScale() const;

    // Pixels beyond the plot area a mapped value may lie, as a multiple of its size.
    static constexpr double kGuardFactor = 4.0;

private:
    PlotFrame frame_;
    double xOrigin_ = 0.0;
    double xScale_ = 0.0;
    double yOrigin_ = 0.0;
    double yScale_ = 0.0;
    bool xLog_ = false;
    bool yLog_ = false;
};

// Equal scales of a polar plot: narrows width or height so that one unit is as
// long on both axes (ax, ay: the device's pixel aspect values). Ranges dx, dy > 0.
void ApplyEqualScales(int& width, int& height, double dx, double dy, double ax = 1.0,
                      double ay = 1.0);

} // namespace tarvo
