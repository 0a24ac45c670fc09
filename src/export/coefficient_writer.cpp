// The writer of CIirFileFormat: turns a filter into the text of one coefficient
// file (and, for C and C++, its header) and replaces the file only when the
// whole text is ready.

#include "design/iir_filter.h"
#include "export/export_path.h"
#include "export/iir_file_format.h"
#include "fw/file_io.h"
#include "fw/ui.h"
#include "korin/io/mwriter.h"
#include "korin/signal/zp2sos.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

namespace {

constexpr std::int32_t kMaxIndentSpaces = 32;

// Sets the filter's choice between sections and direct form for the lifetime of
// the object and gives the filter its own choice back, whatever happens.
class UseSosOverride {
public:
    UseSosOverride(CIirFilter& filter, bool useSos) : filter_(filter), saved_(filter.useSos) {
        filter_.useSos = useSos;
    }
    ~UseSosOverride() { filter_.useSos = saved_; }
    UseSosOverride(const UseSosOverride&) = delete;
    UseSosOverride& operator=(const UseSosOverride&) = delete;

private:
    CIirFilter& filter_;
    bool saved_;
};

std::string CannotOpenMessage(const std::string& path) {
    return "Cannot open file \"" + path + "\".";
}

// The filter name with the separator of the format appended unless it already
// ends with it: names are built with a space in Text, with "_" elsewhere.
std::string VariablePrefix(const std::string& filterName, std::int32_t format) {
    const char separator = format == kFormatText ? ' ' : '_';
    std::string prefix = filterName;
    if (!prefix.empty() && prefix.back() != separator) prefix += separator;
    return prefix;
}

// Applies the options to the writer; false when the hex parameters are refused.
bool ConfigureWriter(const CIirFileFormat& f, korin::mwriter& writer) {
    if (f.m_nNumeric == kNumericHex) {
        if (!writer.SetHex(f.m_nHexIntBits, f.m_nHexFracBits)) return false;
    } else {
        writer.SetNumberFormat(f.m_nNumeric == kNumericScientific ? "%0.16e" : "%0.20f");
    }
    if (f.m_nIndentKind == kIndentTabs) {
        writer.SetIndent("\t");
    } else if (f.m_nIndentKind == kIndentNone) {
        writer.SetIndent("");
    } else {
        // The dialog keeps the count within 0..32; a project file may not.
        const auto spaces = std::clamp(f.m_nIndentSpaces, 0, kMaxIndentSpaces);
        writer.SetIndent(std::string(static_cast<std::size_t>(spaces), ' '));
    }
    writer.SetHeadings(f.m_bHeadings != 0);
    if (IsCFormat(f.m_nFormat)) {
        writer.SetRealType(f.m_cOptions.m_strRealType);
        writer.SetComplexType(f.m_cOptions.m_strComplexType);
    }
    return true;
}

// The top of a C or C++ file: the user's text, then the guard of the header or
// the include line of the source, then an empty line.
void WritePreamble(const CIirFileFormat& f, bool headerPass, std::ostream& out) {
    const std::string headerName = ReplaceExtension(PathFileNamePart(f.m_strPath), ".h");
    if (headerPass) {
        if (!f.m_cOptions.m_strHeaderText.empty()) out << f.m_cOptions.m_strHeaderText << "\n";
        const std::string guard = HeaderGuardName(headerName);
        out << "#ifndef " << guard << "\n";
        out << "#define " << guard << "\n";
    } else {
        if (!f.m_cOptions.m_strSourceText.empty()) out << f.m_cOptions.m_strSourceText << "\n";
        // Written to a ".h" path, the file would include itself and never compile.
        if (PathFileNamePart(f.m_strPath) != headerName) {
            out << "#include \"" << headerName << "\"\n";
        }
    }
    out << "\n";
}

// One response item; a length outside 0..kMaxResponseLength is reported and
// the item skipped (0 means the response routines' 1024 samples).
// what: "Impulse response" or "Step response", as the messages name it.
template <class Response>
void WriteResponse(korin::mwriter& writer, std::int32_t length, const std::string& comment,
                   std::string_view name, std::string_view what, fw::Ui& ui, Response response) {
    if (length < 0 || length > kMaxResponseLength) {
        ui.Message(std::string(what) + " was not output due to bad length.", fw::Icon::Error);
        return;
    }
    const korin::mvect values = response(length);
    // An unstable filter's response can overflow: "inf" in a source
    // file would not even compile, so the response is left out and the user told.
    // The header pass leaves it out as well, and says nothing: the source pass does.
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i].real()) || !std::isfinite(values[i].imag())) {
            if (!writer.IsHeader())
                ui.Message(
                    std::string(what) +
                        " was not output: the filter is unstable and its response overflows.",
                    fw::Icon::Error);
            return;
        }
    }
    writer.WriteVector(values, comment, name);
}

// The selected items, in their fixed order.
void WriteItems(const CIirFileFormat& f, korin::mwriter& writer, std::ostream& out,
                const std::string& prefix, CIirFilter& filter, fw::Ui& ui) {
    if (f.m_bSpecs != 0) {
        writer.WriteComment("Specification");
        CIirFilter::WriteSummary(filter.spec, out, writer.CommentPrefix(),
                                 filter.fs.GetFreqUnitName(), filter.fs.GetValue());
    }
    if (f.m_bZerosPoles != 0) {
        writer.WriteVector(filter.z, prefix + "zeros", "zeros");
        writer.WriteVector(filter.p, prefix + "poles", "poles");
    }
    if (f.m_bDirectForm != 0) {
        writer.WriteComment("Direct Form");
        writer.WriteVector(filter.b, prefix + "numerator", "b");
        writer.WriteVector(filter.a, prefix + "denominator", "a");
    }
    if (f.m_bBiquads != 0) {
        // A project file may hold an order the table lacks: all six columns then.
        const std::int32_t order = IsValidBiquadOrder(f.m_nBiquadOrder) ? f.m_nBiquadOrder : 2;
        const korin::msos selected =
            korin::SelectColumns(filter.sos, BiquadOrderColumns(order), f.m_bNegateA != 0);
        writer.WriteMatrix(selected, prefix + "biquads", "biquads", BiquadOrderLabels(order));
        writer.WriteComment(prefix + "biquads gain");
        // The name keeps its trailing space.
        writer.WriteScalar(prefix + "biquads_g ", filter.sos.gain);
        writer.NewLine();
    }
    const UseSosOverride via(filter, f.m_nResponsesVia == kResponsesViaBiquads);
    if (f.m_bImpulse != 0) {
        WriteResponse(writer, f.m_nImpulseLen, prefix + "impulse_response", "impulse_response",
                      "Impulse response", ui,
                      [&filter](std::int32_t n) { return filter.ImpulseResponse(n); });
    }
    if (f.m_bStep != 0) {
        WriteResponse(writer, f.m_nStepLen, prefix + "step_response", "step_response",
                      "Step response", ui,
                      [&filter](std::int32_t n) { return filter.StepResponse(n); });
    }
}

} // namespace

bool CIirFileFormat::WriteFile(CIirFilter& filter, bool headerPass, fw::Ui& ui) {
    if (filter.IsEmpty()) return false;
    // Named as stored, so that the user finds the entry to modify.
    if (!IsLocalAbsolutePath(m_strPath)) {
        ui.Message(CannotOpenMessage(m_strPath), fw::Icon::Error);
        return false;
    }
    bool headerWritten = true;
    if (IsCFormat(m_nFormat) && !headerPass && IsCSourcePath(m_strPath)) {
        // A header that fails does not keep the source from being written.
        headerWritten = WritePass(filter, true, ui);
    }
    const bool written = WritePass(filter, headerPass, ui);
    return written && headerWritten;
}

bool CIirFileFormat::WritePass(CIirFilter& filter, bool headerPass, fw::Ui& ui) {
    const bool cFormat = IsCFormat(m_nFormat);
    const std::string target =
        cFormat && headerPass ? ReplaceExtension(m_strPath, ".h") : m_strPath;
    // A format index from a damaged project file writes plain text.
    const std::int32_t format = IsValidFormat(m_nFormat) ? m_nFormat : kFormatText;
    const std::string prefix = VariablePrefix(m_strFilterName, format);

    // The whole text is made in memory and goes to disk in one piece, so that
    // automatic export during a drag stays cheap and a failure never leaves a
    // partial file.
    std::ostringstream text;
    text.imbue(std::locale::classic());
    korin::mwriter writer(headerPass, prefix, text, format);
    // Checked before anything is written, so that a refusal leaves the file alone.
    if (!ConfigureWriter(*this, writer)) {
        ui.Message("Hex parameters are invalid.", fw::Icon::Error);
        return false;
    }
    if (cFormat) WritePreamble(*this, headerPass, text);
    WriteItems(*this, writer, text, prefix, filter, ui);
    if (cFormat) {
        if (headerPass) text << "\n#endif\n";
        text << "\n";
    }
    const std::string contents = text.str();
    // Exports are rewritten on every design change (every step of a pole drag).
    // A file that already holds exactly this text stays as it is (a header
    // rarely changes), since replacing a file costs milliseconds on some disks;
    // the others are replaced atomically without waiting for the disk.
    std::vector<std::uint8_t> existing;
    if (fw::ReadFileBytes(target, existing, contents.size()).ok &&
        existing.size() == contents.size() &&
        std::equal(existing.begin(), existing.end(), contents.begin(),
                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); })) {
        return true;
    }
    const fw::FileResult result =
        fw::WriteFileAtomically(target, std::string_view(contents), fw::Durability::kRenameOnly);
    if (!result) {
        ui.Message(CannotOpenMessage(target), fw::Icon::Error);
        return false;
    }
    return true;
}

} // namespace tarvo
