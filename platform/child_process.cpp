#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace doxel {
namespace {

constexpr std::size_t kLineLimit = 64 * 1024;

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

bool makePipe(Descriptor& readEnd, Descriptor& writeEnd)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
    return true;
}

bool isExecutable(const std::string& path)
{
    return ::access(path.c_str(), X_OK) == 0;
}

// Splits what one pipe delivers into lines.
class LineSplitter {
public:
    template <typename Emit>
    void add(const char* data, std::size_t size, Emit&& emit)
    {
        m_pending.append(data, size);
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = m_pending.find('\n', start);
            if (end == std::string::npos)
                break;
            emitLine(std::string_view(m_pending).substr(start, end - start), emit);
            start = end + 1;
        }
        m_pending.erase(0, start);
        while (m_pending.size() >= kLineLimit) {
            emitLine(std::string_view(m_pending).substr(0, kLineLimit), emit);
            m_pending.erase(0, kLineLimit);
        }
    }
    template <typename Emit>
    void finish(Emit&& emit)
    {
        if (!m_pending.empty())
            emitLine(m_pending, emit);
        m_pending.clear();
    }

private:
    template <typename Emit>
    static void emitLine(std::string_view line, Emit& emit)
    {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        emit(std::string(line));
    }
    std::string m_pending;
};

int waitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return status;
}

}  // namespace

std::string findProgram(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return isExecutable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + name;
        if (isExecutable(candidate))
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        folders.remove_prefix(colon + 1);
    }
}

ChildProcessResult runChildProcess(const ChildProcessOptions& options)
{
    ChildProcessResult result;
    if (options.arguments.empty()) {
        result.problem = "no program given";
        return result;
    }
    const std::string program = findProgram(options.arguments.front());
    if (program.empty()) {
        result.problem = options.arguments.front() + " was not found";
        return result;
    }

    // Everything the child needs is prepared before the fork: between fork
    // and exec only async-signal-safe calls are allowed.
    std::vector<char*> argv;
    for (const std::string& argument : options.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* folder = options.workingFolder.empty() ? nullptr : options.workingFolder.c_str();

    Descriptor outRead, outWrite, errRead, errWrite, statusRead, statusWrite;
    Descriptor nullInput(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!makePipe(outRead, outWrite) || !makePipe(errRead, errWrite) || !makePipe(statusRead, statusWrite) ||
        nullInput.get() < 0) {
        result.problem = std::string("cannot create pipes: ") + std::strerror(errno);
        return result;
    }

    const pid_t pid = ::fork();
    if (pid < 0) {
        result.problem = std::string("cannot start a process: ") + std::strerror(errno);
        return result;
    }
    if (pid == 0) {
        ::signal(SIGPIPE, SIG_DFL);
        int failure = 0;
        if (folder != nullptr && ::chdir(folder) != 0)
            failure = errno;
        if (failure == 0 &&
            (::dup2(nullInput.get(), 0) < 0 || ::dup2(outWrite.get(), 1) < 0 || ::dup2(errWrite.get(), 2) < 0))
            failure = errno;
        if (failure == 0) {
            ::execv(program.c_str(), argv.data());
            failure = errno;
        }
        [[maybe_unused]] const ssize_t written = ::write(statusWrite.get(), &failure, sizeof failure);
        ::_exit(127);
    }

    outWrite.reset();
    errWrite.reset();
    statusWrite.reset();
    nullInput.reset();

    int execError = 0;
    ssize_t got;
    while ((got = ::read(statusRead.get(), &execError, sizeof execError)) < 0 && errno == EINTR) {}
    if (got == static_cast<ssize_t>(sizeof execError)) {
        waitFor(pid);
        result.problem = "cannot start " + program + ": " + std::strerror(execError);
        return result;
    }

    try {
        LineSplitter splitters[2];
        const auto emit = [&options](const std::string& line) {
            if (options.onLine)
                options.onLine(line);
        };
        pollfd fds[2] = {{outRead.get(), POLLIN, 0}, {errRead.get(), POLLIN, 0}};
        int open = 2;
        auto nextTick = std::chrono::steady_clock::now() + options.tickInterval;
        char buffer[65536];
        while (open > 0) {
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - std::chrono::steady_clock::now());
            const int ready =
                ::poll(fds, 2, static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
            if (ready < 0 && errno != EINTR)
                break;
            for (int i = 0; i < 2 && ready > 0; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0)
                    continue;
                const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    splitters[i].add(buffer, static_cast<std::size_t>(n), emit);
                } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                    splitters[i].finish(emit);
                    fds[i].fd = -1;
                    --open;
                }
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= nextTick) {
                if (options.onTick)
                    options.onTick();
                nextTick = now + options.tickInterval;
            }
        }
    } catch (...) {
        ::kill(pid, SIGKILL);
        waitFor(pid);
        throw;
    }

    const int status = waitFor(pid);
    if (WIFSIGNALED(status)) {
        result.ending = ChildProcessResult::Ending::Signalled;
        result.status = WTERMSIG(status);
    } else {
        result.ending = ChildProcessResult::Ending::Exited;
        result.status = WEXITSTATUS(status);
    }
    return result;
}

}  // namespace doxel
