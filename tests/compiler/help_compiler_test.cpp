#include "compiler/help_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "chm_readers.h"
#include "core/text_encoding.h"
#include "formats/help_file.h"
#include "formats/help_project_reader.h"
#include "formats/system_file.h"
#include "test_support.h"

namespace doxel::chm {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// Writes a help project's files into `folder` and compiles it; the lines it
// printed go to `log`.
bool compileProject(const fs::path& folder, const Files& files, std::vector<std::string>* log = nullptr)
{
    for (const auto& [name, data] : files) {
        fs::create_directories((folder / name).parent_path());
        test::writeFile(folder / name, data);
    }
    return compileHelpProject((folder / "help.hhp").string(), [log](const std::string& line) {
        if (log != nullptr)
            log->push_back(line);
    });
}

std::string hhp(const std::string& language, const std::string& title, const std::string& extraFiles = {},
                bool search = false)
{
    return test::crlf({"[OPTIONS]", "Compiled file=help.chm", "Contents file=help.hhc", "Index file=help.hhk",
                       "Default topic=index.htm", "Default Window=Main",
                       std::string("Full-text search=") + (search ? "Yes" : "No"), "Language=" + language,
                       "Title=" + title, "", "[WINDOWS]",
                       "Main=\"" + title +
                           "\",\"help.hhc\",\"help.hhk\",\"index.htm\",\"index.htm\",,,,,0x2520,"
                           "250,0x387e,[80,70,730,500],,,,,,,0",
                       "", "[FILES]", "index.htm" + extraFiles});
}

std::string sitemap(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string text = "<HTML><BODY><UL>\r\n";
    for (const auto& [name, local] : entries)
        text += "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
                "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\r\n";
    return text + "</UL></BODY></HTML>\r\n";
}

std::string page(const std::string& title, const std::string& body)
{
    return "<html><head><title>" + title + "</title><link rel=\"stylesheet\" href=\"style.css\"></head><body>" + body +
           "<img src=\"pictures/logo.png\"></body></html>";
}

// What each reader sees of the files that came from the project folder.
void expectEveryReaderHolds(const std::string& chm, const Files& expected)
{
    for (const auto& [reader, files] :
         {std::pair{"chmlib", test::readWithChmlib(chm)}, std::pair{"libmspack", test::readWithMspack(chm)},
          std::pair{"7-Zip", test::readWith7zip(chm)}}) {
        for (const auto& [name, data] : expected) {
            const auto found = files.find(name);
            ASSERT_NE(found, files.end()) << reader << " lacks " << name;
            EXPECT_EQ(found->second, data) << reader << " reads " << name << " wrongly";
        }
    }
}

std::uint32_t u32At(const std::string& bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0xFFFFFFFFu;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

struct LanguageCase {
    const char* name;
    const char* language;
    int languageId;
    const char* title;  // UTF-8
    const char* word;
};

class LanguageProject : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageProject, StoresEveryFileAndTheTitlesInTheCodePageAndFindsItsWords)
{
    const LanguageCase& c = GetParam();
    test::TempDir dir;
    const std::string index = page(c.title, std::string("<p>") + c.word + "</p><a href=\"sub/second.htm\">next</a>");
    const std::string second = page(std::string(c.word) + " 2", "<p>two</p>");
    const Files files = {{"help.hhp", hhp(c.language, c.title, {}, true)},
                         {"help.hhc", sitemap({{c.title, "index.htm"}, {c.word, "sub/second.htm"}})},
                         {"help.hhk", sitemap({{c.word, "index.htm"}})},
                         {"index.htm", index},
                         {"sub/second.htm", second},
                         {"style.css", "body { color: black }"},
                         {"pictures/logo.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10)}};
    std::vector<std::string> log;
    ASSERT_TRUE(compileProject(dir.path(), files, &log)) << (log.empty() ? "" : log.back());
    // The contents and index, written in UTF-8, go in in the code page
    // viewers read them in.
    Files stored;
    CodePageEncoder inCodePage(codePageForLanguageId(c.languageId));
    for (const auto& [name, data] : files) {
        if (name != "help.hhp")
            stored["/" + name] = name.ends_with(".hhc") || name.ends_with(".hhk") ? inCodePage.encode(data) : data;
    }
    const std::string chm = dir.file("help.chm");
    expectEveryReaderHolds(chm, stored);
    // The title goes into #STRINGS in the help file's code page, where the
    // topics and the window find it.
    const std::string strings = test::readWithChmlib(chm).at("/#STRINGS");
    EXPECT_NE(strings.find(CodePageEncoder(codePageForLanguageId(c.languageId)).encode(c.title)), std::string::npos);
    // Search finds the word of the first page, with its title from #TOPICS.
    const auto found = test::searchWithPychm(chm, codePageForLanguageId(c.languageId).number, {{c.word}});
    if (!found)
        GTEST_SKIP() << "pychm (python3-chm) is not installed for /usr/bin/python3";
    const std::vector<std::string>& titles = found->at(0);
    EXPECT_NE(std::find(titles.begin(), titles.end(), c.title), titles.end()) << c.word;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LanguageProject,
    ::testing::Values(LanguageCase{"German", "0x407 Deutsch", 0x407, "Grüße aus München", "Straße"},
                      LanguageCase{"Russian", "0x419 Russisch", 0x419, "Установка программы", "установку"},
                      LanguageCase{"Greek", "0x408 Griechisch", 0x408, "Εγκατάσταση προγράμματος", "πρόγραμμα"},
                      LanguageCase{"Polish", "0x415 Polnisch", 0x415, "Zażółć gęślą jaźń", "zażółć"},
                      LanguageCase{"Japanese", "0x411 Japanisch", 0x411, "インストール", "検索"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(HelpCompiler, ManyPagesGoInAndComeBackByteForByte)
{
    test::TempDir dir;
    Files files;
    std::string list;
    std::vector<std::pair<std::string, std::string>> contents;
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "pages/p" + std::to_string(i) + ".htm";
        std::string body;
        for (int j = 0; j < 20; ++j)
            body += "<p>Paragraph " + std::to_string(j) + " of topic " + std::to_string(i) + " with the tides.</p>";
        files[name] = page("Topic " + std::to_string(i), body);
        list += "\r\n" + name;
        contents.emplace_back("Topic " + std::to_string(i), name);
    }
    files["index.htm"] = page("Start", "<p>start</p>");
    files["style.css"] = "p {}";
    files["pictures/logo.png"] = "png";
    files["help.hhc"] = sitemap(contents);
    files["help.hhk"] = sitemap({{"start", "index.htm"}});
    files["help.hhp"] = hhp("0x409 English", "Many", list);
    ASSERT_TRUE(compileProject(dir.path(), files));
    Files stored;
    for (const auto& [name, data] : files) {
        if (name != "help.hhp")
            stored["/" + name] = data;
    }
    const std::string chm = dir.file("help.chm");
    expectEveryReaderHolds(chm, stored);
    // Viewers find a topic's row of #URLTBL by block: 341 rows of 12 bytes
    // to each block of 4 KB. Every row of #TOPICS leads there, and that row
    // back to the topic and its path in #URLSTR.
    const test::ChmFiles system = test::readWithChmlib(chm);
    const std::string& topics = system.at("/#TOPICS");
    const std::string& urlTable = system.at("/#URLTBL");
    const std::string& urlStrings = system.at("/#URLSTR");
    ASSERT_GT(topics.size() / 16, 2 * 341u);
    for (std::uint32_t topic = 0; topic < topics.size() / 16; ++topic) {
        const std::uint32_t row = topic / 341 * 4096 + topic % 341 * 12;
        ASSERT_EQ(u32At(topics, topic * 16 + 8), row) << topic;
        ASSERT_EQ(u32At(urlTable, row + 4), topic) << topic;
        const std::uint32_t url = u32At(urlTable, row + 8);
        ASSERT_LT(url + 8, urlStrings.size()) << topic;
        EXPECT_TRUE(stored.contains("/" + std::string(urlStrings.c_str() + url + 8))) << topic;
    }
}

TEST(HelpCompiler, TheDefaultTopicIsAStoredPage)
{
    // The contents start with pages/first.htm; [FILES] with pages/other.htm.
    struct Case {
        const char* defaultTopic;
        bool contents;
        const char* stored;
    };
    const Case cases[] = {
        {"index.htm", true, "index.htm"},
        {"pages\\first.htm", true, "pages/first.htm"},
        {"index.htm#part", true, "index.htm#part"},
        {"missing.htm", true, "pages/first.htm"},
        {"", true, "pages/first.htm"},
        {"../index.htm", true, "pages/first.htm"},
        {"missing.htm", false, "pages/other.htm"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const fs::path folder = dir.path() / "help";
        test::writeFile(dir.path() / "index.htm", page("Outside", "outside"));
        const Files files = {{"help.hhp", test::crlf({"[OPTIONS]", "Compiled file=help.chm",
                                                      std::string("Contents file=") + (c.contents ? "help.hhc" : ""),
                                                      std::string("Default topic=") + c.defaultTopic, "Title=T", "",
                                                      "[FILES]", "pages/other.htm", "index.htm", "pages/first.htm"})},
                             {"help.hhc", sitemap({{"First", "pages/first.htm"}, {"Index", "index.htm"}})},
                             {"index.htm", page("Index", "<a name=part>x</a>")},
                             {"pages/first.htm", page("First", "first")},
                             {"pages/other.htm", page("Other", "other")}};
        std::vector<std::string> log;
        ASSERT_TRUE(compileProject(folder, files, &log)) << c.defaultTopic << ": " << log.back();
        const test::ChmFiles stored = test::readWithChmlib((folder / "help.chm").string());
        EXPECT_EQ(readSystemFile(stored.at("/#SYSTEM")).defaultTopic, c.stored) << c.defaultTopic;
    }
}

TEST(HelpCompiler, TakesNoFileByAPathThatLeadsOutOfTheProjectFolder)
{
    // outside.htm lies both beside the project folder and in it, where only
    // paths through ".." name it.
    test::TempDir dir;
    const fs::path folder = dir.path() / "help";
    test::writeFile(dir.path() / "outside.htm", page("Outside", "outside"));
    test::writeFile(dir.path() / "secret.txt", "secret");
    const std::string project = test::crlf(
        {"[OPTIONS]", "Compiled file=help.chm", "Contents file=help.hhc", "Default topic=../outside.htm", "Title=T", "",
         "[WINDOWS]", "Main=\"T\",,,\"../outside.htm\",\"pages/../../outside.htm\"", "", "[FILES]", "index.htm",
         "..\\secret.txt", "", "[ALIAS]", "IDH_OUT=../outside.htm", "", "[MAP]", "#define IDH_OUT 1"});
    const Files files = {
        {"help.hhp", project},
        {"help.hhc", sitemap({{"Index", "index.htm"}, {"Out", "../outside.htm"}})},
        {"index.htm", page("Index", "<a href=\"../outside.htm\">a</a><a href=\"pages/..%2F..%2Fsecret.txt\">b</a>")},
        {"outside.htm", page("Inside", "inside")},
        {"secret.txt", "inside"}};
    std::vector<std::string> log;
    ASSERT_TRUE(compileProject(folder, files, &log)) << log.back();
    const std::string chm = (folder / "help.chm").string();
    for (const auto& [reader, stored] :
         {std::pair{"chmlib", test::readWithChmlib(chm)}, std::pair{"7-Zip", test::readWith7zip(chm)}}) {
        for (const auto& [name, data] : stored) {
            EXPECT_EQ(name.find("outside"), std::string::npos) << reader << " reads " << name;
            EXPECT_EQ(name.find("secret"), std::string::npos) << reader << " reads " << name;
        }
    }
}

TEST(HelpCompiler, SystemFilesReadBackAsTheProjectGivesThem)
{
    const std::string project = test::crlf(
        {"[OPTIONS]", "Compiled file=help.chm", "Contents file=help.hhc", "Index file=help.hhk",
         "Default topic=pages\\start.htm", "Default Window=Main", "Language=0x407", "Title=Hilfe", "", "[WINDOWS]",
         "Main=\"Fenster\",\"help.hhc\",\"help.hhk\",\"pages\\start.htm\",\"home.htm\","
         "\"https://example.org/\",\"Example\",\"pages\\faq.htm\",\"FAQ\",0x2520,250,0x387e,"
         "[80,70,730,500],0x30000,0x100,,,,,0",
         "", "[FILES]", "pages/start.htm"});
    test::TempDir dir;
    ASSERT_TRUE(compileProject(dir.path(), {{"help.hhp", project},
                                            {"help.hhc", sitemap({{"Start", "pages/start.htm"}})},
                                            {"help.hhk", sitemap({{"faq", "pages/faq.htm"}})},
                                            {"home.htm", page("Home", "home")},
                                            {"pages/start.htm", page("Start", "start")},
                                            {"pages/faq.htm", page("FAQ", "faq")}}));
    const test::ChmFiles files = test::readWithChmlib(dir.file("help.chm"));
    const HelpSystemInfo system = readSystemFile(files.at("/#SYSTEM"));
    EXPECT_EQ(std::tie(system.contentsFile, system.indexFile, system.defaultTopic, system.title, system.defaultWindow),
              std::tie("help.hhc", "help.hhk", "pages/start.htm", "Hilfe", "Main"));
    EXPECT_EQ(system.languageId, 0x407u);
    const std::vector<WindowDefinition> windows = readWindowsFile(files.at("/#WINDOWS"), files.at("/#STRINGS"));
    ASSERT_EQ(windows.size(), 1u);
    // Paths as viewers take them, with "/".
    WindowDefinition expected = readHelpProject(project, "help.hhp").windows.at(0);
    for (std::string* path : {&expected.contentsFile, &expected.indexFile, &expected.defaultTopic, &expected.homePage,
                              &expected.jump1Url, &expected.jump2Url})
        std::replace(path->begin(), path->end(), '\\', '/');
    const auto fields = [](const WindowDefinition& w) {
        return std::tie(w.name, w.title, w.contentsFile, w.indexFile, w.defaultTopic, w.homePage, w.jump1Url,
                        w.jump1Text, w.jump2Url, w.jump2Text, w.navigationStyle, w.navigationPaneWidth, w.buttons,
                        w.left, w.top, w.right, w.bottom, w.windowStyle, w.extendedStyle);
    };
    EXPECT_EQ(fields(windows[0]), fields(expected));
}

TEST(HelpCompiler, MarksEveryWindowFieldTheProjectGivesAsValid)
{
    if (std::system("command -v chmls > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "chmls (fp-utils) is not installed";
    // The HHWIN_PARAM_ bits of the window's record, as htmlhelp.h names them.
    constexpr std::uint32_t properties = 0x2, styles = 0x4, exStyles = 0x8, rect = 0x10, navWidth = 0x20,
                            buttons = 0x100;
    const std::pair<std::string, std::uint32_t> windows[] = {
        {"\"All\",,,,,,,,,0x2520,250,0x387e,[80,70,730,500],0x30000,0x100,,,,,0",
         properties | styles | exStyles | rect | navWidth | buttons},
        {"\"Bare\",,,,,,,,,,,,,,,,,,,0", 0},
        {"\"Width\",,,,,,,,,,300,,,,,,,,,0", navWidth},
        {"\"Styles\",,,,,,,,,,,,,0x10000,0x200,,,,,0", styles | exStyles},
        {"\"Place\",,,,,,,,,0x20,,0x2,[1,2,3,4],,,,,,,0", properties | rect | buttons},
    };
    // chmls reads the first window of a help file alone.
    for (const auto& [window, valid] : windows) {
        test::TempDir dir;
        const std::string project = test::crlf({"[OPTIONS]", "Compiled file=help.chm", "Default topic=index.htm",
                                                "Title=T", "", "[WINDOWS]", "w=" + window, "", "[FILES]", "index.htm"});
        ASSERT_TRUE(compileProject(dir.path(), {{"help.hhp", project}, {"index.htm", page("T", "t")}}));
        FILE* pipe = ::popen(("chmls printwindows '" + dir.file("help.chm") + "' 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string text;
        char line[4096];
        while (text.empty() && std::fgets(line, sizeof line, pipe) != nullptr) {
            if (std::string_view(line).starts_with("0C "))
                text = line;
        }
        ::pclose(pipe);
        ASSERT_NE(text.find("( = "), std::string::npos) << window;
        EXPECT_EQ(std::stoul(text.substr(text.find("( = ") + 4), nullptr, 16), valid) << window;
    }
}

TEST(HelpCompiler, AFailedCompileKeepsTheOldHelpFile)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "help.chm", "the old help file");
    std::vector<std::string> log;
    // A contents file that is no text at all.
    const Files files = {{"help.hhp", hhp("0x409", "T")},
                         {"help.hhc", std::string("\0\1\2\3\0\0binary\0", 14)},
                         {"help.hhk", sitemap({})},
                         {"index.htm", page("T", "t")}};
    EXPECT_FALSE(compileProject(dir.path(), files, &log));
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log.back().starts_with("Error: ")) << log.back();
    EXPECT_EQ(test::readFile(dir.path() / "help.chm"), "the old help file");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".help.chm")) << entry.path();
}

TEST(HelpCompiler, WritesTheHelpFileOverNoFileItReadsAndOverHelpFilesOnly)
{
    struct Case {
        const char* target;
        bool written;
    };
    for (const Case c : {Case{"help.hhp", false}, Case{"help.hhc", false}, Case{"index.htm", false},
                         Case{"style.css", false}, Case{"notes.txt", false}, Case{"old.chm", true}}) {
        test::TempDir dir;
        std::string project = hhp("0x409", "T");
        project.replace(project.find("help.chm"), 8, c.target);
        const Files files = {{"help.hhp", project},         {"help.hhc", sitemap({{"T", "index.htm"}})},
                             {"help.hhk", sitemap({})},     {"index.htm", page("T", "t")},
                             {"style.css", "p { }"},        {"notes.txt", "the author's notes"},
                             {"old.chm", "ITSF an old one"}};
        std::vector<std::string> log;
        EXPECT_EQ(compileProject(dir.path(), files, &log), c.written) << c.target;
        const std::string now = test::readFile(dir.path() / c.target);
        EXPECT_EQ(now == files.at(c.target), !c.written) << c.target;
    }
}

TEST(HelpCompiler, NamesTheLanguageThatWouldKeepTheWordsTheSearchLeavesOut)
{
    test::TempDir dir;
    std::vector<std::string> log;
    // A Russian help file whose pages also hold German words.
    const Files files = {{"help.hhp", hhp("0x419", "T", {}, true)},
                         {"help.hhc", sitemap({{"T", "index.htm"}})},
                         {"help.hhk", sitemap({})},
                         {"index.htm", page("T", "Привет. Grüße aus München, Straße")}};
    ASSERT_TRUE(compileProject(dir.path(), files, &log));
    const auto note = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("leaves these 3 words out of the search") != std::string::npos;
    });
    ASSERT_NE(note, log.end()) << (log.empty() ? std::string() : log.back());
    EXPECT_NE(note->find("(Windows-1252)"), std::string::npos) << *note;
}

TEST(HelpCompiler, HostileProjectsEndInAHelpFileWithTheirPagesOrTheErrorNamed)
{
    std::string deep = "<HTML><BODY>";
    for (int i = 0; i < 100000; ++i)
        deep += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"index.htm\"></OBJECT>";
    const std::string huge = page("big", std::string(20u << 20, 'x'));
    // A case that names an error fails with it; the others keep every page.
    const std::vector<std::tuple<const char*, Files, const char*>> cases = {
        {"deep contents", {{"help.hhc", deep}}, "the lists nest deeper than 255 levels"},
        {"odd names",
         {{"help.hhc", sitemap({{"a", "odd name %25 %231.htm"}, {"b", "../outside.htm"}})},
          {"odd name % #1.htm", page("odd", "<a href=\"%20x.htm\">x</a>")}},
         nullptr},
        {"long name", {{"help.hhc", sitemap({{"a", std::string(3000, 'n') + ".htm"}})}}, nullptr},
        {"huge page", {{"index.htm", huge}}, nullptr},
    };
    for (const auto& [name, extra, error] : cases) {
        test::TempDir dir;
        Files files = {{"help.hhp", hhp("0x409", "T")},
                       {"help.hhk", sitemap({})},
                       {"index.htm", page("T", "t")},
                       {"help.hhc", sitemap({{"T", "index.htm"}})}};
        for (const auto& [file, data] : extra)
            files[file] = data;
        std::vector<std::string> log;
        const bool compiled = compileProject(dir.path(), files, &log);
        if (error != nullptr) {
            EXPECT_FALSE(compiled) << name;
            EXPECT_TRUE(log.back().starts_with("Error: ") && log.back().find(error) != std::string::npos)
                << name << ": " << log.back();
            continue;
        }
        ASSERT_TRUE(compiled) << name << ": " << log.back();
        Files pages;
        for (const auto& [file, data] : files) {
            if (file.ends_with(".htm"))
                pages["/" + file] = data;
        }
        expectEveryReaderHolds(dir.file("help.chm"), pages);
    }
}

TEST(HelpCompiler, CompilesHelpProjectsOfOtherTools)
{
    // As doxygen writes it: no compiled file named, .html pages; and as
    // Sphinx writes it: its index names keywords, its pages use _static.
    struct Case {
        const char* name;
        Files files;
        const char* helpFile;
        std::vector<std::string> stored;
    };
    const std::string sphinxPage =
        "<html><head><title>Intro</title><link rel=\"stylesheet\" href=\"_static/basic.css\">"
        "<script src=\"_static/doctools.js\"></script></head><body>"
        "<a href=\"api.html#func\">api</a></body></html>";
    const Case cases[] = {
        {"doxygen",
         {{"help.hhp", test::crlf({"[OPTIONS]", "Compatibility=1.1", "Full-text search=Yes", "Contents file=index.hhc",
                                   "Default Window=main", "Default topic=index.html", "Index file=index.hhk",
                                   "Language=0x409 English (United States)", "Title=Lib", "", "[WINDOWS]",
                                   "main=\"Lib\",\"index.hhc\",\"index.hhk\",\"index.html\",\"index.html\",,,,,"
                                   "0x23520,,0x70387e,,,,,,,,0",
                                   "", "[FILES]", "index.html", "classes.html", "tab_a.png"})},
          {"index.hhc", sitemap({{"Main", "index.html"}, {"Classes", "classes.html"}})},
          {"index.hhk", sitemap({{"Widget", "classes.html#w"}})},
          {"index.html", page("Lib", "<a href=\"classes.html\">classes</a>")},
          {"classes.html", page("Classes", "<a name=\"w\"></a>")},
          {"tab_a.png", "png"}},
         "help.chm",
         {"/index.html", "/classes.html", "/tab_a.png", "/style.css", "/pictures/logo.png", "/index.hhc",
          "/index.hhk"}},
        {"Sphinx",
         {{"help.hhp",
           test::crlf({"[OPTIONS]", "Binary TOC=No", "Binary Index=No", "Compiled file=proj.chm",
                       "Contents file=proj.hhc", "Default Window=proj", "Default topic=index.html",
                       "Display compile progress=No", "Full text search stop list file=proj.stp",
                       "Full-text search=Yes", "Index file=proj.hhk", "Language=0x409", "Title=Proj", "", "[WINDOWS]",
                       "proj=\"Proj\",\"proj.hhc\",\"proj.hhk\",\"index.html\",\"index.html\",,,,,"
                       "0x63520,220,0x10384e,[0,0,1024,768],,,,,,,0",
                       "", "[FILES]", "index.html"})},
          {"proj.hhc", sitemap({{"Intro", "index.html"}})},
          {"proj.hhk",
           "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"func\">"
           "<param name=\"Local\" value=\"api.html#func\"></OBJECT></UL>"},
          {"index.html", sphinxPage},
          {"api.html", "<html><head><title>API</title></head><body id=\"func\"></body></html>"},
          {"_static/basic.css", "body {}"},
          {"_static/doctools.js", "var x;"}},
         "proj.chm",
         {"/index.html", "/api.html", "/_static/basic.css", "/_static/doctools.js", "/proj.hhc", "/proj.hhk"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        Files files = c.files;
        // What only the style sheets reach goes in too, and nothing their
        // comments name.
        files["style.css"] =
            "@import \"more/extra.css\";\np { background: url( 'pictures/back.png' ) } /* url(never.png) */";
        files["more/extra.css"] = "h1 { background: URL(\"../tab.gif\") }";
        files["pictures/back.png"] = "back";
        files["tab.gif"] = "tab";
        files["never.png"] = "never";
        files["pictures/logo.png"] = "logo";
        std::vector<std::string> log;
        ASSERT_TRUE(compileProject(dir.path(), files, &log)) << c.name << ": " << (log.empty() ? "" : log.back());
        const test::ChmFiles stored = test::readWithChmlib(dir.file(c.helpFile));
        for (const std::string& name : c.stored)
            EXPECT_TRUE(stored.contains(name)) << c.name << " lacks " << name;
        if (stored.contains("/style.css")) {
            for (const char* name : {"/more/extra.css", "/pictures/back.png", "/tab.gif"})
                EXPECT_TRUE(stored.contains(name)) << c.name << " lacks " << name;
            EXPECT_FALSE(stored.contains("/never.png")) << c.name;
        }
    }
}

TEST(HelpCompiler, WritesTheContextTableWithTopicsAsPathsInsideTheHelpFile)
{
    test::TempDir dir;
    std::vector<std::string> log;
    const std::string project =
        test::crlf({"[OPTIONS]", "Compiled file=help.chm", "Default topic=index.htm", "Language=0x407", "Title=Hilfe",
                    "", "[FILES]", "index.htm", "", "[ALIAS]", "IDH_INDEX=index.htm", "IDH_PART=pages\\t\xFCr.htm#part",
                    "IDH_POPUP=/pages/../popup.htm", "IDH_GONE=gone.htm", "", "[MAP]", "#include ids.h"});
    ASSERT_TRUE(compileProject(dir.path(),
                               {{"help.hhp", project},
                                {"ids.h",
                                 "#define IDH_POPUP 0x7FFFFFFF\n#define IDH_INDEX 1001 // first\n"
                                 "#define IDH_PART 12\n#define IDH_GONE 13\n#define IDH_UNUSED 14\n"},
                                {"index.htm", page("Start", "Start")},
                                {"pages/t\xC3\xBCr.htm", page("T\xC3\xBCr", "<a name=part>T\xC3\xBCr</a>")},
                                {"popup.htm", page("Popup", "Only reached through its help id")}},
                               &log));
    const auto logged = [&log](const std::string& text) {
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(logged("Warning: The help id IDH_GONE (13) leads to gone.htm"));
    EXPECT_TRUE(logged("Note: ids.h, line 5: IDH_UNUSED (14) has no topic in [ALIAS]"));

    // By number, each topic from the top of the help file in its code page;
    // a topic reached only through its help id goes in too.
    const std::vector<HelpContext> expected = {
        {12, "pages/t\xFCr.htm#part"}, {1001, "index.htm"}, {0x7FFFFFFF, "popup.htm"}};
    const std::string chm = (dir.path() / "help.chm").string();
    for (const auto& [reader, files] :
         {std::pair{"chmlib", test::readWithChmlib(chm)}, std::pair{"7-Zip", test::readWith7zip(chm)}}) {
        ASSERT_TRUE(files.contains("/#IVB") && files.contains("/#STRINGS")) << reader;
        EXPECT_EQ(readContextTable(files.at("/#IVB"), files.at("/#STRINGS")), expected) << reader;
        EXPECT_TRUE(files.contains("/popup.htm")) << reader;
        EXPECT_EQ(files.at("/#IVB").substr(0, 4), std::string("\x18\0\0\0", 4)) << reader;
    }

    if (std::system("command -v chmls > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "chmls (fp-utils) is not installed";
    ASSERT_EQ(std::system(("cd '" + dir.path().string() + "' && chmls extractalias help.chm > /dev/null 2>&1").c_str()),
              0);
    EXPECT_EQ(test::readFile(dir.path() / "help.ali"),
              "helpid12=pages/t\xFCr.htm#part\nhelpid1001=index.htm\nhelpid2147483647=popup.htm\n");
}

}  // namespace
}  // namespace doxel::chm
