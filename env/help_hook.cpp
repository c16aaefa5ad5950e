#include "env/help_hook.h"

#include <cerrno>
#include <utility>

#include "core/path_rules.h"
#include "env/debug_log.h"

namespace doxel {
namespace {

std::string trimmedSpaces(std::string text)
{
    for (std::size_t at = text.find("%20"); at != std::string::npos; at = text.find("%20", at + 1))
        text.replace(at, 3, " ");
    return std::string(trimmed(text, " "));
}

int helpErrorTextId(int code)
{
    switch (code) {
    case kHelpNotInstalled:
        return 65316;
    case kKeyHHMissing:
        return 65317;
    case kHHMissing:
        return 65318;
    default:
        return 65319;
    }
}

}  // namespace

std::string helpCommandName(unsigned command)
{
    const char* name = "??";
    switch (command) {
    case 1:
        name = "HELP_CONTEXT";
        break;
    case 2:
        name = "HELP_QUIT";
        break;
    case 3:
        name = "HELP_INDEX or HELP_CONTENTS";
        break;
    case 4:
        name = "HELP_HELPONHELP";
        break;
    case 5:
        name = "HELP_SETINDEX or HELP_SETCONTENTS";
        break;
    case 8:
        name = "HELP_CONTEXTPOPUP";
        break;
    case 9:
        name = "HELP_FORCEFILE";
        break;
    case 10:
        name = "HELP_CONTEXTMENU";
        break;
    case 11:
        name = "HELP_FINDER";
        break;
    case 12:
        name = "HELP_WM_HELP";
        break;
    case 13:
        name = "HELP_SETPOPUP_POS";
        break;
    case 257:
        name = "HELP_KEY";
        break;
    case 258:
        name = "HELP_COMMAND";
        break;
    case 261:
        name = "HELP_PARTIALKEY";
        break;
    case 513:
        name = "HELP_MULTIKEY";
        break;
    case 515:
        name = "HELP_SETWINPOS";
        break;
    default:
        break;
    }
    return std::to_string(command) + " (" + name + ")";
}

int showContextTopic(HelpViewerPort& port, const std::string& path, int context, int mode)
{
    debugLog("ShowContext(\"%s\", %d)", path.c_str(), mode);
    int result = kHelpShown;
    if (!port.installed()) {
        result = kHelpNotInstalled;
    } else if (mode == 0) {
        port.showContext(path, context);
    } else if (mode == 1) {
        if (port.windowsProgramExists("KeyHH.EXE"))
            startProgramOrWarn(port, "KeyHH.EXE", "-win -#mapid " + std::to_string(context) + " " + path);
        else
            result = kKeyHHMissing;
    } else if (mode == 2) {
        if (port.windowsProgramExists("HH.EXE"))
            startProgramOrWarn(port, "HH.EXE", "-mapid " + std::to_string(context) + " " + path);
        else
            result = kHHMissing;
    }
    debugLog("  returned - %d", result);
    return result;
}

int HHHelpContext(HelpViewerPort& port, const std::string& helpFile, int context, const std::string& windowName,
                  int mode)
{
    debugLog("HHHelpContext(\"%s\", %d, \"%s\", %d)", helpFile.c_str(), context, windowName.c_str(), mode);
    std::string path = trimmedSpaces(helpFile);
    const std::string window = trimmedSpaces(windowName);
    if (!window.empty())
        path += ">" + window;
    if (mode == 2)
        path = "mk:@MSITStore:" + path;
    return showContextTopic(port, path, context, mode);
}

void HHShowError(HelpViewerPort& port, int code)
{
    if (code == kHelpShown)
        return;
    const std::string text = port.text(helpErrorTextId(code));
    debugLog("HHShowError(%d), \"%s\"", code, text.c_str());
    port.showWarning(text);
}

int shellErrorTextId(int errorCode)
{
    switch (errorCode) {
    case ENOENT:
        return 65320;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 65321;
    case EACCES:
    case EPERM:
        return 65322;
    case ENOMEM:
    case E2BIG:
        return 65323;
    case EROFS:
        return 65324;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return 65325;
    case ETXTBSY:
    case EBUSY:
        return 65326;
    case ENOSPC:
    case EDQUOT:
        return 65327;
    case EIO:
        return 65298;
    case ENOEXEC:
    case ELIBBAD:
        return 65297;
    default:
        return 65300;
    }
}

std::string shellErrorText(const HelpViewerPort& port, int errorCode)
{
    return "[Error:" + std::to_string(errorCode) + "] " + port.text(shellErrorTextId(errorCode));
}

bool startProgramOrWarn(HelpViewerPort& port, const std::string& file, const std::string& parameters)
{
    const int error = port.runWithShell(file, parameters);
    if (error == 0)
        return true;
    const std::string text =
        "Function ShellExecute(" + file + ", " + parameters + ")\nReturned: " + shellErrorText(port, error);
    debugLog("%s", text.c_str());
    port.showWarning(text);
    return false;
}

THookHelpSystem::THookHelpSystem(HelpViewerPort& port, std::string helpFile, std::string windowName, int mode)
    : m_port(port), m_helpFile(std::move(helpFile)), m_windowName(std::move(windowName)), m_mode(mode)
{
    debugLog("THookHelpSystem.Create(\"%s\",\"%s\", %d)", m_helpFile.c_str(), m_windowName.c_str(), m_mode);
}

THookHelpSystem::~THookHelpSystem()
{
    debugLog("THookHelpSystem.Destroy");
    if (m_mode == 0)
        m_port.closeAll();
}

bool THookHelpSystem::HelpHook(unsigned command, long data)
{
    debugLog("THookHelpSystem.HelpHook(%s, %ld)", helpCommandName(command).c_str(), data);
    if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
        HHShowError(m_port, HHHelpContext(m_port, m_helpFile, static_cast<int>(data), m_windowName, m_mode));
        return true;
    }
    return command == HELP_SETPOPUP_POS;
}

}  // namespace doxel
