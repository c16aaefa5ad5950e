#include "output/compiler_files.h"

#include "core/atomic_file.h"
#include "formats/help_project_writer.h"
#include "output/contents_file.h"
#include "output/index_file.h"

namespace doxel {

CompilerInputFiles WriteCompilerFiles(const Project& project, ProgressReporter& progress, PathStyle style)
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
    writeFileAtomically(project.helpProjectFile, CompilerHelpProjectText(project, writer));
    SaveContents(project, project.contentsFile, progress, writer);
    return {{project.indexFile, project.helpProjectFile, project.contentsFile}, &page, writer.messages()};
}

std::vector<std::string> WriteCompilerInputFiles(const Project& project, ProgressReporter& progress, PathStyle style)
{
    return WriteCompilerFiles(project, progress, style).written;
}

}  // namespace doxel
