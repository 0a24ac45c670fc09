#pragma once
// One QAction per command: its text, keys, status help and icon from the menu
// tables; triggering it runs the command through the application's command
// routing and nothing else; its enabled and checked state is what the routing
// says, refreshed in one place. Menu items whose text differs from the
// command's first text (the same command under another name in another menu)
// get an alias action that runs the same command and follows its state.

#include "doc/menu_table.h"
#include "fw/command_target.h"

#include <functional>
#include <QHash>
#include <QList>
#include <QObject>
#include <string_view>

class QAction;
class QMenu;

namespace tarvo {

class CommandActions : public QObject {
    Q_OBJECT
public:
    using Runner = std::function<void(fw::CommandId)>;
    using StateQuery = std::function<fw::CmdUI(fw::CommandId)>;
    // Fills the window list of a Window menu, after the given marker action.
    using WindowListFiller = std::function<void(QMenu*, QAction* marker)>;

    CommandActions(Runner run, StateQuery state, QObject* parent = nullptr);

    // The command's action (made on first use).
    QAction* Action(fw::CommandId id);
    // Every command action made so far.
    QList<QAction*> Actions() const;
    // The actions that carry keys: every window adds them so that its keys work.
    QList<QAction*> KeyedActions();

    // The popups of a menu bar, made for parent (which owns them).
    QList<QMenu*> BuildMenus(MenuBarKind kind, QWidget* parent);
    // The context menu of a kind of view, its states refreshed (null for a kind
    // without one); parent owns it.
    QMenu* BuildContextMenu(MenuBarKind kind, QWidget* parent);

    void SetWindowListFiller(WindowListFiller filler) { windowListFiller_ = std::move(filler); }

    // Asks the routing for the state of every command and applies it.
    void Refresh();
    // The same for the actions of one menu (before it shows).
    void Refresh(const QMenu* menu);

private:
    QAction* MenuAction(fw::CommandId id, std::string_view text);
    void FillMenu(QMenu* menu, std::span<const MenuEntry> entries);
    void Apply(fw::CommandId id, const fw::CmdUI& state);

    Runner run_;
    StateQuery state_;
    WindowListFiller windowListFiller_;
    QHash<fw::CommandId, QAction*> actions_;
    QHash<fw::CommandId, QList<QAction*>> aliases_;
};

// The first text the menu tables give the command ("" when none).
std::string_view CommandText(fw::CommandId id);

} // namespace tarvo
