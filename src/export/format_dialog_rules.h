#pragma once
// What the "Coefficients View Format" and "Export File Format" dialogs decide,
// without their windows: the checks of OK, the file-format change, the path
// built from the file name, and which controls are enabled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

class CIirFileFormat;
class CIirExportFileFormat;

// Ranges of the numeric fields.
inline constexpr std::int32_t kMaxHexBitsField = 256;
inline constexpr std::int32_t kMaxIndentSpacesField = 32;

// The control a refusal of OK belongs to; the window selects it.
enum class FormatField {
    HexIntBits,
    HexFracBits,
    IndentSpaces,
    FileName,
    Outputs,
    ImpulseLength,
    StepLength,
};

struct FormatRefusal {
    FormatField field;
    std::string message;

    friend bool operator==(const FormatRefusal&, const FormatRefusal&) = default;
};

// The first refusal OK shows for these values (the dialog then stays open), or
// nothing when they pass. In order: the ranges of the hex bits and of the spaces
// ("Please enter a number between %1 and %2."), for the export dialog an empty
// file name ("Please enter a file name."), no data output ticked (Headings does
// not count), a ticked impulse response of length <= 0 or above the writer's
// kMaxResponseLength (the range message from 1), the same for the step
// response, and with "Hex :" chosen a bit pair the writer refuses ("Hex
// parameters are invalid."). Every export would fail on those last two.
std::optional<FormatRefusal> CheckFormatFields(const CIirFileFormat& values, bool exportDialog);
// The message of CheckFormatFields.
std::optional<std::string> CheckFormatDialog(const CIirFileFormat& values, bool exportDialog);

// The export dialog's file-format combo: sets the format and, when "Set file
// name's extension" is ticked, gives m_strFileName the format's extension.
void ChangeFileFormat(CIirExportFileFormat& entry, std::int32_t format);

// After the export dialog's data exchange: m_strPath = the folder of the
// previous m_strPath (up to its last "/" or "\") + m_strFileName.
void ApplyFileNameToPath(CIirExportFileFormat& entry);

// Browse...: the chosen path, and its file-name part as the file name.
void ApplyBrowsedPath(CIirExportFileFormat& entry, const std::string& path);

// Filter text of Browse's save dialog.
std::string_view BrowseFileFilter();
// A "Description (*.a;*.b)|*.a;*.b|..." filter in the form of the desktop's file
// dialogs, "Description (*.a *.b);;...", without its catch-all "*.*" entry (the
// file chooser adds "All Files (*)" itself).
std::string ChooserFileFilter(std::string_view pipeFilter);

// "Options..." is enabled for C and C++ only; the biquad-order combo while
// "Biquads" is ticked.
bool OptionsButtonEnabled(std::int32_t format);
bool BiquadOrderEnabled(const CIirFileFormat& values);

// Biquad orders offered: all five in the coefficient-view dialog, the first
// three in the export dialog.
std::int32_t BiquadOrdersOffered(bool exportDialog);

} // namespace tarvo
