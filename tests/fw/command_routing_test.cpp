#include "fakes.h"
#include "fw/application.h"
#include "fw/command_ids.h"
#include "fw/command_target.h"
#include "fw/recording_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fw {
namespace {

using ::testing::ElementsAre;

constexpr CommandId kAll = 1000;      // every target handles it
constexpr CommandId kDocFrame = 1001; // document and frame
constexpr CommandId kFrameApp = 1002; // frame and application
constexpr CommandId kAppOnly = 1003;
constexpr CommandId kNobody = 1004;
constexpr CommandId kChecked = 1005; // view: enabled and checked
constexpr CommandId kBlocked = 1006; // view decides "disabled"; the document would run it

// What one target does with commands: which it runs and what state it gives.
struct Behaviour {
    std::string name;
    std::set<CommandId> handles;
    std::map<CommandId, std::pair<bool, bool>> states; // id -> enabled, checked
};

// Records, in the shared trail, every command offered to it.
template <class Base> class Routed : public Base {
public:
    template <class... Args>
    Routed(Behaviour b, std::vector<std::string>& trail, Args&&... args)
        : Base(std::forward<Args>(args)...), b_(std::move(b)), trail_(trail) {}

    bool OnCommand(CommandId id) override {
        trail_.push_back(b_.name + " " + std::to_string(id));
        return b_.handles.count(id) != 0;
    }
    bool OnUpdateCommand(CommandId id, CmdUI& ui) override {
        if (const auto it = b_.states.find(id); it != b_.states.end()) {
            ui.Enable(it->second.first);
            ui.SetCheck(it->second.second);
            return true;
        }
        if (b_.handles.count(id) != 0) {
            ui.Enable();
            return true;
        }
        return false;
    }

private:
    Behaviour b_;
    std::vector<std::string>& trail_;
};

class View1 : public View {
public:
    void OnUpdate(View*, std::int32_t, Object*) override {}
};

class RoutingApp : public Routed<test::FakeApplication> {
public:
    RoutingApp(Behaviour b, std::vector<std::string>& trail, Ui& ui)
        : Routed<test::FakeApplication>(std::move(b), trail, ui) {}
};

class CommandRouting : public ::testing::Test {
protected:
    CommandRouting()
        : doc({"doc", {kAll, kDocFrame, kBlocked}, {}}, trail, ui),
          frame({"frame", {kAll, kDocFrame, kFrameApp}, {}}, trail),
          app({"app", {kAll, kFrameApp, kAppOnly}, {}}, trail, ui) {
        auto v = std::make_unique<Routed<View1>>(
            Behaviour{
                "view", {kAll, kChecked}, {{kChecked, {true, true}}, {kBlocked, {false, false}}}},
            trail);
        view = v.get();
        frame.AddView(std::move(v), &doc);
        app.active = view;
    }

    std::vector<std::string> trail;
    RecordingUi ui;
    Routed<Document> doc;
    Routed<Frame> frame;
    RoutingApp app;
    View* view = nullptr;
};

TEST_F(CommandRouting, ChainIsViewDocumentFrameApplication) {
    EXPECT_THAT(app.CommandChain(),
                ElementsAre(static_cast<CommandTarget*>(view), static_cast<CommandTarget*>(&doc),
                            static_cast<CommandTarget*>(&frame),
                            static_cast<CommandTarget*>(&app)));
}

TEST_F(CommandRouting, TheFirstHandlerInTheChainRunsTheCommand) {
    EXPECT_TRUE(app.DoCommand(kAll));
    EXPECT_THAT(trail, ElementsAre("view 1000"));

    trail.clear();
    EXPECT_TRUE(app.DoCommand(kDocFrame));
    EXPECT_THAT(trail, ElementsAre("view 1001", "doc 1001"));

    trail.clear();
    EXPECT_TRUE(app.DoCommand(kFrameApp));
    EXPECT_THAT(trail, ElementsAre("view 1002", "doc 1002", "frame 1002"));

    trail.clear();
    EXPECT_TRUE(app.DoCommand(kAppOnly));
    EXPECT_THAT(trail, ElementsAre("view 1003", "doc 1003", "frame 1003", "app 1003"));

    // A command nobody decides is disabled and offered to nobody.
    trail.clear();
    EXPECT_FALSE(app.DoCommand(kNobody));
    EXPECT_TRUE(trail.empty());
}

TEST_F(CommandRouting, WithoutAnActiveViewOnlyTheApplicationIsAsked) {
    app.active = nullptr;
    EXPECT_FALSE(app.DoCommand(kDocFrame));
    EXPECT_TRUE(trail.empty());
    EXPECT_TRUE(app.DoCommand(kFrameApp));
    EXPECT_THAT(trail, ElementsAre("app 1002"));
}

TEST_F(CommandRouting, UpdateStateComesFromTheFirstTargetThatDecides) {
    const CmdUI checked = app.UpdateCommandState(kChecked);
    EXPECT_EQ(checked.GetId(), kChecked);
    EXPECT_TRUE(checked.IsEnabled());
    EXPECT_TRUE(checked.IsChecked());

    const CmdUI plain = app.UpdateCommandState(kFrameApp);
    EXPECT_TRUE(plain.IsEnabled());
    EXPECT_FALSE(plain.IsChecked());

    const CmdUI none = app.UpdateCommandState(kNobody);
    EXPECT_FALSE(none.IsEnabled());
    EXPECT_FALSE(none.IsChecked());
    // Asking for the state runs nothing.
    EXPECT_TRUE(trail.empty());
}

TEST_F(CommandRouting, ADisabledCommandIsNotRunByAnyTarget) {
    // The view says disabled; the document behind it would have run it.
    EXPECT_FALSE(app.UpdateCommandState(kBlocked).IsEnabled());
    EXPECT_FALSE(app.DoCommand(kBlocked));
    EXPECT_TRUE(trail.empty());
}

TEST_F(CommandRouting, DocumentsOfferSaveAndSaveAs) {
    Document plain(ui);
    CmdUI save(kIdFileSave);
    EXPECT_TRUE(plain.OnUpdateCommand(kIdFileSave, save));
    EXPECT_TRUE(save.IsEnabled());
    CmdUI saveAs(kIdFileSaveAs);
    EXPECT_TRUE(plain.OnUpdateCommand(kIdFileSaveAs, saveAs));
    EXPECT_TRUE(saveAs.IsEnabled());
    CmdUI other(kIdEditUndo);
    EXPECT_FALSE(plain.OnUpdateCommand(kIdEditUndo, other));
    EXPECT_FALSE(plain.OnCommand(kIdEditUndo));
}

TEST(CommandChains, NullEntriesAreSkipped) {
    std::vector<std::string> trail;
    Routed<CommandTarget> only({"only", {7}, {}}, trail);
    CommandTarget* chain[] = {nullptr, &only, nullptr};
    EXPECT_TRUE(UpdateCommand(chain, 7).IsEnabled());
    EXPECT_TRUE(RouteCommand(chain, 7));
    EXPECT_THAT(trail, ElementsAre("only 7"));
}

} // namespace
} // namespace fw
