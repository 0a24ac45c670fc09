#include "doc/layout_record.h"

#include "doc/app_options.h"
#include "fw/archive.h"
#include "korin/base/kassert.h"

namespace tarvo {

namespace {

constexpr std::size_t kKindBytes = 4;

bool ValidIndex(std::int32_t index) {
    return index >= 0 && index < LayoutRecord::kMaxPanes;
}

} // namespace

std::int32_t LayoutRecord::PaneKind(std::int32_t index) const {
    if (!KORIN_ASSERT(ValidIndex(index))) return 0;
    return kinds_[static_cast<std::size_t>(index)];
}

void LayoutRecord::SetPaneKind(std::int32_t index, std::int32_t kind) {
    if (!KORIN_ASSERT(ValidIndex(index))) return;
    kinds_[static_cast<std::size_t>(index)] = kind;
    if (count_ <= index) count_ = index + 1;
}

void LayoutRecord::AppendPane(std::int32_t kind) {
    if (count_ >= kMaxPanes) return;
    kinds_[static_cast<std::size_t>(count_)] = kind;
    ++count_;
}

void LayoutRecord::Serialize(fw::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteI32(count_);
        for (std::int32_t i = 0; i < count_; ++i) {
            ar.WriteI32(kinds_[static_cast<std::size_t>(i)]);
        }
        return;
    }
    const std::int32_t n = ar.ReadCount(kKindBytes, kMaxPanes);
    for (std::int32_t i = 0; i < n; ++i) {
        kinds_[static_cast<std::size_t>(i)] = ar.ReadI32();
    }
    count_ = n;
}

LayoutRecord LayoutRecord::FromOptions(const AppOptions& options) {
    LayoutRecord r;
    r.Clear();
    r.AppendPane(options.m_vsLeft1);
    r.AppendPane(options.m_vsLeft2);
    r.AppendPane(options.m_vsRight1);
    r.AppendPane(options.m_vsRight2);
    r.AppendPane(options.m_vsRight3);
    r.SetMinimizeBottomRow(options.m_bMinimizeBottomRow != 0);
    return r;
}

} // namespace tarvo
