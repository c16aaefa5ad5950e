#include "ui/logic/compile_controller.h"

#include <filesystem>

#include "core/errors.h"
#include "output/compiler_files.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

CompileController::CompileController(Project& project, CompileEnvironment environment, CompileView& view)
    : m_project(project), m_environment(std::move(environment)), m_view(view)
{
    if (!m_environment.fileExists)
        m_environment.fileExists = isRegularFile;
}

bool CompileController::canCompile() const
{
    // The title entry is the first entry of level 0, so any other entry is
    // a second one of level 0 or a child of the title entry.
    const ContentsEntry& root = m_project.root();
    return root.childCount() > 1 || (root.childCount() == 1 && m_project.titleEntry().childCount() > 0);
}

CompileCommandStates CompileController::commandStates() const
{
    CompileCommandStates states;
    states.compile = canCompile();
    const std::string& compiledFile = m_project.compiledFile;
    states.viewHelpFile = !compiledFile.empty() && m_environment.fileExists(compiledFile);
    try {
        const std::string logFile = Settings(m_environment.settings).text(setting::kLogFile);
        states.viewLogFile = !logFile.empty() && m_environment.fileExists(logFile);
    } catch (const SettingsError&) {
        states.viewLogFile = false;
    }
    return states;
}

void CompileController::compile()
{
    m_environment.documents.commitEdits();
    if (!canCompile())
        return;
    if (m_project.projectFile.empty()) {
        m_environment.documents.saveAs();
        if (m_project.projectFile.empty())
            return;
    }
    reserveCompileInputFiles(m_project);
    const CompilerInputFiles written = writeCompilerFiles(m_project, m_environment.progress, kNativePathStyle, {},
                                                          programTextLookup(m_environment.settings), {}, true);
    m_view.showResults(compileFilesOf(m_project, written));
}

void CompileController::viewHelpFile()
{
    const std::string& compiledFile = m_project.compiledFile;
    if (compiledFile.empty() || !m_environment.fileExists(compiledFile)) {
        m_environment.desktop.beep();
        return;
    }
    m_view.openHelpViewer(compiledFile);
}

void CompileController::viewLogFile()
{
    m_logFile = Settings(m_environment.settings).text(setting::kLogFile);
    if (!m_logFile.empty() && m_environment.fileExists(m_logFile))
        m_view.openLogFile(m_logFile);
}

}  // namespace doxel
