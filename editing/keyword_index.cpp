#include "editing/keyword_index.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/text_compare.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

KeywordObserver& silentObserver()
{
    static KeywordObserver observer;
    return observer;
}

bool keywordLess(const KeywordEntry& a, const KeywordEntry& b)
{
    return compareCaptions(a.keyword, b.keyword) < 0;
}

struct SortKey {
    CaptionKey keyword;
    std::uint32_t row = 0;
};

}  // namespace

KeywordIndex::KeywordIndex(Project& project, KeywordDesktop& desktop)
    : m_project(project), m_desktop(desktop), m_observer(&silentObserver())
{
}

void KeywordIndex::setObserver(KeywordObserver* observer)
{
    m_observer = observer != nullptr ? observer : &silentObserver();
}

bool KeywordIndex::inAscendingOrder() const
{
    const auto& list = m_project.keywords;
    for (std::size_t i = 1; i < list.size(); ++i) {
        int order = compareCaptionKeys(captionKey(list[i - 1].keyword), captionKey(list[i].keyword));
        if (order == 0)
            order = compareCaptions(list[i - 1].keyword, list[i].keyword);
        if (order > 0)
            return false;
    }
    return true;
}

void KeywordIndex::projectReplaced()
{
    m_selected.reset();
    m_ascending = false;
    // Undo and redo bring back a list as it was: sorting it again would undo
    // the undo (of the sort itself, say) and leave it unlike the file it is
    // marked as. Automatic sorting that it does not follow goes off.
    if (m_autoSort && m_history != nullptr && m_history->restoring()) {
        if (!inAscendingOrder()) {
            m_autoSort = false;
            m_observer->autoSortChanged(false);
        }
        return;
    }
    if (m_autoSort) {
        const bool wasModified = m_project.modified;
        sortRows(true);
        m_project.modified = wasModified;
    }
}

void KeywordIndex::select(std::optional<std::size_t> row)
{
    if (row && *row >= rows().size())
        row.reset();
    if (row == m_selected)
        return;
    m_selected = row;
    // Selecting a row changes its state in the list, which counts as a
    // change of the list.
    modified();
}

void KeywordIndex::setSelected(std::optional<std::size_t> row)
{
    if (row != m_selected)
        modified();
    m_selected = row;
    m_observer->selectionChanged(row);
}

void KeywordIndex::add(const ContentsEntry* selectedEntry)
{
    EditStep step(m_history, text_id::kStepAddKeyword, EditParts::Keywords);
    if (selectedEntry == nullptr || m_project.isTitleEntry(selectedEntry) || selectedEntry->topicFile.empty()) {
        m_desktop.beep();
        return;
    }
    const std::string file = selectedEntry->topicFile;
    const std::optional<std::string> answer = m_desktop.askText(kAddKeywordCaption, promptFor(file), {});
    if (!answer || answer->empty())
        return;
    addKeyword(*answer, file);
}

void KeywordIndex::addKeyword(const std::string& keyword, const std::string& topicFile)
{
    EditStep step(m_history, text_id::kStepAddKeyword, EditParts::Keywords);
    if (keyword.empty())
        return;
    // A page that is no local file (a web page the preview reached) gives
    // no file a keyword could lead to.
    if (topicFile.empty()) {
        m_desktop.beep();
        return;
    }
    insertRow({oneLine(keyword), topicFile});
}

void KeywordIndex::insertRow(KeywordEntry entry)
{
    auto& list = m_project.keywords;
    std::size_t row = list.size();
    if (m_autoSort) {
        if (!m_ascending)
            sortRows(true);
        row = static_cast<std::size_t>(std::upper_bound(list.begin(), list.end(), entry, keywordLess) - list.begin());
    }
    m_observer->rowsAboutToBeInserted(row, row);
    if (m_selected && *m_selected >= row)
        ++*m_selected;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(row), std::move(entry));
    modified();
    m_observer->rowsInserted();
    setSelected(row);
}

void KeywordIndex::edit()
{
    EditStep step(m_history, text_id::kStepEditKeyword, EditParts::Keywords);
    if (!m_selected) {
        m_desktop.beep();
        return;
    }
    const std::size_t row = *m_selected;
    const std::optional<std::string> answer =
        m_desktop.askText(m_desktop.text(text_id::kEditKeyword), promptFor(rows()[row].topicFile), rows()[row].keyword);
    if (!answer || m_selected != row)
        return;
    setKeyword(row, *answer);
}

void KeywordIndex::editProperties()
{
    if (!m_selected) {
        m_desktop.beep();
        return;
    }
    const std::size_t row = *m_selected;
    std::vector<std::string> files;
    files.reserve(m_project.fileList.size());
    for (const FileListEntry& file : m_project.fileList)
        files.push_back(file.path);
    const std::optional<KeywordEntry> answer = m_desktop.askProperties(rows()[row], files);
    if (!answer || m_selected != row)
        return;
    setProperties(row, *answer);
}

void KeywordIndex::setKeyword(std::size_t row, const std::string& keyword)
{
    EditStep step(m_history, text_id::kStepEditKeyword, EditParts::Keywords);
    if (row >= rows().size() || keyword.empty())
        return;
    std::string text = oneLine(keyword);
    KeywordEntry& entry = m_project.keywords[row];
    if (text != entry.keyword) {
        entry.keyword = std::move(text);
        modified();
        m_observer->rowsChanged(row, row);
    }
    placeChangedRow(row);
}

void KeywordIndex::setTopicFile(std::size_t row, const std::string& file)
{
    EditStep step(m_history, text_id::kStepEditKeyword, EditParts::Keywords);
    if (row >= rows().size() || rows()[row].topicFile == file)
        return;
    m_project.keywords[row].topicFile = file;
    modified();
    m_observer->rowsChanged(row, row);
}

void KeywordIndex::setProperties(std::size_t row, const KeywordEntry& values)
{
    EditStep step(m_history, text_id::kStepEditKeyword, EditParts::Keywords);
    setTopicFile(row, values.topicFile);
    setKeyword(row, values.keyword);
}

std::string KeywordIndex::promptFor(const std::string& topicFile)
{
    std::string prompt = m_desktop.text(text_id::kKeywordFor);
    const std::size_t slash = topicFile.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? topicFile : topicFile.substr(slash + 1);
    if (const std::size_t at = prompt.find("%1"); at != std::string::npos)
        prompt.replace(at, 2, name);
    return prompt;
}

void KeywordIndex::placeChangedRow(std::size_t row)
{
    if (!m_autoSort)
        return;
    if (!m_ascending) {
        sortRows(true);
        return;
    }
    // The rest of the list is in order: the row's place is found in the
    // rows before or after it, and only the rows between move.
    auto& list = m_project.keywords;
    const auto at = list.begin() + static_cast<std::ptrdiff_t>(row);
    std::size_t place = row;
    if (row > 0 && keywordLess(*at, *(at - 1)))
        place = static_cast<std::size_t>(std::upper_bound(list.begin(), at, *at, keywordLess) - list.begin());
    else if (row + 1 < list.size() && keywordLess(*(at + 1), *at))
        place = static_cast<std::size_t>(std::upper_bound(at + 1, list.end(), *at, keywordLess) - list.begin()) - 1;
    if (place == row)
        return;

    m_observer->rowAboutToBeMoved(row, place > row ? place + 1 : place);
    if (place > row)
        std::rotate(at, at + 1, list.begin() + static_cast<std::ptrdiff_t>(place) + 1);
    else
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(place), at, at + 1);
    if (m_selected) {
        std::size_t& selected = *m_selected;
        if (selected == row)
            selected = place;
        else if (place > row && selected > row && selected <= place)
            --selected;
        else if (place < row && selected >= place && selected < row)
            ++selected;
    }
    modified();
    m_observer->rowMoved();
    m_observer->selectionChanged(m_selected);
}

void KeywordIndex::sortRows(bool ascending)
{
    auto& list = m_project.keywords;
    std::vector<SortKey> keys;
    keys.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        keys.push_back({captionKey(list[i].keyword), static_cast<std::uint32_t>(i)});
    // Rows with equal keywords keep their order, whichever the direction.
    std::sort(keys.begin(), keys.end(), [&list, ascending](const SortKey& a, const SortKey& b) {
        int order = compareCaptionKeys(a.keyword, b.keyword);
        if (order == 0)
            order = compareCaptions(list[a.row].keyword, list[b.row].keyword);
        if (order == 0)
            return a.row < b.row;
        return ascending ? order < 0 : order > 0;
    });

    m_observer->orderAboutToChange();
    std::vector<KeywordEntry> sorted;
    sorted.reserve(list.size());
    std::optional<std::size_t> selected;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (m_selected == keys[i].row)
            selected = i;
        sorted.push_back(std::move(list[keys[i].row]));
    }
    list = std::move(sorted);
    m_selected = selected;
    m_ascending = ascending;
    modified();
    m_observer->orderChanged();
    m_observer->selectionChanged(m_selected);
}

void KeywordIndex::deleteSelected()
{
    EditStep step(m_history, text_id::kStepDeleteKeyword, EditParts::Keywords);
    if (!m_selected) {
        m_desktop.beep();
        return;
    }
    const std::size_t row = *m_selected;
    m_observer->rowsAboutToBeRemoved(row, row);
    m_selected.reset();
    m_project.keywords.erase(m_project.keywords.begin() + static_cast<std::ptrdiff_t>(row));
    modified();
    m_observer->rowsRemoved();
    if (!rows().empty())
        setSelected(std::min(row, rows().size() - 1));
    else
        m_observer->selectionChanged(std::nullopt);
}

void KeywordIndex::deleteAll()
{
    EditStep step(m_history, text_id::kStepDeleteAllKeywords, EditParts::Keywords);
    if (rows().empty()) {
        m_desktop.beep();
        return;
    }
    if (!m_desktop.askYesNo(text_id::kDeleteKeywordsQuestion, text_id::kDeleteKeywordsCaption))
        return;
    m_observer->rowsAboutToBeRemoved(0, rows().size() - 1);
    m_project.keywords.clear();
    m_selected.reset();
    modified();
    m_observer->rowsRemoved();
    m_observer->selectionChanged(std::nullopt);
}

void KeywordIndex::moveUp()
{
    move(true);
}

void KeywordIndex::moveDown()
{
    move(false);
}

void KeywordIndex::move(bool up)
{
    EditStep step(m_history, text_id::kStepMoveKeyword, EditParts::Keywords);
    if (!m_selected)
        return;
    const std::size_t row = *m_selected;
    if (up ? row == 0 : row + 1 >= rows().size())
        return;
    const std::size_t other = up ? row - 1 : row + 1;
    auto& list = m_project.keywords;
    // Automatic sorting would put two different keywords straight back.
    if (m_autoSort && compareCaptions(list[row].keyword, list[other].keyword) != 0)
        return;
    m_observer->rowAboutToBeMoved(row, up ? other : other + 1);
    std::swap(list[row], list[other]);
    m_selected = other;
    modified();
    m_observer->rowMoved();
    m_observer->selectionChanged(m_selected);
}

void KeywordIndex::setAutoSort(bool on)
{
    EditStep step(m_history, text_id::kStepSortKeywords, EditParts::Keywords);
    if (on == m_autoSort)
        return;
    m_autoSort = on;
    m_observer->autoSortChanged(on);
    if (on)
        sortRows(true);
}

void KeywordIndex::headerClicked(int column)
{
    EditStep step(m_history, text_id::kStepSortKeywords, EditParts::Keywords);
    if (column != 0)
        return;
    m_headerAscending = !m_headerAscending;
    sortRows(m_headerAscending);
}

void KeywordIndex::keyDown(KeywordKey key)
{
    switch (key) {
    case KeywordKey::CtrlUp:
        moveUp();
        return;
    case KeywordKey::CtrlDown:
        moveDown();
        return;
    case KeywordKey::Delete:
        deleteSelected();
        return;
    case KeywordKey::F2:
        edit();
        return;
    }
}

}  // namespace doxel
