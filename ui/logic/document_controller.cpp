#include "ui/logic/document_controller.h"

#include <filesystem>

#include "core/path_rules.h"
#include "core/project_file.h"
#include "core/text_ids.h"
#include "ui/logic/string_table.h"

namespace doxel {
namespace {

const FileFilter kProjectFilter{"Doxel Projects (*.dxp)", "*.dxp"};

bool existsOnDisk(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// "book" becomes "book.dxp", and so does "v1.2 manual": the compiler's
// file names are made by replacing the last four characters, and the
// desktop opens only ".dxp" files with the program. "Book.DXP" stays.
std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    const std::string suffix = "." + extension;
    if (extension.empty() || asciiLower(path).ends_with(asciiLower(suffix)))
        return path;
    return path + suffix;
}

// Keeps the project's views consistent however the change ends.
class ProjectChange {
public:
    explicit ProjectChange(DocumentView& view) : m_view(view) { m_view.beginProjectChange(); }
    ~ProjectChange() { m_view.endProjectChange(); }
    ProjectChange(const ProjectChange&) = delete;
    ProjectChange& operator=(const ProjectChange&) = delete;

private:
    DocumentView& m_view;
};

// The window's pages are stored relative to the project folder; a save to
// another folder would make them point elsewhere. A page that is one of
// the project's files is stored again for the new folder; any other text
// (an address, a page outside the project) stays as it is.
void rebaseWindowPages(Project& project, const std::string& oldFile, const std::string& newFile)
{
    if (oldFile.empty() || folderOf(oldFile) == folderOf(newFile))
        return;
    WindowSettings& window = project.windowSettings;
    for (std::string* page : {&window.defaultTopic, &window.homePage}) {
        if (page->empty() || *page == kNotDefined)
            continue;
        for (const FileListEntry& row : project.fileList) {
            if (projectRelativePath(row.path, oldFile) == *page) {
                *page = projectRelativePath(row.path, newFile);
                break;
            }
        }
    }
    window.cutTexts();
}

// The project's files that a help file compiled beside `oldFile` can hold
// and one compiled beside `newFile` cannot: those of its folder that would
// lie outside the new one. A help file holds only files of its project's
// folder, so a copy saved into a subfolder would compile without its pages.
std::vector<std::string> filesLeftOutside(const Project& project, const std::string& oldFile,
                                          const std::string& newFile)
{
    const auto outside = [](const std::string& path, const std::string& projectFile) {
        return projectRelativePath(path, projectFile).starts_with("..\\");
    };
    std::vector<std::string> files;
    for (const FileListEntry& row : project.fileList) {
        if (outside(row.path, newFile) && (oldFile.empty() || !outside(row.path, oldFile)))
            files.push_back(row.path);
    }
    return files;
}

}  // namespace

DocumentController::DocumentController(Project& project, DocumentEnvironment environment, DocumentView& view)
    : m_project(project), m_environment(std::move(environment)), m_view(view), m_history(project)
{
    if (!m_environment.fileExists)
        m_environment.fileExists = existsOnDisk;
}

std::string DocumentController::windowCaption(const std::string& projectFile)
{
    if (projectFile.empty())
        return kProgramName;
    return std::string(kProgramName) + " [" + std::string(fileNameOf(projectFile)) + "]";
}

void DocumentController::resetProject()
{
    const std::string title = loadText(m_environment.settings, text_id::kNewProjectTitle);
    ProjectChange change(m_view);
    m_project.resetToNew(title);
    m_history.clear();
    m_diskStamp.reset();
}

namespace {

// The views take the project up as restored by undo or redo while it lives.
class Restoring {
public:
    explicit Restoring(EditHistory& history) : m_history(history) { m_history.setRestoring(true); }
    ~Restoring() { m_history.setRestoring(false); }
    Restoring(const Restoring&) = delete;
    Restoring& operator=(const Restoring&) = delete;

private:
    EditHistory& m_history;
};

}  // namespace

void DocumentController::undo()
{
    m_view.commitEdits();
    if (!m_history.canUndo())
        return;
    Restoring restoring(m_history);
    ProjectChange change(m_view);
    m_history.undo();
}

void DocumentController::redo()
{
    m_view.commitEdits();
    if (!m_history.canRedo())
        return;
    Restoring restoring(m_history);
    ProjectChange change(m_view);
    m_history.redo();
}

void DocumentController::rememberProject(const std::string& path)
{
    if (path.empty())
        return;
    Settings settings(m_environment.settings);
    settings.setText(setting::kRecentProjects, addRecentProject(settings.text(setting::kRecentProjects), path));
    m_view.recentProjectsChanged();
}

std::vector<RecentMenuItem> DocumentController::recentMenuItems()
{
    return doxel::recentMenuItems(Settings(m_environment.settings).text(setting::kRecentProjects),
                                  m_environment.fileExists);
}

bool DocumentController::closeQuery()
{
    m_view.commitEdits();
    if (!m_project.modified)
        return true;
    SettingsStore& settings = m_environment.settings;
    const MessageAnswer answer =
        showMessage(m_environment.desktop, loadText(settings, text_id::kSaveChanges),
                    loadText(settings, text_id::kSaveProject), MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::No)
        return true;
    if (answer != MessageAnswer::Yes)
        return false;
    bool saved = false;
    m_environment.runner.run([this, &saved] { saved = save(); });
    return saved;
}

bool DocumentController::save()
{
    m_view.commitEdits();
    if (m_project.projectFile.empty())
        return saveAs();
    if (changedOnDisk()) {
        const std::string text = withArguments(loadText(m_environment.settings, text_id::kSaveOverChangedFile),
                                               {std::string(fileNameOf(m_project.projectFile))});
        const MessageAnswer answer =
            showMessage(m_environment.desktop, text, loadText(m_environment.settings, text_id::kSaveProject),
                        MessageButtons::YesNoCancel, MessageIcon::Warning, MessageAnswer::Cancel);
        if (answer == MessageAnswer::No)
            reload();
        if (answer != MessageAnswer::Yes)
            return false;
    }
    writeProjectFile(m_project, m_project.projectFile, m_view.progress());
    m_history.markSaved();
    rememberDiskState();
    return true;
}

bool DocumentController::changedOnDisk() const
{
    if (m_project.projectFile.empty() || !m_diskStamp)
        return false;
    // A file deleted meanwhile is written anew: nothing of another window's
    // is lost by that.
    const std::optional<FileStamp> now = fileStampOf(m_project.projectFile);
    return now && *now != *m_diskStamp;
}

void DocumentController::rememberDiskState()
{
    m_diskStamp = m_project.projectFile.empty() ? std::nullopt : fileStampOf(m_project.projectFile);
}

void DocumentController::reload()
{
    const std::optional<FileStamp> before = fileStampOf(m_project.projectFile);
    Project loaded;
    std::vector<std::string> problems;
    readProjectFile(loaded, m_project.projectFile, kNativePathStyle, nullptr, &problems);
    {
        ProjectChange change(m_view);
        m_project.swap(loaded);
        // The steps were made on the project as it was here; the file
        // read in their place is the saved state with nothing to undo.
        m_history.clear();
    }
    m_diskStamp = before;
    showSettingsProblems(problems);
}

bool DocumentController::reloadIfChangedOnDisk()
{
    if (!changedOnDisk())
        return false;
    std::string text = withArguments(loadText(m_environment.settings, text_id::kReloadChangedFile),
                                     {std::string(fileNameOf(m_project.projectFile))});
    if (m_project.modified)
        text += "\n\n" + loadText(m_environment.settings, text_id::kUnsavedChangesLost);
    // Asked once per change on disk: after No the next save asks again,
    // the next focus does not.
    const std::optional<FileStamp> seen = fileStampOf(m_project.projectFile);
    if (seen == m_declinedStamp)
        return false;
    if (showMessage(m_environment.desktop, text, kProgramName, MessageButtons::YesNo, MessageIcon::Question,
                    m_project.modified ? MessageAnswer::No : MessageAnswer::Yes) != MessageAnswer::Yes) {
        m_declinedStamp = seen;
        return false;
    }
    reload();
    return true;
}

std::string DocumentController::initialFolder(bool opening)
{
    // LastDir holds the full path of the last file saved, or a folder.
    const std::string lastDir = Settings(m_environment.settings).text(setting::kLastFolder);
    std::error_code error;
    if (lastDir.empty())
        return opening ? m_environment.examplesFolder : std::string();
    if (std::filesystem::is_directory(lastDir, error))
        return lastDir;
    return std::string(folderOf(lastDir));
}

bool DocumentController::saveAs()
{
    m_view.commitEdits();
    FileDialogRequest request{"Save project...", {kProjectFilter}, initialFolder(false), {}, "dxp"};
    std::string path;
    for (;;) {
        const auto chosen = m_environment.desktop.chooseSaveFile(request);
        if (!chosen || chosen->empty())
            return false;
        path = absolutePath(withDefaultExtension(*chosen, "dxp"));
        // The chooser asked about the name it returned; a name that only
        // now got its extension may be another, existing project.
        const bool replaceAsked = path != absolutePath(*chosen) && m_environment.fileExists(path);
        if ((!replaceAsked || replaceAllowed(path)) && keepsItsFiles(path))
            break;
        request.initialFolder = std::string(folderOf(path));
        request.fileName = std::string(fileNameOf(*chosen));
    }
    const WindowSettings window = m_project.windowSettings;
    rebaseWindowPages(m_project, m_project.projectFile, path);
    try {
        writeProjectFile(m_project, path, m_view.progress());
    } catch (...) {
        m_project.windowSettings = window;
        throw;
    }
    m_history.markSaved();
    m_project.projectFile = path;
    rememberDiskState();
    rememberProject(path);
    Settings(m_environment.settings).setText(setting::kLastFolder, path);
    m_view.setWindowCaption(windowCaption(path));
    return true;
}

bool DocumentController::keepsItsFiles(const std::string& path)
{
    const std::vector<std::string> files = filesLeftOutside(m_project, m_project.projectFile, path);
    if (files.empty())
        return true;
    const std::string text =
        withArguments(loadText(m_environment.settings, text_id::kPagesLeftOutside),
                      {std::to_string(files.size()), std::string(fileNameOf(path)), files.front()});
    return showMessage(m_environment.desktop, text, "Save project...", MessageButtons::YesNo, MessageIcon::Warning,
                       MessageAnswer::No) == MessageAnswer::Yes;
}

bool DocumentController::replaceAllowed(const std::string& path)
{
    const std::string text =
        withArguments(loadText(m_environment.settings, text_id::kReplaceExistingFile), {std::string(fileNameOf(path))});
    return showMessage(m_environment.desktop, text, "Save project...", MessageButtons::YesNo, MessageIcon::Warning,
                       MessageAnswer::No) == MessageAnswer::Yes;
}

bool DocumentController::newProject()
{
    if (!closeQuery())
        return false;
    rememberProject(m_project.projectFile);
    resetProject();
    m_view.setWindowCaption(windowCaption({}));
    return true;
}

bool DocumentController::openProject()
{
    if (!closeQuery())
        return false;
    FileDialogRequest request{"Open project...", {kProjectFilter}, initialFolder(true), {}, {}};
    const auto chosen = m_environment.desktop.chooseOpenFile(request);
    if (!chosen || chosen->empty())
        return false;
    return openProjectFile(*chosen, false);
}

bool DocumentController::openProjectFile(const std::string& path, bool ask)
{
    if (ask && !closeQuery())
        return false;
    // Read aside first: a file that fails leaves the open project untouched.
    // The stamp is taken before the read, so a save by another window
    // during it counts as a change.
    const std::optional<FileStamp> stamp = fileStampOf(absolutePath(path));
    Project loaded;
    std::vector<std::string> problems;
    readProjectFile(loaded, path, kNativePathStyle, nullptr, &problems);
    {
        ProjectChange change(m_view);
        m_project.swap(loaded);
        m_history.clear();
    }
    showSettingsProblems(problems);
    m_diskStamp = stamp;
    const std::string file = m_project.projectFile.empty() ? absolutePath(path) : m_project.projectFile;
    m_view.setWindowCaption(windowCaption(file));
    rememberProject(file);
    Settings(m_environment.settings).setText(setting::kLastFolder, file);
    if (const std::string missing = missingTopicFiles(); !missing.empty()) {
        showMessage(m_environment.desktop, loadText(m_environment.settings, text_id::kProjectFilesMissing) + missing,
                    kProgramName, MessageButtons::Ok, MessageIcon::Warning);
    }
    return true;
}

void DocumentController::showSettingsProblems(const std::vector<std::string>& problems)
{
    if (problems.empty())
        return;
    // The settings file is rewritten from what was read at the next save.
    std::string text = loadText(m_environment.settings, text_id::kProjectSettingsUnread) + "\n";
    for (const std::string& problem : problems)
        text += "\n" + problem;
    showMessage(m_environment.desktop, text, kProgramName, MessageButtons::Ok, MessageIcon::Warning);
}

std::string DocumentController::missingTopicFiles() const
{
    // Enough to find them, not so many that the box outgrows the screen.
    constexpr std::size_t kListed = 10;
    std::string listed;
    std::size_t missing = 0;
    for (const FileListEntry& row : m_project.fileList) {
        if (m_environment.fileExists(row.path))
            continue;
        if (++missing <= kListed)
            listed += (missing == 1 ? "\n\n" : "\n") + row.path;
    }
    if (missing > kListed)
        listed += "\n(and " + std::to_string(missing - kListed) + " more)";
    return listed;
}

}  // namespace doxel
