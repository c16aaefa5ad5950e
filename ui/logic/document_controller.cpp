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
            if (ProjectRelativePath(row.path, oldFile) == *page) {
                *page = ProjectRelativePath(row.path, newFile);
                break;
            }
        }
    }
    window.cutTexts();
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
    const std::string title = LoadText(m_environment.settings, text_id::kNewProjectTitle);
    ProjectChange change(m_view);
    m_project.resetToNew(title);
    m_history.clear();
}

void DocumentController::undo()
{
    m_view.commitEdits();
    if (!m_history.canUndo())
        return;
    ProjectChange change(m_view);
    m_history.undo();
}

void DocumentController::redo()
{
    m_view.commitEdits();
    if (!m_history.canRedo())
        return;
    ProjectChange change(m_view);
    m_history.redo();
}

void DocumentController::rememberProject(const std::string& path)
{
    if (path.empty())
        return;
    SettingsStore& settings = m_environment.settings;
    WriteSetting(settings, "RUF", addRecentProject(ReadSetting(settings, "RUF"), path));
    m_view.recentProjectsChanged();
}

std::vector<RecentMenuItem> DocumentController::recentMenuItems()
{
    return doxel::recentMenuItems(ReadSetting(m_environment.settings, "RUF"), m_environment.fileExists);
}

bool DocumentController::closeQuery()
{
    m_view.commitEdits();
    if (!m_project.modified)
        return true;
    SettingsStore& settings = m_environment.settings;
    const MessageAnswer answer =
        showMessage(m_environment.desktop, LoadText(settings, text_id::kSaveChanges),
                    LoadText(settings, text_id::kSaveProject), MessageButtons::YesNoCancel, MessageIcon::Question);
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
    WriteProjectFile(m_project, m_project.projectFile, m_view.progress());
    m_history.markSaved();
    return true;
}

std::string DocumentController::initialFolder(bool opening)
{
    // LastDir holds the full path of the last file saved, or a folder.
    const std::string lastDir = ReadSetting(m_environment.settings, "LastDir");
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
        if (path == absolutePath(*chosen) || !m_environment.fileExists(path) || replaceAllowed(path))
            break;
        request.initialFolder = std::string(folderOf(path));
        request.fileName = std::string(fileNameOf(*chosen));
    }
    const WindowSettings window = m_project.windowSettings;
    rebaseWindowPages(m_project, m_project.projectFile, path);
    try {
        WriteProjectFile(m_project, path, m_view.progress());
    } catch (...) {
        m_project.windowSettings = window;
        throw;
    }
    m_history.markSaved();
    m_project.projectFile = path;
    rememberProject(path);
    WriteSetting(m_environment.settings, "LastDir", path);
    m_view.setWindowCaption(windowCaption(path));
    return true;
}

bool DocumentController::replaceAllowed(const std::string& path)
{
    const std::string text = "\"" + std::string(fileNameOf(path)) + "\" already exists.\nDo you want to replace it?";
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
    Project loaded;
    ReadProjectFile(loaded, path);
    {
        ProjectChange change(m_view);
        m_project.swap(loaded);
        m_history.clear();
    }
    const std::string file = m_project.projectFile.empty() ? absolutePath(path) : m_project.projectFile;
    m_view.setWindowCaption(windowCaption(file));
    rememberProject(file);
    WriteSetting(m_environment.settings, "LastDir", file);
    if (const std::string missing = missingTopicFiles(); !missing.empty()) {
        showMessage(m_environment.desktop, LoadText(m_environment.settings, text_id::kProjectFilesMissing) + missing,
                    kProgramName, MessageButtons::Ok, MessageIcon::Warning);
    }
    return true;
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
