#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/text_encoding.h"

namespace doxel {

// The folder a compiler reads a project from when some of its pages must go
// into the help file converted to its code page: a private temporary folder
// with the project's layout, holding the help project, its contents and
// index, the converted pages and a copy of every other file of the help
// file, each read where its real path lies inside the project folder (never
// a hard link, which would let a later step take an author's file for one
// of ours). The files on disk are never changed, and every compiler, chmcmd
// included, reads the folder like a project folder. The folder is removed
// with the object, and the next run removes one a killed run left.
class ConvertedPagesFolder {
public:
    // `files` are the files of the help file relative to `projectFolder`
    // ("/" or "\" separated): the help project's [FILES] and what the pages
    // reach. Returns null when every page goes in as it is. Throws IoError.
    static std::unique_ptr<ConvertedPagesFolder> prepare(const std::string& helpProjectFile,
                                                         const std::string& projectFolder,
                                                         const std::vector<std::string>& files,
                                                         const CodePage& codePage);
    ~ConvertedPagesFolder();
    ConvertedPagesFolder(const ConvertedPagesFolder&) = delete;
    ConvertedPagesFolder& operator=(const ConvertedPagesFolder&) = delete;

    // The help project inside the folder: the original with every file in
    // [FILES] and the help file written inside the folder.
    const std::string& helpProjectFile() const { return m_helpProjectFile; }
    // The pages converted, relative to the project folder, "/" separated.
    const std::vector<std::string>& convertedPages() const { return m_converted; }
    // The files left out because a link leads them outside the project
    // folder, relative to it.
    const std::vector<std::string>& leftOut() const { return m_leftOut; }
    // Moves the help file the compiler wrote in the folder to `target`
    // (written under a temporary name beside it and renamed into place).
    // False when the compiler wrote none. Throws IoError.
    bool deliverHelpFile(const std::string& target) const;

private:
    ConvertedPagesFolder() = default;

    std::string m_folder;
    std::string m_helpProjectFile;
    std::string m_compiledFile;
    std::vector<std::string> m_converted;
    std::vector<std::string> m_leftOut;
};

}  // namespace doxel
