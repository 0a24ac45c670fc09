#pragma once
// One started application for the GUI tests: recording prompts, settings in
// memory, scripted file choosers, no splash and no instance socket.

#include "app/command_actions.h"
#include "app/file_chooser.h"
#include "app/frames.h"
#include "app/iir_app.h"
#include "app/main_frame.h"
#include "design/design_action.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/memory_profile_store.h"
#include "fw/recording_ui.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

namespace tarvo::test {

class ScriptedFileChooser : public FileChooser {
public:
    std::optional<std::string> OpenPath(QWidget*, const std::string& filter,
                                        const std::string&) override {
        lastFilter = filter;
        if (openPaths.empty()) return std::nullopt;
        auto next = openPaths.front();
        openPaths.pop_front();
        return next;
    }
    std::optional<std::string> SavePath(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::deque<std::optional<std::string>> openPaths;
    std::string lastFilter;
};

class AppTest : public ::testing::Test {
protected:
    // Starts the application with the files given (none: a new project).
    void Start(const QStringList& files = {}) {
        AppEnvironment env;
        env.ui = &ui;
        env.settings = &store;
        env.files = &chooser;
        env.showSplash = false;
        env.documentsFolder = "/tmp";
        app = std::make_unique<CIirApp>(env);
        app->InitInstance(files);
        QApplication::processEvents();
    }
    // Ends it as the program does (the settings are written).
    void Stop() {
        app.reset();
        QApplication::processEvents();
    }
    void TearDown() override { Stop(); }

    CTarvoIirDoc* Project(std::size_t i = 0) const {
        const auto docs = app->Documents();
        return i < docs.size() ? dynamic_cast<CTarvoIirDoc*>(docs[i]) : nullptr;
    }
    CIirSplitFrame* DesignWindow(std::size_t i = 0) const {
        CTarvoIirDoc* doc = Project(i);
        return doc != nullptr ? dynamic_cast<CIirSplitFrame*>(doc->FindDesignFrame()) : nullptr;
    }
    // Designs the project's filter as the Design button would.
    void Design(CTarvoIirDoc& doc) {
        IirDesignSpec spec;
        spec.order = 4;
        ASSERT_TRUE(RunDesign(doc.GetFilter(), spec, doc.GetMinDb()).Designed());
        doc.OnFilterChanged(true, 0);
        app->RefreshCommandStates();
    }
    QAction* Action(fw::CommandId id) const { return app->Actions().Action(id); }
    bool Enabled(fw::CommandId id) const {
        app->RefreshCommandStates();
        return Action(id)->isEnabled();
    }
    QStringList MenuTitles() const {
        QStringList titles;
        for (QAction* a : app->MainFrame()->menuBar()->actions())
            titles << a->text();
        return titles;
    }

    fw::RecordingUi ui;
    fw::MemoryProfileStore store;
    ScriptedFileChooser chooser;
    std::unique_ptr<CIirApp> app;
};

} // namespace tarvo::test
