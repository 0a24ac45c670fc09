// Live pole-zero editing as the document sees it: unrecorded steps, the one
// recorded end of a drag or key burst, and what the automatic export may show
// or ask in between.

#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc_fakes.h"
#include "export/export_formats.h"
#include "fw/command_ids.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "korin/base/mcplx.h"
#include "project_helpers.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

constexpr std::int32_t kMoved = hint::kNoRescale | hint::kDesignChanged;

// One drag move or arrow key: the first pole pair shrinks towards the origin,
// the filter is rebuilt and renormalized, and the document hears of it.
void LiveStep(CTarvoIirDoc& doc) {
    CIirFilter& f = doc.GetFilter();
    ASSERT_TRUE(f.FindNearest(f.p[0], 1e-9));
    ASSERT_NE(f.Partner(), nullptr);
    *f.Pick() *= 0.97;
    *f.Partner() = korin::Conj(*f.Pick());
    f.RebuildFromRoots();
    f.Renormalize();
    doc.OnFilterChanged(false, hint::kNoRescale);
}

void AddEntry(CTarvoIirDoc& doc, const fs::path& path) {
    auto entry = std::make_unique<CIirExportFileFormat>(path.parent_path().string());
    entry->m_strFileName = path.filename().string();
    entry->m_strPath = path.string();
    entry->m_nFormat = kFormatMatlab;
    doc.GetExportFiles().m_list.Append(std::move(entry));
}

// A designed, saved-looking project with one Matlab export entry, watched by a view.
class LiveEdit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Start()); }

    // A fresh project (table rows start over with it).
    void Start() {
        context.documentsFolder = dir.Path().string();
        doc = std::make_unique<CTarvoIirDoc>(ui, context);
        ASSERT_TRUE(doc->OnNewDocument());
        AddEntry(*doc, exported);
        ASSERT_TRUE(test::DesignAsTheForm(*doc, IirDesignSpec{}));
        ASSERT_EQ(doc->UndoCount(), 2u);
        doc->SetModifiedFlag(false);
        doc->AddView(view);
        ui.ClearCalls();
        log.Clear();
    }

    // 'm' a live step, 'e' the end of a drag or burst, 'p' a click that only
    // picks (the same call with nothing pending), 'r' a recorded change.
    void Run(const std::string& steps) {
        for (const char c : steps) {
            switch (c) {
            case 'm':
                LiveStep(*doc);
                break;
            case 'e':
                doc->RecordPendingChange(hint::kNoRescale);
                break;
            case 'p':
                doc->RecordPendingChange(0);
                break;
            case 'r':
                doc->OnFilterChanged(true, hint::kNoRescale);
                break;
            default:
                FAIL() << c;
            }
        }
    }

    fw::test::ScratchDir dir;
    fs::path exported = dir.Path() / "live.m";
    fw::RecordingUi ui;
    test::HintLog log;
    test::RecordingView view{"watcher", log};
    ProjectContext context;
    std::unique_ptr<CTarvoIirDoc> doc;
};

struct RecordingCase {
    const char* steps;
    std::size_t newSteps; // undo entries added
    bool modified;
    bool pending;
    std::vector<std::int32_t> hints;
};

TEST_F(LiveEdit, OnlyRecordedEndsAddUndoStepsAndTheModifiedMark) {
    const RecordingCase cases[] = {
        {"mmm", 0, false, true, {kMoved, kMoved, kMoved}},
        {"mmme", 1, true, false, {kMoved, kMoved, kMoved, 774, kMoved}},
        {"mmemme", 2, true, false, {kMoved, kMoved, 774, kMoved, kMoved, kMoved, 774, kMoved}},
        {"pppppppppp", 0, false, false, {}},
        {"mmep", 1, true, false, {kMoved, kMoved, 774, kMoved}},
        // Escape or a click after arrow keys records them, with a full update.
        {"mmp", 1, true, false, {kMoved, kMoved, 774, hint::kDesignChanged}},
        {"mmr", 1, true, false, {kMoved, kMoved, 774, kMoved}},
        // A caller that says the design changed is always recorded.
        {"r", 1, true, false, {774, kMoved}},
    };
    for (const RecordingCase& c : cases) {
        ASSERT_NO_FATAL_FAILURE(Start());
        Run(c.steps);
        SCOPED_TRACE(c.steps);
        EXPECT_EQ(doc->UndoCount(), 2u + c.newSteps);
        EXPECT_EQ(doc->IsModified(), c.modified);
        EXPECT_EQ(doc->HasUnrecordedChange(), c.pending);
        EXPECT_THAT(log.Hints("watcher"), ElementsAreArray(c.hints));
        EXPECT_THAT(ui.Calls(), IsEmpty());
    }
}

TEST_F(LiveEdit, TenPickClicksKeepTheDesignStep) {
    Run("pppppppppp");
    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_FALSE(doc->IsDesigned()); // back to the new project
}

TEST_F(LiveEdit, EveryLiveStepRewritesTheExportFilesWithoutAWaitCursor) {
    std::string before = fw::test::ReadText(exported.string());
    for (int i = 0; i < 3; ++i) {
        Run("m");
        const std::string now = fw::test::ReadText(exported.string());
        EXPECT_NE(now, before) << i;
        before = now;
    }
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST_F(LiveEdit, UndoInTheMiddleOfADragTakesBackTheWholeDrag) {
    const korin::mvect designed = doc->GetFilter().p;
    Run("mmm");
    const korin::mvect dragged = doc->GetFilter().p;
    ASSERT_NE(dragged, designed);

    doc->OnCommand(fw::kIdEditUndo);
    EXPECT_EQ(doc->GetFilter().p, designed);
    EXPECT_FALSE(doc->HasUnrecordedChange());
    EXPECT_EQ(doc->UndoCount(), 2u);
    EXPECT_EQ(log.Hints("watcher").back(), hint::kDesignChanged);

    // The drag was kept as a step of its own: Redo brings it back.
    ASSERT_TRUE(doc->CanRedo());
    doc->OnCommand(fw::kIdEditRedo);
    EXPECT_EQ(doc->GetFilter().p, dragged);
    EXPECT_EQ(doc->UndoCount(), 3u);
}

// Entries whose folders do not exist fail with "Cannot open file".
struct FailingCase {
    const char* name;
    bool folderMadeBeforeTheEnd; // the end's own export then succeeds
};

TEST_F(LiveEdit, AFailingPathIsReportedOnceAtTheEndOfTheDrag) {
    for (const FailingCase c : {FailingCase{"still failing", false}, FailingCase{"mended", true}}) {
        ASSERT_NO_FATAL_FAILURE(Start());
        SCOPED_TRACE(c.name);
        const fs::path first = dir.Path() / "gone1" / "a.m";
        const fs::path second = dir.Path() / "gone2" / "b.m";
        AddEntry(*doc, first);
        AddEntry(*doc, second);

        Run("mmmm");
        EXPECT_THAT(ui.Calls(), IsEmpty());
        if (c.folderMadeBeforeTheEnd) {
            fs::create_directory(first.parent_path());
            fs::create_directory(second.parent_path());
        }
        Run("e");
        const auto names = [&](const fs::path& p) {
            return ::testing::HasSubstr("Cannot open file \"" + p.string());
        };
        EXPECT_THAT(ui.Messages(), ElementsAre(names(first), names(second)));
        EXPECT_EQ(fs::exists(first), c.folderMadeBeforeTheEnd);

        // Reported means forgotten: the next recorded change shows only its own.
        ui.ClearCalls();
        Run("r");
        EXPECT_EQ(ui.Messages().size(), c.folderMadeBeforeTheEnd ? 0u : 2u);
    }
}

// A project file with an export entry, opened by someone else: its first
// automatic export asks before writing.
class ReceivedLiveEdit : public ::testing::Test {
protected:
    void SetUp() override {
        context.documentsFolder = dir.Path().string();
        fw::RecordingUi quiet;
        CTarvoIirDoc sender(quiet, context);
        ASSERT_TRUE(sender.OnNewDocument());
        ASSERT_TRUE(test::DesignAsTheForm(sender, IirDesignSpec{}));
        AddEntry(sender, exported);
        ASSERT_TRUE(sender.OnSaveDocument(project));
        ASSERT_FALSE(fs::exists(exported));
    }

    fw::test::ScratchDir dir;
    fs::path exported = dir.Path() / "received.m";
    std::string project = dir.File("received.tvp");
    ProjectContext context;
};

TEST_F(ReceivedLiveEdit, TheQuestionWaitsForTheEndOfTheDrag) {
    for (const fw::Answer answer : {fw::Answer::Yes, fw::Answer::No}) {
        fs::remove(exported);
        fw::RecordingUi ui;
        ui.QueueAnswer(answer);
        CTarvoIirDoc doc(ui, context);
        ASSERT_TRUE(doc.OnOpenDocument(project));
        ui.ClearCalls();
        const bool yes = answer == fw::Answer::Yes;
        SCOPED_TRACE(yes ? "Yes" : "No");

        // A click that only picks asks nothing; neither do the moves.
        doc.RecordPendingChange(0);
        for (int i = 0; i < 3; ++i)
            LiveStep(doc);
        EXPECT_THAT(ui.Calls(), IsEmpty());
        EXPECT_FALSE(fs::exists(exported));

        doc.RecordPendingChange(hint::kNoRescale);
        EXPECT_EQ(ui.Questions().size(), 1u);
        EXPECT_EQ(fs::exists(exported), yes);
        EXPECT_EQ(doc.GetExportFiles().AutoExportOn(), yes);

        // Settled once: the next drag writes per move with Yes, never asks again.
        fs::remove(exported);
        LiveStep(doc);
        EXPECT_EQ(fs::exists(exported), yes);
        doc.RecordPendingChange(hint::kNoRescale);
        EXPECT_EQ(ui.Questions().size(), 1u);
        EXPECT_EQ(ui.UnscriptedCount(), 0u);
    }
}

} // namespace
} // namespace tarvo
