#include "cli/export_options.h"

#include "cli/commands.h"
#include "cli/help_text.h"
#include "export/export_formats.h"
#include "export/export_path.h"
#include "export/format_dialog_rules.h"
#include "fw/stderr_ui.h"
#include "korin/io/mnumfmt.h"

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

namespace tarvo::cli {

namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Extension(const std::string& path) {
    const std::string name = PathFileNamePart(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot));
}

// A switch and its negation bound to an int32 flag of the entry; the help
// names the flag's value before parsing as the default.
CLI::Option* AddSwitch(CLI::App& command, const std::string& names, std::int32_t& flag,
                       const std::string& help) {
    return command.add_flag(
        names, [&flag](std::int64_t n) { flag = n > 0 ? 1 : 0; }, SwitchHelp(help, flag != 0));
}

template <class T> auto CopyField(T CIirFileFormat::*field) {
    return [field](CIirFileFormat& to, const CIirFileFormat& from) { to.*field = from.*field; };
}

auto CopyCOption(std::string CIirC_Options::*field) {
    return [field](CIirFileFormat& to, const CIirFileFormat& from) {
        to.m_cOptions.*field = from.m_cOptions.*field;
    };
}

// A path typed on the command line means the current folder when it is
// relative; one with a backslash is left to the writer, which refuses it.
std::string CommandLinePath(const std::string& path) {
    if (path.empty() || path.front() == '/' || path.find('\\') != std::string::npos) return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

// The export-list entry the options describe.
void FillEntry(const ExportOptions& options, CIirExportFileFormat& entry) {
    entry.CopyFrom(options.entry);
    entry.m_nFormat = options.format >= 0 ? options.format : FormatFromExtension(options.path);
    entry.m_strPath = CommandLinePath(options.path);
    entry.m_strFileName = PathFileNamePart(options.path);
}

} // namespace

const std::map<std::string, std::int32_t>& FileFormatNames() {
    static const std::map<std::string, std::int32_t> names{{"text", kFormatText},
                                                           {"c", kFormatC},
                                                           {"c++", kFormatCpp},
                                                           {"cpp", kFormatCpp},
                                                           {"matlab", kFormatMatlab}};
    return names;
}

std::int32_t FormatFromExtension(const std::string& path) {
    const std::string ext = Extension(path);
    if (ext == ".txt" || ext == ".hex") return kFormatText;
    if (ext == ".c") return kFormatC;
    if (ext == ".m") return kFormatMatlab;
    return kFormatCpp;
}

std::vector<FormatOption> AddFormatOptions(CLI::App& command, CIirFileFormat& e) {
    const std::map<std::string, std::int32_t> numerics{
        {"scientific", kNumericScientific}, {"floating", kNumericFloating}, {"hex", kNumericHex}};
    const std::map<std::string, std::int32_t> indents{
        {"spaces", kIndentSpaces}, {"tabs", kIndentTabs}, {"none", kIndentNone}};
    std::map<std::string, std::int32_t> orders;
    for (std::int32_t i = 0; i < kBiquadOrderCount; ++i) {
        orders.emplace(CLI::ignore_space(std::string(BiquadOrderText(i))), i);
    }
    const std::map<std::string, std::int32_t> vias{{"biquads", kResponsesViaBiquads},
                                                   {"direct-form", kResponsesViaDirectForm}};

    std::vector<FormatOption> added;
    added.push_back({command
                         .add_option("--numeric", e.m_nNumeric,
                                     "Numbers: scientific (%0.16e), floating (%0.20f) or hex "
                                     "(fixed point)")
                         ->transform(CLI::CheckedTransformer(numerics, CLI::ignore_case))
                         ->default_str(ChoiceName(numerics, e.m_nNumeric)),
                     CopyField(&CIirFileFormat::m_nNumeric)});
    added.push_back(
        {command.add_option("--hex-int-bits", e.m_nHexIntBits, "Integer bits of --numeric hex")
             ->capture_default_str(),
         CopyField(&CIirFileFormat::m_nHexIntBits)});
    added.push_back(
        {command.add_option("--hex-frac-bits", e.m_nHexFracBits, "Fraction bits of --numeric hex")
             ->capture_default_str(),
         CopyField(&CIirFileFormat::m_nHexFracBits)});
    added.push_back(
        {command.add_option("--indent", e.m_nIndentKind, "Indentation: spaces, tabs or none")
             ->transform(CLI::CheckedTransformer(indents, CLI::ignore_case))
             ->default_str(ChoiceName(indents, e.m_nIndentKind)),
         CopyField(&CIirFileFormat::m_nIndentKind)});
    added.push_back({command
                         .add_option("--indent-spaces", e.m_nIndentSpaces,
                                     "Spaces per indentation level (0 to 32)")
                         ->capture_default_str(),
                     CopyField(&CIirFileFormat::m_nIndentSpaces)});
    added.push_back(
        {command
             .add_option("--biquad-order", e.m_nBiquadOrder,
                         "Coefficients of each section, in order: \"a2,b2,a1,b1,b0\", "
                         "\"b0,b1,b2,a1,a2\", \"b0,b1,b2,a0,a1,a2\", "
                         "\"b2,b1,b0,a2,a1\" or \"a2,a1,b2,b1,b0\"")
             ->transform(CLI::CheckedTransformer(orders, CLI::ignore_case, CLI::ignore_space))
             ->default_str(ChoiceName(orders, e.m_nBiquadOrder)),
         CopyField(&CIirFileFormat::m_nBiquadOrder)});
    added.push_back({command
                         .add_option("--filter-name", e.m_strFilterName,
                                     "Prefix of every variable name (may be empty)")
                         ->capture_default_str(),
                     CopyField(&CIirFileFormat::m_strFilterName)});
    added.push_back({AddSwitch(command, "--headings,!--no-headings", e.m_bHeadings,
                               "Comment lines before each item"),
                     CopyField(&CIirFileFormat::m_bHeadings)});
    added.push_back(
        {AddSwitch(command, "--specs,!--no-specs", e.m_bSpecs, "Write the specification"),
         CopyField(&CIirFileFormat::m_bSpecs)});
    added.push_back({AddSwitch(command, "--zeros-poles,!--no-zeros-poles", e.m_bZerosPoles,
                               "Write the zeros and poles"),
                     CopyField(&CIirFileFormat::m_bZerosPoles)});
    added.push_back({AddSwitch(command, "--export-biquads,!--no-export-biquads", e.m_bBiquads,
                               "Write the biquad sections and their gain"),
                     CopyField(&CIirFileFormat::m_bBiquads)});
    added.push_back({AddSwitch(command, "--direct-form,!--no-direct-form", e.m_bDirectForm,
                               "Write the numerator and denominator"),
                     CopyField(&CIirFileFormat::m_bDirectForm)});
    added.push_back(
        {AddSwitch(command, "--impulse,!--no-impulse", e.m_bImpulse, "Write the impulse response"),
         CopyField(&CIirFileFormat::m_bImpulse)});
    added.push_back(
        {command.add_option("--impulse-length", e.m_nImpulseLen, "Samples of the impulse response")
             ->capture_default_str(),
         CopyField(&CIirFileFormat::m_nImpulseLen)});
    added.push_back({AddSwitch(command, "--step,!--no-step", e.m_bStep, "Write the step response"),
                     CopyField(&CIirFileFormat::m_bStep)});
    added.push_back(
        {command.add_option("--step-length", e.m_nStepLen, "Samples of the step response")
             ->capture_default_str(),
         CopyField(&CIirFileFormat::m_nStepLen)});
    added.push_back({command
                         .add_option("--responses-via", e.m_nResponsesVia,
                                     "Compute the responses through: biquads or direct-form")
                         ->transform(CLI::CheckedTransformer(vias, CLI::ignore_case))
                         ->default_str(ChoiceName(vias, e.m_nResponsesVia)),
                     CopyField(&CIirFileFormat::m_nResponsesVia)});
    added.push_back({AddSwitch(command, "--negate-a,!--no-negate-a", e.m_bNegateA,
                               "Negate the a1 and a2 coefficients of the sections"),
                     CopyField(&CIirFileFormat::m_bNegateA)});
    added.push_back(
        {command
             .add_option("--real-type", e.m_cOptions.m_strRealType, "C/C++ type of real variables")
             ->capture_default_str(),
         CopyCOption(&CIirC_Options::m_strRealType)});
    added.push_back({command
                         .add_option("--complex-type", e.m_cOptions.m_strComplexType,
                                     "C/C++ type of complex variables and values")
                         ->capture_default_str(),
                     CopyCOption(&CIirC_Options::m_strComplexType)});
    added.push_back({command.add_option("--header-text", e.m_cOptions.m_strHeaderText,
                                        "Text at the top of the C/C++ header file"),
                     CopyCOption(&CIirC_Options::m_strHeaderText)});
    added.push_back({command.add_option("--source-text", e.m_cOptions.m_strSourceText,
                                        "Text at the top of the C/C++ source file"),
                     CopyCOption(&CIirC_Options::m_strSourceText)});
    return added;
}

void AddExportOptions(CLI::App& command, ExportOptions& o) {
    CLI::Option* exportOption = command.add_option(
        "--export", o.path,
        "Write the design to this file as an export-list entry would (C and C++ sources "
        "also get their header, the path with \".h\"). Exit status 1 when a file cannot "
        "be written");
    command
        .add_option("--export-format", o.format,
                    "File format: text, c, c++ or matlab (default: from the "
                    "extension of --export: .txt/.hex text, .c c, .m matlab, "
                    "otherwise c++); a C or C++ source is refused at a .h path")
        ->transform(CLI::CheckedTransformer(FileFormatNames(), CLI::ignore_case))
        ->needs(exportOption);
    for (const FormatOption& f : AddFormatOptions(command, o.entry)) {
        f.option->needs(exportOption);
    }
}

std::optional<std::string> CheckResponseLengths(const CIirFileFormat& given) {
    if (given.m_nImpulseLen <= kMaxResponseLength && given.m_nStepLen <= kMaxResponseLength) {
        return std::nullopt;
    }
    return "Please enter a number between 1 and " + korin::FormatInteger(kMaxResponseLength) + ".";
}

int CheckExport(const ExportOptions& options, std::ostream& err) {
    if (options.path.empty()) return kExitOk;
    CIirExportFileFormat entry(PathFolderPart(options.path));
    FillEntry(options, entry);
    std::optional<std::string> refused;
    if (IsCFormat(entry.m_nFormat) && Extension(options.path) == ".h") {
        // The header comes with its source file; alone it would hold the
        // definitions, and the source would include itself.
        refused = "Give the source file (.c or .cpp) to --export: its header is written "
                  "beside it.";
    }
    if (!refused) refused = CheckFormatDialog(entry, true);
    if (!refused) refused = CheckResponseLengths(options.entry);
    if (!refused) return kExitOk;
    err << *refused << "\n";
    return kExitRefused;
}

int ExportDesign(const ExportOptions& options, CIirFilter& filter, std::ostream& err) {
    if (options.path.empty()) return kExitOk;
    if (const int status = CheckExport(options, err); status != kExitOk) return status;
    CIirExportFileFormat entry(PathFolderPart(options.path));
    FillEntry(options, entry);
    fw::StderrUi ui(err);
    return entry.WriteFile(filter, false, ui) ? kExitOk : kExitFailure;
}

} // namespace tarvo::cli
