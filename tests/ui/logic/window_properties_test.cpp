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
    // The help viewer's navigation and button flags, and the Windows window
    // and extended style bits.
    const std::map<std::string, std::uint32_t> expected = {
        {"CheckBox1", 1},           {"CheckBox2", 32},          {"CheckBox3", 256},         {"CheckBox4", 1024},
        {"CheckBox5", 4096},        {"CheckBox18", 131072},     {"CheckBox19", 262144},     {"CheckBox6", 2},
        {"CheckBox7", 4},           {"CheckBox8", 8},           {"CheckBox9", 16},          {"CheckBox10", 32},
        {"CheckBox11", 64},         {"CheckBox12", 2048},       {"CheckBox13", 4096},       {"CheckBox14", 8192},
        {"CheckBox16", 262144},     {"CheckBox17", 524288},     {"CheckBox20", 0x20000},    {"CheckBox21", 0x10000},
        {"CheckBox22", 0x40000},    {"CheckBox23", 0x80000},    {"CheckBox24", 0x100000},   {"CheckBox25", 0x200000},
        {"CheckBox26", 0x400000},   {"CheckBox27", 0x800000},   {"CheckBox28", 0x1000000},  {"CheckBox29", 0x2000000},
        {"CheckBox30", 0x4000000},  {"CheckBox31", 0x8000000},  {"CheckBox32", 0x10000000}, {"CheckBox33", 0x20000000},
        {"CheckBox34", 0x40000000}, {"CheckBox35", 0x80000000}, {"CheckBox36", 4},          {"CheckBox37", 8},
        {"CheckBox38", 16},         {"CheckBox39", 32},         {"CheckBox40", 128},        {"CheckBox41", 512},
        {"CheckBox42", 1024},       {"CheckBox43", 4096},       {"CheckBox44", 8192},       {"CheckBox45", 16384},
        {"CheckBox46", 65536},      {"CheckBox47", 131072},
    };
    std::map<std::string, std::uint32_t> actual;
    for (FlagWord word : kFlagWords) {
        std::uint32_t seen = 0;
        for (const FlagBox& box : flagBoxes(word)) {
            EXPECT_EQ(box.bit & (box.bit - 1), 0u) << box.control << " carries more than one bit";
            EXPECT_EQ(seen & box.bit, 0u) << box.control << " shares its bit";
            seen |= box.bit;
            EXPECT_TRUE(actual.emplace(box.control, box.bit).second) << box.control << " appears twice";
        }
        EXPECT_EQ(seen, representedBits(word));
    }
    EXPECT_EQ(actual, expected);
    EXPECT_STREQ(flagBoxes(FlagWord::WindowStyle)[0].caption, "Minimize Box");
    EXPECT_STREQ(flagBoxes(FlagWord::WindowStyle)[1].caption, "MaximizeBox");
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
