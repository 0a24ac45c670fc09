#include "cli/order_command.h"

#include "cli/commands.h"
#include "plot/fs.h"

#include <array>
#include <charconv>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace tarvo::cli {

namespace {

// The shortest text that reads back as the same double, so that an edge typed
// from it designs exactly the estimated filter.
std::string Number(double x) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x);
    return {buffer.data(), result.ptr};
}

bool IsBand(std::int32_t response) {
    return response == kBandpass || response == kBandstop;
}

void WriteText(const OrderRequest& r, const OrderEstimate& e, const std::string& unit,
               std::ostream& out) {
    for (const FamilyOrder& f : e.families) {
        if (!f.Usable()) {
            out << f.error << "\n";
            continue;
        }
        out << FamilyText(f.family) << ": order " << f.order;
        if (IsBand(r.response)) {
            out << ", band edges " << Number(f.edge1) << " and " << Number(f.edge2);
        } else {
            out << ", cutoff " << Number(f.edge1);
        }
        out << " " << unit << "\n";
    }
}

nlohmann::json ToJson(const OrderRequest& r, const OrderEstimate& e, const std::string& unit) {
    nlohmann::json families = nlohmann::json::array();
    for (const FamilyOrder& f : e.families) {
        nlohmann::json j;
        j["family"] = std::string(FamilyText(f.family));
        j["order"] = f.order;
        if (!f.Usable()) {
            j["error"] = f.error;
        } else {
            j["edge1"] = f.edge1;
            if (IsBand(r.response)) j["edge2"] = f.edge2;
        }
        families.push_back(j);
    }
    return {{"response", std::string(ResponseText(r.response))},
            {"fs", {{"value", r.fs}, {"unit", unit}}},
            {"families", families}};
}

} // namespace

OrderCommand::OrderCommand(CLI::App& app) {
    const std::map<std::string, std::int32_t> responses{{"lowpass", kLowpass},
                                                        {"highpass", kHighpass},
                                                        {"bandpass", kBandpass},
                                                        {"bandstop", kBandstop}};
    const std::map<std::string, std::int32_t> units{{"Hz", 0}, {"kHz", 1}, {"MHz", 2}, {"GHz", 3}};

    command_ = app.add_subcommand(
        "order", "Estimate the smallest order of each family that keeps the passband loss\n"
                 "within --ripple and attenuates the stopband by --atten, and print it with\n"
                 "the band edges to design it with (Butterworth: its -3 dB edges).\n"
                 "Exit status: 0 estimated, 2 refused input, 3 every family needs more\n"
                 "than the maximum order.");
    command_->add_option("--response", request_.response, "Response")
        ->transform(CLI::CheckedTransformer(responses, CLI::ignore_case))
        ->default_str("lowpass");
    command_->add_option("--fs", request_.fs, "Sampling frequency, in --unit")
        ->capture_default_str();
    command_->add_option("--unit", unit_, "Unit of the sampling frequency and of every frequency")
        ->transform(CLI::CheckedTransformer(units, CLI::ignore_case))
        ->default_str("Hz");
    command_
        ->add_option("--pass1", request_.pass1,
                     "Passband edge (bandpass, bandstop: the lower passband edge)")
        ->required();
    pass2_ = command_->add_option("--pass2", request_.pass2,
                                  "Upper passband edge (bandpass, bandstop only)");
    command_
        ->add_option("--stop1", request_.stop1,
                     "Stopband edge (bandpass, bandstop: the lower stopband edge)")
        ->required();
    stop2_ = command_->add_option("--stop2", request_.stop2,
                                  "Upper stopband edge (bandpass, bandstop only)");
    command_->add_option("--ripple", request_.rippleDb, "Most passband loss, dB")
        ->capture_default_str();
    command_->add_option("--atten", request_.attenDb, "Least stopband attenuation, dB")
        ->capture_default_str();
    command_->add_flag("--json", json_, "Print the orders and edges as JSON");
}

std::optional<int> OrderCommand::Run(std::ostream& out, std::ostream& err) {
    if (!command_->parsed()) return std::nullopt;
    const bool upperGiven = pass2_->count() > 0 && stop2_->count() > 0;
    const bool upperAny = pass2_->count() > 0 || stop2_->count() > 0;
    if (IsBand(request_.response) && !upperGiven) {
        err << "A " << (request_.response == kBandpass ? "bandpass" : "bandstop")
            << " filter needs --pass2 and --stop2 as well.\n";
        return kExitRefused;
    }
    if (!IsBand(request_.response) && upperAny) {
        err << "--pass2 and --stop2 are only for bandpass and bandstop filters.\n";
        return kExitRefused;
    }
    const OrderEstimate estimate = EstimateOrder(request_);
    if (!estimate.Ok()) {
        err << estimate.error << "\n";
        return kExitRefused;
    }
    CFs fs(request_.fs);
    fs.SetUnit(unit_);
    const std::string unit = fs.GetFreqUnitName();
    if (json_) {
        out << ToJson(request_, estimate, unit).dump(2) << "\n";
    } else {
        WriteText(request_, estimate, unit, out);
    }
    for (const FamilyOrder& f : estimate.families) {
        if (f.Usable()) return kExitOk;
    }
    return kExitNotDesigned;
}

} // namespace tarvo::cli
