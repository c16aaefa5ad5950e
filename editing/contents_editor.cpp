#include "editing/contents_editor.h"

#include <algorithm>
#include <iterator>

#include "core/text_compare.h"
#include "core/text_encoding.h"
#include "editing/topic_files.h"

namespace doxel {
namespace {

ContentsObserver& silentObserver()
{
    static ContentsObserver observer;
    return observer;
}

bool isRoot(const ContentsEntry& entry)
{
    return entry.parent() == nullptr;
}

bool captionOrder(const std::unique_ptr<ContentsEntry>& a, const std::unique_ptr<ContentsEntry>& b)
{
    return captionLess(a->caption, b->caption);
}

// Children of `parent` from `first` on, in caption order already?
bool childrenSorted(const ContentsEntry& parent, std::size_t first)
{
    const auto& children = parent.children();
    if (children.size() <= first + 1)
        return true;
    return std::is_sorted(children.begin() + static_cast<std::ptrdiff_t>(first), children.end(), captionOrder);
}

// Puts the children of `parent` from `first` on in caption order; equal
// captions keep their order.
void sortChildren(ContentsEntry& parent, std::size_t first)
{
    std::vector<std::unique_ptr<ContentsEntry>> taken;
    taken.reserve(parent.childCount() - first);
    while (parent.childCount() > first)
        taken.push_back(parent.takeChild(parent.childCount() - 1));
    std::reverse(taken.begin(), taken.end());
    std::stable_sort(taken.begin(), taken.end(), captionOrder);
    for (auto& child : taken)
        parent.appendChild(std::move(child));
}

// The title entry stays the first entry of the tree: it holds the
// project's title.
std::size_t firstSortedChild(const ContentsEntry& parent)
{
    return isRoot(parent) ? 1 : 0;
}

}  // namespace

SelectionFeedback feedbackFor(const Project& project, const ContentsEntry& entry, PathStyle style)
{
    SelectionFeedback feedback;
    if (!project.isTitleEntry(&entry)) {
        feedback.chooserEnabled = true;
        if (entry.iconNumber >= 0 && entry.iconNumber <= kLastChoosableIcon)
            feedback.chooserRow = entry.iconNumber;
    }
    feedback.statusText = entry.caption;
    if (!entry.topicFile.empty()) {
        feedback.statusText += " | ";
        feedback.statusText += fileNameOf(entry.topicFile, style);
    }
    return feedback;
}

ContentsEditor::ContentsEditor(Project& project, SettingsStore& settings, EditorDesktop& desktop,
                               ProgressReporter& progress, PathStyle style)
    : m_project(project),
      m_settings(settings),
      m_desktop(desktop),
      m_progress(progress),
      m_style(style),
      m_observer(&silentObserver()),
      m_selected(&project.titleEntry()),
      m_insertAsChild(Settings(settings).flag(setting::kTopicAsChild))
{
}

void ContentsEditor::setObserver(ContentsObserver* observer)
{
    m_observer = observer != nullptr ? observer : &silentObserver();
}

ContentsEditor::~ContentsEditor()
{
    if (m_history != nullptr)
        m_history->setSelectionSource({});
}

void ContentsEditor::setHistory(EditHistory* history)
{
    if (m_history != nullptr)
        m_history->setSelectionSource({});
    m_history = history;
    if (m_history != nullptr)
        m_history->setSelectionSource([this] { return m_selected; });
}

void ContentsEditor::projectReplaced()
{
    m_rows.clear();
    m_dragged = nullptr;
    m_editingCaption = false;
    m_insertAsChild = Settings(m_settings).flag(setting::kTopicAsChild);
    m_selected = &m_project.titleEntry();
    // Undo and redo bring back a tree as it was; a sort mode it does not
    // follow (the undone sort) goes off rather than sorting it again.
    if (m_history != nullptr && m_history->restoring() && m_sortMode == SortMode::Alphabetical && !treeSorted())
        m_sortMode = SortMode::None;
    m_observer->selectionChanged(m_selected);
    refreshFeedback();
}

// --- Selection

void ContentsEditor::select(ContentsEntry* entry)
{
    m_selected = entry;
    if (entry != nullptr)
        refreshFeedback();
}

void ContentsEditor::refreshFeedback()
{
    if (m_selected == nullptr)
        return;
    const SelectionFeedback feedback = feedbackFor(m_project, *m_selected, m_style);
    m_chooserRow = feedback.chooserRow;
    m_observer->iconChooserChanged(feedback.chooserEnabled, feedback.chooserRow);
    m_observer->statusTextChanged(feedback.statusText);
}

// A command selects `entry`: like a click, and the tree shows it, so its
// collapsed ancestors open.
void ContentsEditor::selectFromCommand(ContentsEntry* entry)
{
    if (entry != nullptr) {
        for (ContentsEntry* up = entry->parent(); up != nullptr && !isRoot(*up); up = up->parent())
            setExpanded(*up, true, true);
    }
    m_selected = entry;
    m_observer->selectionChanged(entry);
    refreshFeedback();
}

CommandStates ContentsEditor::commandStates() const
{
    CommandStates states;
    const bool anySelected = m_selected != nullptr;
    const bool entrySelected = anySelected && !isTitle(m_selected);
    const bool hasFile = entrySelected && !m_selected->topicFile.empty();
    states.preview = hasFile;
    states.addEntries = anySelected;
    states.deleteEntry = entrySelected;
    states.properties = entrySelected;
    states.assignIcon = entrySelected;
    states.openInEditor = hasFile && isEditableFile(m_selected->topicFile);
    states.setDefaultTopic = hasFile;
    return states;
}

// --- Toggles and sorting

void ContentsEditor::setInsertAsChild(bool on)
{
    m_insertAsChild = on;
    Settings(m_settings).setFlag(setting::kTopicAsChild, on);
}

void ContentsEditor::sortAlphabetically()
{
    EditStep step(m_history, text_id::kStepSort, EditParts::Contents);
    m_sortMode = SortMode::Alphabetical;
    sortTree();
}

void ContentsEditor::sortTree()
{
    std::vector<ContentsEntry*> unsorted;
    ContentsEntry& root = m_project.root();
    if (!childrenSorted(root, firstSortedChild(root)))
        unsorted.push_back(&root);
    forEachEntry(root, [&unsorted](ContentsEntry& entry, int) {
        if (!childrenSorted(entry, 0))
            unsorted.push_back(&entry);
    });
    if (unsorted.empty())
        return;
    m_observer->siblingOrderAboutToChange(nullptr);
    for (ContentsEntry* parent : unsorted)
        sortChildren(*parent, firstSortedChild(*parent));
    m_rows.clear();
    // The new order is what the next save writes; without the flag a close
    // would drop it silently.
    m_project.modified = true;
    m_observer->siblingOrderChanged(nullptr);
}

bool ContentsEditor::treeSorted() const
{
    ContentsEntry& root = m_project.root();
    if (!childrenSorted(root, firstSortedChild(root)))
        return false;
    bool sorted = true;
    forEachEntry(root, [&sorted](ContentsEntry& entry, int) { sorted = sorted && childrenSorted(entry, 0); });
    return sorted;
}

void ContentsEditor::resortAround(ContentsEntry& entry)
{
    if (m_sortMode != SortMode::Alphabetical || entry.parent() == nullptr)
        return;
    ContentsEntry& parent = *entry.parent();
    if (isRoot(parent)) {
        sortTree();
        return;
    }
    if (childrenSorted(parent, 0))
        return;
    m_observer->siblingOrderAboutToChange(&parent);
    sortChildren(parent, 0);
    m_rows.childrenChanged(parent);
    m_project.modified = true;
    m_observer->siblingOrderChanged(&parent);
}

// --- Adding entries

bool ContentsEditor::ensureProjectFile()
{
    if (!m_project.projectFile.empty())
        return true;
    m_desktop.showMessage(MessageIcon::Information, text_id::kSaveBeforeAdding, text_id::kProgramName);
    m_desktop.saveProjectAs();
    return !m_project.projectFile.empty();
}

// The settings dialog stores icon numbers here; anything else (not a
// number, or a picture the chooser does not offer) would give entries an
// icon the project file cannot hold, so it counts as the default.
int ContentsEditor::defaultIcon(const SettingKey& key)
{
    return Settings(m_settings).number(key);
}

// The placement rule: the last child of the selected entry when the
// insert-as-child toggle is on or the title entry is selected, otherwise
// the last entry of the selected entry's level.
ContentsEntry& ContentsEditor::placementParent() const
{
    // Below the deepest level a project is read back with, new entries go
    // beside the selected one.
    if ((m_insertAsChild || isTitle(m_selected)) && m_selected->level() + 1 < kMaxContentsDepth)
        return *m_selected;
    return *m_selected->parent();
}

void ContentsEditor::appendEntries(ContentsEntry& parent, std::vector<std::unique_ptr<ContentsEntry>> entries)
{
    if (entries.empty())
        return;
    const std::size_t first = parent.childCount();
    m_observer->entriesAboutToBeInserted(parent, first, first + entries.size() - 1);
    for (auto& entry : entries)
        m_rows.appended(*parent.appendChild(std::move(entry)));
    m_observer->entriesInserted();
}

void ContentsEditor::addHeader()
{
    EditStep step(m_history, text_id::kStepAddHeader, EditParts::Contents);
    if (!ensureProjectFile())
        return;
    if (m_selected == nullptr) {
        m_desktop.beep();
        return;
    }
    m_project.modified = true;
    const int icon = defaultIcon(setting::kDefaultHeaderIcon);
    std::vector<std::unique_ptr<ContentsEntry>> entries;
    entries.push_back(std::make_unique<ContentsEntry>(oneLine(m_desktop.text(text_id::kNewHeader)), icon));
    ContentsEntry* added = entries.back().get();
    appendEntries(placementParent(), std::move(entries));
    setExpanded(m_project.titleEntry(), true, true);
    selectFromCommand(added);
    m_observer->captionEditRequested(*added);
}

void ContentsEditor::addTopics()
{
    if (!ensureProjectFile() || m_selected == nullptr)
        return;
    const std::vector<std::string> files = m_desktop.chooseTopicFiles({});
    if (!files.empty())
        addTopicFiles(files);
}

void ContentsEditor::addTopicFiles(const std::vector<std::string>& chosen)
{
    addTopicFilesAt(chosen, std::nullopt);
}

void ContentsEditor::dropFiles(const std::vector<std::string>& paths, ContentsEntry* target)
{
    std::size_t skipped = 0;
    const std::vector<std::string> pages = droppedPages(paths, skipped);
    if (skipped > 0)
        m_desktop.beep();
    if (pages.empty() || !ensureProjectFile())
        return;
    ContentsEntry& title = m_project.titleEntry();
    if (target == nullptr || isTitle(target)) {
        addTopicFilesAt(pages, Destination{&title, title.childCount()});
        return;
    }
    ContentsEntry& parent = m_insertAsChild ? *target : *target->parent();
    const std::size_t index = m_insertAsChild ? 0 : m_rows.rowOf(*target) + 1;
    addTopicFilesAt(pages, Destination{&parent, index});
}

void ContentsEditor::insertEntries(const Destination& destination, std::vector<std::unique_ptr<ContentsEntry>> entries)
{
    ContentsEntry& parent = *destination.parent;
    if (destination.index >= parent.childCount()) {
        appendEntries(parent, std::move(entries));
        return;
    }
    if (entries.empty())
        return;
    const std::size_t first = destination.index;
    m_observer->entriesAboutToBeInserted(parent, first, first + entries.size() - 1);
    for (std::size_t n = 0; n < entries.size(); ++n)
        parent.insertChild(first + n, std::move(entries[n]));
    m_rows.childrenChanged(parent);
    m_observer->entriesInserted();
}

void ContentsEditor::addTopicFilesAt(const std::vector<std::string>& chosen, std::optional<Destination> destination)
{
    EditStep step(m_history, text_id::kStepAddTopics, EditParts::Contents);
    // A path with a line break or BEL cannot stand in a line of the project
    // file, and one with "\" or "#" would read back as another file or as
    // a file and an anchor. Such files are left out.
    std::vector<std::string> files;
    std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(files),
                 [this](const std::string& path) { return topicFileStorable(path, m_style); });
    if (files.size() != chosen.size()) {
        m_desktop.beep();
        m_desktop.showFixedMessage(MessageIcon::Warning, kTopicFileRefusedCaption,
                                   topicFilesRefusedText(chosen, m_style));
    }
    if (files.empty() || (!destination && m_selected == nullptr))
        return;
    if (!topicLocationAllowed(files.front(), m_project.projectFile, m_style)) {
        m_desktop.showMessage(MessageIcon::Warning, text_id::kFilesCannotBeAdded, text_id::kWarning);
        return;
    }
    m_project.modified = true;
    const int icon = defaultIcon(setting::kDefaultTopicIcon);
    {
        ProgressScope progress(m_progress, static_cast<int>(files.size()) - 1);
        // Titles are read first; the tree and the file list then change in
        // one step each, so a view sees one insertion and one reload.
        std::vector<std::unique_ptr<ContentsEntry>> entries;
        std::vector<std::string> newRows;
        entries.reserve(files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::string path = topicPathOf(files[i], m_style);
            if (!m_project.fileList.contains(path))
                newRows.push_back(path);
            entries.push_back(std::make_unique<ContentsEntry>(topicTitle(files[i], m_style), icon, std::move(path)));
            progress.step(static_cast<int>(i));
        }
        if (!newRows.empty()) {
            m_observer->fileListAboutToChange();
            m_project.fileList.addMany(std::move(newRows));
            m_observer->fileListChanged();
        }
        ContentsEntry* parent = destination ? destination->parent : &placementParent();
        if (destination)
            insertEntries(*destination, std::move(entries));
        else
            appendEntries(*parent, std::move(entries));
        if (destination && !isRoot(*parent) && !isTitle(parent))
            setExpanded(*parent, true, true);
        WindowSettings& window = m_project.windowSettings;
        if (window.defaultTopic == kNotDefined) {
            window.defaultTopic = projectRelativePath(files.front(), m_project.projectFile, m_style);
            window.cutTexts();
        }
    }
    setExpanded(m_project.titleEntry(), true, true);
}

// --- Deleting

void ContentsEditor::deleteSelected()
{
    EditStep step(m_history, text_id::kStepDelete, EditParts::Contents);
    if (m_selected == nullptr || isTitle(m_selected) || m_editingCaption)
        return;
    ContentsEntry& doomed = *m_selected;
    if (doomed.childCount() > 0 && !m_desktop.askYesNo(text_id::kDeleteWithChildren, text_id::kDelete))
        return;

    ContentsEntry& parent = *doomed.parent();
    const std::size_t row = m_rows.rowOf(doomed);
    // The entry the tree selects in its place: the next sibling, else the
    // previous one, else the parent.
    ContentsEntry* replacement = nullptr;
    if (row + 1 < parent.childCount())
        replacement = parent.child(row + 1);
    else if (row > 0)
        replacement = parent.child(row - 1);
    else if (!isRoot(parent))
        replacement = &parent;
    if (m_dragged != nullptr && isInSubtree(*m_dragged, doomed))
        m_dragged = nullptr;

    m_observer->entriesAboutToBeRemoved(parent, row, row);
    m_rows.forgetSubtree(doomed);
    m_selected = nullptr;
    std::unique_ptr<ContentsEntry> removed = parent.takeChild(row);
    m_rows.childrenChanged(parent);
    m_observer->entriesRemoved();
    removed.reset();
    if (!isRoot(parent) && parent.childCount() == 0)
        collapseEmptied(parent);
    m_project.modified = true;
    selectFromCommand(replacement);
}

// --- Expanding and collapsing

// The icon follows every expand and collapse of an entry with children:
// 0/1, 2/3, 4/5 and 6/7 show their open form while expanded.
void ContentsEditor::setExpanded(ContentsEntry& entry, bool expanded, bool tellView)
{
    if (entry.childCount() == 0)
        return;
    const int icon = expanded ? expandedIconNumber(entry.iconNumber) : collapsedIconNumber(entry.iconNumber);
    const bool iconChanged = icon != entry.iconNumber;
    const bool stateChanged = entry.expanded != expanded;
    entry.iconNumber = icon;
    entry.expanded = expanded;
    if (iconChanged)
        m_observer->entryChanged(entry);
    if (stateChanged && tellView)
        m_observer->expansionChanged(entry);
}

// An entry that lost its last child shows collapsed, its icon closed.
void ContentsEditor::collapseEmptied(ContentsEntry& entry)
{
    const int icon = collapsedIconNumber(entry.iconNumber);
    const bool iconChanged = icon != entry.iconNumber;
    const bool stateChanged = entry.expanded;
    entry.iconNumber = icon;
    entry.expanded = false;
    if (iconChanged)
        m_observer->entryChanged(entry);
    if (stateChanged)
        m_observer->expansionChanged(entry);
}

void ContentsEditor::collapseSubtree(ContentsEntry& top)
{
    setExpanded(top, false, true);
    forEachEntry(top, [this](ContentsEntry& entry, int) { setExpanded(entry, false, true); });
}

void ContentsEditor::entryExpanding(ContentsEntry& entry)
{
    setExpanded(entry, true, false);
}

void ContentsEditor::entryCollapsing(ContentsEntry& entry)
{
    setExpanded(entry, false, false);
    // The tree moves a selection that is hidden by the collapse up to the
    // collapsed entry.
    if (m_selected != nullptr && m_selected != &entry && isInSubtree(*m_selected, entry))
        selectFromCommand(&entry);
}

void ContentsEditor::expandAll()
{
    setEveryExpansion(true);
}

void ContentsEditor::setEveryExpansion(bool expanded)
{
    bool iconsChanged = false;
    forEachEntry(m_project.root(), [&iconsChanged, expanded](ContentsEntry& entry, int) {
        if (entry.childCount() == 0)
            return;
        const int icon = expanded ? expandedIconNumber(entry.iconNumber) : collapsedIconNumber(entry.iconNumber);
        iconsChanged = iconsChanged || icon != entry.iconNumber;
        entry.iconNumber = icon;
        entry.expanded = expanded;
    });
    m_observer->everyExpansionChanged(expanded);
    if (iconsChanged)
        m_observer->everyEntryChanged();
}

void ContentsEditor::collapseAll()
{
    setEveryExpansion(false);
    if (m_selected != nullptr && !isRoot(*m_selected->parent())) {
        ContentsEntry* top = m_selected;
        while (!isRoot(*top->parent()))
            top = top->parent();
        selectFromCommand(top);
    }
}

// --- Moves and drag and drop

// Moves `moved` with its subtree, which keeps its inner order, captions,
// icons and files. An old parent left without children collapses; the new
// parent expands.
void ContentsEditor::relocate(ContentsEntry& moved, const Destination& destination)
{
    ContentsEntry& from = *moved.parent();
    ContentsEntry& to = *destination.parent;
    const std::size_t row = m_rows.rowOf(moved);
    if (&from != &to || destination.index != row) {
        const std::size_t destinationRow =
            (&from == &to && destination.index > row) ? destination.index + 1 : destination.index;
        m_observer->entryAboutToBeMoved(from, row, to, destinationRow);
        std::unique_ptr<ContentsEntry> taken = from.takeChild(row);
        to.insertChild(destination.index, std::move(taken));
        m_rows.childrenChanged(from);
        m_rows.childrenChanged(to);
        m_observer->entryMoved();
    }
    if (&from != &to && !isRoot(from) && from.childCount() == 0)
        collapseEmptied(from);
    if (!isRoot(to))
        setExpanded(to, true, true);
}

void ContentsEditor::moveSelected(MoveDirection direction)
{
    EditStep step(m_history, text_id::kStepMove, EditParts::Contents);
    const bool sideways = direction == MoveDirection::Left || direction == MoveDirection::Right;
    if (sideways)
        m_project.modified = true;
    if (m_selected == nullptr || isTitle(m_selected))
        return;
    if (!sideways)
        m_project.modified = true;
    ContentsEntry& moved = *m_selected;
    collapseSubtree(moved);
    if (const auto destination = moveDestination(m_project, moved, direction, m_rows))
        relocate(moved, *destination);
}

void ContentsEditor::startDrag(ContentsEntry& entry)
{
    m_dragged = &entry;
    if (m_selected != &entry)
        selectFromCommand(&entry);
}

void ContentsEditor::dropOn(ContentsEntry* target)
{
    EditStep step(m_history, text_id::kStepDrag, EditParts::Contents);
    // The title entry stays first: it holds the project's title.
    if (m_dragged == nullptr || target == nullptr || target == m_dragged || isTitle(m_dragged))
        return;
    ContentsEntry& dragged = *m_dragged;
    const auto destination = dropDestination(dragged, *target, m_insertAsChild, m_rows);
    if (!destination)
        return;
    collapseSubtree(dragged);
    relocate(dragged, *destination);
}

void ContentsEditor::endDrag()
{
    // The title entry never moves, so dragging it changes nothing.
    if (m_dragged != nullptr && !isTitle(m_dragged))
        m_project.modified = true;
    m_dragged = nullptr;
}

// --- Icons

bool ContentsEditor::assignIconTo(ContentsEntry& entry, int iconNumber)
{
    const bool storedChange = storedIconNumber(entry.iconNumber) != storedIconNumber(iconNumber);
    entry.iconNumber = iconNumber;
    return storedChange;
}

void ContentsEditor::assignIcon(IconTarget target, int icon)
{
    EditStep step(m_history, text_id::kStepIcon, EditParts::Contents);
    // With no row in the chooser there is no icon to give.
    if (icon < 0 || icon > kLastChoosableIcon)
        return;
    const bool toHeaders = target == IconTarget::AllHeaders || target == IconTarget::HeadersOfLevel;
    bool storedChange = false;
    if (target == IconTarget::AllHeaders || target == IconTarget::AllTopics) {
        const std::size_t entries = m_project.entryCount();
        ProgressScope progress(m_progress, static_cast<int>(entries) - 1);
        int number = 0;
        bool first = true;
        forEachEntry(m_project.root(), [&](ContentsEntry& entry, int) {
            if (first) {  // the title entry is never visited
                first = false;
                return;
            }
            progress.step(++number);
            if ((entry.childCount() > 0) == toHeaders)
                storedChange = assignIconTo(entry, icon) || storedChange;
        });
    } else {
        if (m_selected == nullptr)
            return;
        ContentsEntry* level = isTitle(m_selected) ? m_selected : m_selected->parent();
        // A level-0 entry beside the title entry has no level to act on.
        if (isRoot(*level))
            return;
        for (const auto& child : level->children()) {
            if ((child->childCount() > 0) == toHeaders)
                storedChange = assignIconTo(*child, icon) || storedChange;
        }
    }
    m_observer->everyEntryChanged();
    if (storedChange)
        m_project.modified = true;
}

void ContentsEditor::chooseIcon(int row)
{
    EditStep step(m_history, text_id::kStepIcon, EditParts::Contents);
    if (m_selected == nullptr || isTitle(m_selected) || row < 0 || row > kLastChoosableIcon) {
        m_chooserRow = -1;
        m_observer->iconChooserChanged(false, -1);
        return;
    }
    m_chooserRow = row;
    setIconNumber(*m_selected, row);
    m_project.modified = true;
}

void ContentsEditor::setIconNumber(ContentsEntry& entry, int iconNumber)
{
    EditStep step(m_history, text_id::kStepIcon, EditParts::Contents);
    if (entry.iconNumber == iconNumber)
        return;
    entry.iconNumber = iconNumber;
    m_observer->entryChanged(entry);
}

// --- Default topic, keys, captions, files

void ContentsEditor::setDefaultTopic()
{
    EditStep step(m_history, text_id::kStepDefaultTopic, EditParts::Settings);
    if (m_selected == nullptr)
        return;
    if (m_selected->isHeader()) {
        m_desktop.beep();
        return;
    }
    WindowSettings& window = m_project.windowSettings;
    std::string topic = projectRelativePath(m_selected->topicFile, m_project.projectFile, m_style);
    topic.resize(firstCharacters(topic, kWindowTextLimit).size());
    if (topic == window.defaultTopic)
        return;
    window.defaultTopic = std::move(topic);
    // Saved with the project: a close without the question would lose it.
    m_project.modified = true;
}

void ContentsEditor::keyDown(TreeKey key)
{
    switch (key) {
    case TreeKey::Enter:
        if (m_selected != nullptr && m_selected->childCount() > 0)
            setExpanded(*m_selected, !m_selected->expanded, true);
        break;
    case TreeKey::CtrlUp:
        moveSelected(MoveDirection::Up);
        break;
    case TreeKey::CtrlDown:
        moveSelected(MoveDirection::Down);
        break;
    case TreeKey::CtrlLeft:
        moveSelected(MoveDirection::Left);
        break;
    case TreeKey::CtrlRight:
        moveSelected(MoveDirection::Right);
        break;
    case TreeKey::Delete:
        deleteSelected();
        break;
    case TreeKey::F2:
        if (m_selected != nullptr)
            m_observer->captionEditRequested(*m_selected);
        break;
    }
}

void ContentsEditor::captionEditStarted(ContentsEntry& entry)
{
    m_editingCaption = true;
    if (!isTitle(&entry))
        m_project.modified = true;
}

void ContentsEditor::renameEntry(ContentsEntry& entry, std::string caption)
{
    EditStep step(m_history, text_id::kStepRename, EditParts::Contents);
    caption = oneLine(std::move(caption));
    if (caption != entry.caption) {
        entry.caption = std::move(caption);
        // Also for the title entry, whose caption is the project's title.
        m_project.modified = true;
        m_observer->entryChanged(entry);
        if (&entry == m_selected)
            refreshFeedback();
    }
    resortAround(entry);
}

void ContentsEditor::setTopicFile(ContentsEntry& entry, const std::string& file)
{
    EditStep step(m_history, text_id::kStepProperties, EditParts::Contents);
    std::string path;
    if (!file.empty()) {
        path = topicPathOf(file, m_style);
        if (!m_project.fileList.contains(path)) {
            m_observer->fileListAboutToChange();
            m_project.fileList.add(path);
            m_observer->fileListChanged();
        }
    }
    if (path == entry.topicFile)
        return;
    entry.topicFile = std::move(path);
    m_observer->entryChanged(entry);
}

}  // namespace doxel
