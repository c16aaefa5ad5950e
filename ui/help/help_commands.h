#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

#include "env/environment.h"
#include "env/help_hook.h"
#include "env/update_check.h"
#include "ui/help/qt_ui_poster.h"
#include "ui/kit/command_context.h"

namespace doxel {

// What the Help menu leads to. The three addresses come from the build
// (DOXEL_VERSION_FILE_URL, DOXEL_HOMEPAGE_URL, DOXEL_SUPPORT_EMAIL); a
// command whose address is empty is hidden.
struct HelpServices {
    std::string helpFile;        // full path of doxel.chm, the English manual
    std::string versionFileUrl;  // the update check's doxel.ver
    std::string homePage;
    std::string supportEmail;
    std::string dataFolder;  // where the update check keeps temp.txt
    // Opens `file` at `page` in the help viewer; false with `problem` set.
    std::function<bool(const std::string& file, const std::string& page, std::string& problem)> openHelp;
    // Ends the help viewers the program started.
    std::function<void()> closeHelpViewers;
    // The preview's web engine, asked when the author asks for its version;
    // none: the start-up environment's browser version.
    std::function<ComponentVersion()> viewerVersion;
    // The desktop's CHM viewer, likewise asked when the author asks.
    std::function<ComponentVersion()> helpViewerVersion;
};

// The program's: doxel.chm beside the program or in its installation (the
// other languages' doxel-de.chm and so on beside it), the build's
// addresses, the desktop's CHM viewer.
HelpServices programHelpServices();

// The Help menu's commands: Help manual (F1), the HTML Help and browser
// version messages, the Internet items and Check for Updates; and the help
// hook, through which F1 in a dialog opens the manual's page about it.
class HelpCommands final : public QObject, private HelpViewerPort, private UpdateCheckView {
    Q_OBJECT

public:
    explicit HelpCommands(const CommandContext& context, HelpServices services = programHelpServices());
    ~HelpCommands() override;

    void openHelpManual();
    void showHelpVersion();
    void showBrowserVersion();
    void checkForUpdate();
    void openHomepage();
    void sendEmail();

    THookHelpSystem& hook() { return *m_hook; }
    UpdateCheck& updateCheck() { return m_update; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // HelpViewerPort
    bool installed() const override;
    void showContext(const std::string& path, int context) override;
    void closeAll() override;
    bool windowsProgramExists(const std::string& name) const override;
    int runWithShell(const std::string& file, const std::string& parameters) override;
    void showWarning(const std::string& text) override;
    std::string text(int id) const override;

    // UpdateCheckView
    void showLatestVersion() override;
    bool askGoToDownloadPage(bool haveHomePage) override;
    void showUpdateError() override;
    void openAddress(const std::string& address) override;

    void plainMessage(const std::string& text);
    // The manual of the window's language as it is now.
    std::string manualFile();

    CommandContext m_context;
    HelpServices m_services;
    QtUiPoster m_poster;
    UpdateCheck m_update;
    std::unique_ptr<THookHelpSystem> m_hook;
};

}  // namespace doxel
