#include "output/page_references.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

std::string kinds(const PageReferences& found)
{
    std::string out;
    for (const PageReference& reference : found.references) {
        out += reference.kind == ReferenceKind::Link ? "L:" : reference.kind == ReferenceKind::Picture ? "P:" : "R:";
        out += reference.url + " ";
    }
    return out;
}

TEST(PageReferences, FindsLinksPicturesAndResourcesInTheWaysPagesWriteThem)
{
    struct Case {
        const char* html;
        const char* expected;
    };
    const Case cases[] = {
        {R"(<a href="a.htm">x</a>)", "L:a.htm "},
        {R"(<A HREF='b.htm'>x</A>)", "L:b.htm "},
        {"<a href=c.htm>x</a>", "L:c.htm "},
        {"<a\nclass=\"x\"\nhref = \" d.htm \" >", "L:d.htm "},
        {R"(<img src="p.gif" alt="a > b">)", "P:p.gif "},
        {R"(<body background="bg.jpg"><td background="cell.png">)", "P:bg.jpg P:cell.png "},
        {R"(<input type="image" src="go.png">)", "P:go.png "},
        {R"(<link rel="stylesheet" href="s.css"><script src="j.js"></script>)", "R:s.css R:j.js "},
        {R"(<frame src="f.htm"><iframe src="i.htm"></iframe><object data="o.swf">)", "R:f.htm R:i.htm R:o.swf "},
        {R"(<map><area href="m.htm"></map>)", "L:m.htm "},
        {R"(<a href="x.htm?a=1&amp;b=2">)", "L:x.htm?a=1&b=2 "},
        {R"(<a href="caf&#233;.htm">)", "L:caf\xC3\xA9.htm "},
        {R"(<!-- <a href="hidden.htm"> --><a href="shown.htm">)", "L:shown.htm "},
        {R"(<script>document.write('<a href="no.htm">')</script><a href="yes.htm">)", "L:yes.htm "},
        {R"(<STYLE>a { background: url(x.gif) }</style><img src="y.gif">)", "P:y.gif "},
        {R"(<a href="">empty</a><a name="n">)", ""},
        {R"(<a href="unclosed.htm)", "L:unclosed.htm "},
        {"<p>1 < 2 and <3</p>", ""},
        {R"(<div src="not-a-reference.gif"><a id="x" href="#x">)", "L:#x "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kinds(scanPage(c.html)), c.expected) << c.html;
}

TEST(PageReferences, CollectsIdsAndAnchorNames)
{
    const PageReferences found =
        scanPage(R"(<h1 id="top">T</h1><a name="datum"></a><p name="para"><div ID='Two'><a href="#top">)");
    EXPECT_EQ(found.anchors, (std::vector<std::string>{"top", "datum", "Two"}));
}

TEST(PageReferences, SurvivesMarkupCutOffAnywhere)
{
    const std::string html = R"(<html><a href="a.htm" id="x"><img src='b.gif'><!-- c --><script>x</script></html>)";
    for (std::size_t length = 0; length <= html.size(); ++length)
        scanPage(std::string_view(html).substr(0, length));
    EXPECT_EQ(kinds(scanPage(html)), "L:a.htm P:b.gif ");
}

TEST(PageReferences, ClassifiesUrlsByWhatTheHelpFileDoesWithThem)
{
    struct Case {
        const char* url;
        UrlKind kind;
    };
    const Case cases[] = {
        {"page.htm", UrlKind::Local},
        {"../images/a.gif", UrlKind::Local},
        {"/top.htm", UrlKind::Local},
        {"C:\\help\\a.htm", UrlKind::Local},
        {"#section", UrlKind::Fragment},
        {"http://example.com/", UrlKind::Internet},
        {"HTTPS://example.com/", UrlKind::Internet},
        {"mailto:someone@example.com", UrlKind::Internet},
        {"ftp://example.com/file", UrlKind::Internet},
        {"ms-its:other.chm::/a.htm", UrlKind::OtherHelp},
        {"mk:@MSITStore:other.chm::/a.htm", UrlKind::OtherHelp},
        {"javascript:void(0)", UrlKind::Ignored},
        {"file:///etc/passwd", UrlKind::Ignored},
        {"", UrlKind::Ignored},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classifyUrl(c.url), c.kind) << c.url;
}

TEST(PageReferences, TakesTheFilePartOfALocalUrl)
{
    EXPECT_EQ(localUrlPath("a%20b.htm#part"), "a b.htm");
    EXPECT_EQ(localUrlPath("pages\\x.htm?q=1"), "pages/x.htm");
    EXPECT_EQ(localUrlPath("bad%zzescape.htm"), "bad%zzescape.htm");
    EXPECT_EQ(urlFragment("a.htm#part"), "part");
    EXPECT_EQ(urlFragment("a.htm"), "");
}

}  // namespace
}  // namespace doxel
