// What the format dialogs refuse at OK beyond the field ranges, the file
// chooser's filter, and the export targets the writer and View refuse.
#include "export/export_files.h"
#include "export/export_path.h"
#include "export/export_test_support.h"
#include "export/format_dialog_rules.h"
#include "export/iir_export_file_format.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using fw::test::ScratchDir;
using fw::test::WriteText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Edit = std::function<void(CIirExportFileFormat&)>;

TEST(FormatChecks, RefusalsNameTheirFieldInOrder) {
    const std::string lengthRange = "Please enter a number between 1 and 1048576.";
    const std::string hexInvalid = "Hex parameters are invalid.";
    const auto hex = [](std::int32_t i, std::int32_t f) {
        return [i, f](CIirExportFileFormat& e) {
            e.m_nNumeric = kNumericHex;
            e.m_nHexIntBits = i;
            e.m_nHexFracBits = f;
        };
    };
    const struct {
        const char* what;
        Edit edit;
        std::optional<FormatRefusal> expected;
    } rows[] = {
        {"defaults", [](auto&) {}, std::nullopt},
        {"frac bits range", [](auto& e) { e.m_nHexFracBits = 257; },
         FormatRefusal{FormatField::HexFracBits, "Please enter a number between 0 and 256."}},
        {"spaces range", [](auto& e) { e.m_nIndentSpaces = -1; },
         FormatRefusal{FormatField::IndentSpaces, "Please enter a number between 0 and 32."}},
        {"no file name", [](auto& e) { e.m_strFileName = "dir/"; },
         FormatRefusal{FormatField::FileName, "Please enter a file name."}},
        {"no output", [](auto& e) { e.m_bBiquads = 0; },
         FormatRefusal{FormatField::Outputs, "Please select at least one data output."}},
        {"impulse 2^20", [](auto& e) { e.m_bImpulse = 1, e.m_nImpulseLen = 1 << 20; },
         std::nullopt},
        {"impulse 2^20 + 1", [](auto& e) { e.m_bImpulse = 1, e.m_nImpulseLen = (1 << 20) + 1; },
         FormatRefusal{FormatField::ImpulseLength, lengthRange}},
        {"step 2^21", [](auto& e) { e.m_bStep = 1, e.m_nStepLen = 1 << 21; },
         FormatRefusal{FormatField::StepLength, lengthRange}},
        {"unticked 2^21", [](auto& e) { e.m_nImpulseLen = e.m_nStepLen = 1 << 21; }, std::nullopt},
        {"impulse before step",
         [](auto& e) {
             e.m_bImpulse = e.m_bStep = 1;
             e.m_nImpulseLen = 1 << 21;
             e.m_nStepLen = 0;
         },
         FormatRefusal{FormatField::ImpulseLength, lengthRange}},
        {"hex 40/30", hex(40, 30), FormatRefusal{FormatField::HexIntBits, hexInvalid}},
        {"hex 0/0", hex(0, 0), FormatRefusal{FormatField::HexIntBits, hexInvalid}},
        {"hex 32/31", hex(32, 31), FormatRefusal{FormatField::HexIntBits, hexInvalid}},
        {"hex 31/31", hex(31, 31), std::nullopt},
        {"hex 0/1", hex(0, 1), std::nullopt},
        {"hex pair while not chosen", [](auto& e) { e.m_nHexIntBits = e.m_nHexFracBits = 40; },
         std::nullopt},
        {"hex after the lengths",
         [&](auto& e) {
             hex(40, 30)(e);
             e.m_bStep = 1;
             e.m_nStepLen = 0;
         },
         FormatRefusal{FormatField::StepLength,
                       "Please enter a step response length greater than zero."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CIirExportFileFormat e("/d");
        row.edit(e);
        EXPECT_EQ(CheckFormatFields(e, true), row.expected);
        const std::optional<std::string> message =
            row.expected ? std::optional<std::string>(row.expected->message) : std::nullopt;
        EXPECT_EQ(CheckFormatDialog(e, true), message);
    }
}

TEST(FormatChecks, BrowseFilterForTheFileChooser) {
    EXPECT_EQ(ChooserFileFilter(BrowseFileFilter()),
              "Text Files (*.txt *.hex);;C/C++ Files (*.c *.cpp *.h);;Matlab Files (*.m)");
    EXPECT_EQ(ChooserFileFilter("All (*)|*|"), "");
    EXPECT_EQ(ChooserFileFilter("Data|*.dat"), "Data (*.dat)");
}

TEST(ExportTargets, OnlyAbsoluteLocalPathsAreWritten) {
    const struct {
        const char* path;
        bool local;
    } rows[] = {
        {"/home/ana/iir.cpp", true},
        {"/", true},
        {"iir.cpp", false},
        {"./iir.cpp", false},
        {"", false},
        {"C:\\Filters\\iir.cpp", false},
        {"C:/Filters/iir.cpp", false},
        {"/tmp/a\\b.m", false},
        {"\\\\server\\x.m", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsLocalAbsolutePath(row.path), row.local) << row.path;
    }

    // The writer refuses the others as stored and writes nothing anywhere.
    CIirFilter filter = test::TwoSectionFilter();
    for (const char* path : {"rel_export.m", "C:\\Filters\\rel_export.cpp"}) {
        SCOPED_TRACE(path);
        fw::RecordingUi ui;
        CIirExportFileFormat entry("/d");
        entry.m_strPath = path;
        EXPECT_FALSE(entry.WriteFile(filter, false, ui));
        EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + std::string(path) + "\"."));
        EXPECT_FALSE(fs::exists(path));
    }
    EXPECT_FALSE(fs::exists("rel_export.h"));
}

TEST(ExportTargets, ViewHandsOnlyPlainFilesToTheDesktop) {
    ScratchDir dir;
    WriteText(dir.File("coeffs.txt"), "1\n");
    WriteText(dir.File("run.sh"), "#!/bin/sh\n");
    fs::permissions(dir.File("run.sh"), fs::perms::owner_exec, fs::perm_options::add);
    WriteText(dir.File("app.DESKTOP"), "[Desktop Entry]\n");
    fs::create_symlink(dir.File("app.DESKTOP"), dir.File("link.txt"));
    fs::create_directory(dir.File("folder.m"));
    const struct {
        const char* name;
        bool opened;
    } rows[] = {
        {"coeffs.txt", true}, {"run.sh", false},   {"app.DESKTOP", false},
        {"link.txt", false},  {"folder.m", false}, {"missing.m", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CExportFiles files(dir.Path().string());
        auto entry = std::make_unique<CIirExportFileFormat>(dir.Path().string());
        entry->m_strPath = dir.File(row.name);
        files.m_list.Append(std::move(entry));
        files.Select(0);
        fw::RecordingUi ui;
        EXPECT_EQ(files.View(ui), row.opened);
        if (row.opened) {
            EXPECT_THAT(ui.Texts(fw::RecordingUi::Call::Kind::OpenFile),
                        ElementsAre(dir.File(row.name)));
            EXPECT_THAT(ui.Messages(), IsEmpty());
        } else {
            EXPECT_THAT(ui.Texts(fw::RecordingUi::Call::Kind::OpenFile), IsEmpty());
            EXPECT_THAT(ui.Messages(), ElementsAre(NotViewableMessage(dir.File(row.name))));
        }
    }
}

} // namespace
} // namespace tarvo
