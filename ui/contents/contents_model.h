#pragma once

#include <QAbstractItemModel>
#include <QModelIndexList>

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
// Only the ContentsEditor changes the tree: this model learns of every
// change through the structural half of ContentsObserver (the window's
// observer forwards the reports), takes rows from the editor's row cache
// and hands a confirmed caption to ContentsEditor::renameEntry, which keeps
// the rules of captions and of the modified flag. Until an editor is
// attached the model only reads, finding rows by scanning a level.
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

    // An entry's caption, picture or file changed.
    void entryChanged(const ContentsEntry* entry);

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

private:
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
};

}  // namespace doxel
