#include "platform/text_editor.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace doxel {
namespace {

constexpr const char* kTextType = "text/plain";

bool runsInTerminal(GAppInfo* app)
{
    return G_IS_DESKTOP_APP_INFO(app) && g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal");
}

// The words of an application's Exec line, as GIO splits them.
std::vector<std::string> execWords(GAppInfo* app)
{
    const char* commandLine = g_app_info_get_commandline(app);
    if (commandLine == nullptr)
        return {};
    int count = 0;
    char** words = nullptr;
    if (!g_shell_parse_argv(commandLine, &count, &words, nullptr))
        return {};
    std::vector<std::string> result(words, words + count);
    g_strfreev(words);
    return result;
}

struct Editor {
    GAppInfo* app = nullptr;
    bool inTerminal = false;
};

// A text application that needs no terminal is preferred: the default one,
// else the first recommended one; a terminal editor only when there is
// nothing else.
Editor chooseEditor()
{
    GAppInfo* preferred = g_app_info_get_default_for_type(kTextType, FALSE);
    if (preferred != nullptr && !runsInTerminal(preferred))
        return {preferred, false};
    Editor chosen;
    GList* all = g_app_info_get_recommended_for_type(kTextType);
    for (GList* item = all; item != nullptr && chosen.app == nullptr; item = item->next) {
        auto* app = static_cast<GAppInfo*>(item->data);
        if (!runsInTerminal(app))
            chosen.app = G_APP_INFO(g_object_ref(app));
    }
    g_list_free_full(all, g_object_unref);
    if (chosen.app == nullptr && preferred != nullptr)
        return {preferred, true};
    if (preferred != nullptr)
        g_object_unref(preferred);
    return chosen;
}

// The terminal that Debian names for "-e COMMAND...", or xterm.
std::string terminalProgram()
{
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        if (char* found = g_find_program_in_path(name)) {
            std::string path = found;
            g_free(found);
            return path;
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> expandExecWords(const std::vector<std::string>& words, const std::string& file)
{
    std::vector<std::string> command;
    bool fileGiven = false;
    for (const std::string& word : words) {
        std::string expanded;
        bool dropWord = false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const char code = word[++i];
            switch (code) {
            case '%':
                expanded += '%';
                break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                expanded += file;
                fileGiven = true;
                break;
            case 'i':
            case 'c':
            case 'k':
                dropWord = true;
                break;
            default:
                break;  // deprecated codes (%d, %n, %m, ...) expand to nothing
            }
        }
        if (!dropWord && !(expanded.empty() && !word.empty()))
            command.push_back(expanded);
    }
    if (!fileGiven && !command.empty())
        command.push_back(file);
    return command;
}

std::vector<std::string> textEditorCommand(const std::string& file)
{
    const Editor editor = chooseEditor();
    if (editor.app == nullptr)
        return {};
    std::vector<std::string> command = expandExecWords(execWords(editor.app), file);
    g_object_unref(editor.app);
    if (editor.inTerminal && !command.empty()) {
        const std::string terminal = terminalProgram();
        if (terminal.empty())
            return {};
        command.insert(command.begin(), {terminal, "-e"});
    }
    return command;
}

bool openInTextEditor(Desktop& desktop, const std::string& file)
{
    std::vector<std::string> command = textEditorCommand(file);
    // The desktop's handler for the file would be the terminal editor that
    // cannot start from a window.
    if (command.empty())
        return false;
    const std::string program = command.front();
    command.erase(command.begin());
    return desktop.startProgram(program, command, {});
}

}  // namespace doxel
