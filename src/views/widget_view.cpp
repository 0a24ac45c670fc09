#include "views/widget_view.h"

#include "doc/design_frame.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "fw/command_ids.h"
#include "views/print_service.h"

#include <QHash>

namespace tarvo {
namespace {

// Widgets of live views; a widget leaves it before its bridge dies.
QHash<const QWidget*, WidgetView*>& Registry() {
    static QHash<const QWidget*, WidgetView*> registry;
    return registry;
}

} // namespace

FilterUpdate ReadFilterUpdate(CIirFilter*& bound, std::int32_t hint, fw::Object* hintObject) {
    auto* filter = dynamic_cast<CIirFilter*>(hintObject);
    if (bound == nullptr) {
        if (filter == nullptr) return FilterUpdate::kNone;
        bound = filter;
        return FilterUpdate::kBound;
    }
    const std::int32_t event = hint::Event(hint);
    return filter == bound && (event == hint::kDesignChanged || event == hint::kFsChanged)
               ? FilterUpdate::kChanged
               : FilterUpdate::kNone;
}

WidgetView::~WidgetView() {
    if (widget_ != nullptr) {
        Registry().remove(widget_.data());
        widget_->hide();
        widget_->deleteLater();
    }
}

void WidgetView::SetWidget(QWidget* widget) {
    widget_ = widget;
    Registry().insert(widget, this);
    // A widget Qt deletes first (with its window) must not stay findable.
    QObject::connect(widget, &QObject::destroyed, [widget] { Registry().remove(widget); });
}

WidgetView* WidgetView::FromWidget(const QWidget* w) {
    for (; w != nullptr; w = w->parentWidget()) {
        if (auto it = Registry().constFind(w); it != Registry().constEnd()) return it.value();
    }
    return nullptr;
}

CTarvoIirDoc* WidgetView::GetIirDocument() const {
    return dynamic_cast<CTarvoIirDoc*>(GetDocument());
}

bool WidgetView::OnCommand(fw::CommandId id) {
    if (id != fw::kIdFilePrint && id != fw::kIdFilePrintPreview) return false;
    PrintService* service = PrintService::Current();
    if (service == nullptr || !CanPrint()) return false;
    const auto paint = [this](QPainter& painter, const QRect& page) { PrintPage(painter, page); };
    if (id == fw::kIdFilePrint) {
        service->Print(Widget(), paint);
    } else {
        service->Preview(Widget(), paint);
    }
    return true;
}

bool WidgetView::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (id != fw::kIdFilePrint && id != fw::kIdFilePrintPreview) return false;
    ui.Enable(CanPrint() && PrintService::Current() != nullptr);
    return true;
}

bool WidgetView::IsDesignPane() const {
    const CTarvoIirDoc* doc = GetIirDocument();
    if (doc == nullptr) return false;
    const DesignFrame* frame = doc->FindDesignFrame();
    return frame != nullptr && frame->PaneIndexOf(*this).has_value();
}

} // namespace tarvo
