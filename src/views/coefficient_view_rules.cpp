#include "views/coefficient_view_rules.h"

#include "doc/pane_kind.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"

namespace tarvo {

std::optional<std::int32_t> TypeCommandPaneKind(fw::CommandId id) {
    switch (id) {
    case kIdTypeMagnitude:
        return kPaneMagnitude;
    case kIdTypeUnwrappedPhase:
        return kPaneUnwrappedPhase;
    case kIdTypePhase:
        return kPanePhase;
    case kIdTypeGroupDelay:
        return kPaneGroupDelay;
    case kIdTypePhaseDelay:
        return kPanePhaseDelay;
    case kIdTypeImpulse:
        return kPaneImpulse;
    case kIdTypeStep:
        return kPaneStep;
    case kIdTypeImpulseAndStep:
        return kPaneImpulseAndStep;
    case kIdTypePolesAndZeros:
        return kPanePoleZero;
    case kIdTypeData:
        return kPaneCoefficients;
    default:
        return std::nullopt;
    }
}

bool TypeCommandEnabled(fw::CommandId id, bool designed, bool inDesignPane) {
    if (!inDesignPane || !TypeCommandPaneKind(id)) return false;
    return id == kIdTypePolesAndZeros || designed;
}

std::optional<bool> EditCommandEnabled(fw::CommandId id, const TextEditState& state) {
    switch (id) {
    case fw::kIdEditCut:
    case fw::kIdEditCopy:
    case fw::kIdEditClear:
        return state.hasSelection;
    case fw::kIdEditPaste:
        return state.canPaste;
    case fw::kIdEditSelectAll:
    case fw::kIdEditFind:
    case fw::kIdEditReplace:
        return state.hasText;
    case fw::kIdEditRepeat:
        return state.hasText && state.hasSearch;
    case fw::kIdEditUndo:
        return state.canUndo;
    default:
        return std::nullopt;
    }
}

std::string CannotFindMessage(std::string_view what) {
    return "Cannot find \"" + std::string(what) + "\".";
}

} // namespace tarvo
