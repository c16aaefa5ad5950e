#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "core/desktop.h"
#include "ui/kit/dialog_runner.h"

namespace doxel::bench {

// Answers every question at once, so no modal loop holds a benchmark up:
// message boxes with `answer`, the multi-file chooser with `chosen`, every
// other chooser as cancelled.
class QuietDesktop final : public Desktop {
public:
    explicit QuietDesktop(MessageAnswer answer = MessageAnswer::Ok) : m_answer(answer) {}

    MessageAnswer messageBox(const MessageRequest&) override { return m_answer; }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::vector<std::string> chooseOpenFiles(const FileDialogRequest&) override { return chosen; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return {}; }
    void beep() override {}
    bool startProgram(const std::string&, const std::vector<std::string>&, const std::string&) override { return true; }
    bool openDocument(const std::string&) override { return true; }

    std::vector<std::string> chosen;

private:
    MessageAnswer m_answer;
};

// Runs the dialogs modally, as the program does, after telling `opened`
// about each, so a benchmark can watch it.
class WatchedDialogRunner final : public DialogRunner {
public:
    bool run(QDialog& dialog) override
    {
        if (opened)
            opened(dialog);
        return dialog.exec() == QDialog::Accepted;
    }

    std::function<void(QDialog&)> opened;
};

}  // namespace doxel::bench
