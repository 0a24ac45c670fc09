#include "plot/fs.h"

#include "fw/archive.h"
#include "korin/base/kassert.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace tarvo {

namespace {

struct Unit {
    const char* freq;
    const char* time;
    double multiplier;
};

constexpr std::array<Unit, CFs::kUnitCount> kUnits{{
    {"Hz", "sec", 1.0},
    {"kHz", "ms", 1000.0},
    {"MHz", "us", 1000000.0},
    {"GHz", "ns", 1000000000.0},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
}

} // namespace

double CFs::GetValue(double* multiplier) const {
    if (multiplier != nullptr) *multiplier = kUnits[m_nUnit].multiplier;
    return m_dValue;
}

double CFs::GetHz() const {
    return m_dValue * kUnits[m_nUnit].multiplier;
}

void CFs::SetUnit(int u) {
    if (!KORIN_ASSERT(u >= 0 && u < kUnitCount)) return;
    m_nUnit = u;
}

std::string CFs::GetFreqUnitName() const {
    return kUnits[m_nUnit].freq;
}

std::string CFs::GetTimeUnitName() const {
    return kUnits[m_nUnit].time;
}

std::string CFs::GetUnitPairText() const {
    return std::string(kUnits[m_nUnit].freq) + "," + kUnits[m_nUnit].time;
}

int CFs::FreqUnitFor(int& exponent) const {
    int n = exponent / 3;
    int u = m_nUnit;
    while (n > 0 && u < kUnitCount - 1) {
        --n;
        ++u;
    }
    while (n < 0 && u > 0) {
        ++n;
        --u;
    }
    exponent = 3 * n;
    return u;
}

int CFs::TimeUnitFor(int& exponent) const {
    int n = exponent / 3;
    int u = m_nUnit;
    while (n > 0 && u > 0) {
        --n;
        --u;
    }
    while (n < 0 && u < kUnitCount - 1) {
        ++n;
        ++u;
    }
    exponent = 3 * n;
    return u;
}

std::string CFs::GetFreqUnitName(int& exponent) const {
    return kUnits[FreqUnitFor(exponent)].freq;
}

std::string CFs::GetTimeUnitName(int& exponent) const {
    return kUnits[TimeUnitFor(exponent)].time;
}

bool CFs::SetUnitFromText(std::string_view text) {
    m_nUnit = 0;
    const std::string_view unit = text.substr(0, text.find(','));
    for (int u = 0; u < kUnitCount; ++u) {
        if (EqualNoCase(unit, kUnits[u].freq)) {
            m_nUnit = u;
            return true;
        }
    }
    return false;
}

std::string CFs::Format() const {
    // Fixed notation with six decimals, independent of the C locale; the largest
    // double needs 309 digits before the point.
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), m_dValue,
                                         std::chars_format::fixed, 6);
    std::string text = ec == std::errc() ? std::string(buffer.data(), end) : std::string("0");
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text + " " + kUnits[m_nUnit].freq;
}

void CFs::Serialize(fw::Archive& ar, int fileVersion) {
    // Versions before 20 kept the value as a float.
    constexpr int kFirstDoubleVersion = 20;
    if (ar.IsStoring()) {
        ar.WriteF64(m_dValue);
        ar.WriteString(GetUnitPairText());
        return;
    }
    const double value = fileVersion >= kFirstDoubleVersion ? ar.ReadF64() : ar.ReadF32();
    // Every frequency of a project is a fraction of this one: a file holding no
    // usable rate is damaged, and nothing could be shown from it.
    if (!(value > 0.0) || !std::isfinite(value)) {
        throw fw::ArchiveError(fw::ArchiveError::Kind::BadValue,
                               "sampling frequency not a positive number");
    }
    m_dValue = value;
    SetUnitFromText(ar.ReadString());
}

} // namespace tarvo
