#include "fw/recording_ui.h"
#include "fw/stderr_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace fw {
namespace {

using ::testing::ElementsAre;
using Kind = RecordingUi::Call::Kind;

TEST(RecordingUi, RemembersEveryCallInOrder) {
    RecordingUi ui;
    ui.Message("Please enter a number.", Icon::Stop);
    ui.SetStatusText("Designing...");
    {
        BusyGuard outer(ui);
        BusyGuard inner(ui);
        EXPECT_EQ(ui.BusyDepth(), 2);
    }
    EXPECT_TRUE(ui.OpenWithAssociatedProgram("/tmp/out.txt"));
    ui.SetOpenResult(false);
    EXPECT_FALSE(ui.OpenWithAssociatedProgram("/tmp/out2.txt"));

    EXPECT_EQ(ui.BusyDepth(), 0);
    EXPECT_EQ(ui.StatusText(), "Designing...");
    const auto& calls = ui.Calls();
    ASSERT_EQ(calls.size(), 8U);
    EXPECT_EQ(calls[0].kind, Kind::Message);
    EXPECT_EQ(calls[0].icon, Icon::Stop);
    EXPECT_EQ(calls[1].kind, Kind::StatusText);
    EXPECT_EQ(calls[2].kind, Kind::BeginBusy);
    EXPECT_EQ(calls[4].kind, Kind::EndBusy);
    EXPECT_EQ(calls[5].kind, Kind::EndBusy);
    EXPECT_THAT(ui.Texts(Kind::OpenFile), ElementsAre("/tmp/out.txt", "/tmp/out2.txt"));
    EXPECT_THAT(ui.Messages(), ElementsAre("Please enter a number."));
}

TEST(RecordingUi, AnswersFromItsQueueThenTheDefault) {
    RecordingUi ui;
    ui.QueueAnswer(Answer::Yes);
    ui.QueueAnswer(Answer::Cancel);
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_EQ(ui.Ask("First?"), Answer::Yes);
    EXPECT_EQ(ui.Ask("Second?", Buttons::YesNoCancel), Answer::Cancel);
    // A yes/no box has no Cancel: a scripted Cancel there is a No.
    EXPECT_EQ(ui.Ask("Third?"), Answer::No);
    EXPECT_EQ(ui.UnscriptedCount(), 0U);

    EXPECT_EQ(ui.Ask("Fourth?"), Answer::No);
    ui.SetDefaultAnswer(Answer::Yes);
    EXPECT_EQ(ui.Ask("Fifth?"), Answer::Yes);
    EXPECT_EQ(ui.UnscriptedCount(), 2U);
    EXPECT_THAT(ui.Questions(), ElementsAre("First?", "Second?", "Third?", "Fourth?", "Fifth?"));
    EXPECT_EQ(ui.Calls()[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(ui.Calls()[1].answer, Answer::Cancel);

    ui.QueueSavePath(std::string("/tmp/a.tvp"));
    EXPECT_EQ(ui.AskSavePath("IIR1.tvp", "*.tvp"), "/tmp/a.tvp");
    EXPECT_EQ(ui.AskSavePath("IIR1.tvp", "*.tvp"), std::nullopt);
    EXPECT_EQ(ui.UnscriptedCount(), 3U);
}

TEST(StderrUi, PrefixesBySeverityAndAnswersNo) {
    std::ostringstream out;
    StderrUi ui(out);
    ui.Message("Hex parameters are invalid.", Icon::Error);
    ui.Message("Stopped.", Icon::Stop);
    ui.Message("Check the order.", Icon::Warning);
    ui.Message("This Project file was created by a previous version of\nthis program.",
               Icon::Information);
    EXPECT_EQ(ui.Ask("Write these files?"), Answer::No);
    ui.SetAnswer(Answer::Cancel);
    EXPECT_EQ(ui.Ask("Overwrite?"), Answer::No);
    EXPECT_EQ(ui.Ask("Save changes?", Buttons::YesNoCancel), Answer::Cancel);
    ui.SetAnswer(Answer::Yes);
    EXPECT_EQ(ui.Ask("Really?"), Answer::Yes);
    EXPECT_FALSE(ui.OpenWithAssociatedProgram("/tmp/x.txt"));
    EXPECT_EQ(ui.AskSavePath("a", "b"), std::nullopt);
    ui.SetStatusText("ignored");
    BusyGuard busy(ui);

    EXPECT_EQ(out.str(),
              "error: Hex parameters are invalid.\n"
              "error: Stopped.\n"
              "warning: Check the order.\n"
              "note: This Project file was created by a previous version of\nthis program.\n"
              "question: Write these files?\n  answered: no\n"
              "question: Overwrite?\n  answered: no\n"
              "question: Save changes?\n  answered: cancel\n"
              "question: Really?\n  answered: yes\n"
              "note: not opening /tmp/x.txt (no desktop)\n");
}

} // namespace
} // namespace fw
