// File > Import HTML Help project... on a scripted desktop: the new project
// is written beside the chosen help project, opened in the window and its
// report shown; an existing project is never replaced; a cancelled chooser
// changes nothing.
#include <QTest>

#include "qt_test_support.h"

namespace doxel {

using test::WindowFixture;

class ImportCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void importsOpensAndReportsAndNeverReplacesAProject()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        const std::string folder = f.folder.file("old");
        test::writeFile(folder + "/a.htm", "<title>A</title>");
        test::writeFile(folder + "/guide.hhp", "[OPTIONS]\nContents file=guide.hhc\nTitle=Old guide\n");
        test::writeFile(folder + "/guide.hhc",
                        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
                        "<param name=\"Local\" value=\"a.htm#top\"></OBJECT></UL>");

        f.desktop.answerFile(std::nullopt);
        f.action(Command::ImportHelpProject)->trigger();
        QCOMPARE(QString::fromStdString(form.project().title()), QStringLiteral("New project (put your title here)"));

        f.desktop.answerFile(folder + "/guide.hhp");
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action(Command::ImportHelpProject)->trigger();
        QCOMPARE(QString::fromStdString(form.project().title()), QStringLiteral("Old guide"));
        QCOMPARE(QString::fromStdString(form.project().projectFile),
                 QString::fromStdString(folder + "/guide-doxel.dxp"));
        QCOMPARE(QString::fromStdString(form.project().titleEntry().child(0)->topicFile),
                 QString::fromStdString(folder + "/a.htm#top"));
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [guide-doxel.dxp]"));
        QVERIFY(!form.project().modified);
        QVERIFY(f.desktop.messages.back().text.find("Contents entries: 1") != std::string::npos);

        const std::string written = test::readFile(folder + "/guide-doxel.dxp");
        f.desktop.answerFile(folder + "/guide.hhp");
        f.desktop.answerMessage(MessageAnswer::Ok);  // the error
        f.action(Command::ImportHelpProject)->trigger();
        QVERIFY(f.desktop.messages.back().text.find("exists already") != std::string::npos);
        QCOMPARE(test::readFile(folder + "/guide-doxel.dxp"), written);
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ImportCommandsTest)
#include "import_commands_test.moc"
