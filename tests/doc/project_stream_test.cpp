#include "byte_builder.h"
#include "doc/app_options.h"
#include "doc/tarvo_iir_doc.h"
#include "file_bytes.h"
#include "fw/archive.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "project_helpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace tarvo {
namespace {

using test::ByteBuilder;
using test::StreamOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The filter section of a project that was never designed (k as constructed).
void EmptyFilterSection(ByteBuilder& b, double k, bool floatFs) {
    b.I32(0).I32(0).I32(0).I32(0).F64(k).I32(0).F64(1.0);
    if (floatFs) {
        b.F32(1.0F);
    } else {
        b.F64(1.0);
    }
    b.Str("Hz,sec");
    b.I32(4).I32(0).I32(0).I32(0).I32(2).I32(30);
    b.F64(0.2).F64(0.3).F64(1.0).F64(80.0).F64(0.0).I32(0).I32(0).I32(1);
}

void DefaultLayoutSection(ByteBuilder& b) {
    b.I32(1).I32(5).I32(6).I32(0).I32(1).I32(2).I32(9);
}

TEST(ProjectStream, ANewProjectIs281BytesSectionBySection) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    const std::vector<std::uint8_t> stream = StreamOf(doc);

    ByteBuilder header, filter, format, exports, rest, layout;
    header.U16(0x4014);
    EmptyFilterSection(filter, doc.GetFilter().k, false);
    test::ViewDefaultsRecord(format);
    exports.I32(0);
    rest.F64(-130.0).I32(128);
    DefaultLayoutSection(layout);
    EXPECT_EQ(header.Size(), 2u);
    EXPECT_EQ(filter.Size(), 127u);
    EXPECT_EQ(format.Size(), 108u);
    EXPECT_EQ(layout.Size(), 28u);

    ASSERT_EQ(stream.size(), 281u);
    std::size_t at = 0;
    for (const ByteBuilder* section : {&header, &filter, &format, &exports, &rest, &layout}) {
        const std::vector<std::uint8_t> part(stream.begin() + static_cast<std::ptrdiff_t>(at),
                                             stream.begin() +
                                                 static_cast<std::ptrdiff_t>(at + section->Size()));
        EXPECT_EQ(part, section->Bytes()) << "section at byte " << at;
        at += section->Size();
    }
    EXPECT_EQ(doc.GetFileVersion(), 20);
}

TEST(ProjectStream, ANewProjectTakesItsMinimumDbAndLayoutFromTheSettings) {
    fw::RecordingUi ui;
    AppOptions options;
    options.m_dMinDb = -100.0;
    options.m_vsRight3 = 7;
    ProjectContext context;
    context.options = &options;
    CTarvoIirDoc doc(ui, context);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetMinDb(), -100.0);
    const std::vector<std::uint8_t> stream = StreamOf(doc);
    ASSERT_EQ(stream.size(), 281u);
    fw::Archive ar = fw::Archive::ForLoading(stream);
    std::vector<std::uint8_t> skip = ar.ReadBytes(2 + 127 + 108 + 4);
    EXPECT_EQ(ar.ReadF64(), -100.0);
    EXPECT_EQ(ar.ReadI32(), 128);
    EXPECT_EQ(ar.ReadI32(), 1);
    EXPECT_EQ(ar.ReadI32(), 5);
    ar.ReadBytes(16);
    EXPECT_EQ(ar.ReadI32(), 7);
}

ProjectContext InFolder(const std::string& folder) {
    ProjectContext c;
    c.documentsFolder = folder;
    return c;
}

// A project of every kind of content, saved and opened again.
class DesignedProject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.GetFilter().fs = CFs(96.0);
        doc.GetFilter().fs.SetUnit(1);
        IirDesignSpec form;
        form.family = kElliptic;
        form.response = kBandpass;
        form.order = 6;
        form.edge1 = 10.0;
        form.edge2 = 14.5;
        form.rippleDb = 0.5;
        form.attenDb = 70.0;
        form.gainDb = 2.0;
        form.dataType = kSingle;
        ASSERT_TRUE(test::DesignAsTheForm(doc, form));
        doc.GetFormat().m_nFormat = 3;
        doc.GetFormat().m_strFilterName = "bp";
        auto entry = std::make_unique<CIirExportFileFormat>(dir.Path().string());
        entry->m_strPath = dir.File("bp.m");
        entry->m_strFileName = "bp.m";
        entry->m_nFormat = 3;
        doc.GetExportFiles().m_list.Append(std::move(entry));
        doc.SetTimeResponseLength(300);
    }

    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui, InFolder(dir.Path().string())};
};

TEST_F(DesignedProject, OpenThenSaveGivesTheSameBytes) {
    const std::string first = dir.File("first.tvp");
    const std::string second = dir.File("second.tvp");
    ASSERT_TRUE(doc.OnSaveDocument(first));
    const std::vector<std::uint8_t> saved = test::ReadBytes(first);
    EXPECT_EQ(saved, StreamOf(doc));

    CTarvoIirDoc opened(ui, InFolder(dir.Path().string()));
    ASSERT_TRUE(opened.OnOpenDocument(first));
    EXPECT_FALSE(opened.IsModified());
    ASSERT_TRUE(opened.OnSaveDocument(second));
    EXPECT_EQ(test::ReadBytes(second), saved);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DesignedProject, LoadingRestoresEveryStoredMemberAndTheReference) {
    const std::vector<std::uint8_t> stream = StreamOf(doc);
    CTarvoIirDoc loaded(ui);
    fw::Archive ar = fw::Archive::ForLoading(stream);
    loaded.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);

    const CIirFilter& a = doc.GetFilter();
    const CIirFilter& b = loaded.GetFilter();
    EXPECT_EQ(b.p, a.p);
    EXPECT_EQ(b.spec, a.spec);
    EXPECT_EQ(b.fs.GetHz(), 96000.0);
    EXPECT_EQ(loaded.GetFormat().m_strFilterName, "bp");
    ASSERT_EQ(loaded.GetExportFiles().m_list.Size(), 1u);
    EXPECT_EQ(loaded.GetExportFiles().m_list.At(0).m_strPath, dir.File("bp.m"));
    EXPECT_EQ(loaded.GetTimeResponseLength(), 300);
    // The gain reference is measured from the loaded design: the band centre
    // at the magnitude the design has there.
    EXPECT_NEAR(b.normFreq, (10.0 + 14.5) / 2.0 / 96.0, 1e-15);
    EXPECT_NEAR(b.normMag, b.MagnitudeAt(b.normFreq), 1e-15);
    EXPECT_NEAR(b.normMag, a.MagnitudeAt(a.normFreq), 1e-12);
}

TEST_F(DesignedProject, EveryShorterStreamFailsWithAnArchiveError) {
    const std::vector<std::uint8_t> stream = StreamOf(doc);
    // The design's small coefficients need the exact-value block after the
    // project; cut inside it, the project itself is still complete.
    const std::array<std::uint8_t, 4> tag{'T', 'V', 'P', 'X'};
    const auto block = std::find_end(stream.begin(), stream.end(), tag.begin(), tag.end());
    ASSERT_NE(block, stream.end());
    const auto projectEnd = static_cast<std::size_t>(block - stream.begin());
    for (std::size_t n = 0; n < stream.size(); ++n) {
        fw::RecordingUi quiet;
        CTarvoIirDoc loaded(quiet);
        const std::vector<std::uint8_t> prefix(stream.begin(),
                                               stream.begin() + static_cast<std::ptrdiff_t>(n));
        fw::Archive ar = fw::Archive::ForLoading(prefix);
        if (n < projectEnd) {
            EXPECT_THROW(loaded.Serialize(ar), fw::ArchiveError) << n;
        } else {
            EXPECT_NO_THROW(loaded.Serialize(ar)) << n;
            EXPECT_EQ(loaded.GetFilter().spec, doc.GetFilter().spec);
        }
    }
}

std::vector<fw::Icon> MessageIcons(const fw::RecordingUi& ui) {
    std::vector<fw::Icon> icons;
    for (const auto& c : ui.Calls()) {
        if (c.kind == fw::RecordingUi::Call::Kind::Message) icons.push_back(c.icon);
    }
    return icons;
}

// A hand-built file of an older or newer version with one export entry.
std::vector<std::uint8_t> VersionedFile(std::uint8_t version) {
    ByteBuilder b;
    b.U16(static_cast<std::uint16_t>(0x4000 | version));
    b.I32(1).Cplx(0.5, 0.0).I32(2).Cplx(1.0, 0.0).Cplx(-0.25, 0.0); // b, a
    b.I32(1).Cplx(-1.0, 0.0).I32(1).Cplx(0.25, 0.0);                // z, p
    b.F64(0.5).I32(0).F64(0.5);                                     // k, no sections
    if (version < 20) {
        b.F32(8.0F);
    } else {
        b.F64(8.0);
    }
    b.Str("kHz,ms");
    b.I32(1).I32(0).I32(1).I32(0).I32(2).I32(30);
    b.F64(1.0).F64(2.0).F64(1.0).F64(80.0).F64(0.0).I32(0).I32(0).I32(0);
    test::ViewDefaultsRecord(b);
    if (version < 19) {
        // The view record of an old file has no "Negate a1/a2" either.
        std::vector<std::uint8_t> bytes = b.Bytes();
        b = ByteBuilder();
        // Drop the i32 0 of field 21, which precedes the 30 bytes of the four
        // C/C++ strings of the view record.
        const std::size_t cut = bytes.size() - 30 - 4;
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(cut),
                    bytes.begin() + static_cast<std::ptrdiff_t>(cut + 4));
        b.Append(bytes);
    }
    b.I32(1);
    test::SampleEntryRecord(b, version >= 19);
    b.F64(-90.0).I32(64);
    b.I32(2).I32(5).I32(1).I32(2).I32(3).I32(4).I32(5).I32(2).I32(7).I32(8);
    return b.Bytes();
}

TEST(ProjectVersions, Version18ReadsWithoutNegateAndWithAFloatFrequency) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string path = dir.File("old.tvp");
    test::WriteBytes(path, VersionedFile(18));
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(doc.GetFileVersion(), 20); // the first undo entry has been stored
    EXPECT_FALSE(doc.IsModified());
    EXPECT_THAT(ui.Messages(),
                ElementsAre("This Project file was created by a previous version of\n"
                            "this program. It will be saved in the current file format."));
    EXPECT_EQ(MessageIcons(ui), std::vector<fw::Icon>{fw::Icon::Information});

    const CIirFilter& f = doc.GetFilter();
    EXPECT_EQ(f.fs.GetValue(), 8.0);
    EXPECT_EQ(f.fs.GetUnit(), 1);
    EXPECT_EQ(f.k, 0.5);
    ASSERT_EQ(doc.GetExportFiles().m_list.Size(), 1u);
    const CIirExportFileFormat& e = doc.GetExportFiles().m_list.At(0);
    EXPECT_EQ(e.m_strPath, "/tmp/tarvo-sample/out.m");
    EXPECT_EQ(e.m_nStepLen, 32);
    EXPECT_EQ(e.m_bNegateA, 0);
    EXPECT_EQ(e.m_cOptions.m_strSourceText, "// source");
    EXPECT_EQ(e.m_bSetExtension, 0);
    EXPECT_EQ(doc.GetMinDb(), -90.0);
    EXPECT_EQ(doc.GetTimeResponseLength(), 64);
    EXPECT_EQ(doc.GetLayoutCount(), 2);
    EXPECT_EQ(doc.GetLayout(1).PaneCount(), 2);
    EXPECT_EQ(doc.GetLayout(1).PaneKind(1), 8);
}

TEST(ProjectVersions, Version19HasNegateAndAFloatFrequency) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string path = dir.File("v19.tvp");
    test::WriteBytes(path, VersionedFile(19));
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("previous version")));
    EXPECT_EQ(doc.GetFilter().fs.GetValue(), 8.0);
    EXPECT_EQ(doc.GetExportFiles().m_list.At(0).m_bNegateA, 1);
}

TEST(ProjectVersions, Version21IsReadWithTheCurrentLayoutAfterItsMessage) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string path = dir.File("v21.tvp");
    test::WriteBytes(path, VersionedFile(21));
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ASSERT_THAT(ui.Messages(), ElementsAre(HasSubstr("newer version")));
    EXPECT_EQ(MessageIcons(ui), std::vector<fw::Icon>{fw::Icon::Stop});
    EXPECT_EQ(doc.GetExportFiles().m_list.At(0).m_bNegateA, 1);
    EXPECT_EQ(doc.GetLayout(1).PaneKind(0), 7);
}

TEST(ProjectVersions, ASavedVersion18FileBecomesVersion20WithBothFields) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string path = dir.File("old.tvp");
    test::WriteBytes(path, VersionedFile(18));
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ASSERT_TRUE(doc.OnSaveDocument(path));

    // The same project as version 20 writes it: the entry's "Negate a1/a2" at
    // its default (0), the view record's as well, the frequency as a double.
    std::vector<std::uint8_t> expected = VersionedFile(20);
    std::vector<std::uint8_t> entry19;
    {
        ByteBuilder e;
        test::SampleEntryRecord(e, true);
        entry19 = e.Bytes();
    }
    const auto where =
        std::search(expected.begin(), expected.end(), entry19.begin(), entry19.end());
    ASSERT_NE(where, expected.end());
    // Field 21 of the entry stands 4 + 36 + 4 bytes before its end.
    const std::size_t negateAt = static_cast<std::size_t>(where - expected.begin()) +
                                 entry19.size() - 4 - 4 - (6 + 20 + 10 + 10);
    ASSERT_EQ(expected[negateAt], 1);
    expected[negateAt] = 0;
    EXPECT_EQ(test::ReadBytes(path), expected);
}

TEST(ProjectStrings, NarrowTextThatIsNotUtf8IsReadAsWindows1252) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    doc.GetFormat().m_strFilterName = "x";
    std::vector<std::uint8_t> stream = StreamOf(doc);
    // The view record's filter name "x" becomes the byte 0xE9 ("e" acute in
    // Windows-1252, not UTF-8 on its own).
    const std::size_t at = 2 + 127 + 2 + 28 + 1;
    ASSERT_EQ(stream[at], 'x');
    stream[at] = 0xE9;
    CTarvoIirDoc loaded(ui);
    fw::Archive ar = fw::Archive::ForLoading(stream);
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.GetFormat().m_strFilterName, "\xC3\xA9");
    // And it is written back as UTF-8.
    EXPECT_EQ(StreamOf(loaded).size(), stream.size() + 1);
}

// Stream positions of a new project: the counts that follow the format record.
constexpr std::size_t kExportCountAt = 2 + 127 + 108;
constexpr std::size_t kTimeLengthAt = kExportCountAt + 4 + 8;
constexpr std::size_t kLayoutAt = kTimeLengthAt + 4;

void Poke(std::vector<std::uint8_t>& s, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

TEST(ProjectBounds, AbsurdCountsFailTheLoad) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    const std::vector<std::uint8_t> good = StreamOf(doc);
    struct Case {
        const char* what;
        std::size_t at;
        std::int32_t value;
    };
    for (const Case& c :
         {Case{"negative numerator", 2, -1}, Case{"huge numerator", 2, 1 << 30},
          Case{"negative export count", kExportCountAt, -3},
          Case{"export count beyond the data", kExportCountAt, 100000},
          Case{"negative time length", kTimeLengthAt, -1},
          Case{"absurd time length", kTimeLengthAt, 2000000000},
          Case{"nine layout records", kLayoutAt, 9}, Case{"negative layout count", kLayoutAt, -1},
          Case{"nine panes", kLayoutAt + 4, 9}}) {
        std::vector<std::uint8_t> bad = good;
        Poke(bad, c.at, c.value);
        bad.resize(bad.size() + 64, 0); // room for what a wrong count would read
        CTarvoIirDoc loaded(ui);
        fw::Archive ar = fw::Archive::ForLoading(bad);
        EXPECT_THROW(loaded.Serialize(ar), fw::ArchiveError) << c.what;
    }
}

TEST(ProjectBounds, ExtremeSpecificationValuesLoadAndCanBeEdited) {
    // A fixed-point design whose fraction-bit count a damaged file gives as the
    // most negative int32; a pole-zero edit then requantizes with it.
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    IirDesignSpec form;
    form.dataType = kFixedPoint;
    ASSERT_TRUE(test::DesignAsTheForm(doc, form));
    std::vector<std::uint8_t> stream = StreamOf(doc);
    const CIirFilter& designed = doc.GetFilter();
    const std::size_t elements =
        designed.b.size() + designed.a.size() + designed.z.size() + designed.p.size();
    // Header, the four vectors, gain, the rows, their gain, 1 Hz, then order,
    // family, response, data type and integer bits before the fraction bits.
    const std::size_t fracBitsAt =
        2 + 4 * 4 + elements * 16 + 8 + 4 + designed.sos.Rows() * (4 + 96) + 8 + 15 + 20;
    fw::Archive check = fw::Archive::ForLoading(stream);
    check.ReadBytes(fracBitsAt - 4);
    ASSERT_EQ(check.ReadI32(), 2);
    ASSERT_EQ(check.ReadI32(), 30);
    Poke(stream, fracBitsAt, std::numeric_limits<std::int32_t>::min());

    CTarvoIirDoc loaded(ui);
    fw::Archive ar = fw::Archive::ForLoading(stream);
    loaded.Serialize(ar);
    CIirFilter& f = loaded.GetFilter();
    ASSERT_EQ(f.spec.fracBits, std::numeric_limits<std::int32_t>::min());
    f.RebuildFromRoots();
    f.Renormalize();
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        for (const korin::mcplx& c : f.sos[i]) {
            EXPECT_TRUE(std::isfinite(c.real()));
        }
    }
}

TEST(ProjectBounds, ADamagedFileIsReportedAndOpensNothing) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string path = dir.File("bad.tvp");
    test::WriteBytes(path, {0x14, 0x40, 0xFF, 0xFF, 0xFF, 0x7F});
    CTarvoIirDoc doc(ui);
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("bad.tvp")));
    EXPECT_EQ(doc.UndoCount(), 0u);
}

// A save that fails, as a full disk or a read-only folder makes it fail, shows
// its message, keeps the old file whole and the project marked modified.
class ProjectSaving : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.OnSaveDocument(path));
        before = test::ReadBytes(path);
        ASSERT_TRUE(test::DesignAsTheForm(doc, IirDesignSpec{}));
        ASSERT_TRUE(doc.IsModified());
    }
    void ExpectNothingChanged() {
        EXPECT_TRUE(doc.IsModified());
        EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("p.tvp")));
        EXPECT_EQ(test::ReadBytes(path), before);
        EXPECT_THAT(dir.Entries(), ElementsAre("p.tvp"));
    }

    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
    std::string path = dir.File("p.tvp");
    std::vector<std::uint8_t> before;
};

TEST_F(ProjectSaving, AFullDiskKeepsTheOldFile) {
    {
        fw::test::FileSizeLimit limit(100); // the designed project is longer
        EXPECT_FALSE(doc.OnSaveDocument(path));
    }
    ExpectNothingChanged();
}

TEST_F(ProjectSaving, AReadOnlyFolderKeepsTheOldFile) {
    fw::test::WithoutPermissionOverride asUser;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    if (!fw::test::PermissionsEnforced()) GTEST_SKIP() << "permissions are not enforced here";
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ExpectNothingChanged();
}

} // namespace
} // namespace tarvo
