#include "ui/logic/string_table.h"

#include <algorithm>
#include <charconv>

#include "core/errors.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

struct Row {
    long long id;
    std::string_view text;
};

bool rowLess(const Row& a, const Row& b)
{
    return a.id < b.id;
}

// Parsed once; the texts stay views into the embedded literals.
std::vector<Row> parseFiles()
{
    std::vector<Row> rows;
    for (const StringTableFile& file : stringTableFiles()) {
        std::string_view rest(file.text);
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (line.empty() || line.front() == '#')
                continue;
            const std::size_t tab = line.find('\t');
            if (tab == std::string_view::npos)
                continue;
            long long id = 0;
            const auto result = std::from_chars(line.data(), line.data() + tab, id);
            if (result.ec != std::errc() || result.ptr != line.data() + tab)
                continue;
            rows.push_back({id + file.offset, line.substr(tab + 1)});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), rowLess);
    return rows;
}

const std::vector<Row>& table()
{
    static const std::vector<Row> rows = parseFiles();
    return rows;
}

long long languageOffset(SettingsStore& settings)
{
    Settings typed(settings);
    if (typed.text(setting::kLanguage).empty())
        typed.setText(setting::kLanguage, "0");
    const std::string value = typed.text(setting::kLanguage);
    long long offset = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), offset);
    if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size())
        return 0;
    return offset;
}

}  // namespace

std::optional<std::size_t> currentLanguage(SettingsStore& settings)
{
    const long long offset = languageOffset(settings);
    for (std::size_t n = 0; n < std::size(kLanguages); ++n) {
        if (kLanguages[n].offset == offset)
            return n;
    }
    return std::nullopt;
}

const Language& chosenLanguage(SettingsStore& settings)
{
    return kLanguages[currentLanguage(settings).value_or(0)];
}

std::optional<std::string_view> stringTableText(long long absoluteId)
{
    const std::vector<Row>& rows = table();
    const auto found = std::lower_bound(rows.begin(), rows.end(), Row{absoluteId, {}}, rowLess);
    if (found == rows.end() || found->id != absoluteId)
        return std::nullopt;
    return found->text;
}

std::string fetchedText(std::string_view stored)
{
    const std::string_view kept = firstCharacters(stored, kFetchedTextLimit);
    std::string text;
    text.reserve(kept.size() + 8);
    for (const char c : kept) {
        if (c == '|')
            text += "\n\r";
        else
            text += c;
    }
    return text;
}

std::string loadText(SettingsStore& settings, int id)
{
    // An offset far outside the table names no text; bounding it keeps the
    // sum from overflowing.
    constexpr long long kOffsetBound = 1LL << 40;
    const long long offset = languageOffset(settings);
    if (offset > kOffsetBound || offset < -kOffsetBound)
        return {};
    const auto text = stringTableText(static_cast<long long>(id) + offset);
    return text ? fetchedText(*text) : std::string();
}

TextLookup programTextLookup(SettingsStore& settings)
{
    long long offset = 0;
    try {
        offset = chosenLanguage(settings).offset;
    } catch (const SettingsError&) {
        offset = 0;
    }
    return [offset](int id) {
        const auto text = stringTableText(static_cast<long long>(id) + offset);
        return text ? fetchedText(*text) : std::string();
    };
}

std::string withArguments(std::string_view text, const std::vector<std::string>& arguments)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t number = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
        if (text[i] == '%' && number >= 1 && number <= 9 && number <= arguments.size()) {
            result += arguments[number - 1];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace doxel
