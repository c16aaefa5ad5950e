#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/desktop.h"
#include "core/project.h"
#include "core/settings.h"
#include "editing/editor_interfaces.h"

namespace doxel {

// The contents editor's desktop in the window: texts from the string table
// in the current language, message boxes, the question and the file
// chooser through the window's Desktop, Save as through the document
// commands.
class WindowEditorDesktop final : public EditorDesktop {
public:
    // `saveAs` runs the window's Save as; errors it throws end the command.
    WindowEditorDesktop(Desktop& desktop, SettingsStore& settings, const Project& project,
                        std::function<void()> saveAs);

    std::string text(int id) override;
    void beep() override;
    void showMessage(MessageIcon icon, int textId, int captionId) override;
    void showFixedMessage(MessageIcon icon, const std::string& caption, const std::string& text) override;
    bool askYesNo(int textId, int captionId) override;
    void saveProjectAs() override;
    // The "Add Topic File..." chooser (HTML documents or all files, several
    // at once). A start folder, once given, stays the chooser's folder, as
    // with one shared dialog; before that it opens where files were last
    // chosen, or in the project folder.
    std::vector<std::string> chooseTopicFiles(const std::string& startFolder) override;

private:
    std::string caption(int captionId);

    Desktop& m_desktop;
    SettingsStore& m_settings;
    const Project& m_project;
    std::function<void()> m_saveAs;
    std::string m_startFolder;
    std::string m_lastFolder;
};

inline constexpr const char* kAddTopicTitle = "Add Topic File...";

}  // namespace doxel
