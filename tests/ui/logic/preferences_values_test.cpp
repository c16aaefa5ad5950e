#include <gtest/gtest.h>

#include <vector>

#include "ui/logic/preferences_values.h"

namespace doxel {
namespace {

// A store that remembers the order of reads and writes.
class RecordingStore final : public SettingsStore {
public:
    std::string read(const std::string& name) override
    {
        reads.push_back(name);
        return values.read(name);
    }
    void write(const std::string& name, const std::string& value) override
    {
        writes.push_back(name + "=" + value);
        values.write(name, value);
    }
    MemorySettingsStore values;
    std::vector<std::string> reads;
    std::vector<std::string> writes;
};

TEST(PreferencesStore, FillsAndStoresInTheirOrders)
{
    RecordingStore store;
    for (const auto& [name, value] : {std::pair{"HtmlEditor", "bluefish %F"},
                                      {"LogFile", "/home/ann/log.txt"},
                                      {"LaunchHelp", "1"},
                                      {"ViewLog", "yes"},
                                      {"ProgressMinimum", "75"},
                                      {"DefaultIcon1", "8"},
                                      {"DefaultIcon2", "41"},
                                      {"ToolbColored", "1"},
                                      {"DelTemp", "0"}})
        store.values.write(name, value);

    const PreferencesValues values = readPreferences(store);
    EXPECT_EQ(store.reads,
              (std::vector<std::string>{"HtmlEditor", "LogFile", "LaunchHelp", "ViewLog", "ProgressMinimum",
                                        "DefaultIcon1", "DefaultIcon2", "ToolbColored", "Compiler"}));
    EXPECT_EQ(values, (PreferencesValues{"bluefish %F", "/home/ann/log.txt", true, false, "75", 8, 41, true}));

    writePreferences(store, values);
    EXPECT_EQ(store.writes,
              (std::vector<std::string>{"HtmlEditor=bluefish %F", "LogFile=/home/ann/log.txt", "ProgressMinimum=75",
                                        "DefaultIcon1=8", "DefaultIcon2=41", "ViewLog=0", "LaunchHelp=1", "DelTemp=1",
                                        "ToolbColored=1", "Compiler=doxel"}));
    EXPECT_EQ(readPreferences(store), values);
}

TEST(PreferencesStore, OnlyOneCountsAsOn)
{
    for (const char* text : {"0", "", "yes", "true", " 1", "1 ", "01", "2"}) {
        MemorySettingsStore store;
        for (const char* name : {"LaunchHelp", "ViewLog", "ToolbColored"})
            store.write(name, text);
        const PreferencesValues values = readPreferences(store);
        EXPECT_FALSE(values.launchHelp || values.viewLog || values.toolbarColored) << text;
    }
}

TEST(PreferencesIcons, ANumberWithoutAPictureOpensWithNoIconAndStoresMinusOne)
{
    const std::pair<const char*, int> rows[] = {
        {"0", 0}, {"8", 8},    {"41", 41}, {"42", -1},  {"255", -1},         {"-1", -1},
        {"", -1}, {"abc", -1}, {"8 ", -1}, {"3.0", -1}, {"99999999999", -1},
    };
    for (const auto& [stored, row] : rows) {
        EXPECT_EQ(iconPickerRow(stored), row) << stored;
        MemorySettingsStore store;
        store.write("DefaultIcon1", stored);
        store.write("DefaultIcon2", "1");
        writePreferences(store, readPreferences(store));
        EXPECT_EQ(store.read("DefaultIcon1"), row < 0 ? "-1" : stored) << stored;
        EXPECT_EQ(store.read("DefaultIcon2"), "1");
    }
}

TEST(PreferencesNumberField, TakesDigitsAndStopsAt200)
{
    struct Case {
        const char* text;
        int arrowsBefore;
        NumberField after;
    };
    const Case cases[] = {
        {"250", 25, {"200", 200}},
        {"200", 20, {"200", 200}},
        {"201", 20, {"200", 200}},
        {"0", 40, {"0", 0}},
        {"", 4, {"", 0}},
        {"007", 0, {"007", 7}},
        {"99999999999999999999", 9, {"200", 200}},
        {"4a", 4, {"4a", 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberFieldAfterChange(c.text, c.arrowsBefore), c.after) << c.text;
    for (const auto& [typed, accepted] : {std::pair{"7", true},
                                          {"123", true},
                                          {"a", false},
                                          {"-", false},
                                          {" ", false},
                                          {"1e3", false},
                                          {"٣", false},
                                          {"\b", false}})
        EXPECT_EQ(numberFieldAccepts(typed), accepted) << typed;
}

TEST(PreferencesNumberField, OpensWithTheThresholdInForceAndNeverStoresANonNumber)
{
    const std::pair<const char*, NumberField> opened[] = {
        {"40", {"40", 40}},  {"0", {"0", 0}},  {"250", {"200", 200}}, {"", {"40", 40}},
        {"abc", {"40", 40}}, {"-5", {"0", 0}}, {"4.5", {"40", 40}},   {"012", {"012", 12}},
    };
    for (const auto& [stored, field] : opened)
        EXPECT_EQ(numberFieldFromStore(stored), field) << stored;
    for (const auto& [text, stored] : {std::pair{"", "0"}, {"12", "12"}, {"007", "007"}, {"200", "200"}})
        EXPECT_EQ(numberFieldToStore(text), stored) << text;
}

}  // namespace
}  // namespace doxel
