#include "editing/edit_history.h"

#include <algorithm>
#include <utility>

namespace doxel {
namespace {

bool has(EditParts parts, EditParts part)
{
    return (static_cast<unsigned>(parts) & static_cast<unsigned>(part)) != 0;
}

bool sameFiles(const FileList& a, const FileList& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t row = 0; row < a.size(); ++row) {
        if (a[row].path != b[row].path)
            return false;
    }
    return true;
}

bool sameEntry(const ContentsEntry& a, const ContentsEntry& b)
{
    // The open and closed forms of an icon are one icon: expanding a header
    // is not an edit.
    return a.caption == b.caption && storedIconNumber(a.iconNumber) == storedIconNumber(b.iconNumber) &&
           a.topicFile == b.topicFile && a.childCount() == b.childCount();
}

}  // namespace

std::unique_ptr<ContentsEntry> copyTree(const ContentsEntry& root)
{
    auto copy = std::make_unique<ContentsEntry>(root.caption, root.iconNumber, root.topicFile);
    copy->expanded = root.expanded;
    std::vector<std::pair<const ContentsEntry*, ContentsEntry*>> pending{{&root, copy.get()}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        for (const auto& child : from->children()) {
            auto made = std::make_unique<ContentsEntry>(child->caption, child->iconNumber, child->topicFile);
            made->expanded = child->expanded;
            ContentsEntry* added = to->appendChild(std::move(made));
            if (child->childCount() > 0)
                pending.emplace_back(child.get(), added);
        }
    }
    return copy;
}

bool sameTree(const ContentsEntry& a, const ContentsEntry& b)
{
    std::vector<std::pair<const ContentsEntry*, const ContentsEntry*>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [left, right] = pending.back();
        pending.pop_back();
        if (!sameEntry(*left, *right))
            return false;
        for (std::size_t n = 0; n < left->childCount(); ++n)
            pending.emplace_back(left->child(n), right->child(n));
    }
    return true;
}

std::vector<std::size_t> rowsOf(const ContentsEntry& entry)
{
    std::vector<std::size_t> rows;
    for (const ContentsEntry* at = &entry; at->parent() != nullptr; at = at->parent())
        rows.push_back(at->indexInParent());
    return {rows.rbegin(), rows.rend()};
}

const ContentsEntry* entryAtRows(const ContentsEntry& root, const std::vector<std::size_t>& rows)
{
    const ContentsEntry* at = &root;
    for (const std::size_t row : rows) {
        if (at->childCount() == 0)
            break;
        at = at->child(std::min(row, at->childCount() - 1));
    }
    return at == &root ? nullptr : at;
}

struct EditHistory::State {
    EditParts parts = EditParts::Everything;
    std::unique_ptr<ContentsEntry> root;  // the invisible root's copy
    std::size_t entryCount = 0;
    FileList fileList;
    std::vector<KeywordEntry> keywords;
    WindowSettings windowSettings;
    std::vector<HelpId> helpIds;
    int helpLanguageId = 0;
};

struct EditHistory::Step {
    int nameId = 0;
    // Before the step while it is done, after it while it is undone.
    State state;
    // The selection when the step opened and when it closed.
    std::optional<std::vector<std::size_t>> selectedBefore;
    std::optional<std::vector<std::size_t>> selectedAfter;
};

EditHistory::EditHistory(Project& project) : m_project(project)
{
}

EditHistory::~EditHistory() = default;

bool EditHistory::canUndo() const
{
    return m_position > 0;
}

bool EditHistory::canRedo() const
{
    return m_position < m_steps.size();
}

std::size_t EditHistory::stepCount() const
{
    return m_steps.size();
}

int EditHistory::undoName() const
{
    return canUndo() ? m_steps[m_position - 1].nameId : 0;
}

int EditHistory::redoName() const
{
    return canRedo() ? m_steps[m_position].nameId : 0;
}

EditHistory::State EditHistory::capture(EditParts parts) const
{
    State state;
    state.parts = parts;
    if (has(parts, EditParts::Contents)) {
        state.root = copyTree(m_project.root());
        state.entryCount = m_project.entryCount();
        state.fileList = m_project.fileList;
    }
    if (has(parts, EditParts::Keywords))
        state.keywords = m_project.keywords;
    state.windowSettings = m_project.windowSettings;
    state.helpIds = m_project.helpIds;
    state.helpLanguageId = m_project.helpLanguageId;
    return state;
}

bool EditHistory::sameAsProject(const State& state) const
{
    if (has(state.parts, EditParts::Contents) &&
        (!sameTree(*state.root, m_project.root()) || !sameFiles(state.fileList, m_project.fileList)))
        return false;
    if (has(state.parts, EditParts::Keywords) && state.keywords != m_project.keywords)
        return false;
    return state.windowSettings == m_project.windowSettings && state.helpIds == m_project.helpIds &&
           state.helpLanguageId == m_project.helpLanguageId;
}

void EditHistory::exchange(State& state)
{
    if (has(state.parts, EditParts::Contents)) {
        const std::size_t projectEntries = m_project.entryCount();
        state.root->swapChildren(m_project.root());
        std::swap(state.fileList, m_project.fileList);
        state.entryCount = projectEntries;
    }
    if (has(state.parts, EditParts::Keywords))
        std::swap(state.keywords, m_project.keywords);
    std::swap(state.windowSettings, m_project.windowSettings);
    std::swap(state.helpIds, m_project.helpIds);
    std::swap(state.helpLanguageId, m_project.helpLanguageId);
}

void EditHistory::followSaved()
{
    m_project.modified = m_saved != m_position;
}

void EditHistory::undo()
{
    if (!canUndo() || m_depth > 0)
        return;
    --m_position;
    exchange(m_steps[m_position].state);
    followSaved();
    const auto& rows = m_steps[m_position].selectedBefore;
    m_restoredSelection = rows.has_value();
    m_restoredPath = rows.value_or(std::vector<std::size_t>());
}

void EditHistory::redo()
{
    if (!canRedo() || m_depth > 0)
        return;
    exchange(m_steps[m_position].state);
    const auto& rows = m_steps[m_position].selectedAfter;
    m_restoredSelection = rows.has_value();
    m_restoredPath = rows.value_or(std::vector<std::size_t>());
    ++m_position;
    followSaved();
}

const ContentsEntry* EditHistory::restoredSelection() const
{
    return m_restoredSelection ? entryAtRows(m_project.root(), m_restoredPath) : nullptr;
}

void EditHistory::clear()
{
    m_steps.clear();
    m_position = 0;
    m_saved = 0;
}

void EditHistory::markSaved()
{
    // A save inside a command (Add topics saves an untitled project first)
    // writes the state the open step started from.
    m_saved = m_position;
}

void EditHistory::open(int nameId, EditParts parts)
{
    if (m_depth++ > 0)
        return;
    m_open = std::make_unique<Step>(Step{nameId, capture(parts), selectedRows(), std::nullopt});
}

void EditHistory::close()
{
    if (--m_depth > 0)
        return;
    std::unique_ptr<Step> step = std::move(m_open);
    if (step == nullptr || sameAsProject(step->state))
        return;
    step->selectedAfter = selectedRows();
    if (m_saved && *m_saved > m_position)
        m_saved.reset();
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_position), m_steps.end());
    m_steps.push_back(std::move(*step));
    ++m_position;
    trim();
    m_project.modified = true;
}

std::optional<std::vector<std::size_t>> EditHistory::selectedRows() const
{
    const ContentsEntry* selected = m_selection ? m_selection() : nullptr;
    if (selected == nullptr)
        return std::nullopt;
    return rowsOf(*selected);
}

void EditHistory::trim()
{
    std::size_t entries = 0;
    for (const Step& step : m_steps)
        entries += step.state.entryCount;
    std::size_t dropped = 0;
    while (m_steps.size() - dropped > 1 && (m_steps.size() - dropped > kStepLimit || entries > kEntryLimit)) {
        entries -= m_steps[dropped].state.entryCount;
        ++dropped;
    }
    if (dropped == 0)
        return;
    m_steps.erase(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(dropped));
    m_position -= dropped;
    if (m_saved)
        m_saved = *m_saved >= dropped ? std::optional(*m_saved - dropped) : std::nullopt;
}

}  // namespace doxel
