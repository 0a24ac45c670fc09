#include "views/pole_zero_plot.h"

#include "design/iir_filter.h"
#include "design/plot_texts.h"
#include "design/pole_zero_edit.h"
#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc/view_command_ids.h"
#include "views/freq_plot.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

namespace tarvo {
namespace {

// The box every pole-zero plot shows at least: the unit circle with a margin.
constexpr double kMinimumExtent = 1.1;

const QColor kQuantizedPoleColor(30, 144, 255);
const QColor kQuantizedZeroColor(50, 205, 50);
const QColor kPoleColor(0, 0, 255);
const QColor kZeroColor(0, 128, 0);
const QColor kPickColor(255, 0, 0);

std::complex<double> ToStd(const korin::mcplx& c) {
    return {c.real(), c.imag()};
}

std::optional<PoleZeroKey> ArrowKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return PoleZeroKey::kLeft;
    case Qt::Key_Right:
        return PoleZeroKey::kRight;
    case Qt::Key_Up:
        return PoleZeroKey::kUp;
    case Qt::Key_Down:
        return PoleZeroKey::kDown;
    default:
        return std::nullopt;
    }
}

} // namespace

CPoleZeroPlot::CPoleZeroPlot()
    : CIirPlot(MenuBarKind::kPoleZero, kPlotPoleZero, kPoleZeroContextMenu,
               kPropAutoTitles | kPropLegend) {
    IirPlotWidget* plot = Plot();
    plot->m_axes.m_bPolar = true;
    plot->m_bLegend = false;
    plot->setObjectName("poleZeroPlot");
    plot->setWhatsThis(QStringLiteral(
        "The poles (crosses) and zeros (circles) of the design in the z-plane. Click a root to "
        "pick it, drag it or move it with the arrow keys; M switches between polar and "
        "Cartesian key movement, Escape drops the pick. Ctrl+drag zooms."));
}

HelpTopic CPoleZeroPlot::Help() const {
    return HelpTopic::kPoleZero;
}

std::int32_t CPoleZeroPlot::NormalizePlotType(std::int32_t /*plotType*/) const {
    return kPlotPoleZero;
}

bool CPoleZeroPlot::IsConstrained() const {
    const CIirFilter* filter = Filter();
    const bool pole = filter == nullptr || filter->pickIsPole != 0;
    return pole ? m_bConstrainPoles : m_bConstrainZeros;
}

int CPoleZeroPlot::GetMarkerSize() const {
    return 2 * std::max(Plot()->ScreenLayout().dotRadius, 2);
}

int CPoleZeroPlot::GetCurveCount() const {
    const CIirFilter* filter = Filter();
    return filter != nullptr && !filter->qz.empty() && !filter->qp.empty() ? 4 : 2;
}

int CPoleZeroPlot::UpdateTitles(int xAxisPower) {
    if (!Plot()->m_bAutoTitles) return CIirPlot::UpdateTitles(xAxisPower);
    return ApplyTitles(PoleZeroPlotTitles(Filter()->FamilyName(), xAxisPower));
}

void CPoleZeroPlot::PrepareCurveColors() {
    CDataSet& curves = Plot()->m_curves;
    const std::size_t a = curves.GetCount() == 4 ? 2 : 0;
    if (a == 2) {
        curves.GetAt(0).m_crColor = MakePlotColor(30, 144, 255);
        curves.GetAt(0).m_strName = "Quantized Poles";
        curves.GetAt(1).m_crColor = MakePlotColor(50, 205, 50);
        curves.GetAt(1).m_strName = "Quantized Zeros";
    }
    if (curves.GetCount() >= a + 2) {
        curves.GetAt(a).m_crColor = MakePlotColor(0, 0, 255);
        curves.GetAt(a).m_strName = "Poles";
        curves.GetAt(a + 1).m_crColor = MakePlotColor(0, 128, 0);
        curves.GetAt(a + 1).m_strName = "Zeros";
    }
}

// The points are listed once per recompute, with what each one is, so that a
// read-out names the root's kind and Copy Data holds each root once.
void CPoleZeroPlot::ComputeCurves(int /*width*/, int /*height*/) {
    const CIirFilter& filter = *Filter();
    IirPlotWidget& plot = *Plot();
    plotted_.clear();
    const auto add = [&](const korin::mvect& roots, bool pole, bool quantized) {
        for (std::size_t i = 0; i < roots.size(); ++i) {
            plot.m_xData.Add(static_cast<double>(plotted_.size()));
            plot.m_curves.GetAt(0).Add(roots[i].real());
            plot.m_curves.GetAt(1).Add(roots[i].imag());
            plotted_.push_back({pole, quantized, i});
        }
    };
    if (plot.m_curves.GetCount() < 2) return;
    if (plot.m_curves.GetCount() == 4) {
        add(filter.qp, true, true);
        add(filter.qz, false, true);
    }
    add(filter.p, true, false);
    add(filter.z, false, false);
}

void CPoleZeroPlot::ComputeRanges() {
    const CIirFilter& filter = *Filter();
    double xLow = -kMinimumExtent;
    double xHigh = kMinimumExtent;
    double yLow = -kMinimumExtent;
    double yHigh = kMinimumExtent;
    const auto widen = [&](const korin::mvect& roots) {
        for (const korin::mcplx& r : roots) {
            if (!std::isfinite(r.real()) || !std::isfinite(r.imag())) continue;
            xLow = std::min(xLow, r.real());
            xHigh = std::max(xHigh, r.real());
            yLow = std::min(yLow, r.imag());
            yHigh = std::max(yHigh, r.imag());
        }
    };
    widen(filter.p);
    widen(filter.z);
    if (GetCurveCount() == 4) {
        widen(filter.qp);
        widen(filter.qz);
    }
    Plot()->SetAxisRanges(xLow, xHigh, yLow, yHigh);
}

std::optional<CPoleZeroPlot::NearRoot> CPoleZeroPlot::NearestRoot(QPoint pixel) const {
    const CIirFilter* filter = Filter();
    const IirPlotWidget& plot = *Plot();
    if (filter == nullptr || !plot.HasValidScale()) return std::nullopt;
    const PlotMap& map = plot.Map();
    std::optional<NearRoot> best;
    const auto search = [&](const korin::mvect& roots, bool pole) {
        for (std::size_t i = 0; i < roots.size(); ++i) {
            const std::optional<double> x = map.XToPixelF(roots[i].real());
            const std::optional<double> y = map.YToPixelF(roots[i].imag());
            if (!x || !y) continue;
            const double d = std::hypot(*x - pixel.x(), *y - pixel.y());
            if (!best || d < best->distance) best = NearRoot{pole, i, d};
        }
    };
    search(filter->p, true);
    search(filter->z, false);
    return best;
}

std::ptrdiff_t CPoleZeroPlot::HitTest(int x, int y, int& curve) {
    curve = 0;
    // Only the design's own roots are picked, and only near the pointer.
    const std::optional<NearRoot> near = NearestRoot(QPoint(x, y));
    if (!near || near->distance > 4.0 * GetMarkerSize()) return -1;
    for (std::size_t i = 0; i < plotted_.size(); ++i) {
        const PlottedRoot& r = plotted_[i];
        if (!r.quantized && r.pole == near->pole && r.index == near->index) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

bool CPoleZeroPlot::PickRoot(bool pole, std::size_t index) {
    CIirFilter* filter = MutableFilter();
    const korin::mvect& roots = pole ? filter->p : filter->z;
    if (index >= roots.size()) return false;
    if (!filter->FindNearest(roots[index], 1e-4)) return false;
    m_bPickBelowAxis = filter->Pick()->imag() <= 0.0;
    return true;
}

void CPoleZeroPlot::ShowPointCursor(int /*curve*/, std::ptrdiff_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= plotted_.size()) return;
    const PlottedRoot& r = plotted_[static_cast<std::size_t>(index)];
    if (r.quantized || !PickRoot(r.pole, r.index)) return;
    PickChanged();
}

void CPoleZeroPlot::OnPointPicked(std::ptrdiff_t index) {
    const auto i = static_cast<std::size_t>(index);
    const CDataSet& curves = Plot()->m_curves;
    if (i >= plotted_.size() || curves.GetCount() < 2 || i >= curves.GetRowCount()) return;
    SetStatusText(
        FormatRootStatus(plotted_[i].pole, {curves.GetAt(0)[i], curves.GetAt(1)[i]}, Filter()->fs));
}

void CPoleZeroPlot::OnDrawDone() {
    // While a root is picked, the status bar keeps telling where it is.
    const CIirFilter* filter = Filter();
    if (filter != nullptr && filter->Pick() != nullptr) {
        ShowPickStatus();
    } else {
        CIirPlot::OnDrawDone();
    }
}

void CPoleZeroPlot::ShowPickStatus() const {
    const CIirFilter* filter = Filter();
    if (filter == nullptr || filter->Pick() == nullptr) return;
    SetStatusText(FormatRootStatus(filter->pickIsPole != 0, ToStd(*filter->Pick()), filter->fs));
}

// Every view that shows the pick redraws it: the other pole-zero views and the
// frequency plots' markers.
void CPoleZeroPlot::PickChanged() {
    Plot()->Rebuild();
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
        doc->UpdateAllViews(this, hint::kPickDraw, MutableFilter());
    }
}

void CPoleZeroPlot::Deselect() {
    if (CIirFilter* filter = MutableFilter(); filter != nullptr) filter->ClearPick();
    m_bDragging = false;
    dragStarted_ = false;
    m_prevPick.reset();
    PickChanged();
}

void CPoleZeroPlot::EndDrag() {
    if (!m_bDragging) return;
    m_bDragging = false;
    dragStarted_ = false;
    // A drag that moved becomes one undo step; one that did not records nothing.
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr)
        doc->RecordPendingChange(hint::kNoRescale);
    Plot()->Rebuild();
}

void CPoleZeroPlot::MoveTo(double re, double im) {
    CIirFilter* filter = MutableFilter();
    if (filter == nullptr || filter->Pick() == nullptr) return;
    const MoveOutcome outcome = MovePickTo(*filter, {re, im});
    if (outcome.result == MoveResult::kRefused) {
        SetStatusText("The root cannot go there: the filter would have no finite coefficients.");
        return;
    }
    if (outcome.result != MoveResult::kMoved) return;
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr)
        doc->OnFilterChanged(false, hint::kNoRescale);
    if (!outcome.renormalized) {
        SetStatusText(
            "Gain kept: the response vanishes or grows without bound at the reference frequency.");
    } else {
        ShowPickStatus();
    }
}

bool CPoleZeroPlot::OnMousePress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return false;
    IirPlotWidget& plot = *Plot();
    if (!IsPlotReady() || !plot.HasValidScale()) return true;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = (mods & Qt::ControlModifier) != 0;
    const bool shift = (mods & Qt::ShiftModifier) != 0;
    if (ctrl && !shift) return false; // Ctrl+drag is the zoom's rubber band
    CIirFilter* filter = MutableFilter();
    m_ptDown = event->position().toPoint();
    filter->dragMoved = 0;
    m_prevPick.reset();
    if (filter->Pick() != nullptr)
        m_prevPick = std::make_pair(filter->pickIsPole != 0, filter->PickIndex());
    const std::optional<NearRoot> near = NearestRoot(m_ptDown);
    if (near && PickRoot(near->pole, near->index)) {
        if ((shift && ctrl) || near->distance < 4.0 * GetMarkerSize()) {
            m_bDragging = true;
            dragStarted_ = false;
            PickChanged();
        } else {
            Deselect();
        }
        ShowPickStatus();
    }
    return m_bDragging;
}

bool CPoleZeroPlot::OnMouseMove(QMouseEvent* event) {
    if (!m_bDragging) return false;
    if ((event->buttons() & Qt::LeftButton) == 0) {
        EndDrag();
        return true;
    }
    const QPoint at = event->position().toPoint();
    // A click with a little tremor is still a click.
    if (!dragStarted_ &&
        (at - m_ptDown).manhattanLength() < QApplication::styleHints()->startDragDistance()) {
        return true;
    }
    dragStarted_ = true;
    const IirPlotWidget& plot = *Plot();
    const CIirFilter* filter = Filter();
    const std::complex<double> p = ConstrainPoint({plot.PixelToX(at.x()), plot.PixelToY(at.y())},
                                                  filter->pickIsPole != 0, IsConstrained());
    MoveTo(p.real(), p.imag());
    return true;
}

bool CPoleZeroPlot::OnMouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bDragging) return false;
    CIirFilter* filter = MutableFilter();
    if (filter->dragMoved != 0) {
        EndDrag();
    } else {
        m_bDragging = false;
        // A second click on the picked root drops the pick.
        const bool same = filter->Pick() != nullptr && m_prevPick &&
                          m_prevPick->first == (filter->pickIsPole != 0) &&
                          m_prevPick->second == filter->PickIndex();
        if (same) filter->ClearPick();
        PickChanged();
    }
    ShowPickStatus();
    return true;
}

bool CPoleZeroPlot::OnKeyPress(QKeyEvent* event) {
    if (!IsPlotReady()) return false;
    CIirFilter* filter = MutableFilter();
    if (event->key() == Qt::Key_Escape) {
        if (m_bDragging) EndDrag();
        if (keyBurst_) OnKeyRelease(nullptr);
        Deselect();
        return true;
    }
    if (event->key() == Qt::Key_M) {
        m_bPolarKeys = !m_bPolarKeys;
        Plot()->Rebuild();
        SetStatusText(m_bPolarKeys ? "Polar pole-zero arrow movement mode"
                                   : "Cartesian pole-zero arrow movement mode");
        return true;
    }
    const std::optional<PoleZeroKey> key = ArrowKey(event->key());
    if (!key || filter->Pick() == nullptr) return false;
    const PlotAxes& axes = Plot()->m_axes;
    const KeyStep step =
        ArrowKeyStep(ToStd(*filter->Pick()), *key, m_bPolarKeys, m_bPickBelowAxis,
                     filter->Partner() != nullptr, filter->pickIsPole != 0, IsConstrained(),
                     axes.x.last - axes.x.first, axes.y.last - axes.y.first);
    if (!step.target) {
        if (!step.status.empty()) SetStatusText(step.status);
        return true;
    }
    keyBurst_ = true;
    MoveTo(step.target->real(), step.target->imag());
    return true;
}

bool CPoleZeroPlot::OnKeyRelease(QKeyEvent* event) {
    // Auto-repeat sends releases too: a burst ends with the key's real release.
    if (event != nullptr && event->isAutoRepeat()) return true;
    if (!keyBurst_) return false;
    keyBurst_ = false;
    if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr)
        doc->RecordPendingChange(hint::kNoRescale);
    return true;
}

void CPoleZeroPlot::OnInputLost() {
    EndDrag();
    if (keyBurst_) OnKeyRelease(nullptr);
}

void CPoleZeroPlot::OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) {
    const std::int32_t event = hint::Event(hint);
    if (event == hint::kPoleZero) {
        if (IsBound() && hintObject == Filter()) Plot()->Rebuild();
        return;
    }
    // A change that is not this edit's own (an Undo, a new design) ends the drag.
    if (hintObject == Filter() && (event == hint::kDesignChanged || event == hint::kFsChanged) &&
        (hint & hint::kNoRescale) == 0) {
        m_bDragging = false;
        dragStarted_ = false;
        keyBurst_ = false;
    }
    CIirPlot::OnUpdate(sender, hint, hintObject);
}

bool CPoleZeroPlot::OnCommand(fw::CommandId id) {
    if (id == kIdPoleZeroPolarMode) {
        m_bPolarKeys = !m_bPolarKeys;
        Plot()->Rebuild();
        return true;
    }
    if (id == kIdPoleZeroConstrainPoles || id == kIdPoleZeroConstrainZeros) {
        bool& flag = id == kIdPoleZeroConstrainPoles ? m_bConstrainPoles : m_bConstrainZeros;
        flag = !flag;
        Plot()->Rebuild();
        return true;
    }
    return CIirPlot::OnCommand(id);
}

bool CPoleZeroPlot::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (id == kIdPoleZeroPolarMode || id == kIdPoleZeroConstrainPoles ||
        id == kIdPoleZeroConstrainZeros) {
        ui.Enable(true);
        ui.SetCheck(id == kIdPoleZeroPolarMode        ? m_bPolarKeys
                    : id == kIdPoleZeroConstrainPoles ? m_bConstrainPoles
                                                      : m_bConstrainZeros);
        return true;
    }
    return CIirPlot::OnUpdateCommand(id, ui);
}

void CPoleZeroPlot::DrawCustomCurves(QPainter& painter, const PlotLayout& layout) const {
    const CIirFilter& filter = *Filter();
    const PlotMap& map = layout.map;
    const int r = 2 * std::max(layout.dotRadius, 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);

    // The unit circle: solid while the pick's kind is kept inside it.
    const auto point = [&](double re, double im) -> std::optional<QPointF> {
        const std::optional<double> x = map.XToPixelF(re);
        const std::optional<double> y = map.YToPixelF(im);
        if (!x || !y) return std::nullopt;
        return QPointF(*x + 0.5, *y + 0.5);
    };
    const auto circle = [&](double radius) {
        const std::optional<QPointF> a = point(-radius, radius);
        const std::optional<QPointF> b = point(radius, -radius);
        if (a && b) painter.drawEllipse(QRectF(*a, *b));
    };
    QPen circlePen(Qt::black, 1, IsConstrained() ? Qt::SolidLine : Qt::DotLine);
    circlePen.setCosmetic(true);
    painter.setPen(circlePen);
    circle(1.0);

    const auto roots = [&](const korin::mvect& values, const QColor& colour, bool pole) {
        painter.setPen(QPen(colour, 2));
        for (const korin::mcplx& v : values) {
            if (const std::optional<QPointF> at = point(v.real(), v.imag())) {
                DrawRootMarker(painter, at->x(), at->y(), r, pole);
            }
        }
    };
    if (GetCurveCount() == 4) {
        roots(filter.qp, kQuantizedPoleColor, true);
        roots(filter.qz, kQuantizedZeroColor, false);
    }
    roots(filter.p, kPoleColor, true);
    roots(filter.z, kZeroColor, false);

    // The pick, its partner and the guides of the key movement.
    const korin::mcplx* pick = filter.Pick();
    if (pick != nullptr && std::isfinite(pick->real()) && std::isfinite(pick->imag())) {
        const korin::mcplx* partner = filter.Partner();
        QPen guide(kPickColor, 1, Qt::DotLine);
        guide.setCosmetic(true);
        painter.setPen(guide);
        const double re = pick->real();
        const double im = pick->imag();
        const PlotAxes& axes = Plot()->m_axes;
        if (m_bPolarKeys) {
            if (partner != nullptr) circle(std::hypot(re, im));
            const double theta = std::atan2(im, re);
            const std::optional<QPointF> o = point(0.0, 0.0);
            const std::optional<QPointF> e = point(std::cos(theta), std::sin(theta));
            if (o && e) painter.drawLine(*o, *e);
        } else {
            // Within the circle when constrained; the extent never takes a root
            // beyond the circle to a square root of a negative number.
            const bool constrained = IsConstrained();
            const double yExtent = std::sqrt(std::max(0.0, 1.0 - re * re));
            const double xExtent = std::sqrt(std::max(0.0, 1.0 - im * im));
            const std::optional<QPointF> v1 = point(re, constrained ? yExtent : axes.y.last);
            const std::optional<QPointF> v2 = point(re, constrained ? -yExtent : axes.y.first);
            if (v1 && v2) painter.drawLine(*v1, *v2);
            if (partner != nullptr) {
                const std::optional<QPointF> h1 = point(constrained ? xExtent : axes.x.last, im);
                const std::optional<QPointF> h2 = point(constrained ? -xExtent : axes.x.first, im);
                if (h1 && h2) painter.drawLine(*h1, *h2);
            }
        }
        korin::mvect marked;
        marked.push_back(*pick);
        if (partner != nullptr) marked.push_back(*partner);
        roots(marked, kPickColor, filter.pickIsPole != 0);
    }
    painter.restore();
}

} // namespace tarvo
