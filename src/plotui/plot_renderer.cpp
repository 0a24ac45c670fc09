#include "plotui/plot_renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <vector>

namespace tarvo {
namespace {

enum class HAlign { kLeft, kCenter, kRight };
enum class VAlign { kBaseline, kBottom };

const QColor kGridColor(160, 160, 160);
const QColor kTextColor(Qt::black);

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Text anchored the way the plot's layout expects: centred or right-aligned,
// on its baseline or with its bottom (baseline + descent) at y.
void DrawAnchoredText(QPainter& p, double x, double y, const QString& text, HAlign h, VAlign v) {
    const QFontMetricsF fm = p.fontMetrics();
    const double w = fm.horizontalAdvance(text);
    double left = x;
    if (h == HAlign::kCenter) left = x - w / 2.0;
    if (h == HAlign::kRight) left = x - w;
    const double baseline = v == VAlign::kBottom ? y - fm.descent() : y;
    p.drawText(QPointF(left, baseline), text);
}

QFontMetricsF Metrics(const QFont& font, const QPaintDevice* device) {
    return device != nullptr ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

int TextWidth(const QFontMetricsF& fm, const std::string& text) {
    return static_cast<int>(std::ceil(fm.horizontalAdvance(ToQt(text))));
}

int TextHeight(const QFontMetricsF& fm) {
    return static_cast<int>(std::ceil(fm.height()));
}

QString TitleWithPower(const std::string& title, int power) {
    QString text = ToQt(title);
    if (power != 0) text += QStringLiteral(" * 10^%1").arg(power);
    return text;
}

std::size_t RowCount(const CDataColumn& a, const CDataColumn& b) {
    return std::min(a.GetSize(), b.GetSize());
}

// The legend's width and rows (the scene's curves with names).
void MeasureLegend(PlotLayout& layout, const PlotScene& scene, const QFontMetricsF& fm) {
    layout.legendWidth = 0;
    if (!scene.legend || scene.curves == nullptr || scene.curves->GetCount() == 0) return;
    int nameWidth = 0;
    for (std::size_t i = 0; i < scene.curves->GetCount(); ++i) {
        const std::string& name = scene.curves->GetAt(i).m_strName;
        if (!name.empty()) nameWidth = std::max(nameWidth, TextWidth(fm, name));
    }
    if (nameWidth == 0) return;
    const int s = TextWidth(fm, "****");
    const int width = s + 3 * (s / 2) + nameWidth;
    if (layout.draw.width() < 3 * width) return;
    layout.legendNameWidth = nameWidth;
    layout.legendMargin = s / 2;
    layout.legendSample = s;
    layout.legendWidth = width;
    layout.legendRowHeight = TextHeight(fm);
    layout.draw.setWidth(layout.draw.width() - width);
}

struct LabelExtent {
    int width = 0;
    int height = 0;
};

LabelExtent MeasureLabels(const LabelSet& set, const QFontMetricsF& fm) {
    LabelExtent e;
    for (const AxisLabel& label : set.labels) {
        e.width = std::max(e.width, TextWidth(fm, label.text));
        e.height = std::max(e.height, TextHeight(fm));
    }
    return e;
}

// Pixel distance between neighbouring x labels: the room each label has.
double LabelSpacingPixels(const PlotLayout& layout) {
    const std::vector<AxisLabel>& labels = layout.xLabels.labels;
    if (labels.size() < 2) return layout.map.Frame().width;
    const std::optional<double> a = layout.map.XToPixelF(labels[0].position);
    const std::optional<double> b = layout.map.XToPixelF(labels[1].position);
    if (!a || !b) return layout.map.Frame().width;
    return std::abs(*b - *a);
}

QPen CosmeticPen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine, int width = 1) {
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

QColor ToQColor(PlotColor c) {
    return {PlotColorRed(c), PlotColorGreen(c), PlotColorBlue(c)};
}

void DrawGrid(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    const PlotMap& map = layout.map;
    const PlotFrame& f = map.Frame();
    p.setPen(CosmeticPen(kGridColor, Qt::DotLine));
    const GridLines xGrid =
        GridSpacing(scene.x.log, scene.x.labelStep, scene.x.ticStep, scene.x.grid);
    if (xGrid.draw) {
        const int top = map.YToPixel(scene.y.last);
        for (double h : TicPositions(scene.x.log, scene.x.first, scene.x.last, xGrid.spacing)) {
            const int px = map.XToPixel(h);
            p.drawLine(px, f.bottom - 1, px, top);
        }
    }
    const GridLines yGrid =
        GridSpacing(scene.y.log, scene.y.labelStep, scene.y.ticStep, scene.y.grid);
    if (yGrid.draw) {
        const int right = map.XToPixel(scene.x.last);
        for (double h : TicPositions(scene.y.log, scene.y.first, scene.y.last, yGrid.spacing)) {
            const int py = map.YToPixel(h);
            p.drawLine(f.left + 1, py, right, py);
        }
    }
}

void DrawAxes(QPainter& p, const PlotLayout& layout, const PlotScene& scene, int textHeight) {
    const PlotMap& map = layout.map;
    const PlotFrame& f = map.Frame();
    const QPen axisPen = CosmeticPen(kTextColor);
    const int tic = layout.ticLength;

    // X axis, the zero line across it, tics and labels.
    p.setPen(axisPen);
    p.drawLine(f.left, f.bottom, f.left + f.width, f.bottom);
    if (!scene.y.log && scene.y.first <= 0.0 && scene.y.last >= 0.0) {
        const int py = map.YToPixel(0.0);
        p.drawLine(map.XToPixel(scene.x.first), py, map.XToPixel(scene.x.last), py);
    }
    if (scene.x.ticStep > 0.0) {
        for (double h : TicPositions(scene.x.log, scene.x.first, scene.x.last, scene.x.ticStep)) {
            const int px = map.XToPixel(h);
            p.drawLine(px, f.bottom - tic, px, f.bottom + tic);
        }
    }
    for (const AxisLabel& label : layout.xLabels.labels) {
        DrawAnchoredText(p, map.XToPixel(label.position), f.bottom + textHeight, ToQt(label.text),
                         HAlign::kCenter, VAlign::kBaseline);
    }

    // Y axis likewise.
    p.drawLine(f.left, f.bottom, f.left, f.bottom - f.height);
    if (!scene.x.log && scene.x.first <= 0.0 && scene.x.last >= 0.0) {
        const int px = map.XToPixel(0.0);
        p.drawLine(px, map.YToPixel(scene.y.first), px, map.YToPixel(scene.y.last));
    }
    if (scene.y.ticStep > 0.0) {
        for (double h : TicPositions(scene.y.log, scene.y.first, scene.y.last, scene.y.ticStep)) {
            const int py = map.YToPixel(h);
            p.drawLine(f.left - tic, py, f.left + tic, py);
        }
    }
    for (const AxisLabel& label : layout.yLabels.labels) {
        const int bottom = map.YToPixel(label.position) + textHeight / 2;
        DrawAnchoredText(p, f.left - textHeight, bottom, ToQt(label.text), HAlign::kRight,
                         VAlign::kBottom);
    }
}

struct CurvePen {
    Qt::PenStyle style = Qt::SolidLine;
    QColor colour;
    QColor fill;
};

CurvePen PenOf(const CDataColumn& column) {
    CurvePen pen;
    pen.colour = ToQColor(column.m_crColor);
    pen.fill = pen.colour;
    if (column.m_bDotted) {
        pen.style = Qt::DotLine;
        pen.fill = Qt::white;
    }
    return pen;
}

void DrawLegend(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    if (layout.legendWidth == 0 || scene.curves == nullptr) return;
    const PlotFrame& f = layout.map.Frame();
    const int count = static_cast<int>(scene.curves->GetCount());
    const int x0 = f.left + f.width;
    const int middle = f.bottom - f.height / 2;
    int y = static_cast<int>(std::floor(middle - layout.legendRowHeight * count / 2.0 + 0.5));
    const bool line = scene.style != kStyleDot;
    const bool dot = scene.style == kStyleDot || scene.style == kStyleLineAndDot;
    for (std::size_t i = 0; i < scene.curves->GetCount(); ++i) {
        const CDataColumn& column = scene.curves->GetAt(i);
        if (column.m_strName.empty()) continue;
        const CurvePen pen = PenOf(column);
        p.setPen(QPen(pen.colour, 3, pen.style));
        p.setBrush(pen.fill);
        const int start = x0 + layout.legendMargin;
        if (line) p.drawLine(start, y, start + layout.legendSample, y);
        if (dot) {
            const double r = layout.dotRadius + 0.5;
            p.drawEllipse(QPointF(start + layout.legendSample / 2.0, y), r, r);
        }
        p.setPen(CosmeticPen(kTextColor));
        const int textBottom = y + layout.legendRowHeight / 2;
        DrawAnchoredText(
            p, start + layout.legendSample + layout.legendNameWidth / 2.0 + layout.legendMargin,
            textBottom, ToQt(column.m_strName), HAlign::kCenter, VAlign::kBottom);
        y += layout.legendRowHeight;
    }
    p.setBrush(Qt::NoBrush);
}

// A line through the finite points; a point that cannot be drawn breaks it.
// With many points per pixel column the column's extent is drawn instead of
// every segment, which looks the same and costs one line per column.
void DrawPolyline(QPainter& p, const PlotMap& map, const CDataColumn& xs, const CDataColumn& ys,
                  std::size_t n) {
    std::vector<QLineF> segments;
    const bool decimate = n > 2 * static_cast<std::size_t>(std::max(map.Frame().width, 1));
    segments.reserve(decimate ? 2 * static_cast<std::size_t>(map.Frame().width) + 2 : n);
    std::optional<QPointF> previous;
    // Decimation state: the column being gathered and its first, last, low and high y.
    bool open = false;
    double column = 0.0;
    double firstY = 0.0;
    double lastY = 0.0;
    double lowY = 0.0;
    double highY = 0.0;
    const auto flush = [&] {
        if (!open) return;
        const double x = column + 0.5;
        if (previous) segments.emplace_back(*previous, QPointF(x, firstY));
        if (highY > lowY) segments.emplace_back(QPointF(x, lowY), QPointF(x, highY));
        previous = QPointF(x, lastY);
        open = false;
    };
    for (std::size_t j = 0; j < n; ++j) {
        const std::optional<double> px = map.XToPixelF(xs[j]);
        const std::optional<double> py = map.YToPixelF(ys[j]);
        if (!px || !py) {
            flush();
            previous.reset();
            continue;
        }
        const double y = *py + 0.5;
        if (!decimate) {
            const QPointF point(*px + 0.5, y);
            if (previous) segments.emplace_back(*previous, point);
            previous = point;
            continue;
        }
        const double col = std::floor(*px);
        if (open && col == column) {
            lastY = y;
            lowY = std::min(lowY, y);
            highY = std::max(highY, y);
            continue;
        }
        flush();
        open = true;
        column = col;
        firstY = lastY = lowY = highY = y;
    }
    flush();
    if (p.pen().style() != Qt::SolidLine) {
        // A dash pattern restarts with every line drawn: connected runs keep it going.
        std::vector<QPointF> run;
        const auto drawRun = [&] {
            if (run.size() > 1) p.drawPolyline(run.data(), static_cast<int>(run.size()));
            run.clear();
        };
        for (const QLineF& segment : segments) {
            if (run.empty() || run.back() != segment.p1()) {
                drawRun();
                run.push_back(segment.p1());
            }
            run.push_back(segment.p2());
        }
        drawRun();
        return;
    }
    p.drawLines(segments.data(), static_cast<int>(segments.size()));
}

void DrawDots(QPainter& p, const PlotMap& map, const CDataColumn& xs, const CDataColumn& ys,
              std::size_t n, int radius) {
    const double r = radius + 0.5;
    for (std::size_t j = 0; j < n; ++j) {
        const std::optional<double> px = map.XToPixelF(xs[j]);
        const std::optional<double> py = map.YToPixelF(ys[j]);
        // Centred on the pixel the point falls in: whole-pixel bounds.
        if (px && py) p.drawEllipse(QPointF(std::floor(*px) + 0.5, std::floor(*py) + 0.5), r, r);
    }
}

// Bars, stems, vertical lines and stairs, on whole pixels.
void DrawPixelStyle(QPainter& p, const PlotLayout& layout, const PlotScene& scene,
                    const CDataColumn& xs, const CDataColumn& ys, std::size_t n,
                    const CurvePen& pen) {
    const PlotMap& map = layout.map;
    const QPen curvePen = CosmeticPen(pen.colour, pen.style);
    const QPen outlinePen = CosmeticPen(kTextColor, pen.style);
    const int base = scene.originAtZero ? map.YToPixel(0.0) : map.Frame().bottom;
    const int r = layout.dotRadius;

    int barWidth = 1;
    if (scene.style == kStyleBar && n >= 2) barWidth = map.XToPixel(xs[1]) - map.XToPixel(xs[0]);
    const int half = static_cast<int>(std::floor(barWidth / 2.0));
    int g = n > 0 ? std::max(map.XToPixel(xs[0]) - half, map.XToPixel(scene.x.first)) : 0;
    bool hasPrevious = false; // a stair's tread to rise from
    int previousY = 0;

    p.setPen(curvePen);
    for (std::size_t j = 0; j < n; ++j) {
        if (!map.XToPixelF(xs[j]) || !map.YToPixelF(ys[j])) {
            hasPrevious = false;
            continue;
        }
        const int x = map.XToPixel(xs[j]);
        const int y = map.YToPixel(ys[j]);
        switch (scene.style) {
        case kStyleBar: {
            const int b = y > base ? base + 1 : (y < base ? base - 1 : base);
            if (barWidth >= 3) {
                const int e = x + half;
                if (e - g - 1 > 0) {
                    p.fillRect(QRect(QPoint(g + 1, std::min(b, y)), QPoint(e - 1, std::max(b, y))),
                               pen.colour);
                }
                p.setPen(outlinePen);
                p.drawLine(g, b, g, y);
                p.drawLine(g, y, e, y);
                p.drawLine(e, y, e, b);
                p.setPen(curvePen);
                g = e;
            } else {
                p.drawLine(x, b, x, y);
            }
            break;
        }
        case kStyleStem:
            p.drawEllipse(QPointF(x + 0.5, y + 0.5), r + 0.5, r + 0.5);
            p.drawLine(x, base, x, y);
            break;
        case kStyleVerticalLine:
            p.drawLine(x, base, x, y);
            break;
        case kStyleStair: {
            // The riser of this step, from the tread of the one before.
            if (hasPrevious) p.drawLine(x, previousY, x, y);
            hasPrevious = true;
            previousY = y;
            if (j + 1 < n && map.XToPixelF(xs[j + 1]) && map.YToPixelF(ys[j + 1])) {
                p.drawLine(x, y, map.XToPixel(xs[j + 1]), y);
            }
            break;
        }
        default:
            break;
        }
    }
}

void DrawCurve(QPainter& p, const PlotLayout& layout, const PlotScene& scene, const CDataColumn& xs,
               const CDataColumn& ys, const CurvePen& pen) {
    const std::size_t n = RowCount(xs, ys);
    if (n == 0) return;
    p.setBrush(pen.fill);
    switch (scene.style) {
    case kStyleDot:
    case kStyleLineAndDot:
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(CosmeticPen(pen.colour, pen.style));
        if (scene.style == kStyleLineAndDot) DrawPolyline(p, layout.map, xs, ys, n);
        // Dots on whole-pixel bounds without antialiasing take the raster
        // engine's midpoint-circle path, several times cheaper than filling a
        // path per dot; a drag redraws hundreds of them per move.
        p.setRenderHint(QPainter::Antialiasing, false);
        DrawDots(p, layout.map, xs, ys, n, layout.dotRadius);
        break;
    case kStyleBar:
    case kStyleStem:
    case kStyleVerticalLine:
    case kStyleStair:
        DrawPixelStyle(p, layout, scene, xs, ys, n, pen);
        break;
    default:
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(CosmeticPen(pen.colour, pen.style));
        DrawPolyline(p, layout.map, xs, ys, n);
        p.setRenderHint(QPainter::Antialiasing, false);
        break;
    }
    p.setBrush(Qt::NoBrush);
}

void DrawCurves(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    if (!layout.map.HasValidScale()) return;
    if (scene.customCurves) {
        scene.customCurves(p, layout);
        return;
    }
    if (scene.curves == nullptr) return;
    const CDataSet& curves = *scene.curves;
    if (scene.polar) {
        if (curves.GetCount() >= 2) {
            DrawCurve(p, layout, scene, curves.GetAt(0), curves.GetAt(1), PenOf(curves.GetAt(1)));
        }
        return;
    }
    if (scene.xData == nullptr) return;
    for (std::size_t i = 0; i < curves.GetCount(); ++i) {
        DrawCurve(p, layout, scene, *scene.xData, curves.GetAt(i), PenOf(curves.GetAt(i)));
    }
}

} // namespace

int FontHeightForPercent(double percent, const QRect& draw) {
    return static_cast<int>(percent * std::min(draw.right() + 1, draw.bottom() + 1) / 100.0);
}

QFont PlotFont(const PlotScene& scene, int size) {
    QFont font = scene.font;
    const double scaled = std::floor(size * scene.fontScale + 0.5);
    font.setPixelSize(static_cast<int>(std::clamp(scaled, 1.0, 4096.0)));
    return font;
}

PlotLayout LayoutPlot(const QPaintDevice* device, const QRect& area, const PlotScene& scene,
                      RenderKind kind) {
    PlotLayout layout;
    layout.kind = kind;
    layout.draw = area;
    layout.mainFontSize = FontHeightForPercent(kind == RenderKind::kPrint ? 3 : 4, area);
    const QFontMetricsF fm = Metrics(PlotFont(scene, layout.mainFontSize), device);
    MeasureLegend(layout, scene, fm);
    if (kind == RenderKind::kPrint && scene.polar) {
        const int side = std::min(layout.draw.width(), layout.draw.height());
        layout.draw.setSize(QSize(side, side));
    }
    if (layout.draw.width() < 50 || layout.draw.height() < 40 || layout.mainFontSize < 1) {
        return layout;
    }
    const int t = TextHeight(fm);
    layout.textHeight = t;

    layout.xLabels =
        MakeLabels(scene.x.digits, scene.x.labelStep, scene.xPower, scene.x.log, scene.x.first,
                   scene.x.last, std::pow(10.0, scene.xPower - scene.x.power));
    layout.yLabels = MakeLabels(scene.y.digits, scene.y.labelStep, scene.y.power, scene.y.log,
                                scene.y.first, scene.y.last, 1.0);
    if (layout.xLabels.tooManyLabels || layout.yLabels.tooManyLabels) {
        layout.notices.push_back(PlotNotice::kTooManyLabels);
    }
    const LabelExtent xe = MeasureLabels(layout.xLabels, fm);
    const LabelExtent ye = MeasureLabels(layout.yLabels, fm);
    layout.xLabelWidth = xe.width;
    layout.xLabelHeight = xe.height;
    layout.yLabelWidth = ye.width;

    const int top = (scene.mainTitle.empty() ? 0 : t) + t;
    const int xTitleHeight = !scene.xTitle.empty() || layout.xLabels.power != 0 ? t : 0;
    const int bottomMargin = xTitleHeight + t / 2 + xe.height;
    PlotFrame frame;
    frame.left = layout.draw.left() + ye.width + 3 * t;
    frame.width = layout.draw.left() + layout.draw.width() - frame.left - xe.width;
    frame.height = layout.draw.height() - bottomMargin - top;
    if (frame.width <= 0 || frame.height <= 0) return layout;
    layout.dotRadius = std::max(2, std::min(frame.width, frame.height) / 500);
    if (scene.polar) {
        ApplyEqualScales(frame.width, frame.height, scene.x.last - scene.x.first,
                         scene.y.last - scene.y.first);
    }
    frame.bottom = layout.draw.top() + top + frame.height;
    layout.ticLength = t / 4;
    layout.map = PlotMap(frame, scene.x.first, scene.x.last, scene.x.log, scene.y.first,
                         scene.y.last, scene.y.log);

    const double d = LabelSpacingPixels(layout);
    layout.labelFontSize = layout.mainFontSize;
    if (xe.width > 0 && d <= 1.2 * xe.width) {
        layout.labelFontSize =
            static_cast<int>(std::floor(d * layout.mainFontSize / 1.2 / xe.width + 0.5));
    }
    const bool tooManyTics =
        GridSpacing(scene.x.log, scene.x.labelStep, scene.x.ticStep, scene.x.grid).tooManyTics ||
        GridSpacing(scene.y.log, scene.y.labelStep, scene.y.ticStep, scene.y.grid).tooManyTics;
    if (tooManyTics) layout.notices.push_back(PlotNotice::kTooManyTics);
    layout.ok = true;
    return layout;
}

void DrawPlot(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    DrawPlotBackground(p, layout, scene);
    DrawPlotCurves(p, layout, scene);
}

void DrawPlotBackground(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    if (!layout.ok) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(PlotFont(scene, layout.mainFontSize));
    p.setPen(CosmeticPen(kTextColor));
    p.setBrush(Qt::NoBrush);
    const PlotFrame& f = layout.map.Frame();
    const int t = layout.textHeight;
    const double centreX = f.left + f.width / 2.0;

    if (!scene.mainTitle.empty()) {
        DrawAnchoredText(p, centreX, f.bottom - f.height - t, ToQt(scene.mainTitle),
                         HAlign::kCenter, VAlign::kBaseline);
    }
    DrawAnchoredText(p, centreX, f.bottom + 2 * t,
                     TitleWithPower(scene.xTitle, layout.xLabels.power), HAlign::kCenter,
                     VAlign::kBaseline);
    p.save();
    const int titleCentre = f.bottom - f.height / 2 - t / 2;
    p.translate(layout.draw.left() + static_cast<int>(1.25 * t), titleCentre);
    p.rotate(-90.0);
    DrawAnchoredText(p, 0, 0, TitleWithPower(scene.yTitle, layout.yLabels.power), HAlign::kCenter,
                     VAlign::kBaseline);
    p.restore();

    DrawGrid(p, layout, scene);
    if (layout.labelFontSize > 0) {
        p.setFont(PlotFont(scene, layout.labelFontSize));
        const int labelHeight =
            static_cast<int>(std::ceil(QFontMetricsF(p.fontMetrics()).height()));
        DrawAxes(p, layout, scene, labelHeight);
        DrawLegend(p, layout, scene);
    }
    p.restore();
}

void DrawPlotCurves(QPainter& p, const PlotLayout& layout, const PlotScene& scene) {
    if (!layout.ok) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const PlotFrame& f = layout.map.Frame();
    const int m = layout.dotRadius;
    p.setClipRect(
        QRect(f.left - m, f.bottom - f.height - m, f.width + 2 * m + 1, f.height + 2 * m + 1));
    DrawCurves(p, layout, scene);
    p.restore();
}

} // namespace tarvo
