#include "core/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "core/errors.h"

namespace doxel {
namespace {

// How much of a file is written before it is handed to the disk.
constexpr long long kFlushAhead = 4LL << 20;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// When this run began, to tell a temporary file a killed run left from one
// being written now. A margin leaves alone the files another instance of
// the program is still using.
const std::filesystem::file_time_type kRunStart = std::filesystem::file_time_type::clock::now();
constexpr auto kRunMargin = std::chrono::minutes(1);

// mkstemp's six letters: ASCII letters and digits. A suffix of lower-case
// letters only is taken for a word (".vimrc.backup"), never for ours.
bool looksRandom(std::string_view suffix)
{
    if (suffix.size() != 6)
        return false;
    bool mixed = false;
    for (const char c : suffix) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool other = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!lower && !other)
            return false;
        mixed = mixed || other;
    }
    return mixed;
}

// How long before this run began a file named `name` must have been last
// written to count as left over, or nothing when the name is not ours.
// ".NAME.XXXXXX" beside a file NAME is a write's temporary file, in use for
// seconds; ".STEM-doxel-XXXXXX.hhp" (.hhc, .hhk) are a compile's input
// files and the copy of the help project chmcmd reads, which another
// window's long compile may still be using.
std::optional<std::filesystem::file_time_type::duration> leftOverAge(const std::string& name, const std::string& folder)
{
    if (name.size() < 10 || name[0] != '.')
        return std::nullopt;
    const std::string_view view(name);
    if (name[name.size() - 7] == '.' && looksRandom(view.substr(name.size() - 6))) {
        struct stat sibling {};
        const std::string original = name.substr(1, name.size() - 8);
        if (::lstat((std::filesystem::path(folder) / original).c_str(), &sibling) != 0)
            return std::nullopt;
        return kRunMargin;
    }
    constexpr std::string_view kMarker = "-doxel-";
    for (const std::string_view extension : {".hhp", ".hhc", ".hhk"}) {
        if (!view.ends_with(extension) || name.size() < 1 + kMarker.size() + 6 + extension.size() + 1)
            continue;
        const std::string_view random = view.substr(name.size() - extension.size() - 6, 6);
        const std::string_view marker =
            view.substr(name.size() - extension.size() - 6 - kMarker.size(), kMarker.size());
        if (marker == kMarker && looksRandom(random))
            return std::chrono::hours(1);
        return std::nullopt;
    }
    return std::nullopt;
}

void cleanFolderOnce(const std::string& folder)
{
    static std::mutex mutex;
    static std::set<std::string> cleaned;
    {
        const std::lock_guard lock(mutex);
        if (!cleaned.insert(folder).second)
            return;
    }
    removeStaleTemporaryFiles(folder);
}

std::string folderOfPath(const std::string& path)
{
    const std::filesystem::path target(path);
    return target.has_parent_path() ? target.parent_path().string() : ".";
}

}  // namespace

std::string temporaryPatternFor(const std::string& target)
{
    const std::filesystem::path targetPath(target);
    const std::filesystem::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
    return (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
}

int removeStaleTemporaryFiles(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error)
        return 0;
    int removed = 0;
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        const auto age = leftOverAge(name, folder);
        if (!age)
            continue;
        struct stat info {};
        const std::string path = entry.path().string();
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        const auto written = fs::last_write_time(entry.path(), error);
        if (error || written >= kRunStart - *age)
            continue;
        if (::unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::optional<unsigned> replacedFileMode(const std::string& path)
{
    cleanFolderOnce(folderOfPath(path));
    struct stat old {};
    if (::lstat(path.c_str(), &old) != 0 || S_ISLNK(old.st_mode))
        return std::nullopt;
    if (S_ISDIR(old.st_mode))
        throw IoError("Cannot write " + path + ": a folder of that name is in the way");
    if (!S_ISREG(old.st_mode))
        throw IoError("Cannot write " + path + ": it is not a regular file");
    if ((old.st_mode & 0222) == 0)
        throw IoError(describeErrno("Cannot write", path, EACCES));
    // The system's own reason: a read-only file system is no matter of
    // permissions.
    if (::access(path.c_str(), W_OK) != 0)
        throw IoError(describeErrno("Cannot write", path, errno));
    return static_cast<unsigned>(old.st_mode & 07777);
}

void writeFileAtomically(const std::string& path, std::string_view contents)
{
    AtomicFileWriter file(path);
    file.write(contents);
    file.commit();
}

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(std::move(path))
{
    const std::optional<unsigned> oldMode = replacedFileMode(m_path);
    std::string pattern = temporaryPatternFor(m_path);
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        throw IoError(describeErrno("Cannot write", m_path, errno));
    m_temporary = pattern;
    ::fchmod(m_fd, oldMode ? static_cast<mode_t>(*oldMode) : 0666 & ~currentUmask());
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.c_str());
    }
}

void AtomicFileWriter::fail(int errorNumber)
{
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_temporary.c_str());
    throw IoError(describeErrno("Cannot write", m_path, errorNumber));
}

void AtomicFileWriter::write(std::string_view bytes)
{
    if (m_fd < 0)
        throw IoError("Cannot write " + m_path + ": the file is already closed");
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    // A large file goes to the disk while the rest of it is made, so that
    // commit() waits for its last stretch only. A hint: the sync in commit()
    // is what counts.
    m_written += static_cast<long long>(bytes.size());
    if (m_written - m_flushed >= kFlushAhead) {
        ::sync_file_range(m_fd, m_flushed, m_written - m_flushed, SYNC_FILE_RANGE_WRITE);
        m_flushed = m_written;
    }
}

void AtomicFileWriter::commit()
{
    if (m_fd < 0)
        throw IoError("Cannot write " + m_path + ": the file is already closed");
    if (::fdatasync(m_fd) != 0 && errno != EINVAL)
        fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(m_temporary.c_str());
        throw IoError(describeErrno("Cannot write", m_path, error));
    }
    // rename() replaces a symbolic link itself, never the file it names.
    if (::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(m_temporary.c_str());
        throw IoError(describeErrno("Cannot write", m_path, error));
    }
}

WriteBehind::WriteBehind(std::string path) : m_file(std::move(path))
{
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // hand() and commit() do their work at once.
    }
}

WriteBehind::~WriteBehind()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void WriteBehind::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_commitAsked || m_stopping; });
        if (!m_busy && !m_commitAsked)
            return;
        const bool committing = !m_busy;
        const bool failedBefore = m_failure != nullptr;
        lock.unlock();
        std::exception_ptr failure;
        try {
            if (!committing)
                m_file.write(m_piece);
            else if (!failedBefore)
                m_file.commit();
        } catch (...) {
            failure = std::current_exception();
        }
        m_piece.clear();
        lock.lock();
        if (failure && !m_failure)
            m_failure = failure;
        if (committing)
            m_commitAsked = false;
        else
            m_busy = false;
        m_changed.notify_all();
    }
}

void WriteBehind::waitUntilIdle(std::unique_lock<std::mutex>& lock)
{
    m_changed.wait(lock, [this] { return !m_busy && !m_commitAsked; });
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void WriteBehind::hand(std::string& piece)
{
    if (!m_thread.joinable()) {
        m_file.write(piece);
        piece.clear();
        return;
    }
    {
        std::unique_lock lock(m_mutex);
        waitUntilIdle(lock);
        // The written piece's buffer comes back for the next one.
        m_piece.swap(piece);
        m_busy = true;
    }
    m_changed.notify_all();
}

void WriteBehind::commit()
{
    if (!m_thread.joinable()) {
        m_file.commit();
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_commitAsked = true;
    }
    m_changed.notify_all();
}

void WriteBehind::finish()
{
    std::unique_lock lock(m_mutex);
    waitUntilIdle(lock);
}

std::optional<FileStamp> fileStampOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                     static_cast<long long>(info.st_size),
                     static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec};
}

namespace {

// Opened without blocking: opening a pipe for reading would otherwise wait
// for a writer that never comes.
int openForReading(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw IoError(describeErrno("Cannot read", path, errno));
    return fd;
}

std::string readOpenedFile(const FileDescriptor& fd, const std::string& path, std::size_t limit)
{
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw IoError(describeErrno("Cannot read", path, errno));
    if (S_ISDIR(info.st_mode))
        throw IoError("Cannot read " + path + ": it is a folder");
    if (!S_ISREG(info.st_mode))
        throw IoError("Cannot read " + path + ": it is not a regular file");
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    const auto tooLarge = [&] {
        return IoError("Cannot read " + path + ": the file is larger than " + std::to_string(limit / (1024 * 1024)) +
                       " MB");
    };
    if (info.st_size > 0 && static_cast<std::size_t>(info.st_size) > limit)
        throw tooLarge();

    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describeErrno("Cannot read", path, errno));
        }
        if (got == 0)
            break;
        if (contents.size() + static_cast<std::size_t>(got) > limit)
            throw tooLarge();
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

// The real path of an open file, every link resolved, as the kernel knows
// it; empty when it cannot tell.
std::string realPathOf(const FileDescriptor& fd)
{
    const std::string link = "/proc/self/fd/" + std::to_string(fd.get());
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        return {};
    target.resize(static_cast<std::size_t>(length));
    return target;
}

}  // namespace

std::string readWholeFile(const std::string& path, std::size_t limit)
{
    const FileDescriptor fd(openForReading(path));
    return readOpenedFile(fd, path, limit);
}

FolderGate::FolderGate(const std::string& folder)
{
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr)
        throw IoError(describeErrno("Cannot read", folder, errno));
    m_realFolder = real;
    std::free(real);
    if (!m_realFolder.ends_with('/'))
        m_realFolder += '/';
}

bool FolderGate::holdsRealPath(std::string_view realPath) const
{
    // The folder itself counts as inside.
    return realPath.starts_with(m_realFolder) || std::string(realPath) + "/" == m_realFolder;
}

bool FolderGate::holds(const std::string& path) const
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return false;
    const bool inside = holdsRealPath(real);
    std::free(real);
    return inside;
}

std::string helpFileTargetRefusal(const std::string& target, const std::vector<std::string>& reads)
{
    struct stat at {};
    if (::lstat(target.c_str(), &at) != 0 || S_ISLNK(at.st_mode))
        return {};
    if (S_ISDIR(at.st_mode))
        return "The compiled file " + target + " is a folder";
    for (const std::string& read : reads) {
        struct stat other {};
        if (::stat(read.c_str(), &other) == 0 && other.st_dev == at.st_dev && other.st_ino == at.st_ino)
            return "The compiled file " + target + " is " + read +
                   ", which the compile reads; give the compiled file a name of its own";
    }
    char magic[4] = {};
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool isHelpFile = fd >= 0 && ::read(fd, magic, sizeof magic) == 4 && std::memcmp(magic, "ITSF", 4) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!isHelpFile)
        return "The compiled file " + target +
               " exists and is not a help file; it is not replaced. Remove it or give the compiled file another name";
    return {};
}

std::string FolderGate::leftOutWarning(const std::string& relative)
{
    return "Warning: " + relative +
           " is a link to a file outside the project folder, where the help file cannot hold it; it is left out";
}

std::optional<std::string> FolderGate::read(const std::string& path, std::size_t limit) const
{
    const FileDescriptor fd(openForReading(path));
    // Checked on the file opened, so that no link put in its way between a
    // check and the read leads out; by its name where the system does not
    // tell (no /proc).
    const std::string real = realPathOf(fd);
    if (real.empty() ? !holds(path) : !holdsRealPath(real))
        return std::nullopt;
    return readOpenedFile(fd, path, limit);
}

}  // namespace doxel
