// The Qt side of the desktop interface: what reaches Qt's widgets.
#include <QTest>

#include "ui/kit/qt_text.h"
#include "ui/main/qt_desktop.h"

namespace doxel {

class QtDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void turnsFileFiltersIntoQtTypeLists()
    {
        QCOMPARE(qtFileFilter({{"Doxel Projects (*.dxp)", "*.dxp"}}), QStringLiteral("Doxel Projects (*.dxp)"));
        QCOMPARE(qtFileFilter({{"HTML Documents (*.htm, *.html)", "*.htm;*.html"}, {"All (*.*)", "*.*"}}),
                 QStringLiteral("HTML Documents (*.htm *.html);;All (*.*)"));
        QCOMPARE(qtFileFilter({{"Text files", "*.txt"}}), QStringLiteral("Text files (*.txt)"));
    }

    void showsEveryLineBreakFormAsOne()
    {
        QCOMPARE(displayText("a\n\rb"), QStringLiteral("a\nb"));
        QCOMPARE(displayText("a\n\r\n\rb"), QStringLiteral("a\n\nb"));
        QCOMPARE(displayText("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
        QCOMPARE(displayText("Änderungen"), QStringLiteral("Änderungen"));
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::QtDesktopTest)
#include "qt_desktop_test.moc"
