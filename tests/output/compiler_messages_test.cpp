#include "output/compiler_messages.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

TEST(CompilerMessages, CountsByTheWordAtTheStartOfTheLine)
{
    EXPECT_EQ(messageKindOf("Warning: x"), MessageKind::Warning);
    EXPECT_EQ(messageKindOf("Error: x"), MessageKind::Error);
    EXPECT_EQ(messageKindOf("Note: x"), MessageKind::Note);
    EXPECT_EQ(messageKindOf("Writing CHM a.chm"), MessageKind::Plain);
    EXPECT_EQ(messageKindOf(" Error: indented"), MessageKind::Plain);
    EXPECT_EQ(messageKindOf("error: lower case"), MessageKind::Plain);
}

// chmcmd 3.2.2's lines for a project with pages in a subfolder, and what
// each counts as once checked against the pages.
TEST(CompilerMessages, CorrectsWhatChmcmdGetsWrongAboutAnchorsAndMissingFiles)
{
    test::TempDir dir;
    test::writeFile(dir.file("faq.htm"), R"(<h1 id="q">FAQ</h1><a href="nothere.htm">x</a>)");
    test::writeFile(dir.file("pages/tour.htm"), R"(<h1 id="sub">Tour</h1>)");
    test::writeFile(dir.file("pages/reference/units.htm"), R"(<a name="datum"></a>)");
    HelpFileCheck check(dir.path().string());
    check.checkTopicFiles({"faq.htm", "pages\\tour.htm", "pages\\reference\\units.htm"});
    check.scanPages({});

    struct Case {
        const char* line;
        MessageKind kind;
        const char* text;
    };
    const Case cases[] = {
        {"Error: Anchor pages/reference/units.htm#datum undefined; first use faq.htm", MessageKind::Note,
         "Note: Anchor pages/reference/units.htm#datum is defined; chmcmd reported it undefined (first use faq.htm)"},
        {"Error: Anchor pages/../faq.htm#q undefined; first use tour.htm", MessageKind::Note,
         "Note: Anchor faq.htm#q is defined; chmcmd reported it undefined (first use tour.htm)"},
        {"Error: Anchor pages/../faq.htm#Q undefined; first use tour.htm", MessageKind::Error,
         "Error: Anchor faq.htm#Q undefined; first use tour.htm"},  // anchors match exactly
        {"Error: Anchor pages/#sub undefined; first use tour.htm", MessageKind::Note,
         "Note: Anchor pages/tour.htm#sub is defined; chmcmd reported it undefined (first use tour.htm)"},
        {"Error: Anchor pages/#nosub undefined; first use tour.htm", MessageKind::Error,
         "Error: Anchor pages/tour.htm#nosub undefined; first use tour.htm"},
        {"Error: Anchor faq.htm#none undefined; first use faq.htm", MessageKind::Error,
         "Error: Anchor faq.htm#none undefined; first use faq.htm"},
        {"Error: Anchor gone.htm#x undefined; first use faq.htm", MessageKind::Error,
         "Error: Anchor gone.htm#x undefined; first use faq.htm"},
        {"Warning: Found file nothere.htm while scanning faq.htm, but couldn't find it on disk", MessageKind::Note,
         "Note: Found file nothere.htm while scanning faq.htm, but couldn't find it on disk"},
        {"Warning: Found file pages/ while scanning pages/tour.htm, but couldn't find it on disk", MessageKind::Note,
         "Note: Found file pages/ while scanning pages/tour.htm, but couldn't find it on disk"},
        {"Warning: Found file other.css while scanning faq.htm, but couldn't find it on disk", MessageKind::Warning,
         "Warning: Found file other.css while scanning faq.htm, but couldn't find it on disk"},
        {"Error: Anchor without the usual words", MessageKind::Error, "Error: Anchor without the usual words"},
        {"Note: Index items:13", MessageKind::Note, "Note: Index items:13"},
        {"Writing CHM sample.chm", MessageKind::Plain, "Writing CHM sample.chm"},
    };
    for (const Case& c : cases) {
        const CompilerMessage message = interpretChmcmdLine(c.line, check);
        EXPECT_EQ(message.kind, c.kind) << c.line;
        EXPECT_EQ(message.text, c.text) << c.line;
    }
}

}  // namespace
}  // namespace doxel
