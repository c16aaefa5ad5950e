#include "app/compile_job.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/errors.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/chmcmd_compiler.h"
#include "platform/program_paths.h"
#include "platform/qsettings_store.h"

namespace doxel {
namespace {

constexpr int kExitErrors = 1;
constexpr int kExitFailure = 2;

// The command line has no display: nothing to keep alive, no viewer to open
// or close. Lines go to standard output as they come.
class ConsoleHost final : public CompileHost {
public:
    void closeHelpViewers(const std::string&) override {}
    void keepAlive() override {}
    void addLogLine(const std::string& line) override { std::cout << line << std::endl; }
    void showProgressText(const std::string&) override {}
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics& statistics) override
    {
        std::cout << "\n";
        for (const SummaryRow& row : summaryRows(statistics)) {
            const std::string label = std::string(row.label) + ":";
            std::printf("%-16s%d\n", label.c_str(), row.count);
        }
        std::fflush(stdout);
    }
    void showFailure() override {}
};

}  // namespace

std::string commandLineLogFile(SettingsStore& settings)
{
    try {
        const std::string logFile = ReadSetting(settings, "LogFile");
        if (!logFile.empty())
            return logFile;
    } catch (const SettingsError& error) {
        std::cerr << "doxel: " << error.what() << "\n";
    }
    return programDataFolder() + "log.txt";
}

int compileFromCommandLine(const std::string& projectFile)
{
    Project project;
    QSettingsStore settings;
    NullProgress progress;
    try {
        ReadProjectFile(project, projectFile);
        if (!canCompile(project)) {
            std::cerr << "doxel: " << projectFile << " holds no entries to compile\n";
            return kExitFailure;
        }
        // What writing the files has to say comes first among the messages.
        for (const CompilerFileMessage& message : WriteCompilerFiles(project, commandLineLogFile(settings), progress).messages)
            std::cout << message.line() << "\n";
    } catch (const Error& error) {
        std::cerr << "doxel: " << error.what() << "\n";
        return kExitFailure;
    }

    std::error_code error;
    const auto before = std::filesystem::last_write_time(project.compiledFile, error);
    ChmcmdCompiler compiler;
    ConsoleHost host;
    // LaunchHelp and ViewLog would open windows; here they stay off.
    MemorySettingsStore runSettings;
    const CompileResult result = CompileRun(compiler, runSettings, host, compileFilesOf(project));
    if (!result.succeeded) {
        std::cerr << "doxel: the help compiler could not run; the input files stay next to the project\n";
        return kExitFailure;
    }
    // An old help file that this compile did not replace is not announced.
    const auto after = std::filesystem::last_write_time(project.compiledFile, error);
    if (!error && after != before)
        std::cout << "\nHelp file: " << project.compiledFile << std::endl;
    return result.statistics.errors > 0 ? kExitErrors : 0;
}

}  // namespace doxel
