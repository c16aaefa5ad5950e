#include "ui/logic/command_runner.h"

#include <exception>
#include <new>

#include "core/errors.h"

namespace doxel {

std::string errorBoxText(std::string text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void CommandRunner::showError(const std::string& text)
{
    showMessage(m_desktop, errorBoxText(text), kProgramName, MessageButtons::Ok, MessageIcon::Stop);
}

bool CommandRunner::run(const std::function<void()>& command)
{
    const bool ended = runGuarded(command);
    if (m_afterCommand)
        m_afterCommand();
    return ended;
}

bool CommandRunner::runGuarded(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        showError("There is not enough memory to finish the command");
    } catch (const std::exception& error) {
        // The logic's own errors (input/output, settings, conversion, file
        // format) and anything unexpected alike: the user learns what
        // happened and the program goes on.
        showError(error.what());
    }
    return false;
}

}  // namespace doxel
