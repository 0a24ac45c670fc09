// Export paths that are not absolute local paths (those of projects written on
// Windows, or bare names) are refused by both CLI routes and never written
// relative to the current folder; a relative path typed on the command line is.

#include "cli/commands.h"
#include "cli_run.h"
#include "design/design_action.h"
#include "doc/tarvo_iir_doc.h"
#include "export/export_formats.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

namespace fs = std::filesystem;
using fw::test::ScratchDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Runs the test inside a scratch folder, so that anything written relative to
// the current folder shows up there.
class InScratchFolder : public ::testing::Test {
protected:
    InScratchFolder() : previous_(fs::current_path()) {
        fs::create_directory(work.File("cwd"));
        fs::current_path(work.File("cwd"));
    }
    ~InScratchFolder() override { fs::current_path(previous_); }

    std::vector<std::string> CurrentFolder() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(work.File("cwd")))
            names.push_back(e.path().filename().string());
        return names;
    }

    ScratchDir work;

private:
    fs::path previous_;
};

TEST_F(InScratchFolder, ExportRefusesPathsThatAreNotAbsoluteAndGoesOn) {
    const std::string ok = work.File("ok.m");
    const std::vector<std::string> stored = {"C:\\Filters\\w.m", "rel.m", "C:/Filters/d.m", ok};
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_TRUE(RunDesign(doc.GetFilter(), IirDesignSpec{}, -130.0).Designed());
    doc.OnFilterChanged(true, 0);
    for (const std::string& path : stored) {
        auto entry = std::make_unique<CIirExportFileFormat>(work.Path().string());
        entry->m_strPath = path;
        entry->m_nFormat = kFormatMatlab;
        doc.GetExportFiles().m_list.Append(std::move(entry));
    }
    const std::string project = work.File("p.tvp");
    ASSERT_TRUE(doc.OnSaveDocument(project));

    const CliRun r = Cli({"export", project});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_EQ(r.out, ok + "\n");
    for (std::size_t i = 0; i + 1 < stored.size(); ++i)
        EXPECT_THAT(r.err, HasSubstr("Cannot open file \"" + stored[i] + "\"."));
    EXPECT_THAT(CurrentFolder(), IsEmpty());
    EXPECT_TRUE(fs::exists(ok));
}

TEST_F(InScratchFolder, DesignExportTakesARelativePathFromTheCurrentFolder) {
    CliRun r = Cli({"design", "--export", "typed.m"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_THAT(CurrentFolder(), ElementsAre("typed.m"));

    r = Cli({"design", "--export", "C:\\out\\f.m"});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr("Cannot open file \"C:\\out\\f.m\"."));
    EXPECT_THAT(CurrentFolder(), ElementsAre("typed.m"));
}

} // namespace
} // namespace tarvo::cli
