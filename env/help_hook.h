#pragma once

#include <string>
#include <utility>

namespace doxel {

// What the help hook needs of the help viewer and of the desktop. The
// program implements it over the desktop's CHM viewer; tests over a record.
class HelpViewerPort {
public:
    virtual ~HelpViewerPort() = default;
    // A help viewer is installed.
    virtual bool installed() const = 0;
    // Shows the topic mapped to `context` of the help file named by `path`
    // ("file.chm" or "file.chm>window") and brings the viewer to the front.
    virtual void showContext(const std::string& path, int context) = 0;
    // Closes every help window the program opened.
    virtual void closeAll() = 0;
    // A program of the Windows folder ("KeyHH.EXE", "HH.EXE") exists.
    virtual bool windowsProgramExists(const std::string& name) const = 0;
    // Starts a program with parameters; 0 when it started, else the system's
    // error code.
    virtual int runWithShell(const std::string& file, const std::string& parameters) = 0;
    // A warning box with an OK button.
    virtual void showWarning(const std::string& text) = 0;
    // The fixed text with this id (65296 to 65327).
    virtual std::string text(int id) const = 0;
};

// The help commands that reach the hook, with their numbers.
enum HelpCommand {
    HELP_CONTEXT = 1,
    HELP_QUIT = 2,
    HELP_INDEX = 3,
    HELP_CONTENTS = 3,
    HELP_HELPONHELP = 4,
    HELP_SETINDEX = 5,
    HELP_SETCONTENTS = 5,
    HELP_CONTEXTPOPUP = 8,
    HELP_FORCEFILE = 9,
    HELP_CONTEXTMENU = 10,
    HELP_FINDER = 11,
    HELP_WM_HELP = 12,
    HELP_SETPOPUP_POS = 13,
    HELP_KEY = 257,
    HELP_COMMAND = 258,
    HELP_PARTIALKEY = 261,
    HELP_MULTIKEY = 513,
    HELP_SETWINPOS = 515,
};

// "1 (HELP_CONTEXT)", "99 (??)": a help command as the log names it.
std::string helpCommandName(unsigned command);

// Result codes of HHHelpContext and showContextTopic.
enum HelpResult { kHelpShown = 0, kHelpNotInstalled = 1, kKeyHHMissing = 2, kHHMissing = 3 };

// Shows topic `context` of `path`: mode 0 through the viewer, 1 through
// "KeyHH.EXE", 2 through "HH.EXE".
int showContextTopic(HelpViewerPort& port, const std::string& path, int context, int mode);
// The path is the help file, then ">" and the window name when there is
// one; "%20" becomes a space and blanks around both are dropped; mode 2
// adds "mk:@MSITStore:" in front.
int HHHelpContext(HelpViewerPort& port, const std::string& helpFile, int context, const std::string& windowName,
                  int mode);
// Nothing for 0, else the warning for the code (texts 65316 to 65319).
void HHShowError(HelpViewerPort& port, int code);

// Starts `file` with `parameters`; on failure warns with the call and the
// system's error text and gives false.
bool startProgramOrWarn(HelpViewerPort& port, const std::string& file, const std::string& parameters);

// "[Error:2] File Not Found": a system error code of this platform (errno)
// with its text, fetched by `port` from the ids 65296 to 65327.
std::string shellErrorText(const HelpViewerPort& port, int errorCode);
int shellErrorTextId(int errorCode);

// The program's help handler while it exists: context requests go to the
// help file's topics; the viewer windows it opened close with it.
class THookHelpSystem {
public:
    THookHelpSystem(HelpViewerPort& port, std::string helpFile, std::string windowName, int mode);
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // True when the hook handled the command; the others are left to the
    // application's default help handling.
    bool HelpHook(unsigned command, long data);

    const std::string& helpFile() const { return m_helpFile; }
    // The file the next request opens: the manual of the language the
    // window speaks now.
    void setHelpFile(std::string helpFile) { m_helpFile = std::move(helpFile); }

private:
    HelpViewerPort& m_port;
    std::string m_helpFile;
    std::string m_windowName;
    int m_mode;
};

}  // namespace doxel
