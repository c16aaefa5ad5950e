// The Preview page and the tree's preview and editor commands in the main
// window, with a scripted browser in place of the web engine and a
// scripted desktop.
#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>

#include "qt_test_support.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/preview/preview_commands.h"
#include "ui/preview/preview_page.h"

namespace doxel {

using test::WindowFixture;

namespace {

// Loads nothing: records where it was sent and reports each page as loaded.
class ScriptedWebBrowser final : public QWidget, public WebBrowser {
public:
    ScriptedWebBrowser(QWidget* parent, WebBrowserEvents events) : QWidget(parent), m_events(std::move(events)) {}

    QWidget* widget() override { return this; }
    void navigate(const std::string& file, const std::string& anchor) override
    {
        log << QString::fromStdString(anchor.empty() ? file : file + "#" + anchor);
        loaded(file);
    }
    void refresh() override { log << QStringLiteral("refresh"); }
    std::string selectedText() override { return selection; }
    // The page the author reached, as the engine reports it.
    void loaded(const std::string& file) { m_events.navigateComplete(file); }

    QStringList log;
    std::string selection;

private:
    WebBrowserEvents m_events;
};

ContentsEntry* entryNamed(Project& project, const char* caption)
{
    ContentsEntry* found = nullptr;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        if (found == nullptr && entry.caption == caption)
            found = const_cast<ContentsEntry*>(&entry);
    });
    return found;
}

struct PreviewWindow {
    explicit PreviewWindow(WindowFixture& f)
        : fixture(f),
          form(f.create(f.sample())),
          commands(*form.findChild<PreviewCommands*>()),
          page(*form.findChild<PreviewPage*>()),
          contents(*form.contentsPage())
    {
        commands.setBrowserFactory([this](QWidget* parent, const WebBrowserEvents& events, QString*) {
            browser = new ScriptedWebBrowser(parent, events);
            return browser;
        });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    ContentsEntry* entry(const char* caption) { return entryNamed(form.project(), caption); }
    void select(const char* caption) { contents.selectEntry(entry(caption)); }
    QString selected() const
    {
        const ContentsEntry* entry = contents.selectedEntry();
        return entry != nullptr ? QString::fromStdString(entry->caption) : QString();
    }
    QString file(const char* relative) const { return QString::fromStdString(fixture.folder.file(relative)); }
    QString lastShown() const
    {
        return browser != nullptr && !browser->log.isEmpty() ? browser->log.last() : QString();
    }

    WindowFixture& fixture;
    TMainForm& form;
    PreviewCommands& commands;
    PreviewPage& page;
    ContentsPage& contents;
    ScriptedWebBrowser* browser = nullptr;
};

}  // namespace

class PreviewCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void theBrowserIsMadeWhenThePreviewFirstShowsAPage()
    {
        WindowFixture f;
        PreviewWindow w(f);
        QCOMPARE(w.page.browser()->objectName(), QStringLiteral("Browser"));
        w.form.pageControl()->setCurrentIndex(2);  // Index
        f.action(Command::RefreshButton)->trigger();
        QVERIFY(w.browser == nullptr);
        w.select("Reference");  // a header
        w.form.pageControl()->setCurrentWidget(&w.page);
        QVERIFY(w.browser != nullptr);
        QCOMPARE(w.page.browser(), w.browser);
        QCOMPARE(w.page.browser()->objectName(), QStringLiteral("Browser"));
        QVERIFY(w.lastShown().endsWith(QStringLiteral("/blank.htm")));
        QVERIFY(QFileInfo::exists(w.lastShown()));
        f.action(Command::RefreshButton)->trigger();
        QCOMPARE(w.lastShown(), QStringLiteral("refresh"));
    }

    void aDoubleClickInTheTreePreviewsTheEntry()
    {
        WindowFixture f;
        PreviewWindow w(f);
        ContentsTree& tree = *w.contents.tree();
        const QModelIndex faq = w.form.contentsModel().indexOf(w.entry("Frequently asked questions"));
        tree.scrollTo(faq);
        // What the window system sends for a double click: press, release,
        // double click, release.
        const QPoint centre = tree.visualRect(faq).center();
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, centre);
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, centre, tree.viewport()->mapToGlobal(centre),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &doubleClick);
        QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(w.form.pageControl()->currentWidget(), &w.page);
        QCOMPARE(w.browser->log, QStringList{w.file("sample/faq.htm")});
        QCOMPARE(QString::fromStdString(w.commands.preview().currentDocument()), w.file("sample/faq.htm"));
    }

    void previousAndNextStepThroughTheTree()
    {
        WindowFixture f;
        PreviewWindow w(f);
        w.select("Working with tides");
        QVERIFY(!w.contents.tree()->isExpanded(w.form.contentsModel().indexOf(w.entry("Getting started"))));
        w.form.pageControl()->setCurrentWidget(&w.page);
        f.action(Command::PreviousTopicButton)->trigger();
        QCOMPARE(w.selected(), QStringLiteral("A quick tour"));
        QVERIFY(w.contents.tree()->isExpanded(w.form.contentsModel().indexOf(w.entry("Getting started"))));
        QCOMPARE(w.lastShown(), w.file("sample/pages/tour.htm"));
        f.action(Command::NextTopicButton)->trigger();
        f.action(Command::NextTopicButton)->trigger();
        QCOMPARE(w.selected(), QStringLiteral("Reading the tide table"));
        QCOMPARE(w.lastShown(), w.file("sample/pages/tidetable.htm"));
        QCOMPARE(f.desktop.beeps, 0);

        w.select("Getting help and support");  // the last entry
        f.action(Command::NextTopicButton)->trigger();
        QCOMPARE(f.desktop.beeps, 1);
        QCOMPARE(w.selected(), QStringLiteral("Getting help and support"));
    }

    void aLinkToAnotherTopicSelectsItInTheTree()
    {
        WindowFixture f;
        PreviewWindow w(f);
        w.select("Welcome to Tidewater");
        w.form.pageControl()->setCurrentWidget(&w.page);
        w.browser->loaded(w.file("sample/pages/moorings.htm").toStdString());
        QCOMPARE(w.selected(), QStringLiteral("Berths and moorings"));
        QCOMPARE(w.browser->log.size(), 1);
    }

    void theSelectedTextBecomesAKeyword()
    {
        WindowFixture f;
        PreviewWindow w(f);
        w.select("Reading the tide table");
        w.form.pageControl()->setCurrentWidget(&w.page);
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action(Command::KeywordFromSelectionButton)->trigger();
        QCOMPARE(f.desktop.messages.at(0).text,
                 std::string("Please highlight the text that you want\n\rto use as your new keyword first..."));
        const std::size_t before = w.form.project().keywords.size();
        w.browser->selection = "high water\n";
        f.action(Command::KeywordFromSelectionButton)->trigger();
        QCOMPARE(w.form.project().keywords.size(), before + 1);
        QCOMPARE(w.form.project().keywords.back().keyword, std::string("high water"));
        QCOMPARE(QString::fromStdString(w.form.project().keywords.back().topicFile),
                 w.file("sample/pages/tidetable.htm"));
        QVERIFY(f.desktop.finished());
    }

    void theEditorsGetTheFileAsOneArgument()
    {
        WindowFixture f;
        PreviewWindow w(f);
        f.settings.write("HtmlEditor", "sh -c %f");
        w.select("Frequently asked questions");
        f.action(Command::PopupOpenInHtmlEditor)->trigger();
        QCOMPARE(f.desktop.programs.size(), std::size_t{1});
        QCOMPARE(f.desktop.programs[0].program, std::string("sh"));
        QCOMPARE(f.desktop.programs[0].arguments, (std::vector<std::string>{"-c", f.folder.file("sample/faq.htm")}));
        QCOMPARE(f.desktop.programs[0].workingFolder, f.folder.file("sample/"));

        // The page shown, with the button's menu.
        w.form.pageControl()->setCurrentWidget(&w.page);
        f.action(Command::EditInHtmlEditor)->trigger();
        QCOMPARE(f.desktop.programs.size(), std::size_t{2});
        QCOMPARE(f.desktop.programs[1].arguments.back(), f.folder.file("sample/faq.htm"));
        QCOMPARE(f.desktop.programs[1].workingFolder, std::string());
        QVERIFY(f.action(Command::EditPageButton)->isEnabled());

        // Notepad: the desktop's text editor, or its handler for the file.
        f.action(Command::EditInTextEditor)->trigger();
        const bool started =
            f.desktop.programs.size() == 3 && f.desktop.programs[2].arguments.back() == f.folder.file("sample/faq.htm");
        const bool opened = f.desktop.openedDocuments == std::vector<std::string>{f.folder.file("sample/faq.htm")};
        QVERIFY(started || opened);

        // Without an editor: text 100, then the settings dialog; nothing
        // is started.
        f.settings.write("HtmlEditor", "");
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.dialogs.answer<TPreferences>([](TPreferences&) {});
        const std::size_t programsBefore = f.desktop.programs.size();
        f.action(Command::EditInHtmlEditor)->trigger();
        QCOMPARE(f.desktop.messages.at(0).text,
                 std::string("Please specify the path\n\rto your favourite HTML Editor..."));
        QCOMPARE(f.dialogs.shown, std::vector<std::string>{"doxel::TPreferences"});
        QCOMPARE(f.desktop.programs.size(), programsBefore);
        QVERIFY(f.desktop.finished());
        QVERIFY(f.dialogs.finished());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::PreviewCommandsTest)
#include "preview_commands_test.moc"
