#pragma once
// mwriter: writes comments, scalars, complex vectors and matrices as text in one
// of four syntaxes (plain text, C, C++, Matlab): declarations with size constants
// (and "extern" declarations in header mode), nested and labelled arrays, numbers
// in a printf notation or as fixed-point hexadecimal. Output never depends on the
// locale.

#include "korin/base/mmatrix.h"
#include "korin/base/mv_t.h"
#include "korin/io/mnumfmt.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace korin {

class mwriter {
public:
    // Syntax indices; C and C++ share one syntax.
    static constexpr std::int32_t kText = 0;
    static constexpr std::int32_t kC = 1;
    static constexpr std::int32_t kCpp = 2;
    static constexpr std::int32_t kMatlab = 3;

    // Header mode writes declarations only. The prefix goes before every vector
    // and matrix name. The stream is the caller's and must outlive the writer.
    mwriter(bool header, std::string_view prefix, std::ostream& stream, std::int32_t format);
    mwriter(const mwriter&) = delete;
    mwriter& operator=(const mwriter&) = delete;
    virtual ~mwriter();

    // Selects the syntax, resets the nesting depth and turns hex mode off; the
    // headings, indentation unit, number format and prefix stay. An index outside
    // 0..3 is a contract violation and selects plain text.
    virtual void SetFormat(std::int32_t format);
    // Turns on fixed-point hexadecimal output with intBits + fracBits = n bits,
    // 0 < n < 63, both non-negative; ceil(n/4) digits per value. False, changing
    // nothing, otherwise.
    virtual bool SetHex(std::int32_t intBits, std::int32_t fracBits);
    // Ends the line (newline and flush).
    virtual void NewLine();
    // An indented comment line, when headings are on and the text is not empty.
    virtual void WriteComment(std::string_view text);
    // A real scalar; the name is used without the prefix.
    virtual void WriteScalar(std::string_view name, double value);
    // The declaration of a variable (nothing for plain text or an empty name); a
    // dimension of 0 is absent. Outside header mode it ends with " = ".
    virtual void WriteDeclaration(std::string_view name, bool isReal, std::size_t dim1,
                                  std::size_t dim2);
    // A matrix row by row; labels, when given, name the elements of each row.
    // An empty matrix writes nothing.
    virtual void WriteMatrix(const mmatrix& m, std::string_view comment, std::string_view name,
                             std::span<const std::string_view> labels = {});
    // A vector, one element per line; an empty vector writes nothing, not even
    // its comment.
    virtual void WriteVector(const mvect& v, std::string_view comment, std::string_view name,
                             std::span<const std::string_view> labels = {});
    virtual void WriteComplex(const mcplx& z);
    virtual void WriteReal(double x);
    virtual void WriteIndent();

    // Options the caller may replace after construction.
    void SetHeadings(bool on) { m_bHeadings = on; }
    void SetIndent(std::string_view unit) { m_strIndent = unit; }
    // A printf conversion of one double (see ParseNumberFormat); false, keeping
    // the previous format, when it is not one.
    bool SetNumberFormat(std::string_view printfFormat);
    void SetRealType(std::string_view type) { m_strRealType = type; }
    void SetComplexType(std::string_view type) { m_strComplexType = type; }

    bool IsHeader() const { return m_bHeader; }
    bool Headings() const { return m_bHeadings; }
    std::int32_t Format() const { return m_nFormat; }
    std::int32_t HexDigitsPerValue() const { return m_nHexDigits; }
    std::int32_t IndentLevel() const { return m_nIndentLevel; }
    const std::string& CommentPrefix() const { return m_strComment; }
    const std::string& RealType() const { return m_strRealType; }
    const std::string& ComplexType() const { return m_strComplexType; }

private:
    // SetFormat's work, also done by the constructor (where no override may run).
    void ApplyFormat(std::int32_t format);
    void Put(std::string_view text);

    bool m_bHeader;
    bool m_bHeadings = true;
    bool m_bArrays = true;
    std::string m_strComment;
    std::string m_strIndent = "  ";
    mnumformat m_number;
    std::string m_strPrefix;
    std::string m_strRealType;
    std::string m_strComplexType;
    std::ostream& m_stream;
    std::int32_t m_nFormat = kText;
    std::string m_strSeparator;
    std::string m_strOuterEnd;
    std::string m_strRowEnd;
    std::string m_strTerminator;
    std::string m_strOpen;
    std::string m_strClose;
    std::string m_strDimOpen;
    std::string m_strDimClose;
    std::string m_strContinuation;
    std::int32_t m_nIndentLevel = 0;
    std::int32_t m_nHexBits = 0;
    std::int32_t m_nHexFracBits = 0;
    std::int32_t m_nHexDigits = 0; // 0: hex mode off
};

} // namespace korin
