#pragma once
// CPlot: the widget every plot derives from. It keeps the plot's data and
// drawing state, renders its picture through the plot renderer into a cached
// pixmap (recomputing the data after a Rebuild), draws overlays on top in
// paintEvent, and runs the commands every plot offers: styles, copying the
// picture or the numbers, writing the numbers or the picture to a file, and
// the font.

#include "fw/command_target.h"
#include "fw/ui.h"
#include "plot/image_export.h"
#include "plot/plot_axes.h"
#include "plot/plot_data.h"
#include "plot/plot_text.h"
#include "plotui/plot_renderer.h"

#include <array>
#include <functional>
#include <optional>
#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <string>
#include <tuple>
#include <vector>

class QMimeData;
class QTimer;

namespace tarvo {

class CPlot : public QWidget {
    Q_OBJECT

public:
    // Asks for the plot font; nothing on Cancel. By default the font dialog,
    // seeded with a font whose point size is the nominal size.
    using FontChooser = std::function<std::optional<QFont>(QWidget* parent, const QFont& current)>;
    static void SetFontChooser(FontChooser chooser);
    // Where plots show messages and ask questions (a standard-error fallback when unset).
    static void SetUi(fw::Ui* ui);
    static fw::Ui& GetUi();
    // The path Write Data offers: "GRAPH.PLT", then the last file written by any plot.
    static std::string& LastDataPath();
    // Whether new plots draw their main title (an application preference).
    static bool& MainTitlesDefault();
    // Asks where and how Save Image As... writes the picture; nothing on Cancel.
    // By default the Save Image dialog.
    using ImageDialog = std::function<std::optional<ImageRequest>(
        QWidget* parent, const ImageRequest& initial, ImageSize windowSize)>;
    static void SetImageDialog(ImageDialog dialog);
    // What Save Image As... offers: the last request of any plot (a first one
    // names "plot.png" in the home folder).
    static ImageRequest& LastImageRequest();

    explicit CPlot(QWidget* parent = nullptr);
    ~CPlot() override;

    // For derived plots: their titles, data, readiness and curves.
    virtual int UpdateTitles(int xAxisPower) { return xAxisPower; }
    virtual void ComputeCurves(int /*width*/, int /*height*/) {}
    virtual bool IsPlotReady() const { return false; }
    virtual int GetCurveCount() const { return 2; }
    virtual int GetAutoStyle() const;
    int GetStyle() const { return m_nStyle != kStyleAuto ? m_nStyle : GetAutoStyle(); }
    virtual void ComputeRanges();
    virtual void PrepareCurveColors() {}
    virtual void BeginBusy(const std::string& /*text*/) {}
    virtual void EndBusy(const std::string& /*text*/) {}
    void ShowStatus(const std::string& text) { SetStatusText(text); }
    virtual void SetStatusText(const std::string& /*text*/) {}
    virtual void OnDrawDone() { ShowStatus("Ready"); }
    // Empties the data and repaints, recomputing it.
    virtual void Rebuild();
    // The data changed but the ranges are likely to stay: recomputes and repaints.
    virtual void Refresh();

    // The commands of every plot; false for a command the plot does not handle.
    virtual bool HandleCommand(fw::CommandId id);
    virtual bool UpdateCommand(fw::CommandId id, fw::CmdUI& ui);

    // Draws the plot into area on any painter (image, SVG, another widget). The
    // data is reused (computed first when empty); the widget's map is kept.
    void RenderTo(QPainter& painter, const QRect& area, RenderKind kind);
    // One printed page: a 96-dpi canvas scaled to the device, 3 % fonts.
    void RenderPage(QPainter& painter, const QRect& page);
    // The picture as the clipboard gets it: SVG titled "Tarvo Plot" and an image.
    QMimeData* MakePictureMime();

    // The layout of the last screen render (the map the mouse works with).
    const PlotLayout& ScreenLayout() const { return screenLayout_; }
    const PlotMap& Map() const { return screenLayout_.map; }
    bool HasValidScale() const { return screenLayout_.ok && Map().HasValidScale(); }
    int XToPixel(double x) const { return Map().XToPixel(x); }
    int YToPixel(double y) const { return Map().YToPixel(y); }
    double PixelToX(double px) const { return Map().PixelToX(px); }
    double PixelToY(double py) const { return Map().PixelToY(py); }
    // How often the picture was rendered, and how often of those only its
    // curves (for tests and measuring).
    int RenderCount() const { return renders_; }
    int BackgroundReuseCount() const { return reuses_; }

    // Appearance.
    int m_nStyle = kStyleAuto;
    bool m_bOriginAtZero = true;
    bool m_bLegend = true;
    bool m_bMainTitle = MainTitlesDefault();
    QFont m_logFont;           // family, weight, style; its point size is the nominal height
    double m_dFontScale = 1.0; // multiplies every text size
    std::string m_strXTitle = "X-Title";
    std::string m_strYTitle = "Y-Title";
    std::string m_strMainTitle = "Main Title";

    CDataColumn m_xData;
    CDataSet m_curves;
    PlotAxes m_axes; // axis records, drawing state, zoom levels

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Drawn above the cached picture at every paint.
    virtual void DrawOverlay(QPainter& /*painter*/) {}
    // Plots whose points are not curves over x draw them here instead.
    virtual bool HasCustomCurves() const { return false; }
    virtual void DrawCustomCurves(QPainter& /*painter*/, const PlotLayout& /*layout*/) const {}
    // The picture must be rendered anew at the next paint.
    void InvalidatePicture();
    // The notices of the engine, shown once each after painting.
    void AddNotices(const std::vector<PlotNotice>& notices);
    PlotTextSource TextSource() const;

private:
    // A laid-out scene whose data is complete, ready to draw.
    struct Prepared {
        PlotLayout layout;
        PlotScene scene;
    };
    std::optional<Prepared> Prepare(const QPaintDevice* device, const QRect& area, RenderKind kind);
    PlotScene Scene(int xPower) const;
    void RenderPicture();
    void ShowNotices();
    void OnCopyImage();
    void OnCopyData();
    void OnWriteData();
    void OnSaveImage();
    void OnPlotFont();

    // What a picture's background (titles, grid, axes, labels, legend) depends
    // on: an equal key gives an equal background.
    struct BackgroundKey {
        QSize area;
        qreal dpr = 1.0;
        AxisView x;
        AxisView y;
        int xPower = 0;
        std::array<std::string, 3> titles;
        std::array<bool, 3> flags{};
        QFont font;
        double fontScale = 1.0;
        std::vector<std::tuple<std::string, PlotColor, bool>> curves;
        friend bool operator==(const BackgroundKey&, const BackgroundKey&) = default;
    };
    BackgroundKey KeyOf(const PlotScene& scene, QSize area) const;

    QPixmap picture_;
    QPixmap background_; // the last screen picture without its curves
    int backgroundStyle_ = -1; // the curve style its legend was drawn in
    std::optional<BackgroundKey> backgroundKey_;
    PlotLayout backgroundLayout_;
    bool reusedBackground_ = false; // the last Prepare kept the background
    bool pictureStale_ = true;
    PlotLayout screenLayout_;
    int xPower_ = 0;
    int renders_ = 0;
    int reuses_ = 0;
    std::vector<PlotNotice> notices_;
    // Notices already shown, with the axes they were shown for.
    struct ShownNotice {
        PlotNotice notice;
        AxisView x;
        AxisView y;
    };
    std::vector<ShownNotice> shown_;
    QTimer* noticeTimer_ = nullptr;
};

} // namespace tarvo
