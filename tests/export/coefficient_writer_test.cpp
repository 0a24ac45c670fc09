#include "design/design_action.h"
// The coefficient writer: the example pair of files line by line, the rules of
// header passes, names and responses, and what a failed write leaves behind.

#include "design/iir_filter.h"
#include "export/export_test_support.h"
#include "export/iir_export_file_format.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using fw::test::ReadText;
using fw::test::ScratchDir;
using fw::test::WriteText;
using test::Printf;
using test::SplitLines;
using test::TwoSectionFilter;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// The element line of a C section row: four spaces, a space unless negative,
// the value, ", " or two spaces after the last, four spaces and the label.
std::string CElementLine(double v, bool last, const std::string& label) {
    return std::string("    ") + (v < 0 ? "" : " ") + Printf("%0.16e", v) + (last ? "  " : ", ") +
           "    // " + label;
}

std::string MatlabElementLine(double v, const std::string& label) {
    return std::string("    ") + (v < 0 ? "" : " ") + Printf("%0.16e", v) + " ..." + "     % " +
           label;
}

const std::vector<std::string> kLabels{"B0", "B1", "B2", "A0", "A1", "A2"};

std::vector<std::string> SectionLines(const CIirFilter& f, std::size_t row, bool matlab) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 6; ++i) {
        const double v = f.sos[row][i].real();
        lines.push_back(matlab ? MatlabElementLine(v, kLabels[i])
                               : CElementLine(v, i == 5, kLabels[i]));
    }
    return lines;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

TEST(CoefficientWriter, NewEntryWritesTheExampleHeaderAndSource) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    CIirExportFileFormat entry(dir.Path().string());
    ASSERT_EQ(entry.m_strPath, dir.File("iir_filter.cpp"));
    fw::RecordingUi ui;
    ASSERT_TRUE(entry.WriteFile(filter, false, ui));
    EXPECT_THAT(ui.Calls(), IsEmpty());
    EXPECT_THAT(dir.Entries(), ElementsAre("iir_filter.cpp", "iir_filter.h"));

    const std::string header = ReadText(dir.File("iir_filter.h"));
    EXPECT_THAT(SplitLines(header),
                ElementsAre("#ifndef _IIR_FILTER_H_", "#define _IIR_FILTER_H_", "",
                            "// iir_biquads", "", "#define IIR_BIQUADS_SIZE 2",
                            "extern double iir_biquads[IIR_BIQUADS_SIZE][6];",
                            "// iir_biquads gain", "", "extern double iir_biquads_g ;", "", "",
                            "#endif", ""));
    EXPECT_TRUE(header.ends_with("#endif\n\n"));

    std::vector<std::string> expected{"#include \"iir_filter.h\"",
                                      "",
                                      "// iir_biquads",
                                      "",
                                      "double iir_biquads[IIR_BIQUADS_SIZE][6] = {",
                                      "  {"};
    Append(expected, SectionLines(filter, 0, false));
    Append(expected, {"  },", "", "  {"});
    Append(expected, SectionLines(filter, 1, false));
    Append(expected, {"  }", "};", "// iir_biquads gain", "",
                      "double iir_biquads_g  =  " + Printf("%0.16e", 0.125) + ";", "", ""});
    const std::string source = ReadText(dir.File("iir_filter.cpp"));
    EXPECT_EQ(SplitLines(source), expected);
    EXPECT_TRUE(source.ends_with(";\n\n\n"));
    // The values themselves, as "%0.16e" prints them.
    EXPECT_THAT(source, HasSubstr("     2.5000000000000000e-01  "));
    EXPECT_THAT(source, HasSubstr("    -1.0000000000000000e+00, "));
}

TEST(CoefficientWriter, MatlabAndTextVariantsOfTheExample) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    CIirExportFileFormat entry(dir.Path().string());
    fw::RecordingUi ui;

    entry.m_nFormat = kFormatMatlab;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("iir_filter.m"), false, ui));
    std::vector<std::string> expected{"% iir_biquads", "", "iir_biquads = [ ...", "  [ ..."};
    Append(expected, SectionLines(filter, 0, true));
    Append(expected, {"  ];", "  [ ..."});
    Append(expected, SectionLines(filter, 1, true));
    Append(expected, {"  ]", "];", "% iir_biquads gain", "",
                      "iir_biquads_g  =  " + Printf("%0.16e", 0.125) + ";", ""});
    const std::string matlab = ReadText(dir.File("iir_filter.m"));
    EXPECT_EQ(SplitLines(matlab), expected);
    EXPECT_TRUE(matlab.ends_with(";\n\n")); // no final newline of its own

    entry.m_nFormat = kFormatText;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("iir_filter.txt"), false, ui));
    const auto text = SplitLines(ReadText(dir.File("iir_filter.txt")));
    ASSERT_GE(text.size(), 4U);
    EXPECT_EQ(text[0], "% iir biquads");
    EXPECT_EQ(text[1], "     " + Printf("%0.16e", 1.0) + "    % B0");
    EXPECT_THAT(text, ::testing::Contains("% iir biquads gain"));
    EXPECT_THAT(text, ::testing::Contains(" " + Printf("%0.16e", 0.125)));
    EXPECT_THAT(dir.Entries(), ElementsAre("iir_filter.m", "iir_filter.txt"));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(CoefficientWriter, HeaderPassRules) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());

    // C to a path that is not a source file: only that file, whose include
    // line still names the header.
    entry.m_nFormat = kFormatC;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("coeffs.txt"), false, ui));
    EXPECT_THAT(dir.Entries(), ElementsAre("coeffs.txt"));
    EXPECT_TRUE(ReadText(dir.File("coeffs.txt")).starts_with("#include \"coeffs.h\"\n\n"));

    // Written to the header's own name, the source does not include itself.
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("coeffs.h"), false, ui));
    EXPECT_THAT(dir.Entries(), ElementsAre("coeffs.h", "coeffs.txt"));
    EXPECT_THAT(ReadText(dir.File("coeffs.h")), Not(HasSubstr("#include")));
    EXPECT_THAT(ReadText(dir.File("coeffs.h")), HasSubstr("double iir_biquads["));

    // Letter case does not matter for the source extensions.
    entry.m_nFormat = kFormatCpp;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("Filter.CPP"), false, ui));
    EXPECT_TRUE(fs::exists(dir.File("Filter.h")));
    EXPECT_TRUE(ReadText(dir.File("Filter.h")).starts_with("#ifndef _FILTER_H_\n"));

    // A "." in a folder name is not an extension.
    fs::create_directory(dir.Path() / "v1.2");
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("v1.2/coeffs"), true, ui));
    EXPECT_TRUE(fs::exists(dir.File("v1.2/coeffs.h")));
    EXPECT_FALSE(fs::exists(dir.File("v1.h")));

    // A direct header pass writes only the header.
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("only.cpp"), true, ui));
    EXPECT_TRUE(fs::exists(dir.File("only.h")));
    EXPECT_FALSE(fs::exists(dir.File("only.cpp")));

    // Matlab and Text never write a header.
    entry.m_nFormat = kFormatMatlab;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("m.cpp"), false, ui));
    EXPECT_FALSE(fs::exists(dir.File("m.h")));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(CoefficientWriter, GuardAndIncludeNames) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_cOptions.m_strHeaderText = "/* generated */";
    entry.m_cOptions.m_strSourceText = "#include <complex>";

    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("low.pass.cpp"), false, ui));
    EXPECT_TRUE(
        ReadText(dir.File("low.pass.h"))
            .starts_with("/* generated */\n#ifndef _LOW_PASS_H_\n#define _LOW_PASS_H_\n\n"));
    EXPECT_TRUE(ReadText(dir.File("low.pass.cpp"))
                    .starts_with("#include <complex>\n#include \"low.pass.h\"\n\n"));

    // Characters that cannot stand in a macro name become "_" in the guard.
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("my-filter 2.cpp"), false, ui));
    EXPECT_THAT(ReadText(dir.File("my-filter 2.h")), HasSubstr("#ifndef _MY_FILTER_2_H_\n"));
    EXPECT_THAT(ReadText(dir.File("my-filter 2.cpp")), HasSubstr("#include \"my-filter 2.h\"\n"));

    // A path with a backslash (a project written on Windows) is refused as
    // stored rather than written as one odd file name.
    const std::string windows = dir.File("proj\\iir_filter.cpp");
    EXPECT_FALSE(entry.WriteToPath(filter, windows, false, ui));
    EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + windows + "\"."));
    EXPECT_FALSE(fs::exists(windows));
    EXPECT_FALSE(fs::exists(dir.File("proj\\iir_filter.h")));
}

TEST(CoefficientWriter, VariablePrefix) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_bZerosPoles = 1;
    entry.m_bDirectForm = 1;
    entry.m_bBiquads = 0;

    const auto write = [&](std::int32_t format, const std::string& name) {
        entry.m_nFormat = format;
        entry.m_strFilterName = name;
        EXPECT_TRUE(entry.WriteToPath(filter, dir.File("out.x"), false, ui));
        return ReadText(dir.File("out.x"));
    };
    std::string text = write(kFormatC, "my_");
    EXPECT_THAT(text, HasSubstr("// my_zeros\n"));
    EXPECT_THAT(text, HasSubstr(" my_zeros[MY_ZEROS_SIZE] = {"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("my__")));

    text = write(kFormatMatlab, "lp");
    EXPECT_THAT(text, HasSubstr("% lp_numerator\n\nlp_b = [ ...\n"));

    text = write(kFormatText, "iir");
    EXPECT_THAT(text, HasSubstr("% iir zeros\n"));
    EXPECT_THAT(text, HasSubstr("% iir numerator\n"));
    text = write(kFormatText, "iir ");
    EXPECT_THAT(text, HasSubstr("% iir zeros\n"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("iir  zeros")));

    // No name, no prefix: the plain names.
    text = write(kFormatC, "");
    EXPECT_THAT(text, HasSubstr("// zeros\n"));
    EXPECT_THAT(text, HasSubstr("double b[B_SIZE] = {"));
    EXPECT_THAT(text, HasSubstr("std::complex<double> poles[POLES_SIZE] = {"));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(CoefficientWriter, EmptyFilterTouchesNoFile) {
    ScratchDir dir;
    CIirFilter empty;
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    WriteText(dir.File("iir_filter.cpp"), "earlier");
    EXPECT_FALSE(entry.WriteFile(empty, false, ui));
    EXPECT_EQ(ReadText(dir.File("iir_filter.cpp")), "earlier");
    EXPECT_THAT(dir.Entries(), ElementsAre("iir_filter.cpp"));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(CoefficientWriter, EmptyVectorsWriteNothingNotEvenTheirComments) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    filter.z.clear();
    filter.p.clear();
    filter.b.clear();
    filter.a.clear();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatMatlab;
    entry.m_bZerosPoles = 1;
    entry.m_bDirectForm = 1;
    entry.m_bBiquads = 0;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("e.m"), false, ui));
    // The item's own heading stays; the empty vectors leave no trace.
    EXPECT_EQ(ReadText(dir.File("e.m")), "% Direct Form\n");
}

TEST(CoefficientWriter, FailedHeaderDoesNotStopTheSource) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    // A folder where the header should go cannot be replaced by a file.
    fs::create_directory(dir.Path() / "iir_filter.h");
    EXPECT_FALSE(entry.WriteFile(filter, false, ui));
    EXPECT_THAT(ui.Messages(),
                ElementsAre("Cannot open file \"" + dir.File("iir_filter.h") + "\"."));
    EXPECT_EQ(ui.Calls()[0].icon, fw::Icon::Error);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "iir_filter.h"));
    EXPECT_TRUE(ReadText(dir.File("iir_filter.cpp")).starts_with("#include \"iir_filter.h\""));
}

TEST(CoefficientWriter, ResponseLengths) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatMatlab;
    entry.m_bBiquads = 0;
    entry.m_bImpulse = 1;
    entry.m_bStep = 1;
    entry.m_bDirectForm = 1;
    const std::string path = dir.File("r.m");

    // Length 0 gives the response routines' 1024 samples.
    entry.m_nImpulseLen = 0;
    entry.m_nStepLen = 3;
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    std::string text = ReadText(path);
    const std::size_t impulse = text.find("iir_impulse_response = [ ...\n");
    const std::size_t step = text.find("% iir_step_response");
    ASSERT_NE(impulse, std::string::npos);
    ASSERT_NE(step, std::string::npos);
    const auto impulseLines = SplitLines(text.substr(impulse, step - impulse));
    EXPECT_EQ(impulseLines.size(), 1024U + 2U);
    EXPECT_THAT(ui.Calls(), IsEmpty());

    // A negative length is reported and only that item skipped.
    entry.m_nImpulseLen = -1;
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    text = ReadText(path);
    EXPECT_THAT(ui.Messages(), ElementsAre("Impulse response was not output due to bad length."));
    EXPECT_EQ(ui.Calls()[0].icon, fw::Icon::Error);
    EXPECT_THAT(text, ::testing::Not(HasSubstr("impulse_response")));
    EXPECT_THAT(text, HasSubstr("iir_step_response = [ ...\n"));
    EXPECT_THAT(text, HasSubstr("% iir_numerator\n\niir_b = [ ...\n"));

    ui.ClearCalls();
    entry.m_nImpulseLen = 4;
    entry.m_nStepLen = kMaxResponseLength + 1;
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    EXPECT_THAT(ui.Messages(), ElementsAre("Step response was not output due to bad length."));
    EXPECT_THAT(ReadText(path), ::testing::Not(HasSubstr("step_response")));

    // C++ reports it for the header and for the source.
    ui.ClearCalls();
    entry.m_nFormat = kFormatCpp;
    entry.m_nStepLen = -5;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("r.cpp"), false, ui));
    EXPECT_EQ(ui.Messages().size(), 2U);
    EXPECT_THAT(ReadText(dir.File("r.h")),
                HasSubstr("#define IIR_IMPULSE_RESPONSE_SIZE 4\nextern double "
                          "iir_impulse_response[IIR_IMPULSE_RESPONSE_SIZE];\n"));
}

// The value lines of a Text-format vector.
std::vector<double> TextValues(const std::string& text) {
    std::vector<double> values;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty() || line[0] == '%') continue;
        values.push_back(std::stod(line));
    }
    return values;
}

TEST(CoefficientWriter, AnOverflowingResponseIsLeftOutWithAMessage) {
    // A pole moved well outside the unit circle, as an edit could leave it.
    CIirFilter filter;
    ASSERT_TRUE(RunDesign(filter, IirDesignSpec{}, -130.0).Designed());
    filter.p[0] = filter.p[0] * (2.0 / korin::Abs(filter.p[0]));
    filter.p[1] = korin::Conj(filter.p[0]);
    filter.RebuildFromRoots();

    ScratchDir dir;
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatC;
    entry.m_bImpulse = 1;
    entry.m_nImpulseLen = kMaxResponseLength;
    entry.m_bStep = 1;
    entry.m_nStepLen = 8;
    const std::string path = dir.File("unstable.c");
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Impulse response was not output: the filter "
                                                      "is unstable and its response overflows."});
    const std::string text = ReadText(path);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("impulse_response"), std::string::npos);
    EXPECT_NE(text.find("step_response"), std::string::npos);
}

TEST(CoefficientWriter, ResponsesViaDirectFormAndTheFilterChoiceRestored) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    // Sections at twice the gain of the direct form tell the two sources apart.
    filter.sos.gain = 0.25;
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatText;
    entry.m_bBiquads = 0;
    entry.m_bImpulse = 1;
    entry.m_nImpulseLen = 6;
    const std::string path = dir.File("r.txt");

    for (const bool filterUsesSos : {true, false}) {
        filter.useSos = filterUsesSos;
        entry.m_nResponsesVia = kResponsesViaDirectForm;
        ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
        EXPECT_EQ(filter.useSos, filterUsesSos);
        const std::vector<double> direct = TextValues(ReadText(path));

        entry.m_nResponsesVia = kResponsesViaBiquads;
        ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
        EXPECT_EQ(filter.useSos, filterUsesSos);
        const std::vector<double> sections = TextValues(ReadText(path));

        // h[0] = b0 / a0 of each source: 0.125 through the direct form, 0.25
        // through the sections.
        ASSERT_EQ(direct.size(), 6U);
        ASSERT_EQ(sections.size(), 6U);
        EXPECT_EQ(direct[0], 0.125);
        EXPECT_EQ(sections[0], 0.25);
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(sections[i], 2 * direct[i]) << i;
    }
}

TEST(CoefficientWriter, HexValues) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nNumeric = kNumericHex;
    entry.m_nFormat = kFormatC;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("h.c"), false, ui));
    const std::string c = ReadText(dir.File("h.c"));
    // 1.0 with 24 fraction bits is 2^24; -1.0 its two's complement in 32 bits.
    EXPECT_THAT(c, HasSubstr("\n    0x01000000,     // B0\n"));
    EXPECT_THAT(c, HasSubstr("\n    0xFF000000,     // A1\n"));
    EXPECT_THAT(c, HasSubstr("iir_biquads_g  = 0x00200000;\n"));

    entry.m_nFormat = kFormatText;
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("h.txt"), false, ui));
    EXPECT_THAT(ReadText(dir.File("h.txt")), HasSubstr("\n    01000000    % B0\n"));
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST(CoefficientWriter, RefusedHexParametersLeaveTheFilesAlone) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nNumeric = kNumericHex;
    entry.m_nHexIntBits = 32;
    entry.m_nHexFracBits = 31;
    WriteText(dir.File("iir_filter.cpp"), "earlier source");
    EXPECT_FALSE(entry.WriteFile(filter, false, ui));
    // One refusal for the header, one for the source; neither file appears or changes.
    EXPECT_THAT(ui.Messages(),
                ElementsAre("Hex parameters are invalid.", "Hex parameters are invalid."));
    EXPECT_EQ(ui.Calls()[0].icon, fw::Icon::Error);
    EXPECT_EQ(ReadText(dir.File("iir_filter.cpp")), "earlier source");
    EXPECT_THAT(dir.Entries(), ElementsAre("iir_filter.cpp"));

    for (const auto& [intBits, fracBits] : {std::pair{0, 0}, std::pair{-1, 8}, std::pair{8, -1}}) {
        ui.ClearCalls();
        entry.m_nHexIntBits = intBits;
        entry.m_nHexFracBits = fracBits;
        entry.m_nFormat = kFormatText;
        EXPECT_FALSE(entry.WriteToPath(filter, dir.File("x.txt"), false, ui));
        EXPECT_THAT(ui.Messages(), ElementsAre("Hex parameters are invalid."));
        EXPECT_FALSE(fs::exists(dir.File("x.txt")));
    }
}

TEST(CoefficientWriter, UnwritableFolderKeepsTheEarlierFile) {
    ScratchDir dir;
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "out.m").string();
    WriteText(path, "earlier export");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    fw::test::WithoutPermissionOverride asUser;
    if (!fw::test::PermissionsEnforced()) GTEST_SKIP() << "this process ignores permissions";

    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatMatlab;
    EXPECT_FALSE(entry.WriteToPath(filter, path, false, ui));
    EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + path + "\"."));
    EXPECT_EQ(ReadText(path), "earlier export");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(CoefficientWriter, AFileThatWouldNotChangeIsNotReplaced) {
    ScratchDir dir;
    const std::string path = dir.File("out.m");
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatMatlab;
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    const auto inode = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        return st.st_ino;
    };
    const auto first = inode();
    const std::string text = ReadText(path);
    // The same text again leaves the file in place; a change replaces it.
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    EXPECT_EQ(inode(), first);
    filter.ScaleGain(2.0);
    ASSERT_TRUE(entry.WriteToPath(filter, path, false, ui));
    EXPECT_NE(inode(), first);
    EXPECT_NE(ReadText(path), text);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(CoefficientWriter, FullDiskKeepsTheEarlierFile) {
    ScratchDir dir;
    const std::string path = dir.File("big.txt");
    WriteText(path, "earlier export");
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = kFormatText;
    entry.m_bImpulse = 1;
    entry.m_nImpulseLen = 20000; // about half a megabyte of text
    bool written = true;
    {
        // Writes beyond 64 KiB fail as they do on a full file system.
        fw::test::FileSizeLimit limit(65536);
        written = entry.WriteToPath(filter, path, false, ui);
    }
    EXPECT_FALSE(written);
    EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + path + "\"."));
    EXPECT_EQ(ReadText(path), "earlier export");
    EXPECT_THAT(dir.Entries(), ElementsAre("big.txt"));
}

TEST(CoefficientWriter, SpecificationBlockInHeaderAndSource) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_bSpecs = 1;
    entry.m_bBiquads = 0;
    ASSERT_TRUE(entry.WriteFile(filter, false, ui));
    const std::string block = "// Specification\n// Fs = 1 Hz\n// Order = 4\n";
    EXPECT_THAT(ReadText(dir.File("iir_filter.h")), HasSubstr("\n\n" + block));
    EXPECT_THAT(ReadText(dir.File("iir_filter.cpp")), HasSubstr("\n\n" + block));

    // Without headings the block stays, only its title goes.
    entry.m_bHeadings = 0;
    ASSERT_TRUE(entry.WriteFile(filter, false, ui));
    EXPECT_TRUE(ReadText(dir.File("iir_filter.cpp"))
                    .starts_with("#include \"iir_filter.h\"\n\n// Fs = 1 Hz\n"));
}

TEST(CoefficientWriter, WriteToPathKeepsThePath) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirFileFormat view; // the coefficient view's format: Text, floating point
    ASSERT_TRUE(view.WriteToPath(filter, dir.File("view.tmp"), false, ui));
    EXPECT_EQ(view.m_strPath, dir.File("view.tmp"));
    EXPECT_THAT(ReadText(dir.File("view.tmp")),
                HasSubstr("\n     1.00000000000000000000    % B0\n"));
}

TEST(CoefficientWriter, DamagedOptionsFallBack) {
    ScratchDir dir;
    CIirFilter filter = TwoSectionFilter();
    fw::RecordingUi ui;
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_nFormat = 7;             // plain text
    entry.m_nBiquadOrder = 9;        // all six columns
    entry.m_nIndentSpaces = 1000000; // at most 32
    ASSERT_TRUE(entry.WriteToPath(filter, dir.File("d.txt"), false, ui));
    const auto lines = SplitLines(ReadText(dir.File("d.txt")));
    ASSERT_GE(lines.size(), 7U);
    EXPECT_EQ(lines[0], "% iir biquads");
    EXPECT_EQ(lines[6], std::string(64, ' ') + " " + Printf("%0.16e", 0.25) + "    % A2");
}

} // namespace
} // namespace tarvo
