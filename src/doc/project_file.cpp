#include "doc/project_file.h"

#include "doc/ser_doc.h"
#include "fw/application.h"

namespace tarvo {

fw::Document* OpenProjectFile(fw::Application& app, fw::DocTemplate& projectTemplate,
                              const std::string& path) {
    const ProbeResult probe = ProbeDocumentType(path, app.GetUi());
    if (!probe.opened) return nullptr;
    return app.OpenDocumentFile(projectTemplate, path);
}

} // namespace tarvo
