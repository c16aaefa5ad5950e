#include "output/compiler_files.h"

#include "core/atomic_file.h"
#include "output/contents_file.h"
#include "output/help_project_copy.h"
#include "output/help_project_file.h"
#include "output/index_file.h"

namespace doxel {

CompilerInputFiles WriteCompilerFiles(const Project& project, ProgressReporter& progress, PathStyle style,
                                      const std::string& logFile)
{
    HelpTextWriter writer(project, style);
    const CodePage& page = writer.codePage();
    if (page.number != windows1252().number) {
        writer.note("the help file's language is " + languageLine(page) +
                    ", so its contents, index and title are "
                    "written in Windows-" +
                    std::to_string(page.number) + "; viewers read its pages in that code page too");
    }
    SaveIndex(project, project.indexFile, writer);
    std::string folder(folderOf(project.helpProjectFile, style));
    if (folder.size() > 1)
        folder.pop_back();
    std::string helpProject = relativeHelpProjectText(HelpProjectFileText(project, {}, writer), folder);
    if (!logFile.empty()) {
        // Another compiler given these files writes its log there.
        const std::string after = "\r\nDisplay compile progress=No\r\n";
        if (const std::size_t at = helpProject.find(after); at != std::string::npos)
            helpProject.insert(at + after.size(), "Error log file=" + logFile + "\r\n");
    }
    writeFileAtomically(project.helpProjectFile, helpProject);
    SaveContents(project, project.contentsFile, progress, writer);
    std::vector<CompilerFileMessage> messages = writer.messages();
    for (const KeywordEntry& keyword : project.keywords) {
        if (keyword.topicFile.empty()) {
            messages.push_back(
                {CompilerFileMessage::Kind::Warning,
                 "The keyword \"" + keyword.keyword + "\" leads to no file; viewers open nothing for it"});
        }
    }
    return {{project.indexFile, project.helpProjectFile, project.contentsFile}, &page, std::move(messages)};
}

std::vector<std::string> WriteCompilerInputFiles(const Project& project, ProgressReporter& progress, PathStyle style)
{
    return WriteCompilerFiles(project, progress, style).written;
}

}  // namespace doxel
