#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/project.h"
#include "editing/edit_history.h"

namespace doxel {

// What a help id dialog collects. The number stays as typed ("1001",
// "0x3E9") so that a number out of range is refused with a message instead
// of being cut to fit.
struct HelpIdInput {
    std::string name;
    std::string number;
    std::string topicFile;  // full path, with an anchor when it has one
    bool operator==(const HelpIdInput&) const = default;
};

// Why a help id was refused: the text id of the message, what it names
// (%1: the name or number as typed) and, for a duplicate, the topic that
// already has it (%2, shown relative to the project folder).
struct HelpIdRefusal {
    int textId = 0;
    std::string subject;
    std::string otherTopic;
    bool operator==(const HelpIdRefusal&) const = default;
};

// The message of a refusal: `text`, the refusal's text in the current
// language, with %1 and %2 filled in.
std::string refusalMessage(std::string text, const HelpIdRefusal& refusal);

// `topic` as the author reads it: relative to the project folder, "/"
// separated, with its anchor ("pages/print.htm#preview"); the full path when
// the project has no file yet.
std::string shownTopic(const std::string& topic, const std::string& projectFile);

// Checks `input` for the project's list, as the id at index `replacing` of
// project.helpIds (none: as a new id). The name must be one an application
// can spell (isHelpIdName), the number lie in 1 to kMaxHelpIdNumber, the
// topic be given, and neither the name nor the number be another id's.
// Names are compared without regard to letter case (ASCII), so that a
// compiler or reader that folds case can never take IDH_Print and
// IDH_PRINT for one id and open the wrong topic for one of them.
std::optional<HelpIdRefusal> checkHelpId(const Project& project, const HelpIdInput& input,
                                         std::optional<std::size_t> replacing);
// The help id `input` stands for once checkHelpId passed it.
HelpId helpIdFrom(const HelpIdInput& input);
HelpIdInput inputFrom(const HelpId& id);

// The index in project.helpIds of the first help id of `topic`, compared
// exactly; none when the topic has none (or `topic` is empty).
std::optional<std::size_t> firstHelpIdOf(const Project& project, const std::string& topic);

// An entry's topic changed from `oldTopic` to `newTopic`: its help ids go
// with it, unless another entry still opens the old page (then they still
// lead somewhere, and moving them would change what an application opens).
// An id with an anchor of the old page ("a.htm#print") keeps its anchor on
// the new one. A header (`newTopic` empty) takes no ids. Returns how many
// moved. Opens no undo step: the caller's step holds the change.
std::size_t carryHelpIds(Project& project, const std::string& oldTopic, const std::string& newTopic);

// What the help id commands ask of the user.
class HelpIdDesktop {
public:
    virtual ~HelpIdDesktop() = default;

    // A text of the string table in the current language.
    virtual std::string text(int id) = 0;
    // The help id's name, number and topic, the topic chosen among
    // `topics` (full paths); nothing when cancelled.
    virtual std::optional<HelpIdInput> askHelpId(const HelpIdInput& current,
                                                 const std::vector<std::string>& topics) = 0;
    // Says why a value was refused.
    virtual void showRefusal(const std::string& message) = 0;
    virtual void beep() = 0;
};

enum class HelpIdColumn { Name, Number, Topic };

// The project's help ids as the Help ids list shows them: sorted by one
// column, up or down, without changing the order the project keeps them in
// (sorting is how the author looks at them, not a change of the project).
//
// Add, edit and delete are one undo step each and set the modified flag; a
// refused value changes nothing and leaves no step. A refused value is
// asked for again, filled in as the author typed it.
class HelpIdList {
public:
    HelpIdList(Project& project, HelpIdDesktop& desktop);
    HelpIdList(const HelpIdList&) = delete;
    HelpIdList& operator=(const HelpIdList&) = delete;

    // Null: no step is recorded.
    void setHistory(EditHistory* history) { m_history = history; }

    std::size_t size() const { return m_order.size(); }
    const HelpId& row(std::size_t row) const { return m_project.helpIds[m_order[row]]; }
    // The row that shows the id named `name` (exactly); none when no id
    // has that name.
    std::optional<std::size_t> rowNamed(const std::string& name) const;

    HelpIdColumn sortColumn() const { return m_column; }
    bool sortAscending() const { return m_ascending; }
    // Sorts by `column`; the column it is sorted by already flips the
    // direction.
    void sortBy(HelpIdColumn column);
    // The project's list changed from outside (undo, open): sorts it again.
    void refresh();

    // The project's topic files, the choices of a help id's topic.
    std::vector<std::string> topics() const;

    // Asks for a new id, its number proposed (nextFreeHelpIdNumber) and its
    // topic `topic` (may be empty); the row of the new id, none when
    // cancelled.
    std::optional<std::size_t> add(const std::string& topic = {});
    // Asks for the id of `row`'s new values; its row afterwards, none when
    // cancelled or `row` is no row.
    std::optional<std::size_t> edit(std::size_t row);
    // The id of `row` goes at once (undo brings it back).
    void remove(std::size_t row);

    // The same without asking: the refusal, or nothing when the change was
    // made (or there was nothing to change: the same values, no such row).
    std::optional<HelpIdRefusal> insert(const HelpIdInput& input);
    std::optional<HelpIdRefusal> replace(std::size_t row, const HelpIdInput& input);

private:
    // Asks until the author gives acceptable values or cancels; `index` is
    // the id being edited in project.helpIds.
    std::optional<HelpIdInput> ask(HelpIdInput current, std::optional<std::size_t> index);
    void sort();

    Project& m_project;
    HelpIdDesktop& m_desktop;
    EditHistory* m_history = nullptr;
    // Indexes into project.helpIds in the shown order.
    std::vector<std::size_t> m_order;
    HelpIdColumn m_column = HelpIdColumn::Name;
    bool m_ascending = true;
};

}  // namespace doxel
