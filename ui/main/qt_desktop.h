#pragma once

#include <QPointer>
#include <QWidget>

#include "core/desktop.h"

namespace doxel {

// The desktop of the running program: Qt's message boxes, input box and
// choosers, owned by the main window once it exists; programs started
// directly with their arguments; files and addresses handed to the
// desktop's default handlers.
class QtDesktop final : public Desktop {
public:
    explicit QtDesktop(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    MessageAnswer messageBox(const MessageRequest& request) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::vector<std::string> chooseOpenFiles(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& caption, const std::string& initialFolder) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    void beep() override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder) override;
    bool openDocument(const std::string& fileOrAddress) override;

private:
    QPointer<QWidget> m_owner;
};

// The type list of a Qt file chooser: "HTML Documents (*.htm *.html)" for
// the description "HTML Documents (*.htm, *.html)" and the patterns
// "*.htm;*.html" (a parenthesised part of the description is replaced, as
// Qt reads the patterns from it).
QString qtFileFilter(const std::vector<FileFilter>& filters);

}  // namespace doxel
