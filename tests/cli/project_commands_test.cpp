#include "cli/commands.h"
#include "cli_run.h"
#include "design/design_action.h"
#include "design/response_curves.h"
#include "doc/app_options.h"
#include "doc/tarvo_iir_doc.h"
#include "export/export_formats.h"
#include "fw/archive.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iomanip>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::uint8_t> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class ProjectCli : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return scratch.File(name); }

    // A designed project saved through the document, with the given entries.
    std::string SaveProject(const std::string& name, const std::vector<std::string>& entries,
                            bool design = true, const std::string& viewName = "iir") {
        fw::RecordingUi ui;
        CTarvoIirDoc doc(ui);
        EXPECT_TRUE(doc.OnNewDocument());
        doc.GetFormat().m_strFilterName = viewName;
        if (design) {
            EXPECT_TRUE(RunDesign(doc.GetFilter(), IirDesignSpec{}, -130.0).Designed());
            doc.OnFilterChanged(true, 0);
        }
        for (const std::string& e : entries) {
            auto entry = std::make_unique<CIirExportFileFormat>(dir.string());
            entry->m_strFileName = e;
            entry->m_strPath = File(e);
            entry->m_nFormat = e.ends_with(".m") ? kFormatMatlab : kFormatCpp;
            doc.GetExportFiles().m_list.Append(std::move(entry));
        }
        doc.SetTimeResponseLength(16);
        std::string path = File(name);
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }

    fw::test::ScratchDir scratch;
    fs::path dir = scratch.Path();
};

TEST_F(ProjectCli, DesignSaveWritesANewProjectWithTheDesign) {
    const std::string path = File("lp.tvp");
    const CliRun r = Cli({"design", "--family", "chebyshev", "--order", "5", "--fs", "8", "--unit",
                          "khz", "--edge1", "1.5", "--min-db", "-90", "--save", path});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    const CIirFilter& f = doc.GetFilter();
    EXPECT_EQ(f.spec.family, kChebyshev);
    EXPECT_EQ(f.spec.order, 5);
    EXPECT_EQ(f.fs.GetHz(), 8000.0);
    EXPECT_EQ(doc.GetMinDb(), -90.0);
    EXPECT_EQ(f.p.size(), 5u);

    EXPECT_EQ(doc.UndoCount(), 1u);

    // The same project made by hand: new, frequency set, form filled, designed.
    fw::RecordingUi quiet;
    AppOptions settings;
    settings.m_dMinDb = -90.0;
    ProjectContext context;
    context.options = &settings;
    CTarvoIirDoc direct(quiet, context);
    ASSERT_TRUE(direct.OnNewDocument());
    direct.GetFilter().fs = CFs(8.0);
    direct.GetFilter().fs.SetUnit(1);
    IirDesignSpec form;
    form.family = kChebyshev;
    form.order = 5;
    form.edge1 = 1.5;
    ASSERT_TRUE(RunDesign(direct.GetFilter(), form, direct.GetMinDb()).Designed());
    direct.OnFilterChanged(true, 0);
    fw::Archive ar = fw::Archive::ForStoring();
    direct.Serialize(ar);
    EXPECT_EQ(Bytes(path), ar.Buffer());
}

TEST_F(ProjectCli, DesignSaveRefusedWritesNothing) {
    const std::string path = File("bad.tvp");
    const CliRun r = Cli({"design", "--order", "0", "--save", path});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_THAT(r.err, HasSubstr("Order must be greater than zero."));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ProjectCli, ShowPrintsTheCoefficientViewText) {
    const std::string path = SaveProject("p.tvp", {});
    const CliRun r = Cli({"show", path});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    // The coefficient view's default format: Text, headings and biquads.
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[0], "% iir biquads");
    EXPECT_THAT(r.out, HasSubstr("% iir biquads gain"));
    EXPECT_TRUE(r.err.empty());
}

TEST_F(ProjectCli, ShowOptionsOverrideOnlyWhatTheyName) {
    const std::string path = SaveProject("p.tvp", {}, true, "bp");
    CliRun r = Cli({"show", path, "--format", "c", "--numeric", "scientific"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    // The project's own filter name stays; the C format and notation are given.
    EXPECT_THAT(r.out, HasSubstr("double bp_biquads[BP_BIQUADS_SIZE][6] = {"));
    EXPECT_THAT(r.out, HasSubstr("e-01"));
    // The view's temporary file is no C source: no header, but the include line.
    EXPECT_EQ(Lines(r.out)[0], "#include \"TarvoIIR.h\"");

    r = Cli({"show", path, "--filter-name", "", "--no-export-biquads", "--zeros-poles"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_THAT(Lines(r.out)[0], StartsWith("% zeros"));

    r = Cli({"show", path, "--hex-int-bits", "300"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_THAT(r.err, HasSubstr("Please enter a number between 0 and 256."));
    r = Cli({"show", path, "--no-export-biquads"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_THAT(r.err, HasSubstr("Please select at least one data output."));
}

TEST_F(ProjectCli, ExportWritesEveryEntryAndPrintsEachPathWithoutAsking) {
    const std::string path = SaveProject("p.tvp", {"a.cpp", "b.m"});
    const CliRun r = Cli({"export", path});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{File("a.h"), File("a.cpp"), File("b.m")}));
    EXPECT_TRUE(fs::exists(File("a.h")));
    EXPECT_TRUE(fs::exists(File("a.cpp")));
    EXPECT_TRUE(fs::exists(File("b.m")));
    EXPECT_THAT(r.err, Not(HasSubstr("question")));
}

TEST_F(ProjectCli, ExportGoesOnAfterAFileThatCannotBeWritten) {
    const std::string path = SaveProject("p.tvp", {"missing/x.m", "b.m"});
    const CliRun r = Cli({"export", path});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{File("b.m")}));
    EXPECT_THAT(r.err, HasSubstr("x.m"));
}

TEST_F(ProjectCli, ResponsePrintsTheCurveAsCopyDataDoes) {
    const std::string path = SaveProject("p.tvp", {});
    const CliRun r = Cli({"response", path, "--type", "magnitude", "--points", "3"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u);

    CIirFilter f;
    ASSERT_TRUE(RunDesign(f, IirDesignSpec{}, -130.0).Designed());
    korin::mvect x;
    korin::mvect y;
    ComputeResponse(f, 0.0, 0.5, 3, kPlotMagnitude, x, y);
    for (std::size_t i = 0; i < 3; ++i) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%12.9f\t%12.9f", x[i].real(), y[i].real());
        EXPECT_EQ(lines[i], expected);
    }
    EXPECT_EQ(lines[0].substr(0, 13), " 0.000000000\t");
}

// Values of any size print whole, as the stream's own "%12.9f" would in the C
// locale.
TEST_F(ProjectCli, ResponseValuesOfAnySizePrintWhole) {
    struct Row {
        const char* gainDb;
        const char* type;
    };
    const Row rows[] = {{"0", "impulse"},
                        {"2060", "impulse"},
                        {"2100", "step"},
                        {"6000", "impulse"},
                        {"2100", "magnitude"}};
    for (const Row& row : rows) {
        const std::string path = File(std::string("g") + row.gainDb + ".tvp");
        ASSERT_EQ(Cli({"design", "--gain", row.gainDb, "--save", path}).status, kExitOk);
        const CliRun r = Cli({"response", path, "--type", row.type, "--points", "4"});
        ASSERT_EQ(r.status, kExitOk) << r.err;

        fw::RecordingUi ui;
        CTarvoIirDoc doc(ui);
        ASSERT_TRUE(doc.OnOpenDocument(path));
        std::vector<double> x;
        std::vector<double> y;
        if (std::string(row.type) == "magnitude") {
            korin::mvect f;
            korin::mvect v;
            ComputeResponse(doc.GetFilter(), 0.0, 0.5, 4, kPlotMagnitude, f, v);
            for (std::size_t i = 0; i < v.size(); ++i) {
                x.push_back(f[i].real());
                y.push_back(v[i].real());
            }
        } else {
            const TimeResponse t = ComputeTimeResponse(doc.GetFilter(), 4);
            const korin::mvect& values = std::string(row.type) == "step" ? t.step : t.impulse;
            for (std::size_t i = 0; i < values.size(); ++i) {
                x.push_back(t.time[i]);
                y.push_back(values[i].real());
            }
        }
        std::ostringstream expected;
        expected.imbue(std::locale::classic());
        expected << std::fixed << std::setprecision(9);
        for (std::size_t i = 0; i < y.size(); ++i) {
            expected << std::setw(12) << x[i] << '\t' << std::setw(12) << y[i] << '\n';
        }
        EXPECT_EQ(r.out, expected.str()) << row.gainDb << " dB " << row.type;
    }
}

TEST_F(ProjectCli, TimeResponsesTakeTheProjectsLength) {
    const std::string path = SaveProject("p.tvp", {});
    CliRun r = Cli({"response", path, "--type", "step"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 16u);
    r = Cli({"response", path, "--type", "impulse", "--points", "5"});
    EXPECT_EQ(Lines(r.out).size(), 5u);
    r = Cli({"response", path, "--type", "loudness"});
    EXPECT_EQ(r.status, kExitRefused);
}

TEST_F(ProjectCli, ConvertUpgradesAnOlderFile) {
    // A new project's file taken back to version 19: the frequency as a float.
    const std::string v20 = SaveProject("new.tvp", {}, false);
    std::vector<std::uint8_t> bytes = Bytes(v20);
    ASSERT_EQ(bytes.size(), 281u);
    bytes[0] = 19;
    const std::size_t fsAt = 2 + 16 + 8 + 12;
    const float one = 1.0F;
    std::vector<std::uint8_t> f32(4);
    std::memcpy(f32.data(), &one, 4);
    bytes.erase(bytes.begin() + fsAt, bytes.begin() + fsAt + 8);
    bytes.insert(bytes.begin() + fsAt, f32.begin(), f32.end());
    const std::string old = File("old.tvp");
    WriteFile(old, bytes);

    const std::string out = File("upgraded.tvp");
    const CliRun r = Cli({"convert", old, out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_THAT(r.err, HasSubstr("previous version"));
    EXPECT_EQ(Bytes(out), Bytes(v20));
}

TEST_F(ProjectCli, UnreadableAndDamagedFilesFailWithAMessage) {
    CliRun r = Cli({"show", File("missing.tvp")});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr("missing.tvp"));

    const std::string damaged = File("damaged.tvp");
    WriteFile(damaged, {0x14, 0x40, 0x01, 0x00, 0x00});
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", damaged},
                                                 {"export", damaged},
                                                 {"response", damaged, "--type", "phase"},
                                                 {"convert", damaged, File("out.tvp")}}) {
        r = Cli(args);
        EXPECT_EQ(r.status, kExitFailure) << args[0];
        EXPECT_THAT(r.err, HasSubstr("damaged.tvp")) << args[0];
    }
    EXPECT_FALSE(fs::exists(File("out.tvp")));
}

TEST_F(ProjectCli, AnUndesignedProjectHasNothingToShow) {
    const std::string path = SaveProject("empty.tvp", {"a.m"}, false);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", path},
                                                 {"export", path},
                                                 {"response", path, "--type", "phase"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, kExitNotDesigned) << args[0];
        EXPECT_THAT(r.err, HasSubstr("no designed filter"));
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(File("a.m")));
}

} // namespace
} // namespace tarvo::cli
