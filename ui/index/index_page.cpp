#include "ui/index/index_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "ui/main/action_registry.h"
#include "ui/main/heading_panel.h"
#include "ui/index/list_models.h"

namespace doxel {

IndexPage::IndexPage(ActionRegistry& actions, KeywordModel& model, QWidget* parent)
    : QWidget(parent),
      m_heading(new HeadingPanel("Panel4", "IndexLabel", QStringLiteral("Index Editor"), this)),
      m_toolBar(new QToolBar(this)),
      m_keyView(new QTreeView(this))
{
    setObjectName(QStringLiteral("TabIndex"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar4"));
    m_toolBar->setOrientation(Qt::Vertical);
    m_toolBar->setIconSize(QSize(16, 16));
    for (Command command :
         {Command::KeyEditButton, Command::KeywUpButton, Command::KeywDownButton, Command::DelAllKeyw, Command::AddKeyButton, Command::DelKeyButton, Command::SortButton})
        actions.addToolButton(m_toolBar, command);

    m_keyView->setObjectName(QStringLiteral("KeyView"));
    m_keyView->setModel(&model);
    m_keyView->setRootIsDecorated(false);
    m_keyView->setUniformRowHeights(true);
    m_keyView->setAllColumnsShowFocus(true);
    m_keyView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_keyView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_keyView->header()->setStretchLastSection(true);
    m_keyView->header()->setSectionsClickable(true);
    m_keyView->setColumnWidth(0, 100);
    m_keyView->setColumnWidth(1, 245);

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

}  // namespace doxel
