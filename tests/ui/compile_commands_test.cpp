// The compile commands of the main window with a scripted desktop: Compile
// on a copy of the sample through the results window with the real chmcmd,
// the compiler missing, an untitled project, View Help file and View Log
// File with their enabling, and the help viewers the program started. The
// desktop's help viewer and text editor are stand-ins set up in a private
// XDG environment, so no real viewer is started and none is left running.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/help_viewers.h"
#include "platform/text_editor.h"
#include "qt_test_support.h"
#include "ui/compile/compile_commands.h"
#include "ui/compile/compile_form.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/kit/qt_text.h"
#include "ui/logic/string_table.h"

namespace doxel {

using test::WindowFixture;
namespace fs = std::filesystem;

namespace {

// What the results window showed when its run was over.
struct ResultsSeen {
    int windows = 0;
    QString memo;
    QColor memoColor;
    QString status;
    QString page;
    QStringList summary;
    bool chmButton = false;
    bool logButton = false;
    bool closeButton = false;
    // The program's help viewers while the compiler ran.
    std::vector<pid_t> viewersDuringCompile;
};

// Runs `action` of the main window; the results window it opens is read
// once its compile is over and then closed with its close button.
ResultsSeen compileThroughWindow(WindowFixture& f, const char* action = "Compile1")
{
    ResultsSeen seen;
    const std::size_t before = f.dialogs.shown.size();
    f.dialogs.answer<TCompileForm>([&seen](TCompileForm& form) {
        QObject::connect(&form, &TCompileForm::keptAlive, &form,
                         [&seen] { seen.viewersDuringCompile = programHelpViewers().running(); });
        bool finished = false;
        QObject::connect(&form, &TCompileForm::runFinished, &form, [&finished] { finished = true; });
        // The compile starts once the shown window is back in the event loop.
        QVERIFY(QTest::qWaitFor([&finished] { return finished; }, 120000));
        seen.memo = form.memo()->toPlainText();
        seen.memoColor = form.memo()->palette().color(QPalette::Active, QPalette::Text);
        seen.status = form.status()->currentMessage();
        seen.page = form.pageControl()->currentWidget()->objectName();
        for (int row = 0; row < form.infoView()->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = form.infoView()->topLevelItem(row);
            seen.summary << item->text(0) + QLatin1Char('=') + item->text(1);
        }
        seen.chmButton = form.launchCHMButton()->isEnabled();
        seen.logButton = form.launchLogButton()->isEnabled();
        seen.closeButton = form.closeButton()->isEnabled();
        form.closeButton()->click();
    });
    f.action(action)->trigger();
    seen.windows = int(f.dialogs.shown.size() - before);
    // A step not taken (no window opened) is not left for the next run.
    if (seen.windows == 0)
        f.dialogs = test::ScriptedDialogs();
    return seen;
}

bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0;
}

bool exists(const std::string& path)
{
    return fs::exists(path);
}

std::vector<std::string> lines(const std::string& path)
{
    std::vector<std::string> result;
    const std::string text = exists(path) ? test::readFile(path) : std::string();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        result.push_back(text.substr(start, end - start));
    return result;
}

const QStringList kSampleCounts = {"Warnings=0",     "Errors=0",         "Topics=14",
                                   "Local Links=29", "Internet Links=1", "Graphics=4"};

}  // namespace

class CompileCommandsTest : public QObject {
    Q_OBJECT

private:
    // The private desktop: a help viewer that writes down the file it was
    // given and then waits, and a text editor that is never really started
    // (the scripted desktop records it).
    std::unique_ptr<test::TempDir> m_desktop;
    std::string m_viewerRecord;
    std::string m_editor;

private slots:
    void initTestCase()
    {
        m_desktop = std::make_unique<test::TempDir>();
        m_viewerRecord = m_desktop->file("viewer-files.txt");
        const std::string viewer = m_desktop->file("bin/test-viewer");
        test::writeFile(viewer, "#!/bin/sh\necho \"$1\" >> '" + m_viewerRecord + "'\nexec sleep 30\n");
        fs::permissions(viewer, fs::perms::owner_all);
        test::writeFile(m_desktop->file("data/applications/doxel-test-viewer.desktop"),
                        "[Desktop Entry]\nType=Application\nName=Test viewer\nExec=" + viewer +
                            " %f\nMimeType=application/vnd.ms-htmlhelp;\n");
        // GIO lists only applications whose program exists.
        m_editor = m_desktop->file("bin/test-editor");
        test::writeFile(m_editor, "#!/bin/sh\nexit 0\n");
        fs::permissions(m_editor, fs::perms::owner_all);
        test::writeFile(m_desktop->file("data/applications/doxel-test-editor.desktop"),
                        "[Desktop Entry]\nType=Application\nName=Test editor\nExec=" + m_editor +
                            " --new-window %U\nMimeType=text/plain;\n");
        test::writeFile(m_desktop->file("config/mimeapps.list"),
                        "[Default Applications]\napplication/vnd.ms-htmlhelp=doxel-test-viewer.desktop\n"
                        "text/plain=doxel-test-editor.desktop\n");
        ::setenv("XDG_DATA_HOME", m_desktop->file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", m_desktop->file("config").c_str(), 1);
        ::setenv("GIO_USE_VFS", "local", 1);
        ::unsetenv("DOXEL_CHMCMD");
    }

    void cleanupTestCase()
    {
        programHelpViewers().closeAll();
        m_desktop.reset();
    }

    void compilesTheSampleShowsTheResultsAndOpensTheHelpFile()
    {
        WindowFixture f;
        f.settings.write("LaunchHelp", "1");
        f.settings.write("ViewLog", "1");
        TMainForm& form = f.create(f.sample());
        const std::string base = f.folder.file("sample/sample");
        const std::string logFile = f.settings.read("LogFile");

        ResultsSeen seen = compileThroughWindow(f, "CompileButton");
        QCOMPARE(seen.windows, 1);
        QCOMPARE(seen.summary, kSampleCounts);
        QVERIFY2(seen.memo.contains(QStringLiteral("sample.chm")), qPrintable(seen.memo));
        QCOMPARE(seen.memoColor, QColor(0x00, 0x80, 0x80));
        QCOMPARE(seen.status, QStringLiteral("OK."));
        QCOMPARE(seen.page, QStringLiteral("Summary"));
        QVERIFY(seen.chmButton && seen.logButton && seen.closeButton);
        QCOMPARE(form.project().compiledFile, base + ".chm");
        QVERIFY(exists(base + ".chm"));
        QVERIFY(exists(logFile));
        for (const char* input : {".hhp", ".hhc", ".hhk"})
            QVERIFY2(!exists(base + input), input);

        // LaunchHelp: the help file in the desktop's viewer, through the
        // program's list of viewers.
        QTRY_COMPARE(lines(m_viewerRecord), std::vector<std::string>{base + ".chm"});
        const std::vector<pid_t> first = programHelpViewers().running();
        QCOMPARE(first.size(), std::size_t{1});
        // ViewLog: the log in the desktop's text editor.
        QCOMPARE(f.desktop.programs.size(), std::size_t{1});
        QCOMPARE(f.desktop.programs[0].program, m_editor);
        QCOMPARE(f.desktop.programs[0].arguments, (std::vector<std::string>{"--new-window", logFile}));

        // Compiling again ends the viewer of this help file first, so the
        // compiler can replace the file, and opens a new one after.
        seen = compileThroughWindow(f);
        QCOMPARE(seen.summary, kSampleCounts);
        QVERIFY(seen.viewersDuringCompile.empty());
        QVERIFY(!isRunning(first[0]));
        QTRY_COMPARE(lines(m_viewerRecord).size(), std::size_t{2});
        const std::vector<pid_t> second = programHelpViewers().running();
        QCOMPARE(second.size(), std::size_t{1});

        // The main window goes: so do the viewers the program started.
        f.form.reset();
        QVERIFY(programHelpViewers().running().empty());
        QVERIFY(!isRunning(second[0]));
        QVERIFY(f.desktop.finished());
        fs::remove(m_viewerRecord);
    }

    void showsTheFailureWhenTheCompilerIsMissing()
    {
        WindowFixture f;
        f.settings.write("LaunchHelp", "1");
        f.settings.write("Compiler", "chmcmd");
        ::setenv("DOXEL_CHMCMD", "/nonexistent", 1);
        f.create(f.sample());

        const ResultsSeen seen = compileThroughWindow(f);
        ::unsetenv("DOXEL_CHMCMD");
        QCOMPARE(seen.windows, 1);
        QVERIFY2(seen.memo.endsWith(localText(f.settings, 230)), qPrintable(seen.memo));
        QVERIFY2(seen.memo.startsWith(QStringLiteral("The help compiler /nonexistent was not found")),
                 qPrintable(seen.memo));
        QCOMPARE(seen.memoColor, QColor(0xff, 0x00, 0x00));
        QCOMPARE(seen.page, QStringLiteral("CompMsg"));
        QVERIFY(seen.summary.isEmpty());
        QVERIFY(!seen.chmButton && !seen.logButton && seen.closeButton);
        // The input files stay for a later try; nothing was opened.
        for (const char* input : {".hhp", ".hhc", ".hhk"})
            QVERIFY2(exists(f.folder.file("sample/sample") + input), input);
        QVERIFY(!exists(f.folder.file("sample/sample.chm")));
        QVERIFY(programHelpViewers().running().empty());
        QVERIFY(f.desktop.finished());
    }

    void compilesAnUntitledProjectOnlyOnceSaved_data()
    {
        QTest::addColumn<bool>("withEntry");
        QTest::addColumn<bool>("saveChosen");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("windows");
        QTest::newRow("only the title entry") << false << false << 0 << 0;
        QTest::newRow("save as cancelled") << true << false << 1 << 0;
        QTest::newRow("saved") << true << true << 1 << 1;
    }

    void compilesAnUntitledProjectOnlyOnceSaved()
    {
        QFETCH(bool, withEntry);
        QFETCH(bool, saveChosen);
        QFETCH(int, dialogs);
        QFETCH(int, windows);

        WindowFixture f;
        TMainForm& form = f.create();
        if (withEntry) {
            // The editor adds nothing to an untitled project; a project
            // read elsewhere may hold entries without a file name.
            form.contentsModel().beginProjectChange();
            form.project().root().appendChild(
                std::make_unique<ContentsEntry>("Welcome", 11, f.folder.file("sample/welcome.htm")));
            form.contentsModel().endProjectChange();
        }
        const std::string chosen = f.folder.file("sample/untitled.dxp");
        if (dialogs > 0)
            f.desktop.answerFile(saveChosen ? std::optional<std::string>(chosen) : std::nullopt);

        const ResultsSeen seen = compileThroughWindow(f);
        QCOMPARE(int(f.desktop.fileDialogs.size()), dialogs);
        QCOMPARE(seen.windows, windows);
        QCOMPARE(exists(chosen), saveChosen);
        QCOMPARE(exists(f.folder.file("sample/untitled.chm")), saveChosen);
        for (const fs::directory_entry& entry : fs::directory_iterator(f.folder.file("sample"))) {
            const std::string extension = entry.path().extension().string();
            QVERIFY2(extension != ".hhp" && extension != ".hhc" && extension != ".hhk", entry.path().c_str());
        }
        if (saveChosen) {
            QCOMPARE(seen.summary.size(), 6);
            QCOMPARE(seen.summary.at(1), QStringLiteral("Errors=0"));
        }
        QVERIFY(f.desktop.finished());
    }

    void commandsMenuEnablesWhatCanBeDone()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        QMenu* commands = f.menu("Commands1");
        const auto states = [&] {
            emit commands->aboutToShow();
            QString state;
            for (const char* name : {"Compile1", "CompileButton", "Launchcompiledfile1", "Viewlogfile1"})
                state += f.action(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return state;
        };
        QCOMPARE(states(), QStringLiteral("0000"));

        // Compile follows the contents without the menu being opened, so
        // that F9 works as soon as there is something to compile.
        form.project().projectFile = f.folder.file("sample/untitled.dxp");
        f.action("NewHeaderButton")->trigger();
        QVERIFY(f.action("Compile1")->isEnabled());
        form.contentsPage()->tree()->commitEditing();
        f.action("DeleteButton")->trigger();
        QVERIFY(!f.action("Compile1")->isEnabled());

        form.project().modified = false;
        f.desktop.answerFile(f.sample());
        f.action("OpenProject1")->trigger();
        QVERIFY(f.action("Compile1")->isEnabled());
        // An earlier help file does not count before this run compiled one.
        test::writeFile(f.folder.file("sample/sample.chm"), "ITSF old");
        QCOMPARE(states(), QStringLiteral("1100"));

        const ResultsSeen seen = compileThroughWindow(f);
        QCOMPARE(seen.summary, kSampleCounts);
        QCOMPARE(states(), QStringLiteral("1111"));
        fs::remove(form.project().compiledFile);
        fs::remove(f.settings.read("LogFile"));
        QCOMPARE(states(), QStringLiteral("1100"));
        QVERIFY(f.desktop.finished());
    }

    void viewCommandsActOnlyOnFilesThatExist()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        auto* commands = form.findChild<CompileCommands*>();

        // Before any compile the help file has no name; then it is removed.
        commands->viewHelpFile();
        QCOMPARE(f.desktop.beeps, 1);
        compileThroughWindow(f);
        fs::remove(form.project().compiledFile);
        commands->viewHelpFile();
        QCOMPARE(f.desktop.beeps, 2);
        QVERIFY(programHelpViewers().running().empty());

        const std::string logFile = f.settings.read("LogFile");
        fs::remove(logFile);
        commands->viewLogFile();
        QCOMPARE(commands->controller().currentLogFile(), logFile);
        QVERIFY(f.desktop.programs.empty());

        const std::string otherLog = f.folder.file("other log.txt");
        test::writeFile(otherLog, "log");
        f.settings.write("LogFile", otherLog);
        emit f.menu("Commands1")->aboutToShow();
        f.action("Viewlogfile1")->trigger();
        QCOMPARE(f.desktop.programs.size(), std::size_t{1});
        QCOMPARE(f.desktop.programs[0].program, m_editor);
        QCOMPARE(f.desktop.programs[0].arguments.back(), otherLog);
        QVERIFY(f.desktop.finished());
    }

    void showsTheLogItselfWithoutATextEditor()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        const std::string log = f.folder.file("my log.txt");
        test::writeFile(log, "Compiling\nError: page.htm missing\n");
        f.settings.write("LogFile", log);
        // The desktop has no editor that opens a window (only vim).
        std::vector<std::string> asked;
        CompileCommands commands(form.context(), form.contentsModel(), nullptr,
                                 [&asked](Desktop&, const std::string& file) {
                                     asked.push_back(file);
                                     return false;
                                 });
        commands.viewLogFile();
        QCOMPARE(asked, std::vector<std::string>{log});
        auto* view = form.findChild<QDialog*>(QStringLiteral("LogView"));
        QVERIFY(view != nullptr);
        QVERIFY(view->isVisible());
        auto* text = view->findChild<QPlainTextEdit*>(QStringLiteral("LogText"));
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->toPlainText(), QStringLiteral("Compiling\nError: page.htm missing\n"));
        view->close();
        QVERIFY(f.desktop.finished());
    }

    void expandsTheEditorsCommandLine_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("command");
        const QString file = QStringLiteral("/tmp/my log.txt");
        QTest::newRow("file code") << QStringList{"gedit", "--new-window", "%U"}
                                   << QStringList{"gedit", "--new-window", file};
        QTest::newRow("no file code") << QStringList{"mousepad"} << QStringList{"mousepad", file};
        QTest::newRow("code inside a word")
            << QStringList{"editor", "--file=%f"} << QStringList{"editor", "--file=" + file};
        QTest::newRow("icon, name and entry codes go with their word")
            << QStringList{"kate", "%i", "-caption", "%c", "%k", "-b", "%F"}
            << QStringList{"kate", "-caption", "-b", file};
        QTest::newRow("percent sign and deprecated codes")
            << QStringList{"ed", "100%%", "%d", "%u"} << QStringList{"ed", "100%", file};
    }

    void expandsTheEditorsCommandLine()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, command);
        std::vector<std::string> in;
        for (const QString& word : words)
            in.push_back(toStdString(word));
        QStringList out;
        for (const std::string& word : expandExecWords(in, "/tmp/my log.txt"))
            out << toQString(word);
        QCOMPARE(out, command);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::CompileCommandsTest)
#include "compile_commands_test.moc"
