#include "ui/help/help_commands.h"

#include <QApplication>
#include <QKeyEvent>

#include <filesystem>

#include "core/errors.h"
#include "core/text_ids.h"
#include "env/environment.h"
#include "env/help_contexts.h"
#include "platform/chm_viewer.h"
#include "platform/help_viewers.h"
#include "platform/program_paths.h"
#include "ui/help/help_environment.h"
#include "ui/logic/shell_open.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

constexpr const char* kUpdateCaption = "HTML Doxel Update";

std::string fixedText(int id)
{
    const auto stored = stringTableText(id);
    return stored ? fetchedText(*stored) : std::string();
}

// The help file of a viewer path: "mk:@MSITStore:" and ">window" removed.
std::string helpFileOfPath(std::string path)
{
    static constexpr std::string_view kStorePrefix = "mk:@MSITStore:";
    if (path.starts_with(kStorePrefix))
        path.erase(0, kStorePrefix.size());
    const std::size_t window = path.find('>');
    if (window != std::string::npos)
        path.resize(window);
    return path;
}

}  // namespace

HelpServices programHelpServices()
{
    HelpServices services;
    services.helpFile = resourcePath("doxel.chm");
    if (services.helpFile.empty())
        services.helpFile = (std::filesystem::path(programPath()).parent_path() / "doxel.chm").string();
    services.versionFileUrl = DOXEL_VERSION_FILE_URL;
    services.homePage = DOXEL_HOMEPAGE_URL;
    services.supportEmail = DOXEL_SUPPORT_EMAIL;
    services.dataFolder = programDataFolder();
    services.openHelp = [](const std::string& file, const std::string& page, std::string& problem) {
        return programHelpViewers().openWith(
            [&page](const std::string& chm, std::string& why) { return startDesktopViewerAt(chm, page, why); }, file,
            &problem);
    };
    services.closeHelpViewers = [] { programHelpViewers().closeAll(); };
    services.viewerVersion = webEngineVersion;
    services.helpViewerVersion = desktopChmViewerVersion;
    return services;
}

HelpCommands::HelpCommands(const CommandContext& context, HelpServices services)
    : QObject(&context.window),
      m_context(context),
      m_services(std::move(services)),
      m_poster(nullptr, [this](const std::function<void()>& task) { m_context.runner.run(task); }),
      m_update(m_poster, *this, {m_services.versionFileUrl, m_services.homePage, m_services.dataFolder, DOXEL_VERSION})
{
    HelpViewerPort& port = *this;
    m_hook = std::make_unique<THookHelpSystem>(port, m_services.helpFile, std::string(), 0);
    ActionRegistry& actions = context.actions;
    actions.bind({Command::HelpManual}, this, &HelpCommands::openHelpManual);
    actions.bind({Command::ShowHelpVersion}, this, &HelpCommands::showHelpVersion);
    actions.bind({Command::ShowBrowserVersion}, this, &HelpCommands::showBrowserVersion);
    actions.bind({Command::CheckForUpdate}, this, &HelpCommands::checkForUpdate);
    actions.bind({Command::OpenHomepage}, this, &HelpCommands::openHomepage);
    actions.bind({Command::SendEmail}, this, &HelpCommands::sendEmail);
    // No address that nobody answers is ever shown.
    actions.action(Command::CheckForUpdate)->setVisible(!m_services.versionFileUrl.empty());
    actions.action(Command::OpenHomepage)->setVisible(!m_services.homePage.empty());
    actions.action(Command::SendEmail)->setVisible(!m_services.supportEmail.empty());
    qApp->installEventFilter(this);
}

HelpCommands::~HelpCommands()
{
    qApp->removeEventFilter(this);
    m_hook.reset();  // closes the help windows it opened
}

bool HelpCommands::eventFilter(QObject* watched, QEvent* event)
{
    // F1 in a dialog asks the hook for the dialog's page; in the main
    // window it is the Help manual command's key.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr)
            window = QApplication::activeWindow();
        if (window != nullptr && window != &m_context.window) {
            const int context = helpContextOfWindow(window->objectName().toStdString());
            if (context != 0) {
                m_hook->setHelpFile(manualFile());
                m_hook->HelpHook(HELP_CONTEXT, context);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void HelpCommands::openHelpManual()
{
    m_context.runner.run([this] {
        if (!installed()) {
            HHShowError(*this, kHelpNotInstalled);
            return;
        }
        std::string problem;
        if (!m_services.openHelp(manualFile(), kWelcomePage, problem))
            showWarning(problem);
    });
}

void HelpCommands::showHelpVersion()
{
    std::string name;
    std::string version;
    if (m_services.helpViewerVersion) {
        const ComponentVersion viewer = m_services.helpViewerVersion();
        name = viewer.friendlyName;
        version = viewer.text;
    } else {
        const Environment& values = environment();
        name = values.hhFriendlyVerStr;
        version = values.hhVerStr;
    }
    // The viewer is a program of this desktop, not Windows' HTML Help.
    if (name.empty())
        plainMessage(fixedText(65316));  // no help viewer is installed
    else
        plainMessage("Help viewer: " + name + (version.empty() ? std::string() : " (" + version + ")"));
}

void HelpCommands::showBrowserVersion()
{
    if (m_services.viewerVersion) {
        const ComponentVersion viewer = m_services.viewerVersion();
        plainMessage(viewer.friendlyName + " (" + viewer.text + ")");
        return;
    }
    const Environment& values = environment();
    plainMessage(values.ieFriendlyVerStr + " (" + values.ieVerStr + ")");
}

void HelpCommands::checkForUpdate()
{
    m_context.runner.run([this] { m_update.checkForUpdate(); });
}

void HelpCommands::openHomepage()
{
    if (!m_services.homePage.empty())
        shellOpen(m_context.desktop, m_services.homePage);
}

void HelpCommands::sendEmail()
{
    if (!m_services.supportEmail.empty())
        shellOpen(m_context.desktop, "mailto:" + m_services.supportEmail);
}

bool HelpCommands::installed() const
{
    return environment().hhInstalled;
}

void HelpCommands::showContext(const std::string& path, int context)
{
    std::string problem;
    if (!m_services.openHelp(helpFileOfPath(path), helpContextPage(context), problem))
        showWarning(problem);
}

void HelpCommands::closeAll()
{
    if (m_services.closeHelpViewers)
        m_services.closeHelpViewers();
}

bool HelpCommands::windowsProgramExists(const std::string&) const
{
    return false;  // this platform has no Windows folder
}

int HelpCommands::runWithShell(const std::string& file, const std::string& parameters)
{
    return startDetachedProgram(file, parameters);
}

void HelpCommands::showWarning(const std::string& message)
{
    showMessage(m_context.desktop, message, kProgramName, MessageButtons::Ok, MessageIcon::Warning);
}

std::string HelpCommands::text(int id) const
{
    return fixedText(id);
}

void HelpCommands::showLatestVersion()
{
    plainMessage(loadText(m_context.settings, text_id::kLatestVersion));
}

bool HelpCommands::askGoToDownloadPage(bool haveHomePage)
{
    const std::string question = loadText(m_context.settings, text_id::kNewVersionAvailable);
    if (!haveHomePage) {
        // Without a page to go to, only the news.
        plainMessage(question.substr(0, question.find('\n')));
        return false;
    }
    return showMessage(m_context.desktop, question, kUpdateCaption, MessageButtons::YesNo, MessageIcon::Question) ==
           MessageAnswer::Yes;
}

void HelpCommands::showUpdateError()
{
    plainMessage(loadText(m_context.settings, text_id::kUpdateError));
}

void HelpCommands::openAddress(const std::string& address)
{
    shellOpen(m_context.desktop, address);
}

std::string HelpCommands::manualFile()
{
    // Read at every request: a language switch needs no restart, so the
    // next F1 already speaks the new language. A store that refuses to be
    // read still gets help, in English.
    std::string language;
    try {
        language = chosenLanguage(m_context.settings).code;
    } catch (const SettingsError&) {
    }
    return manualFileForLanguage(m_services.helpFile, language, [](const std::string& file) {
        std::error_code error;
        return std::filesystem::is_regular_file(file, error);
    });
}

void HelpCommands::plainMessage(const std::string& message)
{
    showMessage(m_context.desktop, message, kProgramName, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace doxel
