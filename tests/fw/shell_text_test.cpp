// The texts and lists of the program's shell: recent files, the message a second
// start sends, and window titles.

#include "fw/memory_profile_store.h"
#include "fw/open_message.h"
#include "fw/recent_file_list.h"
#include "fw/window_title.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fw {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

TEST(RecentFileList, KeepsTheNewestFirstWithoutDuplicatesAndSurvivesTheStore) {
    RecentFileList list(4);
    for (const char* p : {"/a", "/b", "/c", "/a", "/d", "/e"})
        list.Add(p);
    EXPECT_THAT(list.Paths(), ElementsAre("/e", "/d", "/a", "/c"));
    list.Remove(std::size_t{1});
    list.Remove(std::size_t{9});
    EXPECT_THAT(list.Paths(), ElementsAre("/e", "/a", "/c"));

    MemoryProfileStore store;
    list.Save(store);
    EXPECT_EQ(store.Find(kRecentFileSection, "File1"), "/e");
    EXPECT_EQ(store.Find(kRecentFileSection, "File4"), "");
    // A hand-edited store with a gap and a repeat loads clean.
    store.WriteProfileString(kRecentFileSection, "File2", "");
    store.WriteProfileString(kRecentFileSection, "File4", "/e");
    RecentFileList loaded(4);
    loaded.Load(store);
    EXPECT_THAT(loaded.Paths(), ElementsAre("/e", "/c"));
}

TEST(RecentFileList, MenuTextKeepsTheNameAndTheFoldersThatFit) {
    RecentFileList list;
    list.Add("/home/user/filters/very/deep/folder/lowpass.tvp");
    list.Add("/tmp/a.tvp");
    EXPECT_EQ(list.MenuText(0), "&1 /tmp/a.tvp");
    EXPECT_EQ(list.MenuText(1, 30), "&2 .../deep/folder/lowpass.tvp");
    list.Add("/x/" + std::string(50, 'n') + ".tvp");
    EXPECT_EQ(list.MenuText(0, 20), "&1 .../" + std::string(50, 'n') + ".tvp");
}

TEST(OpenMessage, RoundTripsAbsolutePathsAndRefusesAnythingElse) {
    const std::string message = MakeOpenMessage({"/a b/c.tvp", "/d.tvp", "/bad\nname"});
    EXPECT_EQ(message, "OPEN\n/a b/c.tvp\n/d.tvp\n");
    EXPECT_THAT(ParseOpenMessage(message), Optional(ElementsAre("/a b/c.tvp", "/d.tvp")));
    EXPECT_THAT(ParseOpenMessage("OPEN\n/x.tvp"), Optional(ElementsAre("/x.tvp")));
    EXPECT_EQ(ParseOpenMessage("PRINT\n/x.tvp\n"), std::nullopt);
    EXPECT_EQ(ParseOpenMessage("OPEN\nrelative.tvp\n"), std::nullopt);
    EXPECT_EQ(ParseOpenMessage("OPEN\n/x\n\n"), std::nullopt);
    EXPECT_EQ(ParseOpenMessage(std::string("OPEN\n/x\0y\n", 11)), std::nullopt);
    EXPECT_EQ(ParseOpenMessage("OPEN\n/" + std::string(kMaxOpenMessageBytes, 'x') + "\n"),
              std::nullopt);
}

TEST(WindowTitle, NumbersWindowsOnlyWhenAProjectHasSeveral) {
    EXPECT_EQ(FrameTitle("IIR1", 1, 1), "IIR1");
    EXPECT_EQ(FrameTitle("IIR1", 2, 3), "IIR1:2");
    EXPECT_EQ(MainWindowTitle("TarvoIIR", "IIR1:2"), "TarvoIIR - IIR1:2");
    EXPECT_EQ(MainWindowTitle("TarvoIIR", ""), "TarvoIIR");
}

} // namespace
} // namespace fw
