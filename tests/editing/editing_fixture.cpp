#include "editing_fixture.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace doxel::test {
namespace {

class TreeParser {
public:
    explicit TreeParser(std::string_view text) : m_text(text) {}

    void parseInto(ContentsEntry& parent, bool topLevel, Project& project)
    {
        for (;;) {
            skipSpaces();
            if (m_pos >= m_text.size() || m_text[m_pos] == ')')
                return;
            std::string name;
            while (m_pos < m_text.size() && std::string_view(" ()+:").find(m_text[m_pos]) == std::string_view::npos)
                name += m_text[m_pos++];
            if (name.empty())
                throw std::invalid_argument("tree text: name expected at " + std::to_string(m_pos));
            ContentsEntry* entry = nullptr;
            if (topLevel && parent.childCount() == 1 && m_first) {
                entry = &project.titleEntry();
                entry->caption = name;
                m_first = false;
            } else {
                entry = parent.appendChild(std::make_unique<ContentsEntry>(name, 10));
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '+') {
                entry->expanded = true;
                ++m_pos;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ':') {
                ++m_pos;
                int icon = 0;
                while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                    icon = icon * 10 + (m_text[m_pos++] - '0');
                entry->iconNumber = icon;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '(') {
                ++m_pos;
                parseInto(*entry, false, project);
                if (m_pos >= m_text.size() || m_text[m_pos] != ')')
                    throw std::invalid_argument("tree text: ')' expected");
                ++m_pos;
            }
        }
    }

private:
    void skipSpaces()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_first = true;
};

void describe(const ContentsEntry& parent, bool withIcons, std::string& out)
{
    bool first = true;
    for (const auto& child : parent.children()) {
        if (!first)
            out += ' ';
        first = false;
        out += child->caption;
        if (child->expanded)
            out += '+';
        if (withIcons)
            out += ':' + std::to_string(child->iconNumber);
        if (child->childCount() > 0) {
            out += '(';
            describe(*child, withIcons, out);
            out += ')';
        }
    }
}

std::string name(const ContentsEntry* entry)
{
    return entry == nullptr ? "(none)" : entry->caption;
}

Project makeProject(std::string_view tree, PathStyle style)
{
    Project project;
    buildTree(project, tree);
    project.projectFile = style == PathStyle::Posix ? "/help/p.dxp" : "c:\\help\\p.dxp";
    return project;
}

}  // namespace

void buildTree(Project& project, std::string_view text)
{
    project.resetToNew("title");
    TreeParser(text).parseInto(project.root(), true, project);
}

std::string treeText(const Project& project, bool withIcons)
{
    std::string out;
    describe(project.root(), withIcons, out);
    return out;
}

ContentsEntry& entryNamed(Project& project, std::string_view caption)
{
    ContentsEntry* found = nullptr;
    forEachEntry(project.root(), [&](const ContentsEntry& entry, int) {
        if (found == nullptr && entry.caption == caption)
            found = const_cast<ContentsEntry*>(&entry);
    });
    if (found == nullptr)
        throw std::invalid_argument("no entry " + std::string(caption));
    return *found;
}

std::string ScriptedDesktop::text(int id)
{
    return id == text_id::kNewHeader ? "New header" : "text " + std::to_string(id);
}

void ScriptedDesktop::showMessage(MessageIcon, int textId, int captionId)
{
    shown.push_back("message " + std::to_string(textId) + "/" + std::to_string(captionId));
}

void ScriptedDesktop::showFixedMessage(MessageIcon, const std::string& caption, const std::string& text)
{
    shown.push_back("fixed " + caption);
    fixedText = text;
}

bool ScriptedDesktop::askYesNo(int textId, int captionId)
{
    shown.push_back("question " + std::to_string(textId) + "/" + std::to_string(captionId));
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDesktop::saveProjectAs()
{
    shown.push_back("save as");
    if (project != nullptr && !saveAsFile.empty())
        project->projectFile = saveAsFile;
}

std::vector<std::string> ScriptedDesktop::chooseTopicFiles(const std::string& startFolder)
{
    shown.push_back("open " + startFolder);
    return chosenFiles;
}

void CountingProgress::showProgress(ProgressMode mode, int value)
{
    switch (mode) {
    case ProgressMode::Start:
        log.push_back("start " + std::to_string(value));
        break;
    case ProgressMode::Step:
        log.push_back("step " + std::to_string(value));
        break;
    case ProgressMode::End:
        log.push_back("end");
        break;
    }
}

ShadowModel::ShadowModel(ContentsEditor& editor) : m_editor(editor)
{
    copyChildren(editor.project().root());
    editor.setObserver(this);
}

ShadowModel::~ShadowModel()
{
    m_editor.setObserver(nullptr);
}

void ShadowModel::copyChildren(const ContentsEntry& parent)
{
    auto& rows = m_children[&parent];
    rows.clear();
    for (const auto& child : parent.children())
        rows.push_back(child.get());
    for (const auto& child : parent.children())
        copyChildren(*child);
}

void ShadowModel::fail(const std::string& problem)
{
    m_problems += problem + "\n";
}

void ShadowModel::entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    if (m_pending)
        fail("insert announced inside another change");
    if (first != m_children[&parent].size() && first > m_children[&parent].size())
        fail("insert beyond the end");
    m_pending = true;
    m_parent = &parent;
    m_first = first;
    m_last = last;
}

void ShadowModel::entriesInserted()
{
    ++structuralChanges;
    m_pending = false;
    auto& rows = m_children[m_parent];
    for (std::size_t row = m_first; row <= m_last; ++row) {
        const ContentsEntry* added = m_parent->child(row);
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), added);
        copyChildren(*added);
    }
}

void ShadowModel::entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last)
{
    if (m_pending)
        fail("removal announced inside another change");
    const auto& rows = m_children[&parent];
    for (std::size_t row = first; row <= last; ++row) {
        if (row >= rows.size() || rows[row] != parent.child(row))
            fail("removal names a row the view does not hold");
    }
    m_pending = true;
    m_parent = &parent;
    m_first = first;
    m_last = last;
}

void ShadowModel::entriesRemoved()
{
    ++structuralChanges;
    m_pending = false;
    auto& rows = m_children[m_parent];
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(m_first),
               rows.begin() + static_cast<std::ptrdiff_t>(m_last) + 1);
}

void ShadowModel::entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                                      std::size_t destinationRow)
{
    if (m_pending)
        fail("move announced inside another change");
    const auto& rows = m_children[&from];
    if (row >= rows.size() || rows[row] != from.child(row))
        fail("move names a row the view does not hold");
    if (&from == &to && (destinationRow == row || destinationRow == row + 1))
        fail("a move that moves nothing was announced");
    if (destinationRow > m_children[&to].size())
        fail("move beyond the end");
    m_pending = true;
    m_parent = &from;
    m_first = row;
    m_to = &to;
    m_destination = destinationRow;
}

void ShadowModel::entryMoved()
{
    ++structuralChanges;
    m_pending = false;
    auto& from = m_children[m_parent];
    const ContentsEntry* moved = from[m_first];
    from.erase(from.begin() + static_cast<std::ptrdiff_t>(m_first));
    std::size_t at = m_destination;
    if (m_to == m_parent && m_destination > m_first)
        --at;
    auto& to = m_children[m_to];
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(at), moved);
}

void ShadowModel::siblingOrderAboutToChange(const ContentsEntry*)
{
    m_pending = true;
}

void ShadowModel::siblingOrderChanged(const ContentsEntry* parent)
{
    ++structuralChanges;
    m_pending = false;
    // A layout change: the view finds its rows again by entry.
    if (parent == nullptr)
        copyChildren(m_editor.project().root());
    else
        copyChildren(*parent);
}

void ShadowModel::entryChanged(const ContentsEntry& entry)
{
    events.push_back("changed " + entry.caption);
}

void ShadowModel::expansionChanged(const ContentsEntry& entry)
{
    events.push_back((entry.expanded ? "expanded " : "collapsed ") + entry.caption);
}

void ShadowModel::everyExpansionChanged(bool expanded)
{
    events.push_back(expanded ? "expanded all" : "collapsed all");
}

void ShadowModel::selectionChanged(const ContentsEntry* entry)
{
    events.push_back("selected " + name(entry));
}

void ShadowModel::iconChooserChanged(bool enabled, int row)
{
    chooserEnabled = enabled;
    chooserRow = row;
}

void ShadowModel::statusTextChanged(const std::string& text)
{
    status = text;
}

void ShadowModel::captionEditRequested(const ContentsEntry& entry)
{
    events.push_back("edit " + entry.caption);
}

std::string ShadowModel::check()
{
    std::string problems = m_problems;
    if (m_pending)
        problems += "a change was announced and never finished\n";
    std::vector<const ContentsEntry*> pending{&m_editor.project().root()};
    while (!pending.empty()) {
        const ContentsEntry* parent = pending.back();
        pending.pop_back();
        const auto& rows = m_children[parent];
        if (rows.size() != parent->childCount()) {
            problems += "the view holds " + std::to_string(rows.size()) + " rows under " + name(parent) +
                        ", the tree " + std::to_string(parent->childCount()) + "\n";
            continue;
        }
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const ContentsEntry* child = parent->child(row);
            if (rows[row] != child)
                problems += "row " + std::to_string(row) + " under " + name(parent) + " differs\n";
            if (m_editor.rowOf(*child) != row)
                problems += "rowOf(" + name(child) + ") is stale\n";
            pending.push_back(child);
        }
    }
    return problems;
}

EditorRig::EditorRig(std::string_view tree, PathStyle style)
    : project(makeProject(tree, style)), editor(project, settings, desktop, progress, style), view(editor)
{
    desktop.project = &project;
}

}  // namespace doxel::test
