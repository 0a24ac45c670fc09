#include "doc/pending_plot_types.h"

namespace tarvo {

std::int32_t PendingPlotTypes::Next() {
    if (next_ == nullptr) return 0;
    const std::int32_t type = *next_;
    if (type != 0) ++next_;
    return type;
}

std::int32_t PendingPlotTypes::Count() const {
    std::int32_t n = 0;
    if (next_ != nullptr) {
        while (next_[n] != 0)
            ++n;
    }
    return n;
}

} // namespace tarvo
