#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/desktop.h"
#include "core/progress.h"
#include "core/project.h"
#include "core/settings.h"
#include "editing/edit_history.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/recent_projects.h"

namespace doxel {

// What the document commands need from the window that shows the project.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    // Called around every replacement or reset of the project, so that the
    // views over it let go of the old entries and take up the new ones.
    virtual void beginProjectChange() = 0;
    virtual void endProjectChange() = 0;
    // Takes a caption that is still being edited in place into the project,
    // before the project is saved or dropped.
    virtual void commitEdits() = 0;
    virtual void setWindowCaption(const std::string& caption) = 0;
    // The setting RUF changed: the Recent menu is rebuilt from it.
    virtual void recentProjectsChanged() = 0;
    // The progress window of long operations.
    virtual ProgressReporter& progress() = 0;
};

struct DocumentEnvironment {
    SettingsStore& settings;
    Desktop& desktop;
    CommandRunner& runner;
    // Whether a file exists; the file system unless a test says otherwise.
    std::function<bool(const std::string&)> fileExists;
    // Where Open starts before any project was opened or saved (the sample
    // projects); empty: the file dialog's own choice.
    std::string examplesFolder;
};

// The document commands of the main window on the one open project: New,
// Open, Save, Save as, the recent projects and the unsaved-changes question.
// Errors of the file and settings layers leave these functions as
// exceptions, for the window's command runner to show.
class DocumentController {
public:
    DocumentController(Project& project, DocumentEnvironment environment, DocumentView& view);

    // The new-project state: one title entry captioned with text 94, the
    // default window settings, no file names, not modified.
    void resetProject();

    // Adds `path` (when not empty) to the recent projects and has the Recent
    // menu rebuilt.
    void rememberProject(const std::string& path);
    std::vector<RecentMenuItem> recentMenuItems();

    // The question before unsaved changes would be lost (closing the window,
    // New, Open): "Save changes?" with Yes, No and Cancel. True when the
    // caller may go on: nothing to save, No, or Yes and the project was
    // saved. Yes with a cancelled or failed save keeps the changes: false.
    bool closeQuery();

    // Save: writes to projectFile, or runs Save as for an untitled project.
    // True when the project was written; false when Save as was cancelled.
    // When the file changed on disk since it was read or written here
    // (another window saved it), asks first: Yes keeps this version and
    // saves it, No reloads the file from disk and drops the changes made
    // here, Cancel does neither; both return false.
    bool save();

    // For the window getting the focus back: when the project file changed
    // on disk since it was read or written here, offers to reload it (and,
    // when the project holds unsaved changes, says they would be lost).
    // True when the project was reloaded.
    bool reloadIfChangedOnDisk();
    // Save as: the save dialog (initial folder from LastDir, extension "dxp"
    // added to a name without one; when that names an existing file, a
    // question whether to replace it, and No shows the dialog again; the
    // same for a folder that would leave pages of the project outside it), then
    // the write; the chosen file becomes
    // the project file, enters the recent projects and LastDir, and names
    // the window. The file's relative paths are written for the new folder,
    // the default topic and home page included. False when the dialog was
    // cancelled.
    bool saveAs();

    // New: asks about unsaved changes, remembers the current project file in
    // the recent projects and resets the project. False when the user
    // cancelled; the window then finishes the new-project initialization.
    bool newProject();

    // Open: asks about unsaved changes, lets the user choose a project file
    // and opens it. False when cancelled.
    bool openProject();
    // Opens a chosen, recent or command-line project: asks about unsaved
    // changes first when `ask` is set, reads the file (a file that cannot
    // be read leaves the project as it was and throws), enters it in the
    // recent projects and LastDir, names the window, and reports once (text
    // 229) when topic files of the project are missing, naming the first
    // ten of them and counting the rest.
    bool openProjectFile(const std::string& path, bool ask = true);

    // Takes a caption still being edited in the view into the project.
    void commitEdits() { m_view.commitEdits(); }

    // The undo history of the open project: New and Open start it afresh,
    // a save marks the state the file holds.
    EditHistory& history() { return m_history; }
    // Edit > Undo and Redo: the views take the restored project up as after
    // Open, while history().restoring() tells them it was restored: the
    // tree keeps the expansion it had and selects history's
    // restoredSelection().
    void undo();
    void redo();

    // "HTML Doxel" for an untitled project, "HTML Doxel [name.dxp]" once it
    // has a file.
    static std::string windowCaption(const std::string& projectFile);

private:
    // The topic files of the project that do not exist, as lines to add to
    // the message about them; empty when there are none.
    std::string missingTopicFiles() const;
    // What could not be read of the project's settings file, in a warning.
    void showSettingsProblems(const std::vector<std::string>& problems);
    bool replaceAllowed(const std::string& path);
    // Asks before a save into a folder (a subfolder, say) that leaves pages
    // of the project outside it. True when nothing is left out, or Yes.
    bool keepsItsFiles(const std::string& path);
    // LastDir's folder; before anything was opened or saved, the sample
    // projects when `opening`.
    std::string initialFolder(bool opening);
    // Whether projectFile is no longer the file read or written here.
    bool changedOnDisk() const;
    void rememberDiskState();
    void reload();

    Project& m_project;
    DocumentEnvironment m_environment;
    DocumentView& m_view;
    EditHistory m_history;
    // The project file as it was when read or written here.
    std::optional<FileStamp> m_diskStamp;
    // The change on disk the user chose not to reload when asked on focus.
    std::optional<FileStamp> m_declinedStamp;
};

}  // namespace doxel
