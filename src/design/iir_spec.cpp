#include "design/iir_spec.h"

#include <array>

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
