#include "plot/zoom_list.h"

namespace tarvo {

void CZoomList::RemoveAll() {
    entries_.clear();
    current_ = 0;
    liveSaved_ = false;
}

int CZoomList::GetLevelCount() const {
    return static_cast<int>(entries_.size()) - (liveSaved_ ? 1 : 0);
}

int CZoomList::GetCurrentLevel() const {
    if (entries_.empty()) return 0;
    // Until the live view is saved it is the level after the last entry.
    return static_cast<int>(current_) + (liveSaved_ ? 0 : 1);
}

bool CZoomList::IsAtTop() const {
    return !entries_.empty() && current_ == 0 && liveSaved_;
}

bool CZoomList::IsAtBottom() const {
    return !entries_.empty() && (!liveSaved_ || current_ + 1 == entries_.size());
}

bool CZoomList::CanZoom(ZoomCommandKind command) const {
    if (entries_.empty()) return false;
    switch (command) {
    case ZoomCommandKind::kNext:
    case ZoomCommandKind::kOutOrBottom:
        return true;
    case ZoomCommandKind::kTop:
    case ZoomCommandKind::kOut:
        return !IsAtTop();
    case ZoomCommandKind::kIn:
    case ZoomCommandKind::kBottom:
        return !IsAtBottom();
    }
    return false;
}

std::size_t CZoomList::EntriesAfterPush() const {
    if (entries_.empty()) return 1;
    return current_ + 2 - (liveSaved_ ? 1 : 0);
}

void CZoomList::PushLevel(const CZoomData& state) {
    if (!entries_.empty()) {
        entries_.resize(current_ + 1);
        // The saved live view is a copy of what is shown; the new state replaces it.
        if (liveSaved_) entries_.pop_back();
    }
    entries_.push_back(state);
    current_ = entries_.size() - 1;
    liveSaved_ = false;
}

bool CZoomList::Navigate(ZoomCommandKind command, double& xFirst, double& xLast,
                         AxisSettings& xAxis, AxisSettings& yAxis) {
    if (entries_.empty()) return false;

    const std::size_t last = entries_.size() - 1;
    if (current_ != last || liveSaved_) {
        CZoomData& left = entries_[current_];
        if (left.m_dSavedXFirst == xFirst && left.m_dSavedXLast == xLast) {
            left.m_xAxis = xAxis;
            left.m_yAxis = yAxis;
        }
    } else {
        PushLevel(CZoomData{xFirst, xLast, xAxis, yAxis});
        liveSaved_ = true;
    }

    const std::size_t lastNow = entries_.size() - 1;
    if (command == ZoomCommandKind::kNext)
        command = current_ == lastNow ? ZoomCommandKind::kTop : ZoomCommandKind::kIn;
    else if (command == ZoomCommandKind::kOutOrBottom)
        command = current_ == 0 ? ZoomCommandKind::kBottom : ZoomCommandKind::kOut;

    // A move past either end stays on the end entry.
    switch (command) {
    case ZoomCommandKind::kIn:
        if (current_ < lastNow) ++current_;
        break;
    case ZoomCommandKind::kOut:
        if (current_ > 0) --current_;
        break;
    case ZoomCommandKind::kTop:
        current_ = 0;
        break;
    default:
        current_ = lastNow;
        break;
    }

    const CZoomData& shown = entries_[current_];
    xFirst = shown.m_dSavedXFirst;
    xLast = shown.m_dSavedXLast;
    xAxis = shown.m_xAxis;
    yAxis = shown.m_yAxis;
    return true;
}

} // namespace tarvo
