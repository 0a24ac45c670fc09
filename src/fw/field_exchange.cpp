#include "fw/field_exchange.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace fw {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The trimmed text without one leading '+', which from_chars does not take; no
// text at all when another sign follows it ("+-1"), so that it is refused.
std::string_view NumberText(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return {};
    }
    return text;
}

std::string Fill(std::string message, const std::string& lo, const std::string& hi) {
    message.replace(message.find("%1"), 2, lo);
    message.replace(message.find("%2"), 2, hi);
    return message;
}

} // namespace

std::optional<double> ParseDouble(std::string_view text) {
    text = NumberText(text);
    if (text.empty()) return std::nullopt;
    double value = 0.0;
    // from_chars reads the C locale's form only and never "inf" as a digit string
    // overflow; it refuses hexadecimal without the format flag.
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = NumberText(text);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

FieldValue<double> ReadDoubleField(std::string_view text) {
    if (const std::optional<double> v = ParseDouble(text)) return {v, {}};
    return {std::nullopt, kEnterNumberMessage};
}

FieldValue<double> ReadDoubleField(std::string_view text, double lo, double hi) {
    FieldValue<double> field = ReadDoubleField(text);
    if (field.Ok() && (*field.value < lo || *field.value > hi)) {
        return {std::nullopt, RangeMessage(lo, hi)};
    }
    return field;
}

FieldValue<std::int64_t> ReadIntegerField(std::string_view text, std::int64_t lo, std::int64_t hi) {
    if (const std::optional<std::int64_t> v = ParseInteger(text)) {
        if (*v < lo || *v > hi) return {std::nullopt, RangeMessage(lo, hi)};
        return {v, {}};
    }
    // "2.5" or "1e12" is a number, just not one the field can hold.
    if (ParseDouble(text)) return {std::nullopt, RangeMessage(lo, hi)};
    return {std::nullopt, kEnterNumberMessage};
}

std::string RangeMessage(double lo, double hi) {
    return Fill(kEnterNumberRangeMessage, FormatShortest(lo), FormatShortest(hi));
}

std::string RangeMessage(std::int64_t lo, std::int64_t hi) {
    return Fill(kEnterNumberRangeMessage, std::to_string(lo), std::to_string(hi));
}

std::string FormatShortest(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

} // namespace fw
