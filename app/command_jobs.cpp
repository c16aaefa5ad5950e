#include "app/command_jobs.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/compile_job.h"
#include "app/import_job.h"
#include "app/large_pages.h"
#include "app/tool_jobs.h"
#include "app/window_module.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/project_settings.h"
#include "output/compiler_files.h"

namespace doxel {
namespace {

constexpr int kExitErrors = 1;
constexpr int kExitFailure = 2;
constexpr std::size_t kMissingFilesShown = 20;

// Warnings of the topic files of the project that are not on disk, so
// that the author learns of them before the compiler does. The folders
// were listed when the project was read.
std::vector<std::string> missingTopicWarnings(const Project& project, FolderListings& listings)
{
    std::vector<std::string> warnings;
    std::size_t missing = 0;
    for (const FileListEntry& row : project.fileList) {
        if (listings.exists(row.path))
            continue;
        if (++missing <= kMissingFilesShown)
            warnings.push_back("doxel: warning: topic file not found: " + escapeControls(row.path) + "\n");
    }
    if (missing > kMissingFilesShown)
        warnings.push_back("doxel: warning: " + std::to_string(missing - kMissingFilesShown) +
                           " more topic files not found\n");
    return warnings;
}

int exportProject(const std::string& file)
{
    prepareHeapForProject(file);
    // The process ends with the export, and the system takes back the
    // memory of the project and of the folder listings at once: freeing a
    // large project piece by piece costs about as much as writing a file.
    // So both are left to it on purpose.
    auto project = std::make_unique<Project>();
    auto listings = std::make_unique<FolderListings>();
    const auto leaveToSystem = [&] {
        (void)project.release();
        (void)listings.release();
    };
    CompilerInputFiles written;
    // The topics are looked for on disk while the files are written; the
    // warnings still come first.
    std::vector<std::string> missingTopics;
    const auto lookForTopics = [&] { missingTopics = missingTopicWarnings(*project, *listings); };
    if (!writeInputFiles(*project, file, InputFilesFor::Export, &written, listings.get(), lookForTopics)) {
        leaveToSystem();
        return kExitFailure;
    }
    for (const std::string& warning : missingTopics)
        std::cerr << warning;
    for (const CompilerFileMessage& message : written.messages)
        std::cerr << "doxel: " << escapeControls(message.line()) << "\n";
    for (const std::string& path : written.written)
        std::cout << escapeControls(path) << "\n";
    leaveToSystem();
    return 0;
}

// NAME<TAB>NUMBER<TAB>TOPIC, the topic as the settings file stores it.
int listHelpIds(const std::string& file)
{
    Project project;
    std::vector<std::string> problems;
    try {
        readProjectFile(project, file, kNativePathStyle, nullptr, &problems);
    } catch (const Error& error) {
        std::cerr << "doxel: " << error.what() << "\n";
        return kExitFailure;
    }
    for (const std::string& problem : problems)
        std::cerr << "doxel: " << escapeControls(problem) << "\n";
    for (const HelpId& id : project.helpIds) {
        std::string topic = projectRelativePath(id.topicFile, project.projectFile);
        std::replace(topic.begin(), topic.end(), '\\', '/');
        std::cout << escapeControls(id.name) << '\t' << id.number << '\t' << escapeControls(topic) << '\n';
    }
    std::cout.flush();
    return problems.empty() ? 0 : kExitErrors;
}

// The window; on a machine without a display the compile job instead, so
// that running the program on a project still does something useful: it
// compiles the project and says where the help file is.
int openWindow(const CommandLine& command)
{
    if (displayAvailable())
        return runWindowModule(command.projectFile);
    std::cerr << "doxel: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset), so no window\n";
    if (command.projectFile.empty()) {
        std::cerr << "doxel: name a project to compile it instead\n\n" << usageText();
        return kExitFailure;
    }
    std::cerr << "doxel: compiling " << command.projectFile << " instead\n";
    return compileFromCommandLine(command.projectFile, command.compiler);
}

}  // namespace

int runCommandLine(const CommandLine& command)
{
    switch (command.mode) {
    case CommandLine::Mode::Help:
        std::cout << usageText();
        return 0;
    case CommandLine::Mode::Version:
        std::cout << "HTML Doxel " << DOXEL_VERSION << "\n";
        return 0;
    case CommandLine::Mode::Export:
        return exportProject(command.projectFile);
    case CommandLine::Mode::Invalid:
        std::cerr << "doxel: " << command.problem << "\n\n" << usageText();
        return kExitFailure;
    case CommandLine::Mode::Compile:
        return compileFromCommandLine(command.projectFile, command.compiler);
    case CommandLine::Mode::TxtToHtml:
        return txtToHtmlFromCommandLine(command.toolArguments);
    case CommandLine::Mode::Replace:
        return replaceFromCommandLine(command.toolArguments);
    case CommandLine::Mode::Import:
        return importFromCommandLine(command.source, command.projectFile);
    case CommandLine::Mode::HelpIds:
        return listHelpIds(command.projectFile);
    case CommandLine::Mode::Window:
        return openWindow(command);
    }
    return kExitFailure;
}

}  // namespace doxel
