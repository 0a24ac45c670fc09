#include "korin/io/mnumfmt.h"
#include "support/assert_capture.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace korin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

mnumformat Parsed(const char* text) {
    mnumformat f;
    EXPECT_TRUE(ParseNumberFormat(text, f)) << text;
    return f;
}

// The C library's own printf of the same conversion, in the "C" locale the
// tests run in.
std::string Printf(const char* format, double x) {
    const int n = std::snprintf(nullptr, 0, format, x);
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, x);
    return {buffer.data(), static_cast<std::size_t>(n)};
}

TEST(ParseNumberFormat, AcceptsOneDoubleConversion) {
    mnumformat f = Parsed("%0.16e");
    EXPECT_EQ(f.conversion, 'e');
    EXPECT_EQ(f.precision, 16);
    EXPECT_EQ(f.width, 0);
    EXPECT_TRUE(f.zeroPad);

    f = Parsed("%-+ 12.3G");
    EXPECT_TRUE(f.leftAlign);
    EXPECT_TRUE(f.plusSign);
    EXPECT_TRUE(f.spaceSign);
    EXPECT_EQ(f.width, 12);
    EXPECT_EQ(f.precision, 3);
    EXPECT_EQ(f.conversion, 'G');

    EXPECT_EQ(Parsed("%f").precision, 6);  // printf's default
    EXPECT_EQ(Parsed("%.f").precision, 0); // a lone '.' means zero
    EXPECT_EQ(Parsed("%.4096f").precision, kMaxNumberFormatField);
}

TEST(ParseNumberFormat, RefusesEverythingElseAndKeepsTheOldFormat) {
    for (const char* bad :
         {"",    "%",   "%%",   "0.16e", "%d",     "%s",      "%n",
          "%x",  "%a",  "%lf",  "%Lf",   "%*.3f",  "%.*f",    "%#f",
          "x%f", "%fx", "%f%f", "%f\n",  "%4097f", "%.4097f", "%.99999999999999999999f",
          "%1$f"}) {
        mnumformat f = Parsed("%7.2E");
        EXPECT_FALSE(ParseNumberFormat(bad, f)) << bad;
        EXPECT_EQ(f.width, 7) << bad;
        EXPECT_EQ(f.precision, 2) << bad;
        EXPECT_EQ(f.conversion, 'E') << bad;
    }
}

TEST(FormatNumber, MatchesPrintfForEveryAcceptedForm) {
    const std::vector<double> values = {0.0,
                                        -0.0,
                                        1.0,
                                        -1.0,
                                        0.1,
                                        1.0 / 3.0,
                                        -2.5,
                                        0.5,
                                        123456789.125,
                                        1e21,
                                        1e-5,
                                        1e-300,
                                        4.9406564584124654e-324,
                                        1e300,
                                        -std::numeric_limits<double>::max(),
                                        kInf,
                                        -kInf,
                                        std::nan(""),
                                        -std::nan("")};
    for (const char* format :
         {"%0.16e", "%0.20f", "%f",     "%e",        "%g",      "%.0f",   "%.0e",    "%.0g",
          "%.3g",   "%.17g",  "%E",     "%G",        "%F",      "%12.3f", "%-12.3f", "%012.3f",
          "%+f",    "% e",    "%+ .2f", "%-+014.5e", "%030.1f", "%.40e",  "%.1074f"}) {
        const mnumformat f = Parsed(format);
        for (const double x : values) {
            EXPECT_EQ(FormatNumber(x, f), Printf(format, x)) << format << " of " << x;
        }
    }
}

TEST(FormatNumber, HugeAndTinyValuesPrintInFull) {
    const mnumformat fixed20 = Parsed("%0.20f");
    // Reference text from Python's correctly rounded formatting.
    const std::string big = FormatNumber(1e300, fixed20);
    EXPECT_EQ(big,
              "10000000000000000525047602552044202487044685811081591549158541155118024579889081"
              "95786371375080447864043704443832883878176942523235360430575644792184786706982848"
              "38720092657580373783023379478809005936895323497079994508111903896764088007465274"
              "2780142494579258788820056842838115669472196386865459400540160.000000000000000000"
              "00");
    EXPECT_EQ(big.size(), 322U);
    const std::string most = FormatNumber(-std::numeric_limits<double>::max(), fixed20);
    EXPECT_EQ(most.size(), 331U);
    EXPECT_EQ(most.substr(0, 20), "-1797693134862315708");
    EXPECT_EQ(most.substr(most.size() - 21), ".00000000000000000000");

    EXPECT_EQ(FormatNumber(4.9406564584124654e-324, fixed20), "0.00000000000000000000");
    const mnumformat sci16 = Parsed("%0.16e");
    EXPECT_EQ(FormatNumber(4.9406564584124654e-324, sci16), "4.9406564584124654e-324");
    EXPECT_EQ(FormatNumber(1e300, sci16), "1.0000000000000001e+300");
    EXPECT_EQ(FormatNumber(1e-300, sci16), "1.0000000000000000e-300");
    EXPECT_EQ(FormatNumber(0.1, fixed20), "0.10000000000000000555");
    EXPECT_EQ(FormatNumber(0.1, sci16), "1.0000000000000001e-01");
}

TEST(FormatNumber, NanAndInfinities) {
    EXPECT_EQ(FormatNumber(kInf, Parsed("%0.16e")), "inf");
    EXPECT_EQ(FormatNumber(-kInf, Parsed("%0.20f")), "-inf");
    EXPECT_EQ(FormatNumber(std::nan(""), Parsed("%0.20f")), "nan");
    EXPECT_EQ(FormatNumber(kInf, Parsed("%E")), "INF");
    EXPECT_EQ(FormatNumber(std::nan(""), Parsed("%F")), "NAN");
    // Zero padding never applies to them.
    EXPECT_EQ(FormatNumber(-kInf, Parsed("%08f")), "    -inf");
}

// A decimal comma is what a German process locale would print with printf.
TEST(FormatNumber, IgnoresTheProcessLocale) {
    const char* chosen = nullptr;
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string fixed = FormatNumber(1.5, Parsed("%0.20f"));
    const std::string sci = FormatNumber(-1234.5, Parsed("%0.16e"));
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(fixed, "1.50000000000000000000");
    EXPECT_EQ(sci, "-1.2345000000000000e+03");
}

TEST(FormatInteger, PlainDecimal) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(1234567), "1234567");
    EXPECT_EQ(FormatInteger(-42), "-42");
    EXPECT_EQ(FormatInteger(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(ToFixedPoint, ScalesAndRoundsHalvesAwayFromZero) {
    EXPECT_EQ(ToFixedPoint(1.0, 24, 32), 16777216);
    EXPECT_EQ(ToFixedPoint(-1.0, 24, 32), -16777216);
    EXPECT_EQ(ToFixedPoint(0.5, 0, 8), 1);
    EXPECT_EQ(ToFixedPoint(-0.5, 0, 8), -1);
    EXPECT_EQ(ToFixedPoint(2.5, 0, 8), 3);
    EXPECT_EQ(ToFixedPoint(-2.5, 0, 8), -3);
    EXPECT_EQ(ToFixedPoint(0.1, 4, 8), 2); // 1.6 -> 2
    EXPECT_EQ(ToFixedPoint(-0.1, 4, 8), -2);
    // Adding 0.5 in double rounds these wrong.
    EXPECT_EQ(ToFixedPoint(0.49999999999999994, 0, 8), 0);
    EXPECT_EQ(ToFixedPoint(-0.49999999999999994, 0, 8), 0);
    EXPECT_EQ(ToFixedPoint(9007199254740991.0, 0, 62), 9007199254740991);
}

TEST(ToFixedPoint, SaturatesToTheTwosComplementRange) {
    // 8 bits, 4 of them fraction: -128..127 in units of 1/16.
    EXPECT_EQ(ToFixedPoint(127.0 / 16.0, 4, 8), 127);
    EXPECT_EQ(ToFixedPoint(8.0, 4, 8), 127);  // +2^(n-1) itself does not fit
    EXPECT_EQ(ToFixedPoint(7.97, 4, 8), 127); // rounds to 128
    EXPECT_EQ(ToFixedPoint(100.0, 4, 8), 127);
    EXPECT_EQ(ToFixedPoint(-8.0, 4, 8), -128);
    EXPECT_EQ(ToFixedPoint(-8.03, 4, 8), -128);
    EXPECT_EQ(ToFixedPoint(-9.0, 4, 8), -128);
    EXPECT_EQ(ToFixedPoint(kInf, 4, 8), 127);
    EXPECT_EQ(ToFixedPoint(-kInf, 4, 8), -128);
    EXPECT_EQ(ToFixedPoint(1e300, 60, 62), 2305843009213693951);
    EXPECT_EQ(ToFixedPoint(-1e300, 60, 62), -2305843009213693952);
    EXPECT_EQ(ToFixedPoint(1.0, 0, 1), 0); // one bit holds -1 and 0
    EXPECT_EQ(ToFixedPoint(-1.0, 0, 1), -1);
    EXPECT_EQ(ToFixedPoint(std::nan(""), 4, 8), 0);
}

TEST(ToFixedPoint, RefusedBitCountsReportAndGiveZero) {
    tarvo::test::AssertCapture capture;
    EXPECT_EQ(ToFixedPoint(1.0, 0, 0), 0);
    EXPECT_EQ(ToFixedPoint(1.0, 0, 63), 0);
    EXPECT_EQ(ToFixedPoint(1.0, 9, 8), 0);
    EXPECT_EQ(capture.Count(), 3U);
    EXPECT_TRUE(capture.SawFrom("korin/io/mnumfmt"));
}

TEST(HexDigits, LastDigitsOfTheTwosComplement) {
    EXPECT_EQ(HexDigits(16777216, 8), "01000000");
    EXPECT_EQ(HexDigits(-1, 3), "FFF");
    EXPECT_EQ(HexDigits(-128, 2), "80");
    EXPECT_EQ(HexDigits(-32, 2), "E0");
    EXPECT_EQ(HexDigits(255, 1), "F");
    EXPECT_EQ(HexDigits(0x123456789ABCDEF0, 16), "123456789ABCDEF0");
    EXPECT_EQ(HexDigits(std::numeric_limits<std::int64_t>::min(), 16), "8000000000000000");
}

TEST(HexDigitCount, RoundsUpSoTheSignBitIsKept) {
    EXPECT_EQ(HexDigitCount(1), 1);
    EXPECT_EQ(HexDigitCount(4), 1);
    EXPECT_EQ(HexDigitCount(5), 2);
    EXPECT_EQ(HexDigitCount(6), 2);
    EXPECT_EQ(HexDigitCount(32), 8);
    EXPECT_EQ(HexDigitCount(33), 9);
    EXPECT_EQ(HexDigitCount(62), 16);
}

} // namespace
} // namespace korin
