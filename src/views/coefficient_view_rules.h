#pragma once
// The coefficient view's rules without a widget: which pane kind a Type item
// asks for, when its commands are enabled, and the texts it shows.

#include "fw/command_target.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

// The pane kind a Type item puts in the view's place; nothing for any other
// command.
std::optional<std::int32_t> TypeCommandPaneKind(fw::CommandId id);

// A Type item is enabled only in a pane of the design window (elsewhere it
// could change nothing), and, except Poles and Zeros, once there is a design.
bool TypeCommandEnabled(fw::CommandId id, bool designed, bool inDesignPane);

// What the edit commands depend on.
struct TextEditState {
    bool hasText = false;
    bool hasSelection = false;
    bool canUndo = false;
    bool canPaste = false;
    bool hasSearch = false; // a text was searched for before
};

// Enabled state of the edit, search and undo commands; nothing for others.
std::optional<bool> EditCommandEnabled(fw::CommandId id, const TextEditState& state);

// "Cannot find "what"."
std::string CannotFindMessage(std::string_view what);

} // namespace tarvo
