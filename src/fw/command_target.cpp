#include "fw/command_target.h"

namespace fw {

bool CommandTarget::OnCommand(CommandId /*id*/) {
    return false;
}

bool CommandTarget::OnUpdateCommand(CommandId /*id*/, CmdUI& /*ui*/) {
    return false;
}

CmdUI UpdateCommand(std::span<CommandTarget* const> chain, CommandId id) {
    for (CommandTarget* target : chain) {
        CmdUI ui(id);
        if (target != nullptr && target->OnUpdateCommand(id, ui)) {
            return ui;
        }
    }
    return CmdUI(id);
}

bool RouteCommand(std::span<CommandTarget* const> chain, CommandId id) {
    // A key or a stale button must not run what the menu shows disabled.
    if (!UpdateCommand(chain, id).IsEnabled()) {
        return false;
    }
    for (CommandTarget* target : chain) {
        if (target != nullptr && target->OnCommand(id)) {
            return true;
        }
    }
    return false;
}

} // namespace fw
