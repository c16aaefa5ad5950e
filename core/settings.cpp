#include "core/settings.h"

#include <charconv>

namespace doxel {

std::string ReadSetting(SettingsStore& store, const std::string& name)
{
    return store.read(name);
}

void WriteSetting(SettingsStore& store, const std::string& name, const std::string& value)
{
    store.write(name, value);
}

bool settingIsOn(SettingsStore& store, const std::string& name)
{
    return store.read(name) == "1";
}

int settingNumber(SettingsStore& store, const std::string& name, int fallback)
{
    const std::string text = store.read(name);
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return fallback;
    return value;
}

std::string MemorySettingsStore::read(const std::string& name)
{
    const auto found = m_values.find(name);
    return found == m_values.end() ? std::string() : found->second;
}

void MemorySettingsStore::write(const std::string& name, const std::string& value)
{
    m_values[name] = value;
}

void ApplySettingDefaults(SettingsStore& store, const SettingDefaultsEnvironment& environment)
{
    const auto fill = [&store](const std::string& name, const std::function<std::string()>& value) {
        if (ReadSetting(store, name).empty())
            WriteSetting(store, name, value());
    };
    const auto fixed = [](const char* text) { return [text] { return std::string(text); }; };
    fill("DosBox", fixed("1"));
    fill("ShowFileSystem", fixed("1"));
    fill("LogFile", [&] { return environment.programDataFolder + "log.txt"; });
    fill("HtmlEditor", [&] { return environment.findHtmlEditor ? environment.findHtmlEditor() : std::string(); });
    fill("DefaultIcon1", fixed("8"));
    fill("TopicAsChild", fixed("0"));
    fill("DefaultIcon2", fixed("1"));
    fill("ProgressMinimum", fixed("40"));
    fill("ToolbColored", fixed("0"));
}

}  // namespace doxel
