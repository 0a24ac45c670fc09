#include "fw/file_io.h"
#include "test_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fw {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using test::ReadText;
using test::ScratchDir;
using test::WithoutPermissionOverride;
using test::WriteText;
using ::testing::ElementsAre;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(WriteFileAtomically, CreatesAndReplacesFilesCompletely) {
    ScratchDir dir;
    const std::string path = dir.File("project.tvp");
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("first version")));
    EXPECT_EQ(ReadText(path), "first version");

    // Larger than the writer's buffer, with every byte value.
    std::vector<std::uint8_t> big(300000);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<std::uint8_t>(i * 7);
    }
    const FileResult r = WriteFileAtomically(path, big);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error, "");
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(path, back));
    EXPECT_EQ(back, big);
    EXPECT_THAT(dir.Entries(), ElementsAre("project.tvp"));
}

TEST(WriteFileAtomically, StreamsThroughTheWriterCallback) {
    ScratchDir dir;
    const std::string path = dir.File("coeffs.h");
    const FileResult r = WriteFileAtomically(path, [](std::ostream& out) {
        for (int i = 0; i < 3; ++i) {
            out << "line " << i << '\n';
        }
        return std::string();
    });
    ASSERT_TRUE(r);
    EXPECT_EQ(ReadText(path), "line 0\nline 1\nline 2\n");
}

TEST(WriteFileAtomically, PermissionBitsAreKeptOrTakenFromTheUmask) {
    ScratchDir dir;
    const std::string existing = dir.File("shared.txt");
    WriteText(existing, "old");
    ::chmod(existing.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(existing, std::string_view("new")));
    EXPECT_EQ(ModeOf(existing), 0640U);

    const mode_t saved = ::umask(027);
    const std::string fresh = dir.File("fresh.txt");
    const FileResult r = WriteFileAtomically(fresh, std::string_view("x"));
    ::umask(saved);
    ASSERT_TRUE(r);
    EXPECT_EQ(ModeOf(fresh), 0640U);
}

TEST(WriteFileAtomically, AnotherUsersFileKeepsItsOwner) {
    ScratchDir dir;
    const std::string path = dir.File("theirs.txt");
    WriteText(path, "old");
    if (::chown(path.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "this process cannot give files away";
    }
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("new")));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534U);
    EXPECT_EQ(st.st_gid, 65534U);
    EXPECT_EQ(ReadText(path), "new");
}

TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
    ScratchDir dir;
    fs::create_directory(dir.Path() / "real");
    const std::string real = dir.File("real/data.txt");
    WriteText(real, "old");
    fs::create_symlink("real/data.txt", dir.Path() / "link.txt");
    ASSERT_TRUE(WriteFileAtomically(dir.File("link.txt"), std::string_view("new")));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.txt"));
    EXPECT_EQ(ReadText(real), "new");
    EXPECT_THAT(dir.Entries(), ElementsAre("link.txt", "real"));
}

TEST(WriteFileAtomically, RefusalOfTheWriterLeavesTheTargetAlone) {
    ScratchDir dir;
    const std::string path = dir.File("out.c");
    WriteText(path, "previous contents");
    const FileResult r = WriteFileAtomically(path, [](std::ostream& out) {
        out << "/* preamble */\n";
        return std::string("Hex parameters are invalid.");
    });
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, "Hex parameters are invalid.");
    EXPECT_EQ(ReadText(path), "previous contents");
    EXPECT_THAT(dir.Entries(), ElementsAre("out.c"));
}

TEST(WriteFileAtomically, AnExceptionFromTheWriterLeavesNoTemporaryFile) {
    ScratchDir dir;
    const std::string path = dir.File("out.txt");
    WriteText(path, "kept");
    EXPECT_THROW(WriteFileAtomically(path,
                                     [](std::ostream& out) -> std::string {
                                         out << "partial";
                                         throw std::runtime_error("writer failed");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(ReadText(path), "kept");
    EXPECT_THAT(dir.Entries(), ElementsAre("out.txt"));
}

TEST(WriteFileAtomically, AFullDiskLeavesTheOldFileIntact) {
    ScratchDir dir;
    const std::string path = dir.File("project.tvp");
    WriteText(path, "the saved project");
    const std::vector<std::uint8_t> big(200000, 0x5A);
    FileResult r;
    {
        // Writes beyond 64 KiB fail as they would on a full file system.
        FileSizeLimit limit(65536);
        r = WriteFileAtomically(path, big);
    }
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(EFBIG));
    EXPECT_EQ(ReadText(path), "the saved project");
    EXPECT_THAT(dir.Entries(), ElementsAre("project.tvp"));
}

TEST(WriteFileAtomically, WithoutWaitingForTheDiskItIsStillAllOrNothing) {
    ScratchDir dir;
    const std::string path = dir.File("filter.c");
    WriteText(path, "old export");
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view("new export"), Durability::kRenameOnly));
    EXPECT_EQ(ReadText(path), "new export");
    const std::vector<std::uint8_t> big(200000, 0x5A);
    FileResult r;
    {
        FileSizeLimit limit(65536);
        r = WriteFileAtomically(path, big, Durability::kRenameOnly);
    }
    EXPECT_FALSE(r);
    EXPECT_EQ(ReadText(path), "new export");
    EXPECT_THAT(dir.Entries(), ElementsAre("filter.c"));
}

TEST(WriteFileAtomically, AReadOnlyFolderLeavesTheOldFileIntact) {
    ScratchDir dir;
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "project.tvp").string();
    WriteText(path, "the saved project");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    const FileResult r = WriteFileAtomically(path, std::string_view("new contents"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(EACCES));
    EXPECT_EQ(ReadText(path), "the saved project");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "project.tvp");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(WriteFileAtomically, AWriteProtectedFileIsNotReplaced) {
    ScratchDir dir;
    const std::string path = dir.File("frozen.txt");
    WriteText(path, "frozen");
    ::chmod(path.c_str(), 0444);
    WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    const FileResult r = WriteFileAtomically(path, std::string_view("thawed"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(EACCES));
    EXPECT_EQ(ReadText(path), "frozen");
    EXPECT_THAT(dir.Entries(), ElementsAre("frozen.txt"));
}

TEST(WriteFileAtomically, RefusesTargetsThatAreNotRegularFiles) {
    ScratchDir dir;
    fs::create_directory(dir.Path() / "folder");
    const FileResult r = WriteFileAtomically(dir.File("folder"), std::string_view("x"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(EISDIR));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "folder"));
    EXPECT_THAT(dir.Entries(), ElementsAre("folder"));

    // A device is never swapped for a plain file, whoever runs this.
    if (fs::is_character_file("/dev/full")) {
        const FileResult full = WriteFileAtomically("/dev/full", std::string_view("x"));
        EXPECT_FALSE(full);
        EXPECT_EQ(full.error, "Not a regular file");
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

TEST(WriteFileAtomically, AMissingFolderOrNameFails) {
    ScratchDir dir;
    const FileResult r = WriteFileAtomically(dir.File("no/such/x.txt"), std::string_view("x"));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
    EXPECT_FALSE(WriteFileAtomically("", std::string_view("x")));
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(WriteFileAtomically, LongFileNamesStillGetATemporaryFile) {
    ScratchDir dir;
    const std::string name(250, 'n');
    ASSERT_TRUE(WriteFileAtomically(dir.File(name), std::string_view("long")));
    EXPECT_EQ(ReadText(dir.File(name)), "long");
}

TEST(ReadFileBytes, ReadsExactlyAndRefusesWhatIsNotAFile) {
    ScratchDir dir;
    const std::string path = dir.File("data.bin");
    WriteText(path, std::string("a\0b\xFF", 4));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_THAT(bytes, ElementsAre('a', 0, 'b', 0xFF));

    FileResult r = ReadFileBytes(dir.File("missing"), bytes);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
    EXPECT_TRUE(bytes.empty());

    r = ReadFileBytes(dir.Path().string(), bytes);
    EXPECT_EQ(r.error, std::strerror(EISDIR));

    // A named pipe with no writer would block a plain open; it is refused at once.
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    r = ReadFileBytes(fifo, bytes);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, "Not a regular file");
}

TEST(ReadFileBytes, RefusesFilesAboveTheLimitBeforeReading) {
    ScratchDir dir;
    const std::string path = dir.File("big.bin");
    WriteText(path, std::string(1000, 'x'));
    std::vector<std::uint8_t> bytes;
    const FileResult r = ReadFileBytes(path, bytes, 999);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, "File too large");
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(ReadFileBytes(path, bytes, 1000));
    EXPECT_EQ(bytes.size(), 1000U);
}

TEST(ReadFileBytes, AnUnreadableFileFails) {
    ScratchDir dir;
    const std::string path = dir.File("secret");
    WriteText(path, "secret");
    ::chmod(path.c_str(), 0);
    WithoutPermissionOverride asUser;
    if (!test::PermissionsEnforced()) {
        GTEST_SKIP() << "this process ignores file permissions";
    }
    std::vector<std::uint8_t> bytes;
    const FileResult r = ReadFileBytes(path, bytes);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, std::strerror(EACCES));
}

} // namespace
} // namespace fw
