#pragma once
// The export-file options of `design --export PATH`: a new export-list entry's
// format options, written exactly as that entry would write them.

#include "export/iir_export_file_format.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {
class CIirFilter;
}

namespace tarvo::cli {

struct ExportOptions {
    std::string path;               // --export: the file to write; empty: no export
    std::int32_t format = -1;       // --export-format; -1: from the extension of the path
    CIirExportFileFormat entry{""}; // every other option, from a new entry's defaults
};

// The file format the extension of path names: .txt and .hex Text, .c C,
// .cpp C++, .m Matlab (letter case ignored); any other extension C++, the
// format of a new export entry.
std::int32_t FormatFromExtension(const std::string& path);

// Adds --export and the format options (which all need --export) to a command.
void AddExportOptions(CLI::App& command, ExportOptions& options);

// One format option and how to copy the field it sets from one format to
// another, so that only the options given on the command line override a
// format read from elsewhere.
struct FormatOption {
    CLI::Option* option = nullptr;
    std::function<void(CIirFileFormat& to, const CIirFileFormat& from)> copy;
};

// Adds the format options (--numeric to --source-text) bound to format.
std::vector<FormatOption> AddFormatOptions(CLI::App& command, CIirFileFormat& format);

// The names the file-format options accept: text, c, c++ (or cpp), matlab.
const std::map<std::string, std::int32_t>& FileFormatNames();

// A response length above the writer's limit among the options given is
// refused, as the format dialog refuses it, even when that response is not
// written: the range message naming the limit, or nothing.
std::optional<std::string> CheckResponseLengths(const CIirFileFormat& given);

// The checks of the export's options, before anything is designed or saved:
// kExitRefused, with the message on err, when a C or C++ source is given a
// ".h" path, the options fail the format dialog's checks or a length is above
// the writer's limit; otherwise (or without --export) kExitOk.
int CheckExport(const ExportOptions& options, std::ostream& err);

// Writes the files of the export for a designed filter; messages go to err.
// kExitOk when no export was asked for or every file was written; kExitRefused
// when CheckExport refuses (nothing written); kExitFailure when a file could
// not be written.
int ExportDesign(const ExportOptions& options, CIirFilter& filter, std::ostream& err);

} // namespace tarvo::cli
