#include "app/frame_windows.h"

#include <QCloseEvent>

namespace tarvo {

CloseRequester::CloseRequester(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    // Read when the timer fires: the frame may be gone by then.
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (request_) request_();
    });
}

void CloseRequester::OnClose(QCloseEvent* event) {
    // With no request (the frame is gone already) the window simply closes.
    if (!request_) {
        event->accept();
        return;
    }
    event->ignore();
    timer_.start();
}

MdiFrameWindow::MdiFrameWindow() {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void MdiFrameWindow::closeEvent(QCloseEvent* event) {
    close_.OnClose(event);
}

void MdiFrameWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && stateChanged_) stateChanged_();
}

TopLevelFrameWindow::TopLevelFrameWindow(QWidget* owner) : QMainWindow(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TopLevelFrameWindow::closeEvent(QCloseEvent* event) {
    close_.OnClose(event);
}

} // namespace tarvo
