#include "export/export_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Index just past the last separator (0 when there is none).
std::size_t FileNameStart(std::string_view path) {
    const std::size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (LowerAscii(tail[i]) != suffix[i]) return false;
    }
    return true;
}

} // namespace

std::string PathFolderPart(std::string_view path) {
    return std::string(path.substr(0, FileNameStart(path)));
}

std::string PathFileNamePart(std::string_view path) {
    return std::string(path.substr(FileNameStart(path)));
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    const std::size_t start = FileNameStart(path);
    const std::size_t dot = path.find_last_of('.');
    const std::size_t cut = (dot != std::string_view::npos && dot >= start) ? dot : path.size();
    std::string out(path.substr(0, cut));
    out += extension;
    return out;
}

bool IsCSourcePath(std::string_view path) {
    return EndsWithNoCase(path, ".c") || EndsWithNoCase(path, ".cpp");
}

std::string HeaderGuardName(std::string_view headerFileName) {
    std::string guard = "_";
    for (const char c : headerFileName) {
        if (c >= 'a' && c <= 'z') {
            guard += static_cast<char>(c - 'a' + 'A');
        } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
            guard += c;
        } else {
            guard += '_';
        }
    }
    guard += '_';
    return guard;
}

bool IsLocalAbsolutePath(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.find('\\') == std::string_view::npos;
}

std::string JoinPath(std::string_view folder, std::string_view fileName) {
    std::string out(folder);
    if (!out.empty() && !IsSeparator(out.back())) out += '/';
    out += fileName;
    return out;
}

std::string DefaultDocumentsFolder() {
    // Read once per call; nothing here changes the environment.
    const char* home = std::getenv("HOME"); // NOLINT(concurrency-mt-unsafe)
    if (home != nullptr && *home != '\0') return home;
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::string(".") : cwd.string();
}

} // namespace tarvo
