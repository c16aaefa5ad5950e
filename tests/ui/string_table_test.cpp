#include "ui/logic/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ui/logic/caption_table.h"

namespace doxel {
namespace {

constexpr int kLastEnglishId = 999;

std::set<int> englishIds()
{
    std::set<int> ids;
    for (int id = 1; id <= kLastEnglishId; ++id) {
        if (stringTableText(id))
            ids.insert(id);
    }
    return ids;
}

std::size_t countOf(std::string_view text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

std::size_t trailingSpaces(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? text.size() : text.size() - last - 1;
}

TEST(StringTable, EveryLanguageHasEveryEnglishIdAndNoOthers)
{
    const std::set<int> ids = englishIds();
    ASSERT_GT(ids.size(), 150u);
    for (const Language& language : kLanguages) {
        for (int id = 1; id <= kLastEnglishId; ++id) {
            const bool present = stringTableText(id + language.offset).has_value();
            EXPECT_EQ(present, ids.contains(id)) << language.code << " id " << id;
        }
    }
}

TEST(StringTable, TranslationsKeepLineBreaksPaddingAndTheProgramName)
{
    for (const int id : englishIds()) {
        const std::string_view english = *stringTableText(id);
        for (const Language& language : kLanguages) {
            const std::string_view text = *stringTableText(id + language.offset);
            SCOPED_TRACE(std::string(language.code) + " id " + std::to_string(id));
            EXPECT_EQ(countOf(text, '|'), countOf(english, '|'));
            EXPECT_EQ(trailingSpaces(text) > 0, trailingSpaces(english) > 0);
            EXPECT_EQ(english.find("HTML Doxel") != std::string_view::npos,
                      text.find("HTML Doxel") != std::string_view::npos);
            EXPECT_FALSE(text.empty());
        }
    }
}

TEST(StringTable, NoEnglishTextIsLeftUntranslated)
{
    // Words that are the same in the other language.
    const std::set<std::pair<std::string, int>> sameAsEnglish = {
        {"de", 87},  {"de", 115}, {"de", 128}, {"de", 254}, {"fr", 28},  {"fr", 87},
        {"fr", 115}, {"fr", 128}, {"fr", 254}, {"es", 128}, {"fr", 381}, {"de", 385},
    };
    for (const int id : englishIds()) {
        for (const Language& language : kLanguages) {
            if (language.offset == 0 || sameAsEnglish.contains({language.code, id}))
                continue;
            EXPECT_NE(*stringTableText(id + language.offset), *stringTableText(id))
                << language.code << " id " << id << " is still English";
        }
    }
}

TEST(StringTable, QuotedTranslationsAreExact)
{
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {1090, "Änderungen speichern?"},
        {2090, "Enregistrer changements ?"},
        {3090, "¿Guardar cambios?"},
        {4090, "Сохранить изменения?"},
        {1094, "Neues Projekt (Titel hierher)"},
        {2094, "Nouveau projet (mettre le titre ici)"},
        {3094, "Nuevo proyecto (escribir un nombre aquí)"},
        {4094, "Новый проект (введите Ваше название)"},
        {199, "Set Background Color      "},
        {200, "Set Text Color                  "},
        {65320, "File Not Found"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(stringTableText(c.id), std::string_view(c.text)) << c.id;
}

TEST(StringTable, EveryCaptionOfTheMainWindowHasAText)
{
    for (const CaptionTableRow& row : captionTable()) {
        for (const Language& language : kLanguages)
            EXPECT_TRUE(stringTableText(row.id + language.offset)) << row.control.objectName() << " " << language.code;
    }
}

TEST(StringTable, ChosenLanguageIsEnglishUnlessTheSettingNamesAnother)
{
    const struct {
        const char* setting;  // nullptr: absent
        std::string_view code;
    } cases[] = {
        {nullptr, "en"}, {"", "en"},     {"0", "en"},    {"1000", "de"},  {"2000", "fr"},
        {"3000", "es"},  {"4000", "ru"}, {"5000", "en"}, {"1000x", "en"}, {"-1000", "en"},
    };
    for (const auto& c : cases) {
        MemorySettingsStore settings;
        if (c.setting)
            settings.write("Language", c.setting);
        EXPECT_EQ(chosenLanguage(settings).code, c.code) << (c.setting ? c.setting : "absent");
    }
}

TEST(programTextLookup, NamesHelpLanguagesInTheProgramsLanguage)
{
    const CodePage& russian = *helpLanguageById(0x419);
    const std::pair<const char*, std::string> cases[] = {
        {"0", "Russian"}, {"1000", "Russisch"}, {"4000", "Русский"}, {"5000", "Russian"}, {"abc", "Russian"}};
    for (const auto& [language, name] : cases) {
        MemorySettingsStore settings;
        settings.write("Language", language);
        EXPECT_EQ(helpLanguageName(russian, programTextLookup(settings)), name) << language;
    }
}

TEST(loadText, FollowsTheLanguageSettingAtEveryFetch)
{
    struct Case {
        const char* language;  // nullptr: absent
        int id;
        std::string expected;
        std::string languageAfter;
    };
    const Case cases[] = {
        {nullptr, 1, "&File", "0"},
        {"", 90, "Save changes?", "0"},
        {"4000", 1, std::string(*stringTableText(4001)), "4000"},
        {"1000", 90, "Änderungen speichern?", "1000"},
        {"abc", 1, "&File", "abc"},
        {"1000x", 1, "&File", "1000x"},
        {"5000", 1, "", "5000"},
        {"9223372036854775807", 1, "", "9223372036854775807"},
        {"-9223372036854775807", 1, "", "-9223372036854775807"},
        {"0", 98765, "", "0"},
        {"2000", 65320, "", "2000"},
        {"0", 65320, "File Not Found", "0"},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        if (c.language)
            settings.write("Language", c.language);
        EXPECT_EQ(loadText(settings, c.id), c.expected) << (c.language ? c.language : "absent") << " " << c.id;
        EXPECT_EQ(settings.read("Language"), c.languageAfter);
    }
}

TEST(loadText, ExpandsBarsToLineFeedCarriageReturn)
{
    MemorySettingsStore settings;
    const std::string text = loadText(settings, 95);
    EXPECT_EQ(text.find('|'), std::string::npos);
    // Seven lines, two of them empty.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\n\r", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    EXPECT_EQ(lines.size(), 7u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 2);
    EXPECT_EQ(fetchedText("a||b"), "a\n\r\n\rb");
}

TEST(loadText, KeepsTheFirst499CharactersWithoutSplittingOne)
{
    EXPECT_EQ(fetchedText(std::string(600, 'x')), std::string(499, 'x'));
    std::string cyrillic;
    for (int i = 0; i < 600; ++i)
        cyrillic += "Ж";
    EXPECT_EQ(fetchedText(cyrillic).size(), 499u * 2);
    EXPECT_EQ(fetchedText(std::string(499, '|')).size(), 998u);
}

TEST(StringTable, CurrentLanguageIsTheOneTheTextsAreFetchedIn)
{
    const std::pair<const char*, std::optional<std::size_t>> cases[] = {
        {"", 0}, {"0", 0}, {"1000", 1}, {"4000", 4}, {"German", 0}, {"1500", std::nullopt}, {"-1000", std::nullopt},
    };
    for (const auto& [value, language] : cases) {
        MemorySettingsStore settings;
        settings.write("Language", value);
        EXPECT_EQ(currentLanguage(settings), language) << "'" << value << "'";
    }
}

TEST(withArguments, FillsEachPlaceOnceAndLeavesOthersAsWritten)
{
    EXPECT_EQ(withArguments("%2 of \"%1\" (%3, 100%)", {"a%2.dxp", "3"}), "3 of \"a%2.dxp\" (%3, 100%)");
}

}  // namespace
}  // namespace doxel
