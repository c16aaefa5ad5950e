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
    ApplySettingDefaults(store, {"/opt/doxel/", [] { return std::string("bluefish %U"); }});
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
    ApplySettingDefaults(store, {"/p/", [&asked] {
                                     asked = true;
                                     return std::string("other");
                                 }});
    EXPECT_FALSE(asked);
    EXPECT_EQ(store.memory.read("HtmlEditor"), "my-editor");
    EXPECT_EQ(store.memory.read("ShowFileSystem"), "yes");
    EXPECT_EQ(store.memory.read("ProgressMinimum"), "40");
    EXPECT_FALSE(settingIsOn(store, "ShowFileSystem"));  // only "1" is on
}

TEST(Settings, ReadNumbersWithAFallbackForAnythingElse)
{
    MemorySettingsStore store;
    const std::pair<const char*, int> cases[] = {{"41", 41}, {"0", 0},    {"-3", -3}, {"", 40},
                                                 {"4x", 40}, {"abc", 40}, {" 5", 40}};
    for (const auto& [text, value] : cases) {
        store.write("ProgressMinimum", text);
        EXPECT_EQ(settingNumber(store, "ProgressMinimum", 40), value) << text;
    }
}

}  // namespace
}  // namespace doxel
