// The start-up screen and the about window.
#include <QTest>

#include "qt_test_support.h"
#include "ui/main/splash_form.h"

namespace doxel {

class SplashFormTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheStatusLineAndNoCloseButton()
    {
        TSplash splash(TSplash::Mode::Startup);
        splash.showNow();
        QCOMPARE(splash.size(), QSize(252, 163));
        QCOMPARE(splash.versionLabel()->text(), QStringLiteral("Version 1.1"));
        QVERIFY(splash.statusLine()->isVisible());
        QCOMPARE(splash.statusLine()->text(), QStringLiteral("Loading application. Please wait..."));
        QVERIFY(!splash.closeButton()->isVisible());
        // Both texts sit in the free band at the foot of the picture.
        QVERIFY(splash.versionLabel()->geometry().top() >= 163 - 30);
        QVERIFY(splash.statusLine()->geometry().bottom() < 163);
    }

    void aboutClosesWithItsButton()
    {
        test::WindowFixture f;
        TMainForm& form = f.create();
        bool seen = false;
        bool stillShown = true;
        f.dialogs.answer<TSplash>([&](TSplash& about) {
            seen = true;
            QVERIFY(about.closeButton()->isVisible());
            QVERIFY(!about.statusLine()->isVisible());
            QCOMPARE(about.closeButton()->text(), QStringLiteral("&CLOSE"));
            about.closeButton()->click();
            stillShown = about.isVisible();
        });
        f.action("AboutButton")->trigger();
        QVERIFY(seen);
        QVERIFY(!stillShown);
        QVERIFY(f.dialogs.finished());
        Q_UNUSED(form);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::SplashFormTest)
#include "splash_form_test.moc"
