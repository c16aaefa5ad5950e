#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// Files replaced together so that no crash or failure ever leaves a
// half-written file where a good one was, without waiting for one flush to
// disk per file: each new file goes to a temporary file beside its target
// and its write-back starts at once; commit() waits until all of them are
// on disk and then renames each over its target.
//
// A target that exists but is read-only (no write permission bit, or not
// writable for us) is refused, as a program writing into it would be: a
// rename would otherwise replace it silently. Nothing is written through a
// symbolic link: the new file replaces the link (replacedFileMode).
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

    // Starts the file that will replace `target` (a symbolic link there is
    // replaced, its file left alone; an existing file's permission bits are
    // kept). `label` names the entry in failures. When `afterPrevious`
    // is set, the file is renamed into place only when the entry added just
    // before it was: a backup comes first, and its file changes only once it
    // exists. Throws IoError; then nothing was added.
    void begin(const std::string& target, const std::string& label, bool afterPrevious = false);
    // Puts `existing` itself, under a temporary name, in line to replace
    // `target`: the old bytes as a backup without copying them, its
    // permissions and times kept. Returns false when the file system cannot
    // link (the caller then copies); throws IoError when `target` is refused.
    bool addLink(const std::string& existing, const std::string& target, const std::string& label);

    // Appends bytes to the file begun last. Throws IoError; the caller then
    // calls discardFrom() for what it has begun.
    void write(std::string_view bytes);
    // Ends the file begun last; its bytes start on their way to the disk.
    // It stays open until the commit, so keep batches to a few hundred.
    void end();

    // begin, write, end in one.
    void add(const std::string& target, const std::string& label, std::string_view contents,
             bool afterPrevious = false);

    // Removes the entries from `index` on, with their temporary files.
    void discardFrom(std::size_t index);

    std::size_t size() const;
    std::size_t pendingBytes() const { return m_bytes; }

    // Flushes every pending file to disk and renames each into place, in the
    // order added; an entry that cannot be flushed is not renamed and fails.
    // Afterwards the batch is empty and can be used again.
    std::vector<Failure> commit();

private:
    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::size_t m_bytes = 0;
    unsigned m_newFileMode;
};

}  // namespace doxel
