#include "fakes.h"
#include "fw/application.h"
#include "fw/doc_template.h"
#include "fw/recording_ui.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace fw {
namespace {

using test::EventLog;
using test::FakeTemplate;
using test::NumbersDoc;
using test::RecordingView;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = RecordingUi::Call::Kind;

const char* const kProjectStrings =
    "\nIIR\nTarvoIIR Project\nTarvoIIR Project Files (*.tvp)\n.tvp\nTarvoIIR.Project\n"
    "TarvoIIR Project";

std::vector<std::string> UpdateTrail(const EventLog& log) {
    std::vector<std::string> trail;
    for (const auto& u : log.updates) {
        trail.push_back(u.view + " " + std::to_string(u.hint) +
                        (u.object == nullptr ? " null" : " object"));
    }
    return trail;
}

class Applications : public ::testing::Test {
protected:
    Applications() : app(ui) {
        auto t = std::make_unique<FakeTemplate>(kProjectStrings, ui, log);
        project = t.get();
        app.AddDocTemplate(std::move(t));
    }

    RecordingUi ui;
    EventLog log;
    test::FakeApplication app;
    FakeTemplate* project = nullptr;
};

TEST(DocTemplateStrings, SevenFieldsSeparatedByNewlines) {
    RecordingUi ui;
    EventLog log;
    const FakeTemplate t(kProjectStrings, ui, log);
    using S = DocTemplate::DocString;
    EXPECT_EQ(t.GetDocString(S::WindowTitle), "");
    EXPECT_EQ(t.GetDocString(S::DocName), "IIR");
    EXPECT_EQ(t.GetDocString(S::FileNewName), "TarvoIIR Project");
    EXPECT_EQ(t.GetDocString(S::FilterName), "TarvoIIR Project Files (*.tvp)");
    EXPECT_EQ(t.GetDocString(S::FilterExt), ".tvp");
    EXPECT_EQ(t.GetDocString(S::RegFileTypeId), "TarvoIIR.Project");
    EXPECT_EQ(t.GetDocString(S::RegFileTypeName), "TarvoIIR Project");

    const FakeTemplate shortOne("Title\nDoc", ui, log);
    EXPECT_EQ(shortOne.GetDocString(S::DocName), "Doc");
    EXPECT_EQ(shortOne.GetDocString(S::FilterExt), "");
}

TEST_F(Applications, NewDocumentsAreNumberedAndHearTheirFirstUpdates) {
    Document* first = app.OpenNewDocument(*project);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetTitle(), "IIR1");
    EXPECT_EQ(first->GetDocTemplate(), project);
    EXPECT_FALSE(first->IsModified());
    // The frame exists before OnNewDocument: its view hears the new document's
    // hint, then the initial update with a null object, then the frame shows.
    EXPECT_THAT(UpdateTrail(log), ElementsAre("frame1.view0 777 null", "frame1.view0 0 null"));
    EXPECT_THAT(log.events, ElementsAre("create frame1", "DeleteContents", "activate frame1"));

    Document* second = app.OpenNewDocument(*project);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetTitle(), "IIR2");
    EXPECT_THAT(app.Documents(), ElementsAre(first, second));
    EXPECT_EQ(project->Frames().size(), 2U);
}

TEST_F(Applications, AFailedNewDocumentLeavesNothingBehind) {
    project->failFrames = true;
    EXPECT_EQ(app.OpenNewDocument(*project), nullptr);
    EXPECT_THAT(app.Documents(), IsEmpty());

    project->failFrames = false;
    // A template that makes no documents.
    class WindowsOnly : public DocTemplate {
    public:
        WindowsOnly() : DocTemplate("") {}

    protected:
        std::unique_ptr<Frame> MakeFrame(Document&) override { return std::make_unique<Frame>(); }
    };
    WindowsOnly windows;
    EXPECT_EQ(app.OpenNewDocument(windows), nullptr);
    EXPECT_THAT(app.Documents(), IsEmpty());
}

TEST_F(Applications, AFailingOnNewDocumentClosesItsFrame) {
    // The document class fails its own OnNewDocument after the base part.
    class FailingTemplate : public FakeTemplate {
    public:
        using FakeTemplate::FakeTemplate;
        std::unique_ptr<Document> CreateNewDocument() override {
            auto doc = FakeTemplate::CreateNewDocument();
            static_cast<NumbersDoc&>(*doc).failNew = true;
            return doc;
        }
    };
    auto& failing = static_cast<FailingTemplate&>(
        app.AddDocTemplate(std::make_unique<FailingTemplate>(kProjectStrings, ui, log)));
    EXPECT_EQ(app.OpenNewDocument(failing), nullptr);
    EXPECT_THAT(app.Documents(), IsEmpty());
    EXPECT_THAT(failing.Frames(), IsEmpty());
    EXPECT_THAT(log.events, ElementsAre("create frame1", "DeleteContents", "destroy frame1",
                                        "destroy frame1.view0"));
}

TEST_F(Applications, OpeningAFileAndOpeningItAgain) {
    test::ScratchDir dir;
    const std::string path = dir.File("p.tvp");
    {
        NumbersDoc saved(ui, log);
        saved.numbers = {4, 5};
        ASSERT_TRUE(saved.OnSaveDocument(path));
    }
    log.events.clear();
    auto* doc = static_cast<NumbersDoc*>(app.OpenDocumentFile(*project, path));
    ASSERT_NE(doc, nullptr);
    EXPECT_THAT(doc->numbers, ElementsAre(4, 5));
    EXPECT_EQ(doc->GetTitle(), "p.tvp");
    EXPECT_THAT(log.events,
                ElementsAre("create frame1", "DeleteContents", "load", "activate frame1"));
    EXPECT_THAT(UpdateTrail(log), ElementsAre("frame1.view0 0 null"));

    // The same file again only brings its window forward.
    log.events.clear();
    EXPECT_EQ(app.OpenDocumentFile(*project, dir.Path().string() + "/./p.tvp"), doc);
    EXPECT_THAT(log.events, ElementsAre("activate frame1"));
    EXPECT_EQ(app.Documents().size(), 1U);
}

TEST_F(Applications, AFileThatFailsToOpenLeavesNothingBehind) {
    test::ScratchDir dir;
    EXPECT_EQ(app.OpenDocumentFile(*project, dir.File("missing.tvp")), nullptr);
    EXPECT_THAT(app.Documents(), IsEmpty());
    EXPECT_THAT(project->Frames(), IsEmpty());
    EXPECT_EQ(ui.Count(Kind::Message), 1U);
}

TEST_F(Applications, WindowsOnAnExistingDocument) {
    Document* doc = app.OpenNewDocument(*project);
    ASSERT_NE(doc, nullptr);
    log.updates.clear();
    log.events.clear();

    // A second window: frame and view made, then the initial update, then shown.
    project->viewsPerFrame = 2;
    Frame* second = project->OpenFrame(*doc);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetDocTemplate(), project);
    EXPECT_EQ(second->GetActiveDocument(), doc);
    EXPECT_THAT(UpdateTrail(log), ElementsAre("frame2.view0 0 null", "frame2.view1 0 null"));
    EXPECT_THAT(log.events, ElementsAre("create frame2", "activate frame2"));
    EXPECT_EQ(doc->Views().size(), 3U);
    EXPECT_THAT(project->FramesOf(*doc), ElementsAre(project->Frames()[0], second));

    // Frames without their initial update are not shown.
    Frame* hidden = project->CreateNewFrame(*doc);
    ASSERT_NE(hidden, nullptr);
    log.events.clear();
    project->InitialUpdateFrame(*hidden, false);
    EXPECT_THAT(log.events, IsEmpty());
}

TEST_F(Applications, ClosingFramesAndDocuments) {
    auto* doc = static_cast<NumbersDoc*>(app.OpenNewDocument(*project));
    ASSERT_NE(doc, nullptr);
    Frame* second = project->OpenFrame(*doc);
    Frame* first = project->Frames()[0];
    app.active = second->GetActiveView();
    doc->SetModifiedFlag();

    // Not the last window: it just closes, without a question.
    EXPECT_TRUE(app.CloseFrame(*second));
    EXPECT_EQ(app.active, nullptr);
    EXPECT_EQ(ui.Count(Kind::Ask), 0U);
    EXPECT_EQ(doc->Views().size(), 1U);
    EXPECT_EQ(app.Documents().size(), 1U);

    // The last window of a modified document asks first; Cancel keeps it.
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(app.CloseFrame(*first));
    EXPECT_EQ(project->Frames().size(), 1U);
    EXPECT_EQ(app.Documents().size(), 1U);

    ui.QueueAnswer(Answer::No);
    EXPECT_TRUE(app.CloseFrame(*first));
    EXPECT_THAT(project->Frames(), IsEmpty());
    EXPECT_THAT(app.Documents(), IsEmpty());
    EXPECT_EQ(ui.UnscriptedCount(), 0U);
}

TEST_F(Applications, ExitAsksForEveryModifiedDocument) {
    Document* a = app.OpenNewDocument(*project);
    Document* b = app.OpenNewDocument(*project);
    Document* c = app.OpenNewDocument(*project);
    a->SetModifiedFlag();
    c->SetModifiedFlag();
    ui.QueueAnswer(Answer::No);
    ui.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(app.SaveAllModified());
    EXPECT_THAT(ui.Questions(), ElementsAre("Save changes to IIR1?", "Save changes to IIR3?"));
    EXPECT_FALSE(b->IsModified());
    // Closing without asking, as the destructor does, leaves no frames.
    EXPECT_TRUE(app.CloseDocument(*c, false));
    EXPECT_EQ(project->Frames().size(), 2U);
}

TEST(FrameViews, OwnershipAndTheActiveView) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    test::FakeFrame frame("f", log);
    View& a = frame.AddView(std::make_unique<RecordingView>("a", log), &doc);
    View& b = frame.AddView(std::make_unique<RecordingView>("b", log), &doc);
    View& loose = frame.AddView(std::make_unique<RecordingView>("loose", log), nullptr);
    EXPECT_EQ(frame.GetActiveView(), &a);
    EXPECT_EQ(a.GetParentFrame(), &frame);
    EXPECT_EQ(loose.GetDocument(), nullptr);
    EXPECT_THAT(doc.Views(), ElementsAre(&a, &b));

    RecordingView outsider("outsider", log);
    frame.SetActiveView(&outsider);
    EXPECT_EQ(frame.GetActiveView(), &a);
    frame.SetActiveView(&b);
    EXPECT_EQ(frame.GetActiveDocument(), &doc);

    frame.RemoveView(b);
    EXPECT_EQ(frame.GetActiveView(), &a);
    EXPECT_THAT(doc.Views(), ElementsAre(&a));
    EXPECT_THAT(log.events, ElementsAre("destroy b"));
}

TEST(FrameViews, InitialUpdateSurvivesAViewRemovingAnother) {
    RecordingUi ui;
    EventLog log;
    NumbersDoc doc(ui, log);
    test::FakeFrame frame("f", log);
    auto first = std::make_unique<RecordingView>("first", log);
    RecordingView* firstView = first.get();
    frame.AddView(std::move(first), &doc);
    View& second = frame.AddView(std::make_unique<RecordingView>("second", log), &doc);
    frame.AddView(std::make_unique<RecordingView>("third", log), &doc);
    firstView->onUpdate = [&](std::int32_t) { frame.RemoveView(second); };
    frame.InitialUpdateFrame();
    EXPECT_THAT(UpdateTrail(log), ElementsAre("first 0 null", "third 0 null"));
    EXPECT_EQ(log.events.back(), "activate f");
}

} // namespace
} // namespace fw
