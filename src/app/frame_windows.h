#pragma once
// The Qt windows behind the frames: an inner window of the main window's MDI
// area, or a free-standing window. Closing one by its close button does not
// close it at once: the request goes to the application, which asks to save
// when the window shows the project's last views and then destroys the frame;
// the window is deleted later, never inside its own close handler.

#include <functional>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QTimer>

namespace tarvo {

// Turns a window's close event into a request run once the event has returned.
class CloseRequester : public QObject {
    Q_OBJECT
public:
    explicit CloseRequester(QObject* parent = nullptr);
    void SetRequest(std::function<void()> request) { request_ = std::move(request); }
    void OnClose(QCloseEvent* event);

private:
    QTimer timer_;
    std::function<void()> request_;
};

class MdiFrameWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    MdiFrameWindow();
    // What a click on the close button asks for (run after the event returns).
    void SetCloseRequest(std::function<void()> request) { close_.SetRequest(std::move(request)); }
    // Runs when the window is maximized or restored.
    void SetStateChanged(std::function<void()> changed) { stateChanged_ = std::move(changed); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CloseRequester close_;
    std::function<void()> stateChanged_;
};

class TopLevelFrameWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TopLevelFrameWindow(QWidget* owner);
    void SetCloseRequest(std::function<void()> request) { close_.SetRequest(std::move(request)); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CloseRequester close_;
};

} // namespace tarvo
