#pragma once
// A window that holds one or more views of a document. The frame owns its views;
// destroying it destroys them and so detaches them from their document.

#include "fw/command_target.h"

#include <memory>
#include <vector>

namespace fw {

class DocTemplate;
class Document;
class View;

class Frame : public CommandTarget {
public:
    Frame() = default;
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    ~Frame() override;

    // Takes the view, attaches it to doc (when given) and returns it. The first
    // view added becomes the active one.
    View& AddView(std::unique_ptr<View> view, Document* doc);
    // Destroys one of this frame's views.
    void RemoveView(View& view);
    std::vector<View*> Views() const;

    View* GetActiveView() const { return active_; }
    // view must be one of this frame's views (others are ignored).
    void SetActiveView(View* view);
    // The active view's document, else the first attached view's, else null.
    Document* GetActiveDocument() const;

    // The template that made this frame (null for a frame made otherwise).
    DocTemplate* GetDocTemplate() const { return template_; }

    // Gives every view its initial update, in order, then shows the frame when
    // makeVisible is set.
    void InitialUpdateFrame(bool makeVisible = true);

    // Shows the frame and brings it to the top (the desktop program's frames).
    virtual void ActivateFrame() {}

    // The document's title or modified state changed.
    virtual void OnUpdateFrameTitle() {}

private:
    friend class DocTemplate;
    std::vector<std::unique_ptr<View>> views_;
    View* active_ = nullptr;
    DocTemplate* template_ = nullptr;
};

} // namespace fw
