// The main window under the offscreen platform: its start-up state, the
// document commands, the recent projects, the close query, the language
// switch and the error box, driven through the real actions with a scripted
// desktop.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "core/project_file.h"
#include "qt_test_support.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/index/list_models.h"
#include "ui/kit/icons.h"
#include "ui/logic/caption_table.h"
#include "ui/logic/string_table.h"
#include "ui/main/qt_translations.h"
#include "ui/main/window_actions.h"

namespace doxel {

using test::WindowFixture;

class MainFormTest : public QObject {
    Q_OBJECT

private:
    static QString text(const std::string& s) { return QString::fromStdString(s); }

private slots:
    void everyCommandAndMenuHasItsOwnNamedControl()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        for (std::size_t n = 0; n < kCommandCount; ++n) {
            const auto command = static_cast<Command>(n);
            const QString name = QString::fromLatin1(doxel::objectName(command));
            QVERIFY2(form.actions().action(command) != nullptr, qPrintable(name));
            QCOMPARE(form.actions().action(command)->objectName(), name);
            // Two commands with one name would reach the same control.
            QVERIFY2(commandNamed(name) == command, qPrintable(name));
        }
        for (std::size_t n = 0; n < kMenuCount; ++n) {
            const auto menu = static_cast<Menu>(n);
            const QString name = QString::fromLatin1(doxel::objectName(menu));
            QVERIFY2(form.actions().menu(menu) != nullptr, qPrintable(name));
            QCOMPARE(form.actions().menu(menu)->objectName(), name);
            QVERIFY2(menuNamed(name) == menu, qPrintable(name));
            QVERIFY2(!commandNamed(name), qPrintable(name));
        }
        QVERIFY(!commandNamed(QStringLiteral("Compile")));
    }

    void documentCommandsHaveTheDesktopsKeys_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("new") << "New1" << QKeySequence(QKeySequence::New);
        QTest::newRow("open") << "OpenProject1" << QKeySequence(QKeySequence::Open);
        QTest::newRow("save") << "Saveproject1" << QKeySequence(QKeySequence::Save);
        QTest::newRow("save as") << "SaveprojectAs1" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("undo") << "Undo1" << QKeySequence(QKeySequence::Undo);
        QTest::newRow("redo") << "Redo1" << QKeySequence(QKeySequence::Redo);
        QTest::newRow("quit") << "Exit1" << quitKey();
        QTest::newRow("the window's own Escape stays") << "Exit1" << QKeySequence(Qt::Key_Escape);
        QTest::newRow("compile") << "Compile1" << QKeySequence(Qt::Key_F9);
    }

    void documentCommandsHaveTheDesktopsKeys()
    {
        QFETCH(QString, command);
        QFETCH(QKeySequence, key);
        WindowFixture f;
        f.create();
        QVERIFY(!key.isEmpty());
        QVERIFY2(f.action(command.toLatin1().constData())->shortcuts().contains(key), qPrintable(key.toString()));
    }

    void theWindowOpensTheWayItWasLeft()
    {
        WindowFixture f;
        TMainForm& first = f.create();
        const QSize designed = first.size();
        auto* splitter = first.findChild<QSplitter*>(QStringLiteral("Splitter1"));
        first.resize(designed + QSize(140, 60));
        splitter->setSizes({200, 150});
        const QList<int> split = splitter->sizes();
        QVERIFY(first.close());

        f.form.reset();
        TMainForm& second = f.create();
        QCOMPARE(second.size(), designed + QSize(140, 60));
        QCOMPARE(second.findChild<QSplitter*>(QStringLiteral("Splitter1"))->sizes(), split);

        // A first start keeps the designed size.
        WindowFixture fresh;
        QCOMPARE(fresh.create().size(), designed);
    }

    void theGreyToolBarReadsAsEnabledBesideADisabledButton()
    {
        // Contrast of a 16-pixel rendering: the spread of the visible
        // pixels' lightness, and how opaque they are.
        struct Look {
            double spread = 0;
            double opacity = 0;
        };
        const auto look = [](const QIcon& icon, QIcon::Mode mode) {
            const QImage image = icon.pixmap(QSize(16, 16), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
            int darkest = 255;
            int lightest = 0;
            double alpha = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor color = image.pixelColor(x, y);
                    alpha += color.alphaF();
                    if (color.alpha() < 128)
                        continue;
                    darkest = std::min(darkest, color.lightness());
                    lightest = std::max(lightest, color.lightness());
                }
            }
            return Look{(lightest - darkest) / 255.0, alpha / (image.width() * image.height())};
        };
        for (const char* name : {"new", "open", "save", "compile", "wizard", "projectprops", "about"}) {
            const QIcon grey = toolbarIcon(name, false);
            const Look plain = look(grey, QIcon::Normal);
            const Look disabled = look(grey, QIcon::Disabled);
            const Look colored = look(toolbarIcon(name, true), QIcon::Normal);
            // Drawn as fully as the coloured art, with most of its
            // contrast, and clearly apart from the faded disabled look.
            QVERIFY2(plain.opacity >= 0.95 * colored.opacity, name);
            QVERIFY2(plain.spread >= 0.55 * colored.spread, name);
            QVERIFY2(disabled.opacity <= 0.4 * plain.opacity, name);
        }
    }

    void theTitleMarksUnsavedChanges()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        // A command that changes the project.
        f.action("Expandallitems1")->trigger();
        QVERIFY(!form.project().modified);
        f.action("Alphabetically1")->trigger();
        QVERIFY(form.project().modified);
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]*"));
        f.action("SaveButton")->trigger();
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        // A caption edited in place.
        form.contentsModel().setData(form.contentsModel().titleIndex(), QStringLiteral("Renamed"));
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]*"));
        // New starts without the mark.
        f.desktop.answerMessage(MessageAnswer::No);
        f.action("New1")->trigger();
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel"));
        QVERIFY(f.desktop.finished());
    }

    void startsWithAnEditableUntitledProject()
    {
        WindowFixture f;
        f.settings.write("Language", "1000");
        f.settings.write("TopicAsChild", "1");
        TMainForm& form = f.create();

        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel"));
        QCOMPARE(text(form.project().title()), QStringLiteral("Neues Projekt (Titel hierher)"));
        QCOMPARE(form.project().entryCount(), std::size_t{1});
        QVERIFY(!form.project().modified);
        ContentsPage* contents = form.contentsPage();
        QCOMPARE(contents->tree()->currentIndex(), form.contentsModel().titleIndex());
        QVERIFY(contents->tree()->isEditing());
        QVERIFY(!contents->imageCombo()->isEnabled());
        QCOMPARE(contents->imageCombo()->currentIndex(), -1);
        QCOMPARE(f.menu("File1")->title(), QStringLiteral("&Datei"));
        QCOMPARE(f.action("NewButton")->toolTip(), text(loadText(f.settings, 50)));
        QVERIFY(f.action("Insert")->isChecked());
        QVERIFY(f.action("ShowFiles")->isChecked());
        QVERIFY(form.fileView()->isVisibleTo(&form));
        QVERIFY(f.action("Donotsort1")->isChecked());
        QCOMPARE(f.associations, 1);
        // Settings defaults are written at start-up.
        QCOMPARE(text(f.settings.read("ProgressMinimum")), QStringLiteral("40"));
        QCOMPARE(text(f.settings.read("ToolbColored")), QStringLiteral("0"));
        QVERIFY(f.desktop.finished());
    }

    void hidesTheFileListWhenTheSettingSaysSo()
    {
        WindowFixture f;
        f.settings.write("ShowFileSystem", "yes");
        TMainForm& form = f.create();
        QVERIFY(!f.action("ShowFiles")->isChecked());
        QVERIFY(!form.fileView()->isVisibleTo(&form));
        f.action("ShowFiles")->trigger();
        QVERIFY(form.fileView()->isVisibleTo(&form));
        QCOMPARE(text(f.settings.read("ShowFileSystem")), QStringLiteral("1"));
    }

    void disablesOnlyTheCompileCommandsOfAnEmptyProject()
    {
        WindowFixture f;
        f.create();
        for (const char* name : {"Compile1", "CompileButton", "Viewlogfile1", "Launchcompiledfile1"}) {
            QVERIFY2(!f.action(name)->isEnabled(), name);
            QVERIFY2(f.action(name)->isVisible(), name);
        }
        for (const char* name :
             {"New1", "NewButton", "OpenProject1", "Saveproject1", "Exit1", "About1", "English1", "ShowFiles",
              "ProjectProperties1", "ProjectPropButton", "Preferences1", "Help2", "HelpVersion", "IEVersion",
              "TXTtoHTMLWizard1", "SearchandReplace2", "AddKeyButton", "SortButton", "KeyWordButton"})
            QVERIFY2(f.action(name)->isEnabled(), name);
    }

    void opensTheCommandLineProject()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        QCOMPARE(text(form.project().title()), QStringLiteral("Tidewater User Guide"));
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        QCOMPARE(form.contentsModel().rowCount(form.contentsModel().titleIndex()), 7);
        QCOMPARE(form.keywordModel().rowCount(), 13);
        QCOMPARE(form.fileListModel().rowCount(), static_cast<int>(form.project().fileList.size()));
        QVERIFY(form.contentsPage()->tree()->isExpanded(form.contentsModel().titleIndex()));
        QVERIFY(!form.contentsPage()->tree()->isEditing());
        QVERIFY(!form.contentsPage()->imageCombo()->isEnabled());
        QCOMPARE(text(f.settings.read("RUF")), text(f.sample() + "\a"));
        QVERIFY(f.desktop.finished());
    }

    void opensAChosenProjectAndListsItAmongTheRecentOnes()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        f.desktop.answerFile(f.sample());
        f.action("OpenButton")->trigger();
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        QCOMPARE(f.desktop.fileDialogs.at(0).title, std::string("Open project..."));
        const QList<QAction*> recent = f.menu("Recent")->actions();
        QCOMPARE(recent.size(), 1);
        QCOMPARE(recent[0]->text(), QStringLiteral("&1 sample.dxp"));
        QCOMPARE(recent[0]->toolTip(), text(f.sample()));
        QVERIFY(f.menu("Recent")->menuAction()->isEnabled());
        QVERIFY(f.desktop.finished());
    }

    void opensARecentProject()
    {
        WindowFixture f;
        f.settings.write("RUF", "/gone/away.dxp\a" + f.sample() + "\a");
        TMainForm& form = f.create();
        const QList<QAction*> recent = f.menu("Recent")->actions();
        QCOMPARE(recent.size(), 1);
        recent[0]->trigger();
        QCOMPARE(text(form.project().title()), QStringLiteral("Tidewater User Guide"));
        // The missing entry stays in the setting.
        QVERIFY(f.settings.read("RUF").starts_with("/gone/away.dxp\a"));
    }

    void reportsAFileThatCannotBeOpenedAndKeepsTheProject()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        test::writeFile(f.folder.file("bad.dxp"), "nonsense\r\n");
        f.desktop.answerFile(f.folder.file("bad.dxp"));
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action("OpenProject1")->trigger();
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});
        const MessageRequest& box = f.desktop.messages[0];
        QCOMPARE(text(box.caption), QStringLiteral("HTML Doxel"));
        QCOMPARE(box.icon, MessageIcon::Stop);
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QVERIFY(box.text.find("bad.dxp") != std::string::npos);
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel"));
        QCOMPARE(form.project().entryCount(), std::size_t{1});
    }

    void savesAnUntitledProjectThroughSaveAs()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        // The title typed in place is taken into the saved file.
        auto* editor = form.contentsPage()->tree()->indexWidget(form.contentsModel().titleIndex());
        QVERIFY(editor != nullptr);
        editor->setProperty("text", QStringLiteral("My manual"));
        f.desktop.answerFile(f.folder.file("manual"));
        f.action("SaveButton")->trigger();
        const std::string file = f.folder.file("manual.dxp");
        QVERIFY(std::filesystem::exists(file));
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [manual.dxp]"));
        QCOMPARE(text(f.settings.read("LastDir")), text(file));
        QCOMPARE(f.desktop.fileDialogs.at(0).title, std::string("Save project..."));
        Project saved;
        readProjectFile(saved, file);
        QCOMPARE(text(saved.title()), QStringLiteral("My manual"));
        QVERIFY(!form.project().modified);

        // Save of a named project writes without a dialog.
        form.project().modified = true;
        f.action("Saveproject1")->trigger();
        QVERIFY(!form.project().modified);
        QCOMPARE(f.desktop.fileDialogs.size(), std::size_t{1});
        QVERIFY(f.desktop.finished());
    }

    void showsTheErrorWhenASaveFails()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        form.project().modified = true;
        f.desktop.answerFile(f.folder.file("no/such/folder/x.dxp"));
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.action("SaveButton")->trigger();
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});
        const MessageRequest& box = f.desktop.messages[0];
        QCOMPARE(box.icon, MessageIcon::Stop);
        QCOMPARE(text(box.caption), QStringLiteral("HTML Doxel"));
        QVERIFY(box.text.ends_with("."));
        QVERIFY(form.project().modified);
        // Still untitled, with its changes unsaved.
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel*"));
    }

    void theLanguageMenuTicksTheCurrentLanguage()
    {
        WindowFixture f;
        f.settings.write("Language", "3000");
        f.create();
        const auto ticked = [&f] {
            QStringList names;
            for (Command item : kLanguageCommands) {
                if (f.action(item)->isChecked())
                    names << f.action(item)->objectName();
            }
            return names.join(QLatin1Char(','));
        };
        QCOMPARE(ticked(), QStringLiteral("Spanish1"));
        for (const char* item : {"Deutsch1", "English1", "Russian1", "French1"}) {
            f.action(item)->trigger();
            QCOMPARE(ticked(), QString::fromLatin1(item));
        }
        // Choosing the ticked language again keeps it ticked.
        f.action("French1")->trigger();
        QCOMPARE(ticked(), QStringLiteral("French1"));
    }

    void newStartsAFreshProjectAndRemembersTheOldOne()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        f.settings.write("RUF", "");
        f.action("NewButton")->trigger();
        QCOMPARE(form.project().entryCount(), std::size_t{1});
        QVERIFY(form.project().keywords.empty());
        QCOMPARE(form.keywordModel().rowCount(), 0);
        QCOMPARE(form.fileListModel().rowCount(), 0);
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel"));
        QCOMPARE(text(f.settings.read("RUF")), text(f.sample() + "\a"));
        QVERIFY(form.contentsPage()->tree()->isEditing());
        QCOMPARE(f.associations, 2);
        QVERIFY(f.desktop.finished());
    }

    void closeQueryAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");  // empty: the save dialog is cancelled
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("Cancel keeps the window") << int(MessageAnswer::Cancel) << QString() << false << false;
        QTest::newRow("No closes without saving") << int(MessageAnswer::No) << QString() << true << false;
        QTest::newRow("Yes saves, then closes")
            << int(MessageAnswer::Yes) << QStringLiteral("kept.dxp") << true << true;
        QTest::newRow("Yes with the save cancelled keeps the window")
            << int(MessageAnswer::Yes) << QString() << false << false;
    }

    void closeQueryAnswers()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        WindowFixture f;
        TMainForm& form = f.create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.project().modified = true;
        f.desktop.answerMessage(static_cast<MessageAnswer>(answer));
        if (answer == int(MessageAnswer::Yes))
            f.desktop.answerFile(saveAs.isEmpty() ? std::nullopt : std::optional(f.folder.file(saveAs.toStdString())));
        QCOMPARE(form.close(), closes);
        QCOMPARE(form.isVisible(), !closes);
        QCOMPARE(std::filesystem::exists(f.folder.file("kept.dxp")), written);
        QCOMPARE(text(f.desktop.messages.at(0).text), QStringLiteral("Save changes?"));
        QVERIFY(f.desktop.finished());
    }

    void escapeEndsTheTitleEditThenClosesTheWindow()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.contentsPage()->tree()->isEditing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(form.contentsPage()->tree()->isEditing() == false);
        QVERIFY(form.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }

    void switchesLanguageAtOnceButNotTheTitle()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        for (const Language& language : kLanguages) {
            f.action(language.menuItem)->trigger();
            QCOMPARE(text(f.settings.read("Language")), QString::number(language.offset));
            QCOMPARE(f.menu("File1")->title(), text(loadText(f.settings, 1)));
            QCOMPARE(f.action("New1")->text(), text(loadText(f.settings, 2)));
            QCOMPARE(f.action("UpButton")->toolTip(), text(loadText(f.settings, 63)));
            QCOMPARE(f.action("KeywUpButton")->toolTip(), f.action("UpButton")->toolTip());
            QCOMPARE(form.pageControl()->tabText(0), text(loadText(f.settings, 80)));
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("TOCLabel"))->text(), text(loadText(f.settings, 261)));
            QCOMPARE(form.keywordModel().headerData(0, Qt::Horizontal).toString(), text(loadText(f.settings, 83)));
            QCOMPARE(form.fileListModel().headerData(1, Qt::Horizontal).toString(), text(loadText(f.settings, 86)));
            QCOMPARE(f.action(language.menuItem)->text(), QString::fromLatin1(language.menuCaption));
            QCOMPARE(text(form.project().title()), QStringLiteral("Tidewater User Guide"));
            QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        }
        QCOMPARE(f.menu("File1")->title(), QStringLiteral("&Файл"));
    }

    void qtsOwnButtonsFollowTheLanguage()
    {
        if (!QFile::exists(QtTranslations::installedFolder() + QStringLiteral("/qtbase_de.qm")))
            QSKIP("Qt's translations are not installed (Debian: qt6-translations-l10n)");
        const auto cancelShown = [] {
            QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::Cancel);
            return box.button(QMessageBox::Cancel)->text();
        };
        {
            WindowFixture f;
            f.settings.write("Language", "4000");
            f.create();
            QCOMPARE(cancelShown(), QStringLiteral("Отмена"));
            f.action("Deutsch1")->trigger();
            QCOMPARE(cancelShown(), QStringLiteral("Abbrechen"));
            f.action("English1")->trigger();
            QCOMPARE(cancelShown(), QStringLiteral("Cancel"));
            f.action("Deutsch1")->trigger();
        }
        QCOMPARE(cancelShown(), QStringLiteral("Cancel"));
    }

    void appliesEveryCaptionOfTheTable()
    {
        WindowFixture f;
        f.settings.write("Language", "2000");
        TMainForm& form = f.create();
        for (const CaptionTableRow& row : captionTable()) {
            const QString expected = text(loadText(f.settings, row.id));
            const QString name = QString::fromLatin1(row.control.objectName());
            QString shown;
            if (row.kind == CaptionKind::Column)
                shown = (name == QLatin1String("KeyView") ? static_cast<QAbstractItemModel&>(form.keywordModel())
                                                          : form.fileListModel())
                            .headerData(row.column, Qt::Horizontal)
                            .toString();
            else if (row.kind == CaptionKind::Hint)
                shown = form.actions().actionNamed(name)->toolTip();
            else if (QMenu* menu = form.actions().menuNamed(name))
                shown = menu->title();
            else if (QAction* action = form.actions().actionNamed(name))
                shown = action->text();
            else if (auto* label = form.findChild<QLabel*>(name))
                shown = label->text();
            else
                shown = form.pageControl()->tabText(form.pageControl()->indexOf(form.findChild<QWidget*>(name)));
            QVERIFY2(shown == expected, row.control.objectName());
        }
    }

    void keepsUndoInTheEditMenuOnEveryPageAndTheTreeCommandsOnTheContentsPage()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        QAction* items = f.menu("Items1")->menuAction();
        QAction* addTopics = form.actions().action(Command::AddTopics);
        for (int page : {1, 2, 0}) {
            form.pageControl()->setCurrentIndex(page);
            QVERIFY(items->isEnabled());
            QCOMPARE(addTopics->isEnabled(), page == 0);
        }
        QVERIFY(form.actions().action(Command::Redo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    }

    void showsTheSelectedEntryInTheStatusLine()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        const ContentsModel& model = form.contentsModel();
        const QModelIndex welcome = model.index(0, 0, model.titleIndex());
        form.contentsPage()->tree()->setCurrentIndex(welcome);
        auto* status = form.findChild<QLabel*>(QStringLiteral("statusText"));
        QCOMPARE(status->text(), QStringLiteral("Welcome to Tidewater | welcome.htm"));
        QCOMPARE(form.contentsPage()->imageCombo()->currentIndex(), 10);
        form.contentsPage()->tree()->setCurrentIndex(model.index(1, 0, model.titleIndex()));
        QCOMPARE(status->text(), QStringLiteral("Getting started"));
    }

    void undoAndRedoFollowTheEditsAndTheSavedState()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QAction* undo = f.action(Command::Undo);
        QAction* redo = f.action(Command::Redo);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));

        ContentsModel& model = form.contentsModel();
        const int before = model.rowCount(model.titleIndex());
        form.contentsPage()->tree()->setCurrentIndex(model.index(1, 0, model.titleIndex()));
        f.desktop.answerMessage(MessageAnswer::Yes);  // delete with its children
        f.action(Command::DeleteEntry)->trigger();
        QCOMPARE(model.rowCount(model.titleIndex()), before - 1);
        QCOMPARE(undo->text(), QStringLiteral("&Undo Delete"));
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]*"));

        // The desktop's key, wherever the focus is in the window.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(model.rowCount(model.titleIndex()), before);
        QCOMPARE(test::shownTitle(form), QStringLiteral("HTML Doxel [sample.dxp]"));
        QCOMPARE(redo->text(), QStringLiteral("&Redo Delete"));
        redo->trigger();
        QCOMPARE(model.rowCount(model.titleIndex()), before - 1);
        QVERIFY(form.project().modified);

        // In another language the item names the step in it too.
        f.action("Deutsch1")->trigger();
        QCOMPARE(undo->text(), QStringLiteral("&Rückgängig: Löschen"));
        QVERIFY(f.desktop.finished());
    }

    void focusBackOffersTheProjectSavedInAnotherWindow()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCoreApplication::processEvents();
        ContentsModel& model = form.contentsModel();
        form.contentsPage()->tree()->setCurrentIndex(model.index(1, 0, model.titleIndex()));
        f.desktop.answerMessage(MessageAnswer::Yes);  // delete with its children
        f.action(Command::DeleteEntry)->trigger();
        QVERIFY(f.action(Command::Undo)->isEnabled());

        Project other;
        readProjectFile(other, f.sample());
        other.titleEntry().caption = "Saved elsewhere";
        NullProgress progress;
        writeProjectFile(other, f.sample(), progress);

        // Asked once the activation is over; the steps made on the old
        // project go with it.
        f.desktop.answerMessage(MessageAnswer::Yes);
        QEvent activation(QEvent::ActivationChange);
        QApplication::sendEvent(&form, &activation);
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});
        QCoreApplication::processEvents();
        QCOMPARE(f.desktop.messages.size(), std::size_t{2});
        QVERIFY(f.desktop.messages[1].text.find("changed on disk") != std::string::npos);
        QCOMPARE(text(form.project().title()), QStringLiteral("Saved elsewhere"));
        QVERIFY(!form.project().modified);
        QVERIFY(!f.action(Command::Undo)->isEnabled());

        // Nothing changed since: focus back asks nothing.
        QApplication::sendEvent(&form, &activation);
        QCoreApplication::processEvents();
        QCOMPARE(f.desktop.messages.size(), std::size_t{2});
        QVERIFY(f.desktop.finished());
    }

    void ctrlQClosesThroughTheCloseQuery()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        f.action("Alphabetically1")->trigger();
        f.desktop.answerMessage(MessageAnswer::Cancel);
        QTest::keySequence(QApplication::focusWidget(), quitKey());
        QVERIFY(form.isVisible());
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});
        f.desktop.answerMessage(MessageAnswer::No);
        QTest::keySequence(QApplication::focusWidget(), quitKey());
        QVERIFY(!form.isVisible());
        QVERIFY(f.desktop.finished());
    }

    void theFirstWindowTakesAboutTwoThirdsOfTheScreen()
    {
        WindowFixture f;
        TMainForm& form = f.create();
        const QSize screen = QApplication::primaryScreen()->availableGeometry().size();
        QVERIFY(form.width() >= screen.width() * 6 / 10);
        QVERIFY(form.height() >= screen.height() * 6 / 10);
        QVERIFY(form.width() <= screen.width());
    }

    void theWindowStartsWithoutTheWebEngine()
    {
        WindowFixture f;
        TMainForm& form = f.create(f.sample());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libQt6WebEngineCore"));
        QVERIFY(!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
    }

    void theViewerVersionIsNoWindowsBrowser()
    {
        WindowFixture f;
        f.create();
        QVERIFY(!f.action("IEVersion")->text().contains(QLatin1String("IE")));
        QVERIFY(f.form->findChild<QAction*>(QStringLiteral("HelpDownloads")) == nullptr);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::MainFormTest)
#include "main_form_test.moc"
