#pragma once
// The document templates of the desktop program: the project template, which
// makes projects and their design windows, and the templates of the further
// windows a project opens.

#include "fw/doc_template.h"

#include <functional>
#include <memory>

namespace fw {
class Ui;
}

namespace tarvo {

class CTarvoIirDoc;
class FrameServices;
struct ProjectContext;

class ProjectTemplate : public fw::DocTemplate {
public:
    using ContextSource = std::function<ProjectContext()>;
    ProjectTemplate(FrameServices& services, fw::Ui& ui, ContextSource context);

    std::unique_ptr<fw::Document> CreateNewDocument() override;

protected:
    std::unique_ptr<fw::Frame> MakeFrame(fw::Document& doc) override;

private:
    FrameServices& services_;
    fw::Ui& ui_;
    ContextSource context_;
};

// A template that opens one kind of window on an existing project.
class WindowTemplate : public fw::DocTemplate {
public:
    using Factory = std::function<std::unique_ptr<fw::Frame>(CTarvoIirDoc&)>;
    explicit WindowTemplate(Factory factory);

protected:
    std::unique_ptr<fw::Frame> MakeFrame(fw::Document& doc) override;

private:
    Factory factory_;
};

} // namespace tarvo
