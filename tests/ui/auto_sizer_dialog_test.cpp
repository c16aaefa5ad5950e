// The auto sizer's sample window: where it opens, what its labels say
// while it moves and changes size, and what it hands back.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "core/settings.h"
#include "ui/dialogs/auto_sizer_dialog.h"

Q_DECLARE_METATYPE(doxel::WindowFrame)

namespace doxel {

char* toString(const WindowFrame& frame)
{
    return QTest::toString(
        QStringLiteral("%1,%2 %3x%4").arg(frame.left).arg(frame.top).arg(frame.width).arg(frame.height));
}

}  // namespace doxel

namespace doxel {

class AutoSizerDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A window manager that has just started may map the first windows
        // before it frames them, the longer the busier the machine: wait
        // until it frames one before any test measures a frame.
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        QWidget probe;
        probe.setGeometry(40, 40, 200, 100);
        probe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&probe));
        QTRY_VERIFY_WITH_TIMEOUT(!probe.windowHandle()->frameMargins().isNull(), 30000);
    }

    void opensAtTheFrameAndHandsItBackUnmoved_data()
    {
        QTest::addColumn<WindowFrame>("frame");
        QTest::newRow("a new project") << WindowFrame{80, 70, 650, 430};
        QTest::newRow("another place") << WindowFrame{300, 20, 500, 700};
    }

    void opensAtTheFrameAndHandsItBackUnmoved()
    {
        QFETCH(WindowFrame, frame);
        MemorySettingsStore settings;
        TAutoSizer sizer(settings, frame);
        sizer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sizer));
        // A window manager adds its frame a moment after the window shows.
        QTRY_COMPARE(sizer.frame(), frame);
        QTRY_COMPARE(sizer.findChild<QLabel*>(QStringLiteral("w"))->text(),
                     QStringLiteral("Width: %1").arg(frame.width));
        QCOMPARE(sizer.findChild<QLabel*>(QStringLiteral("h"))->text(), QStringLiteral("Height: %1").arg(frame.height));
        sizer.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        QCOMPARE(sizer.result(), QDialog::Accepted);
        QCOMPARE(sizer.frame(), frame);
    }

    void theLabelsFollowTheSizeAndNotThePlace()
    {
        MemorySettingsStore settings;
        settings.write("Language", "4000");
        TAutoSizer sizer(settings, {80, 70, 650, 430});
        sizer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sizer));
        auto* width = sizer.findChild<QLabel*>(QStringLiteral("w"));
        auto* height = sizer.findChild<QLabel*>(QStringLiteral("h"));
        QTRY_COMPARE(sizer.frame(), (WindowFrame{80, 70, 650, 430}));
        sizer.move(200, 150);
        QTRY_COMPARE(sizer.frame(), (WindowFrame{200, 150, 650, 430}));
        QCOMPARE(width->text(), QStringLiteral("Ширина: 650"));
        QCOMPARE(height->text(), QStringLiteral("Высота: 430"));
        // resize() sets the inside; the labels show the outer frame.
        const WindowFrame outer = sizer.frame();
        const QSize border = QSize(outer.width, outer.height) - sizer.size();
        for (const QSize inside : {QSize(400, 250), QSize(120, 60)}) {
            sizer.resize(inside);
            const QSize expected = inside + border;
            QTRY_COMPARE(width->text(), QStringLiteral("Ширина: %1").arg(expected.width()));
            QTRY_COMPARE(height->text(), QStringLiteral("Высота: %1").arg(expected.height()));
            QTRY_COMPARE(sizer.frame(), (WindowFrame{200, 150, expected.width(), expected.height()}));
        }
    }

    void cancelAndTheTitleBarHandBackNothing()
    {
        MemorySettingsStore settings;
        for (int way = 0; way < 2; ++way) {
            TAutoSizer sizer(settings, {80, 70, 650, 430});
            sizer.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sizer));
            if (way == 0)
                sizer.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
            else
                sizer.close();
            QCOMPARE(sizer.result(), QDialog::Rejected);
        }
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::AutoSizerDialogTest)
#include "auto_sizer_dialog_test.moc"
