#pragma once
// CIirPlot: what the filter plots share. The view binds to its project's filter
// on the first update that carries it, follows every design, undo and
// sampling-frequency change, runs the Type and Properties commands, and shows
// its texts in the status bar. Its widget is a zoom plot that asks the view
// for data, titles and read-outs, and passes it the input a plot handles itself.

#include "design/plot_texts.h"
#include "design/response_curves.h"
#include "plot/plot_properties.h"
#include "plotui/zoom_plot.h"
#include "views/widget_view.h"

#include <cstdint>
#include <functional>
#include <string>

class QKeyEvent;
class QMouseEvent;

namespace tarvo {

class CIirFilter;
class CIirPlot;

// The context menus of the filter plots, by the numbers the application knows them by.
inline constexpr int kFreqPlotContextMenu = 3110;
inline constexpr int kTimePlotContextMenu = 3114;
inline constexpr int kPoleZeroContextMenu = 3125;

// The widget of a filter plot. It outlives its view for a moment (it is
// deleted later), so every call to the view checks that it is still there.
class IirPlotWidget : public CZoomPlot {
    Q_OBJECT

public:
    explicit IirPlotWidget(CIirPlot* view);
    void Detach() { view_ = nullptr; }

    int UpdateTitles(int xAxisPower) override;
    void ComputeCurves(int width, int height) override;
    bool IsPlotReady() const override;
    int GetCurveCount() const override;
    int GetAutoStyle() const override;
    void ComputeRanges() override;
    void PrepareCurveColors() override;
    void BeginBusy(const std::string& text) override;
    void EndBusy(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void OnDrawDone() override;
    std::ptrdiff_t HitTest(int x, int y, int& curve) override;
    void OnPointPicked(std::ptrdiff_t index) override;
    void ShowPointCursor(int curve, std::ptrdiff_t index) override;

    // The zoom plot's own handling, for views that pass input on.
    void BaseMousePress(QMouseEvent* event) { CZoomPlot::mousePressEvent(event); }
    void BaseMouseMove(QMouseEvent* event) { CZoomPlot::mouseMoveEvent(event); }
    void BaseMouseRelease(QMouseEvent* event) { CZoomPlot::mouseReleaseEvent(event); }
    void BaseShowPointCursor(int curve, std::ptrdiff_t index) {
        CZoomPlot::ShowPointCursor(curve, index);
    }
    // How often the plot was painted (for tests and measuring).
    int PaintCount() const { return paints_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void DrawOverlay(QPainter& painter) override;
    bool HasCustomCurves() const override;
    void DrawCustomCurves(QPainter& painter, const PlotLayout& layout) const override;

private:
    CIirPlot* view_;
    int paints_ = 0;
};

class CIirPlot : public WidgetView {
public:
    // Runs the Plot Properties dialog on properties; true on OK.
    using PropertiesDialog = std::function<bool(QWidget* parent, PlotProperties& properties)>;
    static void SetPropertiesDialog(PropertiesDialog dialog);

    ~CIirPlot() override;

    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    std::optional<MenuBarKind> FocusMenuBar() const override;
    bool CanPrint() const override;
    void PrintPage(QPainter& painter, const QRect& page) override;
    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    IirPlotWidget* Plot() const { return plot_; }
    bool IsBound() const { return filter_ != nullptr; }
    const CIirFilter* Filter() const { return filter_; }
    std::int32_t PlotType() const { return m_nPlotType; }
    // Shows another plot type (0: the project's next pending one); false when
    // it is the one shown.
    virtual bool SetPlotType(std::int32_t plotType);

    // What the widget asks of its view.
    virtual int UpdateTitles(int xAxisPower);
    virtual void ComputeCurves(int /*width*/, int /*height*/) {}
    // A designed filter with a usable sampling frequency.
    virtual bool IsPlotReady() const;
    virtual int GetCurveCount() const { return 1; }
    virtual int GetAutoStyle() const;
    virtual void ComputeRanges() {}
    virtual void PrepareCurveColors() {}
    virtual void OnDrawDone();
    virtual std::ptrdiff_t HitTest(int x, int y, int& curve);
    virtual void OnPointPicked(std::ptrdiff_t /*index*/) {}
    virtual void ShowPointCursor(int curve, std::ptrdiff_t index);
    virtual void DrawOverlay(QPainter& /*painter*/) const {}
    virtual bool HasCustomCurves() const { return false; }
    virtual void DrawCustomCurves(QPainter& /*painter*/, const PlotLayout& /*layout*/) const {}
    // Input the plot handles before the zoom plot; true when handled.
    virtual bool OnMousePress(QMouseEvent* /*event*/) { return false; }
    virtual bool OnMouseMove(QMouseEvent* /*event*/) { return false; }
    virtual bool OnMouseRelease(QMouseEvent* /*event*/) { return false; }
    virtual bool OnKeyPress(QKeyEvent* /*event*/) { return false; }
    virtual bool OnKeyRelease(QKeyEvent* /*event*/) { return false; }
    // The mouse grab or the focus was lost.
    virtual void OnInputLost() {}

    void SetStatusText(const std::string& text) const;
    void BeginBusy(const std::string& text) const;
    void EndBusy(const std::string& text) const;

protected:
    CIirPlot(MenuBarKind menuBar, std::int32_t plotType, int contextMenu,
             std::int32_t propertiesMask);

    // The type a plot of this class shows for a requested type.
    virtual std::int32_t NormalizePlotType(std::int32_t plotType) const = 0;
    // The filter changed: forget what was computed from it.
    virtual void ResetData() {}
    // The same for a live edit of the roots, whose axes stay where they are.
    virtual void ResetDataForEdit() { ResetData(); }
    // Binding: the hint's plot-type bits, when the view has no type yet.
    virtual void OnBind(std::int32_t hint);
    // Shows automatic titles and returns the exponent they leave for the suffix.
    int ApplyTitles(const PlotTitleTexts& titles);
    // After Properties' OK, with the values copied back.
    virtual void OnPropertiesChanged() { plot_->Rebuild(); }
    CIirFilter* MutableFilter() const { return filter_; }
    // The sampling frequency in its unit, when it can be drawn with.
    double FsValue() const;

    std::int32_t m_nPlotType;
    std::int32_t m_nSampleLength = 128;

private:
    void RunProperties();

    IirPlotWidget* plot_;
    CIirFilter* filter_ = nullptr;
    mutable int busy_ = 0; // waits begun and not yet ended
    MenuBarKind menuBar_;
    std::int32_t propertiesMask_;
};

} // namespace tarvo
