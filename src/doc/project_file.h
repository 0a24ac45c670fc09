#pragma once
// The project file type: the description strings of the project template and
// the open that first probes a file's document type.

#include <string>

namespace fw {
class Application;
class DocTemplate;
class Document;
} // namespace fw

namespace tarvo {

// The seven fields of the project template: no window title, new projects
// titled IIR1, IIR2, ..., the file dialog filter, the extension and the
// desktop's file-type identifier and name.
inline constexpr const char* kProjectDocStrings =
    "\nIIR\nTarvoIIR Project\nTarvoIIR Project Files (*.tvp)\n.tvp\nTarvoIIR.Project\n"
    "TarvoIIR Project";

// Opens a file from the File menu, the recent-file list, the command line or a
// drop: the header is probed first; a project goes to projectTemplate, and so
// does any other type, the project template being the only one that opens
// files. A file that cannot be opened at all gives null without a message;
// one that fails to load gives null after the load's own message.
fw::Document* OpenProjectFile(fw::Application& app, fw::DocTemplate& projectTemplate,
                              const std::string& path);

} // namespace tarvo
