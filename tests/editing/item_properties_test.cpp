#include "editing/item_properties.h"

#include <gtest/gtest.h>

#include "editing_fixture.h"

namespace doxel {
namespace {

using test::EditorRig;

TEST(ItemProperties, OpenWithTheSelectedEntrysValues)
{
    EditorRig rig("T+(A:7 B:42)");
    rig.entry("A").topicFile = "/help/a.htm";
    rig.select("A");
    EXPECT_EQ(itemPropertiesToEdit(rig.editor), (ItemProperties{"A", 7, "/help/a.htm", "", "", 1000}));
    rig.select("B");
    EXPECT_EQ(itemPropertiesToEdit(rig.editor), (ItemProperties{"B", -1, "", "", "", 1000}))
        << "no chooser row above 41";
    rig.select("T");
    EXPECT_FALSE(itemPropertiesToEdit(rig.editor).has_value());
    rig.editor.select(nullptr);
    EXPECT_FALSE(itemPropertiesToEdit(rig.editor).has_value());
}

TEST(ItemProperties, ApplyWritesFileIconAndCaption)
{
    struct Case {
        const char* name;
        ItemProperties values;
        const char* caption;
        int icon;
        const char* topicFile;
        std::size_t fileRows;
        const char* status;
    };
    const Case cases[] = {
        {"unchanged", {"A", 7, "/help/a.htm"}, "A", 7, "/help/a.htm", 1, "A | a.htm"},
        {"association removed", {"A", 7, ""}, "A", 7, "", 1, "A"},
        {"a new file adds a row", {"A", 7, "/help/new.htm"}, "A", 7, "/help/new.htm", 2, "A | new.htm"},
        {"no chooser row keeps the icon", {"A", -1, "/help/a.htm"}, "A", 7, "/help/a.htm", 1, "A | a.htm"},
        {"an empty caption is taken", {"", 30, "/help/a.htm"}, "", 30, "/help/a.htm", 1, " | a.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorRig rig("T+(A:7)");
        rig.entry("A").topicFile = "/help/a.htm";
        rig.project.fileList.add("/help/a.htm");
        rig.select("A");
        ContentsEntry& entry = *rig.editor.selected();
        applyItemProperties(rig.editor, entry, c.values);
        EXPECT_TRUE(rig.project.modified);
        EXPECT_EQ(entry.caption, c.caption);
        EXPECT_EQ(entry.iconNumber, c.icon);
        EXPECT_EQ(entry.topicFile, c.topicFile);
        EXPECT_EQ(rig.project.fileList.size(), c.fileRows);
        EXPECT_EQ(rig.view.status, c.status);
        EXPECT_EQ(rig.project.windowSettings.defaultTopic, kNotDefined);
    }
}

TEST(ItemProperties, AHeaderGivenAListedFileReusesItsRow)
{
    EditorRig rig("T+(H)", PathStyle::Windows);
    rig.project.fileList.add("c:\\help\\a.htm");
    rig.select("H");
    applyItemProperties(rig.editor, rig.entry("H"), {"H", 3, "C:\\Help\\A.htm"});
    EXPECT_EQ(rig.entry("H").topicFile, "c:\\help\\a.htm");
    EXPECT_EQ(rig.project.fileList.size(), 1u);
    EXPECT_EQ(rig.view.fileListReloads, 0);
}

TEST(ItemProperties, ATopicMadeAHeaderRefusesTheDefaultTopicCommand)
{
    EditorRig rig("T+(A)");
    rig.entry("A").topicFile = "/help/a.htm";
    rig.select("A");
    applyItemProperties(rig.editor, rig.entry("A"), {"A", 7, ""});
    rig.editor.setDefaultTopic();
    EXPECT_EQ(rig.desktop.beeps, 1);
}

TEST(ItemProperties, ACaptionChangeReSortsTheLevel)
{
    EditorRig rig("T+(b c d)");
    rig.editor.sortAlphabetically();
    rig.select("b");
    applyItemProperties(rig.editor, rig.entry("b"), {"e", 10, ""});
    EXPECT_EQ(test::treeText(rig.project), "T+(c d e)");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(ItemProperties, ChoosingAFileRefusesANameNoProjectFileCanHoldAndSaysWhy)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/help/sub/back\\slash.htm", "The file /help/sub/back\\slash.htm cannot be a topic: its name holds \"\\\""},
        {"/help/c#.htm", "The file /help/c#.htm cannot be a topic: its name holds \"#\""},
        {"/help/line\nbreak.htm", "The file /help/line?break.htm cannot be a topic: its name holds a control"},
    };
    for (const auto& [file, message] : cases) {
        EditorRig rig("T+(A)");
        rig.desktop.chosenFiles = {file};
        EXPECT_EQ(chooseSourceFile(rig.desktop, rig.project, "/help/old.htm"), "/help/old.htm") << file;
        EXPECT_EQ(rig.desktop.beeps, 1) << file;
        EXPECT_EQ(rig.desktop.shown.back(), "fixed Topic file") << file;
        EXPECT_TRUE(rig.desktop.fixedText.starts_with(message)) << rig.desktop.fixedText;
    }
}

TEST(ItemProperties, ChoosingAFileTestsItsLocation)
{
    EditorRig rig("T+(A)");
    rig.desktop.chosenFiles = {};
    EXPECT_EQ(chooseSourceFile(rig.desktop, rig.project, "/help/old.htm"), "/help/old.htm");
    EXPECT_EQ(rig.desktop.shown.back(), "open /help/") << "the dialog starts in the project folder";

    rig.desktop.chosenFiles = {"/help/sub/new.htm", "/elsewhere/x.htm"};
    EXPECT_EQ(chooseSourceFile(rig.desktop, rig.project, "/help/old.htm"), "/help/sub/new.htm");

    rig.desktop.chosenFiles = {"/elsewhere/x.htm"};
    EXPECT_EQ(chooseSourceFile(rig.desktop, rig.project, "/help/old.htm"), "/help/old.htm");
    EXPECT_EQ(rig.desktop.shown.back(), "fixed WARNING");
    EXPECT_EQ(rig.desktop.fixedText,
              "The file you specified could not be added to your project, because\r\n"
              "their location does not corrispond to what the HTML Help compiler expects.\r\n"
              "Please follow these simple rules when specifying topic files:\r\n"
              "\r\n"
              "The topic files (HTML files) must be located either\r\n"
              "- in the same folder as the project file\r\n"
              "- in a subfolder of the project file\r\n"
              "- on a different drive\r\n"
              "\r\n"
              "For more details on how HTML Help handles paths, please refer\r\n"
              "to the help file.");
}

}  // namespace
}  // namespace doxel
