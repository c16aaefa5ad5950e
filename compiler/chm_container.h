#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace doxel::chm {

// The ITSF container of a help file: a directory of named files, some stored
// as they are (section 0), the rest in one LZX-compressed stream (section 1,
// "MSCompressed"). Header versions, chunk size, window and reset interval
// are those help compilers have always written (version 3 ITSF, 4 KB
// directory chunks, a 64 KB window reset every 64 KB), which Windows' viewer
// expects.
class ChmContainer {
public:
    // `threads`: how many compress at once; 0 for every core.
    explicit ChmContainer(std::uint32_t languageId, unsigned threads = 0);

    // Adds a file; `name` starts with "/" ("/pages/a.htm"). Folders get
    // their own directory entries. Throws FormatError for an empty name, a
    // name twice or one that the directory cannot hold.
    void addFile(const std::string& name, const std::string& data, bool compressed = true);
    // Appends the file's bytes to the compressed stream, for the pages,
    // which are many and large: the stream is compressed as it grows, so
    // it is never held whole.
    void addCompressedFile(const std::string& name, std::string_view data);

    // The size of the compressed section's files together.
    std::uint64_t uncompressedSize() const { return m_contentSize; }

    // Compresses the rest of the stream and writes the whole help file
    // through `write`, in order. Call once.
    void write(const std::function<void(std::string_view)>& write);

    // The timestamp stored in the header; by default the time of writing
    // (SOURCE_DATE_EPOCH when set, for reproducible help files).
    void setTimestamp(std::uint32_t timestamp) { m_timestamp = timestamp; }

private:
    struct Entry {
        std::string name;
        int section;
        std::uint64_t offset;
        std::uint64_t length;
    };
    void addEntry(const std::string& name, int section, std::uint64_t offset, std::uint64_t length);
    void addFolders(const std::string& name);
    // Compresses the whole reset intervals that are pending, or with
    // `all` everything, the last frame padded.
    void compressPending(bool all);

    std::uint32_t m_languageId;
    std::uint32_t m_timestamp = 0;
    std::vector<Entry> m_entries;
    std::unordered_set<std::string> m_names;  // to refuse a name twice
    std::string m_plain;                      // section 0 files
    unsigned m_threads;
    std::string m_content;  // section 1, uncompressed, not yet compressed
    std::uint64_t m_contentSize = 0;
    std::vector<std::string> m_compressed;  // the compressed reset intervals so far
    std::vector<std::uint64_t> m_frames;    // where each frame starts in them together
    std::uint64_t m_compressedSize = 0;
};

// The directory's order: names compared with ASCII letters folded to lower
// case, then byte by byte, which is how readers search a directory chunk.
bool directoryLess(std::string_view a, std::string_view b);

// A number as the directory stores it: seven bits a byte, most significant
// first, the high bit set on every byte but the last.
void appendEncodedInt(std::string& out, std::uint64_t value);

}  // namespace doxel::chm
