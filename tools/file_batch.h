#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct stat;

namespace doxel {

// What tells one file from another, and whether it changed: the device and
// inode, and the size and modification time it had when it was read.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    static FileIdentity of(const struct stat& info);
    bool sameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileIdentity&) const = default;
};

// Files replaced together so that no crash or failure ever leaves a
// half-written file where a good one was, without waiting for one flush to
// disk per file: each new file goes to a temporary file beside its target;
// commit() flushes the file systems holding them once and then renames each
// over its target.
//
// A file that cannot be replaced by a rename without losing something is
// written in place instead, once everything before it in the batch is on
// disk (its backup among them): a file with other hard links (a rename
// would split them), a file in a folder we cannot write, a file whose owner
// or group a new file of ours could not take.
//
// A target that exists but is read-only (no write permission bit, or not
// writable for us) is refused, as a program writing into it would be: a
// rename would otherwise replace it silently.
//
// Temporary files are named ".NAME.XXXXXX" beside NAME; those a run that was
// killed left behind are removed when the same NAME is written again.
class FileBatch {
public:
    struct Failure {
        std::string file;     // the file the caller named for the entry
        std::string message;  // a sentence naming the file and the reason
    };

    FileBatch();
    ~FileBatch();  // temporary files not committed are removed
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Starts the file that will replace `target` (a symbolic link is
    // followed, so the link stays a link; an existing file's owner, group
    // and permission bits are kept). `label` names the entry in failures.
    // When `afterPrevious` is set, the file is written only when the entry
    // added just before it was: a backup comes first, and its file changes
    // only once it exists. With `expected`, the target is written only if
    // it is still that file, unchanged since it was read. Throws IoError;
    // then nothing was added.
    void begin(const std::string& target, const std::string& label, bool afterPrevious = false,
               const std::optional<FileIdentity>& expected = std::nullopt);
    // Puts `existing` itself, under a temporary name, in line to replace
    // `target`: the old bytes as a backup without copying them, its
    // permissions and times kept. Returns false when the file system cannot
    // link or `existing` will be written in place (the caller then copies);
    // throws IoError when `target` is refused.
    bool addLink(const std::string& existing, const std::string& target, const std::string& label);

    // The entry added last is written only if `file` is still the file it
    // was, unchanged.
    void expectUnchanged(const std::string& file, const FileIdentity& identity);

    // Whether `target` exists and would be written in place (see above).
    bool writesInPlace(const std::string& target);

    // Appends bytes to the file begun last. Throws IoError naming the file
    // being written; the caller then calls discardFrom() for what it has
    // begun.
    void write(std::string_view bytes);
    // Ends the file begun last; the commit puts its bytes on disk.
    void end();

    // begin, write, end in one.
    void add(const std::string& target, const std::string& label, std::string_view contents, bool afterPrevious = false,
             const std::optional<FileIdentity>& expected = std::nullopt);

    // Removes the entries from `index` on, with their temporary files.
    void discardFrom(std::size_t index);

    std::size_t size() const;
    std::size_t pendingBytes() const { return m_bytes; }

    // Flushes every pending file to disk and puts each into place; an entry
    // begun with `afterPrevious` after the one before it, the others side
    // by side, so no two entries may name the same target. An entry that
    // cannot be flushed, or whose target changed since it was read, is not
    // written and fails; failures come in the order the entries were added.
    // Afterwards the batch is empty and can be used again.
    std::vector<Failure> commit();

private:
    struct Entry;
    struct Target;
    enum class Step { Done, Failed, Deferred };
    static Step place(Entry& entry, bool inPlaceRound);
    Target resolve(const std::string& path);
    void removeLeftovers(const std::string& target);
    int flushAll();

    std::vector<std::unique_ptr<Entry>> m_entries;
    std::size_t m_bytes = 0;
    unsigned m_newFileMode;
    std::int64_t m_startSeconds;
    std::int64_t m_startNanoseconds;
    // One open folder per file system with pending files, to flush it.
    std::map<std::uint64_t, int> m_fileSystems;
    // Links this batch made to a file, which do not count as its own.
    std::map<std::pair<std::uint64_t, std::uint64_t>, int> m_ownLinks;
    // Per folder, by NAME: the ".NAME.XXXXXX" files found there.
    std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> m_leftovers;
};

}  // namespace doxel
