#include <gtest/gtest.h>

#include "core/errors.h"
#include "scripted_desktop.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/progress_rules.h"
#include "ui/logic/shell_open.h"

namespace doxel {
namespace {

using test::ScriptedDesktop;

TEST(ErrorBox, AppendsAFullStopAfterCharactersAboveIt)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Disk full", "Disk full."},
        {"Really?", "Really?."},
        {"Stop!", "Stop!"},
        {"Done.", "Done."},
        {"(x)", "(x)"},
        {"Error 42", "Error 42."},
        {"Datei fehlt: Ä", "Datei fehlt: Ä."},
        {"", ""},
        {"a-", "a-"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(errorBoxText(text), expected) << text;
}

TEST(CommandRunner, TellsTheWindowAfterEveryCommandHoweverItEnded)
{
    ScriptedDesktop desktop;
    CommandRunner runner(desktop);
    int after = 0;
    runner.setAfterCommand([&after] { ++after; });
    desktop.answerMessage(MessageAnswer::Ok);
    runner.run([] {});
    runner.run([] { throw IoError("Cannot write /x/a.dxp"); });
    EXPECT_EQ(after, 2);
    EXPECT_TRUE(desktop.finished());
}

TEST(CommandRunner, ShowsErrorsThatEndACommand)
{
    ScriptedDesktop desktop;
    CommandRunner runner(desktop);
    desktop.answerMessage(MessageAnswer::Ok);
    desktop.answerMessage(MessageAnswer::Ok);
    EXPECT_TRUE(runner.run([] {}));
    EXPECT_FALSE(runner.run([] { throw IoError("Cannot write /x/a.dxp: Permission denied"); }));
    EXPECT_FALSE(runner.run([] { throw std::runtime_error("odd"); }));
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, "Cannot write /x/a.dxp: Permission denied.");
    EXPECT_EQ(desktop.messages[0].caption, "HTML Doxel");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(desktop.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(desktop.messages[1].text, "odd.");
    EXPECT_TRUE(desktop.finished());
}

TEST(ProgressWindow, ShowsOnlyAboveTheProgressMinimum)
{
    struct Case {
        const char* minimum;
        int maximum;
        bool shown;
    };
    const Case cases[] = {
        {"40", 40, false}, {"40", 41, true},  {"", 40, false},     {"", 41, true}, {"abc", 40, false},
        {"abc", 41, true}, {"4.5", 41, true}, {"200", 200, false}, {"0", 1, true}, {"0", 0, false},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        settings.write("ProgressMinimum", c.minimum);
        EXPECT_EQ(progressWindowShown(settings, c.maximum), c.shown) << c.minimum << " " << c.maximum;
    }
}

TEST(EventPacer, LetsEventsThroughOncePerInterval)
{
    using namespace std::chrono_literals;
    EventPacer pacer(25ms);
    const auto start = EventPacer::Clock::now();
    EXPECT_FALSE(pacer.due(start));
    EXPECT_TRUE(pacer.due(start + 30ms));
    EXPECT_FALSE(pacer.due(start + 40ms));
    EXPECT_TRUE(pacer.due(start + 56ms));
}

TEST(shellOpen, SplitsParametersWithoutAShell)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a b  c", {"a", "b", "c"}},
        {"\"my file.htm\" -x", {"my file.htm", "-x"}},
        {"say \"a \"\"quoted\"\" word\"", {"say", "a \"quoted\" word"}},
        {"\"\"", {""}},
        {"x;rm -rf ~ $(id) `id`", {"x;rm", "-rf", "~", "$(id)", "`id`"}},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(splitCommandLine(line), expected) << line;
}

TEST(shellOpen, OpensDocumentsAndStartsProgramsWithParameters)
{
    ScriptedDesktop desktop;
    desktop.documentsOpen = false;  // failures stay silent
    shellOpen(desktop, "https://example.org/");
    shellOpen(desktop, "/usr/bin/editor", "\"/p/my page.htm\"", "/p");
    shellOpen(desktop, "");
    ASSERT_EQ(desktop.openedDocuments, std::vector<std::string>{"https://example.org/"});
    ASSERT_EQ(desktop.programs.size(), 1u);
    EXPECT_EQ(desktop.programs[0].program, "/usr/bin/editor");
    EXPECT_EQ(desktop.programs[0].arguments, std::vector<std::string>{"/p/my page.htm"});
    EXPECT_EQ(desktop.programs[0].workingFolder, "/p");
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace doxel
