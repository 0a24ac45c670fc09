#pragma once
// Plain implementations of the framework's interfaces for the tests: views that
// record their updates, a frame and template that make them, an application
// whose active view the test sets, and a document that stores a few fields.

#include "fw/application.h"
#include "fw/archive.h"
#include "fw/doc_template.h"
#include "fw/document.h"
#include "fw/frame.h"
#include "fw/view.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw::test {

// One OnUpdate as a view saw it.
struct Update {
    std::string view;
    View* sender = nullptr;
    std::int32_t hint = 0;
    Object* object = nullptr;
};

// Everything the fakes did, in order, across all of them.
struct EventLog {
    std::vector<Update> updates;
    std::vector<std::string> events;
};

class RecordingView : public View {
public:
    RecordingView(std::string name, EventLog& log) : name_(std::move(name)), log_(log) {}
    ~RecordingView() override { log_.events.push_back("destroy " + name_); }

    void OnUpdate(View* sender, std::int32_t hint, Object* object) override {
        log_.updates.push_back({name_, sender, hint, object});
        if (onUpdate) {
            onUpdate(hint);
        }
    }
    const std::string& Name() const { return name_; }

    // Runs inside OnUpdate, after the update is recorded.
    std::function<void(std::int32_t hint)> onUpdate;

private:
    std::string name_;
    EventLog& log_;
};

class FakeFrame : public Frame {
public:
    FakeFrame(std::string name, EventLog& log) : name_(std::move(name)), log_(log) {}
    ~FakeFrame() override { log_.events.push_back("destroy " + name_); }
    void ActivateFrame() override { log_.events.push_back("activate " + name_); }
    void OnUpdateFrameTitle() override { ++titleUpdates; }
    int titleUpdates = 0;

private:
    std::string name_;
    EventLog& log_;
};

// A document of a count, a list of numbers and a name.
class NumbersDoc : public Document {
public:
    NumbersDoc(Ui& ui, EventLog& log) : Document(ui), log_(log) {}

    void DeleteContents() override {
        log_.events.push_back("DeleteContents");
        numbers.clear();
        name.clear();
    }
    void Serialize(Archive& ar) override {
        log_.events.push_back(ar.IsStoring() ? "store" : "load");
        if (failStore && ar.IsStoring()) {
            throw ArchiveError(ArchiveError::Kind::BadCount, "count too large to store");
        }
        if (ar.IsStoring()) {
            ar.WriteCount(numbers.size());
            for (const std::int32_t n : numbers) {
                ar << n;
            }
        } else {
            const std::int32_t count = ar.ReadCount(4);
            numbers.clear();
            for (std::int32_t i = 0; i < count; ++i) {
                numbers.push_back(ar.ReadI32());
            }
        }
        ar.Exchange(name);
    }
    bool OnNewDocument() override {
        if (!Document::OnNewDocument()) {
            return false;
        }
        UpdateAllViews(nullptr, 777, nullptr);
        return !failNew;
    }

    std::vector<std::int32_t> numbers;
    std::string name;
    bool failStore = false;
    bool failNew = false;

private:
    EventLog& log_;
};

// Makes NumbersDoc documents and frames with one recording view each (or as
// many as viewsPerFrame says).
class FakeTemplate : public DocTemplate {
public:
    FakeTemplate(const std::string& strings, Ui& ui, EventLog& log)
        : DocTemplate(strings), ui_(ui), log_(log) {}

    std::unique_ptr<Document> CreateNewDocument() override {
        return std::make_unique<NumbersDoc>(ui_, log_);
    }

    int viewsPerFrame = 1;
    bool failFrames = false;

protected:
    std::unique_ptr<Frame> MakeFrame(Document& doc) override {
        if (failFrames) {
            return nullptr;
        }
        const std::string name = "frame" + std::to_string(++made_);
        auto frame = std::make_unique<FakeFrame>(name, log_);
        for (int i = 0; i < viewsPerFrame; ++i) {
            frame->AddView(
                std::make_unique<RecordingView>(name + ".view" + std::to_string(i), log_), &doc);
        }
        log_.events.push_back("create " + name);
        return frame;
    }

private:
    Ui& ui_;
    EventLog& log_;
    int made_ = 0;
};

class FakeApplication : public Application {
public:
    using Application::Application;
    View* GetActiveView() const override { return active; }
    View* active = nullptr;

protected:
    void OnFrameClosing(Frame& frame) override {
        if (active != nullptr && active->GetParentFrame() == &frame) {
            active = nullptr;
        }
    }
};

} // namespace fw::test
