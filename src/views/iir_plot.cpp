#include "views/iir_plot.h"

#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "doc/design_frame.h"
#include "doc/pane_kind.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "plot/plot_command_ids.h"
#include "views/coefficient_view_rules.h"

#include <cmath>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tarvo {
namespace {

CIirPlot::PropertiesDialog& PropertiesHook() {
    static CIirPlot::PropertiesDialog hook;
    return hook;
}

} // namespace

// ---- the widget: everything goes to the view while there is one ----

IirPlotWidget::IirPlotWidget(CIirPlot* view) : view_(view) {}

int IirPlotWidget::UpdateTitles(int xAxisPower) {
    return view_ != nullptr ? view_->UpdateTitles(xAxisPower) : xAxisPower;
}

void IirPlotWidget::ComputeCurves(int width, int height) {
    if (view_ != nullptr) view_->ComputeCurves(width, height);
}

bool IirPlotWidget::IsPlotReady() const {
    return view_ != nullptr && view_->IsPlotReady();
}

int IirPlotWidget::GetCurveCount() const {
    return view_ != nullptr ? view_->GetCurveCount() : 0;
}

int IirPlotWidget::GetAutoStyle() const {
    return view_ != nullptr ? view_->GetAutoStyle() : CZoomPlot::GetAutoStyle();
}

void IirPlotWidget::ComputeRanges() {
    if (view_ != nullptr) view_->ComputeRanges();
}

void IirPlotWidget::PrepareCurveColors() {
    if (view_ != nullptr) view_->PrepareCurveColors();
}

void IirPlotWidget::BeginBusy(const std::string& text) {
    if (view_ != nullptr) view_->BeginBusy(text);
}

void IirPlotWidget::EndBusy(const std::string& text) {
    if (view_ != nullptr) view_->EndBusy(text);
}

void IirPlotWidget::SetStatusText(const std::string& text) {
    if (view_ != nullptr) view_->SetStatusText(text);
}

void IirPlotWidget::OnDrawDone() {
    CZoomPlot::OnDrawDone();
    if (view_ != nullptr) view_->OnDrawDone();
}

std::ptrdiff_t IirPlotWidget::HitTest(int x, int y, int& curve) {
    curve = 0;
    return view_ != nullptr ? view_->HitTest(x, y, curve) : -1;
}

void IirPlotWidget::OnPointPicked(std::ptrdiff_t index) {
    if (view_ != nullptr && index >= 0) view_->OnPointPicked(index);
}

void IirPlotWidget::ShowPointCursor(int curve, std::ptrdiff_t index) {
    if (view_ != nullptr && index >= 0) view_->ShowPointCursor(curve, index);
}

void IirPlotWidget::mousePressEvent(QMouseEvent* event) {
    if (view_ == nullptr || !view_->OnMousePress(event)) CZoomPlot::mousePressEvent(event);
}

void IirPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (view_ == nullptr || !view_->OnMouseMove(event)) CZoomPlot::mouseMoveEvent(event);
}

void IirPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (view_ == nullptr || !view_->OnMouseRelease(event)) CZoomPlot::mouseReleaseEvent(event);
}

void IirPlotWidget::keyPressEvent(QKeyEvent* event) {
    if (view_ == nullptr || !view_->OnKeyPress(event)) CZoomPlot::keyPressEvent(event);
}

void IirPlotWidget::keyReleaseEvent(QKeyEvent* event) {
    if (view_ == nullptr || !view_->OnKeyRelease(event)) CZoomPlot::keyReleaseEvent(event);
}

void IirPlotWidget::focusOutEvent(QFocusEvent* event) {
    if (view_ != nullptr) view_->OnInputLost();
    CZoomPlot::focusOutEvent(event);
}

bool IirPlotWidget::event(QEvent* event) {
    // A grab taken away (a box, a menu) ends what the press began: no release comes.
    if (event->type() == QEvent::UngrabMouse && view_ != nullptr) view_->OnInputLost();
    return CZoomPlot::event(event);
}

void IirPlotWidget::paintEvent(QPaintEvent* event) {
    ++paints_;
    CZoomPlot::paintEvent(event);
}

void IirPlotWidget::DrawOverlay(QPainter& painter) {
    if (view_ != nullptr && IsPlotReady()) view_->DrawOverlay(painter);
    CZoomPlot::DrawOverlay(painter);
}

bool IirPlotWidget::HasCustomCurves() const {
    return view_ != nullptr && view_->HasCustomCurves();
}

void IirPlotWidget::DrawCustomCurves(QPainter& painter, const PlotLayout& layout) const {
    if (view_ != nullptr) view_->DrawCustomCurves(painter, layout);
}

// ---- the view ----

void CIirPlot::SetPropertiesDialog(PropertiesDialog dialog) {
    PropertiesHook() = std::move(dialog);
}

CIirPlot::CIirPlot(MenuBarKind menuBar, std::int32_t plotType, int contextMenu,
                   std::int32_t propertiesMask)
    : m_nPlotType(plotType), plot_(new IirPlotWidget(this)), menuBar_(menuBar),
      propertiesMask_(propertiesMask) {
    plot_->m_nContextMenu = contextMenu;
    plot_->m_bHasTitles = true;
    SetWidget(plot_);
}

CIirPlot::~CIirPlot() {
    // The widget goes later; it must not call back into a view that is gone.
    plot_->Detach();
}

double CIirPlot::FsValue() const {
    if (filter_ == nullptr) return 0.0;
    const double fs = filter_->fs.GetValue();
    return std::isfinite(fs) && fs > 0.0 ? fs : 0.0;
}

bool CIirPlot::IsPlotReady() const {
    return filter_ != nullptr && !filter_->IsEmpty() && FsValue() > 0.0;
}

int CIirPlot::GetAutoStyle() const {
    return plot_->m_xData.GetSize() <= kAutoStyleDotLimit ? kStyleLineAndDot : kStyleLine;
}

void CIirPlot::OnDrawDone() {
    plot_->ShowZoomStatus();
}

std::ptrdiff_t CIirPlot::HitTest(int x, int /*y*/, int& curve) {
    curve = 0;
    return plot_->m_xData.FindNearest(plot_->PixelToX(x));
}

void CIirPlot::ShowPointCursor(int curve, std::ptrdiff_t index) {
    plot_->BaseShowPointCursor(curve, index);
}

int CIirPlot::UpdateTitles(int xAxisPower) {
    plot_->m_strMainTitle = plot_->m_userTitles.main;
    plot_->m_strXTitle = plot_->m_userTitles.x;
    plot_->m_strYTitle = plot_->m_userTitles.y;
    return xAxisPower;
}

int CIirPlot::ApplyTitles(const PlotTitleTexts& titles) {
    plot_->m_strMainTitle = titles.main;
    plot_->m_strXTitle = titles.x;
    plot_->m_strYTitle = titles.y;
    return titles.exponent;
}

void CIirPlot::SetStatusText(const std::string& text) const {
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) doc->GetUi().SetStatusText(text);
}

void CIirPlot::BeginBusy(const std::string& text) const {
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
        doc->GetUi().SetStatusText(text);
        doc->GetUi().BeginBusy();
        ++busy_;
    }
}

void CIirPlot::EndBusy(const std::string& text) const {
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
        doc->GetUi().SetStatusText(text);
        // The zoom status ends every paint: only a wait this plot began is ended.
        if (busy_ > 0) {
            --busy_;
            doc->GetUi().EndBusy();
        }
    }
}

void CIirPlot::OnBind(std::int32_t hint) {
    if (m_nPlotType == kPlotNone) SetPlotType(hint::PlotType(hint));
}

bool CIirPlot::SetPlotType(std::int32_t plotType) {
    std::int32_t type = plotType;
    if (type == kPlotNone) {
        if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) type = doc->NextPendingPlotType();
    }
    type = NormalizePlotType(type);
    if (type == m_nPlotType) return false;
    m_nPlotType = type;
    ResetData();
    plot_->ResetZoom();
    plot_->Rebuild();
    return true;
}

void CIirPlot::OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* hintObject) {
    auto* filter = dynamic_cast<CIirFilter*>(hintObject);
    if (filter_ == nullptr && filter != nullptr) {
        filter_ = filter;
        OnBind(hint);
        ResetData();
        plot_->Rebuild();
    }
    const std::int32_t event = hint::Event(hint);
    if (filter != nullptr && filter == filter_ && !filter_->IsEmpty() && FsValue() <= 0.0) {
        // Nothing can be drawn against such a frequency: say why the plot is empty.
        SetStatusText("The sampling frequency must be greater than zero.");
    }
    if (filter != nullptr && filter == filter_ &&
        (event == hint::kDesignChanged || event == hint::kFsChanged)) {
        if ((hint & hint::kNoRescale) != 0) {
            ResetDataForEdit();
            plot_->Refresh();
        } else {
            ResetData();
            plot_->Rebuild();
        }
    }
}

std::optional<MenuBarKind> CIirPlot::FocusMenuBar() const {
    // Until there is a design to show, the plot's own menu has nothing to act on.
    if (filter_ == nullptr || filter_->IsEmpty()) return std::nullopt;
    return menuBar_;
}

bool CIirPlot::CanPrint() const {
    return IsPlotReady();
}

void CIirPlot::PrintPage(QPainter& painter, const QRect& page) {
    plot_->RenderPage(painter, page);
}

void CIirPlot::RunProperties() {
    PlotProperties properties;
    properties.autoTitles = plot_->m_bAutoTitles;
    properties.fullDecadeZoom = plot_->m_axes.m_bFullDecadeZoom;
    properties.originAtZero = plot_->m_bOriginAtZero;
    properties.legend = plot_->m_bLegend;
    properties.sampleLength = static_cast<std::uint32_t>(std::max(m_nSampleLength, 0));
    properties.enabledMask = propertiesMask_;
    if (!PropertiesHook() || !PropertiesHook()(plot_, properties)) return;
    plot_->m_bAutoTitles = properties.autoTitles;
    plot_->m_axes.m_bFullDecadeZoom = properties.fullDecadeZoom;
    plot_->m_bOriginAtZero = properties.originAtZero;
    plot_->m_bLegend = properties.legend;
    m_nSampleLength = static_cast<std::int32_t>(std::min<std::uint32_t>(
        properties.sampleLength, static_cast<std::uint32_t>(kMaxSampleLength)));
    OnPropertiesChanged();
}

bool CIirPlot::OnCommand(fw::CommandId id) {
    if (const std::optional<std::int32_t> kind = TypeCommandPaneKind(id)) {
        // The document may replace this very view: nothing of it is used after.
        if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) doc->SetPaneKind(*this, *kind);
        return true;
    }
    if (id == kIdPlotProperties) {
        if (IsPlotReady()) RunProperties();
        return true;
    }
    if (plot_->HandleCommand(id)) return true;
    return WidgetView::OnCommand(id);
}

bool CIirPlot::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (TypeCommandPaneKind(id)) {
        ui.Enable(TypeCommandEnabled(id, IsPlotReady(), IsDesignPane()));
        return true;
    }
    if (id == kIdPlotProperties) {
        ui.Enable(IsPlotReady());
        return true;
    }
    if (plot_->UpdateCommand(id, ui)) return true;
    return WidgetView::OnUpdateCommand(id, ui);
}

} // namespace tarvo
