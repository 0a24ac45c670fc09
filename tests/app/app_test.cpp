// The application as a user meets it: start-up, menus and keys, the design
// window's panes, the window commands, closing, preferences, recent files and
// saving.

#include "app/instance_channel.h"
#include "app/preferences_dialog.h"
#include "app_fixture.h"
#include "design/response_curves.h"
#include "doc/doc_command_ids.h"
#include "doc/pane_kind.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "fw/test_files.h"
#include "views/pane_views.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace tarvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Runs action on the next modal dialog once it shows, then accepts it.
template <class Dialog, class F> void OnNextDialog(F action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
    });
}

TEST_F(AppTest, StartsWithANewProjectInTheDefaultLayout) {
    Start();
    ASSERT_EQ(app->Documents().size(), 1u);
    CIirSplitFrame* frame = DesignWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Project()->GetMinDb(), -130.0);
    EXPECT_NE(dynamic_cast<CPoleZeroPlot*>(frame->PaneView(0)), nullptr);
    EXPECT_NE(dynamic_cast<CIirDataView*>(frame->PaneView(1)), nullptr);
    const std::array<std::int32_t, 3> rightTypes{kPlotMagnitude, kPlotUnwrappedPhase,
                                                 kPlotImpulseAndStep};
    for (int i = 0; i < 3; ++i) {
        const auto* plot = dynamic_cast<CIirPlot*>(frame->PaneView(2 + i));
        ASSERT_NE(plot, nullptr);
        EXPECT_EQ(plot->PlotType(), rightTypes[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(app->MainFrame()->windowTitle(), "TarvoIIR - IIR1[*]");
    EXPECT_EQ(frame->Window()->windowTitle(), "IIR1[*]");
    EXPECT_THAT(MenuTitles(), ElementsAre("&File", "I&IR", "&View", "&Window", "&Help"));
    EXPECT_FALSE(Enabled(fw::kIdEditUndo));
    EXPECT_FALSE(Enabled(kIdIirMagnitude));
    EXPECT_TRUE(Enabled(kIdIirDesign));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AppTest, KeysReachTheirCommandsFromEveryWindow) {
    Start();
    EXPECT_EQ(Action(fw::kIdFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_THAT(Action(fw::kIdEditRedo)->shortcuts(),
                ElementsAre(QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")));
    EXPECT_TRUE(Action(fw::kIdEditUndo)->shortcuts().contains(QKeySequence("Alt+Backspace")));

    QTest::keyClick(DesignWindow()->PaneView(2)->Widget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(app->Documents().size(), 2u);

    // A free-standing window has the keys too (the new project is the active one).
    Design(*Project(1));
    app->RunCommand(kIdIirPolesAndZeros);
    const auto frames = app->WindowTemplates().poleZero->Frames();
    ASSERT_EQ(frames.size(), 1u);
    auto* poleZero = qobject_cast<QMainWindow*>(dynamic_cast<ShellFrame*>(frames[0])->Window());
    ASSERT_NE(poleZero, nullptr);
    EXPECT_TRUE(poleZero->isWindow());
    EXPECT_EQ(poleZero->parentWidget(), app->MainFrame());
    EXPECT_FALSE(poleZero->menuBar()->actions().isEmpty());
    EXPECT_TRUE(poleZero->actions().contains(Action(fw::kIdFileNew)));
}

TEST_F(AppTest, APlotsOwnTypeCommandReplacesItsPaneSafely) {
    Start();
    Design(*Project());
    CIirSplitFrame& frame = *DesignWindow();
    auto* magnitude = dynamic_cast<CIirFreqPlot*>(frame.PaneView(2));
    ASSERT_NE(magnitude, nullptr);
    const QPointer<QWidget> old = magnitude->Widget();
    // The view goes inside its own handler; its widget stays until later and
    // must not call back into it.
    ASSERT_TRUE(magnitude->OnCommand(kIdTypeImpulse));
    const auto* impulse = dynamic_cast<CIirTimePlot*>(frame.PaneView(2));
    ASSERT_NE(impulse, nullptr);
    EXPECT_EQ(impulse->PlotType(), kPlotImpulse);
    ASSERT_FALSE(old.isNull());
    old->resize(300, 200);
    old->grab();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(old, &click);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
}

TEST_F(AppTest, ThePaneOfAnotherClassIsReplacedAndOfTheSameClassSwitched) {
    Start();
    CTarvoIirDoc& doc = *Project();
    CIirSplitFrame& frame = *DesignWindow();
    WidgetView* magnitude = frame.PaneView(2);
    const QPointer<QWidget> magnitudeWidget = magnitude->Widget();

    doc.SetPaneKind(*magnitude, kPanePhase);
    EXPECT_EQ(frame.PaneView(2), magnitude);
    EXPECT_EQ(dynamic_cast<CIirPlot*>(magnitude)->PlotType(), kPlotPhase);

    doc.SetPaneKind(*magnitude, kPaneCoefficients);
    ASSERT_NE(dynamic_cast<CIirDataView*>(frame.PaneView(2)), nullptr);
    EXPECT_EQ(frame.RightSplitter()->widget(0), frame.PaneView(2)->Widget());
    doc.SetPaneKind(*frame.PaneView(2), kPaneMagnitude);
    const auto* plot = dynamic_cast<CIirFreqPlot*>(frame.PaneView(2));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->PlotType(), kPlotMagnitude);
    EXPECT_EQ(doc.GetLayout(0).PaneKind(2), kPaneMagnitude);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(magnitudeWidget.isNull());
}

TEST_F(AppTest, MinimizeBottomRowCollapsesTheLastPaneOfBothColumns) {
    store.WriteProfileInt("Options", "m_bMinimizeBottomRow", 1);
    Start();
    CIirSplitFrame& frame = *DesignWindow();
    EXPECT_EQ(frame.LeftLowerSplitter()->sizes().at(1), 0);
    const QList<int> right = frame.RightSplitter()->sizes();
    EXPECT_EQ(right.at(2), 0);
    EXPECT_NEAR(right.at(0), right.at(1), 1);
}

TEST_F(AppTest, WindowCommandsFollowTheDesignAndOpenTheirWindows) {
    Start();
    CTarvoIirDoc& doc = *Project();
    Design(doc);
    EXPECT_TRUE(Enabled(kIdIirMagnitudeAndUnwrapped));

    app->RunCommand(kIdIirMagnitudeAndUnwrapped);
    auto* multi = dynamic_cast<CMultiPlotFrame*>(app->ActiveFrame());
    ASSERT_NE(multi, nullptr);
    ASSERT_EQ(multi->Column()->count(), 2);
    EXPECT_EQ(multi->Window()->windowTitle(), "IIR1:2[*]");
    EXPECT_EQ(DesignWindow()->Window()->windowTitle(), "IIR1:1[*]");

    // Design brings the open design window forward instead of opening another.
    const std::size_t frames = app->DesignTemplate()->Frames().size();
    app->RunCommand(kIdIirDesign);
    EXPECT_EQ(app->DesignTemplate()->Frames().size(), frames);
    EXPECT_EQ(app->MainFrame()->MdiArea()->activeSubWindow(), DesignWindow()->Window());

    // The coefficient pane of a designed project switches the menu bar.
    DesignWindow()->PaneView(1)->Widget()->setFocus();
    QApplication::processEvents();
    EXPECT_THAT(MenuTitles(),
                ElementsAre("&File", "&IIR", "&Coefficients", "&View", "&Window", "&Help"));
}

TEST_F(AppTest, ClosingTheLastWindowOfAModifiedProjectAsks) {
    Start();
    Design(*Project());
    app->RunCommand(kIdIirCoefficients);
    ASSERT_EQ(app->Documents().size(), 1u);

    // The design window alone goes without a question: the project stays open.
    DesignWindow()->Window()->close();
    QApplication::processEvents();
    ASSERT_EQ(app->Documents().size(), 1u);
    EXPECT_TRUE(ui.Questions().empty());

    QWidget* last = app->ActiveFrame() != nullptr
                        ? dynamic_cast<ShellFrame*>(app->ActiveFrame())->Window()
                        : nullptr;
    ASSERT_NE(last, nullptr);
    ui.QueueAnswer(fw::Answer::Cancel);
    last->close();
    QApplication::processEvents();
    EXPECT_EQ(app->Documents().size(), 1u);
    EXPECT_THAT(ui.Questions(), ElementsAre("Save changes to IIR1?"));

    ui.QueueAnswer(fw::Answer::No);
    last->close();
    QApplication::processEvents();
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_THAT(MenuTitles(), ElementsAre("&File", "&View", "&Help"));
}

TEST_F(AppTest, ExitAsksPerModifiedProjectAndCancelKeepsAll) {
    Start();
    Design(*Project());
    app->NewProject();
    Design(*Project(1));
    ui.QueueAnswer(fw::Answer::No);
    ui.QueueAnswer(fw::Answer::Cancel);
    EXPECT_FALSE(app->MainFrame()->close());
    EXPECT_EQ(app->Documents().size(), 2u);
    ui.QueueAnswer(fw::Answer::No);
    ui.QueueAnswer(fw::Answer::No);
    EXPECT_TRUE(app->MainFrame()->close());
    EXPECT_TRUE(app->Documents().empty());
}

TEST_F(AppTest, PreferencesAreStoredAtOnceAndReachOnlyNewProjects) {
    Start();
    OnNextDialog<CIirPreferences>([](CIirPreferences& dialog) {
        auto* field = dialog.findChild<QLineEdit*>("defaultMinDb");
        ASSERT_NE(field, nullptr);
        field->setText("-100");
        dialog.accept();
    });
    app->RunCommand(fw::kIdPreferences);
    EXPECT_EQ(store.Find("Options", "m_dMinDb"), "-100.000");
    EXPECT_EQ(Project()->GetMinDb(), -130.0);
    app->NewProject();
    EXPECT_EQ(Project(1)->GetMinDb(), -100.0);
}

TEST_F(AppTest, RecentFilesKeepTheFourNewestAcrossARestart) {
    fw::test::ScratchDir dir;
    Start();
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(dir.File("p" + std::to_string(i) + ".tvp"));
        ui.QueueSavePath(paths.back());
        ASSERT_TRUE(Project()->DoSave({}));
        app->RunCommand(fw::kIdFileClose);
        ASSERT_NE(app->OpenFile(paths.back()), nullptr);
    }
    EXPECT_THAT(app->RecentFiles().Paths(), ElementsAre(paths[4], paths[3], paths[2], paths[1]));
    Stop();

    Start();
    EXPECT_THAT(app->RecentFiles().Paths(), ElementsAre(paths[4], paths[3], paths[2], paths[1]));
    EXPECT_TRUE(Action(fw::kIdFileMruFirst + 3)->isVisible());
    EXPECT_EQ(Action(fw::kIdFileMruFirst)->text().toStdString().substr(0, 3), "&1 ");
    std::filesystem::remove(paths[3]);
    app->RunCommand(fw::kIdFileMruFirst + 1);
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("p3.tvp")));
    EXPECT_THAT(app->RecentFiles().Paths(), ElementsAre(paths[4], paths[2], paths[1]));
}

TEST_F(AppTest, AFailedSaveKeepsTheOldFileAndTheModifiedMark) {
    fw::test::ScratchDir dir;
    Start();
    CTarvoIirDoc& doc = *Project();
    ui.QueueSavePath(dir.File("saved"));
    app->RunCommand(fw::kIdFileSaveAs);
    EXPECT_EQ(doc.GetPathName(), dir.File("saved.tvp"));
    EXPECT_EQ(DesignWindow()->Window()->windowTitle(), "saved.tvp[*]");
    const std::string before = fw::test::ReadText(dir.File("saved.tvp"));

    Design(doc);
    EXPECT_TRUE(DesignWindow()->Window()->isWindowModified());
    // A file standing where a folder should be: the save cannot succeed.
    fw::test::WriteText(dir.File("plain"), "x");
    ui.QueueSavePath(dir.File("plain/inside.tvp"));
    app->RunCommand(fw::kIdFileSaveAs);
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("Cannot save the file")));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(fw::test::ReadText(dir.File("saved.tvp")), before);
}

TEST_F(AppTest, OpeningAndSavingADesignedProjectKeepsItsBytes) {
    fw::test::ScratchDir dir;
    Start();
    auto* form = dynamic_cast<CIirEditor*>(DesignWindow()->PaneView(-1));
    ASSERT_NE(form, nullptr);
    form->Form()->edge1->setText("0.1234567890123");
    form->Form()->gain->setText("-0.3");
    ASSERT_TRUE(form->Design());
    ui.QueueSavePath(dir.File("first.tvp"));
    app->RunCommand(fw::kIdFileSaveAs);
    app->RunCommand(fw::kIdFileClose);
    ASSERT_NE(app->OpenFile(dir.File("first.tvp")), nullptr);
    ui.QueueSavePath(dir.File("second.tvp"));
    app->RunCommand(fw::kIdFileSaveAs);
    EXPECT_EQ(fw::test::ReadText(dir.File("second.tvp")),
              fw::test::ReadText(dir.File("first.tvp")));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AppTest, AFileThatCannotBeOpenedAtStartLeavesTheProgramRunning) {
    Start({"/nonexistent/missing.tvp"});
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_THAT(ui.Messages(), ElementsAre(HasSubstr("missing.tvp")));
    EXPECT_TRUE(app->MainFrame()->isVisible());
    EXPECT_THAT(MenuTitles(), ElementsAre("&File", "&View", "&Help"));
}

TEST_F(AppTest, NextPaneGoesRoundTheFormAndThePanes) {
    Start();
    CIirSplitFrame& frame = *DesignWindow();
    // Tall enough that no pane is collapsed.
    frame.Window()->resize(1200, 1000);
    frame.LayoutPanes();
    frame.PaneView(-1)->Widget()->setFocus();
    QApplication::processEvents();
    std::vector<const fw::View*> seen;
    for (int i = 0; i < 6; ++i) {
        app->RunCommand(fw::kIdNextPane);
        QApplication::processEvents();
        seen.push_back(app->GetActiveView());
    }
    EXPECT_THAT(seen, ElementsAre(frame.PaneView(0), frame.PaneView(1), frame.PaneView(2),
                                  frame.PaneView(3), frame.PaneView(4), frame.PaneView(-1)));
    app->RunCommand(fw::kIdPrevPane);
    EXPECT_EQ(app->GetActiveView(), frame.PaneView(4));
}

TEST_F(AppTest, HelpOpensThePageOfTheActiveViewsKind) {
    Start();
    DesignWindow()->PaneView(0)->Widget()->setFocus();
    QApplication::processEvents();
    app->RunCommand(fw::kIdHelp);
    ASSERT_NE(app->Help(), nullptr);
    EXPECT_EQ(app->Help()->CurrentUrl().fileName(), "pole-zero.html");
    DesignWindow()->PaneView(-1)->Widget()->setFocus();
    QApplication::processEvents();
    app->RunCommand(fw::kIdHelp);
    EXPECT_EQ(app->Help()->CurrentUrl().fileName(), "design-form.html");
}

TEST_F(AppTest, ProjectFilesDroppedOnTheMainWindowOpen) {
    fw::test::ScratchDir dir;
    Start();
    ui.QueueSavePath(dir.File("dropped.tvp"));
    ASSERT_TRUE(Project()->DoSave({}));
    app->RunCommand(fw::kIdFileClose);
    ASSERT_TRUE(app->Documents().empty());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("dropped.tvp")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app->MainFrame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app->MainFrame(), &drop);
    ASSERT_EQ(app->Documents().size(), 1u) << ::testing::PrintToString(ui.Messages());
    EXPECT_EQ(Project()->GetTitle(), "dropped.tvp");
}

TEST_F(AppTest, ASecondStartHandsItsFilesToTheRunningOne) {
    fw::test::ScratchDir dir;
    QStringList received;
    InstanceServer server([&received](const QStringList& files) { received = files; });
    const QString socket = QString::fromStdString(dir.File("socket"));
    ASSERT_TRUE(server.Listen(socket));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(SendToRunningInstance({"a.tvp", "/abs/b.tvp"}, socket));
    QTRY_COMPARE(received, QStringList({cwd + "/a.tvp", "/abs/b.tvp"}));
    // A second server at the same place stays out while the first answers.
    InstanceServer other([](const QStringList&) {});
    EXPECT_FALSE(other.Listen(socket));
}

} // namespace
} // namespace tarvo::test
