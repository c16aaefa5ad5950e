#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_rules.h"
#include "core/project.h"

namespace doxel {

// The four flag words of the help window that the project properties
// dialog edits, one check box per bit.
enum class FlagWord { NavigationStyle, Buttons, WindowStyle, ExtendedStyle };
inline constexpr FlagWord kFlagWords[] = {FlagWord::NavigationStyle, FlagWord::Buttons, FlagWord::WindowStyle,
                                          FlagWord::ExtendedStyle};

// One check box: its control name, its caption (a string id, or 0 when the
// caption is the fixed text), and the bit it stands for.
struct FlagBox {
    const char* control;
    int textId;
    const char* caption;
    std::uint32_t bit;
};

// The boxes of one flag word, in the order the dialog shows them.
std::span<const FlagBox> flagBoxes(FlagWord word);

// The bits of `word` that some box stands for; the others cannot be kept
// by the dialog.
std::uint32_t representedBits(FlagWord word);

// A flag word as the unsigned bits the boxes work on, and back as the
// signed 32-bit value the project holds ("Popup", bit 31, reads as a
// negative number).
constexpr std::uint32_t flagBits(std::int32_t value)
{
    return static_cast<std::uint32_t>(value);
}
constexpr std::int32_t signedFlags(std::uint32_t bits)
{
    return static_cast<std::int32_t>(bits);
}

inline constexpr int kMinPaneWidth = kMinNavigationPaneWidth;
inline constexpr int kMaxPaneWidth = kMaxNavigationPaneWidth;

// The pane width brought into 50 to 1000.
int boundedPaneWidth(long long width);
// The pane width field's text as the width: a decimal number brought into
// range; anything else gives 50.
int paneWidthFromText(std::string_view text);

// A decimal integer that fits 32 bits, with an optional minus sign and
// nothing else around it; nothing for any other text.
std::optional<std::int32_t> decimalNumber(std::string_view text);

// What the dialog's controls hold: the texts of the drop-down lists and
// text fields, the position fields, the pane width and, per flag word, the
// bits of its ticked boxes.
struct ProjectPropertiesValues {
    std::string defaultTopic;
    std::string homePage;
    std::string jump1Url;
    std::string jump1Text;
    std::string jump2Url;
    std::string jump2Text;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int paneWidth = kMinPaneWidth;
    std::array<std::uint32_t, 4> ticked{};
    // The help file's language: 0 for the one its texts ask for.
    int helpLanguageId = 0;

    std::uint32_t& tickedBits(FlagWord word) { return ticked[static_cast<std::size_t>(word)]; }
    std::uint32_t tickedBits(FlagWord word) const { return ticked[static_cast<std::size_t>(word)]; }
    bool isTicked(FlagWord word, const FlagBox& box) const { return (tickedBits(word) & box.bit) != 0; }

    bool operator==(const ProjectPropertiesValues&) const = default;
};

// Opening: the window settings as the controls show them. The pane width
// is brought into range; a box is ticked exactly when its bit is set.
ProjectPropertiesValues propertiesFromWindow(const WindowSettings& window);

// OK: the controls' values as window settings. Texts are cut to 255
// characters, the pane width brought into range, and each flag word is the
// sum of its ticked boxes, so a bit that no box stands for is cleared.
WindowSettings windowFromProperties(const ProjectPropertiesValues& values);

// Opening on a project: its window settings and its help file's language.
ProjectPropertiesValues propertiesFromProject(const Project& project);

// OK on the project: the window settings and the help file's language
// replaced (a language no help file can be written in counts as none), and
// the project marked modified, whether or not anything changed.
void confirmProjectProperties(Project& project, const ProjectPropertiesValues& values);

// The entries of the four drop-down lists: every file of the file list,
// in its order, as the text stored for it (relative to the project
// folder).
std::vector<std::string> projectFileChoices(const Project& project, PathStyle style = kNativePathStyle);

}  // namespace doxel
