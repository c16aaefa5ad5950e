// The project properties dialog on its own: what it shows of the window
// settings, what it hands back, and the way into the help project file.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "core/settings.h"
#include "formats/help_project_writer.h"
#include "ui/dialogs/project_properties_dialog.h"

namespace doxel {

namespace {

Project sampleProject()
{
    Project project("Guide");
    project.projectFile = "/home/ann/help/guide.dxp";
    project.deriveCompilerFileNames();
    project.fileList.assign({"/home/ann/help/pages/zoo.htm", "/home/ann/help/about.htm"});
    WindowSettings& window = project.windowSettings;
    window.defaultTopic = "about.htm";
    window.homePage = "pages\\zoo.htm";
    window.jump1Url = "https://example.org/";
    window.jump1Text = "Example";
    window.jump2Text = "Ж";
    window.buttons = 2 | 4 | 1;  // 1 has no box
    window.navigationPaneWidth = 20;
    return project;
}

template <typename Widget>
Widget* child(const QObject& parent, const char* name)
{
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int row = 0; row < combo->count(); ++row)
        texts.append(combo->itemText(row));
    return texts;
}

}  // namespace

class ProjectPropertiesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheWindowSettings()
    {
        MemorySettingsStore settings;
        const Project project = sampleProject();
        TProjectProperties dialog(settings, projectFileChoices(project), propertiesFromWindow(project.windowSettings),
                                  {});
        for (const char* combo : {"Items", "jump1", "Jump2", "Home"})
            QCOMPARE(items(child<QComboBox>(dialog, combo)), (QStringList{"about.htm", "pages\\zoo.htm"}));
        QCOMPARE(child<QComboBox>(dialog, "Items")->currentText(), QStringLiteral("about.htm"));
        QCOMPARE(child<QComboBox>(dialog, "Home")->currentText(), QStringLiteral("pages\\zoo.htm"));
        QCOMPARE(child<QComboBox>(dialog, "jump1")->currentText(), QStringLiteral("https://example.org/"));
        QCOMPARE(child<QComboBox>(dialog, "Jump2")->currentText(), QString());
        QCOMPARE(child<QLineEdit>(dialog, "Jump2Text")->text(), QStringLiteral("Ж"));
        const std::pair<const char*, const char*> fields[] = {
            {"winLeft", "80"}, {"WinTop", "70"}, {"WinWidth", "650"}, {"WINheight", "430"}};
        for (const auto& [name, text] : fields) {
            QCOMPARE(child<QLineEdit>(dialog, name)->text(), QString::fromLatin1(text));
            QVERIFY(child<QLineEdit>(dialog, name)->isReadOnly());
        }
        QCOMPARE(child<QSpinBox>(dialog, "PaneWidth")->value(), 50);
        QCOMPARE(child<QTabWidget>(dialog, "PageControl1")->currentIndex(), 0);

        // Every box carries its word and bit, and is ticked exactly when
        // its bit is set: here "Use Navigation Pane and Topics", "Hide/Show"
        // and "Back".
        int boxes = 0;
        for (FlagWord word : kFlagWords) {
            for (const FlagBox& box : flagBoxes(word)) {
                auto* check = child<QCheckBox>(dialog, box.control);
                QCOMPARE(check->property("flagWord").toInt(), static_cast<int>(word));
                QCOMPARE(check->property("bit").toUInt(), box.bit);
                const bool ticked = QString::fromLatin1(box.control) == QLatin1String("CheckBox2") ||
                                    QString::fromLatin1(box.control) == QLatin1String("CheckBox6") ||
                                    QString::fromLatin1(box.control) == QLatin1String("CheckBox7");
                QVERIFY2(check->isChecked() == ticked, box.control);
                ++boxes;
            }
        }
        QCOMPARE(boxes, 46);
    }

    void anEmptyFileListLeavesOnlyTyping()
    {
        MemorySettingsStore settings;
        TProjectProperties dialog(settings, {}, propertiesFromWindow({}), {});
        auto* items = child<QComboBox>(dialog, "Items");
        QCOMPARE(items->count(), 0);
        QVERIFY(items->isEditable());
        QCOMPARE(items->currentText(), QStringLiteral("(not defined)"));
        items->setEditText(QStringLiteral("Pages\\Start.htm"));
        QCOMPARE(dialog.values().defaultTopic, "Pages\\Start.htm");
    }

    void okHandsBackTheEditsIntoTheHelpProjectFile()
    {
        MemorySettingsStore settings;
        Project project = sampleProject();
        TProjectProperties dialog(settings, projectFileChoices(project), propertiesFromWindow(project.windowSettings),
                                  {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* pages = child<QTabWidget>(dialog, "PageControl1");
        child<QCheckBox>(dialog, "CheckBox4")->click();  // search tab
        pages->setCurrentIndex(1);
        child<QCheckBox>(dialog, "CheckBox35")->click();  // popup
        child<QCheckBox>(dialog, "CheckBox20")->click();  // minimize box
        pages->setCurrentIndex(2);
        child<QCheckBox>(dialog, "CheckBox47")->click();  // static edge
        child<QComboBox>(dialog, "Items")->setCurrentIndex(1);
        child<QLineEdit>(dialog, "Jump1Text")->setText(QStringLiteral("Site"));
        child<QLineEdit>(dialog, "Jump2Text")->setText(QStringLiteral("FAQ"));
        child<QPushButton>(dialog, "Button1")->click();
        QCOMPARE(dialog.result(), QDialog::Accepted);

        confirmProjectProperties(project, dialog.values());
        const WindowSettings& window = project.windowSettings;
        QVERIFY(project.modified);
        QCOMPARE(window.navigationStyle, 32 | 1024);
        QCOMPARE(window.buttons, 2 | 4);
        QCOMPARE(window.windowStyle, static_cast<std::int32_t>(0x80020000u));
        QVERIFY(window.windowStyle < 0);
        QCOMPARE(window.extendedStyle, 131072);
        QCOMPARE(window.navigationPaneWidth, 50);
        QCOMPARE(window.defaultTopic, std::string("pages\\zoo.htm"));
        QCOMPARE(window.jump1Text, std::string("Site"));

        const std::string definition = buildWindowDefinition(project);
        // The flag words in hex, the pane width and the frame as left, top,
        // right and bottom.
        QVERIFY2(definition.find(",0x420,50,0x6,[80,70,730,500],0x80020000,0x20000,") != std::string::npos,
                 definition.c_str());
        QVERIFY2(definition.find("https://example.org/,Site,,FAQ,") != std::string::npos, definition.c_str());
        const std::string hhp = helpProjectFileText(project, "/home/ann/log.txt");
        QVERIFY(hhp.find("\r\nFull-text search=Yes\r\n") != std::string::npos);
    }

    void cancelAndTheTitleBarHandBackNothing()
    {
        MemorySettingsStore settings;
        for (int way = 0; way < 2; ++way) {
            TProjectProperties dialog(settings, {}, propertiesFromWindow({}), {});
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            child<QCheckBox>(dialog, "CheckBox1")->click();
            if (way == 0)
                child<QPushButton>(dialog, "Button2")->click();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), QDialog::Rejected);
        }
    }

    void thePaneWidthIsBroughtIntoRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("width");
        QTest::newRow("below") << "20" << 50;
        QTest::newRow("above") << "5000" << 1000;
        QTest::newRow("inside") << "333" << 333;
        QTest::newRow("nothing") << "" << 50;
    }

    void thePaneWidthIsBroughtIntoRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, width);
        MemorySettingsStore settings;
        TProjectProperties dialog(settings, {}, propertiesFromWindow({}), {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1);
        auto* pane = child<PaneWidthBox>(dialog, "PaneWidth");
        pane->setFocus();
        pane->selectAll();
        QTest::keyClick(pane, Qt::Key_Delete);
        QTest::keyClicks(pane, typed);
        QCOMPARE(dialog.values().paneWidth, width);
        // Leaving the field shows the number it became.
        child<QCheckBox>(dialog, "CheckBox22")->setFocus();
        QCOMPARE(pane->value(), width);
        QCOMPARE(pane->text(), QString::number(width));
    }

    void adjustTakesTheAutoSizersFrameOnlyWhenConfirmed()
    {
        MemorySettingsStore settings;
        std::vector<WindowFrame> shown;
        std::vector<QWidget*> owners;
        std::optional<WindowFrame> answer = WindowFrame{-10, 5, 800, 600};
        TProjectProperties dialog(settings, {}, propertiesFromWindow({}),
                                  [&](const WindowFrame& frame, QWidget& owner) {
                                      owners.push_back(&owner);
                                      shown.push_back(frame);
                                      return answer;
                                  });
        auto* adjust = child<QPushButton>(dialog, "SpeedButton1");
        adjust->click();
        QCOMPARE(dialog.shownFrame(), (WindowFrame{-10, 5, 800, 600}));
        answer.reset();
        adjust->click();
        QCOMPARE(dialog.shownFrame(), (WindowFrame{-10, 5, 800, 600}));
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(shown[0], (WindowFrame{80, 70, 650, 430}));
        QCOMPARE(shown[1], (WindowFrame{-10, 5, 800, 600}));
        QCOMPARE(owners, (std::vector<QWidget*>{&dialog, &dialog}));
        const ProjectPropertiesValues values = dialog.values();
        QCOMPARE((std::array{values.left, values.top, values.width, values.height}),
                 (std::array<std::int32_t, 4>{-10, 5, 800, 600}));
    }

    void takesItsTextsFromTheStringTable()
    {
        MemorySettingsStore settings;
        settings.write("Language", "4000");
        TProjectProperties dialog(settings, {}, propertiesFromWindow({}), {});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Свойства проекта"));
        QCOMPARE(child<QTabWidget>(dialog, "PageControl1")->tabText(1), QStringLiteral("Окно справки"));
        QVERIFY(child<QCheckBox>(dialog, "CheckBox2")->text() != QStringLiteral("Use Navigation Pane and Topics"));
        QVERIFY(!child<QCheckBox>(dialog, "CheckBox2")->text().isEmpty());
        QCOMPARE(child<QCheckBox>(dialog, "CheckBox35")->text(), QStringLiteral("Popup"));
        QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QStringLiteral("Jump1:"));
        auto* language = child<QComboBox>(dialog, "HelpLanguage");
        QCOMPARE(language->itemText(0), QStringLiteral("Автоматически (по тексту)"));
        QCOMPARE(language->itemText(language->findData(0x419)), QStringLiteral("Русский \u2013 Windows-1251"));
    }

    void theHelpFilesLanguageIsChosenFromTheList()
    {
        MemorySettingsStore settings;
        Project project = sampleProject();
        project.helpLanguageId = 0x415;
        TProjectProperties dialog(settings, {}, propertiesFromProject(project), {});
        auto* language = child<QComboBox>(dialog, "HelpLanguage");
        QCOMPARE(language->currentText(), QStringLiteral("Polish \u2013 Windows-1250"));
        QCOMPARE(language->findData(0x405) + 1, language->currentIndex());  // beside Czech, same code page
        QCOMPARE(language->count(), 16);

        language->setCurrentIndex(language->findData(0x411));
        confirmProjectProperties(project, dialog.values());
        QCOMPARE(project.helpLanguageId, 0x411);
        language->setCurrentIndex(0);
        confirmProjectProperties(project, dialog.values());
        QCOMPARE(project.helpLanguageId, 0);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ProjectPropertiesDialogTest)
#include "project_properties_dialog_test.moc"
