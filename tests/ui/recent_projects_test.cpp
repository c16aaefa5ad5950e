#include "ui/logic/recent_projects.h"

#include <gtest/gtest.h>

#include <set>

namespace doxel {
namespace {

std::string ruf(std::initializer_list<const char*> paths)
{
    std::string text;
    for (const char* path : paths)
        text += std::string(path) + '\a';
    return text;
}

TEST(RecentProjects, AddingFollowsTheListRules)
{
    struct Case {
        const char* name;
        std::string before;
        std::string path;
        std::string after;
    };
    const std::string five = ruf({"/p/a.dxp", "/p/b.dxp", "/p/c.dxp", "/p/d.dxp", "/p/e.dxp"});
    const Case cases[] = {
        {"first entry", "", "/p/a.dxp", ruf({"/p/a.dxp"})},
        {"sorted ignoring case", ruf({"/p/b.dxp", "/p/C.dxp"}), "/p/a.dxp", ruf({"/p/a.dxp", "/p/b.dxp", "/p/C.dxp"})},
        {"two files differing in case", ruf({"/p/book.dxp"}), "/p/Book.dxp", ruf({"/p/Book.dxp", "/p/book.dxp"})},
        {"the same path again", ruf({"/p/Book.dxp"}), "/p/Book.dxp", ruf({"/p/Book.dxp"})},
        {"full list drops the first", five, "/p/f.dxp",
         ruf({"/p/b.dxp", "/p/c.dxp", "/p/d.dxp", "/p/e.dxp", "/p/f.dxp"})},
        {"full list and a known path keeps the list", five, "/p/b.dxp", five},
        {"full list and a path differing in case", five, "/p/B.dxp",
         ruf({"/p/B.dxp", "/p/b.dxp", "/p/c.dxp", "/p/d.dxp", "/p/e.dxp"})},
        {"empty path adds nothing", ruf({"/p/x.dxp"}) + "tail", "", ruf({"/p/x.dxp"}) + "tail"},
        {"text after the last BEL is dropped", ruf({"/p/x.dxp"}) + "/p/tail.dxp", "/p/y.dxp",
         ruf({"/p/x.dxp", "/p/y.dxp"})},
        {"unsorted and doubled values are tidied", ruf({"/p/z.dxp", "/p/a.dxp", "/p/Z.dxp", "/p/z.dxp"}), "/p/m.dxp",
         ruf({"/p/a.dxp", "/p/m.dxp", "/p/Z.dxp", "/p/z.dxp"})},
        {"an overlong value shrinks to five", ruf({"/1", "/2", "/3", "/4", "/5", "/6", "/7"}), "/8",
         ruf({"/4", "/5", "/6", "/7", "/8"})},
        {"empty texts between BELs are no entries", "\a\a" + ruf({"/p/a.dxp"}), "/p/b.dxp",
         ruf({"/p/a.dxp", "/p/b.dxp"})},
        {"Cyrillic letters of either case sort together", ruf({"/p/книга.dxp", "/p/Лес.dxp"}), "/p/Книга.dxp",
         ruf({"/p/Книга.dxp", "/p/книга.dxp", "/p/Лес.dxp"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(addRecentProject(c.before, c.path), c.after) << c.name;
}

TEST(RecentProjects, MenuShowsExistingFilesNumberedInSortedOrder)
{
    const std::set<std::string> existing = {"/p/b&w.dxp", "/p/Alpha.dxp", "/q/zeta.dxp"};
    const auto exists = [&](const std::string& path) { return existing.contains(path); };
    const auto items = recentMenuItems(ruf({"/q/zeta.dxp", "/p/gone.dxp", "/p/b&w.dxp", "/p/Alpha.dxp"}), exists);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].caption, "&1 Alpha.dxp");
    EXPECT_EQ(items[0].path, "/p/Alpha.dxp");
    EXPECT_EQ(items[1].caption, "&2 b&&w.dxp");
    EXPECT_EQ(items[2].caption, "&3 zeta.dxp");
    EXPECT_EQ(items[2].path, "/q/zeta.dxp");
}

TEST(RecentProjects, CompareIgnoringCaseOrdersWholeTexts)
{
    EXPECT_EQ(compareIgnoringCase("ABC", "abc"), 0);
    EXPECT_LT(compareIgnoringCase("ab", "ABC"), 0);
    EXPECT_GT(compareIgnoringCase("b", "A"), 0);
    EXPECT_EQ(compareIgnoringCase("ÄRGER", "ärger"), 0);
    EXPECT_NE(compareIgnoringCase("a\xff", "a\xfe"), 0);
}

}  // namespace
}  // namespace doxel
