#include "views/time_plot.h"

#include "design/iir_filter.h"
#include "design/plot_texts.h"
#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc/view_command_ids.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvo {
namespace {

struct TimeCommand {
    fw::CommandId id;
    std::int32_t type;
};
constexpr std::array<TimeCommand, 3> kTimeCommands{{{kIdTypeImpulse, kPlotImpulse},
                                                    {kIdTypeStep, kPlotStep},
                                                    {kIdTypeImpulseAndStep, kPlotImpulseAndStep}}};

std::optional<std::int32_t> TimeCommandType(fw::CommandId id) {
    for (const TimeCommand& c : kTimeCommands) {
        if (c.id == id) return c.type;
    }
    return std::nullopt;
}

std::int32_t TimeType(std::int32_t t) {
    return t >= kPlotImpulse && t <= kPlotImpulseAndStep ? t : kPlotImpulseAndStep;
}

} // namespace

CIirTimePlot::CIirTimePlot(std::int32_t plotType)
    : CIirPlot(MenuBarKind::kTime, plotType == kPlotNone ? kPlotNone : TimeType(plotType),
               kTimePlotContextMenu, kPropAllEnabled) {
    Plot()->setObjectName("timePlot");
    Plot()->setWhatsThis(QStringLiteral(
        "The impulse or step response of the design over the project's sample length. Drag to "
        "zoom, click to read a sample."));
}

HelpTopic CIirTimePlot::Help() const {
    return HelpTopic::kTimePlot;
}

std::int32_t CIirTimePlot::NormalizePlotType(std::int32_t plotType) const {
    return plotType >= kPlotImpulse && plotType <= kPlotImpulseAndStep ? plotType
                                                                       : kPlotImpulseAndStep;
}

void CIirTimePlot::OnBind(std::int32_t hint) {
    // Every time plot starts with the project's length, however it got its type.
    if (const CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
        m_nSampleLength = doc->GetTimeResponseLength();
    }
    CIirPlot::OnBind(hint);
}

void CIirTimePlot::OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) {
    if (m_nPlotType == kPlotNone && hint::PlotType(hint) > 12 && IsBound()) {
        m_nPlotType = NormalizePlotType(hint::PlotType(hint));
        if (const CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
            m_nSampleLength = doc->GetTimeResponseLength();
        }
    }
    CIirPlot::OnUpdate(sender, hint, hintObject);
}

bool CIirTimePlot::OnCommand(fw::CommandId id) {
    if (const std::optional<std::int32_t> type = TimeCommandType(id)) {
        SetPlotType(*type);
        return true;
    }
    return CIirPlot::OnCommand(id);
}

bool CIirTimePlot::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (const std::optional<std::int32_t> type = TimeCommandType(id)) {
        ui.Enable(true);
        ui.SetCheck(*type == m_nPlotType);
        return true;
    }
    return CIirPlot::OnUpdateCommand(id, ui);
}

void CIirTimePlot::ResetData() {
    m_impulse.clear();
    m_step.clear();
}

void CIirTimePlot::ResetDataForEdit() {
    // A long response costs seconds: while a root moves, the old one stays.
    const std::int32_t n = m_nSampleLength == 0 ? 1024 : m_nSampleLength;
    const CTarvoIirDoc* doc = GetIirDocument();
    const bool live = doc != nullptr && doc->HasUnrecordedChange();
    if (live && n > kLiveTimeResponseLimit && !m_impulse.empty()) {
        SetStatusText("Time response updates when the edit ends.");
        return;
    }
    ResetData();
}

void CIirTimePlot::OnPropertiesChanged() {
    if (CTarvoIirDoc* doc = GetIirDocument();
        doc != nullptr && m_nSampleLength != doc->GetTimeResponseLength()) {
        doc->SetTimeResponseLength(m_nSampleLength);
        ResetData();
    }
    Plot()->Rebuild();
}

void CIirTimePlot::ComputeRanges() {
    PlotAxes& axes = Plot()->m_axes;
    if (!m_impulse.empty()) {
        axes.ApplyYAxis();
        return;
    }
    m_impulse = Filter()->ImpulseResponse(m_nSampleLength);
    m_step = Filter()->StepResponse(static_cast<std::int32_t>(m_impulse.size()));
    axes.x.first = 0.0;
    axes.x.last = static_cast<double>(m_impulse.size()) / FsValue();
    // All curves shown share one y range.
    double low = 0.0;
    double high = 0.0;
    bool needInit = true;
    bool any = false;
    if (m_nPlotType != kPlotStep) any = ScanRange(m_impulse, low, high, needInit);
    if (m_nPlotType == kPlotStep || m_nPlotType == kPlotImpulseAndStep) {
        any = ScanRange(m_step, low, high, needInit) || any;
    }
    if (!any) {
        SetStatusText("The response grows without bound.");
        low = axes.y.first;
        high = axes.y.last;
    }
    Plot()->SetAxisRanges(axes.x.first, axes.x.last, low, high);
}

void CIirTimePlot::ComputeCurves(int /*width*/, int /*height*/) {
    const double fs = FsValue();
    const std::size_t n = m_impulse.size();
    CDataColumn& x = Plot()->m_xData;
    x.Reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        x.Add(static_cast<double>(i) / fs);
    CDataSet& curves = Plot()->m_curves;
    if (curves.GetCount() == 0) return;
    const korin::mvect& first = m_nPlotType == kPlotStep ? m_step : m_impulse;
    curves.GetAt(0).Reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        curves.GetAt(0).Add(first[i].real());
    if (curves.GetCount() > 1) {
        curves.GetAt(1).Reserve(n);
        for (std::size_t i = 0; i < n && i < m_step.size(); ++i)
            curves.GetAt(1).Add(m_step[i].real());
    }
}

void CIirTimePlot::PrepareCurveColors() {
    CDataSet& curves = Plot()->m_curves;
    if (curves.GetCount() == 0) return;
    const PlotColor red = MakePlotColor(255, 0, 0);
    const PlotColor blue = MakePlotColor(0, 0, 255);
    curves.GetAt(0).m_crColor = m_nPlotType == kPlotStep ? blue : red;
    curves.GetAt(0).m_strName = m_nPlotType == kPlotImpulseAndStep ? "Impulse" : "";
    if (curves.GetCount() > 1) {
        curves.GetAt(1).m_crColor = blue;
        curves.GetAt(1).m_strName = "Step";
    }
}

int CIirTimePlot::UpdateTitles(int xAxisPower) {
    if (!Plot()->m_bAutoTitles) return CIirPlot::UpdateTitles(xAxisPower);
    return ApplyTitles(
        TimePlotTitles(Filter()->FamilyName(), Filter()->fs, m_nPlotType, xAxisPower));
}

void CIirTimePlot::OnPointPicked(std::ptrdiff_t index) {
    const CDataSet& curves = Plot()->m_curves;
    const auto i = static_cast<std::size_t>(index);
    if (curves.GetCount() == 0 || i >= curves.GetAt(0).GetSize()) return;
    const double second =
        curves.GetCount() > 1 && i < curves.GetAt(1).GetSize() ? curves.GetAt(1)[i] : 0.0;
    SetStatusText(
        TimeReadout(m_nPlotType, static_cast<std::int64_t>(index), curves.GetAt(0)[i], second));
}

} // namespace tarvo
