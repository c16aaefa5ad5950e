#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace doxel {

// Where the user's settings are kept: named text values, one read or write
// at a time. An absent value reads as the empty text. Read them through
// Settings, by their keys.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Both throw SettingsError when the store refuses.
    virtual std::string read(const std::string& name) = 0;
    virtual void write(const std::string& name, const std::string& value) = 0;
    // What of the stored settings could not be read and was passed over,
    // for a person to read; empty while everything was read.
    virtual std::string readProblem() const { return {}; }
};

// A line of an INI settings file that names no value: neither empty, nor a
// comment, nor a section header, nor "name=value".
struct UnreadableSettingsLine {
    int number = 0;  // counted from 1
    std::string text;
};
std::optional<UnreadableSettingsLine> firstUnreadableSettingsLine(std::string_view fileText);

// Settings kept in memory: the store of tests and of runs that must not
// touch the user's settings.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string read(const std::string& name) override;
    void write(const std::string& name, const std::string& value) override;
    const std::map<std::string, std::string>& values() const { return m_values; }
    bool has(const std::string& name) const { return m_values.contains(name); }

private:
    std::map<std::string, std::string> m_values;
};

// What the defaults depend on outside the store.
struct SettingDefaultsEnvironment {
    // Folder for files the program writes (log.txt), with its final "/".
    std::string programDataFolder;
    // The desktop's HTML editor command; asked only while HtmlEditor is
    // empty, so a value the user chose is never replaced.
    std::function<std::string()> findHtmlEditor;
};

// The highest icon number the choosers offer; a stored icon above it, or
// below 0, counts as unset.
inline constexpr int kLastChoosableIcon = 41;

// One stored value: its name in the settings file, the text the defaults
// write where it is empty (nullptr: none), and for a number the range it
// must fall in, with the value that stands for anything outside it.
struct SettingKey {
    const char* name;
    const char* initial = nullptr;
    int minimum = 0;
    int maximum = 0;
    int fallback = 0;
};

// Every value of the settings file, once.
namespace setting {
inline constexpr SettingKey kDosBox{"DosBox", "1"};
// Whether the file list of the contents page is shown.
inline constexpr SettingKey kShowFileSystem{"ShowFileSystem", "1"};
// The compile's log file; empty: no log.
inline constexpr SettingKey kLogFile{"LogFile"};
// The command line of the HTML editor.
inline constexpr SettingKey kHtmlEditor{"HtmlEditor"};
// The icons of new topics and headers.
inline constexpr SettingKey kDefaultTopicIcon{"DefaultIcon1", "8", 0, kLastChoosableIcon, 8};
inline constexpr SettingKey kDefaultHeaderIcon{"DefaultIcon2", "1", 0, kLastChoosableIcon, 1};
// New entries become children of the selected one.
inline constexpr SettingKey kTopicAsChild{"TopicAsChild", "0"};
// Commands of fewer steps than this show no progress window.
inline constexpr SettingKey kProgressMinimum{"ProgressMinimum", "40", -2147483647 - 1, 2147483647, 40};
inline constexpr SettingKey kToolbarColored{"ToolbColored", "0"};
// After a compile: open the help file, show the log.
inline constexpr SettingKey kLaunchHelp{"LaunchHelp"};
inline constexpr SettingKey kViewLog{"ViewLog"};
inline constexpr SettingKey kDeleteTemporaryFiles{"DelTemp"};
// The help compiler: "doxel" (our own, also when empty) or "chmcmd".
inline constexpr SettingKey kCompiler{"Compiler"};
// The string table's offset of the language of the captions ("1000").
inline constexpr SettingKey kLanguage{"Language"};
// The recent projects, and the folder of the last project opened or saved.
inline constexpr SettingKey kRecentProjects{"RUF"};
inline constexpr SettingKey kLastFolder{"LastDir"};
// The main window's frame and the split of its pages (Qt's own encoding).
inline constexpr SettingKey kWindowGeometry{"WindowGeometry"};
inline constexpr SettingKey kWindowSplit{"WindowSplit"};
}  // namespace setting

// The user's settings by their keys. Nothing is cached: each read asks the
// store, so two windows never disagree, and store errors (SettingsError)
// reach the caller.
//
//     Settings settings(store);
//     if (settings.flag(setting::kViewLog)) ...
class Settings {
public:
    explicit Settings(SettingsStore& store) : m_store(store) {}

    // The value as stored; empty when absent.
    std::string text(const SettingKey& key) const;
    // Only "1" is on.
    bool flag(const SettingKey& key) const;
    // The value as a whole number in the key's range, else its fallback.
    int number(const SettingKey& key) const;

    void setText(const SettingKey& key, const std::string& value);
    void setFlag(const SettingKey& key, bool on);
    void setNumber(const SettingKey& key, int value);

    // Writes the initial text of each key that has one and is empty, in the
    // order DosBox, ShowFileSystem, LogFile, HtmlEditor, DefaultIcon1,
    // TopicAsChild, DefaultIcon2, ProgressMinimum, ToolbColored.
    void applyDefaults(const SettingDefaultsEnvironment& environment);

private:
    SettingsStore& m_store;
};

inline void applySettingDefaults(SettingsStore& store, const SettingDefaultsEnvironment& environment)
{
    Settings(store).applyDefaults(environment);
}

inline constexpr int kDefaultProgressMinimum = setting::kProgressMinimum.fallback;

}  // namespace doxel
