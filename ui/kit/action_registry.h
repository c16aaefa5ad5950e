#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

#include <array>
#include <initializer_list>

#include "ui/kit/commands.h"

class QToolBar;
class QToolButton;

namespace doxel {

// Every command of the main window is a QAction named after its menu item
// or tool button (objectName "Delete1", "DeleteButton"), created here with
// its design caption, picture and shortcut, and looked up by its Command.
// A command set binds its handlers to the actions once:
//
//     registry.bind({Command::DeleteEntry, Command::DeleteEntryButton}, this, &ContentsCommands::deleteEntry);
//
// Sub-menus are QMenus registered the same way (Menu::RecentMenu).
class ActionRegistry {
public:
    explicit ActionRegistry(QObject* owner) : m_owner(owner) {}

    QAction* add(Command command, const QString& caption, const QIcon& icon = {}, const QKeySequence& shortcut = {},
                 bool checkable = false);
    QMenu* addMenu(Menu menu, const QString& title, QWidget* parent);

    // Null until added.
    QAction* action(Command command) const { return m_actions.at(static_cast<std::size_t>(command)); }
    QMenu* menu(Menu menu) const { return m_menus.at(static_cast<std::size_t>(menu)); }
    // By objectName, for tables that name controls (the localized
    // captions); null for a name that is neither.
    QAction* actionNamed(const QString& name) const;
    QMenu* menuNamed(const QString& name) const;

    // Connects the actions' triggered signal to `slot`.
    template <typename Receiver, typename Slot>
    void bind(std::initializer_list<Command> commands, Receiver* receiver, Slot slot)
    {
        for (Command command : commands) {
            QAction* found = action(command);
            Q_ASSERT_X(found, "ActionRegistry::bind", objectName(command));
            if (found == nullptr)
                continue;
            QObject::connect(found, &QAction::triggered, receiver, slot);
        }
    }

    // Puts the action on a tool bar; its button carries the same objectName.
    QToolButton* addToolButton(QToolBar* bar, Command command);

private:
    QObject* m_owner;
    std::array<QAction*, kCommandCount> m_actions{};
    std::array<QMenu*, kMenuCount> m_menus{};
};

}  // namespace doxel
