#include "core/help_ids.h"

#include <gtest/gtest.h>

#include <vector>

namespace doxel {
namespace {

TEST(HelpIds, NamesAreCIdentifiers)
{
    for (const char* good : {"IDH_PRINT", "_x", "a1", "IDH_2"})
        EXPECT_TRUE(isHelpIdName(good)) << good;
    for (const char* bad : {"", "1IDH", "IDH-PRINT", "IDH PRINT", "IDH\xc3\xa4"})
        EXPECT_FALSE(isHelpIdName(bad)) << bad;
}

TEST(HelpIds, NumbersAreDecimalOrHexWithinRange)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"1001", 1001},
        {"0x3E9", 1001},
        {"0X3e9", 1001},
        {"2147483647", 0x7fffffff},
        {"2147483648", 0},
        {"0", 0},
        {"-5", 0},
        {"12a", 0},
        {"0x", 0},
        {"", 0},
        {"99999999999999999999", 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(helpIdNumber(text), number) << text;
}

TEST(HelpIds, ProposesTheNextFreeNumber)
{
    EXPECT_EQ(nextFreeHelpIdNumber({}), 1000u);
    const std::vector<HelpId> some{{"A", 1001, "/a"}, {"B", 7, "/b"}};
    EXPECT_EQ(nextFreeHelpIdNumber(some), 1002u);
    const std::vector<HelpId> full{{"A", 1, "/a"}, {"B", kMaxHelpIdNumber, "/b"}, {"C", 2, "/c"}};
    EXPECT_EQ(nextFreeHelpIdNumber(full), 3u);
}

}  // namespace
}  // namespace doxel
