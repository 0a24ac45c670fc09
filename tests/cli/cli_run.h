#pragma once
// Runs tarvoiir-cli in process, capturing its output, messages and exit status.

#include "cli/commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace tarvo::cli {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// args without the program name.
inline CliRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), "tarvoiir-cli");
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    CliRun r;
    r.status = Main(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace tarvo::cli
