#include "app/main_frame.h"

#include "app/command_actions.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

namespace tarvo {
namespace {

const QString kReady = QStringLiteral("Ready");

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

CMainFrame::CMainFrame(CommandActions& actions) : actions_(actions) {
    setObjectName("mainFrame");
    setWindowTitle(QStringLiteral("TarvoIIR"));
    area_ = new QMdiArea(this);
    area_->setObjectName("mdiArea");
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);

    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName("toolBar");
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    for (const fw::CommandId id : ToolbarCommands()) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_.Action(id));
        }
    }

    statusBar()->setObjectName("statusBar");
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        // Fly-by help clears the message when the pointer leaves; show "Ready" then.
        if (text.isEmpty()) statusBar()->showMessage(kReady);
    });
    statusBar()->showMessage(kReady);
    lasting_ = new QLabel(statusBar());
    lasting_->setObjectName("lastingStatus");
    statusBar()->addPermanentWidget(lasting_);

    for (int k = 0; k < kMenuBarKindCount; ++k) {
        menus_.insert(k, actions_.BuildMenus(static_cast<MenuBarKind>(k), this));
    }
    // Every key works in the main window, whichever popups the bar shows.
    addActions(actions_.KeyedActions());
    ShowMenuBar(MenuBarKind::kMain);
    setAcceptDrops(true);
}

void CMainFrame::ShowMenuBar(MenuBarKind kind) {
    if (menusShown_ && kind == current_) return;
    menusShown_ = true;
    current_ = kind;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* menu : menus_.value(static_cast<int>(kind)))
        bar->addMenu(menu);
}

void CMainFrame::SetStatusText(const QString& text) {
    // No repaint here: the text may come from inside a paint.
    statusBar()->showMessage(text.isEmpty() ? kReady : text);
}

void CMainFrame::SetLastingStatus(const QString& text) {
    lasting_->setText(text);
}

QString CMainFrame::LastingStatus() const {
    return lasting_->text();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeHandler_ && !closeHandler_()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    if (dropHandler_) dropHandler_(files);
}

} // namespace tarvo
