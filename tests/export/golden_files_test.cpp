// Whole export files compared byte for byte with the committed files under
// tests/fixtures/export/<case>/, one case per format and option group. The
// filter is the hand-built one of export_test_support.h, whose numbers are
// exact. TARVO_UPDATE_EXPORT_GOLDENS=1 rewrites the committed files from the
// writer (review every change by hand before committing it).

#include "design/iir_filter.h"
#include "export/export_test_support.h"
#include "export/iir_export_file_format.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "support/fixtures.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
    std::string name;     // folder under tests/fixtures/export
    std::string fileName; // the entry's file, in a scratch folder
    std::function<void(CIirExportFileFormat&, CIirFilter&)> setUp;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

bool UpdateGoldens() {
    const char* v = std::getenv("TARVO_UPDATE_EXPORT_GOLDENS"); // NOLINT(concurrency-mt-unsafe)
    return v != nullptr && std::string(v) == "1";
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    if (!fs::is_directory(folder)) return names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// An elliptic bandstop given by centre and width in kHz: every line of the
// specification block.
void EllipticBandstopSpec(CIirFilter& f) {
    f.spec.family = kElliptic;
    f.spec.response = kBandstop;
    f.spec.order = 2;
    f.spec.centerWidth = 1;
    f.spec.edge1 = 10.0;
    f.spec.edge2 = 2.5;
    f.spec.rippleDb = 0.5;
    f.spec.attenDb = 60.0;
    f.spec.gainDb = -6.0;
    f.fs = CFs(48.0);
    f.fs.SetUnit(1);
}

std::vector<GoldenCase> Cases() {
    std::vector<GoldenCase> cases{
        // A new entry as it comes: C++ with its header.
        {"cpp_defaults", "iir_filter.cpp", [](CIirExportFileFormat&, CIirFilter&) {}},
        {"matlab_defaults", "iir_filter.m",
         [](CIirExportFileFormat& e, CIirFilter&) { e.m_nFormat = kFormatMatlab; }},
        {"text_defaults", "iir_filter.txt",
         [](CIirExportFileFormat& e, CIirFilter&) { e.m_nFormat = kFormatText; }},
        // Complex zeros and poles in C with the user's type names and texts.
        {"zeros_poles_c", "coeffs.c",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatC;
             e.m_bZerosPoles = 1;
             e.m_bBiquads = 0;
             e.m_strFilterName = "lp_";
             e.m_cOptions.m_strRealType = "float";
             e.m_cOptions.m_strComplexType = "cfloat";
             e.m_cOptions.m_strHeaderText = "#include \"cfloat.h\"";
             e.m_cOptions.m_strSourceText = "/* low pass */";
         }},
        // The same in Text, without a filter name: "re +im j" values.
        {"zeros_poles_text", "roots.txt",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatText;
             e.m_bZerosPoles = 1;
             e.m_bBiquads = 0;
             e.m_strFilterName.clear();
             e.m_nNumeric = kNumericFloating;
         }},
        {"direct_form", "ba.m",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatMatlab;
             e.m_bDirectForm = 1;
             e.m_bBiquads = 0;
             e.m_nNumeric = kNumericFloating;
         }},
        {"responses", "responses.cpp",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_bBiquads = 0;
             e.m_bImpulse = 1;
             e.m_nImpulseLen = 8;
             e.m_bStep = 1;
             e.m_nStepLen = 8;
             e.m_nResponsesVia = kResponsesViaDirectForm;
         }},
        {"specs_c", "spec.c",
         [](CIirExportFileFormat& e, CIirFilter& f) {
             EllipticBandstopSpec(f);
             e.m_nFormat = kFormatC;
             e.m_bSpecs = 1;
             e.m_bBiquads = 0;
         }},
        {"specs_text", "spec.txt",
         [](CIirExportFileFormat& e, CIirFilter& f) {
             EllipticBandstopSpec(f);
             f.spec.family = kChebyshev;
             f.spec.response = kBandpass;
             f.spec.centerWidth = 0;
             f.spec.edge1 = 8.0;
             f.spec.edge2 = 12.25;
             e.m_nFormat = kFormatText;
             e.m_bSpecs = 1;
         }},
        {"hex_c", "hex.c",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatC;
             e.m_nNumeric = kNumericHex;
             e.m_bZerosPoles = 1;
         }},
        // 4 + 10 bits: four digits per value, the top one carrying the sign.
        {"hex_text", "hex.txt",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatText;
             e.m_nNumeric = kNumericHex;
             e.m_nHexIntBits = 4;
             e.m_nHexFracBits = 10;
             e.m_bDirectForm = 1;
         }},
        {"tabs", "tabs.cpp",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nIndentKind = kIndentTabs;
             e.m_bDirectForm = 1;
         }},
        {"no_indent", "flat.m",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatMatlab;
             e.m_nIndentKind = kIndentNone;
             e.m_bHeadings = 0;
             e.m_bZerosPoles = 1;
         }},
        {"negate", "negate.c",
         [](CIirExportFileFormat& e, CIirFilter&) {
             e.m_nFormat = kFormatC;
             e.m_nBiquadOrder = 1;
             e.m_bNegateA = 1;
         }},
    };
    for (std::int32_t order = 0; order < kBiquadOrderCount; ++order) {
        cases.push_back({"biquad_order_" + std::to_string(order), "order.m",
                         [order](CIirExportFileFormat& e, CIirFilter&) {
                             e.m_nFormat = kFormatMatlab;
                             e.m_nBiquadOrder = order;
                         }});
    }
    return cases;
}

class GoldenFiles : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFiles, MatchByteForByte) {
    const GoldenCase& c = GetParam();
    fw::test::ScratchDir dir;
    CIirFilter filter = test::TwoSectionFilter();
    CIirExportFileFormat entry(dir.Path().string());
    entry.m_strFileName = c.fileName;
    entry.m_strPath = dir.File(c.fileName);
    c.setUp(entry, filter);
    fw::RecordingUi ui;
    ASSERT_TRUE(entry.WriteFile(filter, false, ui));
    EXPECT_TRUE(ui.Calls().empty());

    const fs::path golden = test::FixturePath("export/" + c.name);
    if (UpdateGoldens()) {
        fs::remove_all(golden);
        fs::create_directories(golden);
        for (const std::string& name : dir.Entries())
            fs::copy_file(dir.Path() / name, golden / name);
        GTEST_SKIP() << "rewrote " << golden;
    }
    ASSERT_EQ(dir.Entries(), FileNames(golden)) << "files written for " << c.name;
    for (const std::string& name : dir.Entries()) {
        EXPECT_EQ(fw::test::ReadText(dir.File(name)),
                  test::ReadFixture("export/" + c.name + "/" + name))
            << c.name << "/" << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Export, GoldenFiles, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace tarvo
