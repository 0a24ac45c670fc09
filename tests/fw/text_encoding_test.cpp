#include "fw/text_encoding.h"
#include "support/fixtures.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace fw {
namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

TEST(Windows1252, EveryByteMatchesPythonsCodec) {
    std::istringstream table(tarvo::test::ReadFixture("fw/cp1252.txt"));
    std::string line;
    int rows = 0;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const int byte = std::stoi(line.substr(0, 2), nullptr, 16);
        const std::string expected = line.substr(3);
        const std::string got = Windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
        SCOPED_TRACE(line);
        if (expected == "undefined") {
            // Kept as the C1 control of the same value.
            std::string c1;
            AppendUtf8(c1, static_cast<char32_t>(byte));
            EXPECT_EQ(got, c1);
        } else {
            EXPECT_EQ(got, FromHex(expected));
        }
        ++rows;
    }
    EXPECT_EQ(rows, 256);
}

TEST(Utf8Validity, AgreesWithAStrictDecoder) {
    std::istringstream cases(tarvo::test::ReadFixture("fw/utf8_validity.txt"));
    std::string line;
    int rows = 0;
    while (std::getline(cases, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto space = line.find(' ');
        const std::string bytes = FromHex(line.substr(0, space));
        const bool valid = line.substr(space + 1) == "1";
        EXPECT_EQ(IsValidUtf8(bytes), valid) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 2000);
}

TEST(Utf8Validity, RefusesTheClassicMalformations) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong, three bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate U+D800
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));          // Latin-1 byte
}

TEST(NarrowText, ValidUtf8StaysOtherwiseWindows1252) {
    EXPECT_EQ(NarrowToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(NarrowToUtf8("caf\xE9"), "caf\xC3\xA9");
    // One stray byte decides for the whole text: "Ã©" stays two characters.
    EXPECT_EQ(NarrowToUtf8("\xC3\xA9\x80"), "\xC3\x83\xC2\xA9\xE2\x82\xAC");
}

TEST(Utf16Text, PairsCombineAndLoneSurrogatesAreReplaced) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"A\u00E9\u20AC")), "A\xC3\xA9\xE2\x82\xAC");
    const std::u16string pair = {0xD83D, 0xDE00};
    EXPECT_EQ(Utf16ToUtf8(pair), "\xF0\x9F\x98\x80");
    const std::u16string reversed = {0xDE00, 0xD83D};
    EXPECT_EQ(Utf16ToUtf8(reversed), "\xEF\xBF\xBD\xEF\xBF\xBD");
    const std::u16string highAtEnd = {u'x', 0xD800};
    EXPECT_EQ(Utf16ToUtf8(highAtEnd), "x\xEF\xBF\xBD");
    const std::vector<std::uint8_t> odd = {'o', 0, 'k', 0, 0x41};
    EXPECT_EQ(Utf16LeBytesToUtf8(odd), "ok\xEF\xBF\xBD");
}

} // namespace
} // namespace fw
