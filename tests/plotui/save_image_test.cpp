// Save Image As...: the files it writes in each format, at the window's size or
// a typed one, checked by reading them back (PNG with QImage, SVG with
// QSvgRenderer, PDF rendered by pdftoppm) at the points where the curves are;
// failures, Cancel, and the Save Image dialog's rules.

#include "doc/view_command_ids.h"
#include "fw/test_files.h"
#include "plot_fixture.h"
#include "plotui/save_image_dialog.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QSvgRenderer>

namespace tarvo::test {
namespace {

namespace fs = std::filesystem;

// Points of the sine curve, and points well away from both curves, in data units.
constexpr double kSineXs[] = {0.5, 2.0, 3.5, 5.0, 6.5, 8.0, 9.5};
constexpr std::pair<double, double> kBlankPoints[] = {{2.0, -0.6}, {5.0, 0.5}, {7.5, -0.5}};

// The sine is drawn in blue: much more blue than red or green.
bool IsBlue(QRgb c) {
    return qBlue(c) > 150 && qBlue(c) - qRed(c) > 60 && qBlue(c) - qGreen(c) > 60;
}

bool AnyNear(const QImage& image, QPoint p, int radius, const std::function<bool(QRgb)>& test) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (image.valid(p.x() + dx, p.y() + dy) && test(image.pixel(p.x() + dx, p.y() + dy)))
                return true;
    return false;
}

// A grey-free, curve-free neighbourhood (renderers may antialias a little).
bool WhiteAround(const QImage& image, QPoint p) {
    return !AnyNear(image, p, 2, [](QRgb c) { return qGray(c) < 250; });
}

// Checks that image shows plot's curves where its map puts them, and nothing
// where there is no curve.
void ExpectCurvesOf(const CPlot& plot, const QImage& image, const std::string& what) {
    ASSERT_FALSE(image.isNull()) << what;
    for (double x : kSineXs) {
        const QPoint p(plot.XToPixel(x), plot.YToPixel(std::sin(x)));
        EXPECT_TRUE(AnyNear(image, p, 2, IsBlue)) << what << ": no curve at x=" << x;
    }
    for (const auto& [x, y] : kBlankPoints) {
        EXPECT_TRUE(WhiteAround(image, QPoint(plot.XToPixel(x), plot.YToPixel(y))))
            << what << ": not white at " << x << "," << y;
    }
}

QImage LoadPng(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

QImage LoadSvg(const std::string& path) {
    QSvgRenderer renderer(QString::fromStdString(path));
    if (!renderer.isValid()) return {};
    QImage image = WhiteImage(renderer.defaultSize().width(), renderer.defaultSize().height());
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The first page at 96 dpi, the picture's own resolution.
QImage LoadPdf(const std::string& path) {
    const std::string out = path + "-page";
    const std::string command = "pdftoppm -r 96 -png -singlefile '" + path + "' '" + out + "'";
    if (std::system(command.c_str()) != 0) return {};
    return LoadPng(out + ".png");
}

class SaveImageTest : public PlotUiTest {
protected:
    void SetUp() override {
        PlotUiTest::SetUp();
        saved_ = CPlot::LastImageRequest();
        NoGrid(plot);
        ShowPlot(plot);
        CPlot::SetImageDialog([this](QWidget*, const ImageRequest& initial, ImageSize window) {
            offered.push_back(initial);
            windows.push_back(window);
            return answer;
        });
    }
    void TearDown() override {
        CPlot::SetImageDialog({});
        SaveImageDialog::SetPathChooser({});
        CPlot::LastImageRequest() = saved_;
        PlotUiTest::TearDown();
    }
    static void NoGrid(CPlot& p) {
        p.m_axes.m_xAxis.m_nGrid = 0;
        p.m_axes.m_yAxis.m_nGrid = 0;
        p.m_axes.ApplyXAxis();
        p.m_axes.ApplyYAxis();
    }
    // Runs the command with the dialog answering request.
    void Save(const ImageRequest& request) {
        answer = request;
        ASSERT_TRUE(plot.HandleCommand(kIdPlotSaveImage));
    }

    TestPlot plot;
    fw::test::ScratchDir dir;
    std::optional<ImageRequest> answer;
    std::vector<ImageRequest> offered;
    std::vector<ImageSize> windows;

private:
    ImageRequest saved_;
};

struct FormatCase {
    ImageFormat format;
    const char* file;
    QImage (*load)(const std::string&);
    int tolerance; // pixels a page may differ by (PDF pages are whole points)
};

// PDF pages are read with pdftoppm (poppler-utils), which scripts/setup installs.
bool CanRead(const FormatCase& c) {
    return c.format != ImageFormat::kPdf || !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

const FormatCase kFormatCases[] = {
    {ImageFormat::kPng, "plot.png", LoadPng, 0},
    {ImageFormat::kSvg, "plot.svg", LoadSvg, 0},
    {ImageFormat::kPdf, "plot.pdf", LoadPdf, 1},
};

TEST_F(SaveImageTest, EachFormatAtTheWindowSizeShowsTheCurvesWhereTheScreenHasThem) {
    const PlotFrame frame = plot.Map().Frame();
    for (const FormatCase& c : kFormatCases) {
        if (!CanRead(c)) continue;
        Save({dir.File(c.file), c.format, true, {300, 200}});
        const QImage image = c.load(dir.File(c.file));
        EXPECT_NEAR(image.width(), 800, c.tolerance) << c.file;
        EXPECT_NEAR(image.height(), 500, c.tolerance) << c.file;
        ExpectCurvesOf(plot, image, c.file);
    }
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(windows, std::vector<ImageSize>(offered.size(), ImageSize{800, 500}));
    // Saving never moves the screen's map.
    EXPECT_EQ(plot.Map().Frame(), frame);
    if (!CanRead(kFormatCases[2])) GTEST_SKIP() << "no pdftoppm: the PDF was not checked";
}

TEST_F(SaveImageTest, ATypedSizeIsDrawnAsAWindowOfThatSize) {
    // The same plot in a window of the typed size says where the curves must be.
    TestPlot reference;
    NoGrid(reference);
    ShowPlot(reference, 640, 360);
    const std::size_t points = plot.m_xData.GetSize();
    for (const FormatCase& c : kFormatCases) {
        if (!CanRead(c)) continue;
        Save({dir.File(c.file), c.format, false, {640, 360}});
        const QImage image = c.load(dir.File(c.file));
        EXPECT_NEAR(image.width(), 640, c.tolerance) << c.file;
        EXPECT_NEAR(image.height(), 360, c.tolerance) << c.file;
        ExpectCurvesOf(reference, image, c.file);
    }
    // The PNG's curves were computed for its own width: one point per pixel.
    EXPECT_EQ(LoadPng(dir.File("plot.png")),
              reference.grab().toImage().convertToFormat(QImage::Format_RGB32));
    // And the window gets its own points back.
    plot.grab();
    EXPECT_EQ(plot.m_xData.GetSize(), points);
    if (!CanRead(kFormatCases[2])) GTEST_SKIP() << "no pdftoppm: the PDF was not checked";
}

TEST_F(SaveImageTest, TheSvgIsTitledAndOpensAtItsPixelSize) {
    Save({dir.File("typed.svg"), ImageFormat::kSvg, false, {1000, 250}});
    const QByteArray svg = fw::test::ReadText(dir.File("typed.svg")).c_str();
    EXPECT_TRUE(svg.contains("<title>Tarvo Plot</title>"));
    EXPECT_TRUE(svg.contains("<svg width=\"1000\" height=\"250\""));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(1000, 250));
}

TEST_F(SaveImageTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "old.png").string();
    fw::test::WriteText(path, "old picture");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const fw::test::WithoutPermissionOverride asUser;
    if (!fw::test::PermissionsEnforced()) {
        fs::permissions(folder, fs::perms::owner_all);
        GTEST_SKIP() << "read-only folders are not enforced here";
    }
    Save({path, ImageFormat::kPng, true, {300, 200}});
    fs::permissions(folder, fs::perms::owner_all);
    ASSERT_EQ(ui.Messages().size(), 1U);
    EXPECT_EQ(ui.Messages()[0].rfind("Cannot write \"" + path + "\".\n", 0), 0U)
        << ui.Messages()[0];
    EXPECT_EQ(fw::test::ReadText(path), "old picture");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "old.png");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(SaveImageTest, CancelWritesNothingAndTheLastRequestIsOfferedNext) {
    const ImageRequest before = CPlot::LastImageRequest();
    answer.reset();
    ASSERT_TRUE(plot.HandleCommand(kIdPlotSaveImage));
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_EQ(CPlot::LastImageRequest().path, before.path);

    Save({dir.File("a.svg"), ImageFormat::kSvg, false, {320, 240}});
    TestPlot other;
    ShowPlot(other, 300, 200);
    answer.reset();
    ASSERT_TRUE(other.HandleCommand(kIdPlotSaveImage));
    ASSERT_EQ(offered.size(), 3U);
    EXPECT_EQ(offered[2].path, dir.File("a.svg"));
    EXPECT_EQ(offered[2].format, ImageFormat::kSvg);
    EXPECT_FALSE(offered[2].windowSize);
    EXPECT_EQ(offered[2].size, (ImageSize{320, 240}));
    EXPECT_EQ(windows[2], (ImageSize{300, 200}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SaveImageTest, EnabledWhileThePlotIsReady) {
    for (bool ready : {true, false}) {
        plot.ready = ready;
        fw::CmdUI state(kIdPlotSaveImage);
        ASSERT_TRUE(plot.UpdateCommand(kIdPlotSaveImage, state));
        EXPECT_EQ(state.IsEnabled(), ready);
    }
    // Not ready: the command is taken but asks nothing.
    ASSERT_TRUE(plot.HandleCommand(kIdPlotSaveImage));
    EXPECT_TRUE(offered.empty());
}

// ---- The dialog ---------------------------------------------------------------

// One OK press: what is entered, and either the request made or the message
// that keeps the dialog open.
struct DialogCase {
    const char* file; // in the scratch folder
    int format;       // index in the format list
    bool custom;      // Custom size, with width and height typed
    const char* width;
    const char* height;
    std::optional<fw::Answer> replace; // the answer to the replace question
    const char* path;                  // the request's file; nullptr: refused
    ImageFormat expected;
    ImageSize size;
    std::string message; // shown when refused
};

class SaveImageDialogTest : public SaveImageTest {
protected:
    SaveImageDialog& Open(const ImageRequest& initial) {
        dialog_ = std::make_unique<SaveImageDialog>(ui, initial, ImageSize{800, 500}, nullptr);
        return *dialog_;
    }
    QLineEdit& Edit(const char* name) { return *dialog_->findChild<QLineEdit*>(name); }
    QComboBox& Format() { return *dialog_->findChild<QComboBox*>("format"); }
    void Choose(int index) {
        Format().setCurrentIndex(index);
        emit Format().activated(index);
    }
    bool Ok() {
        dialog_->findChild<QPushButton*>("ok")->click();
        return dialog_->result() == QDialog::Accepted;
    }
    QRadioButton& Radio(const char* name) { return *dialog_->findChild<QRadioButton*>(name); }
    ImageRequest Initial() { return {dir.File("plot.png"), ImageFormat::kPng, true, {640, 480}}; }

    std::unique_ptr<SaveImageDialog> dialog_;
};

TEST_F(SaveImageDialogTest, OkRules) {
    fw::test::WriteText(dir.File("old.png"), "old");
    const auto png = ImageFormat::kPng;
    const auto svg = ImageFormat::kSvg;
    const auto no = std::optional<fw::Answer>();
    // clang-format off
    const std::vector<DialogCase> cases{
        {"a",          1, false, "",      "",      no,              "a.svg",   svg, {640, 480}, ""},
        {"b.PDF",      0, false, "",      "",      no,              "b.PDF",   ImageFormat::kPdf, {640, 480}, ""},
        {"c.png",      0, true,  "1024",  " 768",  no,              "c.png",   png, {1024, 768}, ""},
        {"d",          0, false, "abc",   "",      no,              "d.png",   png, {640, 480}, ""},
        {"e.png",      0, true,  "100.5", "100",   no,              nullptr,   png, {}, "Please enter the width as a whole number of pixels."},
        {"e.png",      0, true,  "100",   "10",    no,              nullptr,   png, {}, "The height must be between 16 and 20000 pixels."},
        {"e.png",      0, true,  "20000", "20000", no,              nullptr,   png, {}, CheckImageSize({20000, 20000}, png)},
        {"e.svg",      0, true,  "20000", "20000", no,              "e.svg",   svg, {20000, 20000}, ""},
        {"",           0, false, "",      "",      no,              nullptr,   png, {}, "Please enter a file name."},
        {"none/f.png", 0, false, "",      "",      no,              nullptr,   png, {}, MissingImageFolderMessage(dir.File("none"))},
        {"old.png",    0, false, "",      "",      fw::Answer::No,  nullptr,   png, {}, ""},
        {"old.png",    0, false, "",      "",      fw::Answer::Yes, "old.png", png, {640, 480}, ""},
    };
    // clang-format on
    for (const DialogCase& c : cases) {
        const std::string name = std::string(c.file) + " " + c.width + "x" + c.height;
        ui.ClearCalls();
        Open(Initial());
        Edit("fileName").setText(*c.file == '\0' ? "" : QString::fromStdString(dir.File(c.file)));
        Format().setCurrentIndex(c.format);
        Radio(c.custom ? "customSize" : "windowSize").setChecked(true);
        Edit("width").setText(c.width);
        Edit("height").setText(c.height);
        if (c.replace) ui.QueueAnswer(*c.replace);
        EXPECT_EQ(Ok(), c.path != nullptr) << name;
        const std::vector<std::string> messages =
            c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message};
        EXPECT_EQ(ui.Messages(), messages) << name;
        EXPECT_EQ(ui.Questions().size(), c.replace ? 1U : 0U) << name;
        if (c.path == nullptr) continue;
        const ImageRequest& r = dialog_->Request();
        EXPECT_EQ(r.path, dir.File(c.path)) << name;
        EXPECT_EQ(r.format, c.expected) << name;
        EXPECT_EQ(r.windowSize, !c.custom) << name;
        EXPECT_EQ(r.size, c.size) << name;
    }
}

TEST_F(SaveImageDialogTest, FormatAndBrowseKeepNameAndFormatTogether) {
    Open(Initial());
    EXPECT_FALSE(Edit("width").isEnabled() || Edit("height").isEnabled());
    Radio("customSize").setChecked(true);
    EXPECT_TRUE(Edit("width").isEnabled() && Edit("height").isEnabled());
    Choose(2);
    EXPECT_EQ(Edit("fileName").text().toStdString(), dir.File("plot.pdf"));
    Edit("fileName").setText(QString::fromStdString(dir.File("bare")));
    Choose(1);
    EXPECT_EQ(Edit("fileName").text().toStdString(), dir.File("bare"));

    // The file dialog's filter chooses the format of a name without an extension.
    std::vector<std::pair<std::string, std::string>> asked;
    SaveImageDialog::SetPathChooser(
        [&](QWidget*, const std::string& suggested, const std::string& filters) {
            asked.emplace_back(suggested, filters);
            return std::optional<SaveImageDialog::PathChoice>(
                {dir.File("chosen"), std::string(FormatInfo(ImageFormat::kPdf).filter)});
        });
    dialog_->findChild<QPushButton*>("browse")->click();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_EQ(asked[0].first, dir.File("bare.svg"));
    EXPECT_EQ(asked[0].second, ImageFilters(ImageFormat::kSvg));
    EXPECT_EQ(Edit("fileName").text().toStdString(), dir.File("chosen.pdf"));
    EXPECT_EQ(Format().currentIndex(), 2);

    // A file the file dialog confirmed is not asked about again.
    fw::test::WriteText(dir.File("there.svg"), "old");
    SaveImageDialog::SetPathChooser([&](QWidget*, const std::string&, const std::string&) {
        return std::optional<SaveImageDialog::PathChoice>({dir.File("there.svg"), ""});
    });
    dialog_->findChild<QPushButton*>("browse")->click();
    EXPECT_EQ(Format().currentIndex(), 1);
    EXPECT_TRUE(Ok());
    EXPECT_TRUE(ui.Questions().empty());
    EXPECT_EQ(dialog_->Request().path, dir.File("there.svg"));
}

} // namespace
} // namespace tarvo::test
