#include "design/iir_spec.h"

#include <array>
#include <cmath>

namespace tarvo {

namespace {

template <std::size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& table, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return table[static_cast<std::size_t>(index)];
}

constexpr std::array<std::string_view, 3> kFamilyNames{"Butterworth", "Chebyshev", "Elliptic"};
constexpr std::array<std::string_view, 4> kResponseNames{"Lowpass", "Highpass", "Bandpass",
                                                         "Bandstop"};
constexpr std::array<std::string_view, 3> kDataTypeNames{"IEEE 8-byte", "IEEE 4-byte",
                                                         "Fixed Point"};

} // namespace

BandEdges EdgesFromCenterWidth(double center, double width) {
    return {center - width / 2.0, center + width / 2.0};
}

BandEdges CenterWidthFromEdges(double a, double b) {
    return {(a + b) / 2.0, std::fabs(b - a)};
}

std::string_view FamilyText(std::int32_t family) {
    return Lookup(kFamilyNames, family);
}
std::string_view ResponseText(std::int32_t response) {
    return Lookup(kResponseNames, response);
}
std::string_view DataTypeText(std::int32_t dataType) {
    return Lookup(kDataTypeNames, dataType);
}

} // namespace tarvo
