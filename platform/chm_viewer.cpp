#include "platform/chm_viewer.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gio/gio.h>
#include <glib.h>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/child_process.h"
#include "platform/help_viewers.h"

extern char** environ;

namespace doxel {
namespace {

constexpr const char* kChmSample = "help.chm";

GAppInfo* defaultChmViewer()
{
    char* type = g_content_type_guess(kChmSample, nullptr, 0, nullptr);
    GAppInfo* app = type != nullptr ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
    g_free(type);
    return app;
}

std::string commandOutput(const std::vector<std::string>& arguments)
{
    std::string output;
    ChildProcessOptions options;
    options.arguments = arguments;
    options.onLine = [&output](const std::string& line) {
        if (output.empty())
            output = line;
    };
    const ChildProcessResult result = runChildProcess(options);
    if (result.ending != ChildProcessResult::Ending::Exited || result.status != 0)
        return {};
    return output;
}

// The Debian package that installed `path`, from "kchmviewer: /usr/bin/kchmviewer".
std::string owningPackage(const std::string& path)
{
    const std::string line = commandOutput({"dpkg-query", "-S", path});
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0)
        return {};
    return line.substr(0, colon);
}

// Whether the Debian package `name` installed `path`: the package's file
// list, asked of dpkg-query (dpkg's own files are dpkg's business), which
// is much quicker than asking which package owns a file.
bool packageOwns(const std::string& name, const std::string& path)
{
    bool owns = false;
    ChildProcessOptions options;
    options.arguments = {"dpkg-query", "-L", name};
    options.onLine = [&owns, &path](const std::string& line) { owns = owns || line == path; };
    const ChildProcessResult result = runChildProcess(options);
    return result.ending == ChildProcessResult::Ending::Exited && result.status == 0 && owns;
}

// The installed version of a package; empty when it is not installed.
std::string installedVersion(const std::string& name)
{
    const std::string line = commandOutput({"dpkg-query", "-W", "-f=${Status}|${Version}\\n", name});
    const std::size_t bar = line.find('|');
    if (bar == std::string::npos || !line.substr(0, bar).ends_with(" installed"))
        return {};
    return line.substr(bar + 1);
}

// Reaps the started program once it ends, so it never lingers as a zombie,
// without anybody waiting for it now.
void reapLater(pid_t pid)
{
    g_child_watch_add(
        pid, [](GPid, gint, gpointer) {}, nullptr);
}

}  // namespace

std::string upstreamVersion(const std::string& packageVersion)
{
    std::string version = packageVersion;
    const std::size_t epoch = version.find(':');
    if (epoch != std::string::npos)
        version.erase(0, epoch + 1);
    const std::size_t revision = version.rfind('-');
    if (revision != std::string::npos)
        version.resize(revision);
    return version;
}

std::string fourPartVersion(const std::string& packageVersion)
{
    const std::string upstream = upstreamVersion(packageVersion);
    std::string text;
    std::size_t at = 0;
    int parts = 0;
    while (parts < 4 && at < upstream.size() && upstream[at] >= '0' && upstream[at] <= '9') {
        std::size_t end = at;
        while (end < upstream.size() && upstream[end] >= '0' && upstream[end] <= '9')
            ++end;
        const std::string digits = upstream.substr(at, end - at);
        if (digits.size() > 5 || std::stoul(digits) > 65535)
            break;
        text += (parts > 0 ? "." : "") + std::to_string(std::stoul(digits));
        ++parts;
        if (end >= upstream.size() || upstream[end] != '.')
            break;
        at = end + 1;
    }
    if (parts == 0)
        return {};
    for (; parts < 4; ++parts)
        text += ".0";
    return text;
}

pid_t startDesktopViewerAt(const std::string& file, const std::string& page, std::string& problem)
{
    GAppInfo* app = defaultChmViewer();
    const std::string executable =
        app != nullptr && g_app_info_get_executable(app) != nullptr ? g_app_info_get_executable(app) : std::string();
    if (app != nullptr)
        g_object_unref(app);
    if (std::filesystem::path(executable).filename() != "kchmviewer" || page.empty())
        return startDesktopViewer(file, problem);

    // KchmViewer takes the page to show on its command line.
    std::vector<std::string> arguments{executable, "-showPage", page, file};
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    GPid pid = 0;
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv.data(), nullptr,
                       static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                       &pid, &error)) {
        problem = error != nullptr ? error->message : "The help viewer could not be started";
        if (error != nullptr)
            g_error_free(error);
        return -1;
    }
    return pid;
}

ComponentVersion desktopChmViewerPresence()
{
    GAppInfo* app = defaultChmViewer();
    if (app == nullptr)
        return {};
    const std::string name = g_app_info_get_name(app) != nullptr ? g_app_info_get_name(app) : "";
    g_object_unref(app);
    return {"0.0.0.0", name};
}

ComponentVersion desktopChmViewerVersion()
{
    GAppInfo* app = defaultChmViewer();
    if (app == nullptr)
        return {};
    const std::string name = g_app_info_get_name(app) != nullptr ? g_app_info_get_name(app) : "";
    const std::string executable = g_app_info_get_executable(app) != nullptr ? g_app_info_get_executable(app) : "";
    g_object_unref(app);

    // The package is usually named like the program; dpkg-query -S finds
    // it otherwise, at a few hundred milliseconds.
    std::string package;
    const std::string path = findProgram(executable);
    if (!path.empty()) {
        const std::string guess = std::filesystem::path(path).filename().string();
        if (packageOwns(guess, path))
            package = guess;
        if (package.empty())
            package = owningPackage(path);
        std::error_code error;
        const std::string canonical = std::filesystem::canonical(path, error).string();
        if (package.empty() && !error && canonical != path)
            package = owningPackage(canonical);
    }
    const std::string packageVersion = package.empty() ? std::string() : installedVersion(package);
    const std::string version = fourPartVersion(packageVersion);
    if (version.empty())
        return {"0.0.0.0", name};
    return {version, name + " " + upstreamVersion(packageVersion)};
}

int startDetachedProgram(const std::string& file, const std::string& parameters)
{
    std::vector<std::string> arguments{file};
    // Blanks separate, double quotes group: the shell's word splitting
    // without anything else a shell would do.
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : parameters) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                arguments.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        arguments.push_back(word);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, file.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0)
        return error;
    reapLater(pid);
    return 0;
}

std::vector<std::string> programArguments()
{
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    std::string argument;
    while (std::getline(file, argument, '\0'))
        arguments.push_back(argument);
    return arguments;
}

}  // namespace doxel
