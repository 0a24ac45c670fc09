// design --export: the files are those an export-list entry with the same
// options writes for the same design.

#include "cli/commands.h"
#include "cli/export_options.h"
#include "cli_run.h"
#include "design/design_action.h"
#include "design/iir_filter.h"
#include "export/iir_export_file_format.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

using fw::test::ReadText;
using fw::test::ScratchDir;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// What an export entry writes for the design of form, into folder.
void WriteAsEntry(const IirDesignSpec& form, CIirExportFileFormat& entry) {
    CIirFilter filter;
    ASSERT_TRUE(RunDesign(filter, form, -130.0).Designed());
    fw::RecordingUi ui;
    ASSERT_TRUE(entry.WriteFile(filter, false, ui));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(DesignExport, DefaultsAreANewEntrysDefaults) {
    ScratchDir cli;
    ScratchDir reference;
    const CliRun r = Cli({"design", "--order", "3", "--export", cli.File("iir_filter.cpp")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");

    IirDesignSpec form;
    form.order = 3;
    CIirExportFileFormat entry(reference.Path().string());
    WriteAsEntry(form, entry);
    ASSERT_THAT(cli.Entries(), ElementsAre("iir_filter.cpp", "iir_filter.h"));
    EXPECT_EQ(reference.Entries(), cli.Entries());
    for (const std::string& name : cli.Entries())
        EXPECT_EQ(ReadText(cli.File(name)), ReadText(reference.File(name))) << name;
}

TEST(DesignExport, EveryOptionReachesTheEntry) {
    ScratchDir cli;
    ScratchDir reference;
    const CliRun r = Cli({"design",
                          "--family",
                          "chebyshev",
                          "--response",
                          "bandpass",
                          "--order",
                          "2",
                          "--edge1",
                          "0.1",
                          "--edge2",
                          "0.2",
                          "--export",
                          cli.File("bp.dat"),
                          "--export-format",
                          "C",
                          "--numeric",
                          "hex",
                          "--hex-int-bits",
                          "4",
                          "--hex-frac-bits",
                          "20",
                          "--indent",
                          "tabs",
                          "--indent-spaces",
                          "5",
                          "--biquad-order",
                          "b0, b1, b2, a1, a2",
                          "--filter-name",
                          "bp",
                          "--no-headings",
                          "--specs",
                          "--zeros-poles",
                          "--direct-form",
                          "--impulse",
                          "--impulse-length",
                          "5",
                          "--step",
                          "--step-length",
                          "6",
                          "--responses-via",
                          "direct-form",
                          "--negate-a",
                          "--real-type",
                          "float",
                          "--complex-type",
                          "cfloat",
                          "--header-text",
                          "/* h */",
                          "--source-text",
                          "/* c */"});
    ASSERT_EQ(r.status, kExitOk) << r.err;

    IirDesignSpec form;
    form.family = kChebyshev;
    form.response = kBandpass;
    form.order = 2;
    form.edge1 = 0.1;
    form.edge2 = 0.2;
    CIirExportFileFormat entry(reference.Path().string());
    entry.m_strFileName = "bp.dat";
    entry.m_strPath = reference.File("bp.dat");
    entry.m_nFormat = kFormatC;
    entry.m_nNumeric = kNumericHex;
    entry.m_nHexIntBits = 4;
    entry.m_nHexFracBits = 20;
    entry.m_nIndentKind = kIndentTabs;
    entry.m_nIndentSpaces = 5;
    entry.m_nBiquadOrder = 1;
    entry.m_strFilterName = "bp";
    entry.m_bHeadings = 0;
    entry.m_bSpecs = 1;
    entry.m_bZerosPoles = 1;
    entry.m_bDirectForm = 1;
    entry.m_bImpulse = 1;
    entry.m_nImpulseLen = 5;
    entry.m_bStep = 1;
    entry.m_nStepLen = 6;
    entry.m_nResponsesVia = kResponsesViaDirectForm;
    entry.m_bNegateA = 1;
    entry.m_cOptions = {"float", "cfloat", "/* h */", "/* c */"};
    WriteAsEntry(form, entry);
    // Not a source extension: no header.
    ASSERT_THAT(cli.Entries(), ElementsAre("bp.dat"));
    const std::string text = ReadText(cli.File("bp.dat"));
    EXPECT_EQ(text, ReadText(reference.File("bp.dat")));
    EXPECT_TRUE(text.starts_with("/* c */\n#include \"bp.h\"\n\n// Fs = 1 Hz\n"));
    EXPECT_THAT(text, HasSubstr("\n\t\t0x"));
}

TEST(DesignExport, FormatFromTheExtension) {
    EXPECT_EQ(FormatFromExtension("a.txt"), kFormatText);
    EXPECT_EQ(FormatFromExtension("a.HEX"), kFormatText);
    EXPECT_EQ(FormatFromExtension("/p.q/a.c"), kFormatC);
    EXPECT_EQ(FormatFromExtension("a.cpp"), kFormatCpp);
    EXPECT_EQ(FormatFromExtension("a.M"), kFormatMatlab);
    EXPECT_EQ(FormatFromExtension("C:\\d.m\\coeffs"), kFormatCpp);
    EXPECT_EQ(FormatFromExtension("a.h"), kFormatCpp);

    ScratchDir dir;
    ASSERT_EQ(Cli({"design", "--export", dir.File("f.m")}).status, kExitOk);
    ASSERT_EQ(Cli({"design", "--export", dir.File("f.c")}).status, kExitOk);
    ASSERT_EQ(Cli({"design", "--export", dir.File("g.m"), "--export-format", "text"}).status,
              kExitOk);
    EXPECT_THAT(dir.Entries(), ElementsAre("f.c", "f.h", "f.m", "g.m"));
    EXPECT_TRUE(ReadText(dir.File("f.m")).starts_with("% iir_biquads\n\niir_biquads = [ ...\n"));
    EXPECT_TRUE(ReadText(dir.File("g.m")).starts_with("% iir biquads\n     1.0"));

    // A header path alone is refused.
    const CliRun h = Cli({"design", "--export", dir.File("f2.H")});
    EXPECT_EQ(h.status, kExitRefused);
    EXPECT_EQ(h.err,
              "Give the source file (.c or .cpp) to --export: its header is written beside it.\n");
    EXPECT_THAT(dir.Entries(), ElementsAre("f.c", "f.h", "f.m", "g.m"));
}

// A C or C++ source is never written to a ".h" path, whether its format comes
// from the extension or is named; other formats may use any name.
TEST(DesignExport, CSourcesAreRefusedAtAHeaderPath) {
    const std::string refusal =
        "Give the source file (.c or .cpp) to --export: its header is written beside it.\n";
    struct Row {
        const char* name;
        std::vector<std::string> format;
        bool refused;
    };
    const Row rows[] = {
        {"a.h", {}, true},
        {"b.H", {"--export-format", "c"}, true},
        {"c.h", {"--export-format", "c++"}, true},
        {"d.h", {"--export-format", "CPP"}, true},
        {"e.h", {"--export-format", "text"}, false},
        {"f.h", {"--export-format", "matlab"}, false},
        {"g.hpp", {"--export-format", "c"}, false},
    };
    for (const Row& row : rows) {
        ScratchDir dir;
        std::vector<std::string> args{"design", "--export", dir.File(row.name)};
        args.insert(args.end(), row.format.begin(), row.format.end());
        const CliRun r = Cli(args);
        if (row.refused) {
            EXPECT_EQ(r.status, kExitRefused) << row.name;
            EXPECT_EQ(r.err, refusal) << row.name;
            EXPECT_EQ(r.out, "") << row.name;
            EXPECT_THAT(dir.Entries(), IsEmpty()) << row.name;
        } else {
            EXPECT_EQ(r.status, kExitOk) << row.name << ": " << r.err;
            EXPECT_THAT(dir.Entries(), Contains(row.name)) << row.name;
        }
    }
}

TEST(DesignExport, RefusedExportSavesNoProject) {
    ScratchDir dir;
    const CliRun r = Cli({"design", "--save", dir.File("p.tvp"), "--export", dir.File("x.h"),
                          "--export-format", "c"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_THAT(dir.Entries(), IsEmpty());
}

TEST(DesignExport, RefusedOptionsWriteNothing) {
    ScratchDir dir;
    CliRun r = Cli({"design", "--export", dir.File("x.m"), "--no-export-biquads"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err, "Please select at least one data output.\n");
    r = Cli({"design", "--export", dir.File("x.m"), "--impulse", "--impulse-length", "0"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err, "Please enter an impulse response length greater than zero.\n");
    r = Cli({"design", "--export", dir.File("x.m"), "--step", "--step-length", "-4"});
    EXPECT_EQ(r.err, "Please enter a step response length greater than zero.\n");
    r = Cli({"design", "--export", dir.File("x.m"), "--indent-spaces", "40"});
    EXPECT_EQ(r.err, "Please enter a number between 0 and 32.\n");
    r = Cli({"design", "--export", dir.Path().string() + "/"});
    EXPECT_EQ(r.err, "Please enter a file name.\n");
    // What the writer would always refuse is refused as input, naming the limit.
    r = Cli({"design", "--export", dir.File("h.m"), "--numeric", "hex", "--hex-int-bits", "40",
             "--hex-frac-bits", "30"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err, "Hex parameters are invalid.\n");
    r = Cli({"design", "--export", dir.File("x.m"), "--impulse", "--impulse-length", "2097152"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err, "Please enter a number between 1 and 1048576.\n");
    EXPECT_THAT(dir.Entries(), IsEmpty());

    // Format options mean nothing without --export.
    r = Cli({"design", "--numeric", "hex"});
    EXPECT_EQ(r.status, kExitRefused);
    r = Cli({"design", "--export", dir.File("x.m"), "--biquad-order", "b0,b2"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_THAT(dir.Entries(), IsEmpty());
}

TEST(DesignExport, UnwritableFileExitsWithOne) {
    ScratchDir dir;
    const std::string path = dir.File("no/such/folder/f.cpp");
    const CliRun r = Cli({"design", "--export", path});
    EXPECT_EQ(r.status, kExitFailure);
    // The header and the source each report their failure.
    EXPECT_THAT(r.err, HasSubstr("Cannot open file \"" + dir.File("no/such/folder/f.h") + "\"."));
    EXPECT_THAT(r.err, HasSubstr("Cannot open file \"" + path + "\"."));
    EXPECT_THAT(dir.Entries(), IsEmpty());
}

TEST(DesignExport, BiquadOrderByTextOrIndex) {
    ScratchDir dir;
    ASSERT_EQ(
        Cli({"design", "--export", dir.File("a.m"), "--biquad-order", "A2, B2, A1, B1, B0"}).status,
        kExitOk);
    ASSERT_EQ(Cli({"design", "--export", dir.File("b.m"), "--biquad-order", "0"}).status, kExitOk);
    EXPECT_EQ(ReadText(dir.File("a.m")), ReadText(dir.File("b.m")));
    EXPECT_THAT(ReadText(dir.File("a.m")), HasSubstr("...     % A2\n"));
}

} // namespace
} // namespace tarvo::cli
