#pragma once
// A plot's picture as image data and image files, drawn by the plot's own
// renderer (as on the screen, the printer and the clipboard) at a given size in
// logical pixels: a bitmap, an SVG drawing that opens at that size in pixels,
// and a one-page PDF whose page is the picture.

#include "fw/file_io.h"
#include "plot/image_export.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <string>

namespace tarvo {

class CPlot;

// The picture on white; null when an image of that size cannot be allocated.
QImage PlotImage(CPlot& plot, QSize size, qreal devicePixelRatio = 1.0,
                 QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// An SVG document titled "Tarvo Plot" whose width and height are size in pixels.
QByteArray PlotSvg(CPlot& plot, QSize size);
// A PDF with one page of size at 96 pixels per inch; empty when it failed.
QByteArray PlotPdf(CPlot& plot, QSize size);

// Writes the picture to path in format, replacing the file only once the whole
// picture is written; on failure the old file stays and error says why.
fw::FileResult WritePlotImage(CPlot& plot, const std::string& path, ImageFormat format, QSize size);

} // namespace tarvo
