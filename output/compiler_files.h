#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/help_language.h"
#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/text_encoding.h"
#include "formats/sitemap_writer.h"

namespace doxel {

// What writing the compiler input files produced.
struct CompilerInputFiles {
    std::vector<std::string> written;           // index, help project, contents file
    const CodePage* codePage = nullptr;         // the help file's
    std::vector<CompilerFileMessage> messages;  // shown first among the compile's messages
};

// Writes the compiler's input files under the names the project holds
// (Project::deriveCompilerFileNames sets them): the index file, the
// contents file and the help project file, all three in the help file's
// code page. Only the help project reads the project's file list, and
// `awaitFileList`, when given, is called just before it: a caller may make
// the list (Project::rebuildFileList) on another thread meanwhile and wait
// for it there. The help project is written as the
// compiler gets it: every file named relative to the project folder, so
// that the files can be moved and compiled anywhere, and no log file (the
// compile run writes the log) unless `logFile` names one, as the files
// `--export` keeps do. An index entry without a file is warned of, and so
// is a help id an application would open nothing with; the help ids go to
// a C header beside the help file (writeHelpIdsHeader). Languages are named
// through `text`, in the program's language. Throws IoError; a file that
// fails stops the files after it.
// With `forCompile` each file starts with the line that tells a later
// compile it is one of ours (compileInputFirstLine).
CompilerInputFiles writeCompilerFiles(const Project& project, ProgressReporter& progress,
                                      PathStyle style = kNativePathStyle, const std::string& logFile = {},
                                      const TextLookup& text = {}, const std::function<void()>& awaitFileList = {},
                                      bool forCompile = false);

// Sets the project's compiler file names for a compile (compiledFile as
// Project::deriveCompilerFileNames does) and creates the three input files
// holding their first line only (compileInputFirstLine), each exclusively, so
// that the compile writes and later deletes only files of its own, never an
// author's hand-written help project, contents or index of the same name. The
// plain names ("guide.hhp", "guide.hhc", "guide.hhk") when none of the three
// exists, as the help file then names its contents and index plainly;
// otherwise hidden names of this compile alone (".guide-doxel-Ab12Cd.hhp" and
// so on). All three lie in the project folder: chmcmd finds the contents and
// index files only there. Files of the plain names that a compile left which
// ended without removing them (killed, or stopped by a full disk) are
// recognised by their first line and removed, never taken for the author's.
// Throws IoError.
void reserveCompileInputFiles(Project& project);

// The first line of a compile's input file at `path`: a comment in the
// file's own syntax naming this program (and, in the help project, this
// process).
std::string compileInputFirstLine(const std::string& path);
// Whether the file at `path` is one a compile wrote whose process has ended
// (a contents or index file names none: its help project tells).
bool isLeftoverCompileInput(const std::string& path);

}  // namespace doxel
