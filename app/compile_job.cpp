#include "app/compile_job.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
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

namespace {

// The files of a help project another tool wrote, compiled as it is and
// kept.
std::optional<CompileFiles> helpProjectFiles(const std::string& projectFile, const char* program)
{
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
        CompileFiles files;
        files.helpProjectFile = hhp;
        files.contentsFile = inFolder(info.contentsFile);
        files.indexFile = inFolder(info.indexFile);
        files.compiledFile = inFolder(compiled);
        files.keepInputFiles = true;
        return files;
    } catch (const Error& error) {
        std::cerr << program << ": " << error.what() << "\n";
        return std::nullopt;
    }
}

// Nothing when the run could not go on; what stopped it is said.
std::optional<CompileResult> compileWithoutWindow(CompileFiles files, const std::string& compilerName,
                                                  SettingsStore& settings, const char* program)
{
    const std::unique_ptr<CompilerLibrary> compiler =
        makeHelpCompiler(compilerName.empty() ? chosenCompilerName(settings) : compilerName);
    ConsoleHost host;
    // LaunchHelp and ViewLog would open windows; here they stay off.
    MemorySettingsStore runSettings;
    files.logFile = commandLineLogFile(settings);
    try {
        return compileRun(*compiler, runSettings, host, files);
    } catch (const std::exception& error) {
        // Whatever stopped the run is said, never a crash.
        std::cout << "Error: " << escapeControls(error.what()) << std::endl;
        std::cerr << program << ": the compile could not go on\n";
        return std::nullopt;
    }
}

}  // namespace

int compileFromCommandLine(const std::string& projectFile, const std::string& compilerName)
{
    QSettingsStore settings;
    Project project;
    CompileFiles files;
    const bool helpProject = asciiLower(projectFile).ends_with(".hhp");
    if (helpProject) {
        std::optional<CompileFiles> theirs = helpProjectFiles(projectFile, "doxel");
        if (!theirs)
            return kExitFailure;
        files = std::move(*theirs);
        project.compiledFile = files.compiledFile;
    } else {
        prepareHeapForProject(projectFile);
        CompilerInputFiles written;
        if (!writeInputFiles(project, projectFile, InputFilesFor::Compile, &written))
            return kExitFailure;
        files = compileFilesOf(project, written);
    }

    const std::optional<CompileResult> run = compileWithoutWindow(std::move(files), compilerName, settings, "doxel");
    if (!run)
        return kExitFailure;
    const CompileResult& result = *run;
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
    return result.statistics.errors > 0 || result.brokenEntries > 0 ? kExitErrors : 0;
}

std::string helpCompilerUsageText()
{
    return "Usage: doxel-hhc PROJECT.hhp\n"
           "Compiles the help project PROJECT.hhp into the help file (.chm) it names, with HTML Doxel's\n"
           "own compiler, and prints the compiler's messages and counts. It takes the command line of\n"
           "Microsoft's HTML Help compiler, for build tools that run one (doxygen's HHC_LOCATION).\n"
           "\n"
           "Exit status, as that compiler's: 1 when the help file was written (warnings and errors\n"
           "may have been found: read the messages), 0 when it was not.\n";
}

int compileForBuildTools(const std::vector<std::string>& arguments)
{
    constexpr int kWritten = 1;
    constexpr int kNotWritten = 0;
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << helpCompilerUsageText();
        return kNotWritten;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::cout << "doxel-hhc (HTML Doxel) " << DOXEL_VERSION << "\n";
        return kNotWritten;
    }
    if (arguments.size() != 1 || arguments[0].starts_with("-")) {
        std::cerr << "doxel-hhc: name one help project (.hhp)\n\n" << helpCompilerUsageText();
        return kNotWritten;
    }
    std::optional<CompileFiles> files = helpProjectFiles(arguments[0], "doxel-hhc");
    if (!files)
        return kNotWritten;
    QSettingsStore settings;
    const std::string compiledFile = files->compiledFile;
    const std::optional<CompileResult> result = compileWithoutWindow(std::move(*files), "doxel", settings, "doxel-hhc");
    if (!result || result->outcome != CompileOutcome::Compiled) {
        if (result && result->outcome != CompileOutcome::CompilerFailed)
            ConsoleHost::printCounts(result->statistics);
        std::cerr << "doxel-hhc: no help file was written\n";
        return kNotWritten;
    }
    std::cout << "\nHelp file: " << escapeControls(compiledFile) << std::endl;
    return kWritten;
}

}  // namespace doxel
