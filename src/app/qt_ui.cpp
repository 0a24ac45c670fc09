#include "app/qt_ui.h"

#include "app/file_chooser.h"

#include <algorithm>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

namespace tarvo {
namespace {

const QString kTitle = QStringLiteral("TarvoIIR");

QMessageBox::Icon BoxIcon(fw::Icon icon) {
    switch (icon) {
    case fw::Icon::Stop:
    case fw::Icon::Error:
        return QMessageBox::Critical;
    case fw::Icon::Information:
        return QMessageBox::Information;
    case fw::Icon::Question:
        return QMessageBox::Question;
    case fw::Icon::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::Information;
}

} // namespace

QtUi::QtUi(FileChooser& chooser) : chooser_(chooser) {
    // Waiting messages show once control is back in the event loop; the timer
    // dies with this object, so nothing runs after it.
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(0);
    QObject::connect(&showTimer_, &QTimer::timeout, [this] {
        if (!boxOpen_ && deferDepth_ == 0) ShowPending();
    });
}

QtUi::DeferScope::~DeferScope() {
    if (--ui_.deferDepth_ == 0 && !ui_.pending_.empty()) ui_.ScheduleShow();
}

void QtUi::Message(const std::string& text, fw::Icon icon) {
    const bool queued = std::any_of(pending_.begin(), pending_.end(),
                                    [&text](const Pending& p) { return p.text == text; });
    if (!queued) pending_.push_back({text, icon});
    if (boxOpen_ || deferDepth_ > 0) {
        if (deferDepth_ > 0) ScheduleShow();
        return;
    }
    ShowPending();
}

void QtUi::ScheduleShow() {
    if (!showTimer_.isActive()) showTimer_.start();
}

void QtUi::ShowPending() {
    if (beforeModal_) beforeModal_();
    boxOpen_ = true;
    while (!pending_.empty()) {
        const Pending next = pending_.front();
        QMessageBox box(BoxIcon(next.icon), kTitle, QString::fromStdString(next.text),
                        QMessageBox::Ok, parent_);
        box.exec();
        // Only now: a message raised while the box was open is still waiting.
        pending_.pop_front();
    }
    boxOpen_ = false;
}

fw::Answer QtUi::DoAsk(const std::string& text, fw::Buttons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == fw::Buttons::YesNoCancel) shown |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(text), shown, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    if (beforeModal_) beforeModal_();
    const bool wasOpen = boxOpen_;
    boxOpen_ = true;
    const int answer = box.exec();
    boxOpen_ = wasOpen;
    if (!boxOpen_ && !pending_.empty()) ScheduleShow();
    switch (answer) {
    case QMessageBox::Yes:
        return fw::Answer::Yes;
    case QMessageBox::Cancel:
        return fw::Answer::Cancel;
    default:
        break;
    }
    // Escape or the close button: Cancel where it is offered.
    return buttons == fw::Buttons::YesNoCancel && answer != QMessageBox::No ? fw::Answer::Cancel
                                                                            : fw::Answer::No;
}

void QtUi::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void QtUi::SetStatusText(const std::string& text) {
    if (statusSink_) statusSink_(QString::fromStdString(text));
}

void QtUi::SetLastingStatus(const std::string& text) {
    if (lastingSink_) lastingSink_(QString::fromStdString(text));
}

bool QtUi::OpenWithAssociatedProgram(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::optional<std::string> QtUi::AskSavePath(const std::string& suggested,
                                             const std::string& filter) {
    return chooser_.SavePath(parent_, suggested, filter);
}

} // namespace tarvo
