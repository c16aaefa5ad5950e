#pragma once

#include <string>

#include "core/project.h"
#include "core/settings.h"
#include "output/compiler_library.h"

namespace doxel {

// String id of the text shown when the compiler cannot run (its "|" is a
// line break).
inline constexpr int kCompilerFailedTextId = 230;

// The four files of one compile, all in the project folder.
struct CompileFiles {
    std::string helpProjectFile;
    std::string contentsFile;
    std::string indexFile;
    std::string compiledFile;
};

// The file names the Compile command set on the project.
CompileFiles compileFilesOf(const Project& project);

// What the compile run needs from whoever shows it: the results window, or
// the command line. Every call happens on the thread that runs the compile.
class CompileHost {
public:
    virtual ~CompileHost() = default;

    // Ends the help viewers the program started for `compiledFile`, so that
    // the compiler can replace the file. Must return within a bounded time.
    virtual void closeHelpViewers(const std::string& compiledFile) = 0;
    // Repaints and handles pending input: once before the compile blocks,
    // and before every progress text.
    virtual void keepAlive() = 0;
    // One compiler message line, appended to the messages.
    virtual void addLogLine(const std::string& line) = 0;
    // The compiler's current progress text, for the status line.
    virtual void showProgressText(const std::string& text) = 0;
    // Opens the compiled file in the help viewer (the LaunchHelp setting).
    virtual void openHelpFile(const std::string& compiledFile) = 0;
    // The View Log File command (the ViewLog setting).
    virtual void viewLogFile() = 0;
    // The run reached its end: fill the summary with summaryRows(statistics),
    // set the status line to "OK." and bring the summary to the front.
    virtual void showSummary(const CompileStatistics& statistics) = 0;
    // The compiler could not run: show text kCompilerFailedTextId in red and
    // disable the help file and log buttons.
    virtual void showFailure() = 0;
};

struct CompileResult {
    bool succeeded = false;  // the run reached its end; errors may have been counted
    CompileStatistics statistics;
};

// The compile run: closes the viewers of the help file, loads and
// initialises the compiler and compiles `files.helpProjectFile`, sending the
// compiler's lines and progress texts to the host. After a compile that ran
// to its end it opens the compiled file when LaunchHelp is on and no error
// was counted, shows the log when ViewLog is on, deletes the help project,
// contents and index files, shows the summary and frees the compiler. When
// the compiler cannot run, the host shows the failure and nothing is
// opened, deleted or freed.
CompileResult CompileRun(CompilerLibrary& library, SettingsStore& settings, CompileHost& host,
                         const CompileFiles& files);

// When the Commands menu enables its three commands: Compile while the
// contents hold an entry besides the title entry, View Help file while the
// compiled file exists, View Log File while the LogFile setting names an
// existing file.
bool canCompile(const Project& project);
bool helpFileExists(const Project& project);
bool logFileExists(SettingsStore& settings);

}  // namespace doxel
