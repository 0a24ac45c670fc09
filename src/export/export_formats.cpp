#include "export/export_formats.h"

#include <array>

namespace tarvo {

namespace {

struct FormatRow {
    std::string_view name;
    std::string_view extension;
};

constexpr std::array<FormatRow, kFormatCount> kFormats{{
    {"Text", ".txt"},
    {"C", ".c"},
    {"C++", ".cpp"},
    {"Matlab", ".m"},
}};

struct BiquadOrderRow {
    std::string_view text;
    std::array<std::int32_t, 6> columns;
    std::array<std::string_view, 6> labels;
    std::size_t count;
};

constexpr std::array<BiquadOrderRow, kBiquadOrderCount> kBiquadOrders{{
    {"a2, b2, a1, b1, b0", {5, 2, 4, 1, 0}, {"A2", "B2", "A1", "B1", "B0"}, 5},
    {"b0, b1, b2, a1, a2", {0, 1, 2, 4, 5}, {"B0", "B1", "B2", "A1", "A2"}, 5},
    {"b0, b1, b2, a0, a1, a2", {0, 1, 2, 3, 4, 5}, {"B0", "B1", "B2", "A0", "A1", "A2"}, 6},
    {"b2, b1, b0, a2, a1", {2, 1, 0, 5, 4}, {"B2", "B1", "B0", "A2", "A1"}, 5},
    {"a2, a1, b2, b1, b0", {5, 4, 2, 1, 0}, {"A2", "A1", "B2", "B1", "B0"}, 5},
}};

} // namespace

bool IsValidFormat(std::int32_t format) {
    return format >= 0 && format < kFormatCount;
}

bool IsCFormat(std::int32_t format) {
    return format == kFormatC || format == kFormatCpp;
}

std::string_view FormatName(std::int32_t format) {
    return IsValidFormat(format) ? kFormats.at(static_cast<std::size_t>(format)).name
                                 : std::string_view();
}

std::string_view FormatExtension(std::int32_t format) {
    return IsValidFormat(format) ? kFormats.at(static_cast<std::size_t>(format)).extension
                                 : std::string_view();
}

bool IsValidBiquadOrder(std::int32_t order) {
    return order >= 0 && order < kBiquadOrderCount;
}

std::string_view BiquadOrderText(std::int32_t order) {
    return IsValidBiquadOrder(order) ? kBiquadOrders.at(static_cast<std::size_t>(order)).text
                                     : std::string_view();
}

std::span<const std::int32_t> BiquadOrderColumns(std::int32_t order) {
    if (!IsValidBiquadOrder(order)) return {};
    const BiquadOrderRow& row = kBiquadOrders.at(static_cast<std::size_t>(order));
    return {row.columns.data(), row.count};
}

std::span<const std::string_view> BiquadOrderLabels(std::int32_t order) {
    if (!IsValidBiquadOrder(order)) return {};
    const BiquadOrderRow& row = kBiquadOrders.at(static_cast<std::size_t>(order));
    return {row.labels.data(), row.count};
}

} // namespace tarvo
