#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/desktop.h"

namespace doxel::test {

// The desktop of the tests: answers come from a script given beforehand,
// and every request is recorded. A request without a scripted answer is
// recorded in `unexpected` and answered as if the user cancelled, so a test
// fails on it instead of hanging in a modal loop.
//
//     ScriptedDesktop desktop;
//     desktop.answerMessage(MessageAnswer::Yes);
//     desktop.answerFile("/tmp/book.dxp");
//     ... run the command ...
//     EXPECT_EQ(desktop.messages.size(), 1u);
//     EXPECT_TRUE(desktop.finished());
class ScriptedDesktop final : public Desktop {
public:
    struct StartedProgram {
        std::string program;
        std::vector<std::string> arguments;
        std::string workingFolder;
    };

    // --- the script, used in order per kind of request
    void answerMessage(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerInput(std::optional<std::string> text) { m_inputAnswers.push_back(std::move(text)); }
    // Open and save choosers share one queue; nothing means "cancelled".
    void answerFile(std::optional<std::string> path) { m_fileAnswers.push_back(std::move(path)); }
    void answerFiles(std::vector<std::string> paths) { m_filesAnswers.push_back(std::move(paths)); }
    void answerFolder(std::optional<std::string> path) { m_folderAnswers.push_back(std::move(path)); }
    void answerColor(std::optional<std::uint32_t> color) { m_colorAnswers.push_back(color); }
    // Whether the next programs start (default: they do).
    bool programsStart = true;
    bool documentsOpen = true;

    // --- what the program asked for
    std::vector<MessageRequest> messages;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<StartedProgram> programs;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> folderStarts;  // where each folder chooser opened
    int beeps = 0;
    std::vector<std::string> unexpected;

    // True when every scripted answer was used and nothing unexpected came.
    bool finished() const
    {
        return unexpected.empty() && m_messageAnswers.empty() && m_inputAnswers.empty() && m_fileAnswers.empty() &&
               m_filesAnswers.empty() && m_folderAnswers.empty() && m_colorAnswers.empty();
    }

    MessageAnswer messageBox(const MessageRequest& request) override
    {
        messages.push_back(request);
        if (m_messageAnswers.empty()) {
            unexpected.push_back("message box: " + request.text);
            return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        }
        return take(m_messageAnswers);
    }

    std::optional<std::string> inputBox(const std::string& caption, const std::string&, const std::string&) override
    {
        return next(m_inputAnswers, "input box: " + caption);
    }

    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        return next(m_fileAnswers, "open file chooser: " + request.title);
    }

    std::vector<std::string> chooseOpenFiles(const FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        if (m_filesAnswers.empty()) {
            unexpected.push_back("open files chooser: " + request.title);
            return {};
        }
        return take(m_filesAnswers);
    }

    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override
    {
        fileDialogs.push_back(request);
        return next(m_fileAnswers, "save file chooser: " + request.title);
    }

    std::optional<std::string> chooseFolder(const std::string& caption, const std::string& initialFolder) override
    {
        folderStarts.push_back(initialFolder);
        return next(m_folderAnswers, "folder chooser: " + caption);
    }

    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return next(m_colorAnswers, "colour chooser"); }

    void beep() override { ++beeps; }

    bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder) override
    {
        programs.push_back({program, arguments, workingFolder});
        return programsStart;
    }

    bool openDocument(const std::string& fileOrAddress) override
    {
        openedDocuments.push_back(fileOrAddress);
        return documentsOpen;
    }

private:
    template <typename T>
    static T take(std::deque<T>& queue)
    {
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }

    template <typename T>
    std::optional<T> next(std::deque<std::optional<T>>& queue, const std::string& what)
    {
        if (queue.empty()) {
            unexpected.push_back(what);
            return std::nullopt;
        }
        return take(queue);
    }

    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<std::optional<std::string>> m_inputAnswers;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::deque<std::vector<std::string>> m_filesAnswers;
    std::deque<std::optional<std::string>> m_folderAnswers;
    std::deque<std::optional<std::uint32_t>> m_colorAnswers;
};

}  // namespace doxel::test
