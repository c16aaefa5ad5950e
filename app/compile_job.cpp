#include "app/compile_job.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <system_error>
#include <thread>

#include "app/large_pages.h"
#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "formats/help_project_reader.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/builtin_compiler.h"
#include "platform/program_paths.h"
#include "platform/qsettings_store.h"
#include "ui/logic/string_table.h"

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
    void addLogLine(const std::string& line) override { std::cout << escapeControls(line) << std::endl; }
    void showProgressText(const std::string&) override {}
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics& statistics) override { printCounts(statistics); }
    void showFailure(const std::string& text) override
    {
        if (!text.empty())
            std::cerr << "doxel: " << escapeControls(text) << "\n";
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
        const std::string logFile = Settings(settings).text(setting::kLogFile);
        if (!logFile.empty())
            return logFile;
    } catch (const SettingsError& error) {
        std::cerr << "doxel: " << error.what() << "\n";
    }
    return programDataFolder() + "log.txt";
}

bool writeInputFiles(Project& project, const std::string& projectFile, InputFilesFor purpose,
                     CompilerInputFiles* written, FolderListings* listings, const std::function<void()>& alongside)
{
    NullProgress progress;
    try {
        // The file list is made on a thread of its own from when the
        // contents are read until the help project file needs it: the index
        // and contents files do not read it.
        FileListMaker fileListMaker;
        std::vector<std::string> problems;
        readProjectFile(project, projectFile, kNativePathStyle, listings, &problems, &fileListMaker);
        for (const std::string& problem : problems)
            std::cerr << "doxel: warning: " << escapeControls(problem) << "\n";
        if (purpose == InputFilesFor::Compile && !canCompile(project)) {
            std::cerr << "doxel: " << escapeControls(projectFile) << " holds no entries to compile\n";
            return false;
        }
        // An export writes the files under their plain names for the author
        // to keep; a compile only ever writes and deletes files of its own.
        if (purpose == InputFilesFor::Compile)
            reserveCompileInputFiles(project);
        else
            project.deriveCompilerFileNames();
        // `alongside` runs once the list is made, while the help project
        // file is written; it is joined before this returns, also when the
        // writing fails.
        std::exception_ptr alongsideFailed;
        const auto runAlongside = [&alongside, &alongsideFailed] {
            try {
                alongside();
            } catch (...) {
                alongsideFailed = std::current_exception();
            }
        };
        std::jthread beside;
        const auto awaitFileList = [&project, &fileListMaker, &alongside, &runAlongside, &beside] {
            project.fileList = fileListMaker.take();
            if (!alongside)
                return;
            try {
                beside = std::jthread(runAlongside);
            } catch (const std::system_error&) {
                runAlongside();
            }
        };
        // The exported help project names a log beside it, as a help project
        // of the Windows tools does, since the files are made to be moved and
        // compiled elsewhere.
        QSettingsStore settings;
        std::string logFile;
        if (purpose == InputFilesFor::Export)
            logFile = std::string(fileNameOf(commandLineLogFile(settings)));
        CompilerInputFiles files =
            writeCompilerFiles(project, progress, kNativePathStyle, logFile, programTextLookup(settings), awaitFileList,
                               purpose == InputFilesFor::Compile);
        if (beside.joinable())
            beside.join();
        if (alongsideFailed)
            std::rethrow_exception(alongsideFailed);
        if (written != nullptr)
            *written = std::move(files);
        return true;
    } catch (const Error& error) {
        std::cerr << "doxel: " << error.what() << "\n";
        return false;
    }
}

int compileFromCommandLine(const std::string& projectFile, const std::string& compilerName)
{
    QSettingsStore settings;
    Project project;
    CompileFiles files;
    const bool helpProject = asciiLower(projectFile).ends_with(".hhp");
    if (helpProject) {
        // Another tool's help project: compiled as it is, and kept.
        try {
            const std::string hhp = absolutePath(projectFile);
            const HelpProjectFile info = readHelpProject(readWholeFile(hhp, 64u << 20), hhp);
            const std::string folder(folderOf(hhp));
            const auto inFolder = [&folder](std::string path) {
                std::replace(path.begin(), path.end(), '\\', '/');
                return path.empty() || path.starts_with("/") ? path : folder + path;
            };
            std::string compiled = info.compiledFile;
            if (compiled.empty()) {
                const std::string name(fileNameOf(hhp));
                compiled = name.substr(0, name.rfind('.')) + ".chm";
            }
            files.helpProjectFile = hhp;
            files.contentsFile = inFolder(info.contentsFile);
            files.indexFile = inFolder(info.indexFile);
            files.compiledFile = inFolder(compiled);
            files.keepInputFiles = true;
            project.compiledFile = files.compiledFile;
        } catch (const Error& error) {
            std::cerr << "doxel: " << error.what() << "\n";
            return kExitFailure;
        }
    } else {
        prepareHeapForProject(projectFile);
        CompilerInputFiles written;
        if (!writeInputFiles(project, projectFile, InputFilesFor::Compile, &written))
            return kExitFailure;
        files = compileFilesOf(project, written);
    }

    const std::unique_ptr<CompilerLibrary> compiler =
        makeHelpCompiler(compilerName.empty() ? chosenCompilerName(settings) : compilerName);
    ConsoleHost host;
    // LaunchHelp and ViewLog would open windows; here they stay off.
    MemorySettingsStore runSettings;
    files.logFile = commandLineLogFile(settings);
    CompileResult result;
    try {
        result = compileRun(*compiler, runSettings, host, files);
    } catch (const std::exception& error) {
        // Whatever stopped the run is said, never a crash.
        std::cout << "Error: " << escapeControls(error.what()) << std::endl;
        std::cerr << "doxel: the compile could not go on\n";
        return kExitFailure;
    }
    switch (result.outcome) {
    case CompileOutcome::CompilerFailed:
        std::cerr << (helpProject
                          ? "doxel: the help compiler could not run\n"
                          : "doxel: the help compiler could not run; the input files stay next to the project\n");
        return kExitFailure;
    case CompileOutcome::StoppedByChecks:
    case CompileOutcome::NothingWritten:
    case CompileOutcome::Stopped:
        // The run printed its counts with the summary.
        return kExitErrors;
    case CompileOutcome::Compiled:
        break;
    }
    std::cout << "\nHelp file: " << escapeControls(project.compiledFile) << std::endl;
    return result.statistics.errors > 0 ? kExitErrors : 0;
}

}  // namespace doxel
