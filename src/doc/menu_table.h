#pragma once
// The program's menus as data: the five shared menu bars of the project windows
// and the main window's own, with every item's command, text and keys, the
// status-bar help of each command and the toolbar. The desktop program builds
// its menus and actions from these tables alone, and the tests read them
// without a display.

#include "fw/command_target.h"

#include <span>
#include <string_view>

namespace tarvo {

// The menu bars: the main window's (no project open), and one per kind of view.
enum class MenuBarKind { kMain, kDesign, kCoefficients, kFrequency, kTime, kPoleZero };
inline constexpr int kMenuBarKindCount = 6;

struct MenuEntry {
    enum class Kind {
        kCommand, // id, text
        kSeparator,
        kSubmenu,     // text, children
        kRecentFiles, // the recent-file items (ids from fw::kIdFileMruFirst) go here
        kWindowList,  // the open windows of the main window go here
    };
    Kind kind = Kind::kCommand;
    fw::CommandId id = 0;
    // With '&' before the mnemonic letter; a tab and the key text may follow
    // ("&Redo\tCtrl+Y").
    std::string_view text;
    std::span<const MenuEntry> children;
};

struct MenuPopup {
    std::string_view title; // "&File"
    std::span<const MenuEntry> entries;
};

// The popups of one menu bar, left to right.
std::span<const MenuPopup> MenuBar(MenuBarKind kind);

// The context menu of the view whose menu bar is `kind` (empty for the main
// window and the design form). It holds the view's popup in full, its printing
// and the coefficient view's "&Undo Edit" included; a menu bar keeps each
// command only once, so there those items stay in "&File" and "&IIR". A plot's
// context menu copies the picture with fw::kIdEditCopy (Ctrl+C).
std::span<const MenuEntry> ContextMenu(MenuBarKind kind);

// The keys of a command, in the portable text form ("Ctrl+N", "Alt+Backspace",
// "Shift+F6"); the first is the one menus show.
struct CommandKeys {
    fw::CommandId id;
    std::span<const std::string_view> keys;
};
std::span<const CommandKeys> CommandKeyTable();

// Status-bar help and tool tip of a command ("" when it has none): the text
// before the first newline is the status help, the rest the tool tip.
std::string_view CommandHelp(fw::CommandId id);

// The buttons of the toolbar, left to right; 0 is a separator.
std::span<const fw::CommandId> ToolbarCommands();

} // namespace tarvo
