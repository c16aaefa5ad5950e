#include "formats/system_file.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

std::string record(std::uint16_t code, std::string_view data)
{
    std::string out;
    out += static_cast<char>(code & 0xFF);
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(data.size() & 0xFF);
    out += static_cast<char>(data.size() >> 8);
    out += data;
    return out;
}

std::string systemFile(std::uint32_t languageId, const std::string& defaultTopic)
{
    std::string language(36, '\0');
    for (int i = 0; i < 4; ++i)
        language[static_cast<std::size_t>(i)] = static_cast<char>((languageId >> (8 * i)) & 0xFF);
    return std::string("\x03\0\0\0", 4) + record(9, std::string("HHA Version 4.74.8702\0", 22)) + record(4, language) +
           record(2, defaultTopic + '\0');
}

TEST(HelpSystemFile, ReadsTheNamedFilesTitleAndLanguageAndSurvivesAnyBytes)
{
    const HelpSystemInfo info = readSystemFile(systemFile(0x419, "intro.htm") + record(0, "g.hhc") +
                                               record(3, std::string("Guide\0", 6)) + record(5, "Main"));
    EXPECT_EQ(info.languageId, 0x419u);
    EXPECT_EQ(info.defaultTopic, "intro.htm");
    EXPECT_EQ(info.contentsFile, "g.hhc");
    EXPECT_EQ(info.title, "Guide");
    EXPECT_EQ(info.defaultWindow, "Main");
    EXPECT_TRUE(info.indexFile.empty());

    const std::string whole = systemFile(0x407, "a.htm");
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        readSystemFile(std::string_view(whole).substr(0, cut));  // cut short anywhere: no crash
    EXPECT_EQ(readSystemFile(whole.substr(0, whole.size() - 3)).defaultTopic, "");
    EXPECT_EQ(readSystemFile(whole.substr(0, whole.size() - 3)).languageId, 0x407u);
}

}  // namespace
}  // namespace doxel
