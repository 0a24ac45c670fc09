#pragma once
// tarvoiir-cli order: the smallest order of each family that meets a passband
// ripple and a stopband attenuation at given band edges, with the band edges
// to design it with.

#include "design/order_estimate.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iosfwd>
#include <optional>

namespace tarvo::cli {

class OrderCommand {
public:
    // Adds the command to app.
    explicit OrderCommand(CLI::App& app);
    OrderCommand(const OrderCommand&) = delete;
    OrderCommand& operator=(const OrderCommand&) = delete;

    // Runs it when it was parsed; nothing otherwise. kExitOk with at least one
    // family that can be designed, kExitRefused for a refused request,
    // kExitNotDesigned when every family needs more than the maximum order.
    std::optional<int> Run(std::ostream& out, std::ostream& err);

private:
    CLI::App* command_ = nullptr;
    OrderRequest request_;
    std::int32_t unit_ = 0;
    bool json_ = false;
    CLI::Option* pass2_ = nullptr;
    CLI::Option* stop2_ = nullptr;
};

} // namespace tarvo::cli
