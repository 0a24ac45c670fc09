#include "fw/memory_profile_store.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(MemoryProfileStore, IntegersAndTextsUnderSectionAndKey) {
    MemoryProfileStore store;
    EXPECT_EQ(store.GetProfileInt("Options", "a", 17), 17);
    EXPECT_EQ(store.GetProfileString("Options", "s", "dflt"), "dflt");

    EXPECT_TRUE(store.WriteProfileInt("Options", "a", -5));
    EXPECT_TRUE(store.WriteProfileString("Options", "s", "-130.000"));
    EXPECT_TRUE(store.WriteProfileInt("Other", "a", 9));
    EXPECT_EQ(store.GetProfileInt("Options", "a", 0), -5);
    EXPECT_EQ(store.GetProfileInt("Other", "a", 0), 9);
    EXPECT_EQ(store.GetProfileString("Options", "s", ""), "-130.000");
    // An integer is kept as its text, as a settings file would.
    EXPECT_EQ(store.GetProfileString("Options", "a", ""), "-5");
    EXPECT_EQ(store.Size(), 3U);

    store.WriteProfileString("Options", "t", " 42 ");
    EXPECT_EQ(store.GetProfileInt("Options", "t", 0), 42);
    store.WriteProfileString("Options", "t", "+7");
    EXPECT_EQ(store.GetProfileInt("Options", "t", 0), 7);
    for (const char* bad : {"", "abc", "12abc", "99999999999", "1.5"}) {
        store.WriteProfileString("Options", "t", bad);
        EXPECT_EQ(store.GetProfileInt("Options", "t", 3), 3) << bad;
    }
    store.Erase("Options", "t");
    EXPECT_FALSE(store.Find("Options", "t").has_value());

    ASSERT_GE(store.WriteLog().size(), 3U);
    EXPECT_EQ(store.WriteLog()[0].key, "a");
    EXPECT_TRUE(store.WriteLog()[0].isInt);
    EXPECT_FALSE(store.WriteLog()[1].isInt);
}

} // namespace
} // namespace fw
