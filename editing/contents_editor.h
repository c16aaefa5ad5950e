#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/settings.h"
#include "editing/edit_history.h"
#include "editing/editor_interfaces.h"
#include "editing/entry_rows.h"
#include "editing/moves.h"

namespace doxel {

inline constexpr int kDefaultTopicIcon = setting::kDefaultTopicIcon.fallback;
inline constexpr int kDefaultHeaderIcon = setting::kDefaultHeaderIcon.fallback;

enum class SortMode { None, Alphabetical };

// The four "Assign current icon" commands. Here an entry with children
// counts as a header and one without as a topic, whatever its file.
enum class IconTarget { AllHeaders, AllTopics, HeadersOfLevel, TopicsOfLevel };

// Keys the tree passes on (its own handling of them runs as well).
enum class TreeKey { Enter, CtrlUp, CtrlDown, CtrlLeft, CtrlRight, Delete, F2 };

// Which contents commands are enabled, for the pop-up menu when it opens
// and the Items menu when it opens.
struct CommandStates {
    bool preview = false;          // Preview: a topic (not the title entry) is selected
    bool addEntries = false;       // Edit1, Edit2, Addheader1: any entry is selected
    bool deleteEntry = false;      // Deleteitem, Delete1
    bool properties = false;       // properties
    bool assignIcon = false;       // Assigncurrenticon1, AssignselectedIcon1
    bool openInEditor = false;     // the HTML editor and Notepad items: .htm, .html or .txt
    bool setDefaultTopic = false;  // Setasdefaulttopic1
    bool operator==(const CommandStates&) const = default;
};

// The icon chooser and status line for `entry` (the title entry: chooser
// disabled; no row for icon numbers above 41; "caption | file name").
SelectionFeedback feedbackFor(const Project& project, const ContentsEntry& entry, PathStyle style = kNativePathStyle);

// The editor of the table of contents: the selected entry, the sort mode,
// the insert-as-child toggle and every command on the tree. The window
// calls a command for a gesture and shows what the observer reports; the
// editor itself never recurses over the tree, so trees of any depth work.
//
// The window must call projectReplaced() right after New or Open swapped
// the project's tree, and must not run another editing command while a
// command's progress reporter is running.
class ContentsEditor {
public:
    ContentsEditor(Project& project, SettingsStore& settings, EditorDesktop& desktop, ProgressReporter& progress,
                   PathStyle style = kNativePathStyle);
    ContentsEditor(const ContentsEditor&) = delete;
    ContentsEditor& operator=(const ContentsEditor&) = delete;

    // Null detaches the observer.
    void setObserver(ContentsObserver* observer);
    // Every change the commands make becomes a step of `history` (null:
    // none is recorded).
    // Its steps remember the selected entry, for undo and redo to select.
    void setHistory(EditHistory* history);
    ~ContentsEditor();
    EditHistory* history() const { return m_history; }

    Project& project() { return m_project; }
    const Project& project() const { return m_project; }
    PathStyle pathStyle() const { return m_style; }

    // The state of a newly shown project: the title entry selected, the
    // toggle as the setting TopicAsChild says, no drag, no caption being
    // edited. The sort mode is the run's and stays (New turns it off with
    // stopSorting).
    void projectReplaced();

    // Row of `entry` among its parent's children (kept, not scanned).
    std::size_t rowOf(const ContentsEntry& entry) { return m_rows.rowOf(entry); }

    // --- Selection
    ContentsEntry* selected() const { return m_selected; }
    // The view's selection moved (treeChange): runs the selection feedback.
    // Null clears the selection and updates nothing.
    void select(ContentsEntry* entry);
    CommandStates commandStates() const;
    // The row the icon chooser shows (-1: none).
    int chooserRow() const { return m_chooserRow; }

    // --- Toggles
    bool insertAsChild() const { return m_insertAsChild; }
    // The add-as-child toggle, stored in TopicAsChild.
    void setInsertAsChild(bool on);
    SortMode sortMode() const { return m_sortMode; }
    // Sorts every level at once, the title entry
    // staying first.
    void sortAlphabetically();
    void stopSorting() { m_sortMode = SortMode::None; }
    // Whether every entry's children are in alphabetical order.
    bool treeSorted() const;

    // --- Commands
    // A "New header" by the placement rule, selected
    // and opened for editing.
    void addHeader();
    // Asks for files, then addTopicFiles.
    void addTopics();
    // Adds chosen files as topics by the placement rule, in the given
    // order, titles read from the files, with progress. Refused as a whole
    // (message 95) when the first file fails the location test.
    void addTopicFiles(const std::vector<std::string>& files);
    // Pages (or folders of them) dragged from the file manager onto
    // `target` (null: below the tree's last entry): added as Add topic(s)
    // adds chosen files, placed as a dragged entry is placed on `target`
    // (after it, or as its first child with the toggle on; under the title
    // entry when dropped on it or on nothing). Other files are left out
    // with a beep.
    void dropFiles(const std::vector<std::string>& paths, ContentsEntry* target);
    // Asks first (97/98) when the entry has children.
    void deleteSelected();
    void moveSelected(MoveDirection direction);
    // Drag and drop: the pressed entry becomes selected when the drag
    // starts; a drop on nothing (null), on the dragged entry or inside its
    // subtree changes nothing; the end of every drag sets the modified flag.
    void startDrag(ContentsEntry& entry);
    void dropOn(ContentsEntry* target);
    void endDrag();
    // The four assign-icon commands with the chooser's row, or with `icon`
    // (0 to 41; anything else, such as no row, assigns nothing).
    void assignIcon(IconTarget target) { assignIcon(target, m_chooserRow); }
    void assignIcon(IconTarget target, int icon);
    void expandAll();
    void collapseAll();
    // The view is about to expand or collapse `entry` (treeExpanding,
    // treeCollapsing): the icon takes the open or closed form.
    void entryExpanding(ContentsEntry& entry);
    void entryCollapsing(ContentsEntry& entry);
    void setDefaultTopic();
    // The user picked `row` in the icon chooser.
    void chooseIcon(int row);
    // treeKeyDown.
    void keyDown(TreeKey key);

    // --- Captions
    // treeEditing: in-place editing of `entry` began.
    void captionEditStarted(ContentsEntry& entry);
    void captionEditEnded() { m_editingCaption = false; }
    bool editingCaption() const { return m_editingCaption; }
    // A confirmed caption (in place or from item properties). Control
    // characters become spaces; in alphabetical mode the siblings are
    // re-sorted (the whole tree for a level-0 entry).
    void renameEntry(ContentsEntry& entry, std::string caption);

    // --- Single changes, for item properties
    // Gives `entry` the topic file `file` (a row is added to the file list
    // when missing), or makes it a header when `file` is empty.
    void setTopicFile(ContentsEntry& entry, const std::string& file);
    void setIconNumber(ContentsEntry& entry, int iconNumber);
    // Runs the selection feedback for the selected entry.
    void refreshFeedback();

private:
    bool isTitle(const ContentsEntry* entry) const { return m_project.isTitleEntry(entry); }
    bool ensureProjectFile();
    int defaultIcon(const SettingKey& key);
    ContentsEntry& placementParent() const;
    void appendEntries(ContentsEntry& parent, std::vector<std::unique_ptr<ContentsEntry>> entries);
    void insertEntries(const Destination& destination, std::vector<std::unique_ptr<ContentsEntry>> entries);
    void addTopicFilesAt(const std::vector<std::string>& files, std::optional<Destination> destination);
    void selectFromCommand(ContentsEntry* entry);
    void setExpanded(ContentsEntry& entry, bool expanded, bool tellView);
    // Expand all and Collapse all: every entry with children, one report.
    void setEveryExpansion(bool expanded);
    void collapseEmptied(ContentsEntry& entry);
    void collapseSubtree(ContentsEntry& top);
    void relocate(ContentsEntry& moved, const Destination& destination);
    bool assignIconTo(ContentsEntry& entry, int iconNumber);
    void sortTree();
    void resortAround(ContentsEntry& entry);

    Project& m_project;
    SettingsStore& m_settings;
    EditorDesktop& m_desktop;
    ProgressReporter& m_progress;
    PathStyle m_style;
    ContentsObserver* m_observer;
    EditHistory* m_history = nullptr;
    EntryRows m_rows;

    ContentsEntry* m_selected = nullptr;
    ContentsEntry* m_dragged = nullptr;
    bool m_editingCaption = false;
    bool m_insertAsChild = false;
    SortMode m_sortMode = SortMode::None;
    int m_chooserRow = -1;
};

}  // namespace doxel
