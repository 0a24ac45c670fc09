#include "plotui/image_writer.h"

#include "plotui/plot_widget.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <span>

namespace tarvo {
namespace {

const QString kPictureTitle = QStringLiteral("Tarvo Plot");

// Pictures are laid out at 96 logical pixels per inch, as the screen is.
constexpr int kPictureDpi = 96;
// 96 dpi is 3780 dots per metre, rounded.
constexpr int kPictureDotsPerMeter = 3780;

// The generator gives the picture's size in millimetres at its resolution,
// which readers convert back at their own (Qt's at 90 dpi, browsers at 96);
// plain pixels read back the same everywhere.
QByteArray WithPixelSize(QByteArray svg, QSize size) {
    static const QRegularExpression kSize(
        QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\""));
    const QString head = QString::fromUtf8(svg.left(512));
    const QRegularExpressionMatch match = kSize.match(head);
    if (!match.hasMatch()) return svg;
    const QByteArray replacement = QStringLiteral("<svg width=\"%1\" height=\"%2\"")
                                       .arg(size.width())
                                       .arg(size.height())
                                       .toUtf8();
    return svg.replace(static_cast<qsizetype>(match.capturedStart()),
                       static_cast<qsizetype>(match.capturedLength()), replacement);
}

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

} // namespace

QImage PlotImage(CPlot& plot, QSize size, qreal devicePixelRatio, QImage::Format format) {
    QImage image((QSizeF(size) * devicePixelRatio).toSize(), format);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(devicePixelRatio);
    image.setDotsPerMeterX(kPictureDotsPerMeter);
    image.setDotsPerMeterY(kPictureDotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    plot.RenderTo(painter, QRect(QPoint(0, 0), size), RenderKind::kPicture);
    return image;
}

QByteArray PlotSvg(CPlot& plot, QSize size) {
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setTitle(kPictureTitle);
        generator.setResolution(kPictureDpi);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&generator);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        plot.RenderTo(painter, QRect(QPoint(0, 0), size), RenderKind::kPicture);
    }
    return WithPixelSize(svg.data(), size);
}

QByteArray PlotPdf(CPlot& plot, QSize size) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(kPictureTitle);
        writer.setCreator(QStringLiteral("TarvoIIR"));
        writer.setResolution(kPictureDpi);
        const QSizeF inches = QSizeF(size) / kPictureDpi;
        writer.setPageLayout(
            QPageLayout(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        plot.RenderTo(painter, QRect(QPoint(0, 0), size), RenderKind::kPicture);
        if (!painter.end()) return {};
    }
    return pdf.data();
}

fw::FileResult WritePlotImage(CPlot& plot, const std::string& path, ImageFormat format,
                              QSize size) {
    QByteArray data;
    switch (format) {
    case ImageFormat::kPng: {
        // No alpha channel: the picture is opaque, and readers show it on white anyway.
        const QImage image = PlotImage(plot, size, 1.0, QImage::Format_RGB32);
        if (image.isNull()) {
            return {false, "There is not enough memory for an image of " +
                               std::to_string(size.width()) + " x " +
                               std::to_string(size.height()) + " pixels."};
        }
        QBuffer png(&data);
        png.open(QIODevice::WriteOnly);
        if (!image.save(&png, "PNG")) return {false, "The PNG image could not be encoded."};
        break;
    }
    case ImageFormat::kSvg:
        data = PlotSvg(plot, size);
        break;
    case ImageFormat::kPdf:
        data = PlotPdf(plot, size);
        if (data.isEmpty()) return {false, "The PDF document could not be made."};
        break;
    }
    // A saved picture is kept, not regenerated: it is flushed like a project.
    return fw::WriteFileAtomically(path, Bytes(data), fw::Durability::kSynced);
}

} // namespace tarvo
