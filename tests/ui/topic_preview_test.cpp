#include "ui/logic/topic_preview.h"

#include <gtest/gtest.h>

#include "editing/keyword_index.h"
#include "scripted_desktop.h"
#include "test_support.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

ContentsEntry& add(ContentsEntry& parent, const char* caption, const std::string& file = {})
{
    return *parent.appendChild(std::make_unique<ContentsEntry>(caption, 8, file));
}

// The first entry captioned `caption` in display order.
ContentsEntry& entryNamed(Project& project, std::string_view caption)
{
    const ContentsEntry* found = nullptr;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        if (found == nullptr && entry.caption == caption)
            found = &entry;
    });
    if (found == nullptr)
        throw std::runtime_error("no entry " + std::string(caption));
    return const_cast<ContentsEntry&>(*found);
}

class ScriptedBrowser final : public PreviewBrowser {
public:
    void navigate(const std::string& file, const std::string& anchor) override
    {
        log.push_back(anchor.empty() ? file : file + "#" + anchor);
    }
    void refresh() override { log.push_back("refresh"); }
    std::string selectedText() override { return selection; }

    std::vector<std::string> log;
    std::string selection;
};

class NoKeywordQuestions final : public KeywordDesktop {
public:
    void beep() override {}
    std::string text(int) override { return {}; }
    std::optional<KeywordEntry> askProperties(const KeywordEntry&, const std::vector<std::string>&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    bool askYesNo(int, int) override { return false; }
};

// The window around the preview: a tree with a selection, the browser made
// on first use, and a record of what was asked of the window.
class ScriptedHost final : public PreviewHost {
public:
    PreviewBrowser& browser() override
    {
        if (!created) {
            created = true;
            events.push_back("browser created");
        }
        return scriptedBrowser;
    }
    PreviewBrowser* existingBrowser() override { return created ? &scriptedBrowser : nullptr; }
    ContentsEntry* selectedEntry() override { return selected; }
    void selectEntry(const ContentsEntry& entry) override
    {
        selected = const_cast<ContentsEntry*>(&entry);
        events.push_back("select " + entry.caption);
    }
    void showPreviewPage() override { events.push_back("preview page"); }
    void openSettingsDialog() override { events.push_back("settings dialog"); }
    void openInTextEditor(const std::string& file) override { events.push_back("text editor " + file); }
    void startHtmlEditor(const std::vector<std::string>& command, const std::string& file,
                         const std::string& folder) override
    {
        std::string line = "html editor";
        for (const std::string& word : command)
            line += " [" + word + "]";
        events.push_back(line + " file [" + file + "] in [" + folder + "]");
    }

    ScriptedBrowser scriptedBrowser;
    bool created = false;
    ContentsEntry* selected = nullptr;
    std::vector<std::string> events;
};

// Pages on disk: a.htm, a1.htm, b.htm, "my page.htm", notes.txt, logo.png
// and the blank page; the tree "T+(A(A1) B H)" with header H and topics
// pointing at them, A collapsed.
struct Rig {
    Rig()
    {
        for (const char* name : {"a.htm", "a1.htm", "b.htm", "my page.htm", "notes.txt", "logo.png", "blank.htm"})
            test::writeFile(dir.path() / name, "<html><title>x</title></html>");
        project.titleEntry().caption = "T";
        ContentsEntry& a = add(project.titleEntry(), "A", file("a.htm"));
        add(a, "A1", file("a1.htm"));
        add(project.titleEntry(), "B", file("b.htm"));
        add(project.titleEntry(), "H");
        settings.write("Language", "0");
    }

    ContentsEntry& entry(std::string_view caption) { return entryNamed(project, caption); }
    std::string file(const std::string& name) const { return dir.file(name); }
    void select(std::string_view caption) { host.selected = caption.empty() ? nullptr : &entry(caption); }
    const std::vector<std::string>& shown() const { return host.scriptedBrowser.log; }

    test::TempDir dir;
    Project project;
    MemorySettingsStore settings;
    test::ScriptedDesktop desktop;
    ScriptedHost host;
    NoKeywordQuestions keywordDesktop;
    KeywordIndex keywords{project, keywordDesktop};
    TopicPreview preview{project, settings, desktop, host, keywords, dir.file("blank.htm")};
};

TEST(PreviewShow, ShowsTheEntrysFileOrTheBlankPage)
{
    struct Case {
        const char* selected;   // "" for none
        const char* topicFile;  // given to the selected entry, unless null
        const char* shown;      // file name; "" for nothing
    };
    const Case cases[] = {
        {"A", nullptr, "a.htm"},           {"H", nullptr, "blank.htm"},  // a header
        {"T", nullptr, "blank.htm"},                                     // the title entry
        {"", nullptr, "blank.htm"},                                      // no selection
        {"B", "gone.htm", "blank.htm"},                                  // deleted from disk
        {"B", "b.htm#part", "b.htm#part"},                               // opens at the anchor
        {"B", "b.htm#", "b.htm"},          {"B", "", "blank.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        Rig rig;
        rig.select(c.selected);
        if (c.topicFile != nullptr)
            rig.entry(c.selected).topicFile = *c.topicFile ? rig.file(c.topicFile) : "";
        rig.preview.pageShown();
        EXPECT_EQ(rig.shown(), std::vector<std::string>{rig.file(c.shown)});
        EXPECT_EQ(rig.desktop.beeps, 0);
    }
}

TEST(PreviewShow, KeepsThePageWhenTheBlankPageIsMissing)
{
    Rig rig;
    std::filesystem::remove(rig.file("blank.htm"));
    rig.select("A");
    rig.preview.pageShown();
    rig.select("H");
    rig.preview.pageShown();
    EXPECT_EQ(rig.shown(), std::vector<std::string>{rig.file("a.htm")});
    EXPECT_TRUE(rig.desktop.finished());
}

TEST(PreviewShow, CreatesTheBrowserOnlyToShowAPage)
{
    Rig rig;
    rig.preview.refresh();
    rig.desktop.answerMessage(MessageAnswer::Ok);
    rig.preview.keywordFromSelection();
    EXPECT_FALSE(rig.host.created);
    rig.select("A");
    rig.preview.previewSelected();
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"preview page", "browser created"}));
    rig.preview.refresh();
    EXPECT_EQ(rig.shown(), (std::vector<std::string>{rig.file("a.htm"), "refresh"}));
}

TEST(PreviewSteps, PreviousWalksBackThroughCollapsedEntriesAndStopsBeforeTheTitle)
{
    Rig rig;
    rig.select("B");
    rig.preview.previous();
    rig.preview.previous();
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"select A1", "browser created", "select A"}));
    EXPECT_EQ(rig.shown(), (std::vector<std::string>{rig.file("a1.htm"), rig.file("a.htm")}));
    EXPECT_EQ(rig.desktop.beeps, 0);
    rig.preview.previous();
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_EQ(rig.host.selected, &rig.entry("A"));
    EXPECT_EQ(rig.shown().size(), 2u);

    Rig title;
    title.select("T");
    title.preview.previous();
    title.select("");
    title.preview.previous();
    EXPECT_EQ(title.desktop.beeps, 1) << "only without a selection";
    EXPECT_TRUE(title.host.events.empty());
}

TEST(PreviewSteps, NextBeepsOnArrivingAtTheLastEntryAndAfter)
{
    Rig rig;
    rig.select("T");
    std::vector<int> beeps;
    std::vector<std::string> selected;
    for (int press = 0; press < 6; ++press) {
        rig.preview.next();
        beeps.push_back(rig.desktop.beeps);
        selected.push_back(rig.host.selected->caption);
    }
    EXPECT_EQ(selected, (std::vector<std::string>{"A", "A1", "B", "H", "H", "H"}));
    EXPECT_EQ(beeps, (std::vector<int>{0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(rig.shown().back(), rig.file("blank.htm")) << "the header shows the blank page";

    Rig none;
    none.preview.next();
    EXPECT_EQ(none.desktop.beeps, 1);
    EXPECT_FALSE(none.host.created);
}

TEST(PreviewSteps, DisplayOrderCountsEntriesBesideTheTitle)
{
    Project project("T");
    add(project.titleEntry(), "A");
    ContentsEntry& x = add(project.root(), "X");
    add(add(x, "X1"), "X2");
    add(project.root(), "Y");
    const std::vector<std::pair<const char*, const char*>> order = {
        {"T", "A"}, {"A", "X"}, {"X", "X1"}, {"X1", "X2"}, {"X2", "Y"}};
    for (const auto& [from, to] : order) {
        EXPECT_EQ(nextInDisplayOrder(entryNamed(project, from)), &entryNamed(project, to)) << from;
        EXPECT_EQ(previousInDisplayOrder(entryNamed(project, to)), &entryNamed(project, from)) << to;
    }
    EXPECT_EQ(nextInDisplayOrder(entryNamed(project, "Y")), nullptr);
    EXPECT_EQ(previousInDisplayOrder(entryNamed(project, "T")), nullptr);
}

TEST(PreviewLinks, APageReachedByALinkSelectsItsTopic)
{
    Rig rig;
    rig.select("A");
    rig.preview.pageShown();
    rig.preview.navigateComplete(rig.file("a.htm"));
    EXPECT_EQ(rig.preview.currentDocument(), rig.file("a.htm"));
    rig.preview.navigateComplete(rig.dir.path().string() + "/./b.htm");  // a link to B
    rig.preview.navigateComplete(rig.file("elsewhere.htm"));             // not in the contents
    rig.preview.navigateComplete(rig.file("blank.htm"));
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"browser created", "select B"}));
    EXPECT_EQ(rig.preview.currentDocument(), rig.file("blank.htm"));
    EXPECT_EQ(rig.shown().size(), 1u) << "the page is not loaded twice";
}

TEST(PreviewKeyword, TheSelectedTextBecomesAKeywordForThePageShown)
{
    struct Case {
        const char* selection;
        const char* keyword;  // "" for none added
    };
    const Case cases[] = {
        {"Installation", "Installation"},
        {"  two\nlines\r\n", "two lines"},
        {"", ""},
        {" \n ", ""},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.select("H");
        rig.preview.pageShown();  // the blank page
        rig.preview.navigateComplete(rig.file("blank.htm"));
        rig.host.scriptedBrowser.selection = c.selection;
        if (*c.keyword == '\0')
            rig.desktop.answerMessage(MessageAnswer::Ok);
        rig.preview.keywordFromSelection();
        if (*c.keyword == '\0') {
            EXPECT_TRUE(rig.project.keywords.empty());
            ASSERT_EQ(rig.desktop.messages.size(), 1u);
            EXPECT_EQ(rig.desktop.messages[0].text, loadText(rig.settings, 152));
            EXPECT_EQ(rig.desktop.messages[0].icon, MessageIcon::Information);
        } else {
            EXPECT_EQ(rig.project.keywords, (std::vector<KeywordEntry>{{c.keyword, rig.file("blank.htm")}}));
        }
        EXPECT_TRUE(rig.desktop.finished());
    }
}

TEST(PreviewEditors, StartTheRightProgramWithTheFileAsOneArgument)
{
    struct Case {
        const char* command;  // "page notepad", "page html", "entry notepad", "entry html"
        const char* selected;
        const char* htmlEditor;
        const char* expected;  // "" for nothing; "beep"; "no editor"
    };
    const Case cases[] = {
        {"page notepad", "A", "", "text editor DIR/a.htm"},
        {"page notepad", "", "", "beep"},  // nothing shown yet
        {"page html", "A", "sh %f", "html editor [sh] [%f] file [DIR/a.htm] in []"},
        {"page html", "", "sh", "beep"},
        {"page html", "A", "", "no editor"},
        {"page html", "A", "/no/such/editor", "no editor"},
        {"entry notepad", "P", "", "text editor DIR/my page.htm"},
        {"entry notepad", "L", "", ""},  // not editable
        {"entry notepad", "G", "", ""},  // gone from disk
        {"entry notepad", "T", "", ""},
        {"entry html", "P", "\"/bin/sh\" -e", "html editor [/bin/sh] [-e] file [DIR/my page.htm] in [DIR/]"},
        {"entry html", "G", "sh", "html editor [sh] file [DIR/gone.txt] in [DIR/]"},  // the editor may create it
        {"entry html", "L", "sh", ""},
        {"entry html", "", "sh", ""},
        {"entry html", "L", "", "no editor"},  // the editor is asked for first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " / " + c.selected + " / " + c.htmlEditor);
        Rig rig;
        const std::string dir = rig.dir.path().string();
        rig.project.titleEntry().appendChild(std::make_unique<ContentsEntry>("P", 8, rig.file("my page.htm")));
        rig.project.titleEntry().appendChild(std::make_unique<ContentsEntry>("L", 8, rig.file("logo.png")));
        rig.project.titleEntry().appendChild(std::make_unique<ContentsEntry>("G", 8, rig.file("gone.txt")));
        rig.settings.write("HtmlEditor", c.htmlEditor);
        const std::string command = c.command;
        if (command.starts_with("page") && *c.selected != '\0') {
            rig.select(c.selected);
            rig.preview.pageShown();
            rig.preview.navigateComplete(rig.entry(c.selected).topicFile);
        }
        rig.select(c.selected);
        rig.host.events.clear();
        const std::string expected = c.expected;
        if (expected == "no editor")
            rig.desktop.answerMessage(MessageAnswer::Ok);
        if (command == "page notepad")
            rig.preview.editDocumentInNotepad();
        else if (command == "page html")
            rig.preview.editDocumentInHtmlEditor();
        else if (command == "entry notepad")
            rig.preview.editEntryInNotepad();
        else
            rig.preview.editEntryInHtmlEditor();

        std::string got = rig.host.events.empty() ? "" : rig.host.events.front();
        while (got.find(dir) != std::string::npos)
            got.replace(got.find(dir), dir.size(), "DIR");
        if (expected == "beep") {
            EXPECT_EQ(rig.desktop.beeps, 1);
            EXPECT_EQ(got, "");
        } else if (expected == "no editor") {
            ASSERT_EQ(rig.desktop.messages.size(), 1u);
            EXPECT_EQ(rig.desktop.messages[0].text, loadText(rig.settings, 100));
            EXPECT_EQ(rig.host.events, std::vector<std::string>{"settings dialog"});
        } else {
            EXPECT_EQ(got, expected);
            EXPECT_EQ(rig.desktop.beeps, 0);
        }
        EXPECT_TRUE(rig.desktop.finished());
    }
}

TEST(PreviewEditors, FindTheHtmlEditorByPathOrOnPath)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "not-executable", "x");
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"sh", true},
        {"sh %U", true},
        {"/bin/sh --edit", true},
        {"\"/bin/sh\"", true},
        {"no-such-program-here %f", false},
        {"/no/such/editor", false},
        {dir.file("not-executable"), false},
        {dir.path().string(), false},  // a folder
        {"   ", false},
    };
    for (const auto& [command, found] : cases)
        EXPECT_EQ(htmlEditorFound(command), found) << command;
}

TEST(PreviewShow, LocatesTopicFilesWithAnchors)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.htm", "x");
    test::writeFile(dir.path() / "odd#name.htm", "x");
    const std::string d = dir.path().string() + "/";
    const std::pair<std::string, std::optional<TopicLocation>> cases[] = {
        {d + "a.htm", TopicLocation{d + "a.htm", ""}},
        {d + "a.htm#intro", TopicLocation{d + "a.htm", "intro"}},
        {d + "odd#name.htm", TopicLocation{d + "odd#name.htm", ""}},  // the whole name first
        {d + "odd#name.htm#x", TopicLocation{d + "odd#name.htm", "x"}},
        {d + "b.htm#intro", std::nullopt},
        {d, std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [reference, location] : cases)
        EXPECT_EQ(locateTopic(reference), location) << reference;
}

}  // namespace
}  // namespace doxel
