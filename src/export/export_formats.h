#pragma once
// The named file formats of coefficient files and the coefficient orders in
// which biquad sections can be written: the choices the format dialogs offer.

#include <cstdint>
#include <span>
#include <string_view>

namespace tarvo {

// File format indices (m_nFormat).
inline constexpr std::int32_t kFormatText = 0;
inline constexpr std::int32_t kFormatC = 1;
inline constexpr std::int32_t kFormatCpp = 2;
inline constexpr std::int32_t kFormatMatlab = 3;
inline constexpr std::int32_t kFormatCount = 4;

// Numeric notations (m_nNumeric).
inline constexpr std::int32_t kNumericScientific = 0;
inline constexpr std::int32_t kNumericFloating = 1;
inline constexpr std::int32_t kNumericHex = 2;

// Indentation kinds (m_nIndentKind).
inline constexpr std::int32_t kIndentSpaces = 0;
inline constexpr std::int32_t kIndentTabs = 1;
inline constexpr std::int32_t kIndentNone = 2;

// Sources of the impulse and step responses (m_nResponsesVia).
inline constexpr std::int32_t kResponsesViaBiquads = 0;
inline constexpr std::int32_t kResponsesViaDirectForm = 1;

inline constexpr std::int32_t kBiquadOrderCount = 5;
// The export dialog offers only the first three biquad orders.
inline constexpr std::int32_t kExportBiquadOrderCount = 3;

bool IsValidFormat(std::int32_t format);
// C and C++ write the same text and also produce a header file.
bool IsCFormat(std::int32_t format);
// "Text", "C", "C++", "Matlab"; "" outside the table.
std::string_view FormatName(std::int32_t format);
// ".txt", ".c", ".cpp", ".m"; "" outside the table.
std::string_view FormatExtension(std::int32_t format);

bool IsValidBiquadOrder(std::int32_t order);
// The combo text, e.g. "b0, b1, b2, a1, a2"; "" outside the table.
std::string_view BiquadOrderText(std::int32_t order);
// Section-row columns (b0 b1 b2 a0 a1 a2 = 0..5) written in this order, and
// their labels ("B0" ...); empty outside the table.
std::span<const std::int32_t> BiquadOrderColumns(std::int32_t order);
std::span<const std::string_view> BiquadOrderLabels(std::int32_t order);

} // namespace tarvo
