#include "platform/builtin_compiler.h"

#include "compiler/help_compiler.h"
#include "core/errors.h"
#include "core/settings.h"
#include "platform/chmcmd_compiler.h"

namespace doxel {

bool BuiltInCompiler::compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                              const CompilerProgressCallback& progress, CompileStatistics& statistics)
{
    statistics = {};
    chm::HelpCompileOptions options;
    options.progress = progress;
    options.binaryIndex = m_binaryIndex;
    // Its lines are counted by the compile run, like chmcmd's. It always
    // runs to its end: a help file it could not write (a read-only file, a
    // missing folder) is an "Error:" line saying why, and the run finds no
    // new help file, which is not a compiler that could not start.
    chm::compileHelpProject(helpProjectFile, log, options);
    return true;
}

std::unique_ptr<CompiledHelpFile> BuiltInCompiler::openCompiled(const std::string& compiledFile)
{
    return openWithChmlib(compiledFile);
}

std::unique_ptr<CompilerLibrary> makeHelpCompiler(const std::string& name)
{
    if (name == kChmcmdCompilerName)
        return std::make_unique<ChmcmdCompiler>();
    return std::make_unique<BuiltInCompiler>();
}

std::string chosenCompilerName(SettingsStore& settings)
{
    try {
        const std::string name = Settings(settings).text(setting::kCompiler);
        return name == kChmcmdCompilerName ? name : kBuiltInCompilerName;
    } catch (const SettingsError&) {
        return kBuiltInCompilerName;
    }
}

bool ChosenCompiler::load()
{
    const std::string name = chosenCompilerName(m_settings);
    if (!m_compiler || name != m_name) {
        m_compiler = makeHelpCompiler(name);
        m_name = name;
    }
    return m_compiler->load();
}

}  // namespace doxel
