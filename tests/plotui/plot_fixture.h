#pragma once
// A zoom plot holding test data: a sine and a decaying exponential over 0..10,
// one point per pixel of width (or a fixed count), with fixed ranges.

#include "fw/recording_ui.h"
#include "plotui/plot_renderer.h"
#include "plotui/zoom_plot.h"

#include <cmath>
#include <gtest/gtest.h>
#include <QImage>
#include <string>
#include <vector>

namespace tarvo::test {

class TestPlot : public CZoomPlot {
public:
    TestPlot() {
        m_bHasTitles = true;
        m_logFont.setFamily("DejaVu Sans");
    }

    bool IsPlotReady() const override { return ready; }
    int GetCurveCount() const override { return curveCount; }
    void PrepareCurveColors() override {
        for (std::size_t i = 0; i < m_curves.GetCount(); ++i) {
            m_curves.GetAt(i).m_strName = i == 0 ? "Sine" : "Decay";
            m_curves.GetAt(i).m_crColor =
                i == 0 ? MakePlotColor(0, 0, 255) : MakePlotColor(255, 0, 0);
        }
    }
    // The full range first, then the range the zoom set.
    void ComputeRanges() override {
        const bool first = !ranged_;
        ranged_ = true;
        SetAxisRanges(first ? xFrom : m_axes.x.first, first ? xTo : m_axes.x.last, -1.0, 1.0);
    }
    void ComputeCurves(int width, int /*height*/) override {
        const int n = points > 0 ? points : width;
        m_xData.Reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const double x =
                m_axes.x.first + (m_axes.x.last - m_axes.x.first) * i / std::max(n - 1, 1);
            m_xData.Add(x);
            if (m_curves.GetCount() > 0) m_curves.GetAt(0).Add(std::sin(x));
            if (m_curves.GetCount() > 1) m_curves.GetAt(1).Add(std::exp(-x / 3.0));
        }
    }
    int UpdateTitles(int power) override {
        if (m_bAutoTitles) {
            m_strMainTitle = "Test Signals";
            m_strXTitle = "Time";
            m_strYTitle = "Value";
        }
        return power;
    }
    std::ptrdiff_t HitTest(int x, int /*y*/, int& curve) override {
        curve = 0;
        return m_xData.FindNearest(PixelToX(x));
    }
    void OnPointPicked(std::ptrdiff_t index) override { picked.push_back(index); }
    void SetStatusText(const std::string& text) override { statuses.push_back(text); }

    bool ready = true;
    int curveCount = 2;
    int points = 0;
    double xFrom = 0.0;
    double xTo = 10.0;
    std::vector<std::ptrdiff_t> picked;
    std::vector<std::string> statuses;

private:
    bool ranged_ = false;
};

// Plots report to a recording Ui for the test's lifetime.
class PlotUiTest : public ::testing::Test {
protected:
    void SetUp() override { CPlot::SetUi(&ui); }
    void TearDown() override { CPlot::SetUi(nullptr); }
    fw::RecordingUi ui;
};

// A plot widget shown offscreen at a given size, its picture rendered.
void ShowPlot(CPlot& plot, int width = 800, int height = 500);

// A white image of the given size.
QImage WhiteImage(int width, int height);

} // namespace tarvo::test
