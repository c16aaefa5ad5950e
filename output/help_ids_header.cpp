#include "output/help_ids_header.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace doxel {
namespace {

// A header as large as this is no header of ours; it is replaced unread.
constexpr std::size_t kHeaderCompareLimit = std::size_t{64} << 20;
// A help file with thousands of help ids gone astray names the first few.
constexpr std::size_t kNamedAtMost = 20;

bool isFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string helpIdsHeaderFileName(std::string_view compiledFile)
{
    std::string name(compiledFile);
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        name.resize(dot);
    return name + "_ids.h";
}

std::string helpIdsHeaderText(std::span<const HelpId> ids, std::string_view compiledFile)
{
    std::vector<const HelpId*> sorted;
    sorted.reserve(ids.size());
    for (const HelpId& id : ids)
        sorted.push_back(&id);
    std::ranges::sort(sorted, [](const HelpId* a, const HelpId* b) {
        return a->number != b->number ? a->number < b->number : a->name < b->name;
    });
    std::string out = "/* Help ids of " + std::string(fileNameOf(compiledFile)) +
                      ", written by HTML Doxel at each compile: changes made here are lost. */\r\n";
    for (const HelpId* id : sorted)
        out += "#define " + id->name + " " + std::to_string(id->number) + "\r\n";
    return out;
}

bool writeHelpIdsHeader(const Project& project)
{
    if (project.helpIds.empty() || project.compiledFile.empty())
        return false;
    const std::string fileName = helpIdsHeaderFileName(project.compiledFile);
    const std::string text = helpIdsHeaderText(project.helpIds, project.compiledFile);
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(fileName, error))) {
        try {
            if (readWholeFile(fileName, kHeaderCompareLimit) == text)
                return false;
        } catch (const IoError&) {
            // Unreadable or too large: replaced below, or the write reports why not.
        }
    }
    writeFileAtomically(fileName, text);
    return true;
}

std::vector<CompilerFileMessage> helpIdWarnings(const Project& project, PathStyle style)
{
    if (project.helpIds.empty())
        return {};
    // The files that go into the help file: those of the contents inside
    // the project folder. Help ids are few beside the contents, so only
    // the files they lead to are looked for among them.
    std::unordered_set<std::string> wanted;
    for (const HelpId& id : project.helpIds)
        wanted.insert(topicFileOf(id.topicFile));
    std::unordered_set<std::string> compiled;
    for (const FileListEntry& row : project.fileList) {
        std::string file = topicFileOf(row.path);
        if (row.path.empty() || !wanted.contains(file))
            continue;
        const std::string relative = projectRelativePath(row.path, project.projectFile, style);
        if (!relative.starts_with("..\\") && !relative.starts_with('/'))
            compiled.insert(std::move(file));
    }
    std::vector<CompilerFileMessage> warnings;
    std::size_t astray = 0;
    for (const HelpId& id : project.helpIds) {
        const std::string file = topicFileOf(id.topicFile);
        std::string problem;
        if (file.empty())
            problem = "leads to no topic";
        else if (!isFile(file))
            problem = "leads to \"" + file + "\", which does not exist";
        else if (!compiled.contains(file))
            problem = "leads to \"" + file + "\", which is not among the topics of the help file";
        else
            continue;
        if (++astray <= kNamedAtMost) {
            warnings.push_back({CompilerFileMessage::Kind::Warning,
                                "The help id " + id.name + " " + problem + "; an application opens nothing with it"});
        }
    }
    if (astray > kNamedAtMost) {
        warnings.push_back(
            {CompilerFileMessage::Kind::Warning,
             std::to_string(astray - kNamedAtMost) + " more help ids lead to no topic of the help file"});
    }
    return warnings;
}

}  // namespace doxel
