#include "doc/app_options.h"
#include "doc/doc_command_ids.h"
#include "doc/tarvo_iir_doc.h"
#include "doc_fakes.h"
#include "fw/command_ids.h"
#include "fw/command_target.h"
#include "fw/memory_profile_store.h"
#include "fw/recording_ui.h"
#include "project_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::HintLog;
using test::RecordingView;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr fw::CommandId kWindowCommands[] = {
    kIdIirMagnitude,     kIdIirPhase,       kIdIirUnwrappedPhase,
    kIdIirGroupDelay,    kIdIirPhaseDelay,  kIdIirMagnitudeAndUnwrapped,
    kIdIirImpulse,       kIdIirStep,        kIdIirImpulseAndStep,
    kIdIirPolesAndZeros, kIdIirCoefficients};
constexpr fw::CommandId kAlwaysEnabled[] = {
    kIdIirDesign,        kIdIirMinimumDb, kIdIirSamplingFrequency, kIdFileExport,
    kIdViewDesignLayout, fw::kIdFileSave, fw::kIdFileSaveAs};

class ProjectCommands : public ::testing::Test {
protected:
    ProjectCommands() {
        context.options = &options;
        context.settingsStore = &store;
        context.dialogs = &dialogs;
        context.templates.design = &design;
        context.templates.frequencyPlot = &frequency;
        doc = std::make_unique<CTarvoIirDoc>(ui, context);
        EXPECT_TRUE(doc->OnNewDocument());
    }

    // The state the command chain of one document gives a command.
    fw::CmdUI State(fw::CommandId id) {
        fw::CommandTarget* chain[] = {doc.get()};
        return fw::UpdateCommand(chain, id);
    }
    bool Route(fw::CommandId id) {
        fw::CommandTarget* chain[] = {doc.get()};
        return fw::RouteCommand(chain, id);
    }

    fw::RecordingUi ui;
    HintLog log;
    AppOptions options;
    fw::MemoryProfileStore store;
    test::ScriptedDialogs dialogs;
    test::FakeTemplate design{"design", log, true};
    test::FakeTemplate frequency{"freq", log};
    ProjectContext context;
    std::unique_ptr<CTarvoIirDoc> doc;
};

TEST_F(ProjectCommands, AnEmptyFilterDisablesTheWindowsAndUndo) {
    for (const fw::CommandId id : kWindowCommands) {
        EXPECT_FALSE(State(id).IsEnabled()) << id;
        EXPECT_FALSE(Route(id)) << id;
    }
    for (const fw::CommandId id : kAlwaysEnabled) {
        EXPECT_TRUE(State(id).IsEnabled()) << id;
    }
    EXPECT_FALSE(State(fw::kIdEditUndo).IsEnabled());
    EXPECT_FALSE(State(fw::kIdEditRedo).IsEnabled());
    EXPECT_EQ(frequency.made, 0);
}

TEST_F(ProjectCommands, ADesignedFilterEnablesEveryWindow) {
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    for (const fw::CommandId id : kWindowCommands) {
        EXPECT_TRUE(State(id).IsEnabled()) << id;
    }
    for (const fw::CommandId id : kAlwaysEnabled) {
        EXPECT_TRUE(State(id).IsEnabled()) << id;
    }
    EXPECT_TRUE(State(fw::kIdEditUndo).IsEnabled());
    EXPECT_FALSE(State(fw::kIdEditRedo).IsEnabled());
    EXPECT_TRUE(Route(kIdIirPhase));
    EXPECT_EQ(frequency.made, 1);
    // Every window command opens a new window, also of a kind already open.
    EXPECT_TRUE(Route(kIdIirPhase));
    EXPECT_EQ(frequency.made, 2);
    EXPECT_TRUE(Route(fw::kIdEditUndo));
    EXPECT_TRUE(State(fw::kIdEditRedo).IsEnabled());
    EXPECT_FALSE(State(kIdIirPhase).IsEnabled());
}

TEST_F(ProjectCommands, UnknownCommandsAreLeftToTheNextTarget) {
    fw::CmdUI state(12345);
    EXPECT_FALSE(doc->OnUpdateCommand(12345, state));
    EXPECT_FALSE(doc->OnCommand(12345));
}

TEST_F(ProjectCommands, DesignLayoutRebuildsRecordZeroAndSavesTheDefaultWhenAsked) {
    doc->OnCommand(kIdIirDesign);
    log.Clear();
    dialogs.layouts.push_back(std::nullopt); // Cancel
    doc->OnCommand(kIdViewDesignLayout);
    ASSERT_EQ(dialogs.shownLayouts.size(), 1u);
    EXPECT_EQ(dialogs.shownLayouts[0], (DesignLayoutChoice{{6, 0, 1, 2, 9}, false, false}));
    EXPECT_THAT(log.events, IsEmpty());

    dialogs.layouts.push_back(DesignLayoutChoice{{3, 4, 5, 7, 8}, true, false});
    doc->OnCommand(kIdViewDesignLayout);
    const LayoutRecord& r = doc->GetLayout();
    ASSERT_EQ(r.PaneCount(), 5);
    EXPECT_EQ(r.PaneKind(0), 3);
    EXPECT_EQ(r.PaneKind(4), 8);
    EXPECT_TRUE(r.MinimizeBottomRow());
    EXPECT_THAT(log.events, ElementsAre("layout design1"));
    EXPECT_THAT(log.Hints("design1.view"), ElementsAre(777));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 1u);
    EXPECT_EQ(options.m_vsLeft1, 6); // not saved as default
    EXPECT_FALSE(store.Find("Options", "m_vsLeft1").has_value());

    dialogs.layouts.push_back(DesignLayoutChoice{{9, 8, 7, 6, 5}, false, true});
    doc->OnCommand(kIdViewDesignLayout);
    EXPECT_EQ(dialogs.shownLayouts.back(), (DesignLayoutChoice{{3, 4, 5, 7, 8}, true, false}));
    EXPECT_EQ(options.m_vsLeft1, 9);
    EXPECT_EQ(options.m_vsRight3, 5);
    EXPECT_EQ(options.m_bMinimizeBottomRow, 0);
    EXPECT_EQ(store.Find("Options", "m_vsRight3"), "5");
    EXPECT_FALSE(doc->GetLayout().MinimizeBottomRow());
}

TEST_F(ProjectCommands, DesignLayoutWithoutADesignWindowOnlyStoresTheRecord) {
    dialogs.layouts.push_back(DesignLayoutChoice{{0, 0, 0, 0, 0}, false, false});
    RecordingView view("v", log);
    doc->AddView(view);
    doc->OnCommand(kIdViewDesignLayout);
    EXPECT_EQ(doc->GetLayout().PaneKind(2), 0);
    EXPECT_THAT(log.Hints(), IsEmpty());
}

TEST_F(ProjectCommands, SetPaneKindChangesOnlyPanesOfTheDesignWindow) {
    RecordingView loose("loose", log);
    doc->AddView(loose);
    doc->SetPaneKind(loose, 7); // no design window at all
    EXPECT_EQ(doc->GetLayout().PaneKind(2), 1);
    EXPECT_THAT(log.Hints(), IsEmpty());

    doc->OnCommand(kIdIirDesign);
    ASSERT_NE(doc->FindDesignFrame(), nullptr);
    log.Clear();
    doc->SetPaneKind(loose, 7); // a view in no pane of it
    EXPECT_EQ(doc->GetLayout().PaneKind(2), 1);
    EXPECT_THAT(log.events, IsEmpty());

    fw::View* pane = doc->FindDesignFrame()->Views().front(); // pane 2
    doc->SetPaneKind(*pane, 7);
    EXPECT_EQ(doc->GetLayout().PaneKind(2), 7);
    EXPECT_EQ(doc->GetLayout().PaneKind(3), 2);
    EXPECT_THAT(log.events, ElementsAre("layout design1"));
    EXPECT_THAT(log.Hints("loose"), ElementsAre(777));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ProjectCommands, ExportRunsTheListDialogOnTheProjectsList) {
    CExportFiles* shown = nullptr;
    dialogs.onExportFiles = [&](CExportFiles& e) { shown = &e; };
    EXPECT_TRUE(Route(kIdFileExport));
    EXPECT_EQ(shown, &doc->GetExportFiles());
    EXPECT_EQ(doc->GetExportFiles().m_pFilter, &doc->GetFilter());
    EXPECT_EQ(doc->GetExportFiles().m_pDoc, doc.get());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ProjectCommands, ChangesSavedWithTheProjectMarkItModified) {
    // The export list: unchanged leaves the mark alone, a new entry sets it.
    dialogs.onExportFiles = [](CExportFiles&) {};
    Route(kIdFileExport);
    EXPECT_FALSE(doc->IsModified());
    dialogs.onExportFiles = [](CExportFiles& e) {
        e.m_list.Append(std::make_unique<CIirExportFileFormat>());
    };
    Route(kIdFileExport);
    EXPECT_TRUE(doc->IsModified());

    // The coefficient-view format: only a different one counts; the path stays.
    doc->SetModifiedFlag(false);
    doc->GetFormat().m_strPath = "/kept/path.txt";
    CIirFileFormat same;
    same.CopyFrom(doc->GetFormat());
    EXPECT_FALSE(doc->SetViewFormat(same));
    EXPECT_FALSE(doc->IsModified());
    CIirFileFormat matlab;
    matlab.CopyFrom(doc->GetFormat());
    matlab.m_nFormat = kFormatMatlab;
    matlab.m_strPath = "/tmp/elsewhere.m";
    EXPECT_TRUE(doc->SetViewFormat(matlab));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetFormat().m_nFormat, kFormatMatlab);
    EXPECT_EQ(doc->GetFormat().m_strPath, "/kept/path.txt");
}

TEST_F(ProjectCommands, ATimePlotsNewLengthMarksTheProjectModified) {
    doc->SetTimeResponseLength(128);
    EXPECT_FALSE(doc->IsModified());
    doc->SetTimeResponseLength(512);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 1u);
}

TEST_F(ProjectCommands, WithoutDialogsOrTemplatesTheCommandsDoNothing) {
    fw::RecordingUi quiet;
    CTarvoIirDoc bare(quiet);
    ASSERT_TRUE(bare.OnNewDocument());
    ASSERT_TRUE(test::DesignAsTheForm(bare, IirDesignSpec{}));
    for (const fw::CommandId id : {kIdIirDesign, kIdIirMinimumDb, kIdIirSamplingFrequency,
                                   kIdFileExport, kIdViewDesignLayout, kIdIirPhase}) {
        EXPECT_TRUE(bare.OnCommand(id));
    }
    EXPECT_EQ(bare.UndoCount(), 2u);
    EXPECT_TRUE(quiet.Calls().empty());
}

} // namespace
} // namespace tarvo
