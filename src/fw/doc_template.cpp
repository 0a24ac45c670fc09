#include "fw/doc_template.h"

#include "fw/document.h"
#include "fw/frame.h"
#include "fw/view.h"

#include <algorithm>

namespace fw {

DocTemplate::DocTemplate(const std::string& docStrings) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < kDocStringCount && start <= docStrings.size(); ++i) {
        const std::size_t end = docStrings.find('\n', start);
        if (end == std::string::npos) {
            strings_[i] = docStrings.substr(start);
            break;
        }
        strings_[i] = docStrings.substr(start, end - start);
        start = end + 1;
    }
}

DocTemplate::~DocTemplate() {
    while (!frames_.empty()) {
        frames_.pop_back();
    }
}

const std::string& DocTemplate::GetDocString(DocString which) const {
    return strings_[static_cast<std::size_t>(which)];
}

std::unique_ptr<Document> DocTemplate::CreateNewDocument() {
    return nullptr;
}

Frame* DocTemplate::CreateNewFrame(Document& doc) {
    std::unique_ptr<Frame> frame = MakeFrame(doc);
    if (!frame) {
        return nullptr;
    }
    frame->template_ = this;
    frames_.push_back(std::move(frame));
    return frames_.back().get();
}

void DocTemplate::InitialUpdateFrame(Frame& frame, bool makeVisible) {
    frame.InitialUpdateFrame(makeVisible);
}

Frame* DocTemplate::OpenFrame(Document& doc) {
    Frame* frame = CreateNewFrame(doc);
    if (frame != nullptr) {
        InitialUpdateFrame(*frame);
    }
    return frame;
}

void DocTemplate::CloseFrame(Frame& frame) {
    const auto it =
        std::find_if(frames_.begin(), frames_.end(),
                     [&frame](const std::unique_ptr<Frame>& f) { return f.get() == &frame; });
    if (it == frames_.end()) {
        return;
    }
    std::unique_ptr<Frame> doomed = std::move(*it);
    frames_.erase(it);
    doomed.reset();
}

std::vector<Frame*> DocTemplate::Frames() const {
    std::vector<Frame*> frames;
    frames.reserve(frames_.size());
    for (const auto& f : frames_) {
        frames.push_back(f.get());
    }
    return frames;
}

std::vector<Frame*> DocTemplate::FramesOf(const Document& doc) const {
    std::vector<Frame*> frames;
    for (const auto& f : frames_) {
        const std::vector<View*> views = f->Views();
        if (std::any_of(views.begin(), views.end(),
                        [&doc](const View* v) { return v->GetDocument() == &doc; })) {
            frames.push_back(f.get());
        }
    }
    return frames;
}

void DocTemplate::SetDefaultTitle(Document& doc) {
    const std::string& base = GetDocString(DocString::DocName);
    ++untitledCount_;
    doc.SetTitle(base.empty() ? "Untitled" : base + std::to_string(untitledCount_));
}

} // namespace fw
