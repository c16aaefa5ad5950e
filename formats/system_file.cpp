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

// Which numbers of a window's record are given (the rectangle and the
// pane width count where they are not 0).
constexpr std::uint32_t kGivenProperties = 0x2;
constexpr std::uint32_t kGivenStyles = 0x4;
constexpr std::uint32_t kGivenExtendedStyles = 0x8;
constexpr std::uint32_t kGivenButtons = 0x100;
// The part of a record every reader knows, up to the Jump 2 address.
constexpr std::size_t kShortestWindowRecord = 0xAC;

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

std::vector<WindowDefinition> readWindowsFile(std::string_view windows, std::string_view strings)
{
    std::vector<WindowDefinition> result;
    if (windows.size() < 8)
        return result;
    const std::uint32_t count = littleEndian(windows, 0, 4);
    const std::size_t recordSize = littleEndian(windows, 4, 4);
    if (recordSize < kShortestWindowRecord)
        return result;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t base = 8 + std::size_t{i} * recordSize;
        if (base > windows.size() || windows.size() - base < kShortestWindowRecord)
            break;
        const auto u32 = [&](std::size_t offset) { return littleEndian(windows, base + offset, 4); };
        const auto text = [&](std::size_t offset) -> std::string {
            const std::uint32_t at = u32(offset);
            return at < strings.size() ? untilNul(strings.substr(at)) : std::string();
        };
        const std::uint32_t given = u32(0x0C);
        const auto number = [&](std::size_t offset, std::uint32_t bit) -> std::optional<std::int32_t> {
            const std::uint32_t value = u32(offset);
            if ((given & bit) == 0 && value == 0)
                return std::nullopt;
            return static_cast<std::int32_t>(value);
        };
        WindowDefinition window;
        window.name = text(0x08);
        window.navigationStyle = number(0x10, kGivenProperties);
        window.title = text(0x14);
        window.windowStyle = number(0x18, kGivenStyles);
        window.extendedStyle = number(0x1C, kGivenExtendedStyles);
        if (u32(0x20) != 0 || u32(0x24) != 0 || u32(0x28) != 0 || u32(0x2C) != 0) {
            window.left = static_cast<std::int32_t>(u32(0x20));
            window.top = static_cast<std::int32_t>(u32(0x24));
            window.right = static_cast<std::int32_t>(u32(0x28));
            window.bottom = static_cast<std::int32_t>(u32(0x2C));
        }
        if (u32(0x4C) != 0)
            window.navigationPaneWidth = static_cast<std::int32_t>(u32(0x4C));
        window.contentsFile = text(0x60);
        window.indexFile = text(0x64);
        window.defaultTopic = text(0x68);
        window.homePage = text(0x6C);
        window.buttons = number(0x70, kGivenButtons);
        window.jump1Text = text(0x9C);
        window.jump2Text = text(0xA0);
        window.jump1Url = text(0xA4);
        window.jump2Url = text(0xA8);
        result.push_back(std::move(window));
    }
    return result;
}

}  // namespace doxel
