#pragma once
// Draws a plot (titles, grid, axes, labels, legend and curves) on any
// QPainter: a widget's cached picture, an image, a printer page or an SVG
// file. Laying out and drawing are separate steps because the plot computes
// its points only once it knows how many pixels wide its area is. Neither step
// changes the plot: the layout is returned as a value, and the caller decides
// whether it becomes the widget's map for mouse handling.

#include "plot/axis_scale.h"
#include "plot/plot_data.h"
#include "plot/plot_map.h"

#include <functional>
#include <QFont>
#include <QRect>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace tarvo {

// Curve styles, numbered as the Style menu's items.
enum PlotStyle : int {
    kStyleAuto = 0,
    kStyleLine = 1,
    kStyleDot = 2,
    kStyleLineAndDot = 3,
    kStyleBar = 4,
    kStyleStem = 5,
    kStyleVerticalLine = 6,
    kStyleStair = 7,
};

// Line And Dot for up to this many points in Auto style, Line above.
inline constexpr std::size_t kAutoStyleDotLimit = 256;

enum class RenderKind {
    kScreen,  // the widget: 4 % fonts
    kPicture, // clipboard or image file: laid out as the widget, 4 % fonts
    kPrint,   // a printed page: 3 % fonts, square when polar
};

struct PlotLayout;

// Everything a render reads; the pointers stay owned by the plot.
struct PlotScene {
    const CDataColumn* xData = nullptr;
    const CDataSet* curves = nullptr;
    AxisView x;            // drawing state of the x axis (power = the axis power)
    AxisView y;            // drawing state of the y axis
    int xPower = 0;        // the x power left after the titles took a unit
    std::string mainTitle; // empty: no main title
    std::string xTitle;
    std::string yTitle;
    int style = kStyleLine; // resolved: never Auto
    bool originAtZero = true;
    bool legend = true;
    bool polar = false;
    QFont font; // family, weight and style; sizes are set per render
    double fontScale = 1.0;
    // Draws the curves instead of the standard styles (clipped to the plot area
    // grown by the marker radius), for plots whose points are not curves over x.
    std::function<void(QPainter&, const PlotLayout&)> customCurves;
};

// The result of laying a plot out in an area.
struct PlotLayout {
    bool ok = false; // false: the area is too small, nothing more is drawn
    RenderKind kind = RenderKind::kScreen;
    QRect draw; // the area less the legend
    int mainFontSize = 0;
    int textHeight = 0;
    int legendWidth = 0; // 0: no legend
    int legendNameWidth = 0;
    int legendRowHeight = 0;
    int legendSample = 0;
    int legendMargin = 0;
    int dotRadius = 2;
    int ticLength = 0;
    int labelFontSize = 0; // 0: axes, labels and legend are not drawn
    LabelSet xLabels;
    LabelSet yLabels;
    int xLabelWidth = 0;
    int yLabelWidth = 0;
    int xLabelHeight = 0;
    PlotMap map;
    std::vector<PlotNotice> notices;
};

// trunc(percent * min(width, height) / 100): the text size for a drawing area.
int FontHeightForPercent(double percent, const QRect& draw);

// Lays the scene out in area (in the painter's logical pixels).
PlotLayout LayoutPlot(const QPaintDevice* device, const QRect& area, const PlotScene& scene,
                      RenderKind kind);
// Draws a laid-out scene; the data must be complete by now.
void DrawPlot(QPainter& painter, const PlotLayout& layout, const PlotScene& scene);
// The two halves of DrawPlot: titles, grid, axes, labels and legend, which
// depend only on the layout; then the curves, clipped near the plot area.
void DrawPlotBackground(QPainter& painter, const PlotLayout& layout, const PlotScene& scene);
void DrawPlotCurves(QPainter& painter, const PlotLayout& layout, const PlotScene& scene);

// The font of a given pixel size: the scene's font, scaled.
QFont PlotFont(const PlotScene& scene, int size);

} // namespace tarvo
