// The export windows driven through their widgets: the format dialogs, the
// C/C++ options and the export list.
#include "app/c_options_dialog.h"
#include "app/export_files_dialog.h"
#include "app/export_format_dialog.h"
#include "app/file_chooser.h"
#include "design/design_action.h"
#include "design/iir_filter.h"
#include "fw/archive.h"
#include "fw/recording_ui.h"
#include "fw/test_files.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using fw::test::ScratchDir;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

template <class W> W& Find(QWidget& dialog, const char* name) {
    W* widget = dialog.findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    if (widget == nullptr) throw std::runtime_error(name);
    return *widget;
}

// A click as the user makes it (check boxes stretched by their layout are not
// hit in their middle, so no mouse position is used).
void Click(QWidget& dialog, const char* name) {
    Find<QAbstractButton>(dialog, name).click();
}

// Chooses a list entry as the user does (the activated signal).
void Choose(QWidget& dialog, const char* name, int index) {
    QComboBox& combo = Find<QComboBox>(dialog, name);
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

// Runs action on the next modal dialog, once its event loop runs.
void OnNextModal(std::function<void(QWidget&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(*modal);
    });
}

std::vector<std::uint8_t> Stored(CIirExportFileFormat& entry) {
    fw::Archive ar = fw::Archive::ForStoring();
    entry.Serialize(ar, 20);
    return ar.TakeBuffer();
}

class FakeChooser : public FileChooser {
public:
    std::optional<std::string> OpenPath(QWidget*, const std::string&, const std::string&) override {
        ADD_FAILURE() << "no open dialog expected";
        return std::nullopt;
    }
    std::optional<std::string> SavePath(QWidget*, const std::string& suggested,
                                        const std::string& filter) override {
        suggestions.push_back(suggested);
        filters.push_back(filter);
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> suggestions;
    std::vector<std::string> filters;
};

class ExportDialogs : public ::testing::Test {
protected:
    fw::RecordingUi ui;
    FakeChooser chooser;
};

TEST_F(ExportDialogs, FormatChangeSetsTheExtensionOnlyWhenTickedAndCancelKeepsTheEntry) {
    const char* const withExtension[] = {"iir_filter.txt", "iir_filter.c", "iir_filter.cpp",
                                         "iir_filter.m"};
    for (const bool ticked : {true, false}) {
        SCOPED_TRACE(ticked ? "ticked" : "not ticked");
        CIirExportFileFormat entry("/d");
        entry.m_bSetExtension = ticked ? 1 : 0;
        const std::vector<std::uint8_t> before = Stored(entry);
        OnNextModal([&](QWidget& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Export File Format");
            EXPECT_EQ(Find<QCheckBox>(dialog, "setExtension").isChecked(), ticked);
            for (int format = 0; format < 4; ++format) {
                Choose(dialog, "format", format);
                EXPECT_EQ(Find<QLineEdit>(dialog, "fileName").text().toStdString(),
                          ticked ? withExtension[format] : "iir_filter.cpp");
            }
            Click(dialog, "cancel");
        });
        EXPECT_FALSE(RunExportFormatDialog(entry, ui, chooser, nullptr));
        EXPECT_EQ(Stored(entry), before);

        // OK takes the last format, the name, and the folder of the old path.
        OnNextModal([&](QWidget& dialog) {
            Choose(dialog, "format", 3);
            Click(dialog, "ok");
        });
        EXPECT_TRUE(RunExportFormatDialog(entry, ui, chooser, nullptr));
        EXPECT_EQ(entry.m_nFormat, 3);
        EXPECT_EQ(entry.m_strPath, ticked ? "/d/iir_filter.m" : "/d/iir_filter.cpp");
    }
    EXPECT_THAT(ui.Messages(), IsEmpty());
}

TEST_F(ExportDialogs, OkRefusesInOrderAndStaysOpenWithTheFieldSelected) {
    using Edit = std::function<void(QWidget&)>;
    const auto type = [](const char* field, const char* text) {
        return [=](QWidget& d) { Find<QLineEdit>(d, field).setText(text); };
    };
    const Edit none = [](QWidget&) {};
    const struct {
        const char* what;
        Edit edit;
        Edit also;
        const char* focused;
        std::string message;
    } rows[] = {
        {"not a number", type("hexIntBits", "x"), type("fileName", ""), "hexIntBits",
         "Please enter a number."},
        {"range", type("hexFracBits", "300"), type("fileName", ""), "hexFracBits",
         "Please enter a number between 0 and 256."},
        {"spaces", type("indentSpaceCount", "33"), none, "indentSpaceCount",
         "Please enter a number between 0 and 32."},
        {"file name", type("fileName", ""), [](QWidget& d) { Click(d, "biquads"); }, "fileName",
         "Please enter a file name."},
        {"outputs", [](QWidget& d) { Click(d, "biquads"); }, type("impulseLength", "0"),
         "specifications", "Please select at least one data output."},
        {"impulse zero", [](QWidget& d) { Click(d, "impulse"); }, type("impulseLength", "0"),
         "impulseLength", "Please enter an impulse response length greater than zero."},
        {"impulse 2^21", [](QWidget& d) { Click(d, "impulse"); }, type("impulseLength", "2097152"),
         "impulseLength", "Please enter a number between 1 and 1048576."},
        {"step zero", [](QWidget& d) { Click(d, "step"); }, type("stepLength", "-1"), "stepLength",
         "Please enter a step response length greater than zero."},
        {"hex 40/30", [](QWidget& d) { Click(d, "numericHex"); },
         [](QWidget& d) {
             Find<QLineEdit>(d, "hexIntBits").setText("40");
             Find<QLineEdit>(d, "hexFracBits").setText("30");
         },
         "hexIntBits", "Hex parameters are invalid."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fw::RecordingUi rowUi;
        CIirExportFileFormat entry("/d");
        CIirFormatDialog dialog(entry, rowUi, chooser);
        dialog.show();
        row.edit(dialog);
        row.also(dialog);
        Click(dialog, "ok");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_THAT(rowUi.Messages(), ElementsAre(row.message));
        QWidget& focused = Find<QWidget>(dialog, row.focused);
        EXPECT_EQ(dialog.focusWidget(), &focused);
        if (auto* edit = qobject_cast<QLineEdit*>(&focused)) {
            EXPECT_EQ(edit->selectedText(), edit->text());
        }
    }
}

TEST_F(ExportDialogs, OptionsOnlyForCAndBiquadOrdersOnlyWithBiquads) {
    CIirFileFormat view;
    CIirFormatDialog viewDialog(view, ui);
    viewDialog.show();
    EXPECT_EQ(viewDialog.windowTitle(), "Coefficients View Format");
    EXPECT_EQ(viewDialog.findChild<QLineEdit*>("fileName"), nullptr);
    EXPECT_EQ(viewDialog.findChild<QPushButton*>("browse"), nullptr);
    EXPECT_EQ(Find<QComboBox>(viewDialog, "biquadOrder").count(), 5);
    const bool optionsFor[] = {false, true, true, false};
    for (int format = 0; format < 4; ++format) {
        Choose(viewDialog, "format", format);
        EXPECT_EQ(Find<QPushButton>(viewDialog, "options").isEnabled(), optionsFor[format])
            << format;
    }
    QComboBox& order = Find<QComboBox>(viewDialog, "biquadOrder");
    EXPECT_TRUE(order.isEnabled());
    Click(viewDialog, "biquads");
    EXPECT_FALSE(order.isEnabled());
    Click(viewDialog, "biquads");
    EXPECT_TRUE(order.isEnabled());

    CIirExportFileFormat entry("/d");
    CIirFormatDialog exportDialog(entry, ui, chooser);
    EXPECT_EQ(Find<QComboBox>(exportDialog, "biquadOrder").count(), 3);
    EXPECT_TRUE(Find<QPushButton>(exportDialog, "options").isEnabled()); // C++
}

TEST_F(ExportDialogs, COptionsReachTheEntryOnlyThroughBothOks) {
    for (const bool outerOk : {false, true}) {
        SCOPED_TRACE(outerOk ? "outer OK" : "outer Cancel");
        CIirExportFileFormat entry("/d");
        OnNextModal([&](QWidget& format) {
            OnNextModal([](QWidget& options) {
                EXPECT_EQ(options.windowTitle(), "C/C++ Options");
                Find<QLineEdit>(options, "realType").setText("float");
                QPlainTextEdit& header = Find<QPlainTextEdit>(options, "headerText");
                header.setFocus();
                QTest::keyClicks(&header, "// a");
                QTest::keyClick(&header, Qt::Key_Return); // a new line, not OK
                QTest::keyClicks(&header, "// b");
                EXPECT_TRUE(options.isVisible());
                Click(options, "ok");
            });
            Click(format, "options");
            Click(format, outerOk ? "ok" : "cancel");
        });
        EXPECT_EQ(RunExportFormatDialog(entry, ui, chooser, nullptr), outerOk);
        EXPECT_EQ(entry.m_cOptions.m_strRealType, outerOk ? "float" : "double");
        EXPECT_EQ(entry.m_cOptions.m_strHeaderText, outerOk ? "// a\n// b" : "");
    }
}

TEST_F(ExportDialogs, BrowseSetsPathAndNameAndATypedNameKeepsTheFolder) {
    CIirExportFileFormat entry("/d");
    chooser.answer = "/chosen/out/coeffs.m";
    OnNextModal([&](QWidget& dialog) {
        Click(dialog, "browse");
        EXPECT_EQ(Find<QLineEdit>(dialog, "fileName").text(), "coeffs.m");
        Click(dialog, "ok");
    });
    ASSERT_TRUE(RunExportFormatDialog(entry, ui, chooser, nullptr));
    EXPECT_THAT(chooser.suggestions, ElementsAre("/d/iir_filter.cpp"));
    EXPECT_THAT(chooser.filters,
                ElementsAre("Text Files (*.txt *.hex);;C/C++ Files (*.c *.cpp *.h);;Matlab Files "
                            "(*.m)"));
    EXPECT_EQ(entry.m_strPath, "/chosen/out/coeffs.m");
    EXPECT_EQ(entry.m_strFileName, "coeffs.m");

    OnNextModal([&](QWidget& dialog) {
        Find<QLineEdit>(dialog, "fileName").setText("renamed.txt");
        Click(dialog, "ok");
    });
    ASSERT_TRUE(RunExportFormatDialog(entry, ui, chooser, nullptr));
    EXPECT_EQ(entry.m_strPath, "/chosen/out/renamed.txt");
}

TEST_F(ExportDialogs, ViewFormatCommitsOnOkOnly) {
    CIirFileFormat view;
    OnNextModal([](QWidget& dialog) {
        Click(dialog, "numericScientific");
        Click(dialog, "cancel");
    });
    EXPECT_FALSE(RunViewFormatDialog(view, ui, nullptr));
    EXPECT_EQ(view.m_nNumeric, kNumericFloating);
    OnNextModal([](QWidget& dialog) {
        Click(dialog, "numericScientific");
        Click(dialog, "indentTabs");
        Click(dialog, "zerosPoles");
        Choose(dialog, "biquadOrder", 4);
        Click(dialog, "ok");
    });
    EXPECT_TRUE(RunViewFormatDialog(view, ui, nullptr));
    EXPECT_EQ(view.m_nNumeric, kNumericScientific);
    EXPECT_EQ(view.m_nIndentKind, kIndentTabs);
    EXPECT_EQ(view.m_bZerosPoles, 1);
    EXPECT_EQ(view.m_nBiquadOrder, 4);
    EXPECT_EQ(view.m_strPath, ""); // the view keeps no export path
}

// Answers Add and Modify with an entry in a given file.
class FileEditor : public CExportFormatEditor {
public:
    bool Edit(CIirExportFileFormat& entry) override {
        seen.push_back(entry.m_strPath);
        if (paths.empty()) return false;
        entry.m_strPath = paths.front();
        entry.m_strFileName = fs::path(paths.front()).filename().string();
        entry.m_nFormat = kFormatMatlab;
        paths.pop_front();
        return true;
    }
    std::deque<std::string> paths;
    std::vector<std::string> seen;
};

struct ExportButtonsShown {
    bool remove, modify, view, exportOne, exportAll;
    friend bool operator==(const ExportButtonsShown&, const ExportButtonsShown&) = default;
};

ExportButtonsShown Shown(QWidget& d) {
    const auto on = [&](const char* name) { return Find<QPushButton>(d, name).isEnabled(); };
    return {on("remove"), on("modify"), on("view"), on("export"), on("exportAll")};
}

std::vector<std::string> Lines(QWidget& d) {
    QListWidget& list = Find<QListWidget>(d, "pathList");
    std::vector<std::string> lines;
    for (int i = 0; i < list.count(); ++i)
        lines.push_back(list.item(i)->text().toStdString());
    return lines;
}

TEST_F(ExportDialogs, ExportFilesListButtonsAndExports) {
    ScratchDir dir;
    CIirFilter filter;
    CExportFiles exports(dir.Path().string());
    exports.m_pFilter = &filter;
    FileEditor editor;
    CExportFilesDialog dialog(exports, ui, editor);
    dialog.show();
    // A new project: empty, automatic export on, nothing to export.
    EXPECT_THAT(Lines(dialog), IsEmpty());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "autoExport").isChecked());
    EXPECT_EQ(Shown(dialog), (ExportButtonsShown{false, false, false, false, false}));

    ASSERT_TRUE(RunDesign(filter, IirDesignSpec{}, -130.0).Designed());
    const std::string missing = dir.File("missing/a.m");
    const std::string written = dir.File("b.m");
    editor.paths = {missing, written};
    Click(dialog, "add");
    // The only entry is selected; its file does not exist yet.
    EXPECT_THAT(Lines(dialog), ElementsAre(missing));
    EXPECT_EQ(Find<QListWidget>(dialog, "pathList").currentRow(), 0);
    EXPECT_EQ(Shown(dialog), (ExportButtonsShown{true, true, false, true, true}));
    Click(dialog, "add"); // starts from the selected entry
    EXPECT_THAT(editor.seen, ElementsAre(dir.File("iir_filter.cpp"), missing));
    EXPECT_THAT(Lines(dialog), ElementsAre(missing, written));

    Click(dialog, "exportAll");
    EXPECT_THAT(ui.Messages(), ElementsAre("Cannot open file \"" + missing + "\"."));
    EXPECT_TRUE(fs::exists(written));

    // Selecting the written entry enables View, which hands its path on.
    Find<QListWidget>(dialog, "pathList").setCurrentRow(1);
    EXPECT_EQ(Shown(dialog), (ExportButtonsShown{true, true, true, true, true}));
    Click(dialog, "view");
    EXPECT_THAT(ui.Texts(fw::RecordingUi::Call::Kind::OpenFile), ElementsAre(written));

    Click(dialog, "autoExport");
    EXPECT_FALSE(exports.AutoExportOn());
    Click(dialog, "remove");
    EXPECT_THAT(Lines(dialog), ElementsAre(missing));
    Click(dialog, "remove");
    EXPECT_THAT(Lines(dialog), IsEmpty());
    EXPECT_EQ(Shown(dialog), (ExportButtonsShown{false, false, false, false, false}));

    // Escape closes like Close; the list keeps its changes.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(exports.m_list.Empty());
    EXPECT_FALSE(exports.AutoExportOn());
}

} // namespace
} // namespace tarvo
