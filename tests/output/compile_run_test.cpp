#include "output/compile_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/errors.h"
#include "output/compiled_help_check.h"

#include "stored_help_file.h"
#include "test_support.h"

namespace doxel {
namespace {

// A compiler that does what the test scripts and tells what was asked of it.
class FakeCompiler final : public CompilerLibrary {
public:
    bool available = true;
    bool runs = true;
    std::string writes;  // the help file it writes; empty for none
    CompileStatistics counts;
    std::vector<std::string> lines{"Note: a line"};
    std::vector<std::string> calls;
    std::map<std::string, std::string> stored;  // what the help file it writes holds
    // A page it reads beside the help project it is given, and what it read.
    std::string readsPage;
    std::string pageRead;

    bool load() override
    {
        calls.push_back("load");
        m_loaded = m_loaded || available;
        return m_loaded;
    }
    bool isLoaded() const override { return m_loaded; }
    std::string problem() const override { return m_loaded ? "" : "no compiler here"; }
    void init() override { calls.push_back("init"); }
    bool compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                 const CompilerProgressCallback& progress, CompileStatistics& statistics) override
    {
        calls.push_back("compile " + helpProjectFile);
        progress("working");
        for (const std::string& line : lines)
            log(line);
        statistics = counts;
        const std::string folder = std::filesystem::path(helpProjectFile).parent_path().string();
        if (!readsPage.empty())
            pageRead = test::readFile(folder + "/" + readsPage);
        // It writes the help file the help project names, in its folder.
        if (!writes.empty())
            test::writeFile(folder + "/" + std::filesystem::path(writes).filename().string(),
                            "ITSF compiled " + std::to_string(++m_runs));
        return runs;
    }
    std::unique_ptr<CompiledHelpFile> openCompiled(const std::string& file) override;
    void free() override
    {
        calls.push_back("free");
        m_loaded = false;
    }

private:
    bool m_loaded = false;
    int m_runs = 0;
};

std::unique_ptr<CompiledHelpFile> FakeCompiler::openCompiled(const std::string& file)
{
    calls.push_back("read back " + file);
    return stored.empty() ? nullptr : std::make_unique<test::StoredHelpFile>(stored);
}

class RecordingHost final : public CompileHost {
public:
    std::vector<std::string> calls;
    void closeHelpViewers(const std::string& file) override { calls.push_back("close viewers " + file); }
    void keepAlive() override { calls.push_back("keep alive"); }
    void addLogLine(const std::string& line) override { calls.push_back("log " + line); }
    void showProgressText(const std::string& text) override
    {
        calls.push_back("progress " + text);
        if (text == stopAt)
            throw CompileStopped();
    }
    std::string stopAt;  // the progress text at which the user stops the run
    void openHelpFile(const std::string& file) override { calls.push_back("open " + file); }
    void viewLogFile() override { calls.push_back("view log"); }
    void showSummary(const CompileStatistics& s) override
    {
        calls.push_back("summary " + std::to_string(s.warnings) + "/" + std::to_string(s.errors));
    }
    void showFailure(const std::string& text) override
    {
        calls.push_back("failure" + (text.empty() ? "" : " " + text));
    }
};

class CompileRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"g.hhp", "g.hhc", "g.hhk"})
            test::writeFile(m_dir.file(name), "x");
        test::writeFile(m_dir.file("g.chm"), "ITSF an earlier help file");
        m_files = {m_dir.file("g.hhp"), m_dir.file("g.hhc"), m_dir.file("g.hhk"), m_dir.file("g.chm")};
        m_compiler.writes = m_files.compiledFile;
    }
    bool inputFilesExist() const
    {
        return std::filesystem::exists(m_files.helpProjectFile) && std::filesystem::exists(m_files.contentsFile) &&
               std::filesystem::exists(m_files.indexFile);
    }

    test::TempDir m_dir;
    CompileFiles m_files;
    FakeCompiler m_compiler;
    RecordingHost m_host;
    MemorySettingsStore m_settings;
};

TEST_F(CompileRunTest, AStoppedRunKeepsTheOldHelpFileAndLeavesNothingBehind)
{
    test::writeFile(m_files.helpProjectFile, "[OPTIONS]\r\nCompiled file=g.chm\r\n");
    m_host.stopAt = "working";
    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_EQ(result.outcome, CompileOutcome::Stopped);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(m_host.calls.back(), std::string("failure ") + kStoppedText);
    EXPECT_EQ(m_compiler.calls.back(), "free");
    EXPECT_EQ(test::readFile(m_files.compiledFile), "ITSF an earlier help file");
    EXPECT_FALSE(std::filesystem::exists(m_files.helpProjectFile));
    std::vector<std::string> left;
    for (const auto& file : std::filesystem::directory_iterator(m_dir.path()))
        left.push_back(file.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"g.chm"}));
}

TEST_F(CompileRunTest, RunsTheStepsInOrderAndDeletesTheInputFiles)
{
    m_settings.write("LaunchHelp", "1");
    m_settings.write("ViewLog", "1");
    m_compiler.counts.warnings = 2;
    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);

    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.outcome, CompileOutcome::Compiled);
    EXPECT_EQ(result.statistics.warnings, 2);
    EXPECT_EQ(m_host.calls,
              (std::vector<std::string>{"close viewers " + m_files.compiledFile, "keep alive", "keep alive",
                                        "progress Checking g.hhp", "keep alive", "progress working", "log Note: a line",
                                        std::string("log ") + kSearchOffNote, "open " + m_files.compiledFile,
                                        "view log", "summary 2/0"}));
    EXPECT_EQ(m_compiler.calls, (std::vector<std::string>{"load", "init", "compile " + m_files.helpProjectFile,
                                                          "read back " + m_files.compiledFile, "free"}));
    EXPECT_FALSE(std::filesystem::exists(m_files.helpProjectFile));
    EXPECT_FALSE(std::filesystem::exists(m_files.contentsFile));
    EXPECT_FALSE(std::filesystem::exists(m_files.indexFile));
    EXPECT_TRUE(std::filesystem::exists(m_files.compiledFile));
}

// A compiler writes the help file by its name, as chmcmd does: a link there
// must not lead its bytes into another file.
TEST_F(CompileRunTest, NeverWritesTheHelpFileThroughASymbolicLink)
{
    test::writeFile(m_dir.file("victim.txt"), "the author's own text");
    std::filesystem::remove(m_files.compiledFile);
    std::filesystem::create_symlink("victim.txt", m_files.compiledFile);
    EXPECT_TRUE(compileRun(m_compiler, m_settings, m_host, m_files).succeeded);
    EXPECT_FALSE(std::filesystem::is_symlink(m_files.compiledFile));
    EXPECT_EQ(test::readFile(m_files.compiledFile), "ITSF compiled 1");
    EXPECT_EQ(test::readFile(m_dir.file("victim.txt")), "the author's own text");
}

// The compiled file's name comes from the project, which anyone may have
// written: it never names a file the compile reads, and only a help file is
// replaced.
TEST_F(CompileRunTest, NeverReplacesAFileItReadsOrOneThatIsNoHelpFile)
{
    struct Case {
        const char* target;
        const char* error;  // empty: the help file is written
    };
    const Case cases[] = {
        {"g.hhp", "which the compile reads"},
        {"g.hhc", "which the compile reads"},
        {"a.htm", "which the compile reads"},
        {"pic.gif", "which the compile reads"},
        {"g.dxp", "which the compile reads"},
        {"notes.txt", "exists and is not a help file"},
        {"old.chm", ""},
        {"new.chm", ""},
    };
    for (const Case& c : cases) {
        SetUp();
        test::writeFile(m_files.helpProjectFile, "[OPTIONS]\r\nCompiled file=x.chm\r\n\r\n[FILES]\r\na.htm\r\n");
        test::writeFile(m_dir.file("a.htm"), "<img src=\"pic.gif\">");
        test::writeFile(m_dir.file("pic.gif"), "GIF89a");
        test::writeFile(m_dir.file("g.dxp"), "[Project]");
        test::writeFile(m_dir.file("notes.txt"), "the author's notes");
        test::writeFile(m_dir.file("old.chm"), "ITSF an old help file");
        std::filesystem::remove(m_dir.file("new.chm"));
        const std::string target = m_dir.file(c.target);
        const std::string before = std::filesystem::exists(target) ? test::readFile(target) : "";
        m_files.compiledFile = target;
        m_files.projectFile = m_dir.file("g.dxp");
        m_files.keepInputFiles = true;
        m_compiler.writes = target;
        m_host.calls.clear();
        const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
        const std::string log = ::testing::PrintToString(m_host.calls);
        if (*c.error == '\0') {
            EXPECT_EQ(result.outcome, CompileOutcome::Compiled) << c.target << log;
            continue;
        }
        EXPECT_EQ(result.outcome, CompileOutcome::StoppedByChecks) << c.target << log;
        EXPECT_NE(log.find(c.error), std::string::npos) << c.target << log;
        EXPECT_EQ(test::readFile(target), before) << c.target;
    }
}

TEST_F(CompileRunTest, AContentsFileTooDeepForAHelpFileEndsInAnError)
{
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>\n";
    test::writeFile(m_files.helpProjectFile, "[OPTIONS]\r\nContents file=g.hhc\r\n");
    test::writeFile(m_files.contentsFile, deep);
    CompileResult result;
    ASSERT_NO_THROW(result = compileRun(m_compiler, m_settings, m_host, m_files));
    EXPECT_EQ(result.outcome, CompileOutcome::StoppedByChecks);
    EXPECT_EQ(result.statistics.errors, 1) << ::testing::PrintToString(m_host.calls);
}

TEST_F(CompileRunTest, APageTooLargeToReadStopsBeforeTheCompiler)
{
    test::writeFile(m_files.helpProjectFile, "[OPTIONS]\r\nCompiled file=g.chm\r\n\r\n[FILES]\r\nbig.htm\r\n");
    test::writeFile(m_dir.file("big.htm"), std::string((64u << 20) + 1, 'x'));
    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_EQ(result.outcome, CompileOutcome::StoppedByChecks);
    EXPECT_EQ(std::count(m_compiler.calls.begin(), m_compiler.calls.end(), "compile " + m_files.helpProjectFile), 0);
    EXPECT_EQ(test::readFile(m_files.compiledFile), "ITSF an earlier help file");
}

TEST_F(CompileRunTest, OpensTheHelpFileOnlyWhenAskedAndNoErrorWasCounted)
{
    struct Case {
        const char* launchHelp;
        const char* viewLog;
        int errors;
        bool opens;
        bool viewsLog;
    };
    const Case cases[] = {
        {"1", "0", 0, true, false},       {"1", "1", 1, false, true}, {"0", "0", 0, false, false},
        {"yes", "true", 0, false, false}, {"", "1", 0, false, true},
    };
    for (const Case& c : cases) {
        SetUp();
        m_host.calls.clear();
        m_settings.write("LaunchHelp", c.launchHelp);
        m_settings.write("ViewLog", c.viewLog);
        m_compiler.counts.errors = c.errors;
        const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
        const auto called = [&](const std::string& call) {
            return std::find(m_host.calls.begin(), m_host.calls.end(), call) != m_host.calls.end();
        };
        EXPECT_TRUE(result.succeeded);
        EXPECT_EQ(called("open " + m_files.compiledFile), c.opens) << c.launchHelp << " " << c.errors;
        EXPECT_EQ(called("view log"), c.viewsLog) << c.viewLog;
        EXPECT_FALSE(inputFilesExist()) << "a compile with errors still deletes the input files";
    }
}

TEST_F(CompileRunTest, TakesTheFailureBranchWhenTheCompilerIsMissingOrDies)
{
    m_settings.write("LaunchHelp", "1");
    m_settings.write("ViewLog", "1");

    m_compiler.available = false;
    CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"close viewers " + m_files.compiledFile, "keep alive",
                                                      "log no compiler here", "failure"}));
    EXPECT_TRUE(inputFilesExist());

    // A compiler that dies stays loaded; the next run uses it without
    // loading it again and frees it after a run that completes.
    m_compiler.available = true;
    m_compiler.runs = false;
    m_host.calls.clear();
    result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(m_host.calls.back(), "failure");
    EXPECT_TRUE(m_compiler.isLoaded());
    EXPECT_TRUE(inputFilesExist());

    m_compiler.runs = true;
    result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_TRUE(result.succeeded);
    EXPECT_FALSE(m_compiler.isLoaded());
}

TEST_F(CompileRunTest, ARunThatWritesNoHelpFileEndsInTheFailureState)
{
    m_settings.write("LaunchHelp", "1");
    m_settings.write("LogFile", m_dir.file("log.txt"));
    struct Case {
        const char* name;
        std::string hhp;  // the help project the run checks
        bool writes;      // whether the compiler writes the help file
        CompileOutcome outcome;
        const char* failure;  // the text the host shows
        bool compiles;        // whether the compiler was started
    };
    const std::string missingTopic = test::crlf({"[OPTIONS]", "Compiled file=g.chm", "", "[FILES]", "gone.htm"});
    const Case cases[] = {
        {"a topic file is missing", missingTopic, true, CompileOutcome::StoppedByChecks, kStoppedByChecksText, false},
        {"the compiler writes nothing", "x", false, CompileOutcome::NothingWritten, kNothingWrittenText, true},
    };
    for (const Case& c : cases) {
        SetUp();
        m_host.calls.clear();
        m_compiler.calls.clear();
        test::writeFile(m_files.helpProjectFile, c.hhp);
        const std::string before = test::readFile(m_files.compiledFile);
        if (!c.writes)
            m_compiler.writes.clear();
        const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_FALSE(result.succeeded) << c.name;
        EXPECT_GE(result.statistics.errors, 1) << c.name;
        EXPECT_EQ(m_host.calls.back(), "failure " + std::string(c.failure)) << c.name;
        const auto called = [&](const std::string& prefix) {
            return std::any_of(m_host.calls.begin(), m_host.calls.end(),
                               [&](const std::string& call) { return call.starts_with(prefix); });
        };
        EXPECT_FALSE(called("open ")) << c.name << ": the old help file must not be opened";
        EXPECT_TRUE(called("summary")) << c.name << ": the counts are shown all the same";
        EXPECT_EQ(test::readFile(m_files.compiledFile), before) << c.name;
        EXPECT_EQ(m_compiler.calls.size() > 2 && m_compiler.calls[2].starts_with("compile"), c.compiles) << c.name;
        EXPECT_FALSE(inputFilesExist()) << c.name;
        const std::string log = test::readFile(m_dir.file("log.txt"));
        EXPECT_NE(log.find(c.failure), std::string::npos) << c.name << ": the log says why too\n" << log;
    }
}

TEST_F(CompileRunTest, WarnsOfEveryEntryThatLeadsNowhereInTheHelpFileWritten)
{
    test::writeFile(m_files.helpProjectFile, test::crlf({"[OPTIONS]", "Contents file=g.hhc", "Index file=g.hhk"}));
    const auto sitemap = [](const std::string& name, const std::string& local) {
        return "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
               "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>";
    };
    m_compiler.stored = {
        {"/g.hhc", sitemap("Intro", "intro.htm#top") + sitemap("Setup", "pages\\setup.htm")},
        {"/g.hhk", sitemap("alpha", "pages/setup.htm") + sitemap("beta", "gone.htm")},
        {"/intro.htm", ""},
        {"/pages/setup.htm", ""},
    };
    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_EQ(result.outcome, CompileOutcome::Compiled);
    EXPECT_EQ(result.statistics.warnings, 2);
    std::vector<std::string> warnings;
    for (const std::string& call : m_host.calls) {
        if (call.starts_with("log Warning:"))
            warnings.push_back(call);
    }
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "log Warning: Contents entry \"Setup\" leads to pages\\setup.htm, which the help file "
                            "does not hold",
                            "log Warning: Keyword \"beta\" leads to gone.htm, which the help file does not hold"}));
    EXPECT_EQ(m_host.calls.back(), "summary 2/0");
}

TEST_F(CompileRunTest, JudgesTheCompilersReportsOfMissingFilesOnlyOnceThePagesAreScanned)
{
    // The page scan runs while the compiler does; a report that needs its
    // findings waits for them, and the counts hold both.
    test::writeFile(m_dir.file("a.htm"), "<a href=\"nothere.htm\">x</a><img src=\"p.png\">");
    test::writeFile(m_dir.file("p.png"), "");
    test::writeFile(m_files.helpProjectFile, test::crlf({"[OPTIONS]", "Compiled file=g.chm", "", "[FILES]", "a.htm"}));
    m_compiler.lines = {"Writing g.chm",
                        "Warning: Found file nothere.htm while scanning a.htm, but couldn't find it on disk",
                        "Warning: something chmcmd alone knows"};
    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_EQ(result.outcome, CompileOutcome::Compiled);
    EXPECT_EQ(result.statistics.warnings, 2) << "the missing page counts once";
    EXPECT_EQ(result.statistics.topics, 1);
    EXPECT_EQ(result.statistics.graphics, 1);
    EXPECT_EQ(result.statistics.localLinks, 1);
    std::vector<std::string> lines;
    for (const std::string& call : m_host.calls) {
        if (call.starts_with("log "))
            lines.push_back(call.substr(4));
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "Writing g.chm", "Warning: something chmcmd alone knows",
                  "Warning: Broken link in a.htm: nothere.htm does not exist",
                  "Note: Found file nothere.htm while scanning a.htm, but couldn't find it on disk", kSearchOffNote}));
}

TEST_F(CompileRunTest, HandsTheCompilerPagesInTheHelpFilesCodePageAndFindsOddlyNamedTopics)
{
    test::writeFile(m_files.helpProjectFile,
                    "[OPTIONS]\r\nCompiled file=g.chm\r\nContents file=g.hhc\r\nLanguage=0x419\r\n\r\n[FILES]\r\n"
                    "q&a.htm\r\n100% sure.htm\r\nwhat is this?.htm\r\nru.htm\r\n");
    test::writeFile(m_files.contentsFile,
                    "<param name=\"Local\" value=\"q&amp;a.htm\"><param name=\"Local\" value=\"100%25 sure.htm\">"
                    "<param name=\"Local\" value=\"what is this%3F.htm\"><param name=\"Local\" value=\"ru.htm\">");
    const std::string page = "<meta charset=utf-8><p>\xD0\x96</p>";
    for (const char* name : {"q&a.htm", "100% sure.htm", "what is this?.htm"})
        test::writeFile(m_dir.file(name), "<p>x</p>");
    test::writeFile(m_dir.file("ru.htm"), page);
    m_files.codePage = "CP1251";
    m_compiler.readsPage = "ru.htm";

    const CompileResult result = compileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_EQ(result.outcome, CompileOutcome::Compiled) << ::testing::PrintToString(m_host.calls);
    EXPECT_EQ(result.statistics.errors, 0) << ::testing::PrintToString(m_host.calls);
    EXPECT_EQ(m_compiler.pageRead, "<meta charset=windows-1251><p>\xC6</p>");
    EXPECT_EQ(test::readFile(m_dir.file("ru.htm")), page);
    EXPECT_EQ(test::readFile(m_files.compiledFile), "ITSF compiled 1");
}

TEST(CompileCommands, AreEnabledByWhatIsThere)
{
    test::TempDir dir;
    Project project("Guide");
    EXPECT_FALSE(canCompile(project));
    project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Header", 0));
    EXPECT_TRUE(canCompile(project));

    EXPECT_FALSE(helpFileExists(project));
    project.compiledFile = dir.file("g.chm");
    EXPECT_FALSE(helpFileExists(project));
    test::writeFile(project.compiledFile, "x");
    EXPECT_TRUE(helpFileExists(project));

    MemorySettingsStore settings;
    EXPECT_FALSE(logFileExists(settings));
    settings.write("LogFile", dir.path().string());
    EXPECT_FALSE(logFileExists(settings)) << "a folder is not a log file";
    settings.write("LogFile", dir.file("log.txt"));
    EXPECT_FALSE(logFileExists(settings));
    test::writeFile(dir.file("log.txt"), "");
    EXPECT_TRUE(logFileExists(settings));
}

TEST(CompileSummary, ListsTheSixRowsInTheirOrderWithTheirPictures)
{
    CompileStatistics s;
    s.warnings = 1;
    s.errors = 2;
    s.topics = 3;
    s.graphics = 4;
    s.localLinks = 5;
    s.internetLinks = 6;
    std::string rows;
    for (const SummaryRow& row : summaryRows(s))
        rows += std::string(row.label) + "=" + std::to_string(row.count) + "@" + std::to_string(row.picture) + " ";
    EXPECT_EQ(rows, "Warnings=1@2 Errors=2@1 Topics=3@5 Local Links=5@3 Internet Links=6@4 Graphics=4@0 ");
}

}  // namespace
}  // namespace doxel
