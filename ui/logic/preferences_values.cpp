#include "ui/logic/preferences_values.h"

#include <algorithm>
#include <charconv>

namespace doxel {
namespace {

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits as a number, saturating far above the field's limit, so a run of
// digits too long for an int still reads as "above 200".
int digitsValue(std::string_view digits)
{
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kNumberFieldLimit)
            return kNumberFieldLimit + 1;
    }
    return static_cast<int>(value);
}

const char* flag(bool on)
{
    return on ? "1" : "0";
}

}  // namespace

PreferencesValues readPreferences(SettingsStore& store)
{
    PreferencesValues values;
    values.htmlEditor = ReadSetting(store, "HtmlEditor");
    values.logFile = ReadSetting(store, "LogFile");
    values.launchHelp = ReadSetting(store, "LaunchHelp") == "1";
    values.viewLog = ReadSetting(store, "ViewLog") == "1";
    values.progressMinimum = numberFieldFromStore(ReadSetting(store, "ProgressMinimum")).text;
    values.defaultIcon1 = iconPickerRow(ReadSetting(store, "DefaultIcon1"));
    values.defaultIcon2 = iconPickerRow(ReadSetting(store, "DefaultIcon2"));
    values.toolbarColored = ReadSetting(store, "ToolbColored") == "1";
    values.useChmcmd = ReadSetting(store, "Compiler") == "chmcmd";
    return values;
}

void writePreferences(SettingsStore& store, const PreferencesValues& values)
{
    WriteSetting(store, "HtmlEditor", values.htmlEditor);
    WriteSetting(store, "LogFile", values.logFile);
    WriteSetting(store, "ProgressMinimum", numberFieldToStore(values.progressMinimum));
    WriteSetting(store, "DefaultIcon1", storedIconText(values.defaultIcon1));
    WriteSetting(store, "DefaultIcon2", storedIconText(values.defaultIcon2));
    WriteSetting(store, "ViewLog", flag(values.viewLog));
    WriteSetting(store, "LaunchHelp", flag(values.launchHelp));
    WriteSetting(store, "DelTemp", "1");
    WriteSetting(store, "ToolbColored", flag(values.toolbarColored));
    WriteSetting(store, "Compiler", values.useChmcmd ? "chmcmd" : "doxel");
}

int iconPickerRow(std::string_view stored)
{
    int value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (stored.empty() || error != std::errc() || end != stored.data() + stored.size())
        return -1;
    return value >= 0 && value < kIconPickerRows ? value : -1;
}

std::string storedIconText(int row)
{
    return std::to_string(row >= 0 && row < kIconPickerRows ? row : -1);
}

bool numberFieldAccepts(std::string_view typed)
{
    return allDigits(typed);
}

NumberField numberFieldAfterChange(std::string_view text, int arrows)
{
    if (!allDigits(text))
        return {std::string(text), arrows};
    const int value = digitsValue(text);
    if (value > kNumberFieldLimit)
        return {std::to_string(kNumberFieldLimit), kNumberFieldLimit};
    return {std::string(text), value};
}

NumberField numberFieldFromStore(std::string_view stored)
{
    if (!stored.empty() && allDigits(stored))
        return numberFieldAfterChange(stored, 0);
    int value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (stored.empty() || error != std::errc() || end != stored.data() + stored.size())
        value = kDefaultProgressMinimum;
    value = std::clamp(value, 0, kNumberFieldLimit);
    return {std::to_string(value), value};
}

std::string numberFieldToStore(std::string_view text)
{
    if (text.empty())
        return "0";
    return std::string(text);
}

}  // namespace doxel
