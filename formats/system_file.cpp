#include "formats/system_file.h"

namespace doxel {
namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i > 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
    return value;
}

std::string untilNul(std::string_view data)
{
    return std::string(data.substr(0, data.find('\0')));
}

}  // namespace

HelpSystemInfo readSystemFile(std::string_view bytes)
{
    HelpSystemInfo info;
    std::size_t at = 4;  // the version of the file's layout
    while (at + 4 <= bytes.size()) {
        const std::uint32_t code = littleEndian(bytes, at, 2);
        const std::size_t length = littleEndian(bytes, at + 2, 2);
        at += 4;
        if (length > bytes.size() - at)
            break;
        const std::string_view data = bytes.substr(at, length);
        at += length;
        switch (code) {
        case 0:
            info.contentsFile = untilNul(data);
            break;
        case 1:
            info.indexFile = untilNul(data);
            break;
        case 2:
            info.defaultTopic = untilNul(data);
            break;
        case 3:
            info.title = untilNul(data);
            break;
        case 4:
            if (data.size() >= 4)
                info.languageId = littleEndian(data, 0, 4);
            break;
        case 5:
            info.defaultWindow = untilNul(data);
            break;
        default:
            break;
        }
    }
    return info;
}

}  // namespace doxel
