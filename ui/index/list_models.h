#pragma once

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QStringList>

#include <functional>
#include <memory>

#include "core/project.h"

namespace doxel {

// A report list of two columns whose captions the language switch sets,
// over a list of the project that New and Open replace.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setColumnCaption(int column, const QString& caption);

    void beginProjectChange() { beginResetModel(); }
    virtual void endProjectChange() { endResetModel(); }

protected:
    ReportListModel(Project& project, QStringList captions, QObject* parent);

    Project& m_project;

private:
    QStringList m_captions;
};

// The project's keyword list for the report list KeyView: column 0 the
// keyword, editable in place; column 1 the topic file it points at, with a
// warning mark when that file is not on disk. The rows change only through
// the keyword index editor, whose reports the index commands pass on.
class KeywordModel final : public ReportListModel {
    Q_OBJECT

public:
    explicit KeywordModel(Project& project, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Reports the text as keywordEdited and changes nothing itself.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    void beginInsertKeywords(int first, int last) { beginInsertRows({}, first, last); }
    void endInsertKeywords() { endInsertRows(); }
    void beginRemoveKeywords(int first, int last) { beginRemoveRows({}, first, last); }
    void endRemoveKeywords() { endRemoveRows(); }
    void beginMoveKeyword(int row, int destination) { beginMoveRows({}, row, row, {}, destination); }
    void endMoveKeyword() { endMoveRows(); }
    void keywordsChanged(int first, int last) { emit dataChanged(index(first, 0), index(last, 1)); }
    // A sort put the rows in new places.
    void beginReorder() { beginResetModel(); }
    void endReorder() { endResetModel(); }

    // Runs `handler` when New or Open replaced the keyword list, before the
    // views are told, so that it may still put the rows in order.
    void setProjectReplacedHandler(std::function<void()> handler) { m_projectReplaced = std::move(handler); }
    // The tooltip of a row whose file is missing, in the window's language.
    void setMissingFileNote(const QString& note) { m_missingFileNote = note; }
    void endProjectChange() override;

signals:
    // The author edited the keyword of `row` in place.
    void keywordEdited(int row, const QString& text);

private:
    std::function<void()> m_projectReplaced;
    QString m_missingFileNote = QStringLiteral("The file does not exist");
};

// The project's file list for the report list FileView: column 0 the file
// name with the desktop's icon for its type, column 1 its folder. Rows
// stay in the file list's own order (by name).
class FileListModel final : public ReportListModel {
    Q_OBJECT

public:
    explicit FileListModel(Project& project, QObject* parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Around rows added to the file list: they take their places in name
    // order all over the list, so the view reloads.
    void beginFileListChange() { beginResetModel(); }
    void endFileListChange() { endResetModel(); }

private:
    QIcon iconFor(const FileListEntry& row) const;

    // One icon per file type: asking the desktop for each of thousands of
    // files would be slow and give the same pictures.
    mutable std::unique_ptr<QFileIconProvider> m_icons;
    mutable QHash<QString, QIcon> m_iconsBySuffix;
};

}  // namespace doxel
