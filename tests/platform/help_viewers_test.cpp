#include "platform/help_viewers.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

#include "test_support.h"

namespace doxel {
namespace {

using Clock = std::chrono::steady_clock;

// Starts `sh -c script` as a child, the way the desktop starts a viewer.
HelpViewers::Starter shellViewer(std::string script, std::vector<std::string>* started = nullptr)
{
    return [script = std::move(script), started](const std::string& file, std::string&) -> pid_t {
        if (started != nullptr)
            started->push_back(file);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    };
}

bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0;
}

TEST(HelpViewers, ClosesTheViewersOfOneHelpFileAndThenAll)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.chm"), "a");
    test::writeFile(dir.file("b.chm"), "b");
    HelpViewers viewers(shellViewer("exec sleep 30"));
    ASSERT_TRUE(viewers.open(dir.file("a.chm")));
    ASSERT_TRUE(viewers.open(dir.file("b.chm")));
    ASSERT_TRUE(viewers.open(dir.file("a.chm")));
    const std::vector<pid_t> started = viewers.running();
    ASSERT_EQ(started.size(), 3U);

    viewers.close(dir.path().string() + "/./a.chm");
    EXPECT_EQ(viewers.running(), (std::vector<pid_t>{started[1]}));
    EXPECT_FALSE(isRunning(started[0]));
    EXPECT_FALSE(isRunning(started[2]));

    viewers.closeAll();
    EXPECT_TRUE(viewers.running().empty());
    EXPECT_FALSE(isRunning(started[1]));
}

TEST(HelpViewers, KillsAViewerThatIgnoresTheRequestAfterTheWait)
{
    HelpViewers viewers(shellViewer("trap '' TERM; exec sleep 30"));
    ASSERT_TRUE(viewers.open("/tmp/stubborn.chm"));
    const pid_t pid = viewers.running().at(0);
    ::usleep(100000);  // let the shell set its trap
    const auto start = Clock::now();
    viewers.close("/tmp/stubborn.chm", std::chrono::milliseconds(200));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(isRunning(pid));
}

TEST(HelpViewers, ForgetsViewersThatEndedAndReportsThoseThatCouldNotStart)
{
    HelpViewers viewers(shellViewer("exit 0"));
    ASSERT_TRUE(viewers.open("/tmp/x.chm"));
    for (int i = 0; i < 100 && !viewers.running().empty(); ++i)
        ::usleep(20000);
    EXPECT_TRUE(viewers.running().empty());

    HelpViewers none([](const std::string&, std::string& problem) -> pid_t {
        problem = "No application is set up to open application/vnd.ms-htmlhelp";
        return -1;
    });
    std::string problem;
    EXPECT_FALSE(none.open("/tmp/x.chm", &problem));
    EXPECT_EQ(problem, "No application is set up to open application/vnd.ms-htmlhelp");
    const auto start = Clock::now();
    none.close("/tmp/x.chm");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100)) << "nothing to close, nothing to wait for";
}

TEST(HelpViewers, CollectsAViewerThatEndsWithoutBeingAskedAbout)
{
    // A defunct child still answers kill(pid, 0); only a collected one is
    // gone. Nothing here asks the list about its viewers.
    for (const char* ending : {"exit 0", "kill -9 $$"}) {
        pid_t pid = -1;
        const HelpViewers::Starter start = shellViewer(ending);
        HelpViewers watched([&](const std::string& file, std::string& problem) { return pid = start(file, problem); });
        ASSERT_TRUE(watched.open("/tmp/x.chm"));
        ASSERT_GT(pid, 0);
        bool gone = false;
        for (int i = 0; i < 250 && !gone; ++i) {
            gone = !isRunning(pid);
            if (!gone)
                ::usleep(20000);
        }
        EXPECT_TRUE(gone) << ending << ": the ended viewer stays a defunct child";
    }
}

// The desktop's default application for help files, set up in a private
// XDG environment so that the user's own settings stay untouched.
TEST(HelpViewers, StartsTheDesktopsDefaultViewerForHelpFiles)
{
    test::TempDir dir;
    test::writeFile(dir.file("data/applications/doxel-test-viewer.desktop"),
                    "[Desktop Entry]\nType=Application\nName=Test viewer\n"
                    "Exec=sh -c \"exec sleep 30\" viewer %f\nMimeType=application/vnd.ms-htmlhelp;\n");
    test::writeFile(dir.file("config/mimeapps.list"),
                    "[Default Applications]\napplication/vnd.ms-htmlhelp=doxel-test-viewer.desktop\n");
    test::writeFile(dir.file("guide.chm"), "x");
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    ::setenv("GIO_USE_VFS", "local", 1);

    HelpViewers viewers;
    std::string problem;
    ASSERT_TRUE(viewers.open(dir.file("guide.chm"), &problem)) << problem;
    const std::vector<pid_t> running = viewers.running();
    ASSERT_EQ(running.size(), 1U) << problem;
    const std::string commandLine = test::readFile("/proc/" + std::to_string(running[0]) + "/cmdline");
    EXPECT_NE(commandLine.find("sleep"), std::string::npos) << "not the test's viewer: " << commandLine;
    viewers.close(dir.file("guide.chm"));
    EXPECT_FALSE(isRunning(running[0]));
}

}  // namespace
}  // namespace doxel
