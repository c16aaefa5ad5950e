#include "core/help_language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace doxel {
namespace {

TEST(HelpLanguage, FollowsTheLettersTheTextsUse)
{
    struct Case {
        const char* what;
        std::vector<std::string_view> texts;
        int codePage;
        int languageId;
        bool complete;
    };
    const Case cases[] = {
        {"ASCII", {"Guide", "intro.htm"}, 1252, 0x409, true},
        {"German", {"Größe", "de/größe.htm", "Übung"}, 1252, 0x409, true},
        {"Russian", {"Справка", "главы/ёлка.htm"}, 1251, 0x419, true},
        {"German with one Russian text", {"Größe", "Übungen für Äpfel", "Grüße", "Привет"}, 1252, 0x409, false},
        {"Russian with one German text", {"Größe", "Справка", "Начало", "Глава"}, 1251, 0x419, false},
        {"Polish", {"Łódź", "Zażółć gęślą jaźń", "Pomoc"}, 1250, 0x415, true},
        {"Czech", {"Řešení problémů", "kapitoly/řešení.htm", "Úvod"}, 1250, 0x405, true},
        {"Greek", {"Βοήθεια", "Εισαγωγή"}, 1253, 0x408, true},
        {"Turkish", {"Yardım", "Başlangıç"}, 1254, 0x41F, true},
        {"Japanese", {"日本語のヘルプ", "はじめに", "目次"}, 932, 0x411, true},
        {"Korean", {"도움말", "시작하기", "中國"}, 949, 0x412, true},
        {"Simplified Chinese", {"帮助", "简体中文说明"}, 936, 0x804, true},
        {"Traditional Chinese", {"說明", "繁體中文", "中文"}, 950, 0x404, true},
    };
    for (const Case& c : cases) {
        bool complete = !c.complete;
        const CodePage& page = chooseHelpLanguage(c.texts, &complete);
        EXPECT_EQ(page.number, c.codePage) << c.what;
        EXPECT_EQ(page.languageId, c.languageId) << c.what;
        EXPECT_EQ(complete, c.complete) << c.what;
    }
}

TEST(HelpLanguage, TheAuthorsChoiceOverridesTheLetters)
{
    struct Case {
        const char* what;
        int chosen;
        std::vector<std::string_view> texts;
        int languageId;
        bool complete;
    };
    const Case cases[] = {
        {"Polish chosen for ASCII texts", 0x415, {"Help", "intro.htm"}, 0x415, true},
        {"Russian chosen for Russian and German texts", 0x419, {"Справка", "Größe"}, 0x419, false},
        {"Windows-1252 chosen for Russian texts", 0x409, {"Справка"}, 0x409, false},
        {"an id no help file is written in is no choice", 0x407, {"Справка"}, 0x419, true},
        {"no choice", 0, {"Łódź"}, 0x415, true},
    };
    for (const Case& c : cases) {
        bool complete = !c.complete;
        EXPECT_EQ(helpLanguageFor(c.chosen, c.texts, &complete).languageId, c.languageId) << c.what;
        EXPECT_EQ(complete, c.complete) << c.what;
    }
}

TEST(HelpLanguage, EveryLanguageOnOfferHasANameOfItsOwn)
{
    // Every id once, each with a name, as the project properties list them.
    const std::vector<const CodePage*> languages = helpLanguages();
    EXPECT_EQ(languages.size(), helpCodePages().size() + 1);
    std::vector<int> names;
    for (const CodePage* page : languages) {
        EXPECT_EQ(helpLanguageById(page->languageId), page);
        const int name = languageNameTextId(page->languageId);
        EXPECT_NE(name, 0) << page->languageName;
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << page->languageName;
        names.push_back(name);
    }
    EXPECT_EQ(helpLanguageById(0), nullptr);

    // Named through the lookup given, in English without one.
    const CodePage& russian = *helpLanguageById(0x419);
    EXPECT_EQ(helpLanguageName(russian), "Russian");
    EXPECT_EQ(helpLanguageName(russian, [](int) { return std::string("Russisch"); }), "Russisch");
    EXPECT_EQ(helpLanguageName(russian, [](int) { return std::string(); }), "Russian");
}

}  // namespace
}  // namespace doxel
