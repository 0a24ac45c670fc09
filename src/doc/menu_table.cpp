#include "doc/menu_table.h"

#include "doc/doc_command_ids.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "plot/plot_command_ids.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace tarvo {

namespace {

using Kind = MenuEntry::Kind;

constexpr MenuEntry Cmd(fw::CommandId id, std::string_view text) {
    return {Kind::kCommand, id, text, {}};
}
constexpr MenuEntry Sep() {
    return {Kind::kSeparator, 0, {}, {}};
}
constexpr MenuEntry Sub(std::string_view text, std::span<const MenuEntry> children) {
    return {Kind::kSubmenu, 0, text, children};
}
constexpr MenuEntry List(Kind kind) {
    return {kind, 0, {}, {}};
}

// ---- Framework popups -------------------------------------------------------

constexpr MenuEntry kMainFile[] = {
    Cmd(fw::kIdFileNew, "&New Project"),
    Cmd(fw::kIdFileOpen, "&Open Project..."),
    Sep(),
    Cmd(fw::kIdFilePrintSetup, "P&rint Setup..."),
    Sep(),
    List(Kind::kRecentFiles),
    Sep(),
    Cmd(fw::kIdAppExit, "E&xit"),
};

constexpr MenuEntry kProjectFile[] = {
    Cmd(fw::kIdFileNew, "&New Project"),
    Cmd(fw::kIdFileOpen, "&Open Project..."),
    Cmd(fw::kIdFileClose, "&Close"),
    Sep(),
    Cmd(fw::kIdFileSave, "&Save Project"),
    Cmd(fw::kIdFileSaveAs, "Save Project &As..."),
    Sep(),
    Cmd(kIdFileExport, "Export..."),
    Sep(),
    Cmd(fw::kIdFilePrint, "&Print..."),
    Cmd(fw::kIdFilePrintPreview, "Print Pre&view"),
    Cmd(fw::kIdFilePrintSetup, "P&rint Setup..."),
    Sep(),
    List(Kind::kRecentFiles),
    Sep(),
    Cmd(fw::kIdAppExit, "E&xit"),
};

// The project's IIR menu; Export and Design Layout live in File and View.
constexpr MenuEntry kIir[] = {
    Cmd(kIdIirDesign, "&Design"),
    Cmd(kIdIirEstimateOrder, "&Estimate Order..."),
    Cmd(kIdIirDesignReport, "Design Rep&ort"),
    Sep(),
    Cmd(kIdIirMagnitude, "Magnitude"),
    Cmd(kIdIirPhase, "Phase"),
    Cmd(kIdIirUnwrappedPhase, "Unwrapped Phase"),
    Cmd(kIdIirGroupDelay, "Group Delay"),
    Cmd(kIdIirPhaseDelay, "Phase Delay"),
    Cmd(kIdIirMagnitudeAndUnwrapped, "Magnitude and Unwrapped Phase"),
    Sep(),
    Cmd(kIdIirImpulse, "Impulse"),
    Cmd(kIdIirStep, "Step"),
    Cmd(kIdIirImpulseAndStep, "Impulse and Step"),
    Sep(),
    Cmd(kIdIirPolesAndZeros, "&Poles and Zeros"),
    Cmd(kIdIirCoefficients, "&Coefficients"),
    Sep(),
    Cmd(kIdIirMinimumDb, "&Minimum dB..."),
    Cmd(kIdIirSamplingFrequency, "Sampling Frequency..."),
    Sep(),
    Cmd(fw::kIdEditUndo, "&Undo"),
    Cmd(fw::kIdEditRedo, "&Redo\tCtrl+Y"),
};

constexpr MenuEntry kMainView[] = {
    Cmd(fw::kIdViewToolbar, "&Toolbar"),
    Cmd(fw::kIdViewStatusBar, "&Status Bar"),
    Sep(),
    Cmd(fw::kIdPreferences, "&Preferences..."),
};

constexpr MenuEntry kProjectView[] = {
    Cmd(fw::kIdViewToolbar, "&Toolbar"),
    Cmd(fw::kIdViewStatusBar, "&Status Bar"),
    Sep(),
    Cmd(kIdViewDesignLayout, "Design &Layout..."),
    Sep(),
    Cmd(fw::kIdPreferences, "&Preferences..."),
};

constexpr MenuEntry kWindow[] = {
    Cmd(fw::kIdWindowCascade, "&Cascade"),
    Cmd(fw::kIdWindowTile, "&Tile"),
    Sep(),
    Cmd(fw::kIdWindowNext, "&Next Window"),
    Cmd(fw::kIdWindowPrevious, "&Previous Window"),
    Sep(),
    Cmd(fw::kIdNextPane, "Ne&xt Pane"),
    Cmd(fw::kIdPrevPane, "Pre&vious Pane"),
    Sep(),
    List(Kind::kWindowList),
};

constexpr MenuEntry kHelp[] = {
    Cmd(fw::kIdHelpContents, "Contents..."),
    Cmd(fw::kIdHelpIndex, "Index..."),
    Cmd(fw::kIdHelpSearch, "Search..."),
    Sep(),
    Cmd(fw::kIdHelp, "&Help on This Window"),
    Cmd(fw::kIdContextHelp, "&What's This?"),
    Sep(),
    Cmd(fw::kIdAppAbout, "&About TarvoIIR..."),
};

// ---- Type submenu, shared by the coefficient view and the plots -------------

constexpr MenuEntry kFrequencyTypes[] = {
    Cmd(kIdTypeMagnitude, "&Magnitude"),
    Cmd(kIdTypeUnwrappedPhase, "&Unwrapped Phase"),
    Cmd(kIdTypePhase, "&Phase"),
    Cmd(kIdTypeGroupDelay, "&Group Delay"),
    Cmd(kIdTypePhaseDelay, "Phase &Delay"),
};

constexpr MenuEntry kTimeTypes[] = {
    Cmd(kIdTypeImpulse, "&Impulse"),
    Cmd(kIdTypeStep, "&Step"),
    Cmd(kIdTypeImpulseAndStep, "Impulse &and Step"),
};

constexpr MenuEntry kTypes[] = {
    Sub("&Frequency Response", kFrequencyTypes),
    Sub("&Time Response", kTimeTypes),
    Cmd(kIdTypePolesAndZeros, "&Poles and Zeros"),
    Cmd(kIdTypeData, "&Data"),
};

// "Typ&e": T and Y are taken by Zoom &Top and &Y-Axis in the plot menus.
constexpr std::string_view kTypeText = "Typ&e";

// Concatenates menu parts into one entry list.
template <std::size_t... N>
constexpr std::array<MenuEntry, (N + ...)> Join(const std::array<MenuEntry, N>&... parts) {
    std::array<MenuEntry, (N + ...)> out{};
    std::size_t i = 0;
    for (std::span<const MenuEntry> part : {std::span<const MenuEntry>(parts)...})
        for (const MenuEntry& entry : part)
            out[i++] = entry;
    return out;
}

// ---- Coefficient view -------------------------------------------------------

constexpr std::array kSeparator{Sep()};

constexpr std::array kPrintCommands{
    Cmd(fw::kIdFilePrint, "&Print..."),
    Cmd(fw::kIdFilePrintPreview, "Print Pre&view"),
    Cmd(fw::kIdFilePrintSetup, "P&rint Setup..."),
};

constexpr std::array kDataEditing{
    Cmd(kIdDataViewFormat, "&Format..."),
    Cmd(kIdDataViewFont, "Choose Fon&t..."),
    Sep(),
    Cmd(fw::kIdEditCut, "Cu&t"),
    Cmd(fw::kIdEditCopy, "&Copy"),
    Cmd(fw::kIdEditPaste, "&Paste"),
    Cmd(fw::kIdEditClear, "C&lear"),
    Cmd(fw::kIdEditSelectAll, "Select &All"),
    Sep(),
};

// The text's own undo; in a menu bar the IIR menu's Undo reaches it, because
// the focused view gets the command first.
constexpr std::array kDataUndo{
    Cmd(fw::kIdEditUndo, "&Undo Edit"),
    Sep(),
};

constexpr std::array kDataSearch{
    Cmd(fw::kIdEditFind, "&Find..."),
    Cmd(fw::kIdEditReplace, "Replace..."),
    Cmd(fw::kIdEditRepeat, "&Repeat Last Find/Replace"),
    Sep(),
};

constexpr std::array kTypeSubmenu{Sub(kTypeText, kTypes)};

constexpr auto kCoefficientsPopup = Join(kDataEditing, kDataSearch, kTypeSubmenu);
constexpr auto kCoefficientsContext =
    Join(kDataEditing, kDataUndo, kDataSearch, kPrintCommands, kSeparator, kTypeSubmenu);

// ---- Plots ------------------------------------------------------------------

constexpr MenuEntry kStyles[] = {
    Cmd(kIdPlotStyleAuto, "&Auto"),
    Cmd(kIdPlotStyleLine, "&Line"),
    Cmd(kIdPlotStyleDot, "&Dot"),
    Cmd(kIdPlotStyleLineAndDot, "L&ine And Dot"),
    Cmd(kIdPlotStyleBar, "&Bar"),
    Cmd(kIdPlotStyleStem, "&Stem"),
    Cmd(kIdPlotStyleVerticalLine, "&Vertical Line"),
    Cmd(kIdPlotStyleStair, "S&tair"),
};

// The commands every plot offers; `copyImage` is the picture command sent.
constexpr auto PlotCommands(fw::CommandId copyImage) {
    return std::array{
        kTypeSubmenu[0],
        Sub("&Style", kStyles),
        Sep(),
        Cmd(kIdPlotXAxis, "&X-Axis"),
        Cmd(kIdPlotYAxis, "&Y-Axis"),
        Sep(),
        Cmd(kIdPlotZoomNext, "Zoom &Next"),
        Cmd(kIdPlotZoomTop, "Zoom &Top"),
        Cmd(kIdPlotZoomIn, "Zoom &In"),
        Cmd(kIdPlotZoomOut, "Zoom &Out"),
        Cmd(kIdPlotZoomBottom, "Zoom &Bottom"),
        Sep(),
        Cmd(copyImage, "Copy Image"),
        Cmd(kIdPlotSaveImage, "Save I&mage As..."),
        Cmd(kIdPlotCopyData, "Copy Data"),
        Cmd(kIdPlotWriteData, "&Write Data..."),
        Sep(),
        Cmd(kIdPlotFont, "Font..."),
        Cmd(kIdPlotTitles, "Tit&les..."),
        Cmd(kIdPlotProperties, "Properties..."),
    };
}

constexpr std::array kPoleZeroCommands{
    Sep(),
    Cmd(kIdPoleZeroPolarMode, "Polar Mode"),
    Cmd(kIdPoleZeroConstrainPoles, "Constrain Poles"),
    Cmd(kIdPoleZeroConstrainZeros, "Constrain Zeros"),
};

// In a menu bar File prints and Ctrl+C (fw::kIdEditCopy) copies anyway, so
// the bar's plot popup sends Copy Image's own command and leaves printing out.
constexpr auto kPlotPopup = PlotCommands(kIdPlotCopyImage);
constexpr auto kPlotContext = Join(PlotCommands(fw::kIdEditCopy), kSeparator, kPrintCommands);
constexpr auto kPoleZeroPopup = Join(PlotCommands(kIdPlotCopyImage), kPoleZeroCommands);
constexpr auto kPoleZeroContext =
    Join(PlotCommands(fw::kIdEditCopy), kPoleZeroCommands, kSeparator, kPrintCommands);

// ---- Menu bars --------------------------------------------------------------

constexpr MenuPopup kMainBar[] = {
    {"&File", kMainFile},
    {"&View", kMainView},
    {"&Help", kHelp},
};

constexpr MenuPopup kDesignBar[] = {
    {"&File", kProjectFile}, {"I&IR", kIir},   {"&View", kProjectView},
    {"&Window", kWindow},    {"&Help", kHelp},
};

constexpr MenuPopup kCoefficientsBar[] = {
    {"&File", kProjectFile}, {"&IIR", kIir},       {"&Coefficients", kCoefficientsPopup},
    {"&View", kProjectView}, {"&Window", kWindow}, {"&Help", kHelp},
};

constexpr MenuPopup kFrequencyBar[] = {
    {"&File", kProjectFile}, {"&IIR", kIir},       {"F&requency", kPlotPopup},
    {"&View", kProjectView}, {"&Window", kWindow}, {"&Help", kHelp},
};

constexpr MenuPopup kTimeBar[] = {
    {"&File", kProjectFile}, {"&IIR", kIir},       {"&Time", kPlotPopup},
    {"&View", kProjectView}, {"&Window", kWindow}, {"&Help", kHelp},
};

constexpr MenuPopup kPoleZeroBar[] = {
    {"&File", kProjectFile}, {"&IIR", kIir},       {"&Pole-Zero", kPoleZeroPopup},
    {"&View", kProjectView}, {"&Window", kWindow}, {"&Help", kHelp},
};

// ---- Keys ---------------------------------------------------------------------

constexpr std::string_view kKeysNew[] = {"Ctrl+N"};
constexpr std::string_view kKeysOpen[] = {"Ctrl+O"};
constexpr std::string_view kKeysSave[] = {"Ctrl+S"};
constexpr std::string_view kKeysPrint[] = {"Ctrl+P"};
constexpr std::string_view kKeysUndo[] = {"Ctrl+Z", "Alt+Backspace"};
constexpr std::string_view kKeysRedo[] = {"Ctrl+Y", "Ctrl+Shift+Z"};
constexpr std::string_view kKeysCut[] = {"Ctrl+X", "Shift+Del"};
constexpr std::string_view kKeysCopy[] = {"Ctrl+C", "Ctrl+Ins"};
constexpr std::string_view kKeysPaste[] = {"Ctrl+V", "Shift+Ins"};
constexpr std::string_view kKeysFind[] = {"Ctrl+F"};
constexpr std::string_view kKeysReplace[] = {"Ctrl+H"};
constexpr std::string_view kKeysRepeat[] = {"F3"};
constexpr std::string_view kKeysNextPane[] = {"F6"};
constexpr std::string_view kKeysPrevPane[] = {"Shift+F6"};
constexpr std::string_view kKeysHelp[] = {"F1"};
constexpr std::string_view kKeysContextHelp[] = {"Shift+F1"};

constexpr CommandKeys kKeys[] = {
    {fw::kIdFileNew, kKeysNew},         {fw::kIdFileOpen, kKeysOpen},
    {fw::kIdFileSave, kKeysSave},       {fw::kIdFilePrint, kKeysPrint},
    {fw::kIdEditUndo, kKeysUndo},       {fw::kIdEditRedo, kKeysRedo},
    {fw::kIdEditCut, kKeysCut},         {fw::kIdEditCopy, kKeysCopy},
    {fw::kIdEditPaste, kKeysPaste},     {fw::kIdEditFind, kKeysFind},
    {fw::kIdEditReplace, kKeysReplace}, {fw::kIdEditRepeat, kKeysRepeat},
    {fw::kIdNextPane, kKeysNextPane},   {fw::kIdPrevPane, kKeysPrevPane},
    {fw::kIdHelp, kKeysHelp},           {fw::kIdContextHelp, kKeysContextHelp},
};

// ---- Status help and tool tips ----------------------------------------------

struct HelpText {
    fw::CommandId id;
    std::string_view text;
};

constexpr HelpText kHelpTexts[] = {
    // File
    {fw::kIdFileNew, "Create a new project\nNew Project"},
    {fw::kIdFileOpen, "Open an existing project\nOpen Project"},
    {fw::kIdFileClose, "Close the project and all its windows"},
    {fw::kIdFileSave, "Save the project\nSave Project"},
    {fw::kIdFileSaveAs, "Save the project under a new name"},
    {kIdFileExport, "Edit the project's export files and export the coefficients"},
    {fw::kIdFilePrint, "Print the active view\nPrint"},
    {fw::kIdFilePrintPreview, "Show the active view as it will be printed"},
    {fw::kIdFilePrintSetup, "Choose the printer and the page settings"},
    {fw::kIdAppExit, "Quit TarvoIIR; changed projects are offered for saving"},
    // IIR
    {kIdIirDesign, "Show the project's design window"},
    {kIdIirMagnitude, "Open a window with the magnitude response"},
    {kIdIirPhase, "Open a window with the phase response"},
    {kIdIirUnwrappedPhase, "Open a window with the unwrapped phase response"},
    {kIdIirGroupDelay, "Open a window with the group delay"},
    {kIdIirPhaseDelay, "Open a window with the phase delay"},
    {kIdIirMagnitudeAndUnwrapped, "Open a window with the magnitude above the unwrapped phase"},
    {kIdIirImpulse, "Open a window with the impulse response"},
    {kIdIirStep, "Open a window with the step response"},
    {kIdIirImpulseAndStep, "Open a window with the impulse and step responses"},
    {kIdIirPolesAndZeros, "Open a window with the poles and zeros"},
    {kIdIirCoefficients, "Open a window with the coefficients as text"},
    {kIdIirMinimumDb, "Set the lowest level shown on magnitude plots"},
    {kIdIirSamplingFrequency, "Set the sampling frequency and its unit"},
    {kIdIirEstimateOrder, "Find the smallest order of each family for given passband and "
                          "stopband edges, and type it into the design form"},
    {kIdIirDesignReport, "Open a window with what the design achieves, measured on its "
                         "coefficients"},
    {fw::kIdEditUndo, "Undo the last change\nUndo"},
    {fw::kIdEditRedo, "Redo the change undone last\nRedo"},
    // View
    {fw::kIdViewToolbar, "Show or hide the toolbar"},
    {fw::kIdViewStatusBar, "Show or hide the status bar"},
    {kIdViewDesignLayout, "Choose the views of the design window's panes"},
    {fw::kIdPreferences, "Change the program's default settings"},
    // Window
    {fw::kIdWindowCascade, "Arrange the windows so that they overlap"},
    {fw::kIdWindowTile, "Arrange the windows side by side"},
    {fw::kIdWindowNext, "Activate the next window"},
    {fw::kIdWindowPrevious, "Activate the previous window"},
    {fw::kIdNextPane, "Move to the next pane of the window"},
    {fw::kIdPrevPane, "Move to the previous pane of the window"},
    // Help
    {fw::kIdHelpContents, "Show the contents of the help"},
    {fw::kIdHelpIndex, "Show the index of the help"},
    {fw::kIdHelpSearch, "Search the help"},
    {fw::kIdHelp, "Show the help page of the active window\nHelp"},
    {fw::kIdContextHelp, "Show help on the next button, menu item or window clicked\nWhat's This?"},
    {fw::kIdAppAbout, "Show the program's version and copyright"},
    // Coefficient view
    {kIdDataViewFormat, "Choose how the coefficients are written in this view"},
    {kIdDataViewFont, "Choose the fixed-pitch font of this view"},
    {fw::kIdEditCut, "Move the selection to the clipboard\nCut"},
    {fw::kIdEditCopy, "Copy the selection, or the plot as a picture, to the clipboard\nCopy"},
    {fw::kIdEditPaste, "Insert the text on the clipboard\nPaste"},
    {fw::kIdEditClear, "Delete the selection"},
    {fw::kIdEditSelectAll, "Select the whole text"},
    {fw::kIdEditFind, "Find a text\nFind"},
    {fw::kIdEditReplace, "Replace a text with another"},
    {fw::kIdEditRepeat, "Repeat the last find or replace"},
    // Type
    {kIdTypeMagnitude, "Show the magnitude response here"},
    {kIdTypeUnwrappedPhase, "Show the unwrapped phase here"},
    {kIdTypePhase, "Show the phase response here"},
    {kIdTypeGroupDelay, "Show the group delay here"},
    {kIdTypePhaseDelay, "Show the phase delay here"},
    {kIdTypeImpulse, "Show the impulse response here"},
    {kIdTypeStep, "Show the step response here"},
    {kIdTypeImpulseAndStep, "Show the impulse and step responses here"},
    {kIdTypePolesAndZeros, "Show the poles and zeros here"},
    {kIdTypeData, "Show the coefficients as text here"},
    // Plots
    {kIdPlotXAxis, "Set the range, labels and grid of the x axis"},
    {kIdPlotYAxis, "Set the range, labels and grid of the y axis"},
    {kIdPlotStyleAuto, "Draw lines and dots, or lines alone for many points"},
    {kIdPlotStyleLine, "Draw the curves as lines"},
    {kIdPlotStyleDot, "Draw the curves as dots"},
    {kIdPlotStyleLineAndDot, "Draw the curves as lines with dots"},
    {kIdPlotStyleBar, "Draw the curves as bars"},
    {kIdPlotStyleStem, "Draw the curves as stems with dots"},
    {kIdPlotStyleVerticalLine, "Draw the curves as vertical lines"},
    {kIdPlotStyleStair, "Draw the curves as stairs"},
    {kIdPlotZoomNext, "Go to the next zoom level"},
    {kIdPlotZoomTop, "Go to the outermost zoom level"},
    {kIdPlotZoomIn, "Go one zoom level in"},
    {kIdPlotZoomOut, "Go one zoom level out"},
    {kIdPlotZoomBottom, "Go to the innermost zoom level"},
    {kIdPlotCopyImage, "Copy the plot to the clipboard as a picture"},
    {kIdPlotSaveImage, "Save the plot as a PNG, SVG or PDF picture"},
    {kIdPlotCopyData, "Copy the plotted numbers to the clipboard as text"},
    {kIdPlotWriteData, "Write the plotted numbers to a file"},
    {kIdPlotFont, "Choose the font of the plot's texts"},
    {kIdPlotTitles, "Edit the plot's main, x and y titles"},
    {kIdPlotProperties, "Set the plot's titles, legend, zoom and length options"},
    // Pole-zero plot
    {kIdPoleZeroPolarMode, "Arrow keys rotate and scale the picked root instead of shifting it"},
    {kIdPoleZeroConstrainPoles, "Keep poles inside or on the unit circle"},
    {kIdPoleZeroConstrainZeros, "Keep zeros inside or on the unit circle"},
};

constexpr fw::CommandId kToolbar[] = {
    fw::kIdFileNew,
    fw::kIdFileOpen,
    fw::kIdFileSave,
    0,
    fw::kIdFilePrint,
    0,
    fw::kIdEditUndo,
    fw::kIdEditRedo,
    0,
    fw::kIdHelp,
    fw::kIdContextHelp,
};

} // namespace

std::span<const MenuPopup> MenuBar(MenuBarKind kind) {
    switch (kind) {
    case MenuBarKind::kMain:
        return kMainBar;
    case MenuBarKind::kDesign:
        return kDesignBar;
    case MenuBarKind::kCoefficients:
        return kCoefficientsBar;
    case MenuBarKind::kFrequency:
        return kFrequencyBar;
    case MenuBarKind::kTime:
        return kTimeBar;
    case MenuBarKind::kPoleZero:
        return kPoleZeroBar;
    }
    return kMainBar;
}

std::span<const MenuEntry> ContextMenu(MenuBarKind kind) {
    switch (kind) {
    case MenuBarKind::kCoefficients:
        return kCoefficientsContext;
    case MenuBarKind::kFrequency:
    case MenuBarKind::kTime:
        return kPlotContext;
    case MenuBarKind::kPoleZero:
        return kPoleZeroContext;
    case MenuBarKind::kMain:
    case MenuBarKind::kDesign:
        break;
    }
    return {};
}

std::span<const CommandKeys> CommandKeyTable() {
    return kKeys;
}

std::string_view CommandHelp(fw::CommandId id) {
    if (id >= fw::kIdFileMruFirst && id <= fw::kIdFileMruLast) return "Open this project";
    for (const HelpText& help : kHelpTexts)
        if (help.id == id) return help.text;
    return {};
}

std::span<const fw::CommandId> ToolbarCommands() {
    return kToolbar;
}

} // namespace tarvo
