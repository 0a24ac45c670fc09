#include "doc/doc_command_ids.h"
#include "doc/tarvo_iir_doc.h"
#include "doc_fakes.h"
#include "fw/command_ids.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "project_helpers.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

namespace tarvo {
namespace {

using test::HintLog;
using test::RecordingView;
using test::StreamOf;
using ::testing::ElementsAre;

IirDesignSpec OfOrder(std::int32_t order) {
    IirDesignSpec s;
    s.order = order;
    return s;
}

class ProjectUndo : public ::testing::Test {
protected:
    ProjectUndo() {
        context.dialogs = &dialogs;
        context.templates.design = &design;
        doc = std::make_unique<CTarvoIirDoc>(ui, context);
        EXPECT_TRUE(doc->OnNewDocument());
    }

    bool Enabled(fw::CommandId id) {
        fw::CmdUI state(id);
        EXPECT_TRUE(doc->OnUpdateCommand(id, state));
        return state.IsEnabled();
    }

    fw::RecordingUi ui;
    HintLog log;
    test::ScriptedDialogs dialogs;
    test::FakeTemplate design{"design", log, true};
    ProjectContext context;
    std::unique_ptr<CTarvoIirDoc> doc;
};

TEST_F(ProjectUndo, ElevenDesignsGiveTenUndosAndTheLastOneStillSends5) {
    for (std::int32_t order = 1; order <= 11; ++order) {
        ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(order)));
    }
    RecordingView view("v", log);
    doc->AddView(view);
    for (std::int32_t order = 10; order >= 1; --order) {
        ASSERT_TRUE(Enabled(fw::kIdEditUndo)) << order;
        doc->OnCommand(fw::kIdEditUndo);
        EXPECT_EQ(doc->GetFilter().spec.order, order);
    }
    // The new project's state has been pushed out: nothing more to undo.
    EXPECT_FALSE(Enabled(fw::kIdEditUndo));
    EXPECT_TRUE(doc->IsDesigned());
    log.Clear();
    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_THAT(log.Hints(), ElementsAre(5));
    EXPECT_EQ(doc->GetFilter().spec.order, 1);
}

TEST_F(ProjectUndo, UndoAndRedoRewriteTheAutomaticExports) {
    const std::string path = ::testing::TempDir() + "undo_export.txt";
    auto entry = std::make_unique<CIirExportFileFormat>();
    entry->m_strPath = path;
    doc->GetExportFiles().m_list.Append(std::move(entry));
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(3)));
    const std::string third = fw::test::ReadText(path);
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(5)));
    const std::string fifth = fw::test::ReadText(path);
    ASSERT_NE(third, fifth);
    // The files never keep a design that was undone.
    ASSERT_TRUE(doc->OnCommand(fw::kIdEditUndo));
    EXPECT_EQ(fw::test::ReadText(path), third);
    ASSERT_TRUE(doc->OnCommand(fw::kIdEditRedo));
    EXPECT_EQ(fw::test::ReadText(path), fifth);
    std::remove(path.c_str());
}

TEST_F(ProjectUndo, DesigningAfterAnUndoDisablesRedo) {
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(3)));
    EXPECT_FALSE(Enabled(fw::kIdEditRedo));
    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_FALSE(doc->IsDesigned());
    EXPECT_TRUE(Enabled(fw::kIdEditRedo));
    EXPECT_FALSE(Enabled(fw::kIdEditUndo));
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(5)));
    EXPECT_FALSE(Enabled(fw::kIdEditRedo));
    EXPECT_TRUE(Enabled(fw::kIdEditUndo));
}

TEST_F(ProjectUndo, UndoBringsBackEverythingTheSnapshotHeld) {
    doc->OnCommand(kIdIirDesign); // a design window to re-lay out
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(4)));
    const std::vector<std::uint8_t> before = StreamOf(*doc);

    dialogs.layouts.push_back(DesignLayoutChoice{{1, 2, 3, 4, 5}, true, false});
    doc->OnCommand(kIdViewDesignLayout);
    doc->GetFormat().m_nFormat = 3;
    doc->GetExportFiles().m_list.Append(std::make_unique<CIirExportFileFormat>("/tmp"));
    doc->SetTimeResponseLength(999);
    dialogs.minDb.push_back(-60.0);
    doc->OnCommand(kIdIirMinimumDb); // the checkpoint of all of it
    ASSERT_NE(StreamOf(*doc), before);

    log.Clear();
    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_EQ(StreamOf(*doc), before);
    EXPECT_EQ(doc->GetMinDb(), -130.0);
    EXPECT_EQ(doc->GetTimeResponseLength(), 128);
    EXPECT_TRUE(doc->GetExportFiles().m_list.Empty());
    EXPECT_EQ(doc->GetFormat().m_nFormat, 0);
    EXPECT_EQ(doc->GetLayout().PaneKind(0), 6);
    // The design window follows the restored layout.
    EXPECT_THAT(log.events, ElementsAre("layout design1"));

    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_EQ(doc->GetLayout().PaneKind(0), 1);
    EXPECT_EQ(doc->GetMinDb(), -60.0);
    EXPECT_EQ(doc->GetExportFiles().m_list.Size(), 1u);
}

TEST_F(ProjectUndo, FieldsTypedInTheFormEnterTheNextCheckpoint) {
    RecordingView form("form", log);
    doc->AddView(form);
    std::int32_t typedOrder = 4;
    form.onUpdate = [&](std::int32_t h) {
        if (h == 774) doc->GetFilter().spec.order = typedOrder;
    };
    ASSERT_TRUE(test::DesignAsTheForm(*doc, OfOrder(4)));
    typedOrder = 8; // typed, not designed
    dialogs.minDb.push_back(-100.0);
    doc->OnCommand(kIdIirMinimumDb);
    typedOrder = 2;
    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_EQ(doc->GetFilter().spec.order, 4);
    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_EQ(doc->GetFilter().spec.order, 8);
}

TEST_F(ProjectUndo, RestoresTinyCoefficientsExactly) {
    // A narrow lowpass: its numerator lies far below the file's complex offset.
    IirDesignSpec narrow;
    narrow.order = 10;
    narrow.edge1 = 0.004;
    narrow.useBiquads = 0;
    ASSERT_TRUE(test::DesignAsTheForm(*doc, narrow));
    const korin::mvect b = doc->GetFilter().b;
    const korin::mvect p = doc->GetFilter().p;
    ASSERT_LT(std::abs(b[0].real()), 1e-18);
    dialogs.minDb.push_back(-150.0);
    doc->OnCommand(kIdIirMinimumDb);
    doc->OnCommand(fw::kIdEditUndo);
    doc->OnCommand(fw::kIdEditUndo);
    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_EQ(doc->GetFilter().b, b);
    EXPECT_EQ(doc->GetFilter().p, p);
    EXPECT_FALSE(doc->GetFilter().useSos);
}

// Changes, undos and redos at random, against a model of the two lists: every
// state reached equals, byte for byte, the stream taken when it was recorded.
TEST_F(ProjectUndo, RandomSequencesMatchAModelOfTheTwoLists) {
    std::mt19937 rng(20240611);
    std::deque<std::vector<std::uint8_t>> undo{StreamOf(*doc)};
    std::deque<std::vector<std::uint8_t>> redo;
    std::vector<std::uint8_t> current = undo.front();
    std::uniform_int_distribution<int> pick(0, 9);
    for (int step = 0; step < 400; ++step) {
        const int what = pick(rng);
        if (what < 3) {
            IirDesignSpec form;
            form.order = 1 + pick(rng);
            form.family = pick(rng) % 3;
            form.response = pick(rng) % 2;
            ASSERT_TRUE(test::DesignAsTheForm(*doc, form));
        } else if (what == 3) {
            dialogs.minDb.push_back(-100.0 - pick(rng));
            doc->OnCommand(kIdIirMinimumDb);
        } else if (what == 4) {
            // A frequency change is not recorded: it lives until the next restore.
            CFs fs(1.0 + pick(rng));
            dialogs.fsAnswers.push_back(fs);
            doc->OnCommand(kIdIirSamplingFrequency);
            current = StreamOf(*doc);
            continue;
        } else if (what < 8) {
            doc->OnCommand(fw::kIdEditUndo);
            if (undo.size() > 1) {
                redo.push_front(undo.front());
                undo.pop_front();
                current = undo.front();
            }
            ASSERT_EQ(StreamOf(*doc), current) << "undo at step " << step;
            continue;
        } else {
            doc->OnCommand(fw::kIdEditRedo);
            if (!redo.empty()) {
                undo.push_front(redo.front());
                redo.pop_front();
                if (undo.size() > CUndo::kCapacity + 1) undo.pop_back();
                current = undo.front();
            }
            ASSERT_EQ(StreamOf(*doc), current) << "redo at step " << step;
            continue;
        }
        current = StreamOf(*doc);
        undo.push_front(current);
        if (undo.size() > CUndo::kCapacity + 1) undo.pop_back();
        redo.clear();
        ASSERT_EQ(doc->UndoCount(), undo.size());
        ASSERT_EQ(doc->RedoCount(), 0u);
    }
}

} // namespace
} // namespace tarvo
