#include "export/format_dialog_rules.h"

#include "export/export_formats.h"
#include "export/export_path.h"
#include "export/iir_export_file_format.h"
#include "korin/io/mwriter.h"

#include <algorithm>
#include <sstream>

namespace tarvo {

namespace {

std::string RangeMessage(std::int32_t low, std::int32_t high) {
    return "Please enter a number between " + std::to_string(low) + " and " + std::to_string(high) +
           ".";
}

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

// Asks the writer itself, so that the dialog refuses exactly what every export
// would refuse.
bool WriterTakesHexBits(std::int32_t intBits, std::int32_t fracBits) {
    std::ostringstream sink;
    korin::mwriter writer(false, "", sink, kFormatText);
    return writer.SetHex(intBits, fracBits);
}

// A ticked response: a length <= 0 gives tooShort, one the writer would skip
// the range message.
std::optional<FormatRefusal> CheckResponseLength(FormatField field, std::int32_t ticked,
                                                 std::int32_t length, const char* tooShort) {
    if (ticked == 0) return std::nullopt;
    if (length <= 0) return FormatRefusal{field, tooShort};
    if (length > kMaxResponseLength)
        return FormatRefusal{field, RangeMessage(1, kMaxResponseLength)};
    return std::nullopt;
}

} // namespace

std::optional<FormatRefusal> CheckFormatFields(const CIirFileFormat& v, bool exportDialog) {
    if (!InRange(v.m_nHexIntBits, 0, kMaxHexBitsField)) {
        return FormatRefusal{FormatField::HexIntBits, RangeMessage(0, kMaxHexBitsField)};
    }
    if (!InRange(v.m_nHexFracBits, 0, kMaxHexBitsField)) {
        return FormatRefusal{FormatField::HexFracBits, RangeMessage(0, kMaxHexBitsField)};
    }
    if (!InRange(v.m_nIndentSpaces, 0, kMaxIndentSpacesField)) {
        return FormatRefusal{FormatField::IndentSpaces, RangeMessage(0, kMaxIndentSpacesField)};
    }
    // The path is the old folder plus this name, so its file-name part is the
    // name's own.
    if (exportDialog && PathFileNamePart(v.m_strFileName).empty()) {
        return FormatRefusal{FormatField::FileName, "Please enter a file name."};
    }
    const bool anyOutput = v.m_bSpecs != 0 || v.m_bZerosPoles != 0 || v.m_bBiquads != 0 ||
                           v.m_bDirectForm != 0 || v.m_bImpulse != 0 || v.m_bStep != 0;
    if (!anyOutput) {
        return FormatRefusal{FormatField::Outputs, "Please select at least one data output."};
    }
    if (auto refused =
            CheckResponseLength(FormatField::ImpulseLength, v.m_bImpulse, v.m_nImpulseLen,
                                "Please enter an impulse response length greater than zero.")) {
        return refused;
    }
    if (auto refused =
            CheckResponseLength(FormatField::StepLength, v.m_bStep, v.m_nStepLen,
                                "Please enter a step response length greater than zero.")) {
        return refused;
    }
    if (v.m_nNumeric == kNumericHex && !WriterTakesHexBits(v.m_nHexIntBits, v.m_nHexFracBits)) {
        return FormatRefusal{FormatField::HexIntBits, "Hex parameters are invalid."};
    }
    return std::nullopt;
}

std::optional<std::string> CheckFormatDialog(const CIirFileFormat& v, bool exportDialog) {
    std::optional<FormatRefusal> refused = CheckFormatFields(v, exportDialog);
    if (!refused) return std::nullopt;
    return std::move(refused->message);
}

void ChangeFileFormat(CIirExportFileFormat& entry, std::int32_t format) {
    entry.m_nFormat = format;
    if (entry.m_bSetExtension != 0 && IsValidFormat(format)) {
        entry.m_strFileName = ReplaceExtension(entry.m_strFileName, FormatExtension(format));
    }
}

void ApplyFileNameToPath(CIirExportFileFormat& entry) {
    entry.m_strPath = PathFolderPart(entry.m_strPath) + entry.m_strFileName;
}

void ApplyBrowsedPath(CIirExportFileFormat& entry, const std::string& path) {
    entry.m_strPath = path;
    entry.m_strFileName = PathFileNamePart(path);
}

std::string_view BrowseFileFilter() {
    return "All Files (*.*)|*.*|Text Files (*.txt;*.hex)|*.txt;*.hex|C/C++ Files "
           "(*.c;*.cpp;*.h)|*.c;*.cpp;*.h|Matlab Files (*.m)|*.m|";
}

std::string ChooserFileFilter(std::string_view pipeFilter) {
    std::string out;
    std::string_view rest = pipeFilter;
    while (!rest.empty()) {
        const std::size_t bar1 = rest.find('|');
        if (bar1 == std::string_view::npos) break;
        const std::string_view description = rest.substr(0, bar1);
        rest.remove_prefix(bar1 + 1);
        const std::size_t bar2 = rest.find('|');
        const std::string_view patterns = rest.substr(0, bar2);
        rest.remove_prefix(bar2 == std::string_view::npos ? rest.size() : bar2 + 1);
        if (patterns == "*.*" || patterns == "*") continue;
        std::string spaced(patterns);
        std::replace(spaced.begin(), spaced.end(), ';', ' ');
        if (!out.empty()) out += ";;";
        out += description.substr(0, description.find(" ("));
        out += " (" + spaced + ")";
    }
    return out;
}

bool OptionsButtonEnabled(std::int32_t format) {
    return IsCFormat(format);
}

bool BiquadOrderEnabled(const CIirFileFormat& values) {
    return values.m_bBiquads != 0;
}

std::int32_t BiquadOrdersOffered(bool exportDialog) {
    return exportDialog ? kExportBiquadOrderCount : kBiquadOrderCount;
}

} // namespace tarvo
