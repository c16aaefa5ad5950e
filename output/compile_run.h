#pragma once

#include <string>
#include <vector>

#include "core/project.h"
#include "core/settings.h"
#include "output/compiler_files.h"
#include "output/compiler_library.h"

namespace doxel {

// String id of the text shown when the compiler cannot run (its "|" is a
// line break).
inline constexpr int kCompilerFailedTextId = 230;

// The files of one compile: the four in the project folder, and the log.
struct CompileFiles {
    std::string helpProjectFile;
    std::string contentsFile;
    std::string indexFile;
    std::string compiledFile;
    // Where the messages are written as well; empty for the LogFile setting.
    std::string logFile = {};
    // The iconv name of the help file's code page, for reading its contents
    // and index back; empty for the code page of the language the help file
    // states.
    std::string codePage = {};
    // What writing the input files had to say ("Note: ...", "Warning: ..."):
    // shown first among the messages and counted.
    std::vector<std::string> writerMessages = {};
    // For a help project another tool wrote: its files are its own, and the
    // run leaves them where they are.
    bool keepInputFiles = false;
    // The project file whose compile this is (empty for a help project
    // another tool wrote): the help file never replaces it.
    std::string projectFile = {};
};

// The file names the Compile command set on the project.
CompileFiles compileFilesOf(const Project& project);
// The same, with the code page and the messages of writing the input files.
CompileFiles compileFilesOf(const Project& project, const CompilerInputFiles& written);

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
    // The counts of a run that got past loading the compiler: fill the
    // summary with summaryRows(statistics), set the status line to "OK." and
    // bring the summary to the front. showFailure follows for a run that
    // wrote no help file.
    virtual void showSummary(const CompileStatistics& statistics) = 0;
    // No help file was written: show `text` in red (when empty, text
    // kCompilerFailedTextId: the compiler could not run, and the help file
    // and log buttons are disabled) and bring the messages to the front.
    virtual void showFailure(const std::string& text) = 0;
};

enum class CompileOutcome {
    Compiled,         // a help file was written; warnings and errors may have been counted
    StoppedByChecks,  // the checks found errors the compiler cannot go on with; it was not started
    NothingWritten,   // the compiler ran to its end but wrote no help file
    CompilerFailed,   // the compiler is missing, could not start, crashed or was killed
    Stopped,          // the host stopped the run (CompileStopped)
};

// Thrown by the host's keepAlive or showProgressText to stop a run. Not a
// std::exception, so that a compiler which turns its errors into message
// lines lets it through; a compiler that runs a program ends it.
struct CompileStopped {};

struct CompileResult {
    CompileOutcome outcome = CompileOutcome::CompilerFailed;
    bool succeeded = false;  // outcome is Compiled: there is a new help file to view
    CompileStatistics statistics;
    // Contents entries and keywords of a compiled help file that lead to a
    // missing page: the help file was made, but the run found problems.
    int brokenEntries = 0;
};

// The text the host shows for a run that stopped at the checks.
inline constexpr const char* kStoppedByChecksText =
    "The help file was not compiled: the compiler cannot go on with the errors above.";
inline constexpr const char* kNothingWrittenText = "The help file was not compiled: the compiler wrote no help file.";
inline constexpr const char* kStoppedText = "The compile was stopped; an earlier help file stays as it was.";
// The last line of a run that wrote a help file without full-text search,
// for a project of our own.
inline constexpr const char* kSearchOffNote =
    "Note: This help file cannot be searched. To make it searchable, turn on \"Add Search Tab\" in Project "
    "properties.";

// The compile run: closes the viewers of the help file, loads and
// initialises the compiler, checks the topic files and the default topic
// of the help project, and when no error was found compiles it, while a
// second thread scans the pages for the summary's counts and for links that
// lead nowhere. The help file written is read back as a viewer reads it
// (checkHelpFileLinks). Every line goes to the host and to the log file.
// After a run that wrote a help file it opens it when LaunchHelp is on and
// no error was counted, shows the log when ViewLog is on, deletes the help
// project, contents and index files, shows the summary and frees the
// compiler. A run stopped by the checks, or whose compiler wrote nothing,
// deletes the input files, shows the log when ViewLog is on and the
// failure; a compiler that cannot run shows the failure, and nothing is
// opened, deleted or freed. A run the host stops deletes the input files
// and the compiler's temporary files, frees the compiler and shows the
// failure kStoppedText; the help file is not replaced.
//
// Every run that got past loading the compiler fills the summary; one that
// wrote no help file then shows the failure as well.
CompileResult compileRun(CompilerLibrary& library, SettingsStore& settings, CompileHost& host,
                         const CompileFiles& files);

// When the Commands menu enables its three commands: Compile while the
// contents hold an entry besides the title entry, View Help file while the
// compiled file exists, View Log File while the LogFile setting names an
// existing file.
bool canCompile(const Project& project);
bool helpFileExists(const Project& project);
bool logFileExists(SettingsStore& settings);

}  // namespace doxel
