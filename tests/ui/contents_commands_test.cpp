// The contents commands in the main window, driven as a user drives them:
// keys and mouse gestures on the real tree, the menus and tool buttons,
// with a scripted desktop. The model is checked for consistency throughout.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "core/project_file.h"
#include "qt_test_support.h"
#include "ui/contents/contents_commands.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/contents/item_properties_dialog.h"
#include "ui/index/list_models.h"
#include "ui/kit/icons.h"

namespace doxel {

using test::WindowFixture;

namespace {

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

ContentsEntry* entryNamed(Project& project, const QString& caption)
{
    ContentsEntry* found = nullptr;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        if (found == nullptr && text(entry.caption) == caption)
            found = const_cast<ContentsEntry*>(&entry);
    });
    return found;
}

// The captions of an entry's children, "A, B, C".
QString childrenOf(const ContentsEntry* entry)
{
    QStringList captions;
    for (const auto& child : entry->children())
        captions << text(child->caption);
    return captions.join(QStringLiteral(", "));
}

QString statusText(TMainForm& form)
{
    return form.findChild<QLabel*>(QStringLiteral("statusText"))->text();
}

// The sample project in a shown window, with the model under test.
struct ShownWindow {
    explicit ShownWindow(WindowFixture& f, bool openSample = true)
        : form(f.create(openSample ? f.sample() : std::string())),
          tree(*form.contentsPage()->tree()),
          model(form.contentsModel()),
          tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
    }

    QModelIndex indexOf(const char* caption) { return model.indexOf(entryNamed(form.project(), caption)); }
    ContentsEntry* entry(const char* caption) { return entryNamed(form.project(), caption); }
    void select(const char* caption)
    {
        tree.setCurrentIndex(indexOf(caption));
        tree.setFocus();
    }
    QPoint centreOf(const char* caption)
    {
        const QModelIndex index = indexOf(caption);
        tree.scrollTo(index);
        return tree.visualRect(index).center();
    }

    TMainForm& form;
    ContentsTree& tree;
    ContentsModel& model;
    QAbstractItemModelTester tester;
};

}  // namespace

class ContentsCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void f2EditsACaptionInPlace_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("modified");
        QTest::newRow("Enter takes the new caption") << "Welcome to Tidewater"
                                                     << "Welcome aboard" << true << "Welcome aboard" << true;
        QTest::newRow("Escape keeps the old one, but the edit began")
            << "Welcome to Tidewater"
            << "Welcome aboard" << false << "Welcome to Tidewater" << true;
        QTest::newRow("the title entry too") << "Tidewater User Guide"
                                             << "Tidewater Handbook" << true << "Tidewater Handbook" << true;
        QTest::newRow("beginning to edit the title changes nothing")
            << "Tidewater User Guide"
            << "Tidewater Handbook" << false << "Tidewater User Guide" << false;
    }

    void f2EditsACaptionInPlace()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(bool, confirm);
        QFETCH(QString, caption);
        QFETCH(bool, modified);
        WindowFixture f;
        ShownWindow w(f);
        ContentsEntry* edited = entryNamed(w.form.project(), entry);
        w.tree.setCurrentIndex(w.model.indexOf(edited));
        w.tree.setFocus();
        QTest::keyClick(&w.tree, Qt::Key_F2);
        QVERIFY(w.tree.isEditing());
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(line != nullptr);
        // Delete does nothing while a caption is being edited.
        f.action("DeleteButton")->trigger();
        QCOMPARE(entryNamed(w.form.project(), entry), edited);
        line->setText(typed);
        // The tree takes a confirmed caption once the key has reached the
        // line editor, from the event loop.
        QTest::keyClick(line, confirm ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!w.tree.isEditing());
        QCOMPARE(text(edited->caption), caption);
        QCOMPARE(w.form.project().modified, modified);
        QCOMPARE(statusText(w.form).section(QStringLiteral(" | "), 0, 0), caption);
        // Delete is refused only while a caption is being edited.
        QVERIFY(!w.form.findChild<ContentsCommands*>()->editor().editingCaption());
    }

    void addHeaderSavesAnUntitledProjectFirstAndOpensTheCaption()
    {
        WindowFixture f;
        ShownWindow w(f, false);
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.desktop.answerFile(f.folder.file("book.dxp"));
        f.action("NewHeaderButton")->trigger();
        QCOMPARE(text(f.desktop.messages.at(0).text),
                 QStringLiteral("The project must be saved\n\rbefore adding any items..."));
        QCOMPARE(f.desktop.messages.at(0).icon, MessageIcon::Information);
        QCOMPARE(w.form.project().projectFile, f.folder.file("book.dxp"));
        ContentsEntry* header = w.form.project().titleEntry().child(0);
        QCOMPARE(text(header->caption), QStringLiteral("New header"));
        QCOMPARE(w.tree.currentIndex(), w.model.indexOf(header));
        QVERIFY(w.tree.isExpanded(w.model.titleIndex()));
        QVERIFY(w.tree.isEditing());
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(line != nullptr);
        QCOMPARE(line->selectedText(), QStringLiteral("New header"));
        QTest::keyClicks(line, QStringLiteral("Harbours"));
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_VERIFY(!w.tree.isEditing());
        QCOMPARE(text(header->caption), QStringLiteral("Harbours"));
        QCOMPARE(w.form.contentsPage()->imageCombo()->currentIndex(), 1);
        QVERIFY(w.form.contentsPage()->imageCombo()->isEnabled());

        // What was built is saved and comes back unchanged.
        f.action("SaveButton")->trigger();
        Project saved;
        readProjectFile(saved, f.folder.file("book.dxp"));
        QCOMPARE(childrenOf(&saved.titleEntry()), QStringLiteral("Harbours"));
        QVERIFY(f.desktop.finished());

        // A cancelled Save as adds nothing.
        f.action("NewButton")->trigger();
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.desktop.answerFile(std::nullopt);
        f.action("Addheader1")->trigger();
        QCOMPARE(w.form.project().entryCount(), std::size_t{1});
        QVERIFY(f.desktop.finished());
    }

    void dragAndDropWithTheMouse_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("asChild");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("children");
        QTest::newRow("after the target") << "Frequently asked questions"
                                          << "Welcome to Tidewater" << false << "Tidewater User Guide"
                                          << "Welcome to Tidewater, Frequently asked questions, Getting started, "
                                             "Working with tides, Planning a visit, Reference, "
                                             "Getting help and support";
        QTest::newRow("first child of the target with the toggle on")
            << "Frequently asked questions"
            << "Getting started" << true << "Getting started"
            << "Frequently asked questions, Installing Tidewater, A quick tour";
        QTest::newRow("onto its own child: nothing moves") << "Getting started"
                                                           << "A quick tour" << false << "Getting started"
                                                           << "Installing Tidewater, A quick tour";
        QTest::newRow("onto the title: level 0 after it") << "Getting help and support"
                                                          << "Tidewater User Guide" << false << ""
                                                          << "Tidewater User Guide, Getting help and support";
    }

    void dragAndDropWithTheMouse()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(bool, asChild);
        QFETCH(QString, parent);
        QFETCH(QString, children);
        WindowFixture f;
        ShownWindow w(f);
        if (asChild) {
            f.action("Insert")->trigger();
            QCOMPARE(text(f.settings.read("TopicAsChild")), QStringLiteral("1"));
        }
        w.tree.expand(w.indexOf("Getting started"));
        const QByteArray from = dragged.toUtf8();
        const QByteArray onto = target.toUtf8();
        QWidget* viewport = w.tree.viewport();
        const QPoint start = w.centreOf(from.constData());
        const QPoint end = w.centreOf(onto.constData());
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(0, end.y() > start.y() ? 3 : -3));
        QTest::mouseMove(viewport, start + QPoint(0, (end.y() - start.y()) / 2));
        QTest::mouseMove(viewport, end);
        QVERIFY(w.tree.isDragging());
        QCOMPARE(w.tree.dropTarget(), w.indexOf(onto.constData()));
        // Where the entry will land shows: a line under the target, or the
        // target highlighted with the toggle on.
        QCOMPARE(w.tree.dropIndicator(),
                 asChild ? ContentsTree::DropIndicator::Into : ContentsTree::DropIndicator::After);
        const QImage shown = viewport->grab().toImage();
        const QRect row = w.tree.visualRect(w.indexOf(onto.constData()));
        const auto highlighted = [&](QPoint at) {
            const QColor color = shown.pixelColor(at * shown.devicePixelRatio());
            return color == w.tree.palette().color(QPalette::Active, QPalette::Highlight) ||
                   color == w.tree.palette().color(QPalette::Inactive, QPalette::Highlight);
        };
        const QPoint underTarget(viewport->width() - 4, row.bottom() - 1);
        const QPoint besideCaption(viewport->width() - 4, row.center().y());
        QCOMPARE(highlighted(underTarget), true);
        QCOMPARE(highlighted(besideCaption), asChild);
        // The dragged entry became the selected one when the drag began.
        QCOMPARE(w.tree.currentIndex(), w.indexOf(from.constData()));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
        QVERIFY(!w.tree.isDragging());
        const ContentsEntry* owner = parent.isEmpty() ? &w.form.project().root() : entryNamed(w.form.project(), parent);
        QCOMPARE(childrenOf(owner), children);
        QVERIFY(w.form.project().modified);
        QCOMPARE(w.tree.currentIndex(), w.indexOf(from.constData()));
        QVERIFY(!w.tree.isEditing());
    }

    void theSelectionStaysWhereverTheTreeIsClicked()
    {
        WindowFixture f;
        ShownWindow w(f);
        QWidget* viewport = w.tree.viewport();
        const QModelIndex reference = w.indexOf("Reference");
        const QPoint below(10, viewport->height() - 5);
        QVERIFY(!w.tree.indexAt(below).isValid());
        const auto shownSelected = [&] {
            return w.tree.selectionModel()->selectedRows() == QModelIndexList{reference} &&
                   w.tree.currentIndex() == reference;
        };
        QTest::mouseClick(viewport, Qt::LeftButton, {}, w.centreOf("Reference"));
        QVERIFY(shownSelected());
        // Empty space below the entries, and a Ctrl+click on the entry.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
        QVERIFY(shownSelected());
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, w.centreOf("Reference"));
        QVERIFY(shownSelected());
        // Delete acts on the entry that is shown selected.
        if (w.entry("Reference")->childCount() > 0)
            f.desktop.answerMessage(MessageAnswer::Yes);
        f.action("DeleteButton")->trigger();
        QVERIFY(w.entry("Reference") == nullptr);
        QVERIFY(f.desktop.finished());
    }

    void aDragEndedWithEscapeMovesNothing()
    {
        WindowFixture f;
        ShownWindow w(f);
        QWidget* viewport = w.tree.viewport();
        const QPoint start = w.centreOf("Reference");
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start - QPoint(0, 30));
        QVERIFY(w.tree.isDragging());
        QTest::keyClick(&w.tree, Qt::Key_Escape);
        QVERIFY(!w.tree.isDragging());
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, start - QPoint(0, 30));
        QCOMPARE(w.form.project().titleEntry().child(4)->caption, std::string("Reference"));
        // The end of every drag marks the project; the window stays open.
        QVERIFY(w.form.project().modified);
        QVERIFY(w.form.isVisible());
    }

    void popUpMenuFollowsTheRightClickedEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("entrySelected");
        QTest::newRow("the title entry") << "Tidewater User Guide" << false;
        QTest::newRow("a header") << "Reference" << true;
        QTest::newRow("a topic") << "Frequently asked questions" << true;
    }

    void popUpMenuFollowsTheRightClickedEntry()
    {
        QFETCH(QString, entry);
        QFETCH(bool, entrySelected);
        WindowFixture f;
        ShownWindow w(f);
        QMenu* popup = w.form.itemPopup();
        const QByteArray caption = entry.toUtf8();
        QTest::mouseClick(w.tree.viewport(), Qt::RightButton, {}, w.centreOf(caption.constData()));
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(w.tree.currentIndex(), w.indexOf(caption.constData()));
        QCOMPARE(statusText(w.form).section(QStringLiteral(" | "), 0, 0), entry);
        QVERIFY(f.action("Edit1")->isEnabled());
        QVERIFY(f.action("Edit2")->isEnabled());
        QCOMPARE(f.action("Deleteitem")->isEnabled(), entrySelected);
        QCOMPARE(f.action("properties")->isEnabled(), entrySelected);
        QCOMPARE(f.menu("Assigncurrenticon1")->menuAction()->isEnabled(), entrySelected);
        // The editors and the preview need a topic's file.
        const bool topic = entry == QStringLiteral("Frequently asked questions");
        QCOMPARE(f.action("EditinNotepad1")->isEnabled(), topic);
        QCOMPARE(f.action("EditwithHTMLEditor1")->isEnabled(), topic);
        QCOMPARE(f.action("Preview")->isEnabled(), topic);
        popup->hide();

        // A right click on empty space opens nothing and selects nothing.
        const QModelIndex before = w.tree.currentIndex();
        QTest::mouseClick(w.tree.viewport(), Qt::RightButton, {}, QPoint(20, w.tree.viewport()->height() - 5));
        QTest::qWait(50);
        QVERIFY(!popup->isVisible());
        QCOMPARE(w.tree.currentIndex(), before);
    }

    void itemsMenuFollowsTheSelection()
    {
        WindowFixture f;
        ShownWindow w(f);
        QMenu* items = f.menu("Items1");
        struct Row {
            const char* entry;
            bool entrySelected;
            bool hasFile;
        };
        for (const Row& row : {Row{"Tidewater User Guide", false, false}, Row{"Reference", true, false},
                               Row{"Frequently asked questions", true, true}}) {
            w.select(row.entry);
            emit items->aboutToShow();
            QVERIFY2(f.action("Addheader1")->isEnabled(), row.entry);
            QVERIFY2(f.action("Addtopic1")->isEnabled(), row.entry);
            QVERIFY2(f.action("Delete1")->isEnabled() == row.entrySelected, row.entry);
            QVERIFY2(f.menu("AssignselectedIcon1")->menuAction()->isEnabled() == row.entrySelected, row.entry);
            QVERIFY2(f.action("Setasdefaulttopic1")->isEnabled() == row.hasFile, row.entry);
        }
    }

    void addTopicsThroughTheChooser_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("files");  // below the sample folder
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("children");
        QTest::addColumn<int>("newRows");
        QTest::newRow("the last entries of the selected entry's level, in the chooser's order")
            << "Installing Tidewater" << QStringList{"faq.htm", "pages/reference/menus.htm"} << "Getting started"
            << "Installing Tidewater, A quick tour, Frequently asked questions, Menus and commands" << 0;
        QTest::newRow("a page not yet listed gets a row")
            << "Tidewater User Guide" << QStringList{"extra/new.html"} << "Tidewater User Guide"
            << "Welcome to Tidewater, Getting started, Working with tides, Planning a visit, Reference, "
               "Frequently asked questions, Getting help and support, A new page"
            << 1;
    }

    void addTopicsThroughTheChooser()
    {
        QFETCH(QString, selected);
        QFETCH(QStringList, files);
        QFETCH(QString, parent);
        QFETCH(QString, children);
        QFETCH(int, newRows);
        WindowFixture f;
        const std::string sample = (f.folder.path() / "sample").string();
        test::writeFile(sample + "/extra/new.html", "<html><head><title>A new page</title></head></html>\r\n");
        ShownWindow w(f);
        const QByteArray at = selected.toUtf8();
        w.select(at.constData());
        const int rowsBefore = w.form.fileListModel().rowCount();
        std::vector<std::string> chosen;
        for (const QString& file : files)
            chosen.push_back(sample + "/" + file.toStdString());
        f.desktop.answerFiles(chosen);
        f.action("NewItemButton")->trigger();

        const FileDialogRequest& request = f.desktop.fileDialogs.at(0);
        QCOMPARE(text(request.title), QStringLiteral("Add Topic File..."));
        QCOMPARE(request.filters.size(), std::size_t{2});
        QCOMPARE(text(request.filters[0].patterns), QStringLiteral("*.htm;*.html"));
        QCOMPARE(text(request.initialFolder), text(sample + "/"));
        QCOMPARE(childrenOf(w.entry(parent.toUtf8().constData())), children);
        QCOMPARE(w.form.fileListModel().rowCount(), rowsBefore + newRows);
        QCOMPARE(w.form.fileView()->model()->rowCount(), rowsBefore + newRows);
        // The selection stays; the project's default topic stays.
        QCOMPARE(w.tree.currentIndex(), w.indexOf(at.constData()));
        QCOMPARE(text(w.form.project().windowSettings.defaultTopic), QStringLiteral("welcome.htm"));
        QVERIFY(w.form.project().modified);
        QVERIFY(f.desktop.finished());
    }

    void addTopicsRefusesAPageOutsideTheProjectFolder()
    {
        WindowFixture f;
        ShownWindow w(f);
        test::writeFile(f.folder.file("elsewhere/page.htm"), "<title>Far</title>\r\n");
        f.desktop.answerFiles({f.folder.file("elsewhere/page.htm"), f.sample()});
        f.desktop.answerMessage(MessageAnswer::Ok);
        const std::size_t before = w.form.project().entryCount();
        f.action("Addtopic1")->trigger();
        QCOMPARE(w.form.project().entryCount(), before);
        QCOMPARE(text(f.desktop.messages.at(0).caption), QStringLiteral("Warning"));
        QCOMPARE(f.desktop.messages.at(0).icon, MessageIcon::Warning);
        QVERIFY(
            text(f.desktop.messages.at(0).text).startsWith(QStringLiteral("The specified file(s) cannot be added.")));
        QVERIFY(!w.form.project().modified);
        QVERIFY(f.desktop.finished());
    }

    void pagesDroppedFromTheFileManagerBecomeTopicsWhereDropped()
    {
        WindowFixture f;
        ShownWindow w(f);
        const QString sample = QString::fromStdString(f.folder.file("sample"));
        test::writeFile(f.folder.file("sample/new/one.htm"), "<title>Dropped one</title>\r\n");
        test::writeFile(f.folder.file("sample/new/two.html"), "<title>Dropped two</title>\r\n");
        test::writeFile(f.folder.file("sample/new/notes.txt"), "");
        const auto drop = [&w](const QStringList& paths, const QPoint& at) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString& path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.tree.viewport(), &enter);
            QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.tree.viewport(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };

        ContentsEntry& target = *w.entry("Welcome to Tidewater");
        const std::size_t row = target.indexInParent();
        QVERIFY(drop({sample + QStringLiteral("/new")}, w.centreOf("Welcome to Tidewater")));
        ContentsEntry& parent = *target.parent();
        QCOMPARE(text(parent.child(row + 1)->caption), QStringLiteral("Dropped one"));
        QCOMPARE(text(parent.child(row + 2)->caption), QStringLiteral("Dropped two"));
        QCOMPARE(f.desktop.beeps, 0);  // a folder's other files (notes.txt) are simply not pages
        QVERIFY(w.form.project().fileList.contains(f.folder.file("sample/new/one.htm")));

        // A page outside the project folder: the message of Add topic(s).
        test::writeFile(f.folder.file("elsewhere/page.htm"), "<title>Far</title>\r\n");
        f.desktop.answerMessage(MessageAnswer::Ok);
        const std::size_t before = w.form.project().entryCount();
        drop({QString::fromStdString(f.folder.file("elsewhere/page.htm"))}, w.centreOf("Welcome to Tidewater"));
        QCOMPARE(w.form.project().entryCount(), before);
        QVERIFY(
            text(f.desktop.messages.at(0).text).startsWith(QStringLiteral("The specified file(s) cannot be added.")));

        // Undone as one step (the tree is the one from before the drop, not
        // the entries it had).
        f.action(Command::Undo)->trigger();
        QVERIFY(w.entry("Dropped one") == nullptr);
        QVERIFY(w.entry("Dropped two") == nullptr);
        QVERIFY(w.entry("Welcome to Tidewater") != nullptr);
        QVERIFY(f.desktop.finished());
    }

    void theFirstTopicOfANewProjectBecomesItsDefaultTopic()
    {
        WindowFixture f;
        ShownWindow w(f, false);
        test::writeFile(f.folder.file("book/pages/start.htm"), "<TITLE>Start here</TITLE>\r\n");
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.desktop.answerFile(f.folder.file("book/book.dxp"));
        f.desktop.answerFiles({f.folder.file("book/pages/start.htm")});
        f.action("Edit1")->trigger();
        QCOMPARE(childrenOf(&w.form.project().titleEntry()), QStringLiteral("Start here"));
        QCOMPARE(text(w.form.project().windowSettings.defaultTopic), QStringLiteral("pages\\start.htm"));
        QVERIFY(w.tree.isExpanded(w.model.titleIndex()));
        QVERIFY(f.desktop.finished());
    }

    void keysOfTheTree()
    {
        WindowFixture f;
        ShownWindow w(f);
        ContentsEntry* reference = w.entry("Reference");
        ContentsEntry& title = w.form.project().titleEntry();

        // Ctrl+Up moves the selected entry and it stays selected.
        w.select("Reference");
        QTest::keyClick(&w.tree, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(title.child(3), reference);
        QCOMPARE(w.tree.currentIndex(), w.model.indexOf(reference));
        QTest::keyClick(&w.tree, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(reference->parent(), w.entry("Working with tides"));
        QVERIFY(w.tree.isExpanded(w.indexOf("Working with tides")));
        QCOMPARE(w.tree.currentIndex(), w.model.indexOf(reference));
        QTest::keyClick(&w.tree, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(title.child(3), reference);

        // Enter opens and closes a header; the picture of a pair follows.
        QCOMPARE(reference->iconNumber, 2);
        QTest::keyClick(&w.tree, Qt::Key_Return);
        QVERIFY(w.tree.isExpanded(w.model.indexOf(reference)));
        QCOMPARE(reference->iconNumber, 3);
        QTest::keyClick(&w.tree, Qt::Key_Return);
        QVERIFY(!w.tree.isExpanded(w.model.indexOf(reference)));
        QCOMPARE(reference->iconNumber, 2);

        // Delete asks first for an entry with children; No keeps it.
        f.desktop.answerMessage(MessageAnswer::No);
        QTest::keyClick(&w.tree, Qt::Key_Delete);
        QCOMPARE(text(f.desktop.messages.at(0).text), QStringLiteral("Delete item including all child elements?"));
        QCOMPARE(f.desktop.messages.at(0).buttons, MessageButtons::YesNo);
        QCOMPARE(f.desktop.messages.at(0).defaultAnswer, MessageAnswer::No);
        QCOMPARE(title.child(3), reference);
        f.desktop.answerMessage(MessageAnswer::Yes);
        QTest::keyClick(&w.tree, Qt::Key_Delete);
        QVERIFY(w.entry("Reference") == nullptr);
        // The next sibling takes the selection.
        QCOMPARE(w.tree.currentIndex(), w.indexOf("Planning a visit"));
        QCOMPARE(statusText(w.form), QStringLiteral("Planning a visit"));
        QVERIFY(f.desktop.finished());
    }

    void theIconChooserSetsTheSelectedEntrysPicture()
    {
        WindowFixture f;
        ShownWindow w(f);
        IconCombo* chooser = w.form.contentsPage()->imageCombo();
        QVERIFY(!chooser->isEnabled());
        QCOMPARE(chooser->count(), 42);
        w.select("Frequently asked questions");
        QVERIFY(chooser->isEnabled());
        QCOMPARE(chooser->currentIndex(), 16);
        QVERIFY(!w.form.project().modified);
        chooser->setFocus();
        QTest::keyClick(chooser, Qt::Key_Down);
        QCOMPARE(w.entry("Frequently asked questions")->iconNumber, 17);
        QVERIFY(w.form.project().modified);

        // Assigning the chosen picture to all topics of the level.
        f.action("toalltopicsincurrentlevel1")->trigger();
        QCOMPARE(w.entry("Welcome to Tidewater")->iconNumber, 17);
        QCOMPARE(w.entry("Getting help and support")->iconNumber, 17);
        QCOMPARE(w.entry("Reference")->iconNumber, 2);
        QCOMPARE(w.entry("Installing Tidewater")->iconNumber, 8);
        QCOMPARE(w.model.data(w.indexOf("Welcome to Tidewater"), Qt::DecorationRole).value<QIcon>().cacheKey(),
                 contentsIcon(17).cacheKey());
    }

    void expandAllAndCollapseAllShowEveryLevel()
    {
        WindowFixture f;
        ShownWindow w(f);
        w.select("Berths and moorings");
        f.action("Expandallitems1")->trigger();
        forEachEntry(w.form.project().root(), [&](const ContentsEntry& entry, int) {
            if (entry.childCount() > 0)
                QVERIFY(w.tree.isExpanded(w.model.indexOf(&entry)));
        });
        QCOMPARE(w.entry("Harbours")->iconNumber, 3);
        f.action("Collapseallitems1")->trigger();
        forEachEntry(w.form.project().root(),
                     [&](const ContentsEntry& entry, int) { QVERIFY(!w.tree.isExpanded(w.model.indexOf(&entry))); });
        QCOMPARE(w.entry("Harbours")->iconNumber, 2);
        QCOMPARE(w.tree.currentIndex(), w.model.titleIndex());
        QVERIFY(!w.form.project().modified);
    }

    void sortingKeepsEveryLevelInOrderAndTheViewWithIt()
    {
        WindowFixture f;
        ShownWindow w(f);
        w.tree.expand(w.indexOf("Planning a visit"));
        w.select("Harbours");
        f.action("Alphabetically1")->trigger();
        QVERIFY(f.action("Alphabetically1")->isChecked());
        QVERIFY(!f.action("Donotsort1")->isChecked());
        QCOMPARE(childrenOf(&w.form.project().titleEntry()),
                 QStringLiteral("Frequently asked questions, Getting help and support, Getting started, "
                                "Planning a visit, Reference, Welcome to Tidewater, Working with tides"));
        QCOMPARE(childrenOf(w.entry("Planning a visit")), QStringLiteral("Harbours, Planning a passage"));
        // The view kept its selection and expanded entries through the
        // reordering.
        QCOMPARE(w.tree.currentIndex(), w.indexOf("Harbours"));
        QVERIFY(w.tree.isExpanded(w.indexOf("Planning a visit")));

        // A renamed entry takes its place among its siblings.
        w.select("Welcome to Tidewater");
        QTest::keyClick(&w.tree, Qt::Key_F2);
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(line != nullptr);
        line->setText(QStringLiteral("About Tidewater"));
        QTest::keyClick(line, Qt::Key_Return);
        QTRY_VERIFY(!w.tree.isEditing());
        QCOMPARE(w.form.project().titleEntry().child(0)->caption, std::string("About Tidewater"));
        QCOMPARE(w.tree.currentIndex(), w.indexOf("About Tidewater"));

        f.action("Donotsort1")->trigger();
        QVERIFY(f.action("Donotsort1")->isChecked());
        // The mode holds for the whole run: opening a project keeps it, New
        // starts unsorted again.
        f.action("Alphabetically1")->trigger();
        f.desktop.answerMessage(MessageAnswer::No);
        f.form->openRecentProject(f.sample());
        QVERIFY(f.action("Alphabetically1")->isChecked());
        QCOMPARE(f.form->findChild<ContentsCommands*>()->editor().sortMode(), SortMode::Alphabetical);
        f.action("New1")->trigger();
        QVERIFY(f.action("Donotsort1")->isChecked());
        QCOMPARE(f.form->findChild<ContentsCommands*>()->editor().sortMode(), SortMode::None);
        QVERIFY(f.desktop.finished());
    }

    void itemPropertiesApplyWhatTheDialogConfirms()
    {
        WindowFixture f;
        ShownWindow w(f);
        w.select("Frequently asked questions");
        f.dialogs.answer<TItemProperties>([](TItemProperties& dialog) {
            QCOMPARE(dialog.captionEdit()->text(), QStringLiteral("Frequently asked questions"));
            QCOMPARE(dialog.imageCombo()->currentIndex(), 16);
            dialog.captionEdit()->setText(QStringLiteral("Questions"));
            dialog.imageCombo()->setCurrentIndex(5);
            dialog.findChild<QToolButton*>(QStringLiteral("RemoveButton"))->click();
            dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        f.action("properties")->trigger();
        ContentsEntry* entry = w.entry("Questions");
        QVERIFY(entry != nullptr);
        QVERIFY(entry->isHeader());
        QCOMPARE(entry->iconNumber, 5);
        QCOMPARE(statusText(w.form), QStringLiteral("Questions"));
        QCOMPARE(w.form.contentsPage()->imageCombo()->currentIndex(), 5);
        QVERIFY(w.form.project().modified);

        // Cancel changes nothing.
        w.form.project().modified = false;
        f.dialogs.answer<TItemProperties>([](TItemProperties& dialog) {
            dialog.captionEdit()->setText(QStringLiteral("Gone"));
            dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
        f.action("properties")->trigger();
        QCOMPARE(entry->caption, std::string("Questions"));
        QVERIFY(!w.form.project().modified);

        // The title entry has no properties to edit.
        w.select("Tidewater User Guide");
        f.action("properties")->trigger();
        QCOMPARE(f.dialogs.shown.size(), std::size_t{2});
        QVERIFY(f.dialogs.finished());
        QVERIFY(f.desktop.finished());
    }

    void itemPropertiesRefuseAFileOutsideTheProjectFolder()
    {
        WindowFixture f;
        ShownWindow w(f);
        test::writeFile(f.folder.file("elsewhere/page.htm"), "<title>Far</title>\r\n");
        w.select("Frequently asked questions");
        f.desktop.answerFiles({f.folder.file("elsewhere/page.htm")});
        f.desktop.answerMessage(MessageAnswer::Ok);
        const std::string page = (f.folder.path() / "sample" / "pages" / "tour.htm").string();
        f.desktop.answerFiles({page});
        f.dialogs.answer<TItemProperties>([&](TItemProperties& dialog) {
            auto* open = dialog.findChild<QToolButton*>(QStringLiteral("OpenButton"));
            open->click();
            QCOMPARE(dialog.sourceEdit()->text(),
                     text(f.sample()).replace(QStringLiteral("sample.dxp"), QStringLiteral("faq.htm")));
            open->click();
            QCOMPARE(dialog.sourceEdit()->text(), text(page));
            dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        f.action("properties")->trigger();
        QCOMPARE(text(f.desktop.messages.at(0).caption), QStringLiteral("WARNING"));
        QCOMPARE(f.desktop.messages.at(0).icon, MessageIcon::Warning);
        QVERIFY(f.desktop.messages.at(0).text.starts_with("The file you specified could not be added"));
        // The chooser starts in the project folder.
        QCOMPARE(text(f.desktop.fileDialogs.at(0).initialFolder), text((f.folder.path() / "sample").string() + "/"));
        QCOMPARE(text(w.entry("Frequently asked questions")->topicFile), text(page));
        QVERIFY(f.dialogs.finished());
        QVERIFY(f.desktop.finished());
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::ContentsCommandsTest)
#include "contents_commands_test.moc"
