#pragma once
// Commands: numeric IDs that menus, tool buttons and keys send. A command goes
// along a chain of targets (active view, its document, its frame, the
// application) until one handles it; its enabled and checked state is asked
// along the same chain.

#include "fw/object.h"

#include <cstdint>
#include <span>

namespace fw {

using CommandId = std::int32_t;

// The state of one command's menu item or button, filled by the target that
// decides it. Nobody deciding leaves it disabled and unchecked.
class CmdUI {
public:
    explicit CmdUI(CommandId id) : id_(id) {}

    CommandId GetId() const { return id_; }
    void Enable(bool on = true) { enabled_ = on; }
    void SetCheck(bool on = true) { checked_ = on; }
    bool IsEnabled() const { return enabled_; }
    bool IsChecked() const { return checked_; }

private:
    CommandId id_;
    bool enabled_ = false;
    bool checked_ = false;
};

class CommandTarget : public Object {
public:
    // Runs the command; false when this target does not handle it.
    virtual bool OnCommand(CommandId id);
    // Sets the command's state on ui; false when this target does not decide it.
    // A target decides the state of every command it handles.
    virtual bool OnUpdateCommand(CommandId id, CmdUI& ui);
};

// The state of a command from the first target of the chain that decides it.
// Null entries are skipped.
CmdUI UpdateCommand(std::span<CommandTarget* const> chain, CommandId id);

// Sends the command along the chain to the first target that handles it, unless
// the chain's update state says it is disabled. True when some target ran it.
bool RouteCommand(std::span<CommandTarget* const> chain, CommandId id);

} // namespace fw
