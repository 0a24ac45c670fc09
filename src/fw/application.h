#pragma once
// The application object: it owns the document templates and the open
// documents, opens and closes them, and routes commands along the chain active
// view, its document, its frame, the application. The desktop program and the
// tests derive from it and say which view is active.

#include "fw/command_target.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class DocTemplate;
class Document;
class Frame;
class Ui;
class View;

class Application : public CommandTarget {
public:
    explicit Application(Ui& ui);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    // Closes every document without asking (their frames first), then destroys
    // the templates from the last added to the first.
    ~Application() override;

    Ui& GetUi() const { return ui_; }

    DocTemplate& AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    std::vector<DocTemplate*> Templates() const;

    // File New with one template: a new document, its frame, its default title,
    // OnNewDocument and the frame's initial update. Null, with nothing left
    // behind, when any step fails.
    Document* OpenNewDocument(DocTemplate& docTemplate);
    // Opens a file as a document of the template: document, frame, OnOpenDocument,
    // initial update. A file that is already open brings its window forward
    // instead. Null, with nothing left behind, when the file cannot be opened.
    Document* OpenDocumentFile(DocTemplate& docTemplate, const std::string& path);

    // Closes a document: asks to save it first when askToSave is set and it is
    // modified, then closes all its frames and destroys it. False when it stays
    // open (the user cancelled or the save failed).
    bool CloseDocument(Document& doc, bool askToSave = true);
    // Closes one frame. The frame holding the last views of a document closes the
    // document (with the save prompt). False when the frame stays open.
    bool CloseFrame(Frame& frame);
    // At exit: the save prompt for every modified document; false when one of
    // them must stay open.
    bool SaveAllModified();

    std::vector<Document*> Documents() const;

    // The view that has the focus (null when none).
    virtual View* GetActiveView() const = 0;

    // Active view, its document, its frame, this application (nulls left out).
    std::vector<CommandTarget*> CommandChain();
    // Runs a command along the chain; false when nobody ran it or it is disabled.
    bool DoCommand(CommandId id);
    // The command's state as the chain decides it.
    CmdUI UpdateCommandState(CommandId id);

protected:
    // A frame is about to be destroyed (so that an active view in it can be forgotten).
    virtual void OnFrameClosing(Frame& /*frame*/) {}

private:
    Frame* FirstFrameOf(const Document& doc) const;
    void CloseFramesOf(Document& doc);
    void DestroyDocument(Document& doc);

    Ui& ui_;
    std::vector<std::unique_ptr<DocTemplate>> templates_;
    std::vector<std::unique_ptr<Document>> documents_;
};

} // namespace fw
