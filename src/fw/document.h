#pragma once
// A document owns the data of one file and the list of views that show it. It
// tells its views about changes through UpdateAllViews, reads and writes itself
// through Serialize, and reports failures to the user through its Ui.

#include "fw/command_target.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class Archive;
class DocTemplate;
class Ui;
class View;

// "Cannot open the file "path".\nwhy." as an open that cannot read the file reports it.
std::string OpenFailureText(const std::string& path, const std::string& why);

class Document : public CommandTarget {
public:
    explicit Document(Ui& ui);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    // Detaches the views that are still attached.
    ~Document() override;

    Ui& GetUi() const { return ui_; }

    // Views, in the order they were attached. Attaching a view of another
    // document moves it here.
    void AddView(View& view);
    void RemoveView(View& view);
    const std::vector<View*>& Views() const { return views_; }

    // Calls OnUpdate(sender, hint, hintObject) at once on every attached view
    // except sender, in attach order. A view attached during the round is not
    // called; a view detached during it is not called any more.
    void UpdateAllViews(View* sender, std::int32_t hint = 0, Object* hintObject = nullptr);

    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true);

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return path_; }
    // Remembers the file and titles the document with its name.
    void SetPathName(const std::string& path);

    // The template the document was made by (null when made otherwise).
    DocTemplate* GetDocTemplate() const { return template_; }
    void SetDocTemplate(DocTemplate* docTemplate) { template_ = docTemplate; }

    // A new, empty document: DeleteContents, no path, not modified.
    virtual bool OnNewDocument();
    // Reads the file into memory and loads it through Serialize. An unreadable
    // file or a failing load shows a message and returns false; a failed load
    // leaves the contents deleted. On success the document is unmodified and
    // has the file's path.
    virtual bool OnOpenDocument(const std::string& path);
    // Stores through Serialize and replaces the file safely. A failure shows a
    // message and returns false; the old file stays intact and the modified flag
    // unchanged. On success the document is unmodified.
    virtual bool OnSaveDocument(const std::string& path);
    // Empties the document's data; the framework calls it before new and open.
    virtual void DeleteContents();
    // Stores or loads the whole document (ArchiveError on a bad stream).
    virtual void Serialize(Archive& ar);

    // Save: to the current path, or asking for one when there is none.
    bool DoFileSave();
    // Saves to path; an empty path asks for a name first (Save As). replace
    // makes the file the document's path. False when cancelled or failed.
    bool DoSave(const std::string& path, bool replace = true);
    // Before closing: asks whether to save a modified document. False when the
    // user cancels or the save fails, so the document must stay open.
    bool SaveModified();

    // Save (57603) and Save As (57604), always enabled.
    bool OnCommand(CommandId id) override;
    bool OnUpdateCommand(CommandId id, CmdUI& ui) override;

private:
    void UpdateFrameTitles();

    Ui& ui_;
    std::vector<View*> views_;
    bool modified_ = false;
    std::string title_;
    std::string path_;
    DocTemplate* template_ = nullptr;
};

} // namespace fw
