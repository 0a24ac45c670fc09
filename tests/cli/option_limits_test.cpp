// Lengths above the writer's limit are refused wherever the command line takes
// one, naming the limit; --help shows the defaults the options really have.

#include "cli/commands.h"
#include "cli_run.h"
#include "fw/test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

using fw::test::ScratchDir;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class OptionLimits : public ::testing::Test {
protected:
    OptionLimits() {
        const CliRun saved = Cli({"design", "--save", project});
        EXPECT_EQ(saved.status, kExitOk) << saved.err;
    }

    ScratchDir dir;
    ScratchDir out;
    std::string project = dir.File("p.tvp");
};

TEST_F(OptionLimits, ResponseLengthsAboveTheWritersLimitAreRefused) {
    const std::string m = out.File("x.m");
    const std::vector<std::vector<std::string>> rows{
        {"response", project, "--type", "impulse", "--points", "1048577"},
        {"response", project, "--type", "magnitude", "--points", "2097152"},
        {"design", "--curve", "step", "--points", "2097152"},
        {"design", "--curve", "phase", "--points", "1048577"},
        {"design", "--export", m, "--impulse", "--impulse-length", "2097152"},
        {"design", "--export", m, "--impulse-length", "1048577"},
        {"design", "--export", m, "--step-length", "2097152"},
        {"show", project, "--impulse", "--impulse-length", "2097152"},
        {"show", project, "--impulse-length", "2097152"},
        {"show", project, "--step", "--step-length", "1048577"},
    };
    for (const std::vector<std::string>& args : rows) {
        const CliRun r = Cli(args);
        const std::string row = args[0] + " " + args.back();
        EXPECT_EQ(r.status, kExitRefused) << row;
        EXPECT_THAT(r.err, HasSubstr("1048576")) << row;
        EXPECT_EQ(r.out, "") << row;
    }
    EXPECT_THAT(out.Entries(), IsEmpty());
}

TEST(DesignWarnings, AnUnstableQuantizedDesignIsSavedWithAWarning) {
    ScratchDir dir;
    const std::string path = dir.File("unstable.tvp");
    const CliRun r = Cli(
        {"design", "--edge1", "0.002", "--data-type", "fixed", "--frac-bits", "8", "--save", path});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_THAT(r.err, HasSubstr("The quantized filter is unstable"));
    EXPECT_THAT(dir.Entries(), ::testing::ElementsAre("unstable.tvp"));
    const CliRun equal =
        Cli({"design", "--response", "bandpass", "--edge1", "0.2", "--edge2", "0.2"});
    EXPECT_EQ(equal.status, kExitRefused);
    EXPECT_THAT(equal.err, HasSubstr("The two band edges must not be equal."));
}

TEST_F(OptionLimits, LengthsUpToTheLimitPass) {
    const std::vector<std::vector<std::string>> rows{
        {"design", "--export", out.File("a.m"), "--impulse-length", "1048576"},
        {"show", project, "--impulse-length", "1048576"},
        {"design", "--curve", "impulse", "--points", "1"},
        {"response", project, "--type", "step", "--points", "2"},
    };
    for (const std::vector<std::string>& args : rows) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, kExitOk) << args[0] << " " << args.back() << ": " << r.err;
    }
}

// The help block of one option: its line and the description lines under it.
std::string HelpOf(const std::string& help, const std::string& option) {
    std::istringstream in(help);
    std::string block;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const bool optionLine = line.starts_with("  -");
        if (optionLine)
            inside = line.starts_with("  " + option + " ") || line.starts_with("  " + option + ",");
        if (inside) block += line + "\n";
    }
    return block;
}

TEST(HelpDefaults, ShowTheValuesTheOptionsStartFrom) {
    struct Row {
        const char* command;
        const char* option;
        const char* shown;
    };
    // show starts from the coefficient view's format, design --export from a
    // new export entry's.
    const Row rows[] = {
        {"design", "--biquads", "(default: on)"},
        {"design", "--adjust-for-ripple", "(default: off)"},
        {"design", "--headings", "(default: on)"},
        {"design", "--export-biquads", "(default: on)"},
        {"design", "--specs", "(default: off)"},
        {"design", "--numeric", "}=scientific"},
        {"design", "--points", "[1 - 1048576]"},
        {"show", "--format", "}=text"},
        {"show", "--numeric", "}=floating"},
        {"show", "--indent", "}=spaces"},
        {"show", "--biquad-order", "}=b0,b1,b2,a0,a1,a2"},
        {"show", "--responses-via", "}=biquads"},
        {"show", "--headings", "(default: on)"},
        {"show", "--export-biquads", "(default: on)"},
        {"show", "--impulse", "(default: off)"},
        {"show", "--negate-a", "(default: off)"},
        {"response", "--points", "[1 - 1048576]"},
    };
    for (const Row& row : rows) {
        const CliRun r = Cli({row.command, "--help"});
        ASSERT_EQ(r.status, kExitOk) << row.command;
        const std::string block = HelpOf(r.out, row.option);
        EXPECT_THAT(block, HasSubstr(row.shown)) << row.command << " " << row.option;
        // The negated name's value is no default.
        EXPECT_THAT(block, Not(HasSubstr("{false}"))) << row.command << " " << row.option;
    }
}

} // namespace
} // namespace tarvo::cli
