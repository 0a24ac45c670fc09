#include "app/command_actions.h"

#include "fw/command_ids.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QStyle>

namespace tarvo {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view FindText(std::span<const MenuEntry> entries, fw::CommandId id) {
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Kind::kCommand && e.id == id) return e.text;
        if (e.kind == MenuEntry::Kind::kSubmenu) {
            if (const std::string_view t = FindText(e.children, id); !t.empty()) return t;
        }
    }
    return {};
}

QIcon CommandIcon(fw::CommandId id) {
    QStyle* style = QApplication::style();
    switch (id) {
    case fw::kIdFileNew:
        return style->standardIcon(QStyle::SP_FileIcon);
    case fw::kIdFileOpen:
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    case fw::kIdFileSave:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case fw::kIdFilePrint:
        return QIcon::fromTheme(QStringLiteral("document-print"),
                                style->standardIcon(QStyle::SP_FileDialogDetailedView));
    case fw::kIdEditUndo:
        return style->standardIcon(QStyle::SP_ArrowBack);
    case fw::kIdEditRedo:
        return style->standardIcon(QStyle::SP_ArrowForward);
    case fw::kIdHelp:
        return style->standardIcon(QStyle::SP_DialogHelpButton);
    case fw::kIdContextHelp:
        return style->standardIcon(QStyle::SP_TitleBarContextHelpButton);
    default:
        return {};
    }
}

} // namespace

std::string_view CommandText(fw::CommandId id) {
    for (int k = 0; k < kMenuBarKindCount; ++k) {
        for (const MenuPopup& popup : MenuBar(static_cast<MenuBarKind>(k))) {
            if (const std::string_view t = FindText(popup.entries, id); !t.empty()) return t;
        }
    }
    return {};
}

CommandActions::CommandActions(Runner run, StateQuery state, QObject* parent)
    : QObject(parent), run_(std::move(run)), state_(std::move(state)) {}

QAction* CommandActions::Action(fw::CommandId id) {
    if (QAction* a = actions_.value(id, nullptr); a != nullptr) return a;
    auto* action = new QAction(ToQString(CommandText(id)), this);
    action->setData(id);
    QList<QKeySequence> keys;
    for (const CommandKeys& row : CommandKeyTable()) {
        if (row.id != id) continue;
        for (const std::string_view k : row.keys)
            keys.append(QKeySequence(ToQString(k)));
    }
    action->setShortcuts(keys);
    const QString help = ToQString(CommandHelp(id));
    const qsizetype newline = help.indexOf('\n');
    action->setStatusTip(help.left(newline));
    action->setWhatsThis(help.left(newline));
    if (newline >= 0) action->setToolTip(help.mid(newline + 1));
    action->setIcon(CommandIcon(id));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, id] { run_(id); });
    actions_.insert(id, action);
    return action;
}

QList<QAction*> CommandActions::Actions() const {
    return actions_.values();
}

QList<QAction*> CommandActions::KeyedActions() {
    QList<QAction*> keyed;
    for (const CommandKeys& row : CommandKeyTable())
        keyed.append(Action(row.id));
    return keyed;
}

QAction* CommandActions::MenuAction(fw::CommandId id, std::string_view text) {
    QAction* primary = Action(id);
    const QString wanted = ToQString(text);
    if (wanted == primary->text()) return primary;
    for (QAction* alias : aliases_.value(id)) {
        if (alias->text() == wanted) return alias;
    }
    auto* alias = new QAction(wanted, this);
    alias->setData(id);
    alias->setStatusTip(primary->statusTip());
    // The keys stay on the primary action alone: two actions with one key in a
    // window would make the key ambiguous, and neither would run.
    if (!primary->shortcut().isEmpty() && !wanted.contains('\t')) {
        alias->setText(wanted + '\t' + primary->shortcut().toString(QKeySequence::NativeText));
    }
    connect(alias, &QAction::triggered, this, [this, id] { run_(id); });
    aliases_[id].append(alias);
    return alias;
}

void CommandActions::FillMenu(QMenu* menu, std::span<const MenuEntry> entries) {
    for (const MenuEntry& e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::kCommand:
            menu->addAction(MenuAction(e.id, e.text));
            break;
        case MenuEntry::Kind::kSeparator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::kSubmenu: {
            QMenu* sub = menu->addMenu(ToQString(e.text));
            FillMenu(sub, e.children);
            connect(sub, &QMenu::aboutToShow, this, [this, sub] { Refresh(sub); });
            break;
        }
        case MenuEntry::Kind::kRecentFiles:
            for (fw::CommandId id = fw::kIdFileMruFirst; id <= fw::kIdFileMruLast; ++id) {
                menu->addAction(Action(id));
            }
            break;
        case MenuEntry::Kind::kWindowList: {
            QAction* marker = menu->addSeparator();
            connect(menu, &QMenu::aboutToShow, this, [this, menu, marker] {
                if (windowListFiller_) windowListFiller_(menu, marker);
            });
            break;
        }
        }
    }
}

QList<QMenu*> CommandActions::BuildMenus(MenuBarKind kind, QWidget* parent) {
    QList<QMenu*> menus;
    for (const MenuPopup& popup : MenuBar(kind)) {
        auto* menu = new QMenu(ToQString(popup.title), parent);
        FillMenu(menu, popup.entries);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { Refresh(menu); });
        menus.append(menu);
    }
    return menus;
}

QMenu* CommandActions::BuildContextMenu(MenuBarKind kind, QWidget* parent) {
    const std::span<const MenuEntry> entries = ContextMenu(kind);
    if (entries.empty()) return nullptr;
    auto* menu = new QMenu(parent);
    FillMenu(menu, entries);
    Refresh(menu);
    return menu;
}

void CommandActions::Apply(fw::CommandId id, const fw::CmdUI& state) {
    QList<QAction*> all = aliases_.value(id);
    all.prepend(actions_.value(id));
    for (QAction* a : all) {
        if (a == nullptr) continue;
        a->setEnabled(state.IsEnabled());
        if (state.IsChecked() != a->isChecked() || a->isCheckable() != state.IsChecked()) {
            a->setCheckable(state.IsChecked() || a->isCheckable());
            a->setChecked(state.IsChecked());
        }
    }
}

void CommandActions::Refresh() {
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        Apply(it.key(), state_(it.key()));
    }
}

void CommandActions::Refresh(const QMenu* menu) {
    for (QAction* a : menu->actions()) {
        if (a->menu() != nullptr || a->isSeparator() || !a->data().isValid()) continue;
        const auto id = static_cast<fw::CommandId>(a->data().toInt());
        Apply(id, state_(id));
    }
}

} // namespace tarvo
