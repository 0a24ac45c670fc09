#include "app/about_dialog.h"
#include "app/design_layout_dialog.h"
#include "app/min_db_dialog.h"
#include "app/plot_properties_dialog.h"
#include "app/preferences_dialog.h"
#include "app/qt_project_dialogs.h"
#include "app/sampling_frequency_dialog.h"
#include "app/splash_dialog.h"
#include "export/export_files.h"
#include "fw/recording_ui.h"

#include <algorithm>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using ::testing::ElementsAre;

template <class W> W& Find(QWidget& dialog, const char* name) {
    W* widget = dialog.findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    if (widget == nullptr) throw std::runtime_error(name);
    return *widget;
}

void Type(QWidget& dialog, const char* field, const QString& text) {
    Find<QLineEdit>(dialog, field).setText(text);
}

std::vector<std::string> Items(const QComboBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(list.itemText(i).toStdString());
    return items;
}

void ClickOk(QWidget& dialog) {
    QTest::mouseClick(&Find<QPushButton>(dialog, "ok"), Qt::LeftButton);
}

class Dialogs : public ::testing::Test {
protected:
    fw::RecordingUi ui;
};

TEST_F(Dialogs, SamplingFrequencyUnitChangeKeepsTheNumber) {
    CSampRate dialog(CFs(1.0), ui);
    dialog.show();
    QComboBox& unit = Find<QComboBox>(dialog, "unit");
    EXPECT_THAT(Items(unit), ElementsAre("Hz,sec", "kHz,ms", "MHz,us", "GHz,ns"));
    EXPECT_EQ(unit.currentIndex(), 0);
    EXPECT_EQ(Find<QLineEdit>(dialog, "frequency").text(), "1");
    unit.setCurrentIndex(1);
    QTest::keyClick(&Find<QLineEdit>(dialog, "frequency"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetFs().GetValue(), 1.0);
    EXPECT_EQ(dialog.GetFs().GetHz(), 1000.0);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Dialogs, ARefusedFieldKeepsTheDialogOpenWithTheFieldSelected) {
    using Open = std::function<std::unique_ptr<FieldDialog>(fw::Ui&)>;
    const Open fs = [](fw::Ui& u) { return std::make_unique<CSampRate>(CFs(48.0), u); };
    const Open minDb = [](fw::Ui& u) { return std::make_unique<CMinDb>(-130.0, u); };
    const Open prefs = [](fw::Ui& u) { return std::make_unique<CIirPreferences>(true, -1.0, u); };
    const Open plot = [](fw::Ui& u) {
        return std::make_unique<CIirPlotProperties>(PlotProperties{}, u);
    };
    const std::string prefsRange = "Please enter a number between -300 and 0.";
    const std::string lengthRange = "Please enter a number between 0 and 1000000.";
    const struct {
        const Open& open;
        const char* field;
        const char* text;
        std::string message;
    } rows[] = {
        {fs, "frequency", "nan", fw::kEnterNumberMessage},
        {fs, "frequency", "48,5", fw::kEnterNumberMessage},
        {fs, "frequency", "0", kSamplingFrequencyMessage},
        {fs, "frequency", "-48", kSamplingFrequencyMessage},
        {minDb, "minimumDb", "inf", fw::kEnterNumberMessage},
        {prefs, "defaultMinDb", "-300.5", prefsRange},
        {prefs, "defaultMinDb", "0.1", prefsRange},
        {prefs, "defaultMinDb", "", fw::kEnterNumberMessage},
        {plot, "sampleLength", "1000001", lengthRange},
        {plot, "sampleLength", "-1", lengthRange},
        {plot, "sampleLength", "many", fw::kEnterNumberMessage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.field) + " \"" + row.text + "\"");
        fw::RecordingUi rowUi;
        const std::unique_ptr<FieldDialog> dialog = row.open(rowUi);
        dialog->show();
        Type(*dialog, row.field, row.text);
        ClickOk(*dialog);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_THAT(rowUi.Messages(), ElementsAre(row.message));
        EXPECT_EQ(rowUi.Calls()[0].icon, kFieldIcon);
        // Ready to be typed over: focused, the whole text selected.
        QLineEdit& edit = Find<QLineEdit>(*dialog, row.field);
        EXPECT_EQ(dialog->focusWidget(), &edit);
        EXPECT_EQ(edit.selectedText(), edit.text());
    }
}

TEST_F(Dialogs, PreferencesTakeTheBoundsOfTheirRange) {
    for (const double bound : {-300.0, 0.0}) {
        CIirPreferences dialog(true, -130.0, ui);
        dialog.show();
        EXPECT_EQ(Find<QLineEdit>(dialog, "defaultMinDb").text(), "-130");
        Find<QCheckBox>(dialog, "enableTitles").setChecked(false);
        Type(dialog, "defaultMinDb", QString::number(bound));
        ClickOk(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.GetDefaultMinDb(), bound);
        EXPECT_FALSE(dialog.GetEnableMainPlotTitles());
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Dialogs, PlotPropertiesEachMaskBitEnablesExactlyItsControls) {
    const struct {
        std::int32_t bit;
        std::vector<std::string_view> controls;
    } rows[] = {
        {kPropAutoTitles, {"autoTitles"}},
        {kPropFullDecadeZoom, {"fullDecadeZoom"}},
        {kPropOriginAtZero, {"originAtZero"}},
        {kPropLegend, {"enableLegend"}},
        {kPropSampleLength, {"sampleLengthLabel", "sampleLength"}},
    };
    const char* all[] = {"autoTitles",   "fullDecadeZoom",    "originAtZero",
                         "enableLegend", "sampleLengthLabel", "sampleLength"};
    for (const auto& row : rows) {
        for (const bool set : {true, false}) {
            PlotProperties properties;
            properties.enabledMask = set ? row.bit : kPropAllEnabled & ~row.bit;
            CIirPlotProperties dialog(properties, ui);
            for (const char* name : all) {
                const bool own = std::ranges::find(row.controls, name) != row.controls.end();
                EXPECT_EQ(Find<QWidget>(dialog, name).isEnabled(), own == set)
                    << "bit " << row.bit << (set ? " alone" : " cleared") << ", " << name;
            }
        }
    }
}

TEST_F(Dialogs, PlotPropertiesHandBackEveryValueOnOk) {
    PlotProperties properties;
    properties.legend = true;
    properties.sampleLength = 200;
    properties.enabledMask = kPropAllEnabled & ~kPropOriginAtZero;
    CIirPlotProperties dialog(properties, ui);
    dialog.show();
    EXPECT_TRUE(Find<QCheckBox>(dialog, "enableLegend").isChecked());
    EXPECT_EQ(Find<QLineEdit>(dialog, "sampleLength").text(), "200");
    Find<QCheckBox>(dialog, "autoTitles").setChecked(true);
    Find<QCheckBox>(dialog, "enableLegend").setChecked(false);
    Find<QCheckBox>(dialog, "fullDecadeZoom").setChecked(true);
    Type(dialog, "sampleLength", "-1");
    ClickOk(dialog);
    EXPECT_EQ(dialog.GetProperties(), properties); // nothing of a refused OK
    Type(dialog, "sampleLength", "1000000");
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    PlotProperties expected = properties;
    expected.autoTitles = true;
    expected.legend = false;
    expected.fullDecadeZoom = true;
    expected.sampleLength = 1000000;
    EXPECT_EQ(dialog.GetProperties(), expected);
}

// Every way out but OK leaves what the caller gave, whatever was typed or chosen.
TEST_F(Dialogs, EndingWithoutOkChangesNothing) {
    const DesignLayoutChoice layout{{3, 4, 5, 7, 8}, true, false};
    CFs fs(48.0);
    fs.SetUnit(1);
    PlotProperties plot;
    plot.sampleLength = 50;
    // Each row opens its dialog, edits every control, and tells whether the
    // dialog still hands back the caller's values.
    using Row = std::function<bool(const std::function<void(QDialog&)>& end)>;
    const auto run = [](QDialog& d, const auto& end) {
        d.show();
        end(d);
        return !d.isVisible() && d.result() == QDialog::Rejected;
    };
    const std::vector<std::pair<const char*, Row>> rows = {
        {"sampling frequency",
         [&](const auto& end) {
             CSampRate d(fs, ui);
             Type(d, "frequency", "96");
             Find<QComboBox>(d, "unit").setCurrentIndex(2);
             return run(d, end) && d.GetFs().GetValue() == 48.0 && d.GetFs().GetUnit() == 1;
         }},
        {"minimum dB",
         [&](const auto& end) {
             CMinDb d(-130.0, ui);
             Type(d, "minimumDb", "-80");
             return run(d, end) && d.GetMinDb() == -130.0;
         }},
        {"preferences",
         [&](const auto& end) {
             CIirPreferences d(true, -130.0, ui);
             Type(d, "defaultMinDb", "-80");
             Find<QCheckBox>(d, "enableTitles").setChecked(false);
             return run(d, end) && d.GetEnableMainPlotTitles() && d.GetDefaultMinDb() == -130.0;
         }},
        {"plot properties",
         [&](const auto& end) {
             CIirPlotProperties d(plot, ui);
             Type(d, "sampleLength", "70");
             Find<QCheckBox>(d, "enableLegend").setChecked(true);
             return run(d, end) && d.GetProperties() == plot;
         }},
        {"design layout", [&](const auto& end) {
             CDesignLayout d(layout);
             Find<QComboBox>(d, "pane0").setCurrentIndex(0);
             Find<QCheckBox>(d, "saveAsDefault").setChecked(true);
             return run(d, end) && d.GetChoice() == layout;
         }}};
    const std::pair<const char*, std::function<void(QDialog&)>> ways[] = {
        {"Cancel",
         [](QDialog& d) { QTest::mouseClick(&Find<QPushButton>(d, "cancel"), Qt::LeftButton); }},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close button", [](QDialog& d) { d.close(); }}};
    for (const auto& [dialog, row] : rows) {
        for (const auto& [way, end] : ways) {
            EXPECT_TRUE(row(end)) << dialog << ", " << way;
        }
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Dialogs, DesignLayoutResetKeepsTheBoxesAndOkReturnsTheChoice) {
    // An unknown kind shows what its pane shows; "Save as default" opens unticked.
    CDesignLayout dialog(DesignLayoutChoice{{0, 42, -1, 9, 3}, true, true});
    dialog.show();
    const auto shown = [&] {
        std::vector<std::string> kinds;
        for (const char* pane : {"pane0", "pane1", "pane2", "pane3", "pane4"}) {
            kinds.push_back(Find<QComboBox>(dialog, pane).currentText().toStdString());
        }
        return kinds;
    };
    EXPECT_THAT(Items(Find<QComboBox>(dialog, "pane3")),
                ElementsAre("Coefficients", "Magnitude", "Unwrapped Phase", "Phase", "Group Delay",
                            "Phase Delay", "Poles and Zeros", "Impulse", "Step",
                            "Impulse and Step"));
    EXPECT_THAT(shown(),
                ElementsAre("Coefficients", "Magnitude", "Magnitude", "Impulse and Step", "Phase"));
    QCheckBox& minimize = Find<QCheckBox>(dialog, "minimizeBottomRow");
    QCheckBox& saveAsDefault = Find<QCheckBox>(dialog, "saveAsDefault");
    EXPECT_TRUE(minimize.isChecked());
    EXPECT_FALSE(saveAsDefault.isChecked());
    EXPECT_EQ(Find<QLabel>(dialog, "designParameters").text(), " Design Parameters");

    saveAsDefault.setChecked(true);
    QTest::mouseClick(&Find<QPushButton>(dialog, "reset"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_THAT(shown(), ElementsAre("Poles and Zeros", "Coefficients", "Magnitude",
                                     "Unwrapped Phase", "Impulse and Step"));
    EXPECT_TRUE(minimize.isChecked());
    EXPECT_TRUE(saveAsDefault.isChecked());

    Find<QComboBox>(dialog, "pane4").setCurrentIndex(5);
    minimize.setChecked(false);
    QTest::keyClick(&Find<QComboBox>(dialog, "pane4"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetChoice(), (DesignLayoutChoice{{6, 0, 1, 2, 5}, false, true}));
}

// Runs act on the modal dialog that call opens, once it is up.
template <class Call> auto WithModal(std::function<void(QDialog&)> act, Call call) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(*dialog);
        }
    });
    poll.start(10);
    return call();
}

TEST_F(Dialogs, ProjectDialogsRunModallyAndAnswerOnlyOnOk) {
    QtProjectDialogs dialogs(nullptr, ui);
    const auto cancel = [](QDialog& d) { d.reject(); };

    EXPECT_EQ(WithModal(
                  [](QDialog& d) {
                      Type(d, "minimumDb", "-90");
                      ClickOk(d);
                  },
                  [&] { return dialogs.MinimumDb(-130.0); }),
              -90.0);
    EXPECT_EQ(WithModal(cancel, [&] { return dialogs.MinimumDb(-130.0); }), std::nullopt);

    const std::optional<CFs> fs = WithModal(
        [](QDialog& d) {
            Find<QComboBox>(d, "unit").setCurrentIndex(1);
            ClickOk(d);
        },
        [&] { return dialogs.SamplingFrequency(CFs(1.0)); });
    ASSERT_TRUE(fs.has_value());
    EXPECT_EQ(fs->GetHz(), 1000.0);
    EXPECT_FALSE(WithModal(cancel, [&] { return dialogs.SamplingFrequency(CFs(1.0)); }));

    const DesignLayoutChoice layout{{1, 2, 3, 4, 5}, false, false};
    EXPECT_EQ(WithModal(ClickOk, [&] { return dialogs.DesignLayout(layout); }), layout);
    EXPECT_EQ(WithModal(cancel, [&] { return dialogs.DesignLayout(layout); }), std::nullopt);

    // Export Files belongs to another window; it runs whatever was set.
    CExportFiles exports("/tmp");
    dialogs.ExportFiles(exports); // nothing set: nothing happens
    CExportFiles* seen = nullptr;
    dialogs.SetExportFilesDialog([&](CExportFiles& list) { seen = &list; });
    dialogs.ExportFiles(exports);
    EXPECT_EQ(seen, &exports);
}

TEST(Splash, ClosesAfterASecondOnALeftClickOrOnItsButton) {
    const std::pair<const char*, std::function<void(CSplash&)>> ways[] = {
        {"no input", [](CSplash&) {}},
        {"click on the window",
         [](CSplash& s) { QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(3, 3)); }},
        {"click on the picture",
         [](CSplash& s) { QTest::mouseClick(&Find<QLabel>(s, "picture"), Qt::LeftButton); }},
        {"button",
         [](CSplash& s) { QTest::mouseClick(&Find<QPushButton>(s, "start"), Qt::LeftButton); }}};
    std::vector<std::unique_ptr<CSplash>> splashes;
    std::vector<int> endings(std::size(ways), 0);
    qint64 closedAfter = -1;
    QElapsedTimer clock;
    clock.start();
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(ways[i].first);
        CSplash& splash = *splashes.emplace_back(std::make_unique<CSplash>());
        QObject::connect(&splash, &QDialog::finished, [&, i] {
            ++endings[i];
            if (i == 0) closedAfter = clock.elapsed();
        });
        EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_FALSE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        splash.show();
        EXPECT_FALSE(splash.isModal());
        QTest::mouseClick(&splash, Qt::RightButton, {}, QPoint(3, 3));
        ways[i].second(splash);
        EXPECT_EQ(splash.isVisible(), i == 0);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splashes[0]->isVisible(); }, 2000));
    EXPECT_GE(closedAfter, CSplash::kCloseAfterMs);
    // The timers of the splashes closed early run out too, and end nothing again.
    QTest::qWait(100);
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        EXPECT_EQ(endings[i], 1) << ways[i].first;
        EXPECT_EQ(splashes[i]->result(), QDialog::Accepted) << ways[i].first;
    }
}

TEST(About, ShowsThePictureAndTheNameAndClosesWithOk) {
    CAboutDlg about;
    about.show();
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(Find<QLabel>(about, "programName").text(), "TarvoIIR");
    const QPixmap picture = Find<QLabel>(about, "picture").pixmap();
    ASSERT_FALSE(picture.isNull());
    // The picture was drawn: its centre is not transparent.
    const QImage image = picture.toImage();
    EXPECT_GT(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 0);
    ClickOk(about);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace tarvo
