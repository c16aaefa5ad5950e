// The Qt model over the project's contents tree.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "core/project_file.h"
#include "editing/contents_editor.h"
#include "scripted_desktop.h"
#include "test_support.h"
#include "ui/contents/contents_model.h"
#include "ui/kit/icons.h"
#include "ui/logic/editor_desktop.h"

#include <QImage>
#include <QPixmap>

namespace doxel {

// The model as the window has it: the one editor changes the tree and
// reports straight to the model.
struct EditedModel {
    explicit EditedModel(Project& project)
        : editorDesktop(desktop, settings, project, {}),
          editor(project, settings, editorDesktop, progress),
          model(project)
    {
        editor.setObserver(&model);
        model.setEditor(&editor);
    }
    ~EditedModel() { editor.setObserver(nullptr); }

    // Every level of the model shows the entries of the tree, in order.
    static bool showsTheTree(const ContentsModel& model, const ContentsEntry& parent, const QModelIndex& at)
    {
        if (model.rowCount(at) != int(parent.childCount()))
            return false;
        for (std::size_t row = 0; row < parent.childCount(); ++row) {
            const QModelIndex child = model.index(int(row), 0, at);
            if (model.entryAt(child) != parent.child(row) || model.parent(child) != at ||
                !showsTheTree(model, *parent.child(row), child))
                return false;
        }
        return true;
    }

    MemorySettingsStore settings;
    test::ScriptedDesktop desktop;
    WindowEditorDesktop editorDesktop;
    NullProgress progress;
    ContentsEditor editor;
    ContentsModel model;
};

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
        project.projectFile = "/p/book.dxp";
        EditedModel edited(project);
        ContentsModel& model = edited.model;
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

        // The editor's changes keep it consistent (the tester checks every
        // report) and showing the tree.
        ContentsEntry* entryA = model.entryAt(a);
        ContentsEditor& editor = edited.editor;
        editor.select(entryA->child(0));
        editor.addHeader();
        QVERIFY(EditedModel::showsTheTree(model, project.root(), {}));
        editor.moveSelected(MoveDirection::Left);
        QVERIFY(EditedModel::showsTheTree(model, project.root(), {}));
        editor.moveSelected(MoveDirection::Up);
        editor.moveSelected(MoveDirection::Right);
        QVERIFY(EditedModel::showsTheTree(model, project.root(), {}));
        editor.select(entryA);
        edited.desktop.answerMessage(MessageAnswer::Yes);
        editor.deleteSelected();
        QVERIFY(EditedModel::showsTheTree(model, project.root(), {}));
        QCOMPARE(model.rowCount(model.titleIndex()), int(project.titleEntry().childCount()));
        QVERIFY(edited.desktop.finished());
    }

    void findsParentsInDeepAndWideTrees()
    {
        Project project("Title");
        ContentsEntry* parent = &project.titleEntry();
        for (int level = 0; level < 2000; ++level)
            parent = parent->appendChild(std::make_unique<ContentsEntry>("deep", 0));
        for (int i = 0; i < 5000; ++i)
            project.titleEntry().appendChild(std::make_unique<ContentsEntry>("wide", 0));
        EditedModel edited(project);
        const ContentsModel& model = edited.model;
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
        EditedModel edited(project);
        ContentsModel& model = edited.model;
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        const QModelIndex title = model.titleIndex();
        QVERIFY(model.setData(title, QStringLiteral("Title")));
        QVERIFY(!project.modified);
        QCOMPARE(changed.count(), 0);
        QVERIFY(model.setData(title, QStringLiteral("Mein Handbuch")));
        QVERIFY(project.modified);
        QCOMPARE(project.title(), std::string("Mein Handbuch"));
        QCOMPARE(changed.count(), 1);

        // Without an editor the model only reads.
        ContentsModel alone(project);
        QVERIFY(!alone.setData(alone.titleIndex(), QStringLiteral("Other")));
        QCOMPARE(project.title(), std::string("Mein Handbuch"));
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
        EditedModel edited(project);
        QSignalSpy changed(&edited.model, &QAbstractItemModel::dataChanged);
        // The view expanding and collapsing the entry.
        edited.editor.entryExpanding(*header);
        QCOMPARE(header->iconNumber, expanded);
        QVERIFY(header->expanded);
        QCOMPARE(changed.count(), icon == expanded ? 0 : 1);
        edited.editor.entryCollapsing(*header);
        QCOMPARE(header->iconNumber, icon);
        QVERIFY(!project.modified);
    }
    // A picture missing from the resources or listed under the wrong number
    // shows as nothing or as its neighbour's picture in the chooser.
    void everyContentsNumberHasAPictureOfItsOwn()
    {
        QList<QImage> seen;
        for (int number = 0; number <= kLastIconNumber; ++number) {
            const QIcon icon = contentsIcon(number);
            QVERIFY2(!icon.isNull(), qPrintable(QString::number(number)));
            const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(16, 16));
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            QVERIFY2(opaque > 40, qPrintable(QStringLiteral("%1 is nearly empty").arg(number)));
            for (int other = 0; other < seen.size(); ++other)
                QVERIFY2(seen[other] != image, qPrintable(QStringLiteral("%1 looks like %2").arg(number).arg(other)));
            seen.append(image);
        }
        QVERIFY(contentsIcon(kLastIconNumber + 1).isNull());
        QVERIFY(contentsIcon(255).isNull());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ContentsModelTest)
#include "contents_model_test.moc"
