#include "cli/commands.h"
#include "cli_run.h"
#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <charconv>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);)
        parts.push_back(part);
    return parts;
}

double Parse(const std::string& text) {
    double x = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
    EXPECT_TRUE(ec == std::errc{} && end == text.data() + text.size()) << text;
    return x;
}

// An elliptic bandpass at 48 kHz saved as a project: every column has a unit
// other than Hz and seconds, and the group delay varies.
class CurveCsv : public ::testing::Test {
protected:
    void SetUp() override {
        path = scratch.File("ebp.tvp");
        ASSERT_EQ(
            Cli({"design", "--family", "elliptic", "--response", "bandpass", "--order", "4",
                 "--fs",   "48",       "--unit",   "kHz",        "--edge1",  "8",       "--edge2",
                 "10",     "--ripple", "0.5",      "--atten",    "60",       "--save",  path})
                .status,
            kExitOk);
        ASSERT_TRUE(doc.OnOpenDocument(path));
    }

    fw::test::ScratchDir scratch;
    std::string path;
    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
};

TEST_F(CurveCsv, HeadersNameEveryColumnWithItsUnit) {
    const struct {
        const char* type;
        const char* header;
    } rows[] = {
        {"magnitude", "frequency (kHz),magnitude (dB)\n"},
        {"phase", "frequency (kHz),phase (degrees)\n"},
        {"unwrapped-phase", "frequency (kHz),unwrapped phase (degrees)\n"},
        {"group-delay", "frequency (kHz),group delay (ms)\n"},
        {"phase-delay", "frequency (kHz),phase delay (ms)\n"},
        {"impulse", "time (ms),impulse\n"},
        {"step", "time (ms),step\n"},
        {"all-frequency", "frequency (kHz),magnitude (dB),phase (degrees),unwrapped phase "
                          "(degrees),group delay (ms),phase delay (ms)\n"},
        {"all-time", "time (ms),impulse,step\n"},
    };
    for (const auto& row : rows) {
        const CliRun r = Cli({"response", path, "--type", row.type, "--csv", "--points", "3"});
        ASSERT_EQ(r.status, kExitOk) << row.type << ": " << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), row.header) << row.type;
        EXPECT_EQ(Split(r.out, '\n').size(), 4u) << row.type;
    }
}

// The values read back bit-exactly to the curves the plots draw, on one shared
// frequency grid, with the project's length for time tables.
TEST_F(CurveCsv, ValuesReadBackExactly) {
    const CliRun r = Cli({"response", path, "--type", "all-frequency", "--csv", "--points", "257"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_EQ(lines.size(), 258u);
    const std::int32_t types[] = {kPlotMagnitude, kPlotPhase, kPlotUnwrappedPhase, kPlotGroupDelay,
                                  kPlotPhaseDelay};
    for (std::size_t c = 0; c < std::size(types); ++c) {
        korin::mvect f;
        korin::mvect v;
        ComputeResponse(doc.GetFilter(), 0.0, 24.0, 257, types[c], f, v);
        for (std::size_t i = 0; i < v.size(); ++i) {
            const std::vector<std::string> cells = Split(lines[i + 1], ',');
            ASSERT_EQ(cells.size(), 6u) << lines[i + 1];
            EXPECT_EQ(Parse(cells[0]), f[i].real());
            EXPECT_EQ(Parse(cells[c + 1]), v[i].real()) << "column " << c + 1 << " row " << i;
        }
    }

    const CliRun t = Cli({"response", path, "--type", "all-time", "--csv"});
    ASSERT_EQ(t.status, kExitOk) << t.err;
    const std::vector<std::string> rows = Split(t.out, '\n');
    const TimeResponse expected = ComputeTimeResponse(doc.GetFilter(), doc.GetTimeResponseLength());
    ASSERT_EQ(rows.size(), expected.time.size() + 1);
    for (std::size_t i = 0; i < expected.time.size(); ++i) {
        const std::vector<std::string> cells = Split(rows[i + 1], ',');
        ASSERT_EQ(cells.size(), 3u);
        EXPECT_EQ(Parse(cells[0]), expected.time[i]);
        EXPECT_EQ(Parse(cells[1]), expected.impulse[i].real());
        EXPECT_EQ(Parse(cells[2]), expected.step[i].real());
    }
}

TEST_F(CurveCsv, TablesOfSeveralCurvesNeedCsv) {
    CliRun r = Cli({"response", path, "--type", "all-frequency"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err, "The curve \"all-frequency\" is written only with --csv.\n");
    EXPECT_TRUE(r.out.empty());
    r = Cli({"response", path, "--type", "loudness", "--csv"});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_NE(r.err.find("all-frequency|all-time"), std::string::npos) << r.err;
}

} // namespace
} // namespace tarvo::cli
