#include "views/freq_plot.h"

#include "design/iir_filter.h"
#include "design/plot_texts.h"
#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc/view_command_ids.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <QPainter>

namespace tarvo {
namespace {

struct FreqCommand {
    fw::CommandId id;
    std::int32_t type;
};
constexpr std::array<FreqCommand, 5> kFreqCommands{{{kIdTypeMagnitude, kPlotMagnitude},
                                                    {kIdTypePhase, kPlotPhase},
                                                    {kIdTypeUnwrappedPhase, kPlotUnwrappedPhase},
                                                    {kIdTypePhaseDelay, kPlotPhaseDelay},
                                                    {kIdTypeGroupDelay, kPlotGroupDelay}}};

std::optional<std::int32_t> FreqCommandType(fw::CommandId id) {
    for (const FreqCommand& c : kFreqCommands) {
        if (c.id == id) return c.type;
    }
    return std::nullopt;
}

// Points of the automatic y range: enough to find the curve's extent, cheap
// enough to redo at every change.
constexpr std::int32_t kRangePoints = 128;
// Headroom above the magnitude curve, in dB.
constexpr double kMagnitudeHeadroom = 5.0;

// A frequency plot draws one of its five kinds; anything else is magnitude.
std::int32_t FrequencyType(std::int32_t t) {
    return t >= kPlotPhase && t <= kPlotGroupDelay ? t : kPlotMagnitude;
}

} // namespace

CIirFreqPlot::CIirFreqPlot(std::int32_t plotType)
    : CIirPlot(MenuBarKind::kFrequency, plotType == kPlotNone ? kPlotNone : FrequencyType(plotType),
               kFreqPlotContextMenu,
               kPropAutoTitles | kPropFullDecadeZoom | kPropOriginAtZero | kPropLegend) {
    Plot()->setObjectName("frequencyPlot");
    Plot()->setWhatsThis(QStringLiteral(
        "A frequency response of the design: magnitude, phase, unwrapped phase, group delay "
        "or phase delay. Drag to zoom, click to read a value."));
}

HelpTopic CIirFreqPlot::Help() const {
    return HelpTopic::kFrequencyPlot;
}

std::int32_t CIirFreqPlot::NormalizePlotType(std::int32_t plotType) const {
    return FrequencyType(plotType);
}

void CIirFreqPlot::ResetData() {
    Plot()->m_axes.x.first = 0.0;
    Plot()->m_axes.x.last = FsValue() / 2.0;
}

void CIirFreqPlot::OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) {
    // A pick or unpick in a pole-zero view moves the marker at once.
    if (hint::Event(hint) == hint::kPoleZero) {
        Plot()->update();
        return;
    }
    CIirPlot::OnUpdate(sender, hint, hintObject);
}

bool CIirFreqPlot::OnCommand(fw::CommandId id) {
    if (const std::optional<std::int32_t> type = FreqCommandType(id)) {
        // In place: the zoom levels and the x range stay.
        if (*type != m_nPlotType) {
            m_nPlotType = *type;
            Plot()->Rebuild();
        }
        return true;
    }
    return CIirPlot::OnCommand(id);
}

bool CIirFreqPlot::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (const std::optional<std::int32_t> type = FreqCommandType(id)) {
        ui.Enable(true);
        ui.SetCheck(*type == m_nPlotType);
        return true;
    }
    return CIirPlot::OnUpdateCommand(id, ui);
}

int CIirFreqPlot::UpdateTitles(int xAxisPower) {
    if (!Plot()->m_bAutoTitles) return CIirPlot::UpdateTitles(xAxisPower);
    return ApplyTitles(
        FrequencyPlotTitles(Filter()->FamilyName(), Filter()->fs, m_nPlotType, xAxisPower));
}

void CIirFreqPlot::PrepareCurveColors() {
    if (Plot()->m_curves.GetCount() > 0)
        Plot()->m_curves.GetAt(0).m_crColor = MakePlotColor(0, 0, 255);
}

void CIirFreqPlot::ComputeCurves(int width, int /*height*/) {
    korin::mvect f;
    korin::mvect v;
    ComputeResponse(*Filter(), Plot()->m_axes.x.first, Plot()->m_axes.x.last, std::max(width, 2),
                    m_nPlotType, f, v);
    CDataColumn& x = Plot()->m_xData;
    CDataColumn& y = Plot()->m_curves.GetAt(0);
    const std::size_t n = std::min(f.size(), v.size());
    x.Reserve(n);
    y.Reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        x.Add(f[i].real());
        y.Add(v[i].real());
    }
}

void CIirFreqPlot::ComputeRanges() {
    PlotAxes& axes = Plot()->m_axes;
    korin::mvect f;
    korin::mvect v;
    ComputeResponse(*Filter(), axes.x.first, axes.x.last, kRangePoints, m_nPlotType, f, v);
    double low = 0.0;
    double high = 0.0;
    bool needInit = true;
    const bool any = ScanRange(v, low, high, needInit);
    if (!any) {
        // Nothing to scale to: keep the axes and say why the plot is empty.
        SetStatusText("The response has no finite value to draw.");
        return;
    }
    if (m_nPlotType == kPlotMagnitude) {
        high += kMagnitudeHeadroom;
        if (const CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr && doc->GetMinDb() > low) {
            low = doc->GetMinDb();
        }
        low = std::min(low, high - kMagnitudeHeadroom);
    }
    Plot()->SetAxisRanges(axes.x.first, axes.x.last, low, high);
    const double nyquist = FsValue() / 2.0;
    if (axes.m_xAxis.m_bAutoscale && nyquist < axes.x.last) axes.x.last = nyquist;
}

void CIirFreqPlot::OnPointPicked(std::ptrdiff_t index) {
    const CDataColumn& x = Plot()->m_xData;
    if (Plot()->m_curves.GetCount() == 0) return;
    const CDataColumn& y = Plot()->m_curves.GetAt(0);
    const auto i = static_cast<std::size_t>(index);
    if (i >= x.GetSize() || i >= y.GetSize()) return;
    SetStatusText(FrequencyReadout(Filter()->fs, m_nPlotType, x[i], y[i]));
}

std::optional<double> CIirFreqPlot::MarkerFrequency() const {
    const CIirFilter* filter = Filter();
    if (filter == nullptr || filter->Pick() == nullptr) return std::nullopt;
    const korin::mcplx& root = *filter->Pick();
    const double f =
        std::abs(FsValue() / 2.0 * std::atan2(root.imag(), root.real()) / std::numbers::pi);
    if (!std::isfinite(f)) return std::nullopt;
    return f;
}

void DrawRootMarker(QPainter& painter, double x, double y, int r, bool pole) {
    if (pole) {
        painter.drawLine(QPointF(x - r, y + r), QPointF(x + r, y - r));
        painter.drawLine(QPointF(x - r, y - r), QPointF(x + r, y + r));
    } else {
        painter.drawEllipse(QPointF(x, y), r + 0.5, r + 0.5);
    }
}

void CIirFreqPlot::DrawOverlay(QPainter& painter) const {
    const std::optional<double> f = MarkerFrequency();
    const IirPlotWidget& plot = *Plot();
    if (!f || plot.m_xData.IsEmpty() || plot.m_curves.GetCount() == 0 || !plot.HasValidScale())
        return;
    const PlotMap& map = plot.Map();
    const PlotFrame& frame = map.Frame();
    const std::optional<double> px = map.XToPixelF(*f);
    if (!px) return;
    painter.save();
    painter.setClipRect(
        QRect(frame.left, frame.bottom - frame.height, frame.width + 1, frame.height + 1));
    const QColor red(255, 0, 0);
    painter.setPen(QPen(red, 1));
    const double x = std::floor(*px) + 0.5;
    painter.drawLine(QPointF(x, map.YToPixel(plot.m_axes.y.first)),
                     QPointF(x, map.YToPixel(plot.m_axes.y.last)));
    const std::ptrdiff_t k = plot.m_xData.FindNearest(*f);
    const CDataColumn& curve = plot.m_curves.GetAt(0);
    if (k >= 0 && static_cast<std::size_t>(k) < curve.GetSize()) {
        if (const std::optional<double> py = map.YToPixelF(curve[static_cast<std::size_t>(k)])) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(red, 2));
            painter.setBrush(Qt::NoBrush);
            DrawRootMarker(painter, x, std::floor(*py) + 0.5, 2 * plot.ScreenLayout().dotRadius,
                           Filter()->pickIsPole != 0);
        }
    }
    painter.restore();
}

} // namespace tarvo
