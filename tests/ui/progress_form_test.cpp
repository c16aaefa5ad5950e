// The progress window behind the main window's progress reporter.
#include <QProgressBar>
#include <QTest>

#include "qt_test_support.h"
#include "ui/main/progress_form.h"

namespace doxel {

class ProgressFormTest : public QObject {
    Q_OBJECT

private slots:
    void showsOnlyAboveTheProgressMinimum_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("shown");
        QTest::newRow("40 keeps 40 hidden") << QStringLiteral("40") << 40 << false;
        QTest::newRow("40 shows 41") << QStringLiteral("40") << 41 << true;
        QTest::newRow("not a number counts as 40: 40") << QStringLiteral("many") << 40 << false;
        QTest::newRow("not a number counts as 40: 41") << QStringLiteral("many") << 41 << true;
        QTest::newRow("0 shows 1") << QStringLiteral("0") << 1 << true;
    }

    void showsOnlyAboveTheProgressMinimum()
    {
        QFETCH(QString, minimum);
        QFETCH(int, maximum);
        QFETCH(bool, shown);
        MemorySettingsStore settings;
        settings.write("ProgressMinimum", minimum.toStdString());
        QWidget owner;
        WindowProgress progress(settings, &owner);
        progress.showProgress(ProgressMode::Start, maximum);
        QVERIFY(progress.window() != nullptr);
        QCOMPARE(progress.window()->isVisible(), shown);
        QProgressBar* bar = progress.window()->findChild<QProgressBar*>(QStringLiteral("Bar"));
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->size(), QSize(177, 13));
        QCOMPARE(progress.window()->windowTitle(), QStringLiteral("Please wait..."));
        progress.showProgress(ProgressMode::Step, 1);
        QCOMPARE(bar->value(), 1);
        progress.showProgress(ProgressMode::End, 0);
        QVERIFY(progress.window() == nullptr);
    }

    void closesWhenTheSaveFails()
    {
        // A failed write still ends the progress window.
        test::WindowFixture f;
        TMainForm& form = f.create(f.sample());
        f.desktop.answerFile(f.folder.file("missing/x.dxp"));
        f.desktop.answerMessage(MessageAnswer::Yes);  // the pages would lie outside missing/
        f.desktop.answerMessage(MessageAnswer::Ok);
        // Save of an untitled project is Save as.
        form.project().projectFile.clear();
        f.action("Saveproject1")->trigger();
        QVERIFY(form.progressReporter().window() == nullptr);
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ProgressFormTest)
#include "progress_form_test.moc"
