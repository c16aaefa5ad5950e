#include "editing/moves.h"

#include <gtest/gtest.h>

#include "editing_fixture.h"

namespace doxel {
namespace {

using test::EditorRig;

enum class Gesture { Up, Down, Left, Right, Drop, DropNowhere };

struct MoveCase {
    const char* name;
    const char* tree;
    const char* selected;  // null: nothing selected
    Gesture gesture;
    const char* target;  // for drops
    bool asChild;
    const char* expected;  // with icon numbers where they matter
    bool modified;
};

void run(EditorRig& rig, const MoveCase& c)
{
    switch (c.gesture) {
    case Gesture::Up:
        rig.editor.moveSelected(MoveDirection::Up);
        break;
    case Gesture::Down:
        rig.editor.moveSelected(MoveDirection::Down);
        break;
    case Gesture::Left:
        rig.editor.moveSelected(MoveDirection::Left);
        break;
    case Gesture::Right:
        rig.editor.moveSelected(MoveDirection::Right);
        break;
    case Gesture::Drop:
        rig.editor.startDrag(rig.entry(c.selected));
        rig.editor.dropOn(&rig.entry(c.target));
        rig.editor.endDrag();
        break;
    case Gesture::DropNowhere:
        rig.editor.startDrag(rig.entry(c.selected));
        rig.editor.dropOn(nullptr);
        rig.editor.endDrag();
        break;
    }
}

TEST(Moves, FollowTheVisibleOrder)
{
    const MoveCase cases[] = {
        {"up past a collapsed sibling", "T+(A(A1 A2) B)", "B", Gesture::Up, nullptr, false, "T+(B A(A1 A2))", true},
        {"up from a first child leaves the parent", "T+(A+(A1 A2) B)", "A1", Gesture::Up, nullptr, false,
         "T+(A1 A+(A2) B)", true},
        {"up into an expanded sibling", "T+(A+(A1) B)", "B", Gesture::Up, nullptr, false, "T+(A+(B A1))", true},
        {"up below the title entry moves nothing", "T+(A B)", "A", Gesture::Up, nullptr, false, "T+(A B)", true},
        {"up collapses the moved subtree first", "T+(A B+:1(B1+:3(B11)))", "B", Gesture::Up, nullptr, false,
         "T+:42(B:0(B1:2(B11:10)) A:10)", true},
        {"down past the next sibling", "T+(A B C)", "A", Gesture::Down, nullptr, false, "T+(B A C)", true},
        {"down from a last child leaves the parent", "T+(A+(A1 A2) B)", "A2", Gesture::Down, nullptr, false,
         "T+(A+(A1) B A2)", true},
        {"down never enters a subtree", "T+(A B+(B1))", "A", Gesture::Down, nullptr, false, "T+(B+(B1) A)", true},
        {"down from the last entry moves nothing", "T+(A B)", "B", Gesture::Down, nullptr, false, "T+(A B)", true},
        {"left goes after the parent", "T+(A+(A1 A2) B)", "A1", Gesture::Left, nullptr, false, "T+(A+(A2) A1 B)", true},
        {"left empties and closes the parent", "T+(A+:1(A1))", "A1", Gesture::Left, nullptr, false, "T+:42(A:0 A1:10)",
         true},
        {"left below the title entry moves nothing", "T+(A B)", "A", Gesture::Left, nullptr, false, "T+(A B)", true},
        {"right under the previous sibling", "T+(A B)", "B", Gesture::Right, nullptr, false, "T+(A+(B))", true},
        {"right into an expanded sibling's last entry", "T+(A+(A1:2) B)", "B", Gesture::Right, nullptr, false,
         "T+:42(A+:10(A1+:3(B:10)))", true},
        {"right from a first child moves nothing", "T+(A+(B A1))", "B", Gesture::Right, nullptr, false, "T+(A+(B A1))",
         true},
        {"right of a level-0 entry goes below the title", "T(A) X", "X", Gesture::Right, nullptr, false, "T+(A X)",
         true},
        {"up of a level-0 entry below a collapsed title moves nothing", "T(A) X", "X", Gesture::Up, nullptr, false,
         "T(A) X", true},
        {"the title entry never moves up", "T+(A)", "T", Gesture::Up, nullptr, false, "T+(A)", false},
        {"the title entry never moves down", "T+(A) X", "T", Gesture::Down, nullptr, false, "T+(A) X", false},
        {"left on the title entry still marks the project", "T+(A)", "T", Gesture::Left, nullptr, false, "T+(A)", true},
        {"right with nothing selected still marks the project", "T+(A)", nullptr, Gesture::Right, nullptr, false,
         "T+(A)", true},
        {"up with nothing selected leaves the flag", "T+(A)", nullptr, Gesture::Up, nullptr, false, "T+(A)", false},
        {"drop with the toggle on: first child", "T+(A B(B1))", "A", Gesture::Drop, "B", true, "T+(B+(A B1))", true},
        {"drop with the toggle off: directly after", "T+(A B C)", "A", Gesture::Drop, "B", false, "T+(B A C)", true},
        {"drop onto an own child moves nothing", "T+(A+(A1) B)", "A", Gesture::Drop, "A1", false, "T+(A+(A1) B)", true},
        {"drop onto itself moves nothing", "T+(A B)", "A", Gesture::Drop, "A", true, "T+(A B)", true},
        {"drop onto the title entry: level 0 after it", "T+(A+(A1) B)", "A1", Gesture::Drop, "T", false, "T+(A B) A1",
         true},
        {"drop on empty space moves nothing", "T+(A B)", "A", Gesture::DropNowhere, nullptr, false, "T+(A B)", true},
        {"the title entry cannot be dropped elsewhere", "T+(A) X", "T", Gesture::Drop, "X", false, "T+(A) X", false},
        {"drop closes the dragged subtree", "T+(A+:1(A1) B)", "A", Gesture::Drop, "B", false, "T+:42(B:10 A:0(A1:10))",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorRig rig(c.tree);
        rig.editor.select(c.selected != nullptr ? &rig.entry(c.selected) : nullptr);
        rig.editor.setInsertAsChild(c.asChild);
        run(rig, c);
        const bool withIcons = std::string_view(c.expected).find(':') != std::string_view::npos;
        EXPECT_EQ(test::treeText(rig.project, withIcons), c.expected);
        EXPECT_EQ(rig.project.modified, c.modified);
        EXPECT_EQ(rig.view.check(), "");
        if (c.selected != nullptr) {
            EXPECT_EQ(rig.editor.selected(), &rig.entry(c.selected)) << "the moved entry stays selected";
        }
    }
}

TEST(Moves, UpIntoASubtreeThenRightFindsTheParent)
{
    EditorRig rig("T+(A+(A1) B)");
    rig.select("B");
    rig.editor.moveSelected(MoveDirection::Up);
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(B A1))");
    rig.editor.moveSelected(MoveDirection::Right);
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(B A1))");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(Moves, AMoveDoesNotRunTheSelectionFeedback)
{
    EditorRig rig("T+(A:5 B:6)");
    rig.select("B");
    rig.view.events.clear();
    rig.view.status = "untouched";
    rig.editor.moveSelected(MoveDirection::Up);
    EXPECT_EQ(rig.view.status, "untouched");
    EXPECT_TRUE(rig.view.events.empty());
}

TEST(Moves, WorkOnATreeTooDeepForRecursion)
{
    Project project;
    ContentsEntry* deepest = &project.titleEntry();
    for (int i = 0; i < 200000; ++i) {
        deepest->expanded = true;
        deepest = deepest->appendChild(std::make_unique<ContentsEntry>("e" + std::to_string(i), 0));
    }
    project.projectFile = "/help/p.dxp";
    MemorySettingsStore settings;
    test::ScriptedDesktop desktop;
    NullProgress progress;
    ContentsEditor editor(project, settings, desktop, progress);

    editor.select(deepest);
    editor.moveSelected(MoveDirection::Left);
    EXPECT_EQ(deepest->parent()->caption, "e199997");
    editor.collapseAll();
    EXPECT_EQ(editor.selected(), &project.titleEntry());
    editor.expandAll();
    editor.sortAlphabetically();
    editor.select(project.titleEntry().child(0));
    desktop.answers = {true};
    editor.deleteSelected();
    EXPECT_EQ(project.entryCount(), 1u);
}

TEST(VisibleOrder, SkipsCollapsedSubtreesAndStopsAtTheRoot)
{
    Project project;
    test::buildTree(project, "T+(A+(A1 A2+(X)) B(B1)) Z");
    EntryRows rows;
    const auto previous = [&](const char* name) {
        const ContentsEntry* found = previousVisible(test::entryNamed(project, name), rows);
        return found == nullptr ? std::string("-") : found->caption;
    };
    const auto next = [&](const char* name) {
        const ContentsEntry* found = nextVisibleAfter(test::entryNamed(project, name), rows);
        return found == nullptr ? std::string("-") : found->caption;
    };
    EXPECT_EQ(previous("T"), "-");
    EXPECT_EQ(previous("A"), "T");
    EXPECT_EQ(previous("B"), "X");
    EXPECT_EQ(previous("Z"), "B");
    EXPECT_EQ(previous("B1"), "B");
    EXPECT_EQ(next("X"), "B");
    EXPECT_EQ(next("A"), "B");
    EXPECT_EQ(next("B"), "Z");
    EXPECT_EQ(next("Z"), "-");
}

}  // namespace
}  // namespace doxel
