#include "output/compiler_files.h"

#include "output/contents_file.h"
#include "core/atomic_file.h"
#include "output/help_project_copy.h"
#include "output/help_project_file.h"
#include "output/index_file.h"

namespace doxel {

std::vector<std::string> WriteCompilerInputFiles(const Project& project, ProgressReporter& progress, PathStyle style)
{
    SaveIndex(project, project.indexFile, style);
    std::string folder(folderOf(project.helpProjectFile, style));
    if (folder.size() > 1)
        folder.pop_back();
    writeFileAtomically(project.helpProjectFile,
                        relativeHelpProjectText(HelpProjectFileText(project, {}, style), folder));
    SaveContents(project, project.contentsFile, progress, style);
    return {project.indexFile, project.helpProjectFile, project.contentsFile};
}

}  // namespace doxel
