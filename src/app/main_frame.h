#pragma once
// The main window: the MDI area holding the project windows, the toolbar, the
// status bar, and the one menu bar whose popups follow the focused view.

#include "doc/menu_table.h"

#include <functional>
#include <QHash>
#include <QList>
#include <QMainWindow>

class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace tarvo {

class CommandActions;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CommandActions& actions);

    QMdiArea* MdiArea() const { return area_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // Shows the popups of that menu bar (built once, swapped in place: the bar
    // itself is never replaced).
    void ShowMenuBar(MenuBarKind kind);
    MenuBarKind CurrentMenuBar() const { return current_; }

    // The status bar's message; an empty text shows "Ready".
    void SetStatusText(const QString& text);
    // The right-hand field of the status bar, which passing texts leave alone.
    void SetLastingStatus(const QString& text);
    QString LastingStatus() const;

    // Asked before the window closes: false keeps it open.
    void SetCloseHandler(std::function<bool()> handler) { closeHandler_ = std::move(handler); }
    // Receives the local files dropped on the window.
    void SetDropHandler(std::function<void(const QStringList&)> handler) {
        dropHandler_ = std::move(handler);
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CommandActions& actions_;
    QMdiArea* area_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* lasting_ = nullptr;
    QHash<int, QList<QMenu*>> menus_;
    MenuBarKind current_ = MenuBarKind::kMain;
    bool menusShown_ = false;
    std::function<bool()> closeHandler_;
    std::function<void(const QStringList&)> dropHandler_;
};

} // namespace tarvo
