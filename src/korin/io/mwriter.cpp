#include "korin/io/mwriter.h"

#include "korin/base/kassert.h"

#include <cmath>

namespace korin {

namespace {

// The texts of one syntax.
struct Syntax {
    bool arrays;
    std::string_view comment;
    std::string_view realType;
    std::string_view complexType;
    std::string_view separator;
    std::string_view outerEnd;
    std::string_view rowEnd;
    std::string_view terminator;
    std::string_view open;
    std::string_view close;
    std::string_view dimOpen;
    std::string_view dimClose;
    std::string_view continuation;
};

constexpr Syntax kTextSyntax{false, "%", "", "", "", "", "\n", "", "", "", "", "", ""};
constexpr Syntax kCSyntax{true, "//",  "double", "cplx", ", ", ";", ",\n",
                          ";",  "{\n", "}",      "[",    "]",  ""};
constexpr Syntax kMatlabSyntax{true, "%",       "",  "", " ", ";",   ";",
                               ";",  "[ ...\n", "]", "", "",  " ..."};

constexpr std::string_view kDefaultNumberFormat = "%0.20f";

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string PrefixedName(const std::string& prefix, std::string_view name) {
    if (name.empty() || prefix.empty()) return std::string(name);
    return prefix + std::string(name);
}

} // namespace

mwriter::mwriter(bool header, std::string_view prefix, std::ostream& stream, std::int32_t format)
    : m_bHeader(header), m_strPrefix(prefix), m_stream(stream) {
    ApplyFormat(format);
    ParseNumberFormat(kDefaultNumberFormat, m_number);
}

mwriter::~mwriter() = default;

void mwriter::SetFormat(std::int32_t format) {
    ApplyFormat(format);
}

void mwriter::ApplyFormat(std::int32_t format) {
    m_nFormat = format;
    m_nIndentLevel = 0;
    m_nHexDigits = 0;
    const Syntax* syntax = &kTextSyntax;
    switch (format) {
    case kText:
        break;
    case kC:
    case kCpp:
        syntax = &kCSyntax;
        break;
    case kMatlab:
        syntax = &kMatlabSyntax;
        break;
    default:
        KORIN_ASSERT(false);
        break;
    }
    m_bArrays = syntax->arrays;
    m_strComment = syntax->comment;
    m_strRealType = syntax->realType;
    m_strComplexType = syntax->complexType;
    m_strSeparator = syntax->separator;
    m_strOuterEnd = syntax->outerEnd;
    m_strRowEnd = syntax->rowEnd;
    m_strTerminator = syntax->terminator;
    m_strOpen = syntax->open;
    m_strClose = syntax->close;
    m_strDimOpen = syntax->dimOpen;
    m_strDimClose = syntax->dimClose;
    m_strContinuation = syntax->continuation;
}

bool mwriter::SetHex(std::int32_t intBits, std::int32_t fracBits) {
    // In 64 bits: two counts of up to 2^31 must not overflow their sum.
    const std::int64_t n = std::int64_t{intBits} + fracBits;
    if (intBits < 0 || fracBits < 0 || n <= 0 || n >= 63) return false;
    m_nHexBits = static_cast<std::int32_t>(n);
    m_nHexFracBits = fracBits;
    m_nHexDigits = HexDigitCount(m_nHexBits);
    return true;
}

bool mwriter::SetNumberFormat(std::string_view printfFormat) {
    return ParseNumberFormat(printfFormat, m_number);
}

void mwriter::Put(std::string_view text) {
    m_stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void mwriter::NewLine() {
    m_stream.put('\n');
    m_stream.flush();
}

void mwriter::WriteIndent() {
    if (!KORIN_ASSERT(m_nIndentLevel >= 0)) return;
    for (std::int32_t i = 0; i < m_nIndentLevel; ++i)
        Put(m_strIndent);
}

void mwriter::WriteComment(std::string_view text) {
    if (!m_bHeadings || text.empty()) return;
    WriteIndent();
    Put(m_strComment);
    Put(" ");
    Put(text);
    NewLine();
}

void mwriter::WriteReal(double x) {
    if (m_nHexDigits > 0) {
        if (m_nFormat == kC || m_nFormat == kCpp) Put("0x");
        Put(HexDigits(ToFixedPoint(x, m_nHexFracBits, m_nHexBits), m_nHexDigits));
        return;
    }
    // The space keeps positive and negative values aligned; deciding by the
    // printed sign also aligns -0 and NaN.
    const std::string text = FormatNumber(x, m_number);
    if (text.empty() || text.front() != '-') Put(" ");
    Put(text);
}

void mwriter::WriteComplex(const mcplx& z) {
    if (!m_strComplexType.empty()) {
        Put(m_strComplexType);
        Put("(");
        WriteReal(z.real());
        Put(", ");
        WriteReal(z.imag());
        Put(")");
        return;
    }
    WriteReal(z.real());
    if (z.imag() == 0.0) return;
    Put(std::signbit(z.imag()) ? " -" : " +");
    WriteReal(std::fabs(z.imag()));
    Put("j");
}

void mwriter::WriteDeclaration(std::string_view name, bool isReal, std::size_t dim1,
                               std::size_t dim2) {
    if (name.empty() || !m_bArrays) return;
    NewLine();
    const std::string sizeName = UpperAscii(name) + "_SIZE";
    if (m_bHeader && (m_nFormat == kC || m_nFormat == kCpp)) {
        if (dim1 != 0) {
            Put("#define ");
            Put(sizeName);
            Put(" ");
            Put(FormatInteger(static_cast<std::int64_t>(dim1)));
            NewLine();
        }
        Put("extern ");
    }
    const std::string& type = isReal ? m_strRealType : m_strComplexType;
    if (!type.empty()) {
        Put(type);
        Put(" ");
    }
    Put(name);
    if (dim1 != 0 && !m_strDimOpen.empty()) {
        Put(m_strDimOpen);
        Put(sizeName);
        Put(m_strDimClose);
        if (dim2 != 0) {
            Put(m_strDimOpen);
            Put(FormatInteger(static_cast<std::int64_t>(dim2)));
            Put(m_strDimClose);
        }
    }
    if (m_bHeader) {
        Put(m_strTerminator);
        NewLine();
    } else {
        Put(" = ");
    }
}

void mwriter::WriteScalar(std::string_view name, double value) {
    WriteDeclaration(name, true, 0, 0);
    if (m_bHeader) return;
    WriteReal(value);
    Put(m_strTerminator);
    NewLine();
}

void mwriter::WriteVector(const mvect& v, std::string_view comment, std::string_view name,
                          std::span<const std::string_view> labels) {
    if (v.empty()) return;
    const bool real = v.IsReal();
    const std::string fullName = PrefixedName(m_strPrefix, name);
    WriteComment(comment);
    WriteDeclaration(fullName, real, v.size(), 0);
    if (m_bHeader) return;
    if (!m_strOpen.empty()) {
        WriteIndent();
        Put(m_strOpen);
    }
    ++m_nIndentLevel;
    // The last element gets blanks in place of the separator so that the label
    // comments stay in one column.
    const std::string lastSeparator(m_strSeparator.size(), ' ');
    for (std::size_t i = 0; i < v.size(); ++i) {
        WriteIndent();
        if (real) {
            WriteReal(v[i].real());
        } else {
            WriteComplex(v[i]);
        }
        Put(m_strContinuation);
        Put(i + 1 < v.size() ? m_strSeparator : lastSeparator);
        if (i < labels.size()) {
            Put("    ");
            Put(m_strComment);
            Put(" ");
            Put(labels[i]);
        }
        NewLine();
    }
    --m_nIndentLevel;
    if (!m_strClose.empty()) {
        WriteIndent();
        Put(m_strClose);
    }
    if (m_nIndentLevel == 0) {
        Put(m_strTerminator);
        NewLine();
    }
}

void mwriter::WriteMatrix(const mmatrix& m, std::string_view comment, std::string_view name,
                          std::span<const std::string_view> labels) {
    if (m.Empty()) return;
    const std::string fullName = PrefixedName(m_strPrefix, name);
    WriteComment(comment);
    WriteDeclaration(fullName, m.IsReal(), m.Rows(), m[0].size());
    if (m_bHeader) return;
    Put(m_strOpen);
    const bool nested = !fullName.empty();
    if (nested) ++m_nIndentLevel;
    for (std::size_t r = 0; r < m.Rows(); ++r) {
        WriteVector(m[r], {}, {}, labels);
        if (r + 1 < m.Rows()) Put(m_nIndentLevel == 0 ? m_strOuterEnd : m_strRowEnd);
        NewLine();
    }
    if (nested) --m_nIndentLevel;
    Put(m_strClose);
    Put(m_nIndentLevel == 0 ? m_strOuterEnd : m_strRowEnd);
    NewLine();
}

} // namespace korin
