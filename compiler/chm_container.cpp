#include "compiler/chm_container.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "compiler/compile_error.h"
#include "compiler/little_endian.h"
#include "compiler/lzx_encoder.h"

namespace doxel::chm {
namespace {

constexpr std::uint32_t kChunkSize = 0x1000;
constexpr std::uint32_t kDensity = 2;
constexpr std::uint32_t kQuickrefEvery = 1 + (1u << kDensity);
constexpr std::uint32_t kListingHeader = 0x14;
constexpr std::uint32_t kIndexHeader = 0x08;
constexpr std::uint32_t kItsfHeader = 0x60;
constexpr std::uint32_t kSection0Header = 0x18;
constexpr std::uint32_t kItspHeader = 0x54;
constexpr int kWindowBits = 16;
constexpr std::uint32_t kFramesPerReset = 2;
// Reset intervals compressed together while the stream grows: enough to
// keep every core busy, few enough that little is held uncompressed.
constexpr std::size_t kBatchIntervals = 32;
// A name longer than this cannot share a directory chunk with the bytes
// around it.
constexpr std::size_t kLongestName = 1024;

const char* const kLzxGuid = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";

void putGuid(std::string& out, std::uint32_t a, std::uint16_t b, std::uint16_t c, std::uint64_t d)
{
    put32(out, a);
    put16(out, b);
    put16(out, c);
    for (int i = 7; i >= 0; --i)
        out.push_back(static_cast<char>((d >> (8 * i)) & 0xFF));
}
void putUtf16Ascii(std::string& out, std::string_view text)
{
    for (char c : text)
        put16(out, static_cast<unsigned char>(c));
}
void patch32(std::string& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

unsigned char folded(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// Directory chunks of one kind (listing or index) filled in order; the
// quick reference at each chunk's end points at every fifth entry.
class ChunkBuilder {
public:
    ChunkBuilder(const char* signature, std::uint32_t headerSize) : m_signature(signature), m_headerSize(headerSize) {}

    // Adds an entry; returns true when it began a new chunk.
    bool add(const std::string& bytes)
    {
        bool fresh = false;
        if (m_chunks.empty() || !fits(bytes.size())) {
            finish();
            m_chunks.emplace_back(m_headerSize, '\0');
            m_offsets.clear();
            fresh = true;
        }
        m_offsets.push_back(static_cast<std::uint16_t>(m_chunks.back().size()));
        m_chunks.back() += bytes;
        return fresh;
    }

    // Pads the chunks and writes their headers and quick references;
    // `first` is the number of the first chunk.
    std::vector<std::string> take(std::int32_t first, bool listing)
    {
        finish();
        for (std::size_t i = 0; i < m_chunks.size(); ++i) {
            std::string& chunk = m_chunks[i];
            if (listing) {
                const auto number = first + static_cast<std::int32_t>(i);
                patch32(chunk, 12, i == 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(number - 1));
                patch32(chunk, 16, i + 1 == m_chunks.size() ? 0xFFFFFFFFu : static_cast<std::uint32_t>(number + 1));
            }
        }
        return std::move(m_chunks);
    }
    std::size_t count() const { return m_chunks.size(); }

private:
    std::size_t quickrefSize(std::size_t entries) const
    {
        return 2 + 2 * ((entries == 0 ? 0 : entries - 1) / kQuickrefEvery);
    }
    bool fits(std::size_t bytes) const
    {
        const std::size_t used = m_chunks.back().size() + bytes;
        return used + quickrefSize(m_offsets.size() + 1) <= kChunkSize && m_offsets.size() < 0xFFFF;
    }
    void finish()
    {
        if (m_chunks.empty() || m_finished == m_chunks.size())
            return;
        std::string& chunk = m_chunks.back();
        const std::size_t free = kChunkSize - chunk.size();
        std::string tail(free, '\0');
        put16At(tail, free - 2, static_cast<std::uint32_t>(m_offsets.size()));
        std::size_t at = free - 4;
        for (std::size_t i = kQuickrefEvery; i < m_offsets.size(); i += kQuickrefEvery, at -= 2)
            put16At(tail, at, m_offsets[i] - m_headerSize);
        chunk += tail;
        std::string header(m_signature, 4);
        put32(header, static_cast<std::uint32_t>(free));
        if (m_headerSize == kListingHeader) {
            put32(header, 0);
            put32(header, 0xFFFFFFFFu);
            put32(header, 0xFFFFFFFFu);
        }
        std::copy(header.begin(), header.end(), chunk.begin());
        m_finished = m_chunks.size();
    }
    const char* m_signature;
    std::uint32_t m_headerSize;
    std::vector<std::string> m_chunks;
    std::vector<std::uint16_t> m_offsets;
    std::size_t m_finished = 0;
};

}  // namespace

bool directoryLess(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = folded(static_cast<unsigned char>(a[i]));
        const unsigned char y = folded(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

void appendEncodedInt(std::string& out, std::uint64_t value)
{
    char bytes[10];
    int n = 0;
    do {
        bytes[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.push_back(static_cast<char>(bytes[--n] | 0x80));
    out.push_back(bytes[0]);
}

ChmContainer::ChmContainer(std::uint32_t languageId, unsigned threads)
    : m_languageId(languageId), m_threads(threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency()))
{
}

void ChmContainer::addEntry(const std::string& name, int section, std::uint64_t offset, std::uint64_t length)
{
    if (name.empty() || name.size() > kLongestName)
        throw CompileError("The help file cannot hold a file named \"" + name.substr(0, 80) + "\"");
    if (!m_names.insert(name).second)
        throw CompileError("The help file would hold " + name + " twice");
    m_entries.push_back({name, section, offset, length});
}

void ChmContainer::addFolders(const std::string& name)
{
    for (std::size_t slash = name.find('/', 1); slash != std::string::npos; slash = name.find('/', slash + 1)) {
        const std::string folder = name.substr(0, slash + 1);
        if (!m_names.contains(folder))
            addEntry(folder, 0, 0, 0);
    }
}

void ChmContainer::addFile(const std::string& name, const std::string& data, bool compressed)
{
    if (name.empty() || (name[0] != '/' && name[0] != ':'))
        throw CompileError("The help file cannot hold a file named \"" + name.substr(0, 80) + "\"");
    if (compressed) {
        addCompressedFile(name, data);
        return;
    }
    if (name[0] == '/')
        addFolders(name);
    addEntry(name, 0, data.empty() ? 0 : m_plain.size(), data.size());
    m_plain += data;
}

void ChmContainer::addCompressedFile(const std::string& name, std::string_view data)
{
    if (name.empty() || name[0] != '/')
        throw CompileError("The help file cannot hold a file named \"" + name.substr(0, 80) + "\"");
    addFolders(name);
    if (data.empty()) {
        addEntry(name, 0, 0, 0);
        return;
    }
    addEntry(name, 1, m_contentSize, data.size());
    m_content.append(data);
    m_contentSize += data.size();
    if (m_content.size() >= kBatchIntervals * kLzxFrameSize * kFramesPerReset)
        compressPending(false);
}

void ChmContainer::compressPending(bool all)
{
    const std::size_t interval = kLzxFrameSize * kFramesPerReset;
    const std::size_t intervals = all ? (m_content.size() + interval - 1) / interval : m_content.size() / interval;
    if (intervals == 0)
        return;
    std::vector<LzxInterval> parts(intervals);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= intervals)
                return;
            const std::size_t start = i * interval;
            const std::string_view data =
                std::string_view(m_content).substr(start, std::min(interval, m_content.size() - start));
            if (data.size() % kLzxFrameSize == 0) {
                parts[i] = compressLzxInterval(data, kWindowBits);
            } else {
                // chmlib decodes every frame to its full size, the last
                // one too: the stream ends in a whole frame, padded.
                std::string padded(data);
                padded.resize((data.size() / kLzxFrameSize + 1) * kLzxFrameSize, '\0');
                parts[i] = compressLzxInterval(padded, kWindowBits);
            }
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < m_threads && t < intervals; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    for (LzxInterval& part : parts) {
        for (std::uint64_t frame : part.frames)
            m_frames.push_back(m_compressedSize + frame);
        m_compressedSize += part.bytes.size();
        m_compressed.push_back(std::move(part.bytes));
    }
    m_content.erase(0, std::min(m_content.size(), intervals * interval));
}

void ChmContainer::write(const std::function<void(std::string_view)>& write)
{
    compressPending(true);
    std::vector<std::uint64_t> frames = m_frames;
    const std::uint64_t compressedSize = m_compressedSize;
    frames.push_back(compressedSize);

    // Section 0: the files stored as they are, then the description of the
    // compressed section, then the compressed stream.
    std::vector<Entry> entries = m_entries;
    std::string plain = m_plain;
    const auto addPlain = [&](const std::string& name, const std::string& data) {
        entries.push_back({name, 0, plain.size(), data.size()});
        plain += data;
    };
    std::string nameList;
    put16(nameList, 0);  // its length in words, set below
    put16(nameList, 2);
    for (std::string_view name : {std::string_view("Uncompressed"), std::string_view("MSCompressed")}) {
        put16(nameList, static_cast<std::uint32_t>(name.size()));
        putUtf16Ascii(nameList, name);
        put16(nameList, 0);
    }
    nameList[0] = static_cast<char>(nameList.size() / 2);
    addPlain("::DataSpace/NameList", nameList);
    std::string control;
    put32(control, 6);
    control += "LZXC";
    put32(control, 2);
    put32(control, kFramesPerReset);
    put32(control, (1u << kWindowBits) / kLzxFrameSize);
    put32(control, 1);
    put32(control, 0);
    addPlain("::DataSpace/Storage/MSCompressed/ControlData", control);
    std::string span;
    put64(span, m_contentSize);
    addPlain("::DataSpace/Storage/MSCompressed/SpanInfo", span);
    std::string list;
    putUtf16Ascii(list, kLzxGuid);
    addPlain("::DataSpace/Storage/MSCompressed/Transform/List", list);
    std::string reset;
    put32(reset, 2);
    put32(reset, static_cast<std::uint32_t>(frames.size()));
    put32(reset, 8);
    put32(reset, 0x28);
    put64(reset, m_contentSize);
    put64(reset, compressedSize);
    put64(reset, kLzxFrameSize);
    for (std::uint64_t frame : frames)
        put64(reset, frame);
    const std::string transform = std::string("::DataSpace/Storage/MSCompressed/Transform/") + kLzxGuid + "/";
    addPlain(transform + "InstanceData/ResetTable", reset);
    entries.push_back({transform + "InstanceData/", 0, 0, 0});
    entries.push_back({"::DataSpace/Storage/MSCompressed/Content", 0, plain.size(), compressedSize});
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return directoryLess(a.name, b.name); });

    // The directory: listing chunks, then as many levels of index chunks as
    // it takes to end in one.
    ChunkBuilder listing("PMGL", kListingHeader);
    std::vector<std::pair<std::string, std::uint32_t>> firsts;
    for (const Entry& entry : entries) {
        std::string bytes;
        appendEncodedInt(bytes, entry.name.size());
        bytes += entry.name;
        appendEncodedInt(bytes, static_cast<std::uint64_t>(entry.section));
        appendEncodedInt(bytes, entry.offset);
        appendEncodedInt(bytes, entry.length);
        if (listing.add(bytes))
            firsts.emplace_back(entry.name, static_cast<std::uint32_t>(listing.count() - 1));
    }
    std::vector<std::string> chunks = listing.take(0, true);
    const auto listingChunks = static_cast<std::uint32_t>(chunks.size());
    std::int32_t root = -1;
    std::uint32_t depth = 1;
    while (firsts.size() > 1) {
        ChunkBuilder index("PMGI", kIndexHeader);
        std::vector<std::pair<std::string, std::uint32_t>> upper;
        const auto base = static_cast<std::uint32_t>(chunks.size());
        for (const auto& [name, chunk] : firsts) {
            std::string bytes;
            appendEncodedInt(bytes, name.size());
            bytes += name;
            appendEncodedInt(bytes, chunk);
            if (index.add(bytes))
                upper.emplace_back(name, base + static_cast<std::uint32_t>(index.count() - 1));
        }
        for (std::string& chunk : index.take(static_cast<std::int32_t>(base), false))
            chunks.push_back(std::move(chunk));
        root = static_cast<std::int32_t>(chunks.size() - 1);
        ++depth;
        firsts = std::move(upper);
    }

    const std::uint64_t directorySize = kItspHeader + static_cast<std::uint64_t>(chunks.size()) * kChunkSize;
    const std::uint64_t section0Offset = kItsfHeader + kSection0Header + directorySize;
    const std::uint64_t fileSize = section0Offset + plain.size() + compressedSize;

    std::uint32_t timestamp = m_timestamp;
    if (timestamp == 0) {
        const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
        timestamp = epoch != nullptr ? static_cast<std::uint32_t>(std::strtoul(epoch, nullptr, 10))
                                     : static_cast<std::uint32_t>(std::time(nullptr));
    }
    std::string head;
    head += "ITSF";
    put32(head, 3);
    put32(head, kItsfHeader);
    put32(head, 1);
    // The timestamp is stored big-endian.
    for (int i = 3; i >= 0; --i)
        head.push_back(static_cast<char>((timestamp >> (8 * i)) & 0xFF));
    put32(head, m_languageId);
    putGuid(head, 0x7C01FD10, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
    putGuid(head, 0x7C01FD11, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
    put64(head, kItsfHeader);
    put64(head, kSection0Header);
    put64(head, kItsfHeader + kSection0Header);
    put64(head, directorySize);
    put64(head, section0Offset);
    put32(head, 0x01FE);
    put32(head, 0);
    put64(head, fileSize);
    put32(head, 0);
    put32(head, 0);
    head += "ITSP";
    put32(head, 1);
    put32(head, kItspHeader);
    put32(head, 0x0A);
    put32(head, kChunkSize);
    put32(head, kDensity);
    put32(head, depth);
    put32(head, static_cast<std::uint32_t>(root));
    put32(head, 0);
    put32(head, listingChunks - 1);
    put32(head, 0xFFFFFFFFu);
    put32(head, static_cast<std::uint32_t>(chunks.size()));
    put32(head, m_languageId);
    putGuid(head, 0x5D02926A, 0x212E, 0x11D0, 0x9DF900A0C922E6ECull);
    put32(head, kItspHeader);
    put32(head, 0xFFFFFFFFu);
    put32(head, 0xFFFFFFFFu);
    put32(head, 0xFFFFFFFFu);
    write(head);
    for (const std::string& chunk : chunks)
        write(chunk);
    write(plain);
    for (const std::string& part : m_compressed)
        write(part);
}

}  // namespace doxel::chm
