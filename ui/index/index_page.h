#pragma once

#include <QToolBar>
#include <QTreeView>
#include <QWidget>

namespace doxel {

class ActionRegistry;
class HeadingPanel;
class KeywordModel;

// The "Index" page (TabIndex): heading Panel4, the vertical tool bar
// ToolBar4 and the keyword list KeyView (columns "Keyword" and "Associated
// file").
class IndexPage final : public QWidget {
    Q_OBJECT

public:
    IndexPage(ActionRegistry& actions, KeywordModel& model, QWidget* parent = nullptr);

    QTreeView* keyView() const { return m_keyView; }
    QToolBar* toolBar() const { return m_toolBar; }

private:
    HeadingPanel* m_heading;
    QToolBar* m_toolBar;
    QTreeView* m_keyView;
};

}  // namespace doxel
