#include "tools/tool_files.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "test_support.h"
#include "tools/tool_options.h"

namespace doxel {
namespace {

TEST(addFiles, TakesOneFoldersFilesByExtensionInNameOrder)
{
    test::TempDir dir;
    for (const char* name :
         {"b.txt", "x.Htm", "Y.HTML", "x.shtml", "x.asp", ".hidden.TXT", "a.txt.bak", "noext", "A.TxT", "htm"})
        test::writeFile(dir.path() / name, "");
    std::filesystem::create_directories(dir.path() / "sub" / "deep.txt");
    test::writeFile(dir.path() / "sub" / "inner.txt", "");

    const std::string f = dir.path().string() + "/";
    EXPECT_EQ(addFiles(dir.path().string(), ToolFileKind::Text),
              (std::vector<std::string>{f + ".hidden.TXT", f + "A.TxT", f + "b.txt"}));
    EXPECT_EQ(addFiles(f, ToolFileKind::TextAndHtml),
              (std::vector<std::string>{f + ".hidden.TXT", f + "A.TxT", f + "Y.HTML", f + "b.txt", f + "x.Htm"}));
    EXPECT_THROW(addFiles(f + "missing", ToolFileKind::Text), IoError);
}

TEST(addFiles, WithSubfoldersTakesEveryLevelFolderByFolder)
{
    test::TempDir dir;
    for (const char* name : {"b.htm", "a/x.txt", "a/deep/y.HTML", "a/deep/skip.asp", "c/z.txt", ".hid/h.txt"})
        test::writeFile(dir.path() / name, "");
    std::filesystem::create_directories(dir.path() / "folder.txt");
    std::filesystem::create_directory_symlink(dir.path() / "a", dir.path() / "c" / "loop");

    const std::string f = dir.path().string() + "/";
    EXPECT_EQ(
        addFiles(dir.path().string(), ToolFileKind::TextAndHtml, true),
        (std::vector<std::string>{f + "b.htm", f + ".hid/h.txt", f + "a/x.txt", f + "a/deep/y.HTML", f + "c/z.txt"}));
    EXPECT_EQ(addFiles(dir.path().string(), ToolFileKind::TextAndHtml),
              (std::vector<std::string>{f + "b.htm", f + "folder.txt"}))
        << "without subfolders, entries are taken by name alone, as before";
}

TEST(ToolOptions, OptionsStandAnywhereBeforeTheEndMark)
{
    const struct {
        std::vector<std::string> arguments;
        bool ignoreCase;
        bool backup;
        bool allFiles;
        std::vector<std::string> rest;  // search, replacement, files
    } cases[] = {
        {{"foo", "bar", "p.htm", "--match-case"}, false, true, false, {"foo", "bar", "p.htm"}},
        {{"foo", "--no-backup", "bar", "p.htm", "--all-files"}, true, false, true, {"foo", "bar", "p.htm"}},
        {{"foo", "bar", "--", "--match-case"}, true, true, false, {"foo", "bar", "--match-case"}},
        {{"--match-case", "--", "--x", "y", "a.htm", "--no-backup"},
         false,
         true,
         false,
         {"--x", "y", "a.htm", "--no-backup"}},
    };
    for (const auto& c : cases) {
        const ReplaceArguments parsed = parseReplaceArguments(c.arguments);
        ASSERT_EQ(parsed.problem, "") << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.options.strings.ignoreCase, c.ignoreCase) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.options.backup, c.backup) << testing::PrintToString(c.arguments);
        EXPECT_EQ(parsed.allFiles, c.allFiles) << testing::PrintToString(c.arguments);
        std::vector<std::string> rest = {parsed.options.strings.search, parsed.options.strings.replacement};
        rest.insert(rest.end(), parsed.files.begin(), parsed.files.end());
        EXPECT_EQ(rest, c.rest) << testing::PrintToString(c.arguments);
    }
    const TxtToHtmlArguments page = parseTxtToHtmlArguments({"a.txt", "--title", "T", "b.txt", "--font-size=4"});
    EXPECT_EQ(page.problem, "");
    EXPECT_EQ(page.options.customTitle, "T");
    EXPECT_EQ(page.options.fontSize, 4);
    EXPECT_EQ(page.files, (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(ToolOptions, TxtToHtmlMirrorsTheWizard)
{
    const auto parsed = parseTxtToHtmlArguments({"--title", "Guide", "--stylesheet=help.css", "--background", "red",
                                                 "--text-colour", "#111111", "--font", "Arial", "--font-size", "12",
                                                 "--background-image", "bg.gif", "--", "--odd.txt", "b.txt"});
    EXPECT_EQ(parsed.problem, "");
    EXPECT_FALSE(parsed.options.titleFromFileName);
    EXPECT_EQ(parsed.options.customTitle, "Guide");
    EXPECT_TRUE(parsed.options.useStylesheet);
    EXPECT_EQ(parsed.options.stylesheet, "help.css");
    EXPECT_EQ(parsed.options.backgroundColour, "red");
    EXPECT_EQ(parsed.options.textColour, "#111111");
    EXPECT_EQ(parsed.options.fontFace, "Arial");
    EXPECT_EQ(parsed.options.fontSize, 12);
    EXPECT_EQ(parsed.options.backgroundImage, "bg.gif");
    EXPECT_EQ(parsed.files, (std::vector<std::string>{"--odd.txt", "b.txt"}));

    const auto defaults = parseTxtToHtmlArguments({"a.txt"});
    EXPECT_TRUE(defaults.options.titleFromFileName);
    EXPECT_FALSE(defaults.options.useStylesheet);
    EXPECT_EQ(defaults.options.fontSize, 2);

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{{},
                                                                                       {"--title", "x"},
                                                                                       {"--title"},
                                                                                       {"--font-size", "13", "a.txt"},
                                                                                       {"--font-size", "x", "a.txt"},
                                                                                       {"--font-size", "-1", "a.txt"},
                                                                                       {"--bold", "a.txt"}})
        EXPECT_NE(parseTxtToHtmlArguments(wrong).problem, "") << testing::PrintToString(wrong);
}

TEST(ToolOptions, ReplaceMirrorsTheDialog)
{
    const auto defaults = parseReplaceArguments({"a|b", "", "x.htm"});
    EXPECT_EQ(defaults.problem, "");
    EXPECT_TRUE(defaults.options.strings.ignoreCase);
    EXPECT_TRUE(defaults.options.backup);
    EXPECT_EQ(defaults.options.strings.search, "a|b");
    EXPECT_EQ(defaults.options.strings.replacement, "");

    const auto set = parseReplaceArguments({"--match-case", "--no-backup", "--", "--x", "y", "a.htm", "b.htm"});
    EXPECT_EQ(set.problem, "");
    EXPECT_FALSE(set.options.strings.ignoreCase);
    EXPECT_FALSE(set.options.backup);
    EXPECT_EQ(set.options.strings.search, "--x");
    EXPECT_EQ(set.files, (std::vector<std::string>{"a.htm", "b.htm"}));

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {}, {"a", "b"}, {"", "b", "c.htm"}, {"--ignore", "a", "b", "c.htm"}, {"--no-backup=1", "a", "b", "c"}})
        EXPECT_NE(parseReplaceArguments(wrong).problem, "") << testing::PrintToString(wrong);
}

}  // namespace
}  // namespace doxel
