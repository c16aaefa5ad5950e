// The preview with the real web engine, loaded from its module, under the
// offscreen platform: a topic loads, the page it reports is the topic's
// file, and text selected in the page becomes a keyword for that file.
#include <QApplication>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "qt_test_support.h"
#include "ui/contents/contents_page.h"
#include "ui/preview/preview_commands.h"
#include "ui/preview/preview_page.h"
#include "ui/preview/web_browser_loader.h"

namespace doxel {

using test::WindowFixture;

class WebPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void aSelectionInTheShownTopicBecomesAKeyword()
    {
        QString error;
        const CreateWebBrowserFunction create = loadWebBrowserFactory(&error, QStringLiteral(DOXEL_WEB_BROWSER_MODULE));
        QVERIFY2(create != nullptr, qPrintable(error));

        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        auto& commands = *form.findChild<PreviewCommands*>();
        commands.setBrowserFactory(
            [create](QWidget* parent, const WebBrowserEvents& events, QString*) { return create(parent, events); });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // "Installing Tidewater", opened at an anchor of its page.
        ContentsEntry& installing = *form.project().titleEntry().child(1)->child(0);
        const std::string file = installing.topicFile;
        installing.topicFile = file + "#requirements";
        form.contentsPage()->selectEntry(&installing);
        f.action(Command::PopupPreview)->trigger();
        QVERIFY(commands.webBrowser() != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(commands.preview().currentDocument(), file, 30000);

        auto* view = qobject_cast<QWebEngineView*>(commands.webBrowser()->widget());
        QVERIFY(view != nullptr);
        QCOMPARE(view->url().fragment(), QStringLiteral("requirements"));
        QVERIFY(view->selectedText().isEmpty());
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action(Command::KeywordFromSelectionButton)->trigger();
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});

        view->page()->runJavaScript(
            QStringLiteral("var range = document.createRange();"
                           "range.selectNodeContents(document.querySelector('h1'));"
                           "window.getSelection().removeAllRanges();"
                           "window.getSelection().addRange(range);"));
        QTRY_COMPARE_WITH_TIMEOUT(view->selectedText(), QStringLiteral("Installing Tidewater"), 10000);
        const std::size_t before = form.project().keywords.size();
        f.action(Command::KeywordFromSelectionButton)->trigger();
        QCOMPARE(form.project().keywords.size(), before + 1);
        QCOMPARE(form.project().keywords.back(), (KeywordEntry{"Installing Tidewater", file}));
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace doxel

int main(int argc, char* argv[])
{
    // As the program does: the engine shares the window's OpenGL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    doxel::WebPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "web_preview_test.moc"
