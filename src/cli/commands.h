#pragma once
// tarvoiir-cli: the headless core as a command-line tool.

#include <iosfwd>

namespace tarvo::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;     // a file could not be read or written
inline constexpr int kExitRefused = 2;     // the input was refused (bad option, failed check)
inline constexpr int kExitNotDesigned = 3; // the checks passed but the design failed

// Parses the command line and runs the command; output goes to out, messages to err.
int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace tarvo::cli
