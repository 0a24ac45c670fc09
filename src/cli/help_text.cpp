#include "cli/help_text.h"

#include "export/iir_file_format.h"
#include "korin/io/mnumfmt.h"

namespace tarvo::cli {

std::string SwitchHelp(const std::string& help, bool on) {
    return help + (on ? " (default: on)" : " (default: off)");
}

std::string ChoiceName(const std::map<std::string, std::int32_t>& names, std::int32_t value) {
    for (const auto& [name, v] : names) {
        if (v == value) return name;
    }
    return korin::FormatInteger(value);
}

CLI::Validator ResponseLengthRange() {
    return CLI::Range(1, kMaxResponseLength);
}

std::string HelpFormatter::make_option_name(const CLI::Option* option, bool positional) const {
    std::string name = CLI::Formatter::make_option_name(option, positional);
    if (option->get_items_expected() != 0) return name;
    // Flag names carry the value they set in braces: "--no-biquads{false}".
    for (std::size_t open = name.find('{'); open != std::string::npos; open = name.find('{')) {
        const std::size_t close = name.find('}', open);
        if (close == std::string::npos) break;
        name.erase(open, close - open + 1);
    }
    return name;
}

} // namespace tarvo::cli
