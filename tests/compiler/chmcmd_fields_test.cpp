// The fields chmls prints of our help file and of chmcmd's for the same
// project, where they should agree.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "compiler/help_compiler.h"
#include "test_support.h"

namespace doxel::chm {
namespace {

namespace fs = std::filesystem;

bool have(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

std::string run(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    // chmls prints the strings with their terminating zero.
    for (char& c : out) {
        if (c == '\0')
            c = ' ';
    }
    return out;
}

// The lines of `text` that start with one of `labels`, by label, value
// trimmed; "(index value = N)" left out, since #STRINGS is laid out freely.
std::map<std::string, std::string> fields(const std::string& text, const std::vector<std::string>& labels)
{
    std::map<std::string, std::string> found;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        for (const std::string& label : labels) {
            if (!line.starts_with(label) || found.contains(label))
                continue;
            std::string value = line.substr(line.find(':') + 1);
            if (const std::size_t index = value.find(" (index value"); index != std::string::npos)
                value.erase(index);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\r'))
                value.pop_back();
            found[label] = value;
        }
    }
    return found;
}

TEST(ChmcmdFields, SystemWindowTopicAndIndexHeaderFieldsAgree)
{
    if (!have("chmcmd") || !have("chmls"))
        GTEST_SKIP() << "chmcmd and chmls (fp-utils) are not installed";
    test::TempDir dir;
    const fs::path folder = dir.path();
    fs::copy(fs::path(DOXEL_SOURCE_DIR) / "examples/sample", folder, fs::copy_options::recursive);
    const auto project = [&](const std::string& name) {
        return test::crlf(
            {"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=" + name + ".chm", "Contents file=t.hhc",
             "Index file=t.hhk", "Default Window=Main", "Default topic=welcome.htm", "Display compile progress=No",
             "Full-text search=Yes", "Language=0x409 English (United States)", "Title=Tidewater Guide", "", "[WINDOWS]",
             "Main=\"Tidewater Guide\",\"t.hhc\",\"t.hhk\",\"welcome.htm\",\"welcome.htm\",,,,,0x2520,250,"
             "0x387e,[80,70,730,500],,,,,,,0",
             "", "[FILES]", "welcome.htm", "faq.htm", "pages/tour.htm"});
    };
    test::writeFile(folder / "ours.hhp", project("ours"));
    test::writeFile(folder / "theirs.hhp", project("theirs"));
    const std::string item = "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"";
    // The contents' own properties go into #IDXHDR.
    test::writeFile(folder / "t.hhc",
                    "<HTML><BODY><OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
                    "value=\"0x800025\"><param name=\"ExWindow Styles\" value=\"0x100\"><param name=\"ImageType\" "
                    "value=\"Folder\"></OBJECT><UL>\r\n" +
                        item + "Welcome\"><param name=\"Local\" value=\"welcome.htm\"></OBJECT>\r\n" + item +
                        "Tour\"><param name=\"Local\" value=\"pages/tour.htm\"></OBJECT>\r\n</UL></BODY></HTML>\r\n");
    test::writeFile(folder / "t.hhk",
                    "<HTML><BODY><UL>\r\n" + item +
                        "tour\"><param name=\"Local\" value=\"pages/tour.htm\"></OBJECT>\r\n</UL></BODY></HTML>\r\n");
    ASSERT_TRUE(compileHelpProject((folder / "ours.hhp").string(), {}));
    ASSERT_EQ(std::system(("cd '" + folder.string() + "' && chmcmd theirs.hhp > /dev/null 2>&1").c_str()), 0);

    const std::vector<std::pair<std::string, std::vector<std::string>>> commands = {
        {"printsystem",
         {" LCID from HHP file", " One if DBCS in use", "(2)  Default topic", "(3)  Title", "(0)  Contents file",
          "(1)  Index file", "(5)  Default Window", "Identifier tag", "Always 1"}},
        {"printwindows",
         {"Entries in #Windows", "Structure size", "08 WindowType", "10 A bit field of navigation pane styles",
          "14 Title Bar Text", "18 Style Flags", "20 Initial position", "4C Width of the navigation pane",
          "60 TOC File", "64 Index File", "68 Default File", "6C File when Home button"}},
        {"printidxhdr",
         {"Identifier tag", "Always 1", "Imagelist param", "imagetype param", "Background value", "Windows Styles",
          "ExWindows Styles"}},
    };
    for (const auto& [command, labels] : commands) {
        const auto ours = fields(run("chmls " + command + " '" + (folder / "ours.chm").string() + "' 2>&1"), labels);
        const auto theirs =
            fields(run("chmls " + command + " '" + (folder / "theirs.chm").string() + "' 2>&1"), labels);
        EXPECT_EQ(ours.size(), labels.size()) << command;
        EXPECT_EQ(ours, theirs) << command;
    }
    // The pages' topics: the same pages with the same titles and flags
    // (compared as sets, since the order is free; chmcmd keeps the entity in
    // "B&uuml;sum", which we store as the letter).
    const auto topics = [&](const std::string& file) {
        std::set<std::string> rows;
        const std::string text = run("chmls printtopics '" + (folder / file).string() + "' 2>&1");
        std::string name;
        std::string value;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            start = end + 1;
            if (line.starts_with(" Tag name    :"))
                name = line.substr(14, line.rfind('(') - 14);
            else if (line.starts_with(" Tag value   :"))
                value = line.substr(14, line.rfind('(') - 14);
            else if (line.starts_with(" contents val:") && value.find(".htm") != std::string::npos &&
                     value.find("busum") == std::string::npos)
                rows.insert(name + " -> " + value + " " + line.substr(14, line.find('(') - 14));
        }
        return rows;
    };
    // chmcmd adds a topic for each keyword of its binary index, which we do
    // not write.
    std::set<std::string> theirs = topics("theirs.chm");
    EXPECT_EQ(theirs.erase("tour -> pages/tour.htm 6"), 1u);
    EXPECT_EQ(topics("ours.chm"), theirs);
}

}  // namespace
}  // namespace doxel::chm
