#pragma once
// A view shows one document. It learns of changes only through OnUpdate, which
// the document's UpdateAllViews calls with a hint word and a hint object.

#include "fw/command_target.h"

#include <cstdint>

namespace fw {

class Document;
class Frame;

class View : public CommandTarget {
public:
    View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    // Leaves its document's view list.
    ~View() override;

    // The document this view is attached to (null when none).
    Document* GetDocument() const { return document_; }
    // The frame that holds this view (null when none).
    Frame* GetParentFrame() const { return frame_; }

    // A change of the document: sender is the view that caused it (or null),
    // hint says what changed, hintObject what it concerns (may be null).
    virtual void OnUpdate(View* sender, std::int32_t hint, Object* hintObject) = 0;
    // The first update after the view's frame is created: by default an update
    // with hint 0 and a null hint object.
    virtual void OnInitialUpdate();

private:
    friend class Document;
    friend class Frame;
    Document* document_ = nullptr;
    Frame* frame_ = nullptr;
};

} // namespace fw
