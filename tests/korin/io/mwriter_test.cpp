#include "korin/io/mwriter.h"
#include "support/assert_capture.h"

#include <array>
#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <string_view>

namespace korin {
namespace {

// The expected text: every line followed by a newline.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

mvect Real(std::initializer_list<double> values) {
    mvect v;
    for (const double x : values)
        v.push_back(mcplx(x));
    return v;
}

mmatrix Matrix(std::initializer_list<std::initializer_list<double>> rows) {
    mmatrix m;
    for (const auto& row : rows) {
        mvect& r = m.AddRow();
        for (const double x : row)
            r.push_back(mcplx(x));
    }
    return m;
}

constexpr std::array<std::string_view, 3> kLabels = {"L0", "L1", "L2"};

// A writer on a string stream with short numbers, so that the expected lines stay readable.
struct Out {
    explicit Out(std::int32_t format, bool header = false, std::string_view prefix = "",
                 std::string_view number = "%.1f")
        : w(header, prefix, os, format) {
        EXPECT_TRUE(w.SetNumberFormat(number));
    }
    std::string Text() const { return os.str(); }
    std::ostringstream os;
    mwriter w;
};

// ---- C and C++ ---------------------------------------------------------------

TEST(MwriterC, RealVectorWithLabels) {
    Out o(mwriter::kC, false, "iir_", "%.3f");
    o.w.WriteVector(Real({1.0, -0.5, 0.25}), "iir_b", "b", kLabels);
    EXPECT_EQ(o.Text(), Lines({
                            "// iir_b",
                            "",
                            "double iir_b[IIR_B_SIZE] = {",
                            "   1.000,     // L0",
                            "  -0.500,     // L1",
                            "   0.250      // L2",
                            "};",
                        }));
}

TEST(MwriterC, RealVectorWithoutLabelsKeepsTheSeparatorWidth) {
    Out o(mwriter::kCpp);
    o.w.WriteVector(Real({2.0, -3.0}), "", "b");
    EXPECT_EQ(o.Text(), Lines({"", "double b[B_SIZE] = {", "   2.0, ", "  -3.0  ", "};"}));
}

TEST(MwriterC, MatrixRowsAreNestedAndSeparatedByAnEmptyLine) {
    Out o(mwriter::kC);
    o.w.WriteMatrix(Matrix({{1, 2, 3}, {-4, 5, -6}}), "sections", "sos");
    EXPECT_EQ(o.Text(), Lines({
                            "// sections",
                            "",
                            "double sos[SOS_SIZE][3] = {",
                            "  {",
                            "     1.0, ",
                            "     2.0, ",
                            "     3.0  ",
                            "  },",
                            "",
                            "  {",
                            "    -4.0, ",
                            "     5.0, ",
                            "    -6.0  ",
                            "  }",
                            "};",
                        }));
    EXPECT_EQ(o.w.IndentLevel(), 0);
}

TEST(MwriterC, ComplexValuesUseTheComplexType) {
    Out o(mwriter::kC, false, "", "%.2f");
    mvect v;
    v.push_back(mcplx(1.0, 2.0));
    v.push_back(mcplx(-0.5, -0.25));
    v.push_back(mcplx(3.0, 0.0));
    o.w.WriteVector(v, "", "p");
    o.w.SetComplexType("std::complex<double>");
    o.w.WriteVector(mvect(mcplx(0.0, 1.0)), "", "q");
    EXPECT_EQ(o.Text(), Lines({
                            "",
                            "cplx p[P_SIZE] = {",
                            "  cplx( 1.00,  2.00), ",
                            "  cplx(-0.50, -0.25), ",
                            "  cplx( 3.00,  0.00)  ",
                            "};",
                            "",
                            "std::complex<double> q[Q_SIZE] = {",
                            "  std::complex<double>( 0.00,  1.00)  ",
                            "};",
                        }));
}

TEST(MwriterC, MatrixWithOneComplexRowIsDeclaredComplex) {
    Out o(mwriter::kC, true);
    mmatrix m = Matrix({{1, 2}, {3, 4}});
    m[1][0] = mcplx(3.0, 1.0);
    o.w.WriteMatrix(m, "", "m");
    EXPECT_EQ(o.Text(), Lines({"", "#define M_SIZE 2", "extern cplx m[M_SIZE][2];"}));
}

TEST(MwriterC, ScalarDeclaration) {
    Out o(mwriter::kC, false, "iir_", "%0.16e");
    o.w.WriteScalar("iir_biquads_g ", 0.25);
    o.w.WriteScalar("neg", -2.0);
    EXPECT_EQ(o.Text(), Lines({
                            "",
                            "double iir_biquads_g  =  2.5000000000000000e-01;",
                            "",
                            "double neg = -2.0000000000000000e+00;",
                        }));
}

TEST(MwriterC, TypeNamesCanBeReplaced) {
    Out o(mwriter::kCpp);
    o.w.SetRealType("float");
    o.w.WriteScalar("g", 1.0);
    o.w.SetRealType("");
    o.w.WriteScalar("h", 1.0);
    EXPECT_EQ(o.Text(), Lines({"", "float g =  1.0;", "", "h =  1.0;"}));
}

// ---- Header mode -------------------------------------------------------------

TEST(MwriterHeader, ComplexVectorGetsSizeConstantAndExtern) {
    Out o(mwriter::kC, true, "iir_");
    mvect zeros;
    for (int i = 0; i < 4; ++i)
        zeros.push_back(mcplx(0.5, i % 2 == 0 ? 0.5 : -0.5));
    o.w.WriteVector(zeros, "iir_zeros", "zeros");
    EXPECT_EQ(o.Text(), Lines({
                            "// iir_zeros",
                            "",
                            "#define IIR_ZEROS_SIZE 4",
                            "extern cplx iir_zeros[IIR_ZEROS_SIZE];",
                        }));
}

TEST(MwriterHeader, MatrixVectorAndScalarDeclarationsOnly) {
    Out o(mwriter::kCpp, true, "iir_");
    o.w.WriteMatrix(Matrix({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}}), "", "biquads");
    o.w.WriteVector(Real({1, 2, 3}), "", "numerator");
    o.w.WriteScalar("iir_biquads_g ", 0.5);
    EXPECT_EQ(o.Text(), Lines({
                            "",
                            "#define IIR_BIQUADS_SIZE 2",
                            "extern double iir_biquads[IIR_BIQUADS_SIZE][6];",
                            "",
                            "#define IIR_NUMERATOR_SIZE 3",
                            "extern double iir_numerator[IIR_NUMERATOR_SIZE];",
                            "",
                            "extern double iir_biquads_g ;",
                        }));
}

TEST(MwriterHeader, MatlabAndTextHeadersHaveNoSizeConstants) {
    Out matlab(mwriter::kMatlab, true);
    matlab.w.WriteVector(Real({1, 2}), "v", "v");
    EXPECT_EQ(matlab.Text(), Lines({"% v", "", "v;"}));
    Out text(mwriter::kText, true);
    text.w.WriteVector(Real({1, 2}), "v", "v");
    text.w.WriteScalar("g", 1.0);
    EXPECT_EQ(text.Text(), Lines({"% v"}));
}

// ---- Matlab ------------------------------------------------------------------

TEST(MwriterMatlab, VectorWithLabels) {
    Out o(mwriter::kMatlab, false, "iir_");
    o.w.WriteVector(Real({1.0, -2.0}), "iir_x", "x", kLabels);
    EXPECT_EQ(o.Text(), Lines({
                            "% iir_x",
                            "",
                            "iir_x = [ ...",
                            "   1.0 ...     % L0",
                            "  -2.0 ...     % L1",
                            "];",
                        }));
}

TEST(MwriterMatlab, MatrixRowsEndWithSemicolonsButTheLast) {
    Out o(mwriter::kMatlab);
    o.w.WriteMatrix(Matrix({{1, 2}, {3, -4}, {5, 6}}), "", "m");
    EXPECT_EQ(o.Text(), Lines({
                            "",
                            "m = [ ...",
                            "  [ ...",
                            "     1.0 ... ",
                            "     2.0 ... ",
                            "  ];",
                            "  [ ...",
                            "     3.0 ... ",
                            "    -4.0 ... ",
                            "  ];",
                            "  [ ...",
                            "     5.0 ... ",
                            "     6.0 ... ",
                            "  ]",
                            "];",
                        }));
}

TEST(MwriterMatlab, ComplexValuesWithJ) {
    // The default number format is "%0.20f".
    std::ostringstream os;
    mwriter w(false, "", os, mwriter::kMatlab);
    w.WriteComplex(mcplx(0.5, -0.25));
    EXPECT_EQ(os.str(), " 0.50000000000000000000 - 0.25000000000000000000j");

    Out o(mwriter::kMatlab);
    mvect v;
    v.push_back(mcplx(1.0, 2.0));
    v.push_back(mcplx(-1.0, 0.0));
    o.w.WriteVector(v, "", "p");
    EXPECT_EQ(o.Text(), Lines({"", "p = [ ...", "   1.0 + 2.0j ... ", "  -1.0 ... ", "];"}));
}

TEST(MwriterMatlab, Scalar) {
    Out o(mwriter::kMatlab);
    o.w.WriteScalar("g", -0.5);
    EXPECT_EQ(o.Text(), Lines({"", "g = -0.5;"}));
}

// ---- Text --------------------------------------------------------------------

TEST(MwriterText, VectorOnePerLineThenAnEmptyLine) {
    Out o(mwriter::kText, false, "iir ");
    o.w.WriteVector(Real({1.0, -2.0}), "iir zeros", "zeros");
    o.w.WriteVector(Real({3.0}), "labelled", "x", kLabels);
    EXPECT_EQ(o.Text(), Lines({
                            "% iir zeros",
                            "   1.0",
                            "  -2.0",
                            "",
                            "% labelled",
                            "   3.0    % L0",
                            "",
                        }));
}

TEST(MwriterText, MatrixRowsAreFollowedByTwoEmptyLines) {
    Out o(mwriter::kText, false, "iir ");
    o.w.WriteMatrix(Matrix({{1, 2}, {3, -4}}), "iir biquads", "biquads");
    EXPECT_EQ(o.Text(), Lines({
                            "% iir biquads",
                            "     1.0",
                            "     2.0",
                            "",
                            "",
                            "     3.0",
                            "    -4.0",
                            "",
                            "",
                        }));
}

TEST(MwriterText, ScalarIsTheValueAloneAndComplexUsesJ) {
    Out o(mwriter::kText);
    o.w.WriteScalar("iir biquads_g ", 0.5);
    mvect v;
    v.push_back(mcplx(1.0, 2.0));
    o.w.WriteVector(v, "", "p");
    EXPECT_EQ(o.Text(), Lines({" 0.5", "   1.0 + 2.0j", ""}));
}

// ---- Comments, indentation, empty input ---------------------------------------

TEST(MwriterLayout, CommentsFollowHeadingsAndSkipEmptyText) {
    Out o(mwriter::kC);
    o.w.WriteComment("shown");
    o.w.WriteComment("");
    o.w.SetHeadings(false);
    o.w.WriteComment("hidden");
    o.w.WriteVector(Real({1.0}), "hidden too", "v");
    EXPECT_EQ(o.Text(), Lines({"// shown", "", "double v[V_SIZE] = {", "   1.0  ", "};"}));
}

TEST(MwriterLayout, EmptyVectorsAndMatricesWriteNothing) {
    for (const std::int32_t format : {mwriter::kText, mwriter::kC, mwriter::kMatlab}) {
        for (const bool header : {false, true}) {
            Out o(format, header, "iir_");
            o.w.WriteVector(mvect(), "comment", "v", kLabels);
            o.w.WriteMatrix(mmatrix(), "comment", "m", kLabels);
            EXPECT_EQ(o.Text(), "") << format << header;
        }
    }
}

TEST(MwriterLayout, TabsSpacesAndNoIndentation) {
    Out tabs(mwriter::kC);
    tabs.w.SetIndent("\t");
    tabs.w.WriteMatrix(Matrix({{1}, {2}}), "", "m");
    EXPECT_EQ(tabs.Text(), Lines({"", "double m[M_SIZE][1] = {", "\t{", "\t\t 1.0  ", "\t},", "",
                                  "\t{", "\t\t 2.0  ", "\t}", "};"}));

    Out none(mwriter::kMatlab);
    none.w.SetIndent("");
    none.w.WriteMatrix(Matrix({{1}}), "", "m");
    EXPECT_EQ(none.Text(), Lines({"", "m = [ ...", "[ ...", " 1.0 ... ", "]", "];"}));

    Out four(mwriter::kText);
    four.w.SetIndent("    ");
    four.w.WriteVector(Real({1}), "", "v");
    four.w.WriteMatrix(Matrix({{2}}), "", "m");
    EXPECT_EQ(four.Text(), Lines({"     1.0", "", "         2.0", "", ""}));
}

TEST(MwriterLayout, LabelsShorterThanTheRowLabelOnlyTheFirstElements) {
    Out o(mwriter::kC);
    o.w.WriteVector(Real({1, 2}), "", "v", std::span<const std::string_view>(kLabels).first(1));
    EXPECT_EQ(o.Text(), Lines({"", "double v[V_SIZE] = {", "   1.0,     // L0", "   2.0  ", "};"}));
}

TEST(MwriterLayout, EmptyPrefixOrNameLeavesNamesAlone) {
    Out o(mwriter::kC, true, "");
    o.w.WriteVector(Real({1}), "", "zeros");
    o.w.WriteDeclaration("", true, 3, 0); // no name: nothing
    EXPECT_EQ(o.Text(), Lines({"", "#define ZEROS_SIZE 1", "extern double zeros[ZEROS_SIZE];"}));
}

// ---- Format selection --------------------------------------------------------

TEST(MwriterFormat, UnknownIndexReportsAndWritesText) {
    tarvo::test::AssertCapture capture;
    std::ostringstream os;
    mwriter w(false, "p_", os, 7);
    EXPECT_TRUE(capture.Saw("false"));
    EXPECT_TRUE(capture.SawFrom("korin/io/mwriter"));
    EXPECT_EQ(w.CommentPrefix(), "%");
    w.SetNumberFormat("%.1f");
    w.WriteVector(Real({1}), "c", "v");
    EXPECT_EQ(os.str(), Lines({"% c", "   1.0", ""}));
}

TEST(MwriterFormat, SetFormatKeepsHeadingsIndentAndNumberButResetsHex) {
    Out o(mwriter::kC);
    o.w.SetHeadings(false);
    o.w.SetIndent("\t");
    ASSERT_TRUE(o.w.SetHex(4, 4));
    o.w.SetFormat(mwriter::kMatlab);
    EXPECT_EQ(o.w.HexDigitsPerValue(), 0);
    EXPECT_EQ(o.w.RealType(), "");
    o.w.WriteVector(Real({1}), "hidden", "v");
    EXPECT_EQ(o.Text(), Lines({"", "v = [ ...", "\t 1.0 ... ", "];"}));
}

TEST(MwriterFormat, RefusedNumberFormatKeepsThePreviousOne) {
    Out o(mwriter::kText, false, "", "%.2f");
    EXPECT_FALSE(o.w.SetNumberFormat("%s"));
    EXPECT_FALSE(o.w.SetNumberFormat("%.2f%n"));
    o.w.WriteReal(1.0);
    EXPECT_EQ(o.Text(), " 1.00");
}

// ---- Numbers -----------------------------------------------------------------

TEST(MwriterNumbers, HugeTinyNanAndInfinity) {
    std::ostringstream os;
    mwriter w(false, "", os, mwriter::kText); // "%0.20f"
    w.WriteScalar("", 1e300);
    w.WriteScalar("", -1e-300);
    w.WriteScalar("", std::numeric_limits<double>::quiet_NaN());
    w.WriteScalar("", std::numeric_limits<double>::infinity());
    w.WriteScalar("", -std::numeric_limits<double>::infinity());
    w.WriteScalar("", -0.0);
    w.SetNumberFormat("%0.16e");
    w.WriteScalar("", 4.9406564584124654e-324);
    w.WriteScalar("", -1.7976931348623157e308);
    EXPECT_EQ(os.str(),
              Lines({" 1000000000000000052504760255204420248704468581108159154915854115511802457988"
                     "90819578637137508044786404370444383288387817694252323536043057564479218478670"
                     "69828483872009265758037378302337947880900593689532349707999450811190389676408"
                     "80074652742780142494579258788820056842838115669472196386865459400540160.00000"
                     "000000000000000",
                     "-0.00000000000000000000", " nan", " inf", "-inf", "-0.00000000000000000000",
                     " 4.9406564584124654e-324", "-1.7976931348623157e+308"}));
}

// A stream locale with a decimal comma and digit grouping must not leak into the
// text (sizes and values alike).
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(MwriterNumbers, StreamAndGlobalLocaleAreIgnored) {
    const std::locale comma(std::locale::classic(), new CommaPunct);
    const std::locale previous = std::locale::global(comma);
    std::ostringstream os;
    os.imbue(comma);
    {
        mwriter header(true, "", os, mwriter::kC);
        mvect big;
        big.Fill(1234, mcplx(1.5));
        header.WriteVector(big, "", "v");
        mwriter source(false, "", os, mwriter::kMatlab);
        source.WriteScalar("g", 1234.5);
    }
    std::locale::global(previous);
    EXPECT_EQ(os.str(), Lines({"", "#define V_SIZE 1234", "extern double v[V_SIZE];", "",
                               "g =  1234.50000000000000000000;"}));
}

} // namespace
} // namespace korin
