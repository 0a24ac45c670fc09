// A filter of two sections written the way the coefficient writer drives the
// text writer with the defaults of a new export entry (Scientific notation, two
// spaces, all six coefficients per section, prefix "iir", headings and biquads):
// the C++ header and source, then Matlab and Text. The preamble and the closing
// lines are the coefficient writer's; everything between is the text writer's.

#include "korin/io/mwriter.h"

#include <array>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <string_view>

namespace korin {
namespace {

constexpr std::array<std::string_view, 6> kLabels = {"B0", "B1", "B2", "A0", "A1", "A2"};

msos TwoSections() {
    msos s;
    for (const auto& row : {std::array{0.0625, 0.125, 0.0625, 1.0, -1.25, 0.5625},
                            std::array{1.0, -2.0, 1.0, 1.0, -0.5, 0.0625}}) {
        mvect& r = s.AddRow();
        r.column = false;
        for (const double x : row)
            r.push_back(mcplx(x));
    }
    s.gain = 0.25;
    return s;
}

// The items of the coefficient writer for biquads only.
void WriteBiquads(mwriter& w, const msos& s, const std::string& prefix) {
    w.SetNumberFormat("%0.16e");
    w.WriteMatrix(s, prefix + "biquads", "biquads", kLabels);
    w.WriteComment(prefix + "biquads gain");
    w.WriteScalar(prefix + "biquads_g ", s.gain);
    w.NewLine();
}

TEST(MwriterExample, CppHeader) {
    std::ostringstream os;
    os << "#ifndef _IIR_FILTER_H_\n#define _IIR_FILTER_H_\n\n";
    mwriter w(true, "iir_", os, mwriter::kCpp);
    w.SetRealType("double");
    w.SetComplexType("std::complex<double>");
    WriteBiquads(w, TwoSections(), "iir_");
    os << "\n#endif\n\n";
    EXPECT_EQ(os.str(), "#ifndef _IIR_FILTER_H_\n"
                        "#define _IIR_FILTER_H_\n"
                        "\n"
                        "// iir_biquads\n"
                        "\n"
                        "#define IIR_BIQUADS_SIZE 2\n"
                        "extern double iir_biquads[IIR_BIQUADS_SIZE][6];\n"
                        "// iir_biquads gain\n"
                        "\n"
                        "extern double iir_biquads_g ;\n"
                        "\n"
                        "\n"
                        "#endif\n"
                        "\n");
}

TEST(MwriterExample, CppSource) {
    std::ostringstream os;
    os << "#include \"iir_filter.h\"\n\n";
    mwriter w(false, "iir_", os, mwriter::kCpp);
    w.SetRealType("double");
    w.SetComplexType("std::complex<double>");
    WriteBiquads(w, TwoSections(), "iir_");
    os << "\n";
    EXPECT_EQ(os.str(), "#include \"iir_filter.h\"\n"
                        "\n"
                        "// iir_biquads\n"
                        "\n"
                        "double iir_biquads[IIR_BIQUADS_SIZE][6] = {\n"
                        "  {\n"
                        "     6.2500000000000000e-02,     // B0\n"
                        "     1.2500000000000000e-01,     // B1\n"
                        "     6.2500000000000000e-02,     // B2\n"
                        "     1.0000000000000000e+00,     // A0\n"
                        "    -1.2500000000000000e+00,     // A1\n"
                        "     5.6250000000000000e-01      // A2\n"
                        "  },\n"
                        "\n"
                        "  {\n"
                        "     1.0000000000000000e+00,     // B0\n"
                        "    -2.0000000000000000e+00,     // B1\n"
                        "     1.0000000000000000e+00,     // B2\n"
                        "     1.0000000000000000e+00,     // A0\n"
                        "    -5.0000000000000000e-01,     // A1\n"
                        "     6.2500000000000000e-02      // A2\n"
                        "  }\n"
                        "};\n"
                        "// iir_biquads gain\n"
                        "\n"
                        "double iir_biquads_g  =  2.5000000000000000e-01;\n"
                        "\n"
                        "\n");
}

TEST(MwriterExample, Matlab) {
    std::ostringstream os;
    mwriter w(false, "iir_", os, mwriter::kMatlab);
    WriteBiquads(w, TwoSections(), "iir_");
    EXPECT_EQ(os.str(), "% iir_biquads\n"
                        "\n"
                        "iir_biquads = [ ...\n"
                        "  [ ...\n"
                        "     6.2500000000000000e-02 ...     % B0\n"
                        "     1.2500000000000000e-01 ...     % B1\n"
                        "     6.2500000000000000e-02 ...     % B2\n"
                        "     1.0000000000000000e+00 ...     % A0\n"
                        "    -1.2500000000000000e+00 ...     % A1\n"
                        "     5.6250000000000000e-01 ...     % A2\n"
                        "  ];\n"
                        "  [ ...\n"
                        "     1.0000000000000000e+00 ...     % B0\n"
                        "    -2.0000000000000000e+00 ...     % B1\n"
                        "     1.0000000000000000e+00 ...     % B2\n"
                        "     1.0000000000000000e+00 ...     % A0\n"
                        "    -5.0000000000000000e-01 ...     % A1\n"
                        "     6.2500000000000000e-02 ...     % A2\n"
                        "  ]\n"
                        "];\n"
                        "% iir_biquads gain\n"
                        "\n"
                        "iir_biquads_g  =  2.5000000000000000e-01;\n"
                        "\n");
}

TEST(MwriterExample, Text) {
    std::ostringstream os;
    mwriter w(false, "iir ", os, mwriter::kText);
    WriteBiquads(w, TwoSections(), "iir ");
    EXPECT_EQ(os.str(), "% iir biquads\n"
                        "     6.2500000000000000e-02    % B0\n"
                        "     1.2500000000000000e-01    % B1\n"
                        "     6.2500000000000000e-02    % B2\n"
                        "     1.0000000000000000e+00    % A0\n"
                        "    -1.2500000000000000e+00    % A1\n"
                        "     5.6250000000000000e-01    % A2\n"
                        "\n"
                        "\n"
                        "     1.0000000000000000e+00    % B0\n"
                        "    -2.0000000000000000e+00    % B1\n"
                        "     1.0000000000000000e+00    % B2\n"
                        "     1.0000000000000000e+00    % A0\n"
                        "    -5.0000000000000000e-01    % A1\n"
                        "     6.2500000000000000e-02    % A2\n"
                        "\n"
                        "\n"
                        "% iir biquads gain\n"
                        " 2.5000000000000000e-01\n"
                        "\n");
}

} // namespace
} // namespace korin
