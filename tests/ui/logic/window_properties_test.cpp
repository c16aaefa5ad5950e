#include <gtest/gtest.h>

#include <map>
#include <set>

#include "formats/help_project_writer.h"
#include "ui/logic/window_properties.h"

namespace doxel {
namespace {

std::set<std::string> tickedBoxes(const ProjectPropertiesValues& values, FlagWord word)
{
    std::set<std::string> names;
    for (const FlagBox& box : flagBoxes(word)) {
        if (values.isTicked(word, box))
            names.insert(box.control);
    }
    return names;
}

TEST(ProjectPropertiesBoxes, EachBoxCarriesTheBitItsCaptionNames)
{
    // By caption, the constant of htmlhelp.h (HHWIN_PROP_, HHWIN_BUTTON_) or
    // winuser.h (WS_, WS_EX_) the box stands for.
    const std::map<std::string, std::uint32_t> sdk = {
        {"Auto Hide Navigation Pane", 1u << 0},
        {"Use Navigation Pane and Topics", 1u << 5},
        {"Auto Sync On", 1u << 8},
        {"Add Search Tab (full text search)", 1u << 10},
        {"Add Favorites Tab", 1u << 12},
        {"Advanced Search", 1u << 17},
        {"Save user-defined position after first use", 1u << 18},
        {"Hide/Show", 1u << 1},
        {"Back", 1u << 2},
        {"Forward", 1u << 3},
        {"Stop", 1u << 4},
        {"Refresh", 1u << 5},
        {"Home", 1u << 6},
        {"Locate", 1u << 11},
        {"Options", 1u << 12},
        {"Print", 1u << 13},
        {"Jump 1", 1u << 18},
        {"Jump 2", 1u << 19},
        {"MaximizeBox", 0x00010000},
        {"Minimize Box", 0x00020000},
        {"Thick Frame", 0x00040000},
        {"System Menu", 0x00080000},
        {"Horizontal Scroll", 0x00100000},
        {"Vertical Scroll", 0x00200000},
        {"Dialog Frame", 0x00400000},
        {"Border", 0x00800000},
        {"Start Maximized", 0x01000000},
        {"Clip Child Windows", 0x02000000},
        {"Clip sibling Windows", 0x04000000},
        {"Disabled", 0x08000000},
        {"Visible", 0x10000000},
        {"Minimize", 0x20000000},
        {"Child Window", 0x40000000},
        {"Popup", 0x80000000},
        {"No Parent Notify", 0x4},
        {"Topmost", 0x8},
        {"Accept Files", 0x10},
        {"Transparent", 0x20},
        {"Tool Window", 0x80},
        {"Client Edge", 0x200},
        {"Context Help", 0x400},
        {"Right aligned Text", 0x1000},
        {"Right to left reading order", 0x2000},
        {"Left Scroll Bar", 0x4000},
        {"Control Parent Window", 0x10000},
        {"Static Edge", 0x20000},
    };
    std::set<std::string> controls;
    std::size_t boxes = 0;
    for (FlagWord word : kFlagWords) {
        std::uint32_t seen = 0;
        for (const FlagBox& box : flagBoxes(word)) {
            ASSERT_TRUE(sdk.contains(box.caption)) << box.caption;
            EXPECT_EQ(box.bit, sdk.at(box.caption)) << box.caption;
            EXPECT_EQ(seen & box.bit, 0u) << box.caption << " shares its bit";
            seen |= box.bit;
            EXPECT_TRUE(controls.insert(box.control).second) << box.control << " appears twice";
            ++boxes;
        }
        EXPECT_EQ(seen, representedBits(word));
    }
    EXPECT_EQ(boxes, sdk.size());
}

TEST(ProjectPropertiesOpening, TicksABoxExactlyWhenItsBitIsSet)
{
    struct Case {
        const char* what;
        FlagWord word;
        std::int32_t value;
        std::set<std::string> ticked;
    };
    const Case cases[] = {
        {"a new project", FlagWord::NavigationStyle, 32, {"CheckBox2"}},
        {"search tab and auto hide", FlagWord::NavigationStyle, 1024 | 1, {"CheckBox4", "CheckBox1"}},
        {"popup alone", FlagWord::WindowStyle, INT32_MIN, {"CheckBox35"}},
        {"bits without a box", FlagWord::Buttons, 1 | 2 | 128, {"CheckBox6"}},
        {"nothing", FlagWord::ExtendedStyle, 0, {}},
        {"every bit",
         FlagWord::ExtendedStyle,
         -1,
         {"CheckBox36", "CheckBox37", "CheckBox38", "CheckBox39", "CheckBox40", "CheckBox41", "CheckBox42",
          "CheckBox43", "CheckBox44", "CheckBox45", "CheckBox46", "CheckBox47"}},
    };
    for (const Case& c : cases) {
        WindowSettings window;
        window.navigationStyle = 0;
        switch (c.word) {
        case FlagWord::NavigationStyle:
            window.navigationStyle = c.value;
            break;
        case FlagWord::Buttons:
            window.buttons = c.value;
            break;
        case FlagWord::WindowStyle:
            window.windowStyle = c.value;
            break;
        case FlagWord::ExtendedStyle:
            window.extendedStyle = c.value;
            break;
        }
        const ProjectPropertiesValues values = propertiesFromWindow(window);
        for (FlagWord word : kFlagWords)
            EXPECT_EQ(tickedBoxes(values, word), word == c.word ? c.ticked : std::set<std::string>{}) << c.what;
    }
}

TEST(ProjectPropertiesConfirming, KeepsWhatTheBoxesShowAndClearsTheRest)
{
    Project project;
    WindowSettings& window = project.windowSettings;
    window.defaultTopic = "pages\\start.htm";
    window.homePage = "pages\\home.htm";
    window.jump1Url = "https://example.org/";
    window.jump1Text = "Example";
    window.jump2Url = "pages\\faq.htm";
    window.jump2Text = "FAQ";
    window.navigationStyle = -1;
    window.buttons = -1;
    window.windowStyle = -1;
    window.extendedStyle = 0x7 | 0x40;  // 1, 2 and 64 have no box
    window.left = -20;
    window.top = 1400;
    window.width = 1;
    window.height = 99999;
    window.navigationPaneWidth = 20;

    confirmProjectProperties(project, propertiesFromWindow(window));

    EXPECT_TRUE(project.modified);
    EXPECT_EQ(window.defaultTopic, "pages\\start.htm");
    EXPECT_EQ(window.homePage, "pages\\home.htm");
    EXPECT_EQ(window.jump1Url, "https://example.org/");
    EXPECT_EQ(window.jump1Text, "Example");
    EXPECT_EQ(window.jump2Url, "pages\\faq.htm");
    EXPECT_EQ(window.jump2Text, "FAQ");
    EXPECT_EQ(flagBits(window.navigationStyle), 1u | 32 | 256 | 1024 | 4096 | 131072 | 262144);
    EXPECT_EQ(flagBits(window.buttons), 2u | 4 | 8 | 16 | 32 | 64 | 2048 | 4096 | 8192 | 262144 | 524288);
    EXPECT_EQ(flagBits(window.windowStyle), 0xFFFF0000u);
    EXPECT_EQ(window.extendedStyle, 4);
    EXPECT_EQ((std::array{window.left, window.top, window.width, window.height}),
              (std::array<std::int32_t, 4>{-20, 1400, 1, 99999}));
    EXPECT_EQ(window.navigationPaneWidth, 50);

    // Confirming again changes nothing more.
    const WindowSettings once = window;
    project.modified = false;
    confirmProjectProperties(project, propertiesFromWindow(window));
    EXPECT_EQ(window, once);
    EXPECT_TRUE(project.modified);
}

TEST(ProjectPropertiesConfirming, CutsTextsToTheirFirst255Characters)
{
    ProjectPropertiesValues values = propertiesFromWindow({});
    std::string cyrillic;
    for (int i = 0; i < 300; ++i)
        cyrillic += "Ж";
    values.jump1Text = cyrillic;
    values.defaultTopic = std::string(256, 'a');
    values.homePage = std::string(255, 'h');
    const WindowSettings window = windowFromProperties(values);
    EXPECT_EQ(window.jump1Text, cyrillic.substr(0, 255 * 2));
    EXPECT_EQ(window.defaultTopic, std::string(255, 'a'));
    EXPECT_EQ(window.homePage, std::string(255, 'h'));
}

TEST(ProjectPropertiesPaneWidth, IsBroughtIntoRange)
{
    const std::pair<const char*, int> texts[] = {
        {"20", 50},
        {"5000", 1000},
        {"50", 50},
        {"1000", 1000},
        {"49", 50},
        {"1001", 1000},
        {"200", 200},
        {"", 50},
        {"abc", 50},
        {"12px", 50},
        {" 200", 50},
        {"-300", 50},
        {"99999999999999999999999", 1000},
        {"-99999999999999999999999", 50},
    };
    for (const auto& [text, width] : texts)
        EXPECT_EQ(paneWidthFromText(text), width) << text;
    for (const auto& [stored, shown] : {std::pair{20, 50}, {5000, 1000}, {INT32_MIN, 50}, {INT32_MAX, 1000}}) {
        WindowSettings window;
        window.navigationPaneWidth = stored;
        EXPECT_EQ(propertiesFromWindow(window).paneWidth, shown) << stored;
    }
}

TEST(ProjectPropertiesFiles, OfferEveryFileRelativeToTheProjectInTheListsOrder)
{
    Project project;
    EXPECT_TRUE(projectFileChoices(project).empty());
    project.projectFile = "/home/ann/help/guide.dxp";
    project.fileList.assign({"/home/ann/help/pages/zoo.htm", "/home/ann/help/about.htm", "/home/ann/other/b.htm"});
    // The file list keeps its rows in file-name order.
    const std::vector<std::string> expected = {"about.htm", "..\\other\\b.htm", "pages\\zoo.htm"};
    EXPECT_EQ(projectFileChoices(project), expected);
}

TEST(ProjectPropertiesHelpProject, ReachTheWindowDefinition)
{
    Project project("Guide");
    project.projectFile = "/help/guide.dxp";
    project.deriveCompilerFileNames();
    ProjectPropertiesValues values = propertiesFromWindow(project.windowSettings);
    values.defaultTopic = "start.htm";
    values.homePage = "home.htm";
    values.jump1Url = "https://example.org/";
    values.jump1Text = "Site";
    values.tickedBits(FlagWord::NavigationStyle) |= 1024;
    values.tickedBits(FlagWord::Buttons) = 2 | 4 | 8;
    values.tickedBits(FlagWord::WindowStyle) = 0x80000000u | 0x10000000u;
    values.tickedBits(FlagWord::ExtendedStyle) = 8;
    values.left = 10;
    values.top = 20;
    values.width = 300;
    values.height = 400;
    values.paneWidth = 5000;
    confirmProjectProperties(project, values);

    EXPECT_LT(project.windowSettings.windowStyle, 0);
    EXPECT_EQ(buildWindowDefinition(project),
              "\"Guide\",\"/help/guide.hhc\",,\"start.htm\",home.htm,https://example.org/,Site,,,0x420,1000,0xE,"
              "[10,20,310,420],0x90000000,0x8,,,,,0");
    const std::string hhp = helpProjectFileText(project, "/help/log.txt");
    EXPECT_NE(hhp.find("\r\nFull-text search=Yes\r\n"), std::string::npos);
    EXPECT_NE(hhp.find("\r\nDefault topic=start.htm\r\n"), std::string::npos);
}

}  // namespace
}  // namespace doxel
