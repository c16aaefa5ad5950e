#pragma once

#include <QAbstractItemModel>

#include <memory>
#include <unordered_map>

#include "core/project.h"

namespace doxel {

// The contents tree of the project as a Qt item model, for the tree control
// `tree`. It adapts the project's own entries (one column: the caption, with
// the entry's contents picture) and keeps no copy of them, so opening a
// large project costs nothing here. Every change of the tree's structure
// goes through this model, which tells the views.
class ContentsModel final : public QAbstractItemModel {
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

    // Around a replacement of the whole project (New, Open).
    void beginProjectChange();
    void endProjectChange();

    // Structure changes, each told to the views. `parent` null means the
    // level-0 entries.
    ContentsEntry* insertEntry(ContentsEntry* parent, std::size_t row, std::unique_ptr<ContentsEntry> entry);
    std::unique_ptr<ContentsEntry> takeEntry(ContentsEntry* entry);
    // Moves `entry` to be child `row` of `newParent` (row counted before the
    // move); not into its own subtree.
    void moveEntry(ContentsEntry* entry, ContentsEntry* newParent, std::size_t row);
    // An entry's caption, picture or file changed.
    void entryChanged(const ContentsEntry* entry);

    // The view expanded or collapsed an entry: its expanded flag follows,
    // and an icon of the four open/closed pairs takes its open or closed form.
    void setExpanded(const QModelIndex& index, bool expanded);

signals:
    // A caption was changed by editing in place.
    void captionEdited(doxel::ContentsEntry* entry);

private:
    ContentsEntry* parentOrRoot(ContentsEntry* parent) const;
    int rowOf(const ContentsEntry* entry) const;

    Project& m_project;
    // Last known positions of entries that have children; checked before
    // use, so a stale one only costs a rescan of that level.
    mutable std::unordered_map<const ContentsEntry*, std::size_t> m_rows;
};

}  // namespace doxel
