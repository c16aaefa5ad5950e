// Feeds arbitrary bytes to the reader of a project's settings file. It must
// read what it can and name the rest, never crash, hang or throw; what it
// reads must hold only valid, distinct help ids, and must write and read
// back to the same text without a problem.
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/fuzz_project_settings fuzz/corpus/project_settings -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "core/help_ids.h"
#include "core/project_settings.h"

namespace {

doxel::ProjectSettings readBack(const std::string& text)
{
    doxel::StoredPathResolver resolver("/fuzz/");
    return doxel::readProjectSettingsText(text, "/fuzz/project.dxs", resolver);
}

std::string written(const doxel::ProjectSettings& settings)
{
    doxel::Project project;
    project.helpIds = settings.helpIds;
    project.helpLanguageId = settings.helpLanguageId;
    return doxel::projectSettingsText(project, "/fuzz/project.dxp");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const doxel::ProjectSettings settings = readBack(text);
    std::set<std::string> names;
    std::set<std::uint32_t> numbers;
    for (const doxel::HelpId& id : settings.helpIds) {
        if (!doxel::isHelpIdName(id.name) || id.number == 0 || id.number > doxel::kMaxHelpIdNumber ||
            !names.insert(id.name).second || !numbers.insert(id.number).second)
            std::abort();
    }
    if (settings.helpIds.size() > doxel::kMaxHelpIds || settings.problems.size() > 51)
        std::abort();

    // The first write settles how paths are spelled; from there on a file
    // reads back as it was written.
    const std::string once = written(settings);
    const doxel::ProjectSettings again = readBack(once);
    if (!again.problems.empty() || again.helpIds.size() != settings.helpIds.size() ||
        again.helpLanguageId != settings.helpLanguageId)
        std::abort();
    if (written(readBack(written(again))) != written(again))
        std::abort();
    return 0;
}
