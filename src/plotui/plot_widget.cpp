#include "plotui/plot_widget.h"

#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "fw/file_io.h"
#include "fw/stderr_ui.h"
#include "plot/plot_command_ids.h"
#include "plotui/image_writer.h"
#include "plotui/save_image_dialog.h"

#include <algorithm>
#include <cmath>
#include <QClipboard>
#include <QDir>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QTimer>

namespace tarvo {
namespace {

// The nominal height of the plot font before the user picks another one.
constexpr double kNominalFontHeight = 20.0;

std::optional<QFont> AskForFont(QWidget* parent, const QFont& current) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, parent, QStringLiteral("Font"),
                                            QFontDialog::ScalableFonts);
    if (!ok) return std::nullopt;
    return font;
}

CPlot::FontChooser& FontChooserHook() {
    static CPlot::FontChooser hook = AskForFont;
    return hook;
}

fw::Ui*& UiHook() {
    static fw::Ui* ui = nullptr;
    return ui;
}

QFont DefaultPlotFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    font.setPointSizeF(kNominalFontHeight);
    return font;
}

std::optional<ImageRequest> AskForImage(QWidget* parent, const ImageRequest& initial,
                                        ImageSize windowSize) {
    return RunSaveImageDialog(CPlot::GetUi(), parent, initial, windowSize);
}

CPlot::ImageDialog& ImageDialogHook() {
    static CPlot::ImageDialog hook = AskForImage;
    return hook;
}

std::size_t StyleIndex(fw::CommandId id) {
    const auto it = std::find(kIdPlotStyles.begin(), kIdPlotStyles.end(), id);
    return static_cast<std::size_t>(it - kIdPlotStyles.begin());
}

} // namespace

void CPlot::SetFontChooser(FontChooser chooser) {
    FontChooserHook() = chooser ? std::move(chooser) : FontChooser(AskForFont);
}

void CPlot::SetUi(fw::Ui* ui) {
    UiHook() = ui;
}

fw::Ui& CPlot::GetUi() {
    static fw::StderrUi fallback;
    return UiHook() != nullptr ? *UiHook() : fallback;
}

bool& CPlot::MainTitlesDefault() {
    static bool on = true;
    return on;
}

void CPlot::SetImageDialog(ImageDialog dialog) {
    ImageDialogHook() = dialog ? std::move(dialog) : ImageDialog(AskForImage);
}

ImageRequest& CPlot::LastImageRequest() {
    static ImageRequest request{QDir::home().filePath(QStringLiteral("plot.png")).toStdString()};
    return request;
}

std::string& CPlot::LastDataPath() {
    static std::string path = "GRAPH.PLT";
    return path;
}

CPlot::CPlot(QWidget* parent) : QWidget(parent), m_logFont(DefaultPlotFont()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(0);
    connect(noticeTimer_, &QTimer::timeout, this, &CPlot::ShowNotices);
}

CPlot::~CPlot() = default;

int CPlot::GetAutoStyle() const {
    return m_xData.GetSize() <= kAutoStyleDotLimit ? kStyleLineAndDot : kStyleLine;
}

void CPlot::ComputeRanges() {
    bool initX = true;
    ScanRange(m_xData, m_axes.x.first, m_axes.x.last, initX);
    bool initY = true;
    for (std::size_t i = 0; i < m_curves.GetCount(); ++i) {
        ScanRange(m_curves.GetAt(i), m_axes.y.first, m_axes.y.last, initY);
    }
}

void CPlot::Rebuild() {
    m_xData.SetSize(0);
    m_curves.RemoveAll();
    InvalidatePicture();
}

void CPlot::Refresh() {
    // The whole picture is rendered anew either way; axes that keep their
    // ranges come out identical, so there is nothing to erase.
    Rebuild();
}

void CPlot::InvalidatePicture() {
    pictureStale_ = true;
    update();
}

void CPlot::AddNotices(const std::vector<PlotNotice>& notices) {
    notices_.insert(notices_.end(), notices.begin(), notices.end());
}

PlotScene CPlot::Scene(int xPower) const {
    PlotScene scene;
    scene.xData = &m_xData;
    scene.curves = &m_curves;
    scene.x = m_axes.x;
    scene.y = m_axes.y;
    scene.xPower = xPower;
    // The stored main title stays when the preference hides it.
    if (m_bMainTitle) scene.mainTitle = m_strMainTitle;
    scene.xTitle = m_strXTitle;
    scene.yTitle = m_strYTitle;
    scene.style = GetStyle();
    scene.originAtZero = m_bOriginAtZero;
    scene.legend = m_bLegend;
    scene.polar = m_axes.m_bPolar;
    scene.font = m_logFont;
    scene.fontScale = m_dFontScale;
    if (HasCustomCurves()) {
        scene.customCurves = [this](QPainter& p, const PlotLayout& layout) {
            DrawCustomCurves(p, layout);
        };
    }
    return scene;
}

std::optional<CPlot::Prepared> CPlot::Prepare(const QPaintDevice* device, const QRect& area,
                                              RenderKind kind) {
    if (!IsPlotReady()) return std::nullopt;
    const bool recompute = m_xData.IsEmpty();
    if (recompute) {
        m_curves.RemoveAll();
        const int n = GetCurveCount();
        if (n <= 0) return std::nullopt;
        for (int i = 0; i < n; ++i)
            m_curves.AddColumn();
    }
    PrepareCurveColors();
    if (recompute) ComputeRanges();
    xPower_ = UpdateTitles(m_axes.x.power);
    PlotScene scene = Scene(xPower_);
    reusedBackground_ = false;
    bool reusedLayout = false;
    PlotLayout layout;
    if (kind == RenderKind::kScreen) {
        // A picture whose axes, titles and legend stay (a drag step) keeps its
        // laid-out background: only the curves are drawn anew.
        BackgroundKey key = KeyOf(scene, area.size());
        reusedLayout = backgroundKey_ && *backgroundKey_ == key;
        if (reusedLayout) {
            layout = backgroundLayout_;
            layout.notices.clear();
        } else {
            layout = LayoutPlot(device, area, scene, kind);
            backgroundKey_ = std::move(key);
            backgroundLayout_ = layout;
        }
    } else {
        layout = LayoutPlot(device, area, scene, kind);
    }
    if (layout.ok && recompute) {
        ComputeCurves(layout.map.Frame().width, layout.map.Frame().height);
        // Auto style follows the number of points, known only now.
        scene.style = GetStyle();
    }
    // The legend shows the style, so a background drawn in another one is redrawn.
    reusedBackground_ = reusedLayout && scene.style == backgroundStyle_;
    return Prepared{std::move(layout), scene};
}

CPlot::BackgroundKey CPlot::KeyOf(const PlotScene& scene, QSize area) const {
    BackgroundKey key;
    key.area = area;
    key.dpr = devicePixelRatioF();
    key.x = scene.x;
    key.y = scene.y;
    key.xPower = scene.xPower;
    key.titles = {scene.mainTitle, scene.xTitle, scene.yTitle};
    key.flags = {scene.originAtZero, scene.legend, scene.polar};
    key.font = scene.font;
    key.fontScale = scene.fontScale;
    for (std::size_t i = 0; i < m_curves.GetCount(); ++i) {
        const CDataColumn& c = m_curves.GetAt(i);
        key.curves.emplace_back(c.m_strName, c.m_crColor, c.m_bDotted);
    }
    return key;
}

void CPlot::RenderPicture() {
    pictureStale_ = false;
    ++renders_;
    const qreal dpr = devicePixelRatioF();
    // The same size reuses the picture's memory: a drag renders every move.
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (picture_.size() != pixels) picture_ = QPixmap(pixels);
    picture_.setDevicePixelRatio(dpr);
    picture_.fill(Qt::white);
    screenLayout_ = PlotLayout{};
    const std::optional<Prepared> prepared = Prepare(&picture_, rect(), RenderKind::kScreen);
    if (!prepared || !prepared->layout.ok) {
        backgroundKey_.reset();
        if (prepared) screenLayout_ = prepared->layout;
        return;
    }
    screenLayout_ = prepared->layout;
    const PlotLayout* layout = &screenLayout_;
    const PlotScene& scene = prepared->scene;
    QPainter painter(&picture_);
    if (reusedBackground_) {
        ++reuses_;
        painter.drawPixmap(0, 0, background_);
    } else {
        DrawPlotBackground(painter, *layout, scene);
        painter.end();
        background_ = picture_.copy();
        backgroundStyle_ = scene.style;
        painter.begin(&picture_);
    }
    DrawPlotCurves(painter, *layout, scene);
    painter.end();
    // A corrected label step is kept, so the correction is made (and told) once.
    if (layout->xLabels.tooManyLabels) {
        m_axes.x.labelStep = m_axes.m_xAxis.m_dLabelStep = layout->xLabels.labelStep;
    }
    if (layout->yLabels.tooManyLabels) {
        m_axes.y.labelStep = m_axes.m_yAxis.m_dLabelStep = layout->yLabels.labelStep;
    }
    AddNotices(layout->notices);
    if (!notices_.empty()) noticeTimer_->start();
    OnDrawDone();
}

void CPlot::ShowNotices() {
    std::vector<PlotNotice> pending;
    pending.swap(notices_);
    for (PlotNotice notice : pending) {
        const auto seen = std::find_if(shown_.begin(), shown_.end(), [&](const ShownNotice& s) {
            return s.notice == notice && s.x == m_axes.x && s.y == m_axes.y;
        });
        if (seen != shown_.end()) continue;
        shown_.erase(std::remove_if(shown_.begin(), shown_.end(),
                                    [&](const ShownNotice& s) { return s.notice == notice; }),
                     shown_.end());
        shown_.push_back({notice, m_axes.x, m_axes.y});
        GetUi().Message(PlotNoticeText(notice), PlotNoticeIcon(notice));
    }
}

void CPlot::paintEvent(QPaintEvent* /*event*/) {
    const qreal dpr = devicePixelRatioF();
    if (pictureStale_ || picture_.size() != (QSizeF(size()) * dpr).toSize()) RenderPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    DrawOverlay(painter);
}

void CPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // One point per pixel of width: a new size needs new data.
    Rebuild();
}

void CPlot::RenderTo(QPainter& painter, const QRect& area, RenderKind kind) {
    const std::size_t keep = notices_.size();
    const std::optional<Prepared> prepared = Prepare(painter.device(), area, kind);
    // Notices belong to the screen; a print or a copy never raises one.
    notices_.resize(keep);
    if (prepared && prepared->layout.ok) DrawPlot(painter, prepared->layout, prepared->scene);
}

void CPlot::RenderPage(QPainter& painter, const QRect& page) {
    const double scale = painter.device()->logicalDpiX() / 96.0;
    if (!(scale > 0.0)) return;
    painter.save();
    painter.translate(page.topLeft());
    painter.scale(scale, scale);
    const QRect area(0, 0, static_cast<int>(page.width() / scale),
                     static_cast<int>(page.height() / scale));
    RenderTo(painter, area, RenderKind::kPrint);
    painter.restore();
}

QMimeData* CPlot::MakePictureMime() {
    const QSize area = size();
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), PlotSvg(*this, area));
    mime->setImageData(PlotImage(*this, area, devicePixelRatioF()));
    return mime;
}

PlotTextSource CPlot::TextSource() const {
    PlotTextSource source;
    source.x = &m_xData;
    source.curves = &m_curves;
    source.xLog = m_axes.x.log;
    source.yLog = m_axes.y.log;
    source.polar = m_axes.m_bPolar;
    return source;
}

void CPlot::OnCopyImage() {
    QGuiApplication::clipboard()->setMimeData(MakePictureMime());
}

void CPlot::OnCopyData() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(CopyDataText(TextSource())));
}

void CPlot::OnWriteData() {
    fw::Ui& ui = GetUi();
    const std::optional<std::string> path = ui.AskSavePath(LastDataPath(), "PlotFiles (*.plt)");
    if (!path) return;
    LastDataPath() = *path;
    const PlotTitles titles{m_strMainTitle, m_strXTitle, m_strYTitle};
    const bool withTitles = titles.AllSet() && ui.Ask("Write titles to file?") == fw::Answer::Yes;
    const std::string text = WriteDataText(TextSource(), withTitles ? &titles : nullptr);
    const fw::FileResult result = fw::WriteFileAtomically(*path, text, fw::Durability::kRenameOnly);
    if (!result.ok) {
        std::string message = "Cannot open file \"" + *path + "\".";
        if (!result.error.empty()) message += "\n" + result.error;
        ui.Message(message, fw::Icon::Error);
    }
}

void CPlot::OnSaveImage() {
    fw::Ui& ui = GetUi();
    const ImageSize window = WindowImageSize(width(), height());
    const std::optional<ImageRequest> request = ImageDialogHook()(this, LastImageRequest(), window);
    if (!request) return;
    LastImageRequest() = *request;
    const ImageSize size = request->windowSize ? window : request->size;
    // The curves have one point per pixel of the width they were computed for:
    // a picture of another width gets its own, and the window its own back.
    const bool resample = size.width != width();
    fw::FileResult result;
    {
        const fw::BusyGuard busy(ui);
        if (resample) Rebuild();
        result =
            WritePlotImage(*this, request->path, request->format, QSize(size.width, size.height));
        if (resample) Rebuild();
    }
    if (!result) ui.Message(CannotWriteImageMessage(request->path, result.error), fw::Icon::Error);
}

void CPlot::OnPlotFont() {
    const double h0 = m_logFont.pointSizeF();
    const std::optional<QFont> chosen = FontChooserHook()(this, m_logFont);
    if (!chosen) return;
    const double h1 = chosen->pointSizeF();
    const double scale = std::abs(h1 * m_dFontScale / h0);
    // A font without a usable size keeps the old scale rather than breaking every text.
    if (h0 > 0.0 && std::isfinite(scale) && scale > 0.0) {
        m_dFontScale = scale;
        m_logFont = *chosen;
    }
    Rebuild();
}

bool CPlot::HandleCommand(fw::CommandId id) {
    if (const std::size_t style = StyleIndex(id); style < kIdPlotStyles.size()) {
        m_nStyle = static_cast<int>(style);
        InvalidatePicture();
        return true;
    }
    if (id == kIdPlotCopyImage || id == fw::kIdEditCopy) {
        if (IsPlotReady()) OnCopyImage();
        return true;
    }
    if (id == kIdPlotCopyData) {
        if (IsPlotReady()) OnCopyData();
        return true;
    }
    if (id == kIdPlotWriteData) {
        if (IsPlotReady()) OnWriteData();
        return true;
    }
    if (id == kIdPlotSaveImage) {
        if (IsPlotReady()) OnSaveImage();
        return true;
    }
    if (id == kIdPlotFont) {
        OnPlotFont();
        return true;
    }
    return false;
}

bool CPlot::UpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (const std::size_t style = StyleIndex(id); style < kIdPlotStyles.size()) {
        ui.Enable(true);
        ui.SetCheck(static_cast<int>(style) == m_nStyle);
        return true;
    }
    if (id == kIdPlotCopyImage || id == fw::kIdEditCopy || id == kIdPlotCopyData ||
        id == kIdPlotWriteData || id == kIdPlotSaveImage) {
        ui.Enable(IsPlotReady());
        return true;
    }
    if (id == kIdPlotFont) {
        ui.Enable(true);
        return true;
    }
    return false;
}

} // namespace tarvo
