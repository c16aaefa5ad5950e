#pragma once

#include <QAction>
#include <QMenu>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "core/settings.h"
#include "scripted_desktop.h"
#include "scripted_dialogs.h"
#include "test_support.h"
#include "ui/main/main_form.h"

namespace doxel::test {

// A window's title as the desktop shows it: "[*]" is "*" while the window
// is marked modified and nothing otherwise.
inline QString shownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

// A main window on a scripted desktop and settings in memory, with the
// sample project copied to a temporary folder.
struct WindowFixture {
    WindowFixture()
    {
        std::filesystem::copy(std::string(DOXEL_SOURCE_DIR) + "/examples/sample", folder.path() / "sample",
                              std::filesystem::copy_options::recursive);
    }

    TMainForm& create(const std::string& commandLineProject = {})
    {
        form =
            std::make_unique<TMainForm>(MainFormServices{settings,
                                                         desktop,
                                                         dialogs,
                                                         [this] {
                                                             ++associations;
                                                             return std::string();
                                                         },
                                                         {folder.path().string() + "/", [] { return std::string(); }}});
        form->setUpWindow(commandLineProject);
        return *form;
    }

    std::string sample() const { return (folder.path() / "sample" / "sample.dxp").string(); }

    QAction* action(Command command) const { return form->actions().action(command); }
    // By the objectName of the window's design.
    QAction* action(const char* name) const { return form->actions().actionNamed(QString::fromLatin1(name)); }
    QMenu* menu(const char* name) const { return form->actions().menuNamed(QString::fromLatin1(name)); }

    TempDir folder;
    MemorySettingsStore settings;
    ScriptedDesktop desktop;
    ScriptedDialogs dialogs;
    int associations = 0;
    std::unique_ptr<TMainForm> form;
};

}  // namespace doxel::test
