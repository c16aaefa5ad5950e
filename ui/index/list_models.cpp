#include "ui/index/list_models.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

#include "ui/kit/qt_text.h"
#include "ui/logic/topic_preview.h"

namespace doxel {
namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ReportListModel::ReportListModel(Project& project, QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), m_project(project), m_captions(std::move(captions))
{
}

int ReportListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_captions.size())
        return {};
    return m_captions[section];
}

void ReportListModel::setColumnCaption(int column, const QString& text)
{
    if (column < 0 || column >= m_captions.size() || m_captions[column] == text)
        return;
    m_captions[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

KeywordModel::KeywordModel(Project& project, QObject* parent)
    : ReportListModel(project, {QStringLiteral("Keyword"), QStringLiteral("Associated file")}, parent)
{
}

int KeywordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_project.keywords.size());
}

QVariant KeywordModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_project.keywords.size())
        return {};
    const KeywordEntry& row = m_project.keywords[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return toQString(index.column() == 0 ? row.keyword : row.topicFile);
    case Qt::DecorationRole:
    case Qt::ToolTipRole:
        // Only the rows in sight are asked, so looking at the disk each
        // time stays cheap and never shows an old state.
        if (index.column() != 1 || locateTopic(row.topicFile))
            return {};
        if (role == Qt::ToolTipRole)
            return m_missingFileNote;
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    default:
        return {};
    }
}

void KeywordModel::endProjectChange()
{
    if (m_projectReplaced)
        m_projectReplaced();
    endResetModel();
}

Qt::ItemFlags KeywordModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool KeywordModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole)
        return false;
    emit keywordEdited(index.row(), value.toString());
    return true;
}

FileListModel::FileListModel(Project& project, QObject* parent)
    : ReportListModel(project, {QStringLiteral("File"), QStringLiteral("Path")}, parent)
{
}

FileListModel::~FileListModel() = default;

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_project.fileList.size());
}

QIcon FileListModel::iconFor(const FileListEntry& row) const
{
    const QFileInfo info(fromView(row.fileName()));
    const QString suffix = info.suffix().toLower();
    const auto known = m_iconsBySuffix.constFind(suffix);
    if (known != m_iconsBySuffix.constEnd())
        return *known;
    // Pages and text files, nearly every row, take the theme's icon by name:
    // asking the file icon provider loads the desktop's MIME database, a
    // tenth of a second of the start-up with a project on the command line.
    const QString themeName = suffix.startsWith(QLatin1String("htm"))
                                  ? QStringLiteral("text-html")
                                  : (suffix == QLatin1String("txt") ? QStringLiteral("text-plain") : QString());
    if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName)) {
        const QIcon icon = QIcon::fromTheme(themeName);
        m_iconsBySuffix.insert(suffix, icon);
        return icon;
    }
    if (!m_icons)
        m_icons = std::make_unique<QFileIconProvider>();
    QIcon icon = m_icons->icon(QFileInfo(toQString(row.path)));
    if (icon.isNull())
        icon = m_icons->icon(QFileIconProvider::File);
    m_iconsBySuffix.insert(suffix, icon);
    return icon;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_project.fileList.size())
        return {};
    const FileListEntry& row = m_project.fileList[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return fromView(index.column() == 0 ? row.fileName() : row.folder());
    if (role == Qt::DecorationRole && index.column() == 0)
        return iconFor(row);
    return {};
}

}  // namespace doxel
