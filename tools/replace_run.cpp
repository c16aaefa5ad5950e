#include "tools/replace_run.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "core/errors.h"

namespace doxel {
namespace {

// Whole files are held in memory while they are searched.
constexpr std::size_t kLargestFile = std::size_t{1} << 30;
// A batch is committed before it holds more than this, so memory and the
// temporary files stay bounded on long lists.
constexpr std::size_t kBatchFiles = 256;
constexpr std::size_t kBatchBytes = std::size_t{64} << 20;

// The bytes of a file, or nothing when the path names no file (it has
// vanished, or it is a folder). Throws IoError when a file cannot be read.
std::optional<std::string> readIfFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw IoError(describeErrno("Cannot read", path, errno));
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw IoError(describeErrno("Cannot read", path, errno));
    if (S_ISDIR(info.st_mode))
        return std::nullopt;
    if (!S_ISREG(info.st_mode))
        throw IoError("Cannot read " + path + ": it is not a plain file");
    if (static_cast<std::size_t>(info.st_size) > kLargestFile)
        throw IoError("Cannot read " + path + ": the file is larger than 1 GB");
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(std::min(kLargestFile + 1, bytes.size() * 2 + 4096));  // it grew while read
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describeErrno("Cannot read", path, errno));
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got > kLargestFile)
            throw IoError("Cannot read " + path + ": the file is larger than 1 GB");
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

namespace {

bool replaceInBytes(const std::string& file, const std::string& old, const ReplaceOptions& options, FileBatch& batch)
{
    const std::string replaced = replacedFileBytes(old, options.strings);
    const bool changes = replaced != old;
    const std::size_t first = batch.size();
    try {
        if (options.backup) {
            // A file that changes leaves its old self behind as the backup;
            // one that stays gets a copy, since a link would follow its
            // later edits.
            if (!changes || !batch.addLink(file, file + ".bak", file))
                batch.add(file + ".bak", file, old);
        }
        if (changes)
            batch.add(file, file, replaced, options.backup);
    } catch (...) {
        batch.discardFrom(first);
        throw;
    }
    return changes;
}

}  // namespace

bool ReplaceInFile(const std::string& file, const ReplaceOptions& options, FileBatch& batch)
{
    const std::optional<std::string> old = readIfFile(file);
    if (!old)
        throw IoError("Cannot read " + file + ": it is not a file");
    return replaceInBytes(file, *old, options, batch);
}

ReplaceRunResult replaceInFiles(const std::vector<std::string>& files, const ReplaceOptions& options,
                                const ReplaceRunControl& control)
{
    ReplaceRunResult result;
    FileBatch batch;
    std::vector<std::string> changedInBatch;
    std::unordered_set<std::string> inBatch;
    const auto commit = [&] {
        for (FileBatch::Failure& failure : batch.commit()) {
            // A file whose new bytes did not reach it did not change.
            for (auto it = changedInBatch.begin(); it != changedInBatch.end(); ++it) {
                if (*it == failure.file) {
                    changedInBatch.erase(it);
                    break;
                }
            }
            result.failures.push_back(std::move(failure));
        }
        result.changed += static_cast<int>(changedInBatch.size());
        changedInBatch.clear();
        inBatch.clear();
    };

    for (const std::string& file : files) {
        // A file listed twice is read again only after its first change
        // is in place, so the second pass sees it.
        if (inBatch.contains(file))
            commit();
        try {
            const std::optional<std::string> old = readIfFile(file);
            if (!old) {
                result.skipped.push_back(file);
                continue;
            }
            inBatch.insert(file);
            ++result.processed;
            if (control.progress)
                control.progress(result.processed);
            if (replaceInBytes(file, *old, options, batch))
                changedInBatch.push_back(file);
        } catch (const IoError& error) {
            result.failures.push_back({file, error.what()});
            if (control.stopAtFailure) {
                result.stopped = true;
                break;
            }
        }
        if (batch.size() >= kBatchFiles || batch.pendingBytes() >= kBatchBytes)
            commit();
    }
    commit();
    if (control.stopAtFailure && !result.failures.empty())
        result.stopped = true;
    return result;
}

}  // namespace doxel
