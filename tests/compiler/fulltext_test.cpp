#include "compiler/fulltext/fulltext_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>

#include "chm_readers.h"
#include "compiler/fulltext/page_text.h"
#include "core/text_encoding.h"
#include "plain_chm.h"
#include "test_support.h"

namespace doxel::chm {
namespace {

using Search = test::PychmSearch;

// A help file holding only the pages' search index, searched by pychm.
class SearchableHelpFile {
public:
    SearchableHelpFile(const std::vector<FullTextPage>& pages, FullTextOptions options) : m_options(options)
    {
        m_result = buildFullTextIndex(pages, options);
        std::size_t topics = 0;
        for (const FullTextPage& page : pages)
            topics = std::max<std::size_t>(topics, page.topicIndex + 1);
        m_titles.resize(topics);
        CodePageEncoder encoder(*codePageByNumber(options.codePage));
        std::vector<test::PlainChmTopic> chmTopics(topics);
        for (const FullTextPage& page : pages) {
            m_titles[page.topicIndex] = page.title;
            chmTopics[page.topicIndex] = {encoder.encode(page.title),
                                          "page" + std::to_string(page.topicIndex) + ".htm"};
        }
        test::writeFile(m_dir.file("help.chm"), test::plainChm(chmTopics, m_result.data, options.languageId));
    }

    const FullTextResult& result() const { return m_result; }

    // The titles (UTF-8) each search finds; nullopt when pychm is missing.
    std::optional<std::vector<std::vector<std::string>>> search(const std::vector<Search>& searches) const
    {
        return test::searchWithPychm(m_dir.file("help.chm"), m_options.codePage, searches);
    }

private:
    test::TempDir m_dir;
    FullTextOptions m_options;
    FullTextResult m_result;
    std::vector<std::string> m_titles;
};

#define SEARCH_OR_SKIP(file, searches, found)                                        \
    const auto found##Maybe = (file).search(searches);                               \
    if (!found##Maybe)                                                               \
        GTEST_SKIP() << "pychm (python3-chm) is not installed for /usr/bin/python3"; \
    const auto& found = *found##Maybe;                                               \
    ASSERT_EQ(found.size(), (searches).size())

using Titles = std::vector<std::string>;

struct LanguageCase {
    const char* name;
    int codePage;
    std::uint32_t languageId;
    const char* title;
    const char* html;
    std::vector<std::string> words;  // each finds the page alone
};

TEST(FullTextIndex, FindsWordsOfEachLanguageInItsCodePage)
{
    const std::vector<LanguageCase> cases = {
        {"German",
         1252,
         0x407,
         "Grüße",
         "<html><body><p>Grüße aus <b>München</b>!</p></body></html>",
         {"münchen", "grüße", "aus"}},
        {"Russian",
         1251,
         0x419,
         "Установка программы",
         "<h1>Установка программы</h1><p>Как выполнить установку.</p>",
         {"установка", "установку", "программы"}},
        {"French, words joined by hyphens found whole and in parts",
         1252,
         0x40C,
         "Mot-clé",
         "<p>Chaque mot-clé mène à sa rubrique, par e-mail.</p>",
         {"mot-clé", "mot", "clé", "e-mail", "sa"}},
        {"Greek", 1253, 0x408, "Το πρόγραμμα", "<p>Το ΠΡΌΓΡΑΜΜΑ εγκατάστασης</p>", {"πρόγραμμα", "εγκατάστασης"}},
        {"Polish", 1250, 0x415, "Zażółć", "<p>Zażółć gęślą jaźń</p>", {"zażółć", "gęślą", "jaźń"}},
        {"Japanese",
         932,
         0x411,
         "インストール",
         "<p>ソフトウェアのインストール方法を説明します。</p>",
         {"インストール", "ソフトウェア", "方法"}},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SearchableHelpFile file(
            {{0, "Other", "<p>Nothing to see 123</p>"}, {1, c.title, c.html}, {2, "Third", "<p>More text</p>"}},
            {c.codePage, c.languageId});
        EXPECT_TRUE(file.result().notes.empty());
        std::vector<Search> searches;
        for (const std::string& word : c.words)
            searches.push_back({word});
        SEARCH_OR_SKIP(file, searches, found);
        for (std::size_t i = 0; i < searches.size(); ++i)
            EXPECT_EQ(found[i], Titles{c.title}) << searches[i].query;
    }
}

TEST(FullTextIndex, FindsAWordHoweverThePageWritesIt)
{
    const std::vector<std::pair<const char*, bool>> pages = {
        {"<p>MÜNCHEN</p>", true},
        {"<p>Mu\xCC\x88nchen</p>", true},  // u and a combining diaeresis
        {"<p>Mün&shy;chen</p>", true},
        {"<p>M&uuml;nchen</p>", true},
        {"<p>M&#252;nchen, M&#xFC;nchen</p>", true},
        {"<p><b>Mün</b>chen</p>", true},
        {"<title>München</title><p>x</p>", true},
        {"<p>Mün</p><p>chen</p>", false},
        {"<script>var s = '<p>München</p>';</script><p>x</p>", false},
        {"<style>p.München { }</style><p>x</p>", false},
        {"<!-- München --><p>x</p>", false},
        {"<p title=\"München > Berlin\">x</p>", false},
        {"<p>Münchener</p>", false},
    };
    std::vector<FullTextPage> input;
    Titles expected;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        input.push_back({static_cast<std::uint32_t>(i), "Page " + std::to_string(i + 10), pages[i].first});
        if (pages[i].second)
            expected.push_back(input.back().title);
    }
    const SearchableHelpFile file(input, {1252, 0x407});
    const std::vector<Search> searches = {{"münchen"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0], expected);
}

TEST(FullTextIndex, LeavesOutTheWordsOfTheStopList)
{
    const SearchableHelpFile file({{0, "Harbour", "<p>The tide and the HARBOUR of Büsum</p>"}},
                                  {1252, 0x407, "the\r\nAND   büsum\n"});
    const std::vector<Search> searches = {{"the"}, {"and"}, {"büsum"}, {"harbour"}, {"tide"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found, (std::vector<Titles>{{}, {}, {}, {"Harbour"}, {"Harbour"}}));
}

TEST(FullTextIndex, SearchesTitlesAloneAndWordBeginnings)
{
    const SearchableHelpFile file({{0, "Grüße aus München", "<p>Text ohne Stadt</p>"},
                                   {1, "Andere Seite", "<p>München ist groß</p>"},
                                   {2, "Dritte", "<p>Münchner Bier</p>"}},
                                  {1252, 0x407});
    const std::vector<Search> searches = {
        {"münchen", true, true}, {"münchen", true, false}, {"münch", false, false},
        {"seite", true, true},   {"stadt", true, true},
    };
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0], Titles{"Grüße aus München"});
    EXPECT_EQ(found[1], Titles{"Andere Seite"});
    EXPECT_EQ(found[2], (Titles{"Andere Seite", "Dritte", "Grüße aus München"}));
    EXPECT_EQ(found[3], Titles{"Andere Seite"});
    EXPECT_EQ(found[4], Titles{});
}

TEST(FullTextIndex, FindsEveryTopicOfAnIndexOfManyNodes)
{
    // Thousands of words fill many leaf nodes under an index node; a word
    // on every page has a long list of topics.
    std::vector<FullTextPage> pages;
    for (std::uint32_t p = 0; p < 400; ++p) {
        std::string html = "<p>common";
        if (p % 2 == 0)
            html += " even";
        for (int w = 0; w < 20; ++w)
            html += " w" + std::to_string(p) + "x" + std::to_string(w);
        pages.push_back({p, "Page " + std::to_string(p), html + "</p>"});
    }
    std::mt19937 shuffle(7);
    std::shuffle(pages.begin(), pages.end(), shuffle);
    const SearchableHelpFile file(pages, {1252, 0x409});
    const std::string& data = file.result().data;
    ASSERT_GE(data.size(), 0x400u);
    EXPECT_EQ(static_cast<unsigned char>(data[0x18]), 2) << "tree depth";

    const std::vector<Search> searches = {{"common"}, {"even"}, {"w0x0"}, {"w399x19"}, {"w200x7"}, {"w57x13"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0].size(), 400u);
    EXPECT_EQ(found[1].size(), 200u);
    EXPECT_EQ(found[2], Titles{"Page 0"});
    EXPECT_EQ(found[3], Titles{"Page 399"});
    EXPECT_EQ(found[4], Titles{"Page 200"});
    EXPECT_EQ(found[5], Titles{"Page 57"});
}

TEST(FullTextIndex, ReadsPagesOfOneTopicAsOne)
{
    const SearchableHelpFile file(
        {{1, "Zwei", "<p>beide</p>"}, {0, "Eins", "<p>andere</p>"}, {1, "Zwei", "<p>beide</p>"}}, {1252, 0x407});
    const std::string& data = file.result().data;
    EXPECT_EQ(static_cast<unsigned char>(data[4]), 2) << "topics";
    const std::vector<Search> searches = {{"beide"}, {"andere"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0], Titles{"Zwei"});
    EXPECT_EQ(found[1], Titles{"Eins"});
}

TEST(FullTextIndex, LeavesOutWordsTheCodePageCannotHoldWithOneNote)
{
    const SearchableHelpFile file({{0, "Eins", "<p>Привет мир, привет! München</p>"}, {1, "Zwei", "<p>Мир Straße</p>"}},
                                  {1252, 0x407});
    ASSERT_EQ(file.result().notes.size(), 1u);
    EXPECT_EQ(file.result().notes[0],
              "The search index leaves out 2 words that code page 1252 cannot hold: \"привет\", \"мир\".");
    const std::vector<Search> searches = {{"münchen"}, {"straße"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0], Titles{"Eins"});
    EXPECT_EQ(found[1], Titles{"Zwei"});
}

TEST(FullTextIndex, CutsVeryLongWordsAsReadersDo)
{
    const std::string longWord(5000, 'a');
    const SearchableHelpFile file({{0, "Long", "<p>" + longWord + " short</p>"}, {1, "Other", "<p>b</p>"}},
                                  {1252, 0x409});
    ASSERT_EQ(file.result().notes.size(), 1u);
    EXPECT_NE(file.result().notes[0].find("1 word longer than 99 bytes"), std::string::npos);
    const std::vector<Search> searches = {{std::string(99, 'a')}, {"aaaa", false}, {"short"}};
    SEARCH_OR_SKIP(file, searches, found);
    for (const auto& titles : found)
        EXPECT_EQ(titles, Titles{"Long"});
}

TEST(FullTextIndex, DependsOnThePagesAloneNotOnTheirOrder)
{
    std::vector<FullTextPage> pages;
    for (std::uint32_t p = 0; p < 600; ++p)
        pages.push_back({p, "T" + std::to_string(p), "<p>Wort" + std::to_string(p % 37) + " über alles</p>"});
    const std::string first = buildFullTextIndex(pages, {1252, 0x407}).data;
    std::mt19937 shuffle(11);
    std::shuffle(pages.begin(), pages.end(), shuffle);
    EXPECT_EQ(buildFullTextIndex(pages, {1252, 0x407}).data, first);
}

TEST(FullTextIndex, HeaderNamesTopicsCodePageAndLanguage)
{
    const std::string data = buildFullTextIndex({{0, "A", "<p>Один</p>"}, {3, "B", "<p>два</p>"}}, {1251, 0x419}).data;
    ASSERT_GE(data.size(), 0x400u + 4096u);
    auto dword = [&](std::size_t at) {
        return static_cast<std::uint32_t>(
            static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8 |
            static_cast<unsigned char>(data[at + 2]) << 16 | static_cast<unsigned char>(data[at + 3]) << 24);
    };
    EXPECT_EQ(dword(0x00), 0x00280000u);
    EXPECT_EQ(dword(0x04), 2u);
    EXPECT_EQ(dword(0x7A), 1251u);
    EXPECT_EQ(dword(0x7E), 0x419u);
}

TEST(FullTextIndex, AnEmptyIndexIsOneEmptyLeaf)
{
    const SearchableHelpFile file({{0, "!", "<p> - </p>"}}, {1252, 0x409});
    EXPECT_EQ(file.result().data.size(), 0x400u + 4096u);
    const std::vector<Search> searches = {{"anything"}};
    SEARCH_OR_SKIP(file, searches, found);
    EXPECT_EQ(found[0], Titles{});
}

TEST(VisiblePageText, KeepsWhatAReaderSees)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<p>a</p><p>b</p>", " a  b "},
        {"a<b>b</b>c<span class='x'>d</span>", "abcd"},
        {"a<br>b<td>c", "a b c"},
        {"a<!-- b -->c<!-- open", "ac"},
        {"a<script type=\"x\">b</p></script >c<SCRIPT>d", "a c "},
        {"a<style>b</style>c", "a c"},
        {"a<!DOCTYPE html><?xml x?>b", "ab"},
        {"1 < 2 &amp;&lt;&#x41;&unknown; <3", "1 < 2 &<A&unknown; <3"},
        {"a<img alt=\"x > y\" src=x>b", "a b"},
        {"a<p class=x\"y>b", "a b"},
        {"<p", " "},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(visiblePageText(html), text) << html;
}

}  // namespace
}  // namespace doxel::chm
