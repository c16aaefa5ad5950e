#include "env/help_hook.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "env/debug_log.h"
#include "env/help_contexts.h"
#include "test_support.h"

namespace doxel {
namespace {

// Records what the hook asks of the viewer and the desktop.
class RecordingPort : public HelpViewerPort {
public:
    bool viewerInstalled = true;
    std::map<std::string, bool> windowsPrograms;
    int startError = 0;

    std::vector<std::string> calls;
    std::vector<std::string> warnings;

    bool installed() const override { return viewerInstalled; }
    void showContext(const std::string& path, int context) override
    {
        calls.push_back("show " + path + " #" + std::to_string(context));
    }
    void closeAll() override { calls.push_back("close all"); }
    bool windowsProgramExists(const std::string& name) const override
    {
        const auto it = windowsPrograms.find(name);
        return it != windowsPrograms.end() && it->second;
    }
    int runWithShell(const std::string& file, const std::string& parameters) override
    {
        calls.push_back("run " + file + " " + parameters);
        return startError;
    }
    void showWarning(const std::string& text) override { warnings.push_back(text); }
    std::string text(int id) const override { return "text " + std::to_string(id); }
};

TEST(HelpHook, ShowContextByModeAndInstallation)
{
    struct Case {
        int mode;
        bool installed;
        bool keyHH;
        bool hh;
        int result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, true, false, false, 0, {"show doxel.chm #1010"}},
        {0, false, true, true, 1, {}},
        {1, false, true, true, 1, {}},
        {2, false, true, true, 1, {}},
        {1, true, false, true, 2, {}},
        {1, true, true, false, 0, {"run KeyHH.EXE -win -#mapid 1010 doxel.chm"}},
        {2, true, true, false, 3, {}},
        {2, true, false, true, 0, {"run HH.EXE -mapid 1010 doxel.chm"}},
        {7, true, false, false, 0, {}},
    };
    for (const Case& c : cases) {
        RecordingPort port;
        port.viewerInstalled = c.installed;
        port.windowsPrograms = {{"KeyHH.EXE", c.keyHH}, {"HH.EXE", c.hh}};
        EXPECT_EQ(showContextTopic(port, "doxel.chm", 1010, c.mode), c.result) << c.mode;
        EXPECT_EQ(port.calls, c.calls) << c.mode;
    }
}

TEST(HelpHook, HelpContextBuildsThePath)
{
    struct Case {
        const char* file;
        const char* window;
        int mode;
        const char* shown;
    };
    const Case cases[] = {
        {"/opt/doxel/doxel.chm", "", 0, "show /opt/doxel/doxel.chm #5"},
        {"  /my%20help/doxel.chm ", "main", 0, "show /my help/doxel.chm>main #5"},
        {"/a.chm", "%20%20", 0, "show /a.chm #5"},
        {"/a.chm", " win ", 2, "run HH.EXE -mapid 5 mk:@MSITStore:/a.chm>win"},
    };
    for (const Case& c : cases) {
        RecordingPort port;
        port.windowsPrograms = {{"HH.EXE", true}};
        EXPECT_EQ(HHHelpContext(port, c.file, 5, c.window, c.mode), 0);
        ASSERT_EQ(port.calls.size(), 1U) << c.file;
        EXPECT_EQ(port.calls[0], c.shown);
    }
}

TEST(HelpHook, ErrorsShowTheirFixedTexts)
{
    const std::pair<int, const char*> cases[] = {
        {1, "text 65316"}, {2, "text 65317"}, {3, "text 65318"}, {4, "text 65319"}, {-1, "text 65319"}};
    for (const auto& [code, text] : cases) {
        RecordingPort port;
        HHShowError(port, code);
        EXPECT_EQ(port.warnings, std::vector<std::string>{text}) << code;
    }
    RecordingPort quiet;
    HHShowError(quiet, 0);
    EXPECT_TRUE(quiet.warnings.empty());
}

TEST(HelpHook, HandlesContextCommandsOnly)
{
    RecordingPort port;
    port.viewerInstalled = false;
    {
        THookHelpSystem hook(port, "/opt/doxel/doxel.chm", "", 0);
        EXPECT_TRUE(hook.HelpHook(HELP_CONTEXT, 1040));
        EXPECT_TRUE(hook.HelpHook(HELP_CONTEXTPOPUP, 1050));
        EXPECT_TRUE(hook.HelpHook(HELP_SETPOPUP_POS, 0));
        EXPECT_FALSE(hook.HelpHook(HELP_FINDER, 0));
        EXPECT_FALSE(hook.HelpHook(HELP_QUIT, 0));
        EXPECT_TRUE(port.calls.empty());
        EXPECT_EQ(port.warnings, (std::vector<std::string>{"text 65316", "text 65316"}));
    }
    EXPECT_EQ(port.calls, std::vector<std::string>{"close all"});

    RecordingPort other;
    {
        THookHelpSystem hook(other, "/a.chm", "", 1);
    }
    EXPECT_TRUE(other.calls.empty()) << "only mode 0 owns the viewer windows";
}

TEST(HelpHook, FailedStartsNameTheCallAndTheSystemError)
{
    RecordingPort port;
    port.startError = ENOENT;
    EXPECT_FALSE(startProgramOrWarn(port, "KeyHH.EXE", "-win -#mapid 3 /a.chm"));
    EXPECT_EQ(port.warnings,
              std::vector<std::string>{"Function ShellExecute(KeyHH.EXE, -win -#mapid 3 /a.chm)\nReturned: "
                                       "[Error:2] text 65320"});
    port.startError = 0;
    EXPECT_TRUE(startProgramOrWarn(port, "HH.EXE", ""));
}

// The fixed texts as the program ships them (ID<TAB>TEXT lines).
std::map<int, std::string> shippedFixedTexts()
{
    std::ifstream in(std::filesystem::path(DOXEL_SOURCE_DIR) / "data" / "strings" / "fixed.txt");
    std::map<int, std::string> texts;
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (!line.empty() && line[0] != '#' && tab != std::string::npos)
            texts[std::stoi(line.substr(0, tab))] = line.substr(tab + 1);
    }
    return texts;
}

TEST(HelpHook, EveryFailedStartReadsAsAShippedText)
{
    const std::map<int, std::string> texts = shippedFixedTexts();
    ASSERT_FALSE(texts.empty());
    for (int error = 0; error < 256; ++error)
        EXPECT_TRUE(texts.contains(shellErrorTextId(error))) << "errno " << error;

    // What the user reads when a program cannot be started.
    struct ShippedTexts : RecordingPort {
        std::map<int, std::string> texts = shippedFixedTexts();
        std::string text(int id) const override { return texts.at(id); }
    };
    const std::pair<int, const char*> cases[] = {
        {ENOENT, "[Error:2] File Not Found"},
        {EACCES, "[Error:13] Access Denied"},
        {ENOSPC, "[Error:28] Disk Full"},
    };
    for (const auto& [error, shown] : cases) {
        ShippedTexts port;
        port.startError = error;
        EXPECT_FALSE(startProgramOrWarn(port, "HH.EXE", "a.chm"));
        ASSERT_EQ(port.warnings.size(), 1U);
        EXPECT_TRUE(port.warnings[0].ends_with(shown)) << port.warnings[0];
    }
}

TEST(HelpHook, WritesItsStepsToTheDiagnosticLog)
{
    test::TempDir dir;
    setDiagnosticLog(DiagnosticLog(dir.path().string(), true, [] { return std::string("T"); }));
    RecordingPort port;
    {
        THookHelpSystem hook(port, "/d.chm", "w", 0);
        hook.HelpHook(HELP_CONTEXT, 1010);
        hook.HelpHook(999, 7);
    }
    setDiagnosticLog({});
    EXPECT_EQ(
        test::readFile(dir.path() / "HHDebug.txt"),
        test::crlf(
            {"THookHelpSystem.Create(\"/d.chm\",\"w\", 0)   T", "THookHelpSystem.HelpHook(1 (HELP_CONTEXT), 1010)   T",
             "HHHelpContext(\"/d.chm\", 1010, \"w\", 0)   T", "ShowContext(\"/d.chm>w\", 0)   T", "  returned - 0   T",
             "THookHelpSystem.HelpHook(999 (?"
             "?), 7)   T",
             "THookHelpSystem.Destroy   T"}));
}

TEST(HelpContexts, EachWindowWithHelpOpensAPageOfItsOwn)
{
    const std::filesystem::path manual = std::filesystem::path(DOXEL_SOURCE_DIR) / "docs" / "manual";
    EXPECT_TRUE(std::filesystem::exists(manual / kWelcomePage));
    std::set<std::string> pages;
    for (const HelpTopic& topic : kHelpTopics) {
        const int context = helpContextOfWindow(topic.windowClass);
        EXPECT_NE(context, 0) << topic.windowClass;
        const std::string page = helpContextPage(context);
        EXPECT_TRUE(std::filesystem::exists(manual / page)) << topic.windowClass << ": " << page;
        EXPECT_NE(page, kWelcomePage) << topic.windowClass;
        EXPECT_TRUE(pages.insert(page).second) << topic.windowClass << " shares " << page;
    }
    // A window without a page of its own still opens the manual.
    EXPECT_EQ(helpContextPage(helpContextOfWindow("TNoSuchWindow")), kWelcomePage);
}

}  // namespace
}  // namespace doxel
