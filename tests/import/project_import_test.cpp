#include "import/project_import.h"

#include <map>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/project_file.h"
#include "formats/sitemap_reader.h"
#include "output/compiler_files.h"
#include "stored_help_file.h"
#include "test_support.h"

namespace doxel {
namespace {

using test::systemRecord;

// "  caption -> relative path" per entry, indented by level.
std::string tree(const Project& project)
{
    std::string out;
    const std::string folder(folderOf(project.projectFile));
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int level) {
        out += std::string(static_cast<std::size_t>(level) * 2, ' ') + entry.caption;
        if (!entry.topicFile.empty())
            out += " -> " + projectRelativePath(entry.topicFile, project.projectFile);
        out += " [" + std::to_string(entry.iconNumber) + "]\n";
    });
    return out;
}

std::vector<std::string> keywords(const Project& project)
{
    std::vector<std::string> out;
    for (const KeywordEntry& keyword : project.keywords)
        out.push_back(keyword.keyword + " -> " + projectRelativePath(keyword.topicFile, project.projectFile));
    return out;
}

std::string mainLine(const std::string& helpProject)
{
    const auto at = helpProject.find("\r\nMain=");
    return helpProject.substr(at + 2, helpProject.find("\r\n", at + 2) - at - 2);
}

TEST(ProjectImport, ImportsWhatTheCompileWritesAndExportsTheSameWindowAndTree)
{
    test::TempDir dir;
    for (const char* page : {"intro.htm", "Übungen/äpfel.htm", "pages/b.htm"})
        test::writeFile(dir.path() / page, "<title>x</title>");
    Project source("Guide \"Best\" & more");
    source.projectFile = dir.file("guide.dxp");
    ContentsEntry* book = source.titleEntry().appendChild(std::make_unique<ContentsEntry>("Book <1>", 0));
    book->appendChild(std::make_unique<ContentsEntry>("Äpfel & Birnen", 8, dir.file("Übungen/äpfel.htm")));
    book->appendChild(std::make_unique<ContentsEntry>("Part", 10, dir.file("pages/b.htm") + "#part"));
    source.titleEntry().appendChild(std::make_unique<ContentsEntry>("Intro", 255, dir.file("intro.htm")));
    source.keywords = {{"apples", dir.file("Übungen/äpfel.htm")}, {"part", dir.file("pages/b.htm") + "#part"}};
    WindowSettings& w = source.windowSettings;
    w.defaultTopic =
        "\xC3\x9C"
        "bungen\\\xC3\xA4"
        "pfel.htm";
    w.navigationStyle = 1312;
    w.navigationPaneWidth = 220;
    w.buttons = 274510;
    w.windowStyle = 0x100F0000;
    w.left = 100;
    w.top = 80;
    w.width = 800;
    w.height = 600;
    w.jump1Url = "faq.htm";
    w.jump1Text = "FAQ";
    source.rebuildFileList();
    source.fileList.add(dir.file("pages/unused.htm"));
    test::writeFile(dir.path() / "pages/unused.htm", "x");
    NullProgress progress;
    source.deriveCompilerFileNames();
    writeCompilerFiles(source, progress);
    const std::string original = test::readFile(dir.file("guide.hhp"));

    Project imported;
    const ImportReport report = importHelpProject(dir.file("guide.hhp"), dir.file("guide.dxp"), imported);
    EXPECT_EQ(tree(imported), tree(source));
    EXPECT_EQ(keywords(imported), keywords(source));
    EXPECT_EQ(imported.windowSettings, source.windowSettings);
    EXPECT_EQ(imported.fileList.size(), 4u);  // the unused page of [FILES] too
    EXPECT_EQ(report.entries, 4u);
    EXPECT_EQ(report.keywords, 2u);
    EXPECT_TRUE(report.notes.empty()) << report.text();

    // Exported again, the help window is the same line.
    imported.projectFile = dir.file("guide.dxp");
    imported.deriveCompilerFileNames();
    writeCompilerFiles(imported, progress);
    EXPECT_EQ(mainLine(test::readFile(dir.file("guide.hhp"))), mainLine(original));
}

TEST(ProjectImport, ReadsAGeneratorsProjectWithAnchorsSubKeywordsAndThingsItCannotKeep)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "index.html", "x");
    test::writeFile(dir.path() / "api" / "Class A.html", "x");
    test::writeFile(dir.path() / "bdwn.png", "PNG");
    test::writeFile(dir.file("doc.hhp"),
                    "[OPTIONS]\nCompiled file=doc.chm\nContents file=doc.hhc\nIndex file=doc.hhk\n"
                    "Default topic=index.html\nFull-text search=Yes\nTitle=Docs\n\n[FILES]\n"
                    "index.html\napi/Class%20A.html\nmissing.html\nbdwn.png\n[ALIAS]\nx=y\n");
    test::writeFile(dir.file("doc.hhc"),
                    "<html><body><ul>\n"
                    "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Main\"><param name=\"Local\" "
                    "value=\"index.html\"></object>\n"
                    "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Class A\"><param "
                    "name=\"Local\" value=\"api/Class%20A.html#details\"></object>\n"
                    "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Web\"><param name=\"Local\" "
                    "value=\"https://example.org\"></object>\n"
                    "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Gone\"><param name=\"Local\" "
                    "value=\"gone.html#part\"></object>\n"
                    "</ul></ul></body></html>\n");
    test::writeFile(
        dir.file("doc.hhk"),
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"print\"></object>\n"
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"colour\"><param name=\"Local\" "
        "value=\"index.html#c\"></object></ul>\n"
        "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"A\"><param name=\"Name\" value=\"t\"><param "
        "name=\"Local\" value=\"index.html\">"
        "<param name=\"Name\" value=\"t2\"><param name=\"Local\" value=\"API\\Class A.html\"></object>\n"
        // Doxygen's entries into pages it did not write, with their anchors.
        "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"gone\"><param name=\"Local\" "
        "value=\"gone.html\"></object>\n"
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"part\"><param name=\"Local\" "
        "value=\"gone.html#part\"></object></ul></ul>\n");
    Project project;
    const ImportReport report = importHelpProject(dir.file("doc.hhp"), dir.file("out/doc.dxp"), project);
    EXPECT_EQ(tree(project),
              "Docs [42]\n  Main -> ..\\index.html [0]\n    Class A -> ..\\api\\Class A.html#details [8]\n"
              "    Web [0]\n    Gone [0]\n");
    EXPECT_EQ(keywords(project), (std::vector<std::string>{"print, colour -> ..\\index.html#c", "A -> ..\\index.html",
                                                           "A -> ..\\api\\Class A.html"}));
    EXPECT_EQ(project.windowSettings.defaultTopic, "..\\index.html");
    EXPECT_NE(project.windowSettings.navigationStyle & 1024, 0);
    EXPECT_EQ(project.fileList.size(), 3u) << "every file of [FILES] that is there";
    // What no entry names stays in the help file as an extra file.
    EXPECT_EQ(project.extraFiles, std::vector<std::string>{dir.file("bdwn.png")});
    EXPECT_TRUE(project.modified);
    const std::string text = report.text();
    for (const char* part : {"x has no number in [MAP]", "https://example.org", "missing.html is not there", "Files: 3",
                             "2 index entries lead to files that are not there; they are left out",
                             "keywords nested below others become one keyword each (\"print, colour\")",
                             "1 contents entries lead to files that are not there; they keep no topic"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

TEST(ProjectImport, TakesAContentsFileAloneWithItsIndexAndRefusesWhatIsNotThere)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.htm", "x");
    test::writeFile(dir.file("Help.hhc"),
                    "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
                    "<param name=\"Local\" value=\"A.HTM\"></OBJECT></UL>");
    test::writeFile(dir.file("Help.hhk"),
                    "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"k\">"
                    "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL>");
    Project project;
    importHelpProject(dir.file("Help.hhc"), dir.file("Help.dxp"), project);
    EXPECT_EQ(tree(project), "Help [42]\n  A -> a.htm [8]\n");  // the letter case of the disk
    EXPECT_EQ(keywords(project), (std::vector<std::string>{"k -> a.htm"}));

    Project untouched("Keep");
    EXPECT_THROW(importHelpProject(dir.file("none.hhp"), dir.file("none.dxp"), untouched), IoError);
    EXPECT_THROW(importHelpProject(dir.file("none.hhc"), dir.file("none.dxp"), untouched), IoError);
    EXPECT_EQ(untouched.title(), "Keep");
}

TEST(ImportRun, NamesTheProjectSoThatItsCompileNeverReplacesTheSource)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.htm", "x");
    const std::string contents =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
        "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL>";
    test::writeFile(dir.file("guide.hhp"), "[OPTIONS]\nContents file=guide.hhc\n");
    test::writeFile(dir.file("guide.hhc"), contents);
    test::writeFile(dir.file("alone.hhc"), contents);
    NullProgress progress;
    const HelpArchiveOpener none = [](const std::string&) -> std::unique_ptr<CompiledHelpFile> { return nullptr; };

    EXPECT_EQ(runImport(dir.file("guide.hhp"), "", none, progress).projectFile, dir.file("guide-doxel.dxp"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("guide-doxel.dxp")));
    EXPECT_THROW(runImport(dir.file("guide.hhp"), "", none, progress), IoError);  // exists already
    EXPECT_THROW(runImport(dir.file("guide.hhp"), dir.file("guide.dxp"), none, progress), IoError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("guide.dxp")));
    // A contents file alone compiles under its own name without harm: the
    // compile writes alone.hhc, so that name is refused as well.
    EXPECT_EQ(runImport(dir.file("alone.hhc"), "", none, progress).projectFile, dir.file("alone-doxel.dxp"));
    EXPECT_EQ(runImport(dir.file("guide.hhc"), dir.file("other"), none, progress).projectFile, dir.file("other.dxp"));
    EXPECT_EQ(test::readFile(dir.file("guide.hhc")), contents);
}

// A compiled help file as chmlib lists it, without its system files.
struct MemoryArchive : test::StoredHelpFile {
    MemoryArchive() { listsSystemFiles = false; }
};

TEST(Decompile, ExtractsIntoANewFolderAndFindsTheSitemapsThroughTheSystemData)
{
    test::TempDir dir;
    MemoryArchive chm;
    chm.stored["/#SYSTEM"] =
        std::string("\3\0\0\0", 4) + systemRecord(0, std::string("toc.hhc\0", 8)) +
        systemRecord(1, std::string("kw.hhk\0", 7)) + systemRecord(2, std::string("\xE3.htm\0", 6)) +
        systemRecord(3, std::string("\xD0\xF3\0", 3)) + systemRecord(4, std::string("\x19\x04\0\0", 4));
    chm.stored["/toc.hhc"] =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"\xC0\">"
        "<param name=\"Local\" value=\"\xE3.htm#x\"></OBJECT><LI><OBJECT type=\"text/sitemap\">"
        "<param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"sub/b.htm\"></OBJECT></UL>";
    chm.stored["/kw.hhk"] =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"k\">"
        "<param name=\"Local\" value=\"sub/b.htm\"></OBJECT></UL>";
    chm.stored["/г.htm"] = "page";
    chm.stored["/sub/b.htm"] = "page b";
    chm.stored["/../evil.htm"] = "outside";
    chm.stored["/images/a.png"] = "png";
    chm.stored["/_#_README_#_"] = "made by chmcmd";
    chm.unlisted = {"/sub/b.htm"};

    const std::string folder = decompileFolderFor(dir.file("help.chm"));
    EXPECT_EQ(folder, dir.file("help"));
    Project project;
    const ImportReport report = decompileHelpFile(chm, dir.file("help.chm"), folder, folder + "/help.dxp", project);
    EXPECT_EQ(project.title(), "Ру");
    EXPECT_EQ(tree(project), "Ру [42]\n  А -> г.htm#x [8]\n  B -> sub\\b.htm [8]\n");
    EXPECT_EQ(keywords(project), (std::vector<std::string>{"k -> sub\\b.htm"}));
    EXPECT_EQ(project.windowSettings.defaultTopic, "г.htm");
    EXPECT_EQ(test::readFile(dir.file("help/sub/b.htm")), "page b");  // missed by the listing, found by name
    EXPECT_EQ(test::readFile(dir.file("help/images/a.png")), "png");
    EXPECT_FALSE(std::filesystem::exists(dir.file("help/_#_README_#_")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("evil.htm")));
    EXPECT_NE(report.text().find("../evil.htm would leave the folder"), std::string::npos) << report.text();

    // Never over an existing folder.
    EXPECT_EQ(decompileFolderFor(dir.file("help.chm")), dir.file("help-2"));
    EXPECT_THROW(decompileHelpFile(chm, dir.file("help.chm"), folder, folder + "/x.dxp", project), IoError);
    MemoryArchive empty;
    EXPECT_THROW(decompileHelpFile(empty, dir.file("e.chm"), dir.file("e"), dir.file("e/e.dxp"), project), FormatError);
}

TEST(ImportRun, NeverReplacesAFileAndExtractsBesideTheNamedProject)
{
    test::TempDir dir;
    namespace fs = std::filesystem;
    test::writeFile(dir.path() / "a.htm", "x");
    test::writeFile(dir.file("guide.hhc"),
                    "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
                    "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL>");
    test::writeFile(dir.file("book.dxp"), "the author's project");
    fs::create_symlink("nowhere.dxp", dir.path() / "linked.dxp");
    NullProgress progress;
    const HelpArchiveOpener none = [](const std::string&) -> std::unique_ptr<CompiledHelpFile> { return nullptr; };
    for (const char* name : {"book", "book.dxp", "linked", "linked.dxp"})
        EXPECT_THROW(runImport(dir.file("guide.hhc"), dir.file(name), none, progress), IoError) << name;
    EXPECT_EQ(test::readFile(dir.file("book.dxp")), "the author's project");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "linked.dxp"));
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere.dxp"));

    // A help file on a medium that cannot be written: its files go beside
    // the project the user named.
    fs::create_directory(dir.path() / "ro");
    fs::create_directory(dir.path() / "out");
    auto chm = std::make_shared<MemoryArchive>();
    chm->stored["/#SYSTEM"] = std::string("\3\0\0\0", 4) + systemRecord(0, std::string("toc.hhc\0", 8));
    chm->stored["/toc.hhc"] =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"P\">"
        "<param name=\"Local\" value=\"p.htm\"></OBJECT></UL>";
    chm->stored["/p.htm"] = "page";
    test::writeFile(dir.path() / "ro" / "sample.chm", "stand-in");
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const HelpArchiveOpener open = [chm](const std::string&) -> std::unique_ptr<CompiledHelpFile> {
        return std::make_unique<MemoryArchive>(*chm);
    };
    const ImportReport report = runImport(dir.file("ro/sample.chm"), dir.file("out/book"), open, progress);
    fs::permissions(dir.path() / "ro", fs::perms::owner_all);
    EXPECT_EQ(report.projectFile, dir.file("out/book.dxp"));
    EXPECT_EQ(test::readFile(dir.path() / "out" / "sample" / "p.htm"), "page");
    Project project;
    readProjectFile(project, dir.file("out/book.dxp"));
    EXPECT_EQ(tree(project), "sample [42]\n  P -> sample\\p.htm [8]\n");
}

TEST(Decompile, CompletesOrLeavesNothingBehind)
{
    test::TempDir dir;
    namespace fs = std::filesystem;
    MemoryArchive chm;
    chm.stored["/#SYSTEM"] = std::string("\3\0\0\0", 4) + systemRecord(0, std::string("toc.hhc\0", 8));
    chm.stored["/toc.hhc"] =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"P\">"
        "<param name=\"Local\" value=\"p.htm\"></OBJECT><LI><OBJECT type=\"text/sitemap\">"
        "<param name=\"Name\" value=\"Out\"><param name=\"Local\" value=\"../../../etc/passwd\"></OBJECT></UL>";
    chm.stored["/p.htm"] = "page";
    chm.stored["/images"] = "a file";
    chm.stored["/images/x.png"] = "a picture below a folder of the same name";
    NullProgress progress;
    const HelpArchiveOpener open = [&chm](const std::string&) -> std::unique_ptr<CompiledHelpFile> {
        return std::make_unique<MemoryArchive>(chm);
    };
    for (const char* source : {"clash.chm", "deep.chm"})
        test::writeFile(dir.path() / source, "stand-in");
    const ImportReport report = runImport(dir.file("clash.chm"), "", open, progress);
    EXPECT_EQ(test::readFile(dir.file("clash/images")), "a file");
    EXPECT_NE(report.text().find("/images/x.png clashes"), std::string::npos) << report.text();
    // A "Local" value that leaves the folder becomes no topic, with a note.
    Project project;
    readProjectFile(project, dir.file("clash/clash.dxp"));
    EXPECT_EQ(tree(project), "clash [42]\n  P -> p.htm [8]\n  Out [0]\n");
    EXPECT_NE(report.text().find("../../../etc/passwd lies outside"), std::string::npos) << report.text();

    // An import that fails once files are out takes them away again: here
    // a contents file nested deeper than a project holds.
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>\n";
    chm.stored["/toc.hhc"] = deep;
    fs::create_directory(dir.path() / "out");
    EXPECT_THROW(runImport(dir.file("deep.chm"), dir.file("out/deep.dxp"), open, progress), FormatError);
    EXPECT_THROW(runImport(dir.file("deep.chm"), "", open, progress), FormatError);
    EXPECT_FALSE(fs::exists(dir.path() / "deep"));
    EXPECT_EQ(fs::directory_iterator(dir.path() / "out"), fs::directory_iterator());
}

// A help file whose reader fails on some names: one it cannot give the
// bytes of, and one whose data is damaged.
struct FaultyArchive : MemoryArchive {
    std::string read(const std::string& path) const override
    {
        if (path == "/unreadable.htm")
            throw IoError("x.chm cannot give /unreadable.htm");
        if (path == "/damaged.htm")
            throw DamagedFileError("x.chm is damaged: frame 3 does not decode");
        return MemoryArchive::read(path);
    }
};

TEST(Decompile, MakesNoFileItCannotReadAndStopsAtDamage)
{
    test::TempDir dir;
    namespace fs = std::filesystem;
    FaultyArchive chm;
    chm.stored["/#SYSTEM"] = std::string("\3\0\0\0", 4) + systemRecord(0, std::string("toc.hhc\0", 8));
    chm.stored["/toc.hhc"] =
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"P\">"
        "<param name=\"Local\" value=\"p.htm\"></OBJECT></UL>";
    chm.stored["/p.htm"] = "page";
    chm.stored["/unreadable.htm"] = "";
    NullProgress progress;
    const auto open = [&chm](const std::string&) -> std::unique_ptr<CompiledHelpFile> {
        return std::make_unique<FaultyArchive>(chm);
    };
    test::writeFile(dir.path() / "a.chm", "stand-in");
    const ImportReport report = runImport(dir.file("a.chm"), "", open, progress);
    EXPECT_FALSE(fs::exists(dir.path() / "a" / "unreadable.htm"));
    EXPECT_NE(report.text().find("cannot give /unreadable.htm"), std::string::npos) << report.text();

    chm.stored["/damaged.htm"] = "";
    test::writeFile(dir.path() / "b.chm", "stand-in");
    EXPECT_THROW(runImport(dir.file("b.chm"), "", open, progress), DamagedFileError);
    EXPECT_FALSE(fs::exists(dir.path() / "b"));
}

TEST(ImportReaders, BoundDepthAndSizesAndReadUtf16)
{
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>\n";
    try {
        readSitemap(deep, nullptr, "deep.hhc");
        ADD_FAILURE() << "a contents file deeper than a project holds was read";
    } catch (const FormatError& error) {
        EXPECT_EQ(error.line(), kMaxContentsDepth);
        EXPECT_NE(std::string(error.what()).find("deep.hhc, line 256"), std::string::npos) << error.what();
    }
    std::string deepest;
    for (int i = 0; i + 1 < kMaxContentsDepth; ++i)
        deepest += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>\n";
    EXPECT_EQ(readSitemap(deepest, nullptr, "ok.hhc").entries.size(), static_cast<std::size_t>(kMaxContentsDepth - 1));

    struct Case {
        const char* paneWidth;
        std::int32_t bounded;
    };
    const Case cases[] = {
        {"9999999999999999999", kMaxNavigationPaneWidth}, {"-5", kMinNavigationPaneWidth}, {"250", 250}};
    for (const Case& c : cases) {
        const std::string hhp =
            std::string("[WINDOWS]\nmain=\"T\",,,,,,,,,0x2520,") + c.paneWidth + ",0x3006,[100,100,50,-20],,,,,,,0\n";
        const HelpProjectFile read = readHelpProject(hhp, "w.hhp");
        ASSERT_EQ(read.windows.size(), 1u);
        EXPECT_EQ(read.windows[0].navigationPaneWidth, c.bounded) << c.paneWidth;
    }

    // "Unicode" as a Windows editor saves it.
    const std::string text = "[OPTIONS]\r\nTitle=Uni\r\nContents file=u.hhc\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    const HelpProjectFile unicode = readHelpProject(utf16, "u.hhp");
    EXPECT_EQ(unicode.title, "Uni");
    EXPECT_EQ(unicode.contentsFile, "u.hhc");
}

TEST(ImportRun, SizesAreNeverNegative)
{
    test::TempDir dir;
    test::writeFile(dir.file("w.hhp"),
                    "[WINDOWS]\nmain=\"T\",,,,,,,,,0x2520,9999999999999999999,0x3006,[100,100,50,-20],,,,,,,0\n");
    Project project;
    importHelpProject(dir.file("w.hhp"), dir.file("w.dxp"), project);
    EXPECT_EQ(project.windowSettings.navigationPaneWidth, kMaxNavigationPaneWidth);
    EXPECT_EQ(project.windowSettings.width, 0);
    EXPECT_EQ(project.windowSettings.height, 0);
}

}  // namespace
}  // namespace doxel
