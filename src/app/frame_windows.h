#pragma once
// The Qt windows behind the frames: an inner window of the main window's MDI
// area, or a free-standing window. Closing one by its close button does not
// close it at once: the request goes to the application, which asks to save
// when the window shows the project's last views and then destroys the frame;
// the window is deleted later, never inside its own close handler.

#include <QMainWindow>
#include <QMdiSubWindow>

#include <functional>

namespace tarvo {

template <class W> void PostClose(W* window, QCloseEvent* event);

class MdiFrameWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    MdiFrameWindow();
    // What a click on the close button asks for (run after the event returns).
    void SetCloseRequest(std::function<void()> request) { closeRequest_ = std::move(request); }
    // Runs when the window is maximized or restored.
    void SetStateChanged(std::function<void()> changed) { stateChanged_ = std::move(changed); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <class W> friend void PostClose(W*, QCloseEvent*);
    std::function<void()> closeRequest_;
    std::function<void()> stateChanged_;
};

class TopLevelFrameWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TopLevelFrameWindow(QWidget* owner);
    void SetCloseRequest(std::function<void()> request) { closeRequest_ = std::move(request); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <class W> friend void PostClose(W*, QCloseEvent*);
    std::function<void()> closeRequest_;
};

} // namespace tarvo
