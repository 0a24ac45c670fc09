// One message box at a time: messages raised while a box is open, or while a
// window paints, wait their turn, and a text already waiting is not repeated.

#include "app/file_chooser.h"
#include "app/qt_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace tarvo {
namespace {

using ::testing::ElementsAre;

class NoFiles : public FileChooser {
public:
    std::optional<std::string> OpenPath(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SavePath(QWidget*, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

// Answers every box as it opens, noting its text and how many were open at once.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<void(const QString&)> onShown = {})
        : onShown_(std::move(onShown)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    std::vector<std::string> shown;
    int mostOpen = 0;

private:
    void Poll() {
        const auto boxes = QApplication::topLevelWidgets();
        int open = 0;
        QMessageBox* top = nullptr;
        for (QWidget* w : boxes) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
                ++open;
                top = box;
            }
        }
        mostOpen = std::max(mostOpen, open);
        if (top == nullptr) return;
        shown.push_back(top->text().toStdString());
        if (onShown_) onShown_(top->text());
        top->accept();
    }
    QTimer timer_;
    std::function<void(const QString&)> onShown_;
};

TEST(QtUi, AMessageRaisedWhileABoxIsOpenWaitsForIt) {
    NoFiles files;
    QtUi ui(files);
    bool raised = false;
    BoxWatcher watcher([&](const QString& text) {
        if (text == "first" && !raised) {
            raised = true;
            ui.Message("second", fw::Icon::Error);
            ui.Message("first", fw::Icon::Error); // the box on screen already says it
        }
    });
    ui.Message("first", fw::Icon::Information);
    EXPECT_THAT(watcher.shown, ElementsAre("first", "second"));
    EXPECT_EQ(watcher.mostOpen, 1);
    EXPECT_EQ(ui.PendingMessages(), 0u);
}

TEST(QtUi, MessagesDuringAPaintWaitAndIdenticalOnesMerge) {
    NoFiles files;
    QtUi ui(files);
    BoxWatcher watcher;
    {
        QtUi::DeferScope painting(ui);
        ui.Message("Cannot open file \"a\".", fw::Icon::Error);
        ui.Message("Cannot open file \"a\".", fw::Icon::Error);
        ui.Message("Cannot open file \"b\".", fw::Icon::Error);
        EXPECT_EQ(ui.PendingMessages(), 2u);
        EXPECT_TRUE(watcher.shown.empty());
    }
    QTRY_COMPARE(ui.PendingMessages(), std::size_t{0});
    EXPECT_THAT(watcher.shown, ElementsAre("Cannot open file \"a\".", "Cannot open file \"b\"."));
}

} // namespace
} // namespace tarvo
