#include "formats/address.h"

#include <gtest/gtest.h>

namespace doxel {
namespace {

TEST(Address, IsASchemeOfTwoCharactersOrMoreBeforeAColon)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://example.com/a.htm", true},
        {"mailto:ann@example.com", true},
        {"mk:@MSITStore:other.chm::/a.htm", true},
        {"ms-its:other.chm::/a.htm", true},
        {"svn+ssh://host/x", true},
        {"c:\\help\\a.htm", false},  // a drive
        {"pages/a.htm", false},
        {"pages/a:b.htm", false},
        {"1x:y", false},
        {"#top", false},
        {"", false},
        {"http", false},
    };
    for (const auto& [target, address] : cases)
        EXPECT_EQ(isAddress(target), address) << target;
}

}  // namespace
}  // namespace doxel
