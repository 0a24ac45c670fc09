// The design report of tarvoiir-cli design: the JSON "report" object, the
// report lines of the text output, and --stop1/--stop2.

#include "cli/commands.h"
#include "cli_run.h"
#include "design/design_action.h"
#include "fw/test_files.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

constexpr double kDbTol = 1e-6;
constexpr double kPi = 3.14159265358979323846;

// Attenuations of the analog prototypes at a frequency the bilinear
// transformation maps to Omega: Butterworth 1 + Omega^(2n), Chebyshev
// 1 + eps^2 T_n(Omega)^2 (Omega >= 1), in dB.
double ButterworthDb(int n, double omega) {
    return 10.0 * std::log10(1.0 + std::pow(omega, 2.0 * n));
}

double ChebyshevDb(int n, double rippleDb, double omega) {
    const double t = std::cosh(n * std::acosh(omega));
    return 10.0 * std::log10(1.0 + (std::pow(10.0, rippleDb / 10.0) - 1.0) * t * t);
}

// The band substitution's Omega at f for the band lo..hi (all in the unit of fs).
double BandOmega(double f, double lo, double hi, double fs) {
    const double w = std::tan(kPi * (hi - lo) / fs);
    const double gamma = std::cos(kPi * (hi + lo) / fs) / std::cos(kPi * (hi - lo) / fs);
    const double x = 2.0 * kPi * f / fs;
    return std::abs((gamma - std::cos(x)) / (w * std::sin(x)));
}

json Report(std::vector<std::string> args) {
    args.insert(args.begin(), {"design", "--json"});
    const CliRun r = Cli(args);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const json j = json::parse(r.out, nullptr, false);
    if (j.is_discarded() || !j.contains("report")) {
        ADD_FAILURE() << "no report in " << r.out;
        return json::object();
    }
    return j["report"];
}

// Figures a design must show whatever the implementation: an elliptic filter
// reaches its ripple and attenuation exactly, a Butterworth filter is 3.01 dB
// down at its edges, and stopband edges are reported in the unit of Fs.
TEST(DesignReportCli, JsonReportHoldsTheMeasuredFigures) {
    const double halfPower = 10.0 * std::log10(2.0);
    struct Row {
        std::vector<std::string> args;
        double ripple;
        double atten; // NaN: no stopband edge known
        const char* source;
        std::vector<double> stop;
        std::vector<double> edges; // empty: not checked
    } const rows[] = {
        {{"--family", "elliptic", "--order", "5", "--ripple", "0.5", "--atten", "60"},
         0.5,
         60.0,
         "design",
         {},
         {}},
        {{"--family", "elliptic", "--response", "bandstop", "--order", "4", "--edge1", "2",
          "--edge2", "3", "--fs", "10", "--unit", "kHz", "--ripple", "0.2", "--atten", "70"},
         0.2,
         70.0,
         "design",
         {},
         {}},
        {{"--family", "butterworth", "--response", "bandpass", "--order", "4", "--edge1", "1",
          "--edge2", "2", "--fs", "8", "--unit", "kHz"},
         halfPower,
         std::nan(""),
         "none",
         {},
         {1.0, 2.0}},
        {{"--family", "butterworth", "--response", "bandpass", "--order", "4", "--edge1", "1",
          "--edge2", "2", "--fs", "8", "--unit", "kHz", "--stop1", "0.5", "--stop2", "3"},
         halfPower,
         std::min(ButterworthDb(4, BandOmega(0.5, 1.0, 2.0, 8.0)),
                  ButterworthDb(4, BandOmega(3.0, 1.0, 2.0, 8.0))),
         "given",
         {0.5, 3.0},
         {1.0, 2.0}},
        {{"--family", "chebyshev", "--response", "highpass", "--order", "5", "--edge1", "0.3",
          "--ripple", "1", "--stop1", "0.2"},
         1.0,
         ChebyshevDb(5, 1.0, std::tan(kPi * 0.3) / std::tan(kPi * 0.2)),
         "given",
         {0.2},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[1] + " " + (row.args.size() > 3 ? row.args[3] : ""));
        const json r = Report(row.args);
        ASSERT_TRUE(r.value("designed", false));
        EXPECT_NEAR(r["passbandRippleDb"].get<double>(), row.ripple, kDbTol);
        EXPECT_NEAR(r["passbandMaxDb"].get<double>(), 0.0, kDbTol);
        EXPECT_EQ(r["stopbandEdgeSource"], row.source);
        if (std::isnan(row.atten)) {
            EXPECT_TRUE(r["attenuationDb"].is_null());
            EXPECT_TRUE(r["stopbandEdges"].empty());
        } else {
            EXPECT_NEAR(r["attenuationDb"].get<double>(), row.atten, kDbTol);
        }
        if (!row.stop.empty()) {
            EXPECT_EQ(r["stopbandEdges"].get<std::vector<double>>(), row.stop);
        }
        if (!row.edges.empty()) {
            const auto edges = r["edges3dB"].get<std::vector<double>>();
            ASSERT_EQ(edges.size(), row.edges.size());
            for (std::size_t i = 0; i < edges.size(); ++i)
                EXPECT_NEAR(edges[i], row.edges[i], 1e-9 * row.edges[i]);
        }
        EXPECT_FALSE(r["unstable"].get<bool>());
        EXPECT_LT(r["maxPoleRadius"].get<double>(), 1.0);
        EXPECT_EQ(r["maxCoefficientChange"].get<double>(), 0.0);
        EXPECT_GT(r["peakGroupDelay"].get<double>(), 0.0);
    }
}

TEST(DesignReportCli, UnstableQuantizedFilterIsFlagged) {
    const json r = Report({"--family", "elliptic", "--order", "8", "--edge1", "0.05", "--ripple",
                           "0.1", "--atten", "80", "--data-type", "fixed", "--frac-bits", "5"});
    EXPECT_TRUE(r["unstable"].get<bool>());
    EXPECT_GE(r["maxPoleRadius"].get<double>(), 1.0);
    EXPECT_GT(r["maxCoefficientChange"].get<double>(), 0.0);
    EXPECT_LE(r["maxCoefficientChange"].get<double>(), 1.0 / 64.0);

    const CliRun text =
        Cli({"design", "--family", "elliptic", "--order", "8", "--edge1", "0.05", "--ripple", "0.1",
             "--atten", "80", "--data-type", "fixed", "--frac-bits", "5"});
    EXPECT_EQ(text.status, kExitOk);
    EXPECT_THAT(text.err, HasSubstr(kUnstableQuantizedWarning));
    EXPECT_THAT(text.out, HasSubstr("unstable: a pole lies on or outside the unit circle"));
}

TEST(DesignReportCli, TextOutputEndsWithTheReport) {
    const CliRun r = Cli({"design", "--family", "elliptic", "--order", "5", "--ripple", "0.5",
                          "--atten", "60", "--edge1", "0.2"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::size_t report = r.out.find("Design report:\n");
    ASSERT_NE(report, std::string::npos);
    EXPECT_GT(report, r.out.find("Sections ("));
    const std::string tail = r.out.substr(report);
    EXPECT_THAT(tail, HasSubstr("  Passband ripple: 0.5000 dB\n"));
    EXPECT_THAT(tail, HasSubstr("  Stopband attenuation: 60.0000 dB\n"));
    EXPECT_THAT(tail, HasSubstr("(of the elliptic design)"));
}

TEST(DesignReportCli, StopbandEdgesThatDoNotFitAreRefusedBeforeAnythingIsSaved) {
    fw::test::ScratchDir work;
    struct Row {
        std::vector<std::string> args;
        const char* message;
    } const rows[] = {
        {{"--edge1", "0.2", "--stop1", "0.1"},
         "The stopband edge must lie between the cutoff frequency and Fs/2."},
        {{"--edge1", "0.2", "--stop1", "0.3", "--stop2", "0.4"},
         "Lowpass and highpass filters have one stopband edge."},
        {{"--response", "bandpass", "--edge1", "0.2", "--edge2", "0.3", "--stop1", "0.1"},
         "Bandpass and bandstop filters need two stopband edges."},
        {{"--edge1", "2", "--fs", "8", "--unit", "kHz", "--stop1", "4"},
         "Stopband edges must be greater than zero and less than Fs/2."},
    };
    for (const Row& row : rows) {
        const std::string project = work.File("refused.tvp");
        std::vector<std::string> args{"design", "--save", project};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, kExitRefused) << row.message;
        EXPECT_EQ(r.err, std::string(row.message) + "\n");
        EXPECT_FALSE(std::filesystem::exists(project)) << row.message;
    }
}

} // namespace
} // namespace tarvo::cli
