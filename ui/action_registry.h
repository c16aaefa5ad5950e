#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QString>

#include <initializer_list>

class QToolBar;
class QToolButton;

namespace doxel {

// Every command of the main window is a QAction named after its menu item
// or tool button (objectName "Delete1", "DeleteButton"), created here with
// its design caption, picture and shortcut, and looked up by that name.
// An action starts disabled and is enabled when a handler is bound to it,
// so a command that is not built yet shows but does nothing:
//
//     registry.bind({"Delete1", "DeleteButton", "Deleteitem"}, this, &TMainForm::Delete1Click);
//
// Sub-menus are QMenus registered the same way ("Recent", "Language").
class ActionRegistry {
public:
    explicit ActionRegistry(QObject* owner) : m_owner(owner) {}

    QAction* add(const char* name, const QString& caption, const QIcon& icon = {},
                 const QKeySequence& shortcut = {}, bool checkable = false);
    QMenu* addMenu(const char* name, const QString& title, QWidget* parent);

    // Null when there is no such action or menu.
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }

    // Connects the actions' triggered signal to `slot` and enables them.
    template <typename Receiver, typename Slot>
    void bind(std::initializer_list<const char*> names, Receiver* receiver, Slot slot)
    {
        for (const char* name : names) {
            QAction* found = m_actions.value(QString::fromLatin1(name));
            Q_ASSERT_X(found, "ActionRegistry::bind", name);
            if (found == nullptr)
                continue;
            QObject::connect(found, &QAction::triggered, receiver, slot);
            found->setEnabled(true);
        }
    }

    // Puts the action on a tool bar; its button carries the same objectName.
    QToolButton* addToolButton(QToolBar* bar, const char* name);

    const QHash<QString, QAction*>& actions() const { return m_actions; }

private:
    QObject* m_owner;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
};

}  // namespace doxel
