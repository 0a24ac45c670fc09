#include "app/project_templates.h"

#include "app/frames.h"
#include "doc/project_file.h"
#include "doc/tarvo_iir_doc.h"

namespace tarvo {

ProjectTemplate::ProjectTemplate(FrameServices& services, fw::Ui& ui, ContextSource context)
    : fw::DocTemplate(kProjectDocStrings), services_(services), ui_(ui),
      context_(std::move(context)) {}

std::unique_ptr<fw::Document> ProjectTemplate::CreateNewDocument() {
    return std::make_unique<CTarvoIirDoc>(ui_, context_());
}

std::unique_ptr<fw::Frame> ProjectTemplate::MakeFrame(fw::Document& doc) {
    auto* project = dynamic_cast<CTarvoIirDoc*>(&doc);
    if (project == nullptr) return nullptr;
    return std::make_unique<CIirSplitFrame>(services_, *project);
}

WindowTemplate::WindowTemplate(Factory factory)
    : fw::DocTemplate(kProjectDocStrings), factory_(std::move(factory)) {}

std::unique_ptr<fw::Frame> WindowTemplate::MakeFrame(fw::Document& doc) {
    auto* project = dynamic_cast<CTarvoIirDoc*>(&doc);
    if (project == nullptr) return nullptr;
    return factory_(*project);
}

} // namespace tarvo
