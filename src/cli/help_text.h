#pragma once
// What --help shows of an option's default: the value the option is bound to
// before parsing, for switches and for options chosen by name.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <map>
#include <string>

namespace tarvo::cli {

// help followed by the switch's default: "help (default: on)" or "(default: off)".
std::string SwitchHelp(const std::string& help, bool on);

// The name value goes by in a table of choices (the first in name order), or
// its digits when no name maps to it.
std::string ChoiceName(const std::map<std::string, std::int32_t>& names, std::int32_t value);

// --points: 1 up to the longest response a file may hold; CLI11 refuses more
// with a message naming that limit.
CLI::Validator ResponseLengthRange();

// Lists a switch and its negation without the "{false}" CLI11 puts after the
// negated name: it reads as the switch's default, whatever that is.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_option_name(const CLI::Option* option, bool positional) const override;
};

} // namespace tarvo::cli
