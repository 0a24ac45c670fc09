#include "doc/project_file.h"
#include "doc/tarvo_iir_doc.h"
#include "doc_fakes.h"
#include "file_bytes.h"
#include "fw/application.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "project_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using DocString = fw::DocTemplate::DocString;

// The project template: project documents in frames with one recording view.
class ProjectTemplate : public fw::DocTemplate {
public:
    ProjectTemplate(fw::Ui& ui, test::HintLog& log)
        : fw::DocTemplate(kProjectDocStrings), ui_(ui), log_(log) {}
    std::unique_ptr<fw::Document> CreateNewDocument() override {
        return std::make_unique<CTarvoIirDoc>(ui_);
    }

protected:
    std::unique_ptr<fw::Frame> MakeFrame(fw::Document& doc) override {
        auto frame = std::make_unique<test::FakeFrame>("frame", log_);
        frame->AddView(std::make_unique<test::RecordingView>("view", log_), &doc);
        return frame;
    }

private:
    fw::Ui& ui_;
    test::HintLog& log_;
};

class App : public fw::Application {
public:
    using fw::Application::Application;
    fw::View* GetActiveView() const override { return nullptr; }
};

TEST(ProjectFile, TemplateStrings) {
    fw::RecordingUi ui;
    test::HintLog log;
    ProjectTemplate t(ui, log);
    EXPECT_EQ(t.GetDocString(DocString::WindowTitle), "");
    EXPECT_EQ(t.GetDocString(DocString::DocName), "IIR");
    EXPECT_EQ(t.GetDocString(DocString::FileNewName), "TarvoIIR Project");
    EXPECT_EQ(t.GetDocString(DocString::FilterName), "TarvoIIR Project Files (*.tvp)");
    EXPECT_EQ(t.GetDocString(DocString::FilterExt), ".tvp");
    EXPECT_EQ(t.GetDocString(DocString::RegFileTypeId), "TarvoIIR.Project");
    EXPECT_EQ(t.GetDocString(DocString::RegFileTypeName), "TarvoIIR Project");

    // New projects are titled IIR1, IIR2, ... and save under the ".tvp" name.
    App app(ui);
    auto& added = dynamic_cast<ProjectTemplate&>(
        app.AddDocTemplate(std::make_unique<ProjectTemplate>(ui, log)));
    fw::Document* first = app.OpenNewDocument(added);
    fw::Document* second = app.OpenNewDocument(added);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetTitle(), "IIR1");
    EXPECT_EQ(second->GetTitle(), "IIR2");
    fw::test::ScratchDir dir;
    ui.QueueSavePath(dir.File("named"));
    EXPECT_TRUE(first->DoFileSave());
    EXPECT_EQ(first->GetPathName(), dir.File("named.tvp"));
}

class ProjectOpen : public ::testing::Test {
protected:
    ProjectOpen() {
        projects = &dynamic_cast<ProjectTemplate&>(
            app.AddDocTemplate(std::make_unique<ProjectTemplate>(ui, log)));
    }

    std::string WriteProject(const std::string& name, std::uint8_t version) {
        fw::RecordingUi quiet;
        CTarvoIirDoc doc(quiet);
        EXPECT_TRUE(doc.OnNewDocument());
        std::vector<std::uint8_t> bytes = test::StreamOf(doc);
        bytes[0] = version;
        std::string path = dir.File(name);
        test::WriteBytes(path, bytes);
        return path;
    }

    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    test::HintLog log;
    App app{ui};
    ProjectTemplate* projects = nullptr;
};

TEST_F(ProjectOpen, OpensAProjectWithItsWindow) {
    const std::string path = WriteProject("p.tvp", 20);
    fw::Document* doc = OpenProjectFile(app, *projects, path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "p.tvp");
    EXPECT_THAT(log.Hints("view"), ElementsAre(773, 774, 0));
    EXPECT_THAT(ui.Messages(), IsEmpty());
    // Opening it again brings the same project forward.
    EXPECT_EQ(OpenProjectFile(app, *projects, path), doc);
    EXPECT_EQ(app.Documents().size(), 1u);
}

TEST_F(ProjectOpen, ANewerFileWarnsWhileProbedAndWhileRead) {
    const std::string path = WriteProject("newer.tvp", 21);
    ASSERT_NE(OpenProjectFile(app, *projects, path), nullptr);
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("newer version"), HasSubstr("newer version")));
}

TEST_F(ProjectOpen, AFileThatCannotBeOpenedIsReported) {
    EXPECT_EQ(OpenProjectFile(app, *projects, dir.File("missing.tvp")), nullptr);
    EXPECT_EQ(OpenProjectFile(app, *projects, dir.Path().string()), nullptr);
    EXPECT_THAT(ui.Messages(),
                ElementsAre(AllOf(HasSubstr("Cannot open the file"), HasSubstr("missing.tvp")),
                            HasSubstr("Cannot open the file")));
    EXPECT_TRUE(app.Documents().empty());
}

TEST_F(ProjectOpen, ADamagedFileIsReportedOnceAndLeavesNoDocument) {
    const std::string path = dir.File("short.tvp");
    test::WriteBytes(path, {0x14});
    EXPECT_EQ(OpenProjectFile(app, *projects, path), nullptr);
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("short.tvp")));
    EXPECT_TRUE(app.Documents().empty());
    EXPECT_TRUE(projects->Frames().empty());
}

} // namespace
} // namespace tarvo
