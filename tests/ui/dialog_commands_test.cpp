// The commands that open the project properties and settings dialogs, on
// the main window with the sample project: what the dialogs are filled
// with, what OK and Cancel leave behind, and the way of the window settings
// into the project file and the help project file.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/path_rules.h"
#include "formats/help_project_writer.h"
#include "qt_test_support.h"
#include "ui/contents/icon_combo.h"
#include "ui/dialogs/auto_sizer_dialog.h"
#include "ui/dialogs/dialog_commands.h"
#include "ui/dialogs/preferences_dialog.h"
#include "ui/dialogs/project_properties_dialog.h"
#include "ui/kit/icons.h"
#include "ui/logic/string_table.h"

Q_DECLARE_METATYPE(doxel::Command)

namespace doxel {

using test::WindowFixture;

namespace {

template <typename Widget>
Widget* child(const QObject& parent, const char* name)
{
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

QImage picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

bool toolBarColored(WindowFixture& f)
{
    return picture(f.action(Command::NewProjectButton)->icon()) == picture(toolbarIcon("new", true));
}

}  // namespace

class DialogCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void windowPropertiesReachTheProjectFileAndTheHelpProject_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("menu") << Command::ProjectProperties;
        QTest::newRow("tool button") << Command::ProjectPropertiesButton;
    }

    void windowPropertiesReachTheProjectFileAndTheHelpProject()
    {
        QFETCH(Command, command);
        WindowFixture f;
        f.create(f.sample());
        Project& project = f.form->project();
        QVERIFY(!project.fileList.empty());
        const std::string firstFile = projectRelativePath(project.fileList[0].path, project.projectFile);
        WindowFrame sized;
        QStringList offered;
        f.dialogs.answer<TProjectProperties>([&](TProjectProperties& dialog) {
            auto* items = child<QComboBox>(dialog, "Items");
            for (int row = 0; row < items->count(); ++row)
                offered.append(items->itemText(row));
            items->setEditText(QString::fromStdString(firstFile));
            child<QCheckBox>(dialog, "CheckBox4")->setChecked(true);   // search tab
            child<QCheckBox>(dialog, "CheckBox35")->setChecked(true);  // popup
            child<QPushButton>(dialog, "SpeedButton1")->click();
            child<QPushButton>(dialog, "Button1")->click();
        });
        f.dialogs.answer<TAutoSizer>([&](TAutoSizer& sizer) {
            sizer.move(120, 90);
            sizer.resize(500, 300);
            QTRY_COMPARE(sizer.frame().left, 120);
            sized = sizer.frame();
            child<QPushButton>(sizer, "OkButton")->click();
        });
        project.modified = false;
        f.action(command)->trigger();
        QVERIFY(f.dialogs.finished());
        QCOMPARE(offered.size(), static_cast<qsizetype>(project.fileList.size()));
        QCOMPARE(offered.front(), QString::fromStdString(firstFile));
        QVERIFY(project.modified);

        const WindowSettings window = project.windowSettings;
        QCOMPARE(window.defaultTopic, firstFile);
        QVERIFY(window.windowStyle < 0);
        QVERIFY((window.navigationStyle & 1024) != 0);
        QCOMPARE((std::array{window.left, window.top, window.width, window.height}),
                 (std::array{sized.left, sized.top, sized.width, sized.height}));

        // Saved, opened again, compiled.
        f.action(Command::SaveProject)->trigger();
        QVERIFY(!project.modified);
        f.form.reset();
        f.create(f.sample());
        QCOMPARE(f.form->project().windowSettings, window);
        const std::string hhp = helpProjectFileText(f.form->project(), "/tmp/log.txt");
        QVERIFY(hhp.find("\r\nFull-text search=Yes\r\n") != std::string::npos);
        QVERIFY(hhp.find(",0x8") != std::string::npos);
        QVERIFY(f.desktop.finished());
    }

    void cancelLeavesTheProjectAsItWas()
    {
        WindowFixture f;
        f.create(f.sample());
        Project& project = f.form->project();
        project.windowSettings.buttons = 1;  // a bit without a box
        const WindowSettings before = project.windowSettings;
        f.dialogs.answer<TProjectProperties>([](TProjectProperties& dialog) {
            child<QCheckBox>(dialog, "CheckBox1")->click();
            child<QPushButton>(dialog, "SpeedButton1")->click();
            child<QPushButton>(dialog, "Button2")->click();
        });
        f.dialogs.answer<TAutoSizer>([](TAutoSizer& sizer) {
            sizer.move(300, 300);
            child<QPushButton>(sizer, "OkButton")->click();
        });
        f.action(Command::ProjectProperties)->trigger();
        QVERIFY(f.dialogs.finished());
        QCOMPARE(project.windowSettings, before);
        QVERIFY(!project.modified);
    }

    void settingsComeFromTheStoreAndGoBackToIt()
    {
        WindowFixture f;
        f.create();
        const std::pair<const char*, const char*> stored[] = {
            {"HtmlEditor", "bluefish %F"}, {"LogFile", "/home/ann/log.txt"},
            {"LaunchHelp", "1"},           {"ViewLog", "0"},
            {"ProgressMinimum", "75"},     {"DefaultIcon1", "8"},
            {"DefaultIcon2", "77"},        {"ToolbColored", "0"},
        };
        for (const auto& [name, value] : stored)
            f.settings.write(name, value);
        QVERIFY(!toolBarColored(f));
        f.dialogs.answer<TPreferences>([](TPreferences& dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "HEditorPath")->text(), QStringLiteral("bluefish %F"));
            QCOMPARE(child<QLineEdit>(dialog, "LogLocation")->text(), QStringLiteral("/home/ann/log.txt"));
            QVERIFY(child<QCheckBox>(dialog, "LaunchHelp")->isChecked());
            QVERIFY(!child<QCheckBox>(dialog, "ViewLog")->isChecked());
            QCOMPARE(child<QLineEdit>(dialog, "NumberEdit")->text(), QStringLiteral("75"));
            QCOMPARE(child<IconCombo>(dialog, "ImageCombo1")->currentIndex(), 8);
            QCOMPARE(child<IconCombo>(dialog, "ImageCombo2")->currentIndex(), -1);
            auto* number = child<QLineEdit>(dialog, "NumberEdit");
            number->clear();
            QTest::keyClicks(number, QStringLiteral("250"));
            child<QCheckBox>(dialog, "ColorsBox")->click();
            child<QLineEdit>(dialog, "HEditorPath")->setText(QStringLiteral("kate"));
            child<QPushButton>(dialog, "Button1")->click();
        });
        f.action(Command::Settings)->trigger();
        QVERIFY(f.dialogs.finished());
        const std::pair<const char*, const char*> expected[] = {
            {"HtmlEditor", "kate"},     {"LogFile", "/home/ann/log.txt"},
            {"LaunchHelp", "1"},        {"ViewLog", "0"},
            {"ProgressMinimum", "200"}, {"DefaultIcon1", "8"},
            {"DefaultIcon2", "-1"},     {"ToolbColored", "1"},
            {"DelTemp", "1"},
        };
        for (const auto& [name, value] : expected)
            QCOMPARE(f.settings.read(name), std::string(value));
        // At once, without a restart.
        QVERIFY(toolBarColored(f));
    }

    void cancelStoresNothing()
    {
        WindowFixture f;
        f.create();
        const auto before = f.settings.values();
        f.dialogs.answer<TPreferences>([](TPreferences& dialog) {
            child<QCheckBox>(dialog, "ColorsBox")->click();
            child<QCheckBox>(dialog, "LaunchHelp")->click();
            child<QLineEdit>(dialog, "LogLocation")->setText(QStringLiteral("/elsewhere.txt"));
            child<QPushButton>(dialog, "CancelButton")->click();
        });
        f.action(Command::Settings)->trigger();
        QVERIFY(f.dialogs.finished());
        QCOMPARE(f.settings.values(), before);
        QVERIFY(!toolBarColored(f));
    }

    void theHtmlEditorCommandsAskForAnEditor()
    {
        WindowFixture f;
        f.create();
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.dialogs.answer<TPreferences>([](TPreferences& dialog) {
            child<QLineEdit>(dialog, "HEditorPath")->setText(QStringLiteral("kate"));
            child<QPushButton>(dialog, "Button1")->click();
        });
        askForHtmlEditor(f.form->context());
        QVERIFY(f.dialogs.finished());
        QVERIFY(f.desktop.finished());
        QCOMPARE(f.desktop.messages.front().text, loadText(f.settings, 100));
        QCOMPARE(f.settings.read("HtmlEditor"), std::string("kate"));
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::DialogCommandsTest)
#include "dialog_commands_test.moc"
