#include "ui/logic/editor_desktop.h"

#include "core/path_rules.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/string_table.h"

namespace doxel {

WindowEditorDesktop::WindowEditorDesktop(Desktop& desktop, SettingsStore& settings, const Project& project,
                                         std::function<void()> saveAs)
    : m_desktop(desktop), m_settings(settings), m_project(project), m_saveAs(std::move(saveAs))
{
}

std::string WindowEditorDesktop::text(int id)
{
    return loadText(m_settings, id);
}

std::string WindowEditorDesktop::caption(int captionId)
{
    return captionId == text_id::kProgramName ? std::string(kProgramName) : loadText(m_settings, captionId);
}

void WindowEditorDesktop::beep()
{
    m_desktop.beep();
}

void WindowEditorDesktop::showMessage(MessageIcon icon, int textId, int captionId)
{
    doxel::showMessage(m_desktop, loadText(m_settings, textId), caption(captionId), MessageButtons::Ok, icon);
}

void WindowEditorDesktop::showFixedMessage(MessageIcon icon, const std::string& caption, const std::string& text)
{
    doxel::showMessage(m_desktop, text, caption, MessageButtons::Ok, icon);
}

bool WindowEditorDesktop::askYesNo(int textId, int captionId)
{
    return doxel::showMessage(m_desktop, loadText(m_settings, textId), caption(captionId), MessageButtons::YesNo,
                              MessageIcon::Question, MessageAnswer::No) == MessageAnswer::Yes;
}

void WindowEditorDesktop::saveProjectAs()
{
    if (m_saveAs)
        m_saveAs();
}

std::vector<std::string> WindowEditorDesktop::chooseTopicFiles(const std::string& startFolder)
{
    if (!startFolder.empty())
        m_startFolder = startFolder;
    std::string folder = m_startFolder;
    if (folder.empty())
        folder = m_lastFolder;
    if (folder.empty() && !m_project.projectFile.empty())
        folder = std::string(folderOf(m_project.projectFile));
    FileDialogRequest request{
        kAddTopicTitle, {{"HTML Documents (*.htm, *.html)", "*.htm;*.html"}, {"All (*.*)", "*.*"}}, folder, {}, {}};
    std::vector<std::string> files = m_desktop.chooseOpenFiles(request);
    if (!files.empty())
        m_lastFolder = std::string(folderOf(files.front()));
    return files;
}

}  // namespace doxel
