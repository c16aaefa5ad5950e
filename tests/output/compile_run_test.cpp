#include "output/compile_run.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

// A compiler that does what the test scripts and tells what was asked of it.
class FakeCompiler final : public CompilerLibrary {
public:
    bool available = true;
    bool runs = true;
    CompileStatistics counts;
    std::vector<std::string> calls;

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
        log("Note: a line");
        statistics = counts;
        return runs;
    }
    void free() override
    {
        calls.push_back("free");
        m_loaded = false;
    }

private:
    bool m_loaded = false;
};

class RecordingHost final : public CompileHost {
public:
    std::vector<std::string> calls;
    void closeHelpViewers(const std::string& file) override { calls.push_back("close viewers " + file); }
    void keepAlive() override { calls.push_back("keep alive"); }
    void addLogLine(const std::string& line) override { calls.push_back("log " + line); }
    void showProgressText(const std::string& text) override { calls.push_back("progress " + text); }
    void openHelpFile(const std::string& file) override { calls.push_back("open " + file); }
    void viewLogFile() override { calls.push_back("view log"); }
    void showSummary(const CompileStatistics& s) override
    {
        calls.push_back("summary " + std::to_string(s.warnings) + "/" + std::to_string(s.errors));
    }
    void showFailure() override { calls.push_back("failure"); }
};

class CompileRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"g.hhp", "g.hhc", "g.hhk", "g.chm"})
            test::writeFile(m_dir.file(name), "x");
        m_files = {m_dir.file("g.hhp"), m_dir.file("g.hhc"), m_dir.file("g.hhk"), m_dir.file("g.chm")};
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

TEST_F(CompileRunTest, RunsTheStepsInOrderAndDeletesTheInputFiles)
{
    m_settings.write("LaunchHelp", "1");
    m_settings.write("ViewLog", "1");
    m_compiler.counts.warnings = 2;
    const CompileResult result = CompileRun(m_compiler, m_settings, m_host, m_files);

    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.statistics.warnings, 2);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"close viewers " + m_files.compiledFile, "keep alive",
                                                      "keep alive", "progress working", "log Note: a line",
                                                      "open " + m_files.compiledFile, "view log", "summary 2/0"}));
    EXPECT_EQ(m_compiler.calls,
              (std::vector<std::string>{"load", "init", "compile " + m_files.helpProjectFile, "free"}));
    EXPECT_FALSE(std::filesystem::exists(m_files.helpProjectFile));
    EXPECT_FALSE(std::filesystem::exists(m_files.contentsFile));
    EXPECT_FALSE(std::filesystem::exists(m_files.indexFile));
    EXPECT_TRUE(std::filesystem::exists(m_files.compiledFile));
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
        {"1", "0", 0, true, false}, {"1", "1", 1, false, true}, {"0", "0", 0, false, false},
        {"yes", "true", 0, false, false}, {"", "1", 0, false, true},
    };
    for (const Case& c : cases) {
        SetUp();
        m_host.calls.clear();
        m_settings.write("LaunchHelp", c.launchHelp);
        m_settings.write("ViewLog", c.viewLog);
        m_compiler.counts.errors = c.errors;
        const CompileResult result = CompileRun(m_compiler, m_settings, m_host, m_files);
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
    CompileResult result = CompileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"close viewers " + m_files.compiledFile, "keep alive",
                                                      "log no compiler here", "failure"}));
    EXPECT_TRUE(inputFilesExist());

    // A compiler that dies stays loaded; the next run uses it without
    // loading it again and frees it after a run that completes.
    m_compiler.available = true;
    m_compiler.runs = false;
    m_host.calls.clear();
    result = CompileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(m_host.calls.back(), "failure");
    EXPECT_TRUE(m_compiler.isLoaded());
    EXPECT_TRUE(inputFilesExist());

    m_compiler.runs = true;
    result = CompileRun(m_compiler, m_settings, m_host, m_files);
    EXPECT_TRUE(result.succeeded);
    EXPECT_FALSE(m_compiler.isLoaded());
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
