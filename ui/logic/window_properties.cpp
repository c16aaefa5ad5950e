#include "ui/logic/window_properties.h"

#include <algorithm>
#include <charconv>

#include "core/help_language.h"
#include "core/text_ids.h"

namespace doxel {
namespace {

constexpr FlagBox kNavigationBoxes[] = {
    {"CheckBox2", text_id::kUsePaneAndTopics, "Use Navigation Pane and Topics", 32},
    {"CheckBox1", text_id::kAutoHidePane, "Auto Hide Navigation Pane", 1},
    {"CheckBox3", text_id::kAutoSync, "Auto Sync On", 256},
    {"CheckBox4", text_id::kSearchTab, "Add Search Tab (full text search)", 1024},
    {"CheckBox18", text_id::kAdvancedSearch, "Advanced Search", 131072},
    {"CheckBox5", text_id::kFavoritesTab, "Add Favorites Tab", 4096},
    {"CheckBox19", text_id::kSavePosition, "Save user-defined position after first use", 262144},
};

constexpr FlagBox kButtonBoxes[] = {
    {"CheckBox6", text_id::kHideShowButton, "Hide/Show", 2}, {"CheckBox7", text_id::kBackButton, "Back", 4},
    {"CheckBox8", text_id::kForwardButton, "Forward", 8},    {"CheckBox9", text_id::kStopButton, "Stop", 16},
    {"CheckBox10", text_id::kRefreshButton, "Refresh", 32},  {"CheckBox11", text_id::kHomeButton, "Home", 64},
    {"CheckBox12", text_id::kLocateButton, "Locate", 2048},  {"CheckBox13", text_id::kOptionsButton, "Options", 4096},
    {"CheckBox14", text_id::kPrintButton, "Print", 8192},    {"CheckBox16", text_id::kJump1Button, "Jump 1", 262144},
    {"CheckBox17", text_id::kJump2Button, "Jump 2", 524288},
};

// The Windows window style bits. Each box sets the bit its caption names:
// the minimize box is 0x20000 and the maximize box 0x10000.
constexpr FlagBox kWindowStyleBoxes[] = {
    {"CheckBox20", 0, "Minimize Box", 0x20000},
    {"CheckBox21", 0, "MaximizeBox", 0x10000},
    {"CheckBox22", 0, "Thick Frame", 0x40000},
    {"CheckBox23", 0, "System Menu", 0x80000},
    {"CheckBox24", 0, "Horizontal Scroll", 0x100000},
    {"CheckBox25", 0, "Vertical Scroll", 0x200000},
    {"CheckBox26", 0, "Dialog Frame", 0x400000},
    {"CheckBox27", 0, "Border", 0x800000},
    {"CheckBox28", 0, "Start Maximized", 0x1000000},
    {"CheckBox29", 0, "Clip Child Windows", 0x2000000},
    {"CheckBox30", 0, "Clip sibling Windows", 0x4000000},
    {"CheckBox31", 0, "Disabled", 0x8000000},
    {"CheckBox32", 0, "Visible", 0x10000000},
    {"CheckBox33", 0, "Minimize", 0x20000000},
    {"CheckBox34", 0, "Child Window", 0x40000000},
    {"CheckBox35", 0, "Popup", 0x80000000},
};

constexpr FlagBox kExtendedStyleBoxes[] = {
    {"CheckBox36", 0, "No Parent Notify", 4},
    {"CheckBox37", 0, "Topmost", 8},
    {"CheckBox38", 0, "Accept Files", 16},
    {"CheckBox39", 0, "Transparent", 32},
    {"CheckBox40", 0, "Tool Window", 128},
    {"CheckBox41", 0, "Client Edge", 512},
    {"CheckBox42", 0, "Context Help", 1024},
    {"CheckBox43", 0, "Right aligned Text", 4096},
    {"CheckBox44", 0, "Right to left reading order", 8192},
    {"CheckBox45", 0, "Left Scroll Bar", 16384},
    {"CheckBox46", 0, "Control Parent Window", 65536},
    {"CheckBox47", 0, "Static Edge", 131072},
};

std::int32_t WindowSettings::*flagMember(FlagWord word)
{
    switch (word) {
    case FlagWord::NavigationStyle:
        return &WindowSettings::navigationStyle;
    case FlagWord::Buttons:
        return &WindowSettings::buttons;
    case FlagWord::WindowStyle:
        return &WindowSettings::windowStyle;
    case FlagWord::ExtendedStyle:
        break;
    }
    return &WindowSettings::extendedStyle;
}

}  // namespace

std::span<const FlagBox> flagBoxes(FlagWord word)
{
    switch (word) {
    case FlagWord::NavigationStyle:
        return kNavigationBoxes;
    case FlagWord::Buttons:
        return kButtonBoxes;
    case FlagWord::WindowStyle:
        return kWindowStyleBoxes;
    case FlagWord::ExtendedStyle:
        break;
    }
    return kExtendedStyleBoxes;
}

std::uint32_t representedBits(FlagWord word)
{
    std::uint32_t bits = 0;
    for (const FlagBox& box : flagBoxes(word))
        bits |= box.bit;
    return bits;
}

int boundedPaneWidth(long long width)
{
    return static_cast<int>(std::clamp<long long>(width, kMinPaneWidth, kMaxPaneWidth));
}

int paneWidthFromText(std::string_view text)
{
    // A long run of digits is still a number, just far above the range.
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size())
        return kMinPaneWidth;
    if (error == std::errc::result_out_of_range)
        return text.front() == '-' ? kMinPaneWidth : kMaxPaneWidth;
    return error == std::errc() ? boundedPaneWidth(value) : kMinPaneWidth;
}

std::optional<std::int32_t> decimalNumber(std::string_view text)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

ProjectPropertiesValues propertiesFromWindow(const WindowSettings& window)
{
    ProjectPropertiesValues values;
    values.defaultTopic = window.defaultTopic;
    values.homePage = window.homePage;
    values.jump1Url = window.jump1Url;
    values.jump1Text = window.jump1Text;
    values.jump2Url = window.jump2Url;
    values.jump2Text = window.jump2Text;
    values.left = window.left;
    values.top = window.top;
    values.width = window.width;
    values.height = window.height;
    values.paneWidth = boundedPaneWidth(window.navigationPaneWidth);
    for (FlagWord word : kFlagWords)
        values.tickedBits(word) = flagBits(window.*flagMember(word)) & representedBits(word);
    return values;
}

WindowSettings windowFromProperties(const ProjectPropertiesValues& values)
{
    WindowSettings window;
    window.left = values.left;
    window.top = values.top;
    window.width = values.width;
    window.height = values.height;
    window.defaultTopic = values.defaultTopic;
    window.navigationPaneWidth = boundedPaneWidth(values.paneWidth);
    for (FlagWord word : kFlagWords)
        window.*flagMember(word) = signedFlags(values.tickedBits(word) & representedBits(word));
    window.jump1Url = values.jump1Url;
    window.jump1Text = values.jump1Text;
    window.jump2Url = values.jump2Url;
    window.jump2Text = values.jump2Text;
    window.homePage = values.homePage;
    window.cutTexts();
    return window;
}

ProjectPropertiesValues propertiesFromProject(const Project& project)
{
    ProjectPropertiesValues values = propertiesFromWindow(project.windowSettings);
    values.helpLanguageId = project.helpLanguageId;
    return values;
}

void confirmProjectProperties(Project& project, const ProjectPropertiesValues& values)
{
    project.modified = true;
    project.windowSettings = windowFromProperties(values);
    project.helpLanguageId = helpLanguageById(values.helpLanguageId) != nullptr ? values.helpLanguageId : 0;
}

std::vector<std::string> projectFileChoices(const Project& project, PathStyle style)
{
    std::vector<std::string> choices;
    choices.reserve(project.fileList.size());
    for (const FileListEntry& row : project.fileList) {
        if (!row.path.empty())
            choices.push_back(projectRelativePath(row.path, project.projectFile, style));
    }
    return choices;
}

}  // namespace doxel
