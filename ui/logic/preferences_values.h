#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"

namespace doxel {

// What the settings dialog's controls hold. The icon pickers hold a row,
// -1 when none is picked; the number field holds its text.
struct PreferencesValues {
    std::string htmlEditor;
    std::string logFile;
    bool launchHelp = false;
    bool viewLog = false;
    std::string progressMinimum;
    int defaultIcon1 = -1;
    int defaultIcon2 = -1;
    bool toolbarColored = false;
    // The help compiler: chmcmd instead of the built-in one (setting
    // "Compiler", "chmcmd" or "doxel").
    bool useChmcmd = false;
    bool operator==(const PreferencesValues&) const = default;
};

// Filling: reads HtmlEditor, LogFile, LaunchHelp, ViewLog, ProgressMinimum,
// DefaultIcon1, DefaultIcon2 and ToolbColored, in that order. Flags are on
// exactly when their text is "1"; the number field gets the threshold that
// is in force (numberFieldFromStore).
PreferencesValues readPreferences(SettingsStore& store);

// Confirming: writes HtmlEditor, LogFile, ProgressMinimum, DefaultIcon1,
// DefaultIcon2, ViewLog, LaunchHelp, DelTemp (always "1") and ToolbColored,
// in that order; flags as "1" or "0", icons as their number ("-1" for no
// icon).
void writePreferences(SettingsStore& store, const PreferencesValues& values);

// --- icon pickers: rows 0 to 41, each the contents picture of its number.
inline constexpr int kIconPickerRows = 42;

// The row a stored icon number selects: the number when it is a whole
// number from 0 to 41, else -1 (no icon).
int iconPickerRow(std::string_view stored);

// The text stored for a picked row: its number, "-1" when none is picked.
std::string storedIconText(int row);

// --- the number field with its arrows (ProgressMinimum)
inline constexpr int kNumberFieldLimit = 200;

struct NumberField {
    std::string text;
    int arrows = 0;
    bool operator==(const NumberField&) const = default;
};

// Whether typed or pasted text may go into the field: digits only.
bool numberFieldAccepts(std::string_view typed);

// The field after its text changed to `text`: a number above 200 is
// replaced by "200", and the arrows take the number. An empty field counts
// as 0; text that is not digits (which the field does not let in) leaves
// the arrows at `arrows`.
NumberField numberFieldAfterChange(std::string_view text, int arrows);

// The field as opened from the stored text: digits as stored (above 200
// shown as "200"); anything else shows the threshold the program uses for
// it (a whole number brought into 0 to 200, otherwise the default 40).
NumberField numberFieldFromStore(std::string_view stored);

// The text stored for the field: as typed, "0" for an empty field, so the
// store never gets a threshold that is not a number.
std::string numberFieldToStore(std::string_view text);

}  // namespace doxel
