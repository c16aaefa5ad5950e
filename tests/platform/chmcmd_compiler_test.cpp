#include "platform/chmcmd_compiler.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/errors.h"
#include "core/project_file.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/builtin_compiler.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class RecordingHost final : public CompileHost {
public:
    std::vector<std::string> lines;
    std::vector<Clock::time_point> progress;
    bool failed = false;
    bool summary = false;
    void closeHelpViewers(const std::string&) override {}
    void keepAlive() override {}
    void addLogLine(const std::string& line) override { lines.push_back(line); }
    void showProgressText(const std::string&) override { progress.push_back(Clock::now()); }
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics&) override { summary = true; }
    void showFailure(const std::string& text) override
    {
        failed = true;
        failure = text;
    }
    std::string failure;

    bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    std::string all() const
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }
    int count(const char* prefix) const
    {
        return static_cast<int>(
            std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
    }
    // The warnings of the help file read back as a viewer reads it.
    int readBackWarnings() const
    {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.ends_with(", which the help file does not hold");
        }));
    }
};

CompileStatistics counts(int warnings, int errors, int topics, int graphics, int localLinks, int internetLinks)
{
    CompileStatistics s;
    s.warnings = warnings;
    s.errors = errors;
    s.topics = topics;
    s.graphics = graphics;
    s.localLinks = localLinks;
    s.internetLinks = internetLinks;
    return s;
}

// A copy of the bundled sample project in a temporary folder, with its
// compiler input files written as the Compile command writes them.
class SampleCompile : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (usesChmcmd() && findProgram("chmcmd").empty())
            GTEST_SKIP() << "chmcmd (fp-utils) is not installed";
        fs::copy(fs::path(DOXEL_SOURCE_DIR) / "examples" / "sample", folder(), fs::copy_options::recursive);
        readProjectFile(m_project, file("sample.dxp"));
    }

    virtual bool usesChmcmd() const { return true; }
    std::string folder() const { return m_dir.file("sample"); }
    std::string file(const std::string& relative) const { return folder() + "/" + relative; }
    void edit(const std::string& relative, const std::string& from, const std::string& to)
    {
        std::string text = test::readFile(file(relative));
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        test::writeFile(file(relative), text.replace(at, from.size(), to));
    }
    void writeInputFiles()
    {
        NullProgress progress;
        m_project.deriveCompilerFileNames();
        writeCompilerFiles(m_project, progress);
    }
    CompileFiles files() const
    {
        CompileFiles files = compileFilesOf(m_project);
        files.logFile = m_dir.file("log.txt");
        return files;
    }
    CompileResult compile(CompilerLibrary& compiler)
    {
        writeInputFiles();
        MemorySettingsStore settings;
        return compileRun(compiler, settings, m_host, files());
    }
    bool inputFilesExist() const
    {
        return fs::exists(m_project.helpProjectFile) && fs::exists(m_project.contentsFile) &&
               fs::exists(m_project.indexFile);
    }
    std::vector<std::string> strayCopies() const
    {
        std::vector<std::string> stray;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder())) {
            if (entry.path().filename().string().starts_with("."))
                stray.push_back(entry.path().string());
        }
        return stray;
    }

    test::TempDir m_dir;
    Project m_project;
    RecordingHost m_host;
};

TEST_F(SampleCompile, PutsEveryPagePictureContentsAndIndexIntoTheHelpFile)
{
    ChmcmdCompiler compiler;
    const CompileResult result = compile(compiler);

    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(result.statistics, counts(0, 0, 14, 4, 29, 1)) << m_host.all();
    EXPECT_TRUE(m_host.summary);
    EXPECT_FALSE(m_host.progress.empty());
    EXPECT_EQ(m_host.count("Warning:") + m_host.count("Error:"), 0) << m_host.all();

    const ChmReader help(file("sample.chm"));
    std::vector<std::string> expected = {
        "/sample.hhc",           "/sample.hhk",        "/styles.css", "/images/logo.png", "/images/mainwindow.png",
        "/images/tidecurve.png", "/images/toolbar.gif"};
    for (const FileListEntry& row : m_project.fileList)
        expected.push_back("/" + fs::path(row.path).lexically_relative(folder()).string());
    EXPECT_EQ(expected.size(), 21U);
    const std::vector<std::string> inside = help.files();
    for (const std::string& path : expected)
        EXPECT_NE(std::find(inside.begin(), inside.end(), path), inside.end()) << path << " is not in the help file";
    EXPECT_EQ(help.read("/welcome.htm"), test::readFile(file("welcome.htm")));
    EXPECT_THROW(help.read("/no-such-page.htm"), IoError);

    EXPECT_FALSE(inputFilesExist());
    EXPECT_TRUE(strayCopies().empty());

    std::string log;
    for (const std::string& line : m_host.lines)
        log += line + "\r\n";
    EXPECT_EQ(test::readFile(m_dir.file("log.txt")), log);
}

TEST_F(SampleCompile, StopsBeforeTheCompilerForAMissingPageAndReportsBrokenLinks)
{
    fs::remove(file("pages/moorings.htm"));
    edit("faq.htm", "href=\"support.htm\"", "href=\"nothere.htm\"");
    ChmcmdCompiler compiler;
    const CompileResult result = compile(compiler);

    EXPECT_EQ(result.outcome, CompileOutcome::StoppedByChecks);
    EXPECT_TRUE(m_host.failed) << "a compile that wrote no help file must not look like success";
    EXPECT_EQ(m_host.failure, kStoppedByChecksText);
    EXPECT_TRUE(m_host.summary);
    EXPECT_EQ(result.statistics, counts(5, 1, 13, 4, 28, 1));
    EXPECT_EQ(m_host.lines.front(), "Error: Topic file pages/moorings.htm does not exist");
    EXPECT_TRUE(m_host.has("Warning: Broken link in faq.htm: nothere.htm does not exist"));
    EXPECT_TRUE(m_host.has("Warning: Broken link in pages/reference/menus.htm: ../moorings.htm does not exist"));
    EXPECT_EQ(m_host.count("Warning:"), 5);
    EXPECT_EQ(m_host.count("Error:"), 1);
    EXPECT_FALSE(fs::exists(file("sample.chm"))) << "chmcmd would have crashed on the missing page";
    EXPECT_FALSE(inputFilesExist());
}

TEST_F(SampleCompile, NeverStartsTheCompilerOnFoldersThatDifferInLetterCase)
{
    writeInputFiles();
    fs::rename(file("pages/reference"), file("pages/Reference"));
    MemorySettingsStore settings;
    ChmcmdCompiler compiler;
    const CompileResult result = compileRun(compiler, settings, m_host, files());

    EXPECT_EQ(result.outcome, CompileOutcome::StoppedByChecks);
    EXPECT_TRUE(m_host.failed);
    EXPECT_EQ(result.statistics.errors, 3);
    EXPECT_TRUE(m_host.has(
        "Error: Topic file pages/reference/menus.htm differs in letter case from pages/Reference/menus.htm on disk"));
    EXPECT_FALSE(fs::exists(file("sample.chm")));
}

TEST_F(SampleCompile, CountsAMissingAnchorAsAnErrorAndADefinedOneNotAtAll)
{
    edit("pages/reference/units.htm", "<h1>", "<h1 id=\"datum\">");
    edit("faq.htm", "href=\"pages/reference/units.htm\"", "href=\"pages/reference/units.htm#datum\"");
    edit("pages/passage.htm", "href=\"moorings.htm\"", "href=\"moorings.htm#nope\"");
    edit("faq.htm", "href=\"support.htm\"", "href=\"nothere.htm\"");
    ChmcmdCompiler compiler;
    const CompileResult result = compile(compiler);

    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(result.statistics.errors, 1);
    EXPECT_EQ(result.statistics.warnings, 1) << "chmcmd's own report of nothere.htm must not count twice";
    EXPECT_EQ(m_host.all().find("units.htm#datum"), std::string::npos) << m_host.all();
    EXPECT_TRUE(m_host.has("Error: Anchor pages/moorings.htm#nope undefined; first use passage.htm")) << m_host.all();
    EXPECT_TRUE(fs::exists(file("sample.chm")));
}

TEST_F(SampleCompile, EveryContentsEntryKeywordAndTheDefaultTopicOpenInTheHelpFile)
{
    ChmcmdCompiler compiler;
    const CompileResult result = compile(compiler);
    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(m_host.readBackWarnings(), 0) << m_host.all();
}

TEST_F(SampleCompile, WarnsOfContentsEntriesThatLeadNowhereInTheHelpFile)
{
    // A page name in UTF-8 in a help file whose language reads it as
    // Windows-1252: the page is on disk and stored, but a viewer looks for
    // "Ã¼ber.htm".
    fs::copy_file(file("welcome.htm"), file("über.htm"));
    writeInputFiles();
    std::string hhc = test::readFile(m_project.contentsFile);
    const std::string welcome = "value=\"welcome.htm\"";
    ASSERT_NE(hhc.find(welcome), std::string::npos);
    hhc.replace(hhc.find(welcome), welcome.size(), "value=\"über.htm\"");
    test::writeFile(m_project.contentsFile, hhc);
    MemorySettingsStore settings;
    ChmcmdCompiler compiler;
    const CompileResult result = compileRun(compiler, settings, m_host, files());
    ASSERT_TRUE(result.succeeded) << m_host.all();
    EXPECT_NE(
        m_host.all().find("Warning: Contents entry \"Welcome to Tidewater\" leads to Ã¼ber.htm, which the help file "
                          "does not hold"),
        std::string::npos)
        << m_host.all();
    EXPECT_GE(result.statistics.warnings, 1);
}

// A Russian project with pages in two folders, in UTF-8 and Windows-1251,
// and a window whose files have Cyrillic names: every link opens in the
// help file either compiler writes, and what opens nothing is named once.
TEST(ReadBack, FollowsCyrillicLinksAndTheWindowsFilesInEitherCompilersHelpFile)
{
    for (const char* name : {kBuiltInCompilerName, kChmcmdCompilerName}) {
        if (std::string(name) == kChmcmdCompilerName && findProgram("chmcmd").empty())
            continue;
        test::TempDir dir;
        test::writeFile(dir.path() / "главы/ёлка.htm",
                        "<title>Elka</title><a href=\"../прочее/прыжок.htm\">x</a> <a href=\"дом.htm#верх\">x</a> "
                        "<a href=\"пропал.htm\">x</a>");
        test::writeFile(dir.path() / "главы/дом.htm", "<title>Dom</title><p id=\"верх\">дом</p>");
        test::writeFile(dir.path() / "прочее/прыжок.htm",
                        "<meta charset=windows-1251><title>Jump</title><a href=\"../\xE3\xEB\xE0\xE2\xFB/"
                        "\xB8\xEB\xEA\xE0.htm\">\xB8\xEB\xEA\xE0</a>");
        Project project("Справка");
        project.projectFile = dir.file("help.dxp");
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Ёлка", 8, dir.file("главы/ёлка.htm")));
        project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Дом", 8, dir.file("главы/дом.htm")));
        WindowSettings& window = project.windowSettings;
        window.defaultTopic = "главы\\ёлка.htm";
        window.homePage = "главы\\нет.htm";
        window.jump1Url = "прочее\\прыжок.htm";
        window.jump1Text = "Прыжок";
        window.jump2Url = "http://example.com/";
        window.jump2Text = "Web";
        project.rebuildFileList();
        project.deriveCompilerFileNames();
        NullProgress progress;
        CompileFiles files = compileFilesOf(project, writeCompilerFiles(project, progress));
        files.logFile = dir.file("log.txt");
        const std::unique_ptr<CompilerLibrary> compiler = makeHelpCompiler(name);
        MemorySettingsStore settings;
        RecordingHost host;
        ASSERT_TRUE(compileRun(*compiler, settings, host, files).succeeded) << name << host.all();
        std::vector<std::string> nowhere;
        for (const std::string& line : host.lines) {
            if (line.ends_with(", which the help file does not hold") || line.starts_with("Warning: Broken"))
                nowhere.push_back(line);
        }
        EXPECT_EQ(nowhere, (std::vector<std::string>{
                               "Warning: Broken link in главы/ёлка.htm: пропал.htm does not exist",
                               "Warning: The home page of the help window \"Main\" leads to главы/нет.htm, which "
                               "the help file does not hold"}))
            << name << "\n"
            << host.all();
    }
}

// A hostile folder: pages that link out of it, a contents entry to a file
// elsewhere, a page that is a link to a file elsewhere, the author's own
// help project files beside the project and a help file that is a link.
// Nothing from outside enters the help file, no file of the author's is
// changed, nothing is written through a link.
TEST_F(SampleCompile, TakesNothingFromOutsideAndKeepsTheAuthorsFiles)
{
    const std::string outside = m_dir.file("secret.txt");
    test::writeFile(outside, "SECRET-BYTES");
    test::writeFile(m_dir.file("victim.txt"), "victim");
    edit("welcome.htm", "</body>",
         "<a href=\"../secret.txt\">s</a><img src=\"../../../../../../../../etc/hostname\">"
         "<a href=\"linked.htm\">l</a></body>");
    fs::create_symlink(outside, file("linked.htm"));
    m_project.titleEntry().appendChild(std::make_unique<ContentsEntry>("Out", 8, "/etc/passwd"));
    m_project.rebuildFileList();
    for (const char* name : {"sample.hhp", "sample.hhc", "sample.hhk"})
        test::writeFile(file(name), std::string("the author's own ") + name);
    fs::create_symlink("../victim.txt", file("sample.chm"));

    NullProgress progress;
    reserveCompileInputFiles(m_project);
    const CompilerInputFiles written = writeCompilerFiles(m_project, progress);
    MemorySettingsStore settings;
    ChmcmdCompiler compiler;
    const CompileResult result = compileRun(compiler, settings, m_host, compileFilesOf(m_project, written));
    ASSERT_TRUE(result.succeeded) << m_host.all();

    EXPECT_FALSE(fs::is_symlink(file("sample.chm")));
    EXPECT_EQ(test::readFile(m_dir.file("victim.txt")), "victim");
    for (const char* name : {"sample.hhp", "sample.hhc", "sample.hhk"})
        EXPECT_EQ(test::readFile(file(name)), std::string("the author's own ") + name);
    const ChmReader help(file("sample.chm"));
    for (const std::string& stored : help.files()) {
        EXPECT_EQ(stored.find(".."), std::string::npos) << stored;
        EXPECT_FALSE(stored.starts_with("/etc")) << stored;
        EXPECT_NE(stored, "/linked.htm");
        if (!stored.starts_with("/#") && !stored.starts_with("/$") && !stored.ends_with("/")) {
            EXPECT_EQ(help.read(stored).find("SECRET-BYTES"), std::string::npos) << stored;
        }
    }
    EXPECT_NE(m_host.all().find("Warning: linked.htm is a link to a file outside the project folder"),
              std::string::npos)
        << m_host.all();
    EXPECT_NE(m_host.all().find("etc/passwd lies outside the project folder"), std::string::npos) << m_host.all();
    EXPECT_TRUE(strayCopies().empty()) << strayCopies().front();
}

// A folder of the project that links to a folder elsewhere, with a page
// that must go into the help file converted: the compile then reads the
// project from a copy, and still takes nothing from outside, with either
// compiler.
class EitherCompiler : public SampleCompile {
protected:
    bool usesChmcmd() const override { return false; }
};

TEST_F(EitherCompiler, ALinkedFolderBringsNothingFromOutside)
{
    fs::create_directory(m_dir.file("outside"));
    test::writeFile(m_dir.file("outside/passwd"), "SECRET-BYTES");
    fs::create_directory_symlink(m_dir.file("outside"), file("etc"));
    edit("welcome.htm", "charset=windows-1252", "charset=utf-8");
    edit("welcome.htm", "</body>",
         "<p>M\xC3\xBCnchen \xE2\x80\x94 \xE2\x82\xAC</p><a href=\"etc/passwd\">p</a></body>");
    m_project.rebuildFileList();
    std::vector<std::unique_ptr<CompilerLibrary>> compilers;
    compilers.push_back(std::make_unique<BuiltInCompiler>());
    if (!findProgram("chmcmd").empty())
        compilers.push_back(std::make_unique<ChmcmdCompiler>());
    for (const auto& compiler : compilers) {
        m_host = {};
        fs::remove(file("sample.chm"));
        ASSERT_TRUE(compile(*compiler).succeeded) << m_host.all();
        EXPECT_NE(m_host.all().find("pages go into the help file converted"), std::string::npos) << m_host.all();
        EXPECT_NE(m_host.all().find("etc/passwd is a link to a file outside the project folder"), std::string::npos)
            << m_host.all();
        const ChmReader help(file("sample.chm"));
        for (const std::string& stored : help.files()) {
            EXPECT_FALSE(stored.starts_with("/etc")) << stored;
            EXPECT_EQ(help.read(stored).find("SECRET-BYTES"), std::string::npos) << stored;
        }
    }
}

// Stand-ins for chmcmd: shell scripts that behave like a compiler that
// crashes, is killed, says nothing for a while, or shows what it was given.
class FakeCompilerTest : public SampleCompile {
protected:
    bool usesChmcmd() const override { return false; }
    std::string script(const std::string& name, const std::string& body)
    {
        const std::string path = m_dir.file(name);
        test::writeFile(path, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
};

TEST_F(FakeCompilerTest, TakesTheFailureBranchWhenTheCompilerCannotRunToItsEnd)
{
    struct Case {
        const char* name;
        std::string program;
        const char* lastLine;
    };
    const Case cases[] = {
        {"missing", m_dir.file("no-chmcmd"), "The help compiler"},
        // chmcmd empties its help file first thing.
        {"crash",
         script("crash", ": > sample.chm; echo 'An unhandled exception occurred at $0000000000416AC9:'; exit 217"),
         "The compiler stopped with exit status 217."},
        {"killed", script("killed", "kill -9 $$"), "The compiler was stopped by SIGKILL."},
    };
    for (const Case& c : cases) {
        m_host = RecordingHost();
        test::writeFile(file("sample.chm"), "ITSF the old help file");
        ChmcmdCompiler compiler(c.program);
        const CompileResult result = compile(compiler);
        EXPECT_EQ(test::readFile(file("sample.chm")), "ITSF the old help file") << c.name;
        EXPECT_FALSE(result.succeeded) << c.name;
        EXPECT_TRUE(m_host.failed) << c.name;
        ASSERT_FALSE(m_host.lines.empty()) << c.name;
        EXPECT_TRUE(m_host.lines.back().starts_with(c.lastLine)) << m_host.lines.back();
        EXPECT_TRUE(inputFilesExist()) << c.name;
        EXPECT_TRUE(strayCopies().empty()) << c.name;
    }
}

TEST_F(FakeCompilerTest, RunsInTheProjectFolderOnACopyWithRelativePaths)
{
    ChmcmdCompiler compiler(
        script("show", "pwd > seen.pwd; echo \"$1\" > seen.option; cat \"$2\" > seen.hhp; : > sample.chm"));
    const CompileResult result = compile(compiler);
    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(test::readFile(file("seen.pwd")), fs::canonical(folder()).string() + "\n");
    const std::string seen = test::readFile(file("seen.hhp"));
    EXPECT_NE(seen.find("Contents file=sample.hhc\r\n"), std::string::npos) << seen;
    EXPECT_EQ(seen.find(folder()), std::string::npos) << "a full path reached the compiler:\n" << seen;
    EXPECT_EQ(seen.find("Error log file="), std::string::npos);
    // chmcmd's own scan of the pages would follow links out of the folder:
    // it is off, and the file list names what our scan reached instead.
    EXPECT_EQ(test::readFile(file("seen.option")), "--no-html-scan\n");
    for (const char* reached : {"\r\nstyles.css\r\n", "\r\nimages/logo.png\r\n", "\r\nwelcome.htm\r\n"})
        EXPECT_NE(seen.find(reached), std::string::npos) << reached << " is not listed:\n" << seen;
    // An empty help file holds no contents: chmlib cannot open it.
    EXPECT_EQ(result.statistics.errors, 1);
}

TEST_F(FakeCompilerTest, KeepsCallingProgressWhileTheCompilerIsSilent)
{
    ChmcmdCompiler compiler(script("silent", "sleep 0.6"));
    compiler.setProgressInterval(std::chrono::milliseconds(50));
    compile(compiler);
    EXPECT_GE(m_host.progress.size(), 8U);
    Clock::duration longestGap{};
    for (std::size_t i = 1; i < m_host.progress.size(); ++i)
        longestGap = std::max(longestGap, m_host.progress[i] - m_host.progress[i - 1]);
    EXPECT_LT(longestGap, std::chrono::milliseconds(100));
    EXPECT_TRUE(m_host.has("Error: The compiler wrote no help file sample.chm"));
}

TEST(ChmReader, RefusesAFileThatIsNoCompiledHelpFile)
{
    test::TempDir dir;
    test::writeFile(dir.file("fake.chm"), "not a help file");
    EXPECT_THROW(ChmReader(dir.file("fake.chm")), IoError);
    EXPECT_THROW(ChmReader(dir.file("none.chm")), IoError);
}

TEST(ChmcmdCompiler, KnowsTheTitlesChmcmdDiesOn)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"Установка программы", "<title>Установка программы</title>Как выполнить установку.", true},
        {"Установка программы", "<title>Установка программы</title>Другой текст.", false},
        {"Program setup", "<title>Program setup</title>Program", false},
        {"Εγκατάσταση", "<title>Εγκατάσταση</title><p>εγκατάσταση</p>", true},
        {"", "<title></title>", false},
    };
    for (const auto& [title, text, crashes] : cases)
        EXPECT_EQ(chmcmdCrashesOnTitle(title, text), crashes) << title;
}

}  // namespace
}  // namespace doxel
