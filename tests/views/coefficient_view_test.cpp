// The coefficient view on a real project: its text is the core's coefficient
// text, written anew on design and frequency changes only (once per burst),
// with its own undo, search, format and font commands, Type items that may
// replace it, and printing.

#include "design/design_action.h"
#include "doc/design_frame.h"
#include "doc/pane_kind.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "doc/view_command_ids.h"
#include "export/coefficient_text.h"
#include "fw/command_ids.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"
#include "views/coefficient_view.h"
#include "views/coefficient_view_rules.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tarvo {
namespace {

// A window that is not the design window.
class PlainFrame : public fw::Frame {};

// A design window whose views are panes by index; laying out replaces the
// views whose pane now holds another kind, as the real window does.
class PaneFrame : public DesignFrame {
public:
    std::optional<std::int32_t> PaneIndexOf(const fw::View& view) const override {
        const auto it = panes_.find(&view);
        if (it == panes_.end()) return std::nullopt;
        return it->second;
    }
    void LayoutPanes() override {
        ++layouts;
        for (fw::View* view : Views()) {
            if (panes_.count(view) != 0 && dynamic_cast<CIirDataView*>(view) != nullptr) {
                panes_.erase(view);
                RemoveView(*view);
            }
        }
    }
    void SetPane(const fw::View& view, std::int32_t index) { panes_[&view] = index; }
    int layouts = 0;

private:
    std::map<const fw::View*, std::int32_t> panes_;
};

class CoefficientViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto made = std::make_unique<CIirDataView>();
        view = made.get();
        frame.SetPane(frame.AddView(std::move(made), &doc), 1);
        ASSERT_TRUE(doc.OnNewDocument());
        view->Widget()->resize(500, 300);
        view->Widget()->show();
        Settle();
    }

    void TearDown() override {
        CIirDataView::SetFormatDialog({});
        CIirDataView::SetFontChooser({});
        CIirDataView::SetContextMenuBuilder({});
    }

    void Design(IirDesignSpec form = {}) {
        ASSERT_TRUE(RunDesign(doc.GetFilter(), form, doc.GetMinDb()).Designed());
        doc.OnFilterChanged(true, 0);
        Settle();
    }

    static void Settle() { QCoreApplication::processEvents(); }

    QString Text() const { return view->Edit()->toPlainText(); }
    QString CoreText() {
        const CoefficientTextResult text = CoefficientText(doc.GetFormat(), doc.GetFilter(), ui);
        return QString::fromStdString(text.text);
    }
    bool Enabled(fw::CommandId id) {
        fw::CmdUI state(id);
        EXPECT_TRUE(view->OnUpdateCommand(id, state)) << id;
        return state.IsEnabled();
    }

    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
    PaneFrame frame;
    CIirDataView* view = nullptr;
};

TEST_F(CoefficientViewTest, ShowsNothingUntilDesignedThenTheCoreText) {
    EXPECT_TRUE(view->IsBound());
    EXPECT_TRUE(Text().isEmpty());
    EXPECT_FALSE(view->FocusMenuBar().has_value());
    EXPECT_EQ(view->Edit()->objectName(), "coefficientView");
    const QFontMetrics metrics(view->Edit()->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")),
              metrics.horizontalAdvance(QStringLiteral("WWWW")));

    Design({.order = 6, .response = kBandpass});

    EXPECT_FALSE(Text().isEmpty());
    EXPECT_EQ(Text(), CoreText());
    EXPECT_EQ(view->FocusMenuBar(), MenuBarKind::kCoefficients);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CoefficientViewTest, OnlyDesignAndFrequencyChangesReplaceEdits) {
    Design();
    const QString designed = Text();
    const struct {
        std::int32_t hint;
        bool rendered;
    } rows[] = {{hint::kDesignChanged, true},
                {hint::kFsChanged, true},
                {hint::kLoaded, true},
                {hint::kWindowsOpened, false},
                {hint::kCoefficientsWindowOpened, false},
                {hint::kBind, false},
                {hint::kAboutToStore, false}};
    for (const auto& row : rows) {
        view->Edit()->setPlainText(QStringLiteral("edited"));
        doc.UpdateAllViews(nullptr, row.hint, &doc.GetFilter());
        Settle();
        EXPECT_EQ(Text(), row.rendered ? designed : QStringLiteral("edited")) << row.hint;
    }
}

TEST_F(CoefficientViewTest, ABurstOfHintsRendersOnceAndAHiddenViewNotAtAll) {
    Design();
    const int before = view->RenderCount();
    for (int i = 0; i < 50; ++i)
        doc.UpdateAllViews(nullptr, hint::kDesignChanged, &doc.GetFilter());
    Settle();
    EXPECT_EQ(view->RenderCount(), before + 1);

    view->Widget()->hide();
    for (int i = 0; i < 5; ++i)
        doc.UpdateAllViews(nullptr, hint::kDesignChanged, &doc.GetFilter());
    Settle();
    EXPECT_EQ(view->RenderCount(), before + 1);
    view->Widget()->show();
    Settle();
    EXPECT_EQ(view->RenderCount(), before + 2);
}

TEST_F(CoefficientViewTest, AMissingTemporaryFolderShowsTheFailureText) {
    QTemporaryDir temp;
    const fw::test::TempDirOverride tmpdir(temp.filePath("missing").toStdString());
    Design();
    EXPECT_EQ(Text(), "Temporary data file cannot be written.");
}

TEST_F(CoefficientViewTest, RendersLeaveNoFileAndNoPathInTheProject) {
    doc.GetFormat().m_strPath = "/stored/view.txt";
    QTemporaryDir temp;
    {
        const fw::test::TempDirOverride tmpdir(temp.path().toStdString());
        Design();
        for (int i = 0; i < 9; ++i) {
            doc.UpdateAllViews(nullptr, hint::kDesignChanged, &doc.GetFilter());
            Settle();
        }
        EXPECT_GE(view->RenderCount(), 10);
        EXPECT_TRUE(
            QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
    const std::string saved = temp.filePath("saved.tvp").toStdString();
    ASSERT_TRUE(doc.OnSaveDocument(saved));
    fw::RecordingUi otherUi;
    CTarvoIirDoc reopened(otherUi);
    ASSERT_TRUE(reopened.OnOpenDocument(saved));
    EXPECT_EQ(reopened.GetFormat().m_strPath, "/stored/view.txt");
}

TEST_F(CoefficientViewTest, UndoTakesBackTheTypingNotTheDesign) {
    Design();
    const QString designed = Text();
    const std::size_t undoCount = doc.UndoCount();
    QPlainTextEdit* edit = view->Edit();
    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, "typed");
    ASSERT_NE(Text(), designed);
    EXPECT_TRUE(Enabled(fw::kIdEditUndo));

    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), designed);

    QTest::keyClicks(edit, "again");
    EXPECT_TRUE(view->OnCommand(fw::kIdEditUndo));
    EXPECT_EQ(Text(), designed);
    EXPECT_EQ(doc.UndoCount(), undoCount);
    EXPECT_FALSE(Enabled(fw::kIdEditUndo));
}

TEST_F(CoefficientViewTest, FindSelectsRepeatGoesOnAndWrapsReplaceAllCounts) {
    view->Edit()->setPlainText(QStringLiteral("alpha beta\nBeta gamma\nbeta"));
    view->Edit()->moveCursor(QTextCursor::Start);
    EXPECT_FALSE(Enabled(fw::kIdEditRepeat));
    ASSERT_TRUE(view->OnCommand(fw::kIdEditFind));
    FindDialog* finder = view->Finder();
    ASSERT_NE(finder, nullptr);
    EXPECT_TRUE(finder->isVisible());
    finder->findChild<QLineEdit*>("findWhat")->setText(QStringLiteral("beta"));
    QTest::mouseClick(finder->findChild<QPushButton*>("findNext"), Qt::LeftButton);

    const auto selectionStart = [this] { return view->Edit()->textCursor().selectionStart(); };
    EXPECT_EQ(view->Edit()->textCursor().selectedText(), "beta");
    EXPECT_EQ(selectionStart(), 6);
    EXPECT_TRUE(Enabled(fw::kIdEditRepeat));
    view->OnCommand(fw::kIdEditRepeat);
    EXPECT_EQ(selectionStart(), 11); // "Beta": case ignored
    view->OnCommand(fw::kIdEditRepeat);
    EXPECT_EQ(selectionStart(), 22);
    view->OnCommand(fw::kIdEditRepeat);
    EXPECT_EQ(selectionStart(), 6); // wrapped
    EXPECT_TRUE(ui.Messages().empty());

    EXPECT_FALSE(view->FindNext({.what = "delta"}));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot find \"delta\"."});

    EXPECT_EQ(view->ReplaceAll({.what = "beta", .with = "b", .matchCase = true}), 2);
    EXPECT_EQ(Text(), "alpha b\nBeta gamma\nb");
    view->OnCommand(fw::kIdEditUndo);
    EXPECT_EQ(Text(), "alpha beta\nBeta gamma\nbeta");
}

TEST_F(CoefficientViewTest, FormatOkReRendersEveryCoefficientViewCancelChangesNothing) {
    Design();
    PlainFrame window;
    auto* second =
        static_cast<CIirDataView*>(&window.AddView(std::make_unique<CIirDataView>(), &doc));
    doc.UpdateAllViews(nullptr, hint::kCoefficientsWindowOpened, &doc.GetFilter());
    second->Widget()->show();
    Settle();
    const QString before = Text();
    doc.SetModifiedFlag(false);

    CIirDataView::SetFormatDialog([](QWidget*, CIirFileFormat& format) {
        format.m_nFormat = kFormatMatlab;
        return false;
    });
    view->OnCommand(kIdDataViewFormat);
    Settle();
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(doc.GetFormat().m_nFormat, kFormatText);
    EXPECT_FALSE(doc.IsModified());

    CIirDataView::SetFormatDialog([](QWidget*, CIirFileFormat& format) {
        format.m_nFormat = kFormatMatlab;
        return true;
    });
    view->OnCommand(kIdDataViewFormat);
    Settle();
    EXPECT_EQ(doc.GetFormat().m_nFormat, kFormatMatlab);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Text(), CoreText());
    EXPECT_NE(Text(), before);
    EXPECT_EQ(second->Edit()->toPlainText(), Text());
}

TEST_F(CoefficientViewTest, FontIsTheChosenOneAndCancelKeepsIt) {
    const QFont original = view->Edit()->font();
    CIirDataView::SetFontChooser([](QWidget*, const QFont&) { return std::optional<QFont>(); });
    view->OnCommand(kIdDataViewFont);
    EXPECT_EQ(view->Edit()->font(), original);

    QFont chosen(QStringLiteral("DejaVu Sans Mono"), original.pointSize() + 3);
    CIirDataView::SetFontChooser([chosen](QWidget*, const QFont&) { return chosen; });
    view->OnCommand(kIdDataViewFont);
    EXPECT_EQ(view->Edit()->font().pointSize(), original.pointSize() + 3);
}

TEST_F(CoefficientViewTest, ContextMenuComesFromTheApplicationOnceBound) {
    int built = 0;
    QPointer<QMenu> shown;
    CIirDataView::SetContextMenuBuilder([&](QWidget* parent) {
        ++built;
        auto* menu = new QMenu(parent);
        menu->addAction(QStringLiteral("&Format..."));
        QObject::connect(menu, &QMenu::aboutToShow, menu, &QMenu::close, Qt::QueuedConnection);
        shown = menu;
        return menu;
    });
    const auto popUp = [](QWidget* edit) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &event);
    };

    CIirDataView unbound;
    popUp(unbound.Edit());
    EXPECT_EQ(built, 0);

    popUp(view->Edit());
    EXPECT_EQ(built, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
}

TEST_F(CoefficientViewTest, TypeItemsWorkOnlyInADesignPane) {
    EXPECT_FALSE(Enabled(kIdTypeMagnitude));
    EXPECT_TRUE(Enabled(kIdTypePolesAndZeros));
    Design();
    EXPECT_TRUE(Enabled(kIdTypeMagnitude));

    PlainFrame window;
    auto* other =
        static_cast<CIirDataView*>(&window.AddView(std::make_unique<CIirDataView>(), &doc));
    fw::CmdUI state(kIdTypeMagnitude);
    ASSERT_TRUE(other->OnUpdateCommand(kIdTypeMagnitude, state));
    EXPECT_FALSE(state.IsEnabled());
    EXPECT_TRUE(other->OnCommand(kIdTypeMagnitude));
    EXPECT_EQ(frame.layouts, 0);
    EXPECT_EQ(doc.GetLayout().PaneKind(1), kPaneCoefficients);

    // The pane's view goes while its own command runs.
    EXPECT_TRUE(view->OnCommand(kIdTypeMagnitude));
    EXPECT_EQ(frame.layouts, 1);
    EXPECT_EQ(doc.GetLayout().PaneKind(1), kPaneMagnitude);
    EXPECT_EQ(frame.Views().size(), 0U);
    Settle();
}

TEST_F(CoefficientViewTest, PrintsTheTextToAPdf) {
    IirDesignSpec form{.order = 10, .response = kBandstop};
    Design(form);
    QTemporaryDir temp;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temp.filePath("coefficients.pdf"));
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    view->PrintPage(painter, painter.viewport());
    painter.end();
    EXPECT_GT(QFileInfo(temp.filePath("coefficients.pdf")).size(), 1000);
    EXPECT_TRUE(view->CanPrint());
}

TEST(CoefficientViewRules, TypeItemsMapToPaneKinds) {
    const std::pair<fw::CommandId, std::int32_t> rows[] = {
        {kIdTypeMagnitude, kPaneMagnitude},
        {kIdTypeUnwrappedPhase, kPaneUnwrappedPhase},
        {kIdTypePhase, kPanePhase},
        {kIdTypeGroupDelay, kPaneGroupDelay},
        {kIdTypePhaseDelay, kPanePhaseDelay},
        {kIdTypeImpulse, kPaneImpulse},
        {kIdTypeStep, kPaneStep},
        {kIdTypeImpulseAndStep, kPaneImpulseAndStep},
        {kIdTypePolesAndZeros, kPanePoleZero},
        {kIdTypeData, kPaneCoefficients}};
    for (const auto& [id, kind] : rows) {
        EXPECT_EQ(TypeCommandPaneKind(id), kind) << id;
        EXPECT_FALSE(TypeCommandEnabled(id, true, false)) << id;
        EXPECT_TRUE(TypeCommandEnabled(id, true, true)) << id;
        EXPECT_EQ(TypeCommandEnabled(id, false, true), id == kIdTypePolesAndZeros) << id;
    }
    EXPECT_FALSE(TypeCommandPaneKind(kIdDataViewFormat));
    EXPECT_FALSE(TypeCommandEnabled(fw::kIdEditCopy, true, true));
}

TEST(CoefficientViewRules, EditCommandsFollowSelectionClipboardAndSearch) {
    const TextEditState none{};
    const TextEditState text{.hasText = true};
    const TextEditState selected{.hasText = true, .hasSelection = true};
    const struct {
        fw::CommandId id;
        TextEditState on;
        TextEditState off;
    } rows[] = {
        {fw::kIdEditCut, selected, text},
        {fw::kIdEditCopy, selected, text},
        {fw::kIdEditClear, selected, text},
        {fw::kIdEditPaste, {.canPaste = true}, selected},
        {fw::kIdEditSelectAll, text, none},
        {fw::kIdEditFind, text, none},
        {fw::kIdEditReplace, text, none},
        {fw::kIdEditRepeat, {.hasText = true, .hasSearch = true}, text},
        {fw::kIdEditUndo, {.canUndo = true}, selected},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EditCommandEnabled(row.id, row.on), true) << row.id;
        EXPECT_EQ(EditCommandEnabled(row.id, row.off), false) << row.id;
    }
    EXPECT_FALSE(EditCommandEnabled(fw::kIdFilePrint, selected).has_value());
    EXPECT_EQ(CannotFindMessage("b0"), "Cannot find \"b0\".");
}

} // namespace
} // namespace tarvo
