#include "fw/document.h"

#include "fw/archive.h"
#include "fw/command_ids.h"
#include "fw/doc_template.h"
#include "fw/file_io.h"
#include "fw/frame.h"
#include "fw/ui.h"
#include "fw/view.h"

#include <algorithm>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <unistd.h>

namespace fw {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string LoadFailureText(const std::string& path, const std::string& why) {
    return "Cannot read the file " + Quoted(path) +
           ".\nIt is damaged or not a file of this program (" + why + ").";
}

std::string SaveFailureText(const std::string& path, const std::string& why) {
    return "Cannot save the file " + Quoted(path) + ".\n" + why + ".";
}

bool HasExtension(const std::string& path) {
    return std::filesystem::path(path).filename().has_extension();
}

// A title made into a file name: no folder separators.
std::string FileNameFromTitle(std::string title) {
    std::replace(title.begin(), title.end(), '/', '_');
    return title;
}

} // namespace

std::string OpenFailureText(const std::string& path, const std::string& why) {
    return "Cannot open the file " + Quoted(path) + ".\n" + why + ".";
}

Document::Document(Ui& ui) : ui_(ui) {}

Document::~Document() {
    for (View* v : views_) {
        v->document_ = nullptr;
    }
}

void Document::AddView(View& view) {
    if (view.document_ == this) {
        return;
    }
    if (view.document_ != nullptr) {
        view.document_->RemoveView(view);
    }
    views_.push_back(&view);
    view.document_ = this;
}

void Document::RemoveView(View& view) {
    const auto it = std::find(views_.begin(), views_.end(), &view);
    if (it != views_.end()) {
        views_.erase(it);
        view.document_ = nullptr;
    }
}

void Document::UpdateAllViews(View* sender, std::int32_t hint, Object* hintObject) {
    // Views may come and go while they are updated; go over a copy and skip
    // those that left.
    const std::vector<View*> views = views_;
    for (View* v : views) {
        if (v == sender || std::find(views_.begin(), views_.end(), v) == views_.end()) {
            continue;
        }
        v->OnUpdate(sender, hint, hintObject);
    }
}

void Document::SetModifiedFlag(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        UpdateFrameTitles();
    }
}

void Document::SetTitle(const std::string& title) {
    title_ = title;
    UpdateFrameTitles();
}

void Document::SetPathName(const std::string& path) {
    path_ = path;
    SetTitle(std::filesystem::path(path).filename().string());
}

void Document::UpdateFrameTitles() {
    std::vector<Frame*> done;
    for (View* v : views_) {
        Frame* f = v->GetParentFrame();
        if (f != nullptr && std::find(done.begin(), done.end(), f) == done.end()) {
            done.push_back(f);
            f->OnUpdateFrameTitle();
        }
    }
}

bool Document::OnNewDocument() {
    DeleteContents();
    path_.clear();
    SetModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const std::string& path) {
    BusyGuard busy(ui_);
    std::vector<std::uint8_t> bytes;
    if (const FileResult read = ReadFileBytes(path, bytes); !read) {
        ui_.Message(OpenFailureText(path, read.error), Icon::Error);
        return false;
    }

    DeleteContents();
    // Marked modified while loading; a loader may mark it again for its own reasons.
    SetModifiedFlag(true);
    std::string failure;
    try {
        Archive ar = Archive::ForLoading(bytes);
        Serialize(ar);
    } catch (const ArchiveError& e) {
        failure = e.what();
    } catch (const std::bad_alloc&) {
        failure = "out of memory";
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!failure.empty()) {
        DeleteContents();
        SetModifiedFlag(false);
        ui_.Message(LoadFailureText(path, failure), Icon::Error);
        return false;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    return true;
}

bool Document::OnSaveDocument(const std::string& path) {
    BusyGuard busy(ui_);
    Archive ar = Archive::ForStoring();
    try {
        Serialize(ar);
    } catch (const std::exception& e) {
        ui_.Message(SaveFailureText(path, e.what()), Icon::Error);
        return false;
    }
    if (const FileResult written = WriteFileAtomically(path, ar.Buffer()); !written) {
        ui_.Message(SaveFailureText(path, written.error), Icon::Error);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void Document::DeleteContents() {}

void Document::Serialize(Archive& /*ar*/) {}

bool Document::DoFileSave() {
    // A write-protected file is saved under another name, as the user would
    // otherwise only learn that it cannot be written.
    if (!path_.empty() && ::access(path_.c_str(), F_OK) == 0 &&
        ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) {
        return DoSave({});
    }
    return DoSave(path_);
}

bool Document::DoSave(const std::string& path, bool replace) {
    std::string target = path;
    if (target.empty()) {
        std::string suggested = path_;
        std::string filter;
        std::string extension;
        if (template_ != nullptr) {
            filter = template_->GetDocString(DocTemplate::DocString::FilterName);
            extension = template_->GetDocString(DocTemplate::DocString::FilterExt);
        }
        if (suggested.empty()) {
            suggested = FileNameFromTitle(title_);
            if (!HasExtension(suggested)) {
                suggested += extension;
            }
        }
        const std::optional<std::string> chosen = ui_.AskSavePath(suggested, filter);
        if (!chosen || chosen->empty()) {
            return false;
        }
        target = *chosen;
        if (!HasExtension(target)) {
            target += extension;
        }
    }
    if (!OnSaveDocument(target)) {
        return false;
    }
    if (replace) {
        SetPathName(target);
    }
    return true;
}

bool Document::SaveModified() {
    if (!IsModified()) {
        return true;
    }
    const std::string& name = path_.empty() ? title_ : path_;
    switch (ui_.Ask("Save changes to " + name + "?", Buttons::YesNoCancel)) {
    case Answer::Yes:
        return DoFileSave();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool Document::OnCommand(CommandId id) {
    if (id == kIdFileSave) {
        DoFileSave();
        return true;
    }
    if (id == kIdFileSaveAs) {
        DoSave({});
        return true;
    }
    return false;
}

bool Document::OnUpdateCommand(CommandId id, CmdUI& ui) {
    if (id == kIdFileSave || id == kIdFileSaveAs) {
        ui.Enable();
        return true;
    }
    return false;
}

} // namespace fw
