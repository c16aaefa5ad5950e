#pragma once

#include <QObject>

#include <string>

#include "ui/kit/command_context.h"

namespace doxel {

// The Tools menu and the tool bar's drop-down: the TXT to HTML wizard and
// search and replace, each a fresh dialog run through the dialog runner.
class ToolCommands final : public QObject {
    Q_OBJECT

public:
    explicit ToolCommands(const CommandContext& context);

    void runTxtToHtmlWizard();
    void runSearchAndReplace();

private:
    // Where the folder choosers of the tools open: the folder chosen last in
    // either, else the project's folder.
    std::string startFolder() const;

    CommandContext m_context;
    std::string m_lastFolder;
};

}  // namespace doxel
