#include "fw/open_message.h"

namespace fw {
namespace {

constexpr std::string_view kVerb = "OPEN\n";

} // namespace

std::string MakeOpenMessage(const std::vector<std::string>& absolutePaths) {
    std::string message(kVerb);
    for (const std::string& path : absolutePaths) {
        if (path.find_first_of("\n\r") != std::string::npos) continue;
        message += path;
        message += '\n';
    }
    return message;
}

std::optional<std::vector<std::string>> ParseOpenMessage(std::string_view message) {
    if (message.size() > kMaxOpenMessageBytes || message.substr(0, kVerb.size()) != kVerb) {
        return std::nullopt;
    }
    message.remove_prefix(kVerb.size());
    std::vector<std::string> paths;
    while (!message.empty()) {
        const std::size_t end = message.find('\n');
        const std::string_view line = message.substr(0, end);
        if (line.empty() || line.front() != '/' || line.find('\0') != std::string_view::npos) {
            return std::nullopt;
        }
        paths.emplace_back(line);
        if (end == std::string_view::npos) break;
        message.remove_prefix(end + 1);
    }
    return paths;
}

} // namespace fw
