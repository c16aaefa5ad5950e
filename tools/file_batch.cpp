#include "tools/file_batch.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace doxel {

struct FileBatch::Entry {
    std::string target;
    std::string label;
    std::string temporary;
    bool afterPrevious = false;
    int fd = -1;  // -1 for a link, which needs no flush
    int error = 0;

    ~Entry()
    {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
    }
};

namespace {

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

FileBatch::FileBatch() : m_newFileMode(0666 & ~currentUmask())
{
}

FileBatch::~FileBatch()
{
    m_entries.clear();
}

std::size_t FileBatch::size() const
{
    return m_entries.size();
}

void FileBatch::begin(const std::string& target, const std::string& label, bool afterPrevious)
{
    auto entry = std::make_unique<Entry>();
    const std::optional<unsigned> oldMode = replacedFileMode(target);
    entry->target = target;
    entry->label = label;
    entry->afterPrevious = afterPrevious;

    std::string pattern = temporaryPatternFor(entry->target);
    entry->fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (entry->fd < 0)
        throw IoError(describeErrno("Cannot write", target, errno));
    entry->temporary = pattern;
    const mode_t mode = oldMode ? static_cast<mode_t>(*oldMode) : m_newFileMode;
    if (mode != 0600)
        ::fchmod(entry->fd, mode);
    m_entries.push_back(std::move(entry));
}

bool FileBatch::addLink(const std::string& existing, const std::string& target, const std::string& label)
{
    auto entry = std::make_unique<Entry>();
    replacedFileMode(target);
    entry->target = target;
    entry->label = label;

    const std::string pattern = temporaryPatternFor(entry->target);
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = pattern;
        for (std::size_t i = name.size() - 6; i < name.size(); ++i)
            name[i] = kLetters[random() % (sizeof kLetters - 1)];
        if (::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            entry->temporary = name;
            m_entries.push_back(std::move(entry));
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
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
    // The write-back starts now and runs while the next files are made;
    // commit() then only waits for it. The file stays open until then.
    ::sync_file_range(m_entries.back()->fd, 0, 0, SYNC_FILE_RANGE_WRITE);
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
    // Every file is on disk before any is renamed. Flushed one after the
    // other once all are written, the files share the file system's
    // journal commits instead of waiting for one each.
    for (const auto& entry : m_entries) {
        if (entry->fd < 0)
            continue;
        const int fd = entry->fd;
        entry->fd = -1;
        if (::fdatasync(fd) != 0 && errno != EINVAL)
            entry->error = errno;
        if (::close(fd) != 0 && entry->error == 0)
            entry->error = errno;
    }

    bool previousDone = true;
    for (const auto& entry : m_entries) {
        if (entry->afterPrevious && !previousDone)
            continue;  // the file before it failed and was reported
        if (entry->error != 0) {
            previousDone = false;
            failures.push_back({entry->label, describeErrno("Cannot write", entry->target, entry->error)});
            continue;
        }
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
