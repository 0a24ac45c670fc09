#include "doc/project_file.h"

#include "doc/ser_doc.h"
#include "fw/application.h"
#include "fw/document.h"
#include "fw/file_io.h"
#include "fw/ui.h"

namespace tarvo {

fw::Document* OpenProjectFile(fw::Application& app, fw::DocTemplate& projectTemplate,
                              const std::string& path) {
    const ProbeResult probe = ProbeDocumentType(path, app.GetUi());
    if (!probe.opened) {
        // Read again for the reason: a recent file that has gone, a folder dropped.
        std::vector<std::uint8_t> bytes;
        const fw::FileResult read = fw::ReadFileBytes(path, bytes, 2);
        app.GetUi().Message(
            fw::OpenFailureText(path, read.ok ? std::string("It could not be read") : read.error),
            fw::Icon::Error);
        return nullptr;
    }
    return app.OpenDocumentFile(projectTemplate, path);
}

} // namespace tarvo
