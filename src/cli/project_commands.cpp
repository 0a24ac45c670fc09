#include "cli/project_commands.h"

#include "cli/commands.h"
#include "cli/curve_csv.h"
#include "cli/design_options.h"
#include "cli/filter_output.h"
#include "cli/help_text.h"
#include "design/design_action.h"
#include "design/response_curves.h"
#include "doc/app_options.h"
#include "doc/tarvo_iir_doc.h"
#include "export/coefficient_text.h"
#include "export/export_formats.h"
#include "export/export_path.h"
#include "export/format_dialog_rules.h"
#include "fw/stderr_ui.h"
#include "korin/io/mnumfmt.h"

#include <ostream>
#include <vector>

namespace tarvo::cli {

namespace {

// Frequency points of `response` when --points is not given.
constexpr std::int32_t kDefaultFrequencyPoints = 512;

// Opens a project for a command; the load's own message explains a failure.
bool Open(CTarvoIirDoc& doc, const std::string& path) {
    return doc.OnOpenDocument(path);
}

bool RequireDesign(const CTarvoIirDoc& doc, const std::string& path, std::ostream& err) {
    if (doc.IsDesigned()) return true;
    err << "error: the project \"" << path << "\" holds no designed filter.\n";
    return false;
}

// One line of the plot's Copy Data text, "%12.9f\t%12.9f", whole however
// long the numbers are.
void WriteDataLine(std::ostream& out, double x, double y) {
    korin::mnumformat number;
    number.width = 12;
    number.precision = 9;
    out << korin::FormatNumber(x, number) << '\t' << korin::FormatNumber(y, number) << '\n';
}

// The files an entry writes, the header of a C or C++ source first.
std::vector<std::string> TargetsOf(const CIirExportFileFormat& entry) {
    std::vector<std::string> paths;
    if (IsCFormat(entry.m_nFormat) && IsCSourcePath(entry.m_strPath)) {
        paths.push_back(ReplaceExtension(entry.m_strPath, ".h"));
    }
    paths.push_back(entry.m_strPath);
    return paths;
}

} // namespace

ProjectCommands::ProjectCommands(CLI::App& app) {
    show_ = app.add_subcommand(
        "show", "Print the coefficient text the project's coefficient view shows, in the\n"
                "project's coefficient-view format; the format options given override it.");
    show_->add_option("file", file_, "Project file (.tvp)")->required();
    showFileFormat_ =
        show_->add_option("--format", showFormat_.m_nFormat, "File format: text, c, c++ or matlab")
            ->transform(CLI::CheckedTransformer(FileFormatNames(), CLI::ignore_case))
            ->default_str(ChoiceName(FileFormatNames(), showFormat_.m_nFormat));
    showOptions_ = AddFormatOptions(*show_, showFormat_);

    export_ = app.add_subcommand(
        "export", "Write every file of the project's export list, as Export All does,\n"
                  "and print the path of each file written.");
    export_->add_option("file", file_, "Project file (.tvp)")->required();

    response_ = app.add_subcommand(
        "response", "Print one response curve of the project as Copy Data does:\n"
                    "x and value as %12.9f, separated by a tab; with --csv as\n"
                    "comma-separated values under a header naming columns and units.");
    response_->add_option("file", file_, "Project file (.tvp)")->required();
    response_
        ->add_option("--type", curve_,
                     "Curve: " + CurveNames() + "; with --csv also all-frequency|all-time")
        ->required();
    response_->add_flag("--csv", csv_,
                        "Write a header line, then comma-separated values with full precision");
    response_
        ->add_option("--points", points_,
                     "Points (frequency curves: 512 from 0 to Fs/2; impulse and "
                     "step: the project's time-response length)")
        ->check(ResponseLengthRange());

    convert_ =
        app.add_subcommand("convert", "Open a project and save it in the current file format.");
    convert_->add_option("input", file_, "Project file to read")->required();
    convert_->add_option("output", target_, "Project file to write")->required();
}

std::optional<int> ProjectCommands::Run(std::ostream& out, std::ostream& err) {
    if (show_->parsed()) return Show(out, err);
    if (export_->parsed()) return Export(out, err);
    if (response_->parsed()) return Response(out, err);
    if (convert_->parsed()) return Convert(out, err);
    return std::nullopt;
}

int ProjectCommands::Show(std::ostream& out, std::ostream& err) {
    fw::StderrUi ui(err);
    CTarvoIirDoc doc(ui);
    if (!Open(doc, file_)) return kExitFailure;
    if (!RequireDesign(doc, file_, err)) return kExitNotDesigned;

    CIirFileFormat& format = doc.GetFormat();
    bool overridden = false;
    if (showFileFormat_->count() > 0) {
        format.m_nFormat = showFormat_.m_nFormat;
        overridden = true;
    }
    for (const FormatOption& f : showOptions_) {
        if (f.option->count() > 0) {
            f.copy(format, showFormat_);
            overridden = true;
        }
    }
    // The options pass the checks of the format dialog's OK, and no length
    // given goes beyond the writer's limit.
    if (overridden) {
        auto refused = CheckFormatDialog(format, false);
        if (!refused) refused = CheckResponseLengths(showFormat_);
        if (refused) {
            err << *refused << "\n";
            return kExitRefused;
        }
    }

    // The coefficient view's own text.
    const CoefficientTextResult shown = CoefficientText(format, doc.GetFilter(), ui);
    if (!shown.ok) {
        err << "error: " << shown.text << "\n";
        return kExitFailure;
    }
    out << shown.text;
    return kExitOk;
}

int ProjectCommands::Export(std::ostream& out, std::ostream& err) {
    fw::StderrUi ui(err);
    CTarvoIirDoc doc(ui);
    if (!Open(doc, file_)) return kExitFailure;
    if (!RequireDesign(doc, file_, err)) return kExitNotDesigned;
    CExportFileList& list = doc.GetExportFiles().m_list;
    if (list.Empty()) {
        err << "note: the project \"" << file_ << "\" has no export files.\n";
        return kExitOk;
    }
    // Export All: every entry in list order, going on after a failure.
    bool allWritten = true;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        CIirExportFileFormat& entry = list.At(i);
        if (entry.WriteFile(doc.GetFilter(), false, ui)) {
            for (const std::string& path : TargetsOf(entry)) {
                out << path << "\n";
            }
        } else {
            allWritten = false;
        }
    }
    return allWritten ? kExitOk : kExitFailure;
}

int ProjectCommands::Response(std::ostream& out, std::ostream& err) {
    const std::optional<std::int32_t> type = CurveType(curve_);
    const std::optional<CsvTable> table = csv_ ? CsvTableFor(curve_) : std::nullopt;
    if (!type && !table) {
        if (!csv_ && CsvTableFor(curve_)) {
            err << "The curve \"" << curve_ << "\" is written only with --csv.\n";
        } else {
            err << "Unknown curve \"" << curve_ << "\"; use one of " << CurveNames()
                << (csv_ ? "|all-frequency|all-time" : "") << ".\n";
        }
        return kExitRefused;
    }
    fw::StderrUi ui(err);
    CTarvoIirDoc doc(ui);
    if (!Open(doc, file_)) return kExitFailure;
    if (!RequireDesign(doc, file_, err)) return kExitNotDesigned;
    const CIirFilter& filter = doc.GetFilter();

    if (table) {
        const std::int32_t n = points_ > 0   ? points_
                               : table->time ? doc.GetTimeResponseLength()
                                             : kDefaultFrequencyPoints;
        WriteCsv(filter, *table, n, out);
        return kExitOk;
    }
    if (*type == kPlotImpulse || *type == kPlotStep) {
        // A time plot bound from the project takes the project's length.
        const std::int32_t n = points_ > 0 ? points_ : doc.GetTimeResponseLength();
        const TimeResponse r = ComputeTimeResponse(filter, n);
        const korin::mvect& y = *type == kPlotImpulse ? r.impulse : r.step;
        for (std::size_t i = 0; i < y.size(); ++i) {
            WriteDataLine(out, r.time[i], y[i].real());
        }
        return kExitOk;
    }
    const std::int32_t n = points_ > 0 ? points_ : kDefaultFrequencyPoints;
    korin::mvect f;
    korin::mvect v;
    ComputeResponse(filter, 0.0, filter.fs.GetValue() / 2.0, n, *type, f, v);
    for (std::size_t i = 0; i < v.size(); ++i) {
        WriteDataLine(out, f[i].real(), v[i].real());
    }
    return kExitOk;
}

int ProjectCommands::Convert(std::ostream& /*out*/, std::ostream& err) {
    fw::StderrUi ui(err);
    CTarvoIirDoc doc(ui);
    if (!Open(doc, file_)) return kExitFailure;
    return doc.DoSave(target_, false) ? kExitOk : kExitFailure;
}

int DesignNewProject(const DesignOptions& options, const std::string& path, CIirFilter& designed,
                     std::ostream& err) {
    fw::StderrUi ui(err);
    // The new project's minimum dB is the one given, as the settings would give it.
    AppOptions settings;
    settings.m_dMinDb = options.minDb;
    ProjectContext context;
    context.options = &settings;
    CTarvoIirDoc doc(ui, context);
    if (!doc.OnNewDocument()) return kExitFailure;

    CIirFilter& filter = doc.GetFilter();
    filter.fs = CFs(options.fsValue);
    filter.fs.SetUnit(options.unit);
    const DesignOutcome outcome = RunDesign(filter, options.Form(), doc.GetMinDb());
    if (!outcome.Designed()) {
        err << outcome.message << "\n";
        return outcome.status == DesignOutcome::Status::kFailed ? kExitNotDesigned : kExitRefused;
    }
    // Designed as asked; the warning is for the reader, not a failure.
    if (!outcome.warning.empty()) err << "Warning: " << outcome.warning << "\n";
    doc.OnFilterChanged(true, 0);
    if (!doc.DoSave(path, true)) return kExitFailure;
    designed = filter;
    return kExitOk;
}

} // namespace tarvo::cli
