#include <QApplication>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/window_module.h"
#include "core/errors.h"
#include "platform/desktop_apps.h"
#include "platform/file_association.h"
#include "platform/program_paths.h"
#include "platform/qsettings_store.h"
#include "ui/help/help_environment.h"
#include "ui/kit/dialog_runner.h"
#include "ui/kit/icons.h"
#include "ui/main/main_form.h"
#include "ui/main/qt_desktop.h"
#include "ui/main/splash_form.h"

namespace doxel {
namespace {

std::string registerAssociation()
{
    // An installed package brings its own desktop entry and project type;
    // the user's copies from earlier starts would only hide them.
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    if (installationProvidesAssociation(programPath(), dataDirs != nullptr ? dataDirs : "",
                                        AssociationFolders::fromEnvironment().dataHome)) {
        const std::string problem = removeUserFileAssociation();
        if (!problem.empty())
            std::cerr << "doxel: " << escapeControls(problem) << "\n";
        return problem;
    }
    std::string icon = resourcePath("icons/html-doxel.svg");
    if (icon.empty())
        icon = "html-doxel";
    // A refused write leaves the program usable; the reason goes to the
    // terminal for whoever wonders why .dxp files do not open with it.
    const std::string problem = registerFileAssociation(programPath(), icon);
    if (!problem.empty())
        std::cerr << "doxel: " << escapeControls(problem) << "\n";
    return problem;
}

int runWindowJob(const std::string& projectFile)
{
    // QApplication keeps references to these for its whole life.
    static char programName[] = "doxel";
    static char* arguments[] = {programName, nullptr};
    static int argumentCount = 1;
    QApplication application(argumentCount, arguments);
    startProgramEnvironment();
    QApplication::setApplicationName(QString::fromLatin1(kProgramName));
    QApplication::setOrganizationName(QStringLiteral("Tervanis"));
    QGuiApplication::setDesktopFileName(QStringLiteral("html-doxel"));
    QApplication::setWindowIcon(programIcon());

    auto splash = std::make_unique<TSplash>(TSplash::Mode::Startup);
    splash->showNow();

    QSettingsStore settings;
    QtDesktop desktop;
    ModalDialogRunner dialogs;
    TMainForm form({settings, desktop, dialogs, registerAssociation, {programDataFolder(), findDesktopHtmlEditor}});
    desktop.setOwner(&form);
    form.setUpWindow(projectFile);
    form.show();
    splash.reset();
    return QApplication::exec();
}

}  // namespace
}  // namespace doxel

extern "C" __attribute__((visibility("default"))) int doxel_window_main(const char* programVersion,
                                                                        const char* projectFile)
{
    if (std::string_view(programVersion) != DOXEL_VERSION) {
        std::cerr << "doxel: the window module is of version " DOXEL_VERSION ", the program of version "
                  << doxel::escapeControls(programVersion) << "\n";
        return 2;
    }
    try {
        return doxel::runWindowJob(projectFile);
    } catch (const std::exception& error) {
        std::cerr << "doxel: " << doxel::escapeControls(error.what()) << "\n";
        return 2;
    }
}
