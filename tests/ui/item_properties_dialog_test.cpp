// The item properties dialog on its own: what it shows, what it hands
// back, and the icon chooser it shares with the contents tool bar.
#include <QAbstractItemView>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolButton>

#include "core/settings.h"
#include "ui/contents/item_properties_dialog.h"

namespace doxel {

class ItemPropertiesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheEntryAndHandsBackTheEdits_data()
    {
        QTest::addColumn<int>("iconRow");
        QTest::addColumn<int>("shownRow");
        QTest::newRow("a chooser row") << 12 << 12;
        QTest::newRow("no row") << -1 << -1;
        QTest::newRow("the last row") << 41 << 41;
    }

    void showsTheEntryAndHandsBackTheEdits()
    {
        QFETCH(int, iconRow);
        QFETCH(int, shownRow);
        MemorySettingsStore settings;
        TItemProperties dialog(settings, {"Harbours", iconRow, "/help/pages/harbours.htm"}, {});
        QCOMPARE(dialog.captionEdit()->text(), QStringLiteral("Harbours"));
        QCOMPARE(dialog.imageCombo()->currentIndex(), shownRow);
        QCOMPARE(dialog.sourceEdit()->text(), QStringLiteral("/help/pages/harbours.htm"));
        QVERIFY(dialog.sourceEdit()->isReadOnly());
        QCOMPARE(dialog.values(), (ItemProperties{"Harbours", iconRow, "/help/pages/harbours.htm"}));

        dialog.captionEdit()->setText(QString());
        dialog.findChild<QToolButton*>(QStringLiteral("RemoveButton"))->click();
        QCOMPARE(dialog.values(), (ItemProperties{"", iconRow, ""}));
    }

    void confirmsOnlyWithOk()
    {
        MemorySettingsStore settings;
        for (const char* button : {"OKButton", "Button1"}) {
            TItemProperties dialog(settings, {"A", 3, ""}, {});
            dialog.show();
            dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
            QCOMPARE(dialog.result(),
                     QString::fromLatin1(button) == QLatin1String("OKButton") ? QDialog::Accepted : QDialog::Rejected);
        }
        TItemProperties dialog(settings, {"A", 3, ""}, {});
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), QDialog::Rejected);
    }

    void choosesTheFileThroughTheCaller()
    {
        MemorySettingsStore settings;
        std::vector<std::string> asked;
        std::string answer = "/help/new.htm";
        TItemProperties dialog(settings, {"A", 3, "/help/old.htm"}, [&](const std::string& current) {
            asked.push_back(current);
            // A refused or cancelled choice hands back the current file.
            return answer.empty() ? current : answer;
        });
        auto* open = dialog.findChild<QToolButton*>(QStringLiteral("OpenButton"));
        open->click();
        QCOMPARE(dialog.sourceEdit()->text(), QStringLiteral("/help/new.htm"));
        answer.clear();
        open->click();
        QCOMPARE(dialog.sourceEdit()->text(), QStringLiteral("/help/new.htm"));
        QCOMPARE(asked, (std::vector<std::string>{"/help/old.htm", "/help/new.htm"}));
    }

    void takesItsTextsFromTheStringTable()
    {
        MemorySettingsStore settings;
        settings.write("Language", "1000");
        TItemProperties dialog(settings, {}, {});
        QCOMPARE(dialog.objectName(), QStringLiteral("TItemProperties"));
        for (const char* name :
             {"CaptionEdit", "ImageCombo", "Label1", "SourceEdit", "OpenButton", "RemoveButton", "OKButton", "Button1"})
            QVERIFY2(dialog.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        QVERIFY(!dialog.windowTitle().isEmpty());
        QVERIFY(dialog.windowTitle() != QStringLiteral("Item Properties"));
        QVERIFY(!dialog.findChild<QToolButton*>(QStringLiteral("OpenButton"))->toolTip().isEmpty());
        QCOMPARE(dialog.imageCombo()->count(), 42);
    }

    void theIconChooserDrawsEveryPicture()
    {
        IconCombo chooser;
        chooser.resize(60, 24);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        QStyleOptionViewItem option;
        option.initFrom(chooser.view());
        option.rect = QRect(0, 0, 20, 18);
        for (int row = 0; row < IconCombo::kRows; ++row) {
            QImage image(20, 18, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            chooser.itemDelegate()->paint(&painter, option, chooser.model()->index(row, 0));
            painter.end();
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y) {
                for (int x = 0; x < 16 && !drawn; ++x)
                    drawn = image.pixel(x, y) != image.pixel(19, 0);
            }
            QVERIFY2(drawn, qPrintable(QString::number(row)));
        }
        // Showing a row is not a choice.
        QSignalSpy chosen(&chooser, &QComboBox::activated);
        QSignalSpy changed(&chooser, &QComboBox::currentIndexChanged);
        chooser.showRow(7);
        chooser.showRow(255);
        QCOMPARE(chooser.currentIndex(), -1);
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(changed.count(), 0);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ItemPropertiesDialogTest)
#include "item_properties_dialog_test.moc"
