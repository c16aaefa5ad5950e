#include "ui/index/index_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/index/list_models.h"
#include "ui/kit/action_registry.h"
#include "ui/kit/heading_panel.h"

namespace doxel {

KeyView::KeyView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("KeyView"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // As in a list view of the desktop: a click on the selected row's
    // keyword edits it in place; F2 and a double click ask in a box.
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setSortingEnabled(false);
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &KeyView::columnClicked);
}

void KeyView::commitEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void KeyView::keyPressEvent(QKeyEvent* event)
{
    if (state() != EditingState) {
        const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
        if (control && event->key() == Qt::Key_Up) {
            emit keyPressed(KeywordKey::CtrlUp);
            event->accept();
            return;
        }
        if (control && event->key() == Qt::Key_Down) {
            emit keyPressed(KeywordKey::CtrlDown);
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            emit keyPressed(KeywordKey::Delete);
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
            emit keyPressed(KeywordKey::F2);
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void KeyView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click selected the row under the mouse; a double click on
    // empty space edits the row selected before, as the Edit button would.
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowDoubleClicked();
}

IndexPage::IndexPage(ActionRegistry& actions, KeywordModel& model, QWidget* parent)
    : QWidget(parent),
      m_heading(new HeadingPanel("Panel4", "IndexLabel", QStringLiteral("Index Editor"), this)),
      m_toolBar(new QToolBar(this)),
      m_keyView(new KeyView(this))
{
    setObjectName(QStringLiteral("TabIndex"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar4"));
    m_toolBar->setOrientation(Qt::Vertical);
    m_toolBar->setIconSize(QSize(16, 16));
    for (Command command : {Command::EditKeywordButton, Command::KeywordUpButton, Command::KeywordDownButton,
                            Command::DeleteAllKeywordsButton, Command::AddKeywordButton, Command::DeleteKeywordButton,
                            Command::SortKeywordsButton})
        actions.addToolButton(m_toolBar, command);

    m_keyView->setModel(&model);
    m_keyView->setColumnWidth(0, 100);
    m_keyView->setColumnWidth(1, 245);
    // The keyword column takes the width its texts need, measured once the
    // changes of a command are in (Qt measures the rows in sight only).
    connect(&model, &QAbstractItemModel::modelReset, this, &IndexPage::fitKeywordColumnLater);
    connect(&model, &QAbstractItemModel::layoutChanged, this, &IndexPage::fitKeywordColumnLater);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &IndexPage::fitKeywordColumnLater);
    connect(&model, &QAbstractItemModel::dataChanged, this, &IndexPage::fitKeywordColumnLater);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_toolBar);
    row->addWidget(m_keyView, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_heading);
    layout->addLayout(row, 1);
}

void IndexPage::fitKeywordColumnLater()
{
    if (m_fitPending)
        return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        fitKeywordColumn();
    });
}

void IndexPage::fitKeywordColumn()
{
    constexpr int kLeast = 100;
    const int most = std::max(kLeast, m_keyView->viewport()->width() * 2 / 3);
    const int wanted = std::max({kLeast, m_keyView->keywordWidthHint(), m_keyView->header()->sectionSizeHint(0)});
    m_keyView->setColumnWidth(0, std::min(wanted, most));
}

void IndexPage::showSelectedRow(int row)
{
    QItemSelectionModel* selection = m_keyView->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = m_keyView->model()->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_keyView->scrollTo(index);
}

}  // namespace doxel
