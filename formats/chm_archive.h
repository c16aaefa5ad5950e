#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formats/help_file.h"

namespace doxel {

class LzxDecoder;

// A compiled help file read by our own code, for help files from anyone
// (the import): its header, directory, reset table and every stored file's
// place are checked against the file's real size before anything is read,
// so a damaged or hostile file gives an error naming what is wrong instead
// of a crash, a hang or an allocation beyond what it can hold. What it reads
// decodes the LZX data itself.
class ChmArchive final : public CompiledHelpFile {
public:
    // The largest help file it opens.
    static constexpr std::uint64_t kSizeLimit = std::uint64_t{4} << 30;

    // Reads the help file at `path`. Throws IoError when it cannot be read
    // and DamagedFileError when it is not a help file or is damaged.
    static std::unique_ptr<ChmArchive> open(const std::string& path);
    // A help file in memory; `label` names it in messages.
    ChmArchive(std::string bytes, std::string label);
    ~ChmArchive() override;
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Every content file (not folders, not the format's own "#" and "$"
    // files, not the "::" data space), in the order the directory lists
    // them.
    std::vector<std::string> files() const override;
    // By exact name, else ignoring the letter case of ASCII letters, as
    // viewers look names up.
    bool contains(const std::string& path) const override;
    // Throws IoError when the file is not there, DamagedFileError when its
    // data cannot be read.
    std::string read(const std::string& path) const override;

private:
    struct Entry {
        std::string name;
        std::uint64_t section = 0;
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
    };
    const Entry* find(const std::string& path) const;
    void readHeader();
    void readDirectory(std::uint64_t offset, std::uint64_t length);
    void readCompressedSection();
    std::string_view plainBytes(const Entry& entry) const;
    const std::string& decodedFrame(std::uint64_t frame) const;
    [[noreturn]] void damaged(const std::string& what) const;

    std::string m_bytes;
    std::string m_label;
    std::uint64_t m_contentOffset = 0;
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_byName;
    std::unordered_map<std::string, std::size_t> m_byFoldedName;

    // The compressed section: its stream, where each frame starts in it,
    // and every how many frames the decoder starts afresh.
    bool m_hasCompressed = false;
    std::string_view m_stream;
    std::vector<std::uint64_t> m_frameStarts;
    std::uint64_t m_uncompressedLength = 0;
    std::uint64_t m_framesPerReset = 1;
    int m_windowBits = 16;
    // The decoder and the frame it decodes next, so that reading the files
    // in order decodes every frame once. Guarded by m_decoding.
    mutable std::mutex m_decoding;
    mutable std::unique_ptr<LzxDecoder> m_decoder;
    mutable std::uint64_t m_nextFrame = 0;
    mutable std::map<std::uint64_t, std::string> m_recentFrames;
    // What reading has cost so far, to stop a file made to cost more: the
    // bytes decoded, and the bytes handed out.
    mutable std::uint64_t m_decoded = 0;
    mutable std::uint64_t m_served = 0;
};

}  // namespace doxel
