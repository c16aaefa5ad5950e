#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/help_language.h"
#include "core/settings.h"

namespace doxel {

// One file of data/strings as compiled into the program: lines
// "ID<TAB>TEXT", "#" comments and empty lines skipped. Every id of the file
// is stored at id + offset.
struct StringTableFile {
    const char* language;  // "en", "de", "fr", "es", "ru", "fixed"
    int offset;
    const char* text;
};

// The embedded files (generated from data/strings at build time).
const std::vector<StringTableFile>& stringTableFiles();

// A user-interface language: the offset added to every string id and the
// fixed, never translated caption of its menu item.
struct Language {
    int offset;
    const char* code;      // the data/strings file name
    const char* menuItem;  // objectName of the Options > Language item
    const char* menuCaption;
};
inline constexpr Language kLanguages[] = {
    {0, "en", "English1", "English"},    {1000, "de", "Deutsch1", "German"},  {2000, "fr", "French1", "French"},
    {3000, "es", "Spanish1", "Spanish"}, {4000, "ru", "Russian1", "Russian"},
};

// The row of kLanguages whose offset the setting Language holds, read as
// loadText reads it (so a value that is no number is English); nothing for
// an offset of no language.
std::optional<std::size_t> currentLanguage(SettingsStore& settings);
// The same row, English for a value that names none of them.
const Language& chosenLanguage(SettingsStore& settings);

// The text stored at `absoluteId` (language offset included) as written in
// the table, "|" unexpanded; nothing when the table has no such id.
std::optional<std::string_view> stringTableText(long long absoluteId);

// The text fetch: reads the setting Language on every call (writing "0"
// when it is empty; a value that is not a whole decimal number counts as 0),
// looks up id + that offset, keeps the first 499 characters and expands
// every "|" to a line feed followed by a carriage return. An id without a
// text gives the empty text. Throws SettingsError when the store refuses.
std::string loadText(SettingsStore& settings, int id);

// The last two steps of the fetch on a text as stored: the first 499
// characters (never cutting a UTF-8 character), "|" as LF CR ("||" gives
// an empty line).
std::string fetchedText(std::string_view stored);

inline constexpr std::size_t kFetchedTextLimit = 499;

// `text` with "%1" to "%9" replaced by the arguments in one pass, so that
// an argument holding "%2" stays as it is; a number without an argument
// stays as written.
std::string withArguments(std::string_view text, const std::vector<std::string>& arguments);

// The text fetch for logic that names things in the program's language
// (the compile's messages): the language is read once, here; a store that
// refuses gives English.
TextLookup programTextLookup(SettingsStore& settings);

}  // namespace doxel
