// The Qt model over the project's contents tree.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "core/project_file.h"
#include "test_support.h"
#include "ui/contents/contents_model.h"

namespace doxel {

class ContentsModelTest : public QObject {
    Q_OBJECT

private:
    static void fill(Project& project)
    {
        project.resetToNew("Title");
        ContentsEntry& title = project.titleEntry();
        ContentsEntry* a = title.appendChild(std::make_unique<ContentsEntry>("A", 2));
        a->appendChild(std::make_unique<ContentsEntry>("A1", 8, "/p/a1.htm"));
        a->appendChild(std::make_unique<ContentsEntry>("A2", 8, "/p/a2.htm"));
        title.appendChild(std::make_unique<ContentsEntry>("B", 9, "/p/b.htm"));
        project.root().appendChild(std::make_unique<ContentsEntry>("Dropped beside the title", 0));
    }

private slots:
    void adaptsTheTreeConsistently()
    {
        Project project;
        fill(project);
        ContentsModel model(project);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 2);
        const QModelIndex title = model.titleIndex();
        QCOMPARE(model.data(title).toString(), QStringLiteral("Title"));
        QCOMPARE(model.rowCount(title), 2);
        const QModelIndex a = model.index(0, 0, title);
        QCOMPARE(model.index(1, 0, a).data().toString(), QStringLiteral("A2"));
        QCOMPARE(model.parent(model.index(1, 0, a)), a);
        QCOMPARE(model.indexOf(a.constInternalPointer() ? model.entryAt(a) : nullptr), a);
        QVERIFY(!model.data(title, Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(!model.data(title, Qt::ToolTipRole).isValid());

        // Structure changes through the model keep it consistent.
        ContentsEntry* entryA = model.entryAt(a);
        model.insertEntry(entryA, 1, std::make_unique<ContentsEntry>("A1.5", 8));
        QCOMPARE(model.index(1, 0, a).data().toString(), QStringLiteral("A1.5"));
        model.moveEntry(entryA->child(0), &project.titleEntry(), 2);
        QCOMPARE(model.index(2, 0, title).data().toString(), QStringLiteral("A1"));
        model.moveEntry(project.titleEntry().child(2), entryA, 0);
        QCOMPARE(model.index(0, 0, a).data().toString(), QStringLiteral("A1"));
        auto taken = model.takeEntry(entryA);
        QCOMPARE(taken->caption, std::string("A"));
        QCOMPARE(model.rowCount(title), 1);
    }

    void findsParentsInDeepAndWideTrees()
    {
        Project project("Title");
        ContentsEntry* parent = &project.titleEntry();
        for (int level = 0; level < 2000; ++level)
            parent = parent->appendChild(std::make_unique<ContentsEntry>("deep", 0));
        for (int i = 0; i < 5000; ++i)
            project.titleEntry().appendChild(std::make_unique<ContentsEntry>("wide", 0));
        ContentsModel model(project);
        const QModelIndex deepest = model.indexOf(parent);
        QVERIFY(deepest.isValid());
        int depth = 0;
        for (QModelIndex at = deepest; at.isValid(); at = model.parent(at))
            ++depth;
        QCOMPARE(depth, 2001);
        const QModelIndex last = model.indexOf(project.titleEntry().child(5000));
        QCOMPARE(last.row(), 5000);
    }

    void editingACaptionMarksTheProjectModified()
    {
        Project project;
        fill(project);
        ContentsModel model(project);
        QSignalSpy edited(&model, &ContentsModel::captionEdited);
        const QModelIndex title = model.titleIndex();
        QVERIFY(model.setData(title, QStringLiteral("Title")));
        QVERIFY(!project.modified);
        QCOMPARE(edited.count(), 0);
        QVERIFY(model.setData(title, QStringLiteral("Mein Handbuch")));
        QVERIFY(project.modified);
        QCOMPARE(project.title(), std::string("Mein Handbuch"));
        QCOMPARE(edited.count(), 1);
    }

    void expandingSwitchesTheOpenAndClosedPictures_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("expanded");
        QTest::newRow("book 2 opens to 3") << 2 << 3;
        QTest::newRow("0 opens to 1") << 0 << 1;
        QTest::newRow("6 opens to 7") << 6 << 7;
        QTest::newRow("9 has no open form") << 9 << 9;
    }

    void expandingSwitchesTheOpenAndClosedPictures()
    {
        QFETCH(int, icon);
        QFETCH(int, expanded);
        Project project("Title");
        ContentsEntry* header = project.titleEntry().appendChild(std::make_unique<ContentsEntry>("H", icon));
        header->appendChild(std::make_unique<ContentsEntry>("child", 8));
        ContentsModel model(project);
        const QModelIndex at = model.indexOf(header);
        model.setExpanded(at, true);
        QCOMPARE(header->iconNumber, expanded);
        QVERIFY(header->expanded);
        model.setExpanded(at, false);
        QCOMPARE(header->iconNumber, icon);
        QVERIFY(!project.modified);
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ContentsModelTest)
#include "contents_model_test.moc"
