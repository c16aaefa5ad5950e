#include "formats/help_file.h"

#include "core/errors.h"

namespace doxel {

std::optional<std::string> CompiledHelpFile::readIfThere(const std::string& path) const
{
    try {
        return read(path);
    } catch (const IoError&) {
        return std::nullopt;
    }
}

}  // namespace doxel
