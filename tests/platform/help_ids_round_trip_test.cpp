// Help ids from a help project through a doxel project and its help file
// back into a project, read on the way by chmls and chmlib.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/settings.h"
#include "import/project_import.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/builtin_compiler.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"
#include "platform/chmcmd_compiler.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

class LoggingHost final : public CompileHost {
public:
    void closeHelpViewers(const std::string&) override {}
    void keepAlive() override {}
    void addLogLine(const std::string& line) override { lines.push_back(line); }
    void showProgressText(const std::string&) override {}
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics&) override {}
    void showFailure(const std::string&) override {}
    std::string all() const
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }
    bool has(const std::string& text) const
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    std::vector<std::string> lines;
};

CompileResult compile(Project& project, CompilerLibrary& compiler, LoggingHost& host)
{
    NullProgress progress;
    project.deriveCompilerFileNames();
    writeCompilerFiles(project, progress);
    MemorySettingsStore settings;
    return compileRun(compiler, settings, host, compileFilesOf(project));
}

// Number and topic of every help id, topics relative to `folder`.
std::vector<std::pair<std::uint32_t, std::string>> numbersAndTopics(const Project& project, const std::string& folder)
{
    std::vector<std::pair<std::uint32_t, std::string>> out;
    for (const HelpId& id : project.helpIds)
        out.emplace_back(id.number, fs::path(id.topicFile).lexically_relative(folder).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

class HelpIdsRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.file("help");
        fs::create_directories(folder + "/pages");
        const std::string page = "<html><head><title>T</title></head><body><a name=\"part\">T</a></body></html>";
        for (const char* name : {"index.htm", "pages/print.htm", "pages/popup.htm"})
            test::writeFile(fs::path(folder) / name, page);
        test::writeFile(fs::path(folder) / "ids.h",
                        "/* Help ids of the main window */\n#define IDH_INDEX 1000\n#define IDH_PRINT 0x3E9 // dialog\n"
                        "#define IDH_POPUP 1002\n#define IDH_NO_TOPIC 1003\n#define IDH_GONE 1004\n");
        test::writeFile(
            fs::path(folder) / "guide.hhp",
            test::crlf({"[OPTIONS]", "Compiled file=guide.chm", "Default topic=index.htm", "Language=0x409",
                        "Title=Guide", "", "[FILES]", "index.htm", "pages\\print.htm", "", "[ALIAS]",
                        "IDH_INDEX=index.htm", "IDH_PRINT=pages\\print.htm#part", "IDH_POPUP=pages/popup.htm",
                        "IDH_GONE=gone.htm", "IDH_NO_NUMBER=index.htm", "", "[MAP]", "#include ids.h"}));
    }

    test::TempDir dir;
    std::string folder;
};

TEST_F(HelpIdsRoundTrip, NumbersAndTopicsSurviveImportCompileAndDecompile)
{
    Project project;
    const ImportReport imported = importHelpProject(folder + "/guide.hhp", folder + "/guide.dxp", project);
    const std::vector<std::pair<std::uint32_t, std::string>> expected = {
        {1000, "index.htm"}, {1001, "pages/print.htm#part"}, {1002, "pages/popup.htm"}};
    EXPECT_EQ(numbersAndTopics(project, folder), expected);
    EXPECT_EQ(imported.helpIds, 3u);
    for (const char* text : {"IDH_NO_TOPIC (1003) has no topic", "IDH_NO_NUMBER has no number",
                             "the topic file gone.htm is not there", "1 help ids lead to files that are not there"})
        EXPECT_TRUE(std::any_of(imported.notes.begin(), imported.notes.end(),
                                [&](const std::string& note) { return note.find(text) != std::string::npos; }))
            << text << "\n"
            << imported.text();

    BuiltInCompiler compiler;
    LoggingHost host;
    ASSERT_TRUE(compile(project, compiler, host).succeeded);
    EXPECT_FALSE(host.has("help id")) << host.lines.front();
    const std::string chm = folder + "/guide.chm";

    if (!findProgram("chmls").empty()) {
        ChildProcessOptions options;
        options.arguments = {findProgram("chmls"), "extractalias", "guide.chm"};
        options.workingFolder = folder;
        ASSERT_EQ(runChildProcess(options).status, 0);
        EXPECT_EQ(test::readFile(folder + "/guide.h"),
                  "#define helpid1000 1000\n#define helpid1001 1001\n#define helpid1002 1002\n");
        EXPECT_EQ(test::readFile(folder + "/guide.ali"),
                  "helpid1000=index.htm\nhelpid1001=pages/print.htm#part\nhelpid1002=pages/popup.htm\n");
    }

    NullProgress progress;
    const auto open = [](const std::string& file) { return std::make_unique<ChmReader>(file); };
    const ImportReport back = runImport(chm, dir.file("back/guide.dxp"), open, progress);
    Project decompiled;
    decompileHelpFile(ChmReader(chm), chm, dir.file("again"), dir.file("again/guide.dxp"), decompiled);
    EXPECT_EQ(numbersAndTopics(decompiled, dir.file("again")), expected);
    EXPECT_EQ(decompiled.helpIds.front().name, "IDH_1000");
    EXPECT_EQ(back.helpIds, 3u);
    EXPECT_TRUE(std::any_of(back.notes.begin(), back.notes.end(), [](const std::string& note) {
        return note.find("keeps the numbers of its help ids but not their names") != std::string::npos;
    }));
}

TEST_F(HelpIdsRoundTrip, ChmcmdSaysItsHelpIdsOpenNothing)
{
    ChmcmdCompiler chmcmd;
    if (!chmcmd.load())
        GTEST_SKIP() << "chmcmd (fp-utils) is not installed";
    Project project;
    importHelpProject(folder + "/guide.hhp", folder + "/guide.dxp", project);
    LoggingHost host;
    // IDH_PRINT's anchor alone would make chmcmd refuse the whole project.
    const CompileResult result = compile(project, chmcmd, host);
    ASSERT_TRUE(result.succeeded) << host.all();
    EXPECT_TRUE(
        host.has("Warning: chmcmd stores the topics of help ids under the full path of the folder it compiles in"));
    // The read-back check sees it too: chmcmd 3.2.2 writes the full path.
    EXPECT_TRUE(host.has("Warning: The help id IDH_INDEX (1000) leads to " + fs::canonical(folder).string() +
                         "/index.htm in the help file instead of index.htm"))
        << host.all();

    // A decompile finds the stored files by the ends of those paths.
    const std::string chm = folder + "/guide.chm";
    Project decompiled;
    const ImportReport back =
        decompileHelpFile(ChmReader(chm), chm, dir.file("again"), dir.file("again/guide.dxp"), decompiled);
    EXPECT_EQ(numbersAndTopics(decompiled, dir.file("again")),
              (std::vector<std::pair<std::uint32_t, std::string>>{
                  {1000, "index.htm"}, {1001, "pages/print.htm"}, {1002, "pages/popup.htm"}}))
        << back.text();
}

}  // namespace
}  // namespace doxel
