#include "fakes.h"
#include "fw/archive.h"
#include "fw/command_ids.h"
#include "fw/document.h"
#include "fw/recording_ui.h"
#include "test_files.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fw {
namespace {

namespace fs = std::filesystem;
using test::EventLog;
using test::NumbersDoc;
using test::ReadText;
using test::RecordingView;
using test::ScratchDir;
using test::WriteText;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Kind = RecordingUi::Call::Kind;

class HintTarget : public Object {};
class OtherObject : public Object {};

std::vector<std::string> ViewsUpdated(const EventLog& log) {
    std::vector<std::string> names;
    for (const auto& u : log.updates) {
        names.push_back(u.view);
    }
    return names;
}

TEST(DocumentUpdates, EveryOtherViewOnceInAttachOrder) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    RecordingView a("a", log);
    RecordingView b("b", log);
    RecordingView c("c", log);
    doc.AddView(c);
    doc.AddView(a);
    doc.AddView(b);
    HintTarget target;

    doc.UpdateAllViews(&a, 5, &target);
    ASSERT_THAT(ViewsUpdated(log), ElementsAre("c", "b"));
    for (const auto& u : log.updates) {
        EXPECT_EQ(u.sender, &a);
        EXPECT_EQ(u.hint, 5);
        EXPECT_EQ(u.object, &target);
        EXPECT_TRUE(IsKindOf<HintTarget>(u.object));
        EXPECT_FALSE(IsKindOf<OtherObject>(u.object));
    }

    log.updates.clear();
    doc.UpdateAllViews(nullptr, 777);
    EXPECT_THAT(ViewsUpdated(log), ElementsAre("c", "a", "b"));
    EXPECT_EQ(log.updates[0].object, nullptr);
    EXPECT_FALSE(IsKindOf<HintTarget>(log.updates[0].object));
}

TEST(DocumentUpdates, ViewsJoiningOrLeavingDuringARound) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    RecordingView a("a", log);
    auto b = std::make_unique<RecordingView>("b", log);
    RecordingView c("c", log);
    RecordingView late("late", log);
    doc.AddView(a);
    doc.AddView(*b);
    doc.AddView(c);
    // a destroys b and attaches a new view while the round is under way.
    a.onUpdate = [&](std::int32_t) {
        b.reset();
        doc.AddView(late);
    };
    doc.UpdateAllViews(nullptr, 5);
    EXPECT_THAT(ViewsUpdated(log), ElementsAre("a", "c"));
    EXPECT_THAT(doc.Views(), ElementsAre(&a, &c, &late));

    a.onUpdate = nullptr;
    log.updates.clear();
    doc.UpdateAllViews(nullptr, 5);
    EXPECT_THAT(ViewsUpdated(log), ElementsAre("a", "c", "late"));
}

TEST(DocumentViews, AttachDetachAndLifetimes) {
    RecordingUi ui;
    EventLog log;
    RecordingView v("v", log);
    {
        NumbersDoc first(ui, log);
        NumbersDoc second(ui, log);
        first.AddView(v);
        first.AddView(v);
        EXPECT_EQ(first.Views().size(), 1U);
        EXPECT_EQ(v.GetDocument(), &first);
        // A view belongs to one document: attaching it elsewhere moves it.
        second.AddView(v);
        EXPECT_TRUE(first.Views().empty());
        EXPECT_EQ(v.GetDocument(), &second);
        {
            RecordingView shortLived("short", log);
            second.AddView(shortLived);
            EXPECT_EQ(second.Views().size(), 2U);
        }
        EXPECT_THAT(second.Views(), ElementsAre(&v));
        second.RemoveView(v);
        EXPECT_EQ(v.GetDocument(), nullptr);
        second.AddView(v);
    }
    // The document died first; the view no longer points at it.
    EXPECT_EQ(v.GetDocument(), nullptr);
}

TEST(DocumentState, ModifiedFlagTitleAndPath) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    test::FakeFrame frame("frame", log);
    frame.AddView(std::make_unique<RecordingView>("v1", log), &doc);
    frame.AddView(std::make_unique<RecordingView>("v2", log), &doc);

    EXPECT_FALSE(doc.IsModified());
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.IsModified());
    // One title refresh per frame, and only for a real change.
    EXPECT_EQ(frame.titleUpdates, 1);
    doc.SetModifiedFlag(true);
    EXPECT_EQ(frame.titleUpdates, 1);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(frame.titleUpdates, 2);

    doc.SetTitle("IIR1");
    EXPECT_EQ(doc.GetTitle(), "IIR1");
    doc.SetPathName("/home/user/filters/lowpass.tvp");
    EXPECT_EQ(doc.GetPathName(), "/home/user/filters/lowpass.tvp");
    EXPECT_EQ(doc.GetTitle(), "lowpass.tvp");
    EXPECT_EQ(frame.titleUpdates, 4);
}

TEST(DocumentNew, DeletesContentsAndStartsClean) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    doc.numbers = {1, 2};
    doc.SetPathName("/tmp/x.tvp");
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.numbers.empty());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(log.events.front(), "DeleteContents");
}

class DocumentFiles : public ::testing::Test {
protected:
    RecordingUi ui;
    EventLog log;
    ScratchDir dir;

    // A saved document of three numbers and a name, as bytes on disk.
    std::string SavedProject(const std::string& name) {
        NumbersDoc doc(ui, log);
        doc.numbers = {10, -20, 30};
        doc.name = "caf\xC3\xA9";
        std::string path = dir.File(name);
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }
};

TEST_F(DocumentFiles, SaveThenOpenGivesTheSameDocument) {
    const std::string path = SavedProject("p.tvp");
    // count, three i32, name with a one-byte length.
    EXPECT_EQ(fs::file_size(path), 4U + 12U + 1U + 5U);
    ui.ClearCalls();

    NumbersDoc doc(ui, log);
    doc.numbers = {99};
    log.events.clear();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_THAT(log.events, ElementsAre("DeleteContents", "load"));
    EXPECT_THAT(doc.numbers, ElementsAre(10, -20, 30));
    EXPECT_EQ(doc.name, "caf\xC3\xA9");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "p.tvp");
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.BusyDepth(), 0);
    EXPECT_EQ(ui.Count(Kind::BeginBusy), 1U);
}

TEST_F(DocumentFiles, SavingClearsTheModifiedFlag) {
    NumbersDoc doc(ui, log);
    doc.numbers = {1};
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("a.tvp")));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_THAT(dir.Entries(), ElementsAre("a.tvp"));
}

TEST_F(DocumentFiles, AMissingFileOpensNothingAndTouchesNothing) {
    NumbersDoc doc(ui, log);
    doc.numbers = {7};
    doc.SetPathName(dir.File("current.tvp"));
    const std::string missing = dir.File("gone.tvp");
    EXPECT_FALSE(doc.OnOpenDocument(missing));
    ASSERT_EQ(ui.Messages().size(), 1U);
    EXPECT_EQ(ui.Calls()[1].icon, Icon::Error);
    EXPECT_EQ(ui.Messages()[0],
              "Cannot open the file \"" + missing + "\".\nNo such file or directory.");
    EXPECT_THAT(doc.numbers, ElementsAre(7));
    EXPECT_EQ(doc.GetPathName(), dir.File("current.tvp"));
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(DocumentFiles, AFolderOrAnUnreadableFileOpensNothing) {
    NumbersDoc doc(ui, log);
    EXPECT_FALSE(doc.OnOpenDocument(dir.Path().string()));
    EXPECT_THAT(ui.Messages().back(), HasSubstr("Is a directory"));

    const std::string path = SavedProject("locked.tvp");
    ::chmod(path.c_str(), 0);
    test::WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_THAT(ui.Messages().back(), HasSubstr("Permission denied"));
}

TEST_F(DocumentFiles, ATruncatedFileFailsWithTheArchiveError) {
    const std::string path = SavedProject("cut.tvp");
    std::string bytes = ReadText(path);
    // Every shorter file fails, whether a count or the data runs short.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        WriteText(path, bytes.substr(0, n));
        NumbersDoc doc(ui, log);
        doc.numbers = {5};
        EXPECT_FALSE(doc.OnOpenDocument(path));
        EXPECT_TRUE(doc.numbers.empty());
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetPathName(), "");
    }
    const std::vector<std::string> messages = ui.Messages();
    ASSERT_EQ(messages.size(), bytes.size());
    for (const std::string& m : messages) {
        EXPECT_THAT(m, HasSubstr("Cannot read the file \"" + path +
                                 "\".\nIt is damaged or not a file of this program ("));
    }
    // Cut inside the numbers: the count promises more than there is.
    EXPECT_THAT(messages[9], HasSubstr("(count larger than the data)."));
    // Cut before the name's length.
    EXPECT_THAT(messages[16], HasSubstr("(unexpected end of file)."));
    // Cut inside the name, whose length is known.
    EXPECT_THAT(messages.back(), HasSubstr("(string longer than the data)."));
}

TEST_F(DocumentFiles, AnAbsurdCountIsRefusedWithoutAllocating) {
    const std::string path = dir.File("huge.tvp");
    WriteText(path, std::string("\xFF\xFF\xFF\x7F\x01\x00\x00\x00", 8));
    NumbersDoc doc(ui, log);
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_THAT(ui.Messages().back(), HasSubstr("(count larger than the data)"));
}

TEST_F(DocumentFiles, AReadOnlyFolderKeepsTheOldFileAndTheModifiedFlag) {
    const std::string path = SavedProject("p.tvp");
    const std::string before = ReadText(path);
    NumbersDoc doc(ui, log);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.numbers.push_back(40);
    doc.SetModifiedFlag();
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);

    test::WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadText(path), before);
    EXPECT_THAT(dir.Entries(), ElementsAre("p.tvp"));
    ASSERT_EQ(ui.Messages().size(), 1U);
    EXPECT_EQ(ui.Messages()[0], "Cannot save the file \"" + path + "\".\nPermission denied.");
    EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(DocumentFiles, AFullDiskKeepsTheOldFileAndTheModifiedFlag) {
    const std::string path = SavedProject("p.tvp");
    const std::string before = ReadText(path);
    NumbersDoc doc(ui, log);
    doc.numbers.assign(50000, 1);
    doc.SetModifiedFlag();
    bool saved = true;
    {
        test::FileSizeLimit limit(4096);
        saved = doc.OnSaveDocument(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadText(path), before);
    EXPECT_THAT(dir.Entries(), ElementsAre("p.tvp"));
    EXPECT_THAT(ui.Messages().back(), HasSubstr("File too large"));
}

TEST_F(DocumentFiles, AFailingStoreWritesNothing) {
    const std::string path = SavedProject("p.tvp");
    const std::string before = ReadText(path);
    NumbersDoc doc(ui, log);
    doc.SetModifiedFlag();
    doc.failStore = true;
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadText(path), before);
    EXPECT_THAT(ui.Messages().back(), HasSubstr("count too large to store"));
}

TEST_F(DocumentFiles, SaveAsAsksForANameAndAddsTheExtension) {
    test::FakeTemplate tmpl("\nIIR\nTarvoIIR Project\nTarvoIIR Project Files (*.tvp)\n.tvp", ui,
                            log);
    NumbersDoc doc(ui, log);
    doc.SetDocTemplate(&tmpl);
    doc.SetTitle("IIR1");
    doc.SetModifiedFlag();

    // Cancelled: nothing written, still modified.
    ui.QueueSavePath(std::nullopt);
    EXPECT_FALSE(doc.DoFileSave());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.Texts(Kind::AskSavePath).back(), "IIR1.tvp");

    ui.QueueSavePath(dir.File("mine"));
    EXPECT_TRUE(doc.OnCommand(kIdFileSave));
    EXPECT_EQ(doc.GetPathName(), dir.File("mine.tvp"));
    EXPECT_EQ(doc.GetTitle(), "mine.tvp");
    EXPECT_FALSE(doc.IsModified());

    // Save now goes to the same file without asking.
    const std::size_t asked = ui.Count(Kind::AskSavePath);
    doc.numbers = {3};
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(ui.Count(Kind::AskSavePath), asked);

    // Save As suggests the current file; saving a copy elsewhere without
    // replacing keeps the document on its file.
    ui.QueueSavePath(dir.File("copy.tvp"));
    EXPECT_TRUE(doc.OnCommand(kIdFileSaveAs));
    EXPECT_EQ(ui.Texts(Kind::AskSavePath).back(), dir.File("mine.tvp"));
    EXPECT_EQ(doc.GetPathName(), dir.File("copy.tvp"));
    EXPECT_TRUE(doc.DoSave(dir.File("backup.tvp"), false));
    EXPECT_EQ(doc.GetPathName(), dir.File("copy.tvp"));
    EXPECT_THAT(dir.Entries(), ElementsAre("backup.tvp", "copy.tvp", "mine.tvp"));
    EXPECT_EQ(ui.UnscriptedCount(), 0U);
}

TEST_F(DocumentFiles, SavingAWriteProtectedFileAsksForAnotherName) {
    const std::string path = SavedProject("p.tvp");
    NumbersDoc doc(ui, log);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ::chmod(path.c_str(), 0444);
    test::WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    ui.QueueSavePath(dir.File("other.tvp"));
    EXPECT_TRUE(doc.DoFileSave());
    EXPECT_EQ(doc.GetPathName(), dir.File("other.tvp"));
}

TEST_F(DocumentFiles, SaveModifiedAsksOnlyForAModifiedDocument) {
    NumbersDoc doc(ui, log);
    doc.SetTitle("IIR3");
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(ui.Count(Kind::Ask), 0U);

    doc.SetModifiedFlag();
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(doc.SaveModified());
    ASSERT_EQ(ui.Questions().size(), 1U);
    EXPECT_EQ(ui.Questions()[0], "Save changes to IIR3?");
    EXPECT_EQ(ui.Calls().back().buttons, Buttons::YesNoCancel);

    ui.QueueAnswer(Answer::No);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(dir.Entries().empty());

    // Yes, then the save dialog is cancelled: the document must stay open.
    ui.QueueAnswer(Answer::Yes);
    ui.QueueSavePath(std::nullopt);
    EXPECT_FALSE(doc.SaveModified());

    ui.QueueAnswer(Answer::Yes);
    ui.QueueSavePath(dir.File("kept.tvp"));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_THAT(dir.Entries(), ElementsAre("kept.tvp"));
}

} // namespace
} // namespace fw
