#include "ui/tools/tool_file_view.h"

#include <QHeaderView>

#include <filesystem>

#include "core/desktop.h"
#include "core/text_ids.h"
#include "ui/kit/qt_text.h"
#include "ui/logic/string_table.h"

namespace doxel {

ToolFileView::ToolFileView(const QString& objectName, QWidget* parent)
    : QTreeWidget(parent), m_subfolders(new QCheckBox(parent))
{
    m_subfolders->setObjectName(QStringLiteral("IncludeSubfolders"));
    setObjectName(objectName);
    setColumnCount(1);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
}

void ToolFileView::appendPaths(const std::vector<std::string>& paths)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(paths.size()));
    for (const std::string& path : paths) {
        auto* item = new QTreeWidgetItem(QStringList{toQString(path)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        items.append(item);
    }
    addTopLevelItems(items);
}

void ToolFileView::tickAll(bool ticked)
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

std::vector<std::string> ToolFileView::tickedPaths() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->checkState(0) == Qt::Checked)
            paths.push_back(toStdString(topLevelItem(i)->text(0)));
    }
    return paths;
}

int ToolFileView::tickedCount() const
{
    int count = 0;
    for (int i = 0; i < topLevelItemCount(); ++i)
        count += topLevelItem(i)->checkState(0) == Qt::Checked ? 1 : 0;
    return count;
}

void ToolFileView::listFolder(Desktop& desktop, SettingsStore& settings, std::string& lastFolder, ToolFileKind kind)
{
    std::error_code error;
    const std::string start = lastFolder.empty() ? std::filesystem::current_path(error).string() : lastFolder;
    const std::optional<std::string> folder =
        desktop.chooseFolder(loadText(settings, text_id::kSelectInputFolder), start);
    if (!folder)
        return;
    lastFolder = *folder;
    if (topLevelItemCount() > 0 && showMessage(desktop, loadText(settings, text_id::kClearListQuestion),
                                               loadText(settings, text_id::kClearFileList), MessageButtons::YesNo,
                                               MessageIcon::Question) == MessageAnswer::Yes)
        clear();
    appendPaths(addFiles(*folder, kind, m_subfolders->isChecked()));
}

}  // namespace doxel
