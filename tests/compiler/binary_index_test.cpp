// The binary contents and keyword index, read back by chmls (fp-utils),
// whose extracttoc and extractindex read them when the help file has them.
#include "compiler/binary_index.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "compiler/help_compiler.h"
#include "formats/sitemap_reader.h"
#include "test_support.h"

namespace doxel::chm {
namespace {

namespace fs = std::filesystem;

bool have(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

// A sitemap in short: one line per entry, indented by its level, its name
// and its Local values.
std::vector<std::string> outline(const std::string& sitemapText)
{
    std::vector<std::string> lines;
    for (const SitemapEntry& entry : readSitemap(sitemapText, nullptr, "outline").entries) {
        std::string line = std::string(2 * static_cast<std::size_t>(entry.level), ' ') + entry.name;
        // chmls writes each topic's title as a Name before its Local, so
        // that the keyword's own Name has no Local.
        std::vector<std::string> locals = entry.moreLocals;
        if (!entry.local.empty())
            locals.insert(locals.begin(), entry.local);
        for (std::size_t i = 0; i < locals.size(); ++i)
            line += (i == 0 ? " -> " : " ") + locals[i];
        lines.push_back(line);
    }
    return lines;
}

// What `chmls COMMAND` writes of `chm` into a file.
std::string chmls(const std::string& command, const fs::path& chm)
{
    const fs::path out = chm.string() + "." + command;
    const std::string line = "chmls " + command + " '" + chm.string() + "' '" + out.string() + "' > /dev/null 2>&1";
    if (std::system(line.c_str()) != 0)
        return {};
    return test::readFile(out);
}

std::string object(const std::vector<std::pair<std::string, std::string>>& params)
{
    std::string text = "<LI> <OBJECT type=\"text/sitemap\">";
    for (const auto& [name, value] : params)
        text += "<param name=\"" + name + "\" value=\"" + value + "\">";
    return text + "</OBJECT>\r\n";
}

class BinaryIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!have("chmls"))
            GTEST_SKIP() << "chmls (fp-utils) is not installed";
        for (const char* name : {"a.htm", "b.htm", "c.htm"})
            test::writeFile(m_dir.file(name), std::string("<html><head><title>Page ") + name[0] +
                                                  "</title></head><body><p>text</p></body></html>");
    }

    fs::path compile(const std::string& name, const std::string& contents, const std::string& index)
    {
        test::writeFile(m_dir.file("t.hhc"), "<HTML><BODY><UL>\r\n" + contents + "</UL></BODY></HTML>\r\n");
        test::writeFile(m_dir.file("t.hhk"), "<HTML><BODY><UL>\r\n" + index + "</UL></BODY></HTML>\r\n");
        test::writeFile(m_dir.file(name + ".hhp"),
                        test::crlf({"[OPTIONS]", "Compiled file=" + name + ".chm", "Contents file=t.hhc",
                                    "Index file=t.hhk", "Default topic=a.htm", "Binary TOC=Yes", "Binary Index=Yes",
                                    "Language=0x409 English (United States)", "Title=T", "", "[FILES]", "a.htm",
                                    "b.htm", "c.htm"}));
        std::vector<std::string> log;
        EXPECT_TRUE(compileHelpProject(m_dir.file(name + ".hhp"), [&log](const std::string& line) {
            log.push_back(line);
        })) << (log.empty() ? "" : log.back());
        return m_dir.file(name + ".chm");
    }

    test::TempDir m_dir;
};

TEST_F(BinaryIndexTest, ContentsReadBackAsTheContentsFileAndAsChmcmdWritesThem)
{
    const std::string contents =
        object({{"Name", "Intro"}, {"Local", "a.htm"}}) + object({{"Name", "Book"}}) + "<UL>\r\n" +
        object({{"Name", "B page"}, {"Local", "b.htm"}}) + object({{"Name", "Deeper"}, {"Local", "c.htm"}}) +
        "<UL>\r\n" + object({{"Name", "C part"}, {"Local", "c.htm#part"}}) + "</UL>\r\n</UL>\r\n" +
        object({{"Name", "Intro again"}, {"Local", "a.htm"}}) + object({{"Name", "End"}, {"Local", "c.htm"}});
    const fs::path ours = compile("ours", contents, {});
    EXPECT_EQ(outline(chmls("extracttoc", ours)),
              (std::vector<std::string>{"Intro -> a.htm", "Book", "  B page -> b.htm", "  Deeper -> c.htm",
                                        "    C part -> c.htm#part", "Intro again -> a.htm", "End -> c.htm"}));
    if (!have("chmcmd"))
        return;
    test::writeFile(m_dir.file("theirs.hhp"), test::readFile(m_dir.file("ours.hhp")));
    ASSERT_EQ(std::system(("cd '" + m_dir.path().string() +
                           "' && sed -i 's/ours.chm/theirs.chm/' theirs.hhp && chmcmd theirs.hhp > /dev/null 2>&1")
                              .c_str()),
              0);
    EXPECT_EQ(chmls("extracttoc", ours), chmls("extracttoc", m_dir.file("theirs.chm")));
}

TEST_F(BinaryIndexTest, KeywordsOfOneNameAreOneAndSubKeywordsAndPageKeywordsStay)
{
    test::writeFile(m_dir.file("b.htm"),
                    "<html><head><title>Page b</title></head><body><OBJECT type=\"application/x-oleobject\" "
                    "classid=\"clsid:1E2A7BD0-DAB9-11D0-B93A-00C04FC99F9E\"><param name=\"Keyword\" "
                    "value=\"zebra; Alpha\"><param name=\"ALink Name\" value=\"linked\"></OBJECT></body></html>");
    const std::string index = object({{"Name", "beta"}, {"Local", "b.htm"}}) +
                              object({{"Name", "alpha"}, {"Local", "a.htm"}}) + "<UL>\r\n" +
                              object({{"Name", "sub"}, {"Local", "c.htm"}}) + "</UL>\r\n" +
                              object({{"Name", "Beta"}, {"Local", "c.htm"}, {"Name", "again"}, {"Local", "b.htm#x"}}) +
                              object({{"Name", "ALPHA"}, {"Local", "a.htm"}}) + "<UL>\r\n" +
                              object({{"Name", "other"}, {"Local", "b.htm"}}) + "</UL>\r\n";
    const fs::path ours = compile("ours", object({{"Name", "Intro"}, {"Local", "a.htm"}}), index);
    EXPECT_EQ(outline(chmls("extractindex", ours)),
              (std::vector<std::string>{"alpha -> a.htm b.htm", "  other -> b.htm", "  sub -> c.htm",
                                        "beta -> b.htm c.htm b.htm#x", "zebra -> b.htm"}));
}

TEST_F(BinaryIndexTest, ThousandsOfKeywordsFillManyBlocksAndAllReadBack)
{
    std::string index;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "keyword %04d", i);
        index += object({{"Name", name}, {"Local", i % 2 == 0 ? "a.htm" : "c.htm"}});
        expected.push_back(std::string(name) + (i % 2 == 0 ? " -> a.htm" : " -> c.htm"));
    }
    EXPECT_EQ(outline(chmls("extractindex", compile("ours", {}, index))), expected);
}

// Keywords so long, with so many topics, that one fills half a block: the
// index levels above them must still end in one root block.
TEST(KeywordLinks, LongKeywordsWithManyTopicsEndInOneRootBlock)
{
    std::vector<KeywordEntry> entries;
    for (int i = 0; i < 12; ++i)
        entries.push_back({0, std::string(470, 'k') + std::to_string(100 + i), std::vector<std::uint32_t>(40, 7)});
    for (std::uint32_t t = 0; t < 300; ++t)
        entries.front().topics.push_back(t);
    const KeywordLinks links = buildKeywordLinks(entries, 1252, 0x409);
    ASSERT_EQ(links.keywordCount, 12u);
    ASSERT_EQ((links.btree.size() - 76) % 2048, 0u);
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(links.btree[at]) |
                                          static_cast<unsigned char>(links.btree[at + 1]) << 8 |
                                          static_cast<unsigned char>(links.btree[at + 2]) << 16 |
                                          static_cast<unsigned char>(links.btree[at + 3]) << 24);
    };
    const std::uint32_t blocks = u32(0x26);
    EXPECT_EQ(blocks, (links.btree.size() - 76) / 2048);
    EXPECT_EQ(u32(0x1E), blocks - 1) << "the root is the last block";
    EXPECT_EQ(links.notes.size(), 1u) << "the keyword with 301 topics keeps those that fit";
}

TEST(PageKeywords, TakesKeywordsAndALinksOfIndexObjectsOnly)
{
    const PageKeywords found = pageKeywords(
        "<!-- <object classid=\"clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e\"><param name=Keyword value=hidden> -->"
        "<OBJECT classid='clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e' type=\"application/x-oleobject\">"
        "<PARAM NAME=\"keyword\" VALUE=\"one;  two ;\"><param name=\"ALink Name\" value=\"A &amp; B\"></OBJECT>"
        "<object classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\"><param name=\"Keyword\" value=\"no\">"
        "</object>");
    EXPECT_EQ(found.keywords, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(found.associativeLinks, (std::vector<std::string>{"A & B"}));
}

}  // namespace
}  // namespace doxel::chm
