#include "platform/help_viewers.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <utility>

namespace doxel {
namespace {

constexpr auto kPollStep = std::chrono::milliseconds(20);
constexpr auto kKillWait = std::chrono::milliseconds(1000);

std::string sameFileKey(const std::string& file)
{
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, error);
    return error ? file : canonical.string();
}

}  // namespace

// One viewer process. A watcher thread waits for it to end and collects it
// then; the lock makes sure that the program never signals a process id
// after its viewer was collected, when the id may already name another
// process.
struct HelpViewers::Child {
    explicit Child(pid_t id) : pid(id) {}

    // True once the process has ended and been collected (or is not ours to
    // collect any more).
    bool hasEnded()
    {
        const std::lock_guard lock(mutex);
        if (collected)
            return true;
        int status = 0;
        pid_t got;
        while ((got = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {}
        if (got == pid) {
            collected = true;
            return true;
        }
        if (got < 0)  // not our child: see whether it is still there
            return ::kill(pid, 0) != 0 && errno == ESRCH;
        return false;
    }
    void signal(int number)
    {
        const std::lock_guard lock(mutex);
        if (!collected)
            ::kill(pid, number);
    }
    // Blocks until the process ends, without collecting it, then collects
    // it under the lock. Returns at once for a process that is not our
    // child.
    static void watch(const std::shared_ptr<Child>& child)
    {
        siginfo_t info{};
        int result;
        while ((result = ::waitid(P_PID, static_cast<id_t>(child->pid), &info, WEXITED | WNOWAIT)) < 0 &&
               errno == EINTR) {}
        if (result == 0)
            child->hasEnded();
    }

    const pid_t pid;
    std::mutex mutex;
    bool collected = false;
};

namespace {

void keepPid(GDesktopAppInfo*, GPid pid, gpointer data)
{
    *static_cast<pid_t*>(data) = pid;
}

}  // namespace

pid_t startDesktopViewer(const std::string& file, std::string& problem)
{
    char* type = g_content_type_guess(file.c_str(), nullptr, 0, nullptr);
    GAppInfo* app = g_app_info_get_default_for_type(type, FALSE);
    if (app == nullptr) {
        problem = std::string("No application is set up to open ") + (type != nullptr ? type : "this file");
        g_free(type);
        return -1;
    }
    g_free(type);
    GFile* location = g_file_new_for_path(file.c_str());
    char* uri = g_file_get_uri(location);
    GList uris{uri, nullptr, nullptr};
    GError* error = nullptr;
    pid_t pid = -1;
    gboolean started = FALSE;
    if (G_IS_DESKTOP_APP_INFO(app)) {
        // Not reaped by GLib: the pid stays ours to wait for and to end.
        started = g_desktop_app_info_launch_uris_as_manager(
            G_DESKTOP_APP_INFO(app), &uris, nullptr,
            static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr, keepPid, &pid,
            &error);
    } else {
        started = g_app_info_launch_uris(app, &uris, nullptr, &error);
    }
    if (!started) {
        problem = error != nullptr ? error->message : "The help viewer could not be started";
        pid = -1;
    } else if (pid <= 0) {
        problem = "The help viewer was started by the desktop and cannot be closed by the program";
        pid = 0;
    }
    if (error != nullptr)
        g_error_free(error);
    g_free(uri);
    g_object_unref(location);
    g_object_unref(app);
    return pid;
}

HelpViewers::HelpViewers() : m_starter(startDesktopViewer)
{
}

HelpViewers::HelpViewers(Starter starter) : m_starter(std::move(starter))
{
}

HelpViewers::~HelpViewers() = default;

bool HelpViewers::open(const std::string& file, std::string* problem)
{
    return openWith(m_starter, file, problem);
}

bool HelpViewers::openWith(const Starter& starter, const std::string& file, std::string* problem)
{
    collectEnded();
    std::string why;
    const pid_t pid = starter(file, why);
    if (pid > 0) {
        auto child = std::make_shared<Child>(pid);
        std::thread(&Child::watch, child).detach();
        m_viewers.push_back({std::move(child), sameFileKey(file)});
    }
    if (problem != nullptr)
        *problem = why;
    return pid >= 0;
}

void HelpViewers::close(const std::string& file, std::chrono::milliseconds wait)
{
    collectEnded();
    const std::string key = sameFileKey(file);
    std::vector<Viewer> ending;
    std::erase_if(m_viewers, [&](const Viewer& viewer) {
        if (viewer.file != key)
            return false;
        ending.push_back(viewer);
        return true;
    });
    end(std::move(ending), wait);
}

void HelpViewers::closeAll(std::chrono::milliseconds wait)
{
    end(std::exchange(m_viewers, {}), wait);
}

std::vector<pid_t> HelpViewers::running()
{
    collectEnded();
    std::vector<pid_t> pids;
    for (const Viewer& viewer : m_viewers)
        pids.push_back(viewer.child->pid);
    return pids;
}

void HelpViewers::collectEnded()
{
    std::erase_if(m_viewers, [](const Viewer& viewer) { return viewer.child->hasEnded(); });
}

void HelpViewers::end(std::vector<Viewer> viewers, std::chrono::milliseconds wait)
{
    for (const Viewer& viewer : viewers)
        viewer.child->signal(SIGTERM);
    // A viewer that ignores the request is killed; one that cannot even be
    // killed (stuck in the kernel) is left behind rather than holding the
    // compile up.
    for (const auto& [signal, limit] : {std::pair{SIGKILL, wait}, std::pair{0, kKillWait}}) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            std::erase_if(viewers, [](const Viewer& viewer) { return viewer.child->hasEnded(); });
            if (viewers.empty() || std::chrono::steady_clock::now() >= deadline)
                break;
            std::this_thread::sleep_for(kPollStep);
        }
        if (viewers.empty() || signal == 0)
            return;
        for (const Viewer& viewer : viewers)
            viewer.child->signal(signal);
    }
}

HelpViewers& programHelpViewers()
{
    static HelpViewers viewers;
    return viewers;
}

}  // namespace doxel
