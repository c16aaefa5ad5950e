#include "core/settings.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

class RecordingStore : public SettingsStore {
public:
    std::string read(const std::string& name) override { return memory.read(name); }
    void write(const std::string& name, const std::string& value) override
    {
        written.push_back(name);
        memory.write(name, value);
    }
    MemorySettingsStore memory;
    std::vector<std::string> written;
};

TEST(SettingDefaults, FillAFreshStoreInOrderAndLeaveTheOthersAbsent)
{
    RecordingStore store;
    applySettingDefaults(store, {"/opt/doxel/", [] { return std::string("bluefish %U"); }});
    const std::vector<std::string> order = {"DosBox",       "ShowFileSystem",  "LogFile",
                                            "HtmlEditor",   "DefaultIcon1",    "TopicAsChild",
                                            "DefaultIcon2", "ProgressMinimum", "ToolbColored"};
    EXPECT_EQ(store.written, order);
    const std::map<std::string, std::string> expected = {{"DosBox", "1"},
                                                         {"ShowFileSystem", "1"},
                                                         {"LogFile", "/opt/doxel/log.txt"},
                                                         {"HtmlEditor", "bluefish %U"},
                                                         {"DefaultIcon1", "8"},
                                                         {"TopicAsChild", "0"},
                                                         {"DefaultIcon2", "1"},
                                                         {"ProgressMinimum", "40"},
                                                         {"ToolbColored", "0"}};
    EXPECT_EQ(store.memory.values(), expected);
}

TEST(SettingDefaults, ReplaceOnlyEmptyValuesAndNeverAskForAnEditorTheUserChose)
{
    RecordingStore store;
    store.memory.write("HtmlEditor", "my-editor");
    store.memory.write("ShowFileSystem", "yes");
    store.memory.write("ProgressMinimum", "");
    bool asked = false;
    applySettingDefaults(store, {"/p/", [&asked] {
                                     asked = true;
                                     return std::string("other");
                                 }});
    EXPECT_FALSE(asked);
    EXPECT_EQ(store.memory.read("HtmlEditor"), "my-editor");
    EXPECT_EQ(store.memory.read("ShowFileSystem"), "yes");
    EXPECT_EQ(store.memory.read("ProgressMinimum"), "40");
    EXPECT_FALSE(Settings(store).flag(setting::kShowFileSystem));  // only "1" is on
}

TEST(Settings, ReadNumbersInTheirRangeWithAFallbackForAnythingElse)
{
    const struct {
        const SettingKey& key;
        const char* text;
        int value;
    } cases[] = {
        {setting::kProgressMinimum, "41", 41},  {setting::kProgressMinimum, "-3", -3},
        {setting::kProgressMinimum, "", 40},    {setting::kProgressMinimum, "4x", 40},
        {setting::kProgressMinimum, " 5", 40},  {setting::kDefaultTopicIcon, "41", 41},
        {setting::kDefaultTopicIcon, "0", 0},   {setting::kDefaultTopicIcon, "42", 8},
        {setting::kDefaultTopicIcon, "-1", 8},  {setting::kDefaultHeaderIcon, "abc", 1},
        {setting::kDefaultHeaderIcon, "99", 1},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.write(c.key.name, c.text);
        EXPECT_EQ(Settings(store).number(c.key), c.value) << c.key.name << "=" << c.text;
    }
}

TEST(Settings, WriteFlagsAndNumbersAsTheFileHoldsThem)
{
    MemorySettingsStore store;
    Settings settings(store);
    settings.setFlag(setting::kViewLog, true);
    settings.setFlag(setting::kLaunchHelp, false);
    settings.setNumber(setting::kProgressMinimum, 12);
    EXPECT_EQ(store.read("ViewLog"), "1");
    EXPECT_EQ(store.read("LaunchHelp"), "0");
    EXPECT_EQ(store.read("ProgressMinimum"), "12");
    store.write("ViewLog", "yes");
    EXPECT_FALSE(settings.flag(setting::kViewLog));
}

TEST(Settings, FindTheFirstLineOfAnIniFileThatNamesNoValue)
{
    const struct {
        const char* text;
        int line;  // 0: none
        const char* shown;
    } cases[] = {
        {"[General]\r\nLanguage=1000\r\n\r\n; a note\r\n", 0, ""},
        {"[General]\nLanguage=1000\n  oops \r\nRUF=x\n", 3, "oops"},
        {"#1\n", 1, "#1"},
        {"ViewLog=1", 0, ""},
    };
    for (const auto& c : cases) {
        const std::optional<UnreadableSettingsLine> line = firstUnreadableSettingsLine(c.text);
        EXPECT_EQ(line ? line->number : 0, c.line) << c.text;
        EXPECT_EQ(line ? line->text : std::string(), c.shown) << c.text;
    }
}

}  // namespace
}  // namespace doxel
