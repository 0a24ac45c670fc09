#pragma once
// Printing on one printer for the whole program: landscape, made on first use
// (looking printers up can take a while, so never at start-up). Print asks with
// the print dialog, Preview shows the pages first, Setup chooses the page.

#include <functional>
#include <memory>
#include <QRect>

class QPainter;
class QPrinter;
class QWidget;

namespace tarvo {

class PrintService {
public:
    using PagePainter = std::function<void(QPainter&, const QRect&)>;

    PrintService();
    ~PrintService();
    PrintService(const PrintService&) = delete;
    PrintService& operator=(const PrintService&) = delete;

    // The service views print through (null before the application makes one).
    static PrintService* Current();

    QPrinter& Printer();
    bool HasPrinter() const { return printer_ != nullptr; }

    // The page-setup dialog; where it cannot work (no printer queue) the print
    // dialog, which sets up the same things.
    void Setup(QWidget* parent);
    // Asks with the print dialog, then prints one page. False when cancelled.
    bool Print(QWidget* parent, const PagePainter& paint);
    void Preview(QWidget* parent, const PagePainter& paint);
    // Prints without asking (tests, and output to a file the caller chose).
    void PrintNow(const PagePainter& paint);

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tarvo
