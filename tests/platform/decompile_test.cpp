#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/project_file.h"
#include "formats/chm_archive.h"
#include "import/project_import.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/builtin_compiler.h"
#include "platform/child_process.h"
#include "platform/chmcmd_compiler.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

class QuietHost final : public CompileHost {
public:
    void closeHelpViewers(const std::string&) override {}
    void keepAlive() override {}
    void addLogLine(const std::string& line) override { lines += line + "\n"; }
    void showProgressText(const std::string&) override {}
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics&) override {}
    void showFailure(const std::string&) override {}
    std::string lines;
};

CompileResult compileProject(Project& project, const std::string& logFile, QuietHost& host)
{
    NullProgress progress;
    project.deriveCompilerFileNames();
    writeCompilerFiles(project, progress);
    ChmcmdCompiler compiler;
    MemorySettingsStore settings;
    CompileFiles files = compileFilesOf(project);
    files.logFile = logFile;
    return compileRun(compiler, settings, host, files);
}

// The project file from its [Window] section on: window, contents and
// index, paths relative to the project.
std::string storedStructure(const std::string& projectFile)
{
    const std::string text = test::readFile(projectFile);
    return text.substr(text.find("[Window]"));
}

TEST(Decompile, GivesBackTheSampleProjectThatTheHelpFileWasCompiledFrom)
{
    if (findProgram("chmcmd").empty())
        GTEST_SKIP() << "chmcmd (fp-utils) is not installed";
    test::TempDir dir;
    const std::string folder = dir.file("sample");
    fs::copy(fs::path(DOXEL_SOURCE_DIR) / "examples" / "sample", folder, fs::copy_options::recursive);
    Project sample;
    readProjectFile(sample, folder + "/sample.dxp");
    QuietHost host;
    ASSERT_TRUE(compileProject(sample, dir.file("log.txt"), host).succeeded) << host.lines;

    NullProgress progress;
    const HelpArchiveOpener open = ChmArchive::open;
    const ImportReport report = runImport(folder + "/sample.chm", "", open, progress);
    EXPECT_EQ(report.projectFile, folder + "/sample/sample.dxp");
    EXPECT_TRUE(report.notes.empty()) << report.text();
    EXPECT_EQ(storedStructure(report.projectFile), storedStructure(folder + "/sample.dxp"));
    EXPECT_EQ(test::readFile(folder + "/sample/pages/busum.htm"), test::readFile(folder + "/pages/busum.htm"));

    // Compiled again, the decompiled project gives a help file of its own
    // beside it, never over the source.
    Project again;
    readProjectFile(again, report.projectFile);
    QuietHost second;
    const CompileResult result = compileProject(again, dir.file("log2.txt"), second);
    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(result.statistics.errors, 0) << second.lines;
    EXPECT_TRUE(fs::exists(folder + "/sample/sample.chm"));

    // A second decompile goes into a folder of its own; a named existing
    // project is never replaced.
    EXPECT_EQ(runImport(folder + "/sample.chm", "", open, progress).projectFile, folder + "/sample-2/sample.dxp");
    EXPECT_THROW(runImport(folder + "/sample.chm", folder + "/sample.dxp", open, progress), IoError);
    fs::remove(folder + "/sample.dxp");
    EXPECT_THROW(runImport(folder + "/sample.chm", folder + "/sample.dxp", open, progress),
                 IoError);  // would compile over it
    EXPECT_FALSE(fs::exists(folder + "/sample-3"));
}

// The window of a help project, imported from the .hhp and from the .chm
// compiled from it: the same settings, where the help project leaves
// numbers out as well.
TEST(Decompile, GivesTheHelpWindowThatTheHelpProjectGives)
{
    const std::string pages[] = {"главы/ёлка.htm", "главы/дом.htm", "прочее/прыжок.htm"};
    // A window written by our export, and one by a tool that leaves the
    // numbers to the viewer.
    const std::string ours =
        "\"\xD0\xF3\xEA\xEE\",\"h.hhc\",,\"\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm\",\xE3\xEB\xE0\xE2\xFB/"
        "\xE4\xEE\xEC.htm,\xEF\xF0\xEE\xF7\xE5\xE5/\xEF\xF0\xFB\xE6\xEE\xEA.htm,\xC2\xEF\xE5\xF0\xB8\xE4,"
        "http://example.com/,Web,0x520,220,0x4304E,[100,80,900,680],0x0,0x0,,,,,0";
    const std::string sparse =
        "\"\xD0\xF3\xEA\xEE\",\"h.hhc\",,\"\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm\","
        "\"\xE3\xEB\xE0\xE2\xFB/\xE4\xEE\xEC.htm\",,,,,,,,,,,,,,,";
    struct Case {
        const char* compiler;
        const std::string& window;
    };
    const Case cases[] = {{kBuiltInCompilerName, ours}, {kBuiltInCompilerName, sparse}, {kChmcmdCompilerName, ours}};
    for (const Case& c : cases) {
        if (std::string(c.compiler) == kChmcmdCompilerName && findProgram("chmcmd").empty())
            continue;
        test::TempDir dir;
        for (const std::string& page : pages)
            test::writeFile(dir.path() / "h" / page, "<title>x</title><p>x</p>");
        test::writeFile(dir.path() / "h/h.hhc",
                        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"\xB8\">"
                        "<param name=\"Local\" value=\"\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm\"></OBJECT></UL>");
        test::writeFile(dir.path() / "h/h.hhp",
                        test::crlf({"[OPTIONS]", "Compiled file=h.chm", "Contents file=h.hhc", "Default Window=Main",
                                    "Default topic=\xE3\xEB\xE0\xE2\xFB/\xB8\xEB\xEA\xE0.htm",
                                    "Language=0x419 Russisch", "Title=\xD0\xF3\xEA\xEE", "", "[WINDOWS]",
                                    "Main=" + c.window, "", "[FILES]", pages[0], pages[1], pages[2]}));
        CompileFiles files{dir.file("h/h.hhp"), dir.file("h/h.hhc"), "", dir.file("h/h.chm"), dir.file("log.txt")};
        files.keepInputFiles = true;
        const std::unique_ptr<CompilerLibrary> compiler = makeHelpCompiler(c.compiler);
        MemorySettingsStore settings;
        QuietHost host;
        ASSERT_TRUE(compileRun(*compiler, settings, host, files).succeeded) << c.compiler << host.lines;

        NullProgress progress;
        const HelpArchiveOpener open = ChmArchive::open;
        const std::string fromHelpFile = runImport(dir.file("h/h.chm"), "", open, progress).projectFile;
        const std::string fromHelpProject =
            runImport(dir.file("h/h.hhp"), dir.file("h/p.dxp"), open, progress).projectFile;
        Project imported[2];
        readProjectFile(imported[0], fromHelpProject);
        readProjectFile(imported[1], fromHelpFile);
        const WindowSettings& window = imported[0].windowSettings;
        EXPECT_EQ(window.homePage, "главы\\дом.htm") << c.compiler;
        if (&c.window == &ours) {
            EXPECT_EQ(window.jump1Url, "прочее\\прыжок.htm") << c.compiler;
        }
        EXPECT_EQ(imported[1].windowSettings, window) << c.compiler << "\n"
                                                      << storedStructure(fromHelpFile) << "\n"
                                                      << storedStructure(fromHelpProject);
    }
}

}  // namespace
}  // namespace doxel
