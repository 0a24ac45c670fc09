// The filter plots on a real project, offscreen: curves and titles follow the
// design, the Type commands act in place, the time plot takes the project's
// length, and the pole-zero plot edits the design by drag and keys with one
// undo step per edit, the other plots following live.

#include "design/design_action.h"
#include "design/iir_filter.h"
#include "design/plot_texts.h"
#include "design/pole_zero_edit.h"
#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "fw/frame.h"
#include "fw/recording_ui.h"
#include "plot/plot_command_ids.h"
#include "views/pane_views.h"

#include <cmath>
#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tarvo {
namespace {

class PlainFrame : public fw::Frame {};

class FilterPlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        freq = Add<CIirFreqPlot>(kPlotMagnitude);
        time = Add<CIirTimePlot>(kPlotImpulseAndStep);
        poleZero = Add<CPoleZeroPlot>();
        ASSERT_TRUE(doc.OnNewDocument());
        for (CIirPlot* plot : {static_cast<CIirPlot*>(freq), static_cast<CIirPlot*>(time),
                               static_cast<CIirPlot*>(poleZero)}) {
            plot->Plot()->resize(640, 420);
            plot->Plot()->show();
        }
    }
    void TearDown() override { CIirPlot::SetPropertiesDialog({}); }

    template <class View, class... Args> View* Add(Args... args) {
        auto made = std::make_unique<View>(args...);
        View* view = made.get();
        frame.AddView(std::move(made), &doc);
        return view;
    }

    // Designs at Fs = 8 kHz and paints every plot.
    void Design(IirDesignSpec form = {.order = 4, .edge1 = 1.25}) {
        CIirFilter& filter = doc.GetFilter();
        filter.fs.SetUnit(1);
        filter.fs.SetValue(8.0);
        ASSERT_TRUE(RunDesign(filter, form, doc.GetMinDb()).Designed());
        doc.OnFilterChanged(true, 0);
        Paint();
    }
    void Paint() {
        QCoreApplication::processEvents();
        for (CIirPlot* plot : {static_cast<CIirPlot*>(freq), static_cast<CIirPlot*>(time),
                               static_cast<CIirPlot*>(poleZero)}) {
            plot->Plot()->grab();
        }
    }
    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, poleZero->Plot()->mapToGlobal(at), button, buttons, mods);
        QApplication::sendEvent(poleZero->Plot(), &event);
    }
    void Key(int key, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(poleZero->Plot(), &event);
    }
    QPointF PixelOf(const korin::mcplx& root) const {
        const IirPlotWidget& plot = *poleZero->Plot();
        return {static_cast<double>(plot.XToPixel(root.real())),
                static_cast<double>(plot.YToPixel(root.imag()))};
    }
    // The pole with the largest imaginary part.
    std::size_t UpperPole() const {
        const korin::mvect& p = doc.GetFilter().p;
        std::size_t best = 0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            if (p[i].imag() > p[best].imag()) best = i;
        }
        return best;
    }
    // |H| at the reference frequency equals the reference magnitude, and every
    // coefficient is finite.
    void ExpectSoundFilter() const {
        const CIirFilter& f = doc.GetFilter();
        EXPECT_NEAR(f.MagnitudeAt(f.normFreq), f.normMag, 1e-9 * f.normMag);
        for (const korin::mcplx& c : f.b)
            EXPECT_TRUE(std::isfinite(c.real()) && c.imag() == 0.0);
        for (const korin::mcplx& c : f.a)
            EXPECT_TRUE(std::isfinite(c.real()) && c.imag() == 0.0);
    }

    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
    PlainFrame frame;
    CIirFreqPlot* freq = nullptr;
    CIirTimePlot* time = nullptr;
    CPoleZeroPlot* poleZero = nullptr;
};

TEST_F(FilterPlotsTest, NothingIsDrawnUntilDesignedThenTheCurvesFollow) {
    Paint();
    EXPECT_FALSE(freq->IsPlotReady());
    EXPECT_TRUE(freq->Plot()->m_xData.IsEmpty());
    Design();
    const IirPlotWidget& plot = *freq->Plot();
    ASSERT_FALSE(plot.m_xData.IsEmpty());
    EXPECT_EQ(plot.m_xData.GetSize(), static_cast<std::size_t>(plot.Map().Frame().width));
    // One point per pixel of the core's magnitude curve over 0..Fs/2.
    korin::mvect f;
    korin::mvect v;
    ComputeResponse(doc.GetFilter(), 0.0, 4.0, static_cast<std::int32_t>(plot.m_xData.GetSize()),
                    kPlotMagnitude, f, v);
    for (std::size_t i = 0; i < f.size(); i += 97) {
        EXPECT_DOUBLE_EQ(plot.m_xData[i], f[i].real());
        EXPECT_DOUBLE_EQ(plot.m_curves.GetAt(0)[i], v[i].real());
    }
    EXPECT_EQ(plot.m_strMainTitle, "Butterworth Frequency Response");
    EXPECT_EQ(plot.m_strXTitle, "Frequency in kHz");
    EXPECT_EQ(plot.m_strYTitle, "Magnitude in dB");
    // The zeros at Fs/2 reach far below the project's minimum dB, which floors the range.
    EXPECT_DOUBLE_EQ(plot.m_axes.m_yAxis.m_dMin, doc.GetMinDb());

    // A click reads the point under the pointer.
    const std::size_t k = plot.m_xData.GetSize() / 3;
    const QPointF at(plot.XToPixel(plot.m_xData[k]), plot.Map().Frame().bottom - 20);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(freq->Plot(), &press);
    QApplication::sendEvent(freq->Plot(), &release);
    EXPECT_EQ(ui.StatusText(), FrequencyReadout(doc.GetFilter().fs, kPlotMagnitude, plot.m_xData[k],
                                                plot.m_curves.GetAt(0)[k]));
}

TEST_F(FilterPlotsTest, FrequencyTypesSwitchInPlaceAndKeepTheZoom) {
    Design();
    IirPlotWidget& plot = *freq->Plot();
    plot.Zoom(true, false, false, 0.5, 2.0, 0.0, 0.0);
    Paint();
    const double first = plot.m_axes.x.first;
    const double last = plot.m_axes.x.last;
    const struct {
        fw::CommandId id;
        std::int32_t type;
        const char* y;
    } rows[] = {{kIdTypePhase, kPlotPhase, "Phase in Degrees"},
                {kIdTypeUnwrappedPhase, kPlotUnwrappedPhase, "Unwrapped Phase in Degrees"},
                {kIdTypeGroupDelay, kPlotGroupDelay, "Group Delay in ms"},
                {kIdTypePhaseDelay, kPlotPhaseDelay, "Phase Delay in ms"},
                {kIdTypeMagnitude, kPlotMagnitude, "Magnitude in dB"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(freq->OnCommand(row.id));
        Paint();
        fw::CmdUI state(row.id);
        freq->OnUpdateCommand(row.id, state);
        EXPECT_TRUE(state.IsChecked() && state.IsEnabled()) << row.y;
        EXPECT_EQ(freq->PlotType(), row.type);
        EXPECT_EQ(plot.m_strYTitle, row.y);
        EXPECT_EQ(plot.m_axes.m_zoomList.GetLevelCount(), 1);
        EXPECT_DOUBLE_EQ(plot.m_axes.x.first, first);
        EXPECT_DOUBLE_EQ(plot.m_axes.x.last, last);
    }
    // Other kinds belong to the design window's panes: not here.
    fw::CmdUI impulse(kIdTypeImpulse);
    freq->OnUpdateCommand(kIdTypeImpulse, impulse);
    EXPECT_FALSE(impulse.IsEnabled());
}

TEST_F(FilterPlotsTest, TimePlotRunsOverTheSampleLengthInTheTimeUnit) {
    Design();
    const IirPlotWidget& plot = *time->Plot();
    EXPECT_EQ(time->SampleLength(), doc.GetTimeResponseLength());
    ASSERT_EQ(plot.m_xData.GetSize(), 128U);
    EXPECT_DOUBLE_EQ(plot.m_xData[127], 127.0 / 8.0);
    EXPECT_DOUBLE_EQ(plot.m_axes.m_xAxis.m_dMax, 16.0);
    EXPECT_EQ(plot.m_strXTitle, "Time in ms");
    EXPECT_EQ(plot.m_strMainTitle, "Butterworth Impulse and Step Responses");
    EXPECT_EQ(plot.m_curves.GetAt(0).m_strName, "Impulse");
    EXPECT_EQ(plot.m_curves.GetAt(1).m_strName, "Step");

    // A new length is the project's, without an undo step.
    const std::size_t undo = doc.UndoCount();
    CIirPlot::SetPropertiesDialog([](QWidget*, PlotProperties& p) {
        EXPECT_EQ(p.enabledMask, kPropAllEnabled);
        p.sampleLength = 300;
        return true;
    });
    ASSERT_TRUE(time->OnCommand(kIdPlotProperties));
    Paint();
    EXPECT_EQ(doc.GetTimeResponseLength(), 300);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), undo);
    EXPECT_EQ(plot.m_xData.GetSize(), 300U);
}

TEST_F(FilterPlotsTest, DraggingAConjugatePairIsOneUndoStep) {
    Design({.order = 6, .family = kChebyshev, .response = kBandpass, .edge1 = 1.0, .edge2 = 2.0});
    const std::size_t undo = doc.UndoCount();
    const korin::mvect before = doc.GetFilter().p;
    const std::size_t upper = UpperPole();
    const QPointF start = PixelOf(before[upper]);
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    ASSERT_TRUE(poleZero->IsDragging());
    const int paints = freq->Plot()->PaintCount();
    for (int i = 1; i <= 3; ++i) {
        Mouse(QEvent::MouseMove, start + QPointF(-8.0 * i, 6.0 * i), Qt::LeftButton);
        Paint();
        const CIirFilter& f = doc.GetFilter();
        ASSERT_NE(f.Pick(), nullptr);
        ASSERT_NE(f.Partner(), nullptr);
        EXPECT_EQ(f.Partner()->real(), f.Pick()->real());
        EXPECT_EQ(f.Partner()->imag(), -f.Pick()->imag());
        ExpectSoundFilter();
        EXPECT_FALSE(doc.IsModified() && doc.UndoCount() != undo) << "nothing recorded mid-drag";
    }
    EXPECT_GE(freq->Plot()->PaintCount(), paints + 3) << "the other plots follow live";
    Mouse(QEvent::MouseButtonRelease, start + QPointF(-24, 18), Qt::NoButton);
    EXPECT_EQ(doc.UndoCount(), undo + 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.Messages().empty());

    ASSERT_TRUE(doc.OnCommand(fw::kIdEditUndo));
    const korin::mvect& restored = doc.GetFilter().p;
    ASSERT_EQ(restored.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(restored[i].real(), before[i].real());
        EXPECT_EQ(restored[i].imag(), before[i].imag());
    }
}

TEST_F(FilterPlotsTest, PickingRecordsNothingAndMarksEveryFrequencyPlot) {
    Design({.order = 6, .family = kChebyshev, .response = kBandpass, .edge1 = 1.0, .edge2 = 2.0});
    const std::size_t undo = doc.UndoCount();
    const korin::mcplx pole = doc.GetFilter().p[UpperPole()];
    Mouse(QEvent::MouseButtonPress, PixelOf(pole), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, PixelOf(pole), Qt::NoButton);
    Paint();
    ASSERT_NE(doc.GetFilter().Pick(), nullptr);
    EXPECT_EQ(doc.UndoCount(), undo);
    EXPECT_EQ(ui.StatusText(),
              FormatRootStatus(true, {pole.real(), pole.imag()}, doc.GetFilter().fs));

    // The frequency plot marks the pole's frequency in red.
    const std::optional<double> marker = freq->MarkerFrequency();
    ASSERT_TRUE(marker.has_value());
    EXPECT_NEAR(*marker, 4.0 * std::atan2(pole.imag(), pole.real()) / M_PI, 1e-12);
    const QImage image = freq->Plot()->grab().toImage();
    const PlotFrame& f = freq->Plot()->Map().Frame();
    EXPECT_EQ(image.pixel(freq->Plot()->XToPixel(*marker), f.bottom - f.height / 4),
              qRgb(255, 0, 0));

    // A second click on the picked root drops it; so does Escape.
    Mouse(QEvent::MouseButtonPress, PixelOf(pole), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, PixelOf(pole), Qt::NoButton);
    EXPECT_EQ(doc.GetFilter().Pick(), nullptr);
    Mouse(QEvent::MouseButtonPress, PixelOf(pole), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, PixelOf(pole), Qt::NoButton);
    ASSERT_NE(doc.GetFilter().Pick(), nullptr);
    Key(Qt::Key_Escape);
    EXPECT_EQ(doc.GetFilter().Pick(), nullptr);
    EXPECT_FALSE(freq->MarkerFrequency().has_value());
    EXPECT_EQ(doc.UndoCount(), undo);
}

TEST_F(FilterPlotsTest, ArrowKeysMoveThePickOneUndoStepPerPress) {
    Design({.order = 6, .family = kChebyshev, .response = kBandpass, .edge1 = 1.0, .edge2 = 2.0});
    const korin::mcplx pole = doc.GetFilter().p[UpperPole()];
    Mouse(QEvent::MouseButtonPress, PixelOf(pole), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, PixelOf(pole), Qt::NoButton);
    const std::size_t undo = doc.UndoCount();
    const PlotAxes& axes = poleZero->Plot()->m_axes;
    const double d = 0.02 * (axes.y.last - axes.y.first);

    Key(Qt::Key_Down);
    Key(Qt::Key_Down, QEvent::KeyRelease);
    const korin::mcplx* moved = doc.GetFilter().Pick();
    ASSERT_NE(moved, nullptr);
    EXPECT_NEAR(std::hypot(moved->real(), moved->imag()),
                std::hypot(pole.real(), pole.imag()) * (1 - d), 1e-12);
    EXPECT_EQ(doc.UndoCount(), undo + 1);
    EXPECT_TRUE(doc.IsModified());
    ExpectSoundFilter();

    // Up far enough stays inside the circle.
    for (int i = 0; i < 40; ++i)
        Key(Qt::Key_Up);
    Key(Qt::Key_Up, QEvent::KeyRelease);
    EXPECT_LE(std::hypot(doc.GetFilter().Pick()->real(), doc.GetFilter().Pick()->imag()),
              kPoleRadiusLimit);
    EXPECT_EQ(doc.UndoCount(), undo + 2);
    ExpectSoundFilter();

    Key(Qt::Key_M);
    EXPECT_EQ(ui.StatusText(), "Cartesian pole-zero arrow movement mode");
    Key(Qt::Key_M);
    EXPECT_EQ(ui.StatusText(), "Polar pole-zero arrow movement mode");
}

TEST_F(FilterPlotsTest, InterruptedDragsEndCleanly) {
    Design({.order = 6, .family = kChebyshev, .response = kBandpass, .edge1 = 1.0, .edge2 = 2.0});
    const std::size_t undo = doc.UndoCount();
    const QPointF start = PixelOf(doc.GetFilter().p[UpperPole()]);
    // A grab taken away mid-drag records the drag.
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    Mouse(QEvent::MouseMove, start + QPointF(-10, 10), Qt::LeftButton);
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(poleZero->Plot(), &ungrab);
    EXPECT_FALSE(poleZero->IsDragging());
    EXPECT_EQ(doc.UndoCount(), undo + 1);

    // Undo mid-drag takes back the whole drag and ends it.
    const korin::mvect before = doc.GetFilter().p;
    const QPointF again = PixelOf(doc.GetFilter().p[UpperPole()]);
    Mouse(QEvent::MouseButtonPress, again, Qt::LeftButton);
    Mouse(QEvent::MouseMove, again + QPointF(-10, 10), Qt::LeftButton);
    ASSERT_TRUE(doc.OnCommand(fw::kIdEditUndo));
    EXPECT_FALSE(poleZero->IsDragging());
    Mouse(QEvent::MouseMove, again + QPointF(-20, 20), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, again + QPointF(-20, 20), Qt::NoButton);
    Paint();
    EXPECT_EQ(doc.GetFilter().p.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(doc.GetFilter().p[i].real(), before[i].real());
}

TEST_F(FilterPlotsTest, UnusableInputsDrawNothingAndNeverHang) {
    Design();
    // A sampling frequency that cannot be drawn with.
    for (double fs : {0.0, -10.0}) {
        doc.GetFilter().fs.SetValue(fs);
        doc.OnFilterChanged(true, 0);
        Paint();
        EXPECT_FALSE(freq->IsPlotReady());
        EXPECT_FALSE(time->IsPlotReady());
    }
    // Fixed point with poles quantized onto the circle: no value at f = 0.
    IirDesignSpec form{.order = 4, .dataType = kFixedPoint, .fracBits = 8, .edge1 = 0.008};
    Design(form);
    for (const CIirPlot* plot :
         {static_cast<const CIirPlot*>(freq), static_cast<const CIirPlot*>(time),
          static_cast<const CIirPlot*>(poleZero)}) {
        const PlotAxes& axes = plot->Plot()->m_axes;
        EXPECT_TRUE(std::isfinite(axes.x.first) && std::isfinite(axes.x.last));
        EXPECT_TRUE(std::isfinite(axes.y.first) && std::isfinite(axes.y.last));
    }
}

} // namespace
} // namespace tarvo
