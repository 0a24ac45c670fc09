// The commands every plot offers, on a plot holding test data: the clipboard's
// picture and numbers, Write Data with its question and its failures, the
// font, titles, styles and axis dialogs, printing, and notices shown once.

#include "fw/command_ids.h"
#include "fw/test_files.h"
#include "plot/plot_command_ids.h"
#include "plot_fixture.h"
#include "plotui/axis_dialog.h"

#include <filesystem>
#include <fstream>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace tarvo::test {
namespace {

class PlotCommandsTest : public PlotUiTest {
protected:
    void SetUp() override {
        PlotUiTest::SetUp();
        ShowPlot(plot);
    }
    bool Enabled(fw::CommandId id) {
        fw::CmdUI state(id);
        EXPECT_TRUE(plot.UpdateCommand(id, state));
        return state.IsEnabled();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TestPlot plot;
    QTemporaryDir dir;
};

TEST_F(PlotCommandsTest, CommandsNeedAReadyPlotExceptFont) {
    for (fw::CommandId id : {kIdPlotCopyImage, kIdPlotCopyData, kIdPlotWriteData, kIdPlotXAxis,
                             kIdPlotYAxis, kIdPlotTitles, fw::kIdEditCopy}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    plot.ready = false;
    for (fw::CommandId id : {kIdPlotCopyImage, kIdPlotCopyData, kIdPlotWriteData, kIdPlotXAxis,
                             kIdPlotYAxis, kIdPlotTitles}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(kIdPlotFont));
    ASSERT_TRUE(plot.HandleCommand(kIdPlotStyleBar));
    fw::CmdUI bar(kIdPlotStyleBar);
    plot.UpdateCommand(kIdPlotStyleBar, bar);
    EXPECT_TRUE(bar.IsChecked());
    EXPECT_EQ(plot.GetStyle(), kStyleBar);
}

TEST_F(PlotCommandsTest, CopyImagePutsATitledSvgAndAnImage) {
    ASSERT_TRUE(plot.HandleCommand(kIdPlotCopyImage));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray svg = mime->data("image/svg+xml");
    EXPECT_TRUE(svg.contains("<title>Tarvo Plot</title>"));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), plot.size());
    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), plot.size() * plot.devicePixelRatio());
    EXPECT_NE(image, WhiteImage(image.width(), image.height()).convertToFormat(image.format()));
}

TEST_F(PlotCommandsTest, CopyDataHasOneLinePerPoint) {
    ASSERT_TRUE(plot.HandleCommand(kIdPlotCopyData));
    const QStringList lines =
        QGuiApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), plot.m_xData.GetSize());
    EXPECT_EQ(lines.front(), " 0.000000000\t 0.000000000\t 1.000000000");
}

TEST_F(PlotCommandsTest, WriteDataAsksAboutTitlesAndKeepsTheLastPath) {
    const std::string path = dir.filePath("curves.plt").toStdString();
    ui.QueueSavePath(path);
    ui.QueueAnswer(fw::Answer::Yes);
    ASSERT_TRUE(plot.HandleCommand(kIdPlotWriteData));
    EXPECT_EQ(ui.Questions(), std::vector<std::string>{"Write titles to file?"});
    const std::string text = Read(path);
    EXPECT_EQ(text.rfind("Test Signals\r\nValue\r\nTime\r\n0   0   1\r\n", 0), 0U)
        << text.substr(0, 60);

    // The next Write Data, from any plot, offers that path; no titles, no question.
    TestPlot other;
    ShowPlot(other, 300, 200);
    other.m_strXTitle.clear();
    other.m_bAutoTitles = false;
    ui.ClearCalls();
    ui.QueueSavePath(std::nullopt);
    ASSERT_TRUE(other.HandleCommand(kIdPlotWriteData));
    EXPECT_EQ(ui.Texts(fw::RecordingUi::Call::Kind::AskSavePath), std::vector<std::string>{path});
    EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(PlotCommandsTest, WriteDataFailureIsReportedAndTheOldFileStays) {
    const std::filesystem::path folder = dir.filePath("locked").toStdString();
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "old.plt").string();
    std::ofstream(path) << "old content";
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    const fw::test::WithoutPermissionOverride asUser;
    if (!fw::test::PermissionsEnforced()) GTEST_SKIP() << "read-only folders are not enforced here";
    ui.QueueSavePath(path);
    ui.QueueAnswer(fw::Answer::No);
    ASSERT_TRUE(plot.HandleCommand(kIdPlotWriteData));
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    ASSERT_EQ(ui.Messages().size(), 1U);
    EXPECT_EQ(ui.Messages()[0].rfind("Cannot open file \"" + path + "\".", 0), 0U);
    EXPECT_EQ(Read(path), "old content");
}

TEST_F(PlotCommandsTest, FontTitlesAndAxisCommandsChangeThePlot) {
    CPlot::SetFontChooser([](QWidget*, const QFont& current) {
        QFont font = current;
        font.setPointSizeF(current.pointSizeF() * 1.5);
        return std::optional<QFont>(font);
    });
    plot.HandleCommand(kIdPlotFont);
    CPlot::SetFontChooser({});
    EXPECT_DOUBLE_EQ(plot.m_dFontScale, 1.5);

    CAxisPlot::SetTitlesEditor([](QWidget*, PlotTitles& titles) {
        titles.main = "Mine";
        return true;
    });
    plot.HandleCommand(kIdPlotTitles);
    CAxisPlot::SetTitlesEditor({});
    plot.grab();
    EXPECT_FALSE(plot.m_bAutoTitles);
    EXPECT_EQ(plot.m_strMainTitle, "Mine");

    CAxisPlot::SetAxisEditor([](QWidget*, const std::string& title, AxisSettings& record) {
        EXPECT_EQ(title, "Y-Axis");
        record.m_bAutoscale = false;
        record.m_dFirst = -2.0;
        record.m_dLast = 2.0;
        return true;
    });
    plot.HandleCommand(kIdPlotYAxis);
    CAxisPlot::SetAxisEditor({});
    plot.grab();
    EXPECT_DOUBLE_EQ(plot.m_axes.y.first, -2.0);
    EXPECT_DOUBLE_EQ(plot.m_axes.y.last, 2.0);
}

TEST_F(PlotCommandsTest, PrintingLeavesTheWidgetsMapAlone) {
    const PlotFrame before = plot.Map().Frame();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("plot.pdf"));
    printer.setPageOrientation(QPageLayout::Landscape);
    {
        QPainter painter(&printer);
        plot.RenderPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()));
    }
    EXPECT_EQ(plot.Map().Frame(), before);
    EXPECT_GT(std::filesystem::file_size(dir.filePath("plot.pdf").toStdString()), 1000U);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PlotCommandsTest, ANoticeIsShownOnceForTheSameAxes) {
    AxisSettings& x = plot.m_axes.m_xAxis;
    x.m_bAutoscale = false;
    x.m_dMin = 0.0;
    x.m_dMax = 10.0;
    x.m_dFirst = 0.0;
    x.m_dLast = 10.0;
    x.m_dLabelStep = 1.0;
    x.m_dTicStep = 0.01;
    x.m_nGrid = 1;
    plot.m_axes.ApplyXAxis();
    for (int i = 0; i < 3; ++i) {
        plot.Rebuild();
        plot.grab();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{PlotNoticeText(PlotNotice::kTooManyTics)});
}

TEST_F(PlotCommandsTest, ARefreshWithTheSameAxesRedrawsOnlyTheCurves) {
    const QImage full = plot.grab().toImage();
    const int reuses = plot.BackgroundReuseCount();
    plot.Refresh();
    EXPECT_EQ(plot.grab().toImage(), full);
    EXPECT_EQ(plot.BackgroundReuseCount(), reuses + 1);
    // Another axis range lays the plot out anew.
    plot.Zoom(true, false, false, 2.0, 5.0, 0.0, 0.0);
    const QImage zoomed = plot.grab().toImage();
    EXPECT_EQ(plot.BackgroundReuseCount(), reuses + 1);
    EXPECT_NE(zoomed, full);
}

struct AxisDialogCase {
    const char* max;
    const char* min;
    const char* label;
    const char* tic;
    bool accepted;
    std::vector<std::string> messages;
};

TEST_F(PlotUiTest, AxisDialogOkRules) {
    const std::vector<AxisDialogCase> cases{
        {"1000",
         "0",
         "1",
         "1",
         true,
         {"X-Axis: Specified Label Spacing will result in too many labels.\nTen labels will be "
          "used.",
          "X-Axis: Specified Tic Spacing will result in too many tics.\nFive tics per label will "
          "be used."}},
        {"0", "0", "1", "1", false, {"X-Axis: Axis Maximum must be greater than Axis Minimum."}},
        {"abc", "0", "1", "1", false, {"Please enter a number."}},
    };
    for (const AxisDialogCase& c : cases) {
        ui.ClearCalls();
        AxisSettings record;
        record.m_bAutoscale = false;
        AxisDialog dialog(ui, "X-Axis", record, nullptr);
        dialog.findChild<QLineEdit*>("axisMaximum")->setText(c.max);
        dialog.findChild<QLineEdit*>("axisMinimum")->setText(c.min);
        dialog.findChild<QLineEdit*>("labelSpacing")->setText(c.label);
        dialog.findChild<QLineEdit*>("ticSpacing")->setText(c.tic);
        dialog.findChild<QPushButton*>("ok")->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.max;
        EXPECT_EQ(ui.Messages(), c.messages) << c.max;
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(dialog.Record().m_dLabelStep, 100.0);
            EXPECT_DOUBLE_EQ(dialog.Record().m_dTicStep, 20.0);
        }
    }
}

} // namespace
} // namespace tarvo::test
