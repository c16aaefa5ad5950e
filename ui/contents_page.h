#pragma once

#include <QComboBox>
#include <QToolBar>
#include <QTreeView>
#include <QWidget>

#include "ui/contents_model.h"

namespace doxel {

class ActionRegistry;
class HeadingPanel;

// The contents tree control `tree`: indent 19, no tool tips for captions
// that do not fit, captions edited in place.
class ContentsTree final : public QTreeView {
    Q_OBJECT

public:
    explicit ContentsTree(QWidget* parent = nullptr);
    // Confirms a caption being edited in place, as Enter would.
    void commitEditing();
    bool isEditing() const { return state() == EditingState; }
};

// The "Contents" page (TabContents): heading Panel1, the tool bar ToolBar2
// with the icon chooser ImageCombo and the contents buttons, and the tree.
class ContentsPage final : public QWidget {
    Q_OBJECT

public:
    ContentsPage(ActionRegistry& actions, ContentsModel& model, QWidget* parent = nullptr);

    ContentsTree* tree() const { return m_tree; }
    QComboBox* imageCombo() const { return m_imageCombo; }
    QToolBar* toolBar() const { return m_toolBar; }
    HeadingPanel* heading() const { return m_heading; }
    ContentsModel& model() const { return m_model; }

    // The entry selected in the tree, or null.
    ContentsEntry* selectedEntry() const;
    void selectEntry(const ContentsEntry* entry);
    // Selects the title entry and starts editing its caption.
    void editTitle();
    // After a project was opened: the title entry selected, its level shown.
    void showOpenedProject();
    // The icon chooser shows no row and is disabled.
    void clearIconChooser();
    // Shows the icon number of `entry` in the chooser (no row above 41).
    void showIconOf(const ContentsEntry* entry);

signals:
    // The selected entry changed to `entry` (never null).
    void selectedEntryChanged(doxel::ContentsEntry* entry);

private:
    void treeCurrentChanged(const QModelIndex& current);
    void treeExpanded(const QModelIndex& index);
    void treeCollapsed(const QModelIndex& index);

    ContentsModel& m_model;
    HeadingPanel* m_heading;
    QToolBar* m_toolBar;
    QComboBox* m_imageCombo;
    ContentsTree* m_tree;
};

}  // namespace doxel
