#pragma once
// The framework's standard command IDs. Commands of the program's own menus are
// named where they are handled.

#include "fw/command_target.h"

namespace fw {

inline constexpr CommandId kIdFileNew = 57600;
inline constexpr CommandId kIdFileOpen = 57601;
inline constexpr CommandId kIdFileClose = 57602;
inline constexpr CommandId kIdFileSave = 57603;
inline constexpr CommandId kIdFileSaveAs = 57604;
inline constexpr CommandId kIdFilePrintSetup = 57606;
inline constexpr CommandId kIdFilePrint = 57607;
inline constexpr CommandId kIdFilePrintPreview = 57609;
inline constexpr CommandId kIdFileMruFirst = 57616;
inline constexpr CommandId kIdFileMruLast = 57619; // four recent files

inline constexpr CommandId kIdEditClear = 57632;
inline constexpr CommandId kIdEditCopy = 57634;
inline constexpr CommandId kIdEditCut = 57635;
inline constexpr CommandId kIdEditFind = 57636;
inline constexpr CommandId kIdEditPaste = 57637;
inline constexpr CommandId kIdEditRepeat = 57640;
inline constexpr CommandId kIdEditReplace = 57641;
inline constexpr CommandId kIdEditSelectAll = 57642;
inline constexpr CommandId kIdEditUndo = 57643;
inline constexpr CommandId kIdEditRedo = 57644;

inline constexpr CommandId kIdAppAbout = 57664;
inline constexpr CommandId kIdAppExit = 57665;
inline constexpr CommandId kIdHelpIndex = 57666;
inline constexpr CommandId kIdContextHelp = 57669;
inline constexpr CommandId kIdHelp = 57670;

inline constexpr CommandId kIdWindowCascade = 57650;
inline constexpr CommandId kIdWindowTile = 57651;
// Next and previous window of the main window (no standard number of their own).
inline constexpr CommandId kIdWindowNext = 57654;
inline constexpr CommandId kIdWindowPrevious = 57655;

inline constexpr CommandId kIdNextPane = 57680;
inline constexpr CommandId kIdPrevPane = 57681;

inline constexpr CommandId kIdViewToolbar = 59392;
inline constexpr CommandId kIdViewStatusBar = 59393;

// The application's own commands.
inline constexpr CommandId kIdHelpContents = 32852;
inline constexpr CommandId kIdHelpSearch = 32854;
inline constexpr CommandId kIdPreferences = 33000;

} // namespace fw
