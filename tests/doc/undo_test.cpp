#include "doc/undo.h"
#include "fw/archive.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

// A state of one number that records what the undo store asked of it.
class Counter : public CUndo {
public:
    void Serialize(fw::Archive& ar) override {
        log.push_back(ar.IsStoring() ? "store" : "load");
        ar.Exchange(value);
    }
    void DeleteContents() override {
        log.push_back("clear");
        value = -1;
    }
    std::int32_t value = 0;
    std::vector<std::string> log;
};

TEST(Undo, NothingToUndoUntilTheSecondCheckpoint) {
    Counter c;
    EXPECT_FALSE(c.CanUndo());
    EXPECT_FALSE(c.Undo());
    c.CheckPoint();
    EXPECT_EQ(c.UndoCount(), 1u);
    EXPECT_FALSE(c.CanUndo());
    EXPECT_FALSE(c.Undo());
    EXPECT_EQ(c.value, 0);
    c.value = 1;
    c.CheckPoint();
    EXPECT_TRUE(c.CanUndo());
    EXPECT_FALSE(c.CanRedo());
}

TEST(Undo, RestoreClearsThenLoadsTheSnapshot) {
    Counter c;
    c.CheckPoint();
    c.value = 7;
    c.CheckPoint();
    c.log.clear();
    ASSERT_TRUE(c.Undo());
    EXPECT_EQ(c.log, (std::vector<std::string>{"clear", "load"}));
    EXPECT_EQ(c.value, 0);
    EXPECT_TRUE(c.CanRedo());
    ASSERT_TRUE(c.Redo());
    EXPECT_EQ(c.value, 7);
    EXPECT_FALSE(c.CanRedo());
    EXPECT_FALSE(c.Redo());
}

TEST(Undo, KeepsTenEarlierStatesBesidesTheCurrentOne) {
    Counter c;
    c.CheckPoint(); // state 0
    for (std::int32_t i = 1; i <= 11; ++i) {
        c.value = i;
        c.CheckPoint();
    }
    EXPECT_EQ(c.UndoCount(), CUndo::kCapacity + 1);
    for (std::int32_t i = 10; i >= 1; --i) {
        ASSERT_TRUE(c.Undo());
        EXPECT_EQ(c.value, i);
    }
    // State 0 was pushed out by the eleventh change.
    EXPECT_FALSE(c.Undo());
    EXPECT_EQ(c.value, 1);
    EXPECT_EQ(c.RedoCount(), 10u);
    for (std::int32_t i = 2; i <= 11; ++i) {
        ASSERT_TRUE(c.Redo());
        EXPECT_EQ(c.value, i);
    }
    EXPECT_EQ(c.UndoCount(), CUndo::kCapacity + 1);
}

TEST(Undo, ACheckpointAfterUndoForgetsTheRedoEntries) {
    Counter c;
    c.CheckPoint();
    c.value = 1;
    c.CheckPoint();
    c.value = 2;
    c.CheckPoint();
    ASSERT_TRUE(c.Undo());
    ASSERT_TRUE(c.Undo());
    EXPECT_EQ(c.RedoCount(), 2u);
    c.value = 5;
    c.CheckPoint();
    EXPECT_FALSE(c.CanRedo());
    ASSERT_TRUE(c.Undo());
    EXPECT_EQ(c.value, 0);
}

} // namespace
} // namespace tarvo
