#pragma once

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QStringList>

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
    void endProjectChange() { endResetModel(); }

protected:
    ReportListModel(Project& project, QStringList captions, QObject* parent);

    Project& m_project;

private:
    QStringList m_captions;
};

// The project's keyword list for the report list KeyView: column 0 the
// keyword, column 1 the topic file it points at.
class KeywordModel final : public ReportListModel {
    Q_OBJECT

public:
    explicit KeywordModel(Project& project, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
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
