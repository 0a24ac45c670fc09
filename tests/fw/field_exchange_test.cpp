#include "fw/field_exchange.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace fw {
namespace {

constexpr const char* kNumber = kEnterNumberMessage;

TEST(ReadDoubleField, TakesFiniteCLocaleNumbersOnly) {
    const struct {
        const char* text;
        double value;
    } taken[] = {{"1.5", 1.5},
                 {" 1.5 ", 1.5},
                 {"\t-2.25\n", -2.25},
                 {"+3", 3.0},
                 {"1e3", 1000.0},
                 {"-.5e-3", -0.0005},
                 {"5.", 5.0},
                 {"-0", -0.0},
                 {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()}};
    for (const auto& row : taken) {
        SCOPED_TRACE(std::string("text \"") + row.text + "\"");
        const FieldValue<double> field = ReadDoubleField(row.text);
        ASSERT_TRUE(field.Ok()) << field.message;
        EXPECT_EQ(*field.value, row.value);
        EXPECT_EQ(std::signbit(*field.value), std::signbit(row.value));
        EXPECT_EQ(field.message, "");
    }
    for (const char* text :
         {"abc", "", "   ", "1,5", "1.5x", "1 5", "nan", "NaN", "inf", "-infinity", "1e999",
          "-1e999", "0x10", "0x1p3", "+-1", "++1", "+", "-", "1e"}) {
        SCOPED_TRACE(std::string("text \"") + text + "\"");
        const FieldValue<double> field = ReadDoubleField(text);
        EXPECT_FALSE(field.Ok());
        EXPECT_EQ(field.message, kNumber);
    }
}

TEST(ReadDoubleField, RangeIncludesItsBoundsAndNamesThemInTheMessage) {
    const std::string range = "Please enter a number between -300 and 0.";
    const struct {
        const char* text;
        std::optional<double> value;
        const char* message;
    } rows[] = {{"-300", -300.0, ""},       {"0", 0.0, ""},
                {"-130.5", -130.5, ""},     {"-300.5", {}, range.c_str()},
                {"0.1", {}, range.c_str()}, {"1e999", {}, kNumber},
                {"nan", {}, kNumber},       {"x", {}, kNumber}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const FieldValue<double> field = ReadDoubleField(row.text, -300.0, 0.0);
        EXPECT_EQ(field.value, row.value);
        EXPECT_EQ(field.message, row.message);
    }
    EXPECT_EQ(RangeMessage(0.5, 1e-7), "Please enter a number between 0.5 and 1e-07.");
}

TEST(ReadIntegerField, RefusesWhatTheFieldCannotHold) {
    const std::string range = "Please enter a number between 0 and 1000000.";
    const struct {
        const char* text;
        std::optional<std::int64_t> value;
        std::string message;
    } rows[] = {{"0", 0, ""},
                {" 1000000 ", 1000000, ""},
                {"+42", 42, ""},
                {"-0", 0, ""},
                {"1000001", {}, range},
                {"-1", {}, range},
                // Numbers the field cannot hold, as opposed to text that is none.
                {"2.5", {}, range},
                {"1e3", {}, range},
                {"99999999999999999999", {}, range},
                {"abc", {}, kNumber},
                {"", {}, kNumber},
                {"0x10", {}, kNumber},
                {"nan", {}, kNumber},
                {"+-1", {}, kNumber}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const FieldValue<std::int64_t> field = ReadIntegerField(row.text, 0, 1000000);
        EXPECT_EQ(field.value, row.value);
        EXPECT_EQ(field.message, row.message);
    }
    const auto wide = ReadIntegerField("-9223372036854775808", INT64_MIN, INT64_MAX);
    EXPECT_EQ(wide.value, INT64_MIN);
}

TEST(FormatShortest, ReadsBackToTheSameValue) {
    const struct {
        double value;
        const char* text; // nullptr: only the round trip is checked
    } rows[] = {{0.1, "0.1"},         {1e-7, "1e-07"},
                {-130.0, "-130"},     {0.0, "0"},
                {1.0 / 3.0, nullptr}, {DBL_MAX, nullptr},
                {-DBL_MAX, nullptr},  {std::numeric_limits<double>::denorm_min(), nullptr},
                {DBL_MIN, nullptr},   {48000.0, "48000"}};
    for (const auto& row : rows) {
        const std::string text = FormatShortest(row.value);
        SCOPED_TRACE(text);
        if (row.text != nullptr) {
            EXPECT_EQ(text, row.text);
        }
        const FieldValue<double> back = ReadDoubleField(text);
        ASSERT_TRUE(back.Ok());
        EXPECT_EQ(*back.value, row.value);
    }
    EXPECT_EQ(FormatShortest(std::nan("")), "nan");
    EXPECT_EQ(FormatShortest(-std::numeric_limits<double>::infinity()), "-inf");
}

// The program may run with a locale whose decimal separator is a comma; the
// fields still take and show the point.
TEST(FieldExchange, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE.utf8") == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const FieldValue<double> point = ReadDoubleField("1.5");
    const FieldValue<double> comma = ReadDoubleField("1,5");
    const std::string shown = FormatShortest(-130.25);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(point.value, 1.5);
    EXPECT_FALSE(comma.Ok());
    EXPECT_EQ(shown, "-130.25");
}

} // namespace
} // namespace fw
