#include "platform/child_process.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

#include "test_support.h"

namespace doxel {
namespace {

using Clock = std::chrono::steady_clock;

ChildProcessOptions shell(const std::string& script, std::vector<std::string>* lines = nullptr)
{
    ChildProcessOptions options;
    options.arguments = {"sh", "-c", script};
    if (lines != nullptr)
        options.onLine = [lines](const std::string& line) { lines->push_back(line); };
    return options;
}

TEST(ChildProcess, PassesEveryLineOfBothOutputsWithoutLineEnds)
{
    std::vector<std::string> lines;
    const ChildProcessResult result =
        runChildProcess(shell("printf 'one\\r\\ntwo\\n\\nthree'; printf 'err\\n' >&2", &lines));
    EXPECT_EQ(result.ending, ChildProcessResult::Ending::Exited);
    EXPECT_EQ(result.status, 0);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"", "err", "one", "three", "two"}));
}

TEST(ChildProcess, CutsALineThatNeverEnds)
{
    std::vector<std::string> lines;
    runChildProcess(shell("head -c 70000 /dev/zero | tr '\\0' a", &lines));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].size(), 65536U);
    EXPECT_EQ(lines[1].size(), 70000U - 65536U);
}

TEST(ChildProcess, DeliversLinesAsTheyComeAndTicksWhileTheChildIsSilent)
{
    const auto start = Clock::now();
    std::vector<Clock::duration> lineTimes;
    std::vector<Clock::time_point> ticks;
    ChildProcessOptions options = shell("echo first; sleep 0.5; echo second");
    options.onLine = [&](const std::string&) { lineTimes.push_back(Clock::now() - start); };
    options.onTick = [&] { ticks.push_back(Clock::now()); };
    options.tickInterval = std::chrono::milliseconds(50);
    runChildProcess(options);

    ASSERT_EQ(lineTimes.size(), 2U);
    EXPECT_LT(lineTimes[0], lineTimes[1] - std::chrono::milliseconds(300)) << "the first line waited for the second";
    EXPECT_GE(ticks.size(), 5U);
    Clock::duration longestGap{};
    for (std::size_t i = 1; i < ticks.size(); ++i)
        longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
    EXPECT_LT(longestGap, std::chrono::milliseconds(100));
}

TEST(ChildProcess, TellsHowTheChildEnded)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string folder;
        ChildProcessResult::Ending ending;
        int status;
        const char* problem;
    };
    test::TempDir dir;
    test::writeFile(dir.file("not-executable"), "#!/bin/sh\n");
    const Case cases[] = {
        {{"sh", "-c", "exit 217"}, "", ChildProcessResult::Ending::Exited, 217, ""},
        {{"sh", "-c", "kill -9 $$"}, "", ChildProcessResult::Ending::Signalled, 9, ""},
        {{"doxel-no-such-program"},
         "",
         ChildProcessResult::Ending::NotStarted,
         0,
         "doxel-no-such-program was not found"},
        {{dir.file("not-executable")}, "", ChildProcessResult::Ending::NotStarted, 0, "was not found"},
        {{"sh", "-c", "true"},
         dir.file("no-such-folder"),
         ChildProcessResult::Ending::NotStarted,
         0,
         "No such file or directory"},
    };
    for (const Case& c : cases) {
        ChildProcessOptions options;
        options.arguments = c.arguments;
        options.workingFolder = c.folder;
        const ChildProcessResult result = runChildProcess(options);
        EXPECT_EQ(result.ending, c.ending) << c.arguments.back();
        EXPECT_EQ(result.status, c.status) << c.arguments.back();
        EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
    }
}

TEST(ChildProcess, RunsInTheWorkingFolder)
{
    test::TempDir dir;
    std::vector<std::string> lines;
    ChildProcessOptions options = shell("pwd", &lines);
    options.workingFolder = dir.path().string();
    runChildProcess(options);
    EXPECT_EQ(lines, (std::vector<std::string>{std::filesystem::canonical(dir.path()).string()}));
}

TEST(ChildProcess, KillsTheChildWhenACallbackThrows)
{
    const auto start = Clock::now();
    ChildProcessOptions options = shell("echo go; exec sleep 30");
    options.onLine = [](const std::string&) { throw std::runtime_error("stop"); };
    EXPECT_THROW(runChildProcess(options), std::runtime_error);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace doxel
