#include "korin/io/mwriter.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>

namespace korin {
namespace {

// Each value written alone, as the text after it.
class HexOut {
public:
    HexOut(std::int32_t format, std::int32_t intBits, std::int32_t fracBits)
        : w_(false, "", os_, format) {
        EXPECT_TRUE(w_.SetHex(intBits, fracBits)) << intBits << ", " << fracBits;
    }
    std::string Real(double x) {
        os_.str("");
        w_.WriteReal(x);
        return os_.str();
    }
    mwriter& Writer() { return w_; }
    std::string Text() const { return os_.str(); }

private:
    std::ostringstream os_;
    mwriter w_;
};

TEST(MwriterHex, EightIntegerAndTwentyFourFractionBits) {
    HexOut c(mwriter::kC, 8, 24);
    EXPECT_EQ(c.Writer().HexDigitsPerValue(), 8);
    EXPECT_EQ(c.Real(1.0), "0x01000000");
    EXPECT_EQ(c.Real(-1.0), "0xFF000000");
    EXPECT_EQ(c.Real(0.5), "0x00800000");
    EXPECT_EQ(c.Real(-0.0), "0x00000000");
    HexOut cpp(mwriter::kCpp, 8, 24);
    EXPECT_EQ(cpp.Real(1.0), "0x01000000");
    HexOut text(mwriter::kText, 8, 24);
    EXPECT_EQ(text.Real(1.0), "01000000");
    HexOut matlab(mwriter::kMatlab, 8, 24);
    EXPECT_EQ(matlab.Real(-1.0), "FF000000");
}

// With a bit count that is not a multiple of 4 the top digit holds the sign bits.
TEST(MwriterHex, SixBitsPrintTwoDigitsWithTheSign) {
    HexOut o(mwriter::kText, 2, 4);
    EXPECT_EQ(o.Writer().HexDigitsPerValue(), 2);
    EXPECT_EQ(o.Real(1.0), "10");
    EXPECT_EQ(o.Real(-1.0), "F0");
    EXPECT_EQ(o.Real(-2.0), "E0");    // the most negative value
    EXPECT_EQ(o.Real(1.96875), "1F"); // the largest value
    EXPECT_EQ(o.Real(0.03125), "01"); // half a step rounds away from zero
    EXPECT_EQ(o.Real(-0.03125), "FF");
    // Saturation at -2^5 and 2^5 - 1.
    EXPECT_EQ(o.Real(2.0), "1F");
    EXPECT_EQ(o.Real(100.0), "1F");
    EXPECT_EQ(o.Real(-3.0), "E0");
    EXPECT_EQ(o.Real(-2.03), "E0");
}

TEST(MwriterHex, ThirteenBits) {
    HexOut o(mwriter::kC, 3, 10);
    EXPECT_EQ(o.Writer().HexDigitsPerValue(), 4);
    EXPECT_EQ(o.Real(-0.5), "0xFE00");
    EXPECT_EQ(o.Real(3.999), "0x0FFF");
    EXPECT_EQ(o.Real(4.0), "0x0FFF");
    EXPECT_EQ(o.Real(-4.0), "0xF000");
    EXPECT_EQ(o.Real(-5.0), "0xF000");
}

TEST(MwriterHex, OneBit) {
    HexOut o(mwriter::kText, 1, 0);
    EXPECT_EQ(o.Writer().HexDigitsPerValue(), 1);
    EXPECT_EQ(o.Real(0.0), "0");
    EXPECT_EQ(o.Real(-1.0), "F");
    EXPECT_EQ(o.Real(1.0), "0"); // 2^0 - 1
    EXPECT_EQ(o.Real(-5.0), "F");
}

TEST(MwriterHex, SixtyTwoBits) {
    HexOut o(mwriter::kC, 2, 60);
    EXPECT_EQ(o.Writer().HexDigitsPerValue(), 16);
    EXPECT_EQ(o.Real(1.0), "0x1000000000000000");
    EXPECT_EQ(o.Real(-1.0), "0xF000000000000000");
    EXPECT_EQ(o.Real(2.0), "0x1FFFFFFFFFFFFFFF");
    EXPECT_EQ(o.Real(-2.0), "0xE000000000000000");
    EXPECT_EQ(o.Real(1e300), "0x1FFFFFFFFFFFFFFF");
}

TEST(MwriterHex, FractionOnlyAndNonFiniteValues) {
    HexOut o(mwriter::kText, 0, 32);
    EXPECT_EQ(o.Writer().HexDigitsPerValue(), 8);
    EXPECT_EQ(o.Real(0.25), "40000000");
    EXPECT_EQ(o.Real(0.5), "7FFFFFFF");
    EXPECT_EQ(o.Real(-0.5), "80000000");
    EXPECT_EQ(o.Real(std::numeric_limits<double>::infinity()), "7FFFFFFF");
    EXPECT_EQ(o.Real(-std::numeric_limits<double>::infinity()), "80000000");
    EXPECT_EQ(o.Real(std::numeric_limits<double>::quiet_NaN()), "00000000");
}

TEST(MwriterHex, RefusedParametersChangeNothing) {
    HexOut o(mwriter::kC, 8, 24);
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::int32_t refused[][2] = {{0, 0},  {32, 31},     {62, 1},   {0, 63},   {-1, 8},
                                       {8, -1}, {kMax, kMax}, {kMin, 5}, {5, kMin}, {kMax, 1}};
    for (const auto& bits : refused) {
        EXPECT_FALSE(o.Writer().SetHex(bits[0], bits[1])) << bits[0] << ", " << bits[1];
        EXPECT_EQ(o.Writer().HexDigitsPerValue(), 8);
    }
    EXPECT_EQ(o.Real(1.0), "0x01000000");
    for (const auto& bits : {std::array{62, 0}, std::array{0, 62}, std::array{0, 1}}) {
        EXPECT_TRUE(o.Writer().SetHex(bits[0], bits[1]));
    }
}

TEST(MwriterHex, VectorsAndComplexValues) {
    HexOut c(mwriter::kC, 8, 24);
    mvect v;
    v.push_back(mcplx(1.0));
    v.push_back(mcplx(-0.5));
    c.Writer().WriteVector(v, "", "v");
    mvect z(mcplx(1.0, -0.5));
    c.Writer().WriteVector(z, "", "z");
    EXPECT_EQ(c.Text(), "\n"
                        "double v[V_SIZE] = {\n"
                        "  0x01000000, \n"
                        "  0xFF800000  \n"
                        "};\n"
                        "\n"
                        "cplx z[Z_SIZE] = {\n"
                        "  cplx(0x01000000, 0xFF800000)  \n"
                        "};\n");

    HexOut matlab(mwriter::kMatlab, 8, 24);
    mvect p;
    p.push_back(mcplx(1.0, 0.5));
    p.push_back(mcplx(-1.0, -0.5));
    matlab.Writer().WriteVector(p, "", "p");
    EXPECT_EQ(matlab.Text(), "\n"
                             "p = [ ...\n"
                             "  01000000 +00800000j ... \n"
                             "  FF000000 -00800000j ... \n"
                             "];\n");
}

TEST(MwriterHex, HeaderModeWritesNoValues) {
    std::ostringstream os;
    mwriter w(true, "iir_", os, mwriter::kC);
    ASSERT_TRUE(w.SetHex(8, 24));
    mvect v(mcplx(1.0), mcplx(2.0));
    w.WriteVector(v, "", "b");
    w.WriteScalar("g", 1.0);
    EXPECT_EQ(os.str(), "\n"
                        "#define IIR_B_SIZE 2\n"
                        "extern double iir_b[IIR_B_SIZE];\n"
                        "\n"
                        "extern double g;\n");
}

} // namespace
} // namespace korin
