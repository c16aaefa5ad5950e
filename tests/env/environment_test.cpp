#include "env/environment.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "env/debug_log.h"
#include "test_support.h"

namespace doxel {
namespace {

std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line ends with CR LF";
    return lines;
}

TEST(DiagnosticLog, LineRules)
{
    struct Case {
        const char* line;
        std::string expected;
    };
    const Case cases[] = {
        {"-", std::string(79, '-')},
        {"=", std::string(79, '=')},
        {"!_RunDir = x", "_RunDir = x"},
        {"-abc", "abc"},
        {"--", "-"},
        {"=x", "x"},
        {"", "   10:15:02"},
        {"ShowContext(\"a\", 0)", "ShowContext(\"a\", 0)   10:15:02"},
        {" -", " -   10:15:02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(diagnosticLogLine(c.line, "10:15:02"), c.expected) << c.line;
}

TEST(DiagnosticLog, AppendsWholeLinesAndDropsWhatCannotBeWritten)
{
    test::TempDir dir;
    const DiagnosticLog log(dir.path().string(), true, [] { return std::string("T"); });
    log.writef("HHShowError(%d), \"%s\"", 1, "text");
    log.write("-");
    const DiagnosticLog off(dir.path().string(), false);
    off.write("never");
    EXPECT_EQ(test::readFile(log.path()), test::crlf({"HHShowError(1), \"text\"   T", std::string(79, '-')}));

    const DiagnosticLog nowhere((dir.path() / "missing" / "folder").string(), true);
    nowhere.write("dropped");  // no exception, no file
    EXPECT_FALSE(std::filesystem::exists(nowhere.path()));
}

TEST(Environment, DebugFlagFromArgumentsOrMarkerFile)
{
    test::TempDir dir;
    struct Case {
        std::vector<std::string> arguments;
        bool debug;
    };
    const Case cases[] = {
        {{"doxel", "-DEBUG"}, true},
        {{"doxel", "/debug"}, true},
        {{"doxel", "/Debug", "a.dxp"}, true},
        {{"doxel", "--debug"}, false},
        {{"doxel", "debug"}, false},
        {{"doxel", "-debug2"}, false},
        {{"doxel"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(debugFlagFor(dir.path().string(), c.arguments), c.debug) << c.arguments.back();
    test::writeFile(dir.path() / "debug.debug", "");
    EXPECT_TRUE(debugFlagFor(dir.path().string(), {"doxel"}));
}

TEST(Environment, LogFolderIsTheProgramFolderOnlyWhenAFileCanBeCreatedThere)
{
    test::TempDir dir;
    EXPECT_EQ(logFolderFor(dir.path().string(), "/fallback/"), dir.path().string());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "$_Temp_$.$$$"));
    EXPECT_EQ(logFolderFor((dir.path() / "gone").string(), "/fallback/"), "/fallback");
}

TEST(Environment, RunDirOfArgumentZero)
{
    EXPECT_EQ(runDirFor("/usr/bin/doxel"), "/usr/bin");
    EXPECT_EQ(runDirFor("/opt/doxel/./bin/doxel"), "/opt/doxel/bin");
    EXPECT_EQ(runDirFor(""), "");
    const std::string sh = runDirFor("sh");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(sh) / "sh")) << sh;
}

TEST(Environment, LocaleIdentifiers)
{
    struct Case {
        const char* name;
        std::uint16_t lcid;
    };
    const Case cases[] = {
        {"en_US.UTF-8", 0x0409},
        {"en_GB.UTF-8", 0x0809},
        {"de_DE.UTF-8", 0x0407},
        {"de_AT", 0x0C07},
        {"fr_CA.UTF-8", 0x0C0C},
        {"es_ES.UTF-8@euro", 0x0C0A},
        {"ru_RU.UTF-8", 0x0419},
        {"pt_PT", 0x0816},
        {"pt_BR", 0x0416},
        {"it_CH", 0x0410},
        {"C", 0x007F},
        {"POSIX", 0x007F},
        {"C.UTF-8", 0x007F},
        {"", 0x007F},
        {"xx_YY", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(localeIdentifier(c.name), c.lcid) << c.name;
}

class StartupTest : public ::testing::Test {
protected:
    StartupInputs inputs(std::vector<std::string> arguments)
    {
        StartupInputs in;
        in.modulePath = (m_dir.path() / "bin" / "doxel").string();
        std::filesystem::create_directories(m_dir.path() / "bin");
        in.arguments = std::move(arguments);
        in.fallbackLogFolder = (m_dir.path() / "data/").string();
        in.helpViewerVersion = [] { return ComponentVersion{"7.7.0.0", "KchmViewer 7.7"}; };
        in.browserVersion = [] { return ComponentVersion{}; };
        in.locale = [] { return SystemLocale{"de_AT.UTF-8", 0x0C07, ","}; };
        in.now = [] { return std::string("07.12.2026 10:15:02"); };
        return in;
    }
    std::string logFile() const { return (m_dir.path() / "bin" / "HHDebug.txt").string(); }

    test::TempDir m_dir;
};

TEST_F(StartupTest, WithoutTheDebugFlagAnOldLogIsRemovedAndNoneWritten)
{
    std::filesystem::create_directories(m_dir.path() / "bin");
    test::writeFile(logFile(), "old run\r\n");
    const Environment values = startEnvironment(inputs({"/x/doxel", "project.dxp"}));
    EXPECT_FALSE(values.debug);
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    debugLog("nothing %d", 1);
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(StartupTest, WithTheDebugFlagTheRecordComesFirst)
{
    std::filesystem::create_directories(m_dir.path() / "bin");
    test::writeFile(logFile(), "old run\r\n");
    const Environment values = startEnvironment(inputs({"/x/doxel", "-debug"}));
    EXPECT_EQ(values.moduleName, "doxel");
    EXPECT_EQ(values.moduleDir, (m_dir.path() / "bin").string());
    EXPECT_EQ(values.runDir, "/x");
    EXPECT_EQ(values.logFolder, values.moduleDir);
    EXPECT_TRUE(values.hhInstalled);
    EXPECT_FALSE(values.ieInstalled);
    EXPECT_EQ(environment().hhFriendlyVerStr, "KchmViewer 7.7");

    debugLog("after %s", "start");
    const std::vector<std::string> lines = crlfLines(test::readFile(logFile()));
    const std::vector<std::string> expected = {
        "Filename:             \t" + logFile(),
        "Date:                 \t07.12.2026 10:15:02",
        "SysLocale.DefaultLCID: \t0x0C07",
        "SysLocale.PriLangID:   \t0x0007",
        "SysLocale.SubLangID:   \t0x0003",
        "DecimalSeparator:      \t,",
        std::string(79, '-'),
        "EXE Path =          \t/x/doxel",
        "_RunDir =           \t/x",
        "_ModuleName =       \tdoxel",
        "_ModuleDir =        \t" + values.moduleDir,
        std::string(79, '-'),
        "_hhInstalled =      \tYES",
        "_hhVerStr =         \t7.7.0.0",
        "_hhFriendlyVerStr = \tKchmViewer 7.7",
        std::string(79, '-'),
        "_ieInstalled =      \tNO",
        "_ieVerStr =         \t",
        "_ieFriendlyVerStr = \t",
        std::string(79, '='),
    };
    ASSERT_EQ(lines.size(), expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << i;
    EXPECT_TRUE(lines.back().starts_with("after start   ")) << lines.back();
    setDiagnosticLog({});
}

TEST_F(StartupTest, ANameWithoutAVersionCountsAsNotInstalled)
{
    StartupInputs in = inputs({"doxel"});
    in.helpViewerVersion = [] { return ComponentVersion{"", "KchmViewer"}; };
    const Environment values = startEnvironment(in);
    EXPECT_FALSE(values.hhInstalled);
    EXPECT_EQ(values.hhFriendlyVerStr, "");
}

}  // namespace
}  // namespace doxel
