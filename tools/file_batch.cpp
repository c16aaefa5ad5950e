#include "tools/file_batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace doxel {

FileIdentity FileIdentity::of(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

struct FileBatch::Entry {
    std::string named;  // the path as the caller gave it, for messages
    std::string target;
    std::string label;
    std::string temporary;
    std::string contents;                  // for a file written in place
    std::optional<FileIdentity> expected;  // of the file `checked` (as named `checkedNamed`)
    std::string checked;
    std::string checkedNamed;
    bool afterPrevious = false;
    bool inPlace = false;
    std::string failure;  // set when the entry could not be put into place
    int fd = -1;
    int error = 0;

    ~Entry()
    {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
    }
};

// The file a path names for writing, and what is known of it.
struct FileBatch::Target {
    std::string path;  // a symbolic link followed
    bool exists = false;
    bool inPlace = false;
    struct stat old {};
};

namespace {

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string folderOf(const std::string& path)
{
    const std::filesystem::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : ".";
}

std::string nameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// The NAME of a ".NAME.XXXXXX" file name, or empty.
std::string temporaryOwner(std::string_view file)
{
    constexpr std::size_t kSuffix = 7;  // ".XXXXXX"
    if (file.size() <= kSuffix + 1 || file[0] != '.' || file[file.size() - kSuffix] != '.')
        return {};
    for (std::size_t i = file.size() - kSuffix + 1; i < file.size(); ++i) {
        const char c = file[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return {};
    }
    return std::string(file.substr(1, file.size() - kSuffix - 1));
}

// Whether a new file of ours can take the owner and group of `old`.
bool ownershipCanBeKept(const struct stat& old)
{
    if (::geteuid() == 0)
        return true;
    if (old.st_uid != ::geteuid())
        return false;
    if (old.st_gid == ::getegid())
        return true;
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    return std::find(groups, groups + std::max(count, 0), old.st_gid) != groups + std::max(count, 0);
}

void ignoreFileSizeSignal()
{
    // A file over the size limit would otherwise end the program without a
    // word; ignored, the write fails with EFBIG and names the file.
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

FileBatch::FileBatch() : m_newFileMode(0666 & ~currentUmask())
{
    ignoreFileSizeSignal();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    m_startSeconds = now.tv_sec;
    m_startNanoseconds = now.tv_nsec;
}

FileBatch::~FileBatch()
{
    m_entries.clear();
    for (const auto& [device, fd] : m_fileSystems)
        ::close(fd);
}

std::size_t FileBatch::size() const
{
    return m_entries.size();
}

// Follows a symbolic link, so the link stays a link; refuses a folder and a
// read-only file; decides whether an existing file is written in place.
FileBatch::Target FileBatch::resolve(const std::string& path)
{
    Target target;
    target.path = path;
    target.exists = ::lstat(path.c_str(), &target.old) == 0;
    if (target.exists && S_ISLNK(target.old.st_mode)) {
        std::error_code error;
        const auto resolved = std::filesystem::canonical(path, error);
        if (!error)
            target.path = resolved.string();
        target.exists = ::stat(target.path.c_str(), &target.old) == 0;
    }
    if (target.exists && S_ISDIR(target.old.st_mode))
        throw IoError("Cannot write " + path + ": a folder of that name is in the way");
    if (target.exists && ((target.old.st_mode & 0222) == 0 || ::access(target.path.c_str(), W_OK) != 0))
        throw IoError(describeErrno("Cannot write", path, EACCES));
    if (target.exists) {
        const auto own = m_ownLinks.find({target.old.st_dev, target.old.st_ino});
        const nlink_t links = target.old.st_nlink - (own == m_ownLinks.end() ? 0 : own->second);
        target.inPlace =
            links > 1 || !ownershipCanBeKept(target.old) || ::access(folderOf(target.path).c_str(), W_OK | X_OK) != 0;
    }
    return target;
}

bool FileBatch::writesInPlace(const std::string& target)
{
    try {
        return resolve(target).inPlace;
    } catch (const IoError&) {
        return false;
    }
}

void FileBatch::removeLeftovers(const std::string& target)
{
    const std::string folder = folderOf(target);
    auto listed = m_leftovers.find(folder);
    if (listed == m_leftovers.end()) {
        listed = m_leftovers.emplace(folder, std::unordered_map<std::string, std::vector<std::string>>{}).first;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                std::string owner = temporaryOwner(entry->d_name);
                if (!owner.empty())
                    listed->second[owner].emplace_back(entry->d_name);
            }
            ::closedir(dir);
        }
    }
    const auto found = listed->second.find(nameOf(target));
    if (found == listed->second.end())
        return;
    for (const std::string& file : found->second) {
        // Only a file of ours from before this run: a run going on beside
        // this one has newer ones.
        const std::string path = folder + "/" + file;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        if (info.st_mtim.tv_sec < m_startSeconds ||
            (info.st_mtim.tv_sec == m_startSeconds && info.st_mtim.tv_nsec < m_startNanoseconds))
            ::unlink(path.c_str());
    }
    listed->second.erase(found);
}

void FileBatch::begin(const std::string& target, const std::string& label, bool afterPrevious,
                      const std::optional<FileIdentity>& expected)
{
    auto entry = std::make_unique<Entry>();
    const Target resolved = resolve(target);
    entry->named = target;
    entry->target = resolved.path;
    entry->label = label;
    entry->afterPrevious = afterPrevious;
    if (expected) {
        entry->expected = expected;
        entry->checked = resolved.path;
        entry->checkedNamed = target;
    }
    if (resolved.inPlace) {
        entry->inPlace = true;
        m_entries.push_back(std::move(entry));
        return;
    }
    removeLeftovers(entry->target);

    std::string pattern = temporaryPatternFor(entry->target);
    entry->fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (entry->fd < 0)
        throw IoError(describeErrno("Cannot write", target, errno));
    entry->temporary = pattern;
    if (resolved.exists) {
        const struct stat& old = resolved.old;
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
            ::fchown(entry->fd, old.st_uid, old.st_gid) != 0)
            throw IoError(describeErrno("Cannot keep the owner of", target, errno));
        ::fchmod(entry->fd, old.st_mode & 07777);  // after fchown, which clears set-id bits
    } else if (m_newFileMode != 0600) {
        ::fchmod(entry->fd, m_newFileMode);
    }
    m_entries.push_back(std::move(entry));
}

bool FileBatch::addLink(const std::string& existing, const std::string& target, const std::string& label)
{
    if (writesInPlace(existing))
        return false;
    auto entry = std::make_unique<Entry>();
    const Target resolved = resolve(target);
    if (resolved.inPlace)
        return false;
    entry->named = target;
    entry->target = resolved.path;
    entry->label = label;
    removeLeftovers(entry->target);

    const std::string pattern = temporaryPatternFor(entry->target);
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = pattern;
        for (std::size_t i = name.size() - 6; i < name.size(); ++i)
            name[i] = kLetters[random() % (sizeof kLetters - 1)];
        if (::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            entry->temporary = name;
            struct stat linked {};
            if (::stat(name.c_str(), &linked) == 0)
                ++m_ownLinks[{linked.st_dev, linked.st_ino}];
            m_entries.push_back(std::move(entry));
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void FileBatch::expectUnchanged(const std::string& file, const FileIdentity& identity)
{
    Entry& entry = *m_entries.back();
    entry.expected = identity;
    entry.checkedNamed = file;
    std::error_code error;
    const auto resolved = std::filesystem::canonical(file, error);
    entry.checked = error ? file : resolved.string();
}

void FileBatch::write(std::string_view bytes)
{
    Entry& entry = *m_entries.back();
    if (entry.inPlace) {
        entry.contents.append(bytes);
        m_bytes += bytes.size();
        return;
    }
    if (!writeAll(entry.fd, bytes))
        throw IoError(describeErrno("Cannot write", entry.named, errno));
    m_bytes += bytes.size();
}

void FileBatch::end()
{
    Entry& entry = *m_entries.back();
    if (entry.inPlace)
        return;
    // No write-back is started here: commit() flushes the file system once,
    // which writes all the files in one sweep.
    struct stat info {};
    if (::fstat(entry.fd, &info) == 0 && !m_fileSystems.contains(info.st_dev)) {
        const int folder = ::open(folderOf(entry.temporary).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0)
            m_fileSystems.emplace(info.st_dev, folder);
    }
    if (::close(entry.fd) != 0)
        entry.error = errno;
    entry.fd = -1;
}

void FileBatch::add(const std::string& target, const std::string& label, std::string_view contents, bool afterPrevious,
                    const std::optional<FileIdentity>& expected)
{
    begin(target, label, afterPrevious, expected);
    const std::size_t index = m_entries.size() - 1;
    try {
        write(contents);
        end();
    } catch (...) {
        discardFrom(index);
        throw;
    }
}

void FileBatch::discardFrom(std::size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index), m_entries.end());
}

// Flushes every file system that holds files of the batch; returns the
// first error, or 0.
int FileBatch::flushAll()
{
    int first = 0;
    for (const auto& [device, fd] : m_fileSystems) {
        if (::syncfs(fd) != 0 && first == 0)
            first = errno;
    }
    return first;
}

namespace {

// Runs job(0) to job(count - 1) on a few threads.
template <class Job>
void inParallel(std::size_t count, const Job& job)
{
    constexpr std::size_t kThreads = 16;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            job(i);
    };
    std::vector<std::thread> threads;
    const std::size_t helpers = std::min(kThreads, count) - std::min<std::size_t>(1, count);
    threads.reserve(helpers);
    try {
        for (std::size_t i = 0; i < helpers; ++i)
            threads.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads only make it slower.
    }
    work();
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace

// Puts one entry into place; returns whether it got there. An entry written
// in place needs what came before it on disk first, so it waits for the
// second round (`inPlaceRound`).
FileBatch::Step FileBatch::place(Entry& entry, bool inPlaceRound)
{
    if (entry.error != 0) {
        entry.failure = describeErrno("Cannot write", entry.named, entry.error);
        return Step::Failed;
    }
    if (entry.inPlace && !inPlaceRound)
        return Step::Deferred;
    if (entry.expected) {
        struct stat now {};
        if (::stat(entry.checked.c_str(), &now) != 0 || !(FileIdentity::of(now) == *entry.expected)) {
            entry.failure =
                entry.checkedNamed + " was changed by another program while it was being replaced; it is left as it is";
            return Step::Failed;
        }
    }
    if (!entry.inPlace) {
        if (::rename(entry.temporary.c_str(), entry.target.c_str()) != 0) {
            entry.failure = describeErrno("Cannot write", entry.named, errno);
            return Step::Failed;
        }
        entry.temporary.clear();
        return Step::Done;
    }
    const int fd = ::open(entry.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    bool written = fd >= 0 && writeAll(fd, entry.contents) &&
                   ::ftruncate(fd, static_cast<off_t>(entry.contents.size())) == 0 && ::fdatasync(fd) == 0;
    const int error = errno;
    if (fd >= 0 && ::close(fd) != 0 && written)
        written = false;
    if (!written) {
        entry.failure = describeErrno("Cannot write", entry.named, error);
        return Step::Failed;
    }
    return Step::Done;
}

std::vector<FileBatch::Failure> FileBatch::commit()
{
    // Every new file is on disk before any is renamed, so after a crash each
    // target is whole, old or new. One flush of the file system serves all
    // of them, where one per file would wait for a journal commit each.
    const int flushError = flushAll();
    for (const auto& entry : m_entries) {
        if (!entry->inPlace && entry->fd >= 0) {  // begun but never ended
            ::close(entry->fd);
            entry->fd = -1;
            entry->error = EIO;
        }
        if (!entry->inPlace && entry->error == 0 && flushError != 0)
            entry->error = flushError;
    }

    // Chains of entries, each waiting for the one before it (a backup, then
    // its file), go into place side by side: a rename that drops the old
    // file waits on the file system, and many such waits overlap well.
    std::vector<std::size_t> chains;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i == 0 || !m_entries[i]->afterPrevious)
            chains.push_back(i);
    }
    const auto chainEnd = [&](std::size_t chain) {
        return chain + 1 < chains.size() ? chains[chain + 1] : m_entries.size();
    };
    std::vector<std::size_t> resumeAt(chains.size(), 0);  // 0: nothing left for the second round
    inParallel(chains.size(), [&](std::size_t chain) {
        for (std::size_t i = chains[chain]; i < chainEnd(chain); ++i) {
            const Step step = place(*m_entries[i], false);
            if (step == Step::Deferred)
                resumeAt[chain] = i + 1;
            if (step != Step::Done)
                break;
        }
    });
    // Files written in place: the renames before them (their backups) on
    // disk first.
    if (std::any_of(resumeAt.begin(), resumeAt.end(), [](std::size_t at) { return at != 0; })) {
        const int error = flushAll();
        for (std::size_t chain = 0; chain < chains.size(); ++chain) {
            if (resumeAt[chain] == 0)
                continue;
            for (std::size_t i = resumeAt[chain] - 1; i < chainEnd(chain); ++i) {
                Entry& entry = *m_entries[i];
                if (error != 0 && entry.error == 0)
                    entry.error = error;
                if (place(entry, true) != Step::Done)
                    break;
            }
        }
    }

    std::vector<Failure> failures;
    for (const auto& entry : m_entries) {
        if (!entry->failure.empty())
            failures.push_back({entry->label, entry->failure});
    }
    m_entries.clear();
    m_ownLinks.clear();
    m_bytes = 0;
    return failures;
}

}  // namespace doxel
