// The coefficient text of the coefficient view and `show`: the writer's file in
// every format, written through a private folder that goes away again, with
// the format (its stored path included) left untouched.

#include "design/iir_filter.h"
#include "export/coefficient_text.h"
#include "export/export_test_support.h"
#include "export/iir_file_format.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tarvo {
namespace {

using fw::test::ReadText;
using fw::test::ScratchDir;
using fw::test::TempDirOverride;
using ::testing::IsEmpty;

struct FormatCase {
    const char* name;
    std::int32_t format;
    std::int32_t numeric;
    bool zerosPoles;
    bool impulse;
};

class CoefficientTextFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CoefficientTextFormats, IsTheWritersFileAndLeavesTheFormatAndTheFolderAlone) {
    const FormatCase& c = GetParam();
    CIirFilter filter = test::DesignedFilter(IirDesignSpec{});
    CIirFileFormat format;
    format.m_nFormat = c.format;
    format.m_nNumeric = c.numeric;
    format.m_bZerosPoles = c.zerosPoles ? 1 : 0;
    format.m_bImpulse = c.impulse ? 1 : 0;
    format.m_strPath = "/home/someone/stored/iir.txt";
    CIirFileFormat before;
    before.CopyFrom(format);

    // What the writer puts in a file of the same name, for comparison.
    ScratchDir reference;
    CIirFileFormat writer;
    writer.CopyFrom(format);
    fw::RecordingUi ui;
    ASSERT_TRUE(writer.WriteToPath(filter, reference.File("TarvoIIR.tmp"), false, ui));

    ScratchDir temp;
    const TempDirOverride tmpdir(temp.Path().string());
    const CoefficientTextResult shown = CoefficientText(format, filter, ui);

    EXPECT_TRUE(shown.ok);
    EXPECT_EQ(shown.text, ReadText(reference.File("TarvoIIR.tmp")));
    EXPECT_FALSE(shown.text.empty());
    EXPECT_TRUE(format.SameOptions(before));
    EXPECT_EQ(format.m_strPath, "/home/someone/stored/iir.txt");
    EXPECT_THAT(temp.Entries(), IsEmpty());
    EXPECT_THAT(ui.Messages(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, CoefficientTextFormats,
    ::testing::Values(FormatCase{"TextFloating", kFormatText, kNumericFloating, false, false},
                      FormatCase{"TextScientificRoots", kFormatText, kNumericScientific, true,
                                 true},
                      FormatCase{"C", kFormatC, kNumericFloating, true, false},
                      FormatCase{"Cpp", kFormatCpp, kNumericScientific, false, true},
                      FormatCase{"Matlab", kFormatMatlab, kNumericFloating, true, true},
                      FormatCase{"Hex", kFormatText, kNumericHex, false, false}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

TEST(CoefficientText, IsTheSameOnEveryCall) {
    CIirFilter filter = test::DesignedFilter(IirDesignSpec{});
    CIirFileFormat format;
    format.m_nFormat = kFormatC;
    fw::RecordingUi ui;
    const CoefficientTextResult first = CoefficientText(format, filter, ui);
    ASSERT_TRUE(first.ok);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CoefficientText(format, filter, ui).text, first.text);
    }
}

TEST(CoefficientText, StopsAtTheFirstZeroByte) {
    CIirFilter filter = test::DesignedFilter(IirDesignSpec{});
    CIirFileFormat format;
    format.m_nFormat = kFormatC;
    format.m_strFilterName = std::string("left\0right", 10);
    fw::RecordingUi ui;
    const CoefficientTextResult shown = CoefficientText(format, filter, ui);
    ASSERT_TRUE(shown.ok);
    EXPECT_EQ(shown.text.find('\0'), std::string::npos);
    EXPECT_EQ(shown.text.find("right"), std::string::npos);
    EXPECT_NE(shown.text.find("left"), std::string::npos);
}

struct FailureCase {
    const char* name;
    bool missingTempDir;
    bool emptyFilter;
    bool badHex;
    std::vector<std::string> messages;
};

class CoefficientTextFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CoefficientTextFailures, GiveTheFailureTextAndLeaveNothingBehind) {
    const FailureCase& c = GetParam();
    CIirFilter filter = c.emptyFilter ? CIirFilter{} : test::DesignedFilter(IirDesignSpec{});
    CIirFileFormat format;
    if (c.badHex) {
        format.m_nNumeric = kNumericHex;
        format.m_nHexIntBits = 0;
        format.m_nHexFracBits = 0;
    }
    ScratchDir temp;
    const TempDirOverride tmpdir(c.missingTempDir ? temp.File("missing") : temp.Path().string());
    fw::RecordingUi ui;

    const CoefficientTextResult shown = CoefficientText(format, filter, ui);

    EXPECT_FALSE(shown.ok);
    EXPECT_EQ(shown.text, "Temporary data file cannot be written.");
    EXPECT_THAT(temp.Entries(), IsEmpty());
    EXPECT_EQ(ui.Messages(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CoefficientTextFailures,
    ::testing::Values(FailureCase{"MissingTemporaryFolder", true, false, false, {}},
                      FailureCase{"EmptyFilter", false, true, false, {}},
                      FailureCase{
                          "RefusedHex", false, false, true, {"Hex parameters are invalid."}}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

} // namespace
} // namespace tarvo
