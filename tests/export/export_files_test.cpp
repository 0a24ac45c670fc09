// The export list and the "Export Files" dialog's model.

#include "design/iir_filter.h"
#include "export/export_files.h"
#include "export/export_test_support.h"
#include "export/iir_export_file_format.h"
#include "fw/archive.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using fw::test::ReadText;
using fw::test::ScratchDir;
using fw::test::WriteText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Answers the "Export File Format" dialog from a script: each answer may
// change the entry, then says OK or Cancel. Remembers what it was shown.
class ScriptedEditor : public CExportFormatEditor {
public:
    struct Answer {
        bool ok = true;
        std::function<void(CIirExportFileFormat&)> edit;
    };
    void Queue(bool ok, std::function<void(CIirExportFileFormat&)> edit = {}) {
        answers_.push_back({ok, std::move(edit)});
    }
    bool Edit(CIirExportFileFormat& entry) override {
        shown.push_back(entry.m_strPath);
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected dialog";
            return false;
        }
        Answer a = std::move(answers_.front());
        answers_.pop_front();
        if (a.edit) a.edit(entry);
        return a.ok;
    }
    std::vector<std::string> shown;

private:
    std::deque<Answer> answers_;
};

// Names a file in folder and picks a format, as a user would in the dialog.
std::function<void(CIirExportFileFormat&)> FileIn(const ScratchDir& dir, const std::string& name,
                                                  std::int32_t format) {
    return [&dir, name, format](CIirExportFileFormat& e) {
        e.m_nFormat = format;
        e.m_strFileName = name;
        e.m_strPath = dir.File(name);
    };
}

struct Project {
    explicit Project(const ScratchDir& dir) : files(dir.Path().string()) {
        files.m_pFilter = &filter;
    }
    CIirFilter filter;
    CExportFiles files;
};

TEST(ExportFiles, NewProject) {
    ScratchDir dir;
    Project project(dir);
    project.files.OpenDialog();
    EXPECT_TRUE(project.files.m_list.Empty());
    EXPECT_TRUE(project.files.AutoExportOn());
    EXPECT_EQ(project.files.Selected(), -1);
    EXPECT_EQ(project.files.Buttons(), ExportButtons{});
    fw::RecordingUi ui;
    EXPECT_FALSE(project.files.ExportAll(ui));
    EXPECT_FALSE(project.files.Export(ui));
    EXPECT_TRUE(project.files.AutoExport(ui));
    EXPECT_THAT(ui.Calls(), IsEmpty());
    EXPECT_THAT(dir.Entries(), IsEmpty());
}

TEST(ExportFiles, AddStartsFromTheSelectedEntry) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;

    // The first entry starts from the export defaults.
    editor.Queue(true, [](CIirExportFileFormat& e) {
        e.m_nFormat = kFormatMatlab;
        e.m_strFileName = "first.m";
        e.m_strPath = "/x/first.m";
        e.m_bZerosPoles = 1;
        e.m_cOptions.m_strRealType = "float";
        e.m_bSetExtension = 0;
    });
    ASSERT_TRUE(files.Add(editor));
    EXPECT_THAT(editor.shown, ElementsAre(dir.File("iir_filter.cpp")));
    EXPECT_THAT(files.Lines(), ElementsAre("/x/first.m"));
    EXPECT_EQ(files.Selected(), 0); // the only item

    // With it selected, the next entry starts as its copy.
    CIirExportFileFormat* seen = nullptr;
    editor.Queue(true, [&seen, &files](CIirExportFileFormat& e) {
        EXPECT_TRUE(e.SameOptions(files.m_list.At(0)));
        EXPECT_EQ(e.m_bSetExtension, 0);
        seen = &e;
    });
    ASSERT_TRUE(files.Add(editor));
    ASSERT_EQ(files.m_list.Size(), 2U);
    EXPECT_EQ(&files.m_list.At(1), seen); // the edited object is the one kept
    EXPECT_TRUE(files.m_list.At(1).SameOptions(files.m_list.At(0)));
    EXPECT_EQ(files.Selected(), 0); // the selection stays where it was

    // Without a selection: the defaults again. Cancel adds nothing.
    files.Select(-1);
    editor.Queue(false, [](CIirExportFileFormat& e) {
        CIirExportFileFormat defaults(e.DocumentsFolder());
        EXPECT_TRUE(e.SameOptions(defaults));
    });
    EXPECT_FALSE(files.Add(editor));
    EXPECT_EQ(files.m_list.Size(), 2U);
}

TEST(ExportFiles, ButtonsFollowSelectionDesignAndFiles) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.m", kFormatMatlab));
    editor.Queue(true, FileIn(dir, "b.txt", kFormatText));
    ASSERT_TRUE(files.Add(editor));
    ASSERT_TRUE(files.Add(editor));

    // Entries, no design, no files yet.
    files.Select(-1);
    EXPECT_EQ(files.Buttons(), ExportButtons{});
    files.Select(1);
    EXPECT_EQ(files.Buttons(), (ExportButtons{true, true, false, false, false}));
    files.Select(5);
    EXPECT_EQ(files.Selected(), -1);

    project.filter = test::TwoSectionFilter();
    files.Select(1);
    EXPECT_EQ(files.Buttons(), (ExportButtons{true, true, false, true, true}));

    fw::RecordingUi ui;
    ASSERT_TRUE(files.Export(ui));
    EXPECT_THAT(dir.Entries(), ElementsAre("b.txt"));
    // The written file can be viewed now.
    EXPECT_EQ(files.Buttons(), (ExportButtons{true, true, true, true, true}));
    ASSERT_TRUE(files.View(ui));
    EXPECT_THAT(ui.Texts(fw::RecordingUi::Call::Kind::OpenFile), ElementsAre(dir.File("b.txt")));

    files.Select(0);
    EXPECT_FALSE(files.Buttons().view);
    // A folder of that name cannot be viewed either.
    fs::create_directory(dir.Path() / "a.m");
    files.Select(0);
    EXPECT_FALSE(files.Buttons().view);
    EXPECT_THAT(ui.Messages(), IsEmpty());
}

TEST(ExportFiles, ViewReportsAFileTheDesktopCannotOpen) {
    ScratchDir dir;
    Project project(dir);
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.m", kFormatMatlab));
    ASSERT_TRUE(project.files.Add(editor));
    WriteText(dir.File("a.m"), "x");
    project.files.UpdateButtons();
    EXPECT_TRUE(project.files.Buttons().view);
    fw::RecordingUi ui;
    ui.SetOpenResult(false);
    EXPECT_FALSE(project.files.View(ui));
    EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + dir.File("a.m") + "\"."));
}

TEST(ExportFiles, RemoveTheOnlyEntry) {
    ScratchDir dir;
    Project project(dir);
    project.filter = test::TwoSectionFilter();
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "only.m", kFormatMatlab));
    ASSERT_TRUE(files.Add(editor));
    EXPECT_TRUE(files.Buttons().exportAll);

    ASSERT_TRUE(files.Remove());
    EXPECT_TRUE(files.m_list.Empty());
    EXPECT_THAT(files.Lines(), IsEmpty());
    EXPECT_EQ(files.Selected(), -1);
    EXPECT_EQ(files.Buttons(), ExportButtons{});
    EXPECT_FALSE(files.Remove());
    EXPECT_FALSE(files.Modify(editor));
    fw::RecordingUi ui;
    EXPECT_FALSE(files.View(ui));
}

TEST(ExportFiles, RemoveSelectsTheLastRemainingEntry) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    for (const char* name : {"a.m", "b.m", "c.m"}) {
        editor.Queue(true, FileIn(dir, name, kFormatMatlab));
        ASSERT_TRUE(files.Add(editor));
    }
    files.Select(1);
    ASSERT_TRUE(files.Remove());
    EXPECT_THAT(files.Lines(), ElementsAre(dir.File("a.m"), dir.File("c.m")));
    EXPECT_EQ(files.Selected(), -1); // two lines left, none selected
    files.Select(1);
    ASSERT_TRUE(files.Remove());
    EXPECT_THAT(files.Lines(), ElementsAre(dir.File("a.m")));
    EXPECT_EQ(files.Selected(), 0);
}

TEST(ExportFiles, RemoveKeepsTheAutoExportStateJustSet) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.m", kFormatMatlab));
    editor.Queue(true, FileIn(dir, "b.m", kFormatMatlab));
    ASSERT_TRUE(files.Add(editor));
    ASSERT_TRUE(files.Add(editor));

    files.SetAutoExport(false);
    files.Select(0);
    ASSERT_TRUE(files.Remove());
    EXPECT_FALSE(files.AutoExportOn());
    files.SetAutoExport(true);
    ASSERT_TRUE(files.Remove());
    EXPECT_TRUE(files.AutoExportOn());
}

TEST(ExportFiles, ModifyKeepsTheEntryOnCancel) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.m", kFormatMatlab));
    editor.Queue(true, FileIn(dir, "b.m", kFormatMatlab));
    ASSERT_TRUE(files.Add(editor));
    ASSERT_TRUE(files.Add(editor));
    files.Select(1);

    editor.Queue(false, [](CIirExportFileFormat& e) {
        e.m_strPath = "/elsewhere.m";
        e.m_bSpecs = 1;
    });
    EXPECT_FALSE(files.Modify(editor));
    EXPECT_THAT(files.Lines(), ElementsAre(dir.File("a.m"), dir.File("b.m")));
    EXPECT_EQ(files.m_list.At(1).m_bSpecs, 0);

    editor.Queue(true, FileIn(dir, "renamed.txt", kFormatText));
    EXPECT_TRUE(files.Modify(editor));
    EXPECT_THAT(files.Lines(), ElementsAre(dir.File("a.m"), dir.File("renamed.txt")));
    EXPECT_EQ(files.m_list.At(1).m_nFormat, kFormatText);
    EXPECT_EQ(files.Selected(), 1);
}

TEST(ExportFiles, AutoExportWritesEveryEntryWhileSet) {
    ScratchDir dir;
    Project project(dir);
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "iir.cpp", kFormatCpp));
    editor.Queue(true, FileIn(dir, "iir.m", kFormatMatlab));
    ASSERT_TRUE(files.Add(editor));
    ASSERT_TRUE(files.Add(editor));
    fw::RecordingUi ui;

    // Nothing designed yet: nothing written.
    EXPECT_TRUE(files.AutoExport(ui));
    EXPECT_THAT(dir.Entries(), IsEmpty());

    project.filter = test::DesignedFilter(IirDesignSpec{});
    ASSERT_TRUE(files.AutoExport(ui));
    EXPECT_THAT(dir.Entries(), ElementsAre("iir.cpp", "iir.h", "iir.m"));
    const std::string first = ReadText(dir.File("iir.m"));

    // The next design rewrites both.
    IirDesignSpec form;
    form.order = 2;
    project.filter = test::DesignedFilter(form);
    ASSERT_TRUE(files.AutoExport(ui));
    const std::string second = ReadText(dir.File("iir.m"));
    EXPECT_NE(second, first);
    EXPECT_THAT(ReadText(dir.File("iir.h")), ::testing::HasSubstr("#define IIR_BIQUADS_SIZE 1\n"));

    // Unticked, designs write nothing.
    files.SetAutoExport(false);
    project.filter = test::DesignedFilter(IirDesignSpec{});
    EXPECT_TRUE(files.AutoExport(ui));
    EXPECT_EQ(ReadText(dir.File("iir.m")), second);
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(ExportFiles, AFailingEntryDoesNotStopTheNext) {
    ScratchDir dir;
    Project project(dir);
    project.filter = test::TwoSectionFilter();
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "missing/a.m", kFormatMatlab));
    editor.Queue(true, [&dir](CIirExportFileFormat& e) {
        FileIn(dir, "b.txt", kFormatText)(e);
        e.m_nNumeric = kNumericHex;
        e.m_nHexIntBits = 0;
        e.m_nHexFracBits = 0;
    });
    editor.Queue(true, FileIn(dir, "c.m", kFormatMatlab));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(files.Add(editor));

    for (const bool all : {true, false}) {
        fw::RecordingUi ui;
        fs::remove(dir.File("c.m"));
        EXPECT_FALSE(all ? files.ExportAll(ui) : files.AutoExport(ui));
        EXPECT_THAT(ui.Messages(),
                    ElementsAre("Cannot open file \"" + dir.File("missing/a.m") + "\".",
                                "Hex parameters are invalid."));
        EXPECT_THAT(dir.Entries(), ElementsAre("c.m"));
    }
}

TEST(ExportFiles, ExportWritesOnlyTheSelectedEntry) {
    ScratchDir dir;
    Project project(dir);
    project.filter = test::TwoSectionFilter();
    CExportFiles& files = project.files;
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.cpp", kFormatCpp));
    editor.Queue(true, FileIn(dir, "b.m", kFormatMatlab));
    ASSERT_TRUE(files.Add(editor));
    ASSERT_TRUE(files.Add(editor));
    fw::RecordingUi ui;
    files.Select(-1);
    EXPECT_FALSE(files.Export(ui));
    files.Select(0);
    ASSERT_TRUE(files.Export(ui));
    // A C++ entry writes its header and its source.
    EXPECT_THAT(dir.Entries(), ElementsAre("a.cpp", "a.h"));
}

std::vector<std::uint8_t> StoreList(CExportFiles& files, std::int32_t version) {
    fw::Archive ar = fw::Archive::ForStoring();
    files.Serialize(ar, version);
    return ar.TakeBuffer();
}

TEST(ExportFiles, ListRoundTripsAndReplacesTheEntries) {
    ScratchDir dir;
    Project project(dir);
    ScriptedEditor editor;
    editor.Queue(true, FileIn(dir, "a.m", kFormatMatlab));
    editor.Queue(true, [&dir](CIirExportFileFormat& e) {
        FileIn(dir, "b.c", kFormatC)(e);
        e.m_bSetExtension = 0;
        e.m_bNegateA = 1;
    });
    ASSERT_TRUE(project.files.Add(editor));
    ASSERT_TRUE(project.files.Add(editor));
    project.files.SetAutoExport(false);

    const std::vector<std::uint8_t> bytes = StoreList(project.files, 20);
    // Count, then two records of at least 83 bytes (record and flag).
    ASSERT_GE(bytes.size(), 4U + 2U * 83U);
    EXPECT_EQ(bytes[0], 2);

    Project other(dir);
    editor.Queue(true, FileIn(dir, "old.m", kFormatMatlab));
    ASSERT_TRUE(other.files.Add(editor));
    fw::Archive ar = fw::Archive::ForLoading(bytes);
    other.files.Serialize(ar, 20);
    EXPECT_EQ(ar.Remaining(), 0U);
    EXPECT_EQ(other.files.Lines(), project.files.Lines());
    ASSERT_EQ(other.files.m_list.Size(), 2U);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(other.files.m_list.At(i).SameOptions(project.files.m_list.At(i)));
        EXPECT_EQ(other.files.m_list.At(i).m_bSetExtension,
                  project.files.m_list.At(i).m_bSetExtension);
    }
    // "Auto export all" is not stored.
    EXPECT_TRUE(other.files.AutoExportOn());
    EXPECT_EQ(other.files.Selected(), -1);

    // A version-18 list has no negate flags; its entries keep the default.
    const std::vector<std::uint8_t> old = StoreList(project.files, 18);
    EXPECT_EQ(old.size(), bytes.size() - 8U);
    fw::Archive oldAr = fw::Archive::ForLoading(old);
    other.files.Serialize(oldAr, 18);
    EXPECT_EQ(oldAr.Remaining(), 0U);
    EXPECT_EQ(other.files.m_list.At(1).m_bNegateA, 0);
    EXPECT_EQ(other.files.m_list.At(1).m_bSetExtension, 0);
}

TEST(ExportFiles, AbsurdCountsFailTheLoad) {
    ScratchDir dir;
    for (const std::int32_t count : {-1, kMaxExportEntries + 1, 3}) {
        fw::Archive store = fw::Archive::ForStoring();
        store.WriteI32(count);
        // Room for two entries at most, whatever the count says.
        for (int i = 0; i < 2 * 83; ++i)
            store.WriteU8(0);
        const std::vector<std::uint8_t> bytes = store.TakeBuffer();
        Project project(dir);
        fw::Archive ar = fw::Archive::ForLoading(bytes);
        EXPECT_THROW(project.files.Serialize(ar, 20), fw::ArchiveError) << count;
    }
    // An empty stream is an early end, not an empty list.
    Project project(dir);
    const std::vector<std::uint8_t> none;
    fw::Archive ar = fw::Archive::ForLoading(none);
    EXPECT_THROW(project.files.Serialize(ar, 20), fw::ArchiveError);
}

} // namespace
} // namespace tarvo
