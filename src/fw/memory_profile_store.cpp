#include "fw/memory_profile_store.h"

#include <charconv>

namespace fw {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<std::int32_t> ParseInt(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) {
        ++b;
    }
    while (e > b && IsBlank(text[e - 1])) {
        --e;
    }
    if (b < e && text[b] == '+') {
        ++b;
    }
    std::int32_t v = 0;
    const char* first = text.data() + b;
    const char* last = text.data() + e;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || first == last) {
        return std::nullopt;
    }
    return v;
}

} // namespace

std::int32_t MemoryProfileStore::GetProfileInt(const std::string& section, const std::string& key,
                                               std::int32_t defaultValue) const {
    const std::optional<std::string> text = Find(section, key);
    if (!text) {
        return defaultValue;
    }
    return ParseInt(*text).value_or(defaultValue);
}

bool MemoryProfileStore::WriteProfileInt(const std::string& section, const std::string& key,
                                         std::int32_t value) {
    const std::string text = std::to_string(value);
    values_[{section, key}] = text;
    log_.push_back({section, key, text, true});
    return true;
}

std::string MemoryProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                                 const std::string& defaultValue) const {
    return Find(section, key).value_or(defaultValue);
}

bool MemoryProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                            const std::string& value) {
    values_[{section, key}] = value;
    log_.push_back({section, key, value, false});
    return true;
}

std::optional<std::string> MemoryProfileStore::Find(const std::string& section,
                                                    const std::string& key) const {
    const auto it = values_.find({section, key});
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void MemoryProfileStore::Erase(const std::string& section, const std::string& key) {
    values_.erase({section, key});
}

} // namespace fw
