#include "app/frame_windows.h"

#include <QCloseEvent>
#include <QTimer>

namespace tarvo {
// Ignores the close and posts the request, read again when it runs: the frame
// may be gone by then. With no request (the frame is gone already) the window
// simply closes.
template <class W> void PostClose(W* window, QCloseEvent* event) {
    if (!window->closeRequest_) {
        event->accept();
        return;
    }
    event->ignore();
    QTimer::singleShot(0, window, [window] {
        if (window->closeRequest_) window->closeRequest_();
    });
}

MdiFrameWindow::MdiFrameWindow() {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void MdiFrameWindow::closeEvent(QCloseEvent* event) {
    PostClose(this, event);
}

void MdiFrameWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && stateChanged_) stateChanged_();
}

TopLevelFrameWindow::TopLevelFrameWindow(QWidget* owner) : QMainWindow(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TopLevelFrameWindow::closeEvent(QCloseEvent* event) {
    PostClose(this, event);
}

} // namespace tarvo
