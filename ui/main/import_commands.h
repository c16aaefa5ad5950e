#pragma once

#include <QObject>

#include "ui/kit/command_context.h"

namespace doxel {

// File > Import HTML Help project...: a new project from an HTML Help
// project (.hhp), a contents file (.hhc) or a compiled help file (.chm),
// opened in the window once it is written, with the import's report.
class ImportCommands final : public QObject {
    Q_OBJECT

public:
    explicit ImportCommands(const CommandContext& context);

    void importHelpProject();

private:
    CommandContext m_context;
};

}  // namespace doxel
