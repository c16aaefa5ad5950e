#include "tools/txt_to_html.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

TEST(convertFile, WritesTheWelcomePageByteForByte)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "Welcome.txt", "Hello\r\n\r\n");
    const ConversionResult result = convertFiles({dir.file("Welcome.txt")}, PageOptions{});
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.pages, std::vector<std::string>{dir.file("Welcome.htm")});
    EXPECT_EQ(test::readFile(dir.path() / "Welcome.htm"), test::golden("welcome.htm"));
}

// The rows that change with the options, and what stays out.
TEST(PageHead, CarriesTheOptionsAsTyped)
{
    const auto with = [](auto change) {
        PageOptions options;
        change(options);
        return pageHead(pageTitleFor("/t/Welcome.txt", options), options);
    };
    const struct {
        const char* name;
        std::string head;
        const char* holds;  // a row that must be there
        const char* lacks;  // a text that must not
    } cases[] = {
        {"defaults", with([](PageOptions&) {}), "<BODY BGCOLOR=\"#F5F9CC\" TEXT=\"#000000\">\r\n", "LINK"},
        {"background image", with([](PageOptions& o) { o.backgroundImage = "back.gif"; }),
         "\r\n<BODY background=\"back.gif\" BGCOLOR=\"#F5F9CC\" TEXT=\"#000000\">\r\n", nullptr},
        {"stylesheet", with([](PageOptions& o) {
             o.useStylesheet = true;
             o.stylesheet = "help.css";
         }),
         "</TITLE>\r\n<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"help.css\">\r\n</HEAD>\r\n", nullptr},
        {"empty stylesheet", with([](PageOptions& o) { o.useStylesheet = true; }), "HREF=\"\">\r\n", nullptr},
        {"stylesheet box off", with([](PageOptions& o) { o.stylesheet = "help.css"; }), "</TITLE>\r\n</HEAD>",
         "help.css"},
        {"font", with([](PageOptions& o) {
             o.fontFace = "Arial";
             o.fontSize = 0;
         }),
         "<FONT FACE=\"Arial\" SIZE=0>\r\n", nullptr},
        {"colours as typed", with([](PageOptions& o) {
             o.backgroundColour = "red";
             o.textColour = "<x>";
         }),
         "<BODY BGCOLOR=\"red\" TEXT=\"<x>\">\r\n", nullptr},
        {"custom title", with([](PageOptions& o) {
             o.titleFromFileName = false;
             o.customTitle = "A & B";
         }),
         "<TITLE>A & B</TITLE>\r\n", nullptr},
        {"custom title left empty", with([](PageOptions& o) { o.titleFromFileName = false; }),
         "<TITLE>Untitled Document</TITLE>\r\n", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_NE(c.head.find(c.holds), std::string::npos) << c.name << "\n" << c.head;
        if (c.lacks != nullptr) {
            EXPECT_EQ(c.head.find(c.lacks), std::string::npos) << c.name;
        }
    }
}

TEST(PageNames, ReplaceTheLastCharactersWhateverTheirCase)
{
    const struct {
        const char* source;
        const char* page;
        const char* title;
    } cases[] = {
        {"/t/README.TXT", "/t/README.htm", "README"},
        {"/t/a.b.txt", "/t/a.b.htm", "a.b"},
        {"/t/Notes.Txt", "/t/Notes.htm", "Notes"},
        {"/t/.txt", "/t/.htm", "Untitled Document"},
        {"/t.d/x.txt", "/t.d/x.htm", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pagePathFor(c.source), c.page);
        EXPECT_EQ(pageTitleFor(c.source, PageOptions{}), c.title);
    }
}

TEST(PageBody, HoldsEachLineUnchangedFollowedByABreak)
{
    const struct {
        const char* name;
        std::string text;
        std::string body;
    } cases[] = {
        {"empty file", "", ""},
        {"blank line", "a\r\n\r\nb", "a<BR>\r\n<BR>\r\nb<BR>\r\n"},
        {"LF ends a line", "a\nb\n", "a<BR>\r\nb<BR>\r\n"},
        {"CR ends a line", "a\rb", "a<BR>\r\nb<BR>\r\n"},
        {"mixed line ends", "a\r\n\nb\rc", "a<BR>\r\n<BR>\r\nb<BR>\r\nc<BR>\r\n"},
        {"markup passes", "<B>bold</B> & \"q\"\t  x", "<B>bold</B> & \"q\"\t  x<BR>\r\n"},
        {"Ctrl-Z ends the text",
         std::string("a\r\nb\x1a"
                     "c\r\n",
                     8),
         "a<BR>\r\nb<BR>\r\n"},
        {"bytes are not converted", "Caf\xE9\r", "Caf\xE9<BR>\r\n"},
    };
    for (const auto& c : cases) {
        const std::string page = pageOf(c.text, "T", PageOptions{});
        const std::string head = pageHead("T", PageOptions{});
        ASSERT_TRUE(page.starts_with(head)) << c.name;
        ASSERT_TRUE(page.ends_with(kPageFoot)) << c.name;
        EXPECT_EQ(page.substr(head.size(), page.size() - head.size() - kPageFoot.size()), c.body) << c.name;
    }
}

// The page declares UTF-8 for text that is valid UTF-8 and not plain
// ASCII; anything else is Windows-1252 text as it always was. The pages
// written from files (read in pieces, twice) are those of the whole text.
TEST(PageCharset, Utf8WhenTheTextIsUtf8)
{
    const std::string longUtf8 = std::string((std::size_t{1} << 20) - 1, 'a') + "\xC3\xA4 end";  // split character
    const struct {
        const char* name;
        std::string text;
        const char* charset;
        std::string body;
    } cases[] = {
        {"plain ASCII", "Hello\r\n", "windows-1252", "Hello<BR>\r\n"},
        {"UTF-8",
         "Gr\xC3\xBC\xC3\x9F"
         "e aus K\xC3\xB6ln\n",
         "utf-8",
         "Gr\xC3\xBC\xC3\x9F"
         "e aus K\xC3\xB6ln<BR>\r\n"},
        {"Windows-1252",
         "Gr\xFC\xDF"
         "e\r\n",
         "windows-1252",
         "Gr\xFC\xDF"
         "e<BR>\r\n"},
        {"cut UTF-8 at the end", "a\xC3", "windows-1252", "a\xC3<BR>\r\n"},
        {"UTF-8 mark dropped", "\xEF\xBB\xBFK\xC3\xB6ln", "utf-8", "K\xC3\xB6ln<BR>\r\n"},
        {"only what precedes Ctrl-Z counts", "a\x1a\xFC", "windows-1252", "a<BR>\r\n"},
        {"character across a read", longUtf8, "utf-8", longUtf8 + "<BR>\r\n"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string page = pageOf(c.text, "T", PageOptions{});
        const std::string meta = std::string("charset=") + c.charset + "\">\r\n";
        EXPECT_NE(page.find(meta), std::string::npos) << c.name;
        const std::string head = pageHead("T", PageOptions{}, textEncodingOf(c.text));
        ASSERT_TRUE(page.starts_with(head)) << c.name;
        EXPECT_EQ(page.substr(head.size(), page.size() - head.size() - kPageFoot.size()), c.body) << c.name;

        test::writeFile(dir.path() / "T.txt", c.text);
        const ConversionResult result = convertFiles({dir.file("T.txt")}, PageOptions{});
        ASSERT_TRUE(result.failures.empty()) << c.name;
        EXPECT_TRUE(test::readFile(dir.path() / "T.htm") == page) << c.name;
    }
}

// Files that are not text are left alone with a note; the others go on.
TEST(ConvertFiles, SkipsFilesThatAreNotTextWithANote)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "nul.txt", std::string("a\0b", 3));
    test::writeFile(dir.path() / "wide.txt", std::string("\xFF\xFEh\0i\0", 6));
    test::writeFile(dir.path() / "tail.txt", std::string("a\x1a\0", 3));
    const ConversionResult result =
        convertFiles({dir.file("nul.txt"), dir.file("wide.txt"), dir.file("tail.txt")}, PageOptions{});
    EXPECT_EQ(result.notes.size(), 2u);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.pages, std::vector<std::string>{dir.file("tail.htm")});
    EXPECT_FALSE(fs::exists(dir.path() / "nul.htm"));
    EXPECT_FALSE(fs::exists(dir.path() / "wide.htm"));
}

TEST(PageOptionsText, ColoursAndFontSizes)
{
    EXPECT_EQ(colourText(0xF5, 0xF9, 0xCC), "#F5F9CC");
    EXPECT_EQ(colourText(0x00, 0x80, 0xC0), "#0080C0");
    const std::pair<const char*, int> sizes[] = {{"2", 2},   {"abc", 0}, {"", 0},   {"12", 12},
                                                 {"13", 12}, {"-4", 0},  {"3x", 0}, {"99999999999999", 12}};
    for (const auto& [text, size] : sizes)
        EXPECT_EQ(fontSizeOf(text), size) << text;
}

// Failures lose nothing: pages written before stay, a page that cannot be
// written keeps what it held, and the run says which file failed.
TEST(ConvertFiles, SkipsWhatIsNotAFileAndLosesNothingOnFailure)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.txt", "A");
    test::writeFile(dir.path() / "b.txt", "B");
    test::writeFile(dir.path() / "c.txt", "C");
    test::writeFile(dir.path() / "b.htm", "kept");
    ::chmod(dir.file("b.htm").c_str(), 0444);
    fs::create_directory(dir.path() / "c.htm");  // a folder named like the page
    fs::create_directory(dir.path() / "d.txt");

    ConversionControl goOn;
    goOn.stopAtFailure = false;
    std::vector<int> steps;
    goOn.progress = [&](int i) { steps.push_back(i); };
    const auto files = std::vector<std::string>{dir.file("a.txt"), dir.file("gone.txt"), dir.file("b.txt"),
                                                dir.file("c.txt"), dir.file("d.txt"),    dir.file("a.txt")};
    const ConversionResult result = convertFiles(files, PageOptions{}, goOn);
    EXPECT_EQ(result.listed, 6);
    EXPECT_EQ(result.pages, (std::vector<std::string>{dir.file("a.htm"), dir.file("a.htm")}));
    EXPECT_EQ(result.skipped, (std::vector<std::string>{dir.file("gone.txt"), dir.file("d.txt")}));
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0].file, dir.file("b.txt"));
    EXPECT_NE(result.failures[0].message.find("b.htm"), std::string::npos);
    EXPECT_EQ(result.failures[1].file, dir.file("c.txt"));
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(test::readFile(dir.path() / "b.htm"), "kept");
    EXPECT_TRUE(fs::is_directory(dir.path() / "c.htm"));
    EXPECT_NE(test::readFile(dir.path() / "a.htm").find("A<BR>"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << "temporary file left: " << entry.path();

    const ConversionResult stopped = convertFiles(files, PageOptions{}, {});
    EXPECT_EQ(stopped.failures.size(), 1u) << "the wizard stops at the first failure";
    EXPECT_EQ(stopped.pages, std::vector<std::string>{dir.file("a.htm")});
}

TEST(ConvertFiles, KeepsAnExistingPagesPermissions)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.txt", "A");
    test::writeFile(dir.path() / "a.htm", "old");
    ::chmod(dir.file("a.htm").c_str(), 0640);
    convertFiles({dir.file("a.txt")}, PageOptions{});
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("a.htm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_NE(test::readFile(dir.path() / "a.htm"), "old");
}

}  // namespace
}  // namespace doxel
