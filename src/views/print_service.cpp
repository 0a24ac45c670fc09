#include "views/print_service.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>

namespace tarvo {
namespace {

PrintService* g_current = nullptr;

} // namespace

PrintService::PrintService() {
    g_current = this;
}

PrintService::~PrintService() {
    if (g_current == this) g_current = nullptr;
}

PrintService* PrintService::Current() {
    return g_current;
}

QPrinter& PrintService::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageOrientation(QPageLayout::Landscape);
    }
    return *printer_;
}

void PrintService::Setup(QWidget* parent) {
    QPrinter& printer = Printer();
    // The page-setup dialog refuses printers that are not native queues.
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty()) {
        QPageSetupDialog dialog(&printer, parent);
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.exec();
}

void PrintService::PrintNow(const PagePainter& paint) {
    QPrinter& printer = Printer();
    QPainter painter;
    if (!painter.begin(&printer)) return;
    paint(painter, painter.viewport());
    painter.end();
}

bool PrintService::Print(QWidget* parent, const PagePainter& paint) {
    QPrintDialog dialog(&Printer(), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    PrintNow(paint);
    return true;
}

void PrintService::Preview(QWidget* parent, const PagePainter& paint) {
    QPrintPreviewDialog dialog(&Printer(), parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&paint](QPrinter* printer) {
        QPainter painter;
        if (!painter.begin(printer)) return;
        paint(painter, painter.viewport());
        painter.end();
    });
    dialog.exec();
}

} // namespace tarvo
