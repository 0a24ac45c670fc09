#include "byte_builder.h"
#include "doc/ser_doc.h"
#include "file_bytes.h"
#include "fw/archive.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarvo {
namespace {

using test::ByteBuilder;
using ::testing::HasSubstr;

void LoadHeader(CSerDoc& doc, std::uint16_t header) {
    ByteBuilder b;
    b.U16(header);
    fw::Archive ar = fw::Archive::ForLoading(b.Bytes());
    doc.Serialize(ar);
}

TEST(SerDocHeader, StoresTheCurrentVersionAndTheRememberedType) {
    fw::RecordingUi ui;
    CSerDoc doc(ui, 64);
    fw::Archive ar = fw::Archive::ForStoring();
    doc.Serialize(ar);
    EXPECT_EQ(ar.Buffer(), (std::vector<std::uint8_t>{0x14, 0x40}));

    // A file of another type keeps its type when stored again.
    LoadHeader(doc, 0x0713);
    EXPECT_EQ(doc.GetFileVersion(), 0x13);
    EXPECT_EQ(doc.GetDocType(), 7);
    fw::Archive again = fw::Archive::ForStoring();
    doc.Serialize(again);
    EXPECT_EQ(again.Buffer(), (std::vector<std::uint8_t>{0x14, 0x07}));
    EXPECT_EQ(doc.GetFileVersion(), 20);
}

TEST(SerDocHeader, OlderFilesMarkTheDocumentModifiedNewerOnesWarn) {
    fw::RecordingUi ui;
    CSerDoc doc(ui, 64);
    LoadHeader(doc, 0x4014);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(ui.Messages().empty());

    LoadHeader(doc, 0x4012);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.Messages().empty());
    doc.SetModifiedFlag(false);

    LoadHeader(doc, 0x4015);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(ui.Calls().size(), 1u);
    EXPECT_EQ(ui.Calls()[0].icon, fw::Icon::Stop);
    EXPECT_EQ(ui.Calls()[0].text,
              "This Project file is for a newer version of this program. Please download\n"
              "the latest version of the program from the Morvane Web Site at:\n" +
                  std::string(kMakerWebAddress) + ".");
    EXPECT_EQ(doc.GetFileVersion(), 21);
}

TEST(SerDocHeader, ATruncatedHeaderIsAnArchiveError) {
    fw::RecordingUi ui;
    CSerDoc doc(ui);
    const std::vector<std::uint8_t> one{0x14};
    fw::Archive ar = fw::Archive::ForLoading(one);
    EXPECT_THROW(doc.Serialize(ar), fw::ArchiveError);
}

TEST(OpenProbe, ReadsOnlyTheHeader) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    const std::string project = dir.File("a.tvp");
    test::WriteBytes(project, {0x14, 0x40, 0xFF, 0xFF});
    ProbeResult r = ProbeDocumentType(project, ui);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.docType, 64);

    const std::string newer = dir.File("b.tvp");
    test::WriteBytes(newer, {0x15, 0x40});
    r = ProbeDocumentType(newer, ui);
    EXPECT_EQ(r.docType, 64);
    EXPECT_THAT(ui.Messages(), ::testing::ElementsAre(HasSubstr("newer version")));

    const std::string shortFile = dir.File("c.tvp");
    test::WriteBytes(shortFile, {0x14});
    r = ProbeDocumentType(shortFile, ui);
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.docType.has_value());
}

TEST(OpenProbe, MissingFoldersAndPipesAreNotOpened) {
    fw::test::ScratchDir dir;
    fw::RecordingUi ui;
    EXPECT_FALSE(ProbeDocumentType(dir.File("missing.tvp"), ui).opened);
    EXPECT_FALSE(ProbeDocumentType(dir.Path().string(), ui).opened);
    const std::string fifo = dir.File("pipe.tvp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ProbeDocumentType(fifo, ui).opened);
    EXPECT_TRUE(ui.Calls().empty());
}

} // namespace
} // namespace tarvo
