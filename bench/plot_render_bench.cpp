// Drawing a plot: a full render of one and two 1600-point curves against a
// bare drawLines of the same points, the repaint of the cached picture with the
// zoom cursor over it, the scale and labels of both axes, and a million-sample
// time curve. Offscreen, into images, so the numbers are the renderer's alone.

#include "plot/axis_scale.h"
#include "plotui/plot_renderer.h"
#include "plotui/zoom_plot.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <QApplication>
#include <QImage>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <vector>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

struct Curves {
    tarvo::CDataColumn x;
    tarvo::CDataSet curves;
};

// A sine and a decaying exponential of n points over 0..10.
void Fill(Curves& data, std::size_t n, int curveCount) {
    for (int c = 0; c < curveCount; ++c) {
        tarvo::CDataColumn& column = data.curves.AddColumn();
        column.m_strName = c == 0 ? "Sine" : "Decay";
        column.m_crColor =
            c == 0 ? tarvo::MakePlotColor(0, 0, 255) : tarvo::MakePlotColor(255, 0, 0);
    }
    data.x.Reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 10.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        data.x.Add(t);
        data.curves.GetAt(0).Add(std::sin(t * 7.0));
        if (curveCount > 1) data.curves.GetAt(1).Add(std::exp(-t / 3.0));
    }
}

tarvo::PlotScene SceneOf(const Curves& data) {
    tarvo::PlotScene scene;
    scene.xData = &data.x;
    scene.curves = &data.curves;
    scene.x = {0.0, 10.0, 1.0, 0.5, 0, 3, 1, false};
    scene.y = {-1.0, 1.0, 0.2, 0.1, 0, 3, 1, false};
    scene.mainTitle = "Test Signals";
    scene.xTitle = "Time";
    scene.yTitle = "Value";
    scene.style = tarvo::kStyleLine;
    scene.font = QFont("DejaVu Sans");
    return scene;
}

// One screen render of the scene, as the widget makes its picture.
void RenderOnce(QImage& image, const tarvo::PlotScene& scene) {
    image.fill(Qt::white);
    QPainter painter(&image);
    const tarvo::PlotLayout layout =
        tarvo::LayoutPlot(&image, image.rect(), scene, tarvo::RenderKind::kScreen);
    tarvo::DrawPlot(painter, layout, scene);
}

QImage Canvas() {
    return {kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};
}

void BM_FullRender(benchmark::State& state) {
    Curves data;
    Fill(data, kWidth, static_cast<int>(state.range(0)));
    const tarvo::PlotScene scene = SceneOf(data);
    QImage image = Canvas();
    for (auto _ : state) {
        RenderOnce(image, scene);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullRender)->ArgName("curves")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same points as one drawLines call with the same pen: what a renderer
// cannot go below.
void BM_BareLines(benchmark::State& state) {
    Curves data;
    Fill(data, kWidth, static_cast<int>(state.range(0)));
    const tarvo::PlotScene scene = SceneOf(data);
    QImage image = Canvas();
    image.fill(Qt::white);
    const tarvo::PlotLayout layout =
        tarvo::LayoutPlot(&image, image.rect(), scene, tarvo::RenderKind::kScreen);
    std::vector<QLineF> lines;
    for (std::size_t c = 0; c < data.curves.GetCount(); ++c) {
        for (std::size_t i = 1; i < data.x.GetSize(); ++i) {
            lines.emplace_back(layout.map.XToPixel(data.x[i - 1]),
                               layout.map.YToPixel(data.curves.GetAt(c)[i - 1]),
                               layout.map.XToPixel(data.x[i]),
                               layout.map.YToPixel(data.curves.GetAt(c)[i]));
        }
    }
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(Qt::blue, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_BareLines)->ArgName("curves")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

class BenchPlot : public tarvo::CZoomPlot {
public:
    bool IsPlotReady() const override { return true; }
    void ComputeRanges() override { SetAxisRanges(0.0, 10.0, -1.0, 1.0); }
    void ComputeCurves(int width, int /*height*/) override {
        for (int i = 0; i < width; ++i) {
            const double t = 10.0 * i / (width - 1);
            m_xData.Add(t);
            m_curves.GetAt(0).Add(std::sin(t * 7.0));
            m_curves.GetAt(1).Add(std::exp(-t / 3.0));
        }
    }
};

// A repaint while the user drags a rubber band over the cached picture: what a
// move of the band exposes (its old and new outline), blitted and drawn over.
void BM_OverlayRepaint(benchmark::State& state) {
    BenchPlot plot;
    plot.resize(kWidth, kHeight);
    plot.show();
    // The opaque format of a window's backing store.
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    plot.render(&image);
    const tarvo::PlotFrame f = plot.Map().Frame();
    const QPointF from(f.left + 100, f.bottom - 100);
    const QPointF to(f.left + 600, f.bottom - 400);
    QMouseEvent press(QEvent::MouseButtonPress, from, plot.mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &press);
    QMouseEvent move(QEvent::MouseMove, to, plot.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
    // The outline of the band before and after a further move of 20 pixels.
    const QRect band = QRectF(from, to).normalized().toRect();
    QRegion exposed;
    for (const QRect& r : {band, band.adjusted(0, -20, 20, 0)}) {
        exposed += QRect(r.left(), r.top(), r.width() + 1, 1);
        exposed += QRect(r.left(), r.bottom(), r.width() + 1, 1);
        exposed += QRect(r.left(), r.top(), 1, r.height() + 1);
        exposed += QRect(r.right(), r.top(), 1, r.height() + 1);
    }
    const int before = plot.RenderCount();
    for (auto _ : state) {
        // The widget paints over its whole area: nothing to clear first.
        plot.render(&image, QPoint(), exposed, QWidget::RenderFlags());
        benchmark::DoNotOptimize(image.constBits());
    }
    if (plot.RenderCount() != before) state.SkipWithError("the picture was rendered anew");
}
BENCHMARK(BM_OverlayRepaint)->Unit(benchmark::kMillisecond);

// The same with the whole window exposed (a full repaint with the overlay).
void BM_OverlayFullRepaint(benchmark::State& state) {
    BenchPlot plot;
    plot.resize(kWidth, kHeight);
    plot.show();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    plot.render(&image);
    for (auto _ : state) {
        plot.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OverlayFullRepaint)->Unit(benchmark::kMillisecond);

// What a recompute of the axes costs: the nice scales and the label texts.
void BM_ScaleAndLabels(benchmark::State& state) {
    double shift = 0.0;
    for (auto _ : state) {
        const tarvo::NiceScale x = tarvo::ComputeNiceScale(0.0, 24000.0 + shift, false);
        const tarvo::NiceScale y = tarvo::ComputeNiceScale(-131.7, 4.2 + shift, false);
        const int xPower = tarvo::EngineeringExponent(x.labelStep);
        const int yPower = tarvo::EngineeringExponent(y.labelStep);
        benchmark::DoNotOptimize(
            tarvo::MakeLabels(3, x.labelStep, xPower, false, x.first, x.last, 1.0));
        benchmark::DoNotOptimize(
            tarvo::MakeLabels(3, y.labelStep, yPower, false, y.first, y.last, 1.0));
        shift += 1e-3;
    }
}
BENCHMARK(BM_ScaleAndLabels)->Unit(benchmark::kMicrosecond);

// A million-sample response drawn as a line: one envelope per pixel column.
void BM_TimePlot1e6(benchmark::State& state) {
    Curves data;
    Fill(data, 1000000, 1);
    tarvo::PlotScene scene = SceneOf(data);
    QImage image = Canvas();
    for (auto _ : state) {
        RenderOnce(image, scene);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TimePlot1e6)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
