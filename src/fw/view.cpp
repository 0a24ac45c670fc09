#include "fw/view.h"

#include "fw/document.h"

namespace fw {

View::~View() {
    if (document_ != nullptr) {
        document_->RemoveView(*this);
    }
}

void View::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

} // namespace fw
