#include "tools/file_batch.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"

namespace doxel {

struct FileBatch::Entry {
    std::string target;
    std::string label;
    std::string temporary;
    bool afterPrevious = false;
    int fd = -1;

    ~Entry()
    {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
    }
};

namespace {

std::string resolvedTarget(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto resolved = std::filesystem::canonical(path, error);
        if (!error)
            return resolved.string();
    }
    return path;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

FileBatch::FileBatch() = default;

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

void FileBatch::begin(const std::string& target, const std::string& label, bool afterPrevious)
{
    auto entry = std::make_unique<Entry>();
    entry->target = resolvedTarget(target);
    entry->label = label;
    entry->afterPrevious = afterPrevious;

    struct stat old {};
    const bool exists = ::stat(entry->target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw IoError("Cannot write " + target + ": a folder of that name is in the way");
    if (exists && ((old.st_mode & 0222) == 0 || ::access(entry->target.c_str(), W_OK) != 0))
        throw IoError(describeErrno("Cannot write", target, EACCES));

    const std::filesystem::path targetPath(entry->target);
    const std::filesystem::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
    std::string pattern = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();

    // The folder is opened before anything is written to it, so that the
    // sync at the end reports write-back errors of what follows.
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        throw IoError(describeErrno("Cannot write", target, errno));
    bool known = false;
    for (const auto& fileSystem : m_fileSystems)
        known = known || fileSystem.first == folderInfo.st_dev;
    if (!known) {
        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0)
            throw IoError(describeErrno("Cannot write", target, errno));
        m_fileSystems.emplace_back(folderInfo.st_dev, folderFd);
    }

    entry->fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (entry->fd < 0)
        throw IoError(describeErrno("Cannot write", target, errno));
    entry->temporary = pattern;
    ::fchmod(entry->fd, exists ? (old.st_mode & 07777) : (0666 & ~currentUmask()));
    m_entries.push_back(std::move(entry));
}

void FileBatch::write(std::string_view bytes)
{
    Entry& entry = *m_entries.back();
    while (!bytes.empty()) {
        const ssize_t written = ::write(entry.fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describeErrno("Cannot write", entry.label, errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        m_bytes += static_cast<std::size_t>(written);
    }
}

void FileBatch::end()
{
    Entry& entry = *m_entries.back();
    const int fd = entry.fd;
    entry.fd = -1;
    if (::close(fd) != 0)
        throw IoError(describeErrno("Cannot write", entry.label, errno));
}

void FileBatch::add(const std::string& target, const std::string& label, std::string_view contents, bool afterPrevious)
{
    begin(target, label, afterPrevious);
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

std::vector<FileBatch::Failure> FileBatch::commit()
{
    std::vector<Failure> failures;
    int syncError = 0;
    for (const auto& [device, fd] : m_fileSystems) {
        if (::syncfs(fd) != 0 && syncError == 0)
            syncError = errno;
        ::close(fd);
    }
    m_fileSystems.clear();

    bool previousDone = true;
    for (const auto& entry : m_entries) {
        if (syncError != 0) {
            failures.push_back({entry->label, describeErrno("Cannot write", entry->label, syncError)});
            continue;
        }
        if (entry->afterPrevious && !previousDone)
            continue;  // its backup failed and was reported
        previousDone = ::rename(entry->temporary.c_str(), entry->target.c_str()) == 0;
        if (previousDone)
            entry->temporary.clear();
        else
            failures.push_back({entry->label, describeErrno("Cannot write", entry->target, errno)});
    }
    m_entries.clear();
    m_bytes = 0;
    return failures;
}

}  // namespace doxel
