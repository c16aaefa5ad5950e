#include <gtest/gtest.h>
#include "compiler/fulltext/fulltext_index.h"
TEST(FullText, Builds) { auto r = doxel::chm::buildFullTextIndex({{0, "T", "<p>Hallo München</p>"}}, {1252, 0x407}); EXPECT_GT(r.data.size(), 0x400u); }
