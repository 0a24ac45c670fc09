// tarvoiir-cli order: its text and JSON carry the core's estimate exactly, and
// its refusals and exit statuses.

#include "cli/commands.h"
#include "cli_run.h"
#include "design/order_estimate.h"

#include <charconv>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {
namespace {

struct Request {
    const char* what;
    std::vector<std::string> args;
    OrderRequest request; // the same, for the core
    const char* unit;
};

double Parse(const std::string& text) {
    double x = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), x);
    EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
    return x;
}

OrderRequest Make(std::int32_t response, double fs, double p1, double p2, double s1, double s2,
                  double ripple, double atten) {
    OrderRequest r;
    r.response = response;
    r.fs = fs;
    r.pass1 = p1;
    r.pass2 = p2;
    r.stop1 = s1;
    r.stop2 = s2;
    r.rippleDb = ripple;
    r.attenDb = atten;
    return r;
}

const std::vector<Request>& Requests() {
    static const std::vector<Request> requests = {
        {"lowpass, defaults",
         {"order", "--pass1", "0.1", "--stop1", "0.15"},
         Make(kLowpass, 1.0, 0.1, 0.0, 0.15, 0.0, 1.0, 80.0),
         "Hz"},
        {"highpass in kHz",
         {"order", "--response", "highpass", "--fs", "48", "--unit", "kHz", "--pass1", "3",
          "--stop1", "2", "--ripple", "0.5", "--atten", "60"},
         Make(kHighpass, 48.0, 3.0, 0.0, 2.0, 0.0, 0.5, 60.0),
         "kHz"},
        {"bandpass",
         {"order", "--response", "BandPass", "--fs", "8", "--pass1", "1.2", "--pass2", "2",
          "--stop1", "0.8", "--stop2", "2.6", "--ripple", "0.5", "--atten", "50"},
         Make(kBandpass, 8.0, 1.2, 2.0, 0.8, 2.6, 0.5, 50.0),
         "Hz"},
        {"bandstop in MHz",
         {"order", "--response", "bandstop", "--fs", "1", "--unit", "MHz", "--pass1", "0.05",
          "--pass2", "0.45", "--stop1", "0.3", "--stop2", "0.4", "--atten", "40"},
         Make(kBandstop, 1.0, 0.05, 0.45, 0.3, 0.4, 1.0, 40.0),
         "MHz"},
    };
    return requests;
}

bool IsBand(const OrderRequest& r) {
    return r.response == kBandpass || r.response == kBandstop;
}

TEST(OrderCommand, TextCarriesTheEstimateExactly) {
    const std::regex line(
        R"(^(\w+): order (\d+), (?:cutoff (\S+)|band edges (\S+) and (\S+)) (\w+)$)");
    for (const Request& q : Requests()) {
        SCOPED_TRACE(q.what);
        const CliRun run = Cli(q.args);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_EQ(run.err, "");
        const OrderEstimate e = EstimateOrder(q.request);
        ASSERT_TRUE(e.Ok());
        std::istringstream in(run.out);
        for (const FamilyOrder& f : e.families) {
            std::string text;
            ASSERT_TRUE(std::getline(in, text));
            std::smatch m;
            ASSERT_TRUE(std::regex_match(text, m, line)) << text;
            EXPECT_EQ(m[1].str(), FamilyText(f.family));
            EXPECT_EQ(std::stoi(m[2].str()), f.order);
            EXPECT_EQ(m[6].str(), q.unit);
            if (IsBand(q.request)) {
                ASSERT_TRUE(m[4].matched) << text;
                EXPECT_EQ(Parse(m[4].str()), f.edge1);
                EXPECT_EQ(Parse(m[5].str()), f.edge2);
            } else {
                ASSERT_TRUE(m[3].matched) << text;
                EXPECT_EQ(Parse(m[3].str()), f.edge1);
            }
        }
        std::string rest;
        EXPECT_FALSE(std::getline(in, rest)) << rest;
    }
}

TEST(OrderCommand, JsonCarriesTheEstimateExactly) {
    for (const Request& q : Requests()) {
        SCOPED_TRACE(q.what);
        std::vector<std::string> args = q.args;
        args.emplace_back("--json");
        const CliRun run = Cli(args);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const nlohmann::json j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["response"], ResponseText(q.request.response));
        EXPECT_EQ(j["fs"]["value"].get<double>(), q.request.fs);
        EXPECT_EQ(j["fs"]["unit"], q.unit);
        const OrderEstimate e = EstimateOrder(q.request);
        ASSERT_EQ(j["families"].size(), 3u);
        for (const FamilyOrder& f : e.families) {
            const nlohmann::json& got = j["families"][static_cast<std::size_t>(f.family)];
            EXPECT_EQ(got["family"], FamilyText(f.family));
            EXPECT_EQ(got["order"].get<int>(), f.order);
            EXPECT_EQ(got["edge1"].get<double>(), f.edge1);
            EXPECT_EQ(got.contains("edge2"), IsBand(q.request));
            if (IsBand(q.request)) {
                EXPECT_EQ(got["edge2"].get<double>(), f.edge2);
            }
            EXPECT_FALSE(got.contains("error"));
        }
    }
}

TEST(OrderCommand, RefusalsAndExitStatuses) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
        std::string err; // the start of the message ("" when CLI11 words it)
    };
    const std::vector<Case> cases = {
        {"bandpass without upper edges",
         {"order", "--response", "bandpass", "--pass1", "0.2", "--stop1", "0.1"},
         kExitRefused,
         "A bandpass filter needs --pass2 and --stop2 as well.\n"},
        {"bandstop without the upper stopband edge",
         {"order", "--response", "bandstop", "--pass1", "0.1", "--pass2", "0.4", "--stop1", "0.2"},
         kExitRefused,
         "A bandstop filter needs --pass2 and --stop2 as well.\n"},
        {"lowpass with an upper edge",
         {"order", "--pass1", "0.1", "--stop1", "0.2", "--pass2", "0.3"},
         kExitRefused,
         "--pass2 and --stop2 are only for bandpass and bandstop filters.\n"},
        {"stopband inside the passband",
         {"order", "--pass1", "0.2", "--stop1", "0.1"},
         kExitRefused,
         "The stopband edge of a lowpass filter must lie above its passband edge.\n"},
        {"edge above Fs/2",
         {"order", "--fs", "8", "--response", "highpass", "--pass1", "4.5", "--stop1", "3"},
         kExitRefused,
         "All band edges must be greater than zero and less than Fs/2.\n"},
        {"attenuation not above the ripple",
         {"order", "--pass1", "0.1", "--stop1", "0.2", "--ripple", "3", "--atten", "2"},
         kExitRefused,
         "The stopband attenuation must be greater than the passband ripple.\n"},
        {"unknown response",
         {"order", "--response", "allpass", "--pass1", "0.1", "--stop1", "0.2"},
         kExitRefused,
         ""},
        {"no passband edge", {"order", "--stop1", "0.2"}, kExitRefused, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        if (c.err.empty()) {
            EXPECT_NE(run.err, "");
        } else {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

// When no family can be designed the lines say why and the status tells it.
TEST(OrderCommand, NoDesignableFamily) {
    const std::vector<std::string> args = {"order", "--pass1", "0.1", "--stop1",
                                           "0.2",   "--atten", "4000"};
    const CliRun text = Cli(args);
    EXPECT_EQ(text.status, kExitNotDesigned);
    const OrderEstimate e = EstimateOrder(Make(kLowpass, 1.0, 0.1, 0.0, 0.2, 0.0, 1.0, 4000.0));
    std::string expected;
    for (const FamilyOrder& f : e.families) {
        ASSERT_FALSE(f.Usable());
        expected += f.error + "\n";
    }
    EXPECT_EQ(text.out, expected);

    std::vector<std::string> jsonArgs = args;
    jsonArgs.emplace_back("--json");
    const CliRun json = Cli(jsonArgs);
    EXPECT_EQ(json.status, kExitNotDesigned);
    const nlohmann::json j = nlohmann::json::parse(json.out);
    for (const FamilyOrder& f : e.families) {
        const nlohmann::json& got = j["families"][static_cast<std::size_t>(f.family)];
        EXPECT_EQ(got["error"], f.error);
        EXPECT_FALSE(got.contains("edge1"));
    }
}

} // namespace
} // namespace tarvo::cli
