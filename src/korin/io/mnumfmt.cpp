#include "korin/io/mnumfmt.h"

#include "korin/base/kassert.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace korin {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Reads decimal digits at text[pos...] into value; false when the number exceeds
// kMaxNumberFormatField.
bool ReadField(std::string_view text, std::size_t& pos, int& value) {
    value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        if (value > kMaxNumberFormatField) return false;
        ++pos;
    }
    return true;
}

std::chars_format CharsFormat(char conversion) {
    switch (conversion) {
    case 'e':
    case 'E':
        return std::chars_format::scientific;
    case 'g':
    case 'G':
        return std::chars_format::general;
    default:
        return std::chars_format::fixed;
    }
}

// std::to_chars is the locale-free twin of printf; retry with more room until
// the whole text fits.
std::string ConvertDigits(double x, std::chars_format fmt, int precision) {
    std::string text(static_cast<std::size_t>(precision) + 32, '\0');
    for (;;) {
        const auto result =
            std::to_chars(text.data(), text.data() + text.size(), x, fmt, precision);
        if (result.ec == std::errc()) {
            text.resize(static_cast<std::size_t>(result.ptr - text.data()));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

} // namespace

bool ParseNumberFormat(std::string_view text, mnumformat& out) {
    mnumformat f;
    std::size_t pos = 0;
    if (text.empty() || text[pos] != '%') return false;
    ++pos;
    for (bool flag = true; flag && pos < text.size();) {
        switch (text[pos]) {
        case '-':
            f.leftAlign = true;
            break;
        case '+':
            f.plusSign = true;
            break;
        case ' ':
            f.spaceSign = true;
            break;
        case '0':
            f.zeroPad = true;
            break;
        default:
            flag = false;
            continue;
        }
        ++pos;
    }
    if (!ReadField(text, pos, f.width)) return false;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (!ReadField(text, pos, f.precision)) return false;
    }
    if (pos + 1 != text.size()) return false;
    const char conv = text[pos];
    if (conv != 'e' && conv != 'E' && conv != 'f' && conv != 'F' && conv != 'g' && conv != 'G') {
        return false;
    }
    f.conversion = conv;
    out = f;
    return true;
}

std::string FormatNumber(double x, const mnumformat& format) {
    std::string body = ConvertDigits(x, CharsFormat(format.conversion), format.precision);
    if (ToUpperAscii(format.conversion) == format.conversion) {
        for (char& c : body)
            c = ToUpperAscii(c);
    }
    std::string sign;
    if (!body.empty() && body.front() == '-') {
        sign = "-";
        body.erase(0, 1);
    } else if (format.plusSign) {
        sign = "+";
    } else if (format.spaceSign) {
        sign = " ";
    }
    const std::size_t width = static_cast<std::size_t>(format.width);
    const std::size_t length = sign.size() + body.size();
    if (length >= width) return sign + body;
    const std::size_t pad = width - length;
    if (format.leftAlign) return sign + body + std::string(pad, ' ');
    // printf pads infinities and NaN with spaces even under the '0' flag.
    if (format.zeroPad && std::isfinite(x)) return sign + std::string(pad, '0') + body;
    return std::string(pad, ' ') + sign + body;
}

std::string FormatInteger(std::int64_t value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::int64_t ToFixedPoint(double x, int fracBits, int totalBits) {
    if (!KORIN_ASSERT(totalBits >= 1 && totalBits <= 62 && fracBits >= 0 &&
                      fracBits <= totalBits)) {
        return 0;
    }
    if (std::isnan(x)) return 0;
    // ldexp scales exactly; std::round avoids the off-by-one of adding 0.5 to
    // values just below a half or beyond 2^52.
    const double y = std::round(std::ldexp(x, fracBits));
    const std::int64_t top = std::int64_t{1} << (totalBits - 1);
    const double limit = std::ldexp(1.0, totalBits - 1);
    if (y >= limit) return top - 1;
    if (y < -limit) return -top;
    return static_cast<std::int64_t>(y);
}

int HexDigitCount(int totalBits) {
    return totalBits <= 0 ? 0 : (totalBits + 3) / 4;
}

std::string HexDigits(std::int64_t value, int digits) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    if (!KORIN_ASSERT(digits >= 1 && digits <= 16)) digits = digits < 1 ? 1 : 16;
    auto bits = static_cast<std::uint64_t>(value);
    std::string text(static_cast<std::size_t>(digits), '0');
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        *it = kDigits[bits & 0xFU];
        bits >>= 4U;
    }
    return text;
}

} // namespace korin
