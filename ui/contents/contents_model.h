#pragma once

#include <QAbstractItemModel>
#include <QModelIndexList>

#include <memory>
#include <unordered_map>
#include <vector>

#include "core/project.h"
#include "editing/editor_interfaces.h"

namespace doxel {

class ContentsEditor;

// The contents tree of the project as a Qt item model, for the tree control
// `tree`. It adapts the project's own entries (one column: the caption, with
// the entry's contents picture) and keeps no copy of them, so opening a
// large project costs nothing here.
//
// With an editor attached (setEditor), the editor changes the tree and this
// model learns of every change through the structural half of
// ContentsObserver, which the window's observer forwards to it; rows then
// come from the editor's row cache and a confirmed caption goes to
// ContentsEditor::renameEntry. Without one (tests of the model alone), the
// model's own insertEntry, takeEntry and moveEntry change the tree.
class ContentsModel final : public QAbstractItemModel, public ContentsObserver {
    Q_OBJECT

public:
    explicit ContentsModel(Project& project, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    ContentsEntry* entryAt(const QModelIndex& index) const;
    QModelIndex indexOf(const ContentsEntry* entry) const;
    QModelIndex titleIndex() const;

    // The editor whose rows and rename this model uses; null detaches it.
    // The editor is told (projectReplaced) when a new project is shown.
    void setEditor(ContentsEditor* editor) { m_editor = editor; }
    // Between beginProjectChange and endProjectChange; views must not be
    // touched then.
    bool resetting() const { return m_resetting; }

    // Around a replacement of the whole project (New, Open).
    void beginProjectChange();
    void endProjectChange();

    // Structure changes without an editor, each told to the views. `parent`
    // null means the level-0 entries.
    ContentsEntry* insertEntry(ContentsEntry* parent, std::size_t row, std::unique_ptr<ContentsEntry> entry);
    std::unique_ptr<ContentsEntry> takeEntry(ContentsEntry* entry);
    // Moves `entry` to be child `row` of `newParent` (row counted before the
    // move); not into its own subtree.
    void moveEntry(ContentsEntry* entry, ContentsEntry* newParent, std::size_t row);
    // An entry's caption, picture or file changed.
    void entryChanged(const ContentsEntry* entry);

    // The view expanded or collapsed an entry: its expanded flag follows,
    // and an icon of the four open/closed pairs takes its open or closed
    // form. Only without an editor; the editor does this itself.
    void setExpanded(const QModelIndex& index, bool expanded);

    // ContentsObserver: the editor's structural reports.
    void entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesInserted() override;
    void entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesRemoved() override;
    void entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                             std::size_t destinationRow) override;
    void entryMoved() override;
    void siblingOrderAboutToChange(const ContentsEntry* parent) override;
    void siblingOrderChanged(const ContentsEntry* parent) override;
    void entryChanged(const ContentsEntry& entry) override { entryChanged(&entry); }
    void everyEntryChanged() override;

signals:
    // A caption was changed by editing in place.
    void captionEdited(doxel::ContentsEntry* entry);

private:
    ContentsEntry* parentOrRoot(ContentsEntry* parent) const;
    int rowOf(const ContentsEntry* entry) const;
    void beginLayoutChange(const ContentsEntry* parent);
    void endLayoutChange();

    Project& m_project;
    ContentsEditor* m_editor = nullptr;
    bool m_resetting = false;
    // A move the views could not take as a move is told as a layout change.
    bool m_moveAsLayout = false;
    // The persistent indexes before a layout change and their entries.
    QList<QPersistentModelIndex> m_layoutParents;
    QModelIndexList m_layoutIndexes;
    std::vector<const ContentsEntry*> m_layoutEntries;
    // Without an editor: last known positions of entries that have
    // children; checked before use, so a stale one only costs a rescan of
    // that level.
    mutable std::unordered_map<const ContentsEntry*, std::size_t> m_rows;
};

}  // namespace doxel
