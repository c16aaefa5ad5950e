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

}  // namespace

PreferencesValues readPreferences(SettingsStore& store)
{
    const Settings settings(store);
    PreferencesValues values;
    values.htmlEditor = settings.text(setting::kHtmlEditor);
    values.logFile = settings.text(setting::kLogFile);
    values.launchHelp = settings.flag(setting::kLaunchHelp);
    values.viewLog = settings.flag(setting::kViewLog);
    values.progressMinimum = numberFieldFromStore(settings.text(setting::kProgressMinimum)).text;
    values.defaultIcon1 = iconPickerRow(settings.text(setting::kDefaultTopicIcon));
    values.defaultIcon2 = iconPickerRow(settings.text(setting::kDefaultHeaderIcon));
    values.toolbarColored = settings.flag(setting::kToolbarColored);
    values.useChmcmd = settings.text(setting::kCompiler) == "chmcmd";
    return values;
}

void writePreferences(SettingsStore& store, const PreferencesValues& values)
{
    Settings settings(store);
    settings.setText(setting::kHtmlEditor, values.htmlEditor);
    settings.setText(setting::kLogFile, values.logFile);
    settings.setText(setting::kProgressMinimum, numberFieldToStore(values.progressMinimum));
    settings.setText(setting::kDefaultTopicIcon, storedIconText(values.defaultIcon1));
    settings.setText(setting::kDefaultHeaderIcon, storedIconText(values.defaultIcon2));
    settings.setFlag(setting::kViewLog, values.viewLog);
    settings.setFlag(setting::kLaunchHelp, values.launchHelp);
    settings.setText(setting::kDeleteTemporaryFiles, "1");
    settings.setFlag(setting::kToolbarColored, values.toolbarColored);
    settings.setText(setting::kCompiler, values.useChmcmd ? "chmcmd" : "doxel");
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
