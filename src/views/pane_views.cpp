#include "views/pane_views.h"

#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "doc/pane_kind.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "views/placeholder_pane.h"

#include <QString>

namespace tarvo {
namespace {

// "Butterworth lowpass, order 4, sampled at 1 Hz".
QString Specification(const CIirFilter& filter) {
    const IirDesignSpec& s = filter.spec;
    return QStringLiteral("%1 %2, order %3, sampled at %4")
        .arg(QString::fromUtf8(FamilyText(s.family).data(),
                               static_cast<qsizetype>(FamilyText(s.family).size())),
             QString::fromUtf8(ResponseText(s.response).data(),
                               static_cast<qsizetype>(ResponseText(s.response).size()))
                 .toLower())
        .arg(s.order)
        .arg(QString::fromStdString(filter.fs.Format()));
}

// A frequency plot draws one of its five kinds; anything else is magnitude.
std::int32_t FrequencyType(std::int32_t t) {
    return t >= kPlotMagnitude && t <= kPlotGroupDelay ? t : kPlotMagnitude;
}

std::int32_t TimeType(std::int32_t t) {
    return t >= kPlotImpulse && t <= kPlotImpulseAndStep ? t : kPlotImpulseAndStep;
}

} // namespace

BoundView::BoundView(MenuBarKind menuBar) : menuBar_(menuBar) {
    pane_ = new PlaceholderPane;
    SetWidget(pane_);
}

std::optional<MenuBarKind> BoundView::FocusMenuBar() const {
    // Until there is a design to show, the view's own menu has nothing to act on.
    if (filter_ == nullptr || filter_->IsEmpty()) return std::nullopt;
    return menuBar_;
}

void BoundView::OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* hintObject) {
    const auto* filter = dynamic_cast<const CIirFilter*>(hintObject);
    if (filter_ == nullptr) {
        if (filter == nullptr) return;
        filter_ = filter;
        OnBind(hint);
        Refresh();
        return;
    }
    const std::int32_t event = hint::Event(hint);
    if (filter == filter_ && (event == hint::kDesignChanged || event == hint::kFsChanged)) {
        Refresh();
    }
}

std::string BoundView::Body() const {
    if (filter_ == nullptr) return {};
    if (filter_->IsEmpty()) return "Shown after the first Design.";
    return Specification(*filter_).toStdString();
}

void BoundView::Refresh() {
    if (pane_ != nullptr && Widget() != nullptr) {
        pane_->SetTexts(QString::fromStdString(Heading()), QString::fromStdString(Body()));
    }
}

PlotView::PlotView(MenuBarKind menuBar, std::int32_t plotType)
    : BoundView(menuBar), plotType_(plotType) {}

void PlotView::OnBind(std::int32_t hint) {
    if (plotType_ != kPlotNone) return;
    std::int32_t type = hint::PlotType(hint);
    if (type == kPlotNone) {
        if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) type = doc->NextPendingPlotType();
    }
    plotType_ = NormalizePlotType(type);
}

void PlotView::SetPlotType(std::int32_t plotType) {
    plotType_ = NormalizePlotType(plotType);
    Refresh();
}

std::string PlotView::Heading() const {
    return std::string(PlotTypeName(plotType_));
}

CIirFreqPlot::CIirFreqPlot(std::int32_t plotType)
    : PlotView(MenuBarKind::kFrequency,
               plotType == kPlotNone ? kPlotNone : FrequencyType(plotType)) {
    Pane()->setObjectName("frequencyPlot");
    Pane()->setWhatsThis(QStringLiteral(
        "A frequency response of the design: magnitude, phase, unwrapped phase, group delay "
        "or phase delay."));
    Refresh();
}

std::int32_t CIirFreqPlot::NormalizePlotType(std::int32_t plotType) const {
    return FrequencyType(plotType);
}

HelpTopic CIirFreqPlot::Help() const {
    return HelpTopic::kFrequencyPlot;
}

CIirTimePlot::CIirTimePlot(std::int32_t plotType)
    : PlotView(MenuBarKind::kTime, plotType == kPlotNone ? kPlotNone : TimeType(plotType)) {
    Pane()->setObjectName("timePlot");
    Pane()->setWhatsThis(QStringLiteral("The impulse or step response of the design."));
    Refresh();
}

std::int32_t CIirTimePlot::NormalizePlotType(std::int32_t plotType) const {
    return TimeType(plotType);
}

HelpTopic CIirTimePlot::Help() const {
    return HelpTopic::kTimePlot;
}

CPoleZeroPlot::CPoleZeroPlot() : PlotView(MenuBarKind::kPoleZero, kPlotPoleZero) {
    Pane()->setObjectName("poleZeroPlot");
    Pane()->setWhatsThis(
        QStringLiteral("The poles and zeros of the design in the z-plane, with the unit circle."));
    Refresh();
}

std::int32_t CPoleZeroPlot::NormalizePlotType(std::int32_t /*plotType*/) const {
    return kPlotPoleZero;
}

HelpTopic CPoleZeroPlot::Help() const {
    return HelpTopic::kPoleZero;
}

} // namespace tarvo
