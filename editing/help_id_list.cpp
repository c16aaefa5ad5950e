#include "editing/help_id_list.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "core/help_ids.h"
#include "core/path_rules.h"
#include "core/text_ids.h"

namespace doxel {
namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && asciiUpper(a) == asciiUpper(b);
}

void replaceFirst(std::string& text, std::string_view mark, const std::string& value)
{
    if (const std::size_t at = text.find(mark); at != std::string::npos)
        text.replace(at, mark.size(), value);
}

}  // namespace

std::string refusalMessage(std::string text, const HelpIdRefusal& refusal)
{
    // %2 first: the typed name may itself hold "%2".
    replaceFirst(text, "%2", refusal.otherTopic);
    replaceFirst(text, "%1", refusal.subject);
    return text;
}

std::string shownTopic(const std::string& topic, const std::string& projectFile)
{
    if (projectFile.empty() || topic.empty())
        return topic;
    std::string shown = projectRelativePath(topic, projectFile);
    std::replace(shown.begin(), shown.end(), '\\', '/');
    return shown;
}

std::optional<HelpIdRefusal> checkHelpId(const Project& project, const HelpIdInput& input,
                                         std::optional<std::size_t> replacing)
{
    const std::string name = trimmed(input.name);
    if (!isHelpIdName(name))
        return HelpIdRefusal{text_id::kBadHelpIdName, name, {}};
    const std::string numberText = trimmed(input.number);
    const std::uint32_t number = helpIdNumber(numberText);
    if (number == 0)
        return HelpIdRefusal{text_id::kBadHelpIdNumber, numberText, {}};
    if (input.topicFile.empty())
        return HelpIdRefusal{text_id::kHelpIdWithoutTopic, name, {}};
    const std::vector<HelpId>& ids = project.helpIds;
    for (std::size_t n = 0; n < ids.size(); ++n) {
        if (n == replacing)
            continue;
        if (sameName(ids[n].name, name))
            return HelpIdRefusal{text_id::kHelpIdNameTaken, ids[n].name,
                                 shownTopic(ids[n].topicFile, project.projectFile)};
        if (ids[n].number == number)
            return HelpIdRefusal{text_id::kHelpIdNumberTaken, std::to_string(number),
                                 shownTopic(ids[n].topicFile, project.projectFile)};
    }
    return std::nullopt;
}

HelpId helpIdFrom(const HelpIdInput& input)
{
    return {trimmed(input.name), helpIdNumber(trimmed(input.number)), input.topicFile};
}

HelpIdInput inputFrom(const HelpId& id)
{
    return {id.name, std::to_string(id.number), id.topicFile};
}

std::optional<std::size_t> firstHelpIdOf(const Project& project, const std::string& topic)
{
    if (topic.empty())
        return std::nullopt;
    const auto& ids = project.helpIds;
    const auto found = std::find_if(ids.begin(), ids.end(), [&](const HelpId& id) { return id.topicFile == topic; });
    if (found == ids.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - ids.begin());
}

std::size_t carryHelpIds(Project& project, const std::string& oldTopic, const std::string& newTopic)
{
    if (oldTopic.empty() || newTopic.empty() || oldTopic == newTopic || project.helpIds.empty())
        return 0;
    const std::string oldPage = topicFileOf(oldTopic);
    bool stillOpened = false;
    forEachEntry(std::as_const(project).root(), [&](const ContentsEntry& entry, int) {
        if (!stillOpened && !entry.topicFile.empty() && topicFileOf(entry.topicFile) == oldPage)
            stillOpened = true;
    });
    if (stillOpened)
        return 0;
    // An entry that opened the page itself gives its anchors to the new
    // page; one that opened an anchor gives only the ids of that anchor.
    const bool wholePage = anchorOf(oldTopic).empty();
    const std::string newPage = topicFileOf(newTopic);
    const bool newHasAnchor = !anchorOf(newTopic).empty();
    std::size_t moved = 0;
    for (HelpId& id : project.helpIds) {
        if (id.topicFile == oldTopic) {
            id.topicFile = newTopic;
        } else if (wholePage && topicFileOf(id.topicFile) == oldPage) {
            id.topicFile = newHasAnchor ? newTopic : newPage + anchorOf(id.topicFile);
        } else {
            continue;
        }
        ++moved;
    }
    if (moved > 0)
        project.modified = true;
    return moved;
}

HelpIdList::HelpIdList(Project& project, HelpIdDesktop& desktop) : m_project(project), m_desktop(desktop)
{
    refresh();
}

std::optional<std::size_t> HelpIdList::rowNamed(const std::string& name) const
{
    for (std::size_t n = 0; n < m_order.size(); ++n) {
        if (row(n).name == name)
            return n;
    }
    return std::nullopt;
}

void HelpIdList::sortBy(HelpIdColumn column)
{
    m_ascending = column == m_column ? !m_ascending : true;
    m_column = column;
    sort();
}

void HelpIdList::refresh()
{
    m_order.resize(m_project.helpIds.size());
    std::iota(m_order.begin(), m_order.end(), std::size_t(0));
    sort();
}

void HelpIdList::sort()
{
    const std::vector<HelpId>& ids = m_project.helpIds;
    const auto compare = [this, &ids](std::size_t left, std::size_t right) {
        const HelpId& a = ids[left];
        const HelpId& b = ids[right];
        int order = 0;
        switch (m_column) {
        case HelpIdColumn::Name:
            order = asciiUpper(a.name).compare(asciiUpper(b.name));
            break;
        case HelpIdColumn::Number:
            order = a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
            break;
        case HelpIdColumn::Topic:
            order = a.topicFile.compare(b.topicFile);
            break;
        }
        if (order == 0)
            order = a.name.compare(b.name);
        return m_ascending ? order < 0 : order > 0;
    };
    std::stable_sort(m_order.begin(), m_order.end(), compare);
}

std::vector<std::string> HelpIdList::topics() const
{
    std::vector<std::string> topics;
    topics.reserve(m_project.fileList.size());
    for (const FileListEntry& file : m_project.fileList)
        topics.push_back(file.path);
    return topics;
}

std::optional<HelpIdInput> HelpIdList::ask(HelpIdInput current, std::optional<std::size_t> index)
{
    const std::vector<std::string> choices = topics();
    for (;;) {
        std::optional<HelpIdInput> answer = m_desktop.askHelpId(current, choices);
        if (!answer)
            return std::nullopt;
        const std::optional<HelpIdRefusal> refusal = checkHelpId(m_project, *answer, index);
        if (!refusal)
            return answer;
        m_desktop.showRefusal(refusalMessage(m_desktop.text(refusal->textId), *refusal));
        current = std::move(*answer);
    }
}

std::optional<std::size_t> HelpIdList::add(const std::string& topic)
{
    const HelpIdInput proposal{{}, std::to_string(nextFreeHelpIdNumber(m_project.helpIds)), topic};
    const std::optional<HelpIdInput> answer = ask(proposal, std::nullopt);
    if (!answer || insert(*answer))
        return std::nullopt;
    return rowNamed(helpIdFrom(*answer).name);
}

std::optional<std::size_t> HelpIdList::edit(std::size_t row)
{
    if (row >= size()) {
        m_desktop.beep();
        return std::nullopt;
    }
    const std::size_t index = m_order[row];
    const std::optional<HelpIdInput> answer = ask(inputFrom(m_project.helpIds[index]), index);
    if (!answer || replace(row, *answer))
        return std::nullopt;
    return rowNamed(helpIdFrom(*answer).name);
}

void HelpIdList::remove(std::size_t row)
{
    if (row >= size()) {
        m_desktop.beep();
        return;
    }
    EditStep step(m_history, text_id::kStepDeleteHelpId, EditParts::Settings);
    m_project.helpIds.erase(m_project.helpIds.begin() + static_cast<std::ptrdiff_t>(m_order[row]));
    m_project.modified = true;
    refresh();
}

std::optional<HelpIdRefusal> HelpIdList::insert(const HelpIdInput& input)
{
    if (std::optional<HelpIdRefusal> refusal = checkHelpId(m_project, input, std::nullopt))
        return refusal;
    EditStep step(m_history, text_id::kStepAddHelpId, EditParts::Settings);
    m_project.helpIds.push_back(helpIdFrom(input));
    m_project.modified = true;
    refresh();
    return std::nullopt;
}

std::optional<HelpIdRefusal> HelpIdList::replace(std::size_t row, const HelpIdInput& input)
{
    if (row >= size())
        return std::nullopt;
    const std::size_t index = m_order[row];
    if (std::optional<HelpIdRefusal> refusal = checkHelpId(m_project, input, index))
        return refusal;
    HelpId id = helpIdFrom(input);
    if (id == m_project.helpIds[index])
        return std::nullopt;
    EditStep step(m_history, text_id::kStepEditHelpId, EditParts::Settings);
    m_project.helpIds[index] = std::move(id);
    m_project.modified = true;
    refresh();
    return std::nullopt;
}

}  // namespace doxel
