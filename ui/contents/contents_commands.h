#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <vector>

#include "editing/contents_editor.h"
#include "ui/contents/contents_model.h"
#include "ui/kit/command_context.h"
#include "ui/logic/editor_desktop.h"

class QAction;
class QMenu;

namespace doxel {

class ContentsPage;
class ContentsTree;
class FileListModel;

// The commands of the contents tree: every Items-menu item, contents tool
// button and pop-up item on the tree, the tree's keys, mouse gestures and
// caption editing, the icon chooser and the status line. Each handler runs
// one ContentsEditor command through the window's command runner; the
// editor's reports (ContentsObserver) drive the model, the tree, the icon
// chooser, the status line and the file list.
//
// What the view does while a command runs (its current entry moving as
// rows go, entries expanding to show the selection) is the command's echo
// and is not reported back to the editor.
class ContentsCommands final : public QObject, private ContentsObserver {
    Q_OBJECT

public:
    // `files`: the file list, told when the topic files change; `itemPopup`:
    // the tree's pop-up menu.
    ContentsCommands(const CommandContext& context, ContentsPage& page, FileListModel& files, QMenu& itemPopup);
    ~ContentsCommands() override;

    ContentsEditor& editor() { return m_editor; }

    // Items menu, contents tool bar and pop-up menu.
    void addTopics();
    void addHeader();
    void deleteEntry();
    void moveEntryUp();
    void moveEntryDown();
    void moveEntryLeft();
    void moveEntryRight();
    void assignIconToAllHeaders();
    void assignIconToAllTopics();
    void assignIconToHeadersOfLevel();
    void assignIconToTopicsOfLevel();
    void sortAlphabetically();
    void stopSorting();
    void expandAll();
    void collapseAll();
    void makeDefaultEntry();
    void toggleAddAsChild(bool down);
    void editEntryProperties();
    void iconChosen(int row);
    // Enabling, when the menu opens.
    void updateCommandStates();
    // Whether the contents page is the one shown: the Edit menu's tree
    // commands are enabled only then.
    void setPageCurrent(bool current);
    void updatePopupStates();

    // The tree's gestures.
    void treeChange(ContentsEntry* entry);
    void treeKeyDown(TreeKey key);
    void treeMouseDown(const QModelIndex& index, const QPoint& globalPosition);
    void treeEditing(const QModelIndex& index);
    void treeEdited();
    void treeExpanding(ContentsEntry* entry);
    void treeCollapsing(ContentsEntry* entry);
    void treeStartDrag(const QModelIndex& index);
    void treeDragDrop(const QModelIndex& target);
    void treeFilesDropped(const QModelIndex& target, const QStringList& paths);
    void treeEndDrag();

private:
    class EditorCall;
    bool m_pageCurrent = true;

    // ContentsObserver
    void entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesInserted() override;
    void entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesRemoved() override;
    void entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                             std::size_t destinationRow) override;
    void entryMoved() override;
    void siblingOrderAboutToChange(const ContentsEntry* parent) override;
    void siblingOrderChanged(const ContentsEntry* parent) override;
    void entryChanged(const ContentsEntry& entry) override;
    void everyEntryChanged() override;
    void expansionChanged(const ContentsEntry& entry) override;
    void everyExpansionChanged(bool expanded) override;
    void selectionChanged(const ContentsEntry* entry) override;
    void iconChooserChanged(bool enabled, int row) override;
    void statusTextChanged(const std::string& text) override;
    void captionEditRequested(const ContentsEntry& entry) override;
    void fileListAboutToChange() override;
    void fileListChanged() override;

    // Runs an editor command through the command runner; the view's echo
    // is ignored meanwhile.
    template <typename EditorCommand>
    void run(EditorCommand&& command);
    bool echo() const { return m_depth > 0; }
    void applyPendingExpansion();
    void bindActions();
    void connectTree();
    // The sort check marks and the Insert toggle as the editor has them.
    void showToggles();
    // Enables a menu item by its rule.
    void enableItem(Command command, bool enabled);
    std::string chooseSourceFile(const std::string& current);
    void moveSelected(MoveDirection direction);

    CommandContext m_context;
    ContentsPage& m_page;
    ContentsModel& m_model;
    QPointer<ContentsModel> m_modelAlive;
    ContentsTree& m_tree;
    FileListModel& m_files;
    QMenu& m_itemPopup;
    WindowEditorDesktop m_desktop;
    ContentsEditor m_editor;
    int m_depth = 0;
    std::vector<const ContentsEntry*> m_pendingExpansion;
};

}  // namespace doxel
