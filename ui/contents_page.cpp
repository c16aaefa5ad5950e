#include "ui/contents_page.h"

#include <QVBoxLayout>

#include "ui/action_registry.h"
#include "ui/heading_panel.h"
#include "ui/icons.h"

namespace doxel {

ContentsTree::ContentsTree(QWidget* parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("tree"));
    setHeaderHidden(true);
    setIndentation(19);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setExpandsOnDoubleClick(false);
    setTextElideMode(Qt::ElideNone);
}

void ContentsTree::commitEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

ContentsPage::ContentsPage(ActionRegistry& actions, ContentsModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_heading(new HeadingPanel("Panel1", "TOCLabel", QStringLiteral("Table of Contents"), this)),
      m_toolBar(new QToolBar(this)),
      m_imageCombo(new QComboBox(this)),
      m_tree(new ContentsTree(this))
{
    setObjectName(QStringLiteral("TabContents"));

    m_imageCombo->setObjectName(QStringLiteral("ImageCombo"));
    m_imageCombo->setIconSize(QSize(16, 16));
    for (int number = 0; number <= 41; ++number)
        m_imageCombo->addItem(contentsIcon(number), QString());
    m_imageCombo->setMaxVisibleItems(14);
    m_imageCombo->setMinimumContentsLength(1);

    m_toolBar->setObjectName(QStringLiteral("ToolBar2"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addWidget(m_imageCombo);
    for (const char* name : {"NewItemButton", "NewHeaderButton", "AddKeyw", "LeftButton", "RightButton", "DownButton",
                             "UpButton", "Insert", "DeleteButton"})
        actions.addToolButton(m_toolBar, name);

    m_tree->setModel(&m_model);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ContentsPage::treeCurrentChanged);
    connect(m_tree, &QTreeView::expanded, this, &ContentsPage::treeExpanded);
    connect(m_tree, &QTreeView::collapsed, this, &ContentsPage::treeCollapsed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_heading);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_tree, 1);
}

ContentsEntry* ContentsPage::selectedEntry() const
{
    return m_model.entryAt(m_tree->currentIndex());
}

void ContentsPage::selectEntry(const ContentsEntry* entry)
{
    const QModelIndex index = m_model.indexOf(entry);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

void ContentsPage::editTitle()
{
    const QModelIndex title = m_model.titleIndex();
    m_tree->setCurrentIndex(title);
    m_tree->setFocus();
    m_tree->edit(title);
}

void ContentsPage::showOpenedProject()
{
    const QModelIndex title = m_model.titleIndex();
    m_tree->setCurrentIndex(title);
    m_tree->expand(title);
    m_tree->scrollTo(title);
}

void ContentsPage::clearIconChooser()
{
    m_imageCombo->setCurrentIndex(-1);
    m_imageCombo->setEnabled(false);
}

void ContentsPage::showIconOf(const ContentsEntry* entry)
{
    const int number = entry != nullptr ? entry->iconNumber : -1;
    m_imageCombo->setCurrentIndex(number >= 0 && number < m_imageCombo->count() ? number : -1);
}

void ContentsPage::treeCurrentChanged(const QModelIndex& current)
{
    if (ContentsEntry* entry = m_model.entryAt(current))
        emit selectedEntryChanged(entry);
}

void ContentsPage::treeExpanded(const QModelIndex& index)
{
    m_model.setExpanded(index, true);
}

void ContentsPage::treeCollapsed(const QModelIndex& index)
{
    m_model.setExpanded(index, false);
}

}  // namespace doxel
