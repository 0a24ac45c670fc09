#include "doc/app_options.h"

#include <charconv>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace tarvo {
namespace {

constexpr const char* kMinDbDefaultText = "-130.0";

// "%.3f" of v, the same in every locale.
std::string FormatMinDb(double v) {
    // The longest fixed form of a double: 309 integer digits, sign, point, 3 decimals.
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
    if (ec != std::errc()) {
        return "0.000";
    }
    return {buffer, end};
}

// What "%lf" reads from the start of text (leading blanks, sign, decimal or
// hexadecimal digits, inf, nan; trailing text ignored), in the C locale whatever
// the program's locale is; 0 when nothing there is a number.
double ParseMinDb(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const locale_t previous = cLocale != nullptr ? uselocale(cLocale) : nullptr;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (previous != nullptr) {
        uselocale(previous);
    }
    return end == text.c_str() ? 0.0 : v;
}

} // namespace

void AppOptions::LoadOptions(const fw::ProfileStore& store) {
    m_vsLeft1 = store.GetProfileInt(kOptionsSection, "m_vsLeft1", m_vsLeft1);
    m_vsLeft2 = store.GetProfileInt(kOptionsSection, "m_vsLeft2", m_vsLeft2);
    m_vsRight1 = store.GetProfileInt(kOptionsSection, "m_vsRight1", m_vsRight1);
    m_vsRight2 = store.GetProfileInt(kOptionsSection, "m_vsRight2", m_vsRight2);
    m_vsRight3 = store.GetProfileInt(kOptionsSection, "m_vsRight3", m_vsRight3);
    m_bMinimizeBottomRow =
        store.GetProfileInt(kOptionsSection, "m_bMinimizeBottomRow", m_bMinimizeBottomRow);
    m_bEnableMainPlotTitles =
        store.GetProfileInt(kOptionsSection, "m_bEnableMainPlotTitles", m_bEnableMainPlotTitles);
    m_dMinDb = ParseMinDb(store.GetProfileString(kOptionsSection, "m_dMinDb", kMinDbDefaultText));
}

void AppOptions::SaveOptions(fw::ProfileStore& store) const {
    store.WriteProfileInt(kOptionsSection, "m_vsLeft1", m_vsLeft1);
    store.WriteProfileInt(kOptionsSection, "m_vsLeft2", m_vsLeft2);
    store.WriteProfileInt(kOptionsSection, "m_vsRight1", m_vsRight1);
    store.WriteProfileInt(kOptionsSection, "m_vsRight2", m_vsRight2);
    store.WriteProfileInt(kOptionsSection, "m_vsRight3", m_vsRight3);
    store.WriteProfileInt(kOptionsSection, "m_bMinimizeBottomRow", m_bMinimizeBottomRow);
    store.WriteProfileInt(kOptionsSection, "m_bEnableMainPlotTitles", m_bEnableMainPlotTitles);
    store.WriteProfileString(kOptionsSection, "m_dMinDb", FormatMinDb(m_dMinDb));
}

} // namespace tarvo
