#include "ui/kit/action_registry.h"

#include <QToolBar>
#include <QToolButton>

namespace doxel {

QAction* ActionRegistry::add(Command command, const QString& caption, const QIcon& icon, const QKeySequence& shortcut,
                             bool checkable)
{
    auto* action = new QAction(icon, caption, m_owner);
    action->setObjectName(QString::fromLatin1(objectName(command)));
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    m_actions.at(static_cast<std::size_t>(command)) = action;
    return action;
}

QMenu* ActionRegistry::addMenu(Menu menu, const QString& title, QWidget* parent)
{
    auto* created = new QMenu(title, parent);
    created->setObjectName(QString::fromLatin1(objectName(menu)));
    m_menus.at(static_cast<std::size_t>(menu)) = created;
    return created;
}

QAction* ActionRegistry::actionNamed(const QString& name) const
{
    const std::optional<Command> command = commandNamed(name);
    return command ? action(*command) : nullptr;
}

QMenu* ActionRegistry::menuNamed(const QString& name) const
{
    const std::optional<Menu> found = doxel::menuNamed(name);
    return found ? menu(*found) : nullptr;
}

QToolButton* ActionRegistry::addToolButton(QToolBar* bar, Command command)
{
    QAction* found = action(command);
    Q_ASSERT_X(found, "ActionRegistry::addToolButton", objectName(command));
    bar->addAction(found);
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(found));
    if (button != nullptr)
        button->setObjectName(found->objectName());
    return button;
}

}  // namespace doxel
