#include "output/converted_pages_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace doxel {
namespace {

constexpr const char* kHelpProject =
    "[OPTIONS]\r\nCompiled file=..\\out\\guide.chm\r\nContents file=guide.hhc\r\nIndex file=guide.hhk\r\n"
    "Error log file=log.txt\r\nLanguage=0x419 Russian\r\n\r\n[FILES]\r\nintro.htm\r\n\r\n[INFOTYPES]\r\n";

class ConvertedPagesFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::writeFile(file("guide.hhp"), kHelpProject);
        test::writeFile(file("guide.hhc"), "<ul></ul>");
        test::writeFile(file("guide.hhk"), "<ul></ul>");
        test::writeFile(file("intro.htm"), "<p>plain</p>");
        test::writeFile(file("images/logo.png"), "PNG\x80");
    }
    std::string file(const std::string& relative) const { return m_dir.file("proj/" + relative); }
    std::string folder() const { return m_dir.file("proj"); }

    test::TempDir m_dir;
};

TEST_F(ConvertedPagesFolderTest, IsNotMadeWhenEveryPageGoesInAsItIs)
{
    test::writeFile(file("sub/ru.htm"), "<meta charset=windows-1251><p>\xC6</p>");
    EXPECT_EQ(ConvertedPagesFolder::prepare(file("guide.hhp"), folder(), {"intro.htm", "sub/ru.htm", "images/logo.png"},
                                            *codePageByNumber(1251)),
              nullptr);
}

TEST_F(ConvertedPagesFolderTest, HoldsConvertedPagesAndEveryOtherFileOfTheHelpFileAsItIs)
{
    namespace fs = std::filesystem;
    const std::string utf8Page = "<meta charset=utf-8><p>\xD0\x96</p>";
    test::writeFile(file("sub/ru.htm"), utf8Page);
    // A folder of the project that links elsewhere, and the folder of a
    // run that was killed.
    test::writeFile(m_dir.file("etc/passwd"), "SECRET");
    fs::create_directory_symlink(m_dir.file("etc"), file("etc"));
    const std::string temporary = fs::temp_directory_path().string();
    const std::string leftover = temporary + "/doxel-pages-999999999-aBcDeF";
    test::writeFile(leftover + "/a.htm", "x");
    std::string mirror;
    {
        const auto converted = ConvertedPagesFolder::prepare(
            file("guide.hhp"), folder(),
            {"intro.htm", "sub\\ru.htm", "images/logo.png", "../outside.htm", "etc/passwd"}, *codePageByNumber(1251));
        ASSERT_NE(converted, nullptr);
        EXPECT_EQ(converted->convertedPages(), std::vector<std::string>{"sub/ru.htm"});
        EXPECT_EQ(converted->leftOut(), std::vector<std::string>{"etc/passwd"});
        EXPECT_FALSE(fs::exists(leftover));
        mirror = fs::path(converted->helpProjectFile()).parent_path().string();
        EXPECT_FALSE(fs::exists(mirror + "/etc/passwd"));
        // Copies, never more names of the author's files.
        EXPECT_EQ(fs::hard_link_count(file("intro.htm")), 1u);
        EXPECT_EQ(test::readFile(mirror + "/sub/ru.htm"), "<meta charset=windows-1251><p>\xC6</p>");
        EXPECT_EQ(test::readFile(file("sub/ru.htm")), utf8Page);  // the file on disk is kept
        EXPECT_EQ(test::readFile(mirror + "/intro.htm"), "<p>plain</p>");
        EXPECT_EQ(test::readFile(mirror + "/images/logo.png"), "PNG\x80");
        EXPECT_EQ(test::readFile(mirror + "/guide.hhc"), "<ul></ul>");
        EXPECT_EQ(test::readFile(mirror + "/guide.hhk"), "<ul></ul>");
        EXPECT_EQ(test::readFile(converted->helpProjectFile()),
                  "[OPTIONS]\r\nCompiled file=guide.chm\r\nContents file=guide.hhc\r\nIndex file=guide.hhk\r\n"
                  "Error log file=log.txt\r\nLanguage=0x419 "
                  "Russian\r\n\r\n[INFOTYPES]\r\n[FILES]\r\nimages/logo.png\r\nintro.htm\r\n"
                  "sub/ru.htm\r\n");

        EXPECT_FALSE(converted->deliverHelpFile(m_dir.file("guide.chm")));
        test::writeFile(mirror + "/guide.chm", "ITSF");
        EXPECT_TRUE(converted->deliverHelpFile(m_dir.file("guide.chm")));
        EXPECT_EQ(test::readFile(m_dir.file("guide.chm")), "ITSF");
    }
    EXPECT_FALSE(std::filesystem::exists(mirror));
}

}  // namespace
}  // namespace doxel
