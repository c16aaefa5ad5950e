#include "output/compiler_files.h"

#include "output/contents_file.h"
#include "output/help_project_file.h"
#include "output/index_file.h"

namespace doxel {

std::vector<std::string> WriteCompilerInputFiles(Project& project, const std::string& logFile,
                                                 ProgressReporter& progress, PathStyle style)
{
    project.deriveCompilerFileNames();
    SaveIndex(project, project.indexFile, style);
    SaveHelpProject(project, project.helpProjectFile, logFile, style);
    SaveContents(project, project.contentsFile, progress, style);
    return {project.indexFile, project.helpProjectFile, project.contentsFile};
}

}  // namespace doxel
