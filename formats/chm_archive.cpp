#include "formats/chm_archive.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/text_encoding.h"
#include "formats/lzx_decoder.h"
#include "formats/lzx_format.h"

namespace doxel {
namespace {

constexpr std::uint64_t kFrameSize = kLzxFrameSize;
constexpr std::uint32_t kMaxChunkSize = 1u << 20;
constexpr std::size_t kRecentFrames = 16;
// Reading every stored file once decodes each frame about once; files read
// out of order cost their reset interval again. More than this many times
// the data, plus a margin for small files, is a file built to keep the
// reader busy.
constexpr std::uint64_t kDecodeFactor = 16;
constexpr std::uint64_t kDecodeMargin = std::uint64_t{256} << 20;
// Stored files may share bytes (empty files, a few of one content); beyond
// this margin over what the file holds they claim more than it has.
constexpr std::uint64_t kServedMargin = std::uint64_t{64} << 20;

constexpr const char* kContentName = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char* kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

std::uint32_t u32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint64_t u64(std::string_view bytes, std::size_t at)
{
    return u32(bytes, at) | (std::uint64_t{u32(bytes, at + 4)} << 32);
}

// Whether [offset, offset + length) lies inside `size` bytes.
bool fits(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

std::string asciiFolded(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// A directory number: seven bits a byte, most significant first, the high
// bit set on every byte but the last.
std::optional<std::uint64_t> encodedInteger(std::string_view chunk, std::size_t& at)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 9 && at < chunk.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(chunk[at++]);
        value = (value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0)
            return value;
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path)
{
    return std::make_unique<ChmArchive>(readWholeFile(path, kSizeLimit), path);
}

ChmArchive::ChmArchive(std::string bytes, std::string label) : m_bytes(std::move(bytes)), m_label(std::move(label))
{
    readHeader();
    readCompressedSection();
}

ChmArchive::~ChmArchive() = default;

void ChmArchive::damaged(const std::string& what) const
{
    throw DamagedFileError(m_label + " is damaged: " + what);
}

void ChmArchive::readHeader()
{
    const std::string_view bytes = m_bytes;
    if (bytes.size() < 0x58 || bytes.substr(0, 4) != "ITSF")
        throw DamagedFileError(m_label + " is not a compiled help file: it does not start with \"ITSF\"");
    const std::uint32_t version = u32(bytes, 4);
    const std::uint32_t headerLength = u32(bytes, 8);
    if (version < 2 || version > 3)
        damaged("its header has the unknown version " + std::to_string(version));
    const std::uint64_t directoryOffset = u64(bytes, 0x48);
    const std::uint64_t directoryLength = u64(bytes, 0x50);
    if (!fits(directoryOffset, directoryLength, bytes.size()))
        damaged("its directory lies beyond the end of the file");
    m_contentOffset = version >= 3 && headerLength >= 0x60 && bytes.size() >= 0x60 ? u64(bytes, 0x58)
                                                                                   : directoryOffset + directoryLength;
    if (m_contentOffset > bytes.size())
        damaged("its content lies beyond the end of the file");
    readDirectory(directoryOffset, directoryLength);
}

void ChmArchive::readDirectory(std::uint64_t offset, std::uint64_t length)
{
    const std::string_view directory = std::string_view(m_bytes).substr(offset, length);
    if (directory.size() < 0x54 || directory.substr(0, 4) != "ITSP")
        damaged("its directory has no \"ITSP\" header");
    const std::uint32_t headerLength = u32(directory, 8);
    const std::uint32_t chunkSize = u32(directory, 16);
    const std::uint32_t firstListing = u32(directory, 32);
    const std::uint32_t chunkCount = u32(directory, 44);
    if (headerLength < 0x54 || headerLength > directory.size())
        damaged("its directory header has the length " + std::to_string(headerLength));
    if (chunkSize < 32 || chunkSize > kMaxChunkSize)
        damaged("its directory chunks have the size " + std::to_string(chunkSize));
    if (!fits(headerLength, std::uint64_t{chunkCount} * chunkSize, directory.size()))
        damaged("its directory claims " + std::to_string(chunkCount) + " chunks, more than it holds");

    // The listing chunks, each naming the next; every chunk may come once.
    std::vector<bool> visited(chunkCount, false);
    for (std::uint32_t chunk = firstListing; chunk != 0xFFFFFFFFu;) {
        if (chunk >= chunkCount)
            damaged("its listing of files leads to chunk " + std::to_string(chunk) + ", which it does not hold");
        if (visited[chunk])
            damaged("its listing of files loops back to chunk " + std::to_string(chunk));
        visited[chunk] = true;
        const std::string_view data = directory.substr(headerLength + std::uint64_t{chunk} * chunkSize, chunkSize);
        if (data.substr(0, 4) != "PMGL")
            damaged("chunk " + std::to_string(chunk) + " of its listing of files is not a listing");
        const std::uint32_t freeSpace = u32(data, 4);
        if (freeSpace > chunkSize - 20)
            damaged("chunk " + std::to_string(chunk) + " of its listing of files claims more free space than it has");
        const std::string_view entries = data.substr(0, chunkSize - freeSpace);
        std::size_t at = 20;
        while (at < entries.size()) {
            const std::optional<std::uint64_t> nameLength = encodedInteger(entries, at);
            if (!nameLength || *nameLength > entries.size() - at)
                damaged("an entry of chunk " + std::to_string(chunk) + " of its listing runs past the chunk");
            Entry entry;
            entry.name = std::string(entries.substr(at, static_cast<std::size_t>(*nameLength)));
            at += static_cast<std::size_t>(*nameLength);
            const std::optional<std::uint64_t> section = encodedInteger(entries, at);
            const std::optional<std::uint64_t> place = encodedInteger(entries, at);
            const std::optional<std::uint64_t> size = encodedInteger(entries, at);
            if (!section || !place || !size)
                damaged("the entry of " + escapeControls(entry.name) + " runs past its chunk of the listing");
            entry.section = *section;
            entry.offset = *place;
            entry.length = *size;
            if (entry.name.empty())
                continue;
            if (m_byName.emplace(entry.name, m_entries.size()).second) {
                m_byFoldedName.emplace(asciiFolded(entry.name), m_entries.size());
                m_entries.push_back(std::move(entry));
            }
        }
        chunk = u32(data, 16);
    }
}

void ChmArchive::readCompressedSection()
{
    const Entry* content = find(kContentName);
    if (content == nullptr)
        return;
    const Entry* control = find(kControlDataName);
    const Entry* resetTable = find(kResetTableName);
    if (control == nullptr || resetTable == nullptr)
        damaged("its compressed data has no control data or reset table");
    const std::string_view controlData = plainBytes(*control);
    if (controlData.size() < 0x18 || controlData.substr(4, 4) != "LZXC")
        damaged("its compressed data is not LZX");
    std::uint64_t resetInterval = u32(controlData, 12);
    std::uint64_t windowSize = u32(controlData, 16);
    if (u32(controlData, 8) == 2) {
        resetInterval *= kFrameSize;
        windowSize *= kFrameSize;
    }
    m_windowBits = 0;
    for (int bits = 15; bits <= 21; ++bits) {
        if (windowSize == std::uint64_t{1} << bits)
            m_windowBits = bits;
    }
    if (m_windowBits == 0)
        damaged("its LZX window has the size " + std::to_string(windowSize));
    if (resetInterval < kFrameSize || resetInterval % kFrameSize != 0)
        damaged("its LZX reset interval is " + std::to_string(resetInterval) + " bytes");
    m_framesPerReset = resetInterval / kFrameSize;

    const std::string_view table = plainBytes(*resetTable);
    if (table.size() < 0x28)
        damaged("its reset table is too short");
    const std::uint32_t frameCount = u32(table, 4);
    const std::uint32_t entrySize = u32(table, 8);
    const std::uint32_t tableOffset = u32(table, 12);
    m_uncompressedLength = u64(table, 16);
    const std::uint64_t compressedLength = u64(table, 24);
    const std::uint64_t frameSize = u64(table, 32);
    if (entrySize != 8 || frameSize != kFrameSize)
        damaged("its reset table has entries of " + std::to_string(entrySize) + " bytes for frames of " +
                std::to_string(frameSize) + " bytes");
    if (!fits(tableOffset, std::uint64_t{frameCount} * 8, table.size()))
        damaged("its reset table claims " + std::to_string(frameCount) + " frames, more than it holds");
    if (m_uncompressedLength > std::uint64_t{frameCount} * kFrameSize)
        damaged("its reset table claims " + std::to_string(m_uncompressedLength) + " bytes in " +
                std::to_string(frameCount) + " frames");
    m_stream = plainBytes(*content);
    if (compressedLength > m_stream.size())
        damaged("its reset table claims more compressed data than it holds");
    m_stream = m_stream.substr(0, compressedLength);
    const std::uint64_t framesUsed = (m_uncompressedLength + kFrameSize - 1) / kFrameSize;
    m_frameStarts.reserve(framesUsed + 1);
    for (std::uint64_t i = 0; i < framesUsed; ++i) {
        const std::uint64_t start = u64(table, tableOffset + i * 8);
        if (start > compressedLength || (!m_frameStarts.empty() && start < m_frameStarts.back()))
            damaged("frame " + std::to_string(i) + " of its reset table starts at " + std::to_string(start));
        m_frameStarts.push_back(start);
    }
    m_frameStarts.push_back(compressedLength);
    m_hasCompressed = true;
}

const ChmArchive::Entry* ChmArchive::find(const std::string& path) const
{
    if (const auto exact = m_byName.find(path); exact != m_byName.end())
        return &m_entries[exact->second];
    if (const auto folded = m_byFoldedName.find(asciiFolded(path)); folded != m_byFoldedName.end())
        return &m_entries[folded->second];
    return nullptr;
}

std::string_view ChmArchive::plainBytes(const Entry& entry) const
{
    if (entry.section != 0)
        damaged(escapeControls(entry.name) + " must be stored uncompressed");
    if (!fits(entry.offset, entry.length, m_bytes.size() - m_contentOffset))
        damaged(escapeControls(entry.name) + " claims " + std::to_string(entry.length) +
                " bytes beyond the end of the file");
    return std::string_view(m_bytes).substr(m_contentOffset + entry.offset, entry.length);
}

std::vector<std::string> ChmArchive::files() const
{
    std::vector<std::string> files;
    for (const Entry& entry : m_entries) {
        const std::string& name = entry.name;
        if (name.starts_with('/') && !name.starts_with("/#") && !name.starts_with("/$") && !name.ends_with('/'))
            files.push_back(name);
    }
    return files;
}

bool ChmArchive::contains(const std::string& path) const
{
    return find(path) != nullptr;
}

std::string ChmArchive::read(const std::string& path) const
{
    const Entry* entry = find(path);
    if (entry == nullptr)
        throw IoError(m_label + " holds no " + path);
    const std::lock_guard lock(m_decoding);
    const auto charge = [this](std::uint64_t length) {
        m_served += length;
        if (m_served > m_uncompressedLength + (m_bytes.size() - m_contentOffset) + kServedMargin)
            damaged("its stored files claim more bytes than it holds");
    };
    if (entry->section == 0) {
        const std::string_view bytes = plainBytes(*entry);
        charge(bytes.size());
        return std::string(bytes);
    }
    if (entry->section != 1)
        damaged(escapeControls(path) + " is stored in the unknown section " + std::to_string(entry->section));
    if (!m_hasCompressed)
        damaged(escapeControls(path) + " is stored compressed, but the file holds no compressed data");
    if (!fits(entry->offset, entry->length, m_uncompressedLength))
        damaged(escapeControls(path) + " claims " + std::to_string(entry->length) +
                " bytes beyond the end of the compressed data");
    if (entry->length == 0)
        return {};
    charge(entry->length);
    std::string out;
    out.reserve(static_cast<std::size_t>(entry->length));
    const std::uint64_t first = entry->offset / kFrameSize;
    const std::uint64_t last = (entry->offset + entry->length - 1) / kFrameSize;
    for (std::uint64_t frame = first; frame <= last; ++frame) {
        const std::string& bytes = decodedFrame(frame);
        const std::uint64_t frameStart = frame * kFrameSize;
        const std::uint64_t from = std::max(entry->offset, frameStart) - frameStart;
        const std::uint64_t to = std::min(entry->offset + entry->length, frameStart + bytes.size()) - frameStart;
        out.append(bytes, static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    }
    return out;
}

const std::string& ChmArchive::decodedFrame(std::uint64_t frame) const
{
    if (const auto recent = m_recentFrames.find(frame); recent != m_recentFrames.end())
        return recent->second;
    const std::uint64_t resetPoint = frame - frame % m_framesPerReset;
    std::uint64_t next = m_decoder && m_nextFrame > resetPoint && m_nextFrame <= frame ? m_nextFrame : resetPoint;
    try {
        if (!m_decoder)
            m_decoder = std::make_unique<LzxDecoder>(m_windowBits);
        if (next == resetPoint)
            m_decoder->reset();
        m_nextFrame = 0;
        std::string bytes;
        for (; next <= frame; ++next) {
            const std::uint64_t size = std::min(kFrameSize, m_uncompressedLength - next * kFrameSize);
            m_decoded += size;
            if (m_decoded > kDecodeFactor * m_uncompressedLength + kDecodeMargin)
                damaged("its compressed data takes far longer to read than its size allows");
            bytes.assign(static_cast<std::size_t>(size), '\0');
            const std::string_view input =
                m_stream.substr(m_frameStarts[next], m_frameStarts[next + 1] - m_frameStarts[next]);
            m_decoder->decodeFrame(input, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size(),
                                   next + 2 == m_frameStarts.size());
            if (m_recentFrames.size() >= kRecentFrames)
                m_recentFrames.erase(m_recentFrames.begin());
            m_recentFrames[next] = std::move(bytes);
            m_nextFrame = next + 1;
        }
    } catch (const LzxDecoder::Damaged& problem) {
        damaged("frame " + std::to_string(next) + " of its compressed data does not decode: " + problem.what());
    }
    return m_recentFrames.at(frame);
}

}  // namespace doxel
