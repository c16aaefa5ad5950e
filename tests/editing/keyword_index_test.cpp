#include "editing/keyword_index.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "core/text_compare.h"
#include "editing_fixture.h"

namespace doxel {
namespace {

class ScriptedKeywordDesktop final : public KeywordDesktop {
public:
    void beep() override { ++beeps; }
    std::string text(int id) override
    {
        return id == text_id::kKeywordFor ? "Keyword for %1:" : "text " + std::to_string(id);
    }
    std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                       const std::string& text) override
    {
        asked.push_back(caption + " [" + text + "]");
        prompts.push_back(prompt);
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<KeywordEntry> askProperties(const KeywordEntry& current,
                                              const std::vector<std::string>& files) override
    {
        asked.push_back("properties " + current.keyword + " [" + std::to_string(files.size()) + " files]");
        return properties;
    }
    bool askYesNo(int textId, int captionId) override
    {
        asked.push_back("question " + std::to_string(textId) + "/" + std::to_string(captionId));
        return yes;
    }

    int beeps = 0;
    std::vector<std::string> asked;
    std::vector<std::string> prompts;
    std::optional<KeywordEntry> properties;
    std::deque<std::optional<std::string>> answers;  // none left: Cancel
    bool yes = false;
};

// The view's copy of the rows, kept only from the observer's reports the
// way a Qt model keeps them.
class ShadowList final : public KeywordObserver {
public:
    explicit ShadowList(KeywordIndex& index) : rows(index.rows()), m_index(index) { index.setObserver(this); }
    ~ShadowList() override { m_index.setObserver(nullptr); }

    void rowsAboutToBeInserted(std::size_t first, std::size_t last) override { begin(first, last); }
    void rowsInserted() override
    {
        end();
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(m_first),
                    m_index.rows().begin() + static_cast<std::ptrdiff_t>(m_first),
                    m_index.rows().begin() + static_cast<std::ptrdiff_t>(m_last) + 1);
    }
    void rowsAboutToBeRemoved(std::size_t first, std::size_t last) override { begin(first, last); }
    void rowsRemoved() override
    {
        end();
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(m_first),
                   rows.begin() + static_cast<std::ptrdiff_t>(m_last) + 1);
    }
    void rowAboutToBeMoved(std::size_t row, std::size_t destination) override
    {
        if (destination == row || destination == row + 1)
            problems += "a move that stays put; ";
        begin(row, destination);
    }
    void rowMoved() override
    {
        end();
        KeywordEntry moved = rows[m_first];
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(m_first));
        const std::size_t to = m_last > m_first ? m_last - 1 : m_last;
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(to), moved);
    }
    void orderAboutToChange() override { begin(0, 0); }
    void orderChanged() override
    {
        end();
        rows = m_index.rows();
    }
    void rowsChanged(std::size_t first, std::size_t last) override
    {
        for (std::size_t i = first; i <= last; ++i)
            rows[i] = m_index.rows()[i];
    }
    void selectionChanged(std::optional<std::size_t> row) override { selected = row; }
    void autoSortChanged(bool on) override { movesEnabled = !on; }

    std::string check() const
    {
        std::string out = problems;
        if (m_pending)
            out += "a change never ended; ";
        if (rows != m_index.rows())
            out += "rows differ; ";
        if (selected != m_index.selected())
            out += "selection differs; ";
        return out;
    }

    std::vector<KeywordEntry> rows;
    std::optional<std::size_t> selected;
    bool movesEnabled = true;

private:
    void begin(std::size_t first, std::size_t last)
    {
        if (m_pending)
            problems += "a change began inside another; ";
        m_pending = true;
        m_first = first;
        m_last = last;
    }
    void end()
    {
        if (!m_pending)
            problems += "a change ended that never began; ";
        m_pending = false;
    }

    KeywordIndex& m_index;
    std::size_t m_first = 0;
    std::size_t m_last = 0;
    bool m_pending = false;
    std::string problems;
};

// A keyword list written as "a:f1 b:f2", with the contents tree "T+(A B:1)"
// whose topic A has the file /help/a.htm and header B none.
struct Rig {
    explicit Rig(const std::string& list = {})
    {
        test::buildTree(project, "T+(A B)");
        entry("A").topicFile = "/help/a.htm";
        std::istringstream words(list);
        for (std::string word; words >> word;) {
            const auto colon = word.find(':');
            project.keywords.push_back(
                {word.substr(0, colon), colon == std::string::npos ? "" : word.substr(colon + 1)});
        }
        project.modified = false;
        view.rows = project.keywords;
    }

    ContentsEntry& entry(std::string_view caption) { return test::entryNamed(project, caption); }
    std::string text() const
    {
        std::string out;
        for (const KeywordEntry& row : project.keywords)
            out += (out.empty() ? "" : " ") + row.keyword + (row.topicFile.empty() ? "" : ":" + row.topicFile);
        return out;
    }
    std::string keywords() const
    {
        std::string out;
        for (const KeywordEntry& row : project.keywords)
            out += (out.empty() ? "" : " ") + row.keyword;
        return out;
    }
    // The user selects a row in the view.
    void select(std::optional<std::size_t> row)
    {
        index.select(row);
        view.selected = index.selected();
    }
    void selectKeyword(const std::string& keyword)
    {
        for (std::size_t i = 0; i < project.keywords.size(); ++i) {
            if (project.keywords[i].keyword == keyword) {
                select(i);
                return;
            }
        }
        FAIL() << "no keyword " << keyword;
    }
    std::string selectedKeyword() const
    {
        return index.selected() ? project.keywords[*index.selected()].keyword : "(none)";
    }

    Project project;
    ScriptedKeywordDesktop desktop;
    KeywordIndex index{project, desktop};
    ShadowList view{index};
};

TEST(AddKeyword, NeedsASelectedTopic)
{
    Rig rig("x:/help/x.htm");
    const ContentsEntry* refused[] = {nullptr, &rig.entry("T"), &rig.entry("B")};
    for (const ContentsEntry* selected : refused) {
        rig.desktop.answers = {"never"};
        rig.index.add(selected);
        EXPECT_TRUE(rig.desktop.asked.empty()) << "asked nothing";
    }
    EXPECT_EQ(rig.desktop.beeps, 3);
    EXPECT_EQ(rig.text(), "x:/help/x.htm");
    EXPECT_FALSE(rig.project.modified);
}

TEST(AddKeyword, FromAPageThatIsNoLocalFileIsRefusedWithABeep)
{
    Rig rig("x:/help/x.htm");
    rig.index.addKeyword("web", "");
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_EQ(rig.text(), "x:/help/x.htm");
    EXPECT_FALSE(rig.project.modified);
}

TEST(AddKeyword, TakesTheAnswerAsTypedForTheSelectedTopic)
{
    struct Case {
        std::optional<std::string> answer;
        const char* expected;
    };
    const Case cases[] = {
        {"alpha", "x alpha"},
        {"  two words ", "x   two words "},                  // not trimmed
        {"line\nbreak\aand bell", "x line break and bell"},  // one line of the project file
        {std::nullopt, "x"},                                 // Cancel
        {"", "x"},
    };
    for (const auto& c : cases) {
        Rig rig("x");
        rig.desktop.answers = {c.answer};
        rig.index.add(&rig.entry("A"));
        EXPECT_EQ(rig.desktop.asked, std::vector<std::string>{"Add keyword []"});
        EXPECT_EQ(rig.desktop.prompts, std::vector<std::string>{"Keyword for a.htm:"});
        EXPECT_EQ(rig.keywords(), c.expected);
        const bool added = rig.project.keywords.size() == 2;
        EXPECT_EQ(rig.project.modified, added);
        if (added) {
            EXPECT_EQ(rig.project.keywords[1].topicFile, "/help/a.htm");
            EXPECT_EQ(rig.index.selected(), 1u) << "the new row is shown selected";
        }
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(AddKeyword, GoesToItsSortedPlaceWhileSortingIsAutomatic)
{
    struct Case {
        std::vector<const char*> added;
        const char* expected;
    };
    const Case cases[] = {
        {{"Zebra", "apple"}, "apple Zebra"},  // words, not bytes
        {{"b", "B", "a"}, "a b B"},
        {{"m", "m", "a", "z", "m"}, "a m m m z"},
        {{"résumé", "resume", "rest"}, "rest resume résumé"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.index.setAutoSort(true);
        for (const char* keyword : c.added) {
            rig.desktop.answers = {keyword};
            rig.index.add(&rig.entry("A"));
            EXPECT_EQ(rig.selectedKeyword(), keyword);
        }
        EXPECT_EQ(rig.keywords(), c.expected);
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(EditKeyword, ChangesOnlyTheKeywordOfTheSelectedRow)
{
    struct Case {
        std::optional<std::string> answer;
        const char* expected;
        bool modified;
    };
    const Case cases[] = {
        {"new", "a:f1 new:f2 c:f3", true},
        {std::nullopt, "a:f1 b:f2 c:f3", false},  // Cancel
        {"", "a:f1 b:f2 c:f3", false},            // an emptied answer
        {"b", "a:f1 b:f2 c:f3", false},           // the same text
        {"two\tparts", "a:f1 two parts:f2 c:f3", true},
    };
    for (const auto& c : cases) {
        Rig rig("a:f1 b:f2 c:f3");
        rig.select(1);
        rig.project.modified = false;
        rig.desktop.answers = {c.answer};
        rig.index.edit();
        EXPECT_EQ(rig.desktop.asked, std::vector<std::string>{"text 71 [b]"});
        EXPECT_EQ(rig.text(), c.expected);
        EXPECT_EQ(rig.project.modified, c.modified);
        EXPECT_EQ(rig.view.check(), "");
    }

    Rig none("a");
    none.index.edit();
    EXPECT_EQ(none.desktop.beeps, 1);
    EXPECT_TRUE(none.desktop.asked.empty());
}

TEST(EditKeyword, PropertiesChangeTheKeywordAndItsFile)
{
    struct Case {
        std::optional<KeywordEntry> answer;
        const char* expected;
    };
    const Case cases[] = {
        {KeywordEntry{"b", "f9"}, "a:f1 b:f9 c:f3"},
        {KeywordEntry{"b", ""}, "a:f1 b c:f3"},  // no file
        {KeywordEntry{"z", "f1"}, "a:f1 z:f1 c:f3"},
        {KeywordEntry{"", "f1"}, "a:f1 b:f1 c:f3"},  // an empty keyword keeps the old one
        {std::nullopt, "a:f1 b:f2 c:f3"},
    };
    for (const auto& c : cases) {
        Rig rig("a:f1 b:f2 c:f3");
        rig.project.fileList.assign({"f1", "f2", "f9"});
        rig.select(1);
        rig.desktop.properties = c.answer;
        rig.index.editProperties();
        EXPECT_EQ(rig.desktop.asked, std::vector<std::string>{"properties b [3 files]"});
        EXPECT_EQ(rig.text(), c.expected);
        EXPECT_EQ(rig.view.check(), "");
    }
    Rig none("a");
    none.index.editProperties();
    EXPECT_EQ(none.desktop.beeps, 1);
}

TEST(EditKeyword, MovesTheRowToItsPlaceWhileSortingIsAutomatic)
{
    struct Case {
        const char* selected;
        const char* answer;
        const char* expected;
    };
    const Case cases[] = {
        {"b", "z", "a c d z"},   {"d", "a", "a a b c"}, {"b", "cc", "a c cc d"},
        {"a", "aa", "aa b c d"}, {"c", "C", "a b C d"},
    };
    for (const auto& c : cases) {
        Rig rig("a b c d");
        rig.index.setAutoSort(true);
        rig.selectKeyword(c.selected);
        rig.desktop.answers = {c.answer};
        rig.index.edit();
        EXPECT_EQ(rig.keywords(), c.expected) << c.selected << " -> " << c.answer;
        EXPECT_EQ(rig.selectedKeyword(), c.answer) << "the edited row stays selected";
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(EditKeyword, InPlaceKeepsTheOldKeywordForAnEmptyText)
{
    Rig rig("a:f1 b:f2");
    rig.index.setKeyword(0, "");
    rig.index.setKeyword(7, "out of range");
    EXPECT_EQ(rig.text(), "a:f1 b:f2");
    EXPECT_FALSE(rig.project.modified);
    rig.index.setKeyword(0, "c");
    EXPECT_EQ(rig.text(), "c:f1 b:f2");
    EXPECT_TRUE(rig.project.modified);
}

TEST(MoveKeyword, ExchangesWithTheNeighbourAndKeepsTheSelection)
{
    struct Case {
        const char* selected;  // "" for none
        bool up;
        bool autoSort;
        const char* expected;
        const char* selectedAfter;
    };
    const Case cases[] = {
        {"b", true, false, "b:f2 a:f1 c:f3", "b"},
        {"a", true, false, "a:f1 b:f2 c:f3", "a"},  // the first row stays
        {"a", false, false, "b:f2 a:f1 c:f3", "a"},
        {"c", false, false, "a:f1 b:f2 c:f3", "c"},  // the last row stays
        {"", true, false, "a:f1 b:f2 c:f3", "(none)"},
        {"b", true, true, "a:f1 b:f2 c:f3", "b"},  // sorted order holds
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.selected) + (c.up ? " up" : " down"));
        Rig rig("a:f1 b:f2 c:f3");
        rig.index.setAutoSort(c.autoSort);
        if (*c.selected != '\0')
            rig.selectKeyword(c.selected);
        c.up ? rig.index.moveUp() : rig.index.moveDown();
        EXPECT_EQ(rig.text(), c.expected);
        EXPECT_EQ(rig.selectedKeyword(), c.selectedAfter);
        EXPECT_EQ(rig.desktop.beeps, 0);
        EXPECT_EQ(rig.view.check(), "");
    }

    Rig equal("a:f1 m:f2 m:f3");
    equal.index.setAutoSort(true);
    equal.select(2);
    equal.index.moveUp();
    EXPECT_EQ(equal.text(), "a:f1 m:f3 m:f2") << "equal keywords may change places while sorted";
}

TEST(MoveKeyword, UpAndDownAreOfferedOnlyWhileSortingIsNotAutomatic)
{
    Rig rig("b a");
    EXPECT_TRUE(rig.index.movesEnabled());
    rig.index.setAutoSort(true);
    EXPECT_FALSE(rig.index.movesEnabled());
    EXPECT_FALSE(rig.view.movesEnabled);
    EXPECT_EQ(rig.keywords(), "a b") << "sorted at once";
    rig.index.setAutoSort(false);
    EXPECT_TRUE(rig.view.movesEnabled);
    EXPECT_EQ(rig.keywords(), "a b") << "the order stays";
}

TEST(SortKeywords, HeaderClicksAlternateStartingAscending)
{
    Rig rig("b:1 C:2 a:3 b:4");
    rig.index.headerClicked(1);
    EXPECT_EQ(rig.text(), "b:1 C:2 a:3 b:4") << "the file column sorts nothing";
    EXPECT_FALSE(rig.project.modified);
    rig.selectKeyword("C");
    rig.index.headerClicked(0);
    EXPECT_EQ(rig.text(), "a:3 b:1 b:4 C:2");
    EXPECT_EQ(rig.selectedKeyword(), "C") << "the selection follows its row";
    rig.index.headerClicked(0);
    EXPECT_EQ(rig.text(), "C:2 b:1 b:4 a:3") << "equal keywords keep their order";
    rig.index.headerClicked(0);
    EXPECT_EQ(rig.keywords(), "a b b C");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(SortKeywords, AutomaticSortingSortsAgainAfterADescendingHeaderSort)
{
    Rig rig("a b c");
    rig.index.setAutoSort(true);
    rig.index.headerClicked(0);
    rig.index.headerClicked(0);
    EXPECT_EQ(rig.keywords(), "c b a");
    rig.desktop.answers = {"bb"};
    rig.index.add(&rig.entry("A"));
    EXPECT_EQ(rig.keywords(), "a b bb c");
    EXPECT_EQ(rig.selectedKeyword(), "bb");
    EXPECT_EQ(rig.view.check(), "");
}

TEST(DeleteKeyword, RemovesTheSelectedRowAndSelectsItsSuccessor)
{
    struct Case {
        const char* selected;
        const char* expected;
        const char* selectedAfter;
    };
    const Case cases[] = {{"a", "b c", "b"}, {"b", "a c", "c"}, {"c", "a b", "b"}};
    for (const auto& c : cases) {
        Rig rig("a b c");
        rig.selectKeyword(c.selected);
        rig.project.modified = false;
        rig.index.deleteSelected();
        EXPECT_EQ(rig.keywords(), c.expected);
        EXPECT_EQ(rig.selectedKeyword(), c.selectedAfter);
        EXPECT_TRUE(rig.project.modified);
        EXPECT_EQ(rig.view.check(), "");
    }

    Rig last("a");
    last.select(0);
    last.index.deleteSelected();
    EXPECT_EQ(last.selectedKeyword(), "(none)");
    last.index.deleteSelected();
    EXPECT_EQ(last.desktop.beeps, 1);
    EXPECT_EQ(last.view.check(), "");
}

TEST(DeleteAllKeywords, AsksFirstAndBeepsOnAnEmptyList)
{
    Rig empty;
    empty.index.deleteAll();
    EXPECT_EQ(empty.desktop.beeps, 1);
    EXPECT_TRUE(empty.desktop.asked.empty());

    for (const bool yes : {false, true}) {
        Rig rig("a b");
        rig.desktop.yes = yes;
        rig.index.deleteAll();
        EXPECT_EQ(rig.desktop.asked, std::vector<std::string>{"question 151/150"});
        EXPECT_EQ(rig.keywords(), yes ? "" : "a b");
        EXPECT_EQ(rig.project.modified, yes);
        EXPECT_EQ(rig.view.check(), "");
    }
}

TEST(KeywordList, SelectingAnotherRowMarksTheProjectModified)
{
    Rig rig("a b");
    rig.select(std::nullopt);
    EXPECT_FALSE(rig.project.modified);
    rig.select(1);
    EXPECT_TRUE(rig.project.modified);
    rig.project.modified = false;
    rig.select(1);
    EXPECT_FALSE(rig.project.modified) << "the same row again changes nothing";
    rig.select(9);
    EXPECT_EQ(rig.index.selected(), std::nullopt) << "a row that does not exist selects none";
}

TEST(KeywordList, KeysRunTheirCommands)
{
    struct Case {
        KeywordKey key;
        const char* expected;
        int asked;
    };
    const Case cases[] = {
        {KeywordKey::CtrlUp, "b a c", 0},
        {KeywordKey::CtrlDown, "a c b", 0},
        {KeywordKey::Delete, "a c", 0},
        {KeywordKey::F2, "a b c", 1},
    };
    for (const auto& c : cases) {
        Rig rig("a b c");
        rig.select(1);
        rig.index.keyDown(c.key);
        EXPECT_EQ(rig.keywords(), c.expected);
        EXPECT_EQ(static_cast<int>(rig.desktop.asked.size()), c.asked);
    }
}

TEST(KeywordList, AnOpenedListIsSortedWithoutBeingModifiedWhileSortingIsAutomatic)
{
    Rig rig("a b");
    rig.index.setAutoSort(true);
    rig.select(1);
    Project opened;
    opened.keywords = {{"z", ""}, {"m", ""}};
    rig.project.keywords = opened.keywords;
    rig.project.modified = false;
    rig.index.projectReplaced();
    EXPECT_EQ(rig.keywords(), "m z");
    EXPECT_FALSE(rig.project.modified);
    EXPECT_EQ(rig.index.selected(), std::nullopt);
    EXPECT_TRUE(rig.index.autoSort());
}

// Many random commands on a sorted list: the list stays sorted, the view's
// copy follows every change, and the selection stays on its row.
TEST(KeywordList, StaysSortedAndInStepWithItsViewUnderRandomCommands)
{
    Rig rig;
    rig.index.setAutoSort(true);
    std::mt19937 random(7);
    const char* words[] = {"alpha", "Beta", "beta", "gamma", "Delta", "épée", "epee", "x", "10", "2", "co-op", "coop"};
    for (int step = 0; step < 2000; ++step) {
        const std::string word = words[random() % std::size(words)];
        const std::size_t size = rig.project.keywords.size();
        switch (random() % 6) {
        case 0:
        case 1:
            rig.index.addKeyword(word, "/f" + std::to_string(step));
            break;
        case 2:
            if (size > 0) {
                rig.select(random() % size);
                const std::string file = rig.project.keywords[*rig.index.selected()].topicFile;
                rig.desktop.answers = {word};
                rig.index.edit();
                ASSERT_EQ(rig.project.keywords[*rig.index.selected()].topicFile, file);
                ASSERT_EQ(rig.selectedKeyword(), word);
            }
            break;
        case 3:
            if (size > 0) {
                rig.select(random() % size);
                rig.index.deleteSelected();
            }
            break;
        case 4:
            if (size > 0) {
                rig.select(random() % size);
                random() % 2 ? rig.index.moveUp() : rig.index.moveDown();
            }
            break;
        case 5:
            if (random() % 10 == 0)
                rig.index.headerClicked(0);
            break;
        }
        ASSERT_EQ(rig.view.check(), "") << "step " << step;
    }
    rig.desktop.answers = {"zzz"};
    rig.index.add(&rig.entry("A"));
    EXPECT_TRUE(
        std::is_sorted(rig.project.keywords.begin(), rig.project.keywords.end(),
                       [](const KeywordEntry& a, const KeywordEntry& b) { return captionLess(a.keyword, b.keyword); }));
}

}  // namespace
}  // namespace doxel
