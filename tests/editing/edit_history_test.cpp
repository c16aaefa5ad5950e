#include "editing/edit_history.h"

#include <functional>
#include <gtest/gtest.h>

#include "core/text_ids.h"
#include "editing/item_properties.h"
#include "editing/keyword_index.h"
#include "editing_fixture.h"

namespace doxel {
namespace {

using test::EditorRig;

// The rig with a history, undoing and redoing as the window does: the
// editor takes the restored tree up again afterwards.
struct HistoryRig : EditorRig {
    explicit HistoryRig(std::string_view tree) : EditorRig(tree), history(project) { editor.setHistory(&history); }
    void undo()
    {
        history.setRestoring(true);
        history.undo();
        editor.projectReplaced();
        history.setRestoring(false);
    }
    void redo()
    {
        history.setRestoring(true);
        history.redo();
        editor.projectReplaced();
        history.setRestoring(false);
    }
    std::string restoredSelection() const
    {
        const ContentsEntry* entry = history.restoredSelection();
        return entry != nullptr ? entry->caption : "none";
    }
    std::string state() const
    {
        return test::treeText(project, true) + " default=" + project.windowSettings.defaultTopic +
               " files=" + std::to_string(project.fileList.size());
    }
    EditHistory history;
};

TEST(EditHistory, EveryContentsCommandIsUndoneAndRedone)
{
    struct Case {
        const char* tree;
        const char* selected;
        int name;
        std::function<void(HistoryRig&)> command;
    };
    const Case cases[] = {
        {"T+(A B C)", "B", text_id::kStepDelete, [](HistoryRig& r) { r.editor.deleteSelected(); }},
        {"T+(A+(A1 A2) B)", "A", text_id::kStepDelete,
         [](HistoryRig& r) {
             r.desktop.answers = {true};
             r.editor.deleteSelected();
         }},
        {"T+(A B C)", "A", text_id::kStepMove, [](HistoryRig& r) { r.editor.moveSelected(MoveDirection::Down); }},
        {"T+(A B C)", "B", text_id::kStepMove, [](HistoryRig& r) { r.editor.moveSelected(MoveDirection::Right); }},
        {"T+(A B C)", "C", text_id::kStepDrag,
         [](HistoryRig& r) {
             r.editor.startDrag(r.entry("C"));
             r.editor.dropOn(&r.entry("A"));
             r.editor.endDrag();
         }},
        {"T+(A B)", "A", text_id::kStepRename, [](HistoryRig& r) { r.editor.renameEntry(r.entry("A"), "Z"); }},
        {"T+(A B)", "T", text_id::kStepRename, [](HistoryRig& r) { r.editor.renameEntry(r.entry("T"), "Title"); }},
        {"T+(A+(A1) B)", "A", text_id::kStepIcon, [](HistoryRig& r) { r.editor.assignIcon(IconTarget::AllTopics, 5); }},
        {"T+(A B)", "B", text_id::kStepIcon, [](HistoryRig& r) { r.editor.chooseIcon(20); }},
        {"T+(C A B)", "A", text_id::kStepSort, [](HistoryRig& r) { r.editor.sortAlphabetically(); }},
        {"T+(A B)", "A", text_id::kStepAddHeader, [](HistoryRig& r) { r.editor.addHeader(); }},
        {"T+(A B)", "A", text_id::kStepAddTopics,
         [](HistoryRig& r) {
             r.editor.addTopicFiles({"/help/one.htm", "/help/two.htm"});
         }},
        {"T+(A B)", "A", text_id::kStepProperties,
         [](HistoryRig& r) {
             applyItemProperties(r.editor, r.entry("A"), {"New A", 12, "/help/a.htm"});
         }},
    };
    for (const Case& c : cases) {
        HistoryRig rig(c.tree);
        SCOPED_TRACE(c.tree + std::string(" / ") + std::to_string(c.name));
        rig.select(c.selected);
        const std::string before = rig.state();
        c.command(rig);
        const std::string after = rig.state();
        ASSERT_NE(before, after);
        ASSERT_EQ(rig.history.stepCount(), 1U);
        EXPECT_EQ(rig.history.undoName(), c.name);
        EXPECT_TRUE(rig.project.modified);

        rig.undo();
        EXPECT_EQ(rig.state(), before);
        EXPECT_FALSE(rig.project.modified);
        EXPECT_FALSE(rig.history.canUndo());
        EXPECT_EQ(rig.history.redoName(), c.name);
        rig.redo();
        EXPECT_EQ(rig.state(), after);
        EXPECT_TRUE(rig.project.modified);
        // Twice round: the step keeps working in both directions.
        rig.undo();
        rig.redo();
        EXPECT_EQ(rig.state(), after);
    }
}

TEST(EditHistory, CommandsThatChangeNothingLeaveNoStep)
{
    const std::function<void(HistoryRig&)> commands[] = {
        [](HistoryRig& r) { r.editor.deleteSelected(); },  // the title entry stays
        [](HistoryRig& r) {
            r.select("A");
            r.editor.deleteSelected();  // "No" to the question
        },
        [](HistoryRig& r) { r.editor.renameEntry(r.entry("A"), "A"); },
        [](HistoryRig& r) { r.editor.expandAll(); },
        [](HistoryRig& r) {
            r.select("B");
            r.editor.moveSelected(MoveDirection::Down);  // already last
        },
        [](HistoryRig& r) { r.editor.addTopicFiles({"/elsewhere/x.htm"}); },  // refused
    };
    for (const auto& command : commands) {
        HistoryRig rig("T+(A(A1) B)");
        command(rig);
        EXPECT_EQ(rig.history.stepCount(), 0U);
        EXPECT_FALSE(rig.history.canUndo());
        EXPECT_EQ(rig.history.undoName(), 0);
    }
}

TEST(EditHistory, TheModifiedMarkFollowsTheSavedStep)
{
    HistoryRig rig("T+(A B C)");
    rig.select("A");
    rig.editor.renameEntry(rig.entry("A"), "A2");
    rig.history.markSaved();
    rig.project.modified = false;  // as a save leaves it
    rig.editor.renameEntry(rig.entry("B"), "B2");
    rig.editor.renameEntry(rig.entry("C"), "C2");

    rig.undo();
    EXPECT_TRUE(rig.project.modified);
    rig.undo();
    EXPECT_FALSE(rig.project.modified);  // back at the saved state
    rig.undo();
    EXPECT_TRUE(rig.project.modified);  // before the saved state
    EXPECT_EQ(test::treeText(rig.project), "T+(A B C)");
    rig.redo();
    EXPECT_FALSE(rig.project.modified);

    // A new step after undoing past the save makes the saved state
    // unreachable: no state is clean any more.
    rig.undo();
    rig.editor.renameEntry(rig.entry("A"), "X");
    EXPECT_FALSE(rig.history.canRedo());
    rig.undo();
    EXPECT_TRUE(rig.project.modified);
    EXPECT_EQ(test::treeText(rig.project), "T+(A B C)");

    rig.history.clear();
    EXPECT_FALSE(rig.history.canUndo());
    EXPECT_FALSE(rig.history.canRedo());
}

TEST(EditHistory, KeepsTheNewestStepsWithinItsLimit)
{
    HistoryRig rig("T+(A)");
    const int renames = static_cast<int>(EditHistory::kStepLimit) + 20;
    for (int n = 1; n <= renames; ++n)
        rig.editor.renameEntry(rig.entry(n == 1 ? "A" : std::to_string(n - 1)), std::to_string(n));
    EXPECT_EQ(rig.history.stepCount(), EditHistory::kStepLimit);
    while (rig.history.canUndo())
        rig.undo();
    EXPECT_EQ(test::treeText(rig.project), "T+(20)");
    EXPECT_TRUE(rig.project.modified);
}

class SilentKeywordDesktop final : public KeywordDesktop {
public:
    void beep() override {}
    std::string text(int) override { return {}; }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override
    {
        return answer;
    }
    bool askYesNo(int, int) override { return true; }
    std::optional<KeywordEntry> askProperties(const KeywordEntry&, const std::vector<std::string>&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> answer;
};

TEST(EditHistory, KeywordCommandsShareTheHistoryWithTheContents)
{
    HistoryRig rig("T+(A B)");
    SilentKeywordDesktop desktop;
    KeywordIndex keywords(rig.project, desktop);
    keywords.setHistory(&rig.history);
    const auto list = [&rig] {
        std::string text;
        for (const KeywordEntry& row : rig.project.keywords)
            text += row.keyword + "=" + row.topicFile + " ";
        return text;
    };

    keywords.addKeyword("beta", "/help/b.htm");
    keywords.addKeyword("alpha", "/help/a.htm");
    rig.editor.renameEntry(rig.entry("A"), "A2");
    keywords.headerClicked(0);
    EXPECT_EQ(list(), "alpha=/help/a.htm beta=/help/b.htm ");
    keywords.select(1);
    keywords.setTopicFile(1, "/help/c.htm");
    EXPECT_EQ(rig.history.undoName(), text_id::kStepEditKeyword);
    keywords.select(0);
    keywords.deleteSelected();
    keywords.deleteAll();
    EXPECT_EQ(list(), "");

    const int names[] = {text_id::kStepDeleteAllKeywords, text_id::kStepDeleteKeyword, text_id::kStepEditKeyword,
                         text_id::kStepSortKeywords, text_id::kStepRename};
    for (int name : names) {
        EXPECT_EQ(rig.history.undoName(), name);
        rig.history.undo();
        keywords.projectReplaced();
    }
    EXPECT_EQ(list(), "beta=/help/b.htm alpha=/help/a.htm ");
    EXPECT_EQ(test::treeText(rig.project), "T+(A B)");
    while (rig.history.canRedo())
        rig.history.redo();
    EXPECT_EQ(list(), "");
    EXPECT_EQ(test::treeText(rig.project), "T+(A2 B)");
}

TEST(EditHistory, UndoSelectsTheEntryAsBeforeTheStepAndRedoAsAfterIt)
{
    struct Case {
        const char* tree;
        const char* selected;
        std::function<void(HistoryRig&)> command;
        const char* afterUndo;
        const char* afterRedo;
    };
    const Case cases[] = {
        {"T+(A B C)", "C", [](HistoryRig& r) { r.editor.moveSelected(MoveDirection::Up); }, "C", "C"},
        {"T+(A B C)", "B", [](HistoryRig& r) { r.editor.deleteSelected(); }, "B", "C"},
        {"T+(A B+(B1 B2))", "B2", [](HistoryRig& r) { r.editor.deleteSelected(); }, "B2", "B1"},
    };
    for (const Case& c : cases) {
        HistoryRig rig(c.tree);
        SCOPED_TRACE(c.tree);
        rig.select(c.selected);
        c.command(rig);
        rig.undo();
        EXPECT_EQ(rig.restoredSelection(), c.afterUndo);
        rig.redo();
        EXPECT_EQ(rig.restoredSelection(), c.afterRedo);
    }
}

TEST(EditHistory, AnUndoneSortTurnsItsSortingOffInsteadOfSortingAgain)
{
    HistoryRig rig("T+(C A B)");
    rig.select("A");
    rig.editor.sortAlphabetically();
    rig.undo();
    EXPECT_EQ(test::treeText(rig.project), "T+(C A B)");
    EXPECT_EQ(rig.editor.sortMode(), SortMode::None);

    SilentKeywordDesktop desktop;
    KeywordIndex keywords(rig.project, desktop);
    keywords.setHistory(&rig.history);
    keywords.addKeyword("beta", "/help/b.htm");
    keywords.addKeyword("alpha", "/help/a.htm");
    rig.history.markSaved();  // the file holds beta, alpha
    keywords.setAutoSort(true);
    rig.history.setRestoring(true);
    rig.history.undo();
    keywords.projectReplaced();
    rig.history.setRestoring(false);
    EXPECT_EQ(rig.project.keywords.front().keyword, "beta");
    EXPECT_FALSE(keywords.autoSort());
    EXPECT_FALSE(rig.project.modified);
}

TEST(EditHistory, CopiesAndComparesDeepTreesWithoutRecursion)
{
    Project project;
    ContentsEntry* parent = &project.titleEntry();
    for (int level = 0; level < 200'000; ++level)
        parent = parent->appendChild(std::make_unique<ContentsEntry>("e", 10));
    const std::unique_ptr<ContentsEntry> copy = copyTree(project.root());
    EXPECT_TRUE(sameTree(*copy, project.root()));
    parent->caption = "changed";
    EXPECT_FALSE(sameTree(*copy, project.root()));
}

}  // namespace
}  // namespace doxel
