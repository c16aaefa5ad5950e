#include "app/import_job.h"

#include <iostream>

#include "core/errors.h"
#include "formats/chm_archive.h"
#include "import/project_import.h"

namespace doxel {

int importFromCommandLine(const std::string& source, const std::string& projectFile)
{
    constexpr int kExitFailure = 2;
    try {
        NullProgress progress;
        const ImportReport report = runImport(source, projectFile, ChmArchive::open, progress);
        // Names in the report come from the source; a hostile one must not
        // drive the terminal.
        std::cout << escapeControls(report.text());
        return 0;
    } catch (const Error& error) {
        std::cerr << "doxel: " << error.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace doxel
