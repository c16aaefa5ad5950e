#include "core/settings.h"

#include <charconv>

namespace doxel {
namespace {

// The whole text as a number; nothing for anything else.
std::optional<int> wholeNumber(const std::string& text)
{
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<UnreadableSettingsLine> firstUnreadableSettingsLine(std::string_view fileText)
{
    int number = 0;
    while (!fileText.empty()) {
        ++number;
        const std::size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == ';' || line.front() == '[' || line.find('=') != std::string_view::npos)
            continue;
        return UnreadableSettingsLine{number, std::string(line)};
    }
    return std::nullopt;
}

std::string Settings::text(const SettingKey& key) const
{
    return m_store.read(key.name);
}

bool Settings::flag(const SettingKey& key) const
{
    return text(key) == "1";
}

int Settings::number(const SettingKey& key) const
{
    const std::optional<int> value = wholeNumber(text(key));
    if (!value || *value < key.minimum || *value > key.maximum)
        return key.fallback;
    return *value;
}

void Settings::setText(const SettingKey& key, const std::string& value)
{
    m_store.write(key.name, value);
}

void Settings::setFlag(const SettingKey& key, bool on)
{
    setText(key, on ? "1" : "0");
}

void Settings::setNumber(const SettingKey& key, int value)
{
    setText(key, std::to_string(value));
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

void Settings::applyDefaults(const SettingDefaultsEnvironment& environment)
{
    const auto fill = [this](const SettingKey& key, const std::function<std::string()>& value) {
        if (text(key).empty())
            setText(key, value());
    };
    const auto initial = [](const SettingKey& key) { return [&key] { return std::string(key.initial); }; };
    fill(setting::kDosBox, initial(setting::kDosBox));
    fill(setting::kShowFileSystem, initial(setting::kShowFileSystem));
    fill(setting::kLogFile, [&] { return environment.programDataFolder + "log.txt"; });
    fill(setting::kHtmlEditor,
         [&] { return environment.findHtmlEditor ? environment.findHtmlEditor() : std::string(); });
    fill(setting::kDefaultTopicIcon, initial(setting::kDefaultTopicIcon));
    fill(setting::kTopicAsChild, initial(setting::kTopicAsChild));
    fill(setting::kDefaultHeaderIcon, initial(setting::kDefaultHeaderIcon));
    fill(setting::kProgressMinimum, initial(setting::kProgressMinimum));
    fill(setting::kToolbarColored, initial(setting::kToolbarColored));
}

}  // namespace doxel
