#pragma once

#include <functional>
#include <string>

#include "core/desktop.h"

namespace doxel {

inline constexpr const char* kProgramName = "HTML Doxel";

// The text of the general error box: the error's text with a "." appended
// when its last character's code is above that of "." ("?" gets one, "!"
// and ")" do not).
std::string errorBoxText(std::string text);

// The one place where errors end a command: runs it, and shows any error
// that escapes it in the general error box (caption "HTML Doxel", OK, stop
// icon). No exception reaches the event loop.
class CommandRunner {
public:
    explicit CommandRunner(Desktop& desktop) : m_desktop(desktop) {}

    // True when the command ran to its end, false when an error (shown)
    // ended it.
    bool run(const std::function<void()>& command);

    void showError(const std::string& text);

    // Called after every command, however it ended: the window shows the
    // state the command left (the unsaved-changes mark). Must not throw.
    void setAfterCommand(std::function<void()> afterCommand) { m_afterCommand = std::move(afterCommand); }

private:
    bool runGuarded(const std::function<void()>& command);

    Desktop& m_desktop;
    std::function<void()> m_afterCommand;
};

}  // namespace doxel
