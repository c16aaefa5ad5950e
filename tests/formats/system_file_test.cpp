#include "formats/system_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

using test::systemFile;
using test::systemRecord;

TEST(HelpSystemFile, ReadsTheNamedFilesTitleAndLanguageAndSurvivesAnyBytes)
{
    const HelpSystemInfo info = readSystemFile(systemFile(0x419, "intro.htm") + systemRecord(0, "g.hhc") +
                                               systemRecord(3, std::string("Guide\0", 6)) + systemRecord(5, "Main"));
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
