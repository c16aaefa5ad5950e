// The Help menu's commands on a scripted desktop: the manual opened at its
// welcome page, F1 in a dialog opening the dialog's page, the two version
// messages, the Internet items hidden without their addresses, and the
// update check against a server on 127.0.0.1 with the window kept alive.
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include "env/environment.h"
#include "local_http_server.h"
#include "qt_test_support.h"
#include "ui/help/help_commands.h"

namespace doxel {
namespace {

using test::WindowFixture;

struct Opened {
    std::string file;
    std::string page;
};

// Waits until the update check's download has ended and its answer shown.
bool waitForTheCheck(HelpCommands& help)
{
    return QTest::qWaitFor([&help] { return !help.updateCheck().CheckUpdate().downloading(); }, 20000);
}

class HelpCommandsTest : public QObject {
    Q_OBJECT

    // Help commands over the fixture's window, with a recording viewer.
    std::unique_ptr<HelpCommands> make(WindowFixture& f, HelpServices services = {})
    {
        if (services.helpFile.empty())
            services.helpFile = "/opt/doxel/doxel.chm";
        services.dataFolder = f.folder.path().string();
        services.openHelp = [this](const std::string& file, const std::string& page, std::string& problem) {
            m_opened.push_back({file, page});
            problem = "no viewer";
            return m_viewerStarts;
        };
        services.closeHelpViewers = [this] { ++m_closed; };
        return std::make_unique<HelpCommands>(f.form->context(), services);
    }

    void installed(bool viewer)
    {
        Environment values;
        if (viewer) {
            values.hhVerStr = "7.7.0.0";
            values.hhFriendlyVerStr = "KchmViewer 7.7";
            values.hhInstalled = true;
            values.ieVerStr = "102.0.5005.177";
            values.ieFriendlyVerStr = "Qt WebEngine 6.4.2";
            values.ieInstalled = true;
        }
        setEnvironment(values);
    }

    std::vector<Opened> m_opened;
    bool m_viewerStarts = true;
    int m_closed = 0;

private slots:
    void init()
    {
        m_opened.clear();
        m_viewerStarts = true;
        m_closed = 0;
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(name);
    }
    void cleanup() { setEnvironment({}); }

    void helpManualOpensTheWelcomePage()
    {
        WindowFixture f;
        f.create();
        installed(true);
        auto help = make(f);
        help->openHelpManual();
        QCOMPARE(m_opened.size(), std::size_t(1));
        QCOMPARE(m_opened[0].file, std::string("/opt/doxel/doxel.chm"));
        QCOMPARE(m_opened[0].page, std::string("welcome.htm"));
        QVERIFY(f.desktop.messages.empty());

        m_viewerStarts = false;
        f.desktop.answerMessage(MessageAnswer::Ok);
        help->openHelpManual();
        QCOMPARE(f.desktop.messages.back().text, std::string("no viewer"));
        QCOMPARE(f.desktop.messages.back().icon, MessageIcon::Warning);

        help.reset();
        QCOMPARE(m_closed, 1);  // the hook closes the viewers it opened
        QVERIFY(f.desktop.finished());
    }

    void withoutAViewerHelpSaysSo()
    {
        WindowFixture f;
        f.create();
        installed(false);
        auto help = make(f);
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.desktop.answerMessage(MessageAnswer::Ok);
        help->openHelpManual();
        help->hook().HelpHook(HELP_CONTEXT, 1040);
        QVERIFY(m_opened.empty());
        QCOMPARE(f.desktop.messages.size(), std::size_t(2));
        for (const MessageRequest& message : f.desktop.messages) {
            QCOMPARE(message.text,
                     std::string("No help viewer for .chm files is installed (kchmviewer, for example)."));
            QCOMPARE(message.caption, std::string("HTML Doxel"));
        }
        QVERIFY(f.desktop.finished());
    }

    void f1InADialogOpensItsPage()
    {
        WindowFixture f;
        f.create();
        installed(true);
        auto help = make(f);
        QDialog dialog(f.form.get());
        dialog.setObjectName(QStringLiteral("TPreferences"));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_opened.size(), std::size_t(1));
        QCOMPARE(m_opened[0].page, std::string("settings.htm"));

        dialog.setObjectName(QStringLiteral("TNoPageForThis"));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_opened.size(), std::size_t(1));
    }

    // The manual follows the window's language at every request, the
    // English one standing in for a language whose manual is missing.
    void helpSpeaksTheWindowsLanguage()
    {
        WindowFixture f;
        f.create();
        installed(true);
        const std::string english = (f.folder.path() / "doxel.chm").string();
        const std::string german = (f.folder.path() / "doxel-de.chm").string();
        test::writeFile(english, "ITSF");
        test::writeFile(german, "ITSF");
        HelpServices services;
        services.helpFile = english;
        auto help = make(f, services);
        QDialog dialog(f.form.get());
        dialog.setObjectName(QStringLiteral("TPreferences"));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        struct Case {
            const char* language;
            std::string file;
        };
        const Case cases[] = {{"1000", german}, {"4000", english}, {"0", english}, {"1000", german}};
        for (const Case& c : cases) {
            Settings(f.settings).setText(setting::kLanguage, c.language);
            m_opened.clear();
            QTest::keyClick(&dialog, Qt::Key_F1);
            help->openHelpManual();
            QCOMPARE(m_opened.size(), std::size_t(2));
            QCOMPARE(m_opened[0].file, c.file);
            QCOMPARE(m_opened[0].page, std::string("settings.htm"));
            QCOMPARE(m_opened[1].file, c.file);
        }
    }

    void versionMessages()
    {
        WindowFixture f;
        f.create();
        auto help = make(f);
        struct Case {
            bool installed;
            void (HelpCommands::*command)();
            const char* text;
        };
        const Case cases[] = {
            {true, &HelpCommands::showHelpVersion, "Help viewer: KchmViewer 7.7 (7.7.0.0)"},
            {false, &HelpCommands::showHelpVersion,
             "No help viewer for .chm files is installed (kchmviewer, for example)."},
            {true, &HelpCommands::showBrowserVersion, "Qt WebEngine 6.4.2 (102.0.5005.177)"},
            {false, &HelpCommands::showBrowserVersion, " ()"},
        };
        for (const Case& c : cases) {
            installed(c.installed);
            f.desktop.answerMessage(MessageAnswer::Ok);
            (help.get()->*c.command)();
            const MessageRequest& message = f.desktop.messages.back();
            QCOMPARE(message.text, std::string(c.text));
            QCOMPARE(message.caption, std::string("HTML Doxel"));
            QCOMPARE(message.icon, MessageIcon::None);
            QCOMPARE(message.buttons, MessageButtons::Ok);
        }
        QVERIFY(f.desktop.finished());
    }

    void theViewerVersionIsAskedWhenTheAuthorAsks()
    {
        WindowFixture f;
        f.create();
        HelpServices services;
        int asked = 0;
        services.viewerVersion = [&asked] {
            ++asked;
            return ComponentVersion{"108.0.5359.220", "Qt WebEngine 6.4.2"};
        };
        auto help = make(f, services);
        QCOMPARE(asked, 0);
        f.desktop.answerMessage(MessageAnswer::Ok);
        help->showBrowserVersion();
        QCOMPARE(asked, 1);
        QCOMPARE(f.desktop.messages.back().text, std::string("Qt WebEngine 6.4.2 (108.0.5359.220)"));
        QVERIFY(f.desktop.finished());
    }

    void internetItemsFollowTheirAddresses()
    {
        WindowFixture f;
        f.create();
        auto none = make(f);
        for (const Command command : {Command::CheckForUpdate, Command::OpenHomepage, Command::SendEmail})
            QVERIFY(!f.action(command)->isVisible());
        none.reset();

        HelpServices services;
        services.versionFileUrl = "127.0.0.1:1/doxel.ver";
        services.homePage = "https://doxel.example/";
        services.supportEmail = "support@doxel.example";
        auto all = make(f, services);
        for (const Command command : {Command::CheckForUpdate, Command::OpenHomepage, Command::SendEmail})
            QVERIFY(f.action(command)->isVisible());
        all->openHomepage();
        all->sendEmail();
        QCOMPARE(f.desktop.openedDocuments,
                 (std::vector<std::string>{"https://doxel.example/", "mailto:support@doxel.example"}));
    }

    void updateCheckAnswersAndKeepsTheWindowAlive()
    {
        WindowFixture f;
        f.create();
        test::HttpReply slowCurrent = test::okReply("1.1\r\n");
        slowCurrent.pause = std::chrono::milliseconds(300);
        slowCurrent.pieceSize = 2;
        test::LocalHttpServer server({slowCurrent, test::okReply("1.2\r\n"), test::okReply("<html>")});
        HelpServices services;
        services.versionFileUrl = server.address("/doxel.ver");
        services.homePage = "https://doxel.example/";
        auto help = make(f, services);

        bool timerRan = false;
        QTimer::singleShot(50, [&] { timerRan = true; });
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action(Command::CheckForUpdate)->trigger();
        // The command returned at once; the window handles its events while
        // the download runs, and the answer comes when it ends.
        QVERIFY(help->updateCheck().CheckUpdate().downloading());
        QVERIFY(waitForTheCheck(*help));
        QVERIFY(timerRan);
        QCOMPARE(f.desktop.messages.back().text, std::string("You have the latest version of HTML Doxel."));
        QVERIFY(!std::filesystem::exists(f.folder.path() / "temp.txt"));

        f.desktop.answerMessage(MessageAnswer::Yes);
        help->checkForUpdate();
        QVERIFY(waitForTheCheck(*help));
        QCOMPARE(f.desktop.messages.back().caption, std::string("HTML Doxel Update"));
        QCOMPARE(f.desktop.messages.back().buttons, MessageButtons::YesNo);
        QCOMPARE(f.desktop.openedDocuments, std::vector<std::string>{"https://doxel.example/"});

        f.desktop.answerMessage(MessageAnswer::Ok);
        help->checkForUpdate();
        QVERIFY(waitForTheCheck(*help));
        QCOMPARE(f.desktop.messages.back().text,
                 std::string("An error ocurred. Please check your online connection..."));
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace
}  // namespace doxel

QTEST_MAIN(doxel::HelpCommandsTest)
#include "help_commands_test.moc"
