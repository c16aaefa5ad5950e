// The help ids in the window: the Edit menu's list with its Add, Edit and
// Delete, and the help id field of the item properties, on the main window
// with the sample project.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/path_rules.h"
#include "qt_test_support.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/contents_page.h"
#include "ui/contents/item_properties_dialog.h"
#include "ui/dialogs/help_ids_dialog.h"

namespace doxel {

using test::WindowFixture;

namespace {

// The sample opened and shown, with three help ids.
struct IdsWindow {
    explicit IdsWindow(WindowFixture& f)
        : form(f.create(f.sample())), folder(std::string(folderOf(f.sample()))), project(form.project())
    {
        form.show();
        project.helpIds = {{"IDH_WELCOME", 1000, folder + "welcome.htm"},
                           {"IDH_TOUR", 1001, folder + "pages/tour.htm"},
                           {"IDH_FAQ", 1002, folder + "faq.htm"}};
        original = project.helpIds;
        project.modified = false;
    }

    TMainForm& form;
    std::string folder;  // with its final "/"
    Project& project;
    std::vector<HelpId> original;
};

QStringList rowTexts(const THelpIds& dialog, int row)
{
    QStringList texts;
    for (int column = 0; column < 3; ++column)
        texts << dialog.model()->index(row, column).data().toString();
    return texts;
}

QStringList namesShown(const THelpIds& dialog)
{
    QStringList names;
    for (int row = 0; row < dialog.model()->rowCount(); ++row)
        names << dialog.model()->index(row, 0).data().toString();
    return names;
}

void selectRow(THelpIds& dialog, const char* name)
{
    const int row = static_cast<int>(namesShown(dialog).indexOf(QString::fromLatin1(name)));
    QVERIFY(row >= 0);
    dialog.view()->selectRow(row);
}

void clickHeader(THelpIds& dialog, int column)
{
    QHeaderView* header = dialog.view()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

}  // namespace

class HelpIdsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theListAddsEditsAndDeletesEachAsOneUndoStep()
    {
        WindowFixture f;
        IdsWindow w(f);
        // The list first; the questions its buttons ask come after it.
        f.dialogs.answer<THelpIds>([&](THelpIds& dialog) {
            for (const char* name : {"HelpIdView", "AddButton", "EditButton", "DeleteButton", "CloseButton"})
                QVERIFY2(dialog.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
            QCOMPARE(namesShown(dialog), (QStringList{"IDH_FAQ", "IDH_TOUR", "IDH_WELCOME"}));
            QCOMPARE(rowTexts(dialog, 1), (QStringList{"IDH_TOUR", "1001", "pages/tour.htm"}));
            clickHeader(dialog, 1);
            QCOMPARE(namesShown(dialog), (QStringList{"IDH_WELCOME", "IDH_TOUR", "IDH_FAQ"}));
            clickHeader(dialog, 1);
            QCOMPARE(namesShown(dialog), (QStringList{"IDH_FAQ", "IDH_TOUR", "IDH_WELCOME"}));
            QCOMPARE(dialog.view()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

            selectRow(dialog, "IDH_TOUR");
            dialog.addButton()->click();
            QCOMPARE(namesShown(dialog).size(), 4);
            QCOMPARE(dialog.view()->currentIndex().data().toString(), QStringLiteral("IDH_MOORINGS"));
            dialog.addButton()->click();  // refused, then cancelled
            QCOMPARE(namesShown(dialog).size(), 4);

            selectRow(dialog, "IDH_WELCOME");
            dialog.deleteButton()->click();
            selectRow(dialog, "IDH_TOUR");
            dialog.editButton()->click();
            QCOMPARE(rowTexts(dialog, 0), (QStringList{"IDH_TOUR", "2000", "pages/tour.htm"}));
            dialog.closeButton()->click();
        });
        // Add: the next free number and the selected id's page are proposed.
        f.dialogs.answer<THelpIdProperties>([](THelpIdProperties& ask) {
            QCOMPARE(ask.nameEdit()->text(), QString());
            QCOMPARE(ask.numberEdit()->text(), QStringLiteral("1003"));
            QCOMPARE(ask.topicCombo()->currentText(), QStringLiteral("pages/tour.htm"));
            ask.nameEdit()->setText(QStringLiteral("IDH_MOORINGS"));
            ask.topicCombo()->setCurrentIndex(ask.topicCombo()->findText(QStringLiteral("pages/moorings.htm")));
            ask.okButton()->click();
        });
        // A name another topic has is refused, and asked for again as typed.
        f.dialogs.answer<THelpIdProperties>([](THelpIdProperties& ask) {
            ask.nameEdit()->setText(QStringLiteral("idh_faq"));
            ask.okButton()->click();
        });
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.dialogs.answer<THelpIdProperties>([](THelpIdProperties& ask) {
            QCOMPARE(ask.nameEdit()->text(), QStringLiteral("idh_faq"));
            ask.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
        });
        f.dialogs.answer<THelpIdProperties>([](THelpIdProperties& ask) {
            QCOMPARE(ask.nameEdit()->text(), QStringLiteral("IDH_TOUR"));
            ask.numberEdit()->setText(QStringLiteral("0x7D0"));
            ask.okButton()->click();
        });
        f.action(Command::HelpIds)->trigger();
        QVERIFY(f.dialogs.finished());
        QVERIFY(f.desktop.finished());
        QCOMPARE(f.desktop.messages.size(), std::size_t{1});
        QVERIFY(f.desktop.messages[0].text.find("IDH_FAQ") != std::string::npos);
        QVERIFY(f.desktop.messages[0].text.find("faq.htm") != std::string::npos);

        const std::vector<HelpId> changed{{"IDH_TOUR", 2000, w.folder + "pages/tour.htm"},
                                          {"IDH_FAQ", 1002, w.folder + "faq.htm"},
                                          {"IDH_MOORINGS", 1003, w.folder + "pages/moorings.htm"}};
        QCOMPARE(w.project.helpIds, changed);
        QVERIFY(w.project.modified);
        // Three steps: edit, delete and add, undone from the Edit menu.
        for (int step = 0; step < 3; ++step) {
            QVERIFY(f.action(Command::Undo)->isEnabled());
            f.action(Command::Undo)->trigger();
        }
        QCOMPARE(w.project.helpIds, w.original);
        QVERIFY(!w.project.modified);
    }

    void itemPropertiesGiveATopicAHelpIdOnlyWithAFreeName()
    {
        WindowFixture f;
        IdsWindow w(f);
        ContentsTree& tree = *w.form.contentsPage()->tree();
        const ContentsEntry* tour = nullptr;
        forEachEntry(w.project.root(), [&](const ContentsEntry& entry, int) {
            if (entry.caption == "A quick tour")
                tour = &entry;
        });
        QVERIFY(tour != nullptr);
        w.project.helpIds.erase(w.project.helpIds.begin() + 1);  // the tour's page without an id
        tree.setCurrentIndex(w.form.contentsModel().indexOf(tour));
        f.desktop.answerMessage(MessageAnswer::Ok);
        f.dialogs.answer<TItemProperties>([&](TItemProperties& dialog) {
            QCOMPARE(dialog.helpIdNameEdit()->text(), QString());
            QTest::keyClicks(dialog.helpIdNameEdit(), QStringLiteral("IDH_FAQ"));
            QCOMPARE(dialog.helpIdNumberEdit()->text(), QStringLiteral("1003"));
            dialog.okButton()->click();
            QCOMPARE(dialog.result(), QDialog::Rejected);  // the name is the FAQ's
            QVERIFY(dialog.isVisible());
            dialog.helpIdNameEdit()->setText(QStringLiteral("IDH_TOUR"));
            dialog.okButton()->click();
        });
        f.action("properties")->trigger();
        QVERIFY(f.dialogs.finished());
        QVERIFY(f.desktop.finished());
        QCOMPARE(w.project.helpIds.back(), (HelpId{"IDH_TOUR", 1003, w.folder + "pages/tour.htm"}));
        f.action(Command::Undo)->trigger();
        QCOMPARE(w.project.helpIds.size(), std::size_t{2});
    }
};

}  // namespace doxel

QTEST_MAIN(doxel::HelpIdsDialogTest)
#include "help_ids_dialog_test.moc"
