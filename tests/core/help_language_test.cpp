#include "core/help_language.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace doxel
