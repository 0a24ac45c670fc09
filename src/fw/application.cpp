#include "fw/application.h"

#include "fw/doc_template.h"
#include "fw/document.h"
#include "fw/frame.h"
#include "fw/view.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fw {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return !ec && same;
}

} // namespace

Application::Application(Ui& ui) : ui_(ui) {}

Application::~Application() {
    while (!documents_.empty()) {
        Document& doc = *documents_.back();
        CloseFramesOf(doc);
        documents_.pop_back();
    }
    while (!templates_.empty()) {
        templates_.pop_back();
    }
}

DocTemplate& Application::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate) {
    templates_.push_back(std::move(docTemplate));
    return *templates_.back();
}

std::vector<DocTemplate*> Application::Templates() const {
    std::vector<DocTemplate*> list;
    for (const auto& t : templates_) {
        list.push_back(t.get());
    }
    return list;
}

std::vector<Document*> Application::Documents() const {
    std::vector<Document*> list;
    for (const auto& d : documents_) {
        list.push_back(d.get());
    }
    return list;
}

Document* Application::OpenNewDocument(DocTemplate& docTemplate) {
    std::unique_ptr<Document> owned = docTemplate.CreateNewDocument();
    if (!owned) {
        return nullptr;
    }
    Document& doc = *owned;
    doc.SetDocTemplate(&docTemplate);
    documents_.push_back(std::move(owned));
    // The frame exists before OnNewDocument so that its views hear the new
    // document's first updates.
    Frame* frame = docTemplate.CreateNewFrame(doc);
    if (frame == nullptr) {
        DestroyDocument(doc);
        return nullptr;
    }
    docTemplate.SetDefaultTitle(doc);
    if (!doc.OnNewDocument()) {
        DestroyDocument(doc);
        return nullptr;
    }
    docTemplate.InitialUpdateFrame(*frame);
    return &doc;
}

Document* Application::OpenDocumentFile(DocTemplate& docTemplate, const std::string& path) {
    for (const auto& d : documents_) {
        if (SameFile(d->GetPathName(), path)) {
            if (Frame* f = FirstFrameOf(*d); f != nullptr) {
                f->ActivateFrame();
            }
            return d.get();
        }
    }
    std::unique_ptr<Document> owned = docTemplate.CreateNewDocument();
    if (!owned) {
        return nullptr;
    }
    Document& doc = *owned;
    doc.SetDocTemplate(&docTemplate);
    documents_.push_back(std::move(owned));
    Frame* frame = docTemplate.CreateNewFrame(doc);
    if (frame == nullptr || !doc.OnOpenDocument(path)) {
        DestroyDocument(doc);
        return nullptr;
    }
    docTemplate.InitialUpdateFrame(*frame);
    return &doc;
}

Frame* Application::FirstFrameOf(const Document& doc) const {
    for (const auto& t : templates_) {
        if (const std::vector<Frame*> frames = t->FramesOf(doc); !frames.empty()) {
            return frames.front();
        }
    }
    return nullptr;
}

void Application::CloseFramesOf(Document& doc) {
    for (DocTemplate* t : Templates()) {
        for (Frame* f : t->FramesOf(doc)) {
            OnFrameClosing(*f);
            t->CloseFrame(*f);
        }
    }
}

void Application::DestroyDocument(Document& doc) {
    CloseFramesOf(doc);
    const auto it =
        std::find_if(documents_.begin(), documents_.end(),
                     [&doc](const std::unique_ptr<Document>& d) { return d.get() == &doc; });
    if (it != documents_.end()) {
        std::unique_ptr<Document> doomed = std::move(*it);
        documents_.erase(it);
    }
}

bool Application::CloseDocument(Document& doc, bool askToSave) {
    if (askToSave && !doc.SaveModified()) {
        return false;
    }
    DestroyDocument(doc);
    return true;
}

bool Application::CloseFrame(Frame& frame) {
    if (Document* doc = frame.GetActiveDocument(); doc != nullptr) {
        const std::vector<View*> inFrame = frame.Views();
        const std::vector<View*>& ofDoc = doc->Views();
        const bool last = std::all_of(ofDoc.begin(), ofDoc.end(), [&inFrame](View* v) {
            return std::find(inFrame.begin(), inFrame.end(), v) != inFrame.end();
        });
        if (last) {
            return CloseDocument(*doc, true);
        }
    }
    if (DocTemplate* t = frame.GetDocTemplate(); t != nullptr) {
        OnFrameClosing(frame);
        t->CloseFrame(frame);
    }
    return true;
}

bool Application::SaveAllModified() {
    return std::all_of(documents_.begin(), documents_.end(),
                       [](const std::unique_ptr<Document>& d) { return d->SaveModified(); });
}

std::vector<CommandTarget*> Application::CommandChain() {
    std::vector<CommandTarget*> chain;
    if (View* view = GetActiveView(); view != nullptr) {
        chain.push_back(view);
        if (Document* doc = view->GetDocument(); doc != nullptr) {
            chain.push_back(doc);
        }
        if (Frame* frame = view->GetParentFrame(); frame != nullptr) {
            chain.push_back(frame);
        }
    }
    chain.push_back(this);
    return chain;
}

bool Application::DoCommand(CommandId id) {
    return RouteCommand(CommandChain(), id);
}

CmdUI Application::UpdateCommandState(CommandId id) {
    return UpdateCommand(CommandChain(), id);
}

} // namespace fw
