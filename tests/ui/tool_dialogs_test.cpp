// The content tools' windows with a scripted desktop: opened from the Tools
// menu and the tool bar's drop-down as fresh dialogs, the wizard's steps and
// run, the search and replace run, and failures that lose nothing.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "qt_test_support.h"
#include "ui/logic/command_runner.h"
#include "ui/tools/search_replace_dialog.h"
#include "ui/tools/txt2html_wizard.h"

namespace doxel {

using test::WindowFixture;
namespace fs = std::filesystem;

namespace {

template <class T>
T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no control %s", name);
    return found;
}

void click(QObject& dialog, const char* name)
{
    child<QAbstractButton>(dialog, name)->click();
}

QStringList listed(QObject& dialog, const char* view)
{
    QStringList paths;
    auto* list = child<QTreeWidget>(dialog, view);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        paths << list->topLevelItem(i)->text(0);
    return paths;
}

// A dialog on its own, with the desktop and runner a command gives it.
struct ToolRig {
    test::TempDir dir;
    MemorySettingsStore settings;
    test::ScriptedDesktop desktop;
    CommandRunner runner{desktop};

    std::string file(const char* name) const { return dir.file(name); }
    QString folderEntry(const char* name) const { return QString::fromStdString(dir.file(name)); }
};

}  // namespace

class ToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void menuAndDropDownOpenFreshDialogs()
    {
        WindowFixture f;
        f.create();
        QVERIFY(f.action(Command::WizardsButton)->isEnabled());
        for (Command command : {Command::TxtToHtmlWizard, Command::WizardsTxtToHtml}) {
            f.dialogs.answer<TTXT2HTML>([](TTXT2HTML& wizard) {
                QCOMPARE(wizard.windowTitle(), QStringLiteral("TXT to HTML Wizard"));
                QCOMPARE(wizard.step(), 0);
                QVERIFY(!child<QPushButton>(wizard, "BackButton")->isEnabled());
                QCOMPARE(child<QPushButton>(wizard, "Next")->text(), QStringLiteral("&Next >"));
                QCOMPARE(child<QTreeWidget>(wizard, "View")->topLevelItemCount(), 0);
                click(wizard, "CloseButton");
            });
            QVERIFY(f.action(command)->isEnabled());
            f.action(command)->trigger();
        }
        for (Command command : {Command::SearchAndReplace, Command::WizardsSearchAndReplace}) {
            f.dialogs.answer<TSearchReplace>([](TSearchReplace& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Replace Wizard"));
                QCOMPARE(dialog.replaceOptions().strings.search, std::string());
                QVERIFY(dialog.replaceOptions().strings.ignoreCase);
                QVERIFY(dialog.replaceOptions().backup);
                click(dialog, "Button1");
            });
            f.action(command)->trigger();
        }
        QVERIFY(f.dialogs.finished());
        QVERIFY(!f.form->isWindowModified());
    }

    // The folder choosers open at the project's folder, then at the folder
    // chosen last in either tool; "Include subfolders" lists every level.
    void folderChoosersStartAtTheProjectAndTakeSubfolders()
    {
        WindowFixture f;
        f.create(f.sample());
        const std::string projectFolder = (f.folder.path() / "sample").string();
        const fs::path texts = f.folder.path() / "texts";
        test::writeFile(texts / "a.txt", "a");
        test::writeFile(texts / "sub" / "b.txt", "b");
        test::writeFile(texts / "sub" / "c.htm", "c");

        f.dialogs.answer<TTXT2HTML>([&](TTXT2HTML& wizard) {
            f.desktop.answerFolder(texts.string());
            child<QCheckBox>(wizard, "IncludeSubfolders")->setChecked(true);
            QCOMPARE(child<QCheckBox>(wizard, "IncludeSubfolders")->text(), QStringLiteral("Include subfolders"));
            click(wizard, "OpenDirButton");
            QCOMPARE(listed(wizard, "View"), (QStringList{QString::fromStdString((texts / "a.txt").string()),
                                                          QString::fromStdString((texts / "sub" / "b.txt").string())}));
            click(wizard, "CloseButton");
        });
        f.action(Command::TxtToHtmlWizard)->trigger();
        f.dialogs.answer<TSearchReplace>([&](TSearchReplace& dialog) {
            f.desktop.answerFolder(texts.string());
            click(dialog, "OpenButton");
            QCOMPARE(listed(dialog, "view").size(), 1);  // the box starts unticked
            click(dialog, "Button1");
        });
        f.action(Command::SearchAndReplace)->trigger();
        QCOMPARE(f.desktop.folderStarts, (std::vector<std::string>{projectFolder, texts.string()}));
        QVERIFY(f.dialogs.finished());
    }

    void wizardStepsListsAndConverts()
    {
        ToolRig rig;
        test::writeFile(rig.dir.path() / "Welcome.txt", "Hello\r\n\r\n");
        test::writeFile(rig.dir.path() / "b.TXT", "<B>b</B>");
        test::writeFile(rig.dir.path() / "skip.htm", "");
        TTXT2HTML wizard(rig.settings, rig.desktop, rig.runner);

        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(wizard, "Next");  // nothing listed
        QCOMPARE(wizard.step(), 0);
        QCOMPARE(rig.desktop.messages.back().text,
                 std::string("Please specify the plain text (TXT) files\n\rthat you would like to convert to HTML."));

        rig.desktop.answerFolder(rig.dir.path().string());
        click(wizard, "OpenDirButton");
        QCOMPARE(listed(wizard, "View"), (QStringList{rig.folderEntry("Welcome.txt"), rig.folderEntry("b.TXT")}));
        rig.desktop.answerFolder(rig.dir.path().string());
        rig.desktop.answerMessage(MessageAnswer::No);  // keep the list: every file twice
        click(wizard, "OpenDirButton");
        QCOMPARE(listed(wizard, "View").size(), 4);
        QCOMPARE(rig.desktop.messages.back().caption, std::string("Clear file list"));
        rig.desktop.answerFolder(std::nullopt);  // cancelled: nothing changes
        click(wizard, "OpenDirButton");
        QCOMPARE(listed(wizard, "View").size(), 4);

        click(wizard, "SelNone");
        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(wizard, "Next");
        QCOMPARE(wizard.step(), 0);
        click(wizard, "SelAll");
        child<QTreeWidget>(wizard, "View")->topLevelItem(3)->setCheckState(0, Qt::Unchecked);
        click(wizard, "Next");
        QCOMPARE(wizard.step(), 1);
        QVERIFY(child<QPushButton>(wizard, "BackButton")->isEnabled());

        rig.desktop.answerColor(0x0080C0);
        click(wizard, "BackGr");
        QCOMPARE(child<QLineEdit>(wizard, "BackGrEdit")->text(), QStringLiteral("#0080C0"));
        QCOMPARE(child<QFrame>(wizard, "c1")->palette().color(QPalette::Window), QColor(0x00, 0x80, 0xC0));
        child<QLineEdit>(wizard, "TextClEdit")->setText(QStringLiteral("#112233"));
        // Typing does not change the swatch.
        QCOMPARE(child<QFrame>(wizard, "c2")->palette().color(QPalette::Window), QColor(Qt::black));
        click(wizard, "UseTitle2");
        QVERIFY(child<QLineEdit>(wizard, "TitleEdit")->isEnabled());
        click(wizard, "UseTitle1");
        QVERIFY(!child<QLineEdit>(wizard, "TitleEdit")->isEnabled());
        child<QSpinBox>(wizard, "FontSize")->setValue(4);

        click(wizard, "Next");
        QCOMPARE(wizard.step(), 2);
        QCOMPARE(child<QPushButton>(wizard, "Next")->text(), QStringLiteral("&Finish"));
        click(wizard, "BackButton");
        QCOMPARE(child<QPushButton>(wizard, "Next")->text(), QStringLiteral("&Next >"));
        click(wizard, "Next");
        click(wizard, "CSSBox");
        QVERIFY(child<QLineEdit>(wizard, "CSSEdit")->isEnabled());
        child<QLineEdit>(wizard, "CSSEdit")->setText(QStringLiteral("help.css"));

        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(wizard, "Next");
        QCOMPARE(rig.desktop.messages.back().text, std::string("Number of files processed: 3"));
        QCOMPARE(rig.desktop.messages.back().caption, std::string("TXT to HTML Wizard"));
        QCOMPARE(rig.desktop.messages.back().icon, MessageIcon::Information);
        QCOMPARE(wizard.step(), 2);
        QCOMPARE(child<QProgressBar>(wizard, "Progress")->value(), 0);
        const std::string page = test::readFile(rig.dir.path() / "Welcome.htm");
        QVERIFY(page.find("<TITLE>Welcome</TITLE>\r\n<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"help.css\">") !=
                std::string::npos);
        QVERIFY(page.find("<BODY BGCOLOR=\"#0080C0\" TEXT=\"#112233\">\r\n<FONT FACE=\"Verdana\" "
                          "SIZE=4>\r\nHello<BR>\r\n<BR>\r\n</FONT>") != std::string::npos);
        QVERIFY(test::readFile(rig.dir.path() / "b.htm").find("<B>b</B><BR>") != std::string::npos);
        QVERIFY(rig.desktop.finished());
    }

    void wizardStopsAtAPageThatCannotBeWritten()
    {
        ToolRig rig;
        test::writeFile(rig.dir.path() / "a.txt", "a");
        test::writeFile(rig.dir.path() / "b.txt", "b");
        test::writeFile(rig.dir.path() / "c.txt", "c");
        test::writeFile(rig.dir.path() / "b.htm", "the author's page");
        ::chmod(rig.file("b.htm").c_str(), 0444);
        TTXT2HTML wizard(rig.settings, rig.desktop, rig.runner);
        rig.desktop.answerFolder(rig.dir.path().string());
        click(wizard, "OpenDirButton");
        click(wizard, "Next");
        click(wizard, "Next");
        rig.desktop.answerMessage(MessageAnswer::Ok);  // the general error box
        click(wizard, "Next");
        QCOMPARE(rig.desktop.messages.size(), std::size_t{1});
        QCOMPARE(rig.desktop.messages[0].icon, MessageIcon::Stop);
        QVERIFY(rig.desktop.messages[0].text.find("b.htm") != std::string::npos);
        QVERIFY(fs::exists(rig.dir.path() / "a.htm"));
        QCOMPARE(test::readFile(rig.dir.path() / "b.htm"), std::string("the author's page"));
        QVERIFY(!fs::exists(rig.dir.path() / "c.htm"));
    }

    void searchAndReplaceRunsOverTheTickedFiles()
    {
        ToolRig rig;
        test::writeFile(rig.dir.path() / "page.htm", "<BODY bgcolor=\"#ffffff\">\r\n");
        test::writeFile(rig.dir.path() / "Y.HTML", "x|y\n");
        test::writeFile(rig.dir.path() / "x.shtml", "<BODY BGCOLOR=\"#FFFFFF\">");
        TSearchReplace dialog(rig.settings, rig.desktop, rig.runner);

        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(dialog, "Button2");  // nothing to do
        QCOMPARE(rig.desktop.messages.back().text,
                 std::string("Please specify some input files and a valid search string..."));
        QCOMPARE(rig.desktop.messages.back().caption, std::string("HTML Doxel"));

        rig.desktop.answerFolder(rig.dir.path().string());
        click(dialog, "OpenButton");
        QCOMPARE(listed(dialog, "view"), (QStringList{rig.folderEntry("Y.HTML"), rig.folderEntry("page.htm")}));
        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(dialog, "Button2");  // no search string yet
        QCOMPARE(rig.desktop.messages.size(), std::size_t{2});

        click(dialog, "ExampleButton");
        QCOMPARE(child<QLineEdit>(dialog, "SearchString")->text(), QStringLiteral("BGCOLOR=\"#FFFFFF\""));
        QCOMPARE(child<QLineEdit>(dialog, "ReplaceString")->text(), QStringLiteral("BGCOLOR=\"#0080C0\""));
        fs::remove(rig.dir.path() / "Y.HTML");  // vanished: skipped and not counted
        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(dialog, "Button2");
        QCOMPARE(rig.desktop.messages.back().text, std::string("Number of files processed: 1"));
        QCOMPARE(test::readFile(rig.dir.path() / "page.htm"), std::string("<BODY BGCOLOR=\"#0080C0\">\r\n"));
        QCOMPARE(test::readFile(rig.dir.path() / "page.htm.bak"), std::string("<BODY bgcolor=\"#ffffff\">\r\n"));
        // The fields stay for another run.
        QCOMPARE(child<QLineEdit>(dialog, "SearchString")->text(), QStringLiteral("BGCOLOR=\"#FFFFFF\""));

        // Letter case counting, no backup, a line end typed as "|".
        child<QCheckBox>(dialog, "IgnoreCaseBox")->setChecked(false);
        child<QCheckBox>(dialog, "CreateBackupBox")->setChecked(false);
        child<QLineEdit>(dialog, "SearchString")->setText(QStringLiteral("\">|"));
        child<QLineEdit>(dialog, "ReplaceString")->setText(QStringLiteral("\">|<P>|"));
        fs::remove(rig.dir.path() / "page.htm.bak");
        rig.desktop.answerMessage(MessageAnswer::Ok);
        click(dialog, "Button2");
        QCOMPARE(test::readFile(rig.dir.path() / "page.htm"), std::string("<BODY BGCOLOR=\"#0080C0\">\r\n<P>\r\n"));
        QVERIFY(!fs::exists(rig.dir.path() / "page.htm.bak"));
        QVERIFY(rig.desktop.finished());
    }

    void searchAndReplaceKeepsAFileItCannotWrite()
    {
        ToolRig rig;
        test::writeFile(rig.dir.path() / "a.htm", "x");
        test::writeFile(rig.dir.path() / "b.htm", "x");
        test::writeFile(rig.dir.path() / "c.htm", "x");
        ::chmod(rig.file("b.htm").c_str(), 0444);
        TSearchReplace dialog(rig.settings, rig.desktop, rig.runner);
        rig.desktop.answerFolder(rig.dir.path().string());
        click(dialog, "OpenButton");
        child<QLineEdit>(dialog, "SearchString")->setText(QStringLiteral("x"));
        child<QLineEdit>(dialog, "ReplaceString")->setText(QStringLiteral("y"));
        rig.desktop.answerMessage(MessageAnswer::Ok);  // the general error box, no count
        click(dialog, "Button2");
        QCOMPARE(rig.desktop.messages.size(), std::size_t{1});
        QCOMPARE(rig.desktop.messages[0].icon, MessageIcon::Stop);
        QVERIFY(rig.desktop.messages[0].text.find("b.htm") != std::string::npos);
        QCOMPARE(test::readFile(rig.dir.path() / "a.htm"), std::string("y\r\n"));
        QCOMPARE(test::readFile(rig.dir.path() / "b.htm"), std::string("x"));
        QCOMPARE(test::readFile(rig.dir.path() / "c.htm"), std::string("x"));
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ToolDialogsTest)
#include "tool_dialogs_test.moc"
