#pragma once
// The core's prompts on the desktop: message boxes, questions, the wait cursor,
// the status bar, the desktop's program for a file, and the save dialog.
// One message box at a time: a message raised while a box is open, or while a
// window paints, waits until the box closes (or the paint ends), and a text
// already waiting is not queued twice.

#include "fw/ui.h"

#include <deque>
#include <functional>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace tarvo {

class FileChooser;

class QtUi : public fw::Ui {
public:
    explicit QtUi(FileChooser& chooser);

    void Message(const std::string& text, fw::Icon icon) override;
    void BeginBusy() override;
    void EndBusy() override;
    void SetStatusText(const std::string& text) override;
    void SetLastingStatus(const std::string& text) override;
    bool OpenWithAssociatedProgram(const std::string& path) override;
    std::optional<std::string> AskSavePath(const std::string& suggested,
                                           const std::string& filter) override;

    // The window boxes and dialogs are centred on.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }
    // Where status texts go (the main window's status bar).
    void SetStatusSink(std::function<void(const QString&)> sink) { statusSink_ = std::move(sink); }
    void SetLastingStatusSink(std::function<void(const QString&)> sink) {
        lastingSink_ = std::move(sink);
    }

    // Runs before a box opens (the start-up splash closes, so it never sits over one).
    void SetBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }

    // While one lives, messages wait (a window is painting).
    class DeferScope {
    public:
        explicit DeferScope(QtUi& ui) : ui_(ui) { ++ui_.deferDepth_; }
        ~DeferScope();
        DeferScope(const DeferScope&) = delete;
        DeferScope& operator=(const DeferScope&) = delete;

    private:
        QtUi& ui_;
    };

    std::size_t PendingMessages() const { return pending_.size(); }

protected:
    fw::Answer DoAsk(const std::string& text, fw::Buttons buttons) override;

private:
    struct Pending {
        std::string text;
        fw::Icon icon;
    };
    void ShowPending();
    void ScheduleShow();

    FileChooser& chooser_;
    QPointer<QWidget> parent_;
    std::function<void(const QString&)> statusSink_;
    std::function<void(const QString&)> lastingSink_;
    std::function<void()> beforeModal_;
    std::deque<Pending> pending_;
    QTimer showTimer_;
    bool boxOpen_ = false;
    int deferDepth_ = 0;
};

} // namespace tarvo
