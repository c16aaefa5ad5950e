#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/project.h"
#include "formats/help_file.h"
#include "formats/help_project_reader.h"

namespace doxel {

// What an import made and what it could not take over.
struct ImportReport {
    std::string source;
    std::string projectFile;
    std::size_t entries = 0;  // contents entries besides the title entry
    std::size_t keywords = 0;
    std::size_t files = 0;  // rows of the file list
    std::size_t helpIds = 0;
    std::vector<std::string> notes;  // "guide.hhc, line 12: ..." : what was not taken over, and why

    // The report as the command line prints it and the window shows it; at
    // most `notesShown` notes, then their count.
    std::string text(std::size_t notesShown = 50) const;
};

// Makes `project` (for a project file at `projectFile`, not written) from an
// HTML Help project (.hhp) or a contents file (.hhc, with the index file of
// the same name beside it when there is one): its title, contents tree,
// keywords (sub-keywords as "parent, child"), default topic, help window,
// help ids ([MAP] with [ALIAS]) and file list. Topic references keep their anchors ("a.htm#part").
// Throws IoError when the source cannot be read and FormatError when it is
// no help project or contents file at all.
ImportReport importHelpProject(const std::string& source, const std::string& projectFile, Project& project);

// The folder a decompile of `compiledFile` extracts into: its path without
// ".chm", or with "-2", "-3", ... when that exists already.
std::string decompileFolderFor(const std::string& compiledFile);

// Extracts the files of a compiled help file into the new folder `folder`
// (created here; an existing one is refused with IoError) and makes
// `project` from its contents and index files, found through its system
// data, its default topic, window, stored pages and context table (whose
// help ids get the names "IDH_<number>", as a help file keeps no names). Stored names that would
// leave the folder are not extracted.
ImportReport decompileHelpFile(const CompiledHelpFile& archive, const std::string& compiledFile,
                               const std::string& folder, const std::string& projectFile, Project& project);

// Where an import of `source` puts its new project: beside an .hhp or .hhc
// with the same name and ".dxp", or "-doxel.dxp" when a compile of that
// project would write over the source's help project, contents or index
// file ("guide.hhp" gives "guide-doxel.dxp"); for a compiled help file
// inside the folder its files go to, so that compiling the project never
// replaces the source.
std::string defaultImportProject(const std::string& source);

using HelpArchiveOpener = std::function<std::unique_ptr<CompiledHelpFile>(const std::string& compiledFile)>;

// The whole import: `source` (.hhp, .hhc or .chm, whose files `open` reads)
// into a new project file at `projectFile` (defaultImportProject when
// empty), which is written. An existing project file, or a project whose
// compile would write over the source's files, is refused with IoError
// before anything is written or extracted.
ImportReport runImport(const std::string& source, std::string projectFile, const HelpArchiveOpener& open,
                       ProgressReporter& progress);

}  // namespace doxel
