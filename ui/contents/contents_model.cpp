#include "ui/contents/contents_model.h"

#include <QPixmap>

#include <stdexcept>

#include "core/path_rules.h"
#include "editing/contents_editor.h"
#include "ui/kit/icons.h"
#include "ui/kit/qt_text.h"

namespace doxel {
namespace {

// An entry whose icon number has no picture (255 after item properties
// without a row) keeps the room of one, so captions stay aligned.
const QIcon& blankIcon()
{
    static const QIcon icon = [] {
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        return QIcon(blank);
    }();
    return icon;
}

}  // namespace

ContentsModel::ContentsModel(Project& project, QObject* parent) : QAbstractItemModel(parent), m_project(project)
{
}

ContentsEntry* ContentsModel::entryAt(const QModelIndex& index) const
{
    if (!index.isValid())
        return nullptr;
    return static_cast<ContentsEntry*>(index.internalPointer());
}

int ContentsModel::rowOf(const ContentsEntry* entry) const
{
    const ContentsEntry* parent = entry->parent();
    if (parent == nullptr)
        return 0;
    if (m_editor != nullptr) {
        // The editor's rows are checked before use; an entry it does not
        // know (a change made past it) falls back to the model's own count,
        // as no exception may leave a model function into Qt.
        try {
            const std::size_t row = m_editor->rowOf(*entry);
            if (row < parent->childCount() && parent->child(row) == entry)
                return static_cast<int>(row);
        } catch (const std::out_of_range&) {
        }
    }
    for (std::size_t i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i) == entry)
            return static_cast<int>(i);
    }
    return -1;
}

QModelIndex ContentsModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const ContentsEntry* owner = parent.isValid() ? entryAt(parent) : &m_project.root();
    if (static_cast<std::size_t>(row) >= owner->childCount())
        return {};
    return createIndex(row, 0, owner->child(static_cast<std::size_t>(row)));
}

QModelIndex ContentsModel::parent(const QModelIndex& child) const
{
    const ContentsEntry* entry = entryAt(child);
    if (entry == nullptr)
        return {};
    ContentsEntry* parent = entry->parent();
    if (parent == nullptr || parent == &m_project.root())
        return {};
    return createIndex(rowOf(parent), 0, parent);
}

int ContentsModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const ContentsEntry* owner = parent.isValid() ? entryAt(parent) : &m_project.root();
    return static_cast<int>(owner->childCount());
}

int ContentsModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool ContentsModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant ContentsModel::data(const QModelIndex& index, int role) const
{
    const ContentsEntry* entry = entryAt(index);
    if (entry == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return toQString(entry->caption);
    case Qt::DecorationRole: {
        const QIcon icon = contentsIcon(entry->iconNumber);
        return icon.isNull() ? blankIcon() : icon;
    }
    default:
        return {};
    }
}

bool ContentsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    ContentsEntry* entry = entryAt(index);
    if (entry == nullptr || role != Qt::EditRole || m_editor == nullptr)
        return false;
    // The editor keeps captions on one line, marks the change and re-sorts
    // the level in alphabetical mode; its report repaints the entry.
    m_editor->renameEntry(*entry, toStdString(value.toString()));
    return true;
}

Qt::ItemFlags ContentsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QModelIndex ContentsModel::indexOf(const ContentsEntry* entry) const
{
    if (entry == nullptr || entry == &m_project.root())
        return {};
    return createIndex(rowOf(entry), 0, const_cast<ContentsEntry*>(entry));
}

QModelIndex ContentsModel::titleIndex() const
{
    return index(0, 0);
}

void ContentsModel::beginProjectChange()
{
    m_resetting = true;
    beginResetModel();
}

void ContentsModel::endProjectChange()
{
    // The editor forgets the old tree's rows before any view asks again.
    if (m_editor != nullptr)
        m_editor->projectReplaced();
    m_resetting = false;
    endResetModel();
}

void ContentsModel::entryChanged(const ContentsEntry* entry)
{
    const QModelIndex at = indexOf(entry);
    if (at.isValid())
        emit dataChanged(at, at);
}

// --- The editor's reports

void ContentsModel::entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    beginInsertRows(indexOf(&parent), static_cast<int>(first), static_cast<int>(last));
}

void ContentsModel::entriesInserted()
{
    endInsertRows();
}

void ContentsModel::entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    beginRemoveRows(indexOf(&parent), static_cast<int>(first), static_cast<int>(last));
}

void ContentsModel::entriesRemoved()
{
    endRemoveRows();
}

void ContentsModel::entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                                        std::size_t destinationRow)
{
    const int source = static_cast<int>(row);
    m_moveAsLayout = !beginMoveRows(indexOf(&from), source, source, indexOf(&to), static_cast<int>(destinationRow));
    if (m_moveAsLayout)
        beginLayoutChange(nullptr);
}

void ContentsModel::entryMoved()
{
    if (m_moveAsLayout)
        endLayoutChange();
    else
        endMoveRows();
    m_moveAsLayout = false;
}

void ContentsModel::siblingOrderAboutToChange(const ContentsEntry* parent)
{
    beginLayoutChange(parent);
}

void ContentsModel::siblingOrderChanged(const ContentsEntry*)
{
    endLayoutChange();
}

// Persistent indexes (the view's current entry, its expanded entries) keep
// pointing at the same entries across the change.
void ContentsModel::beginLayoutChange(const ContentsEntry* parent)
{
    m_layoutParents.clear();
    if (parent != nullptr && parent != &m_project.root())
        m_layoutParents << QPersistentModelIndex(indexOf(parent));
    emit layoutAboutToBeChanged(m_layoutParents, QAbstractItemModel::VerticalSortHint);
    m_layoutIndexes = persistentIndexList();
    m_layoutEntries.clear();
    m_layoutEntries.reserve(static_cast<std::size_t>(m_layoutIndexes.size()));
    for (const QModelIndex& index : std::as_const(m_layoutIndexes))
        m_layoutEntries.push_back(entryAt(index));
}

void ContentsModel::endLayoutChange()
{
    QModelIndexList now;
    now.reserve(m_layoutIndexes.size());
    for (const ContentsEntry* entry : m_layoutEntries)
        now << indexOf(entry);
    changePersistentIndexList(m_layoutIndexes, now);
    m_layoutIndexes.clear();
    m_layoutEntries.clear();
    emit layoutChanged(m_layoutParents, QAbstractItemModel::VerticalSortHint);
    m_layoutParents.clear();
}

void ContentsModel::everyEntryChanged()
{
    // Views repaint a range of rows as a whole; the tree view itself is
    // repainted by the window, which knows it shows deeper levels too.
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, 0), {Qt::DecorationRole});
}

}  // namespace doxel
