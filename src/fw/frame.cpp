#include "fw/frame.h"

#include "fw/document.h"
#include "fw/view.h"

#include <algorithm>

namespace fw {

Frame::~Frame() {
    active_ = nullptr;
    // Owned entries go from the last to the first.
    while (!views_.empty()) {
        views_.pop_back();
    }
}

View& Frame::AddView(std::unique_ptr<View> view, Document* doc) {
    View& v = *view;
    v.frame_ = this;
    views_.push_back(std::move(view));
    if (doc != nullptr) {
        doc->AddView(v);
    }
    if (active_ == nullptr) {
        active_ = &v;
    }
    return v;
}

void Frame::RemoveView(View& view) {
    const auto it =
        std::find_if(views_.begin(), views_.end(),
                     [&view](const std::unique_ptr<View>& v) { return v.get() == &view; });
    if (it == views_.end()) {
        return;
    }
    if (active_ == &view) {
        active_ = nullptr;
    }
    // Take it out of the list before it dies, so its destructor sees a consistent frame.
    std::unique_ptr<View> doomed = std::move(*it);
    views_.erase(it);
    doomed.reset();
    if (active_ == nullptr && !views_.empty()) {
        active_ = views_.front().get();
    }
}

std::vector<View*> Frame::Views() const {
    std::vector<View*> views;
    views.reserve(views_.size());
    for (const auto& v : views_) {
        views.push_back(v.get());
    }
    return views;
}

void Frame::SetActiveView(View* view) {
    if (view == nullptr || view->GetParentFrame() == this) {
        active_ = view;
    }
}

Document* Frame::GetActiveDocument() const {
    if (active_ != nullptr && active_->GetDocument() != nullptr) {
        return active_->GetDocument();
    }
    for (const auto& v : views_) {
        if (v->GetDocument() != nullptr) {
            return v->GetDocument();
        }
    }
    return nullptr;
}

void Frame::InitialUpdateFrame(bool makeVisible) {
    // A view's first update may add or remove views; go over a copy.
    for (View* v : Views()) {
        const bool stillHere =
            std::any_of(views_.begin(), views_.end(),
                        [v](const std::unique_ptr<View>& p) { return p.get() == v; });
        if (stillHere) {
            v->OnInitialUpdate();
        }
    }
    if (makeVisible) {
        ActivateFrame();
    }
}

} // namespace fw
