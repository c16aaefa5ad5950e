#include "tools/replace_run.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "core/errors.h"
#include "core/text_lines.h"

namespace doxel {
namespace {

// Whole files are held in memory while they are searched.
constexpr std::size_t kLargestFile = std::size_t{1} << 30;
// A batch is committed before it holds more than this, so memory and the
// temporary files stay bounded on long lists.
constexpr std::size_t kBatchFiles = 1024;
constexpr std::size_t kBatchBytes = std::size_t{64} << 20;

struct ReadFile {
    std::string bytes;
    FileIdentity identity;  // as it was before the bytes were read
};

// The bytes of a file, or nothing when the path names no file (it has
// vanished, or it is a folder). Throws IoError when a file cannot be read.
std::optional<ReadFile> readIfFile(const std::string& path)
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
    return ReadFile{std::move(bytes), FileIdentity::of(info)};
}

}  // namespace

namespace {

bool replaceInBytes(const std::string& file, const ReadFile& old, const ReplaceOptions& options, FileBatch& batch)
{
    const std::string replaced = replacedFileBytes(old.bytes, options.strings);
    // A file in which the search string does not occur is never rewritten.
    const bool changes = replaced != old.bytes;
    const std::size_t first = batch.size();
    try {
        if (options.backup) {
            // A file that changes leaves its old self behind as the backup;
            // one that stays gets a copy, since a link would follow its
            // later edits, and so does one written in place.
            if (!changes || !batch.addLink(file, file + ".bak", file))
                batch.add(file + ".bak", file, old.bytes);
            // A file changed meanwhile keeps its old backup too.
            if (changes)
                batch.expectUnchanged(file, old.identity);
        }
        if (changes)
            batch.add(file, file, replaced, options.backup, old.identity);
    } catch (...) {
        batch.discardFrom(first);
        throw;
    }
    return changes;
}

// Why the tools leave a file's bytes alone, or nothing when it is text.
std::optional<std::string> notTextReason(const std::string& file, std::string_view bytes)
{
    switch (textKindOf(bytes)) {
    case TextKind::Text:
        return std::nullopt;
    case TextKind::Binary:
        return file + " holds NUL bytes, so it is not a text file; it is left as it is";
    case TextKind::WideUnicode:
        return file + " is UTF-16 or UTF-32 text, which is not searched; it is left as it is";
    }
    return std::nullopt;
}

}  // namespace

bool replaceInFile(const std::string& file, const ReplaceOptions& options, FileBatch& batch)
{
    const std::optional<ReadFile> old = readIfFile(file);
    if (!old)
        throw IoError("Cannot read " + file + ": it is not a file");
    if (const auto reason = notTextReason(file, old->bytes))
        throw IoError(*reason);
    return replaceInBytes(file, *old, options, batch);
}

ReplaceRunResult replaceInFiles(const std::vector<std::string>& files, const ReplaceOptions& options,
                                const ReplaceRunControl& control)
{
    ReplaceRunResult result;
    FileBatch batch;
    std::vector<std::string> changedInBatch;
    // One file under two names (links, "./"), by device and inode.
    std::set<std::pair<std::uint64_t, std::uint64_t>> inBatch;
    std::set<std::string> namesInBatch;
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
        namesInBatch.clear();
    };

    for (const std::string& file : files) {
        try {
            std::optional<ReadFile> old = readIfFile(file);
            if (!old) {
                result.skipped.push_back(file);
                continue;
            }
            if (auto reason = notTextReason(file, old->bytes)) {
                result.notes.push_back(std::move(*reason));
                continue;
            }
            // A file listed twice, under any name, is read again only after
            // its first change is in place, so the second pass sees it; and
            // no name is written twice in one batch (a file and a backup).
            std::pair key{old->identity.device, old->identity.inode};
            if (inBatch.contains(key) || namesInBatch.contains(file) || namesInBatch.contains(file + ".bak")) {
                commit();
                old = readIfFile(file);
                if (!old) {
                    result.skipped.push_back(file);
                    continue;
                }
                key = {old->identity.device, old->identity.inode};
            }
            inBatch.insert(key);
            namesInBatch.insert(file);
            namesInBatch.insert(file + ".bak");
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
