#pragma once
// A document template pairs a kind of frame and view (and, for templates that
// make documents, a document class) with the strings that describe its files.
// Opening a window for a document is CreateNewFrame followed by
// InitialUpdateFrame. The template keeps the frames it made until they close.

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class Document;
class Frame;

class DocTemplate {
public:
    // The seven fields of the description string, in order.
    enum class DocString {
        WindowTitle,     // title of a single-document main window
        DocName,         // base of new documents' titles ("IIR" gives IIR1, IIR2, ...)
        FileNewName,     // name of the type in a New list
        FilterName,      // file dialog filter, e.g. "Project Files (*.prj)"
        FilterExt,       // default extension with its dot
        RegFileTypeId,   // file-type identifier for the desktop
        RegFileTypeName, // file-type name for the desktop
    };
    static constexpr std::size_t kDocStringCount = 7;

    // docStrings: the seven fields separated by "\n"; missing ones are empty.
    explicit DocTemplate(const std::string& docStrings);
    DocTemplate(const DocTemplate&) = delete;
    DocTemplate& operator=(const DocTemplate&) = delete;
    // Destroys the frames still open, the newest first.
    virtual ~DocTemplate();

    const std::string& GetDocString(DocString which) const;

    // A new document of the template's class; null (the default) for templates
    // that only open windows on existing documents.
    virtual std::unique_ptr<Document> CreateNewDocument();

    // Makes a frame holding its view(s) of doc and keeps it; null on failure.
    Frame* CreateNewFrame(Document& doc);
    // The frame's first update (every view gets OnInitialUpdate), then shows it.
    void InitialUpdateFrame(Frame& frame, bool makeVisible = true);
    // Both of the above: a new window on doc. Null when no frame could be made.
    Frame* OpenFrame(Document& doc);
    // Destroys one of this template's frames (its views leave their document).
    void CloseFrame(Frame& frame);

    std::vector<Frame*> Frames() const;
    // The frames holding at least one view of doc.
    std::vector<Frame*> FramesOf(const Document& doc) const;

    // Titles a new document from DocName and a running number that starts at 1
    // for each template ("Untitled" when DocName is empty).
    void SetDefaultTitle(Document& doc);

protected:
    // The frame with its view(s) attached to doc; null when it cannot be made.
    virtual std::unique_ptr<Frame> MakeFrame(Document& doc) = 0;

private:
    std::array<std::string, kDocStringCount> strings_;
    std::vector<std::unique_ptr<Frame>> frames_;
    int untitledCount_ = 0;
};

} // namespace fw
