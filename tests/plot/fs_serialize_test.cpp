#include "fw/archive.h"
#include "plot/fs.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tarvo {
namespace {

std::vector<std::uint8_t> Stored(CFs fs) {
    fw::Archive ar = fw::Archive::ForStoring();
    fs.Serialize(ar, 20);
    return ar.TakeBuffer();
}

CFs Loaded(const std::vector<std::uint8_t>& bytes, int version, std::size_t* left = nullptr) {
    CFs fs(99.0);
    fs.SetUnit(3);
    fw::Archive ar = fw::Archive::ForLoading(bytes);
    fs.Serialize(ar, version);
    if (left != nullptr) *left = ar.Remaining();
    return fs;
}

TEST(CFsSerialize, StoresADoubleAndTheUnitPair) {
    CFs fs(44.1);
    fs.SetUnit(1);
    const std::vector<std::uint8_t> bytes = Stored(fs);
    // 8 bytes of value, one length byte, "kHz,ms".
    ASSERT_EQ(bytes.size(), 15u);
    fw::Archive ar = fw::Archive::ForLoading(bytes);
    EXPECT_EQ(ar.ReadF64(), 44.1);
    EXPECT_EQ(ar.ReadString(), "kHz,ms");

    const CFs back = Loaded(bytes, 20);
    EXPECT_EQ(back.GetValue(), 44.1);
    EXPECT_EQ(back.GetUnit(), 1);
}

TEST(CFsSerialize, OlderFilesHoldAFloatAndStoringAlwaysWritesADouble) {
    fw::Archive old = fw::Archive::ForStoring();
    old.WriteF32(48.0F);
    old.WriteString("MHz,us");
    std::size_t left = 1;
    const CFs fs = Loaded(old.Buffer(), 19, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(fs.GetValue(), 48.0);
    EXPECT_EQ(fs.GetUnit(), 2);
    EXPECT_EQ(Stored(fs).size(), 15u);

    // Version 20 reads eight bytes even where a float stands.
    EXPECT_THROW(Loaded(old.Buffer(), 20), fw::ArchiveError);
}

TEST(CFsSerialize, UnitTextsMatchWithoutCaseAndUnknownOnesLoadAsHertz) {
    for (const auto& [text, unit] : std::vector<std::pair<const char*, int>>{
             {"ghz,NS", 3}, {"kHz", 1}, {"Hertz,sec", 0}, {"", 0}, {",kHz", 0}}) {
        fw::Archive ar = fw::Archive::ForStoring();
        ar.WriteF64(2.5);
        ar.WriteString(text);
        const CFs fs = Loaded(ar.Buffer(), 20);
        EXPECT_EQ(fs.GetUnit(), unit) << text;
        EXPECT_EQ(fs.GetValue(), 2.5);
    }
}

TEST(CFsSerialize, ARateThatIsNotAPositiveNumberIsRefusedAsDamaged) {
    for (const double bad : {0.0, -48.0, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()}) {
        fw::Archive ar = fw::Archive::ForStoring();
        ar.WriteF64(bad);
        ar.WriteString("Hz,sec");
        EXPECT_THROW(Loaded(ar.Buffer(), 20), fw::ArchiveError) << bad;
    }
}

} // namespace
} // namespace tarvo
