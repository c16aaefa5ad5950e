#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QWidget>

#include <utility>
#include <vector>

#include "editing/contents_editor.h"
#include "ui/contents/contents_model.h"
#include "ui/contents/icon_combo.h"

namespace doxel {

class ActionRegistry;
class HeadingPanel;

// The contents tree control `tree`: indent 19, no tool tips, captions
// edited in place (F2, a click on the selected caption, or by command), an
// entry dragged onto another with the left mouse button, the pop-up menu
// asked for by a right click on an entry. It reports these gestures as
// signals and changes nothing by itself; the window's contents commands
// act on them.
class ContentsTree final : public QTreeView {
    Q_OBJECT

public:
    explicit ContentsTree(QWidget* parent = nullptr);
    using QTreeView::edit;
    // Confirms a caption being edited in place, as Enter would.
    void commitEditing();
    bool isEditing() const { return state() == EditingState; }
    bool isDragging() const { return m_dragging; }
    // The entry a drag is over, or an invalid index.
    QModelIndex dropTarget() const { return m_dropTarget; }
    // What the tree shows of where a dragged entry would land: a line under
    // the target (after it) or the target highlighted (into it).
    enum class DropIndicator { None, After, Into };
    DropIndicator dropIndicator() const;
    // Whether drops go into the target (the Insert toggle); given when a
    // drag begins.
    void setDropsInto(bool into) { m_dropsInto = into; }

    // Expands and collapses many entries at once: with more than a few,
    // the layout is redone once afterwards instead of once per entry.
    void applyExpansion(const std::vector<std::pair<QModelIndex, bool>>& changes);

signals:
    // treeKeyDown: a key the contents commands act on; the tree's own
    // handling of it runs as well, except for the Ctrl+arrow moves.
    void keyPressed(doxel::TreeKey key);
    // Editing of a caption in place began (treeEditing), or ended.
    void editingStarted(const QModelIndex& index);
    void editingEnded();
    // A drag of `index` began (the mouse moved far enough with the left
    // button held on it); it ended with a drop on `target` (invalid: empty
    // space, or Escape), after which dragEnded follows.
    void dragStarted(const QModelIndex& index);
    void dropped(const QModelIndex& target);
    void dragEnded();
    // Files (or folders) from another program were dropped on `target`
    // (invalid: below the entries).
    void filesDropped(const QModelIndex& target, const QStringList& paths);
    // treeMouseDown: the right button was pressed over `index`, which is
    // already current; `globalPosition` is where the pop-up opens.
    void popupRequested(const QModelIndex& index, const QPoint& globalPosition);

protected:
    bool event(QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // One entry is always selected: a click on empty space or a Ctrl+click
    // on the selected entry leaves it selected.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void setDropTarget(const QModelIndex& index);
    // The local files of a drag from another program; empty for anything else.
    static QStringList droppedFiles(const QDropEvent& event);
    void finishDrag(const QModelIndex& target);
    void autoScrollStep();

    QPersistentModelIndex m_pressed;
    QPoint m_pressPosition;
    bool m_dragging = false;
    bool m_dropsInto = false;
    bool m_filesOver = false;  // files from another program are dragged over the tree
    QPersistentModelIndex m_dropTarget;
    QTimer m_autoScroll;
};

// The "Contents" page (TabContents): heading Panel1, the tool bar ToolBar2
// with the icon chooser ImageCombo and the contents buttons, and the tree.
class ContentsPage final : public QWidget {
    Q_OBJECT

public:
    ContentsPage(ActionRegistry& actions, ContentsModel& model, QWidget* parent = nullptr);

    ContentsTree* tree() const { return m_tree; }
    IconCombo* imageCombo() const { return m_imageCombo; }
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
    // After undo or redo: every entry the project marks expanded shows so,
    // and `selected` (null: the title entry) becomes the current entry.
    void showRestoredProject(const ContentsEntry* selected);
    // The icon chooser shows no row and is disabled.
    void clearIconChooser();
    // Shows the icon number of `entry` in the chooser (no row above 41).
    void showIconOf(const ContentsEntry* entry);

signals:
    // The selected entry changed to `entry` (never null).
    void selectedEntryChanged(doxel::ContentsEntry* entry);
    // The view expanded or collapsed `entry` (treeExpanding, treeCollapsing).
    void entryExpanded(doxel::ContentsEntry* entry);
    void entryCollapsed(doxel::ContentsEntry* entry);

private:
    void treeCurrentChanged(const QModelIndex& current);

    ContentsModel& m_model;
    HeadingPanel* m_heading;
    QToolBar* m_toolBar;
    IconCombo* m_imageCombo;
    ContentsTree* m_tree;
};

}  // namespace doxel
