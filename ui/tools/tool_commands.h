#pragma once

#include <QObject>

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
    CommandContext m_context;
};

}  // namespace doxel
