// The Index page in the main window, driven as a user drives it: keys,
// clicks and in-place editing on KeyView, the buttons of ToolBar4 and
// AddKeyw on the contents tool bar, with a scripted desktop. The model is
// checked for consistency throughout.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "core/project_file.h"
#include "qt_test_support.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/index/index_page.h"
#include "ui/index/keyword_properties_dialog.h"
#include "ui/index/list_models.h"

namespace doxel {

using test::WindowFixture;

namespace {

QString keywordsOf(const Project& project)
{
    QStringList words;
    for (const KeywordEntry& row : project.keywords)
        words << QString::fromStdString(row.keyword);
    return words.join(QStringLiteral(", "));
}

// The sample project in a shown window on its Index page, with the first
// four keywords only: installation, system requirements, tide table,
// spring tides.
struct IndexWindow {
    explicit IndexWindow(WindowFixture& f)
        : form(f.create(f.sample())),
          page(*form.findChild<IndexPage*>()),
          view(*page.keyView()),
          model(form.keywordModel()),
          tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.pageControl()->setCurrentWidget(&page);
        view.setFocus();
        // Four rows are enough: delete the rest from the end.
        while (form.project().keywords.size() > 4) {
            selectRow(static_cast<int>(form.project().keywords.size()) - 1);
            QTest::keyClick(&view, Qt::Key_Delete);
        }
        form.project().modified = false;
    }

    void selectRow(int row)
    {
        view.selectionModel()->setCurrentIndex(model.index(row, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    int selectedRow() const
    {
        const QModelIndexList rows = view.selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    QString keywords() const { return keywordsOf(form.project()); }

    TMainForm& form;
    IndexPage& page;
    KeyView& view;
    KeywordModel& model;
    QAbstractItemModelTester tester;
};

}  // namespace

class IndexCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void keysOfKeyView_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<int>("selected");
        QTest::newRow("Ctrl+Up moves up") << int(Qt::Key_Up) << int(Qt::ControlModifier) << 1
                                          << "system requirements, installation, tide table, spring tides" << 0;
        QTest::newRow("Ctrl+Down moves down") << int(Qt::Key_Down) << int(Qt::ControlModifier) << 1
                                              << "installation, tide table, system requirements, spring tides" << 2;
        QTest::newRow("Ctrl+Up on the first row") << int(Qt::Key_Up) << int(Qt::ControlModifier) << 0
                                                  << "installation, system requirements, tide table, spring tides" << 0;
        QTest::newRow("Delete deletes") << int(Qt::Key_Delete) << 0 << 1 << "installation, tide table, spring tides"
                                        << 1;
        QTest::newRow("Down only moves the selection")
            << int(Qt::Key_Down) << 0 << 1 << "installation, system requirements, tide table, spring tides" << 2;
    }

    void keysOfKeyView()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, row);
        QFETCH(QString, keywords);
        QFETCH(int, selected);
        WindowFixture f;
        IndexWindow w(f);
        w.selectRow(row);
        QTest::keyClick(&w.view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.keywords(), keywords);
        QCOMPARE(w.selectedRow(), selected);
        QCOMPARE(w.view.currentIndex().row(), selected);
        QVERIFY(w.form.project().modified);
        QVERIFY(f.desktop.finished());
    }

    void f2AndDoubleClickEditInABox()
    {
        WindowFixture f;
        IndexWindow w(f);
        w.selectRow(2);
        f.desktop.answerInput(std::string("tidal range"));
        QTest::keyClick(&w.view, Qt::Key_F2);
        QCOMPARE(w.keywords(), QStringLiteral("installation, system requirements, tidal range, spring tides"));
        QVERIFY(!w.view.isPersistentEditorOpen(w.model.index(2, 0)));

        const QRect row = w.view.visualRect(w.model.index(0, 1));
        f.desktop.answerInput(std::nullopt);
        QTest::mouseDClick(w.view.viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(w.selectedRow(), 0);
        QCOMPARE(w.keywords(), QStringLiteral("installation, system requirements, tidal range, spring tides"));
        QVERIFY(f.desktop.finished());
    }

    void aClickOnTheSelectedKeywordEditsItInPlace()
    {
        WindowFixture f;
        IndexWindow w(f);
        w.form.findChild<QAction*>(QStringLiteral("SortButton"))->trigger();
        QCOMPARE(w.keywords(), QStringLiteral("installation, spring tides, system requirements, tide table"));
        w.selectRow(0);
        const QPoint centre = w.view.visualRect(w.model.index(0, 0)).center();
        QTest::mouseClick(w.view.viewport(), Qt::LeftButton, {}, centre);
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        line->setText(QStringLiteral("wind"));
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_COMPARE(w.keywords(), QStringLiteral("spring tides, system requirements, tide table, wind"));
        QCOMPARE(w.selectedRow(), 3);  // the edited row stays selected in its sorted place
        QCOMPARE(w.form.project().keywords[3].topicFile, f.folder.file("sample/pages/installing.htm"));

        // Saving takes a keyword still being edited.
        w.selectRow(0);
        QTest::mouseClick(w.view.viewport(), Qt::LeftButton, {}, centre);
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
        qobject_cast<QLineEdit*>(QApplication::focusWidget())->setText(QStringLiteral("neap tides"));
        f.action(Command::SaveProjectButton)->trigger();
        Project saved;
        readProjectFile(saved, f.sample());
        QCOMPARE(keywordsOf(saved), QStringLiteral("neap tides, system requirements, tide table, wind"));
        QVERIFY(!w.form.project().modified);
    }

    void upAndDownAreDisabledWhileSortingIsAutomatic()
    {
        WindowFixture f;
        IndexWindow w(f);
        QAction* sort = f.action(Command::SortKeywordsButton);
        QAction* up = f.action(Command::KeywordUpButton);
        QAction* down = f.action(Command::KeywordDownButton);
        QVERIFY(up->isEnabled() && down->isEnabled());
        QVERIFY(!sort->isChecked());
        sort->trigger();
        QVERIFY(sort->isChecked());
        QVERIFY(!up->isEnabled() && !down->isEnabled());
        // The keys still move, but never out of the sorted order.
        w.selectRow(1);
        QTest::keyClick(&w.view, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(w.keywords(), QStringLiteral("installation, spring tides, system requirements, tide table"));
        sort->trigger();
        QVERIFY(up->isEnabled() && down->isEnabled());
        up->trigger();
        QCOMPARE(w.keywords(), QStringLiteral("spring tides, installation, system requirements, tide table"));

        // The mode outlasts the project; an opened list is put in order.
        sort->trigger();
        f.desktop.answerMessage(MessageAnswer::No);
        f.desktop.answerFile(f.sample());
        f.action(Command::OpenProjectButton)->trigger();
        QVERIFY(sort->isChecked() && !up->isEnabled());
        const auto& rows = w.form.project().keywords;
        QCOMPARE(QString::fromStdString(rows.front().keyword), QStringLiteral("Büsum"));
        QVERIFY(!w.form.project().modified);
        QVERIFY(f.desktop.finished());
    }

    void headerClicksSortOnceInTurn()
    {
        WindowFixture f;
        IndexWindow w(f);
        QHeaderView* header = w.view.header();
        const auto click = [&](int column) {
            const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        };
        click(1);
        QCOMPARE(w.keywords(), QStringLiteral("installation, system requirements, tide table, spring tides"));
        click(0);
        QCOMPARE(w.keywords(), QStringLiteral("installation, spring tides, system requirements, tide table"));
        click(0);
        QCOMPARE(w.keywords(), QStringLiteral("tide table, system requirements, spring tides, installation"));
    }

    void editKeywordOpensItsPropertiesWithTheProjectsFiles()
    {
        WindowFixture f;
        IndexWindow w(f);
        w.selectRow(0);
        const std::string tour = f.folder.file("sample/pages/tour.htm");
        QVERIFY(w.form.project().fileList.contains(tour));
        f.dialogs.answer<TKeywordProperties>([](TKeywordProperties& dialog) {
            QCOMPARE(dialog.keywordEdit()->text(), QStringLiteral("installation"));
            dialog.keywordEdit()->setText(QStringLiteral("setting up"));
            const int row = dialog.fileCombo()->findText(QStringLiteral("pages\\tour.htm"));
            QVERIFY(row > 0);
            dialog.fileCombo()->setCurrentIndex(row);
            dialog.accept();
        });
        f.action(Command::EditKeywordButton)->trigger();
        const KeywordEntry& edited = *std::find_if(w.form.project().keywords.begin(), w.form.project().keywords.end(),
                                                   [](const KeywordEntry& row) { return row.keyword == "setting up"; });
        QCOMPARE(edited.topicFile, tour);
        QVERIFY(f.dialogs.finished());

        // Ctrl+Z on the Index page, where the tree's commands are disabled.
        QVERIFY(!w.form.actions().action(Command::AddTopics)->isEnabled());
        QTest::keyClick(&w.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.keywords(), QStringLiteral("installation, system requirements, tide table, spring tides"));
    }

    void addKeywordTakesTheFileOfTheSelectedTopic()
    {
        WindowFixture f;
        IndexWindow w(f);
        ContentsPage& contents = *w.form.contentsPage();
        w.form.pageControl()->setCurrentWidget(&contents);
        ContentsEntry& tour = *w.form.project().titleEntry().child(1)->child(1);
        QCOMPARE(QString::fromStdString(tour.caption), QStringLiteral("A quick tour"));
        contents.selectEntry(&tour);
        f.desktop.answerInput(std::string("tour"));
        f.action(Command::AddKeywordToEntryButton)->trigger();
        QCOMPARE(QString::fromStdString(w.form.project().keywords.back().keyword), QStringLiteral("tour"));
        QCOMPARE(w.form.project().keywords.back().topicFile, tour.topicFile);
        QCOMPARE(w.selectedRow(), 4);

        contents.selectEntry(w.form.project().titleEntry().child(1));  // a header
        f.action(Command::AddKeywordButton)->trigger();
        QCOMPARE(f.desktop.beeps, 1);
        QCOMPARE(w.form.project().keywords.size(), std::size_t{5});
        QVERIFY(f.desktop.finished());
    }

    void deleteAllAsksAndAMissingFileIsMarked()
    {
        WindowFixture f;
        IndexWindow w(f);
        w.form.project().keywords[1].topicFile = f.folder.file("sample/pages/gone.htm");
        QVERIFY(w.model.data(w.model.index(0, 1), Qt::DecorationRole).isNull());
        QVERIFY(!w.model.data(w.model.index(1, 1), Qt::DecorationRole).isNull());
        QVERIFY(w.model.data(w.model.index(1, 0), Qt::DecorationRole).isNull());

        f.desktop.answerMessage(MessageAnswer::No);
        f.action(Command::DeleteAllKeywordsButton)->trigger();
        QCOMPARE(w.model.rowCount(), 4);
        QCOMPARE(f.desktop.messages.at(0).text,
                 std::string("Are you sure you want to\n\rclear the entire keywords list?"));
        QCOMPARE(f.desktop.messages.at(0).defaultAnswer, MessageAnswer::No);
        f.desktop.answerMessage(MessageAnswer::Yes);
        f.action(Command::DeleteAllKeywordsButton)->trigger();
        QCOMPARE(w.model.rowCount(), 0);
        f.action(Command::DeleteAllKeywordsButton)->trigger();
        QCOMPARE(f.desktop.beeps, 1);
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::IndexCommandsTest)
#include "index_commands_test.moc"
