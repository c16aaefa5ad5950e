#pragma once

#include <functional>
#include <map>
#include <string>

namespace doxel {

// The user's settings: named text values, read where they are used and
// never cached. Flags are "1" (on) and "0" (off); only "1" counts as on. An
// absent value reads as the empty text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Both throw SettingsError when the store refuses.
    virtual std::string read(const std::string& name) = 0;
    virtual void write(const std::string& name, const std::string& value) = 0;
};

std::string ReadSetting(SettingsStore& store, const std::string& name);
void WriteSetting(SettingsStore& store, const std::string& name, const std::string& value);

// True when the setting is exactly "1".
bool settingIsOn(SettingsStore& store, const std::string& name);

// The setting as a whole number, or `fallback` when it is not one.
int settingNumber(SettingsStore& store, const std::string& name, int fallback);

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

// Writes the default of each setting that has one and is empty, in the
// order DosBox, ShowFileSystem, LogFile, HtmlEditor, DefaultIcon1,
// TopicAsChild, DefaultIcon2, ProgressMinimum, ToolbColored.
void ApplySettingDefaults(SettingsStore& store, const SettingDefaultsEnvironment& environment);

inline constexpr int kDefaultProgressMinimum = 40;

}  // namespace doxel
