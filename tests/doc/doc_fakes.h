#pragma once
// Plain stand-ins for what surrounds a project document in the desktop
// program: views that record their updates, frames (one of them a design
// window), templates that make them, and dialogs that answer from a script.

#include "doc/design_frame.h"
#include "doc/project_dialogs.h"
#include "fw/doc_template.h"
#include "fw/view.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <utility>

namespace tarvo::test {

struct HintRecord {
    std::string view;
    std::int32_t hint = 0;
    fw::Object* object = nullptr;
};

struct HintLog {
    std::vector<HintRecord> updates;
    std::vector<std::string> events;

    // The hints one view saw, or every view when name is empty.
    std::vector<std::int32_t> Hints(const std::string& name = {}) const {
        std::vector<std::int32_t> hints;
        for (const HintRecord& u : updates) {
            if (name.empty() || u.view == name) hints.push_back(u.hint);
        }
        return hints;
    }
    void Clear() {
        updates.clear();
        events.clear();
    }
};

class RecordingView : public fw::View {
public:
    RecordingView(std::string name, HintLog& log) : name_(std::move(name)), log_(log) {}
    void OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* object) override {
        log_.updates.push_back({name_, hint, object});
        if (onUpdate) onUpdate(hint);
    }
    std::function<void(std::int32_t)> onUpdate;

private:
    std::string name_;
    HintLog& log_;
};

class FakeFrame : public fw::Frame {
public:
    FakeFrame(std::string name, HintLog& log) : name_(std::move(name)), log_(log) {}
    void ActivateFrame() override { log_.events.push_back("activate " + name_); }

private:
    std::string name_;
    HintLog& log_;
};

// A design window: panes are the views given an index with SetPane.
class FakeDesignFrame : public DesignFrame {
public:
    FakeDesignFrame(std::string name, HintLog& log) : name_(std::move(name)), log_(log) {}
    std::optional<std::int32_t> PaneIndexOf(const fw::View& view) const override {
        const auto it = panes_.find(&view);
        if (it == panes_.end()) return std::nullopt;
        return it->second;
    }
    void LayoutPanes() override { log_.events.push_back("layout " + name_); }
    void ActivateFrame() override { log_.events.push_back("activate " + name_); }
    void SetPane(const fw::View& view, std::int32_t index) { panes_[&view] = index; }

private:
    std::string name_;
    HintLog& log_;
    std::map<const fw::View*, std::int32_t> panes_;
};

// Makes frames of one kind, each with one recording view named after the
// template and a running number ("freq1.view"); design templates make design
// frames whose view is pane 2.
class FakeTemplate : public fw::DocTemplate {
public:
    FakeTemplate(std::string name, HintLog& log, bool designWindow = false)
        : fw::DocTemplate("\nIIR"), name_(std::move(name)), log_(log), designWindow_(designWindow) {
    }

    int made = 0;
    // Runs as each frame is made, before its view exists.
    std::function<void(fw::Document&)> onMake;

protected:
    std::unique_ptr<fw::Frame> MakeFrame(fw::Document& doc) override {
        if (onMake) onMake(doc);
        const std::string frameName = name_ + std::to_string(++made);
        auto view = std::make_unique<RecordingView>(frameName + ".view", log_);
        log_.events.push_back("create " + frameName);
        if (designWindow_) {
            auto frame = std::make_unique<FakeDesignFrame>(frameName, log_);
            frame->SetPane(frame->AddView(std::move(view), &doc), 2);
            return frame;
        }
        auto frame = std::make_unique<FakeFrame>(frameName, log_);
        frame->AddView(std::move(view), &doc);
        return frame;
    }

private:
    std::string name_;
    HintLog& log_;
    bool designWindow_;
};

// Answers each dialog from its queue; an empty queue answers Cancel.
class ScriptedDialogs : public ProjectDialogs {
public:
    std::optional<double> MinimumDb(double current) override {
        shownMinDb.push_back(current);
        return Next(minDb);
    }
    std::optional<CFs> SamplingFrequency(const CFs& fs) override {
        shownFs.push_back(fs);
        return Next(fsAnswers);
    }
    void ExportFiles(CExportFiles& exports) override {
        ++exportDialogs;
        if (onExportFiles) onExportFiles(exports);
    }
    std::optional<DesignLayoutChoice> DesignLayout(const DesignLayoutChoice& initial) override {
        shownLayouts.push_back(initial);
        return Next(layouts);
    }

    std::optional<OrderChoice> EstimateOrder(const OrderRequest& initial, std::int32_t family,
                                             const CFs& /*fs*/) override {
        shownEstimates.emplace_back(initial, family);
        return Next(estimates);
    }

    std::deque<std::optional<double>> minDb;
    std::deque<std::optional<OrderChoice>> estimates;
    std::vector<std::pair<OrderRequest, std::int32_t>> shownEstimates;
    std::deque<std::optional<CFs>> fsAnswers;
    std::deque<std::optional<DesignLayoutChoice>> layouts;
    std::function<void(CExportFiles&)> onExportFiles;

    std::vector<double> shownMinDb;
    std::vector<CFs> shownFs;
    std::vector<DesignLayoutChoice> shownLayouts;
    int exportDialogs = 0;

private:
    template <class T> static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        std::optional<T> answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace tarvo::test
