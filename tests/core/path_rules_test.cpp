#include "core/path_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/plain_path.h"
#include "core/project.h"
#include "test_support.h"

namespace doxel {
namespace {

struct RelativeCase {
    const char* path;
    const char* projectFile;
    const char* stored;
};

TEST(projectRelativePath, WindowsStyleFollowsTheStoredForm)
{
    const RelativeCase cases[] = {
        {"c:\\help\\Intro.htm", "c:\\help\\p.dxp", "Intro.htm"},
        {"c:\\help\\sub\\a.htm", "c:\\help\\p.dxp", "SUB\\a.htm"},
        {"d:\\x\\a.htm", "c:\\help\\p.dxp", "D:\\X\\a.htm"},
        {"c:\\other\\a.htm", "c:\\help\\p.dxp", "..\\OTHER\\a.htm"},
        {"c:\\a.htm", "c:\\help\\deep\\p.dxp", "..\\..\\a.htm"},
        {"c:\\work\\pages\\intro.htm", "C:\\WORK\\HELP\\my.dxp", "..\\PAGES\\intro.htm"},
        {"c:\\work\\help\\intro.htm", "c:\\work\\help\\my.dxp", "intro.htm"},
        {"C:\\Help\\Sub\\Deeper\\b.htm", "c:\\help\\p.dxp", "SUB\\DEEPER\\b.htm"},
        {"c:\\helpfiles\\e.htm", "c:\\help\\p.dxp", "..\\HELPFILES\\e.htm"},
        {"c:\\a\\b\\c\\x.htm", "c:\\a\\d\\e\\p.dxp", "..\\..\\B\\C\\x.htm"},
        {"", "c:\\help\\p.dxp", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(projectRelativePath(c.path, c.projectFile, PathStyle::Windows), c.stored) << c.path;
}

TEST(projectRelativePath, PosixStyleKeepsCaseAndClimbsToTheRoot)
{
    const RelativeCase cases[] = {
        {"/home/ann/help/Intro.htm", "/home/ann/help/p.dxp", "Intro.htm"},
        {"/home/ann/help/Pages/Sub/a.htm", "/home/ann/help/p.dxp", "Pages\\Sub\\a.htm"},
        {"/home/ann/pages/a.htm", "/home/ann/help/p.dxp", "..\\pages\\a.htm"},
        {"/a.htm", "/home/ann/help/p.dxp", "..\\..\\..\\a.htm"},
        {"/home/ann/helpfiles/e.htm", "/home/ann/help/p.dxp", "..\\helpfiles\\e.htm"},
        {"/home/ann/Help/a.htm", "/home/ann/help/p.dxp", "..\\Help\\a.htm"},  // another folder here
        {"D:\\X\\a.htm", "/home/ann/help/p.dxp", "D:\\X\\a.htm"},             // kept from a Windows project
        {"", "/home/ann/help/p.dxp", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(projectRelativePath(c.path, c.projectFile, PathStyle::Posix), c.stored) << c.path;
}

TEST(StoredPathResolver, WindowsStyleResolvesToLowerCaseFullPaths)
{
    StoredPathResolver resolver("C:\\Work\\Help\\", PathStyle::Windows);
    EXPECT_EQ(resolver.resolve("intro.htm"), "c:\\work\\help\\intro.htm");
    EXPECT_EQ(resolver.resolve("PAGES\\Intro.htm"), "c:\\work\\help\\pages\\intro.htm");
    EXPECT_EQ(resolver.resolve("..\\PAGES\\intro.htm"), "c:\\work\\pages\\intro.htm");
    EXPECT_EQ(resolver.resolve("..\\..\\..\\..\\a.htm"), "c:\\a.htm");
    EXPECT_EQ(resolver.resolve("D:\\X\\a.htm"), "d:\\x\\a.htm");
    EXPECT_EQ(resolver.resolve(""), "");
}

TEST(StoredPathResolver, PosixStyleFindsNamesThatDifferInCaseOnDisk)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "help" / "Pages" / "Intro.htm", "x");
    test::writeFile(dir.path() / "help" / "Pages" / "exact.htm", "x");
    test::writeFile(dir.path() / "shared" / "Common.htm", "x");
    const std::string base = dir.path().string();
    StoredPathResolver resolver(base + "/help");

    EXPECT_EQ(resolver.resolve("PAGES\\intro.htm"), base + "/help/Pages/Intro.htm");
    EXPECT_EQ(resolver.resolve("Pages/exact.htm"), base + "/help/Pages/exact.htm");
    EXPECT_EQ(resolver.resolve("..\\SHARED\\common.htm"), base + "/shared/Common.htm");
    EXPECT_EQ(resolver.resolve("gone\\Missing.htm"), base + "/help/gone/Missing.htm");
    EXPECT_EQ(resolver.resolve("./Pages/../Pages/exact.htm"), base + "/help/Pages/exact.htm");
    EXPECT_EQ(resolver.resolve("D:\\X\\a.htm"), "D:\\X\\a.htm");
}

TEST(FolderListings, OneRunSharesEachListingBetweenResolverAndLookUps)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "help" / "Pages" / "Intro.htm", "x");
    test::writeFile(dir.path() / "help" / "Pages" / "intro.HTM", "x");
    const std::string pages = dir.file("help/Pages");
    FolderListings listings;
    StoredPathResolver resolver(dir.file("help"), PathStyle::Posix, &listings);
    EXPECT_EQ(resolver.resolve("PAGES\\Intro.htm"), pages + "/Intro.htm");
    EXPECT_TRUE(listings.exists(pages + "/intro.HTM"));
    EXPECT_FALSE(listings.exists(pages + "/INTRO.htm"));  // exists asks for the name as it is
    // The first name on disk that matches wins, however the folder's names
    // are held.
    const std::string* first = listings.listing(pages).match("INTRO.htm");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, resolver.resolve("Pages/INTRO.htm").substr(pages.size() + 1));
    // What one run listed stays as it was listed.
    test::writeFile(dir.path() / "help" / "Pages" / "later.htm", "x");
    EXPECT_FALSE(listings.exists(pages + "/later.htm"));
    EXPECT_FALSE(listings.exists(dir.file("nowhere/a.htm")));
}

TEST(FolderListings, TellFoldersFromFilesAndTakeALinkForWhatItLeadsTo)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    test::writeFile(dir.path() / "help" / "a.htm", "x");
    test::writeFile(dir.path() / "help" / "sub" / "b.htm", "x");
    fs::create_directory_symlink(dir.path() / "help" / "sub", dir.path() / "help" / "toSub");
    fs::create_symlink(dir.path() / "help" / "a.htm", dir.path() / "help" / "toFile");
    fs::create_symlink(dir.path() / "help" / "gone", dir.path() / "help" / "dangling");
    FolderListings listings;
    const FolderListings::Listing& help = listings.listing(dir.file("help") + "/");
    EXPECT_TRUE(help.listed);
    const std::pair<const char*, bool> expected[] = {
        {"a.htm", false}, {"sub", true}, {"toSub", true}, {"toFile", false}, {"dangling", false}};
    EXPECT_EQ(help.size(), std::size(expected));  // neither "." nor ".."
    for (const auto& [name, isFolder] : expected) {
        const FolderListings::Listing::Name* found = help.find(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->isFolder, isFolder) << name;
    }
    EXPECT_FALSE(listings.listing(dir.file("help/a.htm")).listed);  // a file is no folder
    EXPECT_FALSE(listings.listing(dir.file("nowhere")).listed);
    EXPECT_TRUE(listings.listing("/").listed);
}

// A folder of many names: each is found as it is, with its kind, and as
// little as one letter more or less finds nothing.
TEST(FolderListings, FindEveryNameOfALargeFolder)
{
    test::TempDir dir;
    constexpr int kFiles = 500;
    for (int i = 0; i < kFiles; ++i)
        test::writeFile(dir.path() / "big" / ("t" + std::to_string(i) + ".htm"), "x");
    std::filesystem::create_directory(dir.path() / "big" / "sub");
    FolderListings listings;
    const FolderListings::Listing& big = listings.listing(dir.file("big"));
    ASSERT_TRUE(big.listed);
    EXPECT_EQ(big.size(), std::size_t{kFiles + 1});
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "t" + std::to_string(i) + ".htm";
        const FolderListings::Listing::Name* found = big.find(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->text, name);
        EXPECT_FALSE(found->isFolder) << name;
        EXPECT_FALSE(big.contains(name + "l")) << name;
        EXPECT_FALSE(big.contains(name.substr(1))) << name;
    }
    ASSERT_NE(big.find("sub"), nullptr);
    EXPECT_TRUE(big.find("sub")->isFolder);
    EXPECT_EQ(big.find(""), nullptr);
    EXPECT_EQ(listings.listing(dir.file("nowhere")).find("t1.htm"), nullptr);
}

// Listing a project's folders ahead, side by side, changes nothing that
// resolving finds, in whatever letter case the project names them.
TEST(FolderListings, ListingAheadResolvesAsListingOnDemand)
{
    test::TempDir dir;
    std::vector<std::string> stored;
    for (int i = 0; i < 40; ++i) {
        test::writeFile(dir.path() / "help" / ("d" + std::to_string(i)) / "a.htm", "x");
        stored.push_back("d" + std::to_string(i) + "\\a.htm");
        stored.push_back("D" + std::to_string(i) + "\\A.htm#top");
    }
    test::writeFile(dir.path() / "help" / "Mixed" / "B.htm", "x");
    test::writeFile(dir.path() / "outside" / "y.htm", "x");
    for (const char* path : {"MIXED\\b.htm", "nowhere\\x.htm", "..\\outside\\y.htm", "top.htm", "c:\\x.htm"})
        stored.emplace_back(path);
    const std::vector<std::string_view> views(stored.begin(), stored.end());

    FolderListings aheadListings;
    StoredPathResolver ahead(dir.file("help"), PathStyle::Posix, &aheadListings);
    ahead.listAhead(views);
    StoredPathResolver onDemand(dir.file("help"), PathStyle::Posix);
    FolderListings onDemandListings;
    for (const std::string_view path : views) {
        const std::string resolved = onDemand.resolve(path);
        EXPECT_EQ(ahead.resolve(path), resolved) << path;
        EXPECT_EQ(aheadListings.exists(topicFileOf(resolved)), onDemandListings.exists(topicFileOf(resolved))) << path;
    }
    EXPECT_EQ(ahead.resolve("MIXED\\b.htm"), dir.file("help/Mixed/B.htm"));
    EXPECT_TRUE(aheadListings.exists(dir.file("help/d7/a.htm")));
}

TEST(FoldCase, MatchesEveryLetterAndKeepsWhatIsNotText)
{
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"Intro.HTM", "intro.htm"},
        {"ÜBUNGEN/Äpfel.htm", "übungen/äpfel.htm"},
        {"ГЛАВЫ/Приливы", "главы/приливы"},
        {"ΣΟΦΊΑ", "σοφία"},
        {"ß", "ß"},                  // simple folding: no "ss"
        {"\xC3(\xFF", "\xC3(\xFF"},  // broken UTF-8 kept byte for byte
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(foldCase(c.text), c.folded) << c.text;
    EXPECT_EQ(foldCase("STRASSE"), "strasse");
    EXPECT_NE(foldCase("Straße"), foldCase("STRASSE"));
}

TEST(StoredPathResolver, PosixStyleMatchesNonAsciiLetterCase)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "help" / "übungen" / "Äpfel.htm", "x");
    test::writeFile(dir.path() / "help" / "Главы" / "приливы.htm", "x");
    const std::string base = dir.path().string();
    StoredPathResolver resolver(base + "/help");

    EXPECT_EQ(resolver.resolve("ÜBUNGEN\\äpfel.htm"), base + "/help/übungen/Äpfel.htm");
    EXPECT_EQ(resolver.resolve("главы/ПРИЛИВЫ.htm"), base + "/help/Главы/приливы.htm");
}

TEST(StoredPathResolver, MatchCaseKeepsTheStoredFormAroundTheNamesOnDisk)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "help" / "Intro.htm", "x");
    test::writeFile(dir.path() / "help" / "Pages" / "Über.htm", "x");
    test::writeFile(dir.path() / "shared" / "Common.htm", "x");
    StoredPathResolver resolver(dir.path().string() + "/help");
    const struct {
        const char* stored;
        const char* matched;
    } cases[] = {
        {"intro.htm", "Intro.htm"},
        {"PAGES\\über.htm#Top", "Pages\\Über.htm#Top"},
        {"pages/ÜBER.htm?x=1", "Pages/Über.htm?x=1"},
        {"..\\SHARED\\common.htm", "..\\shared\\Common.htm"},
        {"./intro.htm", "./Intro.htm"},
        {"missing.htm", "missing.htm"},
        {"pages\\missing.htm", "pages\\missing.htm"},
        {"(not defined)", "(not defined)"},
        {"http://example.com/intro.htm", "http://example.com/intro.htm"},
        {"mk:@MSITStore:other.chm::/a.htm", "mk:@MSITStore:other.chm::/a.htm"},
        {"/abs/intro.htm", "/abs/intro.htm"},
        {"#anchor", "#anchor"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolver.matchCase(c.stored), c.matched) << c.stored;
}

TEST(PathParts, SplitFolderAndName)
{
    EXPECT_EQ(folderOf("c:\\help\\a.htm", PathStyle::Windows), "c:\\help\\");
    EXPECT_EQ(fileNameOf("c:\\help\\a.htm", PathStyle::Windows), "a.htm");
    EXPECT_EQ(folderOf("/x/y/a.htm"), "/x/y/");
    EXPECT_EQ(fileNameOf("a.htm"), "a.htm");
    EXPECT_EQ(folderOf("a.htm"), "");
}

}  // namespace
}  // namespace doxel

namespace doxel {
namespace {

TEST(TopicAnchors, SplitTheAnchorOffTheFileAndSurviveResolving)
{
    test::TempDir dir;
    const std::string base = dir.path().string();
    test::writeFile(dir.path() / "help" / "Pages" / "Intro.htm", "x");
    test::writeFile(dir.path() / "help" / "odd#name.htm", "x");
    struct Case {
        std::string topic;
        std::string file;
        std::string anchor;
    };
    const Case cases[] = {
        {"/h/api/a.html#details", "/h/api/a.html", "#details"},
        {"/h/a.htm", "/h/a.htm", ""},
        {"/h/dir#1/a.htm", "/h/dir#1/a.htm", ""},
        {"pages\\a.htm#x#y", "pages\\a.htm", "#x#y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(topicFileOf(c.topic), c.file) << c.topic;
        EXPECT_EQ(anchorOf(c.topic), c.anchor) << c.topic;
    }

    StoredPathResolver resolver(base + "/help");
    EXPECT_EQ(resolver.resolve("PAGES\\intro.htm#Part-2"), base + "/help/Pages/Intro.htm#Part-2");
    EXPECT_EQ(resolver.resolve("odd#name.htm"), base + "/help/odd#name.htm");
    EXPECT_EQ(resolver.resolve("gone.htm#x"), base + "/help/gone.htm#x");

    Project project("T");
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("A", 8, "/h/a.htm#one"));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("B", 8, "/h/a.htm#two"));
    project.rebuildFileList();
    ASSERT_EQ(project.fileList.size(), 1u);
    EXPECT_EQ(project.fileList[0].path, "/h/a.htm");
}

TEST(PlainRelativePath, StaysInsideTheFolder)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.htm", "a.htm"},
        {"pages\\sub\\a.htm", "pages/sub/a.htm"},
        {"./pages//a.htm", "pages/a.htm"},
        {"pages/../a.htm", "a.htm"},
        {"pages\\..\\..\\a.htm", ""},
        {"../a.htm", ""},
        {"..", ""},
        {"a/../../help/a.htm", ""},
        {"a/..", ""},
        {"", ""},
        {"/a.htm", "a.htm"},
        {"a/.../b", "a/.../b"},
        {"..a/b..", "..a/b.."},
    };
    for (const auto& [relative, plain] : cases)
        EXPECT_EQ(plainRelativePath(relative), plain) << relative;
    // Escapes are decoded before the rule sees the path, so "%2E%2E" leads
    // out as ".." does.
    const std::pair<const char*, const char*> escaped[] = {
        {"a%20b.htm", "a b.htm"}, {"100%.htm", "100%.htm"}, {"%2e%2E/a.htm", ""},
        {"a%2F..%2F..%2Fb", ""},  {"a%5Cb.htm", "a/b.htm"}, {"%4", "%4"},
        {"%zz", "%zz"},
    };
    for (const auto& [url, plain] : escaped)
        EXPECT_EQ(plainRelativePath(percentDecoded(url)), plain) << url;
}

}  // namespace
}  // namespace doxel
