#pragma once
// The views a project's windows hold: the design form and the coefficient view
// (in their own files), and the frequency, time and pole-zero plots. Each plot
// binds to its project's filter as the update hints say and follows its
// design; until their full widgets land, a plot shows a plain pane that names
// what it is and what it shows.

#include "views/coefficient_view.h"
#include "views/design_form.h"
#include "views/widget_view.h"

#include <cstdint>
#include <string>

namespace tarvo {

class PlaceholderPane;

// The common part: binding on the first hint that carries a filter, then
// refreshing on the events that change the design or its sampling frequency.
class BoundView : public WidgetView {
public:
    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;

    bool IsBound() const { return filter_ != nullptr; }
    const CIirFilter* Filter() const { return filter_; }
    std::optional<MenuBarKind> FocusMenuBar() const override;

protected:
    explicit BoundView(MenuBarKind menuBar);
    // The pane's heading and body text for the current state.
    virtual std::string Heading() const = 0;
    // The line under the heading: what the design shows, or that there is none yet.
    virtual std::string Body() const;
    virtual void OnBind(std::int32_t /*hint*/) {}
    void Refresh();
    PlaceholderPane* Pane() const { return pane_; }

private:
    PlaceholderPane* pane_ = nullptr;
    const CIirFilter* filter_ = nullptr;
    MenuBarKind menuBar_;
};

// A plot view: its plot type comes from the window that makes it, or, when that
// gives none, from the binding hint or the project's pending list.
class PlotView : public BoundView {
public:
    std::int32_t PlotType() const { return plotType_; }
    // Shows another plot type of the same view class at once.
    void SetPlotType(std::int32_t plotType);

protected:
    PlotView(MenuBarKind menuBar, std::int32_t plotType);
    void OnBind(std::int32_t hint) override;
    std::string Heading() const override;
    // The plot type a bound view of this class uses for what it was given.
    virtual std::int32_t NormalizePlotType(std::int32_t plotType) const = 0;

private:
    std::int32_t plotType_;
};

class CIirFreqPlot : public PlotView {
public:
    explicit CIirFreqPlot(std::int32_t plotType = 0);
    HelpTopic Help() const override;

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;
};

class CIirTimePlot : public PlotView {
public:
    explicit CIirTimePlot(std::int32_t plotType = 0);
    HelpTopic Help() const override;

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;
};

class CPoleZeroPlot : public PlotView {
public:
    CPoleZeroPlot();
    HelpTopic Help() const override;

protected:
    std::int32_t NormalizePlotType(std::int32_t plotType) const override;
};

} // namespace tarvo
