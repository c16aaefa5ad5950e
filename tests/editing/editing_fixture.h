#pragma once

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "core/project.h"
#include "core/settings.h"
#include "editing/contents_editor.h"

namespace doxel::test {

// Trees written as text: entries separated by spaces, children in
// parentheses, "+" after a name for an expanded entry, ":N" for its icon
// number. The first entry of level 0 is the title entry (icon 42); other
// entries get icon 10 unless given. "T+(A(A1 A2) B:3)" is the title,
// expanded, with A (children A1, A2) and B with icon 3.
void buildTree(Project& project, std::string_view text);
std::string treeText(const Project& project, bool withIcons = false);
// The entry captioned `caption` (the first in display order).
ContentsEntry& entryNamed(Project& project, std::string_view caption);

// The desktop as a test scripts it; records what the commands showed.
class ScriptedDesktop final : public EditorDesktop {
public:
    std::string text(int id) override;
    void beep() override { ++beeps; }
    void showMessage(MessageIcon icon, int textId, int captionId) override;
    void showFixedMessage(MessageIcon icon, const std::string& caption, const std::string& text) override;
    bool askYesNo(int textId, int captionId) override;
    void saveProjectAs() override;
    std::vector<std::string> chooseTopicFiles(const std::string& startFolder) override;

    int beeps = 0;
    std::vector<std::string> shown;  // "message 92/0", "question 97/98", "fixed WARNING", "save as", "open <folder>"
    std::deque<bool> answers;        // for questions; No when empty
    std::string saveAsFile;          // what Save as names the project; empty: cancelled
    Project* project = nullptr;      // the project Save as names
    std::vector<std::string> chosenFiles;  // what the Open dialog returns
    std::string fixedText;
};

class CountingProgress final : public ProgressReporter {
public:
    void showProgress(ProgressMode mode, int value) override;
    std::vector<std::string> log;  // "start 3", "step 1", "end"
};

// A view's copy of the tree, kept only from the observer's reports in the
// way a Qt model keeps its rows; check() compares it with the real tree
// and the editor's rows.
class ShadowModel final : public ContentsObserver {
public:
    ShadowModel(ContentsEditor& editor);
    ~ShadowModel() override;

    void entriesAboutToBeInserted(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesInserted() override;
    void entriesAboutToBeRemoved(const ContentsEntry& parent, std::size_t first, std::size_t last) override;
    void entriesRemoved() override;
    void entryAboutToBeMoved(const ContentsEntry& from, std::size_t row, const ContentsEntry& to,
                             std::size_t destinationRow) override;
    void entryMoved() override;
    void siblingOrderAboutToChange(const ContentsEntry* parent) override;
    void siblingOrderChanged(const ContentsEntry* parent) override;
    void entryChanged(const ContentsEntry& entry) override;
    void expansionChanged(const ContentsEntry& entry) override;
    void everyExpansionChanged(bool expanded) override;
    void selectionChanged(const ContentsEntry* entry) override;
    void iconChooserChanged(bool enabled, int row) override;
    void statusTextChanged(const std::string& text) override;
    void captionEditRequested(const ContentsEntry& entry) override;
    void fileListChanged() override { ++fileListReloads; }

    // Empty when the copy matches the tree, else what differs.
    std::string check();

    std::vector<std::string> events;  // "changed A", "expanded A", "selected A", "edit A", ...
    bool chooserEnabled = false;
    int chooserRow = -1;
    std::string status;
    int fileListReloads = 0;
    int structuralChanges = 0;

private:
    void copyChildren(const ContentsEntry& parent);
    void fail(const std::string& problem);

    ContentsEditor& m_editor;
    std::map<const ContentsEntry*, std::vector<const ContentsEntry*>> m_children;
    const ContentsEntry* m_parent = nullptr;
    std::size_t m_first = 0;
    std::size_t m_last = 0;
    const ContentsEntry* m_to = nullptr;
    std::size_t m_destination = 0;
    bool m_pending = false;
    std::string m_problems;
};

// Everything a command test needs: a project with a file, settings, the
// scripted desktop, progress and the editor with its shadow view.
struct EditorRig {
    // The project file is /help/p.dxp (POSIX) or c:\help\p.dxp (Windows).
    explicit EditorRig(std::string_view tree, PathStyle style = PathStyle::Posix);

    Project project;
    MemorySettingsStore settings;
    ScriptedDesktop desktop;
    CountingProgress progress;
    ContentsEditor editor;
    ShadowModel view;

    ContentsEntry& entry(std::string_view caption) { return entryNamed(project, caption); }
    void select(std::string_view caption) { editor.select(&entry(caption)); }
};

}  // namespace doxel::test
