#include "app/compile_job.h"

#include <cstdio>
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
    void showSummary(const CompileStatistics& statistics) override { printCounts(statistics); }
    void showFailure(const std::string& text) override
    {
        if (!text.empty())
            std::cerr << "doxel: " << text << "\n";
    }
    // The counts end the output of every run that reached its end, with a
    // help file or without.
    static void printCounts(const CompileStatistics& statistics)
    {
        std::cout << "\n";
        for (const SummaryRow& row : summaryRows(statistics)) {
            const std::string label = std::string(row.label) + ":";
            std::printf("%-16s%d\n", label.c_str(), row.count);
        }
        std::fflush(stdout);
    }
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

bool writeInputFiles(Project& project, const std::string& projectFile, InputFilesFor purpose,
                     CompilerInputFiles* written)
{
    NullProgress progress;
    try {
        ReadProjectFile(project, projectFile);
        if (purpose == InputFilesFor::Compile && !canCompile(project)) {
            std::cerr << "doxel: " << projectFile << " holds no entries to compile\n";
            return false;
        }
        project.deriveCompilerFileNames();
        // The exported help project names a log as the design's does, beside
        // it, as the files are made to be moved and compiled elsewhere.
        std::string logFile;
        if (purpose == InputFilesFor::Export) {
            QSettingsStore settings;
            logFile = std::string(fileNameOf(commandLineLogFile(settings)));
        }
        CompilerInputFiles files = WriteCompilerFiles(project, progress, kNativePathStyle, logFile);
        if (written != nullptr)
            *written = std::move(files);
        return true;
    } catch (const Error& error) {
        std::cerr << "doxel: " << error.what() << "\n";
        return false;
    }
}

int compileFromCommandLine(const std::string& projectFile)
{
    Project project;
    CompilerInputFiles written;
    if (!writeInputFiles(project, projectFile, InputFilesFor::Compile, &written))
        return kExitFailure;

    ChmcmdCompiler compiler;
    ConsoleHost host;
    // LaunchHelp and ViewLog would open windows; here they stay off.
    MemorySettingsStore runSettings;
    QSettingsStore settings;
    CompileFiles files = compileFilesOf(project, written);
    files.logFile = commandLineLogFile(settings);
    const CompileResult result = CompileRun(compiler, runSettings, host, files);
    switch (result.outcome) {
    case CompileOutcome::CompilerFailed:
        std::cerr << "doxel: the help compiler could not run; the input files stay next to the project\n";
        return kExitFailure;
    case CompileOutcome::StoppedByChecks:
    case CompileOutcome::NothingWritten:
        ConsoleHost::printCounts(result.statistics);
        return kExitErrors;
    case CompileOutcome::Compiled:
        break;
    }
    std::cout << "\nHelp file: " << project.compiledFile << std::endl;
    return result.statistics.errors > 0 ? kExitErrors : 0;
}

}  // namespace doxel
