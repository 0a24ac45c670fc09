#pragma once
// The commands of tarvoiir-cli that work on project files: show, export,
// response and convert; and the project that `design --save` writes.

#include "cli/export_options.h"
#include "export/iir_file_format.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace tarvo {
class CIirFilter;
}

namespace tarvo::cli {

struct DesignOptions;

class ProjectCommands {
public:
    // Adds the four commands to app.
    explicit ProjectCommands(CLI::App& app);
    ProjectCommands(const ProjectCommands&) = delete;
    ProjectCommands& operator=(const ProjectCommands&) = delete;

    // Runs the one of them that was parsed; nothing when none of them was.
    std::optional<int> Run(std::ostream& out, std::ostream& err);

private:
    int Show(std::ostream& out, std::ostream& err);
    int Export(std::ostream& out, std::ostream& err);
    int Response(std::ostream& out, std::ostream& err);
    int Convert(std::ostream& out, std::ostream& err);

    CLI::App* show_ = nullptr;
    CLI::App* export_ = nullptr;
    CLI::App* response_ = nullptr;
    CLI::App* convert_ = nullptr;
    std::string file_;
    std::string target_;
    std::string curve_;
    std::int32_t points_ = 0;
    bool csv_ = false;
    // show's overrides of the project's coefficient-view format: only the
    // options given replace its fields.
    CIirFileFormat showFormat_;
    std::vector<FormatOption> showOptions_;
    CLI::Option* showFileFormat_ = nullptr;
};

// A new project whose design form holds the options, designed as the Design
// button does and saved to path; designed receives the project's filter.
// kExitOk, kExitRefused or kExitNotDesigned as the design went, kExitFailure
// when the file could not be written.
int DesignNewProject(const DesignOptions& options, const std::string& path, CIirFilter& designed,
                     std::ostream& err);

} // namespace tarvo::cli
