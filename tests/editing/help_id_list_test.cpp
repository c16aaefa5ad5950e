#include "editing/help_id_list.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include "core/text_ids.h"
#include "editing/item_properties.h"
#include "editing_fixture.h"

namespace doxel {
namespace {

using test::EditorRig;

class ScriptedHelpIdDesktop final : public HelpIdDesktop {
public:
    std::string text(int id) override
    {
        switch (id) {
        case text_id::kHelpIdNameTaken:
            return "%1 is taken by %2";
        case text_id::kHelpIdNumberTaken:
            return "number %1 is taken by %2";
        default:
            return "text " + std::to_string(id) + " %1";
        }
    }
    std::optional<HelpIdInput> askHelpId(const HelpIdInput& current, const std::vector<std::string>& topics) override
    {
        asked.push_back(current);
        choices = topics;
        if (answers.empty())
            return std::nullopt;
        HelpIdInput answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showRefusal(const std::string& message) override { refusals.push_back(message); }
    void beep() override { ++beeps; }

    std::deque<HelpIdInput> answers;  // none left: Cancel
    std::vector<HelpIdInput> asked;
    std::vector<std::string> choices;
    std::vector<std::string> refusals;
    int beeps = 0;
};

// The sample's ids: two topics under /help (the project is /help/p.dxp).
std::vector<HelpId> sampleIds()
{
    return {{"IDH_PRINT", 1001, "/help/pages/print.htm"},
            {"IDH_ABOUT", 1000, "/help/about.htm"},
            {"IDH_PREVIEW", 1002, "/help/pages/print.htm#preview"}};
}

std::string namesOf(const HelpIdList& list)
{
    std::string names;
    for (std::size_t row = 0; row < list.size(); ++row)
        names += (row > 0 ? " " : "") + list.row(row).name;
    return names;
}

TEST(HelpIds, CheckRefusesWhatAnApplicationOrTheHelpFileCouldNotUse)
{
    struct Case {
        const char* name;
        HelpIdInput input;
        std::optional<std::size_t> replacing;
        std::optional<HelpIdRefusal> refusal;
    };
    const std::string topic = "/help/new.htm";
    const Case cases[] = {
        {"a fresh id", {"IDH_NEW", "2000", topic}, {}, {}},
        {"a hexadecimal number, spaces around", {" IDH_NEW ", " 0x7D0 ", topic}, {}, {}},
        {"the largest number", {"IDH_NEW", "2147483647", topic}, {}, {}},
        {"an id keeps its own name and number", {"IDH_PRINT", "1001", topic}, 0, {}},
        {"empty name", {"", "2000", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdName, "", ""}},
        {"name starts with a digit", {"1ST", "2000", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdName, "1ST", ""}},
        {"name with a space",
         {"IDH PRINT", "2000", topic},
         {},
         HelpIdRefusal{text_id::kBadHelpIdName, "IDH PRINT", ""}},
        {"name with a dash", {"IDH-X", "2000", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdName, "IDH-X", ""}},
        {"number zero", {"IDH_NEW", "0", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdNumber, "0", ""}},
        {"number above 2^31-1",
         {"IDH_NEW", "2147483648", topic},
         {},
         HelpIdRefusal{text_id::kBadHelpIdNumber, "2147483648", ""}},
        {"negative number", {"IDH_NEW", "-5", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdNumber, "-5", ""}},
        {"no number", {"IDH_NEW", "", topic}, {}, HelpIdRefusal{text_id::kBadHelpIdNumber, "", ""}},
        {"no topic", {"IDH_NEW", "2000", ""}, {}, HelpIdRefusal{text_id::kHelpIdWithoutTopic, "IDH_NEW", ""}},
        {"name taken",
         {"IDH_PRINT", "2000", topic},
         {},
         HelpIdRefusal{text_id::kHelpIdNameTaken, "IDH_PRINT", "pages/print.htm"}},
        {"name taken in other letter case",
         {"idh_about", "2000", topic},
         {},
         HelpIdRefusal{text_id::kHelpIdNameTaken, "IDH_ABOUT", "about.htm"}},
        {"number taken, typed in hex",
         {"IDH_NEW", "0x3EA", topic},
         {},
         HelpIdRefusal{text_id::kHelpIdNumberTaken, "1002", "pages/print.htm#preview"}},
        {"an edited id may not take another's number",
         {"IDH_PRINT", "1000", topic},
         0,
         HelpIdRefusal{text_id::kHelpIdNumberTaken, "1000", "about.htm"}},
    };
    Project project;
    project.projectFile = "/help/p.dxp";
    project.helpIds = sampleIds();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkHelpId(project, c.input, c.replacing), c.refusal);
    }
}

TEST(HelpIds, RefusalMessagesFillInWhatWasTypedAndTheOtherTopic)
{
    EXPECT_EQ(refusalMessage("%1 is the id of %2.", {0, "IDH_A", "pages/a.htm"}), "IDH_A is the id of pages/a.htm.");
    // What was typed can hold a mark itself; it stays as typed.
    EXPECT_EQ(refusalMessage("\"%1\" is no name (%2)", {0, "%2x", "b.htm"}), "\"%2x\" is no name (b.htm)");
}

// A list of the sample ids with a history, as the Help ids dialog works on it.
struct ListRig {
    ListRig() : history(project), list(project, desktop)
    {
        project.projectFile = "/help/p.dxp";
        project.fileList.add("/help/about.htm");
        project.fileList.add("/help/pages/print.htm");
        project.helpIds = sampleIds();
        list.refresh();
        list.setHistory(&history);
    }
    Project project;
    EditHistory history;
    ScriptedHelpIdDesktop desktop;
    HelpIdList list;
};

TEST(HelpIdList, EveryChangeIsOneUndoStep)
{
    struct Case {
        const char* name;
        std::function<void(ListRig&)> command;
        int step;
        std::vector<HelpId> after;
    };
    const Case cases[] = {
        {"add",
         [](ListRig& r) {
             r.desktop.answers = {{"IDH_NEW", "1003", "/help/about.htm"}};
             const std::optional<std::size_t> row = r.list.add();
             EXPECT_EQ(row, r.list.rowNamed("IDH_NEW"));
         },
         text_id::kStepAddHelpId,
         {sampleIds()[0], sampleIds()[1], sampleIds()[2], {"IDH_NEW", 1003, "/help/about.htm"}}},
        {"edit (sorted by name, row 1 is IDH_PREVIEW)",
         [](ListRig& r) {
             r.desktop.answers = {{"IDH_PREVIEW_PAGE", "0x4000", "/help/pages/print.htm"}};
             r.list.edit(1);
         },
         text_id::kStepEditHelpId,
         {sampleIds()[0], sampleIds()[1], {"IDH_PREVIEW_PAGE", 0x4000, "/help/pages/print.htm"}}},
        {"delete",
         [](ListRig& r) { r.list.remove(*r.list.rowNamed("IDH_ABOUT")); },
         text_id::kStepDeleteHelpId,
         {sampleIds()[0], sampleIds()[2]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListRig rig;
        c.command(rig);
        EXPECT_EQ(rig.project.helpIds, c.after);
        EXPECT_TRUE(rig.project.modified);
        ASSERT_EQ(rig.history.stepCount(), 1u);
        EXPECT_EQ(rig.history.undoName(), c.step);
        rig.history.undo();
        rig.list.refresh();
        EXPECT_EQ(rig.project.helpIds, sampleIds());
        EXPECT_FALSE(rig.project.modified);
        EXPECT_EQ(rig.list.size(), 3u);
        rig.history.redo();
        EXPECT_EQ(rig.project.helpIds, c.after);
    }
}

TEST(HelpIdList, ARefusedValueIsAskedForAgainAsTypedAndChangesNothingUntilRight)
{
    ListRig rig;
    rig.desktop.answers = {{"IDH_PRINT", "2000", "/help/about.htm"}, {"IDH_X", "1000", "/help/about.htm"}};
    EXPECT_FALSE(rig.list.add());  // cancelled on the third question
    ASSERT_EQ(rig.desktop.asked.size(), 3u);
    EXPECT_EQ(rig.desktop.asked[0], (HelpIdInput{"", "1003", ""})) << "the next free number is proposed";
    EXPECT_EQ(rig.desktop.asked[1], (HelpIdInput{"IDH_PRINT", "2000", "/help/about.htm"}));
    EXPECT_EQ(rig.desktop.asked[2], (HelpIdInput{"IDH_X", "1000", "/help/about.htm"}));
    EXPECT_EQ(rig.desktop.refusals,
              (std::vector<std::string>{"IDH_PRINT is taken by pages/print.htm", "number 1000 is taken by about.htm"}));
    EXPECT_EQ(rig.desktop.choices, (std::vector<std::string>{"/help/about.htm", "/help/pages/print.htm"}));
    EXPECT_EQ(rig.project.helpIds, sampleIds());
    EXPECT_FALSE(rig.project.modified);
    EXPECT_EQ(rig.history.stepCount(), 0u);

    // Editing an id without a change leaves no step either.
    rig.desktop.answers = {inputFrom(rig.list.row(0))};
    rig.list.edit(0);
    EXPECT_EQ(rig.history.stepCount(), 0u);
    rig.list.remove(7);
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_EQ(rig.history.stepCount(), 0u);
}

TEST(HelpIdList, SortsTheViewNotTheProject)
{
    ListRig rig;
    EXPECT_EQ(namesOf(rig.list), "IDH_ABOUT IDH_PREVIEW IDH_PRINT");
    rig.list.sortBy(HelpIdColumn::Name);
    EXPECT_EQ(namesOf(rig.list), "IDH_PRINT IDH_PREVIEW IDH_ABOUT");
    rig.list.sortBy(HelpIdColumn::Number);
    EXPECT_EQ(namesOf(rig.list), "IDH_ABOUT IDH_PRINT IDH_PREVIEW");
    rig.list.sortBy(HelpIdColumn::Topic);
    EXPECT_EQ(namesOf(rig.list), "IDH_ABOUT IDH_PRINT IDH_PREVIEW");
    rig.list.sortBy(HelpIdColumn::Topic);
    EXPECT_EQ(namesOf(rig.list), "IDH_PREVIEW IDH_PRINT IDH_ABOUT");
    EXPECT_EQ(rig.project.helpIds, sampleIds());
    EXPECT_FALSE(rig.project.modified);

    // A new id takes its place in the order; edit works on the row shown.
    rig.list.sortBy(HelpIdColumn::Number);
    rig.desktop.answers = {{"IDH_FIRST", "1", "/help/about.htm"}};
    EXPECT_EQ(rig.list.add(), 0u);
    rig.desktop.answers = {{"IDH_LAST", "9999", "/help/about.htm"}};
    EXPECT_EQ(rig.list.edit(0), 3u);
    EXPECT_EQ(rig.project.helpIds.back(), (HelpId{"IDH_LAST", 9999, "/help/about.htm"}));
}

TEST(HelpIds, AChangedTopicFileTakesItsIdsAlongUnlessAnotherEntryStillOpensIt)
{
    struct Case {
        const char* name;
        const char* otherEntryTopic;  // B's topic
        const char* oldTopic;
        const char* newTopic;
        std::vector<std::string> after;  // the sample ids' topics
    };
    const Case cases[] = {
        {"the page and its anchors move",
         "/help/about.htm",
         "/help/pages/print.htm",
         "/help/printing.htm",
         {"/help/printing.htm", "/help/about.htm", "/help/printing.htm#preview"}},
        {"another entry still opens the page",
         "/help/pages/print.htm",
         "/help/pages/print.htm",
         "/help/x.htm",
         {"/help/pages/print.htm", "/help/about.htm", "/help/pages/print.htm#preview"}},
        {"an anchor of it counts as the page",
         "/help/pages/print.htm#top",
         "/help/pages/print.htm",
         "/help/x.htm",
         {"/help/pages/print.htm", "/help/about.htm", "/help/pages/print.htm#preview"}},
        {"an entry of one anchor takes that anchor's ids",
         "/help/about.htm",
         "/help/pages/print.htm#preview",
         "/help/x.htm",
         {"/help/pages/print.htm", "/help/about.htm", "/help/x.htm"}},
        {"a header takes none",
         "/help/about.htm",
         "/help/pages/print.htm",
         "",
         {"/help/pages/print.htm", "/help/about.htm", "/help/pages/print.htm#preview"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorRig rig("T+(A B)");
        rig.project.helpIds = sampleIds();
        rig.entry("A").topicFile = c.newTopic;
        rig.entry("B").topicFile = c.otherEntryTopic;
        carryHelpIds(rig.project, c.oldTopic, c.newTopic);
        std::vector<std::string> topics;
        for (const HelpId& id : rig.project.helpIds)
            topics.push_back(id.topicFile);
        EXPECT_EQ(topics, c.after);
    }
}

// The help id field of the item properties: entry A opens the page with
// IDH_PRINT and IDH_PREVIEW, entry B a page without an id.
struct PropertiesRig : EditorRig {
    PropertiesRig() : EditorRig("T+(A:7 B)"), history(project)
    {
        entry("A").topicFile = "/help/pages/print.htm";
        entry("B").topicFile = "/help/b.htm";
        project.fileList.add("/help/pages/print.htm");
        project.fileList.add("/help/b.htm");
        project.helpIds = sampleIds();
        editor.setHistory(&history);
    }
    EditHistory history;
};

TEST(ItemPropertiesHelpId, OpensWithTheTopicsFirstIdAndTheNextFreeNumber)
{
    PropertiesRig rig;
    rig.select("A");
    EXPECT_EQ(itemPropertiesToEdit(rig.editor),
              (ItemProperties{"A", 7, "/help/pages/print.htm", "IDH_PRINT", "1001", 1003}));
    rig.select("B");
    EXPECT_EQ(itemPropertiesToEdit(rig.editor), (ItemProperties{"B", 10, "/help/b.htm", "", "", 1003}));
}

TEST(ItemPropertiesHelpId, AppliesWithTheOtherPropertiesInOneStep)
{
    struct Case {
        const char* name;
        const char* entry;
        ItemProperties values;
        std::vector<HelpId> after;
    };
    const HelpId print = sampleIds()[0];
    const HelpId about = sampleIds()[1];
    const HelpId preview = sampleIds()[2];
    const Case cases[] = {
        {"renamed and renumbered",
         "A",
         {"A", 7, "/help/pages/print.htm", "IDH_PRINTING", "77"},
         {{"IDH_PRINTING", 77, "/help/pages/print.htm"}, about, preview}},
        {"cleared", "A", {"A", 7, "/help/pages/print.htm", " ", ""}, {about, preview}},
        {"given to a topic without one",
         "B",
         {"B", 10, "/help/b.htm", "IDH_B", "5"},
         {print, about, preview, {"IDH_B", 5, "/help/b.htm"}}},
        {"a new file takes the ids along",
         "A",
         {"A", 7, "/help/printing.htm", "IDH_PRINT", "1001"},
         {{"IDH_PRINT", 1001, "/help/printing.htm"}, about, {"IDH_PREVIEW", 1002, "/help/printing.htm#preview"}}},
        {"a header keeps the ids for the compile to report", "A", {"A", 7, "", "IDH_PRINT", "1001"}, sampleIds()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PropertiesRig rig;
        rig.select(c.entry);
        const std::string topic = rig.entry(c.entry).topicFile;
        EXPECT_FALSE(applyItemProperties(rig.editor, rig.entry(c.entry), c.values));
        EXPECT_EQ(rig.project.helpIds, c.after);
        ASSERT_EQ(rig.history.stepCount(), 1u);
        rig.history.undo();
        rig.editor.projectReplaced();
        EXPECT_EQ(rig.project.helpIds, sampleIds());
        EXPECT_EQ(rig.entry(c.entry).topicFile, topic);
    }
}

TEST(ItemPropertiesHelpId, ARefusedIdAppliesNothing)
{
    struct Case {
        const char* name;
        const char* entry;
        ItemProperties values;
        int refusal;
    };
    const Case cases[] = {
        {"another topic's name",
         "A",
         {"New", 3, "/help/pages/print.htm", "IDH_ABOUT", "1001"},
         text_id::kHelpIdNameTaken},
        {"another topic's number",
         "A",
         {"New", 3, "/help/pages/print.htm", "IDH_PRINT", "1000"},
         text_id::kHelpIdNumberTaken},
        {"a name without a number",
         "A",
         {"New", 3, "/help/pages/print.htm", "IDH_PRINT", ""},
         text_id::kBadHelpIdNumber},
        {"a number out of range",
         "A",
         {"New", 3, "/help/pages/print.htm", "IDH_PRINT", "4294967296"},
         text_id::kBadHelpIdNumber},
        {"a header", "B", {"New", 3, "", "IDH_NEW", "5"}, text_id::kHelpIdWithoutTopic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PropertiesRig rig;
        rig.select(c.entry);
        const bool modified = rig.project.modified;
        const std::string topic = rig.entry(c.entry).topicFile;
        const std::optional<HelpIdRefusal> refusal = applyItemProperties(rig.editor, rig.entry(c.entry), c.values);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->textId, c.refusal);
        EXPECT_EQ(checkItemProperties(rig.editor, rig.entry(c.entry), c.values), refusal);
        EXPECT_EQ(rig.project.helpIds, sampleIds());
        EXPECT_EQ(rig.entry(c.entry).caption, c.entry);
        EXPECT_EQ(rig.entry(c.entry).topicFile, topic);
        EXPECT_EQ(rig.history.stepCount(), 0u);
        EXPECT_EQ(rig.project.modified, modified);
    }
}

TEST(ItemPropertiesHelpId, AnIdReadFromAFileIsLeftAloneWhileUntouched)
{
    PropertiesRig rig;
    // Two ids with one number, as a hand-written file may hold them.
    rig.project.helpIds[0].number = 1000;
    rig.select("A");
    const ItemProperties values = *itemPropertiesToEdit(rig.editor);
    ItemProperties renamed = values;
    renamed.caption = "Printing";
    EXPECT_FALSE(applyItemProperties(rig.editor, rig.entry("A"), renamed));
    EXPECT_EQ(rig.entry("Printing").topicFile, "/help/pages/print.htm");
}

}  // namespace
}  // namespace doxel
