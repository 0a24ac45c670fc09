#include "cli/commands.h"

#include "cli/design_options.h"
#include "cli/export_options.h"
#include "cli/filter_output.h"
#include "cli/help_text.h"
#include "cli/order_command.h"
#include "cli/project_commands.h"
#include "cli/report_json.h"
#include "design/design_action.h"
#include "design/design_report.h"
#include "design/iir_filter.h"
#include "design/response_curves.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tarvo::cli {

namespace {

struct DesignCommand {
    DesignOptions design;
    bool json = false;
    std::string curve;
    std::int32_t points = 0;
    ExportOptions exportTo;
    std::string save; // --save: the new project's file
    // --stop1, --stop2: stopband edges the report measures the attenuation beyond.
    ReportBands bands;
    CLI::Option* stop1 = nullptr;
    CLI::Option* stop2 = nullptr;

    ReportBands GivenBands() const {
        ReportBands given = bands;
        given.known = stop1->count() + stop2->count() > 0;
        return given;
    }
};

// Designs as the Design button does; on refusal the message goes to err.
int DesignFilter(const DesignOptions& o, CIirFilter& filter, std::ostream& err) {
    filter.fs = CFs(o.fsValue);
    filter.fs.SetUnit(o.unit);
    const DesignOutcome outcome = RunDesign(filter, o.Form(), o.minDb);
    if (!outcome.Designed()) {
        err << outcome.message << "\n";
        return outcome.status == DesignOutcome::Status::kFailed ? kExitNotDesigned : kExitRefused;
    }
    // Designed as asked; the warning is for the reader, not a failure.
    if (!outcome.warning.empty()) err << "Warning: " << outcome.warning << "\n";
    return kExitOk;
}

int RunDesignCommand(const DesignCommand& c, std::ostream& out, std::ostream& err) {
    std::int32_t curveType = 0;
    if (!c.curve.empty()) {
        const auto type = CurveType(c.curve);
        if (!type) {
            err << "Unknown curve \"" << c.curve << "\"; use one of " << CurveNames() << ".\n";
            return kExitRefused;
        }
        curveType = *type;
    }
    // Refused options refuse before a project is saved.
    if (const int status = CheckExport(c.exportTo, err); status != kExitOk) return status;
    const ReportBands bands = c.GivenBands();
    if (const std::string message = CheckReportBands(c.design.Form(), c.design.fsValue, bands);
        !message.empty()) {
        err << message << "\n";
        return kExitRefused;
    }
    CIirFilter filter;
    const int designed = c.save.empty() ? DesignFilter(c.design, filter, err)
                                        : DesignNewProject(c.design, c.save, filter, err);
    if (designed != kExitOk) return designed;
    if (const int status = ExportDesign(c.exportTo, filter, err); status != kExitOk) return status;
    if (!c.curve.empty()) {
        const bool time = curveType == kPlotImpulse || curveType == kPlotStep;
        const std::int32_t points = c.points > 0 ? c.points : (time ? 128 : 512);
        WriteCurve(filter, curveType, points, out);
    } else if (c.json) {
        nlohmann::json j = FilterToJson(filter);
        j["report"] = DesignReportToJson(MakeDesignReport(filter, bands));
        out << j.dump(2) << "\n";
    } else {
        WriteFilterText(filter, out);
        WriteDesignReportText(MakeDesignReport(filter, bands), out);
    }
    return kExitOk;
}

int RunDemo(std::ostream& out, std::ostream& err) {
    const char* const names[] = {"Butterworth", "Chebyshev", "Elliptic"};
    for (std::int32_t family = kButterworth; family <= kElliptic; ++family) {
        DesignOptions o;
        o.spec.family = family;
        CIirFilter filter;
        if (DesignFilter(o, filter, err) != kExitOk) return kExitFailure;
        out << "== " << names[family] << " lowpass, order 4, cutoff 0.2 of Fs = 1 Hz\n";
        WriteFilterText(filter, out);
        out << "\n";
    }
    return kExitOk;
}

} // namespace

int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"TarvoIIR: design, inspect and export IIR digital filters."};
    app.name("tarvoiir-cli");
    // Before the commands: each takes its formatter from the app.
    app.formatter(std::make_shared<HelpFormatter>());
    app.require_subcommand(1);

    DesignCommand design;
    CLI::App* designCmd = app.add_subcommand(
        "design", "Design a filter from the design form's fields, as the Design button does.\n"
                  "Exit status: 0 designed, 2 refused input, 3 the design failed.");
    AddDesignOptions(*designCmd, design.design);
    designCmd->add_flag("--json", design.json, "Print every result as JSON");
    designCmd->add_option("--curve", design.curve,
                          "Print one response curve as two tab-separated columns: " + CurveNames());
    designCmd
        ->add_option("--points", design.points,
                     "Points of --curve (frequency curves: 512 from 0 to Fs/2; "
                     "impulse and step: 128 samples)")
        ->check(ResponseLengthRange());
    AddExportOptions(*designCmd, design.exportTo);
    designCmd->add_option("--save", design.save,
                          "Save the design as a new project (.tvp), as if typed into a new "
                          "project's form and designed");
    design.stop1 = designCmd->add_option(
        "--stop1", design.bands.stop1,
        "Stopband edge (lowpass, highpass) or lower stopband edge (bandpass, bandstop), in "
        "--unit: the report measures the attenuation beyond it");
    design.stop2 = designCmd->add_option("--stop2", design.bands.stop2,
                                         "Upper stopband edge (bandpass, bandstop), in --unit");

    CLI::App* demoCmd =
        app.add_subcommand("demo", "Design one lowpass filter of each family and print it.");
    ProjectCommands projects(app);
    OrderCommand order(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        return status == 0 ? kExitOk : kExitRefused;
    }

    if (designCmd->parsed()) return RunDesignCommand(design, out, err);
    if (demoCmd->parsed()) return RunDemo(out, err);
    if (const std::optional<int> status = projects.Run(out, err)) return *status;
    if (const std::optional<int> status = order.Run(out, err)) return *status;
    return kExitRefused;
}

} // namespace tarvo::cli
