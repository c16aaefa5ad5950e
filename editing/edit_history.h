#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/file_list.h"
#include "core/project.h"

namespace doxel {

// What an editing command may change, so that a step keeps a copy of only
// that: a keyword command in a project of 100,000 entries copies the
// keywords, not the tree. The window settings, the help ids and the help
// file's language are small and always kept.
enum class EditParts : unsigned { Contents = 1, Keywords = 2, Settings = 4, Everything = 7 };

// The undo and redo history of the project: one stack of steps over every
// editing command (contents, keywords, project properties). A step keeps
// the parts it changed as they were before and after, so undo and redo
// exchange whole parts and never replay a command; undoing the delete of a
// header of 10,000 entries is a pointer exchange, not 10,000 insertions.
//
// A command opens a step with EditStep; steps opened inside another (Add
// topics inside Item properties) belong to the outer one. A step that
// changed nothing is dropped, so a refused command leaves no "Undo" behind.
//
// The history knows which step the project file holds: undo or redo back
// to it clears the project's modified flag, any other step sets it.
class EditHistory {
public:
    explicit EditHistory(Project& project);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // At most this many steps are kept, and the steps together keep at most
    // kEntryLimit contents entries: the oldest go first, never the newest.
    static constexpr std::size_t kStepLimit = 100;
    static constexpr std::size_t kEntryLimit = 2'000'000;

    bool canUndo() const;
    bool canRedo() const;
    // The text id of the command the next undo or redo reverts or repeats
    // (for "Undo Delete"); 0 when there is none.
    int undoName() const;
    int redoName() const;
    std::size_t stepCount() const;

    // Both exchange the parts of one step with the project's and set the
    // modified flag by the saved step. The caller tells the views that the
    // project changed as a whole (as after Open). Nothing happens without a
    // step to undo or redo, or while a step is open.
    void undo();
    void redo();

    // The contents entry selected when a step opens and when it closes, so
    // that undo selects the entry as it was before the step and redo as it
    // was after it: the entry the step changed.
    void setSelectionSource(std::function<const ContentsEntry*()> source) { m_selection = std::move(source); }
    // The entry of the project's tree at the place the last undo or redo
    // restored the selection to (the nearest that exists); null when none
    // was recorded.
    const ContentsEntry* restoredSelection() const;
    // Set by whoever runs undo and redo around the change of the views, so
    // that they take the project up as restored, not as opened: an automatic
    // sort that the restored list no longer follows goes off instead of
    // sorting it again.
    bool restoring() const { return m_restoring; }
    void setRestoring(bool on) { m_restoring = on; }

    // New or Open: no steps, and the project as it is counts as saved.
    void clear();
    // The project was written to its file: the current state is the saved one.
    void markSaved();

    // Used by EditStep.
    void open(int nameId, EditParts parts);
    void close();

private:
    struct State;
    struct Step;

    State capture(EditParts parts) const;
    bool sameAsProject(const State& state) const;
    void exchange(State& state);
    void trim();
    void followSaved();
    std::optional<std::vector<std::size_t>> selectedRows() const;

    Project& m_project;
    std::vector<Step> m_steps;
    std::size_t m_position = 0;
    // The number of steps done when the file was written; none when that
    // state is no longer reachable.
    std::optional<std::size_t> m_saved = 0;
    int m_depth = 0;
    std::unique_ptr<Step> m_open;
    std::function<const ContentsEntry*()> m_selection;
    std::vector<std::size_t> m_restoredPath;
    bool m_restoredSelection = false;
    bool m_restoring = false;
};

// Opens a step of `history` (none: records nothing) for the lifetime of the
// object; `nameId` is the command's text id.
//
//     void KeywordIndex::deleteSelected()
//     {
//         EditStep step(m_history, text_id::kUndoDelete, EditParts::Keywords);
//         ...
class EditStep {
public:
    EditStep(EditHistory* history, int nameId, EditParts parts) : m_history(history)
    {
        if (m_history != nullptr)
            m_history->open(nameId, parts);
    }
    ~EditStep()
    {
        if (m_history != nullptr)
            m_history->close();
    }
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

private:
    EditHistory* m_history;
};

// A copy of the tree below `root` (captions, icons, files, expansion),
// made without recursion.
std::unique_ptr<ContentsEntry> copyTree(const ContentsEntry& root);
// Whether two trees hold the same entries in the same shape; expansion is
// not compared, since it is not part of the project.
bool sameTree(const ContentsEntry& a, const ContentsEntry& b);

// The rows from the invisible root down to `entry` ({0, 2}: the title
// entry's third child), and the entry at such rows in `root`: the nearest
// one that exists, when the tree has fewer rows there.
std::vector<std::size_t> rowsOf(const ContentsEntry& entry);
const ContentsEntry* entryAtRows(const ContentsEntry& root, const std::vector<std::size_t>& rows);

}  // namespace doxel
