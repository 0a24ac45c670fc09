#include "app/frames.h"

#include "app/frame_windows.h"
#include "doc/app_options.h"
#include "doc/pane_kind.h"
#include "doc/pane_layout.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/command_ids.h"
#include "views/pane_views.h"

#include <QApplication>
#include <QHash>
#include <QMainWindow>
#include <QMdiArea>
#include <QScreen>
#include <QSplitter>

namespace tarvo {
namespace {

QHash<const QWidget*, fw::Frame*>& Registry() {
    static QHash<const QWidget*, fw::Frame*> registry;
    return registry;
}

void ShowInArea(QMdiArea* area, MdiFrameWindow* window, QSize size) {
    if (window->mdiArea() == nullptr) area->addSubWindow(window);
    if (size.isValid()) window->resize(size);
    window->show();
}

void Focus(QWidget* window) {
    if (QWidget* w = window->focusWidget(); w != nullptr) {
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The first control of the window that takes the focus: the design form,
    // or the window's one view.
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (window->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) != 0 &&
            w->isVisibleTo(window)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    window->setFocus(Qt::OtherFocusReason);
}

// The class a pane kind needs, for comparing with the view a pane holds.
bool HoldsClassFor(const WidgetView* view, std::int32_t kind) {
    switch (PaneViewFor(kind)) {
    case PaneView::kCoefficients:
        return dynamic_cast<const CIirDataView*>(view) != nullptr;
    case PaneView::kFrequencyPlot:
        return dynamic_cast<const CIirFreqPlot*>(view) != nullptr;
    case PaneView::kPoleZeroPlot:
        return dynamic_cast<const CPoleZeroPlot*>(view) != nullptr;
    case PaneView::kTimePlot:
        return dynamic_cast<const CIirTimePlot*>(view) != nullptr;
    }
    return false;
}

std::unique_ptr<WidgetView> MakePaneView(std::int32_t kind) {
    const std::int32_t plotType = PanePlotType(kind);
    switch (PaneViewFor(kind)) {
    case PaneView::kCoefficients:
        return std::make_unique<CIirDataView>();
    case PaneView::kFrequencyPlot:
        return std::make_unique<CIirFreqPlot>(plotType);
    case PaneView::kPoleZeroPlot:
        return std::make_unique<CPoleZeroPlot>();
    case PaneView::kTimePlot:
        return std::make_unique<CIirTimePlot>(plotType);
    }
    return std::make_unique<CIirFreqPlot>(plotType);
}

QSplitter* MakeSplitter(Qt::Orientation orientation, QWidget* parent) {
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setChildrenCollapsible(true);
    splitter->setHandleWidth(5);
    return splitter;
}

QList<int> Sizes(std::span<const int> values) {
    return {values.begin(), values.end()};
}

} // namespace

// ---- ShellFrame

fw::Frame* ShellFrame::FrameOf(const QWidget* w) {
    for (; w != nullptr; w = w->parentWidget()) {
        if (auto it = Registry().constFind(w); it != Registry().constEnd()) return it.value();
    }
    return nullptr;
}

void ShellFrame::Register(QWidget* window, fw::Frame* frame) {
    Registry().insert(window, frame);
    QObject::connect(window, &QObject::destroyed, [window] { Registry().remove(window); });
}

void ShellFrame::Unregister(QWidget* window) {
    Registry().remove(window);
}

void ShellFrame::Dispose(QWidget* window) {
    // Out of sight at once, deleted once control is back in the event loop (the
    // close may come from one of the window's own handlers).
    window->hide();
    window->deleteLater();
}

void ShellFrame::SetTitle(const QString& title, bool modified) {
    QWidget* window = Window();
    if (window == nullptr) return;
    window->setWindowTitle(title + QStringLiteral("[*]"));
    window->setWindowModified(modified);
}

// ---- CIirChildFrame

CIirChildFrame::CIirChildFrame(FrameServices& services)
    : services_(services), window_(new MdiFrameWindow) {
    Register(window_, this);
    window_->SetCloseRequest([this] { services_.RequestCloseFrame(*this); });
}

CIirChildFrame::CIirChildFrame(FrameServices& services, std::unique_ptr<WidgetView> view,
                               fw::Document& doc)
    : CIirChildFrame(services) {
    WidgetView& v = static_cast<WidgetView&>(AddView(std::move(view), &doc));
    window_->setWidget(v.Widget());
}

CIirChildFrame::~CIirChildFrame() {
    if (window_ != nullptr) window_->SetStateChanged({});
    ReleaseWindow(window_);
}

QWidget* CIirChildFrame::Window() const {
    return window_;
}

QSize CIirChildFrame::InitialSize(QSize areaSize) const {
    return {std::max(areaSize.width() * 2 / 3, 300), std::max(areaSize.height() * 2 / 3, 200)};
}

void CIirChildFrame::ActivateFrame() {
    if (window_ == nullptr) return;
    QMdiArea* area = services_.MdiArea();
    if (!shown_) {
        shown_ = true;
        // Cascade from the top left, so that a new window is seen whole.
        const QSize client = area->viewport()->size();
        const int step = 28 * static_cast<int>(area->subWindowList().size() % 8);
        const QSize wanted = InitialSize(client);
        ShowInArea(area, window_,
                   QSize(std::max(std::min(wanted.width(), client.width() - step), 100),
                         std::max(std::min(wanted.height(), client.height() - step), 100)));
        window_->move(step, step);
    } else if (window_->isMinimized()) {
        window_->showNormal();
    }
    area->setActiveSubWindow(window_);
    Focus(window_);
    services_.FrameActivated(*this);
}

// ---- CIirSplitFrame

CIirSplitFrame::CIirSplitFrame(FrameServices& services, CTarvoIirDoc& doc)
    : services_(services), doc_(doc), window_(new MdiFrameWindow) {
    Register(window_, this);
    window_->SetCloseRequest([this] { services_.RequestCloseFrame(*this); });

    main_ = MakeSplitter(Qt::Horizontal, nullptr);
    main_->setObjectName("mainSplitter");
    main_->setFrameStyle(QFrame::NoFrame);
    left_ = MakeSplitter(Qt::Vertical, main_);
    left_->setObjectName("leftSplitter");
    leftLower_ = MakeSplitter(Qt::Vertical, left_);
    leftLower_->setObjectName("leftLowerSplitter");
    right_ = MakeSplitter(Qt::Vertical, main_);
    right_->setObjectName("rightSplitter");
    for (QSplitter* nested : {left_, leftLower_, right_}) {
        nested->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }

    form_ = &static_cast<WidgetView&>(AddView(std::make_unique<CIirEditor>(), &doc));
    left_->insertWidget(0, form_->Widget());
    left_->addWidget(leftLower_);
    left_->setCollapsible(0, false);
    main_->addWidget(left_);
    main_->addWidget(right_);
    window_->setWidget(main_);
    Layout(false);
}

CIirSplitFrame::~CIirSplitFrame() {
    ReleaseWindow(window_);
}

QWidget* CIirSplitFrame::Window() const {
    return window_;
}

void CIirSplitFrame::ActivateFrame() {
    if (window_ == nullptr) return;
    QMdiArea* area = services_.MdiArea();
    if (!shown_) {
        shown_ = true;
        // The whole client area of the main window, less a small margin.
        const QSize client = area->viewport()->size();
        ShowInArea(area, window_,
                   QSize(std::max(client.width() - 10, 100), std::max(client.height() - 10, 100)));
        window_->move(0, 0);
        ApplySizes();
    } else if (window_->isMinimized()) {
        window_->showNormal();
    }
    area->setActiveSubWindow(window_);
    Focus(window_);
    services_.FrameActivated(*this);
}

std::optional<std::int32_t> CIirSplitFrame::PaneIndexOf(const fw::View& view) const {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i] == &view) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

WidgetView* CIirSplitFrame::PaneView(int index) const {
    if (index < 0) return form_;
    return index < static_cast<int>(panes_.size()) ? panes_[static_cast<std::size_t>(index)]
                                                   : nullptr;
}

void CIirSplitFrame::LayoutPanes() {
    Layout(true);
}

void CIirSplitFrame::Layout(bool replace) {
    const LayoutRecord& record = doc_.GetLayout(0);
    for (int i = 0; i < static_cast<int>(panes_.size()); ++i) {
        const std::int32_t kind = record.PaneKind(i);
        WidgetView*& slot = panes_[static_cast<std::size_t>(i)];
        QSplitter* splitter = i < 2 ? leftLower_ : right_;
        const int row = i < 2 ? i : i - 2;
        if (replace && slot != nullptr && HoldsClassFor(slot, kind)) {
            // Same class: the view stays and shows the new plot type at once.
            if (auto* plot = dynamic_cast<CIirPlot*>(slot); plot != nullptr) {
                plot->SetPlotType(PanePlotType(kind));
            }
            continue;
        }
        WidgetView* old = slot;
        slot = &static_cast<WidgetView&>(AddView(MakePaneView(kind), &doc_));
        if (old != nullptr) {
            splitter->replaceWidget(row, slot->Widget());
            RemoveView(*old);
        } else {
            splitter->insertWidget(row, slot->Widget());
        }
    }
    if (shown_) ApplySizes();
}

void CIirSplitFrame::ApplySizes() {
    if (window_ == nullptr) return;
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QSize client = main_->size();
    const QSize form = form_->Widget()->sizeHint();
    const PaneLayoutSizes s =
        ComputePaneLayout(client.width(), client.height(), form.width(), form.height(),
                          doc_.GetLayout(0).MinimizeBottomRow());
    main_->setSizes(Sizes(s.columns));
    left_->setSizes(Sizes(s.leftRows));
    leftLower_->setSizes(Sizes(s.leftLowerRows));
    right_->setSizes(Sizes(s.rightRows));
}

void CIirSplitFrame::MoveFocus(int step) {
    // Form, then panes 0 to 4; collapsed panes are passed over.
    std::array<WidgetView*, 6> order{form_, panes_[0], panes_[1], panes_[2], panes_[3], panes_[4]};
    const fw::View* active = GetActiveView();
    int at = 0;
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        if (order[static_cast<std::size_t>(i)] == active) at = i;
    }
    const int n = static_cast<int>(order.size());
    for (int k = 1; k <= n; ++k) {
        WidgetView* next = order[static_cast<std::size_t>(((at + step * k) % n + n) % n)];
        QWidget* w = next != nullptr ? next->Widget() : nullptr;
        if (w != nullptr && w->isVisible() && w->width() > 0 && w->height() > 0) {
            SetActiveView(next);
            w->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool CIirSplitFrame::OnCommand(fw::CommandId id) {
    if (id == fw::kIdNextPane || id == fw::kIdPrevPane) {
        MoveFocus(id == fw::kIdNextPane ? 1 : -1);
        return true;
    }
    return DesignFrame::OnCommand(id);
}

bool CIirSplitFrame::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (id == fw::kIdNextPane || id == fw::kIdPrevPane) {
        ui.Enable(true);
        return true;
    }
    return DesignFrame::OnUpdateCommand(id, ui);
}

// ---- CMultiPlotFrame

CMultiPlotFrame::CMultiPlotFrame(FrameServices& services, CTarvoIirDoc& doc)
    : CIirChildFrame(services) {
    column_ = MakeSplitter(Qt::Vertical, nullptr);
    column_->setObjectName("plotColumn");
    // A window opened without a pending list still shows one plot.
    const int rows = std::max(1, doc.PendingPlotTypeCount());
    for (int i = 0; i < rows; ++i) {
        WidgetView& v = static_cast<WidgetView&>(AddView(std::make_unique<CIirFreqPlot>(), &doc));
        v.Widget()->setMinimumHeight(125);
        column_->addWidget(v.Widget());
        column_->setCollapsible(i, false);
    }
    SubWindow()->setWidget(column_);
    SubWindow()->SetStateChanged([this] { OnWindowState(); });
}

void CMultiPlotFrame::OnWindowState() {
    const bool maximized = SubWindow()->isMaximized();
    if (maximized && !wasMaximized_ && column_->count() >= 2) {
        const int half = std::max(column_->height() / 2, 125);
        QList<int> sizes = column_->sizes();
        sizes[0] = half;
        sizes[1] = half;
        column_->setSizes(sizes);
    }
    wasMaximized_ = maximized;
}

// ---- CTopLevelFrame

CTopLevelFrame::CTopLevelFrame(FrameServices& services, std::unique_ptr<WidgetView> view,
                               fw::Document& doc, MenuBarKind menuBar)
    : services_(services), window_(new TopLevelFrameWindow(services.MainWindow())),
      poleZero_(menuBar == MenuBarKind::kPoleZero) {
    Register(window_, this);
    window_->SetCloseRequest([this] { services_.RequestCloseFrame(*this); });
    WidgetView& v = static_cast<WidgetView&>(AddView(std::move(view), &doc));
    window_->setCentralWidget(v.Widget());
    services_.PrepareTopLevelWindow(*window_, menuBar);
}

CTopLevelFrame::~CTopLevelFrame() {
    ReleaseWindow(window_);
}

QWidget* CTopLevelFrame::Window() const {
    return window_;
}

void CTopLevelFrame::ActivateFrame() {
    if (window_ == nullptr) return;
    if (!shown_) {
        shown_ = true;
        const QScreen* screen = services_.MainWindow()->screen();
        const QRect available =
            screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
        // The pole-zero window is square, half the screen wide, but never taller
        // than the screen.
        const int side = std::min(available.width() / 2, available.height() * 9 / 10);
        const QSize size = poleZero_ ? QSize(side, side)
                                     : QSize(available.width() * 2 / 5, available.width() * 3 / 10);
        window_->resize(size);
    }
    window_->show();
    if (window_->isMinimized()) window_->showNormal();
    window_->raise();
    window_->activateWindow();
    Focus(window_);
    services_.FrameActivated(*this);
}

} // namespace tarvo
