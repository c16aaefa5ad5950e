#pragma once

#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace doxel {

class ActionRegistry;
class HeadingPanel;

// The "Preview" page (TabPreview): heading Panel3, tool bar ToolBar3 and the
// browser area `Browser`. The web engine is not created with the window
// (it would slow the start-up); until the preview creates it, `Browser` is
// an empty placeholder that setBrowser replaces.
class PreviewPage final : public QWidget {
    Q_OBJECT

public:
    PreviewPage(ActionRegistry& actions, QWidget* parent = nullptr);

    QToolBar* toolBar() const { return m_toolBar; }
    // EditButton: its face opens the menu of the two editors.
    QToolButton* editButton() const { return m_editButton; }
    QWidget* browser() const { return m_browser; }
    // Puts `browser` (named "Browser" here) in place of the current one,
    // which is deleted.
    void setBrowser(QWidget* browser);

private:
    HeadingPanel* m_heading;
    QToolBar* m_toolBar;
    QToolButton* m_editButton;
    QWidget* m_browser;
};

}  // namespace doxel
