#include "doc/doc_command_ids.h"
#include "doc/tarvo_iir_doc.h"
#include "doc_fakes.h"
#include "export/export_formats.h"
#include "file_bytes.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "project_helpers.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

// A project file with a C++ and a Matlab entry, written by a designed project.
class ReceivedProject : public ::testing::Test {
protected:
    void SetUp() override {
        fw::RecordingUi quiet;
        CTarvoIirDoc sender(quiet, Context());
        ASSERT_TRUE(sender.OnNewDocument());
        ASSERT_TRUE(test::DesignAsTheForm(sender, IirDesignSpec{}));
        AddEntry(sender, "coeffs.cpp", kFormatCpp);
        AddEntry(sender, "coeffs.m", kFormatMatlab);
        ASSERT_TRUE(sender.OnSaveDocument(project));
        ASSERT_FALSE(Written("coeffs.cpp"));
    }

    ProjectContext Context() {
        ProjectContext c;
        c.dialogs = &dialogs;
        c.documentsFolder = dir.Path().string();
        return c;
    }

    void AddEntry(CTarvoIirDoc& doc, const std::string& name, std::int32_t format) {
        auto entry = std::make_unique<CIirExportFileFormat>(out.string());
        entry->m_strFileName = name;
        entry->m_strPath = (out / name).string();
        entry->m_nFormat = format;
        doc.GetExportFiles().m_list.Append(std::move(entry));
    }

    bool Written(const std::string& name) const { return fs::exists(out / name); }

    fw::test::ScratchDir dir;
    fs::path out = dir.Path();
    std::string project = dir.File("received.tvp");
    test::ScriptedDialogs dialogs;
};

TEST_F(ReceivedProject, TheFirstAutomaticExportAsksOnceListingEveryFile) {
    fw::RecordingUi ui;
    ui.QueueAnswer(fw::Answer::Yes);
    CTarvoIirDoc doc(ui, Context());
    ASSERT_TRUE(doc.OnOpenDocument(project));
    EXPECT_FALSE(Written("coeffs.cpp"));

    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    ASSERT_THAT(ui.Questions(), ElementsAre(HasSubstr((out / "coeffs.h").string())));
    const std::string q = ui.Questions()[0];
    EXPECT_THAT(q, HasSubstr((out / "coeffs.cpp").string()));
    EXPECT_THAT(q, HasSubstr((out / "coeffs.m").string()));
    EXPECT_LT(q.find("coeffs.h"), q.find("coeffs.cpp"));
    EXPECT_TRUE(Written("coeffs.h"));
    EXPECT_TRUE(Written("coeffs.cpp"));
    EXPECT_TRUE(Written("coeffs.m"));

    fs::remove(out / "coeffs.m");
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_TRUE(Written("coeffs.m"));
    EXPECT_EQ(ui.UnscriptedCount(), 0u);
}

TEST_F(ReceivedProject, NoTurnsAutoExportOffForThisProject) {
    fw::RecordingUi ui;
    ui.QueueAnswer(fw::Answer::No);
    CTarvoIirDoc doc(ui, Context());
    ASSERT_TRUE(doc.OnOpenDocument(project));
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_FALSE(doc.GetExportFiles().AutoExportOn());
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_FALSE(Written("coeffs.cpp"));
    EXPECT_FALSE(Written("coeffs.m"));
    // The design itself went through.
    EXPECT_EQ(doc.UndoCount(), 3u);
}

TEST_F(ReceivedProject, TheQuestionWaitsForAnExportThatWouldWrite) {
    fw::RecordingUi ui;
    ui.QueueAnswer(fw::Answer::Yes);
    CTarvoIirDoc doc(ui, Context());
    ASSERT_TRUE(doc.OnOpenDocument(project));
    doc.GetExportFiles().SetAutoExport(false);
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_THAT(ui.Questions(), IsEmpty());
    EXPECT_FALSE(Written("coeffs.cpp"));

    doc.GetExportFiles().SetAutoExport(true);
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_TRUE(Written("coeffs.cpp"));
}

TEST_F(ReceivedProject, TheExportDialogShowsTheListSoNoQuestionFollows) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui, Context());
    ASSERT_TRUE(doc.OnOpenDocument(project));
    doc.OnCommand(kIdFileExport);
    EXPECT_EQ(dialogs.exportDialogs, 1);
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_THAT(ui.Questions(), IsEmpty());
    EXPECT_TRUE(Written("coeffs.cpp"));
}

TEST_F(ReceivedProject, NewProjectsExportWithoutAsking) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui, Context());
    ASSERT_TRUE(doc.OnNewDocument());
    AddEntry(doc, "fresh.m", kFormatMatlab);
    ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
    EXPECT_THAT(ui.Questions(), IsEmpty());
    EXPECT_TRUE(Written("fresh.m"));
}

} // namespace
} // namespace tarvo
