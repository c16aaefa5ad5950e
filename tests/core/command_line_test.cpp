#include "core/command_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace doxel {
namespace {

using Mode = CommandLine::Mode;

TEST(CommandLine, JoinsArgumentsIntoTheProjectToOpen)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string project;
        bool debug;
    };
    const Case cases[] = {
        {{"C:\\My", "Help\\book.dxp"}, "C:\\My Help\\book.dxp", false},
        {{"/home/ann/My", "Help/book.DXP"}, "/home/ann/My Help/book.DXP", false},
        {{"notes.txt"}, "", false},
        {{"a.dxp.txt"}, "a.dxp.txt", false},
        {{"/debug", "x.dxp"}, "x.dxp", true},
        {{"x.dxp", "-DEBUG"}, "x.dxp", true},
        {{"x.dxp", "", "ignored"}, "x.dxp", false},
        {{}, "", false},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.mode, Mode::Window);
        EXPECT_EQ(line.projectFile, c.project);
        EXPECT_EQ(line.debug, c.debug);
    }
}

TEST(CommandLine, RecognisesTheJobsWithoutAWindow)
{
    EXPECT_EQ(parseCommandLine({"--export", "a b.dxp"}).projectFile, "a b.dxp");
    EXPECT_EQ(parseCommandLine({"--compile", "a.dxp"}).mode, Mode::Compile);
    EXPECT_EQ(parseCommandLine({"--help"}).mode, Mode::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).mode, Mode::Version);
    EXPECT_EQ(parseCommandLine({"--export"}).mode, Mode::Invalid);
    EXPECT_EQ(parseCommandLine({"--export", "a.dxp", "b.dxp"}).mode, Mode::Invalid);
    EXPECT_EQ(parseCommandLine({"--help-ids", "a.dxp"}).mode, Mode::HelpIds);
    EXPECT_EQ(parseCommandLine({"--help-ids", "a.dxp"}).projectFile, "a.dxp");
    EXPECT_EQ(parseCommandLine({"--help-ids"}).mode, Mode::Invalid);
    EXPECT_EQ(parseCommandLine({"--frobnicate"}).mode, Mode::Invalid);
    const CommandLine replace = parseCommandLine({"--replace", "--no-backup", "a.dxp", "b", "c.htm"});
    EXPECT_EQ(replace.mode, Mode::Replace);
    EXPECT_EQ(replace.projectFile, "") << "a tool's arguments name no project";
    EXPECT_EQ(replace.toolArguments, (std::vector<std::string>{"--no-backup", "a.dxp", "b", "c.htm"}));
    EXPECT_EQ(parseCommandLine({"--txt-to-html"}).mode, Mode::TxtToHtml);
    const CommandLine import = parseCommandLine({"--import", "old help.hhp", "new.dxp"});
    EXPECT_EQ(import.mode, Mode::Import);
    EXPECT_EQ(import.source, "old help.hhp");
    EXPECT_EQ(import.projectFile, "new.dxp");
    EXPECT_EQ(parseCommandLine({"--import", "a.chm"}).projectFile, "");
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--import"}, {"--import", ""}, {"--import", "a", "b", "c"}})
        EXPECT_EQ(parseCommandLine(bad).mode, Mode::Invalid);
}

TEST(CommandLine, ChoosesTheCompilerOfACompile)
{
    const std::tuple<std::vector<std::string>, Mode, std::string> cases[] = {
        {{"--compile", "a.dxp"}, Mode::Compile, ""},
        {{"--compile", "doc.hhp", "--compiler", "chmcmd"}, Mode::Compile, "chmcmd"},
        {{"--compile", "a.dxp", "--compiler", "doxel"}, Mode::Compile, "doxel"},
        {{"--compile", "a.dxp", "--compiler", "hhc"}, Mode::Invalid, "hhc"},
        {{"--compile", "a.dxp", "--compiler"}, Mode::Invalid, ""},
        {{"--compile", "", "--compiler", "doxel"}, Mode::Invalid, "doxel"},
    };
    for (const auto& [arguments, mode, compiler] : cases) {
        const CommandLine line = parseCommandLine(arguments);
        EXPECT_EQ(line.mode, mode) << arguments.size();
        if (mode == Mode::Compile) {
            EXPECT_EQ(line.compiler, compiler);
        }
    }
}

}  // namespace
}  // namespace doxel
