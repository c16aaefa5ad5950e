#include "ui/action_registry.h"

#include <QToolBar>
#include <QToolButton>

namespace doxel {

QAction* ActionRegistry::add(const char* name, const QString& caption, const QIcon& icon,
                             const QKeySequence& shortcut, bool checkable)
{
    auto* action = new QAction(icon, caption, m_owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    action->setEnabled(false);
    m_actions.insert(action->objectName(), action);
    return action;
}

QMenu* ActionRegistry::addMenu(const char* name, const QString& title, QWidget* parent)
{
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(QString::fromLatin1(name));
    m_menus.insert(menu->objectName(), menu);
    return menu;
}

QToolButton* ActionRegistry::addToolButton(QToolBar* bar, const char* name)
{
    QAction* found = action(QString::fromLatin1(name));
    Q_ASSERT_X(found, "ActionRegistry::addToolButton", name);
    bar->addAction(found);
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(found));
    if (button != nullptr)
        button->setObjectName(found->objectName());
    return button;
}

}  // namespace doxel
