// The settings dialog on its own: the number field and its arrows, the
// icon pickers, the browse buttons and what the dialog hands back.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "core/settings.h"
#include "scripted_desktop.h"
#include "ui/contents/icon_combo.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/up_down.h"

namespace doxel {

namespace {

template <typename Widget>
Widget* child(const QObject& parent, const char* name)
{
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

const PreferencesValues kStored{"bluefish %F", "/home/ann/log.txt", true, false, "40", 8, 1, false};

}  // namespace

class PreferencesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsAndHandsBackEveryValue()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        TPreferences dialog(settings, desktop, kStored);
        QCOMPARE(dialog.values(), kStored);
        QCOMPARE(child<QTabWidget>(dialog, "PageControl1")->currentIndex(), 0);
        auto* delTemp = child<QCheckBox>(dialog, "DelTemp");
        QVERIFY(delTemp->isChecked());
        QVERIFY(!delTemp->isEnabled());
        QCOMPARE(child<UpDown>(dialog, "UpDown")->value(), 40);
        QCOMPARE(child<IconCombo>(dialog, "ImageCombo1")->count(), 42);

        child<QCheckBox>(dialog, "ViewLog")->click();
        child<QCheckBox>(dialog, "ColorsBox")->click();
        child<IconCombo>(dialog, "ImageCombo2")->setCurrentIndex(41);
        child<QLineEdit>(dialog, "HEditorPath")->setText(QStringLiteral("kate"));
        PreferencesValues expected = kStored;
        expected.viewLog = true;
        expected.toolbarColored = true;
        expected.defaultIcon2 = 41;
        expected.htmlEditor = "kate";
        QCOMPARE(dialog.values(), expected);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QPushButton>(dialog, "Button1")->click();
        QCOMPARE(dialog.result(), QDialog::Accepted);
        QVERIFY(desktop.finished());
    }

    void anIconWithoutAPictureShowsNone()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        PreferencesValues values = kStored;
        values.defaultIcon1 = iconPickerRow("42");
        values.defaultIcon2 = iconPickerRow("-3");
        TPreferences dialog(settings, desktop, values);
        QCOMPARE(child<IconCombo>(dialog, "ImageCombo1")->currentIndex(), -1);
        QCOMPARE(child<IconCombo>(dialog, "ImageCombo2")->currentIndex(), -1);
        QCOMPARE(storedIconText(dialog.values().defaultIcon1), std::string("-1"));
        QCOMPARE(storedIconText(dialog.values().defaultIcon2), std::string("-1"));
    }

    void theNumberFieldTakesDigitsUpTo200_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("arrows");
        QTest::newRow("above 200") << "250"
                                   << "200" << 200;
        QTest::newRow("a letter") << "a"
                                  << "" << 0;
        QTest::newRow("digits around a letter") << "1x5"
                                                << "15" << 15;
        QTest::newRow("200") << "200"
                             << "200" << 200;
        QTest::newRow("a sign") << "-7"
                                << "7" << 7;
    }

    void theNumberFieldTakesDigitsUpTo200()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, arrows);
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        TPreferences dialog(settings, desktop, kStored);
        auto* field = child<QLineEdit>(dialog, "NumberEdit");
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), shown);
        QCOMPARE(child<UpDown>(dialog, "UpDown")->value(), arrows);
    }

    void aLetterOrAPasteOfOneChangesNothing()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        TPreferences dialog(settings, desktop, kStored);
        auto* field = child<QLineEdit>(dialog, "NumberEdit");
        field->setCursorPosition(1);
        QTest::keyClick(field, Qt::Key_A);
        QTest::keyClick(field, Qt::Key_Space);
        field->insert(QStringLiteral("12a"));
        QCOMPARE(field->text(), QStringLiteral("40"));
        QCOMPARE(dialog.values().progressMinimum, std::string("40"));
    }

    void theArrowsStepWithin0To200()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        PreferencesValues values = kStored;
        values.progressMinimum = "199";
        TPreferences dialog(settings, desktop, values);
        auto* field = child<QLineEdit>(dialog, "NumberEdit");
        auto* arrows = child<UpDown>(dialog, "UpDown");
        auto* up = child<QToolButton>(*arrows, "Up");
        auto* down = child<QToolButton>(*arrows, "Down");
        for (int i = 0; i < 3; ++i)
            up->click();
        QCOMPARE(field->text(), QStringLiteral("200"));
        down->click();
        QCOMPARE(field->text(), QStringLiteral("199"));
        field->setText(QStringLiteral("1"));
        for (int i = 0; i < 3; ++i)
            down->click();
        QCOMPARE(field->text(), QStringLiteral("0"));
        QCOMPARE(arrows->value(), 0);
    }

    void browsesForTheEditorAndTheLogFile()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        TPreferences dialog(settings, desktop, kStored);
        auto* editor = child<QLineEdit>(dialog, "HEditorPath");
        auto* log = child<QLineEdit>(dialog, "LogLocation");
        desktop.answerFile("/usr/bin/kate");
        desktop.answerFile("/opt/My Editor/edit\"or");
        desktop.answerFile(std::nullopt);
        for (int i = 0; i < 3; ++i)
            child<QToolButton>(dialog, "SpeedButton1")->click();
        // The command line keeps a path with a space or a quote in one piece.
        QCOMPARE(editor->text(), QStringLiteral("\"/opt/My Editor/edit\"\"\"or\""));
        QCOMPARE(QProcess::splitCommand(editor->text()), QStringList{"/opt/My Editor/edit\"or"});
        desktop.answerFile("/home/ann/logs/compile.txt");
        desktop.answerFile(std::nullopt);
        child<QToolButton>(dialog, "SpeedButton2")->click();
        child<QToolButton>(dialog, "SpeedButton2")->click();
        QCOMPARE(log->text(), QStringLiteral("/home/ann/logs/compile.txt"));
        QVERIFY(desktop.finished());

        QCOMPARE(desktop.fileDialogs.size(), std::size_t(5));
        QCOMPARE(desktop.fileDialogs[0].title, std::string("Browse for HTML Editor..."));
        QCOMPARE(desktop.fileDialogs[1].initialFolder, std::string("/usr/bin/"));
        QCOMPARE(desktop.fileDialogs[3].title, std::string("Log File..."));
        QCOMPARE(desktop.fileDialogs[3].initialFolder, std::string("/home/ann/"));
        QCOMPARE(desktop.fileDialogs[3].defaultExtension, std::string("txt"));
    }

    void cancelAndTheTitleBarHandBackNothing()
    {
        MemorySettingsStore settings;
        test::ScriptedDesktop desktop;
        for (int way = 0; way < 2; ++way) {
            TPreferences dialog(settings, desktop, kStored);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            if (way == 0)
                child<QPushButton>(dialog, "CancelButton")->click();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), QDialog::Rejected);
        }
    }

    void takesItsTextsFromTheStringTable()
    {
        MemorySettingsStore settings;
        settings.write("Language", "4000");
        test::ScriptedDesktop desktop;
        TPreferences dialog(settings, desktop, kStored);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(child<QPushButton>(dialog, "Button1")->text(), QStringLiteral("&Ok"));
        QVERIFY(child<QLabel>(dialog, "Label8")->text() != QStringLiteral("Don't display Progress Dialog under"));
        QVERIFY(!child<QLabel>(dialog, "Label8")->text().isEmpty());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::PreferencesDialogTest)
#include "preferences_dialog_test.moc"
