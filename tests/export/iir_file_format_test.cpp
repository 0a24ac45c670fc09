// The options record: defaults, copying, the stored record, and the rules of
// the format dialogs.

#include "export/export_path.h"
#include "export/format_dialog_rules.h"
#include "export/iir_export_file_format.h"
#include "fw/archive.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

TEST(FileFormatDefaults, ViewAndExport) {
    const CIirFileFormat view;
    EXPECT_EQ(view.m_strFileName, "");
    EXPECT_EQ(view.m_strPath, "");
    EXPECT_EQ(view.m_nFormat, kFormatText);
    EXPECT_EQ(view.m_nNumeric, kNumericFloating);
    EXPECT_EQ(view.m_nHexIntBits, 8);
    EXPECT_EQ(view.m_nHexFracBits, 24);
    EXPECT_EQ(view.m_nIndentKind, kIndentSpaces);
    EXPECT_EQ(view.m_nIndentSpaces, 2);
    EXPECT_EQ(view.m_nBiquadOrder, 2);
    EXPECT_EQ(view.m_strFilterName, "iir");
    EXPECT_EQ(view.m_bHeadings, 1);
    EXPECT_EQ(view.m_bSpecs, 0);
    EXPECT_EQ(view.m_bZerosPoles, 0);
    EXPECT_EQ(view.m_bBiquads, 1);
    EXPECT_EQ(view.m_bDirectForm, 0);
    EXPECT_EQ(view.m_bImpulse, 0);
    EXPECT_EQ(view.m_nImpulseLen, 128);
    EXPECT_EQ(view.m_bStep, 0);
    EXPECT_EQ(view.m_nStepLen, 128);
    EXPECT_EQ(view.m_nResponsesVia, kResponsesViaBiquads);
    EXPECT_EQ(view.m_bNegateA, 0);
    EXPECT_EQ(view.m_cOptions.m_strRealType, "double");
    EXPECT_EQ(view.m_cOptions.m_strComplexType, "std::complex<double>");
    EXPECT_EQ(view.m_cOptions.m_strHeaderText, "");
    EXPECT_EQ(view.m_cOptions.m_strSourceText, "");

    CIirExportFileFormat entry("/home/ana/Documents");
    EXPECT_EQ(entry.m_strFileName, "iir_filter.cpp");
    EXPECT_EQ(entry.m_strPath, "/home/ana/Documents/iir_filter.cpp");
    EXPECT_EQ(entry.m_nFormat, kFormatCpp);
    EXPECT_EQ(entry.m_nNumeric, kNumericScientific);
    EXPECT_EQ(entry.m_bSetExtension, 1);
    // Everything else as in the view's record.
    CIirFileFormat expected;
    expected.m_strFileName = entry.m_strFileName;
    expected.m_strPath = entry.m_strPath;
    expected.m_nFormat = kFormatCpp;
    expected.m_nNumeric = kNumericScientific;
    EXPECT_TRUE(entry.SameOptions(expected));

    // A folder given with its separator gets no second one.
    EXPECT_EQ(CIirExportFileFormat("/data/").m_strPath, "/data/iir_filter.cpp");

    // ResetDefaults brings every field back, the extension flag included.
    entry.m_nFormat = kFormatMatlab;
    entry.m_strFilterName = "x";
    entry.m_cOptions.m_strRealType = "float";
    entry.m_bSetExtension = 0;
    entry.m_nImpulseLen = -3;
    entry.ResetDefaults();
    EXPECT_TRUE(entry.SameOptions(expected));
    EXPECT_EQ(entry.m_bSetExtension, 1);
}

TEST(FileFormatDefaults, DocumentsFolderIsHomeOrTheCurrentDirectory) {
    const char* home = std::getenv("HOME"); // NOLINT(concurrency-mt-unsafe)
    const std::string folder = DefaultDocumentsFolder();
    EXPECT_FALSE(folder.empty());
    if (home != nullptr && *home != '\0') {
        EXPECT_EQ(folder, home);
        EXPECT_EQ(CIirExportFileFormat().m_strPath, JoinPath(home, "iir_filter.cpp"));
    }
}

// Every field set away from its default.
void SetEveryField(CIirExportFileFormat& f) {
    f.m_strFileName = "band.m";
    f.m_strPath = "C:\\work\\band.m";
    f.m_nFormat = kFormatMatlab;
    f.m_nNumeric = kNumericHex;
    f.m_nHexIntBits = 4;
    f.m_nHexFracBits = 12;
    f.m_nIndentKind = kIndentTabs;
    f.m_nIndentSpaces = 7;
    f.m_nBiquadOrder = 4;
    f.m_strFilterName = "band";
    f.m_bHeadings = 0;
    f.m_bSpecs = 1;
    f.m_bZerosPoles = 1;
    f.m_bBiquads = 0;
    f.m_bDirectForm = 1;
    f.m_bImpulse = 1;
    f.m_nImpulseLen = 64;
    f.m_bStep = 1;
    f.m_nStepLen = 32;
    f.m_nResponsesVia = kResponsesViaDirectForm;
    f.m_bNegateA = 1;
    f.m_cOptions.m_strRealType = "float";
    f.m_cOptions.m_strComplexType = "cfloat";
    f.m_cOptions.m_strHeaderText = "// h";
    f.m_cOptions.m_strSourceText = "// c";
    f.m_bSetExtension = 0;
}

TEST(FileFormatCopy, CopiesEveryOption) {
    CIirExportFileFormat source("/a");
    SetEveryField(source);
    CIirExportFileFormat copy("/b");
    copy.CopyFrom(source);
    EXPECT_TRUE(copy.SameOptions(source));
    EXPECT_EQ(copy.m_bSetExtension, 0);

    // From a plain format the extension flag stays as it was.
    CIirExportFileFormat other("/b");
    CIirFileFormat plain;
    plain.CopyFrom(source);
    other.CopyFrom(plain);
    EXPECT_TRUE(other.SameOptions(source));
    EXPECT_EQ(other.m_bSetExtension, 1);

    // Each field counts in the comparison.
    CIirExportFileFormat changed("/a");
    SetEveryField(changed);
    changed.m_cOptions.m_strSourceText = "// other";
    EXPECT_FALSE(changed.SameOptions(source));
}

std::vector<std::uint8_t> Store(CIirFileFormat& f, std::int32_t version) {
    fw::Archive ar = fw::Archive::ForStoring();
    f.Serialize(ar, version);
    return ar.TakeBuffer();
}

TEST(FileFormatRecord, ViewDefaultsTake108Bytes) {
    CIirFileFormat view;
    const std::vector<std::uint8_t> bytes = Store(view, 20);
    ASSERT_EQ(bytes.size(), 108U);
    // Two empty strings, then m_nFormat 0 and m_nNumeric 1 as i32.
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1], 0);
    const std::vector<std::uint8_t> formatAndNumeric(bytes.begin() + 2, bytes.begin() + 10);
    EXPECT_EQ(formatAndNumeric, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 0, 0, 0}));
    // Filter name after the seven i32 fields: length 3, "iir".
    EXPECT_EQ(bytes[30], 3);
    EXPECT_EQ(std::string(bytes.begin() + 31, bytes.begin() + 34), "iir");
    // Version 18 lacks "Negate a1/a2".
    EXPECT_EQ(Store(view, 18).size(), 104U);
}

TEST(FileFormatRecord, RoundTripsInBothVersions) {
    CIirExportFileFormat stored("/a");
    SetEveryField(stored);
    for (const std::int32_t version : {20, 19}) {
        const std::vector<std::uint8_t> bytes = Store(stored, version);
        fw::Archive ar = fw::Archive::ForLoading(bytes);
        CIirExportFileFormat loaded("/b");
        loaded.Serialize(ar, version);
        EXPECT_EQ(ar.Remaining(), 0U);
        EXPECT_TRUE(loaded.SameOptions(stored)) << version;
        EXPECT_EQ(loaded.m_bSetExtension, 0) << version;
    }
    // An older file keeps the negate flag the entry was created with.
    const std::vector<std::uint8_t> old = Store(stored, 18);
    fw::Archive ar = fw::Archive::ForLoading(old);
    CIirExportFileFormat loaded("/b");
    loaded.Serialize(ar, 18);
    EXPECT_EQ(ar.Remaining(), 0U);
    EXPECT_EQ(loaded.m_bNegateA, 0);
    EXPECT_EQ(loaded.m_cOptions, stored.m_cOptions);
    EXPECT_EQ(loaded.m_nResponsesVia, stored.m_nResponsesVia);
}

TEST(FileFormatRecord, ShortStreamFails) {
    CIirFileFormat view;
    std::vector<std::uint8_t> bytes = Store(view, 20);
    bytes.pop_back();
    fw::Archive ar = fw::Archive::ForLoading(bytes);
    CIirFileFormat loaded;
    EXPECT_THROW(loaded.Serialize(ar, 20), fw::ArchiveError);
}

TEST(FormatDialog, OkChecksInOrder) {
    CIirExportFileFormat e("/d");
    EXPECT_EQ(CheckFormatDialog(e, true), std::nullopt);

    e.m_strFileName = "";
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a file name.");
    // The coefficient view has no file name.
    EXPECT_EQ(CheckFormatDialog(e, false), std::nullopt);
    e.m_strFileName = "sub/";
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a file name.");
    e.m_strFileName = "x.c";

    // Headings do not count as an output.
    e.m_bBiquads = 0;
    EXPECT_EQ(CheckFormatDialog(e, true), "Please select at least one data output.");
    e.m_nFormat = kFormatText;
    e.m_strFileName = "";
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a file name."); // first failure wins
    e.m_strFileName = "x.txt";

    for (std::int32_t* flag : {&e.m_bSpecs, &e.m_bZerosPoles, &e.m_bBiquads, &e.m_bDirectForm,
                               &e.m_bImpulse, &e.m_bStep}) {
        *flag = 1;
        EXPECT_EQ(CheckFormatDialog(e, true), std::nullopt);
        *flag = 0;
    }

    e.m_bImpulse = 1;
    e.m_nImpulseLen = 0;
    e.m_bStep = 1;
    e.m_nStepLen = -1;
    EXPECT_EQ(CheckFormatDialog(e, true),
              "Please enter an impulse response length greater than zero.");
    e.m_nImpulseLen = 1;
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a step response length greater than zero.");
    // A length that is not ticked is not checked.
    e.m_bStep = 0;
    EXPECT_EQ(CheckFormatDialog(e, true), std::nullopt);

    // The ranges of the numeric fields come before everything else.
    e.m_strFileName = "";
    e.m_nHexFracBits = 257;
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a number between 0 and 256.");
    e.m_nHexFracBits = 256;
    e.m_nHexIntBits = -1;
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a number between 0 and 256.");
    e.m_nHexIntBits = 0;
    e.m_nIndentSpaces = 33;
    EXPECT_EQ(CheckFormatDialog(e, true), "Please enter a number between 0 and 32.");
}

TEST(FormatDialog, FormatChangeSetsTheExtension) {
    CIirExportFileFormat e("/d");
    ChangeFileFormat(e, kFormatMatlab);
    EXPECT_EQ(e.m_nFormat, kFormatMatlab);
    EXPECT_EQ(e.m_strFileName, "iir_filter.m");
    ChangeFileFormat(e, kFormatText);
    EXPECT_EQ(e.m_strFileName, "iir_filter.txt");
    ChangeFileFormat(e, kFormatC);
    EXPECT_EQ(e.m_strFileName, "iir_filter.c");
    e.m_strFileName = "coeffs";
    ChangeFileFormat(e, kFormatCpp);
    EXPECT_EQ(e.m_strFileName, "coeffs.cpp");
    // The path follows only when the dialog closes.
    EXPECT_EQ(e.m_strPath, "/d/iir_filter.cpp");

    e.m_bSetExtension = 0;
    ChangeFileFormat(e, kFormatMatlab);
    EXPECT_EQ(e.m_nFormat, kFormatMatlab);
    EXPECT_EQ(e.m_strFileName, "coeffs.cpp");
}

TEST(FormatDialog, PathAfterTheDialog) {
    CIirExportFileFormat e("/home/ana/Documents");
    e.m_strFileName = "lowpass.m";
    ApplyFileNameToPath(e);
    EXPECT_EQ(e.m_strPath, "/home/ana/Documents/lowpass.m");

    // A path from a Windows project keeps its folder.
    e.m_strPath = "C:\\Filters\\old.cpp";
    e.m_strFileName = "new.cpp";
    ApplyFileNameToPath(e);
    EXPECT_EQ(e.m_strPath, "C:\\Filters\\new.cpp");

    e.m_strPath = "bare.txt";
    e.m_strFileName = "other.txt";
    ApplyFileNameToPath(e);
    EXPECT_EQ(e.m_strPath, "other.txt");

    ApplyBrowsedPath(e, "/tmp/out/chosen.c");
    EXPECT_EQ(e.m_strPath, "/tmp/out/chosen.c");
    EXPECT_EQ(e.m_strFileName, "chosen.c");
}

TEST(FormatDialog, EnabledControls) {
    EXPECT_FALSE(OptionsButtonEnabled(kFormatText));
    EXPECT_TRUE(OptionsButtonEnabled(kFormatC));
    EXPECT_TRUE(OptionsButtonEnabled(kFormatCpp));
    EXPECT_FALSE(OptionsButtonEnabled(kFormatMatlab));
    CIirFileFormat f;
    EXPECT_TRUE(BiquadOrderEnabled(f));
    f.m_bBiquads = 0;
    EXPECT_FALSE(BiquadOrderEnabled(f));
    EXPECT_EQ(BiquadOrdersOffered(false), 5);
    EXPECT_EQ(BiquadOrdersOffered(true), 3);
}

TEST(ExportFormatTables, NamesColumnsAndLabels) {
    const std::vector<std::string> names{"Text", "C", "C++", "Matlab"};
    const std::vector<std::string> extensions{".txt", ".c", ".cpp", ".m"};
    for (std::int32_t i = 0; i < kFormatCount; ++i) {
        EXPECT_EQ(FormatName(i), names[static_cast<std::size_t>(i)]);
        EXPECT_EQ(FormatExtension(i), extensions[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(FormatName(4), "");
    EXPECT_EQ(FormatExtension(-1), "");

    // Each label names the column it stands over.
    const char* const columnNames[] = {"B0", "B1", "B2", "A0", "A1", "A2"};
    for (std::int32_t order = 0; order < kBiquadOrderCount; ++order) {
        const auto columns = BiquadOrderColumns(order);
        const auto labels = BiquadOrderLabels(order);
        ASSERT_EQ(columns.size(), labels.size());
        std::string text;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(labels[i], columnNames[columns[i]]);
            if (i > 0) text += ", ";
            text += static_cast<char>(labels[i][0] - 'A' + 'a');
            text += labels[i][1];
        }
        EXPECT_EQ(BiquadOrderText(order), text);
    }
    EXPECT_TRUE(BiquadOrderColumns(5).empty());
}

} // namespace
} // namespace tarvo
