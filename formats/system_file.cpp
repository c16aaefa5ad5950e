#include "formats/system_file.h"

#include "formats/help_file_layout.h"

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

using namespace help_layout;

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
        case kContentsFile:
            info.contentsFile = untilNul(data);
            break;
        case kIndexFile:
            info.indexFile = untilNul(data);
            break;
        case kDefaultTopic:
            info.defaultTopic = untilNul(data);
            break;
        case kTitle:
            info.title = untilNul(data);
            break;
        case kLanguageAndFlags:
            if (data.size() >= 4)
                info.languageId = littleEndian(data, 0, 4);
            break;
        case kDefaultWindow:
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
        const std::uint32_t given = u32(kWindowGiven);
        const auto number = [&](std::size_t offset, std::uint32_t bit) -> std::optional<std::int32_t> {
            const std::uint32_t value = u32(offset);
            if ((given & bit) == 0 && value == 0)
                return std::nullopt;
            return static_cast<std::int32_t>(value);
        };
        WindowDefinition window;
        window.name = text(kWindowName);
        window.navigationStyle = number(kWindowNavigationStyle, kGivenProperties);
        window.title = text(kWindowTitle);
        window.windowStyle = number(kWindowStyle, kGivenStyles);
        window.extendedStyle = number(kWindowExtendedStyle, kGivenExtendedStyles);
        if (u32(kWindowRect) != 0 || u32(kWindowRect + 4) != 0 || u32(kWindowRect + 8) != 0 ||
            u32(kWindowRect + 12) != 0) {
            window.left = static_cast<std::int32_t>(u32(kWindowRect));
            window.top = static_cast<std::int32_t>(u32(kWindowRect + 4));
            window.right = static_cast<std::int32_t>(u32(kWindowRect + 8));
            window.bottom = static_cast<std::int32_t>(u32(kWindowRect + 12));
        }
        if (u32(kWindowPaneWidth) != 0)
            window.navigationPaneWidth = static_cast<std::int32_t>(u32(kWindowPaneWidth));
        window.contentsFile = text(kWindowContentsFile);
        window.indexFile = text(kWindowIndexFile);
        window.defaultTopic = text(kWindowDefaultTopic);
        window.homePage = text(kWindowHomePage);
        window.buttons = number(kWindowButtons, kGivenButtons);
        window.jump1Text = text(kWindowJump1Text);
        window.jump2Text = text(kWindowJump2Text);
        window.jump1Url = text(kWindowJump1Url);
        window.jump2Url = text(kWindowJump2Url);
        result.push_back(std::move(window));
    }
    return result;
}

}  // namespace doxel
