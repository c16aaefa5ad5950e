// Feeds arbitrary bytes to the readers of help ids: a C header of
// "#define" lines, a help project's [MAP] and [ALIAS] sections, and a help
// file's context table. They must never crash, hang or run out of memory;
// every help id read has a C name, a number in range and a line inside the
// text.
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/fuzz/fuzz_help_ids fuzz/corpus/help_ids -max_total_time=300
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/errors.h"
#include "core/help_ids.h"
#include "formats/help_file.h"
#include "formats/help_id_map.h"
#include "formats/help_project_reader.h"

namespace {

void checkHeader(std::string_view text, bool strict)
{
    const doxel::HelpIdHeader header = doxel::readHelpIdHeader(text, strict);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const doxel::HelpIdHeaderLine& line : header.lines) {
        if (line.line < 1 || line.line > lines)
            std::abort();
        if (!line.name.empty() && (!doxel::isHelpIdName(line.name) || line.number == 0 ||
                                   line.number > doxel::kMaxHelpIdNumber || !line.include.empty()))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkHeader(bytes, false);
    checkHeader(bytes, true);
    try {
        const doxel::HelpProjectFile project = doxel::readHelpProject(bytes, "fuzz.hhp");
        checkHeader(project.mapText, true);
        // Included files would come from the disk of the machine that fuzzes.
        if (project.mapText.find("include") == std::string::npos &&
            project.aliasText.find("include") == std::string::npos) {
            const doxel::HelpIdDefinitions ids = doxel::readHelpIds(project, "/nonexistent", "fuzz.hhp");
            for (const doxel::HelpIdEntry& id : ids.ids) {
                if (!doxel::isHelpIdName(id.name) || id.number == 0 || id.topic.empty())
                    std::abort();
            }
        }
    } catch (const doxel::FormatError&) {
    }
    const std::size_t half = size / 2;
    for (const doxel::HelpContext& row : doxel::readContextTable(bytes.substr(0, half), bytes.substr(half))) {
        if (row.topic.size() >= size)
            std::abort();
    }
    return 0;
}
