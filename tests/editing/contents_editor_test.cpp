#include "editing/contents_editor.h"

#include <functional>
#include <gtest/gtest.h>

#include "editing_fixture.h"

namespace doxel {
namespace {

using test::EditorRig;

TEST(AddHeader, FollowsThePlacementRule)
{
    struct Case {
        const char* tree;
        const char* selected;
        bool asChild;
        const char* expected;
    };
    const Case cases[] = {
        {"T+(A B)", "A", false, "T+(A B New header)"},   // the end of A's level, not after A
        {"T+(A B)", "T", false, "T+(A B New header)"},   // the title entry takes it as a child
        {"T+(A B)", "A", true, "T+(A+(New header) B)"},  // as A's last child, shown
        {"T+(A+(A1 A2) B)", "A1", false, "T+(A+(A1 A2 New header) B)"},
        {"T(A) X", "X", false, "T+(A) X New header"},  // a level-0 entry's level is level 0
        {"T", "T", false, "T+(New header)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree + std::string(" / ") + c.selected);
        EditorRig rig(c.tree);
        rig.select(c.selected);
        rig.editor.setInsertAsChild(c.asChild);
        rig.editor.addHeader();
        EXPECT_EQ(test::treeText(rig.project), c.expected);
        ContentsEntry& added = rig.entry("New header");
        EXPECT_EQ(rig.editor.selected(), &added);
        EXPECT_EQ(rig.view.events.back(), "edit New header");
        EXPECT_EQ(added.iconNumber, 1);
        EXPECT_TRUE(added.isHeader());
        EXPECT_TRUE(rig.project.modified);
        EXPECT_EQ(rig.view.chooserRow, 1);
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(AddHeader, TakesItsIconFromDefaultIcon2)
{
    const std::pair<const char*, int> cases[] = {{"5", 5},   {"0", 0},  {"41", 41}, {"", 1},
                                                 {"abc", 1}, {"42", 1}, {"-3", 1}};
    for (const auto& [setting, icon] : cases) {
        EditorRig rig("T+(A)");
        rig.settings.write("DefaultIcon2", setting);
        rig.editor.addHeader();
        EXPECT_EQ(rig.entry("New header").iconNumber, icon) << setting;
    }
}

TEST(AddHeader, NeedsASavedProjectAndASelection)
{
    EditorRig cancelled("T+(A)");
    cancelled.project.projectFile.clear();
    cancelled.editor.addHeader();
    EXPECT_EQ(cancelled.desktop.shown, (std::vector<std::string>{"message 92/0", "save as"}));
    EXPECT_EQ(test::treeText(cancelled.project), "T+(A)");
    EXPECT_FALSE(cancelled.project.modified);

    EditorRig saved("T+(A)");
    saved.project.projectFile.clear();
    saved.desktop.saveAsFile = "/help/new.dxp";
    saved.editor.addHeader();
    EXPECT_EQ(test::treeText(saved.project), "T+(A New header)");

    EditorRig unselected("T+(A)");
    unselected.editor.select(nullptr);
    unselected.editor.addHeader();
    EXPECT_EQ(unselected.desktop.beeps, 1);
    EXPECT_EQ(test::treeText(unselected.project), "T+(A)");
    EXPECT_FALSE(unselected.project.modified);
}

TEST(Delete, RemovesTheSubtreeAndSelectsANeighbour)
{
    struct Case {
        const char* tree;
        const char* selected;
        std::vector<bool> answers;
        const char* expected;
        const char* selectedAfter;
        bool asked;
        bool modified;
    };
    const Case cases[] = {
        {"T+(A B C)", "B", {}, "T+(A C)", "C", false, true},
        {"T+(A B C)", "C", {}, "T+(A B)", "B", false, true},
        {"T+(A+:1(A1) B)", "A1", {}, "T+:42(A:0 B:10)", "A", false, true},  // the parent closes
        {"T+(A(A1) B)", "A", {true}, "T+(B)", "B", true, true},
        {"T+(A(A1) B)", "A", {false}, "T+(A(A1) B)", "A", true, false},
        {"T+(A B)", "T", {}, "T+(A B)", "T", false, false},  // never the title entry
        {"T+(A) X", "X", {}, "T+(A)", "T", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree + std::string(" / ") + c.selected);
        EditorRig rig(c.tree);
        rig.select(c.selected);
        rig.desktop.answers.assign(c.answers.begin(), c.answers.end());
        rig.editor.keyDown(TreeKey::Delete);
        const bool withIcons = std::string_view(c.expected).find(':') != std::string_view::npos;
        EXPECT_EQ(test::treeText(rig.project, withIcons), c.expected);
        EXPECT_EQ(rig.editor.selected(), &rig.entry(c.selectedAfter));
        EXPECT_EQ(!rig.desktop.shown.empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(rig.desktop.shown[0], "question 97/98");
        }
        EXPECT_EQ(rig.project.modified, c.modified);
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(Delete, DoesNothingWhileACaptionIsEdited)
{
    EditorRig rig("T+(A B)");
    rig.select("A");
    rig.editor.captionEditStarted(rig.entry("A"));
    rig.project.modified = false;
    rig.editor.deleteSelected();
    EXPECT_EQ(test::treeText(rig.project), "T+(A B)");
    rig.editor.captionEditEnded();
    rig.editor.deleteSelected();
    EXPECT_EQ(test::treeText(rig.project), "T+(B)");
}

TEST(Delete, KeepsKeywordsAndFileRows)
{
    EditorRig rig("T+(A)");
    rig.entry("A").topicFile = "/help/a.htm";
    rig.project.fileList.add("/help/a.htm");
    rig.project.keywords.push_back({"k", "/help/a.htm"});
    rig.select("A");
    rig.editor.deleteSelected();
    EXPECT_EQ(rig.project.fileList.size(), 1u);
    EXPECT_EQ(rig.project.keywords.size(), 1u);
}

TEST(IconPairs, FollowExpandingAndCollapsing)
{
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {2, 3}, {3, 3}, {4, 5},
                                         {6, 7}, {7, 7}, {8, 8}, {9, 9}, {41, 41}};
    for (const auto& [closed, open] : cases) {
        SCOPED_TRACE(closed);
        EditorRig rig("T+(A:" + std::to_string(closed) + "(A1:2) B:2)");
        ContentsEntry& a = rig.entry("A");
        rig.editor.entryExpanding(a);
        EXPECT_EQ(a.iconNumber, open);
        EXPECT_TRUE(a.expanded);
        rig.editor.entryCollapsing(a);
        EXPECT_EQ(a.iconNumber, collapsedIconNumber(closed));
        rig.editor.entryExpanding(rig.entry("B"));  // no children: nothing to open
        EXPECT_EQ(rig.entry("B").iconNumber, 2);
        EXPECT_EQ(rig.entry("A1").iconNumber, 2);
        EXPECT_FALSE(rig.project.modified);
    }
}

TEST(IconPairs, ExpandAllAndCollapseAllReachEveryDepth)
{
    EditorRig rig("T(A:0(A1:2(A11:4)) B:4 C:9(C1:6(C11)))");
    rig.select("A11");
    rig.editor.expandAll();
    EXPECT_EQ(test::treeText(rig.project, true), "T+:42(A+:1(A1+:3(A11:4)) B:4 C+:9(C1+:7(C11:10)))");
    rig.editor.collapseAll();
    EXPECT_EQ(test::treeText(rig.project, true), "T:42(A:0(A1:2(A11:4)) B:4 C:9(C1:6(C11:10)))");
    EXPECT_EQ(rig.editor.selected(), &rig.entry("T")) << "the hidden selection moves up to level 0";
    EXPECT_FALSE(rig.project.modified);
    EXPECT_EQ(rig.view.check(), "");
}

TEST(IconPairs, EnterTogglesAndCollapsingMovesAHiddenSelection)
{
    EditorRig rig("T+(A:2(A1:0(A11)))");
    rig.select("A");
    rig.editor.keyDown(TreeKey::Enter);
    EXPECT_EQ(test::treeText(rig.project, true), "T+:42(A+:3(A1:0(A11:10)))");
    EXPECT_EQ(rig.view.events.back(), "expanded A");
    rig.select("A1");
    rig.editor.keyDown(TreeKey::Enter);
    rig.select("A11");
    rig.editor.entryCollapsing(rig.entry("A"));
    EXPECT_EQ(rig.editor.selected(), &rig.entry("A"));
    EXPECT_EQ(test::treeText(rig.project, true), "T+:42(A:2(A1+:1(A11:10)))");
}

TEST(AssignIcon, ReachesHeadersOrTopicsOfTheTreeOrTheLevel)
{
    struct Case {
        IconTarget target;
        const char* selected;
        const char* expected;
        bool modified = true;
    };
    // A topic file plays no part: an entry with children counts as a header.
    const char* tree = "T+(H(H1 H2(X)) E P) Z";
    const Case cases[] = {
        {IconTarget::AllHeaders, "P", "T+:42(H:4(H1:10 H2:4(X:10)) E:10 P:10) Z:10"},
        {IconTarget::AllTopics, "P", "T+:42(H:10(H1:4 H2:10(X:4)) E:4 P:4) Z:4"},
        {IconTarget::HeadersOfLevel, "H1", "T+:42(H:10(H1:10 H2:4(X:10)) E:10 P:10) Z:10"},
        {IconTarget::TopicsOfLevel, "H1", "T+:42(H:10(H1:4 H2:10(X:10)) E:10 P:10) Z:10"},
        {IconTarget::TopicsOfLevel, "T", "T+:42(H:10(H1:10 H2:10(X:10)) E:4 P:4) Z:10"},
        {IconTarget::HeadersOfLevel, "Z", "T+:42(H:10(H1:10 H2:10(X:10)) E:10 P:10) Z:10", false},  // no level
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EditorRig rig(tree);
        rig.select(c.selected);
        rig.editor.assignIcon(c.target, 4);
        EXPECT_EQ(test::treeText(rig.project, true), c.expected);
        EXPECT_EQ(rig.project.modified, c.modified);
    }
}

TEST(AssignIcon, UsesTheChooserAndReportsProgressOverAllEntries)
{
    EditorRig rig("T+(A:6(B) C)");
    rig.select("A");
    EXPECT_EQ(rig.editor.chooserRow(), 6);
    rig.editor.assignIcon(IconTarget::AllTopics);
    EXPECT_EQ(test::treeText(rig.project, true), "T+:42(A:6(B:6) C:6)");
    EXPECT_EQ(rig.progress.log, (std::vector<std::string>{"start 3", "step 1", "step 2", "step 3", "end"}));

    rig.select("T");  // the chooser is cleared: no row, nothing to give
    rig.editor.assignIcon(IconTarget::AllHeaders);
    EXPECT_EQ(rig.entry("A").iconNumber, 6);
}

TEST(Sorting, PutsEveryLevelInWordOrderBelowTheTitle)
{
    EditorRig rig("T+(b B(z y) a) Q c");
    rig.editor.sortAlphabetically();
    EXPECT_EQ(test::treeText(rig.project), "T+(a b B(y z)) c Q");
    EXPECT_EQ(rig.editor.sortMode(), SortMode::Alphabetical);
    EXPECT_TRUE(rig.project.modified) << "the sorted order is what gets saved";
    EXPECT_EQ(rig.view.check(), "");

    EditorRig sorted("T+(a b)");
    sorted.editor.sortAlphabetically();
    EXPECT_FALSE(sorted.project.modified);
}

TEST(Sorting, ReSortsTheLevelOfARenamedEntry)
{
    EditorRig rig("T+(a z(m n))");
    rig.editor.sortAlphabetically();
    rig.select("z");
    rig.editor.setInsertAsChild(true);
    rig.editor.addHeader();
    EXPECT_EQ(test::treeText(rig.project), "T+(a z+(m n New header))") << "new entries wait for the next re-sort";
    rig.editor.renameEntry(rig.entry("New header"), "b");
    EXPECT_EQ(test::treeText(rig.project), "T+(a z+(b m n))");
    rig.editor.renameEntry(rig.entry("T"), "zz");  // a level-0 entry: the whole tree
    EXPECT_EQ(test::treeText(rig.project), "zz+(a z+(b m n))");
    rig.editor.stopSorting();
    rig.editor.renameEntry(rig.entry("a"), "y");
    EXPECT_EQ(test::treeText(rig.project), "zz+(y z+(b m n))");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(Captions, EditingMarksTheProjectAndKeepsOneLine)
{
    EditorRig rig("T+(A)");
    rig.editor.captionEditStarted(rig.entry("T"));
    EXPECT_FALSE(rig.project.modified) << "starting to edit the title entry";
    rig.editor.renameEntry(rig.entry("T"), "Manual");
    EXPECT_TRUE(rig.project.modified) << "a changed title is saved with the project";
    rig.project.modified = false;
    rig.editor.captionEditStarted(rig.entry("A"));
    EXPECT_TRUE(rig.project.modified);
    rig.editor.renameEntry(rig.entry("A"), "two\nlines\r\a");
    EXPECT_EQ(rig.project.titleEntry().child(0)->caption, "two lines  ");
}

TEST(DefaultTopic, TakesTheSelectedTopicsStoredPath)
{
    EditorRig rig("T+(A B)");
    rig.entry("A").topicFile = "/help/pages/a.htm";
    rig.select("A");
    rig.editor.setDefaultTopic();
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, "pages\\a.htm");
    EXPECT_TRUE(rig.project.modified);

    for (const char* header : {"B", "T"}) {
        rig.select(header);
        rig.editor.setDefaultTopic();
    }
    EXPECT_EQ(rig.desktop.beeps, 2);
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, "pages\\a.htm");

    rig.entry("B").topicFile = "/help/" + std::string(300, 'x') + ".htm";
    rig.select("B");
    rig.editor.setDefaultTopic();
    EXPECT_EQ(rig.project.windowSettings.defaultTopic, std::string(255, 'x'));
}

TEST(IconChooser, SetsTheSelectedEntrysIcon)
{
    EditorRig rig("T+(A:3)");
    rig.select("A");
    rig.editor.chooseIcon(17);
    EXPECT_EQ(rig.entry("A").iconNumber, 17);
    EXPECT_TRUE(rig.project.modified);
    EXPECT_EQ(rig.view.events.back(), "changed A");

    EditorRig title("T+(A:3)");
    title.select("T");
    title.editor.chooseIcon(17);
    EXPECT_EQ(title.entry("T").iconNumber, 42);
    EXPECT_FALSE(title.view.chooserEnabled);
    EXPECT_EQ(title.view.chooserRow, -1);
    EXPECT_FALSE(title.project.modified);
}

TEST(SelectionFeedback, ShowsIconAndCaptionWithTheFileName)
{
    Project project;
    test::buildTree(project, "T+(A:5 B:42 C:2)");
    test::entryNamed(project, "A").topicFile = "/help/pages/a.htm";
    test::entryNamed(project, "C").topicFile = "c:\\help\\c.htm";
    EXPECT_EQ(feedbackFor(project, project.titleEntry()), (SelectionFeedback{false, -1, "T"}));
    EXPECT_EQ(feedbackFor(project, test::entryNamed(project, "A")), (SelectionFeedback{true, 5, "A | a.htm"}));
    EXPECT_EQ(feedbackFor(project, test::entryNamed(project, "B")), (SelectionFeedback{true, -1, "B"}));
    EXPECT_EQ(feedbackFor(project, test::entryNamed(project, "C"), PathStyle::Windows),
              (SelectionFeedback{true, 2, "C | c.htm"}));
}

TEST(SelectionFeedback, RunsOnSelectionButNotOnAnEmptySelection)
{
    EditorRig rig("T+(A:5)");
    rig.select("A");
    EXPECT_EQ(rig.view.status, "A");
    EXPECT_EQ(rig.view.chooserRow, 5);
    rig.editor.select(nullptr);
    EXPECT_EQ(rig.view.status, "A");
    EXPECT_EQ(rig.editor.selected(), nullptr);
}

TEST(Enabling, FollowsTheSelectedEntry)
{
    struct Case {
        const char* selected;
        CommandStates states;
    };
    // preview, addEntries, deleteEntry, properties, assignIcon, openInEditor, setDefaultTopic
    const Case cases[] = {
        {nullptr, {false, false, false, false, false, false, false}},
        {"T", {false, true, false, false, false, false, false}},
        {"H", {false, true, true, true, true, false, false}},
        {"P", {true, true, true, true, true, true, true}},
        {"Q", {true, true, true, true, true, true, true}},
        {"R", {true, true, true, true, true, false, true}},
    };
    EditorRig rig("T+(H P Q R)");
    rig.entry("P").topicFile = "/help/p.HTML";
    rig.entry("Q").topicFile = "/help/notes.txt";
    rig.entry("R").topicFile = "/help/picture.png";
    for (const auto& c : cases) {
        rig.editor.select(c.selected != nullptr ? &rig.entry(c.selected) : nullptr);
        EXPECT_EQ(rig.editor.commandStates(), c.states) << (c.selected != nullptr ? c.selected : "none");
    }
}

TEST(Keys, RunTheirCommands)
{
    EditorRig rig("T+(A B)");
    rig.select("T");
    rig.editor.keyDown(TreeKey::F2);
    EXPECT_EQ(rig.view.events.back(), "edit T");
    rig.select("B");
    rig.editor.keyDown(TreeKey::CtrlUp);
    EXPECT_EQ(test::treeText(rig.project), "T+(B A)");
    rig.editor.keyDown(TreeKey::CtrlDown);
    rig.editor.keyDown(TreeKey::CtrlRight);
    EXPECT_EQ(test::treeText(rig.project), "T+(A+(B))");
    rig.editor.keyDown(TreeKey::CtrlLeft);
    EXPECT_EQ(test::treeText(rig.project), "T+(A B)");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(ModifiedFlag, IsSetExactlyByTheCommandsThatChangeTheProject)
{
    struct Case {
        const char* name;
        std::function<void(EditorRig&)> command;
        bool modified;
    };
    const Case cases[] = {
        {"add header", [](EditorRig& r) { r.editor.addHeader(); }, true},
        {"delete",
         [](EditorRig& r) {
             r.select("B");
             r.editor.deleteSelected();
         },
         true},
        {"move up with nowhere to go",
         [](EditorRig& r) {
             r.select("A");
             r.editor.moveSelected(MoveDirection::Up);
         },
         true},
        {"end of a drag without a drop",
         [](EditorRig& r) {
             r.editor.startDrag(r.entry("A"));
             r.editor.endDrag();
         },
         true},
        {"dragging the title, which stays",
         [](EditorRig& r) {
             r.editor.startDrag(r.entry("T"));
             r.editor.dropOn(&r.entry("B"));
             r.editor.endDrag();
         },
         false},
        {"choosing an icon",
         [](EditorRig& r) {
             r.select("A");
             r.editor.chooseIcon(3);
         },
         true},
        {"starting to edit an entry", [](EditorRig& r) { r.editor.captionEditStarted(r.entry("A")); }, true},
        {"starting to edit the title", [](EditorRig& r) { r.editor.captionEditStarted(r.entry("T")); }, false},
        {"a confirmed edit without change", [](EditorRig& r) { r.editor.renameEntry(r.entry("T"), "T"); }, false},
        {"expand all", [](EditorRig& r) { r.editor.expandAll(); }, false},
        {"collapse all", [](EditorRig& r) { r.editor.collapseAll(); }, false},
        {"sorting a sorted tree", [](EditorRig& r) { r.editor.sortAlphabetically(); }, false},
        {"do not sort", [](EditorRig& r) { r.editor.stopSorting(); }, false},
        {"assigning the icons entries have", [](EditorRig& r) { r.editor.assignIcon(IconTarget::AllTopics, 10); },
         false},
        {"the toggle", [](EditorRig& r) { r.editor.setInsertAsChild(true); }, false},
        {"selecting", [](EditorRig& r) { r.select("B"); }, false},
        {"the default topic on a header",
         [](EditorRig& r) {
             r.select("A");
             r.editor.setDefaultTopic();
         },
         false},
    };
    for (const auto& c : cases) {
        EditorRig rig("T+(A(A1) B)");
        c.command(rig);
        EXPECT_EQ(rig.project.modified, c.modified) << c.name;
    }
}

TEST(InsertToggle, IsStoredOnEveryClickAndRestoredWithANewProject)
{
    EditorRig rig("T");
    rig.editor.setInsertAsChild(true);
    EXPECT_EQ(rig.settings.read("TopicAsChild"), "1");
    rig.editor.setInsertAsChild(false);
    EXPECT_EQ(rig.settings.read("TopicAsChild"), "0");
    rig.settings.write("TopicAsChild", "1");
    rig.editor.sortAlphabetically();
    rig.project.resetToNew("New");
    rig.editor.projectReplaced();
    EXPECT_TRUE(rig.editor.insertAsChild());
    // The sort mode is the run's: a newly shown project keeps it.
    EXPECT_EQ(rig.editor.sortMode(), SortMode::Alphabetical);
    EXPECT_EQ(rig.editor.selected(), &rig.project.titleEntry());
    EXPECT_FALSE(rig.view.chooserEnabled);
}

}  // namespace
}  // namespace doxel
