#include "import/sitemap_reader.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/project.h"
#include "import/html_entities.h"

namespace doxel {
namespace {

// "level name -> local" per entry, one line each: easy to compare whole.
std::string outline(const Sitemap& sitemap)
{
    std::string out;
    for (const SitemapEntry& entry : sitemap.entries) {
        out += std::to_string(entry.level) + " " + entry.name;
        if (!entry.local.empty())
            out += " -> " + entry.local;
        for (const std::string& more : entry.moreLocals)
            out += " +" + more;
        if (entry.imageNumber >= 0)
            out += " [" + std::to_string(entry.imageNumber) + "]";
        out += "\n";
    }
    return out;
}

TEST(SitemapReader, ReadsTheShapesGeneratorsAndEditorsWrite)
{
    struct Case {
        const char* name;
        std::string text;
        std::string outline;
    };
    const Case cases[] = {
        {"our own writer's layout",
         "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n</HEAD><BODY>\r\n"
         "<OBJECT type=\"text/site properties\">\r\n\t<param name=\"Window Styles\" "
         "value=\"0x800025\">\r\n</OBJECT>\r\n"
         "<UL>\r\n\t   <LI> <OBJECT type=\"text/sitemap\">\r\n\t\t<param name=\"Name\" value=\"A\">\r\n"
         "\t\t<param name=\"Local\" value=\"pages/a.htm\">\r\n\t\t<param name=\"ImageNumber\" value=\"9\">\r\n"
         "\t\t</OBJECT>\r\n<UL>\r\n\t   <LI> <OBJECT type=\"text/sitemap\">\r\n\t\t<param name=\"Name\" "
         "value=\"B\">\r\n"
         "\r\n\t\t<param name=\"ImageNumber\" value=\"1\">\r\n\t\t</OBJECT>\r\n</UL>\r\n</UL>\r\n</BODY></HTML>\r\n",
         "0 A -> pages/a.htm [9]\n1 B [1]\n"},
        {"one-line objects, lower case, unclosed LI",
         "<ul><li><object type=text/sitemap><param name=name value=A><param name=local value=a.htm></object>"
         "<ul><li><object type=text/sitemap><param name=name value=B><param name=local value=b.htm></object></ul></ul>",
         "0 A -> a.htm\n1 B -> b.htm\n"},
        {"parameters in any order, single quotes, odd spacing",
         "<UL>\n<LI><OBJECT TYPE='text/sitemap'>\n<PARAM VALUE='x.htm#part' NAME='Local'>\n"
         "<Param  Name = \"Name\"   Value = \"X, y\" >\n</Object>\n</UL>",
         "0 X, y -> x.htm#part\n"},
        {"entities named and numeric, markup characters in quotes",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Tom &amp; Jerry &quot;q&quot; <tag> "
         "&#1046;&#x416; &auml; &bogus; & &\"><param name=\"Local\" value=\"a%20b.htm\"></OBJECT></UL>",
         "0 Tom & Jerry \"q\" <tag> ЖЖ ä &bogus; & & -> a%20b.htm\n"},
        {"comments hide objects, declarations are skipped",
         "<!-- <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"hidden\"></OBJECT> -->"
         "<?xml version=\"1.0\"?><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
         "value=\"shown\"></OBJECT></UL>",
         "0 shown\n"},
        {"several pairs: the first makes the entry, later Locals are kept",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"kw\"><param name=\"Name\" value=\"T1\">"
         "<param name=\"Local\" value=\"a.htm\"><param name=\"Name\" value=\"T2\"><param name=\"Local\" "
         "value=\"b.htm\">"
         "</OBJECT></UL>",
         "0 kw +a.htm +b.htm\n"},
        {"missing </OBJECT> closed by the next LI and by the list end",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
         "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"></UL>",
         "0 A\n0 B\n"},
        {"a list opened twice at once and objects outside any list",
         "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"top\"></OBJECT>"
         "<UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"deep\"></OBJECT></UL></UL>",
         "0 top\n1 deep\n"},
        {"Sphinx's index: Keyword for Name, a See Also that gathers sub-keywords",
         "<UL><LI> <OBJECT type=\"text/sitemap\">\n    <param name=\"Keyword\" value=\"api\">\n"
         "    <param name=\"See Also\" value=\"api\">\n</OBJECT>\n<UL> <LI> <OBJECT type=\"text/sitemap\">\n"
         "    <param name=\"Keyword\" value=\"functions\">\n    <param name=\"Local\" value=\"api.html#index-0\">\n"
         "</OBJECT>\n</UL></UL>",
         "0 api\n1 functions -> api.html#index-0\n"},
        {"an empty file and one without objects", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outline(readSitemap(c.text, nullptr, "t.hhc")), c.outline);
    }
}

TEST(SitemapReader, ReadsEveryEncodingItMeets)
{
    const std::string body = "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"";
    const std::string tail = "\"></OBJECT></UL>";
    const CodePage* cp1251 = codePageByNumber(1251);
    struct Case {
        const char* name;
        std::string bytes;
        const CodePage* projectCodePage;
        std::string encoding;
    };
    const Case cases[] = {
        {"UTF-8 without mark", body + "Приливы" + tail, nullptr, "UTF-8"},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + body + "Приливы" + tail, cp1251, "UTF-8"},
        {"Windows-1251 from the project's language", body + "\xCF\xF0\xE8\xEB\xE8\xE2\xFB" + tail, cp1251, "CP1251"},
        {"Windows-1251 declared in a meta tag",
         "<HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"></HEAD>" + body +
             "\xCF\xF0\xE8\xEB\xE8\xE2\xFB" + tail,
         nullptr, "CP1251"},
        {"UTF-16 with its mark", "", nullptr, "UTF-16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = c.bytes;
        if (bytes.empty()) {
            // The same text as UTF-16, little-endian, with its mark.
            bytes = "\xFF\xFE";
            const std::string ascii = body + "X" + tail;
            for (const char ch : ascii) {
                bytes += ch;
                bytes += '\0';
            }
        }
        const Sitemap sitemap = readSitemap(bytes, c.projectCodePage, "t.hhc");
        EXPECT_EQ(sitemap.encoding, c.encoding);
        ASSERT_EQ(sitemap.entries.size(), 1u);
        EXPECT_EQ(sitemap.entries[0].name, c.encoding == "UTF-16" ? "X" : "Приливы");
    }
    // Latin-1 text without a declaration falls to Windows-1252, whose €
    // Latin-1 lacks.
    EXPECT_EQ(readSitemap(body + "\x80 \xE4" + tail, nullptr, "t.hhc").entries.at(0).name, "€ ä");
}

TEST(SitemapReader, NotesWhatItDropsWithTheLineAndRefusesBinaryFiles)
{
    const std::string text =
        "<UL>\n<LI><OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"A\">\n"
        "<param name=\"Merge\" value=\"other.chm::/other.hhc\">\n</OBJECT>\n"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"><param name=\"URL\" "
        "value=\"http://x\"></OBJECT>\n"
        "</UL></UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"open\n";
    const Sitemap sitemap = readSitemap(text, nullptr, "t.hhc");
    std::vector<int> lines;
    for (const SitemapNote& note : sitemap.notes)
        lines.push_back(note.line);
    EXPECT_EQ(lines, (std::vector<int>{4, 6, 7, 8, 9}));
    EXPECT_NE(sitemap.notes[0].text.find("Merge"), std::string::npos);
    EXPECT_NE(sitemap.notes[1].text.find("URL"), std::string::npos);

    try {
        readSitemap(std::string("<UL>\n\n<LI>\0\0", 12), nullptr, "bin.hhc");
        ADD_FAILURE() << "a binary file was read";
    } catch (const FormatError& error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(std::string(error.what()).find("bin.hhc"), std::string::npos);
    }
}

TEST(SitemapReader, SurvivesDeepNestingAndTruncatedTagsWithoutRecursionOrHang)
{
    // Refused where it goes deeper than a project holds, however deep.
    std::string deep;
    for (int i = 0; i < 200'000; ++i)
        deep += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\">";
    EXPECT_THROW(readSitemap(deep, nullptr, "deep.hhc"), FormatError);
    deep.resize(deep.size() / 200'000 * (kMaxContentsDepth - 1));
    const Sitemap sitemap = readSitemap(deep, nullptr, "deep.hhc");
    ASSERT_EQ(sitemap.entries.size(), static_cast<std::size_t>(kMaxContentsDepth - 1));
    EXPECT_EQ(sitemap.entries.back().level, kMaxContentsDepth - 2);

    const std::string whole = "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"abc\"></OBJECT></UL>";
    for (std::size_t cut = 0; cut <= whole.size(); ++cut)
        EXPECT_NO_THROW(readSitemap(whole.substr(0, cut), nullptr, "cut.hhc")) << cut;
}

TEST(HtmlEntities, DecodesNamedAndNumericReferences)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        {"&Auml;&auml;&szlig;&euro;&hellip;&nbsp;", "\xC3\x84\xC3\xA4\xC3\x9F\xE2\x82\xAC\xE2\x80\xA6\xC2\xA0"},
        {"&#65;&#x42;&#X43;&#1046;&#128512;", "ABCЖ😀"},
        {"&#xD800;&#1114112;", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"AT&T & &amp &unknown; &#; &#xZZ;", "AT&T & &amp &unknown; &#; &#xZZ;"},
    };
    for (const auto& [text, decoded] : cases)
        EXPECT_EQ(decodeHtmlEntities(text), decoded) << text;
}

}  // namespace
}  // namespace doxel
