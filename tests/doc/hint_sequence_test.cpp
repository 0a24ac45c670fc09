#include "doc/doc_command_ids.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc_fakes.h"
#include "file_bytes.h"
#include "fw/archive.h"
#include "fw/command_ids.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "project_helpers.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::FakeTemplate;
using test::HintLog;
using test::RecordingView;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ProjectHints : public ::testing::Test {
protected:
    ProjectHints() {
        context.dialogs = &dialogs;
        context.templates = {&design, &coefficients, &frequency, &time, &poleZero, &multi};
        doc = std::make_unique<CTarvoIirDoc>(ui, context);
        doc->AddView(view);
    }

    // Every hint the watching view saw since the last call, and that the
    // document sent each with its filter.
    std::vector<std::int32_t> Seen() {
        std::vector<std::int32_t> hints;
        for (const auto& u : log.updates) {
            if (u.view != "watcher") continue;
            EXPECT_EQ(u.object, &doc->GetFilter()) << u.hint;
            hints.push_back(u.hint);
        }
        log.Clear();
        return hints;
    }

    void NewProject() {
        ASSERT_TRUE(doc->OnNewDocument());
        log.Clear();
    }

    fw::RecordingUi ui;
    HintLog log;
    test::ScriptedDialogs dialogs;
    FakeTemplate design{"design", log, true};
    FakeTemplate coefficients{"coef", log};
    FakeTemplate frequency{"freq", log};
    FakeTemplate time{"time", log};
    FakeTemplate poleZero{"pz", log};
    FakeTemplate multi{"multi", log};
    ProjectContext context;
    std::unique_ptr<CTarvoIirDoc> doc;
    RecordingView view{"watcher", log};
};

TEST_F(ProjectHints, ANewProjectSendsOne777AndHasOneUndoEntry) {
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_THAT(Seen(), ElementsAre(777, 774)); // 774: the first undo entry is stored
    EXPECT_EQ(doc->UndoCount(), 1u);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->PendingPlotTypeCount(), 3);
}

TEST_F(ProjectHints, DesignStoresAnUndoStepThenTellsTheViews) {
    NewProject();
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    EXPECT_THAT(Seen(), ElementsAre(774, 5));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 2u);

    // A pole-zero edit's bits travel with the event.
    doc->OnFilterChanged(false, hint::kNoRescale);
    EXPECT_THAT(Seen(), ElementsAre(hint::kNoRescale | 5));
    EXPECT_EQ(doc->UndoCount(), 2u);
}

TEST_F(ProjectHints, SamplingFrequencyMarksModifiedWithoutAnUndoStep) {
    NewProject();
    CFs khz(2.0);
    khz.SetUnit(1);
    dialogs.fsAnswers.push_back(khz);
    doc->OnCommand(kIdIirSamplingFrequency);
    EXPECT_THAT(Seen(), ElementsAre(7));
    EXPECT_EQ(doc->GetFilter().fs.GetHz(), 2000.0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 1u);
    ASSERT_EQ(dialogs.shownFs.size(), 1u);
    EXPECT_EQ(dialogs.shownFs[0].GetHz(), 1.0);

    // Cancel changes nothing.
    doc->SetModifiedFlag(false);
    doc->OnCommand(kIdIirSamplingFrequency);
    EXPECT_THAT(Seen(), IsEmpty());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(ProjectHints, MinimumDbIsADesignChange) {
    NewProject();
    dialogs.minDb.push_back(-80.0);
    doc->OnCommand(kIdIirMinimumDb);
    EXPECT_THAT(dialogs.shownMinDb, ElementsAre(-130.0));
    EXPECT_THAT(Seen(), ElementsAre(774, 5));
    EXPECT_EQ(doc->GetMinDb(), -80.0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 2u);

    doc->OnCommand(kIdIirMinimumDb); // Cancel
    EXPECT_THAT(Seen(), IsEmpty());
    EXPECT_EQ(doc->UndoCount(), 2u);
}

TEST_F(ProjectHints, UndoAndRedoAcrossAFrequencyChangeSend5Then7) {
    NewProject();
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    CFs khz(2.0);
    khz.SetUnit(1);
    dialogs.fsAnswers.push_back(khz);
    doc->OnCommand(kIdIirSamplingFrequency);
    IirDesignSpec higher;
    higher.order = 6;
    ASSERT_TRUE(test::DesignAsTheForm(*doc, higher));
    log.Clear();
    doc->SetModifiedFlag(false);

    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_THAT(Seen(), ElementsAre(773, 5, 7));
    EXPECT_EQ(doc->GetFilter().fs.GetHz(), 1.0);
    EXPECT_EQ(doc->GetFilter().spec.order, 4);
    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_THAT(Seen(), ElementsAre(773, 5, 7));
    EXPECT_EQ(doc->GetFilter().fs.GetHz(), 2000.0);
    EXPECT_EQ(doc->GetFilter().spec.order, 6);
    EXPECT_FALSE(doc->IsModified()); // undo and redo leave the mark alone

    // Without a frequency change only 5 follows the load.
    doc->OnCommand(fw::kIdEditUndo);
    doc->OnCommand(fw::kIdEditUndo);
    log.Clear();
    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_THAT(Seen(), ElementsAre(773, 5));
}

TEST_F(ProjectHints, WindowCommandsOpenAFrameThenSendTheirHint) {
    NewProject();
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    struct Case {
        fw::CommandId id;
        FakeTemplate* from;
        std::int32_t hint;
    };
    for (const Case& c :
         {Case{kIdIirMagnitude, &frequency, 777}, Case{kIdIirPhase, &frequency, 857},
          Case{kIdIirUnwrappedPhase, &frequency, 873}, Case{kIdIirGroupDelay, &frequency, 905},
          Case{kIdIirPhaseDelay, &frequency, 889}, Case{kIdIirMagnitudeAndUnwrapped, &multi, 777},
          Case{kIdIirImpulse, &time, 985}, Case{kIdIirStep, &time, 1001},
          Case{kIdIirImpulseAndStep, &time, 1017}, Case{kIdIirPolesAndZeros, &poleZero, 0},
          Case{kIdIirCoefficients, &coefficients, 9}}) {
        const int before = c.from->made;
        log.Clear();
        ASSERT_TRUE(doc->OnCommand(c.id));
        EXPECT_EQ(c.from->made, before + 1) << c.id;
        // The new view has had its initial update and then hears the hint.
        ASSERT_FALSE(log.events.empty());
        ASSERT_EQ(log.events.front().rfind("create ", 0), 0u);
        const std::string fresh = log.events.front().substr(7) + ".view";
        ASSERT_GE(log.updates.size(), 3u);
        EXPECT_EQ(log.updates[0].view, fresh);
        EXPECT_EQ(log.updates[0].object, nullptr);
        EXPECT_THAT(log.Hints(fresh), ElementsAre(0, c.hint)) << c.id;
        EXPECT_THAT(log.Hints("watcher"), ElementsAre(c.hint)) << c.id;
    }
    // Opening windows is not a change of the project.
    EXPECT_EQ(doc->UndoCount(), 2u);
}

TEST_F(ProjectHints, WindowCommandsSetThePendingListBeforeTheWindowExists) {
    NewProject();
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    // The multi-plot frame sizes its rows from the pending list as it is made.
    std::vector<std::int32_t> countsAtCreation;
    multi.onMake = [&](fw::Document& d) {
        countsAtCreation.push_back(dynamic_cast<CTarvoIirDoc&>(d).PendingPlotTypeCount());
    };
    doc->OnCommand(kIdIirMagnitudeAndUnwrapped);
    EXPECT_THAT(countsAtCreation, ElementsAre(2));
    EXPECT_EQ(doc->PendingPlotTypeCount(), 2);
    EXPECT_EQ(doc->NextPendingPlotType(), 4);
    EXPECT_EQ(doc->NextPendingPlotType(), 6);
    EXPECT_EQ(doc->NextPendingPlotType(), 0);
    doc->OnCommand(kIdIirMagnitude);
    EXPECT_EQ(doc->PendingPlotTypeCount(), 3);
    // Phase leaves the pending list alone.
    doc->OnCommand(kIdIirPhase);
    EXPECT_EQ(doc->PendingPlotTypeCount(), 3);
}

TEST_F(ProjectHints, DesignOpensOneDesignWindowAndThenBringsItForward) {
    NewProject();
    doc->NextPendingPlotType();
    doc->OnCommand(kIdIirDesign);
    EXPECT_EQ(design.made, 1);
    EXPECT_EQ(doc->PendingPlotTypeCount(), 3);
    EXPECT_THAT(log.Hints("watcher"), ElementsAre(777));
    ASSERT_NE(doc->FindDesignFrame(), nullptr);

    log.Clear();
    doc->OnCommand(kIdIirDesign);
    EXPECT_EQ(design.made, 1);
    EXPECT_THAT(log.Hints(), IsEmpty());
    EXPECT_THAT(log.events, ElementsAre("activate design1"));
}

TEST_F(ProjectHints, ALoadedFileSends773ThenStoresItsFirstUndoEntry) {
    fw::test::ScratchDir dir;
    NewProject();
    ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
    const std::string path = dir.File("p.tvp");
    ASSERT_TRUE(doc->OnSaveDocument(path));

    CTarvoIirDoc opened(ui, context);
    RecordingView other("other", log);
    opened.AddView(other);
    log.Clear();
    ASSERT_TRUE(opened.OnOpenDocument(path));
    EXPECT_THAT(log.Hints("other"), ElementsAre(773, 774));
    EXPECT_EQ(log.updates[0].object, &opened.GetFilter());
    EXPECT_EQ(opened.UndoCount(), 1u);
    EXPECT_FALSE(opened.IsModified());
    EXPECT_TRUE(opened.IsDesigned());
}

TEST_F(ProjectHints, Storing774ComesBeforeAnythingIsWritten) {
    fw::test::ScratchDir dir;
    NewProject();
    const std::string path = dir.File("p.tvp");
    bool existedAt774 = true;
    // Like the design form, the view copies its fields into the specification.
    view.onUpdate = [&](std::int32_t h) {
        if (h == 774) {
            existedAt774 = std::filesystem::exists(path);
            doc->GetFilter().spec.order = 9;
        }
    };
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_THAT(Seen(), ElementsAre(774));
    EXPECT_FALSE(existedAt774);
    fw::RecordingUi quiet;
    CTarvoIirDoc back(quiet);
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.GetFilter().spec.order, 9);
}

} // namespace
} // namespace tarvo
