#include "export/format_dialog_rules.h"

#include "export/export_formats.h"
#include "export/export_path.h"
#include "export/iir_export_file_format.h"

namespace tarvo {

namespace {

std::string RangeMessage(std::int32_t low, std::int32_t high) {
    return "Please enter a number between " + std::to_string(low) + " and " + std::to_string(high) +
           ".";
}

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

} // namespace

std::optional<std::string> CheckFormatDialog(const CIirFileFormat& v, bool exportDialog) {
    if (!InRange(v.m_nHexIntBits, 0, kMaxHexBitsField) ||
        !InRange(v.m_nHexFracBits, 0, kMaxHexBitsField)) {
        return RangeMessage(0, kMaxHexBitsField);
    }
    if (!InRange(v.m_nIndentSpaces, 0, kMaxIndentSpacesField)) {
        return RangeMessage(0, kMaxIndentSpacesField);
    }
    // The path is the old folder plus this name, so its file-name part is the
    // name's own.
    if (exportDialog && PathFileNamePart(v.m_strFileName).empty()) {
        return "Please enter a file name.";
    }
    const bool anyOutput = v.m_bSpecs != 0 || v.m_bZerosPoles != 0 || v.m_bBiquads != 0 ||
                           v.m_bDirectForm != 0 || v.m_bImpulse != 0 || v.m_bStep != 0;
    if (!anyOutput) return "Please select at least one data output.";
    if (v.m_bImpulse != 0 && v.m_nImpulseLen <= 0) {
        return "Please enter an impulse response length greater than zero.";
    }
    if (v.m_bStep != 0 && v.m_nStepLen <= 0) {
        return "Please enter a step response length greater than zero.";
    }
    return std::nullopt;
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
