// Feeds arbitrary bytes to the project file reader. It must throw
// FormatError or read a project, never crash, hang or run out of memory,
// and what it reads must write and read back to the same text, its tree no
// deeper than kMaxContentsDepth levels.
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/fuzz_project_file fuzz/corpus/project_file -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "core/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    doxel::Project project("untouched");
    try {
        doxel::readProjectText(project, text, "/fuzz/project.dxp");
    } catch (const doxel::FormatError&) {
        if (project.title() != "untouched" || !project.projectFile.empty())
            std::abort();  // a refused file must leave the project alone
        return 0;
    }
    doxel::forEachEntry(project.root(), [](const doxel::ContentsEntry&, int level) {
        if (level >= doxel::kMaxContentsDepth)
            std::abort();
    });
    doxel::NullProgress progress;
    doxel::ProgressScope scope(progress, 0);
    const std::string written = doxel::projectFileText(project, "/fuzz/project.dxp", scope);
    doxel::Project again;
    doxel::readProjectText(again, written, "/fuzz/project.dxp");
    if (doxel::projectFileText(again, "/fuzz/project.dxp", scope) != written)
        std::abort();
    return 0;
}
