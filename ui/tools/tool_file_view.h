#pragma once

#include <QCheckBox>
#include <QTreeWidget>

#include <string>
#include <vector>

#include "tools/tool_files.h"

namespace doxel {

class Desktop;
class SettingsStore;

// The file list of the content tools: one column, a check box on every
// entry, entries in the order added (a path may be there twice), new ones
// ticked.
class ToolFileView final : public QTreeWidget {
    Q_OBJECT

public:
    ToolFileView(const QString& objectName, QWidget* parent);

    void appendPaths(const std::vector<std::string>& paths);
    void tickAll(bool ticked);
    std::vector<std::string> tickedPaths() const;
    int tickedCount() const;

    // The box "Include subfolders", a sibling of the list for the dialog to
    // place and caption.
    QCheckBox* subfoldersBox() const { return m_subfolders; }

    // Lists a folder's files for the tool: the folder chooser (opening at
    // `lastFolder`, at first the current folder), the question whether to
    // clear a list that holds entries, then the files the tool takes, with
    // those of the subfolders while the box is ticked.
    // Nothing changes when the chooser is cancelled. Throws IoError when the
    // folder cannot be read.
    void listFolder(Desktop& desktop, SettingsStore& settings, std::string& lastFolder, ToolFileKind kind);

private:
    QCheckBox* m_subfolders;
};

}  // namespace doxel
