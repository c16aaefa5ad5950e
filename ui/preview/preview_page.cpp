#include "ui/preview/preview_page.h"

#include <QFrame>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/kit/action_registry.h"
#include "ui/kit/heading_panel.h"

namespace doxel {

PreviewPage::PreviewPage(ActionRegistry& actions, QWidget* parent)
    : QWidget(parent),
      m_heading(new HeadingPanel("Panel3", "PreviewLabel", QStringLiteral("Topic Preview"), this)),
      m_toolBar(new QToolBar(this)),
      m_editButton(nullptr)
{
    setObjectName(QStringLiteral("TabPreview"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar3"));
    m_toolBar->setIconSize(QSize(16, 16));
    QToolButton* edit = actions.addToolButton(m_toolBar, Command::EditPageButton);
    m_editButton = edit;
    QMenu* editors = actions.addMenu(Menu::EditorMenu, QString(), edit);
    editors->addAction(actions.action(Command::EditInTextEditor));
    editors->addAction(actions.action(Command::EditInHtmlEditor));
    edit->setMenu(editors);
    edit->setPopupMode(QToolButton::InstantPopup);
    for (Command command : {Command::PreviousTopicButton, Command::RefreshButton, Command::NextTopicButton,
                            Command::KeywordFromSelectionButton})
        actions.addToolButton(m_toolBar, command);

    auto* placeholder = new QFrame(this);
    placeholder->setFrameShape(QFrame::StyledPanel);
    placeholder->setAutoFillBackground(true);
    placeholder->setBackgroundRole(QPalette::Base);
    m_browser = placeholder;
    m_browser->setObjectName(QStringLiteral("Browser"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_heading);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_browser, 1);
}

void PreviewPage::setBrowser(QWidget* browser)
{
    browser->setObjectName(QStringLiteral("Browser"));
    layout()->replaceWidget(m_browser, browser);
    delete m_browser;
    m_browser = browser;
}

}  // namespace doxel
