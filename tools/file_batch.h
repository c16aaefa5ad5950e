#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace doxel {

// Files replaced together so that no crash or failure ever leaves a
// half-written file where a good one was, without paying one flush to disk
// per file: each new file goes to a temporary file beside its target, then
// commit() flushes them all (one sync per file system) and renames each over
// its target.
//
// A target that exists but is read-only (no write permission bit, or not
// writable for us) is refused, as a program writing into it would be: a
// rename would otherwise replace it silently.
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
    // followed, so the link stays a link; an existing file's permission bits
    // are kept). `label` names the entry in failures. When `afterPrevious`
    // is set, the file is renamed into place only when the entry added just
    // before it was: a backup comes first, and its file changes only once it
    // exists. Throws IoError; then nothing was added.
    void begin(const std::string& target, const std::string& label, bool afterPrevious = false);
    // Appends bytes to the file begun last. Throws IoError; the caller then
    // calls discardFrom() for what it has begun.
    void write(std::string_view bytes);
    // Ends the file begun last (its bytes are handed to the system).
    void end();

    // begin, write, end in one.
    void add(const std::string& target, const std::string& label, std::string_view contents, bool afterPrevious = false);

    // Removes the entries from `index` on, with their temporary files.
    void discardFrom(std::size_t index);

    std::size_t size() const;
    std::size_t pendingBytes() const { return m_bytes; }

    // Flushes every pending file to disk and renames each into place, in the
    // order added. When the flush fails no file is renamed and every entry
    // fails. Afterwards the batch is empty and can be used again.
    std::vector<Failure> commit();

private:
    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::vector<std::pair<unsigned long, int>> m_fileSystems;  // device, an open folder on it
    std::size_t m_bytes = 0;
};

}  // namespace doxel
