#include "tools/replace_run.h"

#include <sys/stat.h>
#include <unordered_set>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace doxel {
namespace {

// Whole files are held in memory while they are searched.
constexpr std::size_t kLargestFile = std::size_t{1} << 30;
// A batch is committed before it holds more than this, so memory and the
// temporary files stay bounded on long lists.
constexpr std::size_t kBatchFiles = 512;
constexpr std::size_t kBatchBytes = std::size_t{64} << 20;

bool isFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool ReplaceInFile(const std::string& file, const ReplaceOptions& options, FileBatch& batch)
{
    const std::string old = readWholeFile(file, kLargestFile);
    const std::string replaced = replacedFileBytes(old, options.strings);
    const bool changes = replaced != old;
    const std::size_t first = batch.size();
    try {
        if (options.backup)
            batch.add(file + ".bak", file, old);
        if (changes)
            batch.add(file, file, replaced, options.backup);
    } catch (...) {
        batch.discardFrom(first);
        throw;
    }
    return changes;
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
        if (!isFile(file)) {
            result.skipped.push_back(file);
            continue;
        }
        // A file listed twice is read again only after its first change
        // is in place, so the second pass sees it.
        if (inBatch.contains(file))
            commit();
        inBatch.insert(file);
        ++result.processed;
        if (control.progress)
            control.progress(result.processed);
        try {
            if (ReplaceInFile(file, options, batch))
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
