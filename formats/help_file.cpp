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

std::vector<HelpContext> readContextTable(const CompiledHelpFile& help)
{
    const std::optional<std::string> ivb = help.readIfThere("/#IVB");
    if (!ivb)
        return {};
    return readContextTable(*ivb, help.readIfThere("/#STRINGS").value_or(std::string()));
}

std::vector<HelpContext> readContextTable(std::string_view ivb, std::string_view strings)
{
    const auto le32 = [&ivb](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(ivb[at + i])) << (8 * i);
        return value;
    };
    std::vector<HelpContext> rows;
    // Readers go by the table's own size, not by the count in front.
    for (std::size_t at = 4; at + 8 <= ivb.size(); at += 8) {
        const std::uint32_t offset = le32(at + 4);
        if (offset >= strings.size())
            continue;
        const std::string_view rest = strings.substr(offset);
        rows.push_back({le32(at), std::string(rest.substr(0, rest.find('\0')))});
    }
    return rows;
}

}  // namespace doxel
