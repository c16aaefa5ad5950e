#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace doxel {

// Everything the commands ask of the desktop goes through this interface:
// the program gives it the Qt implementation (QtDesktop), tests a scripted
// stand-in, so that no command handler needs a modal loop in a test.
// Texts are UTF-8; line breaks may be "\n", "\r\n" or the "\n\r" that
// loadText makes of "|".

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Stop, Question };
enum class MessageAnswer { None, Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // The button that Enter presses; None means the first one.
    MessageAnswer defaultAnswer = MessageAnswer::None;
};

// One entry of a file chooser's type list: "HTML Documents" with the
// patterns "*.htm;*.html".
struct FileFilter {
    std::string description;
    std::string patterns;
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialFolder;  // empty: the chooser's own choice
    std::string fileName;       // proposed name, may be empty
    // Given to a saved name that has none ("dxp", without the dot).
    std::string defaultExtension;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box; the answer is the button pressed (Cancel, or No
    // when there is no Cancel, when the box is closed otherwise).
    virtual MessageAnswer messageBox(const MessageRequest& request) = 0;
    // A one-line text input; nothing when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& text) = 0;
    // File choosers return full paths; nothing (or no paths) when cancelled.
    // The save chooser asks before it returns the name of an existing file.
    virtual std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::vector<std::string> chooseOpenFiles(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& caption, const std::string& initialFolder) = 0;
    // Colours as 0xRRGGBB.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;
    virtual void beep() = 0;
    // Starts `program` with `arguments`, each passed as it is; never through
    // a shell, so no file name can inject a command. False when it could not
    // be started.
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingFolder) = 0;
    // Opens a file with the desktop's default application, or an address
    // ("https:", "mailto:") with the desktop's handler. False on failure.
    virtual bool openDocument(const std::string& fileOrAddress) = 0;
};

// A message box with the usual parts.
inline MessageAnswer showMessage(Desktop& desktop, const std::string& text, const std::string& caption,
                                 MessageButtons buttons, MessageIcon icon,
                                 MessageAnswer defaultAnswer = MessageAnswer::None)
{
    return desktop.messageBox({text, caption, buttons, icon, defaultAnswer});
}

}  // namespace doxel
